// The page as an installed, offline game, in Chromium: served over http
// from the loopback address it registers its service worker and Chromium
// finds it installable (manifest, icons); then the server is shut and the
// browser taken offline, and the page, reloaded, still plays a race to the
// board. The service worker's list of files must be the built folder's, so
// that no file the page needs is missing offline. Chromium only: it alone
// reports installability, and takes the browser offline through puppeteer.
//
//   node offline_test.mjs SITE_FOLDER
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { launchBrowser, serveFolder, watchForErrors } from './browser.mjs';

const [site] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

function checkCachedFiles() {
  const listed = readFileSync(path.join(site, 'sw.js'), 'utf8').match(/const siteFiles = \[([^\]]*)\]/);
  const cached = listed === null ? [] : [...listed[1].matchAll(/'([^']+)'/g)].map((match) => match[1]).sort();
  const built = readdirSync(site).filter((file) => file !== 'sw.js').sort();
  check(JSON.stringify(cached) === JSON.stringify(built),
        `the service worker keeps ${JSON.stringify(cached)}, the site holds ${JSON.stringify(built)}`);
}

// The race played on the scripted clock from F5 to the board.
async function playRace(page, when) {
  await page.keyboard.press('F5');
  const end = await page.evaluate(() => {
    let state = window.trotixTest.state();
    const started = state.timerOn;
    for (let i = 0; i < 2000 && state.timerOn; ++i) state = window.trotixTest.advance(200);
    return { started, ...state };
  });
  check(end.started && end.phase === 5 && end.runEnabled && end.ticks > 600,
        `${when}, the race did not run to the board: ${JSON.stringify(end)}`);
}

async function main() {
  checkCachedFiles();
  const problems = [];
  const server = await serveFolder(site);
  const chromium = await launchBrowser('chromium');
  try {
    const page = await chromium.browser.newPage();
    const url = `http://127.0.0.1:${server.address().port}/?seed=123&clock=scripted`;
    await page.goto(url);
    await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
    const controlled = await page.waitForFunction(() => navigator.serviceWorker.controller?.state === 'activated',
                                                  { timeout: 20000 }).then(() => true, () => false);
    check(controlled, 'the service worker did not take charge of the page');
    const session = await page.createCDPSession();
    const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
    check(installabilityErrors.length === 0, `Chromium would not install the page: ${JSON.stringify(installabilityErrors)}`);
    const icon = await page.evaluate(() => new Promise((done) => {
      const image = new Image();
      image.onload = () => done(`${image.naturalWidth}x${image.naturalHeight}`);
      image.onerror = () => done('none');
      image.src = document.querySelector('link[rel="icon"]').href;
    }));
    check(icon === '32x32', `the favicon is ${icon}, not a 32 x 32 picture`);

    // The network gone: no server, and the browser offline.
    await new Promise((done) => server.close(done));
    await page.setOfflineMode(true);
    watchForErrors(page, problems);
    await page.reload();
    const loaded = await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 }).then(() => true, () => false);
    check(loaded, 'offline, the page did not load again');
    if (loaded) {
      await playRace(page, 'offline');
      const lines = await page.evaluate(() => document.getElementById('page-lines').textContent);
      check(lines === '', `offline the page said ${JSON.stringify(lines)}`);
    }
  } finally {
    await chromium.close();
    server.close();
  }
  failures.push(...problems);
  if (failures.length > 0) {
    console.error(failures.join('\n'));
    process.exit(1);
  }
  console.log('installable over http; offline after one visit the page played a race to the board');
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
