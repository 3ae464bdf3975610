// The race's time: the timer's schedule, the clock at midnight, and a
// worker refused as it loads handing the schedule back to the page.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { clockSeconds, raceTimer } from '../race_time';
import { raceTimerSchedule } from '../timer_schedule';

// The schedule on a clock the test moves: the times at which ticks came.
function scheduled() {
  let now = 0;
  let armed = null;
  const ticks = [];
  const take = raceTimerSchedule((generation) => ticks.push([now, generation]), () => now,
                                 (run, ms) => (armed = { run, at: now + ms }), () => { armed = null; });
  const runTo = (to) => {
    while (armed !== null && armed.at <= to) {
      const due = armed;
      armed = null;
      now = due.at;
      due.run();
    }
    now = to;
  };
  return { take, ticks, runTo, armed: () => armed };
}

test('the schedule arms the next tick only once the last has run', () => {
  const s = scheduled();
  s.take({ start: 100, generation: 1 });
  s.runTo(350);
  assert.deepEqual(s.ticks, [[100, 1]]);  // no second tick before the first ran
  s.take({ ran: 1 });                    // ran late: the next an interval after now
  s.runTo(460);
  assert.deepEqual(s.ticks, [[100, 1], [450, 1]]);
  s.take({ ran: 1 });                    // ran on time: the next on the beat
  s.runTo(550);
  assert.deepEqual(s.ticks.at(-1), [550, 1]);
});

test('a stop, or a new start, leaves no tick of the old one', () => {
  const s = scheduled();
  s.take({ start: 100, generation: 1 });
  s.take({ stop: true });
  assert.equal(s.armed(), null);
  s.runTo(1000);
  s.take({ ran: 1 });
  assert.equal(s.armed(), null);
  s.take({ start: 200, generation: 2 });
  s.take({ ran: 1 });  // a tick of the old generation, answered late
  s.runTo(1200);
  assert.deepEqual(s.ticks, [[1200, 2]]);
});

test('the race clock folds at midnight', () => {
  assert.equal(clockSeconds(86399.5, 1000), 0.5);
  assert.equal(clockSeconds(36000, 1500), 36001.5);
  assert.equal(clockSeconds(86000, 86400 * 1000), 86000);
});

test('a worker refused as it loads hands the timer back to the page', async () => {
  const worker = { posted: [], terminated: false, onmessage: null, onerror: null,
                   postMessage(message) { this.posted.push(message); }, terminate() { this.terminated = true; } };
  let ticks = 0;
  const clock = { seconds: () => 0, now: () => performance.now() };
  const timer = raceTimer(() => { ticks += 1; }, clock, false, () => worker);
  timer.start(5);
  assert.deepEqual(worker.posted, [{ start: 5, generation: 1 }]);
  worker.onerror(new Event('error'));
  assert.ok(worker.terminated);
  // The page's own timeouts tick it now (waited for, however busy the machine).
  for (let waited = 0; ticks < 2 && waited < 10000; waited += 10) await new Promise((done) => setTimeout(done, 10));
  timer.stop();
  assert.ok(ticks >= 2, `the page ran ${ticks} ticks`);
  assert.equal(worker.posted.length, 1);
});

test("the worker's ticks run on the page, one generation at a time", () => {
  const worker = { posted: [], onmessage: null, onerror: null, postMessage(m) { this.posted.push(m); }, terminate() {} };
  let ticks = 0;
  const timer = raceTimer(() => { ticks += 1; }, { seconds: () => 0, now: () => 0 }, false, () => worker);
  timer.start(200);
  worker.onmessage({ data: 1 });
  assert.deepEqual([ticks, worker.posted.at(-1)], [1, { ran: 1 }]);
  timer.start(200);
  worker.onmessage({ data: 1 });  // posted before the new start
  timer.stop();
  worker.onmessage({ data: 2 });  // posted before the stop
  assert.equal(ticks, 1);
});
