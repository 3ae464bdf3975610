// Seeds as the player or the test hook writes them: whole numbers below the
// bound the game's module can take exactly (its PageFacts' seedLimit).

// The seed a text names, or null when it names none below `limit`.
export function parseSeed(text: string, limit: number): number | null {
  if (!/^\d+$/.test(text)) return null;
  const seed = Number(text);
  return seed < limit ? seed : null;
}

// A new seed from the time, different at every load, below `limit`.
export function newSeed(limit: number, now = Date.now(), fraction = Math.random()): number {
  return (now * 1000 + Math.floor(fraction * 1000)) % limit;
}
