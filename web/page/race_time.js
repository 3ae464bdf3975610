// The race's time on the page: the clock the race reads and the timer that
// ticks it.
//
// The clock reads the time of day once, at load, and from then on advances
// it by the monotonic performance.now(), folding at midnight: a wall clock
// set back or forward while the page is open (summer time ending, a clock
// correction) never steps a race.
//
// The timer's schedule runs in a dedicated Worker, since a browser throttles
// the timeouts of a hidden tab's page to one a second or one a minute, but
// not a worker's. The worker posts a tick when it falls due and arms the
// next only once the page says the tick has run: the page runs each tick as
// it arrives, never one inside another, and a tick that comes late runs
// once, with the next an interval after it. The worker is made from this
// script's own text through a Blob URL, since a page opened from file://
// may not load a worker file; where no worker can be made the same schedule
// runs in the page.
//
// Under the test hook's scripted clock both stand still and move only by
// advance(ms).
'use strict';
window.Trotix = window.Trotix || {};

Trotix.raceClock = function (scripted) {
  const day = 86400;
  if (scripted) {
    let ms = 36000 * 1000;  // 10:00, where the native frame dumps start theirs
    return { seconds: () => ms / 1000, now: () => ms, advance(by) { ms += by; } };
  }
  const start = new Date();
  const startSeconds = start.getHours() * 3600 + start.getMinutes() * 60 + start.getSeconds() + start.getMilliseconds() / 1000;
  const startNow = performance.now();
  return { seconds: () => (startSeconds + (performance.now() - startNow) / 1000) % day, now: () => performance.now() };
};

// The schedule, the same in the worker and in the page. Messages in:
// {start: interval_ms, generation}, {stop: true}, {ran: generation}; out: the
// generation of a tick that is due.
function raceTimerSchedule(post, now, setTimer, clearTimer) {
  let interval = 0;
  let due = 0;
  let timer = null;
  let generation = 0;
  const arm = () => {
    timer = setTimer(() => {
      timer = null;
      post(generation);
    }, Math.max(0, due - now()));
  };
  return (message) => {
    if (message.start || message.stop) {
      if (timer !== null) clearTimer(timer);
      timer = null;
      interval = message.start ? message.start : 0;
      if (interval === 0) return;
      generation = message.generation;
      due = now() + interval;
      arm();
    } else if (message.ran === generation && interval > 0) {
      const at = now();
      due += interval;
      if (due <= at) due = at + interval;
      arm();
    }
  };
}

Trotix.raceTimer = function (runTick, clock, scripted) {
  let generation = 0;
  let on = false;
  let send = null;
  const ticked = (tickGeneration) => {
    if (!on || tickGeneration !== generation) return;  // posted before a stop or a new start
    runTick();
    if (on && tickGeneration === generation) send({ ran: tickGeneration });
  };

  let scriptedTimer = null;
  let interval = 0;
  // Without a worker (a policy forbids blob: scripts) the page keeps the schedule.
  const inPage = () => raceTimerSchedule(ticked, clock.now, (run, ms) => setTimeout(run, ms), (timer) => clearTimeout(timer));
  if (scripted) {
    send = raceTimerSchedule(ticked, clock.now, (run, ms) => (scriptedTimer = { run, at: clock.now() + ms }),
                             () => { scriptedTimer = null; });
  } else {
    try {
      const source = `const take = (${raceTimerSchedule})((generation) => postMessage(generation), () => performance.now(),
                        (run, ms) => setTimeout(run, ms), (timer) => clearTimeout(timer));
                      onmessage = (event) => take(event.data);`;
      const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
      const worker = new Worker(url);
      worker.onmessage = (event) => ticked(event.data);
      worker.onerror = () => {  // refused as it loaded
        worker.terminate();
        send = inPage();
        if (on) send({ start: interval, generation });
      };
      send = (message) => worker.postMessage(message);
    } catch (error) {
      send = inPage();
    }
  }

  return {
    start(ms) {
      on = true;
      interval = ms;
      generation += 1;
      send({ start: ms, generation });
    },
    stop() {
      on = false;
      send({ stop: true });
    },
    get on() { return on; },
    // Scripted clock only: moves time on and runs the tick if one is due.
    advance(ms) {
      clock.advance(ms);
      if (scriptedTimer !== null && scriptedTimer.at <= clock.now()) {
        const due = scriptedTimer;
        scriptedTimer = null;
        due.run();
      }
    },
  };
};

// A page the browser froze (a hidden tab, to save power) or discarded (to
// save memory) says so when it comes back: a frozen race stood still, and
// a discarded one is gone, the page having started afresh.
Trotix.watchLifecycle = function (say, racing) {
  if (document.wasDiscarded) say('The browser closed this page in the background to save memory; it has started afresh.');
  let frozenAt = null;
  let frozenRacing = false;
  document.addEventListener('freeze', () => {
    frozenAt = performance.now();
    frozenRacing = racing();
  });
  document.addEventListener('resume', () => {
    const seconds = frozenAt === null ? 0 : Math.round((performance.now() - frozenAt) / 1000);
    say(`The browser paused this page in the background for ${seconds} s` +
        (frozenRacing ? '; the race stood still meanwhile.' : '.'));
    frozenAt = null;
  });
};
