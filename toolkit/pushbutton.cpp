#include "pushbutton.h"

#include <QKeyEvent>

namespace {

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Enter arrives as if it were Space, so the button's own handling of Space
// (auto-repeat ignored, a release outside the button cancels) applies as it
// is; every other key is handed on unchanged.
template <typename Handler>
void handleEnterAsSpace(QKeyEvent *event, Handler handle)
{
    if (!isEnter(event)) {
        handle(event);
        return;
    }
    QKeyEvent space(event->type(), Qt::Key_Space, event->modifiers() & ~Qt::KeypadModifier, QStringLiteral(" "),
                    event->isAutoRepeat(), event->count());
    handle(&space);
    event->setAccepted(space.isAccepted());
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
    handleEnterAsSpace(event, [this](QKeyEvent *key) { QPushButton::keyPressEvent(key); });
}

void PushButton::keyReleaseEvent(QKeyEvent *event)
{
    handleEnterAsSpace(event, [this](QKeyEvent *key) { QPushButton::keyReleaseEvent(key); });
}
