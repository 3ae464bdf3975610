// "Chances": the lab's panel in the page. It races the race card's field
// (lab_card.ts: the field the next Run races, or the one racing) on the lab's
// workers (lab_pool.ts) and shows the figures, the chart and the tables that
// trotix-sim's code writes; onChances tells the page of every finished run.
// While the panel is open, a board that brings the next card has the lab
// measure it at once, so the next race's figures are soon there.
// Every figure, table cell and the chart come from the C++; this module only
// puts them in the panel, which is made the first time it is wanted, so the
// game's first frame never waits for it.
import type { GameExports, PageFacts } from './game_module';
import { type CardField, ChancesFeed, type ChancesListener, cardLine, cardSource, earlierCard, readCard, sameField } from './lab_card';
import { type LabResult, type LabSettings, LabRun, type LabWorker, WorkerPool } from './lab_pool';
import { fillTable, type TablesJson } from './lab_tables';
import { workerRefusal } from './host_policy';
import { fit } from './layout';
import { onNotice } from './notices';
import { showIsolated } from './page_lines';
import { readSvg } from './svg_text';
import { byId } from './page_elements';
import { newSeed, parseSeed } from './seed';

const raceChoices = [10000, 100000, 1000000];
const defaultRaces = 100000;
const quietMs = 10000;  // the status speaks between a run's start and end at most this often

// 100000 as 100,000. (toLocaleString would wake the browser's locale data
// and delay the game's first frame.)
export const grouped = (n: number): string => String(n).replace(/\B(?=(\d{3})+$)/g, ',');

const panelHtml = `
  <div class="lab-head"><h2 id="lab-title">Chances</h2>
    <button type="button" class="lab-close" aria-label="Close">×</button></div>
  <p id="lab-field"></p>
  <form class="lab-settings">
    <label>Races <select id="lab-races">${raceChoices.map((n) =>
      `<option value="${n}"${n === defaultRaces ? ' selected' : ''}>${grouped(n)}</option>`).join('')}
    </select></label>
    <label>Seed <input id="lab-seed" inputmode="numeric" autocomplete="off" size="17" placeholder="new"></label>
    <button type="submit" id="lab-run">Run</button>
    <button type="button" id="lab-cancel" aria-disabled="true">Cancel</button>
  </form>
  <progress id="lab-progress" max="1" value="0" aria-label="Races run"></progress>
  <p id="lab-status" role="status"></p>
  <div id="lab-figures" hidden>
    <p id="lab-run-line"></p>
    <div id="lab-chart"></div>
    <div id="lab-chart-narrow"></div>
    <table id="lab-horses"><caption>Win: every horse</caption></table>
    <table id="lab-pairs"><caption>Quinella: the first two in either order</caption></table>
    <p id="lab-time"></p>
  </div>`;

// The workers' script (lab_worker_text.js), loaded the first time it is
// needed; it names itself trotixLabWorkerText, with its digest, which the
// build stamps here: a page left open over a release finds the next
// release's script and does not run it.
const ownDigest = '@LAB_WORKER_DIGEST@';
let workerText: Promise<string> | null = null;
function loadWorkerText(): Promise<string> {
  workerText ??= new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = 'lab_worker_text.js';
    script.onload = () => {
      const loaded = window as unknown as { trotixLabWorkerText: string; trotixLabWorkerDigest?: string };
      if (loaded.trotixLabWorkerDigest === ownDigest) return resolve(loaded.trotixLabWorkerText);
      workerText = null;
      reject(new Error('Trotix was updated since this page was opened; load the page again to run the lab'));
    };
    script.onerror = () => {
      workerText = null;
      reject(new Error('lab_worker_text.js could not be loaded'));
    };
    document.head.appendChild(script);
  });
  return workerText;
}

// The workers, kept while the page lives (lab_pool.ts), all from one Blob URL.
let workerUrl: string | null = null;
function makeWorkers(text: string, count: number): LabWorker[] {
  workerUrl ??= URL.createObjectURL(new Blob([text], { type: 'text/javascript' }));
  const url = workerUrl;
  return Array.from({ length: count }, () => new Worker(url) as unknown as LabWorker);
}
const pool = new WorkerPool(makeWorkers);

export interface Lab {
  run(settings: LabSettings): Promise<LabResult>;
  cancel(): void;
  open(): void;
  // The game has presented: the race card may have changed.
  cardMayHaveChanged(): void;
}

// Every finished run of the lab, its figures with the card they are for.
const chances = new ChancesFeed();
export const onChances = (listener: ChancesListener): (() => void) => chances.subscribe(listener);

