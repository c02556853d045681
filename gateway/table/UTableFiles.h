// Table files: one XML document per table, a root element followed by the comment
// "SW_VERSION = <version>", the rows (directly under the root or inside one group element per
// grid) as <row> elements whose attributes are the grid's columns.
//
// The layout is written and read over a neutral row store, so the table dialogs (which copy it
// to and from their grids) and the image compiler (which reads the same files) share one
// description of each file.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <stdexcept>
#include <vector>

namespace plat {
class XmlDocument;
class XmlNode;
} // namespace plat

class ETableFileError : public std::runtime_error
{
public:
    explicit ETableFileError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

// One column of a table: the attribute that stores it, the dialog grid column that shows it and
// what the dialog gets when the attribute is missing.
struct TTableColumn
{
    QString Attribute;
    int GridCol = 0;
    QString Default;       // cell text for a missing attribute
    bool Required = false; // a missing attribute stops the load (no default)
};

// The rows of one grid: directly under the root (Name empty) or in the group element Name.
struct TTableGroup
{
    QString Name;
    int KeyColumn = 0; // index into Columns; the first row whose key is blank ends the group
    int Capacity = 0;  // data rows of the dialog's grid
    QVector<TTableColumn> Columns;

    // Index into Columns of the attribute, -1 when the group has no such column.
    int ColumnOf(const QString &attribute) const;
};

struct TTableFileDesc
{
    QString FileName; // name inside the configuration folder
    QString Root;
    QString Version;             // goes into the "SW_VERSION = " comment
    QVector<TTableGroup> Groups; // one entry with an empty name for a table without groups

    bool Grouped() const { return !Groups.isEmpty() && !Groups.first().Name.isEmpty(); }
};

// The three tables of this gateway.
const TTableFileDesc &TLS_Known_Cert_Table();     // TLS_Known_Cert.xml
const TTableFileDesc &IEC61850_Variables_Table(); // IEC61850_Variables.xml
const TTableFileDesc &ModbusM_SetAccess_Table();  // ModbusM_SetAccess.xml
// Group indexes of ModbusM_SetAccess.xml.
inline constexpr int Modbus_Read_Group = 0;
inline constexpr int Modbus_Write_Group = 1;

// Neutral row store: per group (in the table's order) its rows, each row the cell texts in the
// group's column order.
//
// A row of a file may carry attributes that no column of its table holds (the image compiler
// reads some that no dialog edits), or its attributes may stand in another order than the
// table's. Such a row is loaded with one more entry after its cells, its layout: the attribute
// order and the values of the attributes no column holds. The writer follows it, so opening and
// saving a table keeps those attributes, in their place. A row in the table's order without
// other attributes has no layout entry.
using TTableRow = QStringList;
using TTableRows = QVector<TTableRow>;
using TTableData = QVector<TTableRows>;

// An empty store for desc: one empty row list per group.
TTableData Empty_Table_Data(const TTableFileDesc &desc);

// The layout entry of a file row (see TTableRow), empty when the row needs none.
QString Table_Row_Layout(const TTableGroup &group, const plat::XmlNode &row);
// The layout entry of a row of group, empty when it has none.
inline QString Table_Row_Layout(const TTableGroup &group, const TTableRow &row)
{
    return row.value(group.Columns.size());
}

// Replaces the file at path with the table. Each group is written, empty or not, with its rows up
// to the first whose key cell is blank; attribute values are the cell texts exactly as given, in
// the order of the row's layout entry when it has one, else in the table's. A cell missing at
// the end of a short row is written as "". Throws plat::EXmlError when the file cannot be
// written (the old file then stays whole).
void Write_Table_File(const TTableFileDesc &desc, const TTableData &data, const QString &path);

struct TTableLoadResult
{
    bool File_Found = false;
    TTableData Rows;       // per group, at most Capacity rows
    QVector<int> Left_Out; // per group: rows of the file beyond the grid's capacity
    QString Error;         // why the load stopped early; the rows read before it are in Rows

    bool Ok() const { return Error.isEmpty(); }
    int Total_Left_Out() const;
    // What the dialog tells the user after loading (error and/or left-out rows); empty when there
    // is nothing to tell.
    QString Message() const;
};

// Loads the table for a dialog. No file: every group empty. Each attribute is read on its own:
// present, its text as it stands; missing, the column's default, or, for a required column, the
// load stops there with Error naming the file, group, row and attribute (cells not read yet are
// left empty). A file that is not well-formed (see plat::XmlDocument::LoadFile), lacks a group
// or holds one twice also sets Error. Rows carry their layout entry where they need one.
TTableLoadResult Load_Table_File(const TTableFileDesc &desc, const QString &path);

// The row elements of one group of a loaded document: the element children of the document
// element (table without groups) or of its group element, whatever their names, in file order.
// Throws ETableFileError when a grouped file lacks the group or holds it more than once (a reader
// would see only the first).
// Text number of the UI text table with %1, %2, ... replaced by args in one pass; an argument
// whose placeholder a translation lost is appended. Falls back to the built-in English text when
// the table holds none (before the texts are loaded).
QString Table_Message(int number, const QStringList &args = {});

// Numbers of the messages about table files and the files behind the dialogs (English texts in
// resources/EnglishTexts.cpp).
inline constexpr int Text_Group_Missing = 1106;         // %1 file, %2 group
inline constexpr int Text_Group_Twice = 1107;           // %1 file, %2 group
inline constexpr int Text_Attribute_Missing = 1108;     // %1 file (and group), %2 row, %3 attribute
inline constexpr int Text_Rows_Left_Out = 1109;         // %1 rows beyond the table's capacity
inline constexpr int Text_Partial_File = 1110;          // %1 file shown only in part
inline constexpr int Text_Save_Anyway = 1111;           // the question that ends the two above
inline constexpr int Text_Rows_After_Blank_Key = 1112;  // %1 row, %2 key column, %3 rows below
inline constexpr int Text_File_Not_Loaded = 1113;       // %1 file; the reason follows
inline constexpr int Text_Replace_Unloaded_File = 1114; // %1 file

std::vector<plat::XmlNode> Table_Group_Rows(const plat::XmlDocument &doc,
                                            const TTableFileDesc &desc,
                                            int group,
                                            const QString &path);
