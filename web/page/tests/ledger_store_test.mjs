// The ledger kept in storage against hostile storage and a second page:
// what is read back, what is written, and what a stale page is refused.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { LedgerStore, ledgerKey, parseRecord, staleLine } from '../ledger_store';
import { fakeStorage } from './fake_storage.mjs';

const maxBytes = 1024;
const ledger = '[Ledger]\r\nPurse=9800\r\nRefills=0\r\nRace1=2026-12-10 10:40:12;...\r\n';
const kept = (generation, text = ledger) => JSON.stringify({ generation, ledger: text });


test('an entry is read only whole and in shape', () => {
  const cases = [
    ['a kept ledger', kept(3), { generation: 3, ledger }],
    ['no JSON', '{"generation": 3, "ledger": ', null],
    ['JSON null', 'null', null],
    ['no generation', JSON.stringify({ ledger }), null],
    ['generation 0', kept(0), null],
    ['a generation past exact integers', kept(2 ** 53), null],
    ['a fractional generation', kept(1.5), null],
    ['a ledger not text', JSON.stringify({ generation: 1, ledger: 5 }), null],
    ['a ledger one byte too large', kept(1, 'x'.repeat(maxBytes + 1)), null],
    ['a ledger as large as kept', kept(1, 'x'.repeat(maxBytes)), { generation: 1, ledger: 'x'.repeat(maxBytes) }],
    ['wide characters past the bound in bytes', kept(1, 'é'.repeat(maxBytes / 2 + 1)), null],
    ['a huge entry, not parsed', ' '.repeat(7 * maxBytes), null],
  ];
  for (const [what, text, record] of cases) assert.deepEqual(parseRecord(text, maxBytes), record, what);
});

test('reading drops an unreadable entry with one line', () => {
  const damaged = fakeStorage({ [ledgerKey]: '{"generation":' });
  const kept1 = new LedgerStore(damaged, maxBytes);
  assert.deepEqual(kept1.read(), { ledger: '', line: 'The ledger kept from an earlier visit could not be read and was dropped.' });
  assert.equal(damaged.items.has(ledgerKey), false);
  const good = new LedgerStore(fakeStorage({ [ledgerKey]: kept(4) }), maxBytes);
  assert.deepEqual(good.read(), { ledger, line: '' });
  assert.equal(good.generation, 4);
  assert.deepEqual(new LedgerStore(null, maxBytes).read(), { ledger: '', line: '' });
});

test('each write carries the next generation', () => {
  const storage = fakeStorage();
  const page = new LedgerStore(storage, maxBytes);
  page.read();
  assert.deepEqual(page.write('one'), { kept: true, line: '', takeUp: null });
  assert.deepEqual(page.write('two'), { kept: true, line: '', takeUp: null });
  assert.deepEqual(JSON.parse(storage.items.get(ledgerKey)), { generation: 2, ledger: 'two' });
});

// Two pages read generation 1; the first to write wins, the other is
// refused, takes up the first's ledger, and writes after that.
test('a page that read a generation since replaced writes nothing and takes up the other', () => {
  const storage = fakeStorage({ [ledgerKey]: kept(1, 'start') });
  const [first, second] = [new LedgerStore(storage, maxBytes), new LedgerStore(storage, maxBytes)];
  first.read();
  second.read();
  assert.equal(first.write('first').kept, true);
  assert.deepEqual(second.write('second'), { kept: false, line: staleLine, takeUp: 'first' });
  assert.deepEqual(JSON.parse(storage.items.get(ledgerKey)), { generation: 2, ledger: 'first' });
  assert.equal(second.write('second, after').kept, true);
  assert.deepEqual(JSON.parse(storage.items.get(ledgerKey)), { generation: 3, ledger: 'second, after' });
  assert.equal(first.write('first again').kept, false);
  // Another page forgot the ledger while this one held generation 3.
  storage.items.delete(ledgerKey);
  assert.deepEqual(first.write('late').takeUp, '');
});

test('a write too large or refused by the browser leaves the kept entry whole', () => {
  const storage = fakeStorage({ [ledgerKey]: kept(1, 'start') }, { full: true });
  const page = new LedgerStore(storage, maxBytes);
  page.read();
  assert.match(page.write('more').line, /full or refused/);
  assert.match(page.write('x'.repeat(maxBytes + 1)).line, /larger than the browser keeps/);
  assert.equal(storage.items.get(ledgerKey), kept(1, 'start'));
  assert.equal(page.generation, 1);
});

test("another page's change is taken up once, its own echo and other keys never", () => {
  const storage = fakeStorage();
  const page = new LedgerStore(storage, maxBytes);
  page.read();
  assert.equal(page.changedElsewhere('trotix.horseFile', '{}'), null);
  assert.equal(page.changedElsewhere(ledgerKey, kept(2, 'other')), 'other');
  assert.equal(page.changedElsewhere(ledgerKey, kept(2, 'other')), null);
  assert.equal(page.changedElsewhere(ledgerKey, '{"damaged'), null);
  assert.equal(page.changedElsewhere(null, null), '');  // storage cleared: a new purse
  assert.equal(page.generation, 0);
  assert.equal(page.write('after').kept, true);
});
