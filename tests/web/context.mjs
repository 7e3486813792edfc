// The page when the browser takes its WebGL context away and gives it back
// (WEBGL_lose_context, as a GPU reset does): no frames run meanwhile, and
// afterwards the title comes back with its textures and font, frames run on,
// and the console stays clean.
//   node tests/web/context.mjs SITE_DIR
import { closeChromium, launchChromium, serveDirectory } from "../../tools/web/chromium.mjs";
import { execFileSync } from "node:child_process";
import { resolve } from "node:path";

const site = resolve(process.argv[2]);
const browser = await launchChromium();
const server = await serveDirectory(site);
const deadline = 30000; // generous: a busy machine is slow, never wrong
let failed = 0;
const problems = [];

function check(ok, what) {
  console.log(`${ok ? "ok" : "FAIL"}: ${what}`);
  if (!ok) ++failed;
  return ok;
}

async function until(page, test, what) {
  const end = Date.now() + deadline;
  while (Date.now() < end) {
    if (await test()) return check(true, what);
    await page.waitForTimeout(50);
  }
  return check(false, what);
}

// The page as RGB (at 640 x 480 the picture fills it at scale 1), and the
// title's green prompt on it, as page.mjs looks for it.
async function grab(page) {
  const png = await page.screenshot();
  return { rgb: execFileSync("convert", ["png:-", "-depth", "8", "rgb:-"], { input: png }) };
}
function titleShown(shot) {
  const sum = [0, 0, 0];
  let n = 0;
  for (let y = 480 - 166; y < 480 - 150; ++y)
    for (let x = 100; x < 536; ++x, ++n)
      for (let c = 0; c < 3; ++c) sum[c] += shot.rgb[(y * 640 + x) * 3 + c];
  const [r, g, b] = sum.map((s) => s / n);
  return g > 25 && g > r + 15 && g > b + 15;
}

try {
  const context = await browser.newContext({ viewport: { width: 640, height: 480 } });
  const page = await context.newPage();
  page.on("console", (m) => {
    if (m.type() === "error" || m.type() === "warning") problems.push(`${m.type()}: ${m.text()}`);
  });
  page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.swarmPage && swarmPage.firstPicture > 0, null, { timeout: deadline });
  await page.keyboard.press("KeyA");
  await until(page, async () => titleShown(await grab(page)), "a key skips the intro to the title");

  // The canvas's own context (getContext gives the page's), and a count of
  // animation frames to wait on.
  await page.evaluate(() => {
    const canvas = document.querySelector("#canvas");
    window.lostContext = canvas.getContext("webgl2").getExtension("WEBGL_lose_context");
    canvas.addEventListener("webglcontextlost", () => (window.contextGone = true));
    window.ticks = 0;
    const tick = () => { ++window.ticks; requestAnimationFrame(tick); };
    requestAnimationFrame(tick);
  });
  const frames = () => page.evaluate(() => swarmPage.frames);
  await page.evaluate(() => lostContext.loseContext());
  await page.waitForFunction(() => window.contextGone, null, { timeout: deadline });
  const lostAt = await frames();
  const ticks = await page.evaluate(() => window.ticks);
  await page.waitForFunction((t) => window.ticks > t + 20, ticks, { timeout: deadline });
  const pausedAt = await frames();
  check(pausedAt === lostAt, `no frames run while the context is lost (${lostAt} -> ${pausedAt})`);

  await page.evaluate(() => lostContext.restoreContext());
  await until(page, async () => (await frames()) > pausedAt + 100, "frames run again once the context is back");
  await until(page, async () => titleShown(await grab(page)), "the title shows again, textures and font made anew");
  check(problems.length === 0, `no error or warning in the console${problems.length ? ":\n  " + problems.slice(0, 5).join("\n  ") : ""}`);
  await context.close();
} finally {
  await closeChromium(browser);
  await server.close();
}
process.exitCode = failed ? 1 : 0;
