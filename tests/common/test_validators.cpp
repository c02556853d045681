#include "common/UComon_Validators.h"
#include "platform/os/Regional.h"
#include "platform/os/SerialPorts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Validators, SplitIpAddress)
{
    struct Case
    {
        const char *text;
        bool valid;
        const char *parts[4];
    };
    const Case cases[] = {
        {"192.168.2.205", true, {"192", "168", "2", "205"}},
        {"  192.168.2.205 \t", true, {"192", "168", "2", "205"}},
        {"192 . 168 . 2 . 205", true, {"192", "168", "2", "205"}},
        {"0.0.0.0", true, {"0", "0", "0", "0"}},
        {"192.168.2", false, {"192", "168", "?", "?"}},
        {"192", false, {"?", "?", "?", "?"}},
        {"", false, {"?", "?", "?", "?"}},
        {"1.2.3.4.5", false, {"1", "2", "3", "4.5"}},
        {"1.2.3.256", false, {"1", "2", "3", "256"}},
        {"1.2.3.-1", false, {"1", "2", "3", "-1"}},
        {"1.2.3.a", false, {"1", "2", "3", "a"}},
        {"1..3.4", false, {"1", "", "3", "4"}},
        {"0x1.2.3.4", false, {"0x1", "2", "3", "4"}},
    };
    for (const Case &c : cases) {
        QString p[4] = {"?", "?", "?", "?"};
        EXPECT_EQ(Split_IP_Address(c.text, p[0], p[1], p[2], p[3]), c.valid) << c.text;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(p[i], QString::fromLatin1(c.parts[i])) << c.text << " part " << i;
    }
}

TEST(Validators, StrToIpBytes)
{
    struct Case
    {
        const char *text;
        bool error;
        uint8_t bytes[4];
    };
    const Case cases[] = {
        {"10.0.0.1", false, {10, 0, 0, 1}},
        {"255.255.255.255", false, {255, 255, 255, 255}},
        {"10.0.1", true, {10, 0, 0, 1}}, // third part empty
        {"10.0.0.256", true, {10, 0, 0, 0}},
        {" 10.0.0.1", true, {0, 0, 0, 1}}, // parts are not trimmed
        {"1.2.3.4.5", true, {1, 2, 3, 0}},
        {"abc", true, {0, 0, 0, 0}},
        {"", true, {7, 7, 7, 7}}, // untouched
    };
    for (const Case &c : cases) {
        uint8_t b[4] = {7, 7, 7, 7};
        EXPECT_EQ(Str_To_IP_Bytes(c.text, b[0], b[1], b[2], b[3]), c.error) << c.text;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(b[i], c.bytes[i]) << c.text << " byte " << i;
    }
}

TEST(Validators, StrToIpPort)
{
    struct Case
    {
        const char *text;
        bool valid;
        uint8_t bytes[4];
        uint16_t port;
    };
    const Case cases[] = {
        {"192.168.1.10:502", true, {192, 168, 1, 10}, 502},
        {" 192 . 168 . 1 . 10 : 502 ", true, {192, 168, 1, 10}, 502},
        {"0.0.0.0:0", true, {0, 0, 0, 0}, 0},
        {"1.2.3.4:65535", true, {1, 2, 3, 4}, 65535},
        {"192.168.1.10", false, {}, 0},
        {"192.168.1.10:70000", false, {}, 0},
        {"192.168.1.10:", false, {}, 0},
        {"192.168.1:502", false, {}, 0},
        {"192.168.256.10:502", false, {}, 0},
        {"1.2.3.4.5:502", false, {}, 0},
        {"", false, {}, 0},
    };
    for (const Case &c : cases) {
        uint8_t b[4] = {7, 7, 7, 7};
        uint16_t port = 7;
        EXPECT_EQ(Str_To_IP_Port(c.text, b[0], b[1], b[2], b[3], port), c.valid) << c.text;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(b[i], c.bytes[i]) << c.text << " byte " << i;
        EXPECT_EQ(port, c.port) << c.text;
    }
}

TEST(Validators, CheckKnxAddress)
{
    struct Case
    {
        const char *text;
        bool group;
        bool allowAllZero;
        int32_t result;
    };
    const Case cases[] = {
        // individual addresses
        {"1.1.1", false, false, 0},
        {"15.15.255", false, false, 0},
        {" 1 . 2 . 3 ", false, false, 0},
        {"16.1.1", false, false, 1},
        {"1.16.1", false, false, 1},
        {"1.1.256", false, false, 1},
        {"1.1", false, false, 1},
        {"1.1.1.1", false, true, 1},
        {"0.0.0", false, false, 1},
        {"0.0.0", false, true, 0},
        {"4660", false, false, 0},
        {"0", false, true, 1},
        {"65536", false, false, 1},
        {"1/1", false, true, 1},
        {"", false, true, 1},
        // group addresses
        {"31/2047", true, true, 0},
        {"1/7/255", true, true, 0},
        {"0/1", true, true, 0},
        {"0/0", true, true, 1},
        {"0/0/0", true, true, 1},
        {"32/1", true, true, 1},
        {"1/2048", true, true, 1},
        {"1/8/1", true, true, 1},
        {"1/2/256", true, true, 1},
        {"1/2/3/4", true, true, 1},
        {"1.1/1", true, true, 1},
        {"1.1.1", true, true, 1},
        {"4660", true, true, 0},
        {"", true, true, 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Check_KNX_Address(c.text, c.group, c.allowAllZero), c.result)
            << c.text << (c.group ? " (group)" : " (individual)");
    }
    EXPECT_TRUE(Is_Group_Address("1/2/3"));
    EXPECT_TRUE(Is_Group_Address("4660"));
    EXPECT_FALSE(Is_Group_Address("1.1.1"));
}

