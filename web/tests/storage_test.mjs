// The kept horse file in the browser's own storage (every hostile entry is
// web/page/tests/kept_file_test.mjs's). A good entry and an unreadable one
// are planted and the page loaded: the game starts, with the kept file's
// field set up at once, or the random field and one line, and storage holds
// what it should. Then storage is filled to its quota and a file is chosen:
// the page says it cannot keep it, and the next visit names no file and
// races a random field, never an older file's. Two tabs: each says what is
// kept after the other's choice or Forget. Every wait is on what the page
// shows, with room for a slow machine under load.
//
//   node storage_test.mjs SITE_FOLDER [chromium|firefox]
import { chooseFile, goodHorses, openBrowser, openPage, pageUrl, runTest, scratchFolder, writeIn } from './browser.mjs';

const [site, engine = 'chromium'] = process.argv.slice(2);
const goodFile = writeIn(scratchFolder('storage-test'), 'horsedat.txt', goodHorses);
const good = Buffer.from(goodHorses).toString('base64');
const entry = 'trotix.horseFile';
const json = JSON.stringify;
const kept = (name, bytes) => ({ [entry]: json({ name, bytes }) });
const patient = { timeout: 90000 };

// [what, entries planted, the field then, keys left]; a random field comes
// with one line saying the entry was dropped, the file's with none.
const cases = [
  ['a kept file', kept('horsedat.txt', good), 'good', [entry]],
  ['bytes not base64', kept('horsedat.txt', '!!!not base64!!!'), 'random', []],
];

// The game as it starts (its field, the file it names, the page's lines,
// the keys in storage), or null when it does not start.
async function load(page, url) {
  await page.goto(url);
  if (!(await page.waitForFunction(() => window.trotixTest, patient).then(() => true, () => false))) return null;
  await page.keyboard.press('F7');
  const seen = await page.evaluate(() => ({ listing: document.getElementById('listing-text').textContent,
                                            name: document.getElementById('field-file-name').textContent,
                                            when: document.getElementById('field-file-when').textContent,
                                            lines: document.getElementById('page-lines').textContent,
                                            keys: Object.keys(localStorage).sort() }));
  await page.keyboard.press('Escape');
  return seen;
}

const plant = (page, entries) => page.evaluate((planted) => {
  localStorage.clear();
  for (const [key, value] of Object.entries(planted)) localStorage.setItem(key, value);
}, entries);

async function checkQuotaFull(page, url, fields, check) {
  await plant(page, kept('older.txt', good));
  await page.evaluate(() => {  // fill storage until not one more character fits
    for (let i = 0, size = 1 << 20; size >= 1; ++i) {
      try { localStorage.setItem(`filler.${i}`, 'f'.repeat(size)); } catch (error) { size >>= 1; }
    }
  });
  await (await page.$('#field-file')).uploadFile(goodFile);
  await page.waitForFunction(() => document.getElementById('page-lines').textContent, patient).catch(() => {});
  const told = await page.evaluate(() => document.getElementById('page-lines').textContent);
  check(told.includes('could not keep the horse file \u2068horsedat.txt\u2069'), `with storage full, the page said ${json(told)}`);
  const next = await load(page, url);
  check(next?.name === '' && next.listing === fields.random && !next.keys.includes(entry),
        `the visit after a file could not be kept shows ${json(next)}`);
  await page.evaluate(() => localStorage.clear());
}

// One tab's choice, then its Forget: the other says what is kept each time.
async function checkTwoTabs(page, url, problems, check) {
  await load(page, url);
  const other = await openPage(page.browser(), url, problems);
  const told = (text) => page.waitForFunction((line) => document.getElementById('page-lines').textContent.includes(line),
                                              patient, text).then(() => true, () => false);
  await chooseFile(other, goodFile);
  check(await told('Another tab now keeps the horse file \u2068horsedat.txt\u2069 for the next visit.'),
        "a tab did not say what another tab's choice keeps");
  await other.click('#forget-file');
  check(await told('Another tab forgot the kept horse file'), "a tab did not say that another tab forgot the kept file");
  const lines = await page.$$eval('#page-lines p', (all) => all.length);
  check(lines === 1, `the other tab's changes took ${lines} lines, not one`);
  await other.close();
}

runTest(async (check, problems) => {
  const url = pageUrl(site);
  const page = await openPage(await openBrowser(engine), url, problems, { ready: null });
  await plant(page, {});
  const fields = { random: (await load(page, url)).listing };
  for (const [what, entries, field, left] of cases) {
    await plant(page, entries);
    const seen = await load(page, url);
    if (field === 'good' && fields.good === undefined && seen?.listing !== fields.random) fields.good = seen?.listing;
    const want = { field, name: field === 'good' ? 'horsedat.txt' : '', keys: left };
    const got = seen && { field: ['random', 'good'].find((one) => fields[one] === seen.listing) ?? 'another',
                          name: seen.name.slice(0, 20), keys: seen.keys };
    check(json(got) === json(want), `${what}: ${json(got)}, not ${json(want)}`);
    check(seen?.when === '', `${what}: a file kept from the last visit is set up at once, not ${json(seen?.when)}`);
    check(seen?.lines.includes('could not be read and was dropped') === (field === 'random') &&
          (field === 'random' || seen.lines === ''), `${what}: the page said ${json(seen?.lines)}`);
  }
  await checkQuotaFull(page, url, fields, check);
  await checkTwoTabs(page, url, problems, check);
  return `${engine}: the game started with each of ${cases.length} planted entries, and a full storage was told`;
});
