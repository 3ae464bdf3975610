// The kept horse file against hostile storage: each entry planted, what is
// read back, what is said, and what storage holds after.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { decode, encode, forget, keep, keptElsewhere, parse, readKept } from '../kept_file';
import { fakeStorage } from './fake_storage.mjs';

const maxBytes = 64 * 1024 + 1;
const good = Buffer.from('80\t60\t2\r\n50\t50\t1\r\n').toString('base64');
const [entry, oldName, oldBytes] = ['trotix.horseFile', 'trotix.horseFile.name', 'trotix.horseFile.bytes'];
const kept = (name, bytes) => ({ [entry]: JSON.stringify({ name, bytes }) });

// [what, entries planted, the name read back or null, keys left]
const cases = [
  ['a kept file', kept('horsedat.txt', good), 'horsedat.txt', [entry]],
  ['bytes not base64', kept('horsedat.txt', '!!!not base64!!!'), null, []],
  ['bytes of a bad length', kept('horsedat.txt', good.slice(1)), null, []],
  ['no JSON', { [entry]: '{"name": "horsedat.txt", "bytes": ' }, null, []],
  ['JSON of another shape', { [entry]: '{"a":1}' }, null, []],
  ['JSON null', { [entry]: 'null' }, null, []],
  ['an empty name', kept('', good), null, []],
  ['a name of 2 MiB', kept('n'.repeat(2 << 20), good), null, []],
  ['bytes of 1 MiB', kept('horsedat.txt', 'QUFB'.repeat(1 << 18)), null, []],
  ['kept apart, as earlier pages did', { [oldName]: 'horsedat.txt', [oldBytes]: good }, 'horsedat.txt', [entry]],
  ['kept apart, the bytes not base64', { [oldName]: 'horsedat.txt', [oldBytes]: '!!!not base64!!!' }, null, []],
  ['kept apart, the bytes JSON', { [oldName]: 'horsedat.txt', [oldBytes]: '{"a":1}' }, null, []],
  ['kept apart, the bytes missing', { [oldName]: 'horsedat.txt' }, null, []],
  ['kept apart, the name missing', { [oldBytes]: good }, null, []],
  ['kept apart, an empty name', { [oldName]: '', [oldBytes]: good }, null, []],
  ['kept apart, a name of 2 MiB', { [oldName]: 'n'.repeat(2 << 20), [oldBytes]: good }, null, []],
];

for (const [what, entries, name, left] of cases) {
  test(`a planted entry: ${what}`, () => {
    const planted = fakeStorage(entries);
    const said = [];
    const file = readKept(planted, maxBytes, (line) => said.push(line));
    assert.equal(file?.name ?? null, name);
    if (name !== null) assert.equal(Buffer.from(file.bytes).toString('base64'), good);
    assert.deepEqual([...planted.items.keys()], left);
    assert.equal(said.length, name === null ? 1 : 0, said.join());
  });
}

test('nothing kept reads as nothing, said nowhere', () => {
  const said = [];
  assert.equal(readKept(fakeStorage({}), maxBytes, (line) => said.push(line)), null);
  assert.equal(readKept(null, maxBytes, (line) => said.push(line)), null);
  assert.deepEqual(said, []);
});

test('decode bounds the bytes before and after decoding', () => {
  assert.deepEqual([...decode('QUJD', 3)], [65, 66, 67]);
  assert.equal(decode('QUJD', 2), null);
  assert.equal(decode('QUJDRA==', 3), null);
  assert.equal(decode('QUJ', 3), null);
  assert.equal(decode('QU=D', 3), null);
  const bytes = Uint8Array.from({ length: 70000 }, (_, i) => i % 256);
  assert.deepEqual(decode(encode(bytes), bytes.length), bytes);
  assert.equal(parse(JSON.stringify({ name: 'a', bytes: encode(bytes) }), bytes.length - 1), null);
});

test('a file storage refuses is said, and no older file stays kept', () => {
  const planted = fakeStorage(kept('older.txt', good), { full: true });
  const said = [];
  keep(planted, 'horsedat.txt', new Uint8Array([1]), (line) => said.push(line), (name) => `<${name}>`);
  assert.match(said.join(), /could not keep the horse file <horsedat.txt>/);
  assert.equal(planted.items.size, 0);
  const kept2 = fakeStorage({});
  keep(kept2, 'horsedat.txt', new Uint8Array([1, 2]), () => assert.fail('said'), String);
  assert.deepEqual([...readKept(kept2, maxBytes, assert.fail).bytes], [1, 2]);
  forget(kept2);
  assert.equal(kept2.items.size, 0);
});

test("another tab's change to the kept file is told as what the next visit gets", () => {
  const entry = JSON.stringify({ name: 'mine.txt', bytes: encode(new Uint8Array([56, 48])) });
  const marked = (name) => `[${name}]`;
  for (const [changed, now, line] of [
    ['trotix.horseFile', entry, 'Another tab now keeps the horse file [mine.txt] for the next visit.'],
    ['trotix.horseFile', null, 'Another tab forgot the kept horse file: the next visit races a random field.'],
    [null, null, 'Another tab forgot the kept horse file: the next visit races a random field.'],
    ['trotix.horseFile', '{"name": 1}', null],
    ['filler.0', 'x', null],
    ['other.key', null, null],
  ]) {
    assert.equal(keptElsewhere(changed, now, 1024, marked), line, `${changed} = ${now}`);
  }
});
