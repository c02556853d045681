#include "gateway/UCompile_Bin.h"

#include "common/UComon.h"
#include "platform/os/Regional.h"
#include "support/GatewayTestUtil.h"

#include <gtest/gtest.h>

#include <memory>

using namespace gwtest;

namespace {

constexpr uint32_t A = 0x80000 + 33792; // device address of the IEC 61850 section
constexpr int S = 33792;                // its position in bank2.bin

std::unique_ptr<TImage_Compiler> CompileFolder(const TTempConf &conf)
{
    auto c = std::make_unique<TImage_Compiler>();
    c->Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
    return c;
}

// Expected parameter block, filled field by field.
class TBlock
{
public:
    TBlock() : m_b(2048, '\0') {}
    TBlock &U8(int off, uint8_t v)
    {
        m_b[off] = char(v);
        return *this;
    }
    TBlock &U16(int off, uint16_t v) { return U8(off, uint8_t(v)).U8(off + 1, uint8_t(v >> 8)); }
    TBlock &U32(int off, uint32_t v)
    {
        return U16(off, uint16_t(v)).U16(off + 2, uint16_t(v >> 16));
    }
    TBlock &Octets(int off, uint8_t a, uint8_t b, uint8_t c, uint8_t d)
    {
        return U8(off, a).U8(off + 1, b).U8(off + 2, c).U8(off + 3, d);
    }
    TBlock &Text(int off, const char *s)
    {
        for (int i = 0; s[i]; ++i)
            U8(off + i, uint8_t(s[i]));
        return *this;
    }
    QByteArray Finish()
    {
        uint32_t sum = 0;
        for (int i = 0; i < 0x7FC; ++i)
            sum += uint8_t(m_b[i]);
        U32(0x7FC, sum);
        return m_b;
    }

private:
    QByteArray m_b;
};

// The block as every compile begins it.
TBlock InitBlock()
{
    TBlock b;
    b.U32(0x000, 250000).U32(0x004, 250000).U32(0x00C, 9600);
    b.Octets(0x028, 192, 168, 2, 205).Octets(0x02C, 255, 255, 255, 0);
    b.Octets(0x030, 255, 255, 255, 255);
    b.U16(0x034, 10000).U16(0x036, 10001).U16(0x038, 10001);
    for (int off = 0x1B4; off <= 0x1BB; ++off)
        b.U8(off, 8);
    b.U32(0x0C4, 0x80400).U32(0x5E8, A);
    return b;
}

// Section of a configuration without TLS data, variables or passwords.
QByteArray EmptySection(uint32_t lengthField)
{
    const uint32_t z = A + 54;
    TLe s;
    s.U16(102).U32(0).U32(z).U32(lengthField).U32(0).U32(z).U32(lengthField).U32(z);
    s.U32(lengthField).U32(0).U32(A + 54).U32(0).U32(0).U32(A + 54).U8(0);
    return s.Bytes();
}

uint32_t ByteSum(const QByteArray &b, int n)
{
    uint32_t sum = 0;
    for (int i = 0; i < n; ++i)
        sum += uint8_t(b[i]);
    return sum;
}

TAttrs ReadRowAttrs(const QString &slave = "1")
{
    return {{"Enable", "Y"},     {"Slave_ID", slave}, {"Type", "Holding Register"},
            {"Address", "100"},  {"NPoint", "10"},    {"PollTime", "1000"},
            {"MaxError", "3"},   {"Position", "0"},   {"Bit", ""},
            {"Swap", "N"},       {"SwapWord", "Y"},   {"Index_Topic", "-1"},
            {"Mnemonic", "temp"}};
}

TAttrs WriteRowAttrs(const QString &slave = "247")
{
    return {{"Enable", "Y"},      {"Slave_ID", slave}, {"Type", "Coil Status"},
            {"Address", "65535"}, {"NPoint", "8"},     {"PollTime", "0"},
            {"OnChange", "Y"},    {"OnCMD", "y"},      {"MaxError", "100000000"},
            {"Position", "1437"}, {"Bit", "3"},        {"Swap", "Y"},
            {"SwapWord", "N"},    {"Mnemonic", "out"}};
}

TAttrs With(TAttrs attrs, const QString &name, const QString &value)
{
    for (auto &[n, v] : attrs)
        if (n == name) {
            v = value;
            return attrs;
        }
    attrs.emplace_back(name, value);
    return attrs;
}

TAttrs Without(TAttrs attrs, const QString &name)
{
    std::erase_if(attrs, [&](const auto &a) { return a.first == name; });
    return attrs;
}

QByteArray Record(const QByteArray &image2, int index)
{
    return image2.mid(1024 + 32 * index, 32);
}

} // namespace

// --- parameter block ---------------------------------------------------------------------

TEST(CompilerParGen, WithoutParGenTheBlockKeepsTheStartValues)
{
    TTempConf conf;
    const auto c = CompileFolder(conf);
    EXPECT_TRUE(BytesEqual(c->Image1(), InitBlock().Finish()));

    // No file: the header's lengths are "0 - 1" and the texts point at the zero byte.
    TLe expected;
    expected.Zeros(1024 + 32768).Raw(EmptySection(0xFFFFFFFF));
    EXPECT_TRUE(BytesEqual(c->Image2(), expected.Bytes()));
}

