#include "placement.h"

#include "scaledstyle.h"

#include <QFont>
#include <QWidget>

void placeScaled(QWidget *control, const ScaledPlacement &placement, const QFont &unscaledFont)
{
    ScaledStyle::setScale(control, placement.scale);
    QFont font = unscaledFont;
    font.setPixelSize(qRound(unscaledFont.pixelSize() * placement.scale));
    control->setFont(font);

    const QPointF topLeft = placement.position;
    const QPoint left = topLeft.toPoint();
    if (placement.size.isEmpty()) {
        control->setGeometry(QRect(left, control->sizeHint()));
        return;
    }
    // Rounding both corners keeps every edge within half a pixel.
    const QPoint right = (topLeft + QPointF(placement.size.width(), placement.size.height()) * placement.scale).toPoint();
    control->setGeometry(QRect(left, right - QPoint(1, 1)));
}
