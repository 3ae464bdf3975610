// The page's own controls as players meet them: by touch on a phone, by the
// keyboard alone, through a screen reader (axe-core finds nothing serious,
// the distance and the board have text forms), with horse files chosen,
// dropped and refused at awkward moments, at phone and desktop sizes and
// device pixel ratios (nothing covers the window, every window pixel is a
// whole square of device pixels), and when the page cannot run.
//
//   node controls_test.mjs SITE_FOLDER [chromium|firefox]
import { copyFileSync, mkdirSync, readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chooseFile, gameState, openBrowser, openPage, pageUrl, runTest, runToBoard, scratchFolder, siteUnderPolicy, writeIn } from './browser.mjs';

const [site, engine = 'chromium'] = process.argv.slice(2);
let browser, check, failures;
const scratch = scratchFolder('controls-test');
const index = (folder = site) => pathToFileURL(path.join(folder, 'index.html')).href;
const horses = '80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n';
const goodFile = writeIn(scratch, 'horsedat.txt', horses);
const goodLine = '【1】Sp:080  St:060  先';
const reversingName = '\u2069\u202Etxt.exe', badFile = writeIn(scratch, reversingName, '80\t60\t2\n');
const folder = path.join(scratch, 'horses'), broken = path.join(scratch, 'no-game');
[folder, broken].forEach((made) => mkdirSync(made));

const open = (viewport) => openPage(browser, pageUrl(site), failures, { viewport });
const timerOn = async (page) => (await gameState(page)).timerOn;
const text = (page, id) => page.$eval(`#${id}`, (element) => (element.hidden ? null : element.textContent));
const isOpen = (page, id) => page.$eval(`#${id}`, (box) => box.open);
async function listing(page) {
  const seen = await page.evaluate(() => document.getElementById('listing').open && document.getElementById('listing-text').textContent);
  await page.keyboard.press('Escape');
  return seen || '';
}

// At a phone's size, by touch: Field lists the field, Run starts a race, Help opens.
async function checkTouch() {
  const page = await open({ width: 360, height: 640, hasTouch: true, isMobile: true });
  await page.tap('#field');
  check(await isOpen(page, 'listing'), 'a tap on Field did not list the field');
  await page.tap('#listing button');
  await page.tap('#run');
  check(await timerOn(page), 'a tap on Run did not start a race');
  await page.tap('#help-button');
  check(await isOpen(page, 'help'), 'a tap on Help did not open the help');
  await page.close();
}

// Tab reaches the controls in order with a visible ring; Enter and Space
// press them; F5, F6, F7, "?" and F1 act wherever the focus is; Ctrl+F5 and
// Ctrl+R are left to the browser. The test hook says it is on.
async function checkKeyboard() {
  const page = await open({ width: 800, height: 700 });
  check(await text(page, 'test-mode') !== null, 'the page does not say that the test hook is on');
  const order = [];
  for (let i = 0; i < 6; ++i) {
    await page.keyboard.press('Tab');
    order.push(await page.evaluate(() => {
      const style = getComputedStyle(document.activeElement);
      return document.activeElement.id + (style.outlineStyle === 'solid' && parseFloat(style.outlineWidth) >= 2 ? '' : ' (no ring)');
    }));
  }
  check(order.join() === 'run,field,tickets-open,lab-open,choose-file,help-button', `Tab went ${order.join(', ')}`);
  const press = async (id, key) => { await page.focus(`#${id}`); await page.keyboard.press(key); };
  await press('field', ' ');
  check(await listing(page), 'Space on Field did not list the field');
  await press('run', 'Enter');
  check(await timerOn(page), 'Enter on Run did not start a race');
  await runToBoard(page);
  await press('help-button', 'F7');
  check(await listing(page), 'F7 with the focus on Help did not list the field');
  // F6 opens the tickets with the focus on their stake, and from there closes them.
  await press('field', 'F6');
  const stake = await page.evaluate(() => document.activeElement.id);
  await page.keyboard.press('F6');
  const closed = await page.evaluate(() => [document.getElementById('tickets').hidden, document.activeElement.id]);
  check(stake === 'tickets-stake' && closed.join() === 'true,tickets-open',
        `F6 opened the tickets on #${stake}, and F6 again left them hidden, focus: ${closed}`);
  await press('choose-file', 'F5');
  check(await timerOn(page), 'F5 with the focus on Horse file did not start a race');
  for (const key of ['?', 'F1']) {
    await page.keyboard.press(key);
    check(await isOpen(page, 'help'), `${key} did not open the help`);
    await page.keyboard.press('Escape');
  }
  const kept = await page.evaluate(() => [['F5', false], ['F6', false], ['F5', true], ['r', true]].map(([key, ctrlKey]) =>
    !dispatchEvent(new KeyboardEvent('keydown', { key, ctrlKey, cancelable: true }))));
  check(kept.join() === 'true,true,false,false', `F5, F6, Ctrl+F5 and Ctrl+R kept from the browser: ${kept}`);
  await page.close();
}

