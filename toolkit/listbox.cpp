#include "listbox.h"

#include "rowheightdelegate.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetricsF>
#include <QTextLayout>
#include <QTimer>
#include <QtMath>

#include <algorithm>

namespace {

// Some faces reach above their ascent or below their descent (tall kana,
// deep hooks), and rows exactly as tall as the line run their glyphs into
// each other and under the list's edge. A row is therefore as tall as what
// the items draw, or the face's line spacing if that is more, with a margin.
// Styles centre a line's ascent and descent in its row, so the glyphs are
// measured from that centre.
int rowHeightFor(const QFont &font, const QStringList &texts)
{
    constexpr qreal Margin = 2;
    const QFontMetricsF metrics(font);
    qreal extent = metrics.lineSpacing();
    for (const QString &text : texts) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const qreal centre = (line.descent() - line.ascent()) / 2;  // below the baseline
        const QRectF glyphs = metrics.tightBoundingRect(text);
        extent = std::max({extent, line.height(), 2 * (centre - glyphs.top()), 2 * (glyphs.bottom() - centre)});
    }
    return qCeil(extent + 2 * Margin);
}

} // namespace

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
    , rows(new RowHeightDelegate(this))
{
    setItemDelegate(rows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The style fills the field together with its frame; the viewport, a
    // child placed at fractional device pixels when scaled, would cover it.
    viewport()->setAutoFillBackground(false);
    connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::onSelectionChanged);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &ListBox::fitRows);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &ListBox::fitRows);
    connect(model(), &QAbstractItemModel::dataChanged, this, &ListBox::fitRows);
}

int ListBox::itemIndex() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void ListBox::setItemIndex(int row)
{
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

// Selection always follows the current item, and nothing deselects it:
// Ctrl+click or Ctrl+Space would otherwise empty a single-selection list.
QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index, const QEvent *) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}

// Qt 6.4 offers screen readers no selection interface on a list, so one
// told that the list itself has focus cannot find the chosen item and says
// only how many there are. Telling them, after Qt's own focus event for the
// list, that the current item has focus, as Qt does when it moves, lets them
// say the item.
void ListBox::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    QTimer::singleShot(0, this, &ListBox::reportCurrentItemFocused);
}

void ListBox::reportCurrentItemFocused()
{
    if (!QAccessible::isActive() || !hasFocus() || currentRow() < 0)
        return;
    QAccessibleEvent focused(this, QAccessible::Focus);
    focused.setChild(currentRow());
    QAccessible::updateAccessibility(&focused);
}

void ListBox::onSelectionChanged()
{
    const int index = itemIndex();
    if (index == lastIndex)
        return;
    lastIndex = index;
    emit changed();
}

void ListBox::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRows();
}

void ListBox::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    fitRows();
}

// All rows stay inside the list, even where that leaves a face too large
// for them.
void ListBox::fitRows()
{
    QStringList texts;
    for (int row = 0; row < count(); ++row)
        texts << item(row)->text();
    int height = rowHeightFor(font(), texts);
    if (count() > 0 && viewport()->height() > 0)
        height = std::min(height, viewport()->height() / count());
    if (height == rows->rowHeight())
        return;
    rows->setRowHeight(height);
    scheduleDelayedItemsLayout();
}
