#include "gateway/UCompile_Bin.h"

#include "common/UComon.h"
#include "common/UComon_Validators.h"
#include "gateway/table/UTableFiles.h"
#include "platform/os/Files.h"
#include "platform/text/StrConv.h"
#include "platform/xml/XmlDocument.h"
#include "resources/ConfigurationFolderText.h"

#include <QDir>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// Offsets of the general parameter block.
constexpr int Par_Fixed_0 = 0x000;
constexpr int Par_Fixed_4 = 0x004;
constexpr int Par_Fixed_C = 0x00C;
constexpr int Par_ModbusM_Timeout = 0x020;
constexpr int Par_ModbusM_Cyclic = 0x024;
constexpr int Par_IP = 0x028;
constexpr int Par_Mask = 0x02C;
constexpr int Par_Gateway = 0x030;
constexpr int Par_Port_34 = 0x034;
constexpr int Par_Port_36 = 0x036;
constexpr int Par_Port_38 = 0x038;
constexpr int Par_NTP_Add = 0x03C;
constexpr int Par_NTP_Poll = 0x040;
constexpr int Par_Modbus_Count = 0x048;
constexpr int Par_Modbus_Add = 0x0C4;
constexpr int Par_Baud_1 = 0x19C;
constexpr int Par_Baud_2 = 0x1A0;
constexpr int Par_Parity_1 = 0x1AB;
constexpr int Par_Parity_2 = 0x1AC;
constexpr int Par_Stop_1 = 0x1B1;
constexpr int Par_Stop_2 = 0x1B2;
constexpr int Par_Bits_First = 0x1B4;
constexpr int Par_Bits_Last = 0x1BB;
constexpr int Par_Data_Bits_1 = 0x1B7;
constexpr int Par_Data_Bits_2 = 0x1B8;
constexpr int Par_Flags = 0x4E8;
constexpr int Par_Device_Name = 0x514;
constexpr int Par_Device_Name_Size = 32;
constexpr int Par_DNS_Secondary = 0x53C;
constexpr int Par_Server_Name = 0x574;
constexpr int Par_Server_Name_Size = 16;
constexpr int Par_DNS_Primary = 0x58C;
constexpr int Par_IEC61850_Add = 0x5E8;
constexpr int Par_ModbusM_RS232 = 0x5F0;
constexpr int Par_Version = 0x66C;
constexpr int Par_Version_Size = 8;
constexpr int Par_Checksum = 0x7FC;

const char Par_Version_Text[] = "1.005";

// --- little-endian field writers ----------------------------------------------------------

void Put8(uint8_t *base, int off, uint8_t v)
{
    base[off] = v;
}

void Put16(uint8_t *base, int off, uint16_t v)
{
    base[off] = uint8_t(v);
    base[off + 1] = uint8_t(v >> 8);
}

void Put32(uint8_t *base, int off, uint32_t v)
{
    base[off] = uint8_t(v);
    base[off + 1] = uint8_t(v >> 8);
    base[off + 2] = uint8_t(v >> 16);
    base[off + 3] = uint8_t(v >> 24);
}

void PutF32(uint8_t *base, int off, float v)
{
    uint32_t bits = 0;
    static_assert(sizeof bits == sizeof v);
    std::memcpy(&bits, &v, sizeof bits);
    Put32(base, off, bits);
}

// One byte per character: the low byte of each UTF-16 unit, at most size - 1 of them, the rest
// of the field zero.
void PutByteText(uint8_t *base, int off, int size, const QString &text)
{
    std::fill(base + off, base + off + size, uint8_t(0));
    const int n = std::min<int>(int(text.size()), size - 1);
    for (int i = 0; i < n; ++i)
        base[off + i] = uint8_t(text[i].unicode());
}

void Ensure_Size(QByteArray &image, qsizetype size)
{
    if (image.size() < size)
        image.append(QByteArray(size - image.size(), '\0'));
}

uint8_t *Bytes(QByteArray &image)
{
    return reinterpret_cast<uint8_t *>(image.data());
}

// Upper-casing for comparisons with the fixed keywords: ASCII letters only, so no locale rule
// can make an unrelated text match.
QString Upper(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return s;
}

uint32_t Utf8_Length(const QString &text)
{
    return uint32_t(text.toUtf8().size());
}

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// --- ParGen.xml --------------------------------------------------------------------------

class TPar_Reader
{
public:
    explicit TPar_Reader(plat::XmlNode root) : m_root(root) {}

