#include "gateway/USetAccess.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "gateway/table/UTableColumns.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/text/StrConv.h"

namespace {

constexpr int Data_Image_Size = 1438;
constexpr int Read_Grid = 0;
constexpr int Write_Grid = 1;
constexpr int Read_Topic_Col = 12;

// Grid columns shared by both grids.
constexpr int Col_Slave = 2, Col_Type = 3, Col_Address = 4, Col_NPoint = 5, Col_PollTime = 6;

struct TRequestCols
{
    int MaxError, Position, StartBit;
};

// The part of the row check both grids share, from the Position on: the data the request moves
// must fit the image. Returns the message or empty.
QString checkPlacement(const TTableRowCells &cells,
                       const TRequestCols &cols,
                       int32_t nPoint,
                       bool bitType,
                       int dataSize,
                       int positionText,
                       int bitText,
                       int tooManyText)
{
    if (cells.Hidden(cols.Position))
        return {};
    const int32_t position = cells.Number(cols.Position);
    if (position < 0 || position > dataSize - 1)
        return Table_Text(positionText) + QString::number(dataSize - 1);
    int64_t last = 0;
    if (bitType) {
        if (cells.Blank(cols.StartBit))
            return Table_Text(bitText);
        const int32_t bit = std::max(0, cells.Number(cols.StartBit));
        last = int64_t(position) + (int64_t(nPoint) + bit - 1) / 8;
    } else {
        last = int64_t(position) + 2 * int64_t(nPoint) - 1;
    }
    return last >= dataSize ? Table_Text(tooManyText) : QString();
}

QString checkRead(const TTableDialog &dialog, const TQrlStringGrid &grid, int row)
{
    const TTableRowCells cells(grid, row);
    auto num = [&](int col) { return cells.Number(col); };
    const int32_t slave = num(Col_Slave);
    if (slave < 1 || slave > 247)
        return Table_Text(1269);
    if (cells.Blank(Col_Type))
        return Table_Text(1270);
    const bool bitType = cells.Is(Col_Type, u"Input Status") || cells.Is(Col_Type, u"Coil Status");
    const int32_t maxPoints = bitType ? 2000 : 125;
    const int32_t address = num(Col_Address);
    if (address < 0 || address > 65535)
        return Table_Text(1271);
    const int32_t nPoint = num(Col_NPoint);
    if (nPoint < 1 || nPoint > maxPoints)
        return Table_Text(1272) + QString::number(maxPoints);
    const int32_t poll = num(Col_PollTime);
    if (poll < 1 || poll > 100000000)
        return Table_Text(1289);
    const int32_t maxError = num(7);
    if (maxError < 0 || maxError > 100000000)
        return Table_Text(1274);
    const QString placement = checkPlacement(cells, {7, 8, 9}, nPoint, bitType,
                                             dialog.Data_Size.value(Read_Grid), 1275, 1276, 1277);
    if (!placement.isEmpty())
        return placement;
    if (!cells.Hidden(Read_Topic_Col) && cells.Blank(Read_Topic_Col))
        return Table_Text(1278);
    return {};
}

QString checkWrite(const TTableDialog &dialog, const TQrlStringGrid &grid, int row)
{
    const TTableRowCells cells(grid, row);
    auto num = [&](int col) { return cells.Number(col); };
    const int32_t slave = num(Col_Slave);
    if (slave < 1 || slave > 247)
        return Table_Text(1279);
    if (cells.Blank(Col_Type))
        return Table_Text(1280);
    const bool bitType = cells.Is(Col_Type, u"Coil Status");
    const int32_t maxPoints = bitType ? 1968 : 123;
    const int32_t address = num(Col_Address);
    if (address < 0 || address > 65535)
        return Table_Text(1281);
    const int32_t nPoint = num(Col_NPoint);
    if (nPoint < 1 || nPoint > maxPoints)
        return Table_Text(1282) + QString::number(maxPoints);
    const int32_t poll = num(Col_PollTime);
    if (poll < 0 || poll > 100000000)
        return Table_Text(1283);
    const int32_t maxError = num(9);
    if (maxError < 0 || maxError > 100000000)
        return Table_Text(1284);
    return checkPlacement(cells, {9, 10, 11}, nPoint, bitType, dialog.Data_Size.value(Write_Grid),
                          1285, 1286, 1287);
}

QStringList startBits()
{
    QStringList bits;
    for (int i = 0; i < 8; ++i)
        bits << QString::number(i);
    return bits;
}

} // namespace

