#include "outline.h"

#include "contrast.h"

qreal contrastWanted(Outline outline)
{
    return outline == Outline::Field ? 3.0 : TextContrast;
}

namespace {

QColor exactShade(Outline outline, const QColor &window)
{
    switch (outline) {
    case Outline::CheckBox:
        return window.darker(140).lighter(110);
    case Outline::RadioButton:
        return window.darker(150);
    case Outline::Field:
        return window.darker(140).lighter(108);
    }
    return window;
}

} // namespace

// In the 8 bits a channel is drawn with, so its contrast is what the screen shows.
QColor fusionShade(Outline outline, const QColor &window)
{
    return QColor::fromRgb(exactShade(outline, window).rgb());
}

QColor standInWindow(Outline outline, const QColor &window)
{
    const QColor hsv = window.toHsv();
    const int step = isLightBackground(window) ? -1 : 1;
    for (int value = hsv.value(); value >= 0 && value <= 255; value += step) {
        const QColor candidate = QColor::fromHsv(hsv.hsvHue(), hsv.hsvSaturation(), value);
        if (contrastRatio(fusionShade(outline, candidate), window) >= contrastWanted(outline))
            return candidate;
    }
    return step < 0 ? QColor(Qt::black) : QColor(Qt::white);
}

QColor outlineOn(Outline outline, const QColor &window)
{
    return fusionShade(outline, standInWindow(outline, window));
}