TEST(CompilerParGen, RootWithoutChildrenGivesEveryDefault)
{
    TTempConf conf;
    QFile::copy(FixturePath("ParGen_no_child.xml"), conf.File("ParGen.xml"));
    const auto c = CompileFolder(conf);

    TBlock b = InitBlock();
    b.Octets(0x028, 192, 168, 0, 10); // mask stays 255.255.255.0, gateway 255.255.255.255
    b.U32(0x020, 1000).U32(0x024, 100).U32(0x040, 1000);
    b.U32(0x19C, 115200).U32(0x1A0, 115200);
    b.Text(0x574, "Gateway").Text(0x66C, "1.005");
    EXPECT_TRUE(BytesEqual(c->Image1(), b.Finish()));

    TLe expected;
    expected.Zeros(1024 + 32768).Raw(EmptySection(0));
    EXPECT_TRUE(BytesEqual(c->Image2(), expected.Bytes()));
}

TEST(CompilerParGen, KeysGoToTheirFields)
{
    const QString twenty = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    const QString forty = QString(40, QLatin1Char('d'));
    struct Case
    {
        const char *name;
        TAttrs keys;
        int off;
        const char *hex;
    };
    const Case cases[] = {
        {"current address keys",
         {{"IEC61850_Server_IP1", "1"},
          {"IEC61850_Server_IP2", "2"},
          {"IEC61850_Server_IP3", "3"},
          {"IEC61850_Server_IP4", "4"},
          {"Ethernet_IP1", "9"}},
         0x028,
         "01020304"},
        {"older address keys",
         {{"Ethernet_IP1", "10"},
          {"Ethernet_IP2", "1"},
          {"Ethernet_IP3", "2"},
          {"Ethernet_IP4", "3"}},
         0x028,
         "0a010203"},
        {"octet keeps its low 8 bits", {{"IEC61850_Server_IP1", "300"}}, 0x028, "2ca8000a"},
        {"negative octet", {{"IEC61850_Server_IP4", "-1"}}, 0x028, "c0a800ff"},
        {"octet not a number", {{"IEC61850_Server_IP1", "1x"}}, 0x028, "c0a8000a"},
        {"older mask keys", {{"Ethernet_SM3", "0"}}, 0x02C, "ffff0000"},
        {"gateway in use",
         {{"IEC61850_Server_EN_GAT", "1"},
          {"IEC61850_Server_GAT1", "10"},
          {"IEC61850_Server_GAT2", "0"},
          {"IEC61850_Server_GAT3", "0"},
          {"IEC61850_Server_GAT4", "1"}},
         0x030,
         "0a000001"},
        {"gateway in use, default address", {{"IEC61850_Server_EN_GAT", "1"}}, 0x030, "c0a80001"},
        {"gateway flag 0",
         {{"IEC61850_Server_EN_GAT", "0"}, {"IEC61850_Server_GAT1", "10"}},
         0x030,
         "ffffffff"},
        {"gateway flag true", {{"IEC61850_Server_EN_GAT", "true"}}, 0x030, "ffffffff"},
        {"gateway flag 01", {{"IEC61850_Server_EN_GAT", "01"}}, 0x030, "ffffffff"},
        {"older gateway keys",
         {{"Ethernet_EN_GAT", "1"}, {"Ethernet_GAT4", "254"}},
         0x030,
         "c0a800fe"},
        {"baud code 0", {{"ModbusM_BAUDRATE", "0"}}, 0x19C, "b0040000b0040000"},
        {"baud code 3", {{"ModbusM_BAUDRATE", "3"}}, 0x19C, "8025000080250000"},
        {"baud code 6", {{"ModbusM_BAUDRATE", "6"}}, 0x19C, "00e1000000e10000"},
        {"baud code 9", {{"ModbusM_BAUDRATE", "9"}}, 0x19C, "8025000080250000"},
        {"baud not a number", {{"ModbusM_BAUDRATE", "abc"}}, 0x19C, "00c2010000c20100"},
        {"parity even", {{"ModbusM_PARITY", "2"}}, 0x1AB, "0202"},
        {"one stop bit", {{"ModbusM_STOPBITS", "0"}}, 0x1B1, "0000"},
        {"two stop bits", {{"ModbusM_STOPBITS", "1"}}, 0x1B1, "0202"},
        {"stop bits not a number", {{"ModbusM_STOPBITS", "two"}}, 0x1B1, "0000"},
        {"time-out and delay",
         {{"ModbusM_TIMEOUT", "5000"}, {"ModbusM_CYCLIC", "x"}},
         0x020,
         "8813000064000000"},
        {"RS232", {{"ModbusM_SERIAL", "0"}}, 0x5F0, "01000000"},
        {"RS485", {{"ModbusM_SERIAL", "1"}}, 0x5F0, "00000000"},
        {"DHCP on the cable", {{"Eth_Conn_DHCP_Cable", "1"}}, 0x4E8, "0100"},
        {"DHCP flag 01", {{"Eth_Conn_DHCP_Cable", "01"}}, 0x4E8, "0000"},
        {"DNS in use, primary",
         {{"Eth_Conn_Enable_DNS", "1"},
          {"Eth_Conn_Primary_DNS1", "1"},
          {"Eth_Conn_Primary_DNS2", "1"},
          {"Eth_Conn_Primary_DNS3", "1"},
          {"Eth_Conn_Primary_DNS4", "1"}},
         0x58C,
         "01010101"},
        {"DNS in use, secondary default", {{"Eth_Conn_Enable_DNS", "1"}}, 0x53C, "08080404"},
        {"DNS off",
         {{"Eth_Conn_Enable_DNS", "0"}, {"Eth_Conn_Primary_DNS1", "1"}},
         0x58C,
         "00000000"},
        {"server name cut to 15",
         {{"IEC61850_Server_Name_Of_Server", twenty}},
         0x574,
         "4142434445464748494a4b4c4d4e4f00"},
        {"device name cut to 31",
         {{"Eth_Conn_Device_Name", forty}},
         0x514,
         "64646464646464646464646464646464646464646464646464646464646464"
         "00"},
        {"NTP server set",
         {{"NTP_Server_URL", "pool.ntp.org"}, {"NTP_Poll_Time", "60"}},
         0x03C,
         "000008003c000000"},
        {"NTP server empty", {{"NTP_Server_URL", ""}}, 0x03C, "00000000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TTempConf conf;
        conf.Write("ParGen.xml", ParGenXml(c.keys));
        const auto comp = CompileFolder(conf);
        const QByteArray expected = QByteArray::fromHex(c.hex);
        EXPECT_TRUE(BytesEqual(comp->Image1().mid(c.off, expected.size()), expected, c.off));
        EXPECT_EQ(GetU32(comp->Image1(), 0x7FC), ByteSum(comp->Image1(), 0x7FC));
    }
}

TEST(CompilerParGen, OlderFileTakesOnlyTheAddressKeys)
{
    TTempConf conf;
    QFile::copy(FixturePath("ParGen_old_keys.xml"), conf.File("ParGen.xml"));
    const auto c = CompileFolder(conf);
    const QByteArray &b = c->Image1();
    EXPECT_TRUE(BytesEqual(b.mid(0x028, 12), QByteArray::fromHex("0a010203ffff00000a0100fe")));
    // The older DNS keys are the dialog's business; the compiler leaves DNS off.
    EXPECT_EQ(GetU32(b, 0x58C), 0u);
    EXPECT_EQ(GetU32(b, 0x53C), 0u);
}

TEST(CompilerParGen, TheDocumentElementIsTheRootAfterDeclarationAndComment)
{
    TTempConf conf;
    conf.Write("ParGen.xml",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- saved by hand -->\n" +
                   ParGenXml({{"IEC61850_Server_IP1", "7"}}));
    const auto c = CompileFolder(conf);
    EXPECT_EQ(GetU8(c->Image1(), 0x028), 7);
}

TEST(CompilerParGen, NtpTextAlwaysEndsInsideItsField)
{
    struct Case
    {
        QString text;
        QByteArray field;
    };
    const QString longText = QString(1500, QLatin1Char('n'));
    const Case cases[] = {
        {"pool.ntp.org", QByteArray("pool.ntp.org") + QByteArray(1024 - 12, '\0')},
        {QString::fromUtf8("zé"), QByteArray("z\xE9") + QByteArray(1022, '\0')},
        {QString(1023, QLatin1Char('n')), QByteArray(1023, 'n') + QByteArray(1, '\0')},
        {QString(1024, QLatin1Char('n')), QByteArray(1023, 'n') + QByteArray(1, '\0')},
        {longText, QByteArray(1023, 'n') + QByteArray(1, '\0')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.size());
        TTempConf conf;
        conf.Write("ParGen.xml", ParGenXml({{"NTP_Server_URL", c.text}}));
        const auto comp = CompileFolder(conf);
        EXPECT_TRUE(BytesEqual(comp->Image2().left(1024), c.field));
        EXPECT_EQ(GetU32(comp->Image1(), 0x03C), 0x80000u);
        EXPECT_EQ(GetU32(comp->Image2(), 1024), 0u); // the Modbus table starts untouched
    }
}

// --- IEC 61850 section ------------------------------------------------------------------------

TEST(CompilerIEC61850, VariablesWithoutTlsData)
{
    for (const char *separator : {",", "."}) {
        SCOPED_TRACE(separator);
        plat::OverrideDecimalSeparator(QString::fromLatin1(separator));
        TTempConf conf;
        conf.Write("ParGen.xml", ParGenXml({{"TLS_Server_Enable", "0"}, {"TLS_Server_Key", ""}}));
        conf.Write("IEC61850_Variables.xml",
                   TableXml("IEC61850_Variables",
                            {Row({{"Enable", "Y"},
                                  {"Name", "Temp"},
                                  {"Type", "Float"},
                                  {"Length", "4"},
                                  {"ReadOnly", "Y"},
                                  {"Position", "10"},
                                  {"StartBit", ""},
                                  {"Conversion", "Int to Float"},
                                  {"MultiplicationFactor", "0,5"},
                                  {"Swap", "Y"},
                                  {"SwapWord", "N"},
                                  {"Mnemonic", "t"}}),
                             Row({{"Enable", "Y"},
                                  {"Name", ""},
                                  {"Type", "Int"},
                                  {"Length", "2"},
                                  {"ReadOnly", "N"},
                                  {"Position", "20"},
                                  {"Conversion", "None"},
                                  {"MultiplicationFactor", "0.5"},
                                  {"Swap", "N"},
                                  {"SwapWord", "Y"}}),
                             Row({{"Enable", "y"}, {"Name", "Skipped"}, {"Type", "Int"}}),
                             Row({{"Enable", "Y"},
                                  {"Name", "Hum"},
                                  {"Type", "Digital (Bit)"},
                                  {"Length", "4"},
                                  {"Position", "30"},
                                  {"StartBit", "3"},
                                  {"Conversion", "Float to Int"},
                                  {"MultiplicationFactor", "abc"},
                                  {"Swap", "Y"},
                                  {"SwapWord", "Y"}})}));
        const auto c = CompileFolder(conf);

        // 3 variables of 32 bytes after the 54-byte header, then the zero byte at A + 150.
        const uint32_t z = A + 150;
        TLe s;
        s.U16(102).U32(0).U32(z).U32(0).U32(0).U32(z).U32(0).U32(z).U32(0);
        s.U32(0).U32(A + 54).U32(0).U32(3).U32(A + 54);
        s.U32(A + 151).U32(6).U32(10).U32(0).U32(4).U32(1).F32(0.5f).U16(1).U16(1);
        s.U32(z).U32(4).U32(20).U32(0).U32(2).U32(0).F32(0.5f).U16(0).U16(2);
        s.U32(A + 156).U32(2).U32(30).U32(3).U32(1).U32(0).F32(1.0f).U16(2).U16(3);
        s.U8(0).Raw(QByteArray("Temp", 5)).Raw(QByteArray("Hum", 4));
        EXPECT_TRUE(BytesEqual(c->Image2().mid(S), s.Bytes(), S));
        EXPECT_EQ(c->Image2().size(), S + 160);
    }
    plat::OverrideDecimalSeparator(std::nullopt);
}

TEST(CompilerIEC61850, VariableFieldsFromTheirTexts)
{
    struct Case
    {
        const char *name;
        TAttrs attrs;
        uint32_t type, length, readOnly;
        uint16_t operation, options;
        float factor;
    };
    const Case cases[] = {
        {"all missing", {}, 4, 0, 0, 0, 0, 1.0f},
        {"trimmed and any case",
         {{"Type", " float "},
          {"ReadOnly", " y "},
          {"Conversion", " int to float "},
          {"MultiplicationFactor", " none "}},
         6,
         0,
         1,
         1,
         0,
         1.0f},
        {"bit forces length 1", {{"Type", "digital (bit)"}, {"Length", "4"}}, 2, 1, 0, 0, 0, 1.0f},
        {"unknown type is integer", {{"Type", "Bool"}, {"Length", "2"}}, 4, 2, 0, 0, 0, 1.0f},
        {"swaps are exact", {{"Swap", "y"}, {"SwapWord", "Y"}}, 4, 0, 0, 0, 2, 1.0f},
        {"factor with comma", {{"MultiplicationFactor", "2,5"}}, 4, 0, 0, 0, 0, 2.5f},
        {"factor with point", {{"MultiplicationFactor", "-0.25"}}, 4, 0, 0, 0, 0, -0.25f},
        {"factor not a number", {{"MultiplicationFactor", "x2"}}, 4, 0, 0, 0, 0, 1.0f},
        {"length not a number", {{"Length", "four"}}, 4, 0, 0, 0, 0, 1.0f},
    };
    for (const char *separator : {",", "."}) {
        plat::OverrideDecimalSeparator(QString::fromLatin1(separator));
        for (const Case &cs : cases) {
            SCOPED_TRACE(std::string(cs.name) + " / " + separator);
            TTempConf conf;
            TAttrs attrs = cs.attrs;
            attrs.insert(attrs.begin(), {{"Enable", "Y"}, {"Name", "V"}});
            conf.Write("IEC61850_Variables.xml", TableXml("IEC61850_Variables", {Row(attrs)}));
            const auto c = CompileFolder(conf);
            ASSERT_EQ(c->IEC61850().Var_Number, 1u);
            const QByteArray v = c->Image2().mid(S + 54, 32);
            EXPECT_EQ(GetU32(v, 4), cs.type);
            EXPECT_EQ(GetU32(v, 16), cs.length);
            EXPECT_EQ(GetU32(v, 20), cs.readOnly);
            EXPECT_TRUE(BytesEqual(v.mid(24, 4), TLe().F32(cs.factor).Bytes()));
            EXPECT_EQ(GetU16(v, 28), cs.operation);
            EXPECT_EQ(GetU16(v, 30), cs.options);
        }
    }
    plat::OverrideDecimalSeparator(std::nullopt);
}

TEST(CompilerIEC61850, TlsDataKnownCertificatesAndPasswords)
{
    TTempConf conf;
    conf.Write("ParGen.xml", ParGenXml({{"IEC61850_Server_Port", "70000"}, // low 16 bits: 4464
                                        {"IEC61850_Server_Password", QString::fromUtf8("pässw")},
                                        {"TLS_Server_Enable", "1"},
                                        {"TLS_Server_Key", QString::fromUtf8("KEY-é")},
                                        {"TLS_Server_Key_Password", "pw"},
                                        {"TLS_Server_Server_Certificate", "SRV"},
                                        {"TLS_Server_Root_Certificate", ""},
                                        {"TLS_Server_Enable_Known_Cert", "1"}}));
    conf.Write("TLS_Known_Cert.xml",
               TableXml("TLS_Server_Known_Cert",
                        {Row({{"Enable", "Y"}, {"Certificate", "C1"}, {"Mnemonic", "a"}}),
                         Row({{"Enable", "N"}, {"Certificate", "OFF"}}),
                         Row({{"Enable", "Y"}, {"Certificate", ""}}),
                         Row({{"Enable", "Y"}, {"Certificate", QString::fromUtf8("Cé3")}})}));
    conf.Write("IEC61850_Variables.xml",
               TableXml("IEC61850_Variables", {Row({{"Enable", "Y"}, {"Name", "V"}})}));
    const auto c = CompileFolder(conf);

    // Header 54 + 3 known entries of 8 = 78: the variable table; 78 + 32 = 110: the zero byte.
    const uint32_t z = A + 110;
    TLe s;
    s.U16(4464).U32(1);
    s.U32(A + 111).U32(6); // key: 6 UTF-8 bytes + zero
    s.U32(A + 118);        // key password "pw"
    s.U32(A + 121).U32(3); // server certificate "SRV"
    s.U32(z).U32(0);       // no root certificate
    s.U32(3).U32(A + 54);  // known certificates
    s.U32(A + 125);        // password: 5 one-byte characters + zero
    s.U32(1).U32(A + 78);  // variables
    s.U32(A + 131).U32(2); // "C1"
    s.U32(A + 134).U32(0); // empty certificate: no text written
    s.U32(A + 134).U32(4); // "Cé3"
    s.U32(A + 139).U32(4).U32(0).U32(0).U32(0).U32(0).F32(1.0f).U16(0).U16(0);
    s.U8(0);
    s.Raw(QByteArray("KEY-\xC3\xA9", 7)).Raw(QByteArray("pw", 3)).Raw(QByteArray("SRV", 4));
    s.Raw(QByteArray("p\xE4ssw", 6));
    s.Raw(QByteArray("C1", 3))
        .Raw(QByteArray("C\xC3\xA9"
                        "3",
                        5));
    s.Raw(QByteArray("V", 2));
    EXPECT_TRUE(BytesEqual(c->Image2().mid(S), s.Bytes(), S));
}

TEST(CompilerIEC61850, KnownCertificatesOnlyWithTlsAndTheirFlag)
{
    struct Case
    {
        const char *tls, *known;
    };
    const Case cases[] = {{"0", "1"}, {"1", "0"}, {"2", "1"}};
    for (const Case &cs : cases) {
        SCOPED_TRACE(std::string("TLS ") + cs.tls + ", known " + cs.known);
        TTempConf conf;
        conf.Write("ParGen.xml", ParGenXml({{"TLS_Server_Enable", cs.tls},
                                            {"TLS_Server_Enable_Known_Cert", cs.known}}));
        conf.Write("TLS_Known_Cert.xml", TableXml("TLS_Server_Known_Cert",
                                                  {Row({{"Enable", "Y"}, {"Certificate", "a"}}),
                                                   Row({{"Enable", "Y"}, {"Certificate", "b"}}),
                                                   Row({{"Enable", "Y"}, {"Certificate", "c"}})}));
        const auto c = CompileFolder(conf);
        const QByteArray &img = c->Image2();
        EXPECT_EQ(GetU32(img, S + 34), 0u);
        EXPECT_EQ(GetU32(img, S + 38), A + 54);
        EXPECT_EQ(GetU32(img, S + 50), A + 54); // no table before the variables
        EXPECT_EQ(img.size(), S + 55);          // and no certificate texts
    }
}

// --- Modbus request table ----------------------------------------------------------------

TEST(CompilerModbus, RecordsAreReadsThenWritesFieldByField)
{
    TTempConf conf;
    conf.Write("ModbusM_SetAccess.xml",
               ModbusXml({Row(ReadRowAttrs()), Row(With(ReadRowAttrs("9"), "Enable", "N")),
                          Row(Without(ReadRowAttrs("8"), "Enable"))},
                         {Row(WriteRowAttrs())}));
    const auto c = CompileFolder(conf);
    EXPECT_EQ(GetU32(c->Image1(), 0x048), 2u);

    TLe table;
    // Holding Register, address 100, 10 points, poll 1000 ms, 3 errors, 20 bytes, swap words.
    table.U16(0).U16(0).U32(1000).U8(1).U8(3).U16(100).U16(10).U16(0).U32(0).U16(0xFFFF);
    table.U16(0).U32(3).U8(0).U8(0).U8(20).U8(0x08);
    // Coil Status with 8 points: function 15; on change, on command and swap bytes.
    table.U16(1437).U16(3).U32(0).U8(247).U8(15).U16(65535).U16(8).U16(0).U32(0).U16(0);
    table.U16(0).U32(100000000).U8(0).U8(0).U8(0).U8(0x15);
    table.Zeros(32 * 1022);
    EXPECT_TRUE(BytesEqual(c->Image2().mid(1024, 32768), table.Bytes(), 1024));
}

TEST(CompilerModbus, FunctionCodesAndByteCounts)
{
    struct Case
    {
        bool read;
        const char *type;
        const char *npoint;
        uint8_t function, bytes;
    };
    const Case cases[] = {
        {true, "Coil Status", "2000", 1, 250},
        {true, "coil status", "1", 1, 1},
        {true, "Input Status", "9", 2, 2},
        {true, "Holding Register", "125", 3, 250},
        {true, "Input Register", "125", 4, 250},
        {true, "Input Register", "200", 4, 144},
        {true, "Other", "5", 0, 10},
        {false, "Coil Status", "1", 5, 0},
        {false, "Coil Status", "8", 15, 0},
        {false, "HOLDING REGISTER", "1", 6, 0},
        {false, "Holding Register", "16", 16, 0},
        {false, "Input Register", "2", 0, 0},
    };
    for (const Case &cs : cases) {
        SCOPED_TRACE(std::string(cs.type) + " " + cs.npoint);
        TTempConf conf;
        const TAttrs row = With(With(cs.read ? ReadRowAttrs() : WriteRowAttrs(), "Type", cs.type),
                                "NPoint", cs.npoint);
        conf.Write("ModbusM_SetAccess.xml",
                   cs.read ? ModbusXml({Row(row)}, {}) : ModbusXml({}, {Row(row)}));
        const auto c = CompileFolder(conf);
        const QByteArray rec = Record(c->Image2(), 0);
        EXPECT_EQ(GetU8(rec, 9), cs.function);
        EXPECT_EQ(GetU8(rec, 30), cs.bytes);
        EXPECT_EQ(GetU16(rec, 12), uint16_t(QByteArray(cs.npoint).toInt()));
    }
}

TEST(CompilerModbus, OptionalFieldsAndConversion)
{
    struct Case
    {
        const char *name;
        TAttrs extra; // replaces or adds attributes of a read row (of a write row with write)
        std::vector<const char *> drop;
        int off;
        const char *hex;
        bool write = false;
    };
    const Case cases[] = {
        {"write row, bit empty",
         {{"Type", "Holding Register"}, {"Position", "4"}, {"Bit", ""}},
         {},
         0,
         "04000000",
         true},
        {"write row, topic missing", {}, {}, 20, "0000", true},
        {"topic -1", {{"Index_Topic", "-1"}}, {}, 20, "ffff"},
        {"topic 5", {{"Index_Topic", "5"}}, {}, 20, "0500"},
        {"topic missing", {}, {"Index_Topic"}, 20, "0000"},
        {"topic not a number", {{"Index_Topic", "none"}}, {}, 20, "0000"},
        {"position and bit missing", {}, {"Position", "Bit"}, 0, "00000000"},
        {"position and bit", {{"Position", "1437"}, {"Bit", "7"}}, {}, 0, "9d050700"},
        {"bit empty", {{"Position", "4"}, {"Bit", ""}}, {}, 0, "04000000"},
        {"swaps any case", {{"Swap", "y"}, {"SwapWord", "y"}}, {}, 31, "0c"},
        {"no conversion attributes", {}, {}, 28, "0000"},
        {"float, divide by 10, little",
         {{"Float_Conv", "Y"}, {"Operation", ": 10"}, {"Endian", "little"}},
         {},
         28,
         "0301"},
        {"float, times 256, big, signed",
         {{"Float_Conv", "y"}, {"Operation", "x 256"}, {"Endian", "BIG"}, {"Signed", "Y"}},
         {},
         28,
         "060a"},
        {"float, no operation", {{"Float_Conv", "Y"}, {"Endian", "LITTLE"}}, {}, 28, "0300"},
        {"float, unknown operation",
         {{"Float_Conv", "Y"}, {"Operation", "/ 3"}, {"Endian", "LITTLE"}},
         {},
         28,
         "0300"},
        {"float without endian keeps the factor",
         {{"Float_Conv", "Y"}, {"Operation", ": 0.008"}},
         {},
         28,
         "000d"},
        {"float without endian, signed",
         {{"Float_Conv", "Y"}, {"Operation", "X 10"}, {"Signed", "y"}},
         {},
         28,
         "0405"},
        {"no float conversion",
         {{"Float_Conv", "N"}, {"Operation", "X 10"}, {"Endian", "LITTLE"}, {"Signed", "Y"}},
         {},
         28,
         "0400"},
    };
    for (const Case &cs : cases) {
        SCOPED_TRACE(cs.name);
        TAttrs row = cs.write ? WriteRowAttrs() : ReadRowAttrs();
        for (const auto &[n, v] : cs.extra)
            row = With(row, n, v);
        for (const char *n : cs.drop)
            row = Without(row, n);
        TTempConf conf;
        conf.Write("ModbusM_SetAccess.xml",
                   cs.write ? ModbusXml({}, {Row(row)}) : ModbusXml({Row(row)}, {}));
        const auto c = CompileFolder(conf);
        const QByteArray expected = QByteArray::fromHex(cs.hex);
        EXPECT_TRUE(BytesEqual(Record(c->Image2(), 0).mid(cs.off, expected.size()), expected,
                               1024 + cs.off));
    }
}

TEST(CompilerModbus, FactorCodes)
{
    const char *const texts[] = {"NONE",  ": 10",   ": 100",  ": 1000",  ": 10000",
                                 "X 10",  "X 100",  "X 1000", "X 10000", ": 256",
                                 "X 256", ": 0.08", "X 0.08", ": 0.008", "X 0.008"};
    for (int code = 0; code < 15; ++code) {
        EXPECT_EQ(Modbus_Factor_Code(QString::fromLatin1(texts[code])), code) << texts[code];
        EXPECT_EQ(Modbus_Factor_Code(QString::fromLatin1(texts[code]).toLower()), code);
    }
    for (const char *other : {"", ":10", " X 10", "X 10 ", "x 2"})
        EXPECT_EQ(Modbus_Factor_Code(QString::fromLatin1(other)), 0) << other;
}

TEST(CompilerModbus, CompulsoryAttributeErrorNamesFileGroupRowAndAttribute)
{
    struct Case
    {
        bool read;
        const char *attribute;
        const char *value; // nullptr: the attribute is left out
    };
    const Case cases[] = {
        {true, "Slave_ID", nullptr}, {true, "Type", nullptr},     {true, "NPoint", "abc"},
        {true, "Address", nullptr},  {true, "PollTime", ""},      {true, "MaxError", "1.5"},
        {false, "Slave_ID", " 1"},   {false, "NPoint", nullptr},  {false, "OnChange", nullptr},
        {false, "OnCMD", nullptr},   {false, "MaxError", "0x10"},
    };
    for (const Case &cs : cases) {
        SCOPED_TRACE(cs.attribute);
        TAttrs bad = cs.read ? ReadRowAttrs() : WriteRowAttrs();
        bad = cs.value ? With(bad, cs.attribute, cs.value) : Without(bad, cs.attribute);
        // A disabled row may lack anything.
        const TAttrs off = With(Without(bad, cs.attribute), "Enable", "N");
        const QStringList rows = {Row(cs.read ? ReadRowAttrs() : WriteRowAttrs()), Row(bad),
                                  Row(off)};
        TTempConf conf;
        conf.Write("ModbusM_SetAccess.xml", cs.read ? ModbusXml(rows, {}) : ModbusXml({}, rows));
        TImage_Compiler c;
        try {
            c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
            ADD_FAILURE() << "no error";
        } catch (const ECompileError &e) {
            const QString m = e.Message();
            EXPECT_TRUE(m.contains(QLatin1String("ModbusM_SetAccess.xml"))) << e.what();
            EXPECT_TRUE(
                m.contains(cs.read ? QLatin1String("Modbus_Read") : QLatin1String("Modbus_Write")))
                << e.what();
            EXPECT_TRUE(m.contains(QLatin1String("row 2"))) << e.what();
            EXPECT_TRUE(
                m.contains(QLatin1Char('\'') + QLatin1String(cs.attribute) + QLatin1Char('\'')))
                << e.what();
        }
        EXPECT_FALSE(c.Compiled());
        EXPECT_TRUE(c.Image1().isEmpty());
        EXPECT_TRUE(c.Image2().isEmpty());
    }
}

TEST(CompilerModbus, MoreThan1024EnabledRowsEndTheCompileWithoutImages)
{
    for (int writes : {424, 425}) {
        SCOPED_TRACE(writes);
        QStringList reads, wr;
        for (int i = 0; i < 600; ++i)
            reads << Row(ReadRowAttrs());
        reads << Row(With(ReadRowAttrs(), "Enable", "N")); // disabled rows do not count
        for (int i = 0; i < writes; ++i)
            wr << Row(WriteRowAttrs());
        TTempConf conf;
        conf.Write("ModbusM_SetAccess.xml", ModbusXml(reads, wr));
        TImage_Compiler c;
        if (600 + writes <= 1024) {
            c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
            EXPECT_EQ(GetU32(c.Image1(), 0x048), 1024u);
            EXPECT_EQ(GetU8(Record(c.Image2(), 1023), 9), 15);
            continue;
        }
        try {
            c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
            ADD_FAILURE() << "no error";
        } catch (const ECompileError &e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String("1024"))) << e.what();
        }
        EXPECT_FALSE(c.Compiled());
        EXPECT_THROW(c.Save_Bin_Files(conf.Path()), ECompileError);
        EXPECT_FALSE(QFile::exists(conf.File("bin/bank1.bin")));
        EXPECT_FALSE(QFile::exists(conf.File("bin/bank2.bin")));
    }
}

