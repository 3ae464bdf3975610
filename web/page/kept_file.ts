// The horse file the page keeps between visits, in the browser's storage
// for this page: its name and its first bytes as one entry, JSON of
// {name, bytes (base64)}, so that they are kept together or not at all.
//
// Storage is not the page's alone (every file:// page shares Chromium's;
// over http any page of the origin may write it), so whatever is read back
// is checked before it is used: sizes are bounded before anything is
// decoded, and an entry that cannot be read is dropped with one line, the
// field then being random. Nothing stored can stop the game from starting.

export interface KeptFile {
  name: string;
  bytes: Uint8Array;
}
type Say = (text: string) => void;
// The page's storage, or one a test makes.
export type Store = Pick<Storage, 'getItem' | 'setItem' | 'removeItem'>;

const key = 'trotix.horseFile';
// Earlier pages kept the name and the bytes apart, which could disagree.
const oldKeys = ['trotix.horseFile.name', 'trotix.horseFile.bytes'];
export const maxName = 1024;  // characters; no file system's names come near
const base64 = /^[A-Za-z0-9+/]*={0,2}$/;
const unreadable = 'The horse file kept from an earlier visit could not be read and was dropped; the field is random.';

export function pageStorage(): Store | null {
  try {
    return window.localStorage;
  } catch (error) {
    return null;  // storage refused (cookies blocked for this page)
  }
}
function remove(store: Store, names: string[]): void {
  try {
    for (const name of names) store.removeItem(name);
  } catch (error) {
    // Nothing can be kept, so nothing is.
  }
}
function get(store: Store, name: string): string | null {
  try {
    return store.getItem(name);
  } catch (error) {
    return null;
  }
}

// The bytes of a checked base64 text no longer than maxBytes decoded, or null.
export function decode(text: string, maxBytes: number): Uint8Array | null {
  if (text.length % 4 !== 0 || text.length > Math.ceil(maxBytes / 3) * 4 || !base64.test(text)) return null;
  let binary: string;
  try {
    binary = atob(text);
  } catch (error) {
    return null;
  }
  return binary.length > maxBytes ? null : Uint8Array.from(binary, (c) => c.charCodeAt(0));
}
export function encode(bytes: Uint8Array): string {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text);
}

const goodName = (name: unknown): name is string => typeof name === 'string' && name !== '' && name.length <= maxName;

// A stored entry's text as a JSON object, or null when it is not one.
export function jsonObject(text: string): object | null {
  let entry: unknown;
  try {
    entry = JSON.parse(text);
  } catch (error) {
    return null;
  }
  return entry !== null && typeof entry === 'object' ? entry : null;
}

// {name, bytes} from the entry's text, or null.
export function parse(text: string, maxBytes: number): KeptFile | null {
  // JSON writes a character in at most six; the bytes' base64 adds a third.
  if (text.length > 32 + 6 * maxName + Math.ceil(maxBytes / 3) * 4) return null;
  const entry = jsonObject(text);
  if (entry === null) return null;
  const { name, bytes } = entry as { name?: unknown; bytes?: unknown };
  if (!goodName(name) || typeof bytes !== 'string') return null;
  const decoded = decode(bytes, maxBytes);
  return decoded === null ? null : { name, bytes: decoded };
}

function store(kept: Store, name: string, bytes: Uint8Array): boolean {
  try {
    kept.setItem(key, JSON.stringify({ name, bytes: encode(bytes) }));
    return true;
  } catch (error) {
    return false;  // full, or refused
  }
}

// The kept file as {name, bytes} (at most maxBytes of them), or null.
export function readKept(kept: Store | null, maxBytes: number, say: Say): KeptFile | null {
  if (kept === null) return null;
  const text = get(kept, key);
  if (text === null) return readOld(kept, maxBytes, say);
  remove(kept, oldKeys);
  const file = parse(text, maxBytes);
  if (file === null) {
    remove(kept, [key]);
    say(unreadable);
  }
  return file;
}

// A name and bytes kept apart by an earlier page, moved into one entry.
function readOld(kept: Store, maxBytes: number, say: Say): KeptFile | null {
  const [name, text] = oldKeys.map((oldKey) => get(kept, oldKey));
  if (name === null && text === null) return null;
  remove(kept, oldKeys);
  const bytes = goodName(name) && text !== null ? decode(text, maxBytes) : null;
  if (!goodName(name) || bytes === null) {
    say(unreadable);
    return null;
  }
  store(kept, name, bytes);
  return { name, bytes };
}

// Keeps a file the game took; says so when the browser will not, and then
// keeps no earlier file either, so the next visit has a random field.
export function keep(kept: Store | null, name: string, bytes: Uint8Array, say: Say, isolate: (name: string) => string): void {
  if (kept !== null && name.length <= maxName && store(kept, name, bytes)) return;
  if (kept !== null) remove(kept, [key]);
  say(`The browser could not keep the horse file ${isolate(name)} (its storage for this page is full or ` +
      'refused): it holds for this visit only.');
}

// What another tab's change to storage (a storage event's key and new
// value) means for the next visit, as one line, or null when the kept file
// is not what changed.
export function keptElsewhere(changed: string | null, now: string | null, maxBytes: number,
                              isolate: (name: string) => string): string | null {
  if (changed !== null && changed !== key) return null;  // null: the whole storage cleared
  const file = now === null ? null : parse(now, maxBytes);
  if (now !== null && file === null) return null;  // unreadable; the next visit drops it and says so
  return file === null ? 'Another tab forgot the kept horse file: the next visit races a random field.'
    : `Another tab now keeps the horse file ${isolate(file.name)} for the next visit.`;
}

export function forget(kept: Store | null): void {
  if (kept !== null) remove(kept, [key, ...oldKeys]);
}
