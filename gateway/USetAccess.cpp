#include "gateway/USetAccess.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/text/StrConv.h"

namespace {

constexpr int Data_Image_Size = 1438;
constexpr int Read_Grid = 0;
constexpr int Write_Grid = 1;
constexpr int Read_Topic_Col = 12;

QString lang(int n)
{
    return Lang_Texts.value(n);
}

// Grid columns shared by both grids.
constexpr int Col_Slave = 2, Col_Type = 3, Col_Address = 4, Col_NPoint = 5, Col_PollTime = 6;

struct TRequestCols
{
    int MaxError, Position, StartBit;
};

bool sameType(const QString &cell, const char *type)
{
    return plat::Trim(cell).compare(QLatin1String(type), Qt::CaseInsensitive) == 0;
}

// The part of the row check both grids share, from the Position on: the data the request moves
// must fit the image. Returns the message or empty.
QString checkPlacement(const TQrlStringGrid &grid,
                       int row,
                       const TRequestCols &cols,
                       int32_t nPoint,
                       bool bitType,
                       int dataSize,
                       int positionText,
                       int bitText,
                       int tooManyText)
{
    if (grid.IsHiddenColumn(cols.Position))
        return {};
    const int32_t position = Table_Cell_Number(grid.GetCellEx(cols.Position, row));
    if (position < 0 || position > dataSize - 1)
        return lang(positionText) + QString::number(dataSize - 1);
    int64_t last = 0;
    if (bitType) {
        const QString bitCell = grid.GetCellEx(cols.StartBit, row);
        if (plat::Trim(bitCell).isEmpty())
            return lang(bitText);
        const int32_t bit = std::max(0, Table_Cell_Number(bitCell));
        last = int64_t(position) + (int64_t(nPoint) + bit - 1) / 8;
    } else {
        last = int64_t(position) + 2 * int64_t(nPoint) - 1;
    }
    return last >= dataSize ? lang(tooManyText) : QString();
}

QString checkRead(const TTableDialog &dialog, const TQrlStringGrid &grid, int row)
{
    auto num = [&](int col) { return Table_Cell_Number(grid.GetCellEx(col, row)); };
    const int32_t slave = num(Col_Slave);
    if (slave < 1 || slave > 247)
        return lang(1269);
    const QString type = grid.GetCellEx(Col_Type, row);
    if (plat::Trim(type).isEmpty())
        return lang(1270);
    const bool bitType = sameType(type, "Input Status") || sameType(type, "Coil Status");
    const int32_t maxPoints = bitType ? 2000 : 125;
    const int32_t address = num(Col_Address);
    if (address < 0 || address > 65535)
        return lang(1271);
    const int32_t nPoint = num(Col_NPoint);
    if (nPoint < 1 || nPoint > maxPoints)
        return lang(1272) + QString::number(maxPoints);
    const int32_t poll = num(Col_PollTime);
    if (poll < 1 || poll > 100000000)
        return lang(1289);
    const int32_t maxError = num(7);
    if (maxError < 0 || maxError > 100000000)
        return lang(1274);
    const QString placement = checkPlacement(grid, row, {7, 8, 9}, nPoint, bitType,
                                             dialog.Data_Size.value(Read_Grid), 1275, 1276, 1277);
    if (!placement.isEmpty())
        return placement;
    if (!grid.IsHiddenColumn(Read_Topic_Col) &&
        plat::Trim(grid.GetCellEx(Read_Topic_Col, row)).isEmpty())
        return lang(1278);
    return {};
}

QString checkWrite(const TTableDialog &dialog, const TQrlStringGrid &grid, int row)
{
    auto num = [&](int col) { return Table_Cell_Number(grid.GetCellEx(col, row)); };
    const int32_t slave = num(Col_Slave);
    if (slave < 1 || slave > 247)
        return lang(1279);
    const QString type = grid.GetCellEx(Col_Type, row);
    if (plat::Trim(type).isEmpty())
        return lang(1280);
    const bool bitType = sameType(type, "Coil Status");
    const int32_t maxPoints = bitType ? 1968 : 123;
    const int32_t address = num(Col_Address);
    if (address < 0 || address > 65535)
        return lang(1281);
    const int32_t nPoint = num(Col_NPoint);
    if (nPoint < 1 || nPoint > maxPoints)
        return lang(1282) + QString::number(maxPoints);
    const int32_t poll = num(Col_PollTime);
    if (poll < 0 || poll > 100000000)
        return lang(1283);
    const int32_t maxError = num(9);
    if (maxError < 0 || maxError > 100000000)
        return lang(1284);
    return checkPlacement(grid, row, {9, 10, 11}, nPoint, bitType,
                          dialog.Data_Size.value(Write_Grid), 1285, 1286, 1287);
}

TTableGridColumn column(int header,
                        int hint,
                        int width,
                        TEditorType editor,
                        TColor color,
                        TTableCombo combo = TTableCombo::tcNone,
                        QStringList items = {},
                        bool hidden = false)
{
    return {header, hint, width, editor, combo, std::move(items), color, hidden};
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
    using E = TEditorType;
    const E check = E::edDataCheckBox, normal = E::edNormal, combo = E::edComboList;
    const TColor orange = 0xB0D8FF, cyan = 0xFEFAE0, green = 0xA8FFA8, pink = 0xF4D6FC,
                 yellow = 0xA8FFFF, violet = 0xFFD5D5;

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

    TTableGridDesc read;
    read.Name = QStringLiteral("ACG_Modbus_Read");
    read.TabName = QStringLiteral("TS_Modbus_Read");
    read.TabText = 1214;
    read.HeaderN = 1216;
    read.DataSize = Data_Image_Size;
    read.Columns = {
        column(1217, 1243, 50, check, orange),
        column(1218, 1244, 60, normal, cyan),
        column(1219, 1245, 115, combo, cyan, TTableCombo::tcItems,
               {"Coil Status", "Input Status", "Holding Register", "Input Register"}),
        column(1220, 1246, 60, normal, cyan),
        column(1221, 1247, 64, normal, cyan),
        column(1222, 1248, 64, normal, green),
        column(1223, 1249, 64, normal, green),
        column(1224, 1250, 61, combo, pink, TTableCombo::tcPositions),
        column(1225, 1251, 64, combo, pink, TTableCombo::tcItems, startBits()),
        column(1226, 1252, 40, check, yellow),
        column(1290, 1292, 80, check, yellow),
        column(1242, 1253, 120, combo, violet, TTableCombo::tcNone, {}, true),
        column(1227, 1254, 120, normal, clWhite),
    };
    read.Check = checkRead;

    TTableGridDesc write;
    write.Name = QStringLiteral("ACG_Modbus_Write");
    write.TabName = QStringLiteral("TS_Modbus_Write");
    write.TabText = 1215;
    write.HeaderN = 1228;
    write.DataSize = Data_Image_Size;
    write.Columns = {
        column(1229, 1255, 50, check, orange),
        column(1230, 1256, 60, normal, cyan),
        column(1231, 1257, 115, combo, cyan, TTableCombo::tcItems,
               {"Coil Status", "Holding Register"}),
        column(1232, 1258, 60, normal, cyan),
        column(1233, 1259, 64, normal, cyan),
        column(1234, 1260, 64, normal, green),
        column(1235, 1261, 68, check, green),
        column(1236, 1262, 56, check, green),
        column(1237, 1263, 64, normal, green),
        column(1238, 1264, 64, combo, pink, TTableCombo::tcPositions),
        column(1239, 1265, 64, combo, pink, TTableCombo::tcItems, startBits()),
        column(1240, 1266, 40, check, yellow),
        column(1291, 1293, 80, check, yellow),
        column(1241, 1267, 113, normal, clWhite),
    };
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
