// The page's service worker: keeps the page's own files so that it loads
// and plays offline after one visit. Each file is asked of the network
// first, so a new build is what the next visit gets; the cache answers when
// the network cannot. scripts/build-web.sh writes the build's version into
// the cache's name, so a new build starts a cache of its own and the old
// one is dropped when it takes over.
'use strict';
const VERSION = 'dev';
const CACHE = 'zarvox-' + VERSION;
const FILES = ['./', 'index.html', 'page.js', 'zarvox.js', 'zarvox.wasm', 'manifest.webmanifest',
               'favicon.png', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('zarvox-') && n !== CACHE)
                                      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// Which of the page's files a request is, or null for anything else (the
// test mode's key scripts, other sites): those go to the network untouched.
function ownFile(request) {
  if (request.method !== 'GET') return null;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return null;
  const name = url.pathname.slice(scope.pathname.length);
  if (name === '' || name === 'index.html') return './';
  return FILES.includes(name) ? name : null;
}

self.addEventListener('fetch', (event) => {
  const file = ownFile(event.request);
  if (!file) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    try {
      const response = await fetch(event.request, { cache: 'no-cache' });
      if (response.ok) await cache.put(file, response.clone());
      return response;
    } catch (e) {
      const kept = await cache.match(file);
      if (kept) return kept;
      throw e;
    }
  })());
});