    std::optional<QString> Text(const QString &key) const
    {
        const plat::XmlNode node = m_root.ChildElement(key);
        if (node.IsNull())
            return std::nullopt;
        return node.Text();
    }
    // The current key, else the older one.
    std::optional<QString> Text(const QString &key, const QString &older) const
    {
        std::optional<QString> t = Text(key);
        return t ? t : Text(older);
    }
    QString TextOr(const QString &key, const QString &def) const { return Text(key).value_or(def); }
    static int32_t Num(const std::optional<QString> &text, int32_t def)
    {
        return text ? plat::StrToIntDef(*text, def) : def;
    }
    int32_t Num(const QString &key, int32_t def) const { return Num(Text(key), def); }
    bool IsOne(const QString &key) const { return Text(key) == QStringLiteral("1"); }

private:
    plat::XmlNode m_root;
};

uint32_t Baud_Rate(int32_t code)
{
    switch (code) {
    case 0:
        return 1200;
    case 1:
        return 2400;
    case 2:
        return 4800;
    case 4:
        return 19200;
    case 5:
        return 38400;
    case 6:
        return 57600;
    case 7:
        return 115200;
    default:
        return 9600;
    }
}

// --- table rows ----------------------------------------------------------------------------

// Reads the attributes of one row element; errors name the file, the row and the attribute.
class TRow_Reader
{
public:
    TRow_Reader(const plat::XmlNode &node, QString where, int row)
        : m_node(node), m_where(std::move(where)), m_row(row)
    {}

    std::optional<QString> Opt(const QString &name) const
    {
        if (!m_node.HasAttribute(name))
            return std::nullopt;
        return m_node.Attribute(name);
    }
    bool Is(const QString &name, const char *value) const
    {
        return Opt(name) == QLatin1String(value);
    }
    bool IsUpper(const QString &name, const char *value) const
    {
        const std::optional<QString> t = Opt(name);
        return t && Upper(*t) == QLatin1String(value);
    }
    QString Required(const QString &name) const
    {
        std::optional<QString> t = Opt(name);
        if (!t)
            throw ECompileError(QStringLiteral("%1, row %2: the attribute '%3' is missing")
                                    .arg(m_where)
                                    .arg(m_row)
                                    .arg(name));
        return *t;
    }
    int32_t Int(const QString &name) const
    {
        const QString t = Required(name);
        int32_t v = 0;
        if (!plat::TryStrToInt(t, v))
            throw ECompileError(
                QStringLiteral("%1, row %2: the attribute '%3' is not a number: \"%4\"")
                    .arg(m_where)
                    .arg(m_row)
                    .arg(name, t));
        return v;
    }
    // Missing or not a number: def.
    int32_t IntOr(const QString &name, int32_t def) const
    {
        const std::optional<QString> t = Opt(name);
        return t ? plat::StrToIntDef(*t, def) : def;
    }

private:
    const plat::XmlNode &m_node;
    QString m_where;
    int m_row;
};

QString Group_Where(const QString &path, const TTableFileDesc &desc, int group)
{
    if (desc.Grouped())
        return QStringLiteral("%1, group %2").arg(Native(path), desc.Groups[group].Name);
    return Native(path);
}

// False when the file is absent: the loader then keeps its cleared data.
bool Open_Table(plat::XmlDocument &doc, const QString &path)
{
    if (!plat::FileExists(path))
        return false;
    doc.LoadFile(path);
    return true;
}

// fn(row) for each row of the group with Enable="Y"; a row's number counts every row.
template <class Fn>
void For_Enabled_Rows(
    const plat::XmlDocument &doc, const TTableFileDesc &desc, int group, const QString &path, Fn fn)
{
    const std::vector<plat::XmlNode> rows = Table_Group_Rows(doc, desc, group, path);
    const QString where = Group_Where(path, desc, group);
    for (size_t r = 0; r < rows.size(); ++r) {
        const TRow_Reader row(rows[r], where, int(r) + 1);
        if (row.Is(QStringLiteral("Enable"), "Y"))
            fn(row);
    }
}

// Offsets 28 and 29 from the optional conversion attributes.
void Load_Conversion(const TRow_Reader &row, TModbus_Request &rec)
{
    rec.Conversion = 0;
    if (row.IsUpper(QStringLiteral("Float_Conv"), "Y")) {
        rec.Conversion = 2;
        rec.Factor = Modbus_Factor_Code(
            row.Opt(QStringLiteral("Operation")).value_or(QStringLiteral("NONE")));
        const std::optional<QString> endian = row.Opt(QStringLiteral("Endian"));
        if (!endian)
            rec.Conversion = 0; // the factor code stays
        else if (Upper(*endian) == QLatin1String("LITTLE"))
            rec.Conversion |= 1;
    }
    if (row.IsUpper(QStringLiteral("Signed"), "Y"))
        rec.Conversion |= 4;
}

