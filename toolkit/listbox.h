#pragma once

#include <QListWidget>

// A list with exactly one selected item at all times: no click, modifier
// or key can leave it without a selection.
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
    void focusInEvent(QFocusEvent *event) override;

private:
    void onSelectionChanged();
    void reportCurrentItemFocused();

    int lastIndex = -1;
};