// --- the compile as a whole --------------------------------------------------------------

namespace {

void WriteFullConfiguration(const TTempConf &conf)
{
    conf.Write("ParGen.xml", ParGenXml({{"IEC61850_Server_EN_GAT", "1"},
                                        {"IEC61850_Server_Password", "secret"},
                                        {"TLS_Server_Enable", "1"},
                                        {"TLS_Server_Key", "-----KEY-----\nabc\n"},
                                        {"TLS_Server_Server_Certificate", "server"},
                                        {"TLS_Server_Root_Certificate", "root"},
                                        {"TLS_Server_Enable_Known_Cert", "1"},
                                        {"NTP_Server_URL", "pool.ntp.org"}}));
    conf.Write("TLS_Known_Cert.xml",
               TableXml("TLS_Server_Known_Cert", {Row({{"Enable", "Y"}, {"Certificate", "k"}})}));
    conf.Write("IEC61850_Variables.xml",
               TableXml("IEC61850_Variables", {Row({{"Enable", "Y"}, {"Name", "A"}}),
                                               Row({{"Enable", "Y"}, {"Name", "B"}})}));
    conf.Write("ModbusM_SetAccess.xml", ModbusXml({Row(ReadRowAttrs())}, {Row(WriteRowAttrs())}));
}

} // namespace