void Load_Swaps(const TRow_Reader &row, TModbus_Request &rec)
{
    if (row.IsUpper(QStringLiteral("Swap"), "Y"))
        rec.Flags |= 4;
    if (row.IsUpper(QStringLiteral("SwapWord"), "Y"))
        rec.Flags |= 8;
}

} // namespace

// --- free helpers ----------------------------------------------------------------------------

TCompile_Files TCompile_Files::In_Folder(const QString &conf)
{
    return TCompile_Files{plat::JoinPath(conf, QStringLiteral("ParGen.xml")),
                          plat::JoinPath(conf, TLS_Known_Cert_Table().FileName),
                          plat::JoinPath(conf, IEC61850_Variables_Table().FileName),
                          plat::JoinPath(conf, ModbusM_SetAccess_Table().FileName)};
}

uint8_t Modbus_Factor_Code(const QString &operation)
{
    static const char *const codes[] = {"NONE",  ": 10",   ": 100",  ": 1000",  ": 10000",
                                        "X 10",  "X 100",  "X 1000", "X 10000", ": 256",
                                        "X 256", ": 0.08", "X 0.08", ": 0.008", "X 0.008"};
    const QString s = Upper(operation);
    for (uint8_t i = 0; i < std::size(codes); ++i)
        if (s == QLatin1String(codes[i]))
            return i;
    return 0;
}

// --- the compiler ----------------------------------------------------------------------------

TImage_Compiler::TImage_Compiler()
{
    Init_General_Parameters();
    Clear_IEC61850_Data();
    Clear_Modbus_Table();
}

void TImage_Compiler::Compile_Bin(const TCompile_Files &files)
{
    FCompiled = false;
    try {
        compile(files);
    } catch (const ECompileError &) {
        FImage1.clear();
        FImage2.clear();
        throw;
    } catch (const plat::EXmlError &e) {
        FImage1.clear();
        FImage2.clear();
        throw ECompileError(e.message());
    } catch (const ETableFileError &e) {
        FImage1.clear();
        FImage2.clear();
        throw ECompileError(e.Message());
    }
    FCompiled = true;
}

void TImage_Compiler::compile(const TCompile_Files &files)
{
    Init_General_Parameters();
    Clear_IEC61850_Data();
    Clear_Modbus_Table();
    Load_Par_Gen(files.ParGen);
    Load_IEC61850_Variables(files.IEC61850_Variables);
    Load_TLS_Known_Cert(files.TLS_Known_Cert);
    Load_Modbus_Master_Access(files.ModbusM_SetAccess);

    FImage1.clear();
    FImage2.clear();
    Put32(FPar.data(), Par_NTP_Add, FNTP_Server.isEmpty() ? 0 : Image2_Device_Address);
    Put32(FPar.data(), Par_Modbus_Add, Image2_Device_Address + Modbus_Table_Pos);

    int pos = Store_NTP_Server(NTP_Server_Pos, FImage2);
    pos = Store_Modbus_Table(pos, FImage2);
    const uint32_t sectionAdd = Image2_Device_Address + IEC61850_Section_Pos;
    Put32(FPar.data(), Par_IEC61850_Add, sectionAdd);
    Store_IEC61850_Section(sectionAdd, IEC61850_Section_Pos, FImage2);

    Store_General_Parameters();
}

void TImage_Compiler::Save_Bin_Files(const QString &confPath) const
{
    if (!FCompiled)
        throw ECompileError(QStringLiteral("There is no compiled configuration to write."));
    if (confPath.isEmpty())
        throw ECompileError(QStringLiteral("No configuration is open."));
    // Only bin is made here: a configuration folder that has gone is not recreated with images
    // of defaults in it.
    if (!plat::DirExists(confPath))
        throw ECompileError(res::Configuration_Folder_Missing_Text(confPath));
    const QString bin = plat::JoinPath(confPath, QStringLiteral("bin"));
    if (!plat::CreateDir(bin))
        throw ECompileError(QStringLiteral("Cannot create the folder '%1'.").arg(Native(bin)));
    QString error;
    if (!plat::WriteFileAtomic(plat::JoinPath(bin, QStringLiteral("bank1.bin")), FImage1, &error))
        throw ECompileError(error);
    if (!plat::WriteFileAtomic(plat::JoinPath(bin, QStringLiteral("bank2.bin")), FImage2, &error))
        throw ECompileError(error);
}

