// The page's input as players meet it, in headless Chromium: a key's release
// reaches the game whatever else is held, sound suspended by the browser wakes
// on the next key or tap, a pad's buttons and stick press the game's keys, the
// touch buttons follow each finger, and on a phone the picture fits the
// visible page, the buttons keep inside the safe area and the fullscreen
// button shows only where fullscreen can be had.
//   node tests/web/input.mjs SITE_DIR
import { closeChromium, launchChromium, serveDirectory } from "../../tools/web/chromium.mjs";
import { resolve } from "node:path";

const site = resolve(process.argv[2]);
const browser = await launchChromium();
const server = await serveDirectory(site);
const url = `${server.url}/index.html`;
const deadline = 30000; // generous: a busy machine is slow, never wrong
const VK = { space: 0x20, left: 0x25, right: 0x27 };
let failed = 0;

function check(ok, what) {
  console.log(`${ok ? "ok" : "FAIL"}: ${what}`);
  if (!ok) ++failed;
}

// Waits for `test` to hold; says so when `report`, and always when it never does.
async function until(page, test, what, report = true) {
  const end = Date.now() + deadline;
  while (Date.now() < end) {
    if (await test()) {
      if (report) check(true, what);
      return true;
    }
    await page.waitForTimeout(50);
  }
  check(false, what);
  return false;
}

async function open(context) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.swarmPage && swarmPage.firstPicture > 0, null, { timeout: deadline });
  return page;
}

// The game's own key-down table, and its sound's state.
const keyDown = (page, vk) => page.evaluate((vk) => Module._pageKeyDown(vk), vk);
const audioState = (page) => page.evaluate(() => swarmAudio.context && swarmAudio.context.state);

// The page queues keys for the game one a frame: ten frames more, and all sent
// before has reached it.
async function settle(page) {
  const frames = () => page.evaluate(() => swarmPage.frames);
  const now = await frames();
  await until(page, async () => (await frames()) > now + 10, "the game runs on", false);
}

// Suspends the sound as a browser does, then `wake` must start it again.
async function suspendedThenWoken(page, wake, what) {
  await until(page, async () => (await audioState(page)) === "running", `the sound runs before ${what}`, false);
  await page.evaluate(() => swarmAudio.context.suspend());
  await wake();
  await until(page, async () => (await audioState(page)) === "running", `${what} wakes the suspended sound`);
}

