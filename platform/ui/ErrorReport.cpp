#include "platform/ui/ErrorReport.h"

#include "platform/ui/MessageBox.h"

namespace plat {

void ReportException(const std::exception &e)
{
    MessageBox(QString::fromUtf8(e.what()), MsgIcon::Error, MsgButtons::OK);
}

void ReportUnknownException()
{
    MessageBox(QStringLiteral("Unknown error"), MsgIcon::Error, MsgButtons::OK);
}

bool Guarded(const std::function<void()> &code)
{
    try {
        code();
        return true;
    } catch (const std::exception &e) {
        ReportException(e);
    } catch (...) {
        ReportUnknownException();
    }
    return false;
}

bool GuardedDelivery(const std::function<bool()> &deliver)
{
    try {
        return deliver();
    } catch (const std::exception &e) {
        ReportException(e);
    } catch (...) {
        ReportUnknownException();
    }
    return false;
}

} // namespace plat

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    return plat::GuardedDelivery([&] { return QApplication::notify(receiver, event); });
}
