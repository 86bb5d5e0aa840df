#!/usr/bin/python3
"""The page in Debian's headless Chromium, driven through chromedriver:
    pagetest.py SITE_DIR STEPTRACE DESKTOP_PNG
SITE_DIR holds the built page, STEPTRACE is the core built natively (what
the desktop program shows for a stepped run) and DESKTOP_PNG a picture of
the desktop window at rest. Prints one line per check; non-zero on failure.
"""
import functools
import http.server
import sys
import threading
import time
from pathlib import Path

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.chrome.service import Service

FINISH = 'ぜんぶ　おしまいです'
PHONE = (393, 635)
WAIT_S = 10


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


class Site:
    """The page's folder on a local server, as a school would put it."""

    def __init__(self, folder, cached=True):
        handler = functools.partial(QuietHandler if cached else UncachedHandler, directory=str(folder))
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        self.url = f'http://127.0.0.1:{self.server.server_address[1]}/'
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class UncachedHandler(QuietHandler):
    """Lets the browser keep nothing in its HTTP cache: what then works
    offline works through the service worker alone."""

    def end_headers(self):
        self.send_header('Cache-Control', 'no-store')
        super().end_headers()


class Browser:
    def __init__(self):
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--hide-scrollbars',
                         '--allow-file-access-from-files'):
            options.add_argument(argument)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def wait(self, condition, what, timeout=WAIT_S):
        deadline = time.monotonic() + timeout
        while not condition():
            expect(time.monotonic() < deadline, f'timed out waiting for {what}')
            time.sleep(0.02)

    def open(self, url, size=PHONE):
        self.cdp('Emulation.setDeviceMetricsOverride', width=size[0], height=size[1], deviceScaleFactor=1,
                 mobile=False)
        self.driver.get(url)
        self.wait(lambda: self.js('return document.documentElement.dataset.ready') == 'true', 'the page')

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def labels(self):
        return tuple(self.js(f"return document.getElementById('Label{n}').textContent") for n in (1, 3, 4))

    def checked(self, name):
        return self.js(f"return document.getElementById('{name}').checked")

    def console_errors(self):
        return [entry['message'] for entry in self.driver.get_log('browser') if entry['level'] == 'SEVERE']

    def live_region_texts(self):
        """The text of each live region as the accessibility tree has it."""
        nodes = self.cdp('Accessibility.getFullAXTree')['nodes']
        by_id = {node['nodeId']: node for node in nodes}

        def text(node):
            if node.get('role', {}).get('value') in ('StaticText', 'InlineTextBox'):
                return node.get('name', {}).get('value', '') if node['role']['value'] == 'StaticText' else ''
            return ''.join(text(by_id[child]) for child in node.get('childIds', []) if child in by_id)

        regions = []
        for node in nodes:
            properties = {p['name']: p['value'].get('value') for p in node.get('properties', [])}
            if properties.get('live') and node.get('role', {}).get('value') != 'StaticText' \
                    and properties.get('atomic') is not None:
                regions.append((properties['live'], properties.get('atomic'), text(node)))
        return regions


def steptrace(program, row, recitation):
    import subprocess
    out = subprocess.run([program, str(row), '1' if recitation else '0'], check=True, capture_output=True,
                         text=True).stdout
    return [tuple(line.split('\t')) for line in out.splitlines()]


def test_options(browser, page):
    browser.open(page)
    expect(browser.checked('CheckBox13'), 'ぜんぶのだん is checked at start')
    browser.element('CheckBox3').click()
    expect(not browser.checked('CheckBox13'), 'a single row clears ぜんぶのだん')
    browser.element('CheckBox5').click()
    expect(browser.checked('CheckBox3') and browser.checked('CheckBox5'), 'single rows add up')
    browser.element('CheckBox10').click()
    expect(not browser.checked('CheckBox3') and not browser.checked('CheckBox5'), '０～９ clears the single rows')
    browser.element('CheckBox13').click()
    expect(not browser.checked('CheckBox10') and browser.checked('CheckBox13'), 'ぜんぶ clears ０～９')
    browser.element('RadioButton3').click()
    expect(browser.checked('RadioButton3') and not browser.checked('RadioButton1'), 'one order at a time')


def stepped_run(browser, presses_until_done):
    shown = []
    for _ in range(presses_until_done):
        browser.element('Button3').click()
        shown.append(browser.labels() + (browser.live_region_texts(),))
    return shown


