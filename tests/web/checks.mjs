// What the page tests share: checks that print and count their failures, and
// waiting for a condition until a deadline.
export function makeChecks(deadline) {
  let failed = 0;
  function check(ok, what) {
    console.log(`${ok ? "ok" : "FAIL"}: ${what}`);
    if (!ok) ++failed;
  }
  async function until(page, test, what) {
    const end = Date.now() + deadline;
    while (Date.now() < end) {
      if (await test()) return true;
      await page.waitForTimeout(50);
    }
    check(false, what);
    return false;
  }
  return { check, until, failures: () => failed };
}
