#include "common/UComon.h"

#include "platform/os/Files.h"
#include "platform/xml/XmlDocument.h"

#include <QDir>
#include <exception>

QString Conf_Name;
QString Conf_Path;
QString Base_Path;
QString Master_Path;
QString Projects_Path;
QString Language_Path;
QString Main_Caption;
QString SW_Code;
QString SW_Description;
QString Last_IP_Address;
int32_t Update_Option = 0;
bool Update_Read_Back = true;
QString Language_Name;
bool Enable_Internet = false;
bool Enable_Update = false;
bool Enable_Jump_Fields = false;
bool Enable_DblClick_AutoSize = false;
QString Last_EDE_Folder;

QString File_ParGen;
QString File_TLS_Known_Cert;
QString File_IEC61850_Variables;
QString File_ModbusM_SetAccess;
QString File_ModbusTCPM_SetAccess;
QString File_BACnet_Master_Access;
QString File_BACnet_Slave_SetAccess;
QString File_CAN_Rec_Frames;
QString File_CAN_Send_Frames;
QString File_PDO_CANopen;
QString File_SDO_Client_CANopen;
QString File_SDO_Server_CANopen;
QString File_DNETM_Net;
QString File_DNETM_DefOff;
QString File_J1939_Rec_Frames;
QString File_J1939_Send_Frames;
QString File_KNX_SetAccess;
QString File_MQTT_Set_Topic;
QString File_NMEA_Rec_Frames;
QString File_NMEA_Send_Frames;
QString File_SNMP_Manager;
QString File_SNMP_Trap;

QStringList Copy_Row_Buffer;
QList<bool> Copy_Row_Check_Flags;

QStringList MIB_Read_Objects;
QStringList MIB_Write_Objects;

