// The lab in the page against trotix-sim, in a headless browser from file://:
// the sample field, handed in as a horse file and raced by F5, run 20,000
// times at a fixed seed on two workers, must give `trotix-sim --json`'s
// figures on the same file and seed, count for count, and `trotix-sim
// --svg`'s chart byte for byte, which must read as XML with one mark a horse
// on its interval. Also: the panel's tables and seed, its own Run at a given
// seed, Cancel, a worker that fails, a refused horse file (the random field,
// said), a Worker that cannot be made, a host that forbids blob: workers,
// the workers kept from run to run, the race card (the random field measured
// is the one the next Run races, and a board that brings the next one has
// the open panel measure it at once), and the game's ticks while the lab runs.
//
//   node lab_test.mjs SITE_FOLDER TROTIX_SIM [chromium|firefox]
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { badHorses, chooseFile, goodHorses, openBrowser, openPage, pageUrl, runTest, scratchFolder, siteUnderPolicy, writeIn } from './browser.mjs';

const [site, trotixSim, engine = 'chromium'] = process.argv.slice(2);
const seed = 20261209;
const races = 20000;
const scratch = scratchFolder('lab-test');
const goodFile = writeIn(scratch, 'horsedat.txt', goodHorses);

// trotix-sim natively, on two threads as the page has two workers.
const nativeSvgFile = path.join(scratch, 'chart.svg');
const native = JSON.parse(execFileSync(trotixSim, ['--json', '--seed', String(seed), '--races', String(races),
                                                   '--threads', '2', '--svg', nativeSvgFile, goodFile], { encoding: 'utf8' }));
const nativeSvg = readFileSync(nativeSvgFile, 'utf8');

// A horse file through the page's exports, as its file control hands one in,
// then F5: the race it starts has the file's field (or, refused, a random one).
function raceWithFile(name, text) {
  const nameBytes = new TextEncoder().encode(name);
  const bytes = new TextEncoder().encode(text);
  const room = trotixTest.game._trotix_field_file_room(nameBytes.length, bytes.length);
  trotixTest.game.HEAPU8.set(nameBytes, room);
  trotixTest.game.HEAPU8.set(bytes, room + nameBytes.length);
  const taken = trotixTest.game._trotix_open_field_file(nameBytes.length);
  trotixTest.game._trotix_key_up(trotixTest.facts.keys.run);
  return taken;
}

const labReady = () => window.trotixTest && trotixTest.lab;
const open = (browser, query, problems) => openPage(browser, pageUrl(site, query), problems, { ready: labReady });

