'use strict';
// Keeps the page for offline use after the first visit: everything it
// needs is in its own file; the rest is what installing shows.
const Cache = 'pimbola-@VERSION@';
const Files = ['pimbola.html', 'manifest.webmanifest', 'icon.svg', 'icon-180.png', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', event => {
    event.waitUntil(caches.open(Cache).then(cache => cache.addAll(Files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
    event.waitUntil(caches.keys()
        .then(names => Promise.all(names.filter(name => name !== Cache).map(name => caches.delete(name))))
        .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
    if (event.request.method !== 'GET')
        return;
    event.respondWith(caches.match(event.request, {ignoreSearch: true})
        .then(cached => cached || fetch(event.request)));
});
