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
                           rejections since the last call
    back()                 the previous page of the tab's history
    quit()

Chromium also gives cdp(command, **parameters) for the checks only it can do.
Each engine is Debian's own: chromium with chromedriver, WebKitGTK's
MiniBrowser with WebKitWebDriver (needs an X display), firefox-esr over
WebDriver BiDi through tests/web/firefox.mjs; none is downloaded.
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


# WebKitWebDriver hands the page's console to nobody, and MiniBrowser's
# console-to-stdout setting does not reach the view it makes for automation,
# so the page itself keeps what went wrong from the moment it is opened.
ERROR_WATCH = """
    if (window.pimbolaErrorWatch)
        return;
    window.pimbolaErrorWatch = [];
    const report = console.error;
    console.error = (...parts) => { pimbolaErrorWatch.push(parts.join(' ')); report.apply(console, parts); };
    addEventListener('error', event => pimbolaErrorWatch.push(String(event.message)));
    addEventListener('unhandledrejection', event => pimbolaErrorWatch.push('unhandled rejection: ' + event.reason));"""


# MiniBrowser's toolbar would keep its window wider than a phone; drawn
# small, it lets the viewport take any size the checks ask for. The page's
# own controls are WebKit's to draw, not GTK's, so this leaves them alone.
MINIBROWSER_CSS = '* { font-size: 1px; padding: 0; margin: 0; min-width: 0; min-height: 0; border-width: 0; }\n'


class WebKit(SeleniumEngine):
    name = 'webkit'
    MiniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'

    def __init__(self):
        # Started by hand rather than through selenium's WebKitGTK class,
        # whose arguments differ between Debian 12's selenium and later ones.
        port = free_port()
        self.config = tempfile.TemporaryDirectory()
        theme = Path(self.config.name, 'gtk-3.0')
        theme.mkdir()
        (theme / 'gtk.css').write_text(MINIBROWSER_CSS)
        self.service = subprocess.Popen(['/usr/bin/WebKitWebDriver', f'--port={port}'],
                                        env=dict(os.environ, XDG_CONFIG_HOME=self.config.name),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait(lambda: self.listening(port), 'WebKitWebDriver')
        options = webdriver.WebKitGTKOptions()
        options.binary_location = self.binary()
        options.add_argument('--automation')
        self.driver = webdriver.Remote(command_executor=f'http://127.0.0.1:{port}', options=options)
        self.errors = []

    @classmethod
    def binary(cls):
        found = sorted(Path('/usr/lib').glob('*/webkit2gtk-4.1/MiniBrowser'))
        if not found:
            raise EngineError('no MiniBrowser: install libwebkit2gtk-4.1-0')
        return str(found[0])

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
        self.js(ERROR_WATCH)

    def fit(self, size):
        """Sizes the window so that its viewport is size: the window's
        toolbar takes its own height."""
        for _ in range(3):
            inner = self.js('return [innerWidth, innerHeight]')
            if tuple(inner) == tuple(size):
                return
            rect = self.driver.get_window_rect()
            self.driver.set_window_rect(width=rect['width'] + size[0] - inner[0],
                                        height=rect['height'] + size[1] - inner[1])
            deadline = time.monotonic() + 2
            while self.js('return [innerWidth, innerHeight]') == inner and time.monotonic() < deadline:
                time.sleep(0.02)
        inner = self.js('return [innerWidth, innerHeight]')
        if tuple(inner) != tuple(size):
            raise EngineError(f'MiniBrowser keeps a viewport of {inner}, not {list(size)}')

    def console_errors(self):
        seen = self.errors + self.js('return (window.pimbolaErrorWatch || []).splice(0)')
        self.errors = []
        return seen

    def back(self):
        self.errors += self.console_errors()
        self.driver.back()
        self.wait_ready()
        self.js(ERROR_WATCH)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            self.service.terminate()
            self.service.wait()
            self.config.cleanup()


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
