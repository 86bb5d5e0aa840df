"""Drives the real program by keyboard alone under Orca and checks, from
Orca's debug log, what a screen reader user hears. Run by
screenreader_test.sh inside a private session.
    screenreader_test.py PROGRAM WORK_DIR"""

import os
import re
import signal
import subprocess
import sys
import time

PROGRAM, WORK = sys.argv[1], sys.argv[2]
LOG = os.path.join(WORK, 'orca.log')

# Orca opens its debug file block-buffered and loses the tail when it is
# stopped; this starts it with the file line-buffered instead.
ORCA = '''
import runpy, sys
from orca import debug
debug.debugLevel = debug.LEVEL_ALL
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(sys.argv[1], 'w', buffering=1, encoding='utf-8')
sys.argv = ['orca']
runpy.run_path('/usr/bin/orca', run_name='__main__')
'''


class Failure(Exception):
    pass


started = []


def start(name, command, **kwargs):
    out = open(os.path.join(WORK, name + '.out'), 'w')
    process = subprocess.Popen(command, stdout=out, stderr=subprocess.STDOUT, **kwargs)
    process.name = name
    started.append(process)
    return process


def output_of(process):
    with open(os.path.join(WORK, process.name + '.out'), errors='replace') as out:
        return out.read()


def wait_for(condition, seconds, what, watched=()):
    deadline = time.monotonic() + seconds
    while True:
        result = condition()
        if result:
            return result
        for process in watched:
            if process.poll() is not None:
                raise Failure('%s ended (status %s) before %s:\n%s'
                              % (process.name, process.returncode, what, output_of(process)))
        if time.monotonic() > deadline:
            raise Failure('waited %d s in vain for %s' % (seconds, what))
        time.sleep(0.05)


# "17:02:32.152003 - SPEECH OUTPUT: 'タイマーで push button.'{'established': False}"
SPOKEN = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*?)' ?(?:\{.*\})?$")
# The program's notification asking for a text to be said, logged once as
# the event reaches Orca: appearing (Qt 6.4), "EVENT MANAGER:
# (object:state-changed:showing) for [notification" in Orca 43, or
# announcing it (Qt 6.8), "EVENT MANAGER: object:announcement for
# [notification" in Orca 48, which logs the same line again with its
# priority.
SHOWN = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - EVENT MANAGER: \(?(object:state-changed:showing|object:announcement)\)?"
                   r" for \[notification(?!.* has priority level)")
# How Orca says a step: with the role before it and a full stop after it,
# "notification ３×１　＝　さんいちが." for a notification appearing (Orca 43);
# the text alone for an announcement, or after "notification" said on its own
# for a notification appearing (Orca 48).
STEP_SAID = re.compile(r"^(?:notification )?(.*?)\.?$")


def logged(pattern):
    """Every line of Orca's log so far matching `pattern`, as (seconds
    since midnight, the pattern's last group)."""
    try:
        with open(LOG, encoding='utf-8', errors='replace') as log:
            lines = log.read().splitlines()
    except FileNotFoundError:
        return []
    found = []
    for line in lines:
        match = pattern.match(line)
        if match:
            hours, minutes, seconds, text = match.groups()
            found.append((int(hours) * 3600 + int(minutes) * 60 + float(seconds), text))
    return found


def speech():
    """Everything Orca has said so far, as (seconds since midnight, text)."""
    return logged(SPOKEN)


def texts(since=0):
    return [text for _, text in speech()[since:]]


def key(name):
    subprocess.run(['xdotool', 'key', name], check=True)


def said_after(since, wanted, seconds, what, watched):
    """Waits for a text containing `wanted` said after the first `since`."""
    return wait_for(lambda: next((t for t in texts(since) if wanted in t), None), seconds, what, watched)


def tab_to(name, watched):
    """Presses Tab until the control Orca announces is `name`."""
    for _ in range(25):
        since = len(speech())
        key('Tab')
        # The key's echo comes first, then what the new focus says.
        def focus_said():
            later = texts(since)
            echoed = next((i for i, t in enumerate(later) if t.strip() == 'tab'), None)
            if echoed is None:
                return None
            return next((t for t in later[echoed + 1:] if t.strip() != 'tab'), None)
        if name in wait_for(focus_said, 10, 'the focus to move, on the way to ' + name, watched):
            return since
    raise Failure('Tab never reached ' + name)


