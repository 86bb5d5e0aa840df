#include "pushbutton.h"

#include <QKeyEvent>

namespace {

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The same event as if Space had been pressed, so the button's own handling
// (auto-repeat ignored, release outside cancels) applies unchanged.
QKeyEvent asSpace(const QKeyEvent *event)
{
    return QKeyEvent(event->type(), Qt::Key_Space, event->modifiers() & ~Qt::KeypadModifier,
                     QStringLiteral(" "), event->isAutoRepeat(), event->count());
}

} // namespace

PushButton::PushButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    // Otherwise Enter would click on the press itself, and once more for
    // every auto-repeat while the key is held.
    setAutoDefault(false);
}

void PushButton::keyPressEvent(QKeyEvent *event)
{
    if (!isEnter(event)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    QKeyEvent space = asSpace(event);
    QPushButton::keyPressEvent(&space);
    event->setAccepted(space.isAccepted());
}

void PushButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!isEnter(event)) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    QKeyEvent space = asSpace(event);
    QPushButton::keyReleaseEvent(&space);
    event->setAccepted(space.isAccepted());
}
