#!/usr/bin/python3
"""The page as phones and tablets hold it, and through its life in a
browser, in Debian's headless Chromium with its device emulation:
    devicetest.py SITE_DIR
Touch (taps, double taps, long presses, safe areas, tap targets), a held
key, the back/forward cache, おわる in a tab a link opened, and a browser
without WebAssembly. Prints one line per check, then a summary; non-zero if
any check failed.
"""
import shutil
import sys
import tempfile
import time
from pathlib import Path

from checking import PHONE, Check, Site, checked, expect, first_step, labels, report, run_checks
from engines import Chromium

# Phones as children hold them, upright, in CSS pixels.
PHONES = {'360 × 740': (360, 740), '393 × 852': (393, 852)}
RESTARTED = 'はじめに　もどりました'
AT_REST = ('Label1', 'Label3', 'Label4')
# The smallest target a finger is given (WCAG 2.2, target size minimum).
TARGET_PX = 24
SCRIPT_CORE = 'pimbola-without-wasm.js'


class Phone:
    """Chromium as a touch screen phone."""

    def __init__(self, browser, size):
        self.browser = browser
        self.size = size

    def open(self, url):
        width, height = self.size
        self.browser.cdp('Emulation.setTouchEmulationEnabled', enabled=True, maxTouchPoints=5)
        self.browser.cdp('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=3,
                         mobile=True)
        self.browser.driver.get(url)
        self.browser.wait_ready()

    def centre(self, name):
        return self.browser.js("""const r = document.getElementById(arguments[0]).getBoundingClientRect();
                                  return [r.left + r.width / 2, r.top + r.height / 2];""", name)

    def touch(self, name, held_s=0.0):
        x, y = self.centre(name)
        self.browser.cdp('Input.dispatchTouchEvent', type='touchStart', touchPoints=[{'x': x, 'y': y}])
        if held_s:
            time.sleep(held_s)
        self.browser.cdp('Input.dispatchTouchEvent', type='touchEnd', touchPoints=[])

    def tap(self, name):
        self.touch(name)
        # A tap's click comes after the touch; a script run after it sees
        # what the tap did.
        self.browser.js('return new Promise(done => requestAnimationFrame(() => setTimeout(done)))')

    def steps(self):
        return labels(self.browser)


def test_taps(browser, site, size):
    """Each kind of control acts exactly once for one tap."""
    phone = Phone(browser, size)
    phone.open(site.url + 'pimbola.html')
    phone.tap('CheckBox3')
    expect(checked(browser, 'CheckBox3') and not checked(browser, 'CheckBox13'),
           'a tap on ３のだん checks it (and clears ぜんぶのだん)')
    phone.tap('CheckBox11')
    expect(checked(browser, 'CheckBox11'), 'a tap on となえかたをだす checks it')
    phone.tap('RadioButton2')
    expect(checked(browser, 'RadioButton2'), 'a tap on くだり九九 chooses it')
    phone.tap('ListBox1-2')
    expect(browser.js('return ListBox1.querySelector("[aria-selected=true]").id') == 'ListBox1-2',
           'a tap on ３びょうおき chooses it')
    phone.tap('Button3')
    expect(phone.steps()[:2] == ('３×９', ''), f'one tap, one step: {phone.steps()}')
    phone.tap('Button3')
    expect(phone.steps()[:2] == ('３×９', '２７'), f'a second tap, a second step: {phone.steps()}')


def test_double_tap(browser, site, size):
    """Two quick taps are two steps, never a zoom."""
    phone = Phone(browser, size)
    phone.open(site.url + 'pimbola.html')
    phone.touch('Button3')
    phone.touch('Button3')
    browser.wait(lambda: phone.steps()[1] == '１', 'two steps from a double tap', timeout=2)
    expect(browser.js('return visualViewport.scale') == 1, 'a double tap zoomed the page')
    # Safari zooms on a double tap unless touch-action forbids it; Chromium
    # never does on a page fit to the device's width, so here the page's
    # own word is what can be seen.
    expect(browser.js('return getComputedStyle(document.body).touchAction') == 'manipulation',
           'Safari may zoom on a double tap')