export function openLab(game: GameExports, facts: PageFacts): Lab {
  const panel = new LabPanel(game, facts);
  byId('lab-open').addEventListener('click', () => panel.toggle(byId('lab').hidden));
  return { run: (settings) => panel.runFromPanel(settings), cancel: () => panel.cancel(), open: () => panel.toggle(true),
           cardMayHaveChanged: () => panel.cardMayHaveChanged() };
}

class LabPanel {
  private built = false;
  private refusal = { text: '', name: '' };  // what the player was last told of the horse file
  private current: LabRun | null = null;
  private started = 0;   // when the run began, ms
  private lastTold = 0;  // when the status last spoke of it
  private measured: CardField | null = null;  // the card of the figures on show
  private runLine = '';   // what the figures are, without a word on the card
  private wasRacing = false;     // the card, at the last look, was a race's field
  private boardBrought = false;  // the board has brought a card the lab has yet to measure
  private readonly root = byId('lab');

  constructor(private readonly game: GameExports, private readonly facts: PageFacts) {
    // A refused file leaves the field random, and the panel says so.
    onNotice((text, name) => {
      this.refusal = { text, name };
      this.cardMayHaveChanged();
    });
  }

  private build(): void {
    if (this.built) return;
    this.built = true;
    this.root.innerHTML = panelHtml;
    this.root.querySelector('form')?.addEventListener('submit', (event) => {
      event.preventDefault();
      this.submit();
    });
    byId('lab-cancel').addEventListener('click', () => this.cancel());
    this.root.querySelector('.lab-close')?.addEventListener('click', () => this.toggle(false));
    // Escape closes the panel wherever the focus is in it.
    this.root.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') this.toggle(false);
    });
  }

  toggle(open: boolean): void {
    this.build();
    this.root.hidden = !open;
    fit();  // its place, under the window and the controls
    byId('lab-open').setAttribute('aria-expanded', String(open));
    this.wasRacing = this.boardBrought = false;  // the lab follows boards it was open for
    if (open) {
      this.cardMayHaveChanged();
      byId('lab-run').focus();
    } else {
      byId('lab-open').focus();
    }
  }

  private card(): CardField {
    return readCard(this.game, this.facts);
  }

  // The field line, and whether the figures on show are still the card's.
  cardMayHaveChanged(): void {
    if (!this.built || this.root.hidden) return;
    const card = this.card();
    this.describeField(card);
    this.showRunLine(card);
    this.follow(card);
  }

  // A race's board brought the next card and the figures on show are an
  // earlier card's: the lab measures the new one at once, as Run would; if
  // a run goes, once it ends, unless the next race has started by then.
  private follow(card: CardField): void {
    if (this.wasRacing && !card.racing) this.boardBrought = true;
    this.wasRacing = card.racing;
    if (card.racing) this.boardBrought = false;
    if (!this.boardBrought || this.current !== null) return;
    this.boardBrought = false;
    if (this.measured !== null && !sameField(this.measured, card)) this.submit(true);
  }

  // What the figures are, and whether the card has changed since.
  private showRunLine(card: CardField): void {
    const line = this.runLine + (this.measured !== null && !sameField(this.measured, card) ? earlierCard : '');
    const shown = byId('lab-run-line');
    if (shown.textContent !== line) shown.textContent = line;
  }

  private describeField(card: CardField): void {
    const line = byId('lab-field');
    const refused = !card.fromFile && this.refusal.text !== '';
    // Unchanged, it is left alone: the game presents at every tick.
    const said = [cardLine(card), refused ? this.refusal.text : ''].join('\n');
    if (line.dataset.said === said) return;
    line.dataset.said = said;
    line.textContent = cardLine(card);
    if (!refused) return;
    const refusal = document.createElement('span');
    showIsolated(refusal, this.refusal.text, this.refusal.name);
    line.append(' The horse file was refused: ', refusal);
  }

  private submit(following = false): void {
    if (this.current !== null) return;  // Run is greyed while a run goes
    const text = byId<HTMLInputElement>('lab-seed').value.trim();
    const seed = text === '' ? newSeed(this.facts.seedLimit) : parseSeed(text, this.facts.seedLimit);
    if (seed === null) {
      this.status(`The seed is a whole number below ${grouped(this.facts.seedLimit)}, or empty for a new one.`);
      return;
    }
    // As many as the cores, at most as many as the lab counts for (lab_pool.ts).
    const workers = Math.max(1, navigator.hardwareConcurrency || 1);
    this.runFromPanel({ seed, races: Number(byId<HTMLSelectElement>('lab-races').value), workers }, following).catch(() => {});
  }

  cancel(): void {
    this.current?.stop('cancelled');
  }

  private status(text: string): void {
    byId('lab-status').textContent = text;
  }

  private setRunning(running: boolean): void {
    // Run and Cancel keep the focus: greyed, never disabled.
    byId('lab-run').setAttribute('aria-disabled', String(running));
    byId('lab-cancel').setAttribute('aria-disabled', String(!running));
    byId('lab-races').setAttribute('aria-disabled', String(running));
    byId<HTMLInputElement>('lab-seed').readOnly = running;
  }

  private progress(done: number, races: number): void {
    const bar = byId<HTMLProgressElement>('lab-progress');
    bar.max = races;
    bar.value = done;
    const now = performance.now();
    if (now - this.lastTold < quietMs || done === races) return;
    this.lastTold = now;
    const seconds = (now - this.started) / 1000;
    const left = done > 0 ? Math.ceil(seconds * (races - done) / done) : 0;
    this.status(`${grouped(done)} of ${grouped(races)} races, about ${left} s left`);
  }

  async runFromPanel(settings: LabSettings, following = false): Promise<LabResult> {
    this.build();
    if (this.current !== null) throw new Error('the lab is already running');
    const { seed, races, workers } = settings;
    const whole = (n: number, low: number, high: number): boolean => Number.isSafeInteger(n) && n >= low && n <= high;
    if (!whole(seed, 0, this.facts.seedLimit - 1) || !whole(races, 1, this.facts.labMaxRaces) || !whole(workers, 1, Number.MAX_SAFE_INTEGER)) {
      throw new Error(`a seed below ${this.facts.seedLimit}, 1 to ${grouped(this.facts.labMaxRaces)} races and at least 1 worker`);
    }
    this.beginShowing(settings, following);
    const card = this.card();  // the card at the press of Run
    const run = new LabRun(settings, { records: card.records, words: cardSource(card) }, { loadText: loadWorkerText, pool, now: () => performance.now(),
                                              progress: (done, all) => this.progress(done, all), refusal: workerRefusal });
    this.current = run;
    try {
      const result = await run.result;
      this.show(result, card);
      this.status(`Done: ${grouped(races)} races in ${result.seconds.toFixed(1)} s.`);
      chances.tell({ json: result.json, card });
      return result;
    } catch (error) {
      this.stoppedShort(error as Error, races);
      throw error;
    } finally {
      this.current = null;
      this.setRunning(false);
      this.cardMayHaveChanged();  // a board that came while it ran
    }
  }

  // Nothing of an earlier run stays up while this one goes.
  private beginShowing({ races, workers }: LabSettings, following: boolean): void {
    byId('lab-figures').hidden = true;
    this.status(`${following ? 'The board brought a new race card: running' : 'Running'} ${grouped(races)} races on ${workers} workers…`);
    const bar = byId<HTMLProgressElement>('lab-progress');
    bar.max = races;
    bar.value = 0;
    this.started = this.lastTold = performance.now();
    this.setRunning(true);
    this.measured = null;
    this.describeField(this.card());
  }

  private stoppedShort(error: Error, races: number): void {
    byId('lab-figures').hidden = true;
    const done = byId<HTMLProgressElement>('lab-progress').value;
    this.status(error.message === 'cancelled'
      ? `Cancelled after ${grouped(done)} of ${grouped(races)} races: no figures.`
      : `The run stopped short (${error.message}): no figures.`);
  }

  // The figures: the charts as the C++ drew them, the tables cell for cell.
  private show(result: LabResult, raced: CardField): void {
    const report = JSON.parse(result.json) as { races: number; field: string; seed_text: string };
    const tables = JSON.parse(result.tables) as TablesJson;
    byId('lab-chart').replaceChildren(readSvg(result.svg));
    byId('lab-chart-narrow').replaceChildren(readSvg(result.svgNarrow));
    fillTable(byId<HTMLTableElement>('lab-horses'), tables.horses);
    fillTable(byId<HTMLTableElement>('lab-pairs'), tables.quinella);
    this.runLine = `${grouped(report.races)} races of ${report.field}, ` +
      `seed ${report.seed_text} (give it as the seed to run them again); ` +
      `${result.workers} workers, ${result.seconds.toFixed(1)} s.`;
    this.measured = raced;
    this.showRunLine(this.card());
    byId('lab-time').textContent = `Winner's time on the board: ${tables.winner_time}`;
    byId('lab-figures').hidden = false;
  }
}
