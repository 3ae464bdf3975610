// The lab's run over its workers, with workers the test plays: the blocks
// handed out, the tallies gathered, a run stopped by Cancel or a fault, and
// the workers kept from one run to the next.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { LabRun, WorkerPool, pipelined } from '../lab_pool';

const fakeWorker = () => ({ orders: [], terminated: false, onmessage: null, onerror: null,
  postMessage(order) { this.orders.push(order); }, terminate() { this.terminated = true; } });

function fakes(count, loadText = () => Promise.resolve('script'), { workers = 3, makeWorkers, pool } = {}) {
  const made = [];
  const deps = {
    loadText,
    pool: pool ?? new WorkerPool(makeWorkers ?? ((text, n) => {
      const workers = Array.from({ length: n }, fakeWorker);
      made.push(...workers);
      return workers;
    })),
    now: () => 0,
    progress: (done) => deps.done.push(done),
    refusal: () => 'the host forbids blob:',
    done: [],
  };
  const run = new LabRun({ seed: 7, races: count * 100, workers }, { records: [1, 2], words: 'the field' }, deps);
  return { run, made, deps };
}
const settle = () => new Promise((done) => setTimeout(done, 0));
const say = (worker, answer) => worker.onmessage({ data: answer });
const blocksOf = (worker) => worker.orders.filter((o) => o.type === 'block').map((o) => o.block);

test('every block is handed out once, and the first worker adds up the tallies', async () => {
  const { run, made, deps } = fakes(10);
  await settle();
  assert.equal(made.length, 1);  // the others once the first is ready
  for (let i = 0; i < 3; ++i) say(made[i], { type: 'ready', blocks: 10, maxWorkers: 256 });
  assert.deepEqual(made.map((w) => w.orders[0]), made.map(() => ({ type: 'begin', seed: 7, races: 1000, field: [1, 2] })));
  assert.deepEqual(made.map(blocksOf), [[0, 1], [2, 3], [4, 5]]);
  for (let block = 0; block < 10; ++block) say(made[block % 3], { type: 'done', block, races: 100 });
  assert.deepEqual(made.flatMap(blocksOf).sort((a, b) => a - b), [...Array(10).keys()]);
  assert.equal(deps.done.at(-1), 1000);
  assert.deepEqual(made.slice(1).map((w) => w.orders.at(-1)), [{ type: 'tally' }, { type: 'tally' }]);
  say(made[1], { type: 'tally', bytes: new Uint8Array([1]) });
  say(made[2], { type: 'tally', bytes: new Uint8Array([2]) });
  assert.deepEqual(made[0].orders.at(-1).tallies, [new Uint8Array([1]), new Uint8Array([2])]);
  say(made[0], { type: 'report', json: '{}', tables: '{}', svg: '<svg/>', svgNarrow: '' });
  const result = await run.result;
  assert.deepEqual([result.svg, result.workers], ['<svg/>', 3]);
  assert.ok(made.every((w) => !w.terminated && w.onmessage === null) && deps.pool.kept === 3);
  assert.equal(pipelined, 2);
});

test('the next run races on the kept workers; a stopped run ends them, the next makes new ones', async () => {
  const made = [];
  const pool = new WorkerPool((text, n) => made.push(...Array.from({ length: n }, fakeWorker)) && made.slice(-n));
  const raceThrough = async (worker) => {
    const { run } = fakes(2, undefined, { workers: 1, pool });
    await settle();
    say(worker(), { type: 'ready', blocks: 2, maxWorkers: 256 });
    for (const block of [0, 1]) say(worker(), { type: 'done', block, races: 100 });
    say(worker(), { type: 'report', json: '{}', tables: '{}', svg: '', svgNarrow: '' });
    return run.result;
  };
  await raceThrough(() => made[0]);
  await raceThrough(() => made[0]);
  assert.deepEqual([made.length, blocksOf(made[0]), made[0].orders.filter((o) => o.type === 'begin').length], [1, [0, 1, 0, 1], 2]);
  const cancelled = fakes(2, undefined, { workers: 1, pool });
  await settle();
  cancelled.run.stop('cancelled');
  await assert.rejects(cancelled.run.result, /cancelled/);
  assert.ok(made[0].terminated && pool.kept === 0);
  await raceThrough(() => made[1]);
  assert.ok(made.length === 2 && !made[1].terminated && pool.kept === 1);
  made[1].onerror({ message: 'gone while waiting', preventDefault() {} });
  assert.ok(made[1].terminated && pool.kept === 0);
});

test('no more workers than the lab counts for, however many cores', async () => {
  for (const [asked, bound, used] of [[384, 256, 256], [4, 256, 4], [8, 1, 1]]) {
    const { made } = fakes(1000, undefined, { workers: asked });
    await settle();
    say(made[0], { type: 'ready', blocks: 1000, maxWorkers: bound });
    assert.equal(made.length, used, `${asked} asked, the lab counting for ${bound}`);
  }
});

test('a Worker that cannot be made stops the run, and the next run is free to start', async () => {
  const { run } = fakes(10, undefined, { makeWorkers: () => { throw new Error('SecurityError'); } });
  await assert.rejects(Promise.race([run.result, settle().then(() => 'still running')]), /no worker could be started: SecurityError/);
});

test('a worker that answers with an error stops the run', async () => {
  const { run, made } = fakes(10);
  await settle();
  say(made[0], { type: 'ready', blocks: 10, maxWorkers: 256 });
  say(made[1], { type: 'error', message: 'out of memory' });
  await assert.rejects(run.result, /a worker failed: out of memory/);
  assert.ok(made.every((w) => w.terminated));
  assert.ok(made.every((w) => w.onmessage === null));  // no late answer is heard
  assert.equal(blocksOf(made[0]).length, pipelined);
});

test('a worker that fails to load stops the run', async () => {
  const { run, made } = fakes(10);
  await settle();
  made[0].onerror({ message: 'refused', preventDefault() {} });
  await assert.rejects(run.result, /a worker failed: refused/);
  assert.ok(made.every((w) => w.terminated));
  const refused = fakes(10);
  await settle();
  refused.made[0].onerror({ message: undefined, preventDefault() {} });  // a script the host's policy refused
  await assert.rejects(refused.run.result, /a worker failed: the host forbids blob:/);
});

test("Cancel works while the workers' script is still loading", async () => {
  let loaded;
  const { run, made } = fakes(10, () => new Promise((resolve) => { loaded = resolve; }));
  run.stop('cancelled');
  await assert.rejects(run.result, /cancelled/);
  loaded('script');
  await settle();
  assert.equal(made.length, 0);
});

test("a script that cannot be loaded stops the run", async () => {
  const { run } = fakes(10, () => Promise.reject(new Error('lab_worker_text.js could not be loaded')));
  await assert.rejects(run.result, /could not be loaded/);
});
