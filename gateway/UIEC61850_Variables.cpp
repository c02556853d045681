#include "gateway/UIEC61850_Variables.h"

#include "common/UComon.h"
#include "common/UComon_Validators.h"
#include "common/ULanguage.h"
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

QString text(int number)
{
    return Lang_Texts.value(number);
}

QString iecRowCheck(const TTableDialog &dialog, const TQrlStringGrid &grid, int row)
{
    const auto cell = [&](int col) { return grid.GetCellEx(col, row); };

    const int32_t length = Table_Cell_Number(cell(Col_Length));
    if (length < 1 || length > 4)
        return text(Text_Length);

    const int dataSize = dialog.Data_Size.value(0, dialog.Desc().Grids.first().DataSize);
    const int32_t position = Table_Cell_Number(cell(Col_Position));
    if (position < 0 || position > dataSize - 1)
        return text(Text_Position) + QString::number(dataSize - 1);

    if (cell(Col_Type) == QLatin1String("Digital (Bit)") && cell(Col_Start_Bit).trimmed().isEmpty())
        return text(Text_Start_Bit);

    if (cell(Col_Conversion).trimmed().isEmpty())
        return text(Text_Conversion);

    // Either separator is taken whatever the regional settings say.
    const QString molt = cell(Col_Molt);
    float factor = 0;
    if (molt.trimmed().toUpper() != QLatin1String("NONE") &&
        !Str_To_Float_Sep(molt, Get_Decimal_Separator(), factor))
        return text(Text_Molt);

    return QString();
}

TTableGridColumn column(int header,
                        int hint,
                        int width,
                        TEditorType editor,
                        TColor color,
                        const QStringList &items = {})
{
    TTableGridColumn c;
    c.Header = header;
    c.Hint = hint;
    c.Width = width;
    c.Editor = editor;
    c.Combo = items.isEmpty() ? TTableCombo::tcNone : TTableCombo::tcItems;
    c.Items = items;
    c.Color = color;
    return c;
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
    const TColor orange = RGB(0xFF, 0xD8, 0xB0);
    const TColor cyan = RGB(0xE0, 0xFA, 0xFE);
    const TColor green = RGB(0xA8, 0xFF, 0xA8);
    const TColor yellow = RGB(0xFF, 0xFF, 0xA8);
    const TColor pink = RGB(0xFC, 0xD6, 0xF4);
    const TColor lilac = RGB(0xD5, 0xD5, 0xFF);

    TTableGridDesc g;
    g.Name = QStringLiteral("ACG");
    g.HeaderN = 914;
    g.DataSize = 1438;
    g.RowHeight = 22;
    g.Columns = {
        column(915, 922, 50, E::edDataCheckBox, orange),
        column(916, 923, 250, E::edNormal, cyan),
        column(917, 924, 80, E::edComboList, green, {"Int", "Float", "Digital (Bit)"}),
        column(918, 925, 65, E::edNormal, green),
        column(919, 926, 65, E::edDataCheckBox, yellow),
        column(920, 927, 80, E::edNormal, pink),
        column(932, 935, 60, E::edComboList, pink, {"0", "1", "2", "3", "4", "5", "6", "7"}),
        column(933, 936, 75, E::edComboList, lilac, {"None", "Int to Float", "Float to Int"}),
        column(934, 937, 75, E::edComboEdit, lilac, {"None"}),
        column(942, 944, 45, E::edDataCheckBox, lilac),
        column(943, 945, 80, E::edDataCheckBox, lilac),
        column(921, 928, 128, E::edNormal, clWhite),
    };
    g.Check = iecRowCheck;
    d.Grids << g;
    return d;
}

TFIEC61850_Variables::TFIEC61850_Variables(QWidget *parent)
    : TTableDialog(IEC61850_Variables_Desc(), parent)
{
    ACG()->SetHoverRow(true);
}
