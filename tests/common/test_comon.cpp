// Shared state: folders, the settings file Montavor.xml, the reopen rule and the table paths.
#include "common/SettingsTestUtil.h"
#include "common/UComon.h"
#include "platform/xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace settingstest;

// --- Reading ---------------------------------------------------------------------------------

struct ReadCase
{
    const char *fixture; // nullptr: no settings file at all
    Settings expected;
};

class ReadSettingTest : public ComonTest, public ::testing::WithParamInterface<ReadCase>
{
};

TEST_P(ReadSettingTest, ReadsEachValueOnItsOwn)
{
    const ReadCase &c = GetParam();
    if (c.fixture) {
        ASSERT_TRUE(QFile::copy(fixture(QString::fromLatin1(c.fixture)), settingsPath()));
    }
    Read_Setting();
    EXPECT_EQ(current(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Montavor,
    ReadSettingTest,
    ::testing::Values(
        ReadCase{nullptr, Defaults},
        ReadCase{"only_lastlang.xml", {"", "192.168.2.205", "Deutsch", false, false, false, false}},
        // only the exact text "1" switches an option on
        ReadCase{"flag_texts.xml",
                 {"Plant A", "192.168.2.205", "English", false, true, false, true}},
        // an element without text is an empty value, not a missing one
        ReadCase{"empty_values.xml", {"", "", "", false, false, false, false}},
        ReadCase{"prolog_before_root.xml",
                 {"Plant A", "10.0.0.7", "Italiano", true, true, false, true}},
        ReadCase{"broken_groups.xml",
                 {"", "192.168.2.205", QString::fromUtf8("Français"), false, true, false, true}},
        // a file that does not parse counts as missing, even for the values before the fault
        ReadCase{"not_well_formed.xml", Defaults}),
    [](const ::testing::TestParamInfo<ReadCase> &info) {
        if (!info.param.fixture)
            return std::string("no_file");
        std::string name = info.param.fixture;
        return name.substr(0, name.find('.'));
    });

TEST_F(ComonTest, SettingsThatCannotBeUsedClearTheOpenConfiguration)
{
    for (const QByteArray &content :
         {QByteArray(), QByteArray("not xml at all"), QByteArray("<!-- only a comment -->")}) {
        SCOPED_TRACE(content.constData());
        scribble();
        ASSERT_TRUE(writeFile(settingsPath(), content));
        Read_Setting();
        EXPECT_EQ(current(), Defaults);
        EXPECT_TRUE(Conf_Path.isEmpty());
    }
    // a folder of that name is no settings file
    QFile::remove(settingsPath());
    ASSERT_TRUE(QDir(base()).mkdir(QStringLiteral("Montavor.xml")));
    scribble();
    Read_Setting();
    EXPECT_EQ(current(), Defaults);
    EXPECT_TRUE(Conf_Path.isEmpty());
}

// --- Writing ---------------------------------------------------------------------------------

TEST_F(ComonTest, FlagThatReadOffIsSavedAsZero)
{
    ASSERT_TRUE(QFile::copy(fixture(QStringLiteral("flag_texts.xml")), settingsPath()));
    Read_Setting();
    Save_Setting();

    plat::XmlDocument doc;
    doc.LoadFile(settingsPath());
    const plat::XmlNode options = doc.DocumentElement().Child(QStringLiteral("lastinternet"));
    EXPECT_EQ(options.Child(QStringLiteral("enable_internet")).Text(), QStringLiteral("0"));
    EXPECT_EQ(options.Child(QStringLiteral("enable_update")).Text(), QStringLiteral("1"));
    EXPECT_EQ(options.Child(QStringLiteral("enable_jump_field_tables")).Text(),
              QStringLiteral("0"));
}

TEST_F(ComonTest, SaveReplacesTheFileWithExactlyTheTree)
{
    ASSERT_TRUE(QFile::copy(fixture(QStringLiteral("prolog_before_root.xml")), settingsPath()));
    QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);
    Read_Setting();
    Save_Setting();

    plat::XmlDocument doc;
    doc.LoadFile(settingsPath());
    QStringList tree;
    const std::function<void(const plat::XmlNode &, const QString &)> walk =
        [&](const plat::XmlNode &node, const QString &path) {
            for (const plat::XmlNode &child : node.Children()) {
                ASSERT_TRUE(child.IsElement() || child.Kind() == plat::XmlNodeKind::Text);
                if (!child.IsElement())
                    continue;
                EXPECT_TRUE(child.Attributes().empty());
                const QString p = path + QLatin1Char('/') + child.Name();
                if (child.ChildElements().empty())
                    tree << p + QLatin1Char('=') + child.Text();
                walk(child, p);
            }
        };
    walk(doc.Root(), QString());
    EXPECT_EQ(tree, (QStringList{
                        "/Conf_Settings/lastproj/projectname=Plant A",
                        "/Conf_Settings/lastipadd/ipaddress=10.0.0.7",
                        "/Conf_Settings/lastlang/language=Italiano",
                        "/Conf_Settings/lastinternet/enable_internet=1",
                        "/Conf_Settings/lastinternet/enable_update=1",
                        "/Conf_Settings/lastinternet/enable_jump_field_tables=0",
                        "/Conf_Settings/lastinternet/Double_Click_Auto_Size=1",
                    }));
}

TEST_F(ComonTest, SavedValuesReadBackUnchanged)
{
    const Settings cases[] = {
        {QString::fromUtf8("Anlage <Süd> & \"Nord\""), "", QString::fromUtf8("中文"), true, false,
         true, false},
        {" padded ", "10.1.2.3", "Deutsch", false, true, false, true},
        {"", "192.168.2.205", "English", true, true, true, true},
    };
    for (const Settings &s : cases) {
        SCOPED_TRACE(s.confName.toStdString());
        Conf_Name = s.confName;
        Last_IP_Address = s.ip;
        Language_Name = s.language;
        Enable_Internet = s.internet;
        Enable_Update = s.update;
        Enable_Jump_Fields = s.jump;
        Enable_DblClick_AutoSize = s.autoSize;
        Save_Setting();
        scribble();
        Read_Setting();
        EXPECT_EQ(current(), s);
    }
}

TEST_F(ComonTest, SaveFailureIsReported)
{
    Base_Path = dir.filePath(QStringLiteral("absent"));
    EXPECT_THROW(Save_Setting(), plat::EXmlError);
    EXPECT_FALSE(QFileInfo::exists(Base_Path));
}

// --- Folders, reopen rule, table paths -----------------------------------------------------

TEST_F(ComonTest, FolderSetupKeepsContentAndIgnoresFailures)
{
    QTemporaryDir fresh;
    ASSERT_TRUE(fresh.isValid());
    ASSERT_TRUE(QDir(fresh.path()).mkdir(QStringLiteral("MASTER")));
    ASSERT_TRUE(writeFile(fresh.filePath(QStringLiteral("MASTER/Sim40300.sim")), "fw"));
    // a file standing where a folder should be
    ASSERT_TRUE(writeFile(fresh.filePath(QStringLiteral("PROJECTS")), "x"));

    Setup_Folders(fresh.path());
    EXPECT_EQ(readAll(fresh.filePath(QStringLiteral("MASTER/Sim40300.sim"))), "fw");
    EXPECT_FALSE(QFileInfo(fresh.filePath(QStringLiteral("PROJECTS"))).isDir());
    EXPECT_TRUE(QFileInfo(fresh.filePath(QStringLiteral("LANGUAGE"))).isDir());

    // only one level is created: below a missing folder nothing appears
    const QString missing = fresh.filePath(QStringLiteral("gone"));
    Setup_Folders(missing);
    EXPECT_EQ(Projects_Path, missing + QDir::separator() + QStringLiteral("PROJECTS"));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(ComonTest, ReopenRule)
{
    ASSERT_TRUE(QDir(Projects_Path).mkdir(QStringLiteral("Plant A")));
    ASSERT_TRUE(writeFile(Projects_Path + QDir::separator() + QStringLiteral("AFile"), "x"));
    struct Case
    {
        const char *name;
        bool opens;
    };
    const Case cases[] = {{"Plant A", true}, {"Plant B", false}, {"AFile", false}, {"", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Conf_Name = QString::fromLatin1(c.name);
        Conf_Path = QStringLiteral("stale");
        EXPECT_EQ(Reopen_Last_Configuration(), c.opens);
        EXPECT_EQ(Conf_Path, c.opens ? Projects_Path + QDir::separator() + Conf_Name : QString());
        EXPECT_EQ(Conf_Name, QString::fromLatin1(c.name));
    }
}

TEST_F(ComonTest, SetFilesBuildsEveryTablePathInTheConfiguration)
{
    const std::pair<const QString *, const char *> files[] = {
        {&File_ParGen, "ParGen.xml"},
        {&File_TLS_Known_Cert, "TLS_Known_Cert.xml"},
        {&File_IEC61850_Variables, "IEC61850_Variables.xml"},
        {&File_ModbusM_SetAccess, "ModbusM_SetAccess.xml"},
        {&File_ModbusTCPM_SetAccess, "ModbusTCPM_SetAccess.xml"},
        {&File_BACnet_Master_Access, "BACnet_Master_Access.xml"},
        {&File_BACnet_Slave_SetAccess, "BACnet_Slave_SetAccess.xml"},
        {&File_CAN_Rec_Frames, "CAN_Rec_Frames.xml"},
        {&File_CAN_Send_Frames, "CAN_Send_Frames.xml"},
        {&File_PDO_CANopen, "PDO_CANopen.xml"},
        {&File_SDO_Client_CANopen, "SDO_Client_CANopen.xml"},
        {&File_SDO_Server_CANopen, "SDO_Server_CANopen.xml"},
        {&File_DNETM_Net, "DNETM_Net.xml"},
        {&File_DNETM_DefOff, "DNETM_DefOff.xml"},
        {&File_J1939_Rec_Frames, "J1939_Rec_Frames.xml"},
        {&File_J1939_Send_Frames, "J1939_Send_Frames.xml"},
        {&File_KNX_SetAccess, "KNX_SetAccess.xml"},
        {&File_MQTT_Set_Topic, "MQTT_Set_Topic.xml"},
        {&File_NMEA_Rec_Frames, "NMEA_Rec_Frames.xml"},
        {&File_NMEA_Send_Frames, "NMEA_Send_Frames.xml"},
        {&File_SNMP_Manager, "SNMP_Manager.xml"},
        {&File_SNMP_Trap, "SNMP_Trap.xml"},
    };
    // Each path follows Conf_Path when it changes.
    for (const QString &conf : {Projects_Path + QDir::separator() + QStringLiteral("One"),
                                Projects_Path + QDir::separator() + QStringLiteral("Two")}) {
        Conf_Path = conf;
        Set_Files();
        for (const auto &[path, name] : files)
            EXPECT_EQ(*path, conf + QDir::separator() + QString::fromLatin1(name));
    }
}

} // namespace
