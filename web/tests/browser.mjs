// Debian's chromium, headless, driven by puppeteer-core: what the browser
// test and the page's benchmark share. The machine may have no network, so
// everything that would call out (updates, sync, first-run pages) is off.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export async function launchChromium() {
  const profile = mkdtempSync(path.join(tmpdir(), 'trotix-chromium-'));
  const args = ['--headless', '--disable-gpu', '--no-first-run', '--disable-background-networking',
                '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`];
  // Chromium's sandbox refuses to run as root.
  if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
  const browser = await puppeteer.launch({
    executablePath: process.env.TROTIX_CHROMIUM || '/usr/bin/chromium', headless: true, args,
  });
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
