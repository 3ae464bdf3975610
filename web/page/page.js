// The page around the game: it shows the window's picture in the canvas,
// passes keys, clicks and horse data files in, runs the race timer, reads
// the clock, shows the F7 listing and remembers the chosen horse file. Every
// rule of the game and every text it shows are in the C++
// (web/front_end.cpp and the race code).
//
// Test hook: ?seed=N fixes the random seed (an integer below 2^53), and
// ?clock=scripted stops time: the clock reads 10:00 (36000 s since
// midnight, where the native frame dumps start theirs) and moves only by
// window.trotixTest.advance(ms), which runs the tick if one is due.
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
  let scriptedMs = 36000 * 1000;
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

  // The largest whole number of device pixels per window pixel that fits,
  // above and below the window a strip as tall as the horse-file corner, so
  // the corner never covers the window (it may on a page too small for both).
  const corner = document.getElementById('horse-file');
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const room = innerHeight - 2 * corner.offsetHeight;
    const scale = Math.max(1, Math.floor(Math.min(innerWidth * ratio / canvas.width, room * ratio / canvas.height)));
    canvas.style.width = canvas.width * scale / ratio + 'px';
    canvas.style.height = canvas.height * scale / ratio + 'px';
  }
  addEventListener('resize', fit);
  fit();

  // ---- The F7 listing: a modal box; OK, Enter and Escape close it, and
  // while it is open the game takes no keys or clicks, as on the desktop.
  const listing = document.getElementById('listing');
  function showListing(title, text) {
    document.getElementById('listing-title').textContent = title;
    document.getElementById('listing-text').textContent = text;
    listing.showModal();
  }
  listing.addEventListener('close', () => canvas.focus());
  const playing = () => ready && !listing.open;

  // ---- Input. F5 and F7 are the game's: the browser neither reloads nor
  // turns on caret browsing. They act on release, as on the desktop.
  const keyCodes = { F5: 116, F7: 118 };
  addEventListener('keydown', (event) => {
    if (event.key in keyCodes) event.preventDefault();
    // The listing's OK is its default button, wherever the focus is; Escape
    // closes it by itself.
    if (event.key === 'Enter' && listing.open) {
      event.preventDefault();
      listing.close();
    }
  });
  addEventListener('keyup', (event) => {
    if (!(event.key in keyCodes)) return;
    event.preventDefault();
    if (playing() && !event.repeat) Module._trotix_key_up(keyCodes[event.key]);
  });
  canvas.addEventListener('click', (event) => {
    if (!playing()) return;
    const box = canvas.getBoundingClientRect();
    Module._trotix_click(Math.floor((event.clientX - box.left) * canvas.width / box.width),
                         Math.floor((event.clientY - box.top) * canvas.height / box.height));
  });

  // ---- The horse data file: its first bytes go to the game, which reads
  // them as the desktop reads the file beside it. A file the game takes is
  // kept in the browser's storage with its name and read again on the next
  // visit; a refused one, or Forget, leaves nothing kept.
  const chosenName = document.getElementById('field-file-name');
  const forgetButton = document.getElementById('forget-file');
  const notice = document.getElementById('field-file-notice');
  const storedName = 'trotix.horseFile.name';
  const storedBytes = 'trotix.horseFile.bytes';
  function showNotice(text) {
    notice.textContent = text;
    notice.hidden = text === '';
    document.getElementById('horse-file').classList.toggle('told', text !== '');
  }
  function showChosen(name) {
    chosenName.textContent = name;
    forgetButton.hidden = name === '';
  }
  function openFieldFile(name, bytes) {
    const nameBytes = new TextEncoder().encode(name);
    const room = Module._trotix_field_file_room(nameBytes.length, bytes.length);
    Module.HEAPU8.set(nameBytes, room);
    Module.HEAPU8.set(bytes, room + nameBytes.length);
    const taken = Module._trotix_open_field_file(nameBytes.length) !== 0;
    showChosen(taken ? name : '');
    return taken;
  }
  function keep(name, bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    try {
      localStorage.setItem(storedName, name);
      localStorage.setItem(storedBytes, btoa(text));
    } catch (error) {
      // Storage full or refused: the file holds for this visit only.
    }
  }
  function forgetKept() {
    try {
      localStorage.removeItem(storedName);
      localStorage.removeItem(storedBytes);
    } catch (error) {
      // Nothing can be kept, so nothing is.
    }
  }
  function openKept() {
    let name = null;
    let text = null;
    try {
      name = localStorage.getItem(storedName);
      text = localStorage.getItem(storedBytes);
    } catch (error) {
      return;
    }
    if (name === null || text === null) return;
    const bytes = Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
    if (!openFieldFile(name, bytes)) forgetKept();
  }
  async function chooseFieldFile(file) {
    if (!playing() || file === undefined) return;
    const bytes = new Uint8Array(await file.slice(0, Module._trotix_field_file_bytes()).arrayBuffer());
    if (openFieldFile(file.name, bytes)) keep(file.name, bytes);
    else forgetKept();
  }
  const fileInput = document.getElementById('field-file');
  fileInput.addEventListener('change', () => {
    chooseFieldFile(fileInput.files[0]);
    fileInput.value = '';  // the same file chosen again is read again
  });
  forgetButton.addEventListener('click', () => {
    Module._trotix_forget_field_file();
    forgetKept();
    showChosen('');
    showNotice('');
    canvas.focus();
  });
  addEventListener('dragover', (event) => event.preventDefault());
  addEventListener('drop', (event) => {
    event.preventDefault();
    chooseFieldFile(event.dataTransfer.files[0]);
  });

  function state() {
    return { phase: Module._trotix_phase(), ticks: Module._trotix_ticks(),
             runEnabled: Module._trotix_run_enabled() !== 0, timerOn: interval > 0 };
  }

  window.Module = {
    page: { clockSeconds, startTimer, stopTimer, present, showListing, showNotice },
    onRuntimeInitialized() {
      openKept();
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