# The row of 3 with its recitation: expression, answer, first and second half.
ROW_OF_3 = [
    ('３×１', '３', 'さんいちが', 'さん'), ('３×２', '６', 'さんにが', 'ろく'),
    ('３×３', '９', 'さざんが', 'く'), ('３×４', '１２', 'さんし', 'じゅうに'),
    ('３×５', '１５', 'さんご', 'じゅうご'), ('３×６', '１８', 'さぶろく', 'じゅうはち'),
    ('３×７', '２１', 'さんしち', 'にじゅういち'), ('３×８', '２４', 'さんぱ', 'にじゅうし'),
    ('３×９', '２７', 'さんく', 'にじゅうしち'),
]
STEPS = [text for expression, answer, first, second in ROW_OF_3
         for text in (expression + '　＝　' + first, answer + '　' + first + '　' + second)]
STEPS.append('ぜんぶ　おしまいです')


def step_of(text):
    """The step that a text Orca said is, or None."""
    step = STEP_SAID.match(text).group(1)
    return step if step in STEPS else None


def step_said_after(since, step, seconds, watched):
    """Waits for `step` to be said after the first `since` texts."""
    return wait_for(lambda: step in [step_of(text) for text in texts(since)], seconds, 'the step ' + step, watched)


def run_steps(since):
    """The steps in the order they were said after `since`, each with the
    time it was said; a step said twice appears twice."""
    return [(step_of(text), when) for when, text in speech()[since:] if step_of(text)]


def check_order(what, said):
    steps = [step for step, _ in said]
    if steps != STEPS:
        raise Failure('%s: expected each step said once, in order:\n  %s\nbut heard:\n  %s'
                      % (what, '\n  '.join(STEPS), '\n  '.join(steps)))


def main():
    wm = start('openbox', ['openbox', '--sm-disable', '--startup', 'touch ' + os.path.join(WORK, 'wm-ready')])
    wait_for(lambda: os.path.exists(os.path.join(WORK, 'wm-ready')), 20, 'the window manager', [wm])
    subprocess.run(['dbus-send', '--session', '--dest=org.a11y.Bus', '--print-reply', '/org/a11y/bus',
                    'org.a11y.Bus.GetAddress'], check=True, stdout=subprocess.DEVNULL)
    speechd = start('speech-dispatcher', ['speech-dispatcher', '--run-single', '--timeout', '0', '--log-dir', WORK])
    socket = os.path.join(os.environ['XDG_RUNTIME_DIR'], 'speech-dispatcher', 'speechd.sock')
    wait_for(lambda: os.path.exists(socket), 20, "speech-dispatcher's socket", [speechd])
    orca = start('orca', [sys.executable, '-c', ORCA, LOG])
    wait_for(lambda: 'Screen reader on.' in texts(), 30, "Orca's start-up speech", [orca, speechd])
    program = start('pimbola', [PROGRAM])
    watched = [program, orca, speechd]
    said_after(0, 'タイマーで', 30, 'the first focus, on タイマーで', watched)

    tab_to('３のだん', watched)
    since = len(speech())
    key('space')
    said_after(since, 'checked', 10, '３のだん to be checked', watched)
    tab_to('となえかたをだす', watched)
    since = len(speech())
    key('space')
    said_after(since, 'checked', 10, 'となえかたをだす to be checked', watched)

    since = tab_to('なんびょうおき', watched)
    said_after(since, '１びょうおき', 10, 'the chosen interval to be said with the list', watched)

    since = tab_to('ひとつずつ', watched)
    for step in STEPS:
        key('space')
        step_said_after(since, step, 10, watched)
    check_order('stepped run', run_steps(since))

    since = tab_to('タイマーで', watched)
    began = speech()[-1][0]
    key('space')
    step_said_after(since, STEPS[-1], 40, watched)
    timed = run_steps(since)
    check_order('timed run at 1 s', timed)
    shown = [when for when, _ in logged(SHOWN) if when >= began]
    if len(shown) != len(STEPS):
        raise Failure('timed run: %d notifications reached Orca for %d steps' % (len(shown), len(STEPS)))
    for (step, said), next_shown in zip(timed, shown[1:]):
        if said > next_shown:
            raise Failure('timed run: "%s" was said only after the next step was shown' % step)

    tab_to('おわる', watched)
    key('space')
    status = wait_for(lambda: program.poll() is not None and [program.returncode], 10, 'the program to end', [orca])
    if status != [0]:
        raise Failure('the program ended with status %s:\n%s' % (status[0], output_of(program)))
    orca.send_signal(signal.SIGINT)
    orca.wait(20)
    print('Orca said every step once, in order, in a stepped and a timed run, and named the list')


try:
    main()
except Failure as failure:
    print('FAIL:', failure, file=sys.stderr)
    print('Orca said:', *texts(), sep='\n  ', file=sys.stderr)
    sys.exit(1)
finally:
    for process in reversed(started):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
