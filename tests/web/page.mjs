// The real page in headless Chromium, as a player meets it: the first picture
// comes (bench/web.mjs measures how soon), real keys move the ship and fire
// (seen on the pixels), the sound reaches Web Audio, the high score outlives
// the page, the touch buttons play on a touch screen, a damaged HighScore.dat
// reads as the default, and the console stays clean.
//   node tests/web/page.mjs SITE_DIR
import { closeChromium, launchChromium, serveDirectory } from "../../tools/web/chromium.mjs";
import { makeChecks } from "./checks.mjs";
import { execFileSync } from "node:child_process";
import { resolve } from "node:path";

const site = resolve(process.argv[2]);
const browser = await launchChromium();
const server = await serveDirectory(site);
const url = `${server.url}/index.html`;
const deadline = 30000; // generous: a busy machine is slow, never wrong
const { check, until, failures } = makeChecks(deadline);
const problems = []; // console errors and warnings, page errors

async function open(context) {
  const page = await context.newPage();
  page.on("console", (m) => {
    if (m.type() === "error" || m.type() === "warning") problems.push(`${m.type()}: ${m.text()}`);
  });
  page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
  const started = Date.now();
  await page.goto(url);
  await page.waitForFunction(() => window.swarmPage && swarmPage.firstPicture > 0, null, { timeout: deadline });
  page.firstPictureMs = Date.now() - started;
  return page;
}

// The page as RGB pixels, and the 640 x 480 picture's place in it, found on
// the intro's blue.
async function grab(page) {
  const png = await page.screenshot();
  const { width, height } = page.viewportSize();
  return { width, height, rgb: execFileSync("convert", ["png:-", "-depth", "8", "rgb:-"], { input: png, maxBuffer: 1 << 26 }) };
}

function pictureArea(shot) {
  let left = shot.width, right = -1, top = shot.height, bottom = -1;
  for (let y = 0; y < shot.height; ++y)
    for (let x = 0; x < shot.width; ++x) {
      const i = (y * shot.width + x) * 3;
      if (shot.rgb[i + 2] > 150 && shot.rgb[i] < 80) {
        left = Math.min(left, x); right = Math.max(right, x);
        top = Math.min(top, y); bottom = Math.max(bottom, y);
      }
    }
  return { x: left, y: top, scale: (right - left + 1) / 640 };
}

// Pixels of a box given in the game's units (x, y from the bottom left).
function* box(shot, area, x0, y0, w, h) {
  for (let gy = y0; gy < y0 + h; gy += 0.5)
    for (let gx = x0; gx < x0 + w; gx += 0.5) {
      const px = Math.floor(area.x + gx * area.scale);
      const py = Math.floor(area.y + (480 - gy) * area.scale);
      const i = (py * shot.width + px) * 3;
      yield { gx, r: shot.rgb[i], g: shot.rgb[i + 1], b: shot.rgb[i + 2] };
    }
}

function mean(shot, area, ...rect) {
  const sum = [0, 0, 0];
  let n = 0;
  for (const p of box(shot, area, ...rect)) { sum[0] += p.r; sum[1] += p.g; sum[2] += p.b; ++n; }
  return sum.map((s) => s / n);
}

const titleShown = (s, a) => { const [r, g, b] = mean(s, a, 100, 150, 436, 16); return g > 25 && g > r + 15 && g > b + 15; };
const bannerShown = (s, a) => { const [r, g, b] = mean(s, a, 290, 200, 196, 16); return b > 25 && b > r + 15 && b > g + 15; };

// The ship's centre: the mean x of the bright pixels at the field's bottom.
function shipX(shot, area) {
  let sum = 0, n = 0;
  for (const p of box(shot, area, 140, 5, 500, 40))
    if (p.r + p.g + p.b > 300) { sum += p.gx; ++n; }
  return n > 20 ? sum / n : null;
}

