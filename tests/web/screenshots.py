#!/usr/bin/python3
"""Pictures of the page for the README, as a child sees it after one step
of the row of 3 with its recitation, in WebKit and Firefox at a phone's
and a tablet's size:
    screenshots.py SITE_DIR OUT_DIR NODE_MODULES
Needs an X display for WebKit (tests/with_xvfb.sh)."""
import sys
from pathlib import Path

import engines
from checking import Site

SIZES = {'phone': (393, 852), 'tablet': (820, 1180)}


def main(site_dir, out_dir, node_modules):
    site = Site(Path(site_dir).resolve())
    try:
        for name in ('webkit', 'firefox'):
            engine = engines.start(name, node_modules)
            try:
                for device, size in SIZES.items():
                    engine.open(site.url + 'pimbola.html', size)
                    for control in ('CheckBox3', 'CheckBox11', 'Button3'):
                        engine.click(control)
                    engine.screenshot(Path(out_dir, f'web-{device}-{name}.png'))
            finally:
                engine.quit()
    finally:
        site.stop()


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