def test_selection(browser, site, size):
    """No text of the window can be selected: not by a long press, nor by
    a double press, which stands in for the long press's word selection
    that headless Chromium does not make. No pull down reloads the page."""
    phone = Phone(browser, size)
    phone.open(site.url + 'pimbola.html')
    phone.tap('CheckBox11')
    phone.tap('Button3')
    expect(labels(browser)[2] == 'いんいちが', f'the step shows {labels(browser)}')
    for name in ('Label1', 'Label2', 'Label4', 'CheckBox10', 'ListBox1-1'):
        x, y = browser.js("""const element = document.getElementById(arguments[0]);
            const range = document.createRange();
            range.selectNodeContents(element.localName === 'input' ? element.parentNode : element);
            const r = range.getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];""", name)
        browser.js('getSelection().removeAllRanges()')
        browser.cdp('Input.synthesizeTapGesture', x=x, y=y, duration=1200, gestureSourceType='touch')
        for kind in ('mousePressed', 'mouseReleased'):
            browser.cdp('Input.dispatchMouseEvent', type=kind, x=x, y=y, button='left', clickCount=2)
        selected = browser.js('return getSelection().toString()')
        expect(selected == '', f'a long press or double tap on {name} selected {selected!r}')
    expect(browser.js('return getComputedStyle(document.documentElement).overscrollBehaviorY') == 'none',
           'a pull down may reload the page')


def test_tap_targets(browser, site):
    """At 360 px wide every target is at least 24 × 24 px."""
    phone = Phone(browser, PHONES['360 × 740'])
    phone.open(site.url + 'pimbola.html')
    sizes = browser.js("""return [...document.querySelectorAll('button, label, [role=option]')].map(e => {
        const r = e.getBoundingClientRect();
        return [e.id || e.querySelector('input').id, r.width, r.height]; })""")
    small = [f'{name} {width:.1f} × {height:.1f}' for name, width, height in sizes
             if width < TARGET_PX or height < TARGET_PX]
    expect(len(sizes) == 23, f'{len(sizes)} targets')
    expect(not small, 'targets under 24 × 24 px: ' + ', '.join(small))


def test_safe_areas(browser, site):
    """In landscape nothing lies under the notch or the home indicator."""
    insets = {'top': 0, 'left': 59, 'right': 59, 'bottom': 21}
    phone = Phone(browser, (852, 393))
    browser.cdp('Emulation.setSafeAreaInsetsOverride', insets=insets)
    try:
        phone.open(site.url + 'pimbola.html')
        outside = browser.js("""const [top, left, right, bottom] = arguments;
            return [...document.querySelectorAll('#form > *')].filter(e => {
                const r = e.getBoundingClientRect();
                return r.left < left || r.top < top || r.right > innerWidth - right || r.bottom > innerHeight - bottom;
            }).map(e => e.id || e.querySelector('input').id)""",
                             insets['top'], insets['left'], insets['right'], insets['bottom'])
        expect(not outside, f'under the safe areas: {outside}')
    finally:
        browser.cdp('Emulation.setSafeAreaInsetsOverride', insets={})


def key(browser, name, kind, repeat=False):
    codes = {'Enter': (13, '\r'), ' ': (32, ' ')}
    code, text = codes[name]
    parameters = {'type': kind, 'key': name, 'code': 'Enter' if name == 'Enter' else 'Space',
                  'windowsVirtualKeyCode': code, 'autoRepeat': repeat}
    if kind == 'keyDown':
        parameters['text'] = text
    browser.cdp('Input.dispatchKeyEvent', **parameters)


def test_held_keys(browser, site):
    """Holding Enter or Space on ひとつずつ steps once per press."""
    browser.open(site.url + 'pimbola.html', PHONE)
    browser.click('CheckBox3')
    for press, (name, wanted) in enumerate((('Enter', ('３×１', '')), (' ', ('３×１', '３')))):
        browser.js("document.getElementById('Button3').focus()")
        key(browser, name, 'keyDown')
        for _ in range(5):
            key(browser, name, 'keyDown', repeat=True)
        key(browser, name, 'keyUp')
        expect(labels(browser)[:2] == wanted, f'press {press + 1} ({name!r} held) shows {labels(browser)}')


