// Window messages become custom QEvent types: a registered message name maps to one event type
// for the whole run, and fixed message numbers map to their own types the same way.
#pragma once

#include <QEvent>
#include <QString>

#include <cstdint>

class QObject;

namespace plat {

// One stable type per name (case-insensitive, as message names were); the same name gives the
// same type for the rest of the run.
QEvent::Type RegisterWindowMessage(const QString &name);
// One stable type per fixed message number.
QEvent::Type WindowMessageType(int number);

// A window message with its two parameters and the receiver's answer.
class TMessageEvent : public QEvent
{
public:
    TMessageEvent(QEvent::Type type, std::intptr_t wParam = 0, std::intptr_t lParam = 0)
        : QEvent(type), WParam(wParam), LParam(lParam)
    {}
    std::intptr_t WParam;
    std::intptr_t LParam;
    std::intptr_t Result = 0;
};

// Delivers at once and returns the receiver's Result.
std::intptr_t SendMessage(QObject *receiver,
                          QEvent::Type type,
                          std::intptr_t wParam = 0,
                          std::intptr_t lParam = 0);
// Queues the message for the receiver's event loop.
void PostMessage(QObject *receiver,
                 QEvent::Type type,
                 std::intptr_t wParam = 0,
                 std::intptr_t lParam = 0);

} // namespace plat
