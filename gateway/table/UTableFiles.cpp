#include "gateway/table/UTableFiles.h"

#include "platform/os/Files.h"
#include "platform/text/StrConv.h"
#include "platform/xml/XmlDocument.h"

#include <QDir>

namespace {

const QString Row_Element = QStringLiteral("row");
const QString Gateway_Table_Version = QStringLiteral("1.005");

TTableColumn Col(const char *attribute, int gridCol, const char *def = "")
{
    return TTableColumn{QString::fromLatin1(attribute), gridCol, QString::fromLatin1(def), false};
}

// A column whose absence makes the dialog's load fail.
TTableColumn Req(const char *attribute, int gridCol)
{
    return TTableColumn{QString::fromLatin1(attribute), gridCol, QString(), true};
}

TTableFileDesc Make_TLS_Known_Cert()
{
    TTableGroup g;
    g.KeyColumn = 1; // Certificate
    g.Capacity = 10;
    g.Columns = {Col("Enable", 1, "Y"), Col("Certificate", 2), Col("Mnemonic", 3)};
    return TTableFileDesc{QStringLiteral("TLS_Known_Cert.xml"),
                          QStringLiteral("TLS_Server_Known_Cert"),
                          Gateway_Table_Version,
                          {g}};
}

TTableFileDesc Make_IEC61850_Variables()
{
    TTableGroup g;
    g.KeyColumn = 1; // Name
    g.Capacity = 50;
    g.Columns = {Col("Enable", 1, "Y"), Col("Name", 2),           Col("Type", 3),
                 Col("Length", 4),      Col("ReadOnly", 5, "N"),  Col("Position", 6),
                 Col("StartBit", 7),    Col("Conversion", 8),     Col("MultiplicationFactor", 9),
                 Col("Swap", 10, "N"),  Col("SwapWord", 11, "N"), Col("Mnemonic", 12)};
    return TTableFileDesc{QStringLiteral("IEC61850_Variables.xml"),
                          QStringLiteral("IEC61850_Variables"),
                          Gateway_Table_Version,
                          {g}};
}

TTableFileDesc Make_ModbusM_SetAccess()
{
    TTableGroup read;
    read.Name = QStringLiteral("Modbus_Read");
    read.KeyColumn = 1; // Slave_ID
    read.Capacity = 512;
    // Index_Topic sits in the hidden Topic column; the dialog turns it into the topic text and
    // "-1" means no topic.
    read.Columns = {Col("Enable", 1, "Y"), Req("Slave_ID", 2),       Req("Type", 3),
                    Req("Address", 4),     Req("NPoint", 5),         Req("PollTime", 6),
                    Req("MaxError", 7),    Req("Position", 8),       Req("Bit", 9),
                    Col("Swap", 10, "N"),  Col("SwapWord", 11, "N"), Col("Index_Topic", 12, "-1"),
                    Req("Mnemonic", 13)};

    TTableGroup write;
    write.Name = QStringLiteral("Modbus_Write");
    write.KeyColumn = 1; // Slave_ID
    write.Capacity = 512;
    write.Columns = {Col("Enable", 1, "Y"),    Req("Slave_ID", 2),   Req("Type", 3),
                     Req("Address", 4),        Req("NPoint", 5),     Req("PollTime", 6),
                     Req("OnChange", 7),       Col("OnCMD", 8, "N"), Req("MaxError", 9),
                     Req("Position", 10),      Req("Bit", 11),       Col("Swap", 12, "N"),
                     Col("SwapWord", 13, "N"), Req("Mnemonic", 14)};

    return TTableFileDesc{QStringLiteral("ModbusM_SetAccess.xml"),
                          QStringLiteral("EtherNetIP_to_Modbus"),
                          Gateway_Table_Version,
                          {read, write}};
}

QString Where(const TTableFileDesc &desc, int group, const QString &path)
{
    const QString file = QDir::toNativeSeparators(path.isEmpty() ? desc.FileName : path);
    if (desc.Grouped())
        return QStringLiteral("%1, group %2").arg(file, desc.Groups[group].Name);
    return file;
}

} // namespace

int TTableGroup::ColumnOf(const QString &attribute) const
{
    for (int i = 0; i < Columns.size(); ++i)
        if (Columns[i].Attribute == attribute)
            return i;
    return -1;
}

const TTableFileDesc &TLS_Known_Cert_Table()
{
    static const TTableFileDesc desc = Make_TLS_Known_Cert();
    return desc;
}

const TTableFileDesc &IEC61850_Variables_Table()
{
    static const TTableFileDesc desc = Make_IEC61850_Variables();
    return desc;
}

