// The page's own controls as players meet them: by touch on a phone, by the
// keyboard alone, through a screen reader (axe-core finds nothing serious,
// the distance and the board have text forms), with horse files chosen,
// dropped and refused at awkward moments, at phone and desktop sizes and
// device pixel ratios (the controls never cover the window, every window
// pixel is a whole square of device pixels), and when the page cannot run.
//
//   node controls_test.mjs SITE_FOLDER [ENGINE]
import { copyFileSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium, watchForErrors } from './browser.mjs';

const [site, engine = 'chromium'] = process.argv.slice(2);
const failures = [];
const problems = [];
const check = (ok, what) => { if (!ok) failures.push(what); };
const scratch = mkdtempSync(path.join(tmpdir(), 'trotix-controls-test-'));
const axePath = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const index = (folder = site) => pathToFileURL(path.join(folder, 'index.html')).href;
const scripted = '?seed=123&clock=scripted';

const file = (name, text) => { writeFileSync(path.join(scratch, name), text); return path.join(scratch, name); };
const goodFile = file('horsedat.txt', '80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n');
const goodLine = '【1】Sp:080  St:060  先';
const reversingName = '\u202Etxt.exe';
const badFile = file(reversingName, '80\t60\t2\n');
const folder = path.join(scratch, 'horses');
mkdirSync(folder);

async function launch(name) {
  if (name !== 'chromium') throw new Error(`no launcher for ${name} yet`);
  return launchChromium();
}

async function open(browser, viewport, query = scripted, url = index()) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.goto(url + query);
  await page.waitForFunction(() => window.trotixTest !== undefined || !document.getElementById('panel').hidden, { timeout: 20000 });
  return page;
}
const state = (page) => page.evaluate(() => window.trotixTest.state());
const advance = (page, ms) => page.evaluate((t) => window.trotixTest.advance(t), ms);
const runToBoard = (page) => page.evaluate(() => { while (window.trotixTest.advance(200).timerOn); });
const text = (page, id) => page.$eval(`#${id}`, (element) => (element.hidden ? null : element.textContent));
const listing = async (page) => {
  const seen = await page.evaluate(() => document.getElementById('listing').open && document.getElementById('listing-text').textContent);
  await page.keyboard.press('Escape');
  return seen;
};
const choose = async (page, chosen) => {
  await (await page.$('#field-file')).uploadFile(chosen);
  await page.waitForFunction((name) => [document.getElementById('field-file-name'), document.getElementById('field-file-notice-text')]
    .some((element) => element.textContent.startsWith(name)), {}, path.basename(chosen));
};

// At a phone's size, by touch: Field lists the field, Run starts a race, Help opens.
async function checkTouch(browser) {
  const page = await open(browser, { width: 360, height: 640, hasTouch: true, isMobile: true });
  watchForErrors(page, problems);
  await page.tap('#field');
  check(await page.$eval('#listing', (box) => box.open), 'a tap on Field did not list the field');
  await page.tap('#listing button');
  await page.tap('#run');
  check((await state(page)).timerOn, 'a tap on Run did not start a race');
  await page.tap('#help-button');
  check(await page.$eval('#help', (box) => box.open), 'a tap on Help did not open the help');
  await page.close();
}

