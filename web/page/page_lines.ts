// The page's own lines about itself (a kept file dropped or not kept, a
// page the browser paused or discarded), one visible line each, under the
// controls below or beside the game's window, never over it; the game's own
// notices are the controls' (controls.ts).
import { fit } from './layout';
import { byId } from './page_elements';

export function say(text: string): void {
  const lines = byId('page-lines');
  const line = document.createElement('p');
  line.textContent = text;
  lines.append(line);
  lines.hidden = false;
  fit();  // the panel grew
}

// A name from outside (a file's) isolated from the words around it, so that
// a right-to-left mark in it cannot turn the line around.
export const isolate = (name: string): string => `\u2068${name}\u2069`;
