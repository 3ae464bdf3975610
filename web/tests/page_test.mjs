// The browser test: the built page, opened from file:// in a headless
// browser with the test hook (?seed=123&clock=scripted), plays one whole
// race. It is held against the plain-C++ main window that the desktop's Qt
// window drives, run natively on the same clock (shell/tools/frame_dump): at
// every step (loaded, Run, each tick) the race picture by its SHA-256 and
// the window's state (phase, Run enabled, the distance bar's value and
// colour); byte for byte at the start, a running tick, the final stretch,
// the finish stamp and the board.
// Every frame of the whole window is held against web_frame_dump, the same
// front end built natively: by hash for every frame, byte for byte for the
// first ones, the first of each phase and the board. F5 must start the race
// without reloading the page, F7 must list the field exactly in a modal box,
// a refused horse file must say why and a good one give its field, also on
// the next visit; a late tick must run once, the window must sit centred at
// the largest whole scale, the same page must play from a plain static
// server, and the console must stay clean.
//
// It runs in either browser engine the page is tested in, Chromium or Firefox.
//
//   node page_test.mjs SITE_FOLDER FRAME_DUMP WEB_FRAME_DUMP [chromium|firefox]
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { badHorses, chooseFile, gameState, goodHorses, openBrowser, openPage, pageUrl, runTest, scratchFolder, serveFolder,
         writeIn } from './browser.mjs';

const [site, frameDump, webFrameDump, engine = 'chromium'] = process.argv.slice(2);
const seed = 123;
let check;
const scratch = scratchFolder('page-test');
const goodFile = writeIn(scratch, 'horsedat.txt', goodHorses);
const badFile = writeIn(scratch, 'bad horses.txt', badHorses);

function runIn(name, program, args) {
  const folder = path.join(scratch, name);
  mkdirSync(folder);
  execFileSync(program, [...args.slice(0, 1), folder, ...args.slice(1)], { stdio: 'inherit' });
  return folder;
}

// The desktop's main window natively: its named frames (name, the ticks run
// when it was drawn, its 180 x 120 pixels) and its state and picture after
// every step.
function desktopWindow() {
  const folder = runIn('desktop', frameDump, [String(seed)]);
  const frames = readFileSync(path.join(folder, 'frames.txt'), 'utf8').trim().split('\n').map((line) => {
    const [name, ticks] = line.split(' ');
    return { name, ticks: Number(ticks), bytes: readFileSync(path.join(folder, `${name}.rgba`)) };
  });
  const pictures = readFileSync(path.join(folder, 'steps.rgba'));
  const size = 180 * 120 * 4;
  const steps = readFileSync(path.join(folder, 'steps.txt'), 'utf8').trim().split('\n').map((line, i) => {
    const [ticks, phase, run, distance, colour] = line.split(' ');
    return { ticks: Number(ticks), phase: Number(phase), runEnabled: run === '1', distance: Number(distance),
             barColour: parseInt(colour, 16),
             pictureHash: createHash('sha256').update(pictures.subarray(i * size, (i + 1) * size)).digest('hex') };
  });
  return { frames, steps };
}

// The same front end natively: every window frame, the F7 listings before
// and after the race, and with a horse file what the player is told of it.
function nativeWindow(name, fieldFile) {
  const folder = runIn(name, webFrameDump, fieldFile ? [String(seed), fieldFile] : [String(seed)]);
  const text = (file) => (existsSync(path.join(folder, file)) ? readFileSync(path.join(folder, file), 'utf8') : null);
  const frames = text('index.txt').trim().split('\n').map((line) => {
    const [frame, ticks, phase, run, hash, full] = line.split(' ');
    const file = path.join(folder, `frame-${frame.padStart(4, '0')}.rgba`);
    return { frame: Number(frame), ticks: Number(ticks), phase: Number(phase), runEnabled: run === '1', hash,
             bytes: full === '1' ? readFileSync(file) : null };
  });
  return { frames, listingLoad: text('listing-load.txt'), listingBoard: text('listing-board.txt'), notice: text('notice.txt') };
}

