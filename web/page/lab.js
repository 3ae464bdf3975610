// "Chances": the lab in the page. It races the field now in the window (the
// one F7 lists) many times over with trotix-sim's own code in WebAssembly
// (web/lab/), spread over Web Workers, one per core the browser reports, and
// shows the figures, the chart and the tables that code writes. The page
// hands out the races in numbered blocks, as trotix-sim hands them to its
// threads, so the counts do not depend on how many workers there are. Every
// figure, table cell and the chart come from the C++; this file only runs
// the workers and puts their answers in the panel.
//
// window.trotixLab.run({seed, races, workers}) runs the lab as the panel's
// Run does, with any number of races and workers, and resolves with
// {json, tables, svg, seconds, workers}; it rejects when the run is
// cancelled or cut short.
'use strict';
(function () {
  const raceChoices = [10000, 100000, 1000000];
  const defaultRaces = 100000;
  const pipelined = 2;  // blocks a worker holds, so it never waits for the next

  // 100000 as 100,000. (toLocaleString would wake the browser's locale data
  // and delay the game's first frame.)
  const grouped = (n) => String(n).replace(/\B(?=(\d{3})+$)/g, ',');

  const panel = document.getElementById('lab');
  const opener = document.getElementById('lab-open');
  const find = (id) => document.getElementById(id);
  let fieldLine, racesChoice, seedInput, runButton, cancelButton, progress, status, figures;

  // The panel is made the first time it is wanted, so the game's first
  // frame never waits for it.
  let built = false;
  function build() {
    if (built) return;
    built = true;
    panel.innerHTML = `
      <div class="lab-head"><h2 id="lab-title">Chances</h2>
        <button type="button" class="lab-close" aria-label="Close">×</button></div>
      <p id="lab-field"></p>
      <form class="lab-settings">
        <label>Races <select id="lab-races">${raceChoices.map((n) =>
          `<option value="${n}"${n === defaultRaces ? ' selected' : ''}>${grouped(n)}</option>`).join('')}
        </select></label>
        <label>Seed <input id="lab-seed" inputmode="numeric" autocomplete="off" size="17" placeholder="new"></label>
        <button type="submit" id="lab-run">Run</button>
        <button type="button" id="lab-cancel" disabled>Cancel</button>
      </form>
      <progress id="lab-progress" max="1" value="0" aria-label="Races run"></progress>
      <p id="lab-status" role="status"></p>
      <div id="lab-figures" hidden>
        <p id="lab-run-line"></p>
        <div id="lab-chart"></div>
        <table id="lab-horses"><caption>Win: every horse</caption></table>
        <table id="lab-pairs"><caption>Quinella: the first two in either order</caption></table>
        <p id="lab-time"></p>
      </div>`;
    fieldLine = find('lab-field');
    racesChoice = find('lab-races');
    seedInput = find('lab-seed');
    runButton = find('lab-run');
    cancelButton = find('lab-cancel');
    progress = find('lab-progress');
    status = find('lab-status');
    figures = find('lab-figures');
    wire();
  }

  // ---- The field in the window, and what the player was last told of the
  // horse file: a refused file leaves the field random, and the panel says so.
  let refusal = '';
  const pageImports = window.Module.page;
  const showNotice = pageImports.showNotice;
  pageImports.showNotice = (text) => {
    refusal = text;
    showNotice(text);
    if (!panel.hidden) describeField();
  };
  function windowField() {
    const at = window.Module._trotix_field() / 8;
    const numbers = window.Module.HEAPF64.slice(at, at + 19);
    const fromFile = numbers[0] === 1;
    return {
      records: numbers.slice(1),
      fromFile,
      words: fromFile ? 'the field in the window, from the horse file' : 'the field in the window, drawn at random',
    };
  }
  function describeField() {
    if (!window.Module._trotix_field) return;
    const field = windowField();
    let text = `Field: ${field.words}, as F7 lists it.`;
    if (!field.fromFile && refusal !== '') text += ` The horse file was refused: ${refusal}`;
    fieldLine.textContent = text;
  }

  // ---- The workers' script (lab_worker_text.js), loaded the first time it
  // is needed, so the game's first frame never waits for it.
  let workerText = null;
  function loadWorkerText() {
    if (workerText === null) {
      workerText = new Promise((resolve, reject) => {
        const script = document.createElement('script');
        script.src = 'lab_worker_text.js';
        script.onload = () => resolve(window.trotixLabWorkerText);
        script.onerror = () => {
          workerText = null;
          reject(new Error('lab_worker_text.js could not be loaded'));
        };
        document.head.appendChild(script);
      });
    }
    return workerText;
  }

  // ---- One run over the workers.
  let current = null;
  async function run(settings) {
    if (current !== null) throw new Error('the lab is already running');
    if (!window.Module._trotix_field) throw new Error('the game is still loading');
    const { seed, races, workers } = settings;
    const whole = (n, low, high) => Number.isSafeInteger(n) && n >= low && n <= high;
    if (!whole(seed, 0, Number.MAX_SAFE_INTEGER) || !whole(races, 1, 1e9) || !whole(workers, 1, 256)) {
      throw new Error('a seed below 2^53, 1 to 10^9 races and 1 to 256 workers');
    }
    const field = windowField();  // the field at the press of Run
    const waiting = { stopped: false, stop: () => { waiting.stopped = true; } };
    current = waiting;
    const text = await loadWorkerText().finally(() => { if (current === waiting) current = null; });
    if (waiting.stopped) throw new Error('cancelled');
    return runOn(text, field, settings);
  }

  function runOn(text, field, { seed, races, workers }) {
    const url = URL.createObjectURL(new Blob([text], { type: 'text/javascript' }));
    const started = performance.now();
    const state = { races, done: 0, blocks: -1, next: 0, answered: 0, pool: [], tallies: [], raced: 0, url };
    current = state;
    const finish = () => {
      for (const worker of state.pool) worker.terminate();
      URL.revokeObjectURL(url);
      if (current === state) current = null;
    };
    return new Promise((resolve, reject) => {
      state.stop = (why) => {
        finish();
        reject(new Error(why));
      };
      const handOut = (worker) => {
        if (state.next >= state.blocks) return;
        worker.postMessage({ type: 'block', block: state.next++ });
      };
      const report = () => {
        state.raced = (performance.now() - started) / 1000;
        state.pool[0].postMessage({ type: 'report', tallies: state.tallies, field: field.words, workers,
                                    seconds: state.raced });
      };
      const answer = (worker, message) => {
        if (current !== state) return;
        switch (message.type) {
          case 'ready':
            state.blocks = message.blocks;
            for (let i = 0; i < pipelined; ++i) handOut(worker);
            break;
          case 'done':
            state.done += message.races;
            state.answered += 1;
            showProgress(state, started);
            handOut(worker);
            if (state.answered === state.blocks) {
              // Every worker's tally goes to the first, which adds them up.
              if (state.pool.length === 1) report();
              for (const other of state.pool.slice(1)) other.postMessage({ type: 'tally' });
            }
            break;
          case 'tally':
            state.tallies.push(message.bytes);
            if (state.tallies.length === state.pool.length - 1) report();
            break;
          case 'report':
            finish();
            resolve({ json: message.json, tables: message.tables, svg: message.svg, seconds: state.raced, workers });
            break;
          default:
            state.stop(`a worker failed: ${message.message}`);
        }
      };
      for (let i = 0; i < workers; ++i) {
        const worker = new Worker(url);
        worker.onmessage = (event) => answer(worker, event.data);
        worker.onerror = (event) => {
          event.preventDefault();
          if (current === state) state.stop(`a worker failed: ${event.message}`);
        };
        worker.postMessage({ type: 'begin', seed, races, field: field.records });
        state.pool.push(worker);
      }
    });
  }

  function cancel() {
    if (current !== null) current.stop('cancelled');
  }

  let lastTold = 0;
  function showProgress(state, started) {
    progress.max = state.races;
    progress.value = state.done;
    const now = performance.now();
    // The words at most once a second, so a screen reader is not flooded.
    if (now - lastTold < 1000 && state.done !== state.races) return;
    lastTold = now;
    const seconds = (now - started) / 1000;
    const left = state.done > 0 ? Math.ceil(seconds * (state.races - state.done) / state.done) : 0;
    status.textContent = `${grouped(state.done)} of ${grouped(state.races)} races, ` +
                         `about ${left} s left`;
  }

  // ---- The figures: the chart as the C++ drew it, the tables cell for cell.
  function fillTable(table, data) {
    const caption = table.caption;
    table.replaceChildren(caption);
    const head = table.createTHead().insertRow();
    for (const header of data.headers) {
      const cell = document.createElement('th');
      cell.scope = 'col';
      cell.textContent = header;
      head.appendChild(cell);
    }
    const body = table.createTBody();
    for (const row of data.rows) {
      const line = body.insertRow();
      row.forEach((text, column) => {
        const cell = document.createElement(column === 0 ? 'th' : 'td');
        if (column === 0) cell.scope = 'row';
        cell.textContent = text.trim();
        if (/^(under|over)priced$/.test(text)) cell.className = text;
        if (data.headers[column] === 'Style') cell.lang = 'ja';  // the game's glyphs in the panel's English
        line.appendChild(cell);
      });
    }
  }
  function show(result) {
    const report = JSON.parse(result.json);
    const tables = JSON.parse(result.tables);
    const chart = new DOMParser().parseFromString(result.svg, 'image/svg+xml');
    if (chart.getElementsByTagName('parsererror').length > 0) throw new Error('the chart could not be read');
    find('lab-chart').replaceChildren(document.importNode(chart.documentElement, true));
    fillTable(find('lab-horses'), tables.horses);
    fillTable(find('lab-pairs'), tables.quinella);
    find('lab-run-line').textContent = `${grouped(report.races)} races of ${report.field}, ` +
      `seed ${report.seed_text} (give it as the seed to run them again); ` +
      `${result.workers} workers, ${result.seconds.toFixed(1)} s.`;
    find('lab-time').textContent = `Winner's time on the board: ${tables.winner_time}`;
    figures.hidden = false;
  }

  // ---- The panel's controls.
  function newSeed() {
    return Date.now() * 1000 + Math.floor(Math.random() * 1000);  // below 2^53
  }
  function setRunning(running) {
    runButton.disabled = running;
    cancelButton.disabled = !running;
    racesChoice.disabled = running;
    seedInput.disabled = running;
  }
  async function runFromPanel(settings) {
    build();
    // Nothing of an earlier run stays up while this one goes.
    figures.hidden = true;
    status.textContent = `Running ${grouped(settings.races)} races on ${settings.workers} workers…`;
    progress.max = settings.races;
    progress.value = 0;
    lastTold = performance.now();
    setRunning(true);
    describeField();
    try {
      const result = await run(settings);
      show(result);
      status.textContent = `Done: ${grouped(settings.races)} races in ${result.seconds.toFixed(1)} s.`;
      return result;
    } catch (error) {
      figures.hidden = true;
      status.textContent = error.message === 'cancelled'
        ? `Cancelled after ${grouped(progress.value)} of ${grouped(settings.races)} races: no figures.`
        : `The run stopped short (${error.message}): no figures.`;
      throw error;
    } finally {
      setRunning(false);
    }
  }
  function wire() {
    panel.querySelector('form').addEventListener('submit', (event) => {
      event.preventDefault();
      const text = seedInput.value.trim();
      const seed = text === '' ? newSeed() : Number(text);
      if (!/^\d{1,16}$/.test(text === '' ? '0' : text) || !Number.isSafeInteger(seed)) {
        status.textContent = 'The seed is a whole number below 9007199254740992 (2^53), or empty for a new one.';
        return;
      }
      const workers = Math.max(1, navigator.hardwareConcurrency || 1);
      runFromPanel({ seed, races: Number(racesChoice.value), workers }).catch(() => {});
    });
    cancelButton.addEventListener('click', cancel);
    panel.querySelector('.lab-close').addEventListener('click', () => toggle(false));
    panel.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') toggle(false);
    });
  }

  function toggle(open) {
    build();
    panel.hidden = !open;
    window.trotixLayout.fit();  // its place, under the window and the controls
    opener.setAttribute('aria-expanded', String(open));
    if (open) {
      describeField();
      runButton.focus();
    } else {
      opener.focus();
    }
  }
  opener.addEventListener('click', () => toggle(panel.hidden));

  window.trotixLab = {
    run: (settings) => runFromPanel(settings),
    cancel,
    open: () => toggle(true),
  };
})();