TEST(CompilerRun, CompilingTwiceGivesTheSameImagesAndNothingSurvives)
{
    TTempConf full;
    WriteFullConfiguration(full);
    TTempConf empty;

    TImage_Compiler c;
    c.Compile_Bin(TCompile_Files::In_Folder(full.Path()));
    const QByteArray image1 = c.Image1(), image2 = c.Image2();
    c.Compile_Bin(TCompile_Files::In_Folder(full.Path()));
    EXPECT_TRUE(BytesEqual(c.Image1(), image1));
    EXPECT_TRUE(BytesEqual(c.Image2(), image2));

    // After a full configuration, an empty one compiles as on a fresh compiler.
    c.Compile_Bin(TCompile_Files::In_Folder(empty.Path()));
    const auto fresh = CompileFolder(empty);
    EXPECT_TRUE(BytesEqual(c.Image1(), fresh->Image1()));
    EXPECT_TRUE(BytesEqual(c.Image2(), fresh->Image2()));
}

TEST(CompilerRun, FilesThatDoNotParseEndTheCompileNamingTheFile)
{
    for (const char *name :
         {"ParGen.xml", "TLS_Known_Cert.xml", "IEC61850_Variables.xml", "ModbusM_SetAccess.xml"}) {
        SCOPED_TRACE(name);
        TTempConf conf;
        WriteFullConfiguration(conf);
        conf.Write(name, "<root><unclosed></root>");
        TImage_Compiler c;
        try {
            c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
            ADD_FAILURE() << "no error";
        } catch (const ECompileError &e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(name))) << e.what();
        }
        EXPECT_FALSE(c.Compiled());
    }

    // A Modbus file without its write group.
    TTempConf conf;
    conf.Write("ModbusM_SetAccess.xml",
               "<EtherNetIP_to_Modbus><Modbus_Read/></EtherNetIP_to_Modbus>");
    TImage_Compiler c;
    try {
        c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
        ADD_FAILURE() << "no error";
    } catch (const ECompileError &e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("Modbus_Write"))) << e.what();
    }
}

