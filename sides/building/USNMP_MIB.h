// The SNMP MIB writer, run by the main window's MIB command.
#pragma once

class TSaveDialog;

// Asks for the file with the given save dialog (the main window's SaveMIB, opened in the
// configuration folder) and, for an existing file, whether to overwrite it (text 1105). The MIB
// content is not built yet: after the questions nothing is written.
void Build_MIB_File(TSaveDialog *SaveMIB);