namespace {

// Element names of Montavor.xml.
constexpr char Root_Element[] = "Conf_Settings";
constexpr char Group_Project[] = "lastproj";
constexpr char Value_Project[] = "projectname";
constexpr char Group_IP[] = "lastipadd";
constexpr char Value_IP[] = "ipaddress";
constexpr char Group_Language[] = "lastlang";
constexpr char Value_Language[] = "language";
constexpr char Group_Options[] = "lastinternet";
constexpr char Value_Internet[] = "enable_internet";
constexpr char Value_Update[] = "enable_update";
constexpr char Value_Jump[] = "enable_jump_field_tables";
constexpr char Value_AutoSize[] = "Double_Click_Auto_Size";

void applyDefaults()
{
    Conf_Name.clear();
    Conf_Path.clear();
    Last_IP_Address = QString::fromLatin1(Default_IP_Address);
    Language_Name = QString::fromLatin1(Default_Language_Name);
    Enable_Internet = false;
    Enable_Update = false;
    Enable_Jump_Fields = false;
    Enable_DblClick_AutoSize = false;
}

// One value on its own: anything that goes wrong gives the default and the next value is read.
QString
readValue(const plat::XmlNode &root, const char *group, const char *value, const QString &fallback)
{
    try {
        if (root.IsNull())
            return fallback;
        const plat::XmlNode g = root.ChildElement(QString::fromLatin1(group));
        if (g.IsNull())
            return fallback;
        const plat::XmlNode v = g.ChildElement(QString::fromLatin1(value));
        if (v.IsNull())
            return fallback;
        return v.Text();
    } catch (const std::exception &) {
        return fallback;
    }
}

bool readFlag(const plat::XmlNode &root, const char *value)
{
    return readValue(root, Group_Options, value, QString()) == QLatin1String("1");
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void appendValue(plat::XmlNode &group, const char *value, const QString &text)
{
    group.AppendElement(QString::fromLatin1(value)).SetText(text);
}

} // namespace

void Setup_Folders(const QString &basePath)
{
    QString base = QDir::toNativeSeparators(QDir::cleanPath(basePath));
    // No trailing separator, except for a bare root folder.
    while (base.size() > 1 && base.endsWith(QDir::separator()))
        base.chop(1);
    Base_Path = base;
    Master_Path = plat::JoinPath(Base_Path, QString::fromLatin1(Master_Folder_Name));
    Projects_Path = plat::JoinPath(Base_Path, QString::fromLatin1(Projects_Folder_Name));
    Language_Path = plat::JoinPath(Base_Path, QString::fromLatin1(Language_Folder_Name));
    for (const QString &dir : {Master_Path, Projects_Path, Language_Path})
        plat::CreateDir(dir); // failure ignored: later file operations report it
}

QString Setting_File()
{
    return plat::JoinPath(Base_Path, QString::fromLatin1(Setting_File_Name));
}

void Read_Setting()
{
    const QString path = Setting_File();
    if (!plat::FileExists(path)) {
        applyDefaults();
        return;
    }

    plat::XmlDocument doc;
    try {
        doc.LoadFile(path);
    } catch (const std::exception &) {
        // A file that cannot be read or parsed is treated as missing, so start-up goes on.
        applyDefaults();
        return;
    }

    const plat::XmlNode root = doc.DocumentElement();
    Conf_Name = readValue(root, Group_Project, Value_Project, QString());
    Last_IP_Address = readValue(root, Group_IP, Value_IP, QString::fromLatin1(Default_IP_Address));
    Language_Name =
        readValue(root, Group_Language, Value_Language, QString::fromLatin1(Default_Language_Name));
    Enable_Internet = readFlag(root, Value_Internet);
    Enable_Update = readFlag(root, Value_Update);
    Enable_Jump_Fields = readFlag(root, Value_Jump);
    Enable_DblClick_AutoSize = readFlag(root, Value_AutoSize);
}

void Save_Setting()
{
    plat::XmlDocument doc;
    plat::XmlNode root = doc.AppendElement(QString::fromLatin1(Root_Element));

    plat::XmlNode project = root.AppendElement(QString::fromLatin1(Group_Project));
    appendValue(project, Value_Project, Conf_Name);
    plat::XmlNode ip = root.AppendElement(QString::fromLatin1(Group_IP));
    appendValue(ip, Value_IP, Last_IP_Address);
    plat::XmlNode language = root.AppendElement(QString::fromLatin1(Group_Language));
    appendValue(language, Value_Language, Language_Name);
    plat::XmlNode options = root.AppendElement(QString::fromLatin1(Group_Options));
    appendValue(options, Value_Internet, flagText(Enable_Internet));
    appendValue(options, Value_Update, flagText(Enable_Update));
    appendValue(options, Value_Jump, flagText(Enable_Jump_Fields));
    appendValue(options, Value_AutoSize, flagText(Enable_DblClick_AutoSize));

    doc.Save(Setting_File());
}

bool Reopen_Last_Configuration()
{
    if (!Conf_Name.isEmpty()) {
        const QString folder = plat::JoinPath(Projects_Path, Conf_Name);
        if (plat::DirExists(folder)) {
            Conf_Path = folder;
            return true;
        }
    }
    Conf_Path.clear();
    return false;
}

void Set_Files()
{
    const auto in = [](const char *name) {
        return plat::JoinPath(Conf_Path, QString::fromLatin1(name));
    };
    File_ParGen = in("ParGen.xml");
    File_TLS_Known_Cert = in("TLS_Known_Cert.xml");
    File_IEC61850_Variables = in("IEC61850_Variables.xml");
    File_ModbusM_SetAccess = in("ModbusM_SetAccess.xml");
    File_ModbusTCPM_SetAccess = in("ModbusTCPM_SetAccess.xml");
    File_BACnet_Master_Access = in("BACnet_Master_Access.xml");
    File_BACnet_Slave_SetAccess = in("BACnet_Slave_SetAccess.xml");
    File_CAN_Rec_Frames = in("CAN_Rec_Frames.xml");
    File_CAN_Send_Frames = in("CAN_Send_Frames.xml");
    File_PDO_CANopen = in("PDO_CANopen.xml");
    File_SDO_Client_CANopen = in("SDO_Client_CANopen.xml");
    File_SDO_Server_CANopen = in("SDO_Server_CANopen.xml");
    File_DNETM_Net = in("DNETM_Net.xml");
    File_DNETM_DefOff = in("DNETM_DefOff.xml");
    File_J1939_Rec_Frames = in("J1939_Rec_Frames.xml");
    File_J1939_Send_Frames = in("J1939_Send_Frames.xml");
    File_KNX_SetAccess = in("KNX_SetAccess.xml");
    File_MQTT_Set_Topic = in("MQTT_Set_Topic.xml");
    File_NMEA_Rec_Frames = in("NMEA_Rec_Frames.xml");
    File_NMEA_Send_Frames = in("NMEA_Send_Frames.xml");
    File_SNMP_Manager = in("SNMP_Manager.xml");
    File_SNMP_Trap = in("SNMP_Trap.xml");
}
