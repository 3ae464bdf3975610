// The service worker as the build makes it, run by Node against a host, a
// Cache Storage and timers of the test's own: which request is answered
// from which kept file, the network's time limit, a host that fails, the
// install of a whole release and the caches it leaves.
//
//   node --test sw_test.mjs
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import vm from 'node:vm';
import { digest, releaseOf, serviceWorkerText } from '../tools/make_sw.mjs';

const scope = 'https://host.test/game/';
const files = { 'index.html': 'the game', 'trotix.js': 'the race', 'icon-512.png': 'an icon', 'lab_worker_text.js': 'the lab' };
const site = mkdtempSync(path.join(tmpdir(), 'trotix-sw-'));
for (const [name, text] of Object.entries(files)) writeFileSync(path.join(site, name), text);
const swText = serviceWorkerText(readFileSync(new URL('../page/sw.js', import.meta.url), 'utf8'), site, Object.keys(files));
const { release } = releaseOf(site, Object.keys(files));
const ourCache = `trotix ${scope} ${release}`;

// A worker started afresh. host(url, init) answers its fetches (a Response,
// or a promise of one); kept holds the release's cache, name to text.
function startWorker({ host = () => Promise.reject(new TypeError('offline')), kept = {} } = {}) {
  const handlers = {};
  const stores = new Map([[ourCache, new Map(Object.entries(kept).map(([name, text]) => [scope + name, text]))]]);
  const store = (name) => stores.get(name) ?? stores.set(name, new Map()).get(name);
  const worker = {
    fetched: [], told: [], timers: [], stores,
    caches: {
      open: async (name) => ({
        match: async (url) => (store(name).has(url) ? new Response(store(name).get(url)) : undefined),
        put: async (url, response) => { store(name).set(url, await response.text()); },
      }),
      keys: async () => [...stores.keys()],
      delete: async (name) => stores.delete(name),
    },
    fetch: async (request, init) => {
      worker.fetched.push({ url: request.url ?? request, cache: init?.cache, signal: init?.signal });
      return host(request.url ?? request, init);
    },
    setTimeout: (run, ms) => worker.timers.push({ run, ms }),
    clearTimeout: (id) => { worker.timers[id - 1].cleared = true; },
    self: {
      registration: { scope },
      addEventListener: (type, handler) => { handlers[type] = handler; },
      skipWaiting: async () => {},
      clients: { claim: async () => {}, matchAll: async () => [{ postMessage: (message) => worker.told.push(message) }] },
    },
    // Dispatches an event; resolves to what the worker answered, if anything.
    async dispatch(type, fields = {}) {
      const waits = [];
      let answer;
      handlers[type]({ ...fields, waitUntil: (promise) => waits.push(promise), respondWith: (promise) => { answer = promise; } });
      const response = await answer;
      for (let i = 0; i < waits.length; ++i) await waits[i].catch((error) => { worker.failed = error; });
      return response;
    },
  };
  vm.runInNewContext(swText, { ...worker, crypto, URL, Response, AbortController, console });
  return worker;
}
const get = (name, mode = 'no-cors', method = 'GET') => ({ request: { url: new URL(name, scope).href, mode, method } });
const answerText = async (response) => (response === undefined ? 'not answered' : `${response.status} ${await response.text()}`);
const kept = { 'index.html': 'kept game', 'trotix.js': 'kept race', 'icon-512.png': 'kept icon' };

test('each request is answered from the kept file it names, a navigation only at the game address', async () => {
  for (const [request, expected] of [
    [get('', 'navigate'), '200 kept game'],
    [get('?seed=123&clock=scripted', 'navigate'), '200 kept game'],
    [get('index.html?seed=1', 'navigate'), '200 kept game'],
    [get('icon-512.png', 'navigate'), 'not answered'],
    [get('trotix.js', 'navigate'), 'not answered'],
    [get('sub/', 'navigate'), 'not answered'],
    [get('icon-512.png'), '200 kept icon'],
    [get('trotix.js?v=2'), '200 kept race'],
    [get('sw.js'), 'not answered'],
    [get('index.html'), '200 kept game'],
    [get('/index.html', 'navigate'), 'not answered'],
    [get('https://other.test/game/', 'navigate'), 'not answered'],
    [get('trotix.js', 'no-cors', 'POST'), 'not answered'],
  ]) {
    assert.equal(await answerText(await startWorker({ kept }).dispatch('fetch', request)), expected,
                 `${request.request.mode} ${request.request.url}`);
  }
});

