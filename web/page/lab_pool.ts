// The lab's workers: one run of the field in the window, many times over,
// with trotix-sim's own code in WebAssembly (web/lab/), spread over Web
// Workers. The page hands out the races in numbered blocks, as trotix-sim
// hands them to its threads, so the counts do not depend on how many
// workers there are; each worker holds two blocks, so it never waits for
// the next. The first worker starts racing at once and says how many
// workers the lab can count for; the others, up to that many, join it. When
// every block is done, every worker's tally goes to the first, which adds
// them up and writes the figures.
//
// The workers outlive the run: a worker that compiled the lab's module and
// raced a few blocks runs its races as fast as the browser can make them,
// which a fresh one does only after some 20 to 50 ms a block. The page keeps
// one WorkerPool while it lives; a finished run gives its workers back to
// it, a stopped run (Cancel, a fault) ends its own, whose answers to the
// run could still be on their way, and the next run makes new ones.
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

// The workers the page keeps between runs, made when a run first wants them.
export class WorkerPool {
  private readonly idle: LabWorker[] = [];

  constructor(private readonly make: (text: string, count: number) => LabWorker[]) {}

  get kept(): number {
    return this.idle.length;
  }

  // `count` workers, the kept ones first; making one may throw.
  take(text: string, count: number): LabWorker[] {
    const taken = this.idle.splice(0, count);
    try {
      if (taken.length < count) taken.push(...this.make(text, count - taken.length));
    } catch (error) {
      this.idle.push(...taken);
      throw error;
    }
    return taken;
  }

  // A worker the run is done with, waiting for the next; one that fails
  // while it waits is ended and left out.
  giveBack(worker: LabWorker): void {
    worker.onmessage = null;
    worker.onerror = (event) => {
      event.preventDefault();
      this.end(worker);
    };
    this.idle.push(worker);
  }

  end(worker: LabWorker): void {
    worker.onmessage = worker.onerror = null;
    worker.terminate();
    const at = this.idle.indexOf(worker);
    if (at >= 0) this.idle.splice(at, 1);
  }
}

export interface LabDeps {
  loadText(): Promise<string>;  // the workers' script
  pool: WorkerPool;
  now(): number;                // ms
  progress(done: number, races: number): void;
  refusal?(): string;           // why a worker failed with no message of its own
}

export const pipelined = 2;  // blocks a worker holds

export class LabRun {
  readonly result: Promise<LabResult>;
  private crew: LabWorker[] = [];  // the run's workers, the first adding up
  private text = '';
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

  // Stops the run at once, its workers ended; the result rejects with `why`.
  stop(why: string): void {
    if (this.stopped) return;
    this.stopped = true;
    for (const worker of this.crew) this.deps.pool.end(worker);
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
    let made: LabWorker[];
    try {
      made = this.deps.pool.take(this.text, count);
    } catch (error) {
      this.stop(`no worker could be started: ${(error as Error).message}`);
      return;
    }
    const { seed, races } = this.settings;
    for (const worker of made) {
      this.crew.push(worker);
      worker.onmessage = (event) => this.answer(worker, event.data);
      worker.onerror = (event) => {
        event.preventDefault();
        // An error without a message: the worker's script never ran.
        this.stop(`a worker failed: ${event.message ?? this.deps.refusal?.() ?? 'its script could not start'}`);
      };
      worker.postMessage({ type: 'begin', seed, races, field: this.field.records });
    }
  }

  private handOut(worker: LabWorker): void {
    if (this.next < this.blocks) worker.postMessage({ type: 'block', block: this.next++ });
  }

  private report(): void {
    this.raced = (this.deps.now() - this.started) / 1000;
    this.crew[0].postMessage({ type: 'report', tallies: this.tallies, field: this.field.words,
                               workers: this.crew.length, seconds: this.raced });
  }

  private answer(worker: LabWorker, message: LabAnswer): void {
    if (this.stopped) return;
    switch (message.type) {
      case 'ready':
        this.blocks = message.blocks;
        if (worker === this.crew[0]) this.add(Math.max(0, Math.min(this.settings.workers, message.maxWorkers) - 1));
        for (let i = 0; i < pipelined; ++i) this.handOut(worker);
        break;
      case 'done':
        this.blockDone(worker, message.races);
        break;
      case 'tally':
        this.tallies.push(message.bytes);
        if (this.tallies.length === this.crew.length - 1) this.report();
        break;
      case 'report': {
        this.stopped = true;
        for (const kept of this.crew) this.deps.pool.giveBack(kept);
        const { json, tables, svg, svgNarrow } = message;
        this.settle.resolve({ json, tables, svg, svgNarrow, seconds: this.raced, workers: this.crew.length });
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
    if (this.crew.length === 1) this.report();
    for (const other of this.crew.slice(1)) other.postMessage({ type: 'tally' });
  }
}
