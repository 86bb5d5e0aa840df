#pragma once

#include <QStyledItemDelegate>

// Draws items as the style does, in rows of one height set by the view
// (0: as tall as the style would make each).
class RowHeightDelegate : public QStyledItemDelegate {
public:
    explicit RowHeightDelegate(QObject *parent);

    int rowHeight() const;
    void setRowHeight(int height);

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int fixedHeight = 0;
};
