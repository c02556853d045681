#include "gateway/UParGenFile.h"

#include "platform/os/Files.h"
#include "platform/text/StrConv.h"
#include "platform/xml/XmlDocument.h"

#include <optional>

namespace pargen {

using K = TParKind;

// clang-format off
const std::array<TParKeyDesc, ParGen_Key_Count> ParGen_Keys = {{
    {"IEC61850_Server_IP1", "E_IEC61850_Server_IP1", K::Octet, "192", "192", "Ethernet_IP1", 0},
    {"IEC61850_Server_IP2", "E_IEC61850_Server_IP2", K::Octet, "168", "168", "Ethernet_IP2", 0},
    {"IEC61850_Server_IP3", "E_IEC61850_Server_IP3", K::Octet, "0", "0", "Ethernet_IP3", 0},
    {"IEC61850_Server_IP4", "E_IEC61850_Server_IP4", K::Octet, "10", "10", "Ethernet_IP4", 0},
    {"IEC61850_Server_SM1", "E_IEC61850_Server_SM1", K::Octet, "255", "255", "Ethernet_SM1", 0},
    {"IEC61850_Server_SM2", "E_IEC61850_Server_SM2", K::Octet, "255", "255", "Ethernet_SM2", 0},
    {"IEC61850_Server_SM3", "E_IEC61850_Server_SM3", K::Octet, "255", "255", "Ethernet_SM3", 0},
    {"IEC61850_Server_SM4", "E_IEC61850_Server_SM4", K::Octet, "0", "0", "Ethernet_SM4", 0},
    {"IEC61850_Server_GAT1", "E_IEC61850_Server_GAT1", K::Octet, "192", "192", "Ethernet_GAT1", 0},
    {"IEC61850_Server_GAT2", "E_IEC61850_Server_GAT2", K::Octet, "168", "168", "Ethernet_GAT2", 0},
    {"IEC61850_Server_GAT3", "E_IEC61850_Server_GAT3", K::Octet, "0", "0", "Ethernet_GAT3", 0},
    {"IEC61850_Server_GAT4", "E_IEC61850_Server_GAT4", K::Octet, "1", "1", "Ethernet_GAT4", 0},
    {"IEC61850_Server_EN_GAT", "CB_IEC61850_Server_En_GAT", K::FlagExact, "0", "0", "Ethernet_EN_GAT", 0},
    {"IEC61850_Server_Port", "E_IEC61850_Server_Port", K::Number, "102", "102", nullptr, 0},
    {"IEC61850_Server_Password", "E_IEC61850_Server_Password", K::Text, "", "", nullptr, 0},
    {"IEC61850_Server_Name_Of_Server", "E_IEC61850_Name_of_Server", K::Text, "Gateway", "Gateway", nullptr, 0},
    {"Eth_Conn_Device_Name", "E_EthConn_Device_Name", K::Text, "", "", nullptr, 0},
    {"Eth_Conn_DHCP_Cable", "CB_EthConn_En_DHCP_Cable", K::FlagExact, "0", "0", nullptr, 0},
    {"Eth_Conn_DHCP_WiFi", "CB_EthConn_En_DHCP_WiFi", K::FlagExact, "0", "0", nullptr, 0},
    {"Eth_Conn_Enable_DNS", "CB_EthConn_Enable_DNS", K::FlagExact, "0", nullptr, nullptr, 0},
    {"Eth_Conn_Primary_DNS1", "E_EthConn_Pri_DNS_IP1", K::Octet, "8", nullptr, nullptr, 0},
    {"Eth_Conn_Primary_DNS2", "E_EthConn_Pri_DNS_IP2", K::Octet, "8", nullptr, nullptr, 0},
    {"Eth_Conn_Primary_DNS3", "E_EthConn_Pri_DNS_IP3", K::Octet, "8", nullptr, nullptr, 0},
    {"Eth_Conn_Primary_DNS4", "E_EthConn_Pri_DNS_IP4", K::Octet, "8", nullptr, nullptr, 0},
    {"Eth_Conn_Secondary_DNS1", "E_EthConn_Sec_DNS_IP1", K::Octet, "8", "8", nullptr, 0},
    {"Eth_Conn_Secondary_DNS2", "E_EthConn_Sec_DNS_IP2", K::Octet, "8", "8", nullptr, 0},
    {"Eth_Conn_Secondary_DNS3", "E_EthConn_Sec_DNS_IP3", K::Octet, "8", "4", nullptr, 0},
    {"Eth_Conn_Secondary_DNS4", "E_EthConn_Sec_DNS_IP4", K::Octet, "8", "4", nullptr, 0},
    {"TLS_Server_Enable", "CB_TLS_Server_Enable", K::FlagInt, "0", "0", nullptr, 0},
    {"TLS_Server_Key", "E_TLS_Server_Key", K::MultiLine, "", "", nullptr, 0},
    {"TLS_Server_Key_Password", "E_TLS_Server_Key_Pass", K::Text, "", "", nullptr, 0},
    {"TLS_Server_Server_Certificate", "E_TLS_Server_Server_Cert", K::MultiLine, "", "", nullptr, 0},
    {"TLS_Server_Root_Certificate", "E_TLS_Server_Root_Cert", K::MultiLine, "", "", nullptr, 0},
    {"TLS_Server_Enable_Known_Cert", "CB_TLS_Server_En_Known_Cert", K::FlagInt, "0", "0", nullptr, 0},
    {"ModbusM_SERIAL", "CB_ModbusMaster_Serial", K::Index, "0", "0", nullptr, 2},
    {"ModbusM_BAUDRATE", "CB_ModbusMaster_Baudrate", K::Index, "7", "7", nullptr, 8},
    {"ModbusM_PARITY", "CB_ModbusMaster_Parity", K::Index, "0", "0", nullptr, 3},
    {"ModbusM_STOPBITS", "CB_ModbusMaster_StopBits", K::Index, "0", "0", nullptr, 2},
    {"ModbusM_TIMEOUT", "E_ModbusMaster_TimeOut", K::Number, "1000", "1000", nullptr, 0},
    {"ModbusM_CYCLIC", "E_ModbusMaster_CyclicDelay", K::Number, "100", "100", nullptr, 0},
    {"NTP_Server_URL", "E_NTP_Server_URL", K::Text, "", "", nullptr, 0},
    {"NTP_Poll_Time", "E_NTP_Poll_Time", K::Number, "", "", nullptr, 0},
}};
// clang-format on

namespace {

// The text of the root's child element of that name; nothing when the element is missing or
// holds elements rather than a text.
std::optional<QString> readText(const plat::XmlNode &root, const QString &name)
{
    const plat::XmlNode node = root.ChildElement(name);
    if (node.IsNull() || !node.ChildElements().empty())
        return std::nullopt;
    return node.Text();
}

// Turns a stored text into the value of its kind; nothing when the text does not fit the kind,
// which counts as a failed read.
std::optional<QString> applyText(const TParKeyDesc &key, const QString &text)
{
    switch (key.kind) {
    case K::FlagExact:
        return text == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    case K::FlagInt: {
        int32_t n = 0;
        if (!plat::TryStrToInt(text, n))
            return std::nullopt;
        return n == 1 ? QStringLiteral("1") : QStringLiteral("0");
    }
    case K::Index: {
        int32_t n = 0;
        // An index outside the list would make the next save write "-1".
        if (!plat::TryStrToInt(text, n) || n < 0 || n >= key.itemCount)
            return std::nullopt;
        return QString::number(n);
    }
    default:
        return text;
    }
}

std::optional<QString> readKey(const plat::XmlNode &root, const TParKeyDesc &key, const char *name)
{
    const std::optional<QString> text = readText(root, QString::fromLatin1(name));
    if (!text)
        return std::nullopt;
    return applyText(key, *text);
}

// One key read in its own guard: the key, else its older name, else its default for a missing
// key (or the value left as it was when it has none).
void readInto(TParGenValues &values, const plat::XmlNode &root, int index)
{
    const TParKeyDesc &key = ParGen_Keys[index];
    std::optional<QString> v = readKey(root, key, key.name);
    if (!v && key.fallback)
        v = readKey(root, key, key.fallback);
    if (v)
        values[index] = *v;
    else if (key.defMissing)
        values[index] = QString::fromLatin1(key.defMissing);
}

} // namespace

TParGenValues defaultValues()
{
    TParGenValues v;
    for (int i = 0; i < ParGen_Key_Count; ++i)
        v[i] = QString::fromLatin1(ParGen_Keys[i].defNoFile);
    return v;
}

TParGenValues readParGen(const plat::XmlDocument &doc)
{
    // DNS keys have no default for a missing key: they keep these unless an older or a current
    // key is found.
    TParGenValues v = defaultValues();
    v[Eth_Conn_Enable_DNS] = QStringLiteral("0");
    for (int i = Eth_Conn_Primary_DNS1; i <= Eth_Conn_Primary_DNS4; ++i)
        v[i] = QStringLiteral("8");

    const plat::XmlNode root = doc.DocumentElement();

    for (int i = IEC61850_Server_IP1; i <= IEC61850_Server_EN_GAT; ++i)
        readInto(v, root, i);

    // Files of older versions kept the DNS with the server; the current keys, read later, win.
    static const char *const oldDns[4] = {"IEC61850_Server_DNS1", "IEC61850_Server_DNS2",
                                          "IEC61850_Server_DNS3", "IEC61850_Server_DNS4"};
    for (int i = 0; i < 4; ++i) {
        const auto text = readKey(root, ParGen_Keys[Eth_Conn_Primary_DNS1 + i], oldDns[i]);
        if (text)
            v[Eth_Conn_Primary_DNS1 + i] = *text;
    }
    if (const auto text = readKey(root, ParGen_Keys[Eth_Conn_Enable_DNS], "IEC61850_Server_EN_DNS"))
        v[Eth_Conn_Enable_DNS] = *text;

    for (int i = IEC61850_Server_Port; i <= Eth_Conn_DHCP_Cable; ++i)
        readInto(v, root, i);
    // Nobody uses DHCP over Wi-Fi on this gateway: never taken from the file.
    v[Eth_Conn_DHCP_WiFi] = QStringLiteral("0");
    for (int i = Eth_Conn_Enable_DNS; i < ParGen_Key_Count; ++i)
        readInto(v, root, i);
    return v;
}

TParGenValues loadParGen(const QString &path)
{
    if (!plat::FileExists(path))
        return defaultValues();
    plat::XmlDocument doc;
    doc.LoadFile(path);
    return readParGen(doc);
}

int checkParGen(const TParGenValues &v)
{
    // A text that is not a 32-bit decimal integer counts as -1 and fails every range.
    auto num = [&v](int key) { return plat::StrToIntDef(v[key], -1); };
    auto outside = [&](int key, int lo, int hi) {
        const int32_t n = num(key);
        return n < lo || n > hi;
    };

    // The message of the first octet of an address outside 0..255 (one text per octet), or 0.
    auto badOctet = [&](int firstKey, int firstText) {
        for (int i = 0; i < 4; ++i)
            if (outside(firstKey + i, 0, 255))
                return firstText + i;
        return 0;
    };

    if (v[Eth_Conn_Enable_DNS] == QLatin1String("1")) {
        if (const int e = badOctet(Eth_Conn_Primary_DNS1, 1951))
            return e;
        if (const int e = badOctet(Eth_Conn_Secondary_DNS1, 1955))
            return e;
    }
    if (const int e = badOctet(IEC61850_Server_IP1, 607))
        return e;
    if (const int e = badOctet(IEC61850_Server_SM1, 611))
        return e;
    if (v[IEC61850_Server_EN_GAT] == QLatin1String("1")) {
        if (const int e = badOctet(IEC61850_Server_GAT1, 615))
            return e;
    }
    if (outside(IEC61850_Server_Port, 0, 65535) || num(IEC61850_Server_Port) == 10000)
        return 437;
    if (plat::Trim(v[IEC61850_Server_Name_Of_Server]).isEmpty())
        return 1961;
    if (num(ModbusM_STOPBITS) == 1 && num(ModbusM_PARITY) > 0)
        return 438;
    if (outside(ModbusM_TIMEOUT, 0, 100000))
        return 439;
    if (outside(ModbusM_CYCLIC, 0, 10000))
        return 440;
    if (outside(NTP_Poll_Time, 0, 10000000))
        return 1921;
    return 0;
}

void buildParGen(plat::XmlDocument &doc, const TParGenValues &values)
{
    doc.Clear();
    plat::XmlNode root = doc.AppendElement(QString::fromLatin1(ParGen_Root_Name));
    doc.AppendComment(QString::fromLatin1(ParGen_Version_Comment));
    for (int i = 0; i < ParGen_Key_Count; ++i)
        root.AppendElement(QString::fromLatin1(ParGen_Keys[i].name)).SetText(values[i]);
}

void saveParGen(const QString &path, const TParGenValues &values)
{
    plat::XmlDocument doc;
    buildParGen(doc, values);
    doc.Save(path);
}

int32_t Check_Device_Name(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool ok =
            (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        if (!ok)
            return 1;
    }
    return 0;
}

} // namespace pargen
