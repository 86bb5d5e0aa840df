'use strict';
// Keeps the page for offline use after the first visit: everything it
// needs is in its own file; the rest is what installing shows. The cache
// is named after this copy's folder and a hash of what it serves: a new
// release brings a new cache, and only this copy's old ones are deleted,
// never another app's on the same host or a second copy in another folder.
// It answers requests for its own files alone, so another app in a
// sub-folder of the same host goes to the network as if it were not here.
const Scope = self.registration.scope;
const Prefix = `pimbola ${Scope} `;
const Cache = Prefix + '@CONTENT@';
const Page = address('pimbola.html');
const Files = ['pimbola.html', 'manifest.webmanifest', 'icon.svg', 'icon-180.png', 'icon-192.png', 'icon-512.png']
    .map(address);
// Kept once a browser without WebAssembly runs on it, and only then.
const ScriptCore = address('pimbola-without-wasm.js');
// Hosts that drop ".html" serve the page as "pimbola"; a host may serve it
// as the folder's own address too, which is the page's only once the page
// has been opened there (the folder may hold a school's own index).
const Dropped = address('pimbola');

function address(name) {
    return new URL(name, Scope).href;
}

// A navigation refuses a response that was redirected (as from a host
// that answers "pimbola.html" with a 301 to "pimbola"): keep a clean one.
async function clean(response) {
    if (!response.redirected)
        return response;
    return new Response(await response.blob(),
                        {status: response.status, statusText: response.statusText, headers: response.headers});
}

// Past the HTTP cache, which may still hold the release before.
async function fetchFresh(url) {
    const response = await fetch(new Request(url, {cache: 'reload'}));
    if (!response.ok)
        throw new Error(`${url}: ${response.status}`);
    return clean(response);
}

// What an earlier release of this copy kept beyond its files: the script
// core, and the addresses the page was opened at.
async function keptBefore() {
    const names = (await caches.keys()).filter(name => name.startsWith(Prefix) && name !== Cache);
    const kept = new Set();
    for (const name of names) {
        for (const request of await (await caches.open(name)).keys()) {
            if (!Files.includes(request.url))
                kept.add(request.url);
        }
    }
    return [...kept];
}

async function keep(cache, url) {
    if (url === ScriptCore)
        await cache.put(url, await fetchFresh(url));
    else if (url === Scope)
        await cache.put(url, await cache.match(Page));
}

self.addEventListener('install', event => {
    event.waitUntil((async () => {
        const cache = await caches.open(Cache);
        const kept = await keptBefore();
        await Promise.all(Files.map(async url => cache.put(url, await fetchFresh(url))));
        await Promise.all(kept.map(url => keep(cache, url)));
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', event => {
    event.waitUntil(caches.keys()
        .then(names => Promise.all(names.filter(name => name.startsWith(Prefix) && name !== Cache)
            .map(name => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// The page tells where it was opened and whether it runs on the script
// core: that is what this browser needs kept beyond the page's files. A
// failed write (storage full) costs only the offline copy.
self.addEventListener('message', event => {
    const wanted = event.data && event.data.keep;
    if (!Array.isArray(wanted))
        return;
    event.waitUntil(caches.open(Cache)
        .then(cache => Promise.all(wanted.map(async url => {
            if (!await cache.match(url))
                await keep(cache, url);
        })))
        .catch(error => console.warn('Pimbola keeps less for offline use:', error)));
});

// The cached copy for a request of this copy's own, or none.
function cachedKey(request) {
    const url = request.url.split(/[?#]/)[0];
    if (url === Page || url === Dropped)
        return Page;
    if (url === Scope && request.mode === 'navigate')
        return Scope;
    return Files.includes(url) || url === ScriptCore ? url : null;
}

async function respond(event, key) {
    const cached = await caches.match(key, {cacheName: Cache}).catch(() => undefined);
    if (cached)
        return cached;
    const response = await fetch(event.request);
    if (key === ScriptCore && response.ok) {
        const copy = response.clone();
        event.waitUntil(caches.open(Cache).then(async cache => cache.put(key, await clean(copy)))
            .catch(error => console.warn('Pimbola keeps less for offline use:', error)));
    }
    return response;
}

self.addEventListener('fetch', event => {
    const key = event.request.method === 'GET' && cachedKey(event.request);
    if (key)
        event.respondWith(respond(event, key));
});
