#!/usr/bin/python3
"""The page as phones and tablets hold it, and through its life in a
browser, in Debian's headless Chromium with its device emulation:
    devicetest.py SITE_DIR [WORD …]    only the checks whose names hold a WORD
Touch (taps, double taps, long presses, safe areas, tap targets), a held
key, the back/forward cache, おわる in a tab a link opened, and a browser
without WebAssembly. Prints one line per check, then a summary; non-zero if
any check failed.
"""
import json
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
# How long the page waits for its script core before it says it has not come.
SCRIPT_CORE_WAIT_S = 10


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


# An iPhone's safe areas (iPhone 14 Pro, in CSS pixels), held upright and
# on its side.
SAFE_AREAS = {
    'upright': ((393, 852), {'top': 59, 'left': 0, 'right': 0, 'bottom': 34}),
    'on its side': ((852, 393), {'top': 0, 'left': 59, 'right': 59, 'bottom': 21}),
}


def test_safe_areas(browser, site):
    """Held either way, the window is as large as fits inside the safe
    areas, centred in them, and nothing lies under the notch, the status
    bar or the home indicator."""
    for way, (size, insets) in SAFE_AREAS.items():
        phone = Phone(browser, size)
        browser.cdp('Emulation.setSafeAreaInsetsOverride', insets=insets)
        try:
            phone.open(site.url + 'pimbola.html')
            outside, window = browser.js("""const [top, left, right, bottom] = arguments;
                const outside = [...document.querySelectorAll('#form > *')].filter(e => {
                    const r = e.getBoundingClientRect();
                    return r.left < left || r.top < top || r.right > innerWidth - right
                        || r.bottom > innerHeight - bottom;
                }).map(e => e.id || e.querySelector('input').id);
                const r = document.getElementById('form').getBoundingClientRect();
                return [outside, [r.left, r.top, r.width, r.height]];""",
                                         insets['top'], insets['left'], insets['right'], insets['bottom'])
        finally:
            browser.cdp('Emulation.setSafeAreaInsetsOverride', insets={})
        expect(not outside, f'{way}, under the safe areas: {outside}')
        width = size[0] - insets['left'] - insets['right']
        height = size[1] - insets['top'] - insets['bottom']
        scale = min(width / PHONE[0], height / PHONE[1])
        wanted = (insets['left'] + (width - PHONE[0] * scale) / 2, insets['top'] + (height - PHONE[1] * scale) / 2,
                  PHONE[0] * scale, PHONE[1] * scale)
        expect(max(abs(a - b) for a, b in zip(window, wanted)) <= 1,
               f'{way}, the window is at {[round(v) for v in window]}, not {[round(v) for v in wanted]}')


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
    expect_restarted(browser, 'restored')
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
    expect_restarted(browser, 'after おわる')


def expect_restarted(browser, when):
    """One restart, however it came: every choice as at start, focus on
    タイマーで and the same words said."""
    expect(at_start(browser), f'{when} the page shows {labels(browser)}, {chosen(browser)} chosen')
    expect(browser.js('return document.activeElement.id') == 'Button1',
           f'{when} the focus is on {browser.js("return document.activeElement.id")!r}, not タイマーで')
    said = browser.js("return document.getElementById('announcer').textContent")
    expect(said == RESTARTED, f'{when} the page says {said!r}')


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


def test_stalled_script_core(browser, site_dir):
    """Without WebAssembly and with the script core held up on its way, the
    page says what it is doing until the bound, then why it has not
    started; once the core arrives after all, the drill starts."""
    with tempfile.TemporaryDirectory() as folder:
        shutil.copytree(site_dir, folder, dirs_exist_ok=True)
        site = Site(Path(folder))
        release = site.stall(SCRIPT_CORE)
        try:
            without_webassembly(browser)
            browser.driver.get(site.url + 'pimbola.html')
            browser.wait(lambda: browser.js("return !!document.querySelector('script[src]')"), 'the script core asked')
            started = time.monotonic()
            expect(shown(browser) == ['loading'] and browser.js(
                "return document.getElementById('loading').checkVisibility() && loading.textContent"),
                f'while the core is on its way, the page shows {shown(browser)}')
            browser.wait(lambda: browser.js('return document.documentElement.dataset.ready') == 'failed',
                         'the page to give up', timeout=SCRIPT_CORE_WAIT_S + 5)
            waited = time.monotonic() - started
            expect(shown(browser) == ['no-script-core'] and waited < SCRIPT_CORE_WAIT_S + 2,
                   f'after {waited:.1f} s the page shows {shown(browser)}')
            release.set()
            browser.wait_ready()
            expect(shown(browser) == [], f'once the drill runs, the page shows {shown(browser)}')
            first_step(browser, 'once the core came')
        finally:
            release.set()
            site.stop()
    errors = browser.console_errors()
    expect(len(errors) == 1 and 'did not arrive' in errors[0], f'the console has {errors}')


def shown(browser):
    return browser.js("return [...document.querySelectorAll('.message')].filter(m => !m.hidden).map(m => m.id)")