// axe-core at the start, mid-race, on the board, with the help open and
// with the lab's figures showing; the distance and the board in words.
async function checkScreenReader() {
  const page = await open({ width: 800, height: 700 });
  await page.addScriptTag({ path: createRequire(import.meta.url).resolve('axe-core/axe.min.js') });
  const audit = async (when) => {
    // No preload: axe would fetch the page's style sheets again, which a page
    // from file:// may not.
    const found = await page.evaluate(async () => (await window.axe.run(document, { preload: false })).violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical').map((v) => `${v.id} at ${v.nodes.map((n) => n.target)}`));
    check(found.length === 0, `axe-core ${when}: ${found.join('; ')}`);
  };
  await audit('on the start screen');
  // Every line the live region takes, as a screen reader would hear it.
  await page.evaluate(() => {
    window.heard = [];
    new MutationObserver((records) => records.forEach((r) => r.addedNodes.forEach((n) => window.heard.push(n.textContent))))
      .observe(document.getElementById('spoken'), { childList: true, characterData: true, subtree: true });
  });
  await page.click('#run');
  await page.evaluate(() => { for (let i = 0; i < 300; ++i) window.trotixTest.advance(200); });
  const bar = await page.$eval('#distance', (element) => Number(element.getAttribute('aria-valuenow')));
  const runOff = await page.$eval('#run', (element) => element.getAttribute('aria-disabled'));
  check(bar > 0 && bar < 2000 && runOff === 'true', `mid-race the progress bar reads ${bar}, Run aria-disabled=${runOff}`);
  await audit('mid-race');
  // In forced colours (Chromium can emulate them) the greyed Run is dashed, a live button is not.
  if (engine === 'chromium') {
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
    const borders = await page.evaluate(() => ['run', 'help-button'].map((id) => getComputedStyle(document.getElementById(id)).borderStyle));
    check(borders.join() === 'dashed,solid', `in forced colours the greyed Run and the live Help have borders ${borders}`);
    await cdp.send('Emulation.setEmulatedMedia', { features: [] });
  }
  await runToBoard(page);
  const heard = await page.evaluate(() => window.heard);
  const said = [/^The race is off: 2000 metres to run\.$/, /^1500 metres to go, horse \d leads\.$/,
                /^1000 metres to go, horse \d leads\.$/, /^500 metres to go, horse \d leads\.$/,
                /^Finish: horse \d wins in \d minutes? \d+\.\d seconds\.$/,
                /^First, horse (\d), in .*; second, horse \d, .*; quinella \d and \d at \d+\.\d\.?$/];
  check(heard.length === said.length && said.every((line, i) => line.test(heard[i])), `the live region said ${JSON.stringify(heard)}`);
  await audit('on the board');
  await page.keyboard.press('?');
  await audit('with the help open');
  await page.keyboard.press('Escape');
  await page.click('#tickets-open');
  await audit("with the tickets' panel open after the board");
  await page.keyboard.press('Escape');
  await page.click('#lab-open');
  await page.evaluate(() => window.trotixTest.lab.run({ seed: 1, races: 1000, workers: 2 }));
  await audit("with the lab's figures");
  await page.close();
}

// A file chosen between races is set up at once; during a race it waits for
// the next Run and says so; a refusal isolates the name and can be
// dismissed; a file dropped on the open listing is taken when it closes; a
// folder, chosen or dropped, is refused in the desktop reader's words.
async function checkHorseFiles() {
  const page = await open({ width: 800, height: 700 });
  await chooseFile(page, goodFile);
  await page.keyboard.press('F7');
  check((await listing(page)).startsWith(goodLine), 'a good file chosen before a race did not set up its field at once');
  await page.click('#forget-file');
  await page.keyboard.press('F7');
  check(!(await listing(page)).startsWith(goodLine), 'Forget between races left the forgotten field for the next race');
  await page.keyboard.press('F5');
  await chooseFile(page, goodFile);
  check(await text(page, 'field-file-when') === ' (from the next race)', 'a file chosen mid-race does not say it waits');
  await runToBoard(page);
  check(await text(page, 'field-file-when') === ' (from the next race)', 'the word that the file waits went before its Run');
  await page.keyboard.press('F7');
  check(!(await listing(page)).startsWith(goodLine), "the race under way took the file's field");
  await page.keyboard.press('F5');
  await page.keyboard.press('F7');
  check((await listing(page)).startsWith(goodLine) && await text(page, 'field-file-when') === '',
        "the next Run did not race the file's field, or the corner still says it waits");

  await chooseFile(page, badFile);
  const isolated = await page.$eval('#field-file-notice-text bdi', (bdi) => bdi.textContent).catch(() => null);
  check(isolated === '\u202Etxt.exe', `a refused name is shown isolated as ${JSON.stringify(isolated)}`);
  await page.click('#dismiss-notice');
  check(await text(page, 'field-file-notice') === null, 'Dismiss left the refusal on screen');

  await runToBoard(page);
  await page.keyboard.press('F7');
  await page.evaluate((content) => {
    const dropped = new DataTransfer();
    dropped.items.add(new File([content], 'dropped.txt'));
    dispatchEvent(new DragEvent('drop', { dataTransfer: dropped, cancelable: true }));
  }, horses);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => document.getElementById('field-file-name').textContent === 'dropped.txt', { timeout: 5000 })
    .catch(() => failures.push('a file dropped on the open listing was not taken when it closed'));

  // A folder through the file control, and dropped (chromium's own drag and
  // drop). Chromium only: Firefox's WebDriver BiDi refuses to hand a file
  // control a folder, and a test can drop one only through Chromium's
  // DevTools (a DataTransfer made in the page holds no folder).
  if (engine === 'chromium') {
    const folderRefusal = 'horses cannot be read (a folder); the field is made up at random';
    await chooseFile(page, folder);
    const chosenFolder = await text(page, 'field-file-notice-text');
    check(chosenFolder === folderRefusal, `a folder chosen shows ${chosenFolder}`);
    await page.click('#dismiss-notice');
    const client = await page.createCDPSession();
    const data = { items: [], files: [folder], dragOperationsMask: 1 };
    for (const type of ['dragEnter', 'dragOver', 'drop']) await client.send('Input.dispatchDragEvent', { type, x: 20, y: 20, data });
    await page.waitForFunction((want) => document.getElementById('field-file-notice-text').textContent === want, { timeout: 5000 }, folderRefusal)
      .catch(() => failures.push('a folder dropped on the page was not refused in words'));
  }
  await page.close();
}

