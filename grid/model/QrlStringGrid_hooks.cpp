// Per-cell query hooks: a default answer first, then the application's event may change it.
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/ui/Canvas.h"

using plat::TGridDrawState;
using plat::TGridRect;

void TQrlStringGrid::DoCanEditCell(int ACol, int ARow, bool &CanEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TQrlStringGrid::DoSearchFooterAction(const QString &Value,
                                          int ACol,
                                          int ARow,
                                          TSearchFooterAction SearchAction)
{
    if (OnSearchFooterAction)
        OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TQrlStringGrid::DoButtonClick(int ACol, int ARow)
{
    if (OnButtonClick)
        OnButtonClick(this, ACol, ARow);
}

void TQrlStringGrid::DoExpandClick(int ACol, int ARow, bool Expanded)
{
    if (OnExpandClick)
        OnExpandClick(this, ACol, ARow, Expanded);
    SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void TQrlStringGrid::DoComboCloseUp(int ACol, int ARow)
{
    if (OnComboCloseUp)
        OnComboCloseUp(this, ARow, ACol);
}

void TQrlStringGrid::DoComboDropDown(int ACol, int ARow)
{
    if (OnComboDropDown)
        OnComboDropDown(this, ARow, ACol);
}

void TQrlStringGrid::DoGetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor)
        return;
    Qt::CursorShape c = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, c);
    viewport()->setCursor(c);
}

void TQrlStringGrid::QueryCellHint(int ACol, int ARow, QString &hintstr)
{
    if (OnGridHint)
        OnGridHint(this, ARow, ACol, hintstr);
    if (OnGridWideHint) {
        QString wide;
        OnGridWideHint(this, ARow, ACol, wide);
        if (!wide.isEmpty())
            hintstr = EncodeWideCellText(wide);
    }
}

