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
// once, with the next an interval after it. The worker is made from the
// schedule's own text through a Blob URL, since a page opened from file://
// may not load a worker file; where no worker can be made the same schedule
// runs in the page.
//
// Under the test hook's scripted clock both stand still and move only by
// advance(ms).
import { type ScheduleMessage, raceTimerSchedule } from './timer_schedule';

const day = 86400;

export interface RaceClock {
  seconds(): number;  // since midnight
  now(): number;      // ms, monotonic
  advance?(ms: number): void;
}

// The seconds since midnight `elapsedMs` after a start at `startSeconds`.
export const clockSeconds = (startSeconds: number, elapsedMs: number): number => (startSeconds + elapsedMs / 1000) % day;

export function raceClock(scripted: boolean, start = new Date()): RaceClock {
  if (scripted) {
    let ms = 36000 * 1000;  // 10:00, where the native frame dumps start theirs
    return { seconds: () => ms / 1000, now: () => ms, advance(by: number) { ms += by; } };
  }
  const startSeconds = start.getHours() * 3600 + start.getMinutes() * 60 + start.getSeconds() + start.getMilliseconds() / 1000;
  const startNow = performance.now();
  return { seconds: () => clockSeconds(startSeconds, performance.now() - startNow), now: () => performance.now() };
}

// The worker the schedule runs in, or null when the page may make none; in
// the page, one from the schedule's text.
export interface TimerWorker {
  onmessage: ((event: MessageEvent<number>) => void) | null;
  onerror: ((event: ErrorEvent) => void) | null;
  postMessage(message: ScheduleMessage): void;
  terminate(): void;
}
export function scheduleWorker(): TimerWorker | null {
  try {
    const source = `const take = (${raceTimerSchedule.toString()})((generation) => postMessage(generation),
                      () => performance.now(), (run, ms) => setTimeout(run, ms), (timer) => clearTimeout(timer));
                    onmessage = (event) => take(event.data);`;
    return new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
  } catch (error) {
    return null;  // a policy forbids blob: scripts
  }
}

export interface RaceTimer {
  start(ms: number): void;
  stop(): void;
  readonly on: boolean;
  advance(ms: number): void;  // scripted clock only: time moves on, a due tick runs
}

type Send = (message: ScheduleMessage) => void;

export function raceTimer(runTick: () => void, clock: RaceClock, scripted: boolean,
                          makeWorker: () => TimerWorker | null = scheduleWorker): RaceTimer {
  let generation = 0;
  let on = false;
  let interval = 0;
  let scriptedTimer: { run: () => void; at: number } | null = null;
  const ticked = (tickGeneration: number): void => {
    if (!on || tickGeneration !== generation) return;  // posted before a stop or a new start
    runTick();
    if (on && tickGeneration === generation) send({ ran: tickGeneration });
  };
  const inPage = (): Send => raceTimerSchedule(ticked, clock.now, (run, ms) => setTimeout(run, ms), (timer) => clearTimeout(timer));
  let send: Send = scripted
    ? raceTimerSchedule(ticked, clock.now, (run, ms) => (scriptedTimer = { run, at: clock.now() + ms }), () => { scriptedTimer = null; })
    : inWorker(makeWorker(), ticked, () => {
      // Refused as it loaded: the page keeps the schedule from here on.
      send = inPage();
      if (on) send({ start: interval, generation });
    }) ?? inPage();

  return {
    start(ms: number) {
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
    advance(ms: number) {
      clock.advance?.(ms);
      if (scriptedTimer !== null && scriptedTimer.at <= clock.now()) {
        const due = scriptedTimer;
        scriptedTimer = null;
        due.run();
      }
    },
  };
}

function inWorker(worker: TimerWorker | null, ticked: (generation: number) => void, refused: () => void): Send | null {
  if (worker === null) return null;
  worker.onmessage = (event) => ticked(event.data);
  worker.onerror = () => {
    worker.terminate();
    refused();
  };
  return (message) => worker.postMessage(message);
}