// In the page: the canvas's pixels as the player sees them, the whole
// window hashed the way web_frame_dump hashes its frames (FNV-1a, 32 bits)
// and in full on demand, and the race picture (picMain, at 52 x 30 twips)
// on demand.
function installFrameReader() {
  const canvas = document.getElementById('window');
  const context = canvas.getContext('2d');
  const base64 = (data) => {
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(text);
  };
  window.readFrame = (full, picture) => {
    const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
    let hash = 2166136261;
    for (let i = 0; i < data.length; ++i) hash = Math.imul(hash ^ data[i], 16777619) >>> 0;
    return { hash: hash.toString(16).padStart(8, '0'), bytes: full ? base64(data) : null,
             picture: picture ? base64(context.getImageData(3, 2, 180, 120).data) : null };
  };
  // The main window's own state, and the race picture's SHA-256.
  window.readWindow = async () => {
    const digest = await crypto.subtle.digest('SHA-256', context.getImageData(3, 2, 180, 120).data);
    const game = window.trotixTest.game;
    // The page's Field button follows the window's ListingOffered at every frame.
    const fieldFollows = (game._trotix_listing_offered() !== 0) === (document.getElementById('field').getAttribute('aria-disabled') === 'false');
    return { distance: game._trotix_distance(), barColour: game._trotix_bar_colour() >>> 0, fieldFollows,
             pictureHash: [...new Uint8Array(digest)].map((b) => b.toString(16).padStart(2, '0')).join('') };
  };
  window.stepFrames = async (count, full, pictureTicks) => {
    const frames = [];
    for (let i = 0; i < count; ++i) {
      const state = window.trotixTest.advance(200);
      frames.push({ ...state, ...window.readFrame(full.includes(frames.length), pictureTicks.includes(state.ticks)),
                    ...(await window.readWindow()) });
      if (!state.timerOn) break;
    }
    return frames;
  };
}

async function pageFrame(page, expected, picture) {
  return { ...(await gameState(page)),
           ...(await page.evaluate((full, pic) => window.readFrame(full, pic), expected.bytes !== null, picture)),
           ...(await page.evaluate(() => window.readWindow())) };
}

// Two pictures byte for byte; on a difference, where it first is.
function compareBytes(name, seenBase64, expected, width) {
  const bytes = Buffer.from(seenBase64 || '', 'base64');
  if (bytes.equals(expected)) return;
  let at = 0;
  while (at < bytes.length && bytes[at] === expected[at]) ++at;
  const pixel = Math.floor(at / 4);
  check(false, `${name}: ${bytes.length} bytes against ${expected.length}; first difference at pixel ` +
                `(${pixel % width}, ${Math.floor(pixel / width)}): ${[...bytes.subarray(pixel * 4, pixel * 4 + 4)]} ` +
                `against ${[...expected.subarray(pixel * 4, pixel * 4 + 4)]}`);
}

function compareFrame(seen, expected) {
  const name = `frame ${expected.frame} (tick ${expected.ticks}, phase ${expected.phase})`;
  for (const key of ['ticks', 'phase', 'runEnabled']) {
    check(seen[key] === expected[key], `${name}: ${key} is ${seen[key]}, natively ${expected[key]}`);
  }
  check(seen.hash === expected.hash, `${name}: canvas hash ${seen.hash}, natively ${expected.hash}`);
  if (expected.bytes !== null) compareBytes(name, seen.bytes, expected.bytes, 187);
}

// The race picture after `ticks` ticks against the desktop view's frame.
function comparePictures(seen, desktop) {
  for (const frame of desktop) {
    const at = seen.find((one) => one.ticks === frame.ticks && one.picture);
    if (at === undefined) check(false, `the page never showed the desktop's ${frame.name} frame (tick ${frame.ticks})`);
    else compareBytes(`the race picture at the ${frame.name} (tick ${frame.ticks})`, at.picture, frame.bytes, 180);
  }
}

// Every step of the page against the desktop's main window at the same step.
function compareSteps(seen, steps) {
  check(seen.length === steps.length, `the page took ${seen.length} steps, the desktop's window ${steps.length}`);
  for (let i = 0; i < Math.min(seen.length, steps.length); ++i) {
    for (const key of ['ticks', 'phase', 'runEnabled', 'distance', 'barColour', 'pictureHash']) {
      check(seen[i][key] === steps[i][key],
            `step ${i} (tick ${steps[i].ticks}): ${key} is ${seen[i][key]}, in the desktop's window ${steps[i][key]}`);
    }
    check(seen[i].fieldFollows, `step ${i} (tick ${steps[i].ticks}): Field is not enabled exactly when the window offers the listing`);
  }
}