const TTableFileDesc &ModbusM_SetAccess_Table()
{
    static const TTableFileDesc desc = Make_ModbusM_SetAccess();
    return desc;
}

TTableData Empty_Table_Data(const TTableFileDesc &desc)
{
    return TTableData(desc.Groups.size());
}

void Write_Table_File(const TTableFileDesc &desc, const TTableData &data, const QString &path)
{
    plat::XmlDocument doc;
    plat::XmlNode root = doc.AppendElement(desc.Root);
    doc.AppendComment(QStringLiteral("SW_VERSION = ") + desc.Version);

    for (int g = 0; g < desc.Groups.size(); ++g) {
        const TTableGroup &group = desc.Groups[g];
        plat::XmlNode parent = desc.Grouped() ? root.AppendElement(group.Name) : root;
        if (g >= data.size())
            continue; // the group element is written even without rows
        for (const TTableRow &cells : data[g]) {
            const QString key = group.KeyColumn < cells.size() ? cells[group.KeyColumn] : QString();
            if (plat::Trim(key).isEmpty())
                break;
            plat::XmlNode row = parent.AppendElement(Row_Element);
            for (int c = 0; c < group.Columns.size(); ++c)
                row.SetAttribute(group.Columns[c].Attribute,
                                 c < cells.size() ? cells[c] : QString());
        }
    }
    doc.Save(path);
}

int TTableLoadResult::Total_Left_Out() const
{
    int n = 0;
    for (int v : Left_Out)
        n += v;
    return n;
}

QString TTableLoadResult::Message() const
{
    QStringList parts;
    if (!Error.isEmpty())
        parts << Error;
    const int leftOut = Total_Left_Out();
    if (leftOut == 1)
        parts << QStringLiteral("1 row of the file was left out: the table is full.");
    else if (leftOut > 1)
        parts
            << QStringLiteral("%1 rows of the file were left out: the table is full.").arg(leftOut);
    return parts.join(QLatin1Char('\n'));
}

std::vector<plat::XmlNode> Table_Group_Rows(const plat::XmlDocument &doc,
                                            const TTableFileDesc &desc,
                                            int group,
                                            const QString &path)
{
    const plat::XmlNode root = doc.DocumentElement();
    if (!desc.Grouped())
        return root.ChildElements(); // a null root gives no rows
    const QString &name = desc.Groups[group].Name;
    const plat::XmlNode parent = root.ChildElement(name);
    if (parent.IsNull())
        throw ETableFileError(QStringLiteral("%1: the group element '%2' is missing")
                                  .arg(QDir::toNativeSeparators(path), name));
    return parent.ChildElements();
}

TTableLoadResult Load_Table_File(const TTableFileDesc &desc, const QString &path)
{
    TTableLoadResult result;
    result.Rows = Empty_Table_Data(desc);
    result.Left_Out = QVector<int>(desc.Groups.size(), 0);
    if (!plat::FileExists(path))
        return result;
    result.File_Found = true;

    plat::XmlDocument doc;
    try {
        doc.LoadFile(path);
    } catch (const plat::EXmlError &e) {
        result.Error = e.message();
        return result;
    }

    for (int g = 0; g < desc.Groups.size(); ++g) {
        const TTableGroup &group = desc.Groups[g];
        std::vector<plat::XmlNode> rows;
        try {
            rows = Table_Group_Rows(doc, desc, g, path);
        } catch (const ETableFileError &e) {
            // The other groups still load; the dialog shows this one empty.
            if (result.Error.isEmpty())
                result.Error = e.Message();
            continue;
        }
        const int take = std::min<int>(int(rows.size()), group.Capacity);
        result.Left_Out[g] = int(rows.size()) - take;
        TTableRows &out = result.Rows[g];
        for (int r = 0; r < take; ++r) {
            TTableRow cells;
            cells.reserve(group.Columns.size());
            for (const TTableColumn &col : group.Columns) {
                if (rows[r].HasAttribute(col.Attribute)) {
                    cells << rows[r].Attribute(col.Attribute);
                } else if (!col.Required) {
                    cells << col.Default;
                } else {
                    // Stop at this attribute; what was read so far stays.
                    while (cells.size() < group.Columns.size())
                        cells << QString();
                    out << cells;
                    result.Error = QStringLiteral("%1, row %2: the attribute '%3' is missing")
                                       .arg(Where(desc, g, path))
                                       .arg(r + 1)
                                       .arg(col.Attribute);
                    return result;
                }
            }
            out << cells;
        }
    }
    return result;
}
