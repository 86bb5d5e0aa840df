#!/usr/bin/python3
"""Start-up of the Windows program under wine, for one zip or two side by
side: the time from `wine pimbola.exe` to the first picture of its window
that shows the program's own text (more than one colour, and not changing
for 100 ms), polled every 10 ms. Each zip gets a wine prefix of its own,
made by a first start that is not counted. Run on an X display of its own
(bench/windows-run does this):
    windows-measure.py CONTROL_TABLE RUNS ZIP [ZIP]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

from Xlib import X, display

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'scripts'))
import pimbolawindow  # noqa: E402  (found through the path above)

POLL_S = 0.01
SETTLED_S = 0.1


def picture(window):
    geometry = window.get_geometry()
    try:
        return window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xffffffff).data
    except Exception:  # not viewable yet
        return None


def painted(data):
    return data is not None and len(set(data[i:i + 4] for i in range(0, len(data), 4 * 97))) > 1


def start_once(connection, places, folder, environment):
    """Milliseconds from spawning to the settled first picture; the program
    is closed with おわる before returning."""
    spawned = time.monotonic()
    process = subprocess.Popen(['wine', 'pimbola.exe'], cwd=folder, env=environment,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = pimbolawindow.find_window(connection, places.caption, 60)
    if window is None:
        process.kill()
        sys.exit('no Pimbola window appeared')
    last, since, shown_at = None, None, None
    while True:
        data = picture(window)
        now = time.monotonic()
        if painted(data) and data == last:
            if now - since >= SETTLED_S:
                break
        else:
            last, since, shown_at = data, now, now
        time.sleep(POLL_S)
    pimbolawindow.click(connection, window, places.point('Button2'))
    if process.wait(20) != 0:
        sys.exit('pimbola.exe did not end with status 0')
    return (shown_at - spawned) * 1000


def measure(connection, places, zip_path, runs):
    with tempfile.TemporaryDirectory() as work:
        with zipfile.ZipFile(zip_path) as archive:
            archive.extractall(work)
        environment = dict(os.environ, WINEPREFIX=str(Path(work, 'prefix')), WINEDEBUG='-all',
                           WINEDLLOVERRIDES='mscoree=;mshtml=')
        start_once(connection, places, work, environment)
        times = [start_once(connection, places, work, environment) for _ in range(runs)]
        subprocess.run(['wineserver', '-k'], env=environment, check=False)
        return times


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    places = pimbolawindow.Table(sys.argv[1])
    runs = int(sys.argv[2])
    connection = display.Display()
    print(f'start-up under wine to the first settled picture, {runs} runs (min / median / max):')
    medians = []
    for zip_path in sys.argv[3:]:
        times = measure(connection, places, zip_path, runs)
        medians.append(statistics.median(times))
        print(f'  {Path(zip_path).name}: {min(times):.0f} / {medians[-1]:.0f} / {max(times):.0f} ms')
    if len(medians) == 2:
        print(f'  ratio of medians, first to second: {medians[0] / medians[1]:.2f}')


if __name__ == '__main__':
    main()
