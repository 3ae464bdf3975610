// The ledger the page keeps in the browser's storage: one entry, JSON of
// {generation, ledger}, the ledger being the game's own text of it
// (trotix_tickets_ledger), kept whole or not at all. Storage is not the
// page's alone, so what is read back is checked before it is used: its size
// is bounded before anything is parsed, and an entry that cannot be read is
// dropped with one line, the game then starting a new purse.
//
// Two copies of the page open at once must not mix their ledgers. Every
// write carries a generation, one more than the one it replaces; a page
// writes only over the generation it read. Finding another there, it keeps
// nothing, says so, and takes up what the other page kept instead, which
// stays whole. A `storage` event from another page is taken up the same way.
import { type Store, jsonObject } from './kept_file';

export const ledgerKey = 'trotix.ledger';

export interface LedgerRecord {
  generation: number;
  ledger: string;
}

// What a write came to: kept, or refused with a line; on a refusal, the
// ledger to take up instead when another page kept one (null: keep this one).
export interface Written {
  kept: boolean;
  line: string;
  takeUp: string | null;
}

const utf8Bytes = (text: string): number => new TextEncoder().encode(text).length;
const unreadable = 'The ledger kept from an earlier visit could not be read and was dropped.';
export const staleLine = 'Another Trotix page kept its ledger since this one read it, so this change is not kept: ' +
  "the other page's ledger is shown.";
const fullLine = 'The browser could not keep the ledger (its storage for this page is full or refused), so this change is not kept.';
const largeLine = 'The ledger has grown larger than the browser keeps, so this change is not kept; export it as CSV.';

// The entry's text as a record, or null when it is out of shape or larger
// than a ledger of `maxBytes` can be.
export function parseRecord(text: string, maxBytes: number): LedgerRecord | null {
  // JSON writes a byte in at most six characters.
  if (text.length > 64 + 6 * maxBytes) return null;
  const entry = jsonObject(text);
  if (entry === null) return null;
  const { generation, ledger } = entry as { generation?: unknown; ledger?: unknown };
  if (typeof generation !== 'number' || !Number.isSafeInteger(generation) || generation < 1) return null;
  if (typeof ledger !== 'string' || utf8Bytes(ledger) > maxBytes) return null;
  return { generation, ledger };
}

export const recordText = (record: LedgerRecord): string => JSON.stringify(record);

function get(store: Store): string | null {
  try {
    return store.getItem(ledgerKey);
  } catch (error) {
    return null;
  }
}

export class LedgerStore {
  // The generation this page read or wrote last; 0 for none kept.
  generation = 0;

  constructor(private readonly store: Store | null, private readonly maxBytes: number) {}

  // The ledger kept ("" for none) and a line when it could not be read.
  read(): { ledger: string; line: string } {
    const text = this.store === null ? null : get(this.store);
    const record = text === null ? null : parseRecord(text, this.maxBytes);
    if (text !== null && record === null) this.drop();
    this.generation = record?.generation ?? 0;
    return { ledger: record?.ledger ?? '', line: text !== null && record === null ? unreadable : '' };
  }

  private drop(): void {
    try {
      this.store?.removeItem(ledgerKey);
    } catch (error) {
      // Nothing can be kept, so nothing is.
    }
  }

  // Keeps `ledger` over the generation this page read, or refuses.
  write(ledger: string): Written {
    if (this.store === null) return { kept: false, line: fullLine, takeUp: null };
    if (utf8Bytes(ledger) > this.maxBytes) return { kept: false, line: largeLine, takeUp: null };
    const text = get(this.store);
    const now = text === null ? null : parseRecord(text, this.maxBytes);
    // An entry no page could have written is no page's ledger: it is written over.
    const standing = text === null ? 0 : now === null ? this.generation : now.generation;
    if (standing !== this.generation) {
      this.generation = standing;
      return { kept: false, line: staleLine, takeUp: now?.ledger ?? '' };
    }
    try {
      this.store.setItem(ledgerKey, recordText({ generation: standing + 1, ledger }));
    } catch (error) {
      return { kept: false, line: fullLine, takeUp: null };
    }
    this.generation = standing + 1;
    return { kept: true, line: '', takeUp: null };
  }

  // Another page's change to storage (a storage event's key and new value):
  // the ledger to take up, or null when this page's ledger is not what changed.
  changedElsewhere(key: string | null, now: string | null): string | null {
    if (key !== null && key !== ledgerKey) return null;  // null: the whole storage cleared
    const record = now === null ? null : parseRecord(now, this.maxBytes);
    if (now !== null && record === null) return null;  // unreadable: the next write replaces it
    if ((record?.generation ?? 0) === this.generation) return null;
    this.generation = record?.generation ?? 0;
    return record?.ledger ?? '';
  }
}