// At phone and desktop sizes and ratios, with a long refusal, a file name,
// a line of the page's own and the lab showing: no button under 44 x 44 px,
// nothing over the window, and on the screen every window pixel a whole
// square of device pixels.
async function checkLayout() {
  const sizes = [[360, 640, 1], [360, 640, 3], [390, 844, 3], [844, 390, 2], [768, 1024, 2], [700, 500, 1], [480, 400, 1],
                 [700, 500, 2], [1920, 1080, 1], [1366, 768, 1.5], [412, 915, 2.625]];
  const page = await open({ width: 800, height: 700 });
  await chooseFile(page, goodFile);
  await page.evaluate(() => {
    window.trotixTest.showNotice('a long refusal line '.repeat(20), '');
    window.trotixTest.say('a line of the page about itself');
    window.trotixTest.lab.open();
  });
  for (const [width, height, deviceScaleFactor] of sizes) {
    const at = `at ${width} x ${height} (ratio ${deviceScaleFactor})`;
    await page.setViewport({ width, height, deviceScaleFactor });
    await page.screenshot({ captureBeyondViewport: false });  // headless chromium tells of a new ratio with a frame
    await page.waitForFunction(() => window.trotixTest.layoutRatio() === devicePixelRatio, { timeout: 5000 })
      .catch(() => failures.push(`${at} the window was not laid out again`));
    const seen = await page.evaluate(() => {
      window.scrollTo(0, 0);  // the lab's Run took the focus, and the page scrolled to it
      const game = document.getElementById('window').getBoundingClientRect();
      const over = (r) => r.left < game.right && game.left < r.right && r.top < game.bottom && game.top < r.bottom;
      const shown = [...document.querySelectorAll('#panel button, #panel p, #lab, #lab button')].filter((e) => e.getClientRects().length > 0);
      return { covering: shown.filter((e) => over(e.getBoundingClientRect())).map((e) => e.id),
               small: shown.filter((e) => e.tagName === 'BUTTON' && Math.min(e.offsetWidth, e.offsetHeight) < 44).map((e) => e.id) };
    });
    check(seen.covering.length === 0 && seen.small.length === 0, `${at} ${seen.covering} cover the window, ${seen.small} are small`);
    const pixels = await screenPixels(page);
    check(pixels === null, `${at} ${pixels}`);
  }
  await page.close();
}

