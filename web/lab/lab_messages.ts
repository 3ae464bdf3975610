// What the page and the lab's workers say to each other, and the lab's
// WebAssembly module (web/lab/lab_main.cpp) as a worker sees it. Messages
// are handled one at a time, in the order they came:
//   begin (the seed, the races, the field)  ->  ready (how many blocks, and workers at most)
//   block                                   ->  done (how many races it held)
//   tally                                   ->  tally (this worker's counts as bytes)
//   report (every other worker's tally)     ->  report (the figures, the tables, the charts)
// A failure answers error.

export type LabOrder =
  | { type: 'begin'; seed: number; races: number; field: number[] }
  | { type: 'block'; block: number }
  | { type: 'tally' }
  | { type: 'report'; tallies: Uint8Array[]; field: string; workers: number; seconds: number };

export interface LabFigures {
  json: string;       // as trotix-sim --json writes them
  tables: string;     // the terminal report's tables, cell for cell
  svg: string;        // the chart, as trotix-sim --svg draws it
  svgNarrow: string;  // the chart for a phone's width
}

export type LabAnswer =
  | { type: 'ready'; blocks: number; maxWorkers: number }
  | { type: 'done'; block: number; races: number }
  | { type: 'tally'; bytes: Uint8Array }
  | ({ type: 'report' } & LabFigures)
  | { type: 'error'; message: string };

// The lab module's exports. The texts come through ccall as strings.
export interface LabModule {
  HEAPU8: Uint8Array;
  HEAPF64: Float64Array;
  _trotix_lab_field(): number;
  _trotix_lab_begin(seed: number, races: number): number;
  _trotix_lab_max_workers: () => number;  // the most workers whose tallies the lab adds up
  _trotix_lab_run_block(block: number): number;
  _trotix_lab_tally(): number;
  _trotix_lab_tally_bytes(): number;
  _trotix_lab_tally_room(): number;
  _trotix_lab_add_tally(): void;
  ccall(name: 'trotix_lab_json', returns: 'string', types: ['string', 'number', 'number'],
        args: [string, number, number]): string;
  ccall(name: 'trotix_lab_tables' | 'trotix_lab_chart' | 'trotix_lab_chart_narrow', returns: 'string',
        types: [], args: []): string;
}
