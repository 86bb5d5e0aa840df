#!/usr/bin/python3
"""Compares two pictures of the Pimbola window, control by control: where
each draws its text and marks, and how much of them.

    windows-compare.py REFERENCE.png OTHER.png

The reference is the Linux program, the other the Windows one under wine.
Their fonts are rasterised by different engines, so the ink may differ by a
pixel or two at its edges, and a little in weight; text that is missing,
cut off, drawn in another face or in another place differs by far more.
"""
import subprocess
import sys

# Where the controls that show text or marks sit in the window's client
# area: position and size as placed, scale applied. The radio buttons take
# their own size, about this much.
REGIONS = {
    'Label1': (8, 32, 98, 34), 'Label2': (111, 32, 34, 34), 'Label3': (144, 32, 114, 34),
    'Label4': (8, 81, 322, 34),
    'CheckBox1': (24, 136, 110, 29), 'CheckBox2': (176, 136, 120, 29),
    'CheckBox3': (24, 184, 110, 29), 'CheckBox4': (176, 184, 120, 29),
    'CheckBox5': (24, 232, 110, 29), 'CheckBox6': (176, 232, 120, 29),
    'CheckBox7': (24, 280, 110, 29), 'CheckBox8': (176, 280, 120, 29),
    'CheckBox9': (24, 328, 110, 29), 'CheckBox13': (176, 328, 144, 29),
    'CheckBox10': (24, 376, 206, 29),
    'CheckBox12': (24, 432, 122, 29), 'CheckBox11': (176, 432, 180, 29),
    'RadioButton1': (8, 488, 118, 32), 'RadioButton2': (8, 534, 118, 32), 'RadioButton3': (8, 576, 118, 32),
    'ListBox1': (128, 484, 110, 126),
    'Button2': (255, 368, 80, 49), 'Button1': (255, 479, 80, 57), 'Button3': (255, 552, 80, 57),
}
EDGE_SLACK = 4  # pixels
WEIGHT_RANGE = (0.6, 1.6)  # ink of the other over ink of the reference


def load(path):
    """Width, height and rows of grey levels of a picture."""
    pgm = subprocess.run(['convert', path, '-colorspace', 'Gray', '-depth', '8', 'pgm:-'],
                         check=True, capture_output=True).stdout
    header = pgm.split(maxsplit=4)
    width, height = int(header[1]), int(header[2])
    pixels = header[4][-width * height:]
    return width, height, [pixels[row * width:(row + 1) * width] for row in range(height)]


def ink(picture, region):
    """Bounding box and amount of what is drawn in a region: pixels clearly
    darker or lighter than the window around it."""
    _, _, rows = picture
    x, y, w, h = region
    background = max(set(rows[y + h // 2][x:x + w]), key=rows[y + h // 2][x:x + w].count)
    points = [(px, py) for py in range(y, y + h) for px in range(x, x + w)
              if abs(rows[py][px] - background) > 60]
    if not points:
        return None, 0
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return (min(xs), min(ys), max(xs), max(ys)), len(points)


def main():
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


if __name__ == '__main__':
    main()
