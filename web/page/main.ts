// The page around the game: it shows the window's picture in the canvas,
// passes keys, clicks, the page's controls and horse data files in, runs the
// race timer, reads the clock, shows the F7 listing and remembers the chosen
// horse file. Every rule of the game and every text it shows are in the C++
// (web/web_main.cpp, web/front_end.cpp and the race code), and so is every
// number the page needs of it (PageFacts). This module loads the game and
// wires the others to it: the controls (controls.ts) in their places
// (layout.ts), the keys and clicks (input.ts), the horse file
// (horse_file.ts), the race's time (race_time.ts), the lab (lab_panel.ts),
// the tickets and their ledger (tickets_panel.ts).
//
// Test hook: ?seed=N fixes the random seed, and ?clock=scripted stops time:
// the clock reads 10:00 (36000 s since midnight, where the native frame
// dumps start theirs) and moves only by trotixTest.advance(ms), which runs
// the tick if one is due. Either ?clock=scripted or ?test makes trotixTest.
import * as controls from './controls';
import { type GameExports, type GameFactory, type PageFacts, type PageImports, cString, readFacts } from './game_module';
import { HorseFiles } from './horse_file';
import { watchHostPolicy } from './host_policy';
import { listingOpen, showListing, wireInput } from './input';
import { type Lab, onChances, openLab } from './lab_panel';
import { fit, watchLayout } from './layout';
import { watchLifecycle } from './lifecycle';
import { tellNotice } from './notices';
import { offerOffline } from './offline';
import { byId } from './page_elements';
import { say } from './page_lines';
import { raceClock, raceTimer } from './race_time';
import { newSeed, parseSeed } from './seed';
import { installTestHook } from './test_hook';
import { TicketsPanel } from './tickets_panel';
import { canRunWebAssembly, webAssemblyForbidden } from './webassembly_check';

const params = new URLSearchParams(location.search);
const scripted = params.get('clock') === 'scripted';
const testing = scripted || params.has('test');

const canvas = byId<HTMLCanvasElement>('window');
const context = canvas.getContext('2d') as CanvasRenderingContext2D;
let game: GameExports | null = null;
let tickets: TicketsPanel | null = null;
let lab: Lab | null = null;  // the lab's panel follows the race card
let ready = false;
const playing = (): boolean => ready && !listingOpen() && !controls.helpOpen();

const clock = raceClock(scripted);
const timer = raceTimer(() => game?._trotix_timer(), clock, scripted);

// The picture: the window's bytes are already in canvas order. Every handler
// ends here, so the controls follow the game from here too.
let image: ImageData | null = null;
function present(heap: Uint8Array, pointer: number, width: number, height: number, stride: number): void {
  if (image === null || image.width !== width || image.height !== height) {
    canvas.width = width;
    canvas.height = height;
    image = context.createImageData(width, height);
    fit();
  }
  for (let y = 0; y < height; ++y) {
    const row = pointer + y * stride;
    image.data.set(heap.subarray(row, row + width * 4), y * width * 4);
  }
  context.putImageData(image, 0, 0);
  if (game !== null) refreshControls(game);
  tickets?.refresh();
  if (performance.getEntriesByName('trotix-first-frame').length === 0) performance.mark('trotix-first-frame');
}

function refreshControls(loaded: GameExports): void {
  controls.refresh({
    runEnabled: () => loaded._trotix_run_enabled() !== 0,
    listingOffered: () => loaded._trotix_listing_offered() !== 0,
    distanceLeft: () => loaded._trotix_distance_left(),
    boardText: () => cString(loaded.HEAPU8, loaded._trotix_board_text()),
    fileWaits: () => loaded._trotix_field_file_waits_for_run() !== 0,
  });
  lab?.cardMayHaveChanged();
}

const pageImports: PageImports = {
  clockSeconds: () => clock.seconds(),
  startTimer: (ms) => timer.start(ms),
  stopTimer: () => timer.stop(),
  present,
  showListing,
  showNotice: tellNotice,
  announce: controls.announce,
  toggleTickets: () => tickets?.toggle(!tickets.open),
  localMs: () => Date.now() - new Date().getTimezoneOffset() * 60000,
};

// The game loaded: the kept file first, so that its field is the first one.
function start(loaded: GameExports): void {
  game = loaded;
  const facts: PageFacts = readFacts(loaded);
  controls.showDistanceOf(facts.raceMetres);
  // Both hear the game's notices from the first, a refused kept file's too.
  const files = new HorseFiles(loaded, facts, playing, () => refreshControls(loaded));
  lab = openLab(loaded, facts);
  files.openKept();
  const seed = parseSeed(params.get('seed') ?? '', facts.seedLimit) ?? newSeed(facts.seedLimit, Date.now(), performance.now() % 1);
  loaded._trotix_load(seed);
  tickets = new TicketsPanel(loaded, facts, say);
  tickets.restore();
  const panel = tickets;
  onChances((chances) => panel.takeChances(chances));
  wireInput(loaded, facts, playing);
  files.wire();
  ready = true;
  controls.showReady(scripted);
  canvas.focus();
  files.takeWaiting();
  if (testing) installTestHook({ game: loaded, facts, page: pageImports, timer, lab, tickets, say, showNotice: controls.showNotice });
}

// Loading the game, or one line saying why it cannot run: a browser without
// WebAssembly or its SIMD and bulk memory, a game that fails to load or to start.
function load(): void {
  const stopped = (): void => controls.showTrouble('The game stopped with an error and cannot go on. Load the page again to restart it.');
  if (!canRunWebAssembly()) {
    controls.showTrouble('This browser cannot run Trotix: it needs WebAssembly with SIMD and bulk memory ' +
                         '(Chrome or Edge 91, Firefox 89, Safari 16.4 or later, with WebAssembly turned on).');
    return;
  }
  if (webAssemblyForbidden()) {
    controls.showTrouble("This host forbids WebAssembly, which Trotix needs: its Content-Security-Policy must allow " +
                         "'wasm-unsafe-eval' in script-src. Loading the page again will not help; ask whoever runs the host.");
    return;
  }
  const script = document.createElement('script');
  script.src = 'trotix.js';
  script.onerror = () => controls.showTrouble('The game (trotix.js) could not be loaded. Check the connection, then load the page again.');
  // trotix.js names its factory TrotixGame; the page takes it and no more.
  script.onload = () => {
    const factory = (window as unknown as { TrotixGame?: GameFactory }).TrotixGame;
    if (factory === undefined) return stopped();
    factory({ page: pageImports, onAbort: stopped }).then(start, stopped);
  };
  document.body.append(script);
}

controls.wireControls();
watchLayout();
watchLifecycle(say, () => timer.on);
watchHostPolicy();
offerOffline();
load();
