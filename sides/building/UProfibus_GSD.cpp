#include "sides/building/UProfibus_GSD.h"

#include "common/UComon.h"
#include "common/USaveDialog.h"
#include "common/UTitledForm.h"
#include "platform/os/Files.h"
#include "platform/ui/ErrorReport.h"
#include "platform/ui/MessageBox.h"
#include "platform/xml/XmlDocument.h"

#include <QStringList>

#include <stdexcept>

namespace {

constexpr int Module_Bytes = 64;
constexpr int Max_Length = 65535;
constexpr int Box_Width = 85;

const char *const Model = "QX40500";
const char *const Function = "IEC61850 Server / PROFIBUS Slave - Converter";

// At least two upper-case hexadecimal digits.
QString hex(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// A line of the header box: the text, blanks up to the last column, the closing star.
QString boxLine(const QString &text)
{
    return text.leftJustified(Box_Width - 1, QLatin1Char(' '), true) + QLatin1Char('*');
}

QString addressLine(const QString &text)
{
    return boxLine(QStringLiteral(";*") + QString(11, QLatin1Char(' ')) + text);
}

QString separator(int width, const QString &title = QString())
{
    if (title.isEmpty())
        return QLatin1Char(';') + QString(width - 1, QLatin1Char('='));
    const QString head = QStringLiteral(";==== ") + title + QLatin1Char(' ');
    return head + QString(width - head.size(), QLatin1Char('='));
}

void section(QStringList &out, int width, const QString &title)
{
    out << separator(width) << separator(width, title) << separator(width) << QString();
}

int modules(int bytes)
{
    return bytes > 0 ? (bytes + Module_Bytes - 1) / Module_Bytes : 0;
}

int moduleBytes(int bytes, int index, int count)
{
    return index < count ? Module_Bytes : bytes - Module_Bytes * (count - 1);
}

int readLength(const plat::XmlNode &root, const char *name)
{
    bool ok = false;
    const int value = root.ChildElement(QString::fromLatin1(name)).Text().trimmed().toInt(&ok);
    // A length beyond any data image would ask for millions of modules.
    return ok && value >= 0 && value <= Max_Length ? value : 0;
}

} // namespace

QString gsdText(const TGsdLengths &lengths, const TVendorInfo &vendor)
{
    const int a = lengths.GSD_Input_Len;
    const int b = lengths.GSD_Output_Len;
    const int nI = modules(a);
    const int nO = modules(b);
    const int m = nI + nO;
    const QString blankBox = boxLine(QStringLiteral(";*"));
    const QString ruleBox =
        boxLine(QStringLiteral(";* ") + QString(80, QLatin1Char('=')) + QLatin1Char(' '));
    const QString model = QString::fromLatin1(Model);
    const QString function = QString::fromLatin1(Function);

    QStringList out;
    out << QStringLiteral(";")
        << QStringLiteral(";****************** ") + function + QLatin1Char(' ') +
               QString(20, QLatin1Char('*'))
        << ruleBox << blankBox << boxLine(QStringLiteral(";* Vendor:   ") + vendor.Company)
        << addressLine(vendor.Street) << addressLine(vendor.Town) << addressLine(vendor.Province)
        << addressLine(QStringLiteral("Tel. : ") + vendor.Phone)
        << addressLine(QStringLiteral("FAX. : ") + vendor.Fax)
        << addressLine(QStringLiteral("eMail: ") + vendor.Email) << blankBox << ruleBox << blankBox
        << boxLine(QStringLiteral(";* Function:       ") + function) << blankBox << blankBox
        << boxLine(QStringLiteral(";* Order Number : ") + model) << blankBox << blankBox
        << QLatin1Char(';') + QString(Box_Width - 1, QLatin1Char('*')) << QString() << QString()
        << QStringLiteral("#Profibus_DP") << QString() << QString();

    section(out, 85, QStringLiteral("Prm-Text-Def-List"));
    out << QStringLiteral("PrmText=1") << QStringLiteral("Text(0)=\"disable\"")
        << QStringLiteral("Text(1)=\"enable\"") << QStringLiteral("EndPrmText") << QString()
        << QStringLiteral("PrmText  = 2") << QStringLiteral("Text(0)  = \"clock up\"")
        << QStringLiteral("Text(1)  = \"clock down\"") << QStringLiteral("EndPrmText") << QString()
        << QStringLiteral("PrmText  = 3");
    for (int i = 1; i <= 5; ++i)
        out << QStringLiteral("Text(%1)  = \"%2\"").arg(i).arg(i * 10);
    out << QStringLiteral("EndPrmText") << QString() << QString();

    section(out, 86, QStringLiteral("Ext-User-Prm-Data-Def-List"));
    struct TPrm
    {
        const char *name;
        const char *type;
        const char *ref; // Prm_Text_Ref, none when empty
    };
    const TPrm prms[] = {
        {"[SlotNumber]", "Unsigned8 0 0-32", ""},
        {"Diagnostic Alarm", "Bit(0) 0 0-1", "1"},
        {"Process Alarm", "Bit(1) 0 0-1", "1"},
        {"Counter mode", "Unsigned8 0 0-1", "2"},
        {"Counter timebase (ms)", "Unsigned8 1 1-5", "3"},
        {"Counter high-limit", "Unsigned16 65535 0-65535", ""},
        {"Counter low-limit", "Unsigned16 0 0-65535", ""},
    };
    int n = 0;
    for (const TPrm &p : prms) {
        out << QStringLiteral("ExtUserPrmData=%1 \"%2\"").arg(++n).arg(QLatin1String(p.name))
            << QString::fromLatin1(p.type);
        if (*p.ref)
            out << QStringLiteral("Prm_Text_Ref=") + QLatin1String(p.ref);
        out << QStringLiteral("EndExtUserPrmData") << QString();
    }
    out << QString();

    section(out, 86, QStringLiteral("General DP Keywords"));
    out << QStringLiteral("GSD_Revision = 5")
        << QStringLiteral("Vendor_Name = \"") + vendor.VendorName + QLatin1Char('"')
        << QStringLiteral("Model_Name = \"") + model + QLatin1Char('"')
        << QStringLiteral("Revision = \"1.00\"")
        << QStringLiteral("Ident_Number = 0x") +
               QStringLiteral("%1").arg(vendor.ProfibusIdent, 4, 16, QLatin1Char('0')).toUpper()
        << QStringLiteral("Protocol_Ident = 0") << QStringLiteral("Station_Type = 0")
        << QStringLiteral("FMS_supp = 0") << QStringLiteral("Hardware_Release = \"V1.00\"")
        << QStringLiteral("Software_Release = \"V1.00\"") << QStringLiteral("Redundancy = 0")
        << QStringLiteral("Repeater_Ctrl_Sig = 2") << QStringLiteral("24V_Pins = 0") << QString()
        << QString();

    section(out, 79, QStringLiteral("Supported baudrates"));
    const char *const rates[] = {"9.6", "19.2", "45.45", "93.75", "187.5",
                                 "500", "1.5M", "3M",    "6M",    "12M"};
    const int tsdr[] = {15, 15, 15, 15, 15, 15, 20, 35, 50, 95};
    for (const char *rate : rates)
        out << QLatin1String(rate) + QStringLiteral("_supp = 1");
    out << QString();
    for (int i = 0; i < 10; ++i)
        out << QStringLiteral("MaxTsdr_%1=%2").arg(QLatin1String(rates[i])).arg(tsdr[i]);
    out << QString() << QString();

    section(out, 79, QStringLiteral("Slave specific values"));
    out << QStringLiteral("OrderNumber=\"") + model + QLatin1Char('"')
        << QStringLiteral("Slave_Family = 9@") + vendor.VendorName + QLatin1Char('@') + model
        << QStringLiteral("Implementation_Type = \"VPC3+\"")
        << QStringLiteral("Info_Text=\"") + vendor.VendorName + QStringLiteral(": ") + function +
               QLatin1Char('"')
        << QStringLiteral("Bitmap_Device = \"DPV0_1N\"") << QStringLiteral("Bitmap_SF=\"DPV0_1S\"")
        << QString() << QStringLiteral("Freeze_Mode_supp=1") << QStringLiteral("Sync_Mode_supp=1")
        << QStringLiteral("Fail_Safe=1") << QStringLiteral("Auto_Baud_supp=1")
        << QStringLiteral("Set_Slave_Add_supp=0") << QString()
        << QStringLiteral("Min_Slave_Intervall=6") << QString()
        << QStringLiteral("Modular_Station=1") << QStringLiteral("Max_Module=%1").arg(m)
        << QStringLiteral("Modul_Offset=1") << QStringLiteral("Max_Input_Len=%1").arg(a)
        << QStringLiteral("Max_Output_Len=%1").arg(b)
        << QStringLiteral("Max_Data_Len=%1").arg(a + b) << QStringLiteral("Max_Diag_Data_Len=15")
        << QString() << QStringLiteral("WD_Base_1ms_supp = 1")
        << QStringLiteral("Publisher_supp = 1") << QString();

    section(out, 79, QStringLiteral("User-Prm-Data"));
    out << QStringLiteral("Max_User_Prm_Data_Len = 12")
        << QStringLiteral("Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00") << QString();

    section(out, 79, QStringLiteral("Modulstatus"));
    for (int slot = 1; slot <= 2; ++slot) {
        out << QStringLiteral("Unit_Diag_Area = %1 - %2").arg(22 + 2 * slot).arg(23 + 2 * slot)
            << QStringLiteral("Value(1)= \"Slot %1: Module error\"").arg(slot)
            << QStringLiteral("Value(2)= \"Slot %1: Wrong module\"").arg(slot)
            << QStringLiteral("Value(3)= \"Slot %1: No module\"").arg(slot)
            << QStringLiteral("Unit_Diag_Area_End");
    }
    out << QString() << QString();

    section(out, 79, QStringLiteral("Module-Definition-List"));
    for (int k = 1; k <= m; ++k) {
        const bool input = k <= nI;
        const int bytes = input ? moduleBytes(a, k, nI) : moduleBytes(b, k - nI, nO);
        out << QStringLiteral("Module=\"%1  (PORT%2)    \" %3,0x%4,0x00,0x%5")
                   .arg(input ? QStringLiteral("DI") : QStringLiteral("DO"))
                   .arg(k)
                   .arg(input ? QStringLiteral("0x42") : QStringLiteral("0x82"))
                   .arg(hex(bytes - 1), hex(k))
            << QString::number(k) << QStringLiteral("EndModule");
    }
    out << QString() << QString() << QString() << QStringLiteral("SlotDefinition");
    for (int f = 1; f <= m; ++f)
        out << QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(f);
    out << QStringLiteral("EndSlotDefinition") << QString() << QString() << QString() << QString();

    return out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

TGsdLengths Read_GSD_Lengths(const QString &path)
{
    plat::XmlDocument doc;
    try {
        doc.LoadFile(path);
    } catch (const plat::EXmlError &) {
        return {}; // an unreadable file gives no lengths, like missing elements
    }
    const plat::XmlNode root = doc.DocumentElement();
    TGsdLengths lengths;
    lengths.GSD_Input_Len = readLength(root, "PROFINET_NB_OUT");
    lengths.GSD_Output_Len = readLength(root, "PROFINET_NB_IN");
    return lengths;
}

void Write_GSD_File(const QString &FileName, const TGsdLengths &lengths)
{
    // The text is ASCII (fixed keywords, numbers and the vendor constants), the same bytes in
    // every 8-bit code page.
    QString error;
    if (!plat::WriteFileAtomic(FileName, gsdText(lengths).toLatin1(), &error))
        throw std::runtime_error(error.toStdString());
}

void Build_GSD_File(QWidget *owner)
{
    if (!plat::FileExists(File_ParGen)) {
        plat::MessageBox(Lang_Text(1104), plat::MsgIcon::Error, plat::MsgButtons::OK);
        return;
    }
    try {
        const TGsdLengths lengths = Read_GSD_Lengths(File_ParGen);
        TSaveDialog dialog(owner);
        dialog.Filter = QStringLiteral("Generic Station Description (*.gsd)|*.gsd");
        dialog.InitialDir = Conf_Path;
        if (!dialog.Execute())
            return;
        QString name = dialog.FileName;
        if (!name.endsWith(QLatin1String(".gsd"), Qt::CaseInsensitive))
            name += QStringLiteral(".gsd");
        if (plat::FileExists(name) && plat::MessageBox(Lang_Text(1103), plat::MsgIcon::Question,
                                                       plat::MsgButtons::YesNo) != mrYes)
            return;
        Write_GSD_File(name, lengths);
    } catch (const std::exception &e) {
        plat::ReportException(e);
    }
}