// Pixels of a player's shot (a yellow-green line, no blue) in the open field.
function shotPixels(shot, area) {
  let n = 0;
  for (const p of box(shot, area, 140, 60, 500, 270)) if (p.g > 150 && p.b < 60) ++n;
  return n;
}

// The known bytes of a high score of 4321 (the native format's own example),
// and a damaged file.
const savedScore = Buffer.from("6 25926\n187157326").toString("base64");
const damaged = Buffer.from("7 not a score\n").toString("base64");
async function withStoredScore(context, data) {
  const page = await context.newPage();
  await page.goto(`${server.url}/page.css`); // the site's origin, without the game
  await page.evaluate((data) => {
    localStorage.setItem("swarm.HighScore.dat", JSON.stringify({ savedAt: 1, data }));
  }, data);
  await page.close();
}

try {
  // --- A player at a keyboard. ---
  const desk = await browser.newContext({ viewport: { width: 800, height: 600 } });
  await withStoredScore(desk, savedScore);
  let page = await open(desk);
  console.log(`-- the first picture showed ${page.firstPictureMs} ms after loading`);
  let shot = await grab(page);
  const area = pictureArea(shot);
  check(Math.abs(area.scale - 1.25) < 0.01 && area.x === 0, `the intro fills the 800 x 600 page (scale ${area.scale})`);
  check((await page.evaluate(() => Module._pageHighScore())) === 4321, "a stored HighScore.dat is read");

  await page.keyboard.press("KeyA");
  await until(page, async () => titleShown(await grab(page), area), "a key skips the intro to the title");
  await page.keyboard.press("Space");
  await until(page, async () => bannerShown(await grab(page), area), "Space starts a game");
  // The fade and the ship's entry take about five seconds of game frames;
  // then the ship answers the keys.
  const frames = () => page.evaluate(() => swarmPage.frames);
  const started = await frames();
  await until(page, async () => (await frames()) > started + 600, "the game runs on after the ship's entry");
  // The enemies may hit the ship meanwhile (the game is seeded from the
  // clock): a few tries, Left and Right in turn, each held for 40 frames.
  const moves = [];
  let moved = false;
  for (let attempt = 0; attempt < 6 && !moved; ++attempt) {
    const [key, sign] = attempt % 2 ? ["ArrowRight", 1] : ["ArrowLeft", -1];
    const before = shipX(await grab(page), area);
    await page.keyboard.down(key);
    const held = await frames();
    await until(page, async () => (await frames()) > held + 40, "the game runs while a key is held");
    await page.keyboard.up(key);
    const after = shipX(await grab(page), area);
    moves.push(`${key} ${before && before.toFixed(0)} -> ${after && after.toFixed(0)}`);
    moved = before !== null && after !== null && sign * (after - before) > 20;
  }
  check(moved, `Left and Right move the ship (${moves.join(", ")})`);
  await until(page, async () => {
    await page.keyboard.press("Space"); // again, should the ship be down
    return shotPixels(await grab(page), area) > 10;
  }, "Space fires a shot");
  check((await page.evaluate(() => swarmAudio.started)) > 0 &&
        (await page.evaluate(() => swarmAudio.context.state)) === "running",
        "the shot's sound plays through a running Web Audio context");

  // Leaving the page saves the high score anew (localStorage at once), and it
  // is there when the page is opened again.
  await page.close({ runBeforeUnload: true });
  const kept = await desk.newPage();
  await kept.goto(`${server.url}/page.css`); // same origin, without starting the game
  const stored = await kept.evaluate(() => JSON.parse(localStorage.getItem("swarm.HighScore.dat")));
  // The factor is drawn anew on each save (1 in 7 it is the stored one), so
  // the bytes may repeat: what must show is a new time stamp and the same
  // score, written in the stored format.
  const [factor, scaled] = stored ? Buffer.from(stored.data, "base64").toString().split(/\s+/).map(Number) : [];
  check(stored && stored.savedAt > 1 && scaled === 4321 * factor, "leaving the page saved HighScore.dat anew");
  await kept.close();
  page = await open(desk);
  check((await page.evaluate(() => Module._pageHighScore())) === 4321, "the high score survives closing the page");

  // Quitting from the title saves, says so, and a key plays again.
  await page.keyboard.press("KeyA");
  await until(page, async () => titleShown(await grab(page), area), "the title shows again");
  await page.keyboard.press("Escape");
  await until(page, () => page.locator("#message").isVisible(), "quitting from the title says so");
  await page.keyboard.press("KeyA");
  await until(page, () => page.locator("#message").isHidden(), "a key after quitting hides the message");
  const again = await frames();
  await until(page, async () => (await frames()) > again + 50, "a key after quitting starts a new run");
  // That save reached IndexedDB too, which alone brings the score back.
  const inDb = () => page.evaluate(() => new Promise((resolve) => {
    const open = indexedDB.open("swarm", 1);
    open.onsuccess = () => {
      const get = open.result.transaction("files").objectStore("files").get("HighScore.dat");
      get.onsuccess = () => { resolve(!!get.result); open.result.close(); };
      get.onerror = () => resolve(false);
    };
    open.onerror = () => resolve(false);
  }));
  await until(page, inDb, "quitting saved HighScore.dat in IndexedDB");
  await page.evaluate(() => localStorage.removeItem("swarm.HighScore.dat"));
  await page.close();
  page = await open(desk);
  check((await page.evaluate(() => Module._pageHighScore())) === 4321, "IndexedDB alone keeps the high score");
  await desk.close();

  // --- A damaged file reads as the default, as natively. ---
  const broken = await browser.newContext({ viewport: { width: 640, height: 480 } });
  await withStoredScore(broken, damaged);
  page = await open(broken);
  check((await page.evaluate(() => Module._pageHighScore())) === 10000, "a damaged HighScore.dat reads as 10000");
  await broken.close();

  // --- Storage refused (a private window, a full quota): the game plays on. ---
  const refused = await browser.newContext();
  await refused.addInitScript(() => {
    const deny = () => { throw new DOMException("refused", "SecurityError"); };
    Object.defineProperty(window, "localStorage", { get: deny });
    Object.defineProperty(window, "indexedDB", { get: deny });
  });
  page = await open(refused);
  check((await page.evaluate(() => Module._pageHighScore())) === 10000,
        "with storage refused the game plays with the default high score");
  await page.close({ runBeforeUnload: true });
  await refused.close();

  // --- A phone held sideways: the touch buttons play. ---
  const phone = await browser.newContext({ viewport: { width: 844, height: 390 }, hasTouch: true, isMobile: true });
  page = await open(phone);
  check(await page.locator("[data-key=fire]").isVisible(), "touch buttons show on a touch screen");
  const phoneArea = pictureArea(await grab(page));
  await page.locator("[data-key=fire]").tap();
  await until(page, async () => titleShown(await grab(page), phoneArea), "the fire button skips the intro");
  await page.locator("[data-key=fire]").tap();
  await until(page, async () => bannerShown(await grab(page), phoneArea), "the fire button starts a game");
  await phone.close();

  const desktop = await browser.newContext();
  page = await open(desktop);
  check(await page.locator("[data-key=fire]").isHidden(), "no touch buttons without a touch screen");
  await desktop.close();

  // --- A browser without WebGL: a message, not a blank page. ---
  const plain = await launchChromium(["--disable-3d-apis"]);
  try {
    const bare = await plain.newPage();
    await bare.goto(url);
    await until(bare, () => bare.locator("#message").isVisible(), "without WebGL the page says so");
    check(/WebGL/.test(await bare.locator("#message").textContent()), "the message names WebGL");
  } finally {
    await closeChromium(plain);
  }

  check(problems.length === 0, `no error or warning in the console${problems.length ? ":\n  " + problems.join("\n  ") : ""}`);
} finally {
  await closeChromium(browser);
  await server.close();
}
process.exitCode = failures() ? 1 : 0;