// The screen as captured against the canvas's own pixels, block by block.
async function screenPixels(page) {
  const png = await page.screenshot({ encoding: 'base64', captureBeyondViewport: false });
  return page.evaluate(async (data) => {
    const shot = new Image();
    shot.src = `data:image/png;base64,${data}`;
    await shot.decode();
    const copy = Object.assign(document.createElement('canvas'), { width: shot.width, height: shot.height }).getContext('2d');
    copy.drawImage(shot, 0, 0);
    const screen = copy.getImageData(0, 0, shot.width, shot.height).data;
    const game = document.getElementById('window');
    const own = game.getContext('2d').getImageData(0, 0, game.width, game.height).data;
    const box = game.getBoundingClientRect();
    const [left, top, scale] = [box.left, box.top, box.width / game.width].map((v) => v * devicePixelRatio);
    // Firefox lays a page out in sixtieths of a CSS pixel, so at a ratio such
    // as 2.625 a box lies up to that far from the device pixel it is painted
    // on; the pixels compared below show whether it was.
    const slack = devicePixelRatio / 60 + 0.01;
    if (![left, top, scale].every((v) => Math.abs(v - Math.round(v)) < slack)) return `the window is at ${left}, ${top}, scale ${scale}`;
    const [x0, y0, k] = [left, top, scale].map(Math.round);
    for (let y = 0; y < game.height * k; ++y) {
      for (let x = 0; x < game.width * k; ++x) {
        const s = ((y0 + y) * shot.width + x0 + x) * 4, o = (Math.floor(y / k) * game.width + Math.floor(x / k)) * 4;
        if ([0, 1, 2].some((c) => screen[s + c] !== own[o + c])) return `the screen differs from the window at device pixel (${x}, ${y})`;
      }
    }
    return null;
  }, png);
}

// Without WebAssembly, without the game's script, from a host that forbids
// WebAssembly or without JavaScript, one line says why and the loading sign goes; while the game loads, it shows.
async function checkTrouble() {
  for (const name of readdirSync(site).filter((name) => name !== 'trotix.js')) copyFileSync(path.join(site, name), path.join(broken, name));
  const noWasm = siteUnderPolicy(site, "script-src 'self' file: 'unsafe-inline'");
  for (const [url, without, why] of [[index(), 'WebAssembly', 'WebAssembly'], [index(broken), 'the game', 'trotix.js'],
                                     [index(noWasm), 'a host allowing WebAssembly', 'This host forbids WebAssembly']]) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument((gone) => {
      if (gone === 'WebAssembly') delete window.WebAssembly;
      // Whether the sign shows as the game's script is asked for.
      new MutationObserver((changes, watch) => {
        if (document.querySelector('script[src="trotix.js"]') === null) return;
        window.loadingShown = document.getElementById('loading').getClientRects().length > 0;
        watch.disconnect();
      }).observe(document, { childList: true, subtree: true });
    }, without);
    await page.goto(url);
    await page.waitForFunction(() => !document.getElementById('trouble').hidden, { timeout: 5000 }).catch(() => {});
    const seen = await page.evaluate(() => ({ line: document.getElementById('trouble').textContent, loading: window.loadingShown,
                                              still: !document.getElementById('loading').hidden }));
    check(seen.line.includes(why) && !seen.still, `without ${without} the page says ${JSON.stringify(seen.line)}`);
    if (without === 'the game') check(seen.loading, 'no sign of loading shows while the game loads');
    await page.close();
  }
  // Chromium only: Firefox's WebDriver BiDi cannot turn a page's scripts off.
  if (engine !== 'chromium') return;
  const page = await browser.newPage();
  await page.setJavaScriptEnabled(false);
  await page.goto(index());
  check(await page.$eval('noscript p', (line) => line.getClientRects().length > 0).catch(() => false), 'without JavaScript no line says so');
  await page.close();
}

runTest(async (checked, problems) => {
  [check, failures] = [checked, problems];
  browser = await openBrowser(engine);
  for (const part of [checkTouch, checkKeyboard, checkScreenReader, checkHorseFiles, checkLayout, checkTrouble]) await part();
  return `${engine}: the controls answered touch, keys and files, axe-core found nothing serious, nothing covered the window`;
});
