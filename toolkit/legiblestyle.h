#pragma once

#include <QProxyStyle>

class QWidget;

// Fusion, drawn so that everything can be seen on every colour scheme:
// indicator and field outlines that stand out from the window, a chosen
// list item that stays plain in an inactive window, and no focus frame on
// the controls that ask for none.
class LegibleStyle : public QProxyStyle {
    Q_OBJECT

public:
    explicit LegibleStyle(QObject *parent);

    static void setFocusHighlight(QWidget *widget, bool shown);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};