def test_stepped_run(browser, page, trace):
    browser.open(page)
    browser.element('CheckBox3').click()
    browser.element('CheckBox11').click()
    shown = stepped_run(browser, len(trace))
    for step, (seen, desktop) in enumerate(zip(shown, trace), 1):
        expect(seen[:3] == desktop[:3], f'step {step}: page shows {seen[:3]}, desktop {desktop[:3]}')
        regions = seen[3]
        expect(len(regions) == 1 and regions[0][0] == 'polite',
               f'step {step}: one polite live region, not {regions}')
        expect(regions[0][2] == desktop[3], f'step {step}: announced {regions[0][2]!r}, desktop {desktop[3]!r}')
    expect(shown[-1][2] == FINISH, 'the run ends with the finish message')


def test_timed_run(browser, page, trace):
    browser.open(page)
    browser.element('CheckBox2').click()
    browser.js("""
        window.seen = [];
        const labels = [1, 3, 4].map(n => document.getElementById('Label' + n));
        const note = () => seen.push([performance.now(), labels.map(l => l.textContent)]);
        new MutationObserver(note).observe(document.getElementById('form'),
                                           {subtree: true, childList: true, characterData: true});""")
    browser.element('Button1').click()
    browser.wait(lambda: browser.labels()[2] == FINISH, 'the timed run to finish', timeout=40)
    seen = browser.js('return seen')
    states = []
    for stamp, texts in seen:
        if not states or states[-1][1] != tuple(texts):
            states.append((stamp, tuple(texts)))
    expect([texts for _, texts in states] == [step[:3] for step in trace],
           f'the timed run shows {[t for _, t in states]}')
    # A question stays a whole interval from when it is shown; an answer
    # keeps to the run's deadlines and may follow a late question sooner.
    shortest = min(later[0] - earlier[0] for earlier, later in zip(states, states[1:]) if earlier[1][1] == '')
    expect(shortest >= 998, f'a question went after {shortest:.1f} ms, before its second was up')


def chosen_rows(browser):
    """The list's rows the page shows chosen, as the core said."""
    return browser.js("return [...document.querySelectorAll('#ListBox1 [aria-selected=true]')].map(row => row.id)")


def test_list_never_empty(browser, page):
    browser.open(page)
    expect(chosen_rows(browser) == ['ListBox1-0'], f'at start the list shows {chosen_rows(browser)}')
    for tap in range(2):
        browser.element('ListBox1-2').click()
        expect(chosen_rows(browser) == ['ListBox1-2'], f'tap {tap + 1} on ３びょうおき: {chosen_rows(browser)}')
    # Keys that would leave the list: each keeps one row chosen.
    for key, wanted in ((Keys.HOME, 0), (Keys.UP, 0), (Keys.END, 3), (Keys.DOWN, 3), (Keys.UP, 2)):
        browser.driver.switch_to.active_element.send_keys(key)
        expect(chosen_rows(browser) == [f'ListBox1-{wanted}'] and
               browser.js('return document.activeElement.id') == f'ListBox1-{wanted}',
               f'after {key!r} the list shows {chosen_rows(browser)}')


def test_keyboard(browser, page, focus_names):
    browser.open(page)
    body = browser.driver.find_element(By.TAG_NAME, 'body')
    body.click()
    visited = []
    for _ in focus_names:
        browser.driver.switch_to.active_element.send_keys(Keys.TAB)
        visited.append(browser.js('return document.activeElement.id'))
    expect(visited == focus_names, f'Tab visits {visited}')
    browser.element('CheckBox3').send_keys(Keys.SPACE)
    expect(browser.checked('CheckBox3') and not browser.checked('CheckBox13'), 'Space checks a row')
    browser.element('Button3').send_keys(Keys.ENTER)
    expect(browser.labels()[0] == '３×１', 'Enter presses ひとつずつ')
    browser.element('ListBox1-0').send_keys(Keys.DOWN)
    expect(chosen_rows(browser) == ['ListBox1-1'], 'arrow keys move in the list')
    expect(browser.js("return document.getElementById('ListBox1').getAttribute('aria-label')") == 'なんびょうおき',
           'the list is named as on the desktop')


