// A file's name shown inside an isolate: nothing in it can end the isolate
// early, and what it opens it may close.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { contained, isolate } from '../page_lines';

test('a name cannot close the isolate around it', () => {
  for (const [name, shown] of [
    ['horsedat.txt', 'horsedat.txt'],
    ['\u2069\u202Etxt.exe', '\u202Etxt.exe'],
    ['a\u2069\u2069b', 'ab'],
    ['\u2067ab\u2069\u2069c', '\u2067ab\u2069c'],
    ['\u2066\u2068x\u2069y\u2069\u2069', '\u2066\u2068x\u2069y\u2069'],
    ['\u202Eabc\u202C', '\u202Eabc\u202C'],
    ['\u{1F40E} \u05E1\u05D5\u05E1', '\u{1F40E} \u05E1\u05D5\u05E1'],
  ]) {
    assert.equal(contained(name), shown, JSON.stringify(name));
  }
  assert.equal(isolate('\u2069\u202Eevil'), '\u2068\u202Eevil\u2069');
});
