// The browser version's budgets, measured side by side with the native
// build in one run (this machine is noisy: compare the ratios):
//   - the site's size, each file gzipped as a web server would send it;
//   - the time from loading the page on localhost to its first picture;
//   - the game's work per frame, every picture drawn in full, from
//     swarm-web-replay beside swarm-replay on the same busy game;
//   - the length of a ten-minute bot game's link, made by the page.
//   SWARM_NPM_DIR=build-web/npm node bench/web.mjs [NATIVE_BUILD] [WEB_BUILD]
import { closeChromium, launchChromium, serveDirectory } from "../tools/web/chromium.mjs";
import { spawnSync } from "node:child_process";
import { readdirSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { gzipSync } from "node:zlib";

const native = resolve(process.argv[2] || "build");
const web = resolve(process.argv[3] || "build-web");
const site = join(web, "site");

let total = 0;
for (const name of readdirSync(site).sort()) {
  const bytes = readFileSync(join(site, name));
  const sent = gzipSync(bytes, { level: 9 }).length;
  total += sent;
  console.log(`site  ${name.padEnd(16)} ${String(bytes.length).padStart(9)} bytes, ${String(sent).padStart(8)} gzipped`);
}
console.log(`site  all files: ${(total / 1048576).toFixed(2)} MB gzipped (budget 1.5 MB)`);

const browser = await launchChromium();
const server = await serveDirectory(site);
const times = [];
for (let run = 0; run < 5; ++run) {
  const context = await browser.newContext();
  const page = await context.newPage();
  const started = Date.now();
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.swarmPage && swarmPage.firstPicture > 0, null, { timeout: 30000 });
  times.push(Date.now() - started);
  await context.close();
}

// swarm-replay's built-in player writes its keys over 60000 passes; with a
// recording's header before them, the page makes their link as for a run.
const botKeys = join(tmpdir(), `swarm-bench-${process.pid}.keys`);
spawnSync(join(native, "tools/replay/swarm-replay"),
  ["--data", join(native, "data"), "--frames", "60000", "--autoplay", botKeys], { stdio: "ignore" });
const recording = "# swarm-recording 1 version 0 game 1 time 0 highscore 10000\n" + readFileSync(botKeys, "utf8");
rmSync(botKeys);
const linker = await browser.newPage();
await linker.goto(`${server.url}/index.html`);
const link = await linker.evaluate((text) => swarmReplays.linkOf(text), recording);
console.log(`a ten-minute bot game: recording ${recording.length} bytes, link ${link.length} characters ` +
  "(budget 8000)");
await closeChromium(browser);
await server.close();
times.sort((a, b) => a - b);
console.log(`first picture: ${times.join(", ")} ms, median ${times[2]} ms (budget 1000 ms)`);

function perPass(program) {
  const out = spawnSync(
    program,
    ["--data", join(native, "data"), "--frames", "6000", "--keys", "bench/busy.keys", "--bench", "--full-render"],
    { encoding: "utf8", stdio: ["ignore", "ignore", "pipe"] },
  ).stderr;
  const passes = Number(/passes\/s (\d+)/.exec(out)[1]);
  return 1000 / passes;
}
const nativeMs = perPass(join(native, "tools/replay/swarm-replay"));
const webMs = perPass(join(web, "swarm-web-replay"));
console.log(`work per frame, every picture drawn: native ${nativeMs.toFixed(3)} ms, ` +
  `browser ${webMs.toFixed(3)} ms (${(webMs / nativeMs).toFixed(2)} x native)`);
