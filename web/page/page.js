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

  // ---- Time (race_time.js): the race's clock and its timer.
  const clock = Trotix.raceClock(scripted);
  const clockSeconds = clock.seconds;
  const timer = Trotix.raceTimer(() => Module._trotix_timer(), clock, scripted);
  const startTimer = (ms) => timer.start(ms);
  const stopTimer = () => timer.stop();
  Trotix.watchLifecycle(Trotix.say, () => timer.on);

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
  const keep = (name, bytes) => Trotix.keptFile.keep(name, bytes, Trotix.say);
  const forgetKept = () => Trotix.keptFile.forget();
  function openKept() {
    const kept = Trotix.keptFile.read(Module._trotix_field_file_bytes(), Trotix.say);
    if (kept !== null && !openFieldFile(kept.name, kept.bytes)) forgetKept();
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
             runEnabled: Module._trotix_run_enabled() !== 0, timerOn: timer.on };
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
            timer.advance(ms);
            return state();
          },
          state,
        };
      }
    },
  };
})();
