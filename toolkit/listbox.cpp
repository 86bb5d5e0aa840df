#include "listbox.h"

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

void ListBox::onSelectionChanged()
{
    const int index = itemIndex();
    if (index == lastIndex)
        return;
    lastIndex = index;
    emit changed();
}
