// ParGen.xml: reading with defaults, older keys and bad values; the whole-form check; writing.
#include "gateway/UParGenFile.h"
#include "support/GatewayTestUtil.h"

#include "platform/xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pargen;
using gwtest::ParGenFixture;
using gwtest::ReadFile;

namespace {

TParGenValues readXml(const QString &xml)
{
    return readParGen(plat::XmlDocument::FromString(xml));
}

// A root with the given children, as a file would hold them.
TParGenValues readKeys(const QString &children)
{
    return readXml(QStringLiteral("<Par_Gen>") + children + QStringLiteral("</Par_Gen>"));
}

// Values that pass every rule, to be spoilt one at a time.
TParGenValues passing()
{
    TParGenValues v = defaultValues();
    v[NTP_Poll_Time] = QStringLiteral("0");
    return v;
}

} // namespace

TEST(ParGenFile, KeysAreTheFortyTwoInWritingOrder)
{
    ASSERT_EQ(ParGen_Keys.size(), 42u);
    EXPECT_STREQ(ParGen_Keys[0].name, "IEC61850_Server_IP1");
    EXPECT_STREQ(ParGen_Keys[Eth_Conn_DHCP_WiFi].name, "Eth_Conn_DHCP_WiFi");
    EXPECT_STREQ(ParGen_Keys[TLS_Server_Key].name, "TLS_Server_Key");
    EXPECT_STREQ(ParGen_Keys[41].name, "NTP_Poll_Time");
}

TEST(ParGenFile, NoFileGivesTheNewConfigurationValues)
{
    QTemporaryDir dir;
    const TParGenValues v = loadParGen(dir.filePath(QStringLiteral("ParGen.xml")));
    const QStringList expected = {"192", "168", "0",    "10",  "255", "255", "255",     "0", "192",
                                  "168", "0",   "1",    "0",   "102", "",    "Gateway", "",  "0",
                                  "0",   "0",   "8",    "8",   "8",   "8",   "8",       "8", "8",
                                  "8",   "0",   "",     "",    "",    "",    "0",       "0", "7",
                                  "0",   "0",   "1000", "100", "",    ""};
    ASSERT_EQ(expected.size(), ParGen_Key_Count);
    for (int i = 0; i < ParGen_Key_Count; ++i)
        EXPECT_EQ(v[i], expected[i]) << ParGen_Keys[i].name;
}

TEST(ParGenFile, MissingKeysTakeTheirDefaultsButTheSecondaryDnsDiffers)
{
    const TParGenValues v = readKeys(QString());
    TParGenValues expected = defaultValues();
    expected[Eth_Conn_Secondary_DNS3] = QStringLiteral("4");
    expected[Eth_Conn_Secondary_DNS4] = QStringLiteral("4");
    EXPECT_EQ(v, expected);
}

