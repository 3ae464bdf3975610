// The game's WebAssembly module (web/web_main.cpp) as the page sees it: the
// main window's handlers and state it exports, and the page's functions it
// imports (web/page_imports.js calls them as Module.page). Pointers are byte
// offsets into HEAPU8; texts cross as NUL-ended UTF-8.

// What the C++ calls on the page.
export interface PageImports {
  clockSeconds(): number;
  startTimer(intervalMs: number): void;
  stopTimer(): void;
  present(heap: Uint8Array, pixels: number, width: number, height: number, stride: number): void;
  showListing(title: string, text: string): void;
  // The notice and how many of its characters are the file's name.
  showNotice(notice: string, nameLength: number): void;
  // A line for screen readers: the start, the distance, the finish, the board.
  announce(text: string): void;
  // F6: the tickets' panel opens, or closes when open.
  toggleTickets(): void;
  // Milliseconds since 1970 on the local clock, for the ledger's dates.
  localMs(): number;
}

export interface GameExports {
  HEAPU8: Uint8Array;
  HEAPF64: Float64Array;
  _trotix_page_facts(): number;
  _trotix_load(seed: number): void;
  _trotix_timer(): void;
  _trotix_key_up(keyCode: number): void;
  _trotix_click(x: number, y: number): void;
  _trotix_run(): void;
  _trotix_listing_offered(): number;
  _trotix_distance(): number;
  _trotix_distance_left(): number;
  _trotix_bar_colour(): number;
  _trotix_board_text(): number;
  _trotix_field_file_bytes(): number;
  _trotix_field_file_room(nameBytes: number, contentBytes: number): number;
  _trotix_open_field_file(nameBytes: number): number;
  _trotix_field_file_waits_for_run(): number;
  _trotix_forget_field_file(): void;
  _trotix_refuse_field_folder(nameBytes: number): void;
  _trotix_card_field(): number;
  _trotix_phase(): number;
  _trotix_ticks(): number;
  _trotix_run_enabled(): number;
  // The tickets (texts as pointers to NUL-ended UTF-8; texts handed in go
  // into the room of _trotix_field_file_room first).
  _trotix_tickets_card(): number;
  _trotix_tickets_state(): number;
  _trotix_tickets_buy(quinella: number, first: number, second: number, stakeBytes: number): number;
  _trotix_tickets_take_back(index: number): number;
  _trotix_tickets_refill(): number;
  _trotix_tickets_ledger(): number;
  _trotix_tickets_ledger_changes(): number;
  _trotix_tickets_restore(bytes: number): number;
  _trotix_tickets_csv(): number;
  _trotix_tickets_purse_chart(narrow: number): number;
  _trotix_tickets_chances_room(): number;
  _trotix_tickets_take_chances(): number;
}

// What the page hands the module's factory (TrotixGame, from trotix.js).
export interface GameSettings {
  page: PageImports;
  onAbort(): void;
}
export type GameFactory = (settings: GameSettings) => Promise<GameExports>;

// The facts of the game that the page must not write again (trotix_page_facts).
export interface PageFacts {
  keys: { run: number; field: number; tickets: number };  // the key codes of F5, F7 and F6
  fileTaken: { refused: number; setUpNow: number; nextRace: number };
  fieldValues: number;  // how many numbers trotix_card_field() points at
  raceMetres: number;   // the distance bar's full length
  seedLimit: number;    // seeds are whole numbers below this
  labMaxRaces: number;  // the most races one run of the lab takes
  tickets: {
    kinds: [string, string];  // the names of a win and a quinella ticket
    horses: number;           // the horses a ticket may name, 1 to this
    stakeStep: number;        // stakes go in steps of this
    ledgerMaxBytes: number;   // the largest ledger kept
    chancesNumbers: number;   // the numbers of the lab's chances for a card (card_chances.ts)
    csvName: string;          // the name an exported ledger is offered under
  };
}

// A NUL-ended UTF-8 text in the module's memory.
export function cString(heap: Uint8Array, pointer: number): string {
  const end = heap.indexOf(0, pointer);
  return new TextDecoder().decode(heap.subarray(pointer, end));
}

// A text handed to the game: written into the room as UTF-8; its length in bytes.
export function handIn(game: GameExports, text: string): number {
  const bytes = new TextEncoder().encode(text);
  const room = game._trotix_field_file_room(bytes.length, 0);  // may grow the memory: HEAPU8 after it
  game.HEAPU8.set(bytes, room);
  return bytes.length;
}

export function readFacts(game: GameExports): PageFacts {
  return JSON.parse(cString(game.HEAPU8, game._trotix_page_facts())) as PageFacts;
}
