"""What the page's checks share: a check and the runner that reports every
one, a failed expectation, the page's folder on a local server, reading the
page's labels and boxes in any engine, and the step most checks take."""
import functools
import http.server
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


def labels(engine):
    return tuple(engine.js("return [1, 3, 4].map(n => document.getElementById('Label' + n).textContent)"))


def checked(engine, name):
    return engine.js('return document.getElementById(arguments[0]).checked', name)


def first_step(engine, where, expression='１×１'):
    """Presses ひとつずつ on a page at rest: the run's first question shows,
    with no answer yet."""
    engine.click('Button3')
    expect(labels(engine)[:2] == (expression, ''), f'{where}, a step shows {labels(engine)}')
