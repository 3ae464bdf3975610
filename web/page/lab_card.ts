// The race card as the lab sees it: the field the next Run races (while a
// race runs, the field racing), read from the game's trotix_card_field(),
// which takes it from the main window's own race card. The lab measures that
// field, so the figures are for a field that really races; and whoever
// shows them (the tickets panel) hears of each finished run with its card.
import type { GameExports, PageFacts } from './game_module';

export interface CardField {
  fromFile: boolean;  // the horse file's field, else drawn at random
  racing: boolean;    // a race runs: the card is the field racing
  records: number[];  // six speeds, six staminas, six styles: the lab module's order
}

export function readCard(game: GameExports, facts: PageFacts): CardField {
  const at = game._trotix_card_field() / Float64Array.BYTES_PER_ELEMENT;
  const numbers = Array.from(game.HEAPF64.subarray(at, at + facts.fieldValues));
  return { fromFile: numbers[0] === 1, racing: numbers[1] === 1, records: numbers.slice(2) };
}

// The same horses: a race starting on the card, or a board ending it, leaves
// a file's card as it was; a new random field, a new file or Forget does not.
export function sameField(a: CardField, b: CardField): boolean {
  return a.records.length === b.records.length && a.records.every((value, i) => Object.is(value, b.records[i]));
}

// Where the card's field comes from, as the lab's report names it.
export const cardSource = (card: CardField): string =>
  `the race card's field, ${card.fromFile ? 'from the horse file' : 'drawn at random'}`;

// The panel's line about the field it measures.
export const cardLine = (card: CardField): string =>
  `Field: ${cardSource(card)}: ${card.racing ? 'the field racing now' : 'the field the next Run races'}.`;

export const earlierCard = ' The race card has changed since Run was pressed: these figures are for an earlier card.';

// A finished run of the lab: its figures as trotix_lab_json writes them, and
// the card they were measured on, as it stood when Run was pressed.
export interface Chances {
  json: string;
  card: CardField;
}
export type ChancesListener = (chances: Chances) => void;

// Listeners of the lab's finished runs; each may stop listening.
export class ChancesFeed {
  private readonly listeners = new Set<ChancesListener>();

  subscribe(listener: ChancesListener): () => void {
    this.listeners.add(listener);
    return () => { this.listeners.delete(listener); };
  }

  // A listener that throws stops neither the others nor the lab.
  tell(chances: Chances): void {
    for (const listener of [...this.listeners]) {
      try {
        listener(chances);
      } catch (error) {
        console.error(error);
      }
    }
  }
}