def test_offline_reload(browser, site):
    page = site.url + 'pimbola.html'
    browser.open(page)
    browser.driver.set_script_timeout(WAIT_S)
    browser.driver.execute_async_script(
        'const done = arguments[0]; navigator.serviceWorker.ready.then(() => done())')
    browser.wait(lambda: browser.js('return !!navigator.serviceWorker.controller'), 'the service worker')
    entries = browser.js('return performance.getEntriesByType("resource").map(e => e.name)')
    expect(all(name.startswith(site.url) or name.startswith('data:') for name in entries),
           f'requests outside the page own origin: {entries}')
    site.stop()
    browser.cdp('Network.enable')
    browser.cdp('Network.emulateNetworkConditions', offline=True, latency=0, downloadThroughput=-1,
                uploadThroughput=-1)
    try:
        browser.open(page)
        browser.element('Button3').click()
        expect(browser.labels()[0] == '１×１', f'offline, a step shows {browser.labels()}')
    finally:
        browser.cdp('Network.emulateNetworkConditions', offline=False, latency=0, downloadThroughput=-1,
                    uploadThroughput=-1)


def test_file(browser, file_page):
    browser.open(file_page)
    browser.element('Button3').click()
    expect(browser.labels()[0] == '１×１', f'from a file, a step shows {browser.labels()}')
    expect(browser.js('return document.documentElement.lang') == 'ja' and browser.driver.title == 'Pimbola',
           'lang and title')


def ink(image, box):
    """The box around everything not of the window's grey inside box."""
    region = image.crop(box).convert('RGB')
    background = Image.new('RGB', region.size, image.getpixel((1, 1))[:3])
    found = ImageChops.difference(region, background).convert('L').point(lambda v: 255 if v > 40 else 0).getbbox()
    return None if found is None else (found[0] + box[0], found[1] + box[1], found[2] + box[0], found[3] + box[1])


def test_places(browser, file_page, desktop_png, out_png):
    browser.open(file_page)
    browser.driver.save_screenshot(str(out_png))
    page = Image.open(out_png)
    desktop = Image.open(desktop_png)
    expect(desktop.size == PHONE, f'the desktop window is {desktop.size}')
    rects = browser.js("""return [...document.querySelectorAll('#form > *')].map(e => {
        const r = e.getBoundingClientRect(); return [e.querySelector('input') ? e.querySelector('input').id : e.id,
                                                    r.left, r.top, r.right, r.bottom]; })""")
    off = []
    for name, left, top, right, bottom in rects:
        box = (max(int(left) - 1, 0), max(int(top) - 1, 0), min(int(right) + 2, PHONE[0]), min(int(bottom) + 2, PHONE[1]))
        seen, wanted = ink(page, box), ink(desktop, box)
        if seen is None or wanted is None or max(abs(a - b) for a, b in zip(seen, wanted)) > 2:
            off.append(f'{name}: page {seen}, desktop {wanted}')
    expect(not off, 'controls more than 2 px from the desktop: ' + '; '.join(off))


def main(site_dir, steptrace_program, desktop_png):
    site_dir = Path(site_dir).resolve()
    file_page = site_dir.as_uri() + '/pimbola.html'
    site = Site(site_dir)
    page = site.url + 'pimbola.html'
    focus_names = ['Button1', 'Button2'] + [f'CheckBox{n}' for n in range(1, 11)] + \
        ['RadioButton1', 'CheckBox11', 'CheckBox12', 'ListBox1-0', 'CheckBox13', 'Button3']
    checks = [
        ('option rules', lambda b: test_options(b, page)),
        ('stepped run of row 3 with recitation equals the desktop', lambda b: test_stepped_run(
            b, page, steptrace(steptrace_program, 3, True))),
        ('timed run of row 2', lambda b: test_timed_run(b, page, steptrace(steptrace_program, 2, False))),
        ('the interval list is never empty', lambda b: test_list_never_empty(b, page)),
        ('keyboard only', lambda b: test_keyboard(b, page, focus_names)),
        ('opened as a file', lambda b: test_file(b, file_page)),
        ('each control within 2 px of the desktop', lambda b: test_places(
            b, file_page, desktop_png, site_dir.parent / 'page-at-rest.png')),
        ('reload while offline', lambda b: test_offline_reload(b, site)),
    ]
    browser = Browser()
    failed = 0
    try:
        for name, check in checks:
            try:
                check(browser)
                errors = browser.console_errors()
                expect(not errors, f'console errors: {errors}')
                print(f'PASS {name}')
            except Failure as failure:
                failed += 1
                print(f'FAIL {name}: {failure}')
    finally:
        browser.driver.quit()
    print(f'{len(checks) - failed} of {len(checks)} browser checks passed')
    return 1 if failed else 0


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
