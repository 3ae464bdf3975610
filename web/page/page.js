// The page around the game: it shows the window's picture in the canvas,
// passes keys, clicks, the page's controls and horse data files in, runs the
// race timer, reads the clock, shows the F7 listing and remembers the chosen
// horse file. Every rule of the game and every text it shows are in the C++
// (web/front_end.cpp and the race code); the controls are controls.js, their
// places layout.js, the race's time race_time.js, the kept file
// kept_file.js.
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
  const controls = window.trotixControls;
  let ready = false;

  // ---- Time (race_time.js): the race's clock and its timer.
  const clock = Trotix.raceClock(scripted);
  const clockSeconds = clock.seconds;
  const timer = Trotix.raceTimer(() => Module._trotix_timer(), clock, scripted);
  const startTimer = (ms) => timer.start(ms);
  const stopTimer = () => timer.stop();
  Trotix.watchLifecycle(Trotix.say, () => timer.on);

  // ---- The picture: the window's bytes are already in canvas order. Every
  // handler ends here, so the controls follow the game from here too.
  const game = {
    runEnabled: () => Module._trotix_run_enabled() !== 0,
    listingOffered: () => Module._trotix_listing_offered() !== 0,
    distance: () => Module._trotix_distance(),
    boardText: () => cString(Module._trotix_board_text()),
  };
  function cString(pointer) {
    const end = Module.HEAPU8.indexOf(0, pointer);
    return new TextDecoder().decode(Module.HEAPU8.subarray(pointer, end));
  }
  let image = null;
  function present(heap, pointer, width, height, stride) {
    if (image === null || image.width !== width || image.height !== height) {
      canvas.width = width;
      canvas.height = height;
      image = context.createImageData(width, height);
      window.trotixLayout.fit();
    }
    for (let y = 0; y < height; ++y) {
      const row = pointer + y * stride;
      image.data.set(heap.subarray(row, row + width * 4), y * width * 4);
    }
    context.putImageData(image, 0, 0);
    controls.refresh(game);
    if (performance.getEntriesByName('trotix-first-frame').length === 0) performance.mark('trotix-first-frame');
  }


  // ---- The F7 listing: a modal box; OK, Enter and Escape close it, and
  // while it is open the game takes no keys or clicks, as on the desktop.
  const listing = document.getElementById('listing');
  function showListing(title, text) {
    document.getElementById('listing-title').textContent = title;
    document.getElementById('listing-text').textContent = text;
    listing.showModal();
  }
  const playing = () => ready && !listing.open && !controls.helpOpen();

  // ---- Input. F5 and F7 are the game's wherever the focus is: the browser
  // neither reloads nor turns on caret browsing. They act on release, as on
  // the desktop. Ctrl+F5 and Ctrl+R reload as on any page. "?" and F1 open
  // the help ("?" not while it is typed into the lab's seed).
  const keyCodes = { F5: 116, F7: 118 };
  addEventListener('keydown', (event) => {
    if (event.key in keyCodes && !event.ctrlKey) event.preventDefault();
    // The listing's OK is its default button, wherever the focus is; Escape
    // closes it by itself.
    if (event.key === 'Enter' && listing.open) {
      event.preventDefault();
      listing.close();
    }
    // F1 never opens the browser's own help over the game.
    if (event.key === 'F1') event.preventDefault();
    const typing = event.target instanceof HTMLInputElement || event.target instanceof HTMLSelectElement;
    if ((event.key === 'F1' || (event.key === '?' && !typing)) && playing()) {
      event.preventDefault();
      controls.openHelp();
    }
  });
  addEventListener('keyup', (event) => {
    if (!(event.key in keyCodes)) return;
    event.preventDefault();
    if (playing() && !event.repeat) Module._trotix_key_up(keyCodes[event.key]);
  });
  controls.run.addEventListener('click', () => {
    if (playing() && controls.enabled(controls.run)) Module._trotix_run();
  });
  controls.field.addEventListener('click', () => {
    if (playing() && controls.enabled(controls.field)) Module._trotix_key_up(keyCodes.F7);
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
  let openingName = '';  // the name the game's next line about a file may begin with
  function showNotice(text) {
    controls.showNotice(text, openingName);
  }
  // The name and the bytes handed to the game. It answers 0 refused, 1 taken
  // and set up now, 2 taken for the next Run.
  const refused = 0, takenForNextRace = 2;
  function handIn(name, bytes) {
    const nameBytes = new TextEncoder().encode(name);
    const room = Module._trotix_field_file_room(nameBytes.length, bytes.length);
    Module.HEAPU8.set(nameBytes, room);
    Module.HEAPU8.set(bytes, room + nameBytes.length);
    openingName = name;
    return nameBytes.length;
  }
  function openFieldFile(name, bytes) {
    const taken = Module._trotix_open_field_file(handIn(name, bytes));
    controls.showChosen(taken === refused ? '' : name, taken === takenForNextRace);
    return taken !== refused;
  }
  function refuseFolder(name) {
    Module._trotix_refuse_field_folder(handIn(name, new Uint8Array(0)));
    controls.showChosen('', false);
    forgetKept();
  }
  const keep = (name, bytes) => Trotix.keptFile.keep(name, bytes, Trotix.say);
  const forgetKept = () => Trotix.keptFile.forget();
  function openKept() {
    const kept = Trotix.keptFile.read(Module._trotix_field_file_bytes(), Trotix.say);
    if (kept !== null && !openFieldFile(kept.name, kept.bytes)) forgetKept();
  }
  // A file that comes while a box is open, or before the game has loaded,
  // waits for the game and is taken then: the last one chosen wins.
  let waiting = null;
  async function chooseFieldFile(file, folder) {
    if (file === undefined) return;
    if (!playing()) {
      waiting = { file, folder };
      return;
    }
    if (folder) {
      refuseFolder(file.name);
      return;
    }
    let bytes;
    try {
      bytes = new Uint8Array(await file.slice(0, Module._trotix_field_file_bytes()).arrayBuffer());
    } catch (error) {
      // What the file control gives for a folder cannot be read.
      refuseFolder(file.name);
      return;
    }
    if (!playing()) {  // a box opened while the file was read
      waiting = { file, folder };
      return;
    }
    if (openFieldFile(file.name, bytes)) keep(file.name, bytes);
    else forgetKept();
  }
  function takeWaiting() {
    if (waiting === null || !playing()) return;
    const { file, folder } = waiting;
    waiting = null;
    chooseFieldFile(file, folder);
  }
  listing.addEventListener('close', takeWaiting);
  document.getElementById('help').addEventListener('close', takeWaiting);
  const fileInput = document.getElementById('field-file');
  controls.chooseButton.addEventListener('click', () => fileInput.click());
  fileInput.addEventListener('change', () => {
    chooseFieldFile(fileInput.files[0], false);
    fileInput.value = '';  // the same file chosen again is read again
  });
  controls.forget.addEventListener('click', () => {
    Module._trotix_forget_field_file();
    forgetKept();
    controls.showChosen('', false);
    showNotice('');
    controls.chooseButton.focus();
  });
  addEventListener('dragover', (event) => event.preventDefault());
  addEventListener('drop', (event) => {
    event.preventDefault();
    // Whether it is a folder can be asked only while the drop is handled.
    const item = event.dataTransfer.items[0];
    const entry = item && item.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
    chooseFieldFile(event.dataTransfer.files[0], entry !== null && entry.isDirectory);
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
      controls.showReady(scripted);
      canvas.focus();
      takeWaiting();
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

  // ---- Loading the game, or one line saying why it cannot run: a browser
  // without WebAssembly or its SIMD and bulk memory (the smallest modules
  // that use them must validate), a game that fails to load or to start.
  function canRunWebAssembly() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.validate !== 'function') return false;
    const simd = [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11];
    const bulkMemory = [0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3, 2, 1, 0, 5, 3, 1, 0, 1, 10, 14, 1, 12, 0,
                        65, 0, 65, 0, 65, 0, 252, 10, 0, 0, 11];
    try {
      return WebAssembly.validate(new Uint8Array(simd)) && WebAssembly.validate(new Uint8Array(bulkMemory));
    } catch (error) {
      return false;
    }
  }
  Module.onAbort = () => controls.showTrouble('The game stopped with an error and cannot go on. Load the page again to restart it.');
  if (!canRunWebAssembly()) {
    controls.showTrouble('This browser cannot run Trotix: it needs WebAssembly with SIMD and bulk memory ' +
                         '(Chrome or Edge 91, Firefox 89, Safari 16.4 or later, with WebAssembly turned on).');
    return;
  }
  const script = document.createElement('script');
  script.src = 'trotix.js';
  script.onerror = () => controls.showTrouble('The game (trotix.js) could not be loaded. Check the connection, then load the page again.');
  document.body.append(script);
})();
