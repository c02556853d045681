#include "resources/ConfigurationFolderText.h"

#include <QDir>

namespace res {

QString Configuration_Folder_Missing_Text(const QString &folder)
{
    return QStringLiteral("Error! The folder of the configuration no longer exists:\n%1\n\n"
                          "Nothing was written. Use Step 1 to open or create a configuration.")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace res
