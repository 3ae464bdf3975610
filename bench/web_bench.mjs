// The page's figures in headless chromium (bench/web_bench.sh runs this).
//
//   node web_bench.mjs load PAGE BLANK LOADS   first drawn frame, page and blank page
//   node web_bench.mjs wasm RACE_TIMING_JS     bench/web_race_timing.cpp in WebAssembly
import { pathToFileURL } from 'node:url';
import { launchBrowser, watchForErrors } from '../web/tests/browser.mjs';

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

async function load(chromium, [pagePath, blankPath, loadsText]) {
  const loads = Number(loadsText || 15);
  const problems = [];
  const game = [];
  const blank = [];
  // One warm-up load of each, then alternately, so both see the same machine.
  await firstFrame(chromium.browser, pathToFileURL(pagePath).href, problems);
  await firstFrame(chromium.browser, pathToFileURL(blankPath).href, problems);
  for (let i = 0; i < loads; ++i) {
    game.push(await firstFrame(chromium.browser, pathToFileURL(pagePath).href, problems));
    blank.push(await firstFrame(chromium.browser, pathToFileURL(blankPath).href, problems));
  }
  if (problems.length > 0) throw new Error(problems.join('\n'));
  console.log(`load to first drawn frame, median of ${loads} (min–max): ` +
              `page ${median(game).toFixed(1)} ms (${range(game)}), blank page ${median(blank).toFixed(1)} ms ` +
              `(${range(blank)}), page − blank ${(median(game) - median(blank)).toFixed(1)} ms (goal: page at most 300 ms)`);
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

const [command, ...rest] = process.argv.slice(2);
const chromium = await launchBrowser('chromium');
try {
  await ({ load, wasm })[command](chromium, rest);
} finally {
  await chromium.close();
}
