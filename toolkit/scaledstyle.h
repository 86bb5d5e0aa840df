#pragma once

#include <QProxyStyle>

class QWidget;

// Fusion, drawn larger per control: a control's check and radio indicators
// and their spacing grow with its scale, and its font is scaled by the
// placement, so everything stays vector drawn and crisp.
// Push buttons lay their text over the whole face.
class ScaledStyle : public QProxyStyle {
    Q_OBJECT

public:
    explicit ScaledStyle(QObject *parent);

    static qreal scaleOf(const QWidget *widget);
    static void setScale(QWidget *widget, qreal scale);
    static void setFocusHighlight(QWidget *widget, bool shown);

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};