// Tab reaches the controls in order with a visible ring; Enter and Space
// press them; F5, F7, "?" and F1 act wherever the focus is; Ctrl+F5 and
// Ctrl+R are left to the browser.
async function checkKeyboard(browser) {
  const page = await open(browser, { width: 800, height: 700 });
  watchForErrors(page, problems);
  const order = [];
  for (let i = 0; i < 4; ++i) {
    await page.keyboard.press('Tab');
    order.push(await page.evaluate(() => {
      const style = getComputedStyle(document.activeElement);
      return `${document.activeElement.id}${style.outlineStyle === 'solid' && parseFloat(style.outlineWidth) >= 2 ? '' : ' (no ring)'}`;
    }));
  }
  check(order.join() === 'run,field,choose-file,help-button', `Tab went ${order.join(', ')}`);
  const focusPress = async (id, key) => { await page.focus(`#${id}`); await page.keyboard.press(key); };
  await focusPress('field', ' ');
  check(await listing(page), 'Space on Field did not list the field');
  await focusPress('run', 'Enter');
  check((await state(page)).timerOn, 'Enter on Run did not start a race');
  await runToBoard(page);
  await focusPress('help-button', 'F7');
  check(await listing(page), 'F7 with the focus on Help did not list the field');
  await focusPress('choose-file', 'F5');
  check((await state(page)).timerOn, 'F5 with the focus on Horse file did not start a race');
  for (const key of ['?', 'F1']) {
    await page.keyboard.press(key);
    check(await page.$eval('#help', (box) => box.open), `${key} did not open the help`);
    await page.keyboard.press('Escape');
  }
  for (const key of ['F5', 'r']) {
    await page.evaluate(() => addEventListener('keydown', (event) => {
      if (event.ctrlKey) sessionStorage.setItem('ctrlKey', `${event.key} ${event.defaultPrevented}`);
    }));
    await page.keyboard.down('Control');
    await page.keyboard.press(key);
    await page.keyboard.up('Control');
    const seen = await page.evaluate(() => sessionStorage.getItem('ctrlKey')).catch(() => null);
    check(seen === `${key} false`, `Ctrl+${key} was kept from the browser (${seen})`);
    await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
  }
  await page.close();
}

// axe-core on the start, mid-race, the board and the help; the distance
// and the board in words.
async function checkScreenReader(browser) {
  const page = await open(browser, { width: 800, height: 700 });
  watchForErrors(page, problems);
  await page.addScriptTag({ path: axePath });
  const audit = async (when) => {
    const found = await page.evaluate(async () => (await window.axe.run(document)).violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical').map((v) => `${v.id} at ${v.nodes.map((n) => n.target).join(' ')}`));
    check(found.length === 0, `axe-core ${when}: ${found.join('; ')}`);
  };
  await audit('on the start screen');
  await page.click('#run');
  await page.evaluate(() => { for (let i = 0; i < 300; ++i) window.trotixTest.advance(200); });
  const bar = await page.evaluate(() => ({ now: document.getElementById('distance').getAttribute('aria-valuenow'),
                                           disabled: document.getElementById('run').getAttribute('aria-disabled') }));
  check(Number(bar.now) > 0 && Number(bar.now) < 2000 && bar.disabled === 'true',
        `mid-race the progress bar reads ${bar.now} and Run is aria-disabled=${bar.disabled}`);
  check(await text(page, 'board-text') === '', 'the live region speaks before the board');
  await audit('mid-race');
  await runToBoard(page);
  const lines = (await text(page, 'board-text')).split('\n');
  const places = lines.slice(0, 6).map((line, i) => line.startsWith(`${i + 1}着【`) && / x\d+\.\d$/.test(line));
  check(lines.length === 7 && places.every(Boolean) && /^馬連: \d-\d {2}x\d+\.\d$/.test(lines[6]),
        `the live region reads ${JSON.stringify(lines)}`);
  await audit('on the board');
  await page.keyboard.press('?');
  await audit('with the help open');
  await page.close();
}

// A file chosen between races is set up at once; during a race it waits for
// the next Run and says so; a refusal can be dismissed and isolates the
// name; a file dropped on the open listing is taken when it closes; a
// folder is refused in the reader's words.
async function checkHorseFiles(browser) {
  const page = await open(browser, { width: 800, height: 700 });
  watchForErrors(page, problems);
  await choose(page, goodFile);
  await page.keyboard.press('F7');
  check((await listing(page)).startsWith(goodLine), 'a good file chosen before a race did not set up its field at once');
  await page.click('#forget-file');
  await page.keyboard.press('F5');
  await advance(page, 2000);
  await choose(page, goodFile);
  check(await text(page, 'field-file-when') === ' (from the next race)', 'a file chosen mid-race does not say it waits');
  await runToBoard(page);
  await page.keyboard.press('F7');
  check(!(await listing(page)).startsWith(goodLine), "the race under way took the file's field");
  await page.keyboard.press('F5');
  await page.keyboard.press('F7');
  check((await listing(page)).startsWith(goodLine) && await text(page, 'field-file-when') === '',
        "the next Run did not race the file's field, or the corner still says it waits");

  await choose(page, badFile);
  const isolated = await page.$eval('#field-file-notice-text bdi', (bdi) => bdi.textContent).catch(() => null);
  check(isolated === reversingName, `a refused name is shown isolated as ${JSON.stringify(isolated)}`);
  await page.click('#dismiss-notice');
  check(await text(page, 'field-file-notice') === null, 'Dismiss left the refusal on screen');

  await runToBoard(page);
  await page.keyboard.press('F7');
  await page.evaluate((content) => {
    const dropped = new DataTransfer();
    dropped.items.add(new File([content], 'dropped.txt'));
    dispatchEvent(new DragEvent('drop', { dataTransfer: dropped, cancelable: true }));
  }, '80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n');
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => document.getElementById('field-file-name').textContent === 'dropped.txt', { timeout: 5000 })
    .catch(() => failures.push('a file dropped on the open listing was not taken when it closed'));

  await choose(page, folder);
  check(await text(page, 'field-file-notice-text') === 'horses cannot be read (a folder); the field is made up at random',
        `a folder shows ${JSON.stringify(await text(page, 'field-file-notice-text'))}`);
  await page.close();
}

