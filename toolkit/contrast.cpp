#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace {

qreal relativeLuminance(const QColor &colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

qreal contrastRatio(const QColor &a, const QColor &b)
{
    const qreal first = relativeLuminance(a);
    const qreal second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

bool isLightBackground(const QColor &background)
{
    return contrastRatio(background, Qt::black) >= contrastRatio(background, Qt::white);
}

QColor legibleOn(const QColor &colour, const QColor &background, qreal ratio)
{
    if (isLightBackground(background) || contrastRatio(colour, background) >= ratio)
        return colour;
    // One step of 8-bit lightness at a time, so the result is the least change.
    const QColor hsl = colour.toHsl();
    for (int lightness = hsl.lightness(); lightness <= 255; ++lightness) {
        const QColor candidate = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness, hsl.alpha());
        if (contrastRatio(candidate, background) >= ratio)
            return candidate.toRgb();
    }
    return QColor(Qt::white);
}
