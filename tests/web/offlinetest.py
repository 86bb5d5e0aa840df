"""The page kept by its service worker, as a school's server serves it:
a new build reaches a copy already installed, and two copies on one host
each keep working offline. Checks that pagetest.py runs in every engine;
each serves its own folder."""
import shutil
import tempfile
from pathlib import Path

from checking import PHONE, Site, expect, first_step

CACHES = 'return caches.keys().then(names => names.filter(name => name.startsWith("pimbola")))'


def served_copy(site_dir, folder):
    shutil.copytree(site_dir, folder, dirs_exist_ok=True)


def installed(engine, url):
    """Opens the page and waits until its service worker holds it."""
    engine.open(url, PHONE)
    engine.wait(lambda: engine.js('return !!navigator.serviceWorker.controller'), 'the service worker')
    engine.wait(lambda: engine.js(CACHES), 'the service worker cache')


def release(engine):
    """What tells two builds apart, also of one version: the page's style."""
    return engine.js("return document.querySelector('style').textContent")


def release_of(site_dir):
    return Path(site_dir, 'pimbola.html').read_text().split('<style>')[1].split('</style>')[0]


def step_offline(engine, url):
    engine.open(url, PHONE)
    first_step(engine, f'offline at {url}')


def test_release_reaches_installed_copy(engine, site_a, site_b):
    """Serve build A and install it; serve build B, a change with the same
    version number: within two reloads the page is B, also offline, though
    the browser's HTTP cache still holds A (every file is served with
    max-age=600, as common static hosts send it)."""
    with tempfile.TemporaryDirectory() as folder:
        served_copy(site_a, folder)
        site = Site(Path(folder), max_age=600)
        page = site.url + 'pimbola.html'
        try:
            installed(engine, page)
            expect(release(engine) == release_of(site_a), 'the page is not build A')
            first_cache = engine.js(CACHES)
            served_copy(site_b, folder)
            engine.open(page, PHONE)
            # Between two reloads, as a child's, the new worker takes over
            # and drops the old release's cache.
            engine.wait(lambda: engine.js(CACHES) not in ([], first_cache) and len(engine.js(CACHES)) == 1,
                         "release B's cache in place of A's")
            engine.open(page, PHONE)
            expect(release(engine) == release_of(site_b), 'after two reloads the page is not build B')
        finally:
            site.stop()
        engine.open(page, PHONE)
        expect(release(engine) == release_of(site_b), 'offline the page is not build B')
        step_offline(engine, page)


def test_two_copies_offline(engine, site_a):
    """Two copies in two folders of one host: each keeps its own cache, and
    both work offline."""
    with tempfile.TemporaryDirectory() as folder:
        for copy in ('one', 'two'):
            served_copy(site_a, Path(folder, copy))
        site = Site(Path(folder), cached=False)
        pages = [site.url + copy + '/pimbola.html' for copy in ('one', 'two')]
        try:
            for page in pages:
                installed(engine, page)
            names = engine.js(CACHES)
            expect(len(names) == 2, f'two copies, caches {names}')
        finally:
            site.stop()
        for page in pages:
            step_offline(engine, page)
