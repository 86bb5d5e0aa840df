#pragma once

#include <QLabel>

// A label that tells screen readers when its text changes; QLabel itself
// sends no accessibility event for a new text.
class Label : public QLabel {
    Q_OBJECT

public:
    Label(const QString &text, QWidget *parent);

    void setText(const QString &text);
};
