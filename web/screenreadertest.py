#!/usr/bin/python3
"""The page under a real screen reader: Orca with Debian's Firefox ESR, on a
fresh profile, the page served from 127.0.0.1. By keyboard alone, as on the
desktop (tests/screenreader.py): each step of a stepped and a timed run is
said once, in order, from the page's live region, with the same text the
desktop's core gives it; the interval list says its name and chosen item.
    screenreadertest.py SITE_DIR STEPTRACE
STEPTRACE is the core built natively (web/steptrace.cpp). Run inside
tests/speech_session.sh on a private X server (tests/with_xvfb.sh).
"""
import functools
import http.server
import json
import os
import re
import subprocess
import sys
import threading
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / 'tests'))
import screenreader  # noqa: E402  (found through the path above)

# A new profile that opens only the page: no first-run or welcome pages, no
# default-browser question, nothing fetched from the network.
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
}

# A text put into a part of the page, as the event reaches Orca: "22:49:57.696545 -
# EVENT MANAGER: object:children-changed:add:system for [section | ] in
# [application | Firefox] (-1, 0, [unknown | ３×１　＝　さんいちが])".
TEXT_ADDED = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - EVENT MANAGER: object:children-changed:add\S* "
                        r"for \[section \| [^]]*\] in .* \(-?\d+, \d+, \[[^|]* \| (.*)\]\)$")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f'http://127.0.0.1:{server.server_address[1]}/pimbola.html'


def announcements(steptrace):
    """What the core says at each press of ひとつずつ in the row of 3 with
    recitation: the last of each line's tab-separated fields."""
    lines = subprocess.run([steptrace, '3', '1'], check=True, capture_output=True, text=True).stdout
    return [line.split('\t')[3] for line in lines.splitlines()]


def preferences_file(values):
    return ''.join('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)) for name, value in values.items())


def main(site, steptrace):
    steps = announcements(steptrace)
    url = serve(site)

    def test(session):
        session.start_screen_reader()
        profile = Path(session.folder, 'firefox-profile')
        profile.mkdir()
        (profile / 'user.js').write_text(preferences_file(PREFERENCES))
        session.start('firefox', ['firefox-esr', '--no-remote', '--new-instance', '--profile', str(profile), url],
                      env=dict(os.environ, GNOME_ACCESSIBILITY='1'))
        session.wait_for(lambda: 'Finished loading Pimbola.' in session.texts(), 60, 'the page to load')

        def shown(began):
            # No label ever holds a whole step's text but the last; the first
            # time each text appeared is when its step was shown.
            added = [(when, text) for when, text in session.logged(TEXT_ADDED) if when >= began]
            return [next((when for when, text in added if text == step), None) for step in steps]

        screenreader.drill_by_keyboard(session, steps, shown)
        session.stop_screen_reader()
        print('Orca said every step of the page once, in order, in a stepped and a timed run, and named the list')

    screenreader.run(test)


if __name__ == '__main__':
    main(*sys.argv[1:])
