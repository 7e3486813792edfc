// The high score in the page's two stores (IndexedDB and localStorage) as
// players meet them: the stores holding different scores, IndexedDB answering
// after the start gave up waiting, two pages of one origin, storage refused.
//   node tests/web/storage.mjs SITE_DIR
import { closeChromium, launchChromium, serveDirectory } from "../../tools/web/chromium.mjs";
import { resolve } from "node:path";

const site = resolve(process.argv[2]);
const browser = await launchChromium();
const server = await serveDirectory(site);
const deadline = 30000; // generous: a busy machine is slow, never wrong
let failed = 0;

function check(ok, what) {
  console.log(`${ok ? "ok" : "FAIL"}: ${what}`);
  if (!ok) ++failed;
}

// Whether `test` comes true within the deadline.
async function until(page, test) {
  const end = Date.now() + deadline;
  while (Date.now() < end) {
    if (await test()) return true;
    await page.waitForTimeout(50);
  }
  return false;
}

// HighScore.dat holding `score` as the game writes it with the factor 3, and
// the score a file's text holds (-1 for none).
const fileOf = (score) => `3 ${score * 3}\n${(BigInt(score * 3) * 7219n - 2468n) & 0xffffffffn}`;
function scoreIn(text) {
  const [k, s, v] = (text || "").split(/\s+/).map(Number);
  return k > 0 && Math.floor(((v + 2468) % 2 ** 32) / 7219) === s ? s / k : -1;
}

// Runs `work(arg)` in a page of the site's origin that does not start the game.
async function atOrigin(context, work, arg) {
  const page = await context.newPage();
  await page.goto(`${server.url}/page.css`);
  const result = await page.evaluate(work, arg);
  await page.close();
  return result;
}

// Puts copies into the stores, as the page keeps them: {db, local} of {savedAt, text}.
const seed = (context, copies) =>
  atOrigin(context, async ({ db, local }) => {
    if (local) {
      const data = btoa(local.text);
      localStorage.setItem("swarm.HighScore.dat", JSON.stringify({ savedAt: local.savedAt, data }));
    }
    if (!db) return;
    const open = indexedDB.open("swarm", 1);
    open.onupgradeneeded = () => open.result.createObjectStore("files");
    await new Promise((done) => (open.onsuccess = done));
    const transaction = open.result.transaction("files", "readwrite");
    const bytes = Uint8Array.from(db.text, (c) => c.charCodeAt(0));
    transaction.objectStore("files").put({ savedAt: db.savedAt, bytes }, "HighScore.dat");
    await new Promise((done) => (transaction.oncomplete = done));
    open.result.close();
  }, copies);

// The scores the two stores hold.
async function storedScores(context) {
  const texts = await atOrigin(context, async () => {
    const local = JSON.parse(localStorage.getItem("swarm.HighScore.dat"));
    const open = indexedDB.open("swarm", 1);
    open.onupgradeneeded = () => open.result.createObjectStore("files");
    await new Promise((done) => (open.onsuccess = done));
    const get = open.result.transaction("files").objectStore("files").get("HighScore.dat");
    await new Promise((done) => (get.onsuccess = done));
    open.result.close();
    return { local: local && atob(local.data), db: get.result && String.fromCharCode(...get.result.bytes) };
  });
  return { local: scoreIn(texts.local), db: scoreIn(texts.db) };
}

async function openGame(context) {
  const page = await context.newPage();
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.swarmPage && swarmPage.firstPicture > 0, null, { timeout: deadline });
  return page;
}
const highScoreOf = (page) => page.evaluate(() => Module._pageHighScore());

// Escape until the game quits from the title (the intro takes it as any key),
// looked at and pressed in one step, so that no press lands after the quit.
const quit = async (page) =>
  check(await until(page, () => page.evaluate(() => {
    if (!document.getElementById("message").hidden) return true;
    for (const type of ["keydown", "keyup"]) window.dispatchEvent(new KeyboardEvent(type, { code: "Escape" }));
    return false;
  })), "Escape on the title quits");

