#include "rowheightdelegate.h"

RowHeightDelegate::RowHeightDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

int RowHeightDelegate::rowHeight() const
{
    return fixedHeight;
}

void RowHeightDelegate::setRowHeight(int height)
{
    fixedHeight = height;
}

QSize RowHeightDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (fixedHeight > 0)
        size.setHeight(fixedHeight);
    return size;
}
