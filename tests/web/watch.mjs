// Recorded runs in the real page: a short game played, its link copied and
// opened in a new page plays the same run (the ship where the player left it,
// the same score) and then offers to play; the bar keeps beside the picture;
// the best game is kept; a cut link says so and offers to play.
//   node tests/web/watch.mjs SITE_DIR
import { closeChromium, launchChromium, serveDirectory } from "../../tools/web/chromium.mjs";
import { makeChecks } from "./checks.mjs";
import { resolve } from "node:path";

const site = resolve(process.argv[2]);
const browser = await launchChromium();
const server = await serveDirectory(site);
const url = `${server.url}/index.html`;
const deadline = 60000; // generous: a busy machine is slow, never wrong
const { check, until, failures } = makeChecks(deadline);
const problems = [];

async function open(context, address) {
  const page = await context.newPage();
  page.on("console", (m) => m.type() === "error" && problems.push(m.text()));
  page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
  await page.goto(address);
  await page.waitForFunction(() => window.Module && Module.calledRun, null, { timeout: deadline });
  return page;
}

const frames = (page) => page.evaluate(() => swarmPage.frames);
const highScore = (page) => page.evaluate(() => Module._pageHighScore());
// The ship's left edge as the game holds it, -1 while it is not in play: the
// two pages' pictures are scaled differently (the bar shows in one), so the
// game's own figure compares them exactly.
const shipAt = (page) => page.evaluate(() => Module._pageShipX());
const isPaused = async (page) => (await page.evaluate(() => Module._pagePaused())) === 1;
const inPlay = async (page) => [3, 4].includes(await page.evaluate(() => Module._pageGameState()));
const shown = (page, selector) => page.locator(selector).isVisible();

// A high score of 0 stored, so that the first hit sets a new one.
async function seedHighScore(context) {
  const page = await context.newPage();
  await page.goto(`${server.url}/page.css`);
  await page.evaluate(() => {
    localStorage.setItem("swarm.HighScore.dat", JSON.stringify({ savedAt: 1, data: btoa("3 0\n4294964828") }));
  });
  await page.close();
}

try {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  await context.grantPermissions(["clipboard-read", "clipboard-write"], { origin: server.url });
  await seedHighScore(context);
  const page = await open(context, url);
  check((await highScore(page)) === 0, "the game starts from the stored high score of 0");

  // A short game: the ship held left and firing until a hit scores, then
  // paused and left for the title.
  await until(page, async () => {
    await page.keyboard.press("Space"); // skips the intro, then starts a game at the title
    return inPlay(page);
  }, "Space starts a game");
  const start = await frames(page);
  await until(page, async () => (await frames(page)) > start + 700, "the game runs past the ship's entry");
  await page.keyboard.down("ArrowLeft");
  await page.keyboard.down("Space");
  await until(page, async () => (await highScore(page)) > 0, "a shot scores");
  await until(page, async () => {
    const x = await shipAt(page);
    return x >= 0 && x < 230;
  }, "the ship goes left");
  await page.keyboard.up("Space");
  await page.keyboard.up("ArrowLeft");
  // Escape pauses only while the ship is in play and the wave not cleared: a
  // hit or the wave's end can take the press, so it is pressed again until
  // the game is paused, each time once the last press has had its frames.
  await until(page, async () => {
    if (await isPaused(page)) return true;
    if (!(await inPlay(page))) return false; // at the title Escape would quit
    await page.keyboard.press("Escape");
    const pressed = await frames(page);
    await until(page, async () => (await frames(page)) > pressed + 20, "the game runs after Escape");
    return isPaused(page);
  }, "Escape pauses the game");
  const paused = await frames(page);
  await until(page, async () => (await frames(page)) > paused + 150, "the game runs on paused");
  const left = await shipAt(page);
  const score = await highScore(page);
  await page.keyboard.press("Escape");
  await until(page, () => shown(page, "#watch-again"), "after the game, Watch again shows");
  check(await shown(page, "#copy-link"), "and Copy link");
  const boxes = await page.evaluate(() =>
    [canvas, document.getElementById("replays")].map((e) => e.getBoundingClientRect().toJSON()));
  check(boxes[0].bottom <= boxes[1].top && boxes[1].bottom <= 600, "the bar sits below the picture, not over it");

  await page.click("#copy-link");
  await until(page, async () => /copied/.test(await page.locator("#replay-note").textContent()), "the link is copied");
  const link = await page.evaluate(() => navigator.clipboard.readText());
  check(link.startsWith(`${url}#watch=`) && link.length < 8000, `the link holds the run (${link.length} characters)`);

  // Quitting saves the new high score, and the run as the best game.
  await page.keyboard.press("Escape");
  await until(page, () => shown(page, "#message"), "quitting from the title offers to play");
  await until(page, () => shown(page, "#watch-best"), "the best game can be watched");
  await page.close();

  // The link in a new page plays the run, then offers to play.
  const watcher = await open(context, link);
  check(await shown(watcher, "#stop-watching"), "a link's page watches the run");
  await until(watcher, async () => (await isPaused(watcher)) && (await shipAt(watcher)) === left,
    `the watched run pauses with the ship where the player left it (${left})`);
  await until(watcher, () => shown(watcher, "#message"), "the watched run ends");
  check(/play/.test(await watcher.locator("#message").textContent()), "and offers to play");
  check((await highScore(watcher)) === score, `the watched run scored as the game did (${score})`);
  await watcher.keyboard.press("KeyA");
  const playing = await frames(watcher);
  await until(watcher, async () => (await frames(watcher)) > playing + 50, "a key then plays");
  check(!(await watcher.evaluate(() => location.hash)), "and the page's address plays from then on");
  await watcher.close();

  // A cut link: the page says so and offers to play; a key plays.
  const cut = await open(context, link.slice(0, link.length - 40));
  await until(cut, () => shown(cut, "#message"), "a cut link shows a message");
  check(/damaged/.test(await cut.locator("#message").textContent()), "that says the link is damaged");
  await cut.keyboard.press("KeyA");
  const after = await frames(cut);
  await until(cut, async () => (await frames(cut)) > after + 50, "a key then plays");
  await context.close();
  check(problems.length === 0, `no error in the console${problems.length ? ":\n  " + problems.join("\n  ") : ""}`);
} finally {
  await closeChromium(browser);
  await server.close();
}
process.exitCode = failures() ? 1 : 0;
