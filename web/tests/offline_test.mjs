// The page installed and offline, in Chromium: served over http from
// 127.0.0.1 its service worker takes charge, Chromium finds it installable
// and its favicon is the 32 x 32 icon; then the server is shut, the browser
// taken offline, and the page, reloaded, plays a race to the board. The
// service worker's list of files must be the built folder's. Chromium only:
// it alone reports installability.
//
//   node offline_test.mjs SITE_FOLDER
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { atEnd, openBrowser, runTest, serveFolder, watchForErrors } from './browser.mjs';

const [site] = process.argv.slice(2);

runTest(async (check, problems) => {
  const listed = readFileSync(path.join(site, 'sw.js'), 'utf8').match(/const siteFiles = \[([^\]]*)\]/);
  const cached = JSON.stringify([...(listed?.[1] ?? '').matchAll(/'([^']+)'/g)].map((match) => match[1]).sort());
  const built = JSON.stringify(readdirSync(site).filter((file) => file !== 'sw.js').sort());
  check(cached === built, `the service worker keeps ${cached}, the site holds ${built}`);

  const server = await serveFolder(site);
  atEnd(() => server.close());
  const page = await (await openBrowser('chromium')).newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/?seed=123&clock=scripted`);
  const controlled = await page.waitForFunction(() => navigator.serviceWorker.controller?.state === 'activated',
                                                { timeout: 20000 }).then(() => true, () => false);
  check(controlled, 'the service worker did not take charge of the page');
  const { installabilityErrors } = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0, `Chromium would not install the page: ${JSON.stringify(installabilityErrors)}`);
  const icon = await page.evaluate(() => new Promise((done) => {
    const image = new Image();
    image.onload = () => done(`${image.naturalWidth}x${image.naturalHeight}`);
    image.onerror = () => done('none');
    image.src = document.querySelector('link[rel="icon"]').href;
  }));
  check(icon === '32x32', `the favicon is ${icon}, not the 32 x 32 icon`);

  await new Promise((done) => server.close(done));
  await page.setOfflineMode(true);
  watchForErrors(page, problems);
  await page.reload();
  const loaded = await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 }).then(() => true, () => false);
  check(loaded, 'offline, the page did not load again');
  if (loaded) {
    await page.keyboard.press('F5');
    const end = await page.evaluate(() => {
      let state = window.trotixTest.state();
      for (let i = 0; i < 2000 && state.timerOn; ++i) state = window.trotixTest.advance(200);
      return { ...state, lines: document.getElementById('page-lines').textContent };
    });
    check(end.phase === 5 && end.runEnabled && end.ticks > 600 && end.lines === '',
          `offline, the race did not run to the board: ${JSON.stringify(end)}`);
  }
  return 'installable over http; offline after one visit the page played a race to the board';
});
