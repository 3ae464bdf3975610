// One worker of the page's lab. lab.js makes it from a Blob of the lab's
// WebAssembly module (TrotixLab, from lab_main.cpp) followed by this text.
// Messages are handled one at a time, in the order they came:
//   {type: 'begin', seed, races, field}  ->  {type: 'ready', blocks}
//   {type: 'block', block}               ->  {type: 'done', block, races}
//   {type: 'tally'}                      ->  {type: 'tally', bytes}
//   {type: 'report', tallies, field, workers, seconds}
//                                        ->  {type: 'report', json, tables, svg}
// `field` in 'begin' is the 18 numbers of trotix_lab_field: six speeds, six
// staminas, six styles. A failure answers {type: 'error', message}.
'use strict';
const trotixLab = TrotixLab();
let queue = Promise.resolve();

function handle(lab, message) {
  switch (message.type) {
    case 'begin':
      lab.HEAPF64.set(message.field, lab._trotix_lab_field() / 8);
      return { type: 'ready', blocks: lab._trotix_lab_begin(message.seed, message.races) };
    case 'block':
      return { type: 'done', block: message.block, races: lab._trotix_lab_run_block(message.block) };
    case 'tally': {
      const at = lab._trotix_lab_tally();
      return { type: 'tally', bytes: lab.HEAPU8.slice(at, at + lab._trotix_lab_tally_bytes()) };
    }
    case 'report':
      for (const bytes of message.tallies) {
        lab.HEAPU8.set(bytes, lab._trotix_lab_tally_room());
        lab._trotix_lab_add_tally();
      }
      return {
        type: 'report',
        json: lab.ccall('trotix_lab_json', 'string', ['string', 'number', 'number'],
                        [message.field, message.workers, message.seconds]),
        tables: lab.ccall('trotix_lab_tables', 'string', [], []),
        svg: lab.ccall('trotix_lab_chart', 'string', [], []),
      };
    default:
      throw new Error(`the lab's worker got an unknown message: ${message.type}`);
  }
}

self.onmessage = (event) => {
  queue = queue.then(() => trotixLab).then((lab) => {
    const answer = handle(lab, event.data);
    self.postMessage(answer, answer.type === 'tally' ? [answer.bytes.buffer] : []);
  }).catch((error) => {
    self.postMessage({ type: 'error', message: String((error && error.message) || error) });
  });
};
