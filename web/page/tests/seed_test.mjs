// Seeds as the page's query and the lab's field give them.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { newSeed, parseSeed } from '../seed';

const limit = 2 ** 53;

test('a seed is a whole number below the limit, nothing else', () => {
  for (const [text, seed] of [['0', 0], ['123', 123], ['007', 7], ['9007199254740991', 2 ** 53 - 1]]) {
    assert.equal(parseSeed(text, limit), seed, text);
  }
  for (const text of ['', '9007199254740992', '9007199254740993', '99999999999999999999', '-1', '1e3', '1.5', ' 1', '12a', '0x10']) {
    assert.equal(parseSeed(text, limit), null, text);
  }
  assert.equal(parseSeed('1000', 1000), null);
});

test('a new seed is whole and below the limit', () => {
  for (const [now, fraction] of [[Date.now(), 0.999], [9e15, 0.5], [0, 0]]) {
    const seed = newSeed(limit, now, fraction);
    assert.ok(Number.isSafeInteger(seed) && seed >= 0 && seed < limit, String(seed));
  }
  assert.notEqual(newSeed(limit, 1000, 0.1), newSeed(limit, 1000, 0.2));
});
