// "Tickets": the race card, the purse, buying and taking back tickets, the
// settlement after the board, refill and the ledger's CSV, in a panel under
// the window and the controls, never on the race picture. Every line it
// shows and every rule are the C++'s ticket desk (web/page_tickets.cpp):
// this module shows what the game says and passes the player's choices in.
// The panel is made the first time it is wanted; F6 (the game's key, through
// its handler) and the Tickets button open and close it, Escape closes it.
// The ledger is kept in storage whole (ledger_store.ts) whenever the game
// says it changed, open or not.
import { chancesNumbers } from './card_chances';
import { type GameExports, type PageFacts, cString, handIn } from './game_module';
import type { Chances } from './lab_card';
import { fit } from './layout';
import { LedgerStore } from './ledger_store';
import { pageStorage } from './kept_file';
import { byId } from './page_elements';
import { readSvg } from './svg_text';

const options = (count: number, selected: number): string => Array.from({ length: count }, (_, i) =>
  `<option value="${i + 1}"${i + 1 === selected ? ' selected' : ''}>${i + 1}</option>`).join('');

function panelHtml(facts: PageFacts): string {
  const { kinds, horses, stakeStep } = facts.tickets;
  return `
  <div class="tickets-head"><h2 id="tickets-title">Tickets</h2>
    <button type="button" class="tickets-close" aria-label="Close the tickets">×</button></div>
  <pre id="tickets-card" lang="ja" tabindex="0" aria-label="Race card"></pre>
  <form class="tickets-buy">
    <label>Kind <select id="tickets-kind"><option value="win" lang="ja">${kinds[0]} (win)</option>
      <option value="quinella" lang="ja">${kinds[1]} (quinella)</option></select></label>
    <label>Horse <select id="tickets-first">${options(horses, 1)}</select></label>
    <label id="tickets-second-line" hidden>Second horse <select id="tickets-second">${options(horses, 2)}</select></label>
    <label>Stake <input id="tickets-stake" inputmode="numeric" autocomplete="off" size="9" value="${stakeStep}"></label>
    <button type="submit" id="tickets-buy">Buy</button>
  </form>
  <p id="tickets-message"></p>
  <ul id="tickets-list" aria-label="Your tickets"></ul>
  <p id="tickets-purse"></p>
  <pre id="tickets-settlement" lang="ja"></pre>
  <div id="tickets-chart"></div>
  <div id="tickets-chart-narrow"></div>
  <div class="tickets-actions"><button type="button" id="tickets-refill">Refill</button>
    <button type="button" id="tickets-export">Export CSV</button></div>
  <div id="tickets-status" class="hidden-text" role="status"></div>`;
}

// The panel's state as the game gives it (PageTickets::StateJson).
interface TicketsState {
  purse: string;
  tickets: string[];
  settlement: string;
  message: string;
  news: string;
  told: number;
  locked: boolean;
  canRefill: boolean;
}

const grey = (id: string, on: boolean): void => byId(id).setAttribute('aria-disabled', String(on));

export class TicketsPanel {
  private built = false;
  private shown = '';     // the state and card last shown
  private told = 0;       // the game's lines said so far
  private stored = -1;    // the game's ledger changes already kept
  private ownLine = '';   // the page's own line on show, until the player's next choice
  private charted = -1;   // the game's ledger changes the purse chart shows
  private readonly root = byId('tickets');
  private readonly store: LedgerStore;

  constructor(private readonly game: GameExports, private readonly facts: PageFacts,
              private readonly say: (text: string) => void) {
    this.store = new LedgerStore(pageStorage(), facts.tickets.ledgerMaxBytes);
  }

  private text(pointer: number): string {
    return cString(this.game.HEAPU8, pointer);
  }

  // The ledger kept from an earlier visit, or another page's, taken up;
  // what stands in storage is then this page's too, and not written back.
  takeUp(ledger: string): string {
    const problem = this.text(this.game._trotix_tickets_restore(handIn(this.game, ledger)));
    this.stored = this.game._trotix_tickets_ledger_changes();
    this.shown = '';
    return problem;
  }

  // At start, once the game has loaded; then a storage event from another page.
  restore(): void {
    const { ledger, line } = this.store.read();
    if (line !== '') this.say(line);
    const problem = this.takeUp(ledger);
    if (problem !== '') this.say(problem);
    addEventListener('storage', (event) => {
      if (event.storageArea !== pageStorage()) return;
      const other = this.store.changedElsewhere(event.key, event.newValue);
      if (other === null) return;
      this.takeUp(other);
      this.refresh();
    });
  }

  // Keeps the ledger when the game says it changed; a refusal is told, and
  // another page's ledger, when that is why, is taken up.
  private keepLedger(): void {
    if (this.game._trotix_tickets_ledger_changes() === this.stored) return;
    this.stored = this.game._trotix_tickets_ledger_changes();
    const written = this.store.write(this.text(this.game._trotix_tickets_ledger()));
    if (written.takeUp !== null) this.takeUp(written.takeUp);
    if (!written.kept) this.tell(written.line);
  }

  // A line of the page's own: in the panel when open, else under the controls.
  private tell(line: string): void {
    if (this.root.hidden) return this.say(line);
    this.ownLine = line;
    byId('tickets-message').textContent = line;
    this.speak(line);
  }

