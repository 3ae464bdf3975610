// The race card as the lab reads it, compares it and tells of its runs.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { ChancesFeed, readCard, sameField } from '../lab_card';

const records = [80, 50, 70, 45, 60, 55, 60, 50, 40, 90, 60, 75, 2, 1, 3, 4, 1, 2];
const card = { fromFile: false, racing: false, records };

test('the card is read where the game points, its two flags first; the same field is the same horses', () => {
  const heap = new Float64Array(24).fill(-1);
  heap.set([0, 1, ...records], 3);
  assert.deepEqual(readCard({ HEAPF64: heap, _trotix_card_field: () => 24 }, { fieldValues: 20 }),
                   { fromFile: false, racing: true, records });
  assert.ok(sameField(card, { fromFile: true, racing: true, records: [...records] }));
  assert.ok(!sameField(card, { ...card, records: [...records.slice(0, 17), 3] }));
  assert.ok(!sameField(card, { ...card, records: records.slice(1) }));
});

test('every listener hears each run until it stops listening, past one that throws', () => {
  const feed = new ChancesFeed();
  const heard = [];
  const stop = feed.subscribe((chances) => heard.push(`a${chances.json}`));
  feed.subscribe(() => { throw new Error('a faulty listener'); });
  feed.subscribe((chances) => heard.push(`b${chances.json}`));
  const error = console.error;
  console.error = () => {};
  feed.tell({ json: '1', card });
  stop();
  feed.tell({ json: '2', card });
  console.error = error;
  assert.deepEqual(heard, ['a1', 'b1', 'b2']);
});
