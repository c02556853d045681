#include "gateway/UIEC61850_Variables.h"

#include "common/UComon.h"
#include "common/UComon_Validators.h"
#include "common/ULanguage.h"
#include "gateway/table/UTableColumns.h"
#include "grid/model/QrlColumnGrid.h"

namespace {

// Grid columns the check reads.
constexpr int Col_Type = 3;
constexpr int Col_Length = 4;
constexpr int Col_Position = 6;
constexpr int Col_Start_Bit = 7;
constexpr int Col_Conversion = 8;
constexpr int Col_Molt = 9;

constexpr int Text_Position = 930;
constexpr int Text_Start_Bit = 938;
constexpr int Text_Conversion = 939;
constexpr int Text_Molt = 940;
constexpr int Text_Length = 941;

QString iecRowCheck(const TTableDialog &dialog, const TQrlStringGrid &grid, int row)
{
    const TTableRowCells cells(grid, row);

    const int32_t length = cells.Number(Col_Length);
    if (length < 1 || length > 4)
        return Table_Text(Text_Length);

    const int dataSize = dialog.Data_Size.value(0, dialog.Desc().Grids.first().DataSize);
    const int32_t position = cells.Number(Col_Position);
    if (position < 0 || position > dataSize - 1)
        return Table_Text(Text_Position) + QString::number(dataSize - 1);

    if (cells.Text(Col_Type) == QLatin1String("Digital (Bit)") && cells.Blank(Col_Start_Bit))
        return Table_Text(Text_Start_Bit);

    if (cells.Blank(Col_Conversion))
        return Table_Text(Text_Conversion);

    // Either separator is taken whatever the regional settings say.
    const QString molt = cells.Text(Col_Molt);
    float factor = 0;
    if (!cells.Is(Col_Molt, u"NONE") && !Str_To_Float_Sep(molt, Get_Decimal_Separator(), factor))
        return Table_Text(Text_Molt);

    return QString();
}

} // namespace

TTableDialogDesc IEC61850_Variables_Desc()
{
    TTableDialogDesc d;
    d.Name = QStringLiteral("FIEC61850_Variables");
    d.ClientWidth = 1155;
    d.ClientHeight = 337;
    d.FilePath = [] { return File_IEC61850_Variables; };
    d.File = IEC61850_Variables_Table();
    d.CaptionText = 900;
    d.DescText = 901;
    d.ButtonTexts = {902, 903, 904, 905, 906, 907};
    d.ButtonHints = {908, 909, 910, 911, 912, 913};
    d.ErrorRowText = 929;
    d.DeleteRowText = 931;

    using E = TEditorType;
    using C = TTableCombo;
    namespace P = TablePalette;

    TTableGridDesc g;
    g.Name = QStringLiteral("ACG");
    g.HeaderN = 914;
    g.DataSize = 1438;
    g.RowHeight = 22;
    // clang-format off
    g.Columns = Table_Grid_Columns(d.File.Groups[0], {
        {.Attribute = "Enable", .Header = 915, .Hint = 922, .Width = 50,
         .Editor = E::edDataCheckBox, .Default = "Y", .Color = P::Enable},
        {.Attribute = "Name", .Header = 916, .Hint = 923, .Width = 250, .Color = P::Subject},
        {.Attribute = "Type", .Header = 917, .Hint = 924, .Width = 80, .Editor = E::edComboList,
         .Combo = C::tcItems, .Items = {"Int", "Float", "Digital (Bit)"}, .Color = P::Detail},
        {.Attribute = "Length", .Header = 918, .Hint = 925, .Width = 65, .Color = P::Detail},
        {.Attribute = "ReadOnly", .Header = 919, .Hint = 926, .Width = 65,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Flag},
        {.Attribute = "Position", .Header = 920, .Hint = 927, .Width = 80, .Color = P::Placement},
        {.Attribute = "StartBit", .Header = 932, .Hint = 935, .Width = 60,
         .Editor = E::edComboList, .Combo = C::tcItems,
         .Items = {"0", "1", "2", "3", "4", "5", "6", "7"}, .Color = P::Placement},
        {.Attribute = "Conversion", .Header = 933, .Hint = 936, .Width = 75,
         .Editor = E::edComboList, .Combo = C::tcItems,
         .Items = {"None", "Int to Float", "Float to Int"}, .Color = P::Conversion},
        {.Attribute = "MultiplicationFactor", .Header = 934, .Hint = 937, .Width = 75,
         .Editor = E::edComboEdit, .Combo = C::tcItems, .Items = {"None"},
         .Color = P::Conversion},
        {.Attribute = "Swap", .Header = 942, .Hint = 944, .Width = 45,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Conversion},
        {.Attribute = "SwapWord", .Header = 943, .Hint = 945, .Width = 80,
         .Editor = E::edDataCheckBox, .Default = "N", .Color = P::Conversion},
        {.Attribute = "Mnemonic", .Header = 921, .Hint = 928, .Width = 128, .Color = P::Comment},
    });
    // clang-format on
    g.Check = iecRowCheck;
    d.Grids << g;
    return d;
}

TFIEC61850_Variables::TFIEC61850_Variables(QWidget *parent)
    : TTableDialog(IEC61850_Variables_Desc(), parent)
{
    ACG()->SetHoverRow(true);
}
