"""What a screen-reader user hears, for the tests that drive Pimbola under
Orca by keyboard alone: a private desktop (window manager, accessibility
bus, speech-dispatcher, Orca writing what it says to its debug log), keys
pressed with xdotool, the log read back, and the drill both the desktop
program and the browser page must let a user hear. Run inside
speech_session.sh."""

import os
import re
import signal
import subprocess
import sys
import time

# Orca opens its debug file block-buffered and loses the tail when it is
# stopped; this starts it with the file line-buffered instead.
ORCA = '''
import runpy, sys
from orca import debug, settings
# A page read aloud on loading takes the focus along to its end; the tests
# move the focus themselves.
settings.sayAllOnLoad = False
debug.debugLevel = debug.LEVEL_ALL
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(sys.argv[1], 'w', buffering=1, encoding='utf-8')
sys.argv = ['orca']
runpy.run_path('/usr/bin/orca', run_name='__main__')
'''

# "17:02:32.152003 - SPEECH OUTPUT: 'タイマーで push button.'{'established': False}";
# a voice other than the default is named before the voice's settings.
SPOKEN = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*?)'(?: voice=\S+?)? ?(?:\{.*\})?$")


class Failure(Exception):
    pass


class TimedOut(Failure):
    pass


class Session:
    """The processes of one test and what Orca said, in the private session's
    folder."""

    def __init__(self):
        self.folder = os.environ['SPEECH_SESSION_DIR']
        self.log = os.path.join(self.folder, 'orca.log')
        self.started = []

    def start(self, name, command):
        """Starts a process that must keep running until the test ends."""
        out = open(os.path.join(self.folder, name + '.out'), 'w')
        process = subprocess.Popen(command, stdout=out, stderr=subprocess.STDOUT)
        process.name = name
        self.started.append(process)
        return process

    def output_of(self, process):
        with open(os.path.join(self.folder, process.name + '.out'), errors='replace') as out:
            return out.read()

    def wait_for(self, condition, seconds, what):
        deadline = time.monotonic() + seconds
        while True:
            result = condition()
            if result:
                return result
            for process in self.started:
                if process.poll() is not None:
                    raise Failure('%s ended (status %s) before %s:\n%s'
                                  % (process.name, process.returncode, what, self.output_of(process)))
            if time.monotonic() > deadline:
                raise TimedOut('waited %d s in vain for %s' % (seconds, what))
            time.sleep(0.05)

    def start_screen_reader(self):
        """A window manager, the accessibility bus, speech-dispatcher and
        Orca, once Orca has said it is on."""
        ready = os.path.join(self.folder, 'wm-ready')
        self.start('openbox', ['openbox', '--sm-disable', '--startup', 'touch ' + ready])
        self.wait_for(lambda: os.path.exists(ready), 20, 'the window manager')
        subprocess.run(['dbus-send', '--session', '--dest=org.a11y.Bus', '--print-reply', '/org/a11y/bus',
                        'org.a11y.Bus.GetAddress'], check=True, stdout=subprocess.DEVNULL)
        self.start('speech-dispatcher',
                   ['speech-dispatcher', '--run-single', '--timeout', '0', '--log-dir', self.folder])
        socket = os.path.join(os.environ['XDG_RUNTIME_DIR'], 'speech-dispatcher', 'speechd.sock')
        self.wait_for(lambda: os.path.exists(socket), 20, "speech-dispatcher's socket")
        self.orca = self.start('orca', ['/usr/bin/python3', '-c', ORCA, self.log])
        self.wait_for(lambda: 'Screen reader on.' in self.texts(), 30, "Orca's start-up speech")

    def stop_screen_reader(self):
        self.orca.send_signal(signal.SIGINT)
        self.orca.wait(20)

    def stop(self):
        for process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def logged(self, pattern):
        """Every line of Orca's log so far matching `pattern`, as (seconds
        since midnight, the pattern's last group)."""
        try:
            with open(self.log, encoding='utf-8', errors='replace') as log:
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

    def speech(self):
        """Everything Orca has said so far, as (seconds since midnight, text)."""
        return self.logged(SPOKEN)

    def texts(self, since=0):
        return [text for _, text in self.speech()[since:]]

    def said_after(self, since, wanted, seconds, what):
        """Waits for a text containing `wanted` said after the first `since`."""
        return self.wait_for(lambda: next((t for t in self.texts(since) if wanted in t), None), seconds, what)

    def tab_to(self, name, backwards=False):
        """Presses Tab (Shift+Tab backwards) until the control Orca announces
        is `name`; returns how many texts had been said before the last
        press."""
        press, echoes = ('shift+Tab', {'left shift', 'left tab'}) if backwards else ('Tab', {'tab'})
        visited = []
        while True:
            since = len(self.speech())
            key(press)
            # The keys' echo comes first, then what the new focus says.
            def focus_said():
                later = [t.strip() for t in self.texts(since)]
                echoed = next((i for i, t in enumerate(later) if t in echoes), None)
                if echoed is None:
                    return None
                return next((t for t in later[echoed + 1:] if t not in echoes), None)
            try:
                said = self.wait_for(focus_said, 10, 'the focus to move')
            except TimedOut:
                said = None
            if said and name in said:
                return since
            if said is None or said in visited:
                raise Failure('%s never reached %s; the focus went to:\n  %s'
                              % (press, name, '\n  '.join(visited + [said or '(nothing said)'])))
            visited.append(said)

    def steps_heard(self, since, steps, kind=None):
        """The steps among what was said after the first `since`, in the
        order said, each with when; a step said twice appears twice."""
        return [(step, when) for when, step in utterances_as_steps(self.speech()[since:], steps, kind)]


