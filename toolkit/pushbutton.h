#pragma once

#include <QPushButton>

// A push button that Enter and Return press as Space does: down on the key
// press, one click on its release. Children and parents reach for Enter.
class PushButton : public QPushButton {
    Q_OBJECT

public:
    PushButton(const QString &text, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};
