// The page's own controls around the game's window, in the page's words:
// Run, Field, Horse file…, Forget and Help, the distance for screen readers,
// the spoken lines of the race, and the lines that tell the player about
// the horse file, a test mode or a page that cannot run. What they show is
// asked of the game after every handler (refresh); what they do is the
// game's own handlers, wired by input.ts and horse_file.ts.
import { fit } from './layout';
import { byId } from './page_elements';
import { contained, showIsolated } from './page_lines';

// The window's state as the controls show it.
export interface WindowState {
  runEnabled(): boolean;
  listingOffered(): boolean;
  distanceLeft(): number;  // metres, as the bar's caption says it
  boardText(): string;
  fileWaits(): boolean;  // the horse file chosen last waits for the next Run
}

export const run = byId<HTMLButtonElement>('run');
export const field = byId<HTMLButtonElement>('field');
export const forgetButton = byId<HTMLButtonElement>('forget-file');
export const chooseButton = byId<HTMLButtonElement>('choose-file');
const help = byId<HTMLDialogElement>('help');

// A control that cannot act now stays in the tab order, so pressing Run
// does not throw the keyboard's focus back to the top of the page.
export function enable(button: HTMLElement, on: boolean): void {
  button.setAttribute('aria-disabled', on ? 'false' : 'true');
}
export const enabled = (button: HTMLElement): boolean => button.getAttribute('aria-disabled') !== 'true';

const pictureNames = {
  start: 'Trotix, the race window: the field at the start, the distance bar and the Run button',
  racing: 'Trotix, the race window: the race under way, the distance bar and the greyed Run button',
  board: 'Trotix, the race window: the result board, read out below, and the Run button',
};

// The distance bar's full length, once the game has said it.
export function showDistanceOf(metres: number): void {
  byId('distance').setAttribute('aria-valuemax', String(metres));
}

// After every handler: the buttons, the distance, the picture's name and
// the horse file's line as the game has them now.
export function refresh(game: WindowState): void {
  const runEnabled = game.runEnabled();
  enable(run, runEnabled);
  enable(field, game.listingOffered());
  const metres = game.distanceLeft();
  const distance = byId('distance');
  distance.setAttribute('aria-valuenow', String(metres));
  distance.setAttribute('aria-valuetext', `${metres} m to run`);
  const board = game.boardText() !== '';
  byId('window').setAttribute('aria-label', pictureNames[board ? 'board' : runEnabled ? 'start' : 'racing']);
  byId('field-file-when').textContent = game.fileWaits() ? ' (from the next race)' : '';
}

// What the game says to a player who listens (the start, the distance, the
// finish, the board), read out by the polite live region, each line once.
export function announce(text: string): void {
  byId('spoken').textContent = text;
}

// The horse file in use, by name; refresh says whether it waits.
export function showChosen(name: string): void {
  byId('field-file-name').textContent = contained(name);
  byId('field-file-line').hidden = name === '';
  forgetButton.hidden = name === '';
  fit();
}

// The game's line about a file, with the file's name isolated, so that no
// character of a name can turn the game's words around.
export function showNotice(text: string, name: string): void {
  showIsolated(byId('field-file-notice-text'), text, name);
  byId('field-file-notice').hidden = text === '';
  fit();
}

export function openHelp(): void {
  if (!help.open) help.showModal();
}
export const helpOpen = (): boolean => help.open;

// One visible line when the page cannot run the game.
export function showTrouble(text: string): void {
  byId('loading').hidden = true;
  byId('window').hidden = true;
  const line = byId('trouble');
  line.textContent = text;
  line.hidden = false;
}

export function showReady(testMode: boolean): void {
  byId('loading').hidden = true;
  byId('test-mode').hidden = !testMode;
  byId('panel').hidden = false;
  fit();
}

export function wireControls(): void {
  byId('dismiss-notice').addEventListener('click', () => {
    showNotice('', '');
    chooseButton.focus();
  });
  byId('help-button').addEventListener('click', openHelp);
}