def test_storage_full(browser, site_dir):
    """With the storage too full to keep the script core, the page still
    runs on it, through its service worker, which keeps it the next time."""
    with tempfile.TemporaryDirectory() as folder:
        shutil.copytree(site_dir, folder, dirs_exist_ok=True)
        site = Site(Path(folder), cached=False)
        page = site.url + 'pimbola.html'
        try:
            browser.open(page, PHONE)
            browser.wait(lambda: browser.js('return !!navigator.serviceWorker.controller'), 'the service worker')
            used = browser.js('return navigator.storage.estimate().then(estimate => estimate.usage)')
            browser.cdp('Storage.overrideQuotaForOrigin', origin=site.url.rstrip('/'), quotaSize=used + 10000)
            without_webassembly(browser)
            for visit in ('first', 'second'):
                browser.open(page, PHONE)
                first_step(browser, f'{visit} visit without WebAssembly')
                expect(browser.js("return !!document.querySelector('script[src]')"), 'the page ran with WebAssembly')
                expect(browser.js("return performance.getEntriesByType('navigation')[0].workerStart > 0"),
                       'the service worker did not serve the page')
        finally:
            browser.cdp('Storage.overrideQuotaForOrigin', origin=site.url.rstrip('/'))
            site.stop()


def test_other_app(browser, site_dir):
    """Another app in a sub-folder of the page's folder: the page's service
    worker answers none of its requests, and all of the page's own."""
    with tempfile.TemporaryDirectory() as folder:
        shutil.copytree(site_dir, folder, dirs_exist_ok=True)
        other = Path(folder, 'other')
        other.mkdir()
        (other / 'index.html').write_text('<!DOCTYPE html><title>other</title><link rel="icon" href="data:,">'
                                          '<script src="app.js"></script>')
        (other / 'app.js').write_text('document.title = "other app";')
        site = Site(Path(folder), max_age=600)
        try:
            browser.open(site.url + 'pimbola.html', PHONE)
            browser.wait(lambda: browser.js('return !!navigator.serviceWorker.controller'), 'the service worker')
            browser.driver.get_log('performance')
            browser.open(site.url + 'pimbola.html', PHONE)
            browser.driver.get(site.url + 'other/index.html')
            browser.wait(lambda: browser.driver.title == 'other app', 'the other app')
            answered = {}
            for entry in browser.driver.get_log('performance'):
                message = json.loads(entry['message'])['message']
                if message['method'] == 'Network.responseReceived':
                    response = message['params']['response']
                    answered[response['url']] = response.get('fromServiceWorker', False)
        finally:
            site.stop()
    expect(answered.get(site.url + 'pimbola.html') is True, f'the page was not answered by its worker: {answered}')
    theirs = {url: worker for url, worker in answered.items() if url.startswith(site.url + 'other/')}
    expect(len(theirs) == 2 and not any(theirs.values()), f'the other app\'s requests, by the worker: {theirs}')


def test_no_core_at_all(browser, site):
    """Without WebAssembly and without the core beside it, the page says
    so, in Japanese, and logs why."""
    without_webassembly(browser)
    browser.driver.get(site.url + 'alone/pimbola.html')
    browser.wait(lambda: browser.js('return document.documentElement.dataset.ready') == 'failed',
                 'the page to give up')
    text = browser.js("return document.getElementById('no-script-core').innerText")
    expect(shown(browser) == ['no-script-core'] and 'ブラウザ' in text and SCRIPT_CORE in text,
           f'the page shows {shown(browser)} and says {text!r}')
    errors = browser.console_errors()
    expect(any('could not start' in error for error in errors), f'the console has {errors}')


def main(site_dir, words):
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
        Check('fit inside the safe areas, upright and on its side', lambda b: test_safe_areas(b, site)),
        Check('a held Enter or Space steps once', lambda b: test_held_keys(b, site)),
        Check('restored from the back/forward cache, the page starts afresh', lambda b: test_back_forward_cache(b, site)),
        Check('おわる in a tab a link opened keeps the tab', lambda b: test_quit_in_tab(b, site)),
        Check('おわる in an installed app closes its window', lambda b: test_quit_installed(b, site)),
        Check('a script core held up: what the page does, then why, then the drill',
              lambda b: test_stalled_script_core(b, site_dir)),
        Check('storage too full for the script core: the page still runs', lambda b: test_storage_full(b, site_dir)),
        Check('another app in a sub-folder goes past the service worker', lambda b: test_other_app(b, site_dir)),
        Check('without WebAssembly or the script core the page says so', lambda b: test_no_core_at_all(b, site)),
    ]
    if words:
        checks = [check for check in checks if any(word in check.title for word in words)]
    # A fresh browser each: emulation and history stay with a browser. The
    # driver waits for no more than the document, so that a check can see
    # the page while what it loads is held up.
    result = run_checks('chromium on phones', checks, lambda: Chromium(network_log=True, eager=True), fresh=True)
    site.stop()
    shutil.rmtree(folder)
    return report([result])


if __name__ == '__main__':
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2:]))
