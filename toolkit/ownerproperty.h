#pragma once

#include <QVariant>
#include <QWidget>

// A property of the control a style is asked about. Item views ask with
// their viewport as well as with the view itself, so a property the widget
// lacks is taken from its parent.
inline QVariant ownerProperty(const QWidget *widget, const char *name)
{
    if (!widget)
        return {};
    const QVariant own = widget->property(name);
    if (own.isValid() || !widget->parentWidget())
        return own;
    return widget->parentWidget()->property(name);
}
