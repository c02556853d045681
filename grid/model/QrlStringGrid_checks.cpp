// Check-box and radio-button cell state: adding and removing check cells, reading and writing
// their state, toggling, radio buttons and radio groups.
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

using plat::TGridCoord;

namespace {

const TCellTypes CheckKinds{TCellType::ctCheckBox, TCellType::ctDataCheckBox,
                            TCellType::ctVirtCheckBox, TCellType::ctRowCheckBox,
                            TCellType::ctTriStateCheckBox};
const TCellTypes DataKinds{TCellType::ctDataCheckBox, TCellType::ctVirtCheckBox,
                           TCellType::ctRowCheckBox};
const TCellTypes TextDrivenKinds{TCellType::ctDataCheckBox, TCellType::ctDataImage,
                                 TCellType::ctVirtCheckBox, TCellType::ctRowCheckBox};
const TCellTypes ClickableKinds{TCellType::ctCheckBox,     TCellType::ctDataCheckBox,
                                TCellType::ctRadio,        TCellType::ctButton,
                                TCellType::ctVirtCheckBox, TCellType::ctRowCheckBox,
                                TCellType::ctRadioButton,  TCellType::ctTriStateCheckBox};
const TCellTypes HitKinds{TCellType::ctCheckBox,     TCellType::ctDataCheckBox,
                          TCellType::ctVirtCheckBox, TCellType::ctRowCheckBox,
                          TCellType::ctRadioButton,  TCellType::ctTriStateCheckBox};

// A check cell of a real row: its kind and, for kinds with a graphic of their own, the graphic.
struct TCheckCell
{
    TCellType kind = TCellType::ctEmpty;
    TCellGraphic *graphic = nullptr;
};

TCheckCell realRowCheckCell(TQrlStringGrid &g, int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= g.TotalColCount() || ARow >= g.TotalRowCount())
        return {};
    // The row check box is the row's selection; its shared graphic holds nothing of its own.
    if (ACol == 0 && g.MouseActions()->HotmailRowSelect())
        return {TCellType::ctRowCheckBox, nullptr};
    TCellGraphic *cg = nullptr;
    if (QVector<void *> *objs = g.HiddenRowObjects(ARow)) {
        // A hidden cell without properties has no graphic: looking the row up as a display row
        // would answer another row's.
        const auto *p =
            ACol < objs->size() ? static_cast<const TCellProperties *>(objs->at(ACol)) : nullptr;
        cg = p ? dynamic_cast<TCellGraphic *>(p->GraphicObject()) : nullptr;
    } else {
        const TGridCoord b = g.BaseCell(ACol, g.DisplRowIndex(ARow));
        cg = g.GetCellGraphic(b.X, b.Y);
    }
    return cg ? TCheckCell{cg->CellType(), cg} : TCheckCell{};
}

TCellVAlign checkVAlign(TVAlignment v)
{
    switch (v) {
    case TVAlignment::vtaCenter:
        return TCellVAlign::vaCenter;
    case TVAlignment::vtaBottom:
        return TCellVAlign::vaBottom;
    default:
        return TCellVAlign::vaTop;
    }
}

TCheckBoxState nextTriState(TCheckBoxState s)
{
    switch (s) {
    case TCheckBoxState::cbUnchecked:
        return TCheckBoxState::cbGrayed;
    case TCheckBoxState::cbGrayed:
        return TCheckBoxState::cbChecked;
    default:
        return TCheckBoxState::cbUnchecked;
    }
}

} // namespace

// ---- adding and removing ----------------------------------------------------------------------

void TQrlStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    // Only shown rows have a cell to hold the graphic; a check after creating it would leak it.
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        throw EQrlGridError(QStringLiteral("Invalid cell"));
    CreateCellGraphic(ACol, ARow)
        ->SetCheckBox(State, Data, true, TCellHAlign::haBeforeText, checkVAlign(d->vAlignment));
    if (Data) {
        QString yes, no;
        QueryCheckTrue(ACol, ARow, yes);
        QueryCheckFalse(ACol, ARow, no);
        // A text that already reads as a state is the stored value; keep it.
        const QString text = GetCellEx(ACol, ARow);
        if (text != yes && text != no)
            SetCellEx(ACol, ARow, State ? yes : no);
    }
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TQrlStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        throw EQrlGridError(QStringLiteral("Invalid cell"));
    CreateCellGraphic(ACol, ARow)
        ->SetCheckBox(State, true, TCellHAlign::haBeforeText, checkVAlign(d->vAlignment));
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TQrlStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox)
{
    TUpdatePair update(*this);
    const int from = d->mouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (int r = from; r < RowCount(); ++r) {
        if (IsSummary(r))
            continue;
        if (IsNode(r))
            AddCheckBox(ACol, r, TCheckBoxState::cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TQrlStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State)
{
    TUpdatePair update(*this);
    const int from = d->mouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (int r = from; r < RowCount(); ++r)
        AddCheckBox(ACol, r, State);
}

void TQrlStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        return;
    // The graphic frees a custom glyph it owns.
    switch (GetCellType(ACol, ARow)) {
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctTriStateCheckBox:
        RemoveCellGraphic(ACol, ARow);
        break;
    default:
        break;
    }
}

void TQrlStringGrid::RemoveCheckBoxColumn(int ACol)
{
    TUpdatePair update(*this);
    const int from = d->mouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (int r = from; r < RowCount(); ++r)
        if (HasCheckBox(ACol, r))
            RemoveCheckBox(ACol, r);
}

void TQrlStringGrid::AddRadioButton(int ACol, int ARow, bool State)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        throw EQrlGridError(QStringLiteral("Invalid cell"));
    CreateCellGraphic(ACol, ARow)
        ->SetRadioButton(State, true, TCellHAlign::haBeforeText, checkVAlign(d->vAlignment));
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TQrlStringGrid::RemoveRadioButton(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        return;
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctRadioButton);
}

void TQrlStringGrid::AddRadioButtonColumn(int ACol)
{
    TUpdatePair update(*this);
    for (int r = FixedRows(); r < RowCount(); ++r)
        AddRadioButton(ACol, r, false);
}

void TQrlStringGrid::RemoveRadioButtonColumn(int ACol)
{
    TUpdatePair update(*this);
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (HasRadioButton(ACol, r))
            RemoveRadioButton(ACol, r);
}

// ---- kind tests -------------------------------------------------------------------------------

bool TQrlStringGrid::HasCheckBox(int ACol, int ARow)
{
    return ARow < RowCount() && ACol < TotalColCount() && HasGraphicOfType(ACol, ARow, CheckKinds);
}

bool TQrlStringGrid::HasDataCheckBox(int ACol, int ARow)
{
    return ARow < RowCount() && ACol < TotalColCount() && HasGraphicOfType(ACol, ARow, DataKinds);
}

bool TQrlStringGrid::HasRadioButton(int ACol, int ARow)
{
    return ARow < RowCount() && ACol < TotalColCount() &&
           HasGraphicOfType(ACol, ARow, TCellTypes{TCellType::ctRadioButton});
}

bool TQrlStringGrid::HasDataGraphic(int ACol, int ARow)
{
    return ARow < RowCount() && ACol < TotalColCount() &&
           HasGraphicOfType(ACol, ARow, TextDrivenKinds);
}

bool TQrlStringGrid::HasClickableGraphic(int ACol, int ARow)
{
    return ARow < RowCount() && ACol < TotalColCount() &&
           HasGraphicOfType(ACol, ARow, ClickableKinds);
}

bool TQrlStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        return false;
    const TGridCoord b = BaseCell(ACol, ARow);
    const TCellGraphic *cg = GetCellGraphic(b.X, b.Y);
    if (!cg || !HitKinds.Contains(cg->CellType()))
        return false;
    if (!d->mouseActions->PreciseCheckBoxCheck())
        return true;

    const TRect r = CellRect(DisplColIndex(b.X), b.Y);
    const int size = d->controlLook->CheckSize();
    int top = r.Top + (r.Height() - size) / 2;
    if (cg->CellVAlign() == TCellVAlign::vaTop)
        top = r.Top + 2;
    else if (cg->CellVAlign() == TCellVAlign::vaBottom)
        top = r.Bottom - size - 2;

    plat::TGridDrawState state;
    const TAlignment ha = CellVisuals(b.X, b.Y, state, false, false, false).hAlign;
    int left = r.Left + 2;
    if (ha == TAlignment::taRightJustify) {
        left = r.Right - size - 2;
        // The glyph sits before a right-aligned text.
        if (!GetCellEx(b.X, b.Y).isEmpty())
            left -= GetCellTextSize(b.X, b.Y, false, false).cx;
    } else if (ha == TAlignment::taCenter) {
        left = r.Left + (r.Width() - size) / 2;
    }
    return XPos >= left && XPos < left + size && YPos >= top && YPos < top + size;
}

