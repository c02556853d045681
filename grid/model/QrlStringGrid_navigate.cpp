// Moving the cell cursor for code and keys: going to and editing a cell, the advance after an
// edit, and the grid's own answer to typed characters.
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <set>
#include <utility>

using plat::TGridCoord;
using plat::TGridOption;

namespace {

// The change guard is down again on every way out.
class TDisableChangeReset
{
public:
    explicit TDisableChangeReset(bool &flag) : m_flag(flag) {}
    ~TDisableChangeReset() { m_flag = false; }
    TDisableChangeReset(const TDisableChangeReset &) = delete;
    TDisableChangeReset &operator=(const TDisableChangeReset &) = delete;

private:
    bool &m_flag;
};

} // namespace

void TQrlStringGrid::GotoCell(int ACol, int ARow)
{
    SetRow(ARow);
    SetCol(ACol);
}

void TQrlStringGrid::EditCell(int ACol, int ARow)
{
    setFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TQrlStringGrid::FocusCell(int ACol, int ARow)
{
    SetSelection({ACol, ARow, ACol, ARow});
}

void TQrlStringGrid::MoveCurrentCell(int ACol, int ARow)
{
    MoveColRow(ACol, ARow, true, true);
}

int TQrlStringGrid::FirstNavigableCol() const
{
    const int fc = TBaseGrid::FixedCols();
    if (fc == 0 && const_cast<TQrlStringGrid *>(this)->HasNodes())
        return 1;
    return fc;
}

int TQrlStringGrid::VisibleFixedRightCols() const
{
    int n = d->fixedRightCols;
    const int total = TotalColCount();
    for (int i = 0; i < d->fixedRightCols; ++i)
        if (IsHiddenColumn(total - 1 - i))
            --n;
    return std::max(0, n);
}

// ---- the advance after an edit ----------------------------------------------------------------

void TQrlStringGrid::AdvanceAfterEdit(
    int ACol, int ARow, bool ShowEditor, bool Forward, bool AutoEdit, bool Force)
{
    TNavigation &nav = *d->navigation;
    if (!nav.AdvanceOnEnter() && !Force)
        return;
    if (d->mouseActions->RangeSelectAndEdit() && !Options().Contains(TGridOption::goEditing))
        SetOptions(Options() + TGridOption::goEditing);
    TDisableChangeReset guard(d->disableChange);

    d->aeCol = ACol;
    d->aeRow = ARow;
    const int c0 = ACol;
    const int r0 = ARow;
    d->startEditChar = QChar();
    const TAdvanceDirection dir = nav.AdvanceDirection();
    const int fixedRows = TBaseGrid::FixedRows();
    const int lastRow = RowCount() - d->fixedFooters - 1;

    // Skipping cells that cannot be edited ends where the walk stops moving or comes round to
    // a cell it has seen: then no editable cell is reachable and the cursor stays put.
    std::set<std::pair<int, int>> visited{{ACol, ARow}};
    bool inserted = false;
    int rc = 0;
    for (;;) {
        const TGridCoord s = CellSpan(ACol, ARow);
        const int fromCol = ACol;
        const int fromRow = ARow;
        const int lastRowNow = RowCount() - d->fixedFooters - 1;
        if (Forward &&
            (dir == TAdvanceDirection::adLeftRight || dir == TAdvanceDirection::adLeftRightInRow)) {
            if (ACol + s.X < ColCount() - VisibleFixedRightCols() - 1) {
                ACol = ACol + s.X + 1;
            } else if (dir == TAdvanceDirection::adLeftRightInRow) {
                if (nav.AdvanceOnEnterLoop())
                    ACol = FirstNavigableCol();
            } else if (ARow < lastRowNow) {
                ++ARow;
                ACol = FirstNavigableCol();
            } else if (nav.AdvanceInsert() && !inserted) {
                bool canAdd = true;
                DoCanAddRow(canAdd);
                ACol = FirstNavigableCol();
                if (canAdd) {
                    inserted = true;
                    AddRow();
                    ++ARow;
                    if (OnAutoAddRow)
                        OnAutoAddRow(this, RowCount() - d->fixedFooters - 1);
                    bool any = false;
                    for (int c = TBaseGrid::FixedCols(); c < ColCount() && !any; ++c)
                        any = IsEditable(RealColIndex(c), ARow);
                    if (!any)
                        return;
                }
            } else if (!nav.AdvanceInsert() && nav.AdvanceOnEnterLoop()) {
                ARow = fixedRows;
                ACol = FirstNavigableCol();
            }
        } else if (Forward) {
            if (ARow < lastRowNow) {
                ++ARow;
            } else if (dir == TAdvanceDirection::adTopBottomInCol) {
                ARow = fixedRows;
            } else {
                if (ACol + 1 != ColCount() - d->fixedRightCols) {
                    ARow = fixedRows;
                    ++ACol;
                    if (ACol >= ColCount())
                        ACol = FirstNavigableCol();
                } else if (nav.AdvanceInsert() && !inserted) {
                    inserted = true;
                    SetColCount(ColCount() + 1);
                    ACol = ACol + s.X + 1;
                    ARow = fixedRows;
                    if (OnAutoInsertCol)
                        OnAutoInsertCol(this, ColCount() - d->fixedRightCols - 1);
                } else if (!nav.AdvanceInsert()) {
                    ARow = fixedRows;
                    ACol = FirstNavigableCol();
                }
                Invalidate();
            }
        } else if (dir == TAdvanceDirection::adLeftRight) {
            if (ACol > FirstNavigableCol()) {
                --ACol;
            } else {
                ARow = ARow <= fixedRows ? lastRow : ARow - 1;
                ACol = ColCount() - d->fixedRightCols - 1;
            }
        } else if (dir == TAdvanceDirection::adTopBottom) {
            if (ARow > fixedRows) {
                --ARow;
            } else {
                ACol = ACol <= FirstNavigableCol() ? ColCount() - d->fixedRightCols - 1 : ACol - 1;
                ARow = lastRow;
            }
        }

        const bool moved = ACol != fromCol || ARow != fromRow;
        if (!moved || !visited.insert({ACol, ARow}).second)
            return;

        rc = RealColIndex(ACol);
        bool canEdit = true;
        QueryCanEdit(rc, ARow, canEdit);
        if (canEdit) {
            bool allow = true;
            if (OnAutoAdvance)
                OnAutoAdvance(this, d->aeRow, d->aeCol, ARow, ACol, allow);
            if (allow && OnCellChanging)
                OnCellChanging(this, d->aeRow, d->aeCol, ARow, ACol, allow);
            if (allow) {
                d->disableChange = true;
                SetCol(ACol);
                SetRow(ARow);
            } else {
                SelectCellHook(c0, r0);
            }
            d->disableChange = false;
            rc = RealColIndex(ACol);
            break;
        }
        if (!nav.AdvanceSkipReadOnlyCells()) {
            SetCol(ACol);
            SetRow(ARow);
            break;
        }
    }

    if (!ShowEditor)
        return;
    const bool clickable = HasClickableGraphic(rc, ARow);
    if ((AutoEdit && nav.AdvanceAutoEdit()) || clickable) {
        if (!IsEditable(rc, ARow))
            return;
        TBaseGrid::ShowEditor();
        if (clickable) {
            if (d->disableChange) {
                FocusCell(c0, r0);
                FocusCell(ACol, ARow);
            }
            if (!HasClickableGraphic(RealColIndex(c0), r0)) {
                // The press operates the graphic.
                const TRect r = CellRect(ACol, ARow);
                MouseDown(plat::TMouseButton::mbLeft,
                          plat::TShiftState{plat::TShiftStateItem::ssLeft}, r.Left + 2, r.Top + 2);
                MouseUp(plat::TMouseButton::mbLeft, plat::TShiftState{}, r.Left + 2, r.Top + 2);
                if (dir != TAdvanceDirection::adLeftRight)
                    HideEditor();
            }
            d->disableChange = false;
            bool allow = true;
            if (OnCellChanging)
                OnCellChanging(this, r0, c0, Row(), Col(), allow);
            TEditorType e = d->defaultEditor;
            QueryEditorType(RealColIndex(c0), r0, e);
            // A valid-characters cell is not among the kinds that keep their editor here.
            if (!IsTextEditorKind(e) || e == TEditorType::edValidChars)
                HideEditor();
        }
    }
    if (d->mouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(Row(), true);
    }
}

// ---- key press --------------------------------------------------------------------------------

void TQrlStringGrid::KeyPress(QChar &Key)
{
    GridKeyPress(Key);
}

void TQrlStringGrid::GridKeyPress(QChar &Key)
{
    const ushort code = Key.unicode();
    if (code == 27) {
        if (Options().Contains(TGridOption::goEditing) && Editing())
            RestoreCachedCellText();
        if (OnKeyPress)
            OnKeyPress(this, Key);
        return;
    }
    const int rc = RealCol();
    if (code == 13 && !d->navigation->AdvanceOnEnter() && !IsEditable(rc, Row())) {
        if (OnKeyPress)
            OnKeyPress(this, Key);
        Key = QChar();
        return;
    }
    if (code == 13) {
        const QWidget *fw = window()->focusWidget();
        const bool gridFocused = fw == this || fw == viewport();
        const bool clickable = HasClickableGraphic(rc, Row());
        if (!gridFocused || clickable) {
            AdvanceAfterEdit(Col(), Row(), EditMode(), true, false, false);
            if (!d->navigation->AdvanceAutoEdit()) {
                if (OnKeyPress)
                    OnKeyPress(this, Key);
                Key = QChar();
                return;
            }
            if (HasClickableGraphic(RealCol(), Row())) {
                if (OnKeyPress)
                    OnKeyPress(this, Key);
                if (d->navigation->AdvanceOnEnter())
                    ShowInplaceEdit();
                return;
            }
        }
    }
    if (!Options().Contains(TGridOption::goEditing) && d->navigation->AutoGotoWhenSorted() &&
        !Key.isNull()) {
        if (d->navigation->AutoGotoIncremental()) {
            if (code == 8)
                d->searchInc.chop(1);
            else
                d->searchInc += Key;
            d->searchTics = 0;
        } else {
            d->searchInc = Key;
        }
        // The first row whose text in the sort column starts with what was typed.
        const QString wanted = d->searchInc.toUpper();
        const int col = d->sortSettings->Column();
        int found = -1;
        if (!wanted.isEmpty() && col >= 0)
            for (int r = FixedRows(); r < RowCount() - d->fixedFooters; ++r)
                if (StripHTMLTags(GetCellEx(col, r)).toUpper().startsWith(wanted)) {
                    found = r;
                    break;
                }
        if (found < 0)
            d->searchInc.clear();
        else
            SetRow(found);
    }
    TBaseGrid::KeyPress(Key);
}

// ---- cell controls and the Tab step ---------------------------------------------------------

void TQrlStringGrid::FocusCellControl(int ACol, int ARow, const QString &ID)
{
    const QString next = NextHTMLEditControl(GetCellEx(ACol, ARow), ID);
    if (next.isEmpty()) {
        setFocus();
        return;
    }
    // Showing the control over the cell needs the mini-HTML layout, which is not there yet.
}
