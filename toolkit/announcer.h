#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Says short texts to screen readers without showing anything: an
// accessible notification, invisible on screen, that tells them of each
// new text, with Qt's announcement from Qt 6.8 on and by appearing anew
// before. Screen readers pass over label text changes they are not
// focused on, but speak an announcement, or a notification as it appears.
class Announcer : public QObject {
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    // An empty text says nothing.
    void announce(const QString &text);
    QString text() const { return current; }

private:
    QString current;
};
