// The horse data file: its first bytes go to the game, which reads them as
// the desktop reads the file beside it. A file the game takes is kept in the
// browser's storage with its name and read again on the next visit; a
// refused one, or Forget, leaves nothing kept. A file that comes while a box
// is open, or before the game has loaded, waits for the game and is taken
// then: the last one chosen wins.
import * as controls from './controls';
import type { GameExports, PageFacts } from './game_module';
import { forget, keep, keptElsewhere, pageStorage, readKept } from './kept_file';
import { onNotice } from './notices';
import { byId } from './page_elements';
import { isolate, say } from './page_lines';

interface Chosen {
  file: File;
  folder: boolean;
}

export class HorseFiles {
  private waiting: Chosen | null = null;
  private keptLine: HTMLElement | null = null;  // what another tab last made of the kept file

  // refresh: the controls follow the game, which presents nothing when a
  // file waits for the next Run.
  constructor(private readonly game: GameExports, private readonly facts: PageFacts,
              private readonly playing: () => boolean, private readonly refresh: () => void) {
    onNotice((text, name) => controls.showNotice(text, name));
  }

  // The name and the bytes handed to the game; the name's length in bytes.
  private handIn(name: string, bytes: Uint8Array): number {
    const nameBytes = new TextEncoder().encode(name);
    const room = this.game._trotix_field_file_room(nameBytes.length, bytes.length);
    this.game.HEAPU8.set(nameBytes, room);
    this.game.HEAPU8.set(bytes, room + nameBytes.length);
    return nameBytes.length;
  }

  private open(name: string, bytes: Uint8Array): boolean {
    const taken = this.game._trotix_open_field_file(this.handIn(name, bytes));
    const { refused } = this.facts.fileTaken;
    controls.showChosen(taken === refused ? '' : name);
    this.refresh();
    return taken !== refused;
  }

  private refuseFolder(name: string): void {
    this.game._trotix_refuse_field_folder(this.handIn(name, new Uint8Array(0)));
    controls.showChosen('');
    this.refresh();
    forget(pageStorage());
  }

  // The file kept from the last visit, before the game's first race.
  openKept(): void {
    const kept = readKept(pageStorage(), this.game._trotix_field_file_bytes(), say);
    if (kept !== null && !this.open(kept.name, kept.bytes)) forget(pageStorage());
  }

  async choose(file: File | undefined, folder: boolean): Promise<void> {
    if (file === undefined) return;
    if (!this.playing()) {
      this.waiting = { file, folder };
      return;
    }
    if (folder) {
      this.refuseFolder(file.name);
      return;
    }
    let bytes: Uint8Array;
    try {
      bytes = new Uint8Array(await file.slice(0, this.game._trotix_field_file_bytes()).arrayBuffer());
    } catch (error) {
      this.refuseFolder(file.name);  // what the file control gives for a folder cannot be read
      return;
    }
    if (!this.playing()) {  // a box opened while the file was read
      this.waiting = { file, folder };
      return;
    }
    if (this.open(file.name, bytes)) keep(pageStorage(), file.name, bytes, say, isolate);
    else forget(pageStorage());
  }

  takeWaiting(): void {
    if (this.waiting === null || !this.playing()) return;
    const { file, folder } = this.waiting;
    this.waiting = null;
    void this.choose(file, folder);
  }

  forget(): void {
    this.game._trotix_forget_field_file();
    forget(pageStorage());
    controls.showChosen('');
    this.refresh();
    controls.showNotice('', '');
    controls.chooseButton.focus();
  }

  // The file control, Forget, and a file dropped anywhere on the page.
  wire(): void {
    const input = byId<HTMLInputElement>('field-file');
    controls.chooseButton.addEventListener('click', () => input.click());
    input.addEventListener('change', () => {
      void this.choose(input.files?.[0], false);
      input.value = '';  // the same file chosen again is read again
    });
    controls.forgetButton.addEventListener('click', () => this.forget());
    addEventListener('dragover', (event) => event.preventDefault());
    addEventListener('drop', (event) => {
      event.preventDefault();
      // Whether it is a folder can be asked only while the drop is handled.
      const item = event.dataTransfer?.items[0];
      const entry = item?.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
      void this.choose(event.dataTransfer?.files[0], entry !== null && entry.isDirectory);
    });
    for (const box of ['listing', 'help']) byId(box).addEventListener('close', () => this.takeWaiting());
    // Another tab's choice or Forget changes what the next visit gets.
    addEventListener('storage', (event) => {
      const line = keptElsewhere(event.key, event.newValue, this.game._trotix_field_file_bytes(), isolate);
      if (line === null) return;
      this.keptLine?.remove();
      this.keptLine = say(line);
    });
  }
}
