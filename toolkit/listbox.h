#pragma once

#include <QListWidget>

class RowHeightDelegate;

// A list with exactly one selected item at all times: no click, modifier
// or key can leave it without a selection. Its rows hold their text whole
// in whatever face it is given.
class ListBox : public QListWidget {
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent);

    int itemIndex() const;
    void setItemIndex(int row);

signals:
    void changed();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void onSelectionChanged();
    void reportCurrentItemFocused();
    void fitRows();

    RowHeightDelegate *const rows;
    int lastIndex = -1;
};