void TImage_Compiler::Init_General_Parameters()
{
    uint8_t *p = FPar.data();
    FPar.fill(0);
    Put32(p, Par_Fixed_0, 250000);
    Put32(p, Par_Fixed_4, 250000);
    Put32(p, Par_Fixed_C, 9600);
    const uint8_t ip[4] = {192, 168, 2, 205};
    const uint8_t mask[4] = {255, 255, 255, 0};
    for (int i = 0; i < 4; ++i) {
        Put8(p, Par_IP + i, ip[i]);
        Put8(p, Par_Mask + i, mask[i]);
        Put8(p, Par_Gateway + i, 255);
    }
    Put16(p, Par_Port_34, 10000);
    Put16(p, Par_Port_36, 10001);
    Put16(p, Par_Port_38, 10001);
    for (int off = Par_Bits_First; off <= Par_Bits_Last; ++off)
        Put8(p, off, 8);
    // The NTP text belongs to the general parameters: a compile without ParGen.xml has none.
    FNTP_Server.clear();
}

void TImage_Compiler::Clear_IEC61850_Data()
{
    FIEC61850 = TIEC61850{};
    FIEC61850.port = 102;
}

void TImage_Compiler::Clear_Modbus_Table()
{
    FModbus.fill(TModbus_Request{});
    FModbus_Count = 0;
}

void TImage_Compiler::Set_Par_Version()
{
    PutByteText(FPar.data(), Par_Version, Par_Version_Size, QString::fromLatin1(Par_Version_Text));
}

void TImage_Compiler::Load_Par_Gen(const QString &path)
{
    if (!plat::FileExists(path))
        return;
    plat::XmlDocument doc;
    doc.LoadFile(path);
    Set_Par_Version();

    const TPar_Reader par(doc.DocumentElement());
    uint8_t *p = FPar.data();
    const auto octets = [&](const char *key, const char *older, int off, const int(&def)[4]) {
        for (int i = 0; i < 4; ++i) {
            const QString n = QString::number(i + 1);
            const QString k = QLatin1String(key) + n;
            const int32_t v = TPar_Reader::Num(
                older ? par.Text(k, QLatin1String(older) + n) : par.Text(k), def[i]);
            Put8(p, off + i, uint8_t(v));
        }
    };
    octets("IEC61850_Server_IP", "Ethernet_IP", Par_IP, {192, 168, 0, 10});
    octets("IEC61850_Server_SM", "Ethernet_SM", Par_Mask, {255, 255, 255, 0});
    octets("IEC61850_Server_GAT", "Ethernet_GAT", Par_Gateway, {192, 168, 0, 1});
    if (par.Text(QStringLiteral("IEC61850_Server_EN_GAT"), QStringLiteral("Ethernet_EN_GAT")) !=
        QStringLiteral("1")) {
        for (int i = 0; i < 4; ++i)
            Put8(p, Par_Gateway + i, 255);
    }

    FIEC61850.port = uint16_t(par.Num(QStringLiteral("IEC61850_Server_Port"), 102));
    FIEC61850.Password = par.TextOr(QStringLiteral("IEC61850_Server_Password"), QString());
    PutByteText(
        p, Par_Server_Name, Par_Server_Name_Size,
        par.TextOr(QStringLiteral("IEC61850_Server_Name_Of_Server"), QStringLiteral("Gateway")));
    PutByteText(p, Par_Device_Name, Par_Device_Name_Size,
                par.TextOr(QStringLiteral("Eth_Conn_Device_Name"), QString()));

    Put16(p, Par_Flags, 0);
    if (par.IsOne(QStringLiteral("Eth_Conn_DHCP_Cable")))
        Put16(p, Par_Flags, 1);

    if (par.IsOne(QStringLiteral("Eth_Conn_Enable_DNS"))) {
        octets("Eth_Conn_Primary_DNS", nullptr, Par_DNS_Primary, {8, 8, 8, 8});
        octets("Eth_Conn_Secondary_DNS", nullptr, Par_DNS_Secondary, {8, 8, 4, 4});
    }

    TTLS_Bank &tls = FIEC61850.TLS_Data;
    FIEC61850.TLS_Enable = uint32_t(par.Num(QStringLiteral("TLS_Server_Enable"), 0));
    tls.key = par.TextOr(QStringLiteral("TLS_Server_Key"), QString());
    tls.Key_Length = Utf8_Length(tls.key) + 1;
    tls.Key_Password = par.TextOr(QStringLiteral("TLS_Server_Key_Password"), QString());
    tls.Server_Cert.Certificate =
        par.TextOr(QStringLiteral("TLS_Server_Server_Certificate"), QString());
    tls.Server_Cert.Certificate_Length = Utf8_Length(tls.Server_Cert.Certificate) + 1;
    tls.Root_Cert.Certificate =
        par.TextOr(QStringLiteral("TLS_Server_Root_Certificate"), QString());
    tls.Root_Cert.Certificate_Length = Utf8_Length(tls.Root_Cert.Certificate) + 1;
    tls.Known_Cert_En = uint32_t(par.Num(QStringLiteral("TLS_Server_Enable_Known_Cert"), 0));

    Put32(p, Par_ModbusM_RS232, par.Text(QStringLiteral("ModbusM_SERIAL")) == QStringLiteral("0"));
    const uint32_t baud = Baud_Rate(par.Num(QStringLiteral("ModbusM_BAUDRATE"), 7));
    Put32(p, Par_Baud_1, baud);
    Put32(p, Par_Baud_2, baud);
    const uint8_t parity = uint8_t(par.Num(QStringLiteral("ModbusM_PARITY"), 0));
    Put8(p, Par_Parity_1, parity);
    Put8(p, Par_Parity_2, parity);
    int32_t stop = par.Num(QStringLiteral("ModbusM_STOPBITS"), 0);
    if (stop == 1)
        stop = 2;
    Put8(p, Par_Stop_1, uint8_t(stop));
    Put8(p, Par_Stop_2, uint8_t(stop));
    Put8(p, Par_Data_Bits_1, 8);
    Put8(p, Par_Data_Bits_2, 8);
    Put32(p, Par_ModbusM_Timeout, uint32_t(par.Num(QStringLiteral("ModbusM_TIMEOUT"), 1000)));
    Put32(p, Par_ModbusM_Cyclic, uint32_t(par.Num(QStringLiteral("ModbusM_CYCLIC"), 100)));

    FNTP_Server = par.TextOr(QStringLiteral("NTP_Server_URL"), QString());
    Put32(p, Par_NTP_Poll, uint32_t(par.Num(QStringLiteral("NTP_Poll_Time"), 1000)));
}

