"""The page kept by its service worker, as a school's server serves it:
a new release reaches a copy already installed, and two copies on one
host each keep working offline. Used by pagetest.py in every engine."""
import shutil
import tempfile
from pathlib import Path

from pagetest import Site, expect

CACHES = 'return caches.keys().then(names => names.filter(name => name.startsWith("pimbola")))'


def served_copy(site_dir, folder):
    shutil.copytree(site_dir, folder, dirs_exist_ok=True)


def installed(browser, url):
    """Opens the page and waits until its service worker holds it."""
    browser.open(url)
    browser.wait(lambda: browser.js('return !!navigator.serviceWorker.controller'), 'the service worker')
    browser.wait(lambda: browser.js(CACHES), 'the service worker cache')


def release(browser):
    """What tells two builds apart, also of one version: the page's style."""
    return browser.js("return document.querySelector('style').textContent")


def release_of(site_dir):
    return Path(site_dir, 'pimbola.html').read_text().split('<style>')[1].split('</style>')[0]


def step_offline(browser, url):
    browser.open(url)
    browser.element('Button3').click()
    expect(browser.labels()[0] == '１×１', f'offline at {url}, a step shows {browser.labels()}')


def test_release_reaches_installed_copy(browser, site_a, site_b):
    """Serve build A and install it; serve build B, a change with the same
    version number: within two reloads the page is B, also offline."""
    with tempfile.TemporaryDirectory() as folder:
        served_copy(site_a, folder)
        site = Site(Path(folder), cached=False)
        page = site.url + 'pimbola.html'
        try:
            installed(browser, page)
            expect(release(browser) == release_of(site_a), 'the page is not build A')
            first_cache = browser.js(CACHES)
            served_copy(site_b, folder)
            browser.open(page)
            # Between two reloads, as a child's, the new worker takes over
            # and drops the old release's cache.
            browser.wait(lambda: browser.js(CACHES) not in ([], first_cache) and len(browser.js(CACHES)) == 1,
                         "release B's cache in place of A's")
            browser.open(page)
            expect(release(browser) == release_of(site_b), 'after two reloads the page is not build B')
        finally:
            site.stop()
        browser.open(page)
        expect(release(browser) == release_of(site_b), 'offline the page is not build B')
        step_offline(browser, page)


def test_two_copies_offline(browser, site_a):
    """Two copies in two folders of one host: each keeps its own cache, and
    both work offline."""
    with tempfile.TemporaryDirectory() as folder:
        for copy in ('one', 'two'):
            served_copy(site_a, Path(folder, copy))
        site = Site(Path(folder), cached=False)
        pages = [site.url + copy + '/pimbola.html' for copy in ('one', 'two')]
        try:
            for page in pages:
                installed(browser, page)
            names = browser.js(CACHES)
            expect(len(names) == 2, f'two copies, caches {names}')
        finally:
            site.stop()
        for page in pages:
            step_offline(browser, page)
