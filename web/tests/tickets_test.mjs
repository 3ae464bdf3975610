// The tickets in the page, held against the page's adapter run natively
// (web_tickets_dump): at a fixed seed a win and a quinella ticket are
// bought from the keyboard in a phone-wide page, the race runs to its board,
// and the panel's purse and settlement and the ledger line kept in storage
// are the native ones (the ledger's date aside, which is the clock's). A
// refusal is spoken in the panel's live region; the panel stands under the
// race picture and scrolls nothing sideways; Escape gives the focus back to
// the Tickets button. After a reload the purse and the ledger are kept. Then
// another page's ledger is planted behind this one's back: this page's next
// write is refused with a line, and the other's ledger is shown. Last a
// damaged ledger is planted: the game starts, says so in one line and
// shows a new purse; and a second tab's race shows in the first at once.
//
//   node tickets_test.mjs SITE_FOLDER WEB_TICKETS_DUMP [chromium|firefox]
import { execFileSync } from 'node:child_process';
import { gameState, openBrowser, openPage, pageUrl, runTest, runToBoard } from './browser.mjs';

const [site, dump, engine = 'chromium'] = process.argv.slice(2);
const seed = 20261209;
const json = JSON.stringify;
const [purse, ledgerLine, ...settlement] = execFileSync(dump, [String(seed), 'W:3:300', 'Q:5:2:200'], { encoding: 'utf8' })
  .trimEnd().split('\n');
const undated = (line) => line.slice(line.indexOf(';'));
const text = (page, id) => page.$eval(`#${id}`, (element) => element.textContent);
const focused = (page) => page.evaluate(() => document.activeElement?.id ?? '');
const keptLedger = (page) => page.evaluate(() => JSON.parse(localStorage.getItem('trotix.ledger') ?? 'null'));

async function setStake(page, stake) {
  await page.$eval('#tickets-stake', (input) => { input.value = ''; });
  await page.focus('#tickets-stake');
  await page.keyboard.type(stake);
}

// Both tickets from the keyboard: the stake's Enter buys one, Buy the other.
async function buyTickets(page, check) {
  await page.select('#tickets-kind', 'win');
  await page.select('#tickets-first', '3');
  await setStake(page, '150');
  await page.keyboard.press('Enter');
  check((await text(page, 'tickets-status')) === 'a stake goes in steps of 100',
        `a refused stake was said as ${json(await text(page, 'tickets-status'))}`);
  await setStake(page, '300');
  await page.keyboard.press('Enter');
  await page.select('#tickets-kind', 'quinella');
  await page.select('#tickets-first', '5');
  await page.select('#tickets-second', '2');
  await setStake(page, '200');
  await page.focus('#tickets-buy');
  await page.keyboard.press('Enter');
  const list = await page.$$eval('#tickets-list li span', (items) => items.map((item) => item.textContent));
  check(json(list) === json(['単勝【3】 300', '馬連 2-5 200']), `the tickets bought read ${json(list)}`);
}

async function checkPlace(page, check) {
  const place = await page.evaluate(() => {
    const panel = document.getElementById('tickets').getBoundingClientRect();
    const picture = document.getElementById('window').getBoundingClientRect();
    return { over: panel.top < picture.bottom && panel.bottom > picture.top,
             sideways: document.documentElement.scrollWidth - document.documentElement.clientWidth };
  });
  check(!place.over && place.sideways <= 0, `the tickets' panel stands at ${json(place)}`);
}

