// The game's lines about the horse file, for whoever listens: the controls
// show them, the lab says why its field is random.
type Listener = (notice: string) => void;
const listeners: Listener[] = [];

export function onNotice(listener: Listener): void {
  listeners.push(listener);
}
export function tellNotice(notice: string): void {
  for (const listener of listeners) listener(notice);
}
