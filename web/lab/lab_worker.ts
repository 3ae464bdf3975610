// One worker of the page's lab. The page makes it from a Blob of the lab's
// WebAssembly module (TrotixLab, from lab_main.cpp) followed by this
// script, bundled; lab_messages.ts says what it is told and answers.
import type { LabAnswer, LabModule, LabOrder } from './lab_messages';

declare const TrotixLab: () => Promise<LabModule>;
// The worker's own scope, as much of it as this script uses.
declare const self: {
  onmessage: ((event: { data: LabOrder }) => void) | null;
  postMessage(message: LabAnswer, transfer: Transferable[]): void;
};

const trotixLab = TrotixLab();
let queue: Promise<void> = Promise.resolve();

function report(lab: LabModule, order: Extract<LabOrder, { type: 'report' }>): LabAnswer {
  for (const bytes of order.tallies) {
    lab.HEAPU8.set(bytes, lab._trotix_lab_tally_room());
    lab._trotix_lab_add_tally();
  }
  return {
    type: 'report',
    json: lab.ccall('trotix_lab_json', 'string', ['string', 'number', 'number'], [order.field, order.workers, order.seconds]),
    tables: lab.ccall('trotix_lab_tables', 'string', [], []),
    svg: lab.ccall('trotix_lab_chart', 'string', [], []),
    svgNarrow: lab.ccall('trotix_lab_chart_narrow', 'string', [], []),
  };
}

function handle(lab: LabModule, order: LabOrder): LabAnswer {
  switch (order.type) {
    case 'begin':
      lab.HEAPF64.set(order.field, lab._trotix_lab_field() / Float64Array.BYTES_PER_ELEMENT);
      return { type: 'ready', blocks: lab._trotix_lab_begin(order.seed, order.races), maxWorkers: lab._trotix_lab_max_workers() };
    case 'block':
      return { type: 'done', block: order.block, races: lab._trotix_lab_run_block(order.block) };
    case 'tally': {
      const at = lab._trotix_lab_tally();
      return { type: 'tally', bytes: lab.HEAPU8.slice(at, at + lab._trotix_lab_tally_bytes()) };
    }
    case 'report':
      return report(lab, order);
    default:
      throw new Error(`the lab's worker got an unknown message: ${(order as { type: string }).type}`);
  }
}

self.onmessage = (event) => {
  queue = queue.then(() => trotixLab).then((lab) => {
    const answer = handle(lab, event.data);
    self.postMessage(answer, answer.type === 'tally' ? [answer.bytes.buffer] : []);
  }).catch((error: unknown) => {
    self.postMessage({ type: 'error', message: String((error as Error | undefined)?.message ?? error) }, []);
  });
};