TEST(CompilerRun, SecondImageIsBoundedBy0x7FFFF)
{
    // Section without variables or TLS table: 54 + zero byte + key + its zero byte.
    const int fits = 0x7FFFF - S - 54 - 1 - 1;
    for (int keyLength : {fits, fits + 1}) {
        SCOPED_TRACE(keyLength);
        TTempConf conf;
        conf.Write("ParGen.xml", ParGenXml({{"TLS_Server_Key", QString(keyLength, 'k')}}));
        TImage_Compiler c;
        if (keyLength == fits) {
            c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
            EXPECT_EQ(c.Image2().size(), 0x7FFFF);
            EXPECT_EQ(c.Image2().back(), '\0');
            continue;
        }
        try {
            c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
            ADD_FAILURE() << "no error";
        } catch (const ECompileError &e) {
            EXPECT_TRUE(e.Message().contains(QString::number(0x7FFFF))) << e.what();
        }
        EXPECT_FALSE(c.Compiled());
        EXPECT_TRUE(c.Image2().isEmpty());
    }
}

TEST(CompilerRun, SaveWritesBothImagesAndReplacesOldFiles)
{
    TTempConf conf;
    WriteFullConfiguration(conf);
    QDir(conf.Path()).mkdir("bin");
    conf.Write("bin/bank2.bin", QString(100000, 'x'));

    TImage_Compiler c;
    c.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
    c.Save_Bin_Files(conf.Path());
    EXPECT_TRUE(BytesEqual(conf.Read("bin/bank1.bin"), c.Image1()));
    EXPECT_TRUE(BytesEqual(conf.Read("bin/bank2.bin"), c.Image2()));
    EXPECT_EQ(conf.Read("bin/bank1.bin").size(), 2048);

    // A configuration whose bin folder went missing gets it back.
    TTempConf other;
    c.Save_Bin_Files(other.Path());
    EXPECT_TRUE(BytesEqual(other.Read("bin/bank1.bin"), c.Image1()));
}

