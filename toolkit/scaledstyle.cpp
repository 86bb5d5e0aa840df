#include "scaledstyle.h"

#include <QStyleFactory>
#include <QStyleOption>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char ScaleProperty[] = "pimbolaScale";
constexpr char NoFocusHighlightProperty[] = "pimbolaNoFocusHighlight";

// Item views ask with their viewport as well as with the view itself.
const QWidget *scaledOwner(const QWidget *widget)
{
    if (widget && !widget->property(ScaleProperty).isValid() && widget->parentWidget()
        && widget->parentWidget()->property(ScaleProperty).isValid())
        return widget->parentWidget();
    return widget;
}

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
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
    setParent(parent);
}

qreal ScaledStyle::scaleOf(const QWidget *widget)
{
    const QWidget *owner = scaledOwner(widget);
    const QVariant scale = owner ? owner->property(ScaleProperty) : QVariant();
    return scale.isValid() ? scale.toReal() : 1.0;
}

void ScaledStyle::setScale(QWidget *widget, qreal scale)
{
    widget->setProperty(ScaleProperty, scale);
}

void ScaledStyle::setFocusHighlight(QWidget *widget, bool shown)
{
    widget->setProperty(NoFocusHighlightProperty, !shown);
}

int ScaledStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (!isScaledMetric(metric))
        return base;
    return qRound(base * scaleOf(widget));
}

QRect ScaledStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    // The button faces were sized for their text, so no margin may trim it.
    if (element == SE_PushButtonContents)
        return option->rect;
    return QProxyStyle::subElementRect(element, option, widget);
}

void ScaledStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                const QWidget *widget) const
{
    const QWidget *owner = scaledOwner(widget);
    if (element == PE_FrameFocusRect && owner && owner->property(NoFocusHighlightProperty).toBool())
        return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
