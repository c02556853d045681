#include "platform/ui/Beep.h"

#include <QApplication>

namespace plat {

namespace {

std::function<void()> &beepHook()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

void MessageBeep()
{
    if (beepHook())
        beepHook()();
    else
        QApplication::beep();
}

void SetBeepHook(std::function<void()> hook)
{
    beepHook() = std::move(hook);
}

} // namespace plat
