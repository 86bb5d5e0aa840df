'use strict';
// Keeps the page for offline use after the first visit: everything it
// needs is in its own file; the rest is what installing shows. The cache
// is named after this copy's folder and a hash of what it serves: a new
// release brings a new cache, and only this copy's old ones are deleted,
// never another app's on the same host or a second copy in another folder.
const Prefix = `pimbola ${self.registration.scope} `;
const Cache = Prefix + '@CONTENT@';
const Files = ['pimbola.html', 'manifest.webmanifest', 'icon.svg', 'icon-180.png', 'icon-192.png', 'icon-512.png'];
// Kept once a browser without WebAssembly has fetched it, and only then.
const ScriptCore = 'pimbola-without-wasm.js';

self.addEventListener('install', event => {
    // Past the HTTP cache, which may still hold the release before.
    const requests = Files.map(file => new Request(file, {cache: 'reload'}));
    event.waitUntil(caches.open(Cache).then(cache => cache.addAll(requests)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
    event.waitUntil(caches.keys()
        .then(names => Promise.all(names.filter(name => name.startsWith(Prefix) && name !== Cache)
            .map(name => caches.delete(name))))
        .then(() => self.clients.claim()));
});

async function respond(request) {
    const cache = await caches.open(Cache);
    const cached = await cache.match(request, {ignoreSearch: true});
    if (cached)
        return cached;
    const response = await fetch(request);
    if (response.ok && new URL(request.url).href === new URL(ScriptCore, self.registration.scope).href)
        await cache.put(request, response.clone());
    return response;
}

self.addEventListener('fetch', event => {
    if (event.request.method === 'GET')
        event.respondWith(respond(event.request));
});
