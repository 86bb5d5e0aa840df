#include "listbox.h"

#include <QAccessible>
#include <QTimer>

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The style fills the field together with its frame; the viewport, a
    // child placed at fractional device pixels when scaled, would cover it.
    viewport()->setAutoFillBackground(false);
    connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::onSelectionChanged);
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
