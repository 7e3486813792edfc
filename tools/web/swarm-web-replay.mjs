// swarm-web-replay: swarm-replay's command, run by the browser build in
// Debian's headless Chromium. The arguments go to the replay tool unchanged;
// the files it reads (the data directory's files, or without --data the
// working directory's, and the key script) are put at
// the same absolute paths in the page's memory file system, with the same
// working directory, and the files it writes (trace, pictures, key script,
// and HighScore.dat when the game saved) are copied back out. Standard
// output, standard error and the exit status are the tool's own.
//   node swarm-web-replay.mjs REPLAY_PAGE_DIR [swarm-replay's arguments]
import { closeChromium, launchChromium, serveDirectory } from "./chromium.mjs";
import { existsSync, readdirSync, readFileSync, statSync, writeFileSync } from "node:fs";
import { dirname, resolve } from "node:path";

const [pageDir, ...args] = process.argv.slice(2);

// The paths the tool reads and writes, as it will parse them.
function valueOf(name) {
  const values = [];
  for (let i = 0; i + 1 < args.length; ++i) {
    if (args[i] !== name) continue;
    values.push(args[i + 1]);
    ++i;
  }
  return values;
}

function isFile(path) {
  try {
    return statSync(path).isFile();
  } catch {
    return false;
  }
}

// Without --data the tool reads the data where it was started, as swarm-replay does.
const dataDirs = valueOf("--data").map((d) => resolve(d));
if (!dataDirs.length) dataDirs.push(process.cwd());
const inputs = new Map(); // absolute path -> bytes
const inputDirs = new Set([process.cwd()]);
for (const dir of dataDirs) {
  if (!existsSync(dir) || !statSync(dir).isDirectory()) continue;
  inputDirs.add(dir);
  for (const name of readdirSync(dir)) {
    const path = resolve(dir, name);
    // The game reads only .dat and .wav files; anything but a regular file
    // counts as missing, as in the game.
    if (!/\.(dat|wav)$/.test(name) || !isFile(path)) continue;
    if (statSync(path).size <= 64 << 20) inputs.set(path, readFileSync(path));
  }
}
for (const keys of valueOf("--keys").map((k) => resolve(k))) {
  if (!isFile(keys)) continue;
  inputs.set(keys, readFileSync(keys));
  inputDirs.add(dirname(keys));
}

const outputs = [
  ...valueOf("--trace").filter((t) => t !== "-"),
  ...valueOf("--autoplay"),
  ...valueOf("--screenshot").map((s) => s.slice(s.indexOf(":") + 1)),
].map((p) => resolve(p));
// An output's directory exists in the page only where it exists here.
for (const path of outputs) if (existsSync(dirname(path))) inputDirs.add(dirname(path));

const browser = await launchChromium();
const server = await serveDirectory(resolve(pageDir));
let status = 1;
try {
  const page = await browser.newPage();
  page.on("pageerror", (error) => process.stderr.write(`swarm-web-replay: ${error.message}\n`));
  await page.goto(`${server.url}/index.html`);
  await page.evaluate(() => replayReady);

  await page.evaluate(
    ({ dirs, cwd }) => {
      for (const dir of dirs) Module.FS.mkdirTree(dir);
      Module.FS.chdir(cwd);
    },
    { dirs: [...inputDirs], cwd: process.cwd() },
  );
  for (const [path, bytes] of inputs)
    await page.evaluate(
      ({ path, data }) => {
        const binary = atob(data);
        const bytes = new Uint8Array(binary.length);
        for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
        Module.FS.writeFile(path, bytes);
      },
      { path, data: bytes.toString("base64") },
    );

  const run = await page.evaluate((args) => {
    const status = Module.callMain(args);
    return { status, out: replayOut, err: replayErr };
  }, args);
  status = run.status;

  // The files written, back where the tool was asked to write them.
  const written = [...outputs, ...[...inputs.keys()].filter((p) => p.endsWith("/HighScore.dat"))];
  for (const dir of dataDirs) written.push(resolve(dir, "HighScore.dat"));
  for (const path of new Set(written)) {
    const data = await page.evaluate((path) => {
      try {
        const bytes = Module.FS.readFile(path);
        let binary = "";
        for (let i = 0; i < bytes.length; i += 32768)
          binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 32768));
        return btoa(binary);
      } catch {
        return null;
      }
    }, path);
    if (data === null) continue;
    const bytes = Buffer.from(data, "base64");
    const before = inputs.get(path);
    if (!before || !before.equals(bytes)) writeFileSync(path, bytes);
  }
  if (run.out.length) process.stdout.write(run.out.join("\n") + "\n");
  if (run.err.length) process.stderr.write(run.err.join("\n") + "\n");
} finally {
  await closeChromium(browser);
  await server.close();
}
process.exitCode = status;
