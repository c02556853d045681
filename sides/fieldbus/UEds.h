// The CANopen EDS writer, run by the main window's EDS command with the path the user chose.
#pragma once

#include <QString>

// Writes the EDS file of the open configuration to FileName, replacing an existing file.
// Not built yet: the call writes nothing.
void Write_EDS_File(const QString &FileName);
