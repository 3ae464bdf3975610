// The race card as the lab reads it, compares it and tells of its runs.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { ChancesFeed, cardLine, readCard, sameField } from '../lab_card';

const facts = { fieldValues: 20 };
const records = [80, 50, 70, 45, 60, 55, 60, 50, 40, 90, 60, 75, 2, 1, 3, 4, 1, 2];
function gameWith(numbers, at = 16) {
  const heap = new Float64Array(at / 8 + numbers.length + 2).fill(-1);
  heap.set(numbers, at / 8);
  return { HEAPF64: heap, _trotix_card_field: () => at };
}

test('the card is read from where the game points, its two flags first', () => {
  assert.deepEqual(readCard(gameWith([1, 0, ...records]), facts), { fromFile: true, racing: false, records });
  assert.deepEqual(readCard(gameWith([0, 1, ...records], 40), facts), { fromFile: false, racing: true, records });
});

test('the same field is the same horses, wherever it came from and whether it races', () => {
  const card = { fromFile: false, racing: false, records };
  assert.ok(sameField(card, { fromFile: true, racing: true, records: [...records] }));
  const other = [...records];
  other[17] = 3;  // one style
  assert.ok(!sameField(card, { ...card, records: other }));
  assert.ok(!sameField(card, { ...card, records: records.slice(1) }));
});

test('the field line says whose card it is and when it races', () => {
  assert.match(cardLine({ fromFile: true, racing: false, records }), /from the horse file: the field the next Run races\.$/);
  assert.match(cardLine({ fromFile: false, racing: true, records }), /drawn at random: the field racing now\.$/);
});

test('every listener hears each finished run until it stops listening, one that throws included', () => {
  const feed = new ChancesFeed();
  const heard = [];
  const stop = feed.subscribe((chances) => heard.push(['a', chances.json]));
  feed.subscribe(() => { throw new Error('a faulty listener'); });
  feed.subscribe((chances) => heard.push(['b', chances.card.records.length]));
  const error = console.error;
  console.error = () => {};
  try {
    feed.tell({ json: '{"races":1}', card: { fromFile: false, racing: false, records } });
    stop();
    feed.tell({ json: '{"races":2}', card: { fromFile: false, racing: false, records } });
  } finally {
    console.error = error;
  }
  assert.deepEqual(heard, [['a', '{"races":1}'], ['b', 18], ['b', 18]]);
});