// At phone and desktop sizes and device pixel ratios, with a long refusal
// and a file name showing: every control at least 44 x 44 px and none over
// the window; the window on whole device pixels, each window pixel a whole
// square of them on the screen.
async function checkLayout(browser) {
  const sizes = [[360, 640, 1], [360, 640, 3], [390, 844, 3], [844, 390, 2], [768, 1024, 2], [700, 500, 1], [480, 400, 1],
                 [700, 500, 2], [1920, 1080, 1], [1366, 768, 1.5]];
  const page = await open(browser, { width: 800, height: 700 });
  await choose(page, goodFile);
  await page.evaluate(() => window.trotixControls.showNotice('a long refusal line '.repeat(20), ''));
  for (const [width, height, deviceScaleFactor] of sizes) {
    await page.setViewport({ width, height, deviceScaleFactor });
    // Headless chromium tells the page of a new ratio with its next frame.
    await page.screenshot({ captureBeyondViewport: false });
    await page.waitForFunction(() => window.trotixLayout.ratio() === devicePixelRatio, { timeout: 5000 })
      .catch(() => failures.push(`at ratio ${deviceScaleFactor} the window was not laid out again`));
    const seen = await page.evaluate(() => {
      const game = document.getElementById('window').getBoundingClientRect();
      const ratio = devicePixelRatio;
      const over = (r) => r.left < game.right && game.left < r.right && r.top < game.bottom && game.top < r.bottom;
      const shown = [...document.querySelectorAll('#panel button, #panel p')].filter((e) => e.getClientRects().length > 0);
      return { scale: game.width * ratio / 187, corner: [game.left * ratio, game.top * ratio],
               covering: shown.filter((e) => over(e.getBoundingClientRect())).map((e) => e.id || e.textContent.slice(0, 20)),
               small: shown.filter((e) => e.tagName === 'BUTTON').map((e) => e.getBoundingClientRect())
                 .filter((r) => r.width < 44 || r.height < 44).length };
    });
    const at = `at ${width} x ${height} (ratio ${deviceScaleFactor})`;
    check([seen.scale, ...seen.corner].every((v) => Math.abs(v - Math.round(v)) < 0.05),
          `${at} the window is ${seen.scale} device pixels a pixel, its corner at ${seen.corner}`);
    check(seen.covering.length === 0, `${at} ${seen.covering.join(', ')} cover the window`);
    check(seen.small === 0, `${at} ${seen.small} buttons are smaller than 44 x 44 px`);
    if (Number.isInteger(deviceScaleFactor) && (width === 700 || deviceScaleFactor > 1)) await checkScreenPixels(page, at);
  }
  await page.close();
}

