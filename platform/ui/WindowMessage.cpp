#include "platform/ui/WindowMessage.h"

#include <QCoreApplication>
#include <QHash>

#include <mutex>

namespace plat {

namespace {
std::mutex g_mutex;
}

QEvent::Type RegisterWindowMessage(const QString &name)
{
    static QHash<QString, QEvent::Type> types;
    std::lock_guard lock(g_mutex);
    const QString key = name.toUpper();
    auto it = types.find(key);
    if (it == types.end())
        it = types.insert(key, static_cast<QEvent::Type>(QEvent::registerEventType()));
    return it.value();
}

QEvent::Type WindowMessageType(int number)
{
    static QHash<int, QEvent::Type> types;
    std::lock_guard lock(g_mutex);
    auto it = types.find(number);
    if (it == types.end())
        it = types.insert(number, static_cast<QEvent::Type>(QEvent::registerEventType()));
    return it.value();
}

std::intptr_t
SendMessage(QObject *receiver, QEvent::Type type, std::intptr_t wParam, std::intptr_t lParam)
{
    if (!receiver)
        return 0;
    TMessageEvent ev(type, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &ev);
    return ev.Result;
}

void PostMessage(QObject *receiver, QEvent::Type type, std::intptr_t wParam, std::intptr_t lParam)
{
    if (receiver)
        QCoreApplication::postEvent(receiver, new TMessageEvent(type, wParam, lParam));
}

} // namespace plat