// ---- reading and writing ----------------------------------------------------------------------

bool TQrlStringGrid::GetCheckBoxState(int ACol, int ARow, bool &State)
{
    const TCheckCell c = realRowCheckCell(*this, ACol, ARow);
    switch (c.kind) {
    case TCellType::ctCheckBox:
        State = c.graphic->CellBoolean();
        return true;
    case TCellType::ctTriStateCheckBox:
        State = c.graphic->CellCheckBoxState() == TCheckBoxState::cbChecked;
        return true;
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox: {
        QString yes;
        QueryCheckTrue(ACol, ARow, yes);
        State = GetCellsEx(ACol, ARow) == yes;
        return true;
    }
    case TCellType::ctRowCheckBox:
        if (ACol != 0)
            return false;
        // Row 0 stands for all rows.
        State = ARow == 0 ? GetCellGraphic(0, 0)->CellBoolean() : GetRowSelect(ARow);
        return true;
    default:
        return false;
    }
}

bool TQrlStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState &State)
{
    const TCheckCell c = realRowCheckCell(*this, ACol, ARow);
    if (c.kind == TCellType::ctTriStateCheckBox) {
        State = c.graphic->CellCheckBoxState();
        return true;
    }
    bool checked = false;
    if (!GetCheckBoxState(ACol, ARow, checked))
        return false;
    State = BoolToCheckBoxState(checked);
    return true;
}

bool TQrlStringGrid::IsChecked(int ACol, int ARow)
{
    bool checked = false;
    return GetCheckBoxState(ACol, ARow, checked) && checked;
}

TCheckBoxState TQrlStringGrid::BoolToCheckBoxState(bool bChecked)
{
    return bChecked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
}

bool TQrlStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    const TCheckCell c = realRowCheckCell(*this, ACol, ARow);
    switch (c.kind) {
    case TCellType::ctCheckBox:
        c.graphic->SetCellBoolean(State);
        if (!IsHiddenRow(ARow))
            RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
        return true;
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox: {
        QString text;
        if (State)
            QueryCheckTrue(ACol, ARow, text);
        else
            QueryCheckFalse(ACol, ARow, text);
        // The text goes to the same real row the graphic came from.
        SetCellsEx(ACol, ARow, text);
        return true;
    }
    case TCellType::ctRowCheckBox:
        if (ACol != 0)
            return false;
        SetRowSelect(ARow, State);
        return true;
    default:
        return false;
    }
}

bool TQrlStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State)
{
    const TCheckCell c = realRowCheckCell(*this, ACol, ARow);
    if (c.kind != TCellType::ctTriStateCheckBox)
        return false;
    c.graphic->SetCellCheckBoxState(State);
    if (!IsHiddenRow(ARow))
        RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
    return true;
}

bool TQrlStringGrid::ChangeCheckBoxState(int ACol, int ARow, bool State)
{
    if (ARow < 0 || ARow >= RowCount())
        return false;
    const int realRow = RealRowIndex(ARow);
    const TCheckCell c = realRowCheckCell(*this, ACol, realRow);
    switch (c.kind) {
    case TCellType::ctCheckBox:
        if (c.graphic->CellBoolean() != State) {
            c.graphic->SetCellBoolean(State);
            DoCheckBoxChange(ACol, ARow, State);
            RepaintCell(DisplColIndex(ACol), ARow);
        }
        return true;
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox: {
        QString yes, no;
        QueryCheckTrue(ACol, ARow, yes);
        QueryCheckFalse(ACol, ARow, no);
        const bool was = GetCellsEx(ACol, realRow) == yes;
        SetCellsEx(ACol, realRow, State ? yes : no);
        if (was != State)
            DoCheckBoxChange(ACol, ARow, State);
        return true;
    }
    case TCellType::ctRowCheckBox:
        if (ACol != 0)
            return false;
        if (GetRowSelect(realRow) != State) {
            SetRowSelect(realRow, State);
            DoCheckBoxChange(ACol, ARow, State);
        }
        return true;
    default:
        return false;
    }
}