def chosen(browser):
    """The boxes and buttons checked and the list's row chosen, in page order."""
    return browser.js("""return [...document.querySelectorAll('input:checked, #ListBox1 [aria-selected=true]')]
                             .map(e => e.id)""")


def at_start(browser):
    """Whether the page shows what it shows when opened."""
    return labels(browser) == AT_REST and chosen(browser) == ['RadioButton1', 'ListBox1-0', 'CheckBox13']


# Counts the page's timer firing, for a check to wait on the tick in which
# a run would have stepped.
COUNT_TICKS = """window.ticks = 0;
    const setTimer = window.setTimeout;
    window.setTimeout = (callback, delay) => setTimer(() => { ++window.ticks; callback(); }, delay);"""


def test_back_forward_cache(browser, site):
    """Restored from the back/forward cache mid-run, the page starts afresh:
    every choice as at start, and no step follows."""
    browser.open(site.url + 'pimbola.html', PHONE)
    for name in ('CheckBox3', 'CheckBox11', 'RadioButton2', 'ListBox1-1', 'Button1'):
        browser.click(name)
    browser.wait(lambda: labels(browser)[0] != 'Label1', 'the timed run')
    browser.js("window.restored = false; addEventListener('pageshow', event => { restored = event.persisted; });"
               + COUNT_TICKS)
    browser.driver.get(site.url + 'launcher.html')
    browser.driver.back()
    browser.wait(lambda: browser.js('return window.restored === true'), 'the page from the back/forward cache')
    expect(at_start(browser), f'restored, the page shows {labels(browser)}, {chosen(browser)} chosen')
    browser.js('window.ticks = 0')
    browser.wait(lambda: browser.js('return window.ticks') > 0, "the page's timer to fire", timeout=3)
    expect(labels(browser) == AT_REST, f'restored, the run went on: {labels(browser)}')


def open_from_link(browser, site):
    """The page in a new tab from a link, as a child opens it: one page in
    its history, so the browser would let a script close it."""
    driver = browser.driver
    driver.get(site.url + 'launcher.html')
    opener = driver.current_window_handle
    driver.find_element('id', 'open').click()
    browser.wait(lambda: len(driver.window_handles) == 2, 'the tab the link opens')
    tab = next(handle for handle in driver.window_handles if handle != opener)
    driver.switch_to.window(tab)
    browser.wait_ready()
    expect(browser.js('return history.length') == 1, 'the tab holds one page')
    return tab


def test_quit_in_tab(browser, site):
    """おわる in a tab a link opened: the tab stays and starts afresh, every
    choice back as it was at start."""
    tab = open_from_link(browser, site)
    for name in ('CheckBox3', 'CheckBox11', 'RadioButton3', 'ListBox1-2', 'Button3'):
        browser.click(name)
    browser.click('Button2')
    browser.wait(lambda: browser.js("return document.getElementById('announcer').textContent") == RESTARTED,
                 'the restart')
    # A window that close() was called on says so at once, before it goes.
    expect(tab in browser.driver.window_handles and not browser.js('return window.closed'), 'おわる closed the tab')
    expect(at_start(browser), f'after おわる the page shows {labels(browser)}, {chosen(browser)} chosen')
    expect(browser.js('return document.activeElement.id') == 'Button1', 'focus is on タイマーで')


def test_quit_installed(browser, site):
    """おわる in an installed app's window closes it."""
    tab = open_from_link(browser, site)
    # Chromium cannot emulate an app window's display mode: the page is
    # told it runs in one.
    browser.js("""const matchMedia = window.matchMedia.bind(window);
        window.matchMedia = query => query === '(display-mode: standalone)' ? {matches: true} : matchMedia(query);""")
    browser.click('Button2')
    browser.wait(lambda: tab not in browser.driver.window_handles, 'the app window to close')


def without_webassembly(browser):
    return browser.cdp('Page.addScriptToEvaluateOnNewDocument', source='delete window.WebAssembly')


