// The PROFINET device description (GSDML) of the gateway as a device with one module of input and
// output octet strings: a fixed template with the two data lengths and the station name of the
// general parameter file filled in.
#pragma once

#include "sides/building/UBuildingVendor.h"

#include <QString>

// What the template takes from the general parameter file.
struct TProfinetPar
{
    int Profinet_Input_Len = 1438;                            // PROFINET_NB_OUT
    int Profinet_Output_Len = 1438;                           // PROFINET_NB_IN
    QString Profinet_Station_Name = QStringLiteral("SERIAL"); // PROFINET_NAME_STA
};

// The whole file text (without the byte-order mark), every line (the last included) ended by
// CR LF. The station name is escaped for the attributes it goes into.
QString gsdmlText(const TProfinetPar &par, const TVendorInfo &vendor = Building_Vendor());

// The values of the general parameter file at path, each on its own: a missing element, a
// length that is not a whole number from 0 to 65535 or a station name that is blank keeps the
// default, as does a file that is missing, unreadable or not well-formed.
TProfinetPar Read_Profinet_Par(const QString &path);

// Replaces FileName with the text of the configuration's general parameter file's values, in
// UTF-8 with a byte-order mark, atomically (a failure leaves the old file whole); throws
// std::runtime_error naming the file when it cannot be written.
void Write_GSDML_File(const QString &FileName);
