#!/usr/bin/python3
"""Checks pictures of the Pimbola window, control by control.

    windows-compare.py REFERENCE.png OTHER.png
    windows-compare.py --within SCALE PICTURE...
    windows-compare.py --chosen-row SCALE PICTURE...

The first compares two pictures: where each control draws its text and
marks, and how much of them. The reference is the Linux program, the other
the Windows one under wine. Their fonts are rasterised by different engines,
so the ink may differ by a pixel or two at its edges, and a little in weight;
text that is missing, cut off, drawn in another face or in another place
differs by far more.

--within checks that every control's text stays inside the control, in a
picture of the window at SCALE (1.5 at 144 dpi): a glyph cut by the
control's edge leaves ink on that edge.

--chosen-row checks the interval list in each picture: the chosen row's bar
holds its glyphs whole, clear of its edges, and no glyph reaches out of it.
"""
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pimbolawindow  # noqa: E402  (found through the path above)

# Where each control sits in the window's client area, scale applied, from
# the control table the build writes beside the Linux program.
_TABLE = pimbolawindow.Table(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'build', 'controls.json'))
REGIONS = {name: _TABLE.region(name) for name in _TABLE.controls}
EDGE_SLACK = 4  # pixels
WEIGHT_RANGE = (0.6, 1.6)  # ink of the other over ink of the reference
# The buttons are drawn inside a frame of one unscaled pixel, and their text
# fills them from side to side: a glyph cut at a side would cross the frame
# line there. The list's text is checked row by row (--chosen-row).
FRAMED = {'Button1', 'Button2', 'Button3'}
FRAME_PIXELS = 1
ROWS_CHECKED_APART = {'ListBox1'}
INK_CONTRAST = 60  # grey levels between ink and what it is drawn on


def load(path):
    """Width, height and rows of grey levels of a picture."""
    pgm = subprocess.run(['convert', path, '-colorspace', 'Gray', '-depth', '8', 'pgm:-'],
                         check=True, capture_output=True).stdout
    header = pgm.split(maxsplit=4)
    width, height = int(header[1]), int(header[2])
    pixels = header[4][-width * height:]
    return width, height, [pixels[row * width:(row + 1) * width] for row in range(height)]


def most_common(values):
    return max(set(values), key=values.count)