async function raceWithTickets(page, check) {
  await page.keyboard.press('F6');
  check(await page.$eval('#tickets', (panel) => !panel.hidden), 'F6 did not open the tickets');
  check((await focused(page)) === 'tickets-stake', `the panel opened with the focus on #${await focused(page)}`);
  await checkPlace(page, check);
  await buyTickets(page, check);
  await page.keyboard.press('F5');
  await runToBoard(page);
  check((await gameState(page)).runEnabled, 'the race did not reach its board');
  check((await text(page, 'tickets-purse')) === purse, `the purse reads ${json(await text(page, 'tickets-purse'))}, not ${json(purse)}`);
  const settled = await text(page, 'tickets-settlement');
  check(settled === settlement.join('\n'), `the settlement reads ${json(settled)}`);
  check((await text(page, 'tickets-status')) === settled, `the status said ${json(await text(page, 'tickets-status'))}`);
  // The purse's chart, the C++'s SVG, the narrow one on a phone.
  const charts = await page.evaluate(() => ['tickets-chart', 'tickets-chart-narrow'].map((id) =>
    [document.querySelector(`#${id} svg`) !== null, document.getElementById(id).offsetHeight > 0]));
  check(json(charts) === json([[true, false], [true, true]]), `the purse's charts (drawn, shown) are ${json(charts)}`);
  const kept = await keptLedger(page);
  const race = kept?.ledger.split('\r\n').find((line) => line.startsWith('Race1='))?.slice('Race1='.length) ?? '';
  check(undated(race) === undated(ledgerLine), `the ledger keeps ${json(race)}, not ${json(ledgerLine)}`);
  await page.keyboard.press('Escape');
  check((await focused(page)) === 'tickets-open', `Escape left the focus on #${await focused(page)}`);
  return kept;
}

// Another page writes behind this one's back: the next write is refused.
async function checkStaleWrite(page, kept, check) {
  await page.evaluate((generation) => localStorage.setItem('trotix.ledger', JSON.stringify(
    { generation, ledger: '[Ledger]\r\nPurse=4200\r\nRefills=1\r\n' })), kept.generation + 5);
  await page.select('#tickets-kind', 'win');
  await setStake(page, '100');
  await page.keyboard.press('Enter');
  await page.keyboard.press('F5');
  const message = await text(page, 'tickets-message');
  check(message.startsWith('Another Trotix page kept its ledger'), `a stale write was told as ${json(message)}`);
  check((await text(page, 'tickets-purse')) === 'Purse 4200, refilled once', `after a stale write the purse reads ${json(await text(page, 'tickets-purse'))}`);
  check((await keptLedger(page)).generation === kept.generation + 5, 'a stale write replaced what the other page kept');
  await runToBoard(page);
}

async function checkDamaged(page, check) {
  await page.evaluate(() => localStorage.setItem('trotix.ledger', JSON.stringify(
    { generation: 9, ledger: '[Ledger]\r\nPurse=lots\r\n' })));
  await page.reload();
  await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
  const lines = await text(page, 'page-lines');
  check(lines === 'The ledger kept in this browser is damaged (line 2 holds no purse), so a new purse is started.',
        `a damaged ledger was told as ${json(lines)}`);
  await page.click('#tickets-open');
  check((await text(page, 'tickets-purse')) === 'Purse 10000', `with a damaged ledger the purse reads ${json(await text(page, 'tickets-purse'))}`);
}

async function checkSecondTab(page, url, problems, check) {
  const other = await openPage(page.browser(), url, problems);
  await other.click('#tickets-open');
  await other.select('#tickets-first', '3');
  await setStake(other, '300');
  await other.keyboard.press('Enter');
  await other.keyboard.press('F5');
  await runToBoard(other);
  const purseThere = await text(other, 'tickets-purse');
  const seen = await page.waitForFunction((want) => document.getElementById('tickets-purse').textContent === want,
                                          { timeout: 20000 }, purseThere).then(() => true, () => false);
  check(seen && purseThere !== 'Purse 10000', `another tab's race (${json(purseThere)}) did not show in this one`);
  await other.close();
}

runTest(async (check, problems) => {
  const browser = await openBrowser(engine);
  const url = pageUrl(site, `seed=${seed}&clock=scripted`);
  const page = await openPage(browser, url, problems, { viewport: { width: 360, height: 740 } });
  await page.evaluate(() => localStorage.clear());
  await page.reload();
  await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
  const kept = await raceWithTickets(page, check);
  await page.reload();
  await page.waitForFunction(() => window.trotixTest !== undefined, { timeout: 20000 });
  await page.click('#tickets-open');
  check((await text(page, 'tickets-purse')) === purse, `after a reload the purse reads ${json(await text(page, 'tickets-purse'))}`);
  check(json(await keptLedger(page)) === json(kept), 'a reload changed the kept ledger');
  await checkStaleWrite(page, kept, check);
  await checkDamaged(page, check);
  await checkSecondTab(page, url, problems, check);
  return `tickets in ${engine}: ${purse}; ${ledgerLine.split(';').slice(2, 4).join(' ')} as natively, kept over a reload; a stale write refused; a damaged ledger told; a second tab's race taken up`;
});
