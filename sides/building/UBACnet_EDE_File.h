// The BACnet EDE writer, run by the main window's EDE command once the user chose the file
// (".csv" appended and an overwrite confirmed there).
#pragma once

#include <QString>

// Writes the EDE file (CSV) of the open configuration. Not built yet: the call writes nothing.
void Build_EDE_File(const QString &FileName);
