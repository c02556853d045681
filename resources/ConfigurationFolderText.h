// The message for an open configuration whose folder has gone (deleted or moved while the program
// runs). Whoever would write into that folder shows it and writes nothing: recreating the folder
// would fill it with defaults that could then reach the device unnoticed.
#pragma once

#include <QString>

namespace res {

// Names the folder in the platform's notation.
QString Configuration_Folder_Missing_Text(const QString &folder);

} // namespace res
