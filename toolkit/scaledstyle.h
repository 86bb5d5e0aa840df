#pragma once

#include "legiblestyle.h"

class QWidget;

// The legible Fusion, drawn larger per control: a control's check and radio
// indicators and their spacing grow with its scale, and its font is scaled
// by the placement, so everything stays vector drawn and crisp. Push buttons
// lay their text over the whole face, and a box answers a press anywhere on
// its row.
class ScaledStyle : public LegibleStyle {
    Q_OBJECT

public:
    explicit ScaledStyle(QObject *parent);

    static qreal scaleOf(const QWidget *widget);
    static void setScale(QWidget *widget, qreal scale);

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
};