try {
  // --- The higher score wins at the start, whichever copy is newer; a
  // damaged copy never wins. ---
  const starts = [
    ["IndexedDB's older copy holds the higher score", { savedAt: 1, text: fileOf(20000) }, { savedAt: 2, text: fileOf(4321) }, 20000],
    ["localStorage's older copy holds the higher score", { savedAt: 2, text: fileOf(4321) }, { savedAt: 1, text: fileOf(20000) }, 20000],
    ["the newer copy is damaged", { savedAt: 2, text: "7 not a score\n" }, { savedAt: 1, text: fileOf(4321) }, 4321],
  ];
  for (const [what, db, local, score] of starts) {
    const context = await browser.newContext();
    await seed(context, { db, local });
    const page = await openGame(context);
    const read = await highScoreOf(page);
    check(read === score, `${what}: the game starts with ${score} (${read})`);
    await context.close();
  }

  // --- IndexedDB answers only after the start stopped waiting for it: the
  // game runs with 10000, and quitting keeps the record of 50000. ---
  const late = await browser.newContext();
  await late.addInitScript(() => {
    if (!location.pathname.endsWith("/index.html")) return;
    const open = IDBFactory.prototype.open;
    IDBFactory.prototype.open = function (...args) {
      const held = {};
      window.releaseDb = () => {
        const request = open.apply(this, args);
        for (const type of ["upgradeneeded", "success", "error", "blocked"])
          request.addEventListener(type, () => {
            try {
              held.result = request.result;
            } catch (e) {}
            if (held[`on${type}`]) held[`on${type}`]();
          });
      };
      return held;
    };
  });
  await seed(late, { db: { savedAt: 1, text: fileOf(50000) } });
  let page = await openGame(late);
  check((await highScoreOf(page)) === 10000, "IndexedDB held back: the game starts with 10000");
  await page.evaluate(() => window.releaseDb());
  await quit(page);
  check(await until(page, async () => {
    const { local, db } = await storedScores(late);
    return local === 50000 && db === 50000;
  }), "quitting after a missed restore keeps 50000 in both stores");
  await late.close();

  // --- Two pages of one origin: A starts with 4321, B with 20000 that a
  // game of its own kept meanwhile; A leaving after B never lowers it. ---
  const tabs = await browser.newContext();
  await seed(tabs, { db: { savedAt: 1, text: fileOf(4321) }, local: { savedAt: 1, text: fileOf(4321) } });
  const a = await openGame(tabs);
  await seed(tabs, { db: { savedAt: 2, text: fileOf(20000) }, local: { savedAt: 2, text: fileOf(20000) } });
  const b = await openGame(tabs);
  check((await highScoreOf(a)) === 4321 && (await highScoreOf(b)) === 20000, "two pages start with 4321 and 20000");
  await b.close({ runBeforeUnload: true });
  await a.close({ runBeforeUnload: true });
  const kept = await storedScores(tabs);
  check(kept.local === 20000 && kept.db === 20000,
        `the page holding 4321 left last: the stores keep 20000 (${kept.local}, ${kept.db})`);
  await tabs.close();

  // --- Storage refused (a private window, a full quota): quitting says the
  // score could not be saved. ---
  const refused = await browser.newContext();
  await refused.addInitScript(() => {
    const deny = () => { throw new DOMException("refused", "SecurityError"); };
    Object.defineProperty(window, "localStorage", { get: deny });
    Object.defineProperty(window, "indexedDB", { get: deny });
  });
  page = await openGame(refused);
  await quit(page);
  check(await until(page, async () => /could not be saved/.test(await page.locator("#message").textContent())),
        "with storage refused, quitting says the high score could not be saved");
  await refused.close();
} finally {
  await closeChromium(browser);
  await server.close();
}
process.exitCode = failed ? 1 : 0;
