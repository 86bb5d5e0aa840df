"""What the page's checks share: a failed expectation, the page's folder on
a local server, and reading the page's labels and boxes in any engine."""
import base64
import functools
import hashlib
import http.server
import socket
import threading
from pathlib import Path

# The desktop window's client area, a phone's width.
PHONE = (393, 635)


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


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