def ink(picture, region):
    """Bounding box and amount of what is drawn in a region: pixels clearly
    darker or lighter than the window around it."""
    _, _, rows = picture
    x, y, w, h = region
    background = most_common(rows[y + h // 2][x:x + w])
    points = [(px, py) for py in range(y, y + h) for px in range(x, x + w)
              if abs(rows[py][px] - background) > INK_CONTRAST]
    if not points:
        return None, 0
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return (min(xs), min(ys), max(xs), max(ys)), len(points)


def scaled(region, scale, inset=0):
    """The device pixels wholly inside a region of the window at a scale,
    less `inset` on every side."""
    x, y, w, h = region
    left, top = math.ceil(x * scale) + inset, math.ceil(y * scale) + inset
    right, bottom = math.floor((x + w) * scale) - inset, math.floor((y + h) * scale) - inset
    return left, top, right - left, bottom - top


def inside(name, scale):
    """Where a control's text may draw: inside its frame, if it has one."""
    return scaled(REGIONS[name], scale, math.ceil(FRAME_PIXELS * scale) if name in FRAMED | {'ListBox1'} else 0)


def crossed(picture, name, scale, side):
    """Whether something crosses a framed control's side: along the middle of
    the side its frame line is of one colour."""
    _, _, rows = picture
    x, y, w, h = scaled(REGIONS[name], scale)
    column = x if side == 'left' else x + w - 1
    line = [rows[row][column] for row in range(y + h // 5, y + h - h // 5)]
    return max(line) - min(line) > INK_CONTRAST


def within(scale, path):
    """Faults of the controls whose ink reaches the edge of the control."""
    picture = load(path)
    faults = []
    for name in REGIONS.keys() - ROWS_CHECKED_APART:
        region = inside(name, scale)
        box, _ = ink(picture, region)
        if box is None:
            continue
        x, y, w, h = region
        if name in FRAMED:
            edges = {'top': box[1] == y, 'bottom': box[3] == y + h - 1, 'left': crossed(picture, name, scale, 'left'),
                     'right': crossed(picture, name, scale, 'right')}
        else:
            edges = {'top': box[1] == y, 'bottom': box[3] == y + h - 1, 'right': box[2] == x + w - 1}
        touched = [edge for edge, touches in edges.items() if touches]
        if touched:
            faults.append(f'{path}: {name}: ink {box} on its {" and ".join(touched)} edge')
    return faults


def chosen_row(scale, path):
    """Faults of the list's chosen row: a bar that is missing or cut by the
    list's edge, glyphs on its edge, glyphs reaching out of it. Returns the
    faults and the bar's top and bottom lines."""
    _, _, rows = load(path)
    x, y, w, h = inside('ListBox1', scale)
    lines = [rows[line][x:x + w] for line in range(y, y + h)]
    field = most_common([pixel for line in lines for pixel in line])
    # A line across the bar is mostly the bar's colour, even where it
    # crosses glyphs; an edge line of the bar may be blended with the field.
    colours = [most_common(line) for line in lines]
    bar = [index for index, colour in enumerate(colours) if abs(colour - field) > INK_CONTRAST // 2]
    if not bar or bar != list(range(bar[0], bar[-1] + 1)):
        return [f'{path}: no single bar in ListBox1'], None
    top, bottom = bar[0], bar[-1]
    faults = []
    if bottom == h - 1:
        faults.append(f'{path}: the bar reaches the bottom of ListBox1')

    def inked(index, background):
        return any(abs(pixel - background) > INK_CONTRAST for pixel in lines[index])

    glyphs = [index for index in bar if inked(index, colours[index])]
    if not glyphs:
        faults.append(f'{path}: no text on the bar')
    elif glyphs[0] == top or glyphs[-1] == bottom:
        faults.append(f'{path}: glyphs on the edge of the bar, lines {top + y} to {bottom + y}')
    if any(abs(lines[index][-1] - colours[index]) > INK_CONTRAST for index in bar):
        faults.append(f'{path}: glyphs on the right edge of ListBox1')
    outside = [index for index in (top - 1, bottom + 1) if 0 <= index < h and inked(index, field)]
    if outside:
        faults.append(f'{path}: glyphs reach out of the bar at line {outside[0] + y}')
    return faults, (top + y, bottom + y)


def check_within(scale, paths):
    faults = [fault for path in paths for fault in within(scale, path)]
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f'{len(paths)} pictures: the text of every control inside it' if not faults
          else f'{len(faults)} controls with text on their edge')
    sys.exit(1 if faults else 0)


def check_chosen_rows(scale, paths):
    faults, bars = [], []
    for path in paths:
        found, bar = chosen_row(scale, path)
        faults += found
        bars.append(bar)
    tops = [bar[0] for bar in bars if bar]
    if len(set(tops)) != len(tops):
        faults.append('the same row is chosen in two pictures')
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f'{len(paths)} chosen rows of ListBox1, bars at lines {bars}: their glyphs inside' if not faults
          else f'{len(faults)} faults in the rows of ListBox1')
    sys.exit(1 if faults else 0)


def compare():
    reference, other = load(sys.argv[1]), load(sys.argv[2])
    if reference[:2] != other[:2]:
        sys.exit(f'window sizes differ: {reference[:2]} and {other[:2]}')
    faults = []
    for name, region in REGIONS.items():
        (box, amount), (other_box, other_amount) = ink(reference, region), ink(other, region)
        if (box is None) != (other_box is None):
            faults.append(f'{name}: drawn in only one of them')
            continue
        if box is None:
            continue
        shift = max(abs(a - b) for a, b in zip(box, other_box))
        weight = other_amount / amount
        if shift > EDGE_SLACK or not WEIGHT_RANGE[0] <= weight <= WEIGHT_RANGE[1]:
            faults.append(f'{name}: ink {other_box} against {box}, weight {weight:.2f}')
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f'{len(REGIONS) - len(faults)} of {len(REGIONS)} controls drawn alike')
    sys.exit(1 if faults else 0)


def main():
    if len(sys.argv) >= 4 and sys.argv[1] == '--within':
        check_within(float(sys.argv[2]), sys.argv[3:])
    elif len(sys.argv) >= 4 and sys.argv[1] == '--chosen-row':
        check_chosen_rows(float(sys.argv[2]), sys.argv[3:])
    elif len(sys.argv) == 3:
        compare()
    else:
        sys.exit(__doc__)


if __name__ == '__main__':
    main()