void TQrlStringGrid::CheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        ChangeCheckBoxState(ACol, r, true);
    if (NumHiddenColumns() > 0)
        RepaintCol(DisplColIndex(ACol));
}

void TQrlStringGrid::UnCheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        ChangeCheckBoxState(ACol, r, false);
}

bool TQrlStringGrid::ToggleCheckBox(int ACol, int ARow)
{
    return DoToggleCheckBox(ACol, ARow, false);
}

// ---- radio buttons ----------------------------------------------------------------------------

bool TQrlStringGrid::IsRadioButtonChecked(int ACol, int ARow)
{
    if (!HasRadioButton(ACol, ARow))
        return false;
    const TGridCoord b = BaseCell(ACol, ARow);
    return GetCellGraphic(b.X, b.Y)->CellBoolean();
}

bool TQrlStringGrid::SetRadioButtonState(int ACol, int ARow, bool State)
{
    if (!HasRadioButton(ACol, ARow))
        return false;
    const TGridCoord b = BaseCell(ACol, ARow);
    TCellGraphic *cg = GetCellGraphic(b.X, b.Y);
    if (cg->CellBoolean() != State) {
        cg->SetCellBoolean(State);
        RepaintCell(DisplColIndex(b.X), b.Y);
    }
    return true;
}

void TQrlStringGrid::SetRadioButtonColumnIndex(int ACol, int Index)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetRadioButtonState(ACol, r, r == Index);
}

int TQrlStringGrid::GetRadioButtonColumnIndex(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r))
            return r;
    return -1;
}

// ---- toggling and selecting -------------------------------------------------------------------

bool TQrlStringGrid::DoToggleCheckBox(int ACol, int ARow, bool AskCanEdit)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        return false;
    const TGridCoord b = BaseCell(ACol, ARow);
    TCellGraphic *cg = GetCellGraphic(b.X, b.Y);
    if (!cg || !CheckKinds.Contains(cg->CellType()))
        return false;
    // Group auto-checking walks node spans; nodes are not built yet, so toggles stay local.
    if (AskCanEdit && !d->controlLook->CheckAlwaysActive()) {
        bool canEdit = true;
        QueryCanEdit(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }

    bool oldState = false;
    bool newState = false;
    bool textHeld = false;
    switch (cg->CellType()) {
    case TCellType::ctCheckBox:
        oldState = cg->CellBoolean();
        newState = !oldState;
        cg->SetCellBoolean(newState);
        break;
    case TCellType::ctTriStateCheckBox: {
        const TCheckBoxState prev = cg->CellCheckBoxState();
        const TCheckBoxState next = nextTriState(prev);
        cg->SetCellCheckBoxState(next);
        // The event reports what the box now shows.
        oldState = prev == TCheckBoxState::cbChecked;
        newState = next == TCheckBoxState::cbChecked;
        break;
    }
    case TCellType::ctRowCheckBox:
        // The row box is the row selection; column 0's text is left alone.
        if (b.Y < FixedRows()) {
            oldState = cg->CellBoolean();
            newState = !oldState;
            for (int r = FixedRows(); r < RowCount(); ++r)
                if (GetRowSelect(RealRowIndex(r)) != newState)
                    SetRowSelect(RealRowIndex(r), newState);
        } else {
            oldState = GetRowSelect(RealRowIndex(b.Y));
            newState = !oldState;
            SetRowSelect(RealRowIndex(b.Y), newState);
        }
        break;
    default: {
        QString yes, no;
        QueryCheckTrue(b.X, b.Y, yes);
        QueryCheckFalse(b.X, b.Y, no);
        oldState = GetCellEx(b.X, b.Y) == yes;
        newState = !oldState;
        SetCellEx(b.X, b.Y, newState ? yes : no);
        textHeld = true;
        break;
    }
    }

    RepaintCell(DisplColIndex(b.X), b.Y);
    DoCheckBoxChange(ACol, ARow, newState);

    // Undo writes texts back, so only a state kept in the text can be undone that way.
    if (textHeld && UndoRedo()) {
        QString yes, no;
        QueryCheckTrue(b.X, b.Y, yes);
        QueryCheckFalse(b.X, b.Y, no);
        UndoRedo()->RegisterChange(b.X, b.Y, oldState ? yes : no, newState ? yes : no);
    }
    return true;
}

