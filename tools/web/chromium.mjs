// Debian's Chromium, headless, driven through playwright-core, and a small
// static file server on the loopback for the pages it opens. Shared by
// swarm-web-replay and the page tests:
//   const browser = await launchChromium([switches]); // a Browser of playwright
//   const server  = await serveDirectory(dir);       // { url, close() }
//   ... browser.newPage(), page.goto(server.url + "/index.html") ...
//   await closeChromium(browser); await server.close();
import { createRequire } from "node:module";
import { createServer } from "node:http";
import { readdirSync, readFileSync } from "node:fs";
import { readFile, stat } from "node:fs/promises";
import { basename, dirname, extname, join, normalize, resolve, sep } from "node:path";

// playwright-core is fetched into the build tree (SWARM_NPM_DIR, where its
// package.json is), not the source tree, and only when asked for: without
// it, say how to get it.
const npmDir = resolve(process.env.SWARM_NPM_DIR || ".");
let chromium;
try {
  ({ chromium } = createRequire(join(npmDir, "package.json"))("playwright-core"));
} catch {
  process.stderr.write(
    `${basename(process.argv[1], ".mjs")}: playwright-core, the driver of headless Chromium, ` +
      `is not in ${npmDir}.\nFetch it from the npm registry with \`make web-replay\` ` +
      `(or \`cmake --build ${dirname(npmDir)} --target node-modules\`).\n`,
  );
  process.exit(2);
}

export const chromiumPath = process.env.SWARM_CHROMIUM || "/usr/bin/chromium";

// WebGL comes from SwiftShader, Chromium's own software renderer; the rest
// keeps a sandboxed machine's closed network out of the way.
// `extraArgs` adds switches (the tests turn WebGL off with --disable-3d-apis).
export async function launchChromium(extraArgs = []) {
  const before = children();
  const browser = await chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: [
      "--no-sandbox",
      "--use-angle=swiftshader",
      "--enable-unsafe-swiftshader",
      "--ignore-gpu-blocklist",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--disable-quic",
      "--no-first-run",
      "--autoplay-policy=user-gesture-required",
      ...extraArgs,
    ],
  });
  launched.set(browser, [...children()].filter((pid) => !before.has(pid)));
  return browser;
}

// Chromium's main process for each browser launched here. Playwright starts
// it as a child of this process, leading a process group of its own.
const launched = new WeakMap();

// The pids of this process's children.
function children() {
  const pids = new Set();
  for (const entry of readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = readFileSync(`/proc/${entry}/stat`, "utf8");
      const ppid = Number(stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]);
      if (ppid === process.pid) pids.add(Number(entry));
    } catch {
      // gone meanwhile
    }
  }
  return pids;
}

// Closes a browser from launchChromium. Now and then headless Chromium never
// finishes shutting down, and the program waiting for it would wait for
// ever: after `graceMs` its processes are killed, which ends the close.
export async function closeChromium(browser, graceMs = 15000) {
  const closing = browser.close();
  let timer;
  const late = new Promise((resolve) => (timer = setTimeout(resolve, graceMs, true)));
  if (await Promise.race([closing.then(() => false), late])) {
    for (const pid of launched.get(browser) || []) {
      try {
        process.kill(-pid, "SIGKILL");
      } catch {
        // already gone
      }
    }
  }
  clearTimeout(timer);
  await closing;
}

const types = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".mjs": "text/javascript",
  ".wasm": "application/wasm",
  ".css": "text/css",
  ".png": "image/png",
  ".json": "application/json",
  ".webmanifest": "application/manifest+json",
};

// Serves the files under `root` on 127.0.0.1 at a free port.
export async function serveDirectory(root) {
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    const file = normalize(join(root, path === "/" ? "/index.html" : path));
    try {
      if (!file.startsWith(normalize(root) + sep) || !(await stat(file)).isFile())
        throw new Error("not served");
      const body = await readFile(file);
      response.writeHead(200, {
        "Content-Type": types[extname(file)] || "application/octet-stream",
        "Cache-Control": "no-store",
      });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}`,
    // Connections still open (a browser's keep-alive ones) end with it.
    close: () =>
      new Promise((resolve) => {
        server.close(resolve);
        server.closeAllConnections();
      }),
  };
}
