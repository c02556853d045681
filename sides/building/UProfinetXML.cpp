#include "sides/building/UProfinetXML.h"

#include "common/UComon.h"
#include "platform/os/Files.h"
#include "platform/xml/XmlDocument.h"

#include <QStringList>

#include <stdexcept>

namespace {

constexpr int Max_Length = 65535;

const char *const Profile_Namespace = "http://www.profibus.com/GSDML/2003/11/DeviceProfile";

struct TTemplateLine
{
    const char *indent; // tabs and blanks, left to right: "3T 2B" is three tabs, two blanks
    const char *text;   // null: assembled from the values
};

// clang-format off
const TTemplateLine Template[] = {
    {"", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"},
    {"", "<!-- A fieldbus integration example. -->"},
    {"", nullptr}, // 3
    {"1T", "<ProfileHeader>"},
    {"2T", "<ProfileIdentification>PROFINET Device Profile</ProfileIdentification>"},
    {"2T", "<ProfileRevision>1.00</ProfileRevision>"},
    {"2T", "<ProfileName>Device Profile for PROFINET Devices</ProfileName>"},
    {"2T", "<ProfileSource>PROFIBUS Nutzerorganisation e. V. (PNO)</ProfileSource>"},
    {"2T", "<ProfileClassID>Device</ProfileClassID>"},
    {"2T", "<ISO15745Reference>"},
    {"3T", "<ISO15745Part>4</ISO15745Part>"},
    {"3T", "<ISO15745Edition>1</ISO15745Edition>"},
    {"3T", "<ProfileTechnology>GSDML</ProfileTechnology>"},
    {"2T", "</ISO15745Reference>"},
    {"1T", "</ProfileHeader>"},
    {"1T", "<ProfileBody>"},
    {"2T", nullptr}, // 17
    {"3T", "<InfoText TextId=\"IDT_INFO_Device\"/>"},
    {"3T", nullptr}, // 19
    {"2T", "</DeviceIdentity>"},
    {"2T", "<DeviceFunction>"},
    {"3T", "<Family MainFamily=\"Gateway\" ProductFamily=\"QX40600\"/>"},
    {"2T", "</DeviceFunction>"},
    {"2T", "<ApplicationProcess>"},
    {"3T", "<DeviceAccessPointList>"},
    {"3T 2B", nullptr}, // 26
    {"5T", "<ModuleInfo>"},
    {"6T", "<Name TextId=\"IDT_NAME_DAP1\"/>"},
    {"6T", "<InfoText TextId=\"IDT_INFO_DAP1\"/>"},
    {"6T", nullptr}, // 30
    {"6T", "<OrderNumber Value=\"QX40600\"/>"},
    {"5T", "</ModuleInfo>"},
    {"5T", "<SubslotList>"},
    {"6T", "<SubslotItem SubslotNumber=\"0\" TextId=\"IDT_SUBSLOT_1\"/>"},
    {"6T", "<SubslotItem SubslotNumber=\"32768\" TextId=\"IDT_SUBSLOT_Interface\"/>"},
    {"6T", "<SubslotItem SubslotNumber=\"32769\" TextId=\"IDT_SUBSLOT_Port1\"/>"},
    {"6T", "<SubslotItem SubslotNumber=\"32770\" TextId=\"IDT_SUBSLOT_Port2\"/>"},
    {"5T", "</SubslotList>"},
    {"5T", "<IOConfigData MaxInputLength=\"1440\" MaxOutputLength=\"1440\" MaxDataLength=\"2880\"/>"},
    {"5T", "<UseableModules>"},
    {"6T", "<ModuleItemRef ModuleItemTarget=\"IDM_1\" FixedInSlots=\"1\"/>"},
    {"5T", "</UseableModules>"},
    {"5T", "<VirtualSubmoduleList>"},
    {"6T", "<VirtualSubmoduleItem ID=\"IDS_V1\" SubmoduleIdentNumber=\"0x00000000\" >"},
    {"5T 4B", "<IOData IOPS_Length=\"1\" IOCS_Length=\"1\"/>"},
    {"7T", "<ModuleInfo>"},
    {"8T", "<Name TextId=\"IDT_NAME_VS1\"/>"},
    {"8T", "<InfoText TextId=\"IDT_INFO_VS1\"/>"},
    {"7T", "</ModuleInfo>"},
    {"6T", "</VirtualSubmoduleItem>"},
    {"5T", "</VirtualSubmoduleList>"},
    {"5T", "<SystemDefinedSubmoduleList>"},
    {"6T", "<InterfaceSubmoduleItem ID=\"IDS_I\" SubmoduleIdentNumber=\"0x00000001\" SubslotNumber=\"32768\" TextId=\"IDT_NAME_IS\" SupportedRT_Classes=\"RT_CLASS_1\" SupportedProtocols=\"SNMP;LLDP\" SupportedMibs=\"MIB2\">"},
    {"7T", "<ApplicationRelations>"},
    {"8T", "<TimingProperties SendClock=\"32\" ReductionRatio=\"1 2 4 8 16 32 64 128 256 512\"/>"},
    {"7T", "</ApplicationRelations>"},
    {"6T", "</InterfaceSubmoduleItem>"},
    {"6T", "<PortSubmoduleItem ID=\"IDS_P1\" SubmoduleIdentNumber=\"0x00000002\" SubslotNumber=\"32769\" TextId=\"IDT_NAME_PS1\" MaxPortRxDelay=\"350\" MaxPortTxDelay=\"160\"/>"},
    {"6T", "<PortSubmoduleItem ID=\"IDS_P2\" SubmoduleIdentNumber=\"0x00000002\" SubslotNumber=\"32770\" TextId=\"IDT_NAME_PS2\" MaxPortRxDelay=\"350\" MaxPortTxDelay=\"160\"/>"},
    {"5T", "</SystemDefinedSubmoduleList>"},
    {"5T", "<!-- This element tells the engineering tool that the DAP supports fieldbus integration (slot clusters). -->"},
    {"5T", "<!-- FieldbusIntegrationSlots MaxSupported=\"127\" Range=\"100..9999\"/-->"},
    {"4T", "</DeviceAccessPointItem>"},
    {"3T", "</DeviceAccessPointList>"},
    {"3T", "<ModuleList>"},
    {"4T", "<!-- The \"normal\" module carrying the FAP. -->"},
    {"4T", "<ModuleItem ID=\"IDM_1\" ModuleIdentNumber=\"0x00000001\">"},
    {"5T", "<ModuleInfo>"},
    {"6T", "<Name TextId=\"IDT_NAME_M1\"/>"},
    {"6T", "<InfoText TextId=\"IDT_INFO_M1\"/>"},
    {"6T", "<OrderNumber Value=\"12345-0040-M\"/>"},
    {"5T", "</ModuleInfo>"},
    {"5T", "<VirtualSubmoduleList>"},
    {"3T 2B 2T", "<VirtualSubmoduleItem ID=\"IDM_1\" SubmoduleIdentNumber=\"0x00000001\" >"},
    {"3T 2B 2T 2B", "<IOData IOPS_Length=\"1\" IOCS_Length=\"1\" >"},
    {"3B 3T 2B 2T 5B", nullptr}, // 76
    {"3T 2B 2T 5B", nullptr}, // 77
    {"3T 2B 2T 2B", "</IOData>"},
    {"3T 2B 1T 3B 1T 2B", "<RecordDataList>"},
    {"44B", "<ParameterRecordDataItem Index=\"128\" Length=\"2\" >"},
    {"6T", "<Name TextId=\"IDT_NAME_M1_IDT_REF_channel\"/>"},
    {"48B", "<Const ByteOffset=\"0\" Data=\"0x00,0x00\"/>"},
    {"48B", "<Ref TextId=\"IDT_REF_reaction_to_cpu_stop\" Visible=\"true\" DataType=\"BitArea\" ByteOffset=\"0\" BitOffset=\"0\" BitLength=\"2\" DefaultValue=\"2\" AllowedValues=\"0..2\" ValueItemTarget=\"IDV_reaction_to_cpu_stop\" ID=\"IDT_REF_reaction_to_cpu_stop\" />"},
    {"47B", "<MenuList>"},
    {"22B 3T 10B", "<MenuItem ID=\"IDT_NAME_M1_IDT_REF_channel\">"},
    {"7T", "<Name TextId=\"IDT_NAME_M1_IDT_REF_channel\"/>"},
    {"7T", "<MenuRef MenuTarget=\"IDT_NAME_M1_Base_Parameters\"/>"},
    {"6T 2B", "</MenuItem>"},
    {"6T 2B", "<MenuItem ID=\"IDT_NAME_M1_Base_Parameters\">"},
    {"7T", "<Name TextId=\"IDT_NAME_M1_Base_Parameters\"/>"},
    {"7T", "<ParameterRef ParameterTarget=\"IDT_REF_reaction_to_cpu_stop\"/>"},
    {"6T 2B", "</MenuItem>"},
    {"5T 7B", "</MenuList>"},
    {"43B", "</ParameterRecordDataItem>"},
    {"38B", "</RecordDataList>"},
    {"3T 2B 1T 4B", "<ModuleInfo>"},
    {"3T 2B 1T 2B 1T 2B", "<Name TextId=\"IDT_NAME_M1\"/>"},
    {"3T 2B 2T 4B", "<InfoText TextId=\"IDT_INFO_M1\"/>"},
    {"1T 3B 2T 2B 1T 2B", "</ModuleInfo>"},
    {"2T 5B 2T", "</VirtualSubmoduleItem>"},
    {"5T", "</VirtualSubmoduleList>"},
    {"4T", "</ModuleItem>"},
    {"3T", "</ModuleList>"},
    {"9B", "<ValueList>"},
    {"4T 1B", "<ValueItem ID=\"IDV_reaction_to_cpu_stop\">"},
    {"5T", "<Assignments>"},
    {"6T", "<Assign TextId=\"IDT_ASSIGN_do_set_substitude_values\" Content=\"0\"/>"},
    {"6T", "<Assign TextId=\"IDT_ASSIGN_do_values_will_hold\" Content=\"1\"/>"},
    {"6T", "<Assign TextId=\"IDT_ASSIGN_do_continue_counting\" Content=\"2\"/>"},
    {"5T", "</Assignments>"},
    {"3T 8B", "</ValueItem>"},
    {"9B", "</ValueList>"},
    {"3T", "<CategoryList>"},
    {"4T", "<CategoryItem ID=\"IDC_DI\" TextId=\"IDT_CATEGORY_DI\">"},
    {"5T", "<InfoText TextId=\"IDT_INFO_DI\"/>"},
    {"4T", "</CategoryItem>"},
    {"4T", "<CategoryItem ID=\"IDC_DO\" TextId=\"IDT_CATEGORY_DO\">"},
    {"5T", "<InfoText TextId=\"IDT_INFO_DO\"/>"},
    {"4T", "</CategoryItem>"},
    {"3T", "</CategoryList>"},
    {"3T", "<ExternalTextList>"},
    {"4T", "<PrimaryLanguage>"},
    {"5T", "<Text TextId=\"IDT_INFO_Device\" Value=\"Orvato Gateways\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_DAP1\" Value=\"IEC61850Device\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_DAP1\" Value=\"Profinet IEC61850 Adapter\"/>"},
    {"5T", "<Text TextId=\"IDT_SUBSLOT_1\" Value=\"Subslot 1\"/>"},
    {"5T", "<Text TextId=\"IDT_SUBSLOT_Interface\" Value=\"Interface\"/>"},
    {"5T", "<Text TextId=\"IDT_SUBSLOT_Port1\" Value=\"Port 1\"/>"},
    {"5T", "<Text TextId=\"IDT_SUBSLOT_Port2\" Value=\"Port 2\"/>"},
    {"5T", "<Text TextId=\"IDT_RECORD_NAME_Head\" Value=\"Parameters of head module\"/>"},
    {"5T", "<Text TextId=\"IDT_REF_Power\" Value=\"Percent power\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_VS1\" Value=\"Submodule V1\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_VS1\" Value=\"Description of submodule V1\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_IS\" Value=\"I\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_PS1\" Value=\"P1\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_PS2\" Value=\"P2\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_M1\" Value=\"Module\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_M1\" Value=\"device IEC61850\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_FAP\" Value=\"FAP for IEC61850\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_FAP\" Value=\"Description of FAP for IEC61850\"/>"},
    {"5T", "<Text TextId=\"IDT_RECORD_NAME_SlotCluster\" Value=\"Parameters of the FAP\"/>"},
    {"5T", "<Text TextId=\"IDT_REF_SlotClusterBegin\" Value=\"Beginning of slot cluster\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_M_PB1\" Value=\"IEC61850 Device \"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_M_PB1\" Value=\"Description of IEC61850\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_S_PB1\" Value=\"Module of a IEC61850\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_S_PB1\" Value=\"Description of module of a IEC61850\"/>"},
    {"5T", "<Text TextId=\"IDT_PB_Input\" Value=\"Digital input IEC61850SERVER\"/>"},
    {"5T", "<Text TextId=\"IDT_PB_InputBit0\" Value=\"Digital input bit IEC61850\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_S1\" Value=\"Submodule 1\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_S1\" Value=\"Description of submodule 1\"/>"},
    {"5T", "<Text TextId=\"IDT_Input_1\" Value=\"Input byte\"/>"},
    {"5T", "<Text TextId=\"IDT_Output_1\" Value=\"Output word\"/>"},
    {"5T", "<Text TextId=\"IDT_CATEGORY_DI\" Value=\"Digital Input\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_DI\" Value=\"Description of digital input\"/>"},
    {"5T", "<Text TextId=\"IDT_CATEGORY_DO\" Value=\"Digital output\"/>"},
    {"5T", "<Text TextId=\"IDT_INFO_DO\" Value=\"Description of digital output\"/>"},
    {"5T", "<Text TextId=\"IDT_NAME_M1_IDT_REF_channel\" Value=\"Canale x\"/>"},
    {"20B", "<Text TextId=\"IDT_REF_reaction_to_cpu_stop\" Value=\"Reaction to CPU STOP\"/>"},
    {"20B", "<Text TextId=\"IDT_NAME_M1_Base_Parameters\" Value=\"Base Parameters\"/>"},
    {"20B", "<Text Value=\"Output substitute value\" TextId=\"IDT_ASSIGN_do_set_substitude_values\"/>"},
    {"5T", "<Text Value=\"Keep last value\" TextId=\"IDT_ASSIGN_do_values_will_hold\"/>"},
    {"5T", "<Text Value=\"Continue operation\" TextId=\"IDT_ASSIGN_do_continue_counting\"/>"},
    {"4T", "</PrimaryLanguage>"},
    {"3T", "</ExternalTextList>"},
    {"2T", "</ApplicationProcess>"},
    {"1T", "</ProfileBody>"},
    {"", "</ISO15745Profile>"},
};
// clang-format on

QString expandIndent(const char *spec)
{
    QString out;
    for (const QString &token :
         QString::fromLatin1(spec).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out += QString(token.chopped(1).toInt(),
                       token.endsWith(QLatin1Char('T')) ? QLatin1Char('\t') : QLatin1Char(' '));
    return out;
}

QString escaped(const QString &value)
{
    return value.toHtmlEscaped();
}

QString attrs(std::initializer_list<std::pair<const char *, QString>> pairs)
{
    QString out;
    for (const auto &[name, value] : pairs)
        out += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), value);
    return out;
}

QString hex4(int value)
{
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

QString assembled(int line, const TProfinetPar &par, const TVendorInfo &vendor)
{
    const QString ns = QString::fromLatin1(Profile_Namespace);
    const QString station = escaped(par.Profinet_Station_Name);
    switch (line) {
    case 3:
        return QStringLiteral("<ISO15745Profile") +
               attrs({{"xmlns", ns},
                      {"xmlns:xsi", QStringLiteral("http://www.w3.org/2001/XMLSchema-instance")},
                      {"xsi:schemaLocation",
                       ns + QStringLiteral(" ..\\xsd\\GSDML-DeviceProfile-v2.31.xsd")}}) +
               QLatin1Char('>');
    case 17:
        return QStringLiteral("<DeviceIdentity") +
               attrs({{"VendorID", hex4(vendor.ProfinetVendorId)},
                      {"DeviceID", hex4(vendor.ProfinetDeviceId)}}) +
               QLatin1Char('>');
    case 19:
    case 30:
        return QStringLiteral("<VendorName") + attrs({{"Value", escaped(vendor.VendorName)}}) +
               QStringLiteral("/>");
    case 26:
        return QStringLiteral("<DeviceAccessPointItem") +
               attrs({{"PNIO_Version", QStringLiteral("V2.3")},
                      {"RequiredSchemaVersion", QStringLiteral("V2.25")},
                      {"ID", QStringLiteral("IDD_1")},
                      {"PhysicalSlots", QStringLiteral("0..4")},
                      {"ModuleIdentNumber", QStringLiteral("0x00000001")},
                      {"MinDeviceInterval", QStringLiteral("64")},
                      {"ImplementationType", station},
                      {"DNS_CompatibleName", station},
                      {"FixedInSlots", QStringLiteral("0")},
                      {"ObjectUUID_LocalIndex", QStringLiteral("1")},
                      {"MultipleWriteSupported", QStringLiteral("true")},
                      {"MaxSupportedRecordSize", QStringLiteral("8192")},
                      {"ParameterizationSpeedupSupported", QStringLiteral("true")},
                      {"PowerOnToCommReady", QStringLiteral("350")},
                      {"DeviceAccessSupported", QStringLiteral("true")},
                      {"SharedDeviceSupported", QStringLiteral("true")},
                      {"CheckDeviceID_Allowed", QStringLiteral("false")},
                      {"NameOfStationNotTransferable", QStringLiteral("true")}}) +
               QLatin1Char('>');
    case 76:
        return QStringLiteral("<Input> <DataItem") +
               attrs({{"DataType", QStringLiteral("OctetString")},
                      {"Length", QString::number(par.Profinet_Input_Len)},
                      {"TextId", QStringLiteral("IDT_Input_1")}}) +
               QStringLiteral("/> </Input>");
    case 77:
        return QStringLiteral("<Output><DataItem") +
               attrs({{"DataType", QStringLiteral("OctetString")},
                      {"Length", QString::number(par.Profinet_Output_Len)},
                      {"TextId", QStringLiteral("IDT_Output_1")}}) +
               QStringLiteral("/></Output>");
    }
    throw std::logic_error("template line without text");
}

void readLength(const plat::XmlNode &root, const char *name, int &value)
{
    bool ok = false;
    const int v = root.ChildElement(QString::fromLatin1(name)).Text().trimmed().toInt(&ok);
    if (ok && v >= 0 && v <= Max_Length)
        value = v;
}

} // namespace

QString gsdmlText(const TProfinetPar &par, const TVendorInfo &vendor)
{
    QString out;
    int line = 0;
    for (const TTemplateLine &t : Template) {
        ++line;
        out += expandIndent(t.indent);
        out += t.text ? QString::fromLatin1(t.text) : assembled(line, par, vendor);
        out += QStringLiteral("\r\n");
    }
    return out;
}

TProfinetPar Read_Profinet_Par(const QString &path)
{
    TProfinetPar par;
    if (!plat::FileExists(path))
        return par;
    plat::XmlDocument doc;
    try {
        doc.LoadFile(path);
    } catch (const plat::EXmlError &) {
        return par;
    }
    const plat::XmlNode root = doc.DocumentElement();
    readLength(root, "PROFINET_NB_OUT", par.Profinet_Input_Len);
    readLength(root, "PROFINET_NB_IN", par.Profinet_Output_Len);
    const QString station = root.ChildElement(QStringLiteral("PROFINET_NAME_STA")).Text();
    if (!station.trimmed().isEmpty())
        par.Profinet_Station_Name = station;
    return par;
}

void Write_GSDML_File(const QString &FileName)
{
    const QByteArray bytes =
        QByteArray("\xEF\xBB\xBF") + gsdmlText(Read_Profinet_Par(File_ParGen)).toUtf8();
    QString error;
    if (!plat::WriteFileAtomic(FileName, bytes, &error))
        throw std::runtime_error(error.toStdString());
}