  // Said once: a new line in the live region.
  private speak(line: string): void {
    const spoken = document.createElement('p');
    spoken.textContent = line;
    byId('tickets-status').replaceChildren(spoken);
  }

  // A finished run of the lab: its chances reach the desk when they are
  // for the card on show, and every ticket then shows its worth.
  takeChances(chances: Chances): void {
    const numbers = chancesNumbers(chances.json, this.facts.tickets.chancesNumbers);
    if (numbers === null) return;
    const at = this.game._trotix_tickets_chances_room() / Float64Array.BYTES_PER_ELEMENT;
    this.game.HEAPF64.set([...chances.card.records, ...numbers], at);
    if (this.game._trotix_tickets_take_chances() === 1) this.refresh();
  }

  // After every handler of the game and every choice of the player.
  refresh(): void {
    this.keepLedger();
    if (this.root.hidden) return;
    const card = this.text(this.game._trotix_tickets_card());
    const json = this.text(this.game._trotix_tickets_state());
    if (card + json === this.shown) return;
    this.shown = card + json;
    const state = JSON.parse(json) as TicketsState;
    byId('tickets-card').textContent = card;
    byId('tickets-purse').textContent = state.purse;
    byId('tickets-settlement').textContent = state.settlement;
    byId('tickets-message').textContent = this.ownLine || state.message;
    this.showTickets(state);
    this.showChart();
    grey('tickets-buy', state.locked);
    grey('tickets-refill', !state.canRefill);
    if (state.told !== this.told && state.news !== '') this.speak(state.news);
    this.told = state.told;
  }

  // The purse's chart as the C++ drew it, wide and narrow (tickets.css
  // shows the one that fits), again only when the ledger changed.
  private showChart(): void {
    const changes = this.game._trotix_tickets_ledger_changes();
    if (changes === this.charted) return;
    this.charted = changes;
    byId('tickets-chart').replaceChildren(readSvg(this.text(this.game._trotix_tickets_purse_chart(0))));
    byId('tickets-chart-narrow').replaceChildren(readSvg(this.text(this.game._trotix_tickets_purse_chart(1))));
  }

  private showTickets(state: TicketsState): void {
    const items = state.tickets.map((line, index) => {
      const item = document.createElement('li');
      const name = document.createElement('span');
      name.lang = 'ja';
      name.textContent = line;
      const back = document.createElement('button');
      back.type = 'button';
      back.textContent = 'Take back';
      back.setAttribute('aria-label', `Take back ${line}`);
      back.setAttribute('aria-disabled', String(state.locked));
      back.addEventListener('click', () => {
        this.game._trotix_tickets_take_back(index);
        this.settle('tickets-stake');
      });
      item.append(name, ' ', back);
      return item;
    });
    byId('tickets-list').replaceChildren(...items);
  }

  // After a choice (the game's answer, a refusal or none, is in its state):
  // the panel as it now stands; the focus goes to `next` when the control
  // it was on is gone.
  private settle(next: string): void {
    this.ownLine = '';
    this.refresh();
    if (!this.root.contains(document.activeElement)) byId(next).focus();
  }

  private buy(): void {
    const quinella = byId<HTMLSelectElement>('tickets-kind').value === 'quinella';
    const number = (id: string): number => Number(byId<HTMLSelectElement>(id).value);
    const stake = handIn(this.game, byId<HTMLInputElement>('tickets-stake').value);
    this.game._trotix_tickets_buy(quinella ? 1 : 0, number('tickets-first'), number('tickets-second'), stake);
    this.settle('tickets-stake');
  }

  private exportCsv(): void {
    const csv = this.text(this.game._trotix_tickets_csv());
    const url = URL.createObjectURL(new Blob([csv], { type: 'text/csv' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = this.facts.tickets.csvName;
    link.click();
    setTimeout(() => URL.revokeObjectURL(url), 0);
  }

  private build(): void {
    if (this.built) return;
    this.built = true;
    this.root.innerHTML = panelHtml(this.facts);
    this.root.querySelector('form')?.addEventListener('submit', (event) => {
      event.preventDefault();
      this.buy();
    });
    byId('tickets-kind').addEventListener('change', () => {
      byId('tickets-second-line').hidden = byId<HTMLSelectElement>('tickets-kind').value !== 'quinella';
      fit();
    });
    byId('tickets-refill').addEventListener('click', () => {
      this.game._trotix_tickets_refill();
      this.settle('tickets-refill');
    });
    byId('tickets-export').addEventListener('click', () => this.exportCsv());
    this.root.querySelector('.tickets-close')?.addEventListener('click', () => this.toggle(false));
    this.root.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') this.toggle(false);
    });
  }

  // Opened, the panel shows what stands now and says nothing of what came
  // before; closed, the focus goes back to its button.
  toggle(open: boolean): void {
    this.build();
    this.root.hidden = !open;
    byId('tickets-open').setAttribute('aria-expanded', String(open));
    if (open) {
      this.told = JSON.parse(this.text(this.game._trotix_tickets_state())).told as number;
      this.shown = '';
      this.refresh();
    }
    fit();
    byId(open ? 'tickets-stake' : 'tickets-open').focus();
  }

  get open(): boolean {
    return !this.root.hidden;
  }
}