test('online the network answers, past the HTTP cache; a host that fails or hangs yields the kept copy', async () => {
  const online = startWorker({ kept, host: () => new Response('fresh race') });
  assert.equal(await answerText(await online.dispatch('fetch', get('trotix.js'))), '200 fresh race');
  assert.equal(online.fetched[0].cache, 'no-cache');
  for (const status of [503, 404]) {
    const failing = startWorker({ kept, host: () => new Response('busy', { status }) });
    assert.equal(await answerText(await failing.dispatch('fetch', get('trotix.js'))), '200 kept race', `${status}`);
  }
  const bare = startWorker({ host: () => new Response('busy', { status: 503 }) });
  assert.equal(await answerText(await bare.dispatch('fetch', get('trotix.js'))), '503 busy');

  const hanging = startWorker({ kept, host: () => new Promise(() => {}) });
  const answered = hanging.dispatch('fetch', get('', 'navigate'));
  await new Promise((done) => setImmediate(done));
  assert.equal(hanging.timers.length, 1);
  assert.ok(hanging.timers[0].ms >= 1000 && hanging.timers[0].ms <= 10000, `waits ${hanging.timers[0].ms} ms`);
  hanging.timers[0].run();
  assert.equal(await answerText(await answered), '200 kept game');
  assert.ok(hanging.fetched[0].signal.aborted, 'the hanging fetch goes on');
});

test('a file kept when first loaded is kept only if it is of the release', async () => {
  for (const [text, keptAfter] of [['the lab', 'the lab'], ['a newer lab', undefined]]) {
    const worker = startWorker({ host: () => new Response(text) });
    assert.equal(await answerText(await worker.dispatch('fetch', get('lab_worker_text.js'))), `200 ${text}`);
    assert.equal(worker.stores.get(ourCache).get(`${scope}lab_worker_text.js`), keptAfter);
  }
});

test('an install keeps the whole release but the lab, from the browser\'s copy when it is the release\'s', async () => {
  const stale = { [scope]: 'an older game' };
  const worker = startWorker({ host: (url, { cache }) => new Response(cache === 'force-cache' && stale[url] || files[url.slice(scope.length) || 'index.html']) });
  await worker.dispatch('install');
  assert.equal(worker.failed, undefined);
  assert.deepEqual(Object.fromEntries(worker.stores.get(ourCache)),
                   { [`${scope}index.html`]: 'the game', [`${scope}trotix.js`]: 'the race', [`${scope}icon-512.png`]: 'an icon' });
  assert.deepEqual(worker.fetched.map(({ url, cache }) => `${url.slice(scope.length)} ${cache}`).sort(),
                   [' force-cache', ' reload', 'icon-512.png force-cache', 'trotix.js force-cache']);
});

test('an install that cannot keep a file fails, and says why', async () => {
  for (const [host, why] of [
    [(url) => new Response(url.endsWith('trotix.js') ? 'gone' : files[url.slice(scope.length) || 'index.html'],
                           { status: url.endsWith('trotix.js') ? 404 : 200 }), 'the host answered 404 for trotix.js'],
    [(url) => new Response(url.endsWith('.png') ? 'another icon' : files[url.slice(scope.length) || 'index.html']),
     'the host holds a icon-512.png of another release'],
    [() => Promise.reject(new TypeError('offline')), 'could not be fetched'],
  ]) {
    const worker = startWorker({ host });
    await worker.dispatch('install');
    assert.ok(worker.failed, why);
    assert.equal(worker.told.length, 1);
    assert.ok(worker.told[0].trotixOffline.includes(why), `${worker.told[0].trotixOffline} against ${why}`);
  }
});

test('taking charge drops the caches of older releases at this address only', async () => {
  const worker = startWorker();
  for (const name of ['trotix', `trotix ${scope} 0123456789abcdef`, 'trotix https://host.test/other/ 0123456789abcdef', 'notes']) {
    await (await worker.caches.open(name)).put('x', new Response(''));
  }
  await worker.dispatch('activate');
  assert.deepEqual([...worker.stores.keys()].sort(), [ourCache, 'notes', 'trotix https://host.test/other/ 0123456789abcdef'].sort());
});

test('the release changes with any file of the site', () => {
  const folder = mkdtempSync(path.join(tmpdir(), 'trotix-release-'));
  writeFileSync(path.join(folder, 'trotix.js'), 'the race');
  writeFileSync(path.join(folder, 'lab.css'), '');
  const first = releaseOf(folder, ['trotix.js']);
  assert.deepEqual(releaseOf(folder, ['trotix.js']), first);
  writeFileSync(path.join(folder, 'trotix.js'), 'the race, mended');
  assert.notEqual(releaseOf(folder, ['trotix.js']).release, first.release);
  writeFileSync(path.join(folder, 'trotix.js'), 'the race');
  assert.notEqual(releaseOf(folder, ['lab.css', 'trotix.js']).release, first.release);
  assert.equal(releaseOf(folder, ['lab.css', 'trotix.js']).siteFiles['lab.css'], digest(''));
});
