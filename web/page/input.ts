// The player's keys and clicks. F5, F6 and F7 are the game's wherever the
// focus is: the browser neither reloads, moves its focus to the address bar
// nor turns on caret browsing. They act on
// release, as on the desktop. Ctrl+F5 and Ctrl+R reload as on any page. "?"
// and F1 open the help ("?" not while it is typed into the lab's seed). The
// F7 listing is a modal box; OK, Enter and Escape close it, and while it is
// open the game takes no keys or clicks, as on the desktop.
import * as controls from './controls';
import type { GameExports, PageFacts } from './game_module';
import { byId } from './page_elements';

const listing = byId<HTMLDialogElement>('listing');

export function showListing(title: string, text: string): void {
  byId('listing-title').textContent = title;
  byId('listing-text').textContent = text;
  listing.showModal();
}
export const listingOpen = (): boolean => listing.open;

// The game's key code for a key the game answers, or undefined.
export function gameKey(facts: PageFacts, key: string): number | undefined {
  return key === 'F5' ? facts.keys.run : key === 'F6' ? facts.keys.tickets : key === 'F7' ? facts.keys.field : undefined;
}

function onKeyDown(event: KeyboardEvent, facts: PageFacts, playing: () => boolean): void {
  if (gameKey(facts, event.key) !== undefined && !event.ctrlKey) event.preventDefault();
  // The listing's OK is its default button, wherever the focus is; Escape
  // closes it by itself.
  if (event.key === 'Enter' && listing.open) {
    event.preventDefault();
    listing.close();
  }
  // F1 never opens the browser's own help over the game.
  if (event.key === 'F1') event.preventDefault();
  const typing = event.target instanceof HTMLInputElement || event.target instanceof HTMLSelectElement;
  if ((event.key === 'F1' || (event.key === '?' && !typing)) && playing()) {
    event.preventDefault();
    controls.openHelp();
  }
}

export function wireInput(game: GameExports, facts: PageFacts, playing: () => boolean): void {
  addEventListener('keydown', (event) => onKeyDown(event, facts, playing));
  addEventListener('keyup', (event) => {
    const code = gameKey(facts, event.key);
    if (code === undefined) return;
    event.preventDefault();
    if (playing() && !event.repeat) game._trotix_key_up(code);
  });
  controls.run.addEventListener('click', () => {
    if (playing() && controls.enabled(controls.run)) game._trotix_run();
  });
  controls.field.addEventListener('click', () => {
    if (playing() && controls.enabled(controls.field)) game._trotix_key_up(facts.keys.field);
  });
  // The tickets' button is F6: the game's handler asks the page to open or close them.
  byId('tickets-open').addEventListener('click', () => {
    if (playing()) game._trotix_key_up(facts.keys.tickets);
  });
  const canvas = byId<HTMLCanvasElement>('window');
  canvas.addEventListener('click', (event) => {
    if (!playing()) return;
    const box = canvas.getBoundingClientRect();
    game._trotix_click(Math.floor((event.clientX - box.left) * canvas.width / box.width),
                       Math.floor((event.clientY - box.top) * canvas.height / box.height));
  });
}
