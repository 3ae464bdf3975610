// The game's lines about the horse file, for whoever listens: the controls
// show them, the lab says why its field is random. Each comes with the name
// of the file handed to the game last, which the line may begin with.
type Listener = (notice: string, name: string) => void;
const listeners: Listener[] = [];
let handedIn = '';

export function aboutFile(name: string): void {
  handedIn = name;
}

export function onNotice(listener: Listener): void {
  listeners.push(listener);
}
export function tellNotice(notice: string): void {
  for (const listener of listeners) listener(notice, handedIn);
}
