#!/usr/bin/python3
"""Measures Pimbola against the baseline window from outside both processes.

Run under an X server of its own (bench/run does this):
    measure.py PROGRAM BASELINE CONTROL_TABLE RUNS

Start-up is the time from spawning the process to the first paint of its
mapped window, as the X server sees it through the DAMAGE extension; memory
is the peak resident set once the window is shown; idle CPU is what the
process and its threads use in ten quiet seconds after start-up. Step timing
follows a real timed run at one second per step and measures how long each
text of the three big labels stays on screen; a second run stops the process
for a while before a question is due and measures how long that question
stays once it is shown.
"""
import os
import select
import signal
import statistics
import subprocess
import sys
import threading
import time

from Xlib import X, display
from Xlib.ext import damage

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'scripts'))
import pimbolawindow  # noqa: E402  (found through the path above)

IDLE_SECONDS = 10
STEP_MS = 1000
ENTRIES = 10  # row 2 with ×0
LABELS = ('Label1', 'Label3', 'Label4')  # the expression, the answer and the recitation
# (answer shown, wait, stop): the next question is due 1 s after that answer,
# so these hold its tick up by 0.2 s and 0.4 s.
FREEZES = ((1, 0.5, 0.7), (5, 0.5, 0.9))


class Screen:
    """Map and damage events of the whole X screen, stamped on arrival."""

    def __init__(self):
        self.display = display.Display()
        self.root = self.display.screen().root
        self.display.damage_query_version()
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.root.damage_create(damage.DamageReportRawRectangles)
        self.display.sync()

    def events(self, until):
        while True:
            if not self.display.pending_events():
                left = until - time.monotonic()
                if left <= 0:
                    return
                select.select([self.display.fileno()], [], [], left)
            while self.display.pending_events():
                yield time.monotonic(), self.display.next_event()

    def drain(self):
        for _ in self.events(time.monotonic()):
            pass


def is_damage(event):
    return type(event).__name__ == 'DamageNotify'


def start(screen, program):
    """Starts the program; returns the process, its window and the ms to first paint."""
    screen.drain()
    spawned = time.monotonic()
    process = subprocess.Popen([program], stderr=subprocess.DEVNULL)
    window = None
    for stamp, event in screen.events(spawned + 20):
        if event.type == X.MapNotify and window is None:
            window = event.window
        elif window is not None and is_damage(event):
            return process, window, (stamp - spawned) * 1000
    process.kill()
    sys.exit(f'{program} showed no painted window')


def cpu_seconds(pid):
    total = 0
    for task in os.listdir(f'/proc/{pid}/task'):
        with open(f'/proc/{pid}/task/{task}/schedstat') as stat:
            total += int(stat.read().split()[0])
    return total / 1e9


def peak_rss_kib(pid):
    with open(f'/proc/{pid}/status') as status:
        for line in status:
            if line.startswith('VmHWM:'):
                return int(line.split()[1])
    return 0


def measure_once(screen, program):
    process, _, startup_ms = start(screen, program)
    time.sleep(1)
    peak = peak_rss_kib(process.pid)
    before = cpu_seconds(process.pid)
    time.sleep(IDLE_SECONDS)
    idle = (cpu_seconds(process.pid) - before) / IDLE_SECONDS * 100
    process.kill()
    process.wait()
    return startup_ms, peak, idle


def click(screen, window, point):
    """Clicks at a point of the window; returns when the server has the release."""
    pimbolawindow.click(screen.display, window, point)
    return time.monotonic()


