#!/usr/bin/python3
"""Drives the real Pimbola window from outside, on the X server in DISPLAY.

Every place comes from the control table the build writes beside the program
(controls.json), so nothing here repeats a coordinate of the window. Used by
the end-to-end tests, the Windows check, the screenshot tool and the
benchmark, as a module or from the shell:

    pimbolawindow.py TABLE find [SECONDS]        prints the window's id
    pimbolawindow.py TABLE click WINDOW NAME…    clicks each control in turn
    pimbolawindow.py TABLE close WINDOW          asks it to close, as a title bar does
    pimbolawindow.py TABLE class WINDOW          prints its window class
    pimbolawindow.py TABLE region NAME           prints x y width height

A window drawn at a display scale (150 % is 1.5) takes `--scale S` after TABLE.
"""
import json
import sys
import time

from Xlib import X, display, protocol
from Xlib.ext import xtest


class Table:
    """The window's controls by name, in the window's client coordinates."""

    def __init__(self, path, scale=1.0):
        with open(path, encoding='utf-8') as file:
            data = json.load(file)
        self.display_scale = scale
        self.caption = data['caption']
        self.width, self.height = data['width'], data['height']
        self.controls = {control['name']: control for control in data['controls']}

    def region(self, name):
        """What a control covers: its scaled size, or, for one that takes its
        own size, the free room to its right and below up to the next control."""
        control = self.controls[name]
        x, y, scale = control['x'], control['y'], control['scale']
        if control['width'] > 0:
            # Both corners rounded half up, as the window places them.
            return x, y, int(x + control['width'] * scale + 0.5) - x, int(y + control['height'] * scale + 0.5) - y
        right, bottom = self.width, self.height
        for other in self.controls.values():
            if other is control:
                continue
            other_right = other['x'] + max(other['width'] * other['scale'], 1)
            other_bottom = other['y'] + max(other['height'] * other['scale'], 1)
            if other['x'] > x and other['y'] < bottom and other_bottom > y:
                right = min(right, other['x'])
            if other['y'] > y and other['x'] < right and other_right > x:
                bottom = min(bottom, other['y'])
        return x, y, right - x - 1, bottom - y - 1

    def point(self, name):
        """Where a click lands on a control: its middle, or for one that takes
        its own size, its indicator; in device pixels at the display scale."""
        control = self.controls[name]
        x, y, width, height = self.region(name)
        if control['width'] > 0:
            x, y = x + width / 2, y + height / 2
        else:
            x, y = x + 8 * control['scale'], y + 10 * control['scale']
        return round(x * self.display_scale), round(y * self.display_scale)


def find_window(connection, caption, seconds=30.0):
    """The mapped top-level window with this caption, or None after `seconds`."""
    name_atom = connection.intern_atom('_NET_WM_NAME')
    utf8 = connection.intern_atom('UTF8_STRING')
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        pending = [connection.screen().root]
        while pending:
            window = pending.pop()
            try:
                attributes = window.get_attributes()
                name = window.get_full_property(name_atom, utf8)
                title = name.value.decode() if name else window.get_wm_name()
                if attributes.map_state == X.IsViewable and title == caption:
                    return window
                pending.extend(window.query_tree().children)
            except Exception:  # a window that went away while we looked
                continue
        time.sleep(0.05)
    return None


def click(connection, window, point):
    """A left click at a point of the window's client area; returns once the
    server has the release."""
    origin = window.translate_coords(connection.screen().root, 0, 0)
    xtest.fake_input(connection, X.MotionNotify, x=point[0] - origin.x, y=point[1] - origin.y)
    xtest.fake_input(connection, X.ButtonPress, 1)
    xtest.fake_input(connection, X.ButtonRelease, 1)
    connection.sync()


def request_close(connection, window):
    """What a window manager sends when the title bar's close button is clicked."""
    message = protocol.event.ClientMessage(
        window=window, client_type=connection.intern_atom('WM_PROTOCOLS'),
        data=(32, [connection.intern_atom('WM_DELETE_WINDOW'), X.CurrentTime, 0, 0, 0]))
    window.send_event(message, event_mask=X.NoEventMask)
    connection.flush()


def main(argv):
    scale = 1.0
    if len(argv) > 3 and argv[2] == '--scale':
        scale = float(argv[3])
        argv = argv[:2] + argv[4:]
    table = Table(argv[1], scale)
    verb, arguments = argv[2], argv[3:]
    if verb == 'region':
        print(*table.region(arguments[0]))
        return 0
    connection = display.Display()
    if verb == 'find':
        window = find_window(connection, table.caption, float(arguments[0]) if arguments else 30.0)
        if window is None:
            print(f'no {table.caption} window appeared', file=sys.stderr)
            return 1
        print(window.id)
        return 0
    window = connection.create_resource_object('window', int(arguments[0]))
    if verb == 'click':
        for name in arguments[1:]:
            click(connection, window, table.point(name))
            time.sleep(0.1)
    elif verb == 'close':
        request_close(connection, window)
    elif verb == 'class':
        print(window.get_wm_class()[1])
    else:
        print(f'unknown verb {verb}', file=sys.stderr)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