void TQrlStringGrid::QueryCellColor(
    int ACol, int ARow, TFont *AFont, TBrush *ABrush, TGridDrawState AState)
{
    if (d->activeCellShow) {
        const int fc = TBaseGrid::FixedCols();
        const int fr = TBaseGrid::FixedRows();
        const bool rowHeader = fc > 0 && ARow == Row() && ACol == fc - 1;
        const bool colHeader = fr > 0 && ACol == DisplColIndex(Col()) && ARow == fr - 1;
        if (rowHeader || colHeader) {
            if (AFont)
                AFont->Assign(d->activeCellFont);
            if (ABrush)
                ABrush->SetColor(d->activeCellColor);
        }
    }
    if (HasCellProperties(ACol, ARow)) {
        const TCellProperties *p = GetGridObject(ACol, ARow);
        switch (GetCellType(ACol, ARow)) {
        case TCellType::ctEmpty:
        case TCellType::ctIcon:
        case TCellType::ctNone:
        case TCellType::ctImageList:
        case TCellType::ctImages:
        case TCellType::ctComment:
            if (ABrush && p->BrushColor() != clNone)
                ABrush->SetColor(p->BrushColor());
            break;
        default:
            break;
        }
        if (AFont) {
            if (p->FontColor() != clNone)
                AFont->SetColor(p->FontColor());
            if (!p->FontStyle().IsEmpty())
                AFont->SetStyle(p->FontStyle());
            if (p->FontSize() != 0)
                AFont->SetSize(p->FontSize());
            if (!p->FontName().isEmpty())
                AFont->SetName(p->FontName());
        }
    }
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TQrlStringGrid::QueryCellPrintColor(
    int ACol, int ARow, TFont *AFont, TBrush *ABrush, TGridDrawState AState)
{
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TQrlStringGrid::QueryCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (d->grouping->HeaderUnderline() && ACol > 0 && IsNode(ARow)) {
        Borders = TCellBorders{TCellBorder::cbBottom};
        if (APen) {
            APen->SetColor(d->grouping->HeaderLineColor());
            APen->SetWidth(d->grouping->HeaderLineWidth());
        }
    }
    if (d->grouping->SummaryLine() && ACol > 0 && IsSummary(ARow)) {
        Borders = TCellBorders{TCellBorder::cbTop};
        if (APen) {
            APen->SetColor(d->grouping->SummaryLineColor());
            APen->SetWidth(d->grouping->SummaryLineWidth());
        }
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TQrlStringGrid::QueryCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TQrlStringGrid::QueryCellAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign)
{
    if (ACol == 0 && d->mouseActions->HotmailRowSelect())
        HAlign = TAlignment::taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TQrlStringGrid::QueryCellFormat(int ACol,
                                     TSortStyle &AStyle,
                                     QString &aPrefix,
                                     QString &aSuffix)
{
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TQrlStringGrid::QuerySpinEditorType(int ACol, int ARow, TEditorType &AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TQrlStringGrid::QueryEditorType(int ACol, int ARow, TEditorType &AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TQrlStringGrid::QueryNoEditor(int ACol, int ARow)
{
    if (!OnGetEditorType)
        return false;
    TEditorType e = TEditorType::edNormal;
    OnGetEditorType(this, ACol, ARow, e);
    return e == TEditorType::edNone;
}

void TQrlStringGrid::QueryFixedCell(int ACol, int ARow, bool &IsFixed)
{
    const int fr = TBaseGrid::FixedRows();
    const int fc = TBaseGrid::FixedCols();
    IsFixed =
        IsFixed || (d->fixedRowAlways && RowCount() == d->fixedRowsMin && ARow < d->fixedRowsMin);
    IsFixed =
        IsFixed || (d->fixedColAlways && ColCount() == d->fixedColsMin && ACol < d->fixedColsMin);
    IsFixed = IsFixed || ACol < fc || ARow < fr;
    if (!IsFixed && OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TQrlStringGrid::QueryCanEdit(int ACol, int ARow, bool &CanEdit)
{
    const plat::TGridCoord b = BaseCell(ACol, ARow);
    if (HasCellProperties(b.X, b.Y) && CanEdit) {
        CanEdit = !GetReadOnly(b.X, b.Y);
        if (!Options().Contains(plat::TGridOption::goEditing) && !d->editDisable &&
            !d->mouseActions->RangeSelectAndEdit())
            CanEdit = false;
    }
    if (b.X < ColCount() + NumHiddenColumns())
        DoCanEditCell(b.X, b.Y, CanEdit);
    else
        CanEdit = true;
}

void TQrlStringGrid::QueryPasswordCell(int ACol, int ARow, bool &IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TQrlStringGrid::QueryWordWrap(int ACol, int ARow, bool &WordWrap)
{
    if (OnGetWordWrap)
        OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TQrlStringGrid::QueryHasCombo(int ACol, int ARow)
{
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (!d->controlLook->DropDownAlwaysVisible())
        return false;
    TEditorType e = d->defaultEditor;
    QueryEditorType(ACol, ARow, e);
    return e == TEditorType::edComboEdit || e == TEditorType::edComboList;
}

bool TQrlStringGrid::QueryHasSpin(int ACol, int ARow)
{
    if (ACol < TBaseGrid::FixedCols() || ARow < FixedRows())
        return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (!d->controlLook->SpinButtonsAlwaysVisible())
        return false;
    TEditorType e = d->defaultEditor;
    QuerySpinEditorType(ACol, ARow, e);
    return e == TEditorType::edSpinEdit || e == TEditorType::edFloatSpinEdit ||
           e == TEditorType::edTimeSpinEdit || e == TEditorType::edDateSpinEdit;
}

void TQrlStringGrid::QueryCheckTrue(int ACol, int ARow, QString &Value)
{
    Value = d->checkTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, Value);
}

void TQrlStringGrid::QueryCheckFalse(int ACol, int ARow, QString &Value)
{
    Value = d->checkFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, Value);
}

void TQrlStringGrid::GetCellDefaults(int ACol,
                                     int ARow,
                                     TFont &AFont,
                                     TBrush &ABrush,
                                     TColor &ColorTo,
                                     TColor &MirrorColor,
                                     TColor &MirrorColorTo,
                                     TAlignment &HAlign,
                                     TVAlignment &VAlign,
                                     bool &WW,
                                     TCellGradientDirection &GD)
{
    TGridDrawState state;
    GetVisualProperties(ACol, ARow, state, false, false, true, ABrush, ColorTo, MirrorColor,
                        MirrorColorTo, AFont, HAlign, VAlign, WW, GD);
    const auto display = d->backGround->Display();
    if (IsFixed(ACol, ARow) || d->bands->Active() ||
        display == TBackGroundDisplay::bdGradientHorz ||
        display == TBackGroundDisplay::bdGradientVert ||
        state.Contains(plat::TGridDrawStateItem::gdSelected)) {
        ABrush.SetColor(clNone);
        ColorTo = clNone;
    }
}

bool TQrlStringGrid::IsFixed(int ACol, int ARow)
{
    // A merged cell is fixed as its base cell is; footers and right fixed columns are fixed
    // whatever the hook says.
    const plat::TGridCoord b = BaseCell(RealColIndex(ACol), ARow);
    const int c = DisplColIndex(b.X);
    if (b.Y >= RowCount() - d->fixedFooters)
        return true;
    if (d->fixedRightCols > 0 && c >= ColCount() - d->fixedRightCols && c <= ColCount() - 1)
        return true;
    bool fixed = false;
    QueryFixedCell(c, b.Y, fixed);
    return fixed;
}
