#!/usr/bin/python3
"""Measures the page in Debian's headless Chromium (bench/web-run does this):
    web-measure.py SITE_DIR RUNS

Transfer size is what a gzip-serving web server sends on a first visit,
counted at the server, until the service worker has cached what it keeps.
Load is measured as a web audit models a low-end phone: the CPU slowed 4×,
a 1.6 Mbit/s link with 150 ms round trips, nothing cached; beside the page,
its 24 controls as plain HTML without script (the page's own document once
ready, its scripts taken out), alternately, so that both meet the same
load on the machine. For each: the first paint with something to read, and
when the drill works (the page's 'pimbola-ready' mark; the plain page's
load event). Step timing follows a timed run of row 2 with ×0 at one second per step and
measures how long each text of the labels stays on screen, from the frame
after one change to the frame after the next.
"""
import functools
import gzip
import http.server
import re
import shutil
import statistics
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

KBIT = 1000 / 8
LINK = {'latency': 150, 'downloadThroughput': 1600 * KBIT, 'uploadThroughput': 1600 * KBIT}
CPU_SLOWDOWN = 4
PLAIN = 'plain.html'
STEP_MS = 1000


class GzipHandler(http.server.SimpleHTTPRequestHandler):
    """Serves each file gzipped, as most web servers do, and counts bytes."""
    sent = []

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = Path(self.translate_path(self.path))
        if path.is_dir():
            path = path / 'pimbola.html'
        if not path.is_file():
            self.send_error(404)
            return
        body = gzip.compress(path.read_bytes(), 9)
        self.send_response(200)
        self.send_header('Content-Type', self.guess_type(str(path)))
        self.send_header('Content-Encoding', 'gzip')
        self.send_header('Content-Length', str(len(body)))
        self.send_header('Cache-Control', 'no-cache')
        self.end_headers()
        self.wfile.write(body)
        GzipHandler.sent.append((path.name, len(body)))


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu'):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                           {'width': 393, 'height': 635, 'deviceScaleFactor': 1, 'mobile': False})
    return driver


def wait(condition, timeout=60):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise TimeoutError
        time.sleep(0.01)


def ready(driver):
    return driver.execute_script('return document.documentElement.dataset.ready') == 'true'


def transfer(driver, url):
    GzipHandler.sent.clear()
    driver.get(url)
    wait(lambda: ready(driver))
    driver.set_script_timeout(30)
    driver.execute_async_script('navigator.serviceWorker.ready.then(() => arguments[0]())')
    time.sleep(1)  # the browser's own look at the manifest comes later
    return list(GzipHandler.sent)


def plain_page(driver, url):
    """The page's 24 controls as plain HTML: its document once ready, with
    no script, no content-security policy (which would refuse the
    controls' places, written in style attributes) and no message."""
    driver.get(url)
    wait(lambda: ready(driver))
    html = driver.execute_script("""
        const copy = document.documentElement.cloneNode(true);
        copy.querySelectorAll('script, noscript, link[rel=manifest], meta[http-equiv], .message')
            .forEach(element => element.remove());
        delete copy.dataset.ready;
        return '<!DOCTYPE html>\\n' + copy.outerHTML;""")
    return re.sub(r'<link rel="icon"[^>]*>', '', html)


PAINTED = """return new Promise(done => {
    const paint = () => performance.getEntriesByName('first-contentful-paint')[0];
    if (paint())
        return done(paint().startTime);
    new PerformanceObserver(() => paint() && done(paint().startTime)).observe({type: 'paint', buffered: true});
})"""


# When the drill works: the page's own mark; the plain page's load event.
WORKING = {
    'page': "const mark = performance.getEntriesByName('pimbola-ready')[0]; return mark ? mark.startTime : null",
    'plain': "const load = performance.getEntriesByType('navigation')[0]; return load.loadEventStart || null",
}


