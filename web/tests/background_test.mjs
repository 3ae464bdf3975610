// The race's time in Chromium with its own slowing of background pages on
// (puppeteer turns it off by default): the page, opened from file:// on the
// real clock, starts a race and then
// - has the time of day set back an hour and then forward: the race clock
//   runs on by the time that passed, never stepping;
// - is hidden for 60 s behind another tab: at least 285 of the 300 ticks
//   due run, none made up and none inside another, while a plain timeout in
//   the same page, as the page once kept its timer, is slowed to a fraction
//   (else the tab was not really throttled and the count proves nothing);
// - is frozen, as Chromium freezes a background page, and resumed: no tick
//   runs while frozen, and the page says it was paused.
// Chromium only: the other engine has no way for the test to hide or
// freeze a tab headless.
//
//   node background_test.mjs SITE_FOLDER
import { existsSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchBrowser, watchForErrors } from './browser.mjs';

const [site] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const hiddenMs = 60000;

// In the page: every tick counted with how deeply ticks were nested, and a
// plain 200 ms timeout chain beside the race's timer.
function instrument() {
  const run = Module._trotix_timer;
  let depth = 0;
  window.timing = { deepest: 0, plain: 0 };
  Module._trotix_timer = () => {
    depth += 1;
    window.timing.deepest = Math.max(window.timing.deepest, depth);
    try {
      run();
    } finally {
      depth -= 1;
    }
  };
  const plain = () => {
    window.timing.plain += 1;
    setTimeout(plain, 200);
  };
  plain();
}
const reading = (page) => page.evaluate(() => ({ ticks: Module._trotix_ticks(), clock: Module.page.clockSeconds(),
                                                 now: performance.now(), plain: window.timing.plain,
                                                 deepest: window.timing.deepest, visibility: document.visibilityState,
                                                 lines: document.getElementById('page-lines').textContent }));

// The wall clock set `by` seconds off while the page runs.
const stepWallClock = (page, by) => page.evaluate((seconds) => {
  const Real = window.RealDate || Date;
  window.RealDate = Real;
  window.Date = class extends Real {
    constructor(...args) {
      if (args.length > 0) super(...args);
      else super(Real.now() + seconds * 1000);
    }
    static now() { return Real.now() + seconds * 1000; }
  };
}, by);

async function checkSteppedClock(page) {
  for (const by of [-3600, 3600]) {
    const before = await reading(page);
    await stepWallClock(page, by);
    await sleep(1000);
    const after = await reading(page);
    const clockRan = after.clock - before.clock;
    const timeRan = (after.now - before.now) / 1000;
    check(Math.abs(clockRan - timeRan) < 0.05,
          `with the wall clock set ${by} s off, the race clock ran ${clockRan.toFixed(3)} s in ${timeRan.toFixed(3)} s`);
  }
}

async function checkHidden(browser, page) {
  const before = await reading(page);
  const front = await browser.newPage();
  await front.bringToFront();
  const hidden = await reading(page);
  check(hidden.visibility === 'hidden', `behind another tab the page is ${hidden.visibility}, not hidden`);
  await sleep(hiddenMs);
  const after = await reading(page);
  await page.bringToFront();
  await front.close();
  const ran = after.ticks - before.ticks;
  const due = Math.floor((after.now - before.now) / 200);
  const plain = after.plain - before.plain;
  console.log(`hidden ${((after.now - before.now) / 1000).toFixed(1)} s: ${ran} ticks of ${due} due; ` +
              `a plain timeout chain ran ${plain} times; deepest tick nesting ${after.deepest}`);
  check(plain < due / 2, `Chromium did not slow the hidden page (a plain timeout ran ${plain} times of ${due}): ` +
                         'the count below proves nothing');
  check(ran >= 285 && ran <= due + 1, `hidden for 60 s the race ran ${ran} ticks, not 285 to ${due + 1}`);
  check(after.deepest === 1, `a tick ran inside another (nested ${after.deepest} deep)`);
}

async function checkFrozen(page) {
  const session = await page.createCDPSession();
  const before = await reading(page);
  await session.send('Page.setWebLifecycleState', { state: 'frozen' });
  await sleep(3000);
  const frozen = await reading(page);
  await session.send('Page.setWebLifecycleState', { state: 'active' });
  await sleep(500);
  const after = await reading(page);
  check(frozen.ticks - before.ticks <= 1, `${frozen.ticks - before.ticks} ticks ran in 3 s frozen`);
  check(after.ticks > frozen.ticks, 'the race did not go on after the page was resumed');
  check(/paused this page in the background for [23] s; the race stood still/.test(after.lines),
        `after a freeze the page's lines read ${JSON.stringify(after.lines)}`);
}

async function main() {
  const index = path.join(site, 'index.html');
  if (!existsSync(index)) throw new Error(`${index} is missing: build it with bash scripts/web.sh`);
  const problems = [];
  const chromium = await launchBrowser('chromium', { throttled: true });
  try {
    const page = await chromium.browser.newPage();
    watchForErrors(page, problems);
    await page.goto(`${pathToFileURL(index)}?seed=123`);
    await page.waitForFunction(() => performance.getEntriesByName('trotix-first-frame').length > 0, { timeout: 20000 });
    await page.evaluate(instrument);
    await page.keyboard.press('F5');
    check((await reading(page)).lines === '', 'the page had something to say before anything happened');
    await checkSteppedClock(page);
    await checkHidden(chromium.browser, page);
    await checkFrozen(page);
    const end = await page.evaluate(() => Module._trotix_phase());
    check(end > 0 && end < 5, `the race was in phase ${end} at the end of the test, not still running`);
  } finally {
    await chromium.close();
  }
  failures.push(...problems);
  if (failures.length > 0) {
    console.error(failures.join('\n'));
    process.exit(1);
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
