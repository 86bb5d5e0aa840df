#include "rowheightdelegate.h"

RowHeightDelegate::RowHeightDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

int RowHeightDelegate::rowHeight() const
{
    return height;
}

void RowHeightDelegate::setRowHeight(int rowHeight)
{
    height = rowHeight;
}

QSize RowHeightDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (height > 0)
        size.setHeight(height);
    return size;
}
