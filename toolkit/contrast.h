#pragma once

#include <QColor>

// What the accessibility guidelines ask of text against its background.
inline constexpr qreal TextContrast = 4.5;

// Contrast as the accessibility guidelines measure it: from 1 (none) to 21
// (black on white). Text wants 4.5, the outline of a control 3.
qreal contrastRatio(const QColor &a, const QColor &b);

// Whether text on this background is read best dark, as on the default
// palette, rather than light, as on dark and high-contrast schemes.
bool isLightBackground(const QColor &background);

// The colour itself on a light background or where it already reaches
// `ratio` against it; otherwise lightened in its own hue just enough.
QColor legibleOn(const QColor &colour, const QColor &background, qreal ratio);
