#!/usr/bin/python3
"""What Narrator and NVDA are handed of the Windows program, under wine 10,
whose UI Automation logs each notification a program raises, with its text.

Starts the program, has a UI Automation client (uiaclient.exe) ask for its
window as a screen reader does, and checks the tree the client reads: every
control with its Japanese name and state, the interval list named with its
chosen item. Then a stepped run of the row of 3 with its recitation and a
timed run at 1 s: each step must be handed over as one notification, in
order, with the text the core composes for it (steptrace), none at rest,
none twice.
    uiatest.py CONTROLS STEPTRACE UIACLIENT PROGRAM
CONTROLS is the control table the Linux build writes (controls.json). Run on
an X display, with WINEPREFIX set to a prefix the program has started in.
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / 'scripts'))
import pimbolawindow  # noqa: E402
from Xlib import display  # noqa: E402

# UI Automation's control type ids.
CONTROL_TYPES = {'PushButton': 50000, 'CheckBox': 50002, 'RadioButton': 50013, 'Label': 50020,
                 'ListBox': 50008}
LIST_ITEM = 50007
LIST_NAME = 'なんびょうおき'
# What is on at start: checked, chosen, selected.
ON_AT_START = {'CheckBox13', 'RadioButton1', '１びょうおき'}

# wine 10's stub: "fixme:uiautomation:UiaRaiseNotificationEvent (PROVIDER,
# KIND, PROCESSING, L"TEXT", L"ACTIVITY"): stub".
NOTIFICATION = re.compile(r'UiaRaiseNotificationEvent \(\w+, (\d+), (\d+), L"((?:[^"\\]|\\.)*)"')
NOTIFICATION_KIND_OTHER = 4
# Every notification said, none dropped for a later one.
NOTIFICATION_PROCESSING_ALL = 2


class Failure(Exception):
    pass


def unescaped(text):
    """wine's debug text: characters outside ASCII as a backslash and four
    hex digits, a few others as C escapes."""
    simple = {'n': '\n', 'r': '\r', 't': '\t', '\\': '\\', '"': '"'}
    return re.sub(r'\\([0-9a-fA-F]{4}|.)',
                  lambda m: chr(int(m[1], 16)) if len(m[1]) == 4 else simple.get(m[1], m[1]), text)


def notifications(log):
    found = []
    for match in NOTIFICATION.finditer(Path(log).read_text(encoding='utf-8', errors='replace')):
        kind, processing, text = int(match[1]), int(match[2]), unescaped(match[3])
        if (kind, processing) != (NOTIFICATION_KIND_OTHER, NOTIFICATION_PROCESSING_ALL):
            raise Failure(f'"{text}" handed over as kind {kind}, processing {processing}: '
                          f'not as kind Other, processing All')
        found.append(text)
    return found


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not (result := condition()):
        if time.monotonic() > deadline:
            raise Failure('timed out waiting for ' + what)
        time.sleep(0.05)
    return result


def expected_steps(steptrace):
    """The announcement of each step of a run of the row of 3 with its
    recitation, as the core composes it for every view."""
    lines = subprocess.run([steptrace, '3', '1'], check=True, capture_output=True, text=True).stdout
    return [line.split('\t')[3] for line in lines.splitlines()]


def check_tree(rows, table):
    """The elements a screen reader walks, against the control table."""
    elements = []
    for row in rows.splitlines():
        type_id, state, name = row.split('\t', 2)
        elements.append((int(type_id), state, name))
    problems = []

    def find(type_id, name):
        return [state for found_type, state, found_name in elements if (found_type, found_name) == (type_id, name)]

    for control in table['controls']:
        kind, text = control['kind'], control['text']
        name = LIST_NAME if kind == 'ListBox' else text
        states = find(CONTROL_TYPES[kind], name)
        if len(states) != 1:
            problems.append(f'{control["name"]}: {len(states)} elements of type {CONTROL_TYPES[kind]} named "{name}"')
        elif kind in ('CheckBox', 'RadioButton') and states[0] != ('on' if control['name'] in ON_AT_START else 'off'):
            problems.append(f'{control["name"]} "{name}" is {states[0]} at start')
        if kind == 'ListBox':
            for item in text.split('\n'):
                states = find(LIST_ITEM, item)
                wanted = 'on' if item in ON_AT_START else 'off'
                if states != [wanted]:
                    problems.append(f'list item "{item}": {states or "missing"}, not selected={wanted}')
    if problems:
        raise Failure('what a screen reader walks:\n  ' + '\n  '.join(problems)
                      + '\nthe client read:\n  ' + rows.replace('\n', '\n  '))


def main(controls, steptrace, client, program):
    table = json.loads(Path(controls).read_text(encoding='utf-8'))
    places = pimbolawindow.Table(controls)
    connection = display.Display()

    def click(name):
        pimbolawindow.click(connection, window, places.point(name))
    steps = expected_steps(steptrace)
    environment = dict(os.environ, WINEDEBUG='-all,fixme+uiautomation')
    with tempfile.TemporaryDirectory() as work:
        log = Path(work, 'wine.log')
        with open(log, 'w') as output:
            started = subprocess.Popen(['wine', Path(program).name], cwd=Path(program).parent, env=environment,
                                       stdout=output, stderr=subprocess.STDOUT)
        try:
            window = pimbolawindow.find_window(connection, places.caption, 120)
            if window is None:
                raise Failure('no Pimbola window appeared')
            rows = subprocess.run(['wine', client, 'Pimbola', '30'], env=environment, check=True,
                                  capture_output=True, text=True, encoding='utf-8').stdout
            check_tree(rows, table)
            print(f'UI Automation: {len(rows.splitlines())} elements, every control with its Japanese name, '
                  f'the list "{LIST_NAME}" with "１びょうおき" chosen')
            if notifications(log):
                raise Failure(f'handed over at rest: {notifications(log)}')

            for box in ('CheckBox3', 'CheckBox11'):
                click(box)
            for count in range(1, len(steps) + 1):
                click('Button3')
                wait_for(lambda: len(notifications(log)) >= count, 10, f'step {count} of the stepped run')
            if notifications(log) != steps:
                raise Failure('stepped run: expected\n  %s\nhanded over\n  %s'
                              % ('\n  '.join(steps), '\n  '.join(notifications(log))))

            click('Button1')
            wait_for(lambda: len(notifications(log)) >= 2 * len(steps), 60, 'the end of the timed run')
            # Longer than a step: what comes late would be a step handed twice.
            time.sleep(1.5)
            timed = notifications(log)[len(steps):]
            if timed != steps:
                raise Failure('timed run at 1 s: expected\n  %s\nhanded over\n  %s'
                              % ('\n  '.join(steps), '\n  '.join(timed)))
            print(f'UI Automation: every step of a stepped and a timed run handed over once, in order '
                  f'({len(steps)} each), none at rest')

            click('Button2')
            status = started.wait(10)
            if status != 0:
                raise Failure(f'the program ended with status {status}')
        except Failure:
            print(log.read_text(encoding='utf-8', errors='replace')[-4000:], file=sys.stderr)
            raise
        finally:
            if started.poll() is None:
                started.kill()


if __name__ == '__main__':
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    try:
        main(*sys.argv[1:])
    except Failure as failure:
        sys.exit(f'FAIL: {failure}')