TTableDialogDesc SetAccess_Desc()
{
    TTableDialogDesc d;
    d.Name = QStringLiteral("FSetAccess");
    d.ClientWidth = 1050;
    d.ClientHeight = 337;
    d.FilePath = [] { return File_ModbusM_SetAccess; };
    d.File = ModbusM_SetAccess_Table();
    d.CaptionText = 1200;
    d.DescText = 1201;
    d.ButtonTexts = {1202, 1203, 1204, 1205, 1206, 1207};
    d.ButtonHints = {1208, 1209, 1210, 1211, 1212, 1213};
    d.ErrorRowText = 1268;
    d.DeleteRowText = 1288;
    d.Layout = TFrameLayout::flTwoPages;

    TTableGridDesc read;
    read.Name = QStringLiteral("ACG_Modbus_Read");
    read.TabName = QStringLiteral("TS_Modbus_Read");
    read.TabText = 1214;
    read.HeaderN = 1216;
    read.DataSize = Data_Image_Size;
    using E = TEditorType;
    using C = TTableCombo;
    namespace P = TablePalette;
    const QStringList readTypes = {"Coil Status", "Input Status", "Holding Register",
                                   "Input Register"};
    // clang-format off
    read.Columns = Table_Grid_Columns(d.File.Groups[Read_Grid], {
        {.Attribute = "Enable", .Header = 1217, .Hint = 1243, .Width = 50,
         .Editor = E::edDataCheckBox, .Default = "Y", .Color = P::Enable},
        {.Attribute = "Slave_ID", .Header = 1218, .Hint = 1244, .Width = 60, .Color = P::Subject},
        {.Attribute = "Type", .Header = 1219, .Hint = 1245, .Width = 115,
         .Editor = E::edComboList, .Combo = C::tcItems, .Items = readTypes, .Color = P::Subject},
        {.Attribute = "Address", .Header = 1220, .Hint = 1246, .Width = 60, .Color = P::Subject},
        {.Attribute = "NPoint", .Header = 1221, .Hint = 1247, .Width = 64, .Color = P::Subject},
        {.Attribute = "PollTime", .Header = 1222, .Hint = 1248, .Width = 64, .Color = P::Detail},
        {.Attribute = "MaxError", .Header = 1223, .Hint = 1249, .Width = 64, .Color = P::Detail},
        {.Attribute = "Position", .Header = 1224, .Hint = 1250, .Width = 61,
         .Editor = E::edComboList, .Combo = C::tcPositions, .Color = P::Placement},
        {.Attribute = "Bit", .Header = 1225, .Hint = 1251, .Width = 64, .Editor = E::edComboList,
         .Combo = C::tcItems, .Items = startBits(), .Color = P::Placement},
        {.Attribute = "Swap", .Header = 1226, .Hint = 1252, .Width = 40,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Flag},
        {.Attribute = "SwapWord", .Header = 1290, .Hint = 1292, .Width = 80,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Flag},
        {.Attribute = "Index_Topic", .Header = 1242, .Hint = 1253, .Width = 120,
         .Editor = E::edComboList, .Default = "-1", .Color = P::Conversion, .Hidden = true},
        {.Attribute = "Mnemonic", .Header = 1227, .Hint = 1254, .Width = 120, .Color = P::Comment},
    });
    // clang-format on
    read.Check = checkRead;

    TTableGridDesc write;
    write.Name = QStringLiteral("ACG_Modbus_Write");
    write.TabName = QStringLiteral("TS_Modbus_Write");
    write.TabText = 1215;
    write.HeaderN = 1228;
    write.DataSize = Data_Image_Size;
    // clang-format off
    write.Columns = Table_Grid_Columns(d.File.Groups[Write_Grid], {
        {.Attribute = "Enable", .Header = 1229, .Hint = 1255, .Width = 50,
         .Editor = E::edDataCheckBox, .Default = "Y", .Color = P::Enable},
        {.Attribute = "Slave_ID", .Header = 1230, .Hint = 1256, .Width = 60, .Color = P::Subject},
        {.Attribute = "Type", .Header = 1231, .Hint = 1257, .Width = 115,
         .Editor = E::edComboList, .Combo = C::tcItems,
         .Items = {"Coil Status", "Holding Register"}, .Color = P::Subject},
        {.Attribute = "Address", .Header = 1232, .Hint = 1258, .Width = 60, .Color = P::Subject},
        {.Attribute = "NPoint", .Header = 1233, .Hint = 1259, .Width = 64, .Color = P::Subject},
        {.Attribute = "PollTime", .Header = 1234, .Hint = 1260, .Width = 64, .Color = P::Detail},
        {.Attribute = "OnChange", .Header = 1235, .Hint = 1261, .Width = 68,
         .Editor = E::edDataCheckBox, .Color = P::Detail},
        {.Attribute = "OnCMD", .Header = 1236, .Hint = 1262, .Width = 56,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Detail},
        {.Attribute = "MaxError", .Header = 1237, .Hint = 1263, .Width = 64, .Color = P::Detail},
        {.Attribute = "Position", .Header = 1238, .Hint = 1264, .Width = 64,
         .Editor = E::edComboList, .Combo = C::tcPositions, .Color = P::Placement},
        {.Attribute = "Bit", .Header = 1239, .Hint = 1265, .Width = 64, .Editor = E::edComboList,
         .Combo = C::tcItems, .Items = startBits(), .Color = P::Placement},
        {.Attribute = "Swap", .Header = 1240, .Hint = 1266, .Width = 40,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Flag},
        {.Attribute = "SwapWord", .Header = 1291, .Hint = 1293, .Width = 80,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Flag},
        {.Attribute = "Mnemonic", .Header = 1241, .Hint = 1267, .Width = 113, .Color = P::Comment},
    });
    // clang-format on
    write.Check = checkWrite;

    d.Grids = {read, write};
    return d;
}

