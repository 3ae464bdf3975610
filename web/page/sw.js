// The page's service worker: it keeps every file of the page in a cache
// when it is installed, and then serves each request from the network when
// there is one (keeping the fresh copy) and from the cache when there is
// not. So after one visit the page plays offline, and while online it is
// always the newest, its files all of one version.
'use strict';
const cacheName = 'trotix';
// Every file of the site (web/CMakeLists.txt's page_files and trotix.js);
// the browser test holds this list against the built folder.
const siteFiles = ['index.html', 'page.js', 'lab.css', 'lab_worker_text.js', 'trotix.js',
                   'manifest.webmanifest', 'icon-32.png', 'icon-192.png', 'icon-512.png', 'icon-512-maskable.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(siteFiles.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin) return;
  // The page under any test-hook query is the one index.html.
  url.search = '';
  const key = request.mode === 'navigate' ? new URL('index.html', self.registration.scope).href : url.href;
  event.respondWith(fetch(request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      event.waitUntil(caches.open(cacheName).then((cache) => cache.put(key, copy)));
    }
    return response;
  }, () => caches.match(key).then((kept) => kept || Response.error())));
});
