"""What the page's checks share: a failed expectation, the page's folder on
a local server, and reading the page's labels and boxes in any engine."""
import functools
import http.server
import threading

# The desktop window's client area, a phone's width.
PHONE = (393, 635)


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


def labels(engine):
    return tuple(engine.js("return [1, 3, 4].map(n => document.getElementById('Label' + n).textContent)"))


def checked(engine, name):
    return engine.js('return document.getElementById(arguments[0]).checked', name)