TFSetAccess::TFSetAccess(QWidget *parent) : TTableDialog(SetAccess_Desc(), parent)
{
    ACG_Modbus_Read = ColumnGrid(Read_Grid);
    ACG_Modbus_Write = ColumnGrid(Write_Grid);
    TS_Modbus_Read = Tab_Sheets.value(Read_Grid);
    TS_Modbus_Write = Tab_Sheets.value(Write_Grid);
    for (TQrlColumnGrid *grid : {ACG_Modbus_Read, ACG_Modbus_Write}) {
        grid->SetHoverRow(true);
        for (int c = 1; c < grid->ColCount(); ++c) {
            TGridColumnItem *item = grid->Columns()->Items(c);
            if (item->Editor() == TEditorType::edDataCheckBox) {
                item->SetCheckTrue(QStringLiteral("Y"));
                item->SetCheckFalse(QStringLiteral("N"));
            }
        }
    }
    ACG_Modbus_Read->OnComboChange = [this](QObject *Sender, int ACol, int ARow, int AItemIndex,
                                            const QString &) {
        ComboChange(Sender, ACol, ARow, AItemIndex);
    };
}

void TFSetAccess::FormShow()
{
    NByte_IN = Data_Image_Size;
    NByte_OUT = Data_Image_Size;
    // Filled before the load, which sets the topic of each row it reads.
    ComboItem_Topic = QVector<int>(ACG_Modbus_Read->RowCount() - 1, -1);
    TTableDialog::FormShow();
}

void TFSetAccess::ComboChange(QObject *, int ACol, int ARow, int AItemIndex)
{
    if (ACol == Read_Topic_Col && ARow >= 1 && ARow <= ComboItem_Topic.size())
        ComboItem_Topic[ARow - 1] = AItemIndex;
}

int TFSetAccess::Get_Index_From_Topic(const QString &Topic, int Index) const
{
    if (Index >= 0 && Index < List_Publish_Topic.size() && List_Publish_Topic[Index] == Topic)
        return Index;
    return int(List_Publish_Topic.indexOf(Topic));
}

QString TFSetAccess::Get_Topic_From_Index(int Index) const
{
    return List_Publish_Topic.value(Index);
}

void TFSetAccess::Load_Value(int grid, int row, int k, const QString &value)
{
    const TTableColumn &col = Desc().File.Groups[grid].Columns[k];
    if (grid != Read_Grid || col.GridCol != Read_Topic_Col) {
        TTableDialog::Load_Value(grid, row, k, value);
        return;
    }
    bool ok = false;
    const int index = plat::Trim(value).toInt(&ok);
    if (row >= 1 && row <= ComboItem_Topic.size())
        ComboItem_Topic[row - 1] = ok ? index : -1;
    Set_Cell_Text(grid, Read_Topic_Col, row, Get_Topic_From_Index(ok ? index : -1));
}

QString TFSetAccess::Save_Value(int grid, int row, int k) const
{
    const TTableColumn &col = Desc().File.Groups[grid].Columns[k];
    if (grid != Read_Grid || col.GridCol != Read_Topic_Col)
        return TTableDialog::Save_Value(grid, row, k);
    return QString::number(Get_Index_From_Topic(Cell_Text(grid, Read_Topic_Col, row),
                                                ComboItem_Topic.value(row - 1, -1)));
}