async function checkRace(page, expected, desktop) {
  const loaded = await pageFrame(page, expected[0], false);
  compareFrame(loaded, expected[0]);

  // F5 starts the race, and the page is not reloaded.
  await page.evaluate(() => {
    window.loadedOnce = true;
    addEventListener('keydown', (event) => { window.f5Prevented = event.defaultPrevented; });
  });
  await page.keyboard.press('F5');
  const after = await page.evaluate(() => ({ loadedOnce: window.loadedOnce === true, f5Prevented: window.f5Prevented }));
  check(after.loadedOnce, 'F5 reloaded the page');
  check(after.f5Prevented === true, "F5's default action (reload) was not prevented");
  const started = await pageFrame(page, expected[1], true);
  compareFrame(started, expected[1]);

  // The race, one tick per 200 ms of scripted time. After eight ticks F5
  // comes again and, with Run disabled, must change nothing.
  const rest = expected.slice(2);
  const full = rest.flatMap((frame, i) => (frame.bytes !== null ? [i] : []));
  const pictureTicks = desktop.frames.map((frame) => frame.ticks);
  const firstPart = 8;
  const seen = await page.evaluate((n, f, p) => window.stepFrames(n, f, p), firstPart, full, pictureTicks);
  await page.keyboard.press('F5');
  const later = full.filter((i) => i >= firstPart).map((i) => i - firstPart);
  seen.push(...(await page.evaluate((n, f, p) => window.stepFrames(n, f, p), rest.length + 5, later, pictureTicks)));
  check(seen.length === rest.length, `the page showed ${seen.length + 2} frames, natively ${expected.length}`);
  comparePictures([started, ...seen], desktop.frames);
  compareSteps([loaded, started, ...seen], desktop.steps);
  for (let i = 0; i < Math.min(seen.length, rest.length); ++i) compareFrame(seen[i], rest[i]);
  const last = seen[seen.length - 1];
  check(last.phase === 5 && !last.timerOn && last.runEnabled, 'the race did not end with the board, the timer off and Run enabled');
  const idle = await page.evaluate(() => window.trotixTest.advance(1000));
  check(idle.ticks === last.ticks, `${idle.ticks - last.ticks} ticks ran after the board`);
}

// F7 opens the listing, which holds the game's lines exactly; while it is
// open neither F5 nor a click on Run starts a race; Enter closes it, and so
// does Escape.
async function openListing(page) {
  await page.keyboard.press('F7');
  return page.evaluate(() => ({ open: document.getElementById('listing').open,
                                title: document.getElementById('listing-title').textContent,
                                text: document.getElementById('listing-text').textContent }));
}

async function checkListing(page, want, scale) {
  for (const closer of ['Enter', 'Escape']) {
    const shown = await openListing(page);
    check(shown.open && shown.title === 'データ', `F7 showed ${JSON.stringify(shown)}, not the box titled データ`);
    check(shown.text === want, `the listing reads ${JSON.stringify(shown.text)}, natively ${JSON.stringify(want)}`);
    await page.keyboard.press('F5');
    const box = await page.$eval('#window', (canvas) => { const r = canvas.getBoundingClientRect(); return { x: r.left, y: r.top }; });
    await page.mouse.click(box.x + 165.5 * scale, box.y + 137.5 * scale);
    const state = await gameState(page);
    check(!state.timerOn && state.runEnabled, 'F5 or a click on Run started a race behind the open listing');
    await page.keyboard.press(closer);
    check(!(await page.evaluate(() => document.getElementById('listing').open)), `${closer} did not close the listing`);
  }
}

// A refused horse file says which line is wrong and why; a good one gives
// the next race its field, and the next visit too, until Forget.
async function checkHorseFiles(page, random, good, bad) {
  const shown = () => page.evaluate(() => ({ notice: document.getElementById('field-file-notice').hidden ? '' :
                                                       document.getElementById('field-file-notice-text').textContent,
                                             name: document.getElementById('field-file-name').textContent }));
  const choose = (file) => chooseFile(page, file).then(shown);
  const listing = async () => {
    const seen = await openListing(page);
    await page.keyboard.press('Escape');
    return seen.text;
  };
  const reload = async () => {
    await page.reload();
    await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
  };

  const refused = await choose(badFile);
  check(refused.notice === bad.notice && refused.notice.includes('bad horses.txt, line 2 '),
        `a refused file shows ${JSON.stringify(refused)}, natively ${JSON.stringify(bad.notice)}`);
  const taken = await choose(goodFile);
  check(taken.notice === '' && taken.name === 'horsedat.txt', `a good file shows ${JSON.stringify(taken)}`);
  await page.keyboard.press('F5');
  check(await listing() === good.listingLoad, "the race after a good file was chosen does not have the file's field");
  await reload();
  check(await listing() === good.listingLoad, 'the next visit forgot the good file');
  await page.click('#forget-file');
  await reload();
  const forgotten = await shown();
  check(await listing() === random.listingLoad && forgotten.name === '', 'after Forget the next visit still had the file');
}

