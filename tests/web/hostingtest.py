"""The page on any static host and offline in any browser, kept by its
service worker, and what it says when it cannot start: checks that
pagetest.py runs in every engine. Where a release is served, every file
comes with Cache-Control: max-age=600, as common static hosts send it, so
what the worker keeps must come past the browser's HTTP cache; where the
page is opened offline at its addresses, nothing is kept in that cache,
so that what opens, opens through the worker. A browser without
WebAssembly, or without one of the features the page needs, is made by
the test server, which runs a first script that deletes it."""
import shutil
import tempfile
from pathlib import Path

from checking import PHONE, Site, expect, first_step
from offlinetest import release, release_of

MAX_AGE = 600
SCRIPT_CORE = 'pimbola-without-wasm.js'
NO_WEBASSEMBLY = 'delete window.WebAssembly;'
# What the page needs, each taken away in turn: it must say it is too old.
NEEDS = ('window.Promise', 'window.Symbol', 'Object.assign', 'Element.prototype.append')
# The addresses each kind of host gives the page, the first as a link names
# it; the home screen opens pimbola.html, the manifest's start_url.
ADDRESSES = {'plain': ('pimbola.html',), 'dropping': ('pimbola.html', 'pimbola'), 'folder': ('', 'pimbola.html')}
KEPT = """return caches.keys()
    .then(names => Promise.all(names.filter(name => name.startsWith('pimbola'))
                                    .map(name => caches.open(name).then(cache => cache.keys()))))
    .then(lists => [].concat(...lists).map(request => request.url))"""
CACHES = 'return caches.keys().then(names => names.filter(name => name.startsWith("pimbola")))'


def served(site_dir, folder, without=()):
    shutil.copytree(site_dir, folder, dirs_exist_ok=True)
    for name in without:
        Path(folder, name).unlink()


def installed(engine, url, *wanted):
    """Opens the page and waits until its service worker controls it and
    keeps the page and the addresses wanted."""
    engine.open(url, PHONE)
    engine.wait(lambda: engine.js('return !!navigator.serviceWorker.controller'), 'the service worker')
    for address in (url.rsplit('/', 1)[0] + '/pimbola.html',) + wanted:
        engine.wait(lambda: address in engine.js(KEPT), f'the service worker to keep {address}')


def step(engine, url, where):
    engine.open(url, PHONE)
    first_step(engine, f'{where}, at {url}')


def on_script_core(engine):
    return engine.js("return !!document.querySelector('script[src$=\"' + arguments[0] + '\"]')", SCRIPT_CORE)


def shown_messages(engine):
    return engine.js("return [...document.querySelectorAll('.message')].filter(m => !m.hidden).map(m => m.id)")


def test_hosts(engine, site_dir):
    """On a plain host, one that drops ".html" with a 301 and one that
    serves the folder's address, the page opens at each of its addresses
    once its worker is installed, online and with the server gone."""
    for host, addresses in ADDRESSES.items():
        with tempfile.TemporaryDirectory() as folder:
            served(site_dir, folder)
            site = Site(folder, host=host, cached=False)
            urls = [site.url + address for address in addresses]
            try:
                installed(engine, urls[0], *(url for url in urls if url == site.url))
                for url in urls:
                    step(engine, url, f'on a {host} host, installed')
            finally:
                site.stop()
            for url in urls:
                step(engine, url, f'on a {host} host, offline')


def test_offline_without_webassembly(engine, site_a, site_b):
    """Without WebAssembly: one visit, the server gone, a reload: the drill
    runs; then a release, one visit, the server gone: it runs again."""
    with tempfile.TemporaryDirectory() as folder:
        served(site_a, folder)
        site = Site(folder, max_age=MAX_AGE, first_script=NO_WEBASSEMBLY)
        page = site.url + 'pimbola.html'
        try:
            installed(engine, page, site.url + SCRIPT_CORE)
            expect(on_script_core(engine), 'the page ran with WebAssembly')
            first_cache = engine.js(CACHES)
        finally:
            site.stop()
        step(engine, page, 'without WebAssembly, offline after one visit')
        served(site_b, folder)
        site.start()
        try:
            engine.open(page, PHONE)
            engine.wait(lambda: engine.js(CACHES) not in ([], first_cache) and len(engine.js(CACHES)) == 1
                        and site.url + SCRIPT_CORE in engine.js(KEPT), "release B's cache with the script core")
        finally:
            site.stop()
        step(engine, page, 'without WebAssembly, offline after a release')
        expect(release(engine) == release_of(site_b) and on_script_core(engine),
               'offline after a release, the page is not build B on its script core')


def expect_message(engine, url, cause):
    engine.open(url, PHONE, ready='failed')
    shown = shown_messages(engine)
    expect(shown == [cause], f'at {url} the page shows the messages {shown}, not {cause}')
    text = engine.js('return document.getElementById(arguments[0]).textContent', cause)
    expect('ブラウザ' in text or 'インターネット' in text, f'the message says {text!r}')


def test_too_old(engine, site_dir):
    """Without any one thing the page needs, it says the browser is too
    old, and only that."""
    for need in NEEDS:
        # Given back once the page's scripts have run, for the driver's own.
        taken = (f'const taken = {need}; delete {need};'
                 f'addEventListener("DOMContentLoaded", () => {{ {need} = taken; }});')
        site = Site(site_dir, first_script=taken)
        try:
            expect_message(engine, site.url + 'pimbola.html', 'too-old')
        finally:
            site.stop()


def test_failure_causes(engine, site_dir):
    """Without WebAssembly, the page names why it cannot start: its script
    core missing from the server, or the browser offline before a visit
    that kept it."""
    with tempfile.TemporaryDirectory() as folder:
        served(site_dir, folder, without=(SCRIPT_CORE,))
        site = Site(folder, max_age=MAX_AGE, first_script=NO_WEBASSEMBLY)
        page = site.url + 'pimbola.html'
        try:
            expect_message(engine, page, 'no-script-core')
            engine.wait(lambda: page in engine.js(KEPT), 'the service worker to keep the page')
        finally:
            site.stop()
        expect_message(engine, page, 'offline')
    # Each failure is reported on the console as well as on the page.
    errors = engine.console_errors()
    reported = [error for error in errors if 'could not start' in error]
    expect(len(reported) == 2, f'the console has {errors}')