def timed_run(screen, table, program, freezes=()):
    """Moments of every label change of one timed run, from the first question
    to the finish.

    freezes: (change, wait, length) in seconds: after that label change, wait,
    then stop the process for that long, as a busy machine would hold it up.
    """
    process, window, _ = start(screen, program)
    time.sleep(0.5)
    origin = window.translate_coords(screen.root, 0, 0)
    bands = [table.region(label) for label in LABELS]
    top = -origin.y + min(y for _, y, _, _ in bands)
    bottom = -origin.y + max(y + height for _, y, _, height in bands)
    for name in ('CheckBox2', 'CheckBox12', 'CheckBox11'):  # row 2, ×0, recitation
        click(screen, window, table.point(name))
        time.sleep(0.2)
    time.sleep(0.5)
    screen.drain()
    click(screen, window, table.point('Button1'))

    def freeze(wait, length):
        time.sleep(wait)
        os.kill(process.pid, signal.SIGSTOP)
        time.sleep(length)
        os.kill(process.pid, signal.SIGCONT)

    pending = {change: (wait, length) for change, wait, length in freezes}
    freezers = []
    changes = []
    expected = 2 * ENTRIES + 1  # every question and answer, then the finish
    for stamp, event in screen.events(time.monotonic() + expected * STEP_MS / 1000 + 5):
        if not is_damage(event) or not top <= event.area.y < bottom:
            continue
        if changes and stamp - changes[-1] < 0.2:
            continue  # one repaint can arrive as several rectangles
        changes.append(stamp)
        if len(changes) - 1 in pending:
            freezers.append(threading.Thread(target=freeze, args=pending[len(changes) - 1]))
            freezers[-1].start()
        if len(changes) == expected:
            break
    for freezer in freezers:
        freezer.join()
    process.kill()
    process.wait()
    if len(changes) != expected:
        sys.exit(f'saw {len(changes)} label changes, expected {expected}')
    return [stamp * 1000 for stamp in changes]


def main():
    program, baseline, runs = sys.argv[1], sys.argv[2], max(1, int(sys.argv[4]))
    table = pimbolawindow.Table(sys.argv[3])
    screen = Screen()
    results = {program: [], baseline: []}
    changes = timed_run(screen, table, program)
    frozen = timed_run(screen, table, program, FREEZES)
    for run in range(runs):
        for binary in (program, baseline):
            results[binary].append(measure_once(screen, binary))
        print(f'run {run + 1} of {runs} done', file=sys.stderr)

    def median(binary, column):
        return statistics.median(r[column] for r in results[binary])

    print(f'\nMedians of {runs} alternating runs\n')
    print(f'{"":32}{"program":>12}{"baseline":>12}{"ratio":>8}')
    for name, column, unit in (('start-up to first paint', 0, 'ms'), ('peak resident memory', 1, 'MiB'),
                               (f'CPU in {IDLE_SECONDS} s idle', 2, '%')):
        mine, floor = median(program, column), median(baseline, column)
        if unit == 'MiB':
            mine, floor = mine / 1024, floor / 1024
        ratio = f'{mine / floor:.2f}' if floor else '-'
        print(f'{name + " (" + unit + ")":32}{mine:12.3f}{floor:12.3f}{ratio:>8}')

    # What a child sees: how long each text stays before the next replaces it.
    steps = [after - before for before, after in zip(changes, changes[1:])]
    errors = [abs(step - STEP_MS) for step in steps]
    print(f'\nTimed run, {ENTRIES} entries at {STEP_MS} ms a step: each text on screen')
    print(f'{"step error median (ms)":44}{statistics.median(errors):8.2f}')
    print(f'{"step error worst (ms)":44}{max(errors):8.2f}')
    print(f'{"drift, first question to finish (ms)":44}{changes[-1] - changes[0] - len(steps) * STEP_MS:8.2f}')

    print(f'\nThe same run, the program stopped before a question is due')
    for change, wait, length in FREEZES:
        question = change + 1
        late = frozen[question] - frozen[change] - STEP_MS
        shown = frozen[question + 1] - frozen[question]
        print(f'{f"stopped {length:.1f} s, question {late:.0f} ms late, on screen (ms)":44}{shown:8.2f}')


if __name__ == '__main__':
    main()
