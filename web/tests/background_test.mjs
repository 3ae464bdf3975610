// The race's time in Chromium with its slowing of background pages on (the
// flags with which puppeteer turns it off are dropped). The page, from
// file:// on the real clock, starts a race, then
// - has its time of day set back an hour, then forward: the race clock runs
//   on by the time that passed;
// - is hidden behind another tab for 60 s: at least 285 of the 300 ticks due
//   run, none inside another, while a plain timeout chain in the same page
//   is slowed (else the tab was not throttled and the count proves nothing);
// - is frozen as a background page is, and resumed: no tick runs frozen,
//   and the page says it was paused.
// Chromium only: headless Firefox gives a test no way to hide or freeze a tab.
//
//   node background_test.mjs SITE_FOLDER
import { openBrowser, openPage, pageUrl, runTest } from './browser.mjs';

const [site] = process.argv.slice(2);
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// In the page: how deeply ticks nest, and a plain 200 ms timeout chain.
function instrument() {
  const run = trotixTest.game._trotix_timer;
  let depth = 0;
  window.timing = { deepest: 0, plain: 0 };
  trotixTest.game._trotix_timer = () => {
    window.timing.deepest = Math.max(window.timing.deepest, ++depth);
    run();
    --depth;
  };
  const plain = () => setTimeout(plain, 200, ++window.timing.plain);
  plain();
}
const reading = (page) => page.evaluate(() => ({ ticks: trotixTest.game._trotix_ticks(), clock: trotixTest.page.clockSeconds(),
                                                 now: performance.now(), ...window.timing,
                                                 visibility: document.visibilityState,
                                                 lines: document.getElementById('page-lines').textContent }));

// The time of day `seconds` off from now on.
const setWallClock = (page, seconds) => page.evaluate((by) => {
  const Real = window.RealDate || (window.RealDate = Date);
  window.Date = class extends Real {
    constructor(...args) { super(...(args.length > 0 ? args : [Real.now() + by * 1000])); }
    static now() { return Real.now() + by * 1000; }
  };
}, seconds);

async function checkSteppedClock(page, check) {
  for (const by of [-3600, 3600]) {
    const before = await reading(page);
    await setWallClock(page, by);
    await sleep(1000);
    const after = await reading(page);
    const ran = [after.clock - before.clock, (after.now - before.now) / 1000];
    check(Math.abs(ran[0] - ran[1]) < 0.05, `with the time of day ${by} s off the race clock ran ${ran[0]} s in ${ran[1]} s`);
  }
}

async function checkHidden(browser, page, check) {
  const before = await reading(page);
  const front = await browser.newPage();
  await front.bringToFront();
  check((await reading(page)).visibility === 'hidden', 'behind another tab the page is not hidden');
  await sleep(60000);
  const after = await reading(page);
  await page.bringToFront();
  await front.close();
  const [ran, plain, due] = [after.ticks - before.ticks, after.plain - before.plain, Math.floor((after.now - before.now) / 200)];
  console.log(`hidden ${((after.now - before.now) / 1000).toFixed(1)} s: ${ran} ticks of ${due} due, a plain timeout chain ${plain} times`);
  check(plain < due / 2, `Chromium did not slow the hidden page (a plain timeout ran ${plain} times): the count proves nothing`);
  check(ran >= 285 && ran <= due + 1, `hidden for 60 s the race ran ${ran} ticks, not 285 to ${due + 1}`);
  check(after.deepest === 1, `a tick ran inside another (nested ${after.deepest} deep)`);
}

async function checkFrozen(page, check) {
  const session = await page.createCDPSession();
  const before = await reading(page);
  await session.send('Page.setWebLifecycleState', { state: 'frozen' });
  await sleep(3000);
  const frozen = await reading(page);
  await session.send('Page.setWebLifecycleState', { state: 'active' });
  await sleep(500);
  const after = await reading(page);
  check(frozen.ticks - before.ticks <= 1 && after.ticks > frozen.ticks,
        `ticks ${before.ticks}, frozen 3 s ${frozen.ticks}, resumed ${after.ticks}`);
  check(/paused this page in the background for [23] s; the race stood still/.test(after.lines),
        `after a freeze the page's lines read ${JSON.stringify(after.lines)}`);
}

runTest(async (check, problems) => {
  const browser = await openBrowser('chromium', { throttled: true });
  const page = await openPage(browser, pageUrl(site, 'seed=123&test'), problems,
                              { ready: () => performance.getEntriesByName('trotix-first-frame').length > 0 });
  await page.evaluate(instrument);
  await page.keyboard.press('F5');
  await checkSteppedClock(page, check);
  await checkHidden(browser, page, check);
  await checkFrozen(page, check);
  check(await page.evaluate(() => trotixTest.game._trotix_phase() < 5), 'the race ended before the test did');
  return 'the race kept time with its clock stepped, in a hidden tab and after a freeze';
});
