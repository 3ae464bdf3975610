// The page's figures in headless chromium (bench/web_bench.sh runs this).
//
//   node web_bench.mjs load PAGE BLANK LOADS   first drawn frame, page and blank page, file:// and http
//   node web_bench.mjs wasm RACE_TIMING_JS     bench/web_race_timing.cpp in WebAssembly
//   node web_bench.mjs lab PAGE HORSEDAT RACES SEED
//                                              the page's lab on every worker, the game ticking
//   node web_bench.mjs board PAGE RACES SEED [played|instant]
//                                              from a board to the next card's figures
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchBrowser, serveFolder, watchForErrors } from '../web/tests/browser.mjs';

// Injected before any script of the page: the time of the first animation
// frame after the first putImageData, the frame that shows it, in ms from
// the start of the navigation.
function markFirstFrame() {
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    if (window.firstPut === undefined) {
      window.firstPut = performance.now();
      requestAnimationFrame(() => { window.firstFrame = performance.now(); });
    }
  };
}

async function firstFrame(browser, url, problems) {
  const page = await browser.newPage();
  watchForErrors(page, problems);
  await page.evaluateOnNewDocument(markFirstFrame);
  await page.goto(url);
  await page.waitForFunction(() => window.firstFrame !== undefined, { timeout: 20000 });
  const ms = await page.evaluate(() => window.firstFrame);
  await page.close();
  return ms;
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const range = (values) => `${Math.min(...values).toFixed(1)}–${Math.max(...values).toFixed(1)}`;

// The page and the blank page, each LOADS times alternately after a warm-up
// load of each, so both see the same machine; from `file://` and over http
// (served from the loopback address, as any static host would).
async function load(chromium, [pagePath, blankPath, loadsText]) {
  const loads = Number(loadsText || 15);
  const servers = await Promise.all([path.dirname(pagePath), path.dirname(blankPath)].map(serveFolder));
  const http = (server, file) => `http://127.0.0.1:${server.address().port}/${path.basename(file)}`;
  try {
    for (const [how, pageUrl, blankUrl] of [['file://', pathToFileURL(pagePath).href, pathToFileURL(blankPath).href],
                                            ['http', http(servers[0], pagePath), http(servers[1], blankPath)]]) {
      const problems = [];
      const game = [];
      const blank = [];
      await firstFrame(chromium.browser, pageUrl, problems);
      await firstFrame(chromium.browser, blankUrl, problems);
      for (let i = 0; i < loads; ++i) {
        game.push(await firstFrame(chromium.browser, pageUrl, problems));
        blank.push(await firstFrame(chromium.browser, blankUrl, problems));
      }
      if (problems.length > 0) throw new Error(problems.join('\n'));
      console.log(`load to first drawn frame from ${how}, median of ${loads} (min–max): ` +
                  `page ${median(game).toFixed(1)} ms (${range(game)}), blank page ${median(blank).toFixed(1)} ms ` +
                  `(${range(blank)}), page − blank ${(median(game) - median(blank)).toFixed(1)} ms (goal: page at most 300 ms)`);
    }
  } finally {
    for (const server of servers) server.close();
  }
}

async function wasm(chromium, [script]) {
  const page = await chromium.browser.newPage();
  const problems = [];
  watchForErrors(page, problems);
  const lines = [];
  page.on('console', (message) => lines.push(message.text()));
  await page.goto('about:blank');
  await page.addScriptTag({ path: script });
  await page.waitForFunction(() => true);
  const deadline = Date.now() + 120000;
  while (!lines.some((line) => line.startsWith('draw_scene')) && Date.now() < deadline) {
    await new Promise((done) => setTimeout(done, 100));
  }
  if (problems.length > 0) throw new Error(problems.join('\n'));
  for (const line of lines) console.log(line);
}

// The page's lab, RACES races of the field in HORSEDAT at SEED on as many
// workers as the browser reports, while a race runs in the window on the
// real clock: the run's time, races per second per worker, the tick
// intervals of the game meanwhile, and the win counts (for the same counts
// natively). One warm-up run of 2,048 races first.
async function lab(chromium, [pagePath, fieldPath, racesText, seedText]) {
  const page = await chromium.browser.newPage();
  const problems = [];
  watchForErrors(page, problems);
  await page.goto(`${pathToFileURL(pagePath).href}?seed=9&test`);
  await page.waitForFunction(() => window.trotixTest && trotixTest.lab, { timeout: 20000 });
  const figures = await page.evaluate(async (fieldText, races, seed) => {
    const name = new TextEncoder().encode('horsedat.txt');
    const bytes = new TextEncoder().encode(fieldText);
    const room = trotixTest.game._trotix_field_file_room(name.length, bytes.length);
    trotixTest.game.HEAPU8.set(name, room);
    trotixTest.game.HEAPU8.set(bytes, room + name.length);
    trotixTest.game._trotix_open_field_file(name.length);
    const workers = navigator.hardwareConcurrency;
    await trotixTest.lab.run({ seed, races: 2048, workers });
    // Every handler ends by presenting; a tick is a present with one tick more.
    const ticks = [];
    const present = trotixTest.page.present;
    let seen = trotixTest.game._trotix_ticks();
    trotixTest.page.present = (...args) => {
      present(...args);
      if (trotixTest.game._trotix_ticks() !== seen) ticks.push(performance.now());
      seen = trotixTest.game._trotix_ticks();
    };
    const gapsOf = (times) => times.slice(1).map((t, i) => t - times[i]);
    trotixTest.game._trotix_key_up(trotixTest.facts.keys.run);  // F5: a race in the window
    await new Promise((done) => setTimeout(done, 4000));
    const from = ticks.length;
    const start = performance.now();
    const result = await trotixTest.lab.run({ seed, races, workers });
    return { seconds: result.seconds, ready: (performance.now() - start) / 1000, workers,
             idle: gapsOf(ticks.slice(0, from)), gaps: gapsOf(ticks.slice(from - 1)),
             wins: JSON.parse(result.json).horses.map((h) => h.hits) };
  }, readFileSync(fieldPath, 'utf8'), Number(racesText), Number(seedText));
  if (problems.length > 0) throw new Error(problems.join('\n'));
  const races = Number(racesText);
  console.log(`lab ${races} races on ${figures.workers} workers: ${figures.seconds.toFixed(2)} s (goal: at most 10 s), ` +
              `${Math.round(races / figures.seconds / figures.workers)} races/s per worker; ` +
              `${figures.ready.toFixed(2)} s from the run's start to the figures`);
  const ticks = (what, gaps) => console.log(`lab ticks ${what}: ${gaps.length}, interval median ${median(gaps).toFixed(1)} ms, ` +
    `longest ${Math.max(...gaps).toFixed(1)} ms, over 250 ms: ${gaps.filter((g) => g > 250).length}`);
  ticks('in the 4 s before the run', figures.idle);
  ticks('during the run', figures.gaps);
  console.log(`lab wins ${figures.wins.join(' ')}`);
}

// In a page on the scripted clock, with the lab's panel open, RACES races
// and the seed SEED set in it and one run of 2,048 races of the random card
// done: F5, the race run to its board, and the time from the board to the
// figures of the card it brings. A page whose lab follows the card starts
// that run by itself; on one that does not, the run is started as the
// player's Run would be, right after the board. Then the card's records.
//
// The race is played out with the page idle between ticks, some 4 ms each
// where a player waits 200 ms: the workers' module is compiled in the
// background for its full speed once it has raced a little, which a race
// gives it time for. HOW "instant" runs the whole race at once instead, so
// that the run from the board starts on workers still being compiled.
async function board(chromium, [pagePath, racesText, seedText, how = 'played']) {
  const page = await chromium.browser.newPage();
  const problems = [];
  watchForErrors(page, problems);
  await page.goto(`${pathToFileURL(pagePath).href}?seed=9&clock=scripted`);
  await page.waitForFunction(() => window.trotixTest && trotixTest.lab, { timeout: 20000 });
  await page.click('#lab-open');
  await page.select('#lab-races', racesText);
  await page.$eval('#lab-seed', (input, seed) => { input.value = seed; }, seedText);
  const figures = await page.evaluate(async (races, seed, played) => {
    const status = () => document.getElementById('lab-status').textContent;
    const workers = navigator.hardwareConcurrency;
    await trotixTest.lab.run({ seed, races: 2048, workers });
    trotixTest.game._trotix_key_up(trotixTest.facts.keys.run);
    while (trotixTest.advance(200).timerOn) {
      if (played) await new Promise((done) => setTimeout(done, 0));
    }
    const atBoard = performance.now();
    const followed = status().startsWith('The board brought');
    const run = followed ? null : trotixTest.lab.run({ seed, races, workers });
    while (!status().startsWith('Done') && !status().includes('no figures')) await new Promise((done) => setTimeout(done, 5));
    const ready = (performance.now() - atBoard) / 1000;
    await run;
    const at = trotixTest.game._trotix_card_field() / 8;
    const card = Array.from(trotixTest.game.HEAPF64.subarray(at + 2, at + trotixTest.facts.fieldValues));
    return { followed, ready, status: status(), runLine: document.getElementById('lab-run-line').textContent, card };
  }, Number(racesText), Number(seedText), how !== 'instant');
  if (problems.length > 0) throw new Error(problems.join('\n'));
  console.log(`board ${figures.followed ? 'the lab followed the card' : 'Run pressed at the board'}` +
              `${how === 'instant' ? ', the race run at once' : ''}: ` +
              `${figures.ready.toFixed(2)} s from the board to the figures (${figures.status})`);
  console.log(`board card ${figures.card.join(' ')}`);
}

const [command, ...rest] = process.argv.slice(2);
const chromium = await launchBrowser('chromium');
try {
  await ({ load, wasm, lab, board })[command](chromium, rest);
} finally {
  await chromium.close();
}
