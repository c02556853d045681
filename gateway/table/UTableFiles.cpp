#include "gateway/table/UTableFiles.h"

#include "common/ULanguage.h"
#include "platform/os/Files.h"
#include "platform/text/StrConv.h"
#include "platform/xml/XmlDocument.h"
#include "resources/EnglishTexts.h"

#include <QDir>

#include <algorithm>
#include <optional>

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
        return QStringLiteral("%1, %2").arg(file, desc.Groups[group].Name);
    return file;
}

// ---- row layouts ---------------------------------------------------------------------------
// A layout is a list of items, each "c" or "a" followed by the attribute's name as a
// length-prefixed field ("6:Enable"); an "a" item (an attribute no column holds) carries its
// value as a second field. Length prefixes keep any text a value may hold.

struct TLayoutItem
{
    QString Name;
    bool Column = false;
    QString Value;
};

void appendField(QString &out, const QString &text)
{
    out += QString::number(text.size()) + QLatin1Char(':') + text;
}

QString encodeLayout(const QVector<TLayoutItem> &items)
{
    QString out;
    for (const TLayoutItem &item : items) {
        out += item.Column ? QLatin1Char('c') : QLatin1Char('a');
        appendField(out, item.Name);
        if (!item.Column)
            appendField(out, item.Value);
    }
    return out;
}

bool readField(const QString &s, qsizetype &i, QString &out)
{
    qsizetype j = i;
    qsizetype length = 0;
    for (; j < s.size() && s[j] >= u'0' && s[j] <= u'9'; ++j) {
        length = length * 10 + (s[j].unicode() - u'0');
        if (length > s.size())
            return false;
    }
    if (j == i || j >= s.size() || s[j] != u':' || length > s.size() - j - 1)
        return false;
    out = s.mid(j + 1, length);
    i = j + 1 + length;
    return true;
}

// Nothing for a text that is not a layout: the row is then written in the table's order.
std::optional<QVector<TLayoutItem>> decodeLayout(const QString &s)
{
    if (s.isEmpty())
        return std::nullopt;
    QVector<TLayoutItem> items;
    for (qsizetype i = 0; i < s.size();) {
        TLayoutItem item;
        const QChar kind = s[i++];
        if (kind != u'c' && kind != u'a')
            return std::nullopt;
        item.Column = kind == u'c';
        if (!readField(s, i, item.Name) || (!item.Column && !readField(s, i, item.Value)))
            return std::nullopt;
        items << item;
    }
    return items;
}

// A name the writer can put into a tag as it stands.
bool plainAttributeName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (c.isSpace() || c.unicode() < 0x20 || QStringView(u"=\"'<>&/?!").contains(c))
            return false;
    return true;
}

// The row's attributes: the layout's order, the attributes no column holds with their values,
// and a column the layout lacks right after the nearest earlier column (before the first later
// one when none precedes it).
void writeRowAttributes(plat::XmlNode &row, const TTableGroup &group, const TTableRow &cells)
{
    struct TOut
    {
        QString Name;
        QString Value;
        int Col; // -1: an attribute no column holds
    };
    const int columns = int(group.Columns.size());
    const auto cell = [&](int k) { return k < cells.size() ? cells[k] : QString(); };
    QVector<TOut> out;
    QVector<bool> written(columns, false);
    if (const auto items = decodeLayout(Table_Row_Layout(group, cells))) {
        for (const TLayoutItem &item : *items) {
            const int k = group.ColumnOf(item.Name);
            if (item.Column) {
                if (k >= 0 && !written[k]) {
                    written[k] = true;
                    out << TOut{item.Name, cell(k), k};
                }
            } else if (k < 0 && plainAttributeName(item.Name) &&
                       std::none_of(out.begin(), out.end(),
                                    [&](const TOut &o) { return o.Name == item.Name; })) {
                out << TOut{item.Name, item.Value, -1};
            }
        }
    }
    for (int k = 0; k < columns; ++k) {
        if (written[k])
            continue;
        qsizetype at = -1;
        for (qsizetype i = 0; i < out.size(); ++i)
            if (out[i].Col >= 0 && out[i].Col < k)
                at = i + 1;
        if (at < 0) {
            at = out.size();
            for (qsizetype i = 0; i < out.size(); ++i)
                if (out[i].Col > k) {
                    at = i;
                    break;
                }
        }
        out.insert(at, TOut{group.Columns[k].Attribute, cell(k), k});
    }
    for (const TOut &o : out)
        row.SetAttribute(o.Name, o.Value);
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
            writeRowAttributes(row, group, cells);
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
    if (const int leftOut = Total_Left_Out(); leftOut > 0)
        parts << Table_Message(Text_Rows_Left_Out, {QString::number(leftOut)});
    return parts.join(QLatin1Char('\n'));
}

QString Table_Row_Layout(const TTableGroup &group, const plat::XmlNode &row)
{
    QVector<TLayoutItem> items;
    bool inTableOrder = true;
    int last = -1;
    for (const plat::XmlAttribute &a : row.Attributes()) {
        const int k = group.ColumnOf(a.name);
        if (k < 0) {
            inTableOrder = false;
            items << TLayoutItem{a.name, false, a.value};
        } else {
            inTableOrder = inTableOrder && k > last;
            last = k;
            items << TLayoutItem{a.name, true, QString()};
        }
    }
    return inTableOrder ? QString() : encodeLayout(items);
}

QString Table_Message(int number, const QStringList &args)
{
    QString text = Lang_Texts.value(number);
    if (text.trimmed().isEmpty()) {
        const auto texts = res::englishTexts();
        const auto it =
            std::lower_bound(texts.begin(), texts.end(), number,
                             [](const res::EnglishText &t, int n) { return t.number < n; });
        if (it != texts.end() && it->number == number)
            text = QString::fromUtf16(it->text);
    }
    QString out;
    QVector<bool> used(args.size(), false);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            const int a = text[i + 1].unicode() - u'1';
            if (a < args.size()) {
                out += args[a];
                used[a] = true;
                ++i;
                continue;
            }
        }
        out += c;
    }
    for (qsizetype a = 0; a < args.size(); ++a)
        if (!used[a])
            out += QLatin1Char(' ') + args[a];
    return out;
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
    const std::vector<plat::XmlNode> found = root.ChildElements(name);
    const QString file = QDir::toNativeSeparators(path);
    if (found.empty())
        throw ETableFileError(Table_Message(Text_Group_Missing, {file, name}));
    if (found.size() > 1)
        throw ETableFileError(Table_Message(Text_Group_Twice, {file, name}));
    return found.front().ChildElements();
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
                    result.Error = Table_Message(
                        Text_Attribute_Missing,
                        {Where(desc, g, path), QString::number(r + 1), col.Attribute});
                    return result;
                }
            }
            if (const QString layout = Table_Row_Layout(group, rows[r]); !layout.isEmpty())
                cells << layout;
            out << cells;
        }
    }
    return result;
}