try {
  // --- A keyboard: Right pressed, a modifier pressed, Right released. ---
  const desk = await browser.newContext({ viewport: { width: 800, height: 600 } });
  let page = await open(desk);
  for (const modifier of ["Control", "Meta", "Alt"]) {
    await page.keyboard.down("ArrowRight");
    await until(page, async () => (await keyDown(page, VK.right)) === 1, `Right goes down (then ${modifier})`, false);
    await page.keyboard.down(modifier);
    await page.keyboard.up("ArrowRight");
    await page.keyboard.up(modifier);
    await settle(page);
    check((await keyDown(page, VK.right)) === 0, `Right released while ${modifier} is held goes up`);
  }
  await suspendedThenWoken(page, () => page.keyboard.press("KeyA"), "a key press");
  check(await page.locator("#fullscreen").isVisible(), "the fullscreen button shows where fullscreen is offered");
  await desk.close();

  // --- A pad (standard mapping), read through the game's pad table: each
  // step holds these buttons and the stick at x, and the game holds these keys
  // (Left, Right, Space, any other). The stick lets go only within 25 %. ---
  const padDesk = await browser.newContext({ viewport: { width: 800, height: 600 } });
  await padDesk.addInitScript(() => {
    window.testPad = { buttons: [], x: 0 };
    const button = (i) => ({ pressed: testPad.buttons.includes(i) });
    Object.defineProperty(Navigator.prototype, "getGamepads", {
      value: () => [{ index: 0, connected: true, mapping: "standard", axes: [testPad.x, 0],
                      buttons: Array.from({ length: 17 }, (_, i) => button(i)) }],
    });
  });
  page = await open(padDesk);
  const padSteps = [
    [[14, 0], 0, [1, 0, 1, 0], "the D-pad's left and the south button hold Left and Space"],
    [[3], 0.35, [0, 1, 0, 1], "the stick beyond 30 % holds Right, another button the other key"],
    [[7], 0.27, [0, 1, 0, 0], "the stick within 30 % still holds Right; a trigger holds nothing"],
    [[], 0.2, [0, 0, 0, 0], "the stick within 25 % lets go"],
  ];
  for (const [buttons, x, want, what] of padSteps) {
    await page.evaluate(([buttons, x]) => Object.assign(testPad, { buttons, x }), [buttons, x]);
    const held = () => Promise.all([VK.left, VK.right, VK.space, 0xff].map((vk) => keyDown(page, vk)));
    await until(page, async () => (await held()).join() === want.join(), what);
  }
  await padDesk.close();

  // --- A phone held sideways, with a notch and a home bar. ---
  const phone = await browser.newContext({ viewport: { width: 844, height: 390 }, hasTouch: true, isMobile: true });
  page = await open(phone);
  const cdp = await phone.newCDPSession(page);
  const insets = { top: 0, left: 47, right: 47, bottom: 21 };
  await cdp.send("Emulation.setSafeAreaInsetsOverride", { insets });
  const fits = await page.evaluate(() => {
    const r = document.getElementById("canvas").getBoundingClientRect();
    return r.top === 0 && r.height === innerHeight && r.width === innerWidth;
  });
  check(fits, "the picture fills the visible page");
  const outside = await page.evaluate((insets) => {
    const wrong = [];
    for (const b of document.querySelectorAll("#touch button, #fullscreen")) {
      const r = b.getBoundingClientRect();
      if (r.left < insets.left || r.right > innerWidth - insets.right || r.top < insets.top ||
          r.bottom > innerHeight - insets.bottom)
        wrong.push(b.getAttribute("aria-label"));
    }
    return wrong;
  }, insets);
  check(outside.length === 0, `the buttons keep inside the safe area (outside: ${outside.join(", ") || "none"})`);

  // Two fingers: one on Left, one on Fire; the first slides to Right; both lift.
  const centre = async (key) => {
    const b = await page.locator(`[data-key=${key}]`).boundingBox();
    return { x: b.x + b.width / 2, y: b.y + b.height / 2 };
  };
  const [left, right, fire] = [await centre("left"), await centre("right"), await centre("fire")];
  const steps = [
    ["touchStart", [left, fire], [1, 0, 1], "Left and Fire held by two fingers at once"],
    ["touchMove", [right, fire], [0, 1, 1], "a finger slid from Left to Right moves the press"],
    ["touchEnd", [], [0, 0, 0], "lifting the fingers releases the buttons"],
  ];
  for (const [type, points, want, what] of steps) {
    await cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points.map((p, id) => ({ ...p, id })) });
    const held = () => Promise.all([VK.left, VK.right, VK.space].map((vk) => keyDown(page, vk)));
    await until(page, async () => (await held()).join() === want.join(), what);
  }
  await suspendedThenWoken(page, () => page.touchscreen.tap(422, 100), "a tap");
  await phone.close();

  // --- No fullscreen to be had (an iPhone): no fullscreen button. ---
  const iphone = await browser.newContext({ hasTouch: true, isMobile: true });
  const refusals = [
    ["requestFullscreen missing", () => delete Element.prototype.requestFullscreen],
    ["fullscreen not enabled", () => Object.defineProperty(Document.prototype, "fullscreenEnabled", { get: () => false })],
  ];
  for (const [what, script] of refusals) {
    page = await iphone.newPage();
    await page.addInitScript(script);
    await page.goto(url);
    check(await page.locator("#fullscreen").isHidden(), `with ${what} the fullscreen button is hidden`);
    await page.close();
  }
  await iphone.close();
} finally {
  await closeChromium(browser);
  await server.close();
}
process.exitCode = failed ? 1 : 0;
