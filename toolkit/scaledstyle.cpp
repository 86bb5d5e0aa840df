#include "scaledstyle.h"

#include "ownerproperty.h"

#include <QStyleOption>

namespace {

constexpr char ScaleProperty[] = "pimbolaScale";

bool isScaledMetric(QStyle::PixelMetric metric)
{
    switch (metric) {
    case QStyle::PM_IndicatorWidth:
    case QStyle::PM_IndicatorHeight:
    case QStyle::PM_ExclusiveIndicatorWidth:
    case QStyle::PM_ExclusiveIndicatorHeight:
    case QStyle::PM_CheckBoxLabelSpacing:
    case QStyle::PM_RadioButtonLabelSpacing:
        return true;
    default:
        return false;
    }
}

} // namespace

ScaledStyle::ScaledStyle(QObject *parent)
    : LegibleStyle(parent)
{
}

qreal ScaledStyle::scaleOf(const QWidget *widget)
{
    const QVariant scale = ownerProperty(widget, ScaleProperty);
    return scale.isValid() ? scale.toReal() : 1.0;
}

void ScaledStyle::setScale(QWidget *widget, qreal scale)
{
    widget->setProperty(ScaleProperty, scale);
}

int ScaledStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int base = LegibleStyle::pixelMetric(metric, option, widget);
    if (!isScaledMetric(metric))
        return base;
    return qRound(base * scaleOf(widget));
}

QRect ScaledStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    switch (element) {
    // The button faces were sized for their text, so no margin may trim it.
    case SE_PushButtonContents:
    // A box is aimed at as a whole row: a press anywhere on it counts.
    case SE_CheckBoxClickRect:
    case SE_RadioButtonClickRect:
        return option->rect;
    default:
        break;
    }
    return LegibleStyle::subElementRect(element, option, widget);
}