TEST(CompilerRun, UnwritableOutputIsReported)
{
    TTempConf compiled;
    TImage_Compiler c;
    c.Compile_Bin(TCompile_Files::In_Folder(compiled.Path()));

    {
        SCOPED_TRACE("bin is a file");
        TTempConf conf;
        conf.Write("bin", "not a folder");
        EXPECT_THROW(c.Save_Bin_Files(conf.Path()), ECompileError);
    }
    {
        SCOPED_TRACE("bank2.bin is a folder");
        TTempConf conf;
        QDir(conf.Path()).mkpath("bin/bank2.bin");
        try {
            c.Save_Bin_Files(conf.Path());
            ADD_FAILURE() << "no error";
        } catch (const ECompileError &e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String("bank2.bin"))) << e.what();
        }
    }
    {
        SCOPED_TRACE("no configuration");
        EXPECT_THROW(c.Save_Bin_Files(QString()), ECompileError);
    }
    {
        SCOPED_TRACE("nothing compiled");
        TTempConf conf;
        EXPECT_THROW(TImage_Compiler().Save_Bin_Files(conf.Path()), ECompileError);
        EXPECT_FALSE(QFile::exists(conf.File("bin/bank1.bin")));
    }
}

TEST(CompilerRun, MainWindowEntryPointsUseTheOpenConfiguration)
{
    TTempConf conf;
    WriteFullConfiguration(conf);
    const QString oldConf = Conf_Path;
    Conf_Path = conf.Path();
    Set_Files();
    Compile_Bin();
    Save_Bin_Files();
    const auto direct = CompileFolder(conf);
    Conf_Path = oldConf;
    Set_Files();

    EXPECT_TRUE(BytesEqual(conf.Read("bin/bank1.bin"), direct->Image1()));
    EXPECT_TRUE(BytesEqual(conf.Read("bin/bank2.bin"), direct->Image2()));
}