def key(name):
    subprocess.run(['xdotool', 'key', name], check=True)


def utterances_as_steps(spoken, steps, kind=None):
    """Each utterance that says one of `steps`, as (when, step). With a
    `kind` ("notification"), the step may come after the kind's name: Orca
    43 says a notification appearing as one text, "notification
    ３×１　＝　さんいちが.", Orca 48 the kind and the text one after the
    other, and an announcement (Qt 6.8) as the text alone."""
    found = []
    for when, text in spoken:
        text = text.strip().removesuffix('.')
        if kind and text.lower().startswith(kind + ' '):
            text = text[len(kind) + 1:]
        if text in steps:
            found.append((when, text))
    return found


def check_said_once_in_order(what, heard, steps):
    said = [step for step, _ in heard]
    if said != steps:
        raise Failure('%s: expected each step said once, in order:\n  %s\nbut heard:\n  %s'
                      % (what, '\n  '.join(steps), '\n  '.join(said)))


def drill_by_keyboard(session, steps, shown, kind=None):
    """By keyboard alone: chooses the row of 3 with recitation, hears the
    interval list's name and chosen item, then a stepped run and a timed
    run at 1 s, each of which must say every one of `steps` once, in order;
    in the timed run each before the next step is shown; with a `kind`,
    each said as that kind of object (utterances_as_steps). shown(began)
    gives the moments, since midnight, at which Orca learnt of each step
    shown after the moment `began`, None for a step it never learnt of."""
    def said(since):
        return [step for step, _ in session.steps_heard(since, steps, kind)]

    for box in ('３のだん', 'となえかたをだす'):
        session.tab_to(box)
        since = len(session.speech())
        key('space')
        session.wait_for(lambda: any('checked' in t and 'not checked' not in t for t in session.texts(since)), 10,
                         box + ' to be checked')

    since = session.tab_to('なんびょうおき')
    session.said_after(since, '１びょうおき', 10, 'the chosen interval to be said with the list')

    since = session.tab_to('ひとつずつ')
    for step in steps:
        key('space')
        session.wait_for(lambda: step in said(since), 10, 'the step ' + step)
    check_said_once_in_order('stepped run', session.steps_heard(since, steps, kind), steps)

    # Back, as a browser's Tab leaves the page after its last control.
    since = session.tab_to('タイマーで', backwards=True)
    began = session.speech()[-1][0]
    key('space')
    session.wait_for(lambda: steps[-1] in said(since), 40, 'the end of the timed run')
    timed = session.steps_heard(since, steps, kind)
    check_said_once_in_order('timed run at 1 s', timed, steps)
    shown_at = shown(began)
    if len(shown_at) != len(steps) or None in shown_at:
        raise Failure('timed run: Orca learnt of %d steps shown, for %d steps'
                      % (len(shown_at) - shown_at.count(None), len(steps)))
    for (step, said_at), next_shown in zip(timed, shown_at[1:]):
        if said_at > next_shown:
            raise Failure('timed run: "%s" was said only after the next step was shown' % step)


def run(test):
    """Runs test(session); on failure prints why and all Orca said, and
    exits non-zero. Every process started is stopped."""
    session = Session()
    try:
        test(session)
    except Failure as failure:
        print('FAIL:', failure, file=sys.stderr)
        print('Orca said:', *session.texts(), sep='\n  ', file=sys.stderr)
        sys.exit(1)
    finally:
        session.stop()
