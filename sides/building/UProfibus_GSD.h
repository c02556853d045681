// The PROFIBUS GSD writer, run by the main window's GSD command: a modular DP slave with one
// input module per started 64 bytes of input data and one output module per started 64 bytes of
// output data, module k in slot k.
#pragma once

#include "sides/building/UBuildingVendor.h"

#include <QString>

class QWidget;

// The data lengths the file describes, in bytes.
struct TGsdLengths
{
    int GSD_Input_Len = 0;  // PROFINET_NB_OUT of the general parameter file
    int GSD_Output_Len = 0; // PROFINET_NB_IN
};

// The whole GSD file text, every line (the last included) ended by CR LF. Plain ASCII as long as
// vendor is.
QString gsdText(const TGsdLengths &lengths, const TVendorInfo &vendor = Building_Vendor());

// The lengths from the general parameter file at path: each element on its own, 0 when it is
// missing or not a whole number from 0 to 65535; both 0 when the file cannot be read or is not
// well-formed.
TGsdLengths Read_GSD_Lengths(const QString &path);

// Replaces FileName with gsdText(lengths) in 8-bit characters, atomically (a failure leaves the
// old file whole); throws std::runtime_error naming the file when it cannot be written.
void Write_GSD_File(const QString &FileName, const TGsdLengths &lengths);

// Refuses with text 1104 while the configuration has no general parameter file; otherwise reads
// the lengths, asks for the file (".gsd" appended unless the name ends with it in any letter
// case) and, for an existing file, whether to overwrite it (text 1103), then writes it. A file
// that cannot be written is reported in an error box. owner is the window the save
// dialog belongs to.
void Build_GSD_File(QWidget *owner);