runTest(async (check, problems) => {
  const browser = await openBrowser(engine);
  // ---- The same figures and the same chart as trotix-sim.
  const page = await open(browser, 'seed=123&clock=scripted', problems);
  check(await page.evaluate(raceWithFile, 'horsedat.txt', goodHorses) === 1, 'the horse file was taken');
  await page.click('#lab-open');
  check(await page.$eval('#lab', (panel) => !panel.hidden), 'Chances opens the panel');
  const named = await page.$eval('#lab-field', (p) => p.textContent);
  check(named.includes('race card') && named.includes('from the horse file') && named.includes('racing now'),
        `the panel names the race card, the horse file's field racing now: ${named}`);
  const result = await page.evaluate((s, n) => trotixTest.lab.run({ seed: s, races: n, workers: 2 }), seed, races);
  const lab = JSON.parse(result.json);
  check(result.workers === 2, 'two workers ran');
  check(lab.seed_text === String(seed) && lab.seed === seed && lab.races === races, 'the seed and the races');
  for (const key of ['horses', 'quinella', 'winner_seconds']) {
    const same = JSON.stringify(lab[key]) === JSON.stringify(native[key]);
    check(same, `the page's ${key} are trotix-sim's:\n${JSON.stringify(lab[key])}\nagainst\n${JSON.stringify(native[key])}`);
  }
  const wins = lab.horses.reduce((sum, horse) => sum + horse.hits, 0);
  const pairs = lab.quinella.reduce((sum, pair) => sum + pair.hits, 0);
  check(wins === races && pairs === races, `every race counted once: ${wins} wins and ${pairs} pairs`);
  check(result.svg === nativeSvg, 'the page\'s chart is byte for byte trotix-sim --svg\'s');

  // The chart as an XML parser reads it: one mark a horse on its interval,
  // the fifteen pairs, and the game's glyphs; shown in the panel as drawn.
  const chart = await page.evaluate((svg) => {
    const document = new DOMParser().parseFromString(svg, 'image/svg+xml');
    const horses = [...document.querySelectorAll('g.horse')];
    return {
      errors: document.getElementsByTagName('parsererror').length,
      root: document.documentElement.localName,
      horses: horses.map((g) => [g.getAttribute('data-number'), g.querySelectorAll('.true').length,
                                 g.querySelectorAll('.interval').length, g.querySelectorAll('.implied').length]),
      pairs: document.querySelectorAll('g.pair').length,
      text: document.documentElement.textContent,
    };
  }, nativeSvg);
  check(chart.errors === 0 && chart.root === 'svg', 'trotix-sim --svg is well-formed SVG');
  check(JSON.stringify(chart.horses) === JSON.stringify([1, 2, 3, 4, 5, 6].map((n) => [String(n), 1, 1, 1])),
        `one mark, one interval and one implied bar a horse: ${JSON.stringify(chart.horses)}`);
  check(chart.pairs === 15, `fifteen quinella pairs: ${chart.pairs}`);
  check(chart.text.includes('【4】追 x3.8') && chart.text.includes('馬連'), 'the chart speaks the game\'s terms');
  const shown = await page.evaluate(() => ({
    figures: !document.getElementById('lab-figures').hidden,
    svg: document.querySelectorAll('#lab-chart svg g.horse').length,
    horseRows: document.querySelectorAll('#lab-horses tbody th[scope=row]').length,
    pairRows: document.querySelectorAll('#lab-pairs tbody th[scope=row]').length,
    headers: [...document.querySelectorAll('#lab-horses thead th[scope=col]')].map((th) => th.textContent),
    runLine: document.getElementById('lab-run-line').textContent,
  }));
  check(shown.figures && shown.svg === 6, 'the panel shows the chart');
  check(shown.horseRows === 6 && shown.pairRows === 15, 'the tables hold every horse and pair');
  check(['Odds', 'Implied', 'Win', '95% interval', 'Fair', 'Return'].every((h) => shown.headers.includes(h)),
        `the table's columns: ${shown.headers}`);
  check(shown.runLine.includes(`seed ${seed}`), `the seed is shown: ${shown.runLine}`);
  // On a phone the tables fold their columns: nothing scrolls sideways.
  await page.setViewport({ width: 360, height: 640 });
  const sideways = await page.evaluate(() => {
    const lab = document.getElementById('lab');
    // The chart shown is the narrow one, its smallest text in CSS px as drawn.
    const shownCharts = ['lab-chart', 'lab-chart-narrow'].filter((id) => document.getElementById(id).getClientRects().length > 0);
    const texts = [...document.querySelectorAll('#lab-chart-narrow svg text')];
    const smallest = Math.min(...texts.map((t) => parseFloat(getComputedStyle(t).fontSize) * t.getScreenCTM().a));
    return { lab: lab.scrollWidth - lab.clientWidth, page: document.documentElement.scrollWidth - innerWidth,
             shownCharts, texts: texts.length, smallest };
  });
  check(sideways.lab <= 0 && sideways.page <= 0, `at 360 x 640 the lab scrolls sideways: ${JSON.stringify(sideways)}`);
  check(sideways.shownCharts.join() === 'lab-chart-narrow' && sideways.texts > 0 && sideways.smallest >= 12,
        `at 360 x 640 the narrow chart shows, its smallest text at least 12 px: ${JSON.stringify(sideways)}`);
  await page.setViewport({ width: 800, height: 600 });

  // ---- The panel's own Run, on every worker, with the seed given: the same
  // races again, as trotix-sim runs them.
  await page.select('#lab-races', '10000');
  await page.$eval('#lab-seed', (input, s) => { input.value = String(s); }, seed);
  // The status line speaks at the start and the end, and between them at most every 10 s.
  await page.evaluate(() => {
    window.told = [];
    new MutationObserver(() => window.told.push([performance.now(), document.getElementById('lab-status').textContent]))
      .observe(document.getElementById('lab-status'), { childList: true, characterData: true, subtree: true });
  });
  await page.click('#lab-run');
  await page.waitForFunction(() => document.getElementById('lab-status').textContent.startsWith('Done'),
                             { timeout: 60000 });
  const told = await page.evaluate(() => window.told);
  const between = told.slice(1, -1);
  check(told[0][1].startsWith('Running') && told.at(-1)[1].startsWith('Done') &&
        between.every(([at], i) => at - told[i][0] >= 10000), `the lab's status said ${JSON.stringify(told)}`);
  const again = await page.evaluate(() => [...document.querySelectorAll('#lab-horses tbody tr')].map((row) =>
    [row.cells[0].textContent, row.cells[6].textContent]));
  const native10k = JSON.parse(execFileSync(trotixSim, ['--json', '--seed', String(seed), '--races', '10000', goodFile],
                                            { encoding: 'utf8' }));
  check(JSON.stringify(again) === JSON.stringify(native10k.horses.map((h) => [String(h.number), `${(h.share * 100).toFixed(2)}%`])),
        `the panel's run at the given seed is trotix-sim's: ${JSON.stringify(again)}`);

  // ---- Cancel stops at once, and nothing of a cut-short run stands as
  // figures. Run and Cancel, pressed from the keyboard, keep the focus, and
  // Escape closes the panel from wherever the focus is in it.
  const focused = () => page.evaluate(() => document.activeElement.id);
  await page.select('#lab-races', '1000000');
  await page.$eval('#lab-seed', (input) => { input.value = ''; });
  await page.focus('#lab-run');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('lab-progress').value > 0, { timeout: 30000 });
  check(await page.$eval('#lab-figures', (f) => f.hidden), 'a running run shows no figures');
  check(await focused() === 'lab-run', `Run kept the focus, not ${await focused()}`);
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  const cancelled = await page.evaluate(async () => {
    const at = document.getElementById('lab-progress').value;
    await new Promise((done) => setTimeout(done, 1500));
    return { at, later: document.getElementById('lab-progress').value, hidden: document.getElementById('lab-figures').hidden,
             status: document.getElementById('lab-status').textContent,
             run: document.getElementById('lab-run').getAttribute('aria-disabled') === 'false' };
  });
  check(cancelled.at === cancelled.later && cancelled.at < 1000000, `no race counted after Cancel: ${JSON.stringify(cancelled)}`);
  check(cancelled.hidden && cancelled.status.startsWith('Cancelled') && cancelled.run, `cancelled, no figures: ${cancelled.status}`);
  check(await focused() === 'lab-cancel', `Cancel kept the focus, not ${await focused()}`);
  await page.keyboard.press('Escape');
  check(await page.$eval('#lab', (panel) => panel.hidden) && await focused() === 'lab-open',
        `Escape on Cancel closed the panel, the focus back on Chances: ${await focused()}`);
  await page.close();

  // ---- A refused horse file: the random field, and the panel says why.
  const refused = await open(browser, 'seed=5&clock=scripted', problems);
  await chooseFile(refused, writeIn(scratch, 'bad horses.txt', badHorses));
  await refused.click('#lab-open');
  const field = await refused.$eval('#lab-field', (p) => p.textContent);
  check(field.includes('drawn at random') && field.includes('refused') && field.includes('bad horses.txt, line 2'),
        `the panel says the file was refused and the field is random: ${field}`);
  check(await refused.$eval('#lab-field bdi', (bdi) => bdi.textContent).catch(() => null) === 'bad horses.txt',
        "the panel's field line does not isolate the refused file's name");
  // The workers are kept from run to run: the second run makes none. A kept
  // worker that fails half a second into a run cuts it short: the figures
  // of the run before are taken down and none are put up.
  const cut = await refused.evaluate(async () => {
    const RealWorker = window.Worker;
    let made = 0;
    window.Worker = class extends RealWorker { constructor(url) { super(url); made += 1; } };
    await trotixTest.lab.run({ seed: 1, races: 2048, workers: 2 });
    const first = made;
    await trotixTest.lab.run({ seed: 1, races: 2048, workers: 2 });
    window.Worker = RealWorker;
    const before = !document.getElementById('lab-figures').hidden;
    const post = RealWorker.prototype.postMessage;
    RealWorker.prototype.postMessage = function (...order) {
      RealWorker.prototype.postMessage = post;
      setTimeout(() => this.onerror && this.onerror(new ErrorEvent('error', { message: 'planted' })), 500);
      return post.apply(this, order);
    };
    document.getElementById('lab-races').value = '100000';
    document.getElementById('lab-run').click();
    const status = document.getElementById('lab-status');
    while (!status.textContent.startsWith('The run stopped short')) await new Promise((done) => setTimeout(done, 50));
    return { made: [first, made], before, status: status.textContent, hidden: document.getElementById('lab-figures').hidden };
  });
  check(cut.made.join() === '2,2', `Workers made by the first run and by two runs: ${cut.made}`);
  check(cut.before && cut.hidden && cut.status.includes('planted') && cut.status.endsWith('no figures.'), `a cut-short run: ${cut.status}`);
  // A Worker that cannot be made stops that run, and the next one runs.
  const thrown = await refused.evaluate(async () => {
    const RealWorker = window.Worker;
    window.Worker = class { constructor() { throw new DOMException('planted', 'SecurityError'); } };
    const giveUp = (run) => Promise.race([run.then(() => 'ran', (error) => error.message),
                                          new Promise((done) => setTimeout(done, 10000, 'still running'))]);
    const first = await giveUp(trotixTest.lab.run({ seed: 1, races: 2048, workers: 2 }));
    window.Worker = RealWorker;
    return [first, await giveUp(trotixTest.lab.run({ seed: 1, races: 2048, workers: 2 }))];
  });
  check(thrown[0].includes('planted') && thrown[1] === 'ran', `a Worker that threw, then a run: ${thrown}`);
  // The random card is the field the next Run races: F5 during a run races
  // it, and the figures stand; the board brings the next card, and the open
  // panel measures it at once with its own settings, saying so once.
  await refused.select('#lab-races', '10000');
  await refused.$eval('#lab-seed', (input) => { input.value = '77'; });
  const card = await refused.evaluate(async () => {
    const read = () => {
      const at = trotixTest.game._trotix_card_field() / 8;
      return Array.from(trotixTest.game.HEAPF64.subarray(at, at + trotixTest.facts.fieldValues));
    };
    const before = read();
    const run = trotixTest.lab.run({ seed: 1, races: 2048, workers: 2 });
    trotixTest.game._trotix_key_up(trotixTest.facts.keys.run);
    const racing = read();
    await run;
    const line = (id) => document.getElementById(id).textContent;
    const during = { runLine: line('lab-run-line'), field: line('lab-field') };
    const told = [];
    new MutationObserver(() => told.push(line('lab-status'))).observe(document.getElementById('lab-status'),
                                                                       { childList: true, characterData: true, subtree: true });
    while (trotixTest.state().timerOn) trotixTest.advance(200);
    const next = read();
    const until = performance.now() + 60000;
    while (!line('lab-status').startsWith('Done') && performance.now() < until) await new Promise((done) => setTimeout(done, 50));
    return { before, racing, during, told, after: line('lab-run-line'), shown: !document.getElementById('lab-figures').hidden,
             next, now: read(), field: line('lab-field') };
  });
  check(card.before[1] === 0 && card.racing[1] === 1 && String(card.before.slice(2)) === String(card.racing.slice(2)),
        `the card before Run is the field that races: ${card.before} against ${card.racing}`);
  check(!card.during.runLine.includes('earlier card') && card.during.field.includes('racing now'),
        `F5 during a run races the card measured: ${JSON.stringify(card.during)}`);
  check(String(card.next.slice(2)) !== String(card.racing.slice(2)) && String(card.now) === String(card.next) &&
        card.field.includes('the field the next Run races'), `the board brought the next card: ${card.next}; the field line ${card.field}`);
  check(card.told.filter((said) => said.startsWith('The board brought a new race card: running 10,000 races')).length === 1 &&
        card.told.at(-1).startsWith('Done: 10,000 races'), `after the board, the status said ${JSON.stringify(card.told)}`);
  check(card.shown && !card.after.includes('earlier card') && card.after.startsWith('10,000 races of') && card.after.includes('seed 77 '),
        `after the board, the figures are the new card's: ${card.after}`);
  await refused.close();

  // ---- A host whose policy forbids workers from blob: URLs: the lab says so.
  const forbidding = await openPage(browser, pageUrl(siteUnderPolicy(site, "worker-src 'none'"), 'seed=5&clock=scripted'), [],
                                    { ready: labReady });
  const why = await forbidding.evaluate(() => trotixTest.lab.run({ seed: 1, races: 2048, workers: 2 }).then(() => 'ran', (error) => error.message));
  check(why.includes("Content-Security-Policy (worker-src) refuses blob: URLs"), `blob workers forbidden, the lab says ${why}`);
  await forbidding.close();

  // ---- The game keeps ticking on the real clock while the lab runs.
  const playing = await open(browser, 'seed=9&test', problems);
  const ticks = await playing.evaluate(async () => {
    trotixTest.game._trotix_key_up(trotixTest.facts.keys.run);
    const before = trotixTest.game._trotix_ticks();
    const run = trotixTest.lab.run({ seed: 1, races: 4096, workers: 2 });
    await new Promise((done) => setTimeout(done, 1000));
    const during = trotixTest.game._trotix_ticks() - before;
    await run;
    return during;
  });
  check(ticks >= 2, `the race ticked ${ticks} times in the lab's first second`);
  await playing.close();
  return `${engine}: the page's lab: ${races} races on two workers equal trotix-sim's, chart byte for byte; cancel, refusal, ticks`;
});
