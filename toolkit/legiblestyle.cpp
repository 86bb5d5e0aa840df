#include "legiblestyle.h"

#include "outline.h"
#include "ownerproperty.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

constexpr char NoFocusHighlightProperty[] = "pimbolaNoFocusHighlight";

// Fusion draws an unchecked indicator's outline a shade darker than the
// window, too faint on every palette to show where a box is. It derives that
// shade from the window colour and from nothing else in the indicator, so
// handing it a stand-in window colour changes the outline alone.
void drawIndicator(const QProxyStyle *style, QStyle::PrimitiveElement element, const QStyleOptionButton &button,
                   QPainter *painter, const QWidget *widget)
{
    const Outline outline = element == QStyle::PE_IndicatorCheckBox ? Outline::CheckBox : Outline::RadioButton;
    QStyleOptionButton standIn(button);
    standIn.palette.setColor(QPalette::Window, standInWindow(outline, button.palette.window().color()));
    style->QProxyStyle::drawPrimitive(element, &standIn, painter, widget);
}

// Fusion strokes a field's frame as a line and leaves the field itself to the
// viewport, a child widget. At fractional scales the two round to different
// device pixels: the line vanishes on one side and a gap opens on another.
// Filled rectangles, field over frame, round alike on every side.
void drawFieldFrame(const QStyleOption *option, QPainter *painter)
{
    painter->fillRect(option->rect, outlineOn(Outline::Field, option->palette.window().color()));
    painter->fillRect(option->rect.adjusted(1, 1, -1, -1), option->palette.base());
}

} // namespace

LegibleStyle::LegibleStyle(QObject *parent)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
    setParent(parent);
}

void LegibleStyle::setFocusHighlight(QWidget *widget, bool shown)
{
    widget->setProperty(NoFocusHighlightProperty, !shown);
}

void LegibleStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                 const QWidget *widget) const
{
    switch (element) {
    case PE_FrameFocusRect:
        if (ownerProperty(widget, NoFocusHighlightProperty).toBool())
            return;
        break;
    case PE_Frame:
        if (qobject_cast<const QAbstractItemView *>(widget)) {
            drawFieldFrame(option, painter);
            return;
        }
        break;
    case PE_IndicatorCheckBox:
    case PE_IndicatorRadioButton:
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            drawIndicator(this, element, *button, painter, widget);
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void LegibleStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
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
