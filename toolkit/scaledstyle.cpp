#include "scaledstyle.h"

#include "contrast.h"

#include <QAbstractItemView>
#include <QPainter>
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

// Fusion draws an unchecked indicator's outline a shade darker than the
// window, too faint on every palette to show where a box is. It derives that
// shade from the window colour and from nothing else in the indicator, so
// handing it a stand-in window colour, moved away from the real one until the
// derived outline stands out enough, changes the outline alone.
// The outline is held to the contrast of text, not the 3:1 a control's edge
// needs: it is a thin antialiased line, and its pixels only ever show part of
// its colour.
QColor standInWindow(const QColor &window, QColor (*outlineOf)(const QColor &))
{
    const QColor hsv = window.toHsv();
    const int step = isLightBackground(window) ? -1 : 1;
    for (int value = hsv.value(); value >= 0 && value <= 255; value += step) {
        const QColor candidate = QColor::fromHsv(hsv.hsvHue(), hsv.hsvSaturation(), value);
        if (contrastRatio(outlineOf(candidate), window) >= TextContrast)
            return candidate;
    }
    return step < 0 ? QColor(Qt::black) : QColor(Qt::white);
}

QColor checkBoxOutline(const QColor &window)
{
    return window.darker(140).lighter(110);
}

QColor radioButtonOutline(const QColor &window)
{
    return window.darker(150);
}

// Fusion strokes a field's frame as a line and leaves the field itself to the
// viewport, a child widget. At fractional scales the two round to different
// device pixels: the line vanishes on one side and a gap opens on another.
// Filled rectangles, field over frame, round alike on every side.
void drawFieldFrame(const QStyleOption *option, QPainter *painter)
{
    const QColor outline = option->palette.window().color().darker(140).lighter(108);
    painter->fillRect(option->rect, outline);
    painter->fillRect(option->rect.adjusted(1, 1, -1, -1), option->palette.base());
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
    return QProxyStyle::subElementRect(element, option, widget);
}

void ScaledStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                const QWidget *widget) const
{
    const QWidget *owner = scaledOwner(widget);
    switch (element) {
    case PE_FrameFocusRect:
        if (owner && owner->property(NoFocusHighlightProperty).toBool())
            return;
        break;
    case PE_Frame:
        if (qobject_cast<const QAbstractItemView *>(widget)) {
            drawFieldFrame(option, painter);
            return;
        }
        break;
    case PE_IndicatorCheckBox:
    case PE_IndicatorRadioButton: {
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        if (!button)
            break;
        const auto outlineOf = element == PE_IndicatorCheckBox ? checkBoxOutline : radioButtonOutline;
        QStyleOptionButton standIn(*button);
        standIn.palette.setColor(QPalette::Window, standInWindow(option->palette.window().color(), outlineOf));
        QProxyStyle::drawPrimitive(element, &standIn, painter, widget);
        return;
    }
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ScaledStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    // A list's chosen item is a setting, not a focus: it stays as plain to
    // see when the window is not the active one, where Windows' own palette
    // would draw it in the window's colour, all but invisible.
    if (element == CE_ItemViewItem) {
        if (const auto *item = qstyleoption_cast<const QStyleOptionViewItem *>(option)) {
            QStyleOptionViewItem shown(*item);
            shown.state |= State_Active;
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