void TImage_Compiler::Load_IEC61850_Variables(const QString &path)
{
    const QString sep = Get_Decimal_Separator();
    FIEC61850.Var_Number = 0;
    FIEC61850.Variables.clear();
    plat::XmlDocument doc;
    if (!Open_Table(doc, path))
        return;
    For_Enabled_Rows(doc, IEC61850_Variables_Table(), 0, path, [&](const TRow_Reader &row) {
        TIEC61850_Var v;
        v.Name = row.Opt(QStringLiteral("Name")).value_or(QString());

        const QString type =
            Upper(plat::Trim(row.Opt(QStringLiteral("Type")).value_or(QStringLiteral("INT"))));
        v.Data_Type = type == QLatin1String("FLOAT")           ? 6
                      : type == QLatin1String("DIGITAL (BIT)") ? 2
                                                               : 4;
        v.Length = uint32_t(row.IntOr(QStringLiteral("Length"), 0));
        if (v.Data_Type == 2)
            v.Length = 1;
        v.Read_Only = Upper(plat::Trim(row.Opt(QStringLiteral("ReadOnly")).value_or(QString()))) ==
                      QLatin1String("Y");
        v.Position = uint32_t(row.IntOr(QStringLiteral("Position"), 0));
        v.Start_Bit = uint32_t(row.IntOr(QStringLiteral("StartBit"), 0));

        const QString conv =
            Upper(plat::Trim(row.Opt(QStringLiteral("Conversion")).value_or(QString())));
        v.Operation = conv == QLatin1String("INT TO FLOAT")   ? 1
                      : conv == QLatin1String("FLOAT TO INT") ? 2
                                                              : 0;

        v.Multiplication_Factor = 1.0f;
        if (const std::optional<QString> f = row.Opt(QStringLiteral("MultiplicationFactor"))) {
            const QString s = Upper(plat::Trim(*f));
            float value = 1.0f;
            if (s != QLatin1String("NONE") && Str_To_Float_Sep(s, sep, value))
                v.Multiplication_Factor = value;
        }

        v.Options = 0;
        if (row.Is(QStringLiteral("Swap"), "Y"))
            v.Options |= 1;
        if (row.Is(QStringLiteral("SwapWord"), "Y"))
            v.Options |= 2;

        FIEC61850.Variables.append(v);
        ++FIEC61850.Var_Number;
    });
}

