// The lab's figures of a card, moved across to the game as numbers.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { chancesNumbers } from '../card_chances';

const chance = (share) => ({ hits: 1, share, low_95: share / 2, high_95: share * 2 });
const figures = { races: 2000, horses: [0.1, 0.2, 0.3, 0.1, 0.2, 0.1].map(chance),
                  quinella: Array.from({ length: 15 }, (_, i) => chance(i / 100)) };

test('the races, the six wins and the fifteen pairs, each share with its interval, in the lab\'s order', () => {
  const numbers = chancesNumbers(JSON.stringify(figures), 64);
  assert.equal(numbers.length, 64);
  assert.deepEqual(numbers.slice(0, 4), [2000, 0.1, 0.05, 0.2]);
  assert.deepEqual(numbers.slice(-3), [0.14, 0.07, 0.28]);
});

test('figures without one field, or not as many numbers as the game counts, give nothing', () => {
  assert.equal(chancesNumbers(JSON.stringify({ ...figures, horses: [] }), 64), null);
  assert.equal(chancesNumbers(JSON.stringify({ races: 2000 }), 64), null);
  assert.equal(chancesNumbers('{"races":', 64), null);
  assert.equal(chancesNumbers(JSON.stringify({ ...figures, races: null }), 64), null);
});
