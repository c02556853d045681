#include "platform/os/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace plat {

bool ShellOpen(const QString &target)
{
    try {
        if (target.trimmed().isEmpty())
            return false;
        QUrl url;
        if (QFileInfo::exists(target)) {
            url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
        } else {
            url = QUrl(target, QUrl::TolerantMode);
            // A bare path (no scheme, or a one-letter drive "scheme") names a local file.
            if (url.scheme().size() <= 1)
                url = QUrl::fromLocalFile(target);
        }
        if (!url.isValid())
            return false;
        return QDesktopServices::openUrl(url);
    } catch (...) {
        return false;
    }
}

} // namespace plat