void TImage_Compiler::Load_TLS_Known_Cert(const QString &path)
{
    TTLS_Bank &tls = FIEC61850.TLS_Data;
    tls.Known_Cert_Num = 0;
    tls.Known_Cert.clear();
    plat::XmlDocument doc;
    if (!Open_Table(doc, path))
        return;
    For_Enabled_Rows(doc, TLS_Known_Cert_Table(), 0, path, [&](const TRow_Reader &row) {
        TTLS_Certificate cert;
        cert.Certificate = row.Opt(QStringLiteral("Certificate")).value_or(QString());
        cert.Certificate_Length = Utf8_Length(cert.Certificate) + 1;
        tls.Known_Cert.append(cert);
        ++tls.Known_Cert_Num;
    });
}

void TImage_Compiler::Load_Modbus_Master_Access(const QString &path)
{
    plat::XmlDocument doc;
    if (!Open_Table(doc, path))
        return;

    int index = 0;
    for (int g : {Modbus_Read_Group, Modbus_Write_Group}) {
        For_Enabled_Rows(doc, ModbusM_SetAccess_Table(), g, path, [&](const TRow_Reader &row) {
            if (index >= Modbus_Max_Records)
                throw ECompileError(
                    QStringLiteral("%1: more than %2 enabled Modbus requests (read and write rows "
                                   "together); the device holds at most %2.")
                        .arg(Native(path))
                        .arg(Modbus_Max_Records));
            TModbus_Request &rec = FModbus[size_t(index)];
            rec = TModbus_Request{};
            rec.Slave_ID = uint8_t(row.Int(QStringLiteral("Slave_ID")));

            if (g == Modbus_Read_Group) {
                const QString type = Upper(row.Required(QStringLiteral("Type")));
                if (type == QLatin1String("COIL STATUS"))
                    rec.Function = 1;
                else if (type == QLatin1String("INPUT STATUS"))
                    rec.Function = 2;
                else if (type == QLatin1String("HOLDING REGISTER"))
                    rec.Function = 3;
                else if (type == QLatin1String("INPUT REGISTER"))
                    rec.Function = 4;
                rec.NPoint = uint16_t(row.Int(QStringLiteral("NPoint")));
                rec.Read_Bytes = (rec.Function == 1 || rec.Function == 2)
                                     ? uint8_t((rec.NPoint + 7) / 8)
                                     : uint8_t(2 * rec.NPoint);
            } else {
                rec.NPoint = uint16_t(row.Int(QStringLiteral("NPoint")));
                const QString type = Upper(row.Required(QStringLiteral("Type")));
                if (type == QLatin1String("COIL STATUS"))
                    rec.Function = rec.NPoint == 1 ? 5 : 15;
                else if (type == QLatin1String("HOLDING REGISTER"))
                    rec.Function = rec.NPoint == 1 ? 6 : 16;
            }
            rec.Address = uint16_t(row.Int(QStringLiteral("Address")));
            rec.Poll_Time = uint32_t(row.Int(QStringLiteral("PollTime")));
            rec.Max_Error = uint32_t(row.Int(QStringLiteral("MaxError")));
            if (g == Modbus_Write_Group) {
                rec.Flags = 0;
                if (Upper(row.Required(QStringLiteral("OnChange"))) == QLatin1String("Y"))
                    rec.Flags |= 1;
                if (Upper(row.Required(QStringLiteral("OnCMD"))) == QLatin1String("Y"))
                    rec.Flags |= 16;
            }
            rec.Position = uint16_t(row.IntOr(QStringLiteral("Position"), 0));
            rec.Start_Bit = uint16_t(row.IntOr(QStringLiteral("Bit"), 0));
            Load_Conversion(row, rec);
            Load_Swaps(row, rec);
            rec.Index_Topic = uint16_t(row.IntOr(QStringLiteral("Index_Topic"), 0));
            ++index;
        });
    }
    FModbus_Count = index;
    Put32(FPar.data(), Par_Modbus_Count, uint32_t(index));
}

int TImage_Compiler::Store_NTP_Server(int pos, QByteArray &image) const
{
    Ensure_Size(image, pos + NTP_Server_Size);
    // The device reads the field as a zero-ended text, so a longer name is cut to leave room
    // for the zero byte.
    PutByteText(Bytes(image), pos, NTP_Server_Size, FNTP_Server);
    return pos + NTP_Server_Size;
}

