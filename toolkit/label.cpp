#include "label.h"

#include <QAccessible>

Label::Label(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

void Label::setText(const QString &text)
{
    if (text == QLabel::text())
        return;
    QLabel::setText(text);
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}
