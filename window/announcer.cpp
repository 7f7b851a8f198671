#include "window/announcer.h"

#include <QAccessibleWidget>

namespace brivana::window {

namespace {

QAccessibleInterface* NotificationOf(const QString& className, QObject* object)
{
    if (className != QLatin1String("brivana::window::Announcer")) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    QAccessible::installFactory(&NotificationOf);
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void Announcer::say(const QString& words)
{
    // A screen reader says a notification as it appears: hidden first, so it appears again.
    hide();
    setAccessibleName(words);
    show();
}

}  // namespace brivana::window
