#!/usr/bin/python3
"""The page under a real screen reader: Orca with Debian's Firefox ESR, on a
fresh profile, the page served from 127.0.0.1. By keyboard alone, as on the
desktop (tests/screenreader.py): each step of a stepped and a timed run is
said once, in order, from the page's live region, with the same text the
desktop's core gives it; the interval list says its name and chosen item.
    screenreadertest.py SITE_DIR STEPTRACE
STEPTRACE is the core built natively (tests/web/steptrace.cpp). Run inside
tests/speech_session.sh on a private X server (tests/with_xvfb.sh).
"""
import functools
import http.server
import json
import re
import subprocess
import sys
import threading
from pathlib import Path

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, GLib  # noqa: E402  (after its version is chosen)

sys.path.insert(0, str(Path(__file__).resolve().parent.parent))
import screenreader  # noqa: E402  (found through the path above)

# A new profile that opens only the page: no first-run or welcome pages, no
# default-browser question, nothing fetched from the network. Firefox turns
# its accessibility on by itself for the screen reader already running.
PREFERENCES = {
    'browser.shell.checkDefaultBrowser': False,
    'browser.startup.homepage_override.mstone': 'ignore',
    'startup.homepage_welcome_url': '',
    'startup.homepage_welcome_url.additional': '',
    'browser.aboutwelcome.enabled': False,
    'browser.newtab.preload': False,
    'datareporting.policy.dataSubmissionEnabled': False,
    'datareporting.healthreport.uploadEnabled': False,
    'toolkit.telemetry.reportingpolicy.firstRun': False,
    'app.normandy.enabled': False,
    'app.update.auto': False,
    'extensions.update.enabled': False,
    'browser.safebrowsing.malware.enabled': False,
    'browser.safebrowsing.phishing.enabled': False,
    'browser.safebrowsing.downloads.enabled': False,
    'network.captive-portal-service.enabled': False,
    'network.connectivity-service.enabled': False,
    'browser.region.update.enabled': False,
    'browser.search.update': False,
    # Whatever else it would fetch goes to a closed port here; the page's
    # own address, 127.0.0.1, is never sent through a proxy.
    'network.proxy.type': 1,
    'network.proxy.http': '127.0.0.1',
    'network.proxy.http_port': 9,
    'network.proxy.ssl': '127.0.0.1',
    'network.proxy.ssl_port': 9,
}

# A text put into a part of the page (a label, the live region), as the event
# reaches Orca: "22:49:57.696545 -
# EVENT MANAGER: object:children-changed:add:system for [section | ] in
# [application | Firefox] (-1, 0, [unknown | ３×１　＝　さんいちが])".
TEXT_ADDED = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - EVENT MANAGER: object:children-changed:add\S* "
                        r"for \[section \| [^]]*\] in .* \(-?\d+, \d+, \[[^|]* \| (.*)\]\)$")


def firefox_shows(role, name):
    """Whether a page in Firefox holds, as its accessibility tree has it, an
    object of `role` named `name`."""
    desktop = Atspi.get_desktop(0)
    apps = (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
    return any(app and app.get_name() == 'Firefox' and holds(app, role, name, False) for app in apps)


def holds(node, role, name, in_page):
    try:
        in_page = in_page or node.get_role() == Atspi.Role.DOCUMENT_WEB
        if in_page and node.get_role() == role and node.get_name() == name:
            return True
        children = [node.get_child_at_index(i) for i in range(node.get_child_count())]
    except GLib.Error:
        return False  # gone while being read
    return any(child and holds(child, role, name, in_page) for child in children)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f'http://127.0.0.1:{server.server_address[1]}/pimbola.html'


def trace(steptrace):
    """What the core shows and says at each press of ひとつずつ in the row of
    3 with recitation: the three labels' texts and the announcement."""
    lines = subprocess.run([steptrace, '3', '1'], check=True, capture_output=True, text=True).stdout
    return [(tuple(fields[:3]), fields[3]) for fields in (line.split('\t') for line in lines.splitlines())]


def moments_shown(added, screens, began):
    """When each screen appeared: the first text added, after the screen
    before appeared, that is one of the labels it changed."""
    moments, after, before = [], began, ('', '', '')
    for labels in screens:
        new = {text for text, old in zip(labels, before) if text and text != old}
        when = next((when for when, text in added if when >= after and text in new), None)
        moments.append(when)
        after, before = when or after, labels
    return moments


def preferences_file(values):
    return ''.join('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)) for name, value in values.items())


def main(site, steptrace):
    screens = trace(steptrace)
    steps = [announcement for _, announcement in screens]
    url = serve(site)

    def test(session):
        session.start_screen_reader()
        profile = Path(session.folder, 'firefox-profile')
        profile.mkdir()
        (profile / 'user.js').write_text(preferences_file(PREFERENCES))
        session.start('firefox', ['firefox-esr', '--no-remote', '--new-instance', '--profile', str(profile), url])
        # The page builds its controls once its core has started, which may
        # be after the browser has finished loading it.
        session.wait_for(lambda: firefox_shows(Atspi.Role.PUSH_BUTTON, 'タイマーで'), 60, 'the page to show its controls')

        def shown(began):
            added = [(when, text) for when, text in session.logged(TEXT_ADDED) if when >= began]
            return moments_shown(added, [labels for labels, _ in screens], began)

        screenreader.drill_by_keyboard(session, steps, shown)
        session.stop_screen_reader()
        print('Orca said every step of the page once, in order, in a stepped and a timed run, and named the list')

    screenreader.run(test)


if __name__ == '__main__':
    main(*sys.argv[1:])