namespace {
// The graphic of kind `type` at the base cell of (ACol, ARow) when the cell may be changed
// (askCanEdit: the grid is asked), else null.
TCellGraphic *changeableGraphic(
    TQrlStringGrid &g, int ACol, int ARow, TCellType type, bool askCanEdit, TGridCoord &base)
{
    if (ACol < 0 || ARow < 0 || ACol >= g.TotalColCount() || ARow >= g.RowCount())
        return nullptr;
    base = g.BaseCell(ACol, ARow);
    TCellGraphic *cg = g.GetCellGraphic(base.X, base.Y);
    if (!cg || cg->CellType() != type)
        return nullptr;
    if (askCanEdit) {
        bool canEdit = true;
        g.QueryCanEdit(ACol, ARow, canEdit);
        if (!canEdit)
            return nullptr;
    }
    return cg;
}
} // namespace

bool TQrlStringGrid::DoSelectRadioButton(int ACol, int ARow, bool AskCanEdit)
{
    TGridCoord b;
    TCellGraphic *cg = changeableGraphic(*this, ACol, ARow, TCellType::ctRadioButton,
                                         AskCanEdit && !d->controlLook->CheckAlwaysActive(), b);
    if (!cg)
        return false;
    if (cg->CellBoolean())
        return true;

    cg->SetCellBoolean(true);
    RepaintCell(DisplColIndex(b.X), b.Y);
    for (int r = 0; r < RowCount(); ++r) {
        TCellGraphic *other = r == b.Y ? nullptr : GetCellGraphic(b.X, r);
        if (other && other != cg && other->CellType() == TCellType::ctRadioButton &&
            other->CellBoolean()) {
            other->SetCellBoolean(false);
            RepaintCell(DisplColIndex(b.X), r);
        }
    }
    // Hidden rows come back later; one of theirs left on would make two.
    for (int i = 0; i < NumHiddenRows(); ++i) {
        const QVector<void *> &objs = HiddenRowItem(i)->Objects();
        const auto *p =
            b.X < objs.size() ? static_cast<const TCellProperties *>(objs.at(b.X)) : nullptr;
        auto *other = p ? dynamic_cast<TCellGraphic *>(p->GraphicObject()) : nullptr;
        if (other && other->CellType() == TCellType::ctRadioButton)
            other->SetCellBoolean(false);
    }
    return true;
}

bool TQrlStringGrid::AdvanceRadio(int ACol, int ARow, bool AskCanEdit)
{
    TGridCoord b;
    TCellGraphic *cg = changeableGraphic(*this, ACol, ARow, TCellType::ctRadio,
                                         AskCanEdit && !d->controlLook->RadioAlwaysActive(), b);
    if (!cg)
        return false;
    const QStringList *items = cg->CellBitmap().As<QStringList>();
    // A group without items has nothing to step to.
    if (!items || items->isEmpty())
        return false;
    int index =
        cg->CellIndex() >= 0 ? cg->CellIndex() + 1 : items->indexOf(GetCellEx(b.X, b.Y)) + 1;
    if (index >= items->size())
        index = 0;
    // Below -1 the cell text alone drives the index.
    if (cg->CellIndex() >= -1)
        cg->SetCellIndex(index);
    cg->SetCellVar(index);
    SetCellEx(b.X, b.Y, items->at(index));
    RepaintCell(DisplColIndex(b.X), b.Y);
    return true;
}