int TImage_Compiler::Store_Modbus_Table(int pos, QByteArray &image) const
{
    Ensure_Size(image, pos + Modbus_Max_Records * Modbus_Record_Size);
    uint8_t *b = Bytes(image);
    for (const TModbus_Request &rec : FModbus) {
        Put16(b, pos + 0, rec.Position);
        Put16(b, pos + 2, rec.Start_Bit);
        Put32(b, pos + 4, rec.Poll_Time);
        Put8(b, pos + 8, rec.Slave_ID);
        Put8(b, pos + 9, rec.Function);
        Put16(b, pos + 10, rec.Address);
        Put16(b, pos + 12, rec.NPoint);
        Put16(b, pos + 14, rec.Reserved_14);
        Put32(b, pos + 16, rec.Reserved_16);
        Put16(b, pos + 20, rec.Index_Topic);
        Put16(b, pos + 22, 0);
        Put32(b, pos + 24, rec.Max_Error);
        Put8(b, pos + 28, rec.Conversion);
        Put8(b, pos + 29, rec.Factor);
        Put8(b, pos + 30, rec.Read_Bytes);
        Put8(b, pos + 31, rec.Flags);
        pos += Modbus_Record_Size;
    }
    return pos;
}

int TImage_Compiler::Store_IEC61850_Section(uint32_t addr, int pos, QByteArray &image)
{
    TIEC61850 &iec = FIEC61850;
    TTLS_Bank &tls = iec.TLS_Data;
    const bool known = iec.TLS_Enable == 1 && tls.Known_Cert_En == 1;

    // Encoded once: the layout needs the sizes, the write the bytes.
    const QByteArray key = tls.key.toUtf8();
    const QByteArray keyPassword = tls.Key_Password.toUtf8();
    const QByteArray serverCert = tls.Server_Cert.Certificate.toUtf8();
    const QByteArray rootCert = tls.Root_Cert.Certificate.toUtf8();

    // Addresses first, with a running offset d from the section start.
    qint64 d = IEC61850_Header_Size;
    tls.Known_Cert_Add = addr + IEC61850_Header_Size;
    if (known)
        d += qint64(Known_Cert_Entry_Size) * tls.Known_Cert.size();
    iec.Var_Add = uint32_t(addr + d);
    d += qint64(IEC61850_Var_Size) * iec.Variables.size();
    const uint32_t zero = uint32_t(addr + d); // the one zero byte every empty text points at
    d += 1;

    if (!key.isEmpty()) {
        tls.key_add = uint32_t(addr + d);
        d += key.size() + 1;
    } else {
        tls.key_add = zero;
    }
    if (!keyPassword.isEmpty()) {
        tls.Key_Password_Add = uint32_t(addr + d);
        d += keyPassword.size() + 1;
    } else {
        tls.Key_Password_Add = 0;
    }
    for (auto [cert, bytes] :
         {std::pair{&tls.Server_Cert, &serverCert}, std::pair{&tls.Root_Cert, &rootCert}}) {
        if (!bytes->isEmpty()) {
            cert->Certificate_Add = uint32_t(addr + d);
            d += bytes->size() + 1;
        } else {
            cert->Certificate_Add = zero;
        }
    }
    if (!iec.Password.isEmpty()) {
        iec.Password_Add = uint32_t(addr + d);
        d += iec.Password.size() + 1;
    } else {
        iec.Password_Add = 0;
    }
    QVector<QByteArray> knownBytes;
    if (known) {
        knownBytes.reserve(tls.Known_Cert.size());
        for (TTLS_Certificate &cert : tls.Known_Cert) {
            knownBytes.append(cert.Certificate.toUtf8());
            cert.Certificate_Add = uint32_t(addr + d);
            if (!knownBytes.last().isEmpty())
                d += knownBytes.last().size() + 1;
        }
    }
    for (TIEC61850_Var &v : iec.Variables) {
        // An unnamed variable points at the empty text, not at whatever text comes next.
        if (v.Name.isEmpty()) {
            v.Name_Add = zero;
        } else {
            v.Name_Add = uint32_t(addr + d);
            d += v.Name.size() + 1;
        }
    }

    if (pos + d > Image2_Max_Size)
        throw ECompileError(
            QStringLiteral("The IEC 61850 data do not fit into the device: the second image would "
                           "take %1 bytes, at most %2 are possible. Shorten the TLS key, the "
                           "certificates or the variable names.")
                .arg(pos + d)
                .arg(Image2_Max_Size));

    Ensure_Size(image, pos + d);
    uint8_t *b = Bytes(image);
    int at = pos;
    Put16(b, at + 0, iec.port);
    Put32(b, at + 2, iec.TLS_Enable);
    Put32(b, at + 6, tls.key_add);
    Put32(b, at + 10, tls.Key_Length - 1);
    Put32(b, at + 14, tls.Key_Password_Add);
    Put32(b, at + 18, tls.Server_Cert.Certificate_Add);
    Put32(b, at + 22, tls.Server_Cert.Certificate_Length - 1);
    Put32(b, at + 26, tls.Root_Cert.Certificate_Add);
    Put32(b, at + 30, tls.Root_Cert.Certificate_Length - 1);
    Put32(b, at + 34, known ? tls.Known_Cert_Num : 0);
    Put32(b, at + 38, tls.Known_Cert_Add);
    Put32(b, at + 42, iec.Password_Add);
    Put32(b, at + 46, iec.Var_Number);
    Put32(b, at + 50, iec.Var_Add);
    at += IEC61850_Header_Size;

    if (known) {
        for (const TTLS_Certificate &cert : tls.Known_Cert) {
            Put32(b, at + 0, cert.Certificate_Add);
            Put32(b, at + 4, cert.Certificate_Length - 1);
            at += Known_Cert_Entry_Size;
        }
    }
    for (const TIEC61850_Var &v : iec.Variables) {
        Put32(b, at + 0, v.Name_Add);
        Put32(b, at + 4, v.Data_Type);
        Put32(b, at + 8, v.Position);
        Put32(b, at + 12, v.Start_Bit);
        Put32(b, at + 16, v.Length);
        Put32(b, at + 20, v.Read_Only);
        PutF32(b, at + 24, v.Multiplication_Factor);
        Put16(b, at + 28, v.Operation);
        Put16(b, at + 30, v.Options);
        at += IEC61850_Var_Size;
    }
    Put8(b, at, 0);
    at += 1;

    at = Store_Encoded_String(tls.key, at, image);
    at = Store_Encoded_String(tls.Key_Password, at, image);
    at = Store_Encoded_String(tls.Server_Cert.Certificate, at, image);
    at = Store_Encoded_String(tls.Root_Cert.Certificate, at, image);
    at = Store_Byte_String(iec.Password, at, image);
    if (known)
        for (const TTLS_Certificate &cert : tls.Known_Cert)
            at = Store_Encoded_String(cert.Certificate, at, image);
    for (const TIEC61850_Var &v : iec.Variables)
        at = Store_Byte_String(v.Name, at, image);
    Q_ASSERT(at == pos + d);
    return at;
}

