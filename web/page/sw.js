// The page's service worker. The build puts this release's name (`release`)
// and the digest of every file of the site (`siteFiles`) before this text
// (web/tools/make_sw.mjs), so the worker changes with every release and
// each release keeps its files in a cache of its own, written whole when it
// is installed and the only one left once it takes charge. Online every
// file comes from the network, past the browser's HTTP cache, so a release
// shows at the next visit; the cache answers when the network fails, says
// no, or keeps the page waiting. So the page plays offline after one visit,
// and what it plays is one release, online or not.
'use strict';
const cacheName = `trotix ${self.registration.scope} ${release}`;
// How long a page with a kept copy waits for the network to start answering.
const patience = 4000;
// Loaded only when the lab first runs, and kept then rather than at install,
// so that a visit that never opens Chances never downloads it.
const keptWhenLoaded = ['lab_worker_text.js'];

const fileUrl = (name) => new URL(name, self.registration.scope).href;

// The name of the site's file that a request asks for, or '' when it is not
// one to answer from the cache. A navigation is the game only at the game's
// own address; opening the icon or the manifest in a tab is not the game.
function keptName(request) {
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (request.method !== 'GET' || url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return '';
  const name = url.pathname.slice(scope.pathname.length);
  if (request.mode === 'navigate') return name === '' || name === 'index.html' ? 'index.html' : '';
  return Object.hasOwn(siteFiles, name) ? name : '';
}

async function digest(response) {
  const bytes = new Uint8Array(await crypto.subtle.digest('SHA-256', await response.clone().arrayBuffer()));
  return Array.from(bytes.subarray(0, 16), (byte) => byte.toString(16).padStart(2, '0')).join('');
}
const isOfRelease = async (name, response) => response?.ok === true && await digest(response) === siteFiles[name];

// Why a file could not be kept, in the words of the line the page shows.
function whyNot(name, response) {
  if (!response) return `${name} could not be fetched`;
  if (!response.ok) return `the host answered ${response.status} for ${name}`;
  return `the host holds a ${name} of another release`;
}

// One file into the release's cache. The page has most likely just loaded
// it, so the browser's own copy is taken when it is this release's file;
// index.html as the page loads it, at the folder's address.
async function keep(cache, name) {
  if (await cache.match(fileUrl(name))) return;
  const url = fileUrl(name === 'index.html' ? '' : name);
  let response = await fetch(url, { cache: 'force-cache' }).catch(() => null);
  if (!(await isOfRelease(name, response))) response = await fetch(url, { cache: 'reload' }).catch(() => null);
  if (!(await isOfRelease(name, response))) throw new Error(whyNot(name, response));
  await cache.put(fileUrl(name), response);
}

// The pages say why the game could not be kept; the worker installed
// before, if any, keeps serving.
async function tellPages(text) {
  for (const client of await self.clients.matchAll({ includeUncontrolled: true, type: 'window' })) {
    client.postMessage({ trotixOffline: text });
  }
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => Promise.all(Object.keys(siteFiles).filter((name) => !keptWhenLoaded.includes(name))
      .map((name) => keep(cache, name))))
    .then(() => self.skipWaiting(), (error) => tellPages(error.message).then(() => { throw error; })));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== cacheName && (name === 'trotix' ||
                                                 name.startsWith(`trotix ${self.registration.scope} `)))
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The network's answer if it is good and comes within `patience`; the kept
// copy if there is one; else whatever the network says, however late.
function firstGood(network, kept, giveUp) {
  if (!kept) return network;
  return new Promise((resolve) => {
    const timer = setTimeout(() => {
      giveUp();
      resolve(kept);
    }, patience);
    network.then((response) => {
      clearTimeout(timer);
      resolve(response.ok || response.type === 'opaqueredirect' ? response : kept);
    }, () => {
      clearTimeout(timer);
      resolve(kept);
    });
  });
}

async function answer(name, event) {
  const cache = await caches.open(cacheName);
  const kept = await cache.match(fileUrl(name));
  const stop = new AbortController();
  const network = fetch(event.request, { cache: 'no-cache', signal: stop.signal });
  if (!kept) {
    event.waitUntil(network.then(async (response) => {
      const copy = response.clone();
      if (await isOfRelease(name, copy)) await cache.put(fileUrl(name), copy);
    }).catch(() => {}));
  }
  return firstGood(network, kept, () => stop.abort());
}

self.addEventListener('fetch', (event) => {
  const name = keptName(event.request);
  if (name !== '') event.respondWith(answer(name, event));
});
