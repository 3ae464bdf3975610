// The lab's figures of a card, as the game's ticket desk takes them in
// (trotix_tickets_chances_room): the races, then each horse's win share
// with its 95% interval, then each pair's in the lab's own order. The page
// only moves the lab's numbers across; what they are worth is the game's.
interface ChanceJson { share: number; low_95: number; high_95: number }
interface FiguresJson { races: number; horses: ChanceJson[]; quinella: ChanceJson[] }

const triple = (c: ChanceJson): number[] => [c.share, c.low_95, c.high_95];

// The numbers, or null when the figures hold no one field's chances (or
// not as many as the game counts on).
export function chancesNumbers(json: string, count: number): number[] | null {
  let figures: FiguresJson;
  try {
    figures = JSON.parse(json) as FiguresJson;
  } catch {
    return null;
  }
  if (!Array.isArray(figures.horses) || !Array.isArray(figures.quinella)) return null;
  const numbers = [figures.races, ...figures.horses.flatMap(triple), ...figures.quinella.flatMap(triple)];
  return numbers.length === count && numbers.every((n) => typeof n === 'number') ? numbers : null;
}
