// The browsers the page is tested in, headless, driven by puppeteer-core:
// Debian's chromium over the DevTools protocol and Debian's firefox-esr
// over WebDriver BiDi; what the browser tests and the page's benchmark
// share. The machine may have no network, so everything that would call out
// (updates, sync, first-run pages) is off.
import { cpSync, existsSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

// The flags with which puppeteer turns off Chromium's slowing of hidden and
// background pages; a test of the page in a background tab drops them.
const unthrottled = ['--disable-background-timer-throttling', '--disable-backgrounding-occluded-windows',
                     '--disable-renderer-backgrounding', '--disable-ipc-flooding-protection'];

// engine: 'chromium' or 'firefox'. With throttled, Chromium slows hidden
// pages as it does for a player.
export async function launchBrowser(engine, { throttled = false } = {}) {
  const profile = mkdtempSync(path.join(tmpdir(), `trotix-${engine}-`));
  let browser;
  if (engine === 'chromium') {
    const args = ['--disable-gpu', '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync'];
    // Chromium's sandbox refuses to run as root.
    if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
    browser = await puppeteer.launch({
      executablePath: process.env.TROTIX_CHROMIUM || '/usr/bin/chromium', headless: true, args, userDataDir: profile,
      ignoreDefaultArgs: throttled ? unthrottled : [],
    });
  } else if (engine === 'firefox') {
    browser = await puppeteer.launch({
      browser: 'firefox', protocol: 'webDriverBiDi', executablePath: process.env.TROTIX_FIREFOX || '/usr/bin/firefox-esr',
      headless: true, userDataDir: profile,
      extraPrefsFirefox: { 'app.update.enabled': false, 'browser.shell.checkDefaultBrowser': false,
                           'datareporting.policy.dataSubmissionEnabled': false, 'toolkit.telemetry.enabled': false },
    });
  } else {
    throw new Error(`no browser engine called ${engine}`);
  }
  return {
    browser,
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Everything a page says is wrong, collected into `problems`.
export function watchForErrors(page, problems) {
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`failed request: ${request.url()}`));
}

// A folder served as any static host would, on the loopback address only,
// with each file's time as its Last-Modified; resolves to the listening
// server. server.root may be changed to serve another folder, and
// server.served lists each file answered ({ name, status, bytes }).
export function serveFolder(folder) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png',
                  '.webmanifest': 'application/manifest+json' };
  const server = createServer((request, response) => {
    const name = new URL(request.url, 'http://localhost').pathname.replace(/\/$/, '/index.html');
    const file = path.join(server.root, path.normalize(name));
    if (!file.startsWith(server.root + path.sep) || !existsSync(file)) {
      server.served.push({ name, status: 404, bytes: 0 });
      response.writeHead(404).end();
      return;
    }
    const modified = new Date(statSync(file).mtime.toUTCString());
    if (new Date(request.headers['if-modified-since']) >= modified) {
      server.served.push({ name, status: 304, bytes: 0 });
      response.writeHead(304).end();
      return;
    }
    const body = readFileSync(file);
    server.served.push({ name, status: 200, bytes: body.length });
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                              'Last-Modified': modified.toUTCString() });
    response.end(body);
  });
  server.root = path.resolve(folder);
  server.served = [];
  return new Promise((ready) => server.listen(0, '127.0.0.1', () => ready(server)));
}

// A horse data file the game takes, as the desktop writes it, and one it
// refuses at its second line.
export const goodHorses = '80\t60\t2\r\n50\t50\t1\r\n70\t40\t3\r\n45\t90\t4\r\n60\t60\t1\r\n55\t75\t2\r\n';
export const badHorses = '80\t60\t2\n50\t50\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n';

// What runTest undoes as the test ends, whatever happened, last first.
const endings = [];
export const atEnd = (undo) => endings.push(undo);

// A folder for a test's own files, gone when the test ends.
export function scratchFolder(test) {
  const folder = mkdtempSync(path.join(tmpdir(), `trotix-${test}-`));
  atEnd(() => rmSync(folder, { recursive: true, force: true }));
  return folder;
}
// A copy of the site as a host with this Content-Security-Policy serves it
// (the policy in a <meta> of its index.html).
export function siteUnderPolicy(site, policy) {
  const folder = scratchFolder('policy');
  cpSync(site, folder, { recursive: true });
  const page = path.join(folder, 'index.html');
  writeFileSync(page, readFileSync(page, 'utf8').replace('<meta charset="utf-8">',
    `<meta charset="utf-8">\n<meta http-equiv="Content-Security-Policy" content="${policy}">`));
  return folder;
}
export function writeIn(folder, name, text) {
  writeFileSync(path.join(folder, name), text);
  return path.join(folder, name);
}

// A browser launched as launchBrowser does, closed when the test ends.
export async function openBrowser(engine, options) {
  const launched = await launchBrowser(engine, options);
  atEnd(() => launched.close());
  return launched.browser;
}

// The built page from file://, with the test hook unless told otherwise.
export const pageUrl = (site, query = 'seed=123&clock=scripted') => `${pathToFileURL(path.join(site, 'index.html')).href}?${query}`;

// A new tab telling its problems, at viewport, on url, once ready() (if
// any) holds in it.
export async function openPage(browser, url, problems, { viewport, ready = () => window.trotixTest !== undefined } = {}) {
  const page = await browser.newPage();
  watchForErrors(page, problems);
  if (viewport) await page.setViewport(viewport);
  await page.goto(url);
  if (ready) await page.waitForFunction(ready, { timeout: 20000 });
  return page;
}

// A horse file through the page's file control, once the page names or
// refuses it (a name's pop of an isolate it never opened is not shown).
export async function chooseFile(page, file) {
  await (await page.$('#field-file')).uploadFile(file);
  await page.waitForFunction((name) => ['field-file-name', 'field-file-notice-text']
    .some((id) => document.getElementById(id).textContent.startsWith(name)), {}, path.basename(file).replaceAll('\u2069', ''));
}

export const gameState = (page) => page.evaluate(() => window.trotixTest.state());
export const runToBoard = (page) => page.evaluate(() => { while (window.trotixTest.advance(200).timerOn); });

// A browser test's run: body(check, problems) checks what it finds; every
// failed check and every problem the pages report is printed, and the exit
// status says whether there was any.
export async function runTest(body) {
  const failures = [];
  const problems = [];
  let passed;
  try {
    passed = await body((ok, what) => { if (!ok) failures.push(what); }, problems);
  } catch (error) {
    failures.push(error.stack ?? String(error));
  } finally {
    for (const undo of endings.reverse()) await Promise.resolve().then(undo).catch((error) => failures.push(String(error)));
  }
  failures.push(...problems);
  if (failures.length === 0) {
    console.log(passed);
    return;
  }
  console.error(failures.slice(0, 20).join('\n'));
  if (failures.length > 20) console.error(`... and ${failures.length - 20} more`);
  process.exit(1);
}
