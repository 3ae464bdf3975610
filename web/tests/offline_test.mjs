// The page installed and offline, in Chromium, served over http from
// 127.0.0.1 by a plain host whose files are a month old (so the browser
// holds them fresh for days by itself). A first visit downloads each file
// once and not the lab's workers; the service worker takes charge, Chromium
// finds the page installable and its favicon is the 32 x 32 icon. Then a new
// release goes up: the tab open from before does not run its lab's workers,
// a reload shows it at once, and its worker leaves only its own cache. A release whose deploy lost a file is not kept, and the page
// says so. Opening the icon and the manifest in a tab, then shutting the
// server and taking the browser offline, the game's address still plays a
// race to the board, of the last whole release. Chromium only: it alone reports
// installability.
//
//   node offline_test.mjs SITE_FOLDER
import { appendFileSync, cpSync, readdirSync, readFileSync, rmSync, utimesSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { serviceWorkerText } from '../tools/make_sw.mjs';
import { atEnd, openBrowser, runTest, scratchFolder, serveFolder, watchForErrors } from './browser.mjs';

const [site] = process.argv.slice(2);
const swSource = readFileSync(fileURLToPath(new URL('../page/sw.js', import.meta.url)), 'utf8');

// A release whose lab's workers are not the last one's: a new digest in the
// worker text and in the page stamped with it.
function newLabWorkers(release) {
  const text = path.join(release, 'lab_worker_text.js');
  const digest = readFileSync(text, 'utf8').match(/var trotixLabWorkerDigest = '(\w+)'/)[1];
  for (const file of [text, path.join(release, 'page.js')]) {
    writeFileSync(file, readFileSync(file, 'utf8').replaceAll(digest, [...digest].reverse().join('')));
  }
}

// The site as built, dated a month back; a next release an hour old with
// one more rule in lab.css; and a release after it whose deploy lost
// lab.css.
function threeReleases() {
  const folder = scratchFolder('offline');
  const [first, next, broken] = ['first', 'next', 'broken'].map((name) => path.join(folder, name));
  const files = Object.keys(JSON.parse(readFileSync(path.join(site, 'sw.js'), 'utf8').match(/const siteFiles = ({[^}]*})/)[1]));
  for (const [release, rule] of [[first, ''], [next, '#next-release { color: inherit; }\n'],
                                 [broken, '#next-release { color: inherit; }\n#broken { color: inherit; }\n']]) {
    cpSync(site, release, { recursive: true });
    appendFileSync(path.join(release, 'lab.css'), rule);
    if (release !== first) newLabWorkers(release);
    writeFileSync(path.join(release, 'sw.js'), serviceWorkerText(swSource, release, files));
  }
  rmSync(path.join(broken, 'lab.css'));
  for (const [release, age] of [[first, 30 * 24], [next, 1], [broken, 0.5]]) {
    const then = new Date(Date.now() - age * 3600 * 1000);
    for (const file of readdirSync(release)) utimesSync(path.join(release, file), then, then);
  }
  return [first, next, broken];
}

const nextReleaseShown = (page) => page.evaluate(() => [...document.styleSheets]
  .some((sheet) => [...sheet.cssRules].some((rule) => rule.selectorText === '#next-release')));
const inCharge = (page) => page.waitForFunction(() => navigator.serviceWorker.controller?.state === 'activated',
                                                { timeout: 20000 }).then(() => true, () => false);

runTest(async (check, problems) => {
  const [first, next, broken] = threeReleases();
  const server = await serveFolder(first);
  atEnd(() => server.close());
  const address = `http://127.0.0.1:${server.address().port}/`;
  const browser = await openBrowser('chromium');
  const page = await browser.newPage();
  await page.goto(address);
  check(await inCharge(page), 'the service worker did not take charge of the page');
  const firstVisit = [...server.served];
  const names = firstVisit.map((answer) => answer.name);
  const twice = names.filter((name, i) => names.indexOf(name) !== i);
  check(twice.length === 0 && !names.includes('/lab_worker_text.js'),
        `a first visit fetched ${twice.join(', ') || 'nothing'} twice, and the lab's workers ${names.includes('/lab_worker_text.js') ? '' : 'not '}`);
  const { installabilityErrors } = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0, `Chromium would not install the page: ${JSON.stringify(installabilityErrors)}`);
  const icon = await page.evaluate(() => new Promise((done) => {
    const image = new Image();
    image.onload = () => done(`${image.naturalWidth}x${image.naturalHeight}`);
    image.onerror = () => done('none');
    image.src = document.querySelector('link[rel="icon"]').href;
  }));
  check(icon === '32x32', `the favicon is ${icon}, not the 32 x 32 icon`);

  server.root = path.resolve(next);
  // The page left open over the release does not run the next release's workers.
  await page.click('#lab-open');
  await page.click('#lab-run');
  const status = await page.waitForFunction(() => document.getElementById('lab-status').textContent.match(/stopped|Done/),
                                            { timeout: 60000 }).then(() => page.$eval('#lab-status', (line) => line.textContent), () => 'nothing');
  check(status.includes('Trotix was updated since this page was opened'), `the page open over a release ran its lab: ${status}`);
  const release = readFileSync(path.join(next, 'sw.js'), 'utf8').match(/const release = '(\w+)'/)[1];
  await page.reload();
  check(await nextReleaseShown(page), 'a reload after a release did not show the new release');
  const wanted = `trotix ${address} ${release}`;
  let caches = '';
  for (let i = 0; i < 100 && caches !== wanted; ++i) {
    if (i > 0) await new Promise((done) => setTimeout(done, 200));
    caches = await page.evaluate(() => caches.keys().then((names) => names.filter((name) => name.startsWith('trotix')).join()));
  }
  check(caches === wanted, `after a release the caches are "${caches}", not the new release's alone`);

  for (const file of ['icon-512.png', 'manifest.webmanifest']) {
    const tab = await browser.newPage();
    await tab.goto(`${address}${file}`);
    await tab.close();
  }
  server.root = path.resolve(broken);
  await page.reload();
  const said = await page.waitForFunction(() => document.getElementById('page-lines').textContent, { timeout: 20000 })
    .then((line) => line.jsonValue(), () => 'nothing');
  check(said === 'This page cannot be kept for playing offline: the host answered 404 for lab.css.',
        `a release missing a file, the page said ${said}`);

  await new Promise((done) => server.close(done));
  await page.setOfflineMode(true);
  watchForErrors(page, problems);
  await page.goto(`${address}?seed=123&clock=scripted`);
  const loaded = await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 }).then(() => true, () => false);
  check(loaded, 'offline, the page did not load again');
  if (loaded) {
    check(await nextReleaseShown(page), 'offline, the page is not the new release');
    await page.keyboard.press('F5');
    const end = await page.evaluate(() => {
      let state = window.trotixTest.state();
      for (let i = 0; i < 2000 && state.timerOn; ++i) state = window.trotixTest.advance(200);
      return { ...state, lines: document.getElementById('page-lines').textContent };
    });
    check(end.phase === 5 && end.runEnabled && end.ticks > 600 && end.lines === '',
          `offline, the race did not run to the board: ${JSON.stringify(end)}`);
  }
  return `installable over http, a first visit fetching ${names.length} files (${firstVisit.reduce((sum, answer) => sum + answer.bytes, 0)} bytes); ` +
         'a release shown at the next load; offline, after the icon opened in a tab, the page played a race to the board';
});