def test_without_webassembly(browser, site_dir):
    """Without WebAssembly the page runs on the core as plain JavaScript,
    which its service worker then keeps for offline use."""
    without_webassembly(browser)

    def step(where):
        browser.click('CheckBox3')
        first_step(browser, where, '３×１')

    with tempfile.TemporaryDirectory() as folder:
        shutil.copytree(site_dir, folder, dirs_exist_ok=True)
        site = Site(Path(folder), cached=False)
        page = site.url + 'pimbola.html'
        try:
            browser.open(page, PHONE)
            step('first visit')
            expect(browser.js("return performance.getEntriesByType('resource').some(e => e.name.endsWith(arguments[0]))",
                              SCRIPT_CORE), 'the page ran without the core as plain JavaScript')
            browser.wait(lambda: browser.js('return !!navigator.serviceWorker.controller'), 'the service worker')
            browser.open(page, PHONE)
            browser.wait(lambda: browser.js("""return caches.keys()
                .then(names => Promise.all(names.map(name => caches.open(name).then(cache => cache.keys()))))
                .then(lists => lists.flat().some(request => request.url.endsWith(arguments[0])))""", SCRIPT_CORE),
                         'the service worker to keep the core as plain JavaScript')
        finally:
            site.stop()
        browser.open(page, PHONE)
        step('offline')


def test_no_core_at_all(browser, site):
    """Without WebAssembly and without the core beside it, the page says
    so, in Japanese, and logs why."""
    without_webassembly(browser)
    browser.driver.get(site.url + 'alone/pimbola.html')
    browser.wait(lambda: browser.js('return document.documentElement.dataset.ready') == 'failed',
                 'the page to give up')
    text = browser.js("return document.getElementById('failure').innerText")
    expect(browser.js("return document.getElementById('failure').checkVisibility()") and 'ブラウザ' in text
           and SCRIPT_CORE in text, f'the page says {text!r}')
    errors = browser.console_errors()
    expect(any('could not start' in error for error in errors), f'the console has {errors}')


def main(site_dir):
    site_dir = Path(site_dir).resolve()
    # Where a child's link comes from, beside a copy of the page.
    folder = Path(tempfile.mkdtemp())
    shutil.copytree(site_dir, folder, dirs_exist_ok=True)
    (folder / 'launcher.html').write_text('<!DOCTYPE html><title>launcher</title><link rel="icon" href="data:,">'
                                          '<a id="open" href="pimbola.html" target="_blank">Pimbola</a>')
    # pimbola.html alone, as copied without its folder.
    (folder / 'alone').mkdir()
    shutil.copy(site_dir / 'pimbola.html', folder / 'alone')
    site = Site(folder)
    checks = [Check(f'taps act once at {name}', lambda b, s=size: test_taps(b, site, s)) for name, size in PHONES.items()]
    checks += [Check(f'a double tap steps twice and does not zoom at {name}',
                     lambda b, s=size: test_double_tap(b, site, s)) for name, size in PHONES.items()]
    checks += [
        Check('no text can be selected; no pull to refresh', lambda b: test_selection(b, site, PHONES['360 × 740'])),
        Check('every tap target 24 × 24 px at 360 px wide', lambda b: test_tap_targets(b, site)),
        Check('nothing under the safe areas in landscape', lambda b: test_safe_areas(b, site)),
        Check('a held Enter or Space steps once', lambda b: test_held_keys(b, site)),
        Check('restored from the back/forward cache, the page starts afresh', lambda b: test_back_forward_cache(b, site)),
        Check('おわる in a tab a link opened keeps the tab', lambda b: test_quit_in_tab(b, site)),
        Check('おわる in an installed app closes its window', lambda b: test_quit_installed(b, site)),
        Check('without WebAssembly the page runs on its script core', lambda b: test_without_webassembly(b, site_dir)),
        Check('without WebAssembly or the script core the page says so', lambda b: test_no_core_at_all(b, site),
              makes_console_errors=True),
    ]
    # A fresh browser each: emulation and history stay with a browser.
    result = run_checks('chromium on phones', checks, Chromium, fresh=True)
    site.stop()
    shutil.rmtree(folder)
    return report([result])


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