// The screen as captured against the canvas's own pixels, block by block.
async function checkScreenPixels(page, at) {
  const png = await page.screenshot({ encoding: 'base64', captureBeyondViewport: false });
  const wrong = await page.evaluate(async (data) => {
    const shot = new Image();
    shot.src = `data:image/png;base64,${data}`;
    await shot.decode();
    const board = Object.assign(document.createElement('canvas'), { width: shot.width, height: shot.height });
    board.getContext('2d').drawImage(shot, 0, 0);
    const screen = board.getContext('2d').getImageData(0, 0, shot.width, shot.height).data;
    const game = document.getElementById('window');
    const own = game.getContext('2d').getImageData(0, 0, game.width, game.height).data;
    const box = game.getBoundingClientRect();
    const scale = Math.round(box.width * devicePixelRatio / game.width);
    const left = Math.round(box.left * devicePixelRatio), top = Math.round(box.top * devicePixelRatio);
    for (let y = 0; y < game.height * scale; ++y) {
      for (let x = 0; x < game.width * scale; ++x) {
        const s = ((top + y) * shot.width + left + x) * 4, o = (Math.floor(y / scale) * game.width + Math.floor(x / scale)) * 4;
        if (screen[s] !== own[o] || screen[s + 1] !== own[o + 1] || screen[s + 2] !== own[o + 2]) return `device pixel (${x}, ${y}) ${[...screen.slice(s, s+4)]} vs ${[...own.slice(o,o+4)]} at ${left},${top}; row ${[...Array(30).keys()].map(i => screen[s + (i - 10) * 4])}`;
      }
    }
    return null;
  }, png);
  check(wrong === null, `${at} the screen differs from the window's pixels first at ${wrong}`);
}

// A page that cannot run says so in one visible line; one that loads shows
// a sign of it; the test hook shows that it is on.
async function checkTrouble(browser) {
  const trouble = async (page) => page.$eval('#trouble', (line) => (line.hidden ? '' : line.textContent));
  let page = await browser.newPage();
  await page.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  await page.goto(index());
  check((await trouble(page)).includes('WebAssembly'), `without WebAssembly the page says ${JSON.stringify(await trouble(page))}`);
  await page.close();

  const broken = path.join(scratch, 'no-game');
  mkdirSync(broken);
  for (const name of ['index.html', 'layout.js', 'controls.js', 'page.js']) copyFileSync(path.join(site, name), path.join(broken, name));
  page = await browser.newPage();
  await page.goto(index(broken));
  await page.waitForFunction(() => !document.getElementById('trouble').hidden, { timeout: 5000 }).catch(() => {});
  check((await trouble(page)).includes('trotix.js'), `with the game missing the page says ${JSON.stringify(await trouble(page))}`);
  check(await page.$eval('#loading', (line) => line.hidden), 'the loading sign stays after the game failed to load');
  await page.close();

  page = await browser.newPage();
  await page.setJavaScriptEnabled(false);
  await page.goto(index());
  const noscript = await page.$eval('noscript p', (line) => line.getClientRects().length > 0).catch(() => false);
  check(noscript, 'without JavaScript the page shows no line saying so');
  await page.close();

  for (const [query, shown] of [[scripted, true], ['?seed=1', false]]) {
    page = await browser.newPage();
    await page.evaluateOnNewDocument(() => addEventListener('DOMContentLoaded', () => {
      window.loadingShown = document.getElementById('loading').getClientRects().length > 0;
    }));
    await page.goto(index() + query);
    await page.waitForFunction(() => !document.getElementById('panel').hidden, { timeout: 20000 });
    check(await page.evaluate(() => window.loadingShown), 'no sign of loading shows while the game loads');
    check(await page.$eval('#test-mode', (line) => !line.hidden) === shown, `the test-mode line is ${shown ? 'missing' : 'shown'} at ${query}`);
    await page.close();
  }
}

async function main() {
  const browser = await launch(engine);
  try {
    for (const part of [checkTouch, checkKeyboard, checkScreenReader, checkHorseFiles, checkLayout, checkTrouble]) {
      await part(browser.browser);
    }
  } finally {
    await browser.close();
    rmSync(scratch, { recursive: true, force: true });
  }
  failures.push(...problems);
  if (failures.length > 0) {
    console.error(failures.join('\n'));
    process.exit(1);
  }
  console.log(`${engine}: the controls answered touch, keys and files, axe-core found nothing serious, the window stayed uncovered`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
