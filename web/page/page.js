// The page around the game: it shows the window's picture in the canvas,
// passes keys and clicks in, runs the race timer and reads the clock. Every
// rule of the game is in the C++ (web/front_end.cpp and the race code).
//
// Test hook: ?seed=N fixes the random seed (an integer below 2^53), and
// ?clock=scripted stops time: the clock reads 0 s since midnight and moves
// only by window.trotixTest.advance(ms), which runs the tick if one is due.
'use strict';
(function () {
  const params = new URLSearchParams(location.search);
  const scripted = params.get('clock') === 'scripted';
  const seedText = params.get('seed') || '';
  const seed = /^\d{1,15}$/.test(seedText) ? Number(seedText) : Date.now() * 1000 + Math.floor(performance.now() * 1000) % 1000;

  const canvas = document.getElementById('window');
  const context = canvas.getContext('2d');
  let ready = false;

  // ---- Time: a monotonic one for the timer, the time of day for the race clock.
  let scriptedMs = 0;
  const nowMs = scripted ? () => scriptedMs : () => performance.now();
  function clockSeconds() {
    if (scripted) return scriptedMs / 1000;
    const now = new Date();
    return now.getHours() * 3600 + now.getMinutes() * 60 + now.getSeconds() + now.getMilliseconds() / 1000;
  }

  // ---- The race timer: one timeout at a time, the next armed only after a
  // tick has run, so no tick starts inside another. A tick that comes late
  // (a hidden tab is throttled to a tick a second or less) runs once and the
  // next one is an interval after it: the race goes on late, never doubled.
  // Under the scripted clock the timeout is a due time that advance() keeps.
  let interval = 0;
  let due = 0;
  let pending = null;
  function startTimer(ms) {
    interval = ms;
    due = nowMs() + ms;
    arm();
  }
  function stopTimer() {
    interval = 0;
    disarm();
  }
  function arm() {
    disarm();
    pending = scripted ? 'scripted' : setTimeout(fire, Math.max(0, due - nowMs()));
  }
  function disarm() {
    if (pending !== null && !scripted) clearTimeout(pending);
    pending = null;
  }
  function fire() {
    pending = null;
    const now = nowMs();
    due += interval;
    if (due <= now) due = now + interval;
    Module._trotix_timer();  // the race's last tick stops the timer
    if (interval > 0) arm();
  }

  // ---- The picture: the window's bytes are already in canvas order.
  let image = null;
  function present(heap, pointer, width, height, stride) {
    if (image === null || image.width !== width || image.height !== height) {
      canvas.width = width;
      canvas.height = height;
      image = context.createImageData(width, height);
      fit();
    }
    for (let y = 0; y < height; ++y) {
      const row = pointer + y * stride;
      image.data.set(heap.subarray(row, row + width * 4), y * width * 4);
    }
    context.putImageData(image, 0, 0);
    if (performance.getEntriesByName('trotix-first-frame').length === 0) performance.mark('trotix-first-frame');
  }

  // The largest whole number of device pixels per window pixel that fits.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const scale = Math.max(1, Math.floor(Math.min(innerWidth * ratio / canvas.width, innerHeight * ratio / canvas.height)));
    canvas.style.width = canvas.width * scale / ratio + 'px';
    canvas.style.height = canvas.height * scale / ratio + 'px';
  }
  addEventListener('resize', fit);
  fit();

  // ---- Input. F5 and F7 are the game's: the browser neither reloads nor
  // turns on caret browsing. They act on release, as on the desktop.
  const keyCodes = { F5: 116, F7: 118 };
  addEventListener('keydown', (event) => {
    if (event.key in keyCodes) event.preventDefault();
  });
  addEventListener('keyup', (event) => {
    if (!(event.key in keyCodes)) return;
    event.preventDefault();
    if (ready) Module._trotix_key_up(keyCodes[event.key]);
  });
  canvas.addEventListener('click', (event) => {
    if (!ready) return;
    const box = canvas.getBoundingClientRect();
    Module._trotix_click(Math.floor((event.clientX - box.left) * canvas.width / box.width),
                         Math.floor((event.clientY - box.top) * canvas.height / box.height));
  });

  function state() {
    return { phase: Module._trotix_phase(), ticks: Module._trotix_ticks(),
             runEnabled: Module._trotix_run_enabled() !== 0, timerOn: interval > 0 };
  }

  window.Module = {
    page: { clockSeconds, startTimer, stopTimer, present },
    onRuntimeInitialized() {
      Module._trotix_load(seed);
      ready = true;
      canvas.focus();
      if (scripted) {
        window.trotixTest = {
          advance(ms) {
            scriptedMs += ms;
            if (pending !== null && due <= scriptedMs) fire();
            return state();
          },
          state,
        };
      }
    },
  };
})();
