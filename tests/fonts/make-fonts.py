#!/usr/bin/python3
"""Draws the test faces for the interval list: each has glyphs, plain
blocks, only for the characters of its four items, and metrics that put the
ink or the lines where a naive row height would not.

    tests/fonts/make-fonts.py   (needs python3-fonttools; writes next to itself)

- "Pimbola Tall Ink": ink reaching well above the ascent and below the
  descent, as faces with tall kana or deep descenders do.
- "Pimbola Loose Lines": ink inside ascent and descent, and a line gap half
  as large again, so the line spacing far exceeds ascent plus descent.
"""
import pathlib

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

UNITS_PER_EM = 1000
CHARACTERS = '１２３４びょうおき'
FACES = {
    # file: family, ascent, descent, line gap, lowest and highest ink
    'pimbola-tall-ink.ttf': ('Pimbola Tall Ink', 700, 150, 0, -400, 1000),
    'pimbola-loose-lines.ttf': ('Pimbola Loose Lines', 800, 200, 500, -100, 750),
}


def block(bottom, top, width):
    pen = TTGlyphPen(None)
    pen.moveTo((100, bottom))
    pen.lineTo((100, top))
    pen.lineTo((width - 100, top))
    pen.lineTo((width - 100, bottom))
    pen.closePath()
    return pen.glyph()


def build(path, family, ascent, descent, gap, bottom, top):
    names = ['.notdef'] + [f'uni{ord(c):04X}' for c in CHARACTERS]
    builder = FontBuilder(UNITS_PER_EM, isTTF=True)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap({ord(c): f'uni{ord(c):04X}' for c in CHARACTERS})
    glyphs = {name: block(bottom, top, 1000) for name in names}
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics({name: (1000, 100) for name in names})
    builder.setupHorizontalHeader(ascent=ascent, descent=-descent, lineGap=gap)
    builder.setupOS2(version=4, sTypoAscender=ascent, sTypoDescender=-descent, sTypoLineGap=gap,
                     usWinAscent=ascent, usWinDescent=descent, fsSelection=0x40 | 0x80)
    builder.setupNameTable({'familyName': family, 'styleName': 'Regular'})
    builder.setupPost()
    # The same files every time they are drawn.
    builder.updateHead(created=0, modified=0)
    builder.font.recalcTimestamp = False
    builder.save(path)


def main():
    here = pathlib.Path(__file__).parent
    for file, face in FACES.items():
        build(str(here / file), *face)


if __name__ == '__main__':
    main()
