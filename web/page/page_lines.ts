// The page's own lines about itself (a kept file dropped or not kept, a
// page the browser paused or discarded), one visible line each, under the
// controls below or beside the game's window, never over it; the game's own
// notices are the controls' (controls.ts).
import { fit } from './layout';
import { byId } from './page_elements';

export function say(text: string): HTMLElement {
  const lines = byId('page-lines');
  const line = document.createElement('p');
  line.textContent = text;
  lines.append(line);
  lines.hidden = false;
  fit();  // the panel grew
  return line;
}

// A name from outside (a file's) as it may be shown inside an isolate (a
// <bdi>, or isolate()'s marks): without the marks that would end the
// isolate early, a pop of an isolate the name never opened. Its own
// embeddings, overrides and isolates end with the isolate around it.
export function contained(name: string): string {
  let open = 0;  // isolates the name opened and has not closed
  return Array.from(name, (mark) => {
    if (mark >= '\u2066' && mark <= '\u2068') ++open;
    if (mark !== '\u2069') return mark;
    if (open === 0) return '';
    --open;
    return mark;
  }).join('');
}

// A name from outside (a file's) isolated from the words around it, so that
// a right-to-left mark in it cannot turn the line around.
export const isolate = (name: string): string => `\u2068${contained(name)}\u2069`;

// A line that begins with a name from outside, into `element`: the name in
// a <bdi>, the rest as it is.
export function showIsolated(element: HTMLElement, text: string, name: string): void {
  if (name === '' || !text.startsWith(name)) {
    element.textContent = text;
    return;
  }
  const isolated = document.createElement('bdi');
  isolated.textContent = contained(name);
  element.replaceChildren(isolated, text.slice(name.length));
}
