// The kept horse file against hostile storage: whatever this page's storage
// holds (any page of the origin, and on file:// any local page, can write
// it), the game starts. Each case plants entries, loads the page again and
// finds the game started, the field random or the kept file's, one line said
// or none, and what storage holds afterwards. Then the storage is filled to
// its quota and a file is chosen: the page says it cannot keep it, and the
// next visit names no file and races a random field, never an older file's.
//
//   node storage_test.mjs SITE_FOLDER [chromium|firefox]
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchBrowser, watchForErrors } from './browser.mjs';

const [site, engine = 'chromium'] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };
const scratch = mkdtempSync(path.join(tmpdir(), 'trotix-storage-test-'));
const goodFile = path.join(scratch, 'horsedat.txt');
const goodText = '80\t60\t2\r\n50\t50\t1\r\n70\t40\t3\r\n45\t90\t4\r\n60\t60\t1\r\n55\t75\t2\r\n';
writeFileSync(goodFile, goodText);
const goodBase64 = Buffer.from(goodText).toString('base64');

const entry = 'trotix.horseFile';
const oldName = 'trotix.horseFile.name';
const oldBytes = 'trotix.horseFile.bytes';
const json = (value) => JSON.stringify(value);
const dropped = 'could not be read and was dropped';

// [what, entries planted, field afterwards, a line said, keys left]
const cases = [
  ['a kept file', { [entry]: json({ name: 'horsedat.txt', bytes: goodBase64 }) }, 'good', false, [entry]],
  ['bytes not base64', { [entry]: json({ name: 'horsedat.txt', bytes: '!!!not base64!!!' }) }, 'random', true, []],
  ['bytes with a bad length', { [entry]: json({ name: 'horsedat.txt', bytes: goodBase64.slice(1) }) }, 'random', true, []],
  ['no JSON', { [entry]: '{"name": "horsedat.txt", "bytes": ' }, 'random', true, []],
  ['JSON of another shape', { [entry]: '{"a":1}' }, 'random', true, []],
  ['JSON null', { [entry]: 'null' }, 'random', true, []],
  ['a name of 2 MiB', { [entry]: json({ name: 'n'.repeat(2 << 20), bytes: goodBase64 }) }, 'random', true, []],
  ['bytes of 1 MiB', { [entry]: json({ name: 'horsedat.txt', bytes: 'QUFB'.repeat(1 << 18) }) }, 'random', true, []],
  ['kept apart, as earlier pages did', { [oldName]: 'horsedat.txt', [oldBytes]: goodBase64 }, 'good', false, [entry]],
  ['kept apart, the bytes not base64', { [oldName]: 'horsedat.txt', [oldBytes]: '!!!not base64!!!' }, 'random', true, []],
  ['kept apart, the bytes JSON', { [oldName]: 'horsedat.txt', [oldBytes]: '{"a":1}' }, 'random', true, []],
  ['kept apart, the bytes missing', { [oldName]: 'horsedat.txt' }, 'random', true, []],
  ['kept apart, the name missing', { [oldBytes]: goodBase64 }, 'random', true, []],
  ['kept apart, a name of 2 MiB', { [oldName]: 'n'.repeat(2 << 20), [oldBytes]: goodBase64 }, 'random', true, []],
];

// The game as it starts: its field, the file it names, the page's lines and
// the keys left in storage; null when it does not start.
async function load(page, url) {
  await page.goto(url);
  const started = await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 10000 })
    .then(() => true, () => false);
  if (!started) return null;
  await page.keyboard.press('F7');
  const seen = await page.evaluate(() => ({ listing: document.getElementById('listing-text').textContent,
                                            name: document.getElementById('field-file-name').textContent,
                                            lines: document.getElementById('page-lines').textContent,
                                            keys: Object.keys(localStorage).sort() }));
  await page.keyboard.press('Escape');
  return seen;
}

const plant = (page, entries) => page.evaluate((planted) => {
  localStorage.clear();
  for (const [key, value] of Object.entries(planted)) localStorage.setItem(key, value);
}, entries);

// Fills this page's storage until not even one more character fits.
const fillStorage = (page) => page.evaluate(() => {
  let size = 1 << 20;
  for (let i = 0; size >= 1; ++i) {
    try {
      localStorage.setItem(`filler.${i}`, 'f'.repeat(size));
    } catch (error) {
      size >>= 1;
    }
  }
});

async function checkQuota(page, url, fields) {
  await plant(page, { [entry]: json({ name: 'older.txt', bytes: goodBase64 }) });
  await fillStorage(page);
  await (await page.$('#field-file')).uploadFile(goodFile);
  await page.waitForFunction(() => document.getElementById('page-lines').textContent !== '', { timeout: 5000 })
    .catch(() => {});
  const told = await page.evaluate(() => document.getElementById('page-lines').textContent);
  check(told.includes('could not keep the horse file \u2068horsedat.txt\u2069'),
        `with storage full, choosing a file says ${JSON.stringify(told)}`);
  const next = await load(page, url);
  check(next !== null && next.name === '' && next.listing === fields.random && !next.keys.includes(entry),
        `the visit after a file could not be kept shows ${json(next)}`);
  await page.evaluate(() => localStorage.clear());
}

async function main() {
  const url = `${pathToFileURL(path.join(site, 'index.html'))}?seed=123&clock=scripted`;
  const problems = [];
  const browser = await launchBrowser(engine);
  try {
    const page = await browser.browser.newPage();
    watchForErrors(page, problems);
    await page.goto(url);
    await plant(page, {});
    const fields = { random: (await load(page, url)).listing };
    await plant(page, { [entry]: json({ name: 'horsedat.txt', bytes: goodBase64 }) });
    fields.good = (await load(page, url)).listing;
    check(fields.good !== fields.random, 'the kept file gave the random field');
    for (const [what, entries, field, said, left] of cases) {
      await plant(page, entries);
      const seen = await load(page, url);
      if (seen === null) {
        failures.push(`${what}: the game did not start`);
        continue;
      }
      const name = field === 'good' ? 'horsedat.txt' : '';
      check(seen.listing === fields[field], `${what}: the field is not the ${field} one`);
      check(seen.name === name, `${what}: the page names ${JSON.stringify(seen.name.slice(0, 40))}, not ${JSON.stringify(name)}`);
      check(said ? seen.lines.includes(dropped) : seen.lines === '', `${what}: the page says ${JSON.stringify(seen.lines)}`);
      check(json(seen.keys) === json(left), `${what}: storage holds ${json(seen.keys)}, not ${json(left)}`);
    }
    await checkQuota(page, url, fields);
  } finally {
    await browser.close();
    rmSync(scratch, { recursive: true, force: true });
  }
  failures.push(...problems);
  if (failures.length > 0) {
    console.error(failures.join('\n'));
    process.exit(1);
  }
  console.log(`${engine}: the game started with each of ${cases.length} planted entries, and a full storage was told`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
