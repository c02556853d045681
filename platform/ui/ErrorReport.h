// An exception must never cross the Qt event loop: handlers run guarded, and whatever escapes
// is shown in one error box ("Error", the exception's text) before the program goes on.
#pragma once

#include "platform/ui/WindowMessage.h"

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

namespace plat {

// Shows the error box for an exception (its what()) or, for anything else, a generic text.
void ReportException(const std::exception &e);
void ReportUnknownException();

// Runs `code`; an exception is reported once and swallowed. True when nothing was thrown.
bool Guarded(const std::function<void()> &code);

// Runs one event delivery; an exception is reported and the delivery counts as not handled.
bool GuardedDelivery(const std::function<bool()> &deliver);

} // namespace plat

// The application object: every event delivery is guarded the same way.
class TApplication : public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
