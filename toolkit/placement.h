#pragma once

#include <QPointF>
#include <QSizeF>

class QFont;
class QWidget;

// Where a control sits in its window: its top-left corner, its unscaled
// size (empty: the control's own size hint) and the factor it is drawn at.
struct ScaledPlacement {
    QPointF position;
    QSizeF size;
    qreal scale = 1.0;
};

// Draws the control scale times larger (font, indicators, items) and makes
// it cover position to position + scale × size.
void placeScaled(QWidget *control, const ScaledPlacement &placement, const QFont &unscaledFont);
