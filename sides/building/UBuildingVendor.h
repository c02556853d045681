// The maker's own values that the building-side description files carry. They are neutral
// placeholders: a fictitious company, example.invalid addresses and fictional numbers.
#pragma once

#include <QString>

struct TVendorInfo
{
    QString Company;  // company name of the file headers
    QString Street;   // postal address
    QString Town;     // postcode and town
    QString Province; // province and, in parentheses, the country
    QString Phone;
    QString Fax;
    QString Email;            // support address
    QString VendorName;       // the name in the keyword lines
    int ProfibusIdent = 0;    // registered PROFIBUS ident number of the device
    int ProfinetVendorId = 0; // registered PROFINET vendor ID of the device family
    int ProfinetDeviceId = 0; // PROFINET device ID of the product
};

inline TVendorInfo Building_Vendor()
{
    return TVendorInfo{QStringLiteral("Example Devices Ltd."),
                       QStringLiteral("1 Example Street"),
                       QStringLiteral("00000 Example Town"),
                       QStringLiteral("Example Province (Nowhere)"),
                       QStringLiteral("+00 555 0100"),
                       QStringLiteral("+00 555 0199"),
                       QStringLiteral("support@example.invalid"),
                       QStringLiteral("Example Devices"),
                       0x0ABC,
                       0x0FFF,
                       0x0001};
}
