"""The three browser engines the page is checked in, behind one interface, so
that tests/web/pagetest.py writes each check once:

    name                   'chromium', 'webkit' or 'firefox'
    open(url, size, ready='true')
                           the page at a viewport of exactly size CSS pixels,
                           once document.documentElement.dataset.ready is
                           ready ('failed' for a page that cannot start)
    js(script, *args)      a function body run in the page, with selenium's
                           execute_script meaning (arguments, a JSON result, a
                           returned Promise awaited)
    click(element_id, at=(0.5, 0.5))
                           a real pointer click in the element, at its centre
                           or at the given fractions of its width and height
    press(key, times=1)    real key presses to the focused element: Tab,
                           Shift+Tab, Enter, Space, ArrowUp, ArrowDown, Home, End
    screenshot(path)       the viewport as a PNG
    console_errors()       console.error calls, uncaught errors and unhandled
                           rejections since the last call, from the start of
                           each page on
    back()                 the previous page of the tab's history
    quit()

Chromium also gives cdp(command, **parameters) for the checks only it can do.
Each engine is Debian's own: chromium with chromedriver, WebKitGTK with
WebKitWebDriver driving tests/web/webkitbrowser.py (needs an X display),
firefox-esr over WebDriver BiDi through tests/web/firefox.mjs; none is
downloaded. No call waits for ever: a script or a load that hangs fails.
"""
import json
import os
import socket
import subprocess
import tempfile
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service as ChromeService
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

WAIT_S = 10
# The longest a script run in the page, or a page's load, may take.
SCRIPT_S = 30


class EngineError(Exception):
    pass


# Where in the element to click, refused when something else is drawn
# there: a click a user could not make is no test of the page.
POINT = """
    const element = document.getElementById(arguments[0]);
    if (!element)
        return 'no element ' + arguments[0];
    const box = element.getBoundingClientRect();
    const x = Math.round(box.left + box.width * arguments[1]), y = Math.round(box.top + box.height * arguments[2]);
    const hit = document.elementFromPoint(x, y);
    if (!hit || !(element.contains(hit) || hit.contains(element)))
        return arguments[0] + ' is covered there by ' + (hit ? hit.outerHTML.slice(0, 80) : 'nothing');
    return [x, y];"""

READY = 'return document.documentElement.dataset.ready'


class Engine:
    name = None
    # Whether a key pressed here gives a control its default action (Space
    # toggles a check box, Enter presses a button).
    keys_activate = True

    def wait(self, condition, what, timeout=WAIT_S):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                raise EngineError(f'timed out waiting for {what}')
            time.sleep(0.02)

    def wait_ready(self, ready='true'):
        self.wait(lambda: self.js(READY) == ready, f'the page to be {"ready" if ready == "true" else ready}')

    def point(self, element_id, at):
        where = self.js(POINT, element_id, *at)
        if isinstance(where, str):
            raise EngineError(where)
        return where


class SeleniumEngine(Engine):
    """What WebDriver classic gives Chromium and WebKit alike."""
    KEYS = {'Tab': Keys.TAB, 'Enter': Keys.ENTER, 'Space': Keys.SPACE, 'ArrowUp': Keys.UP,
            'ArrowDown': Keys.DOWN, 'Home': Keys.HOME, 'End': Keys.END}

    def bound(self):
        self.driver.set_script_timeout(SCRIPT_S)
        self.driver.set_page_load_timeout(SCRIPT_S)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def click(self, element_id, at=(0.5, 0.5)):
        x, y = self.point(element_id, at)
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(x, y).click()
        actions.perform()

    def press(self, key, times=1):
        for _ in range(times):
            chain = ActionChains(self.driver)
            if key == 'Shift+Tab':
                chain.key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT)
            else:
                chain.send_keys(self.KEYS[key])
            chain.perform()

    def screenshot(self, path):
        self.driver.save_screenshot(str(path))

    def back(self):
        self.driver.back()

    def quit(self):
        self.driver.quit()


class Chromium(SeleniumEngine):
    name = 'chromium'

    def __init__(self, network_log=False, eager=False):
        """network_log: keep the network's events for driver.get_log('performance');
        eager: the driver waits for a page's document, not for all it loads."""
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        if eager:
            options.page_load_strategy = 'eager'
        for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--hide-scrollbars',
                         '--allow-file-access-from-files'):
            options.add_argument(argument)
        options.set_capability('goog:loggingPrefs', dict({'browser': 'ALL'}, **({'performance': 'ALL'} if network_log else {})))
        self.driver = webdriver.Chrome(service=ChromeService('/usr/bin/chromedriver'), options=options)
        self.bound()

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def open(self, url, size, ready='true'):
        self.cdp('Emulation.setDeviceMetricsOverride', width=size[0], height=size[1], deviceScaleFactor=1,
                 mobile=False)
        self.driver.get(url)
        self.wait_ready(ready)

    def console_errors(self):
        return [entry['message'] for entry in self.driver.get_log('browser') if entry['level'] == 'SEVERE']


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


