#include "drawnrows.h"

#include <QListWidget>
#include <QPixmap>
#include <QtMath>

#include <cstdlib>

namespace {

// Far enough from a colour to be text, not the edge of its antialiasing.
constexpr int InkDistance = 64;

bool near(QRgb pixel, QRgb colour)
{
    return std::abs(qRed(pixel) - qRed(colour)) <= InkDistance && std::abs(qGreen(pixel) - qGreen(colour)) <= InkDistance
        && std::abs(qBlue(pixel) - qBlue(colour)) <= InkDistance;
}

QRect inkIn(const QImage &image, const QRect &area, QRgb field, QRgb bar)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (!near(pixel, field) && !near(pixel, bar))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

QRectF scaled(const QRect &rect, qreal ratio)
{
    return {QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio};
}

} // namespace

std::vector<DrawnRow> drawnRows(QListWidget &list)
{
    QPalette palette = list.palette();
    palette.setColor(QPalette::HighlightedText, Qt::black);
    list.setPalette(palette);
    const QRgb field = palette.color(QPalette::Base).rgb();
    const QRgb bar = palette.color(QPalette::Highlight).rgb();

    std::vector<DrawnRow> rows;
    for (int shown = 0; shown < list.count(); ++shown) {
        for (int row = 0; row < list.count(); ++row)
            list.item(row)->setForeground(row == shown ? Qt::black : Qt::transparent);
        list.setCurrentRow(shown);
        // The whole list, so that the field under the viewport is drawn as shown.
        const QPixmap picture = list.grab();
        const qreal ratio = picture.devicePixelRatio();
        // Only the device pixels wholly inside the frame.
        const QRectF viewport = scaled(list.viewport()->geometry(), ratio);
        const QRect inside(QPoint(qCeil(viewport.left()), qCeil(viewport.top())),
                           QPoint(qFloor(viewport.right()) - 1, qFloor(viewport.bottom()) - 1));
        const QRect row = list.visualItemRect(list.item(shown)).translated(list.viewport()->pos());
        rows.push_back({scaled(row, ratio), inkIn(picture.toImage(), inside, field, bar)});
    }
    return rows;
}

bool clearOfEdges(const DrawnRow &drawn)
{
    return drawn.ink.top() >= drawn.row.top() + 1 && drawn.ink.bottom() + 1 <= drawn.row.bottom() - 1;
}
