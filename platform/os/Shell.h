// Opening a web address or a file with the desktop's default handler.
#pragma once

#include <QString>

namespace plat {

// target is a URL with a scheme ("https://...", "mailto:...") or a local file or folder path.
// True when the desktop accepted the request; never throws.
bool ShellOpen(const QString &target);

} // namespace plat