TEST(Validators, CheckOid)
{
    struct Case
    {
        QString text;
        int32_t code;
    };
    const Case cases[] = {
        {"1.3.6.1.2.1.1.1.0", 0},
        {"1", 0},
        {"1.4294967295", 0},
        {"1.0004294967295", 0}, // leading zeros do not count
        {"1.4294967296", 6},
        {"99999999999999999999.1", 6},
        {".1.3.6", 3},
        {"1.3.6.", 4},
        {"1.3..6", 5},
        {"1.3.a.6", 2},
        {"1 .3", 2},
        {"", 3}, // empty: the first component is missing
        {".", 3},
        {QString(61, u'1'), 6},
        {QString(62, u'1'), 1},
        {QString(62, u'x'), 1}, // length first
        {"..", 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Check_OID(c.text), c.code) << c.text.toStdString();
}

TEST(Validators, CheckSnmpPassword)
{
    struct Case
    {
        const char *text;
        bool allowShort;
        int32_t code;
    };
    const Case cases[] = {
        {"abcdefgh", false, 0},
        {"Abc12345XYZ6789", false, 0}, // 15
        {"abc", false, 2},
        {"abc", true, 0},
        {"", true, 2},
        {"", false, 2},
        {"abcdefgh_", false, 3},
        {"abcd efgh", false, 3},
        {"abcdefghijklmnop", false, 1}, // 16
        {"abcdefghijklmno_", false, 1}, // length before characters
        {"ab_", false, 2},              // too short before characters
    };
    for (const Case &c : cases)
        EXPECT_EQ(Check_SNMP_Password(c.text, c.allowShort), c.code) << c.text;
}

TEST(Validators, GetSnmpSecurityLevel)
{
    struct Case
    {
        const char *text;
        int8_t level;
    };
    const Case cases[] = {
        {"AUTH NOPRIV", 1}, {"auth nopriv", 1}, {"  auth priv \t", 3}, {"AUTH PRIV", 3},
        {"", -1},           {"   ", -1},        {"NOAUTH NOPRIV", 0},  {"AUTH  PRIV", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Get_SNMP_Security_Level(c.text), c.level) << c.text;
}

class DecimalSeparator : public ::testing::Test
{
protected:
    void TearDown() override { plat::OverrideDecimalSeparator(std::nullopt); }
};

TEST_F(DecimalSeparator, FromRegionalSetting)
{
    struct Case
    {
        const char *setting;
        const char *separator;
    };
    const Case cases[] = {
        {".", "."}, {",", ","}, {"", ","}, {";", ","}, {".,", "."}, {" ", ","},
    };
    for (const Case &c : cases) {
        plat::OverrideDecimalSeparator(QString::fromLatin1(c.setting));
        EXPECT_EQ(Get_Decimal_Separator(), QString::fromLatin1(c.separator)) << c.setting;
    }
}

TEST_F(DecimalSeparator, StrToFloatSepAcceptsEitherSeparator)
{
    struct Case
    {
        const char *text;
        bool ok;
        float value;
    };
    const Case cases[] = {
        {"1,5", true, 1.5f}, {"1.5", true, 1.5f},    {"-2", true, -2.0f},    {"abc", false, 1.0f},
        {"", false, 1.0f},   {"1.2.3", false, 1.0f}, {"1e3", true, 1000.0f}, {"1e39", false, 1.0f},
    };
    // Unusual settings (empty, another character) must not make either form fail.
    for (const char *sep : {".", ",", "", "\xD9\xAB"}) {
        plat::OverrideDecimalSeparator(QString::fromUtf8(sep));
        const QString given = Get_Decimal_Separator();
        for (const Case &c : cases) {
            float v = -7.0f;
            EXPECT_EQ(Str_To_Float_Sep(c.text, given, v), c.ok) << sep << " " << c.text;
            EXPECT_FLOAT_EQ(v, c.value) << sep << " " << c.text;
        }
    }
}

TEST_F(DecimalSeparator, StrToFloatSepWithSeparatorUnlikeTheProgramsFails)
{
    // The text is turned into the given separator but converted with the program's.
    plat::OverrideDecimalSeparator(QStringLiteral("."));
    float v = 0;
    EXPECT_FALSE(Str_To_Float_Sep("2.5", ",", v));
    EXPECT_FLOAT_EQ(v, 1.0f);
    EXPECT_TRUE(Str_To_Float_Sep("25", ",", v));
    EXPECT_FLOAT_EQ(v, 25.0f);
}

TEST(Validators, ComPortsListsPresentDevicesInOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString saved = plat::SerialDeviceFolder();
    plat::SetSerialDeviceFolder(dir.path());
    for (int n : {3, 1, 200, 70}) {
        const QString dev = plat::SerialPortDevice(n);
        ASSERT_FALSE(dev.isEmpty());
        QFile f(dev);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << dev.toStdString();
    }
    EXPECT_EQ(Get_COM_Ports(), (QStringList{"1", "3", "70", "200"}));
    plat::SetSerialDeviceFolder(saved);
}

} // namespace