TEST(ParGenFile, OlderKeysFillTheAddressAndDns)
{
    const TParGenValues v = loadParGen(ParGenFixture("ParGen_old.xml"));
    const QStringList address = {"172", "16",  "5",  "7", "255", "255", "0",
                                 "0",   "172", "16", "0", "1",   "1"};
    for (int i = 0; i < address.size(); ++i)
        EXPECT_EQ(v[i], address[i]) << ParGen_Keys[i].name;
    EXPECT_EQ(v[Eth_Conn_Enable_DNS], "1");
    EXPECT_EQ(v[Eth_Conn_Primary_DNS1], "4");
    EXPECT_EQ(v[Eth_Conn_Primary_DNS4], "1");
    EXPECT_EQ(v[ModbusM_BAUDRATE], "4");
    EXPECT_EQ(v[NTP_Poll_Time], "30");

    // The next save carries them under the current keys only.
    plat::XmlDocument doc;
    buildParGen(doc, v);
    const QString xml = doc.ToString();
    EXPECT_FALSE(xml.contains(QStringLiteral("Ethernet_")));
    EXPECT_FALSE(xml.contains(QStringLiteral("IEC61850_Server_DNS")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<IEC61850_Server_IP1>172</IEC61850_Server_IP1>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<Eth_Conn_Primary_DNS2>3</Eth_Conn_Primary_DNS2>")));
}

TEST(ParGenFile, CurrentKeysWinOverOlderOnes)
{
    const TParGenValues v = readKeys(
        QStringLiteral("<Ethernet_IP1>1</Ethernet_IP1><IEC61850_Server_IP1>2</IEC61850_Server_IP1>"
                       "<IEC61850_Server_DNS1>1</IEC61850_Server_DNS1><Eth_Conn_Primary_DNS1>9</"
                       "Eth_Conn_Primary_DNS1>"
                       "<IEC61850_Server_EN_DNS>1</IEC61850_Server_EN_DNS><Eth_Conn_Enable_DNS>0</"
                       "Eth_Conn_Enable_DNS>"
                       "<IEC61850_Server_DNS2>5</IEC61850_Server_DNS2>"));
    EXPECT_EQ(v[IEC61850_Server_IP1], "2");
    EXPECT_EQ(v[Eth_Conn_Primary_DNS1], "9");
    EXPECT_EQ(v[Eth_Conn_Enable_DNS], "0");
    // Only the older key present: it stays.
    EXPECT_EQ(v[Eth_Conn_Primary_DNS2], "5");
    EXPECT_EQ(v[Eth_Conn_Primary_DNS3], "8");
}

struct TReadCase
{
    const char *name;
    const char *children;
    int key;
    const char *expected;
};

class ParGenRead : public ::testing::TestWithParam<TReadCase>
{
};

TEST_P(ParGenRead, ValueAsTheKeyKindTakesIt)
{
    const TReadCase &c = GetParam();
    EXPECT_EQ(readKeys(QString::fromUtf8(c.children))[c.key], QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds,
    ParGenRead,
    ::testing::Values(
        TReadCase{"IntegerFlagAcceptsLeadingZero", "<TLS_Server_Enable>01</TLS_Server_Enable>",
                  TLS_Server_Enable, "1"},
        TReadCase{"IntegerFlagOtherNumberClears", "<TLS_Server_Enable>2</TLS_Server_Enable>",
                  TLS_Server_Enable, "0"},
        TReadCase{"IntegerFlagNotANumber",
                  "<TLS_Server_Enable_Known_Cert>yes</TLS_Server_Enable_Known_Cert>",
                  TLS_Server_Enable_Known_Cert, "0"},
        TReadCase{"ExactFlagRejectsLeadingZero",
                  "<IEC61850_Server_EN_GAT>01</IEC61850_Server_EN_GAT>", IEC61850_Server_EN_GAT,
                  "0"},
        TReadCase{"ExactFlagOne", "<Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable>",
                  Eth_Conn_DHCP_Cable, "1"},
        TReadCase{"ExactFlagBlankOne", "<Eth_Conn_Enable_DNS> 1</Eth_Conn_Enable_DNS>",
                  Eth_Conn_Enable_DNS, "0"},
        TReadCase{"WiFiDhcpNeverRead", "<Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>",
                  Eth_Conn_DHCP_WiFi, "0"},
        TReadCase{"IndexNotANumber", "<ModbusM_BAUDRATE>abc</ModbusM_BAUDRATE>", ModbusM_BAUDRATE,
                  "7"},
        TReadCase{"IndexPastTheList", "<ModbusM_BAUDRATE>9</ModbusM_BAUDRATE>", ModbusM_BAUDRATE,
                  "7"},
        TReadCase{"IndexNegative", "<ModbusM_PARITY>-1</ModbusM_PARITY>", ModbusM_PARITY, "0"},
        TReadCase{"IndexLastItem", "<ModbusM_STOPBITS>1</ModbusM_STOPBITS>", ModbusM_STOPBITS, "1"},
        TReadCase{"NumberKeptAsTyped", "<IEC61850_Server_Port> 0102x</IEC61850_Server_Port>",
                  IEC61850_Server_Port, " 0102x"},
        TReadCase{"EmptyElementIsEmptyText", "<IEC61850_Server_Name_Of_Server/>",
                  IEC61850_Server_Name_Of_Server, ""},
        TReadCase{"ElementHoldingElementsFails",
                  "<IEC61850_Server_Port><x>1</x></IEC61850_Server_Port>", IEC61850_Server_Port,
                  "102"},
        TReadCase{"LongTextStaysWhole",
                  "<Eth_Conn_Device_Name>a-device-name-well-beyond-thirty-one-chars</"
                  "Eth_Conn_Device_Name>",
                  Eth_Conn_Device_Name, "a-device-name-well-beyond-thirty-one-chars"},
        TReadCase{"MultiLineKeepsLineFeeds", "<TLS_Server_Key>a\r\nb\nc</TLS_Server_Key>",
                  TLS_Server_Key, "a\nb\nc"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ParGenFile, RootIsTheDocumentElementEvenAfterAComment)
{
    const TParGenValues v = readXml(QStringLiteral(
        "<?xml version=\"1.0\"?><!-- note --><?pi x?><Par_Gen><NTP_Poll_Time>7</NTP_Poll_Time>"
        "</Par_Gen>"));
    EXPECT_EQ(v[NTP_Poll_Time], "7");
}

TEST(ParGenFile, UnparseableFileThrows)
{
    EXPECT_THROW(loadParGen(ParGenFixture("ParGen_broken.xml")), plat::EXmlError);
}

TEST(ParGenFile, SaveWritesRootElementsAndTrailingComment)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    TParGenValues v = defaultValues();
    v[NTP_Poll_Time] = QStringLiteral("60");
    saveParGen(path, v);
    EXPECT_EQ(ReadFile(path), ReadFile(ParGenFixture("ParGen_new_poll60.xml")));
}

TEST(ParGenFile, LoadSaveRoundTripChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    const TParGenValues v = loadParGen(ParGenFixture("ParGen_full.xml"));
    EXPECT_EQ(v[TLS_Server_Key].count(QLatin1Char('\n')), 3);
    EXPECT_EQ(v[IEC61850_Server_Password], QStringLiteral("p&ss <wörd>"));
    saveParGen(path, v);
    EXPECT_EQ(ReadFile(path), ReadFile(ParGenFixture("ParGen_full.xml")));
    EXPECT_EQ(loadParGen(path), v);
}

TEST(ParGenFile, SaveOntoAFolderFails)
{
    QTemporaryDir dir;
    // A folder stands where the file should go: the save fails and reports it.
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_THROW(saveParGen(path, defaultValues()), plat::EXmlError);
}

// ---------------------------------------------------------------------------------------------
// The whole-form check

struct TCheckCase
{
    const char *name;
    std::vector<std::pair<int, const char *>> changes;
    int expected; // text number of the failing rule, 0 when all pass
};

class ParGenCheck : public ::testing::TestWithParam<TCheckCase>
{
};

TEST_P(ParGenCheck, FirstFailingRuleNamesItsText)
{
    TParGenValues v = passing();
    for (const auto &[key, value] : GetParam().changes)
        v[key] = QString::fromUtf8(value);
    EXPECT_EQ(checkParGen(v), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules,
    ParGenCheck,
    ::testing::Values(
        TCheckCase{"AllDefaultsWithPollTime", {}, 0},
        TCheckCase{"NewConfigurationWithoutPollTime", {{NTP_Poll_Time, ""}}, 1921},
        TCheckCase{"PollTimeTop", {{NTP_Poll_Time, "10000000"}}, 0},
        TCheckCase{"PollTimeAbove", {{NTP_Poll_Time, "10000001"}}, 1921},
        TCheckCase{"PollTimeOverflow", {{NTP_Poll_Time, "99999999999"}}, 1921},
        TCheckCase{"DnsIgnoredWhileDisabled",
                   {{Eth_Conn_Primary_DNS1, "x"}, {Eth_Conn_Secondary_DNS4, "300"}},
                   0},
        TCheckCase{
            "PrimaryDns1", {{Eth_Conn_Enable_DNS, "1"}, {Eth_Conn_Primary_DNS1, "256"}}, 1951},
        TCheckCase{
            "PrimaryDns4", {{Eth_Conn_Enable_DNS, "1"}, {Eth_Conn_Primary_DNS4, "-1"}}, 1954},
        TCheckCase{
            "SecondaryDns1", {{Eth_Conn_Enable_DNS, "1"}, {Eth_Conn_Secondary_DNS1, ""}}, 1955},
        TCheckCase{
            "SecondaryDns3", {{Eth_Conn_Enable_DNS, "1"}, {Eth_Conn_Secondary_DNS3, "4a"}}, 1957},
        TCheckCase{"DnsBeforeAddress",
                   {{Eth_Conn_Enable_DNS, "1"},
                    {Eth_Conn_Secondary_DNS2, "999"},
                    {IEC61850_Server_IP1, "999"}},
                   1956},
        TCheckCase{"Ip1", {{IEC61850_Server_IP1, "300"}}, 607},
        TCheckCase{"Ip4Empty", {{IEC61850_Server_IP4, ""}}, 610},
        TCheckCase{"Ip3Blank", {{IEC61850_Server_IP3, " 1"}}, 609},
        TCheckCase{
            "IpBeforeMask", {{IEC61850_Server_IP2, "256"}, {IEC61850_Server_SM1, "256"}}, 608},
        TCheckCase{"Mask1", {{IEC61850_Server_SM1, "256"}}, 611},
        TCheckCase{"Mask4", {{IEC61850_Server_SM4, "-5"}}, 614},
        TCheckCase{"GatewayIgnoredWhileUnused", {{IEC61850_Server_GAT1, "abc"}}, 0},
        TCheckCase{"Gateway1", {{IEC61850_Server_EN_GAT, "1"}, {IEC61850_Server_GAT1, "abc"}}, 615},
        TCheckCase{"Gateway4", {{IEC61850_Server_EN_GAT, "1"}, {IEC61850_Server_GAT4, "256"}}, 618},
        TCheckCase{"MaskBeforeGateway",
                   {{IEC61850_Server_EN_GAT, "1"},
                    {IEC61850_Server_GAT1, "x"},
                    {IEC61850_Server_SM3, "x"}},
                   613},
        TCheckCase{"Port10000", {{IEC61850_Server_Port, "10000"}}, 437},
        TCheckCase{"Port0", {{IEC61850_Server_Port, "0"}}, 0},
        TCheckCase{"Port9999", {{IEC61850_Server_Port, "9999"}}, 0},
        TCheckCase{"Port10001", {{IEC61850_Server_Port, "10001"}}, 0},
        TCheckCase{"Port65535", {{IEC61850_Server_Port, "65535"}}, 0},
        TCheckCase{"Port65536", {{IEC61850_Server_Port, "65536"}}, 437},
        TCheckCase{"PortEmpty", {{IEC61850_Server_Port, ""}}, 437},
        TCheckCase{"GatewayBeforePort",
                   {{IEC61850_Server_EN_GAT, "1"},
                    {IEC61850_Server_GAT2, "-1"},
                    {IEC61850_Server_Port, ""}},
                   616},
        TCheckCase{"ServerNameBlank", {{IEC61850_Server_Name_Of_Server, "  \t "}}, 1961},
        TCheckCase{"ServerNameEmpty", {{IEC61850_Server_Name_Of_Server, ""}}, 1961},
        TCheckCase{"PortBeforeName",
                   {{IEC61850_Server_Port, "10000"}, {IEC61850_Server_Name_Of_Server, ""}},
                   437},
        TCheckCase{"TwoStopBitsOdd", {{ModbusM_STOPBITS, "1"}, {ModbusM_PARITY, "1"}}, 438},
        TCheckCase{"TwoStopBitsNone", {{ModbusM_STOPBITS, "1"}, {ModbusM_PARITY, "0"}}, 0},
        TCheckCase{
            "NameBeforeStopBits",
            {{IEC61850_Server_Name_Of_Server, ""}, {ModbusM_STOPBITS, "1"}, {ModbusM_PARITY, "2"}},
            1961},
        TCheckCase{"TimeOutTop", {{ModbusM_TIMEOUT, "100000"}}, 0},
        TCheckCase{"TimeOutAbove", {{ModbusM_TIMEOUT, "100001"}}, 439},
        TCheckCase{"TimeOutNegative", {{ModbusM_TIMEOUT, "-1"}}, 439},
        TCheckCase{"StopBitsBeforeTimeOut",
                   {{ModbusM_STOPBITS, "1"}, {ModbusM_PARITY, "2"}, {ModbusM_TIMEOUT, ""}},
                   438},
        TCheckCase{"CyclicTop", {{ModbusM_CYCLIC, "10000"}}, 0},
        TCheckCase{"CyclicAbove", {{ModbusM_CYCLIC, "10001"}}, 440},
        TCheckCase{"TimeOutBeforeCyclic", {{ModbusM_TIMEOUT, "x"}, {ModbusM_CYCLIC, "x"}}, 439},
        TCheckCase{"CyclicBeforePollTime", {{ModbusM_CYCLIC, ""}, {NTP_Poll_Time, ""}}, 440},
        TCheckCase{"UncheckedValuesAreFree",
                   {{IEC61850_Server_Password, "<&>"},
                    {Eth_Conn_Device_Name, "a b"},
                    {TLS_Server_Key, "x"},
                    {NTP_Server_URL, "???"}},
                   0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ParGenFile, CheckDeviceName)
{
    EXPECT_EQ(Check_Device_Name(QString()), 0);
    EXPECT_EQ(Check_Device_Name(QStringLiteral("Gw09az")), 0);
    EXPECT_EQ(Check_Device_Name(QStringLiteral("gw-1")), 1);
    EXPECT_EQ(Check_Device_Name(QStringLiteral("gw\u00e91")), 1);
}