def load_times(driver, urls, runs):
    """First paint and working drill of the page and the plain page, each
    loaded once in turn, RUNS times."""
    driver.execute_cdp_cmd('Network.enable', {})
    driver.execute_cdp_cmd('Network.setBypassServiceWorker', {'bypass': True})
    driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
    driver.execute_cdp_cmd('Network.emulateNetworkConditions', dict(LINK, offline=False))
    driver.execute_cdp_cmd('Emulation.setCPUThrottlingRate', {'rate': CPU_SLOWDOWN})
    driver.set_script_timeout(30)
    times = {kind: [] for kind in urls}
    for _ in range(runs):
        for kind, address in urls.items():
            driver.get('about:blank')
            driver.get(address)
            wait(lambda: driver.execute_script(WORKING[kind]) is not None)
            times[kind].append((driver.execute_script(PAINTED), driver.execute_script(WORKING[kind])))
    driver.execute_cdp_cmd('Emulation.setCPUThrottlingRate', {'rate': 1})
    driver.execute_cdp_cmd('Network.emulateNetworkConditions',
                           {'offline': False, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
    return times


def step_timing(driver, url):
    driver.get(url)
    wait(lambda: ready(driver))
    driver.find_element(By.ID, 'CheckBox2').click()
    driver.find_element(By.ID, 'CheckBox12').click()
    driver.execute_script("""
        window.shown = [];
        const labels = [1, 3, 4].map(n => document.getElementById('Label' + n));
        let last = '';
        new MutationObserver(() => {
            const texts = labels.map(l => l.textContent).join('|');
            if (texts === last)
                return;
            last = texts;
            requestAnimationFrame(frame => shown.push([frame, texts]));
        }).observe(document.getElementById('form'), {subtree: true, childList: true, characterData: true});""")
    driver.find_element(By.ID, 'Button1').click()
    wait(lambda: driver.execute_script("return document.getElementById('Label4').textContent") != 'Label4'
         and 'おしまい' in driver.execute_script("return document.getElementById('Label4').textContent"))
    shown = driver.execute_script('return shown')
    return [later[0] - earlier[0] for earlier, later in zip(shown, shown[1:])]


def median(values):
    return statistics.median(values)


def main(site, runs):
    folder = Path(tempfile.mkdtemp())
    shutil.copytree(site, folder, dirs_exist_ok=True)
    handler = functools.partial(GzipHandler, directory=str(folder))
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f'http://127.0.0.1:{server.server_address[1]}/pimbola.html'

    driver = browser()
    try:
        sent = transfer(driver, url)
        page = next(size for name, size in sent if name == 'pimbola.html')
        print(f'transfer, gzipped: the page {page / 1000:.1f} kB; first visit with the installable '
              f'extras {sum(size for _, size in sent) / 1000:.1f} kB')
        for name, size in sent:
            print(f'    {name:22} {size:7d} B')
        plain = plain_page(driver, url)
        (folder / PLAIN).write_text(plain)
        print(f'the plain page, gzipped: {len(gzip.compress(plain.encode(), 9)) / 1000:.1f} kB')
        times = load_times(driver, {'page': url, 'plain': url.replace('pimbola.html', PLAIN)}, runs)
        print(f'{runs} loads each, CPU {CPU_SLOWDOWN}× slower, 1.6 Mbit/s, 150 ms round trip, nothing cached '
              f'(medians, ranges):')
        for what, index in (('first paint', 0), ('drill working', 1)):
            page, plain = ([run[index] for run in times[kind]] for kind in ('page', 'plain'))
            print(f'    {what:14} page {median(page):5.0f} ms ({min(page):.0f}–{max(page):.0f}), '
                  f'plain HTML {median(plain):5.0f} ms ({min(plain):.0f}–{max(plain):.0f}), '
                  f'ratio {median(page) / median(plain):.2f}')
        durations = step_timing(driver, url)
        errors = [abs(d - STEP_MS) for d in durations]
        print(f'timed run, {len(durations)} texts at 1 s: on screen error median {statistics.median(errors):.1f} ms, '
              f'worst {max(errors):.1f} ms; shortest {min(durations):.1f} ms, longest {max(durations):.1f} ms')
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(folder)


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], int(sys.argv[2]))
