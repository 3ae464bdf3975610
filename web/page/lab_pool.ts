// The lab's workers: one run of the field in the window, many times over,
// with trotix-sim's own code in WebAssembly (web/lab/), spread over Web
// Workers. The page hands out the races in numbered blocks, as trotix-sim
// hands them to its threads, so the counts do not depend on how many
// workers there are; each worker holds two blocks, so it never waits for
// the next. The first worker starts racing at once and says how many
// workers the lab can count for; the others, up to that many, join it. When
// every block is done, every worker's tally goes to the first, which adds
// them up and writes the figures.
import type { LabAnswer, LabFigures, LabOrder } from '../lab/lab_messages';

export interface LabSettings {
  seed: number;
  races: number;
  workers: number;
}
export interface LabResult extends LabFigures {
  seconds: number;
  workers: number;
}

// A worker as the run uses it; in the page, a Web Worker.
export interface LabWorker {
  onmessage: ((event: { data: LabAnswer }) => void) | null;
  onerror: ((event: { message: string; preventDefault(): void }) => void) | null;
  postMessage(order: LabOrder): void;
  terminate(): void;
}

export interface LabDeps {
  loadText(): Promise<string>;  // the workers' script
  makeWorkers(text: string, count: number): { workers: LabWorker[]; release(): void };
  now(): number;                // ms
  progress(done: number, races: number): void;
  refusal?(): string;           // why a worker failed with no message of its own
}

export const pipelined = 2;  // blocks a worker holds

export class LabRun {
  readonly result: Promise<LabResult>;
  private pool: LabWorker[] = [];
  private text = '';
  private releases: (() => void)[] = [];
  private blocks = -1;
  private next = 0;
  private answered = 0;
  private done = 0;
  private tallies: Uint8Array[] = [];
  private started = 0;
  private raced = 0;
  private stopped = false;
  private settle: { resolve(result: LabResult): void; reject(error: Error): void } = { resolve: () => {}, reject: () => {} };

  constructor(private readonly settings: LabSettings, private readonly field: { records: number[]; words: string },
              private readonly deps: LabDeps) {
    this.result = new Promise((resolve, reject) => { this.settle = { resolve, reject }; });
    void this.begin();
  }

  // Stops the run at once, its workers gone; the result rejects with `why`.
  stop(why: string): void {
    if (this.stopped) return;
    this.finish();
    this.settle.reject(new Error(why));
  }

  private async begin(): Promise<void> {
    let text: string;
    try {
      text = await this.deps.loadText();
    } catch (error) {
      this.stop((error as Error).message);
      return;
    }
    if (this.stopped) return;  // cancelled while the script was loading
    this.text = text;
    this.started = this.deps.now();
    this.add(1);
  }

  // `count` more workers, each told to begin.
  private add(count: number): void {
    let made: ReturnType<LabDeps['makeWorkers']>;
    try {
      made = this.deps.makeWorkers(this.text, count);
    } catch (error) {
      this.stop(`no worker could be started: ${(error as Error).message}`);
      return;
    }
    this.releases.push(made.release);
    const { seed, races } = this.settings;
    for (const worker of made.workers) {
      this.pool.push(worker);
      worker.onmessage = (event) => this.answer(worker, event.data);
      worker.onerror = (event) => {
        event.preventDefault();
        // An error without a message: the worker's script never ran.
        this.stop(`a worker failed: ${event.message ?? this.deps.refusal?.() ?? 'its script could not start'}`);
      };
      worker.postMessage({ type: 'begin', seed, races, field: this.field.records });
    }
  }

  private finish(): void {
    this.stopped = true;
    for (const worker of this.pool) worker.terminate();
    for (const release of this.releases) release();
  }

  private handOut(worker: LabWorker): void {
    if (this.next < this.blocks) worker.postMessage({ type: 'block', block: this.next++ });
  }

  private report(): void {
    this.raced = (this.deps.now() - this.started) / 1000;
    this.pool[0].postMessage({ type: 'report', tallies: this.tallies, field: this.field.words,
                               workers: this.pool.length, seconds: this.raced });
  }

  private answer(worker: LabWorker, message: LabAnswer): void {
    if (this.stopped) return;
    switch (message.type) {
      case 'ready':
        this.blocks = message.blocks;
        if (worker === this.pool[0]) this.add(Math.max(0, Math.min(this.settings.workers, message.maxWorkers) - 1));
        for (let i = 0; i < pipelined; ++i) this.handOut(worker);
        break;
      case 'done':
        this.blockDone(worker, message.races);
        break;
      case 'tally':
        this.tallies.push(message.bytes);
        if (this.tallies.length === this.pool.length - 1) this.report();
        break;
      case 'report': {
        this.finish();
        const { json, tables, svg, svgNarrow } = message;
        this.settle.resolve({ json, tables, svg, svgNarrow, seconds: this.raced, workers: this.pool.length });
        break;
      }
      default:
        this.stop(`a worker failed: ${message.message}`);
    }
  }

  private blockDone(worker: LabWorker, races: number): void {
    this.done += races;
    this.answered += 1;
    this.deps.progress(this.done, this.settings.races);
    this.handOut(worker);
    if (this.answered !== this.blocks) return;
    // Every worker's tally goes to the first, which adds them up.
    if (this.pool.length === 1) this.report();
    for (const other of this.pool.slice(1)) other.postMessage({ type: 'tally' });
  }
}