// A tick that comes late runs once, and the next comes a whole interval
// after it. The race is started by a click on the Run button this time.
async function checkLateTick(page, scale) {
  const box = await page.$eval('#window', (canvas) => { const r = canvas.getBoundingClientRect(); return { x: r.left, y: r.top }; });
  await page.mouse.click(box.x + 165.5 * scale, box.y + 137.5 * scale);  // the middle of the Run button
  const started = await gameState(page);
  check(started.timerOn && !started.runEnabled && started.phase === 0, 'a click on Run did not start a race');
  const steps = [[1000, 1], [199, 0], [1, 1], [200, 1]];
  let ticks = started.ticks;
  for (const [ms, more] of steps) {
    const now = await page.evaluate((t) => window.trotixTest.advance(t), ms);
    check(now.ticks === ticks + more, `advancing ${ms} ms ran ${now.ticks - ticks} ticks, not ${more}`);
    ticks = now.ticks;
  }
}

// The largest whole scale that fits beside the page's controls, centred
// above them, on whole pixels, with crisp pixels, never under the controls.
async function checkScale(page) {
  const cases = [[800, 700, 4], [800, 600, 3], [500, 400, 2], [187, 150, 1], [150, 100, 1]];
  for (const [width, height, scale] of cases) {
    await page.setViewport({ width, height });
    // The page hears of the new size before the next frame is drawn.
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
    const seen = await page.$eval('#window', (canvas) => {
      const r = canvas.getBoundingClientRect();
      const panel = document.getElementById('panel').getBoundingClientRect();
      return { left: r.left, top: r.top, width: r.width, height: r.height, rendering: getComputedStyle(canvas).imageRendering,
               panelTop: panel.top };
    });
    const want = { width: 187 * scale, height: 150 * scale, left: Math.max(0, Math.floor((width - 187 * scale) / 2)) };
    check(seen.width === want.width && seen.height === want.height && seen.left === want.left && Number.isInteger(seen.top) &&
          seen.top >= 0 && seen.panelTop >= seen.top + seen.height,
          `at ${width} x ${height}: the window at ${JSON.stringify(seen)}, not ${JSON.stringify(want)} above the controls`);
    check(seen.rendering === 'pixelated', `the canvas is drawn ${seen.rendering}, not pixelated`);
  }
}

// On the real clock, F5 starts a race whose horses move within a few ticks.
async function checkRealClock(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByName('trotix-first-frame').length > 0, { timeout: 20000 });
  // Without the test hook's query the page makes no global of its own; the
  // game module's factory is trotix.js's.
  const globals = await page.evaluate(() => {
    const blank = document.body.appendChild(document.createElement('iframe'));
    const own = new Set(Object.keys(blank.contentWindow));
    blank.remove();
    return Object.keys(window).filter((name) => !own.has(name) && !/ariaQuerySelector/.test(name));  // puppeteer's own
  });
  check(JSON.stringify(globals) === '["TrotixGame"]', `the page's globals: ${globals}`);
  await page.evaluate(installFrameReader);
  await page.keyboard.press('F5');
  const started = await page.evaluate(() => window.readFrame(false).hash);
  const moved = await page.waitForFunction((hash) => window.readFrame(false).hash !== hash, { timeout: 10000, polling: 100 }, started)
    .then(() => true, () => false);
  check(moved, 'on the real clock the race did not move within 10 s of F5');
}

// Served over HTTP, the page shows the same first frames.
async function checkServed(page, expected) {
  const server = await serveFolder(site);
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

runTest(async (checked, problems) => {
  check = checked;
  const index = path.join(site, 'index.html');
  if (!existsSync(index)) throw new Error(`${index} is missing: build it with bash scripts/web.sh`);
  const desktop = desktopWindow();
  const random = nativeWindow('random');
  const good = nativeWindow('good', goodFile);
  const bad = nativeWindow('bad', badFile);
  const expected = random.frames;
  const page = await openPage(await openBrowser(engine), pageUrl(site, `seed=${seed}&clock=scripted`), problems,
                              { viewport: { width: 800, height: 700 } });
  await page.evaluate(installFrameReader);
  await checkRace(page, expected, desktop);
  await checkListing(page, random.listingBoard, 4);
  await checkHorseFiles(page, random, good, bad);
  await checkLateTick(page, 4);
  await checkScale(page);
  await checkRealClock(page, pageUrl(site, `seed=${seed}`));
  await checkServed(page, expected);
  return `${engine}: the page ran the seed-${seed} race as the desktop's main window does, all ${desktop.steps.length} steps ` +
         `(${desktop.frames.map((f) => f.name).join(', ')} byte for byte), and all ${expected.length} window frames ` +
         'as the native build of its adapter';
});