void TImage_Compiler::Store_General_Parameters()
{
    uint32_t sum = 0;
    for (int i = 0; i < Par_Checksum; ++i)
        sum += FPar[size_t(i)];
    Put32(FPar.data(), Par_Checksum, sum);
    FImage1 = QByteArray(reinterpret_cast<const char *>(FPar.data()), Par_Block_Size);
}

int TImage_Compiler::Store_Encoded_String(const QString &text, int pos, QByteArray &image)
{
    if (text.isEmpty())
        return pos;
    const QByteArray bytes = text.toUtf8();
    Ensure_Size(image, pos + bytes.size() + 1);
    std::memcpy(image.data() + pos, bytes.constData(), size_t(bytes.size()));
    image[pos + bytes.size()] = '\0';
    return pos + int(bytes.size()) + 1;
}

int TImage_Compiler::Store_Byte_String(const QString &text, int pos, QByteArray &image)
{
    if (text.isEmpty())
        return pos;
    Ensure_Size(image, pos + text.size() + 1);
    uint8_t *b = Bytes(image);
    for (qsizetype i = 0; i < text.size(); ++i)
        b[pos + i] = uint8_t(text[i].unicode());
    b[pos + text.size()] = 0;
    return pos + int(text.size()) + 1;
}

// --- the running program's compiler --------------------------------------------------------

TImage_Compiler &Image_Compiler()
{
    static TImage_Compiler compiler;
    return compiler;
}

void Compile_Bin()
{
    Image_Compiler().Compile_Bin(TCompile_Files{File_ParGen, File_TLS_Known_Cert,
                                                File_IEC61850_Variables, File_ModbusM_SetAccess});
}

void Save_Bin_Files()
{
    Image_Compiler().Save_Bin_Files(Conf_Path);
}