class WebKit(SeleniumEngine):
    """WebKitGTK through WebKitWebDriver, in tests/web/webkitbrowser.py's
    window, which writes the page's errors to a file from the first script
    of each page on."""
    name = 'webkit'

    def __init__(self):
        # Started by hand rather than through selenium's WebKitGTK class,
        # whose arguments differ between Debian 12's selenium and later ones.
        port = free_port()
        self.folder = tempfile.TemporaryDirectory()
        self.errors = Path(self.folder.name, 'errors')
        self.errors.touch()
        self.errors_read = 0
        self.service = subprocess.Popen(['/usr/bin/WebKitWebDriver', f'--port={port}'],
                                        env=dict(os.environ, PIMBOLA_WEBKIT_ERRORS=str(self.errors)),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.wait(lambda: self.listening(port), 'WebKitWebDriver')
            options = webdriver.WebKitGTKOptions()
            options.binary_location = str(Path(__file__).with_name('webkitbrowser.py'))
            options.add_argument('--automation')
            options.set_capability('browserName', 'pimbola-webkit')
            self.driver = webdriver.Remote(command_executor=f'http://127.0.0.1:{port}', options=options)
        except Exception:
            self.stop_service()
            raise
        self.bound()

    @staticmethod
    def listening(port):
        try:
            socket.create_connection(('127.0.0.1', port), timeout=1).close()
            return True
        except OSError:
            return False

    def open(self, url, size, ready='true'):
        self.fit(size)
        self.driver.get(url)
        self.wait_ready(ready)

    def fit(self, size):
        """Sizes the window so that its viewport is size."""
        for _ in range(3):
            inner = self.js('return [innerWidth, innerHeight]')
            if tuple(inner) == tuple(size):
                return
            rect = self.driver.get_window_rect()
            self.driver.set_window_rect(width=rect['width'] + size[0] - inner[0],
                                        height=rect['height'] + size[1] - inner[1])
            try:
                self.wait(lambda: self.js('return [innerWidth, innerHeight]') != inner, 'the window to resize', 2)
            except EngineError:
                pass  # measured again above
        inner = self.js('return [innerWidth, innerHeight]')
        if tuple(inner) != tuple(size):
            raise EngineError(f'WebKit keeps a viewport of {inner}, not {list(size)}')

    def console_errors(self):
        with self.errors.open('rb') as errors:
            errors.seek(self.errors_read)
            written = errors.read()
        # Only whole lines: the browser may be writing the next one.
        written = written[:written.rfind(b'\n') + 1]
        self.errors_read += len(written)
        return written.decode().splitlines()

    def back(self):
        self.driver.back()
        self.wait_ready()

    def stop_service(self):
        self.service.terminate()
        self.service.wait()
        self.folder.cleanup()

    def quit(self):
        try:
            self.driver.quit()
        finally:
            self.stop_service()


class Firefox(Engine):
    """Debian's firefox-esr, headless, through tests/web/firefox.mjs and its
    puppeteer-core, installed in MODULES by scripts/web-test."""
    name = 'firefox'
    # Firefox ESR 153 over BiDi: keydown, keypress and keyup reach the page
    # undefaulted and Tab moves the focus, but no key gives a control its
    # default action, not even on a bare page's own check box and button,
    # headless or on a display, after a pointer click too; the document
    # never has the focus (document.hasFocus() stays false).
    keys_activate = False

    def __init__(self, modules):
        script = Path(__file__).with_name('firefox.mjs')
        self.node = subprocess.Popen(['node', str(script), str(modules)], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, encoding='utf-8')

    def call(self, op, **fields):
        self.node.stdin.write(json.dumps({'op': op, **fields}) + '\n')
        self.node.stdin.flush()
        line = self.node.stdout.readline()
        if not line:
            raise EngineError(f'firefox.mjs ended (status {self.node.wait()}) during {op}')
        answer = json.loads(line)
        if 'error' in answer:
            raise EngineError(f'{op}: {answer["error"]}')
        return answer['value']

    def open(self, url, size, ready='true'):
        self.call('open', url=url, width=size[0], height=size[1])
        self.wait_ready(ready)

    def js(self, script, *args):
        return self.call('js', script=script, args=list(args))

    def click(self, element_id, at=(0.5, 0.5)):
        x, y = self.point(element_id, at)
        self.call('click', x=x, y=y)

    def press(self, key, times=1):
        self.call('press', key=key, times=times)

    def screenshot(self, path):
        self.call('screenshot', path=str(path))

    def console_errors(self):
        return self.call('console_errors')

    def back(self):
        self.call('back')

    def quit(self):
        try:
            if self.node.poll() is None:
                self.call('quit')
        finally:
            if self.node.poll() is None:
                self.node.stdin.close()
            self.node.wait()


def start(name, modules=None):
    if name == 'chromium':
        return Chromium()
    if name == 'webkit':
        return WebKit()
    if name == 'firefox':
        return Firefox(modules)
    raise EngineError(f'no engine {name}')
