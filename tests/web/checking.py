"""What the page's checks share: a check and the runner that reports every
one, a failed expectation, the page's folder on a local server as any of
three kinds of static host, reading the page's labels and boxes in any
engine, and the step most checks take."""
import base64
import functools
import hashlib
import http.server
import socket
import threading
import time
import traceback
from dataclasses import dataclass
from pathlib import Path
from typing import Callable

# The desktop window's client area, a phone's width.
PHONE = (393, 635)
HERE = Path(__file__).resolve().parent


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


@dataclass
class Check:
    title: str
    run: Callable  # run(engine)
    # Whether the check makes the page report errors on purpose, and so is
    # not held to the rule that a check leaves no console error.
    makes_console_errors: bool = False


@dataclass
class Result:
    engine: str
    checks: int
    failed: list
    seconds: float

    def summary(self):
        return f'[{self.engine}] {self.checks - len(self.failed)} of {self.checks} checks passed in {self.seconds:.1f} s'


def describe(error):
    """One line for whatever a check raised: a failed expectation says what
    was wrong; anything else (the browser's own errors, a script that threw
    in the page, a timeout) its kind, its first line and where in the checks."""
    if isinstance(error, Failure):
        return str(error)
    lines = str(getattr(error, 'msg', None) or error).strip().splitlines()
    # The line of the check itself, not of the engines that carried it out.
    frames = [frame for frame in traceback.extract_tb(error.__traceback__)
              if Path(frame.filename).parent == HERE and Path(frame.filename).name not in ('engines.py', 'checking.py')]
    where = f' (at {Path(frames[-1].filename).name}:{frames[-1].lineno})' if frames else ''
    return f'{type(error).__name__}: {lines[0] if lines else ""}{where}'


def run_checks(name, checks, start, fresh=False):
    """Runs each check in an engine from start(), one line each. Whatever
    one check raises fails that check alone: the engine it left is quit and
    the next check gets a new one. fresh: a new engine for every check."""
    began = time.monotonic()
    failed = []
    engine = None

    def stop():
        nonlocal engine
        try:
            if engine is not None:
                engine.quit()
        except Exception as error:
            failed.append('the browser quits')
            print(f'FAIL [{name}] the browser quits: {describe(error)}', flush=True)
        engine = None

    for check in checks:
        try:
            if engine is None:
                engine = start()
            engine.console_errors()
            check.run(engine)
            if not check.makes_console_errors:
                errors = engine.console_errors()
                expect(not errors, f'console errors: {errors}')
            print(f'PASS [{name}] {check.title}', flush=True)
            if fresh:
                stop()
        except Exception as error:
            failed.append(check.title)
            print(f'FAIL [{name}] {check.title}: {describe(error)}', flush=True)
            stop()
    stop()
    return Result(name, len(checks), failed, time.monotonic() - began)


def report(results):
    """The summary of every engine, then each check that failed; the exit
    status."""
    print('== summary')
    for result in results:
        print(result.summary())
    for result in results:
        for title in result.failed:
            print(f'FAILED [{result.engine}] {title}')
    return 1 if any(result.failed for result in results) else 0


class Site:
    """The page's folder on a local server, as a school would put it.
    host is how the server names the page: 'plain'; 'dropping', which
    answers "pimbola.html" with a 301 to "pimbola", as several static hosts
    do; or 'folder', which also serves the page as its folder's own
    address. max_age sends Cache-Control: max-age on every file, as common
    static hosts do; cached=False lets the browser keep nothing in its HTTP
    cache instead. first_script is run before the page's own scripts (the
    server adds it to the page's content-security policy), to take away
    what a browser may lack. The server can be stopped and started again
    on the same address, as a school's network comes and goes."""

    def __init__(self, folder, cached=True, host='plain', max_age=None, first_script=None):
        self.folder = Path(folder)
        self.handler = type('Handler', (HostHandler,), {
            'host': host, 'first_script': first_script,
            'cache_control': 'no-store' if not cached else f'max-age={max_age}' if max_age else None,
            'stall': None, 'connections': set()})
        self.port = 0
        self.start()
        self.url = f'http://127.0.0.1:{self.port}/'

    def start(self):
        handler = functools.partial(self.handler, directory=str(self.folder))
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', self.port), handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
        # A browser opens connections ahead of its requests; one the server
        # took in would still answer a request once the server is gone.
        for connection in list(self.handler.connections):
            try:
                connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def stall(self, name):
        """Holds every request for the file name until the event returned
        is set."""
        self.handler.stall = (name, threading.Event())
        return self.handler.stall[1]


def csp_hash(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode() + "'"


class HostHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def handle(self):
        self.connections.add(self.connection)
        try:
            super().handle()
        except (ConnectionError, OSError):
            pass
        finally:
            self.connections.discard(self.connection)

    def end_headers(self):
        if self.cache_control:
            self.send_header('Cache-Control', self.cache_control)
        super().end_headers()

    def do_GET(self):
        # Answered in full: the server would compare modification times to
        # the second, and a new build served within the second of the old
        # one would get a 304.
        del self.headers['If-Modified-Since']
        path = self.path.split('?')[0]
        if self.stall and path.endswith('/' + self.stall[0]):
            self.stall[1].wait()
        if self.host == 'dropping' and path.endswith('.html'):
            self.send_response(301)
            self.send_header('Location', path[:-len('.html')])
            self.end_headers()
            return
        file = Path(self.translate_path(path))
        if self.host == 'dropping' and not file.exists() and file.with_name(file.name + '.html').is_file():
            file = file.with_name(file.name + '.html')
        if self.host == 'folder' and file.is_dir() and path.endswith('/') and (file / 'pimbola.html').is_file():
            file = file / 'pimbola.html'
        if file.suffix != '.html' or not file.is_file():
            super().do_GET()
            return
        page = file.read_text()
        if self.first_script:
            page = page.replace('<script>', f'<script>{self.first_script}</script><script>', 1)
            page = page.replace('script-src ', f'script-src {csp_hash(self.first_script)} ', 1)
        body = page.encode()
        self.send_response(200)
        self.send_header('Content-Type', 'text/html; charset=utf-8')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def labels(engine):
    return tuple(engine.js("return [1, 3, 4].map(n => document.getElementById('Label' + n).textContent)"))


def checked(engine, name):
    return engine.js('return document.getElementById(arguments[0]).checked', name)


def first_step(engine, where, expression='１×１'):
    """Presses ひとつずつ on a page at rest: the run's first question shows,
    with no answer yet."""
    engine.click('Button3')
    expect(labels(engine)[:2] == (expression, ''), f'{where}, a step shows {labels(engine)}')
