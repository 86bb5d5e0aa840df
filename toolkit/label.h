#pragma once

#include <QLabel>

// A label that shows its text as it stands, never as markup. QLabel tells
// screen readers of each new text itself.
class Label : public QLabel {
    Q_OBJECT

public:
    Label(const QString &text, QWidget *parent);
};
