#include "announcer.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QWidget>
#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif

namespace {

// A leaf of the window with no place on screen; Qt has no widget with the
// notification role, and a widget of its own would be one more control.
class AccessibleAnnouncer : public QAccessibleObject {
public:
    explicit AccessibleAnnouncer(Announcer *announcer)
        : QAccessibleObject(announcer)
    {
    }

    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(object()->parent()); }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? static_cast<const Announcer *>(object())->text() : QString();
    }
};

} // namespace

Announcer::Announcer(QWidget *window)
    : QObject(window)
{
    // The cache owns the interface and deletes it with this object.
    QAccessible::registerAccessibleInterface(new AccessibleAnnouncer(this));
}

void Announcer::announce(const QString &text)
{
    current = text;
    if (text.isEmpty())
        return;
    // The new name first, so a reader caching names has it when the
    // text is said.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt's own way to have a text said: readers say it alone, where a
    // notification appearing is said with its role ("notification") first.
    QAccessibleAnnouncementEvent said(this, text);
    QAccessible::updateAccessibility(&said);
#else
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}
