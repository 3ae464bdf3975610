// The browser test: the built page, opened from file:// in headless
// chromium with the test hook (?seed=123&clock=scripted), plays one whole
// race. Every frame the canvas shows is held against the frames that
// web_frame_dump makes natively from the same front end for the same seed
// and clock: by hash for every frame, byte for byte for the first ones, the
// first of each phase and the board. F5 must start the race without
// reloading the page, a late tick must run once, the window must sit centred
// at the largest whole scale, the same page must play from a plain static
// server, and the console must stay clean.
//
//   node page_test.mjs SITE_FOLDER WEB_FRAME_DUMP
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium, watchForErrors } from './browser.mjs';

const [site, frameDump] = process.argv.slice(2);
const seed = 123;
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

function nativeFrames() {
  const folder = mkdtempSync(path.join(tmpdir(), 'trotix-frames-'));
  try {
    execFileSync(frameDump, [String(seed), folder], { stdio: 'inherit' });
    const frames = readFileSync(path.join(folder, 'index.txt'), 'utf8').trim().split('\n').map((line) => {
      const [frame, ticks, phase, run, hash, full] = line.split(' ');
      const file = path.join(folder, `frame-${frame.padStart(4, '0')}.rgba`);
      return { frame: Number(frame), ticks: Number(ticks), phase: Number(phase), runEnabled: run === '1', hash,
               bytes: full === '1' ? readFileSync(file) : null };
    });
    return frames;
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// In the page: the canvas's pixels as the player sees them, hashed the way
// web_frame_dump hashes its frames (FNV-1a, 32 bits), and in full on demand.
function installFrameReader() {
  const canvas = document.getElementById('window');
  const context = canvas.getContext('2d');
  window.readFrame = (full) => {
    const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
    let hash = 2166136261;
    for (let i = 0; i < data.length; ++i) hash = Math.imul(hash ^ data[i], 16777619) >>> 0;
    let bytes = null;
    if (full) {
      let text = '';
      for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
      bytes = btoa(text);
    }
    return { hash: hash.toString(16).padStart(8, '0'), bytes };
  };
  window.stepFrames = (count, full) => {
    const frames = [];
    for (let i = 0; i < count; ++i) {
      const state = window.trotixTest.advance(200);
      frames.push({ ...state, ...window.readFrame(full.includes(frames.length)) });
      if (!state.timerOn) break;
    }
    return frames;
  };
}

async function pageFrame(page, expected) {
  return { ...(await page.evaluate(() => window.trotixTest.state())),
           ...(await page.evaluate((full) => window.readFrame(full), expected.bytes !== null)) };
}

function compareFrame(seen, expected) {
  const name = `frame ${expected.frame} (tick ${expected.ticks}, phase ${expected.phase})`;
  for (const key of ['ticks', 'phase', 'runEnabled']) {
    check(seen[key] === expected[key], `${name}: ${key} is ${seen[key]}, natively ${expected[key]}`);
  }
  check(seen.hash === expected.hash, `${name}: canvas hash ${seen.hash}, natively ${expected.hash}`);
  if (expected.bytes === null) return;
  const bytes = Buffer.from(seen.bytes || '', 'base64');
  if (bytes.equals(expected.bytes)) return;
  let at = 0;
  while (at < bytes.length && bytes[at] === expected.bytes[at]) ++at;
  const pixel = Math.floor(at / 4);
  failures.push(`${name}: ${bytes.length} bytes against ${expected.bytes.length}; first difference at pixel ` +
                `(${pixel % 187}, ${Math.floor(pixel / 187)}): ${[...bytes.subarray(pixel * 4, pixel * 4 + 4)]} against ` +
                `${[...expected.bytes.subarray(pixel * 4, pixel * 4 + 4)]}`);
}

async function checkRace(page, expected) {
  compareFrame(await pageFrame(page, expected[0]), expected[0]);

  // F5 starts the race, and the page is not reloaded.
  await page.evaluate(() => {
    window.loadedOnce = true;
    addEventListener('keydown', (event) => { window.f5Prevented = event.defaultPrevented; });
  });
  await page.keyboard.press('F5');
  const after = await page.evaluate(() => ({ loadedOnce: window.loadedOnce === true, f5Prevented: window.f5Prevented }));
  check(after.loadedOnce, 'F5 reloaded the page');
  check(after.f5Prevented === true, "F5's default action (reload) was not prevented");
  compareFrame(await pageFrame(page, expected[1]), expected[1]);

  // The race, one tick per 200 ms of scripted time. After eight ticks F5
  // comes again and, with Run disabled, must change nothing.
  const rest = expected.slice(2);
  const full = rest.flatMap((frame, i) => (frame.bytes !== null ? [i] : []));
  const firstPart = 8;
  const seen = await page.evaluate((n, f) => window.stepFrames(n, f), firstPart, full);
  await page.keyboard.press('F5');
  const later = full.filter((i) => i >= firstPart).map((i) => i - firstPart);
  seen.push(...(await page.evaluate((n, f) => window.stepFrames(n, f), rest.length + 5, later)));
  check(seen.length === rest.length, `the page showed ${seen.length + 2} frames, natively ${expected.length}`);
  for (let i = 0; i < Math.min(seen.length, rest.length); ++i) compareFrame(seen[i], rest[i]);
  const last = seen[seen.length - 1];
  check(last.phase === 5 && !last.timerOn && last.runEnabled, 'the race did not end with the board, the timer off and Run enabled');
  const idle = await page.evaluate(() => window.trotixTest.advance(1000));
  check(idle.ticks === last.ticks, `${idle.ticks - last.ticks} ticks ran after the board`);
}

// A tick that comes late runs once, and the next comes a whole interval
// after it. The race is started by a click on the Run button this time.
async function checkLateTick(page, scale) {
  const box = await page.$eval('#window', (canvas) => { const r = canvas.getBoundingClientRect(); return { x: r.left, y: r.top }; });
  await page.mouse.click(box.x + 165.5 * scale, box.y + 137.5 * scale);  // the middle of the Run button
  const state = () => page.evaluate(() => window.trotixTest.state());
  const started = await state();
  check(started.timerOn && !started.runEnabled && started.phase === 0, 'a click on Run did not start a race');
  const steps = [[1000, 1], [199, 0], [1, 1], [200, 1]];
  let ticks = started.ticks;
  for (const [ms, more] of steps) {
    const now = await page.evaluate((t) => window.trotixTest.advance(t), ms);
    check(now.ticks === ticks + more, `advancing ${ms} ms ran ${now.ticks - ticks} ticks, not ${more}`);
    ticks = now.ticks;
  }
}

// The largest whole scale that fits, centred, with crisp pixels.
async function checkScale(page) {
  const cases = [[800, 600, 4], [500, 400, 2], [187, 150, 1], [150, 100, 1]];
  for (const [width, height, scale] of cases) {
    await page.setViewport({ width, height });
    // The page hears of the new size before the next frame is drawn.
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
    const seen = await page.$eval('#window', (canvas) => {
      const r = canvas.getBoundingClientRect();
      return { left: r.left, top: r.top, width: r.width, height: r.height, rendering: getComputedStyle(canvas).imageRendering };
    });
    const want = { width: 187 * scale, height: 150 * scale, left: (width - 187 * scale) / 2, top: (height - 150 * scale) / 2 };
    check(seen.width === want.width && seen.height === want.height && seen.left === want.left && seen.top === want.top,
          `at ${width} x ${height}: the window at ${JSON.stringify(seen)}, not ${JSON.stringify(want)}`);
    check(seen.rendering === 'pixelated', `the canvas is drawn ${seen.rendering}, not pixelated`);
  }
}

// On the real clock, F5 starts a race whose horses move within a few ticks.
async function checkRealClock(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByName('trotix-first-frame').length > 0, { timeout: 20000 });
  await page.evaluate(installFrameReader);
  await page.keyboard.press('F5');
  const started = await page.evaluate(() => window.readFrame(false).hash);
  const moved = await page.waitForFunction((hash) => window.readFrame(false).hash !== hash, { timeout: 10000, polling: 100 }, started)
    .then(() => true, () => false);
  check(moved, 'on the real clock the race did not move within 10 s of F5');
}

// The folder served as any static host would, on the loopback address only.
function serveSite() {
  const types = { '.html': 'text/html', '.js': 'text/javascript' };
  const server = createServer((request, response) => {
    const name = new URL(request.url, 'http://localhost').pathname.replace(/\/$/, '/index.html');
    const root = path.resolve(site);
    const file = path.join(root, path.normalize(name));
    if (!file.startsWith(root + path.sep) || !existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    response.end(readFileSync(file));
  });
  return new Promise((ready) => server.listen(0, '127.0.0.1', () => ready(server)));
}

// Served over HTTP, the page shows the same first frames.
async function checkServed(page, expected) {
  const server = await serveSite();
  try {
    await page.goto(`http://127.0.0.1:${server.address().port}/?seed=${seed}&clock=scripted`);
    await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
    await page.evaluate(installFrameReader);
    compareFrame(await pageFrame(page, expected[0]), expected[0]);
    await page.keyboard.press('F5');
    compareFrame(await pageFrame(page, expected[1]), expected[1]);
  } finally {
    await page.goto('about:blank');
    server.close();
  }
}

async function main() {
  const index = path.join(site, 'index.html');
  if (!existsSync(index)) throw new Error(`${index} is missing: build it with bash scripts/web.sh`);
  const expected = nativeFrames();
  const problems = [];
  const chromium = await launchChromium();
  try {
    const page = await chromium.browser.newPage();
    watchForErrors(page, problems);
    await page.setViewport({ width: 800, height: 600 });
    await page.goto(`${pathToFileURL(index)}?seed=${seed}&clock=scripted`);
    await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
    await page.evaluate(installFrameReader);
    await checkRace(page, expected);
    await checkLateTick(page, 4);
    await checkScale(page);
    await checkRealClock(page, `${pathToFileURL(index)}?seed=${seed}`);
    await checkServed(page, expected);
  } finally {
    await chromium.close();
  }
  failures.push(...problems);
  const total = expected.length;
  if (failures.length > 0) {
    console.error(failures.slice(0, 20).join('\n'));
    if (failures.length > 20) console.error(`... and ${failures.length - 20} more`);
    process.exit(1);
  }
  console.log(`the page showed all ${total} frames of the seed-${seed} race as the native build draws them`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
