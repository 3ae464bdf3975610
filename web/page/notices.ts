// The game's lines about the horse file, for whoever listens: the controls
// show them, the lab says why its field is random. The game says how many
// characters of a line are the file's name, which the line begins with: the
// name as the game has it, which may differ from the one handed in (a lone
// surrogate comes back as U+FFFD), so it is never looked for by matching.
type Listener = (notice: string, name: string) => void;
const listeners: Listener[] = [];

export function onNotice(listener: Listener): void {
  listeners.push(listener);
}
export function tellNotice(notice: string, nameLength: number): void {
  const name = notice.slice(0, nameLength);
  for (const listener of listeners) listener(notice, name);
}
