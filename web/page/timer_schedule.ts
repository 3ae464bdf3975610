// The race timer's schedule, the same in the timer's worker and in the
// page. It is sent to the worker as its own text, so it uses nothing from
// outside its body. Messages in: {start: interval_ms, generation},
// {stop: true}, {ran: generation}; out: the generation of a tick that is due.
export type ScheduleMessage = { start: number; generation: number } | { stop: true } | { ran: number };

export function raceTimerSchedule<Timer>(post: (generation: number) => void, now: () => number,
                                         setTimer: (run: () => void, ms: number) => Timer,
                                         clearTimer: (timer: Timer) => void): (message: ScheduleMessage) => void {
  let interval = 0;
  let due = 0;
  let timer: Timer | null = null;
  let generation = 0;
  const arm = (): void => {
    timer = setTimer(() => {
      timer = null;
      post(generation);
    }, Math.max(0, due - now()));
  };
  return (message) => {
    if ('start' in message || 'stop' in message) {
      if (timer !== null) clearTimer(timer);
      timer = null;
      interval = 'start' in message ? message.start : 0;
      if (interval === 0 || !('start' in message)) return;
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
