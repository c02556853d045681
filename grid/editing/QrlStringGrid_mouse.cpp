// Mouse clicks, the left press: what a press means per kind of cell before (or instead of) the
// framework's own press, the mouse-down hook around it, radio groups and fixed-cell editing.
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/display/QrlHTMLEngine.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"

#include "platform/ui/Canvas.h"

#include <QDesktopServices>
#include <QMenu>
#include <QRegularExpression>
#include <QUrl>

#include <cmath>
#include <utility>

using plat::TGridCoord;
using plat::TGridOption;
using plat::TGridRect;
using plat::TMouseButton;
using plat::TShiftState;
using plat::TShiftStateItem;

namespace {

// Holds a flag at a value for a scope.
// Alt before Shift before Ctrl: the one modifier a press acts on.
enum class TPressKey { none, alt, shift, ctrl };

TPressKey pressKeyOf(TShiftState Shift)
{
    if (Shift.Contains(TShiftStateItem::ssAlt))
        return TPressKey::alt;
    if (Shift.Contains(TShiftStateItem::ssShift))
        return TPressKey::shift;
    if (Shift.Contains(TShiftStateItem::ssCtrl))
        return TPressKey::ctrl;
    return TPressKey::none;
}

// Pixels from a header cell's left or right edge that grab the column border.
constexpr int BorderGrab = 4;

// "R<row>C<col>" of a cell link.
bool parseRCRef(const QString &Ref, int &ARow, int &ACol)
{
    static const QRegularExpression re(QStringLiteral("^R(\\d+)C(\\d+)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(Ref.trimmed());
    if (!m.hasMatch())
        return false;
    bool okR = false;
    bool okC = false;
    ARow = m.captured(1).toInt(&okR);
    ACol = m.captured(2).toInt(&okC);
    return okR && okC;
}

} // namespace

// ---- the mouse-down override ------------------------------------------------------------------

void TQrlStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    PanMouseDown(Button, Shift, X, Y);
    // Presses the grid's own code sends (the Tab walk, a simulated cell click) click nothing
    // in the cell: they only move the cursor as the framework does.
    const bool message = std::exchange(ed->mouse.mouseMessage, false);
    if (message && Button == TMouseButton::mbLeft && !Shift.Contains(TShiftStateItem::ssDouble))
        leftPress(Shift, X, Y);
    else if (message && Button == TMouseButton::mbRight &&
             !Shift.Contains(TShiftStateItem::ssDouble))
        rightPress(Shift, X, Y);
    else
        MouseDownHook(Button, Shift, X, Y);
}

bool TQrlStringGrid::viewportEvent(QEvent *e)
{
    if (e->type() == QEvent::Enter)
        AttachCellHints();
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        TFlagScope message(ed->mouse.mouseMessage, true);
        return TBaseGrid::viewportEvent(e);
    }
    case QEvent::Leave: {
        const bool used = TBaseGrid::viewportEvent(e);
        MouseLeaveMessageHook();
        return used;
    }
    default:
        return TBaseGrid::viewportEvent(e);
    }
}

void TQrlStringGrid::clickCell(int ACol, int ARow)
{
    if (OnClickCell)
        OnClickCell(this, ARow, ACol);
}

// ---- left press -------------------------------------------------------------------------------

void TQrlStringGrid::leftPress(TShiftState Shift, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    const bool goEditing = Options().Contains(TGridOption::goEditing);
    ed->mouse.lastPress = {X, Y};

    ed->mouse.doOnClick = ed->mouse.mouseDownMove = ed->mouse.mouseKeepDown = true;
    ed->spinUpClick = ed->spinDnClick = false;
    const TGridRect s0 = Selection();

    TGridCoord cell = MouseCoord(X, Y);
    int ACol = cell.X;
    int ARow = cell.Y;

    if (selectionResizerPress(X, Y))
        return;

    if (goEditing && ma.RangeSelectAndEdit() && !s0.Contains(ACol, ARow))
        SetOptions(Options() - TGridOption::goEditing);

    bool allow = true;
    if (OnCanClickCell)
        OnCanClickCell(this, ARow, ACol, allow);
    if (!allow)
        return;

    if (d->cellSelectorMode) {
        CellSelectorClick(ACol, ARow);
        return;
    }

    const TPressKey key = pressKeyOf(Shift);
    const bool fixedArea = ACol >= 0 && ARow >= 0 && (ARow < FixedRows() || ACol < FixedCols());

    if (ma.DisjunctCellSelect() && key != TPressKey::ctrl && ACol >= 0 && ARow >= 0 && !fixedArea &&
        !IsFixed(ACol, ARow)) {
        ClearSelectedCells();
        Invalidate();
    }

    d->searchInc.clear();
    ed->mouse.moveColInd = ed->mouse.moveRowInd = -1;
    ed->mouse.selectionClick = false;
    ed->pushedCellButton = {-1, -1};
    ed->mouse.oldKeepLeftCol = LeftCol();
    ed->mouse.oldTopRow = TopRow();
    {
        // Up and left of the point, so a press just past a border still names the line before.
        const TGridCoord c = MouseCoord(ACol == 0 ? X : X - 5, ARow == 0 ? Y : Y - 4);
        dsp->colClicked = c.X;
        dsp->rowClicked = c.Y;
        dsp->colClickedSize = c.X >= 0 ? ColWidths(c.X) : 0;
        dsp->rowClickedSize = c.Y >= 0 ? RowHeights(c.Y) : 0;
    }
    ed->mouse.clickPosX = X;
    ed->mouse.clickPosY = Y;

    if (ACol < 0 || ARow < 0) {
        HideInplaceEdit();
        if (!FixedRowAlways())
            MouseDownHook(TMouseButton::mbLeft, Shift, X, Y);
        return;
    }

    {
        const TGridCoord b = BaseCell(ACol, ARow);
        ACol = b.X;
        ARow = b.Y;
    }
    // Read by the editor when it takes the focus after this press.
    ed->lButFlg = ma.CaretPositioning();
    const int RC = RealColIndex(ACol);
    const TRect r = CellRect(ACol, ARow);

    if (d->sizeFixed) {
        ed->mouse.sizingFixed = true;
        ed->mouse.sizeFixedX = X;
        for (int c = 0; c < FixedCols(); ++c) {
            const TRect fr = CellRect(c, ARow);
            if (std::abs(fr.Right - X) <= 2)
                ed->mouse.sizingFixedCol = c;
        }
        Invalidate();
        return;
    }
    if (d->sizeFixedR) {
        ed->mouse.sizingFixedR = true;
        ed->mouse.sizeFixedY = Y;
        for (int rr = 0; rr < FixedRows(); ++rr) {
            const TRect fr = CellRect(ACol, rr);
            if (std::abs(fr.Bottom - Y) <= 2)
                ed->mouse.sizingFixedRow = rr;
        }
        Invalidate();
        return;
    }

    const bool isFixedCell = IsFixed(ACol, ARow);
    if (fixedArea || isFixedCell)
        HideInplaceEdit();
    const bool fixedNormal = isFixedCell && !fixedArea;
    const bool normal = !fixedArea && !isFixedCell;

    if ((fixedArea || isFixedCell) && ed->mouse.fixedAsButtons &&
        Options().Contains(TGridOption::goFixedVertLine) &&
        Options().Contains(TGridOption::goFixedHorzLine) && !Flat() &&
        !(ACol == 0 && IsNode(ARow) && IsNodeClick(ARow, X))) {
        ed->mouse.fixedCellPushed = true;
        ed->mouse.pushedFixedCell = r;
        ed->pushedCellButton = {ACol, ARow};
        RepaintCell(ACol, ARow);
    }

    if (d->controlLook->SpinButtonsAlwaysVisible() && HasSpinHook(RC, ARow) && X >= r.Right - 18) {
        if (Y < r.Top + r.Height() / 2)
            ed->spinUpClick = true;
        else
            ed->spinDnClick = true;
    }

    if (ACol == 0 && IsNode(ARow) && IsNodeClick(ARow, X)) {
        if (ARow < FixedRows()) {
            if (ma.NodeAllExpandContract()) {
                const bool contracted = GetNodeState(ARow);
                if (contracted)
                    ExpandAll();
                else
                    ContractAll();
                SetNodeState(ARow, !contracted);
            }
        } else {
            if (OnMouseDown)
                OnMouseDown(this, TMouseButton::mbLeft, Shift, X, Y);
            clickCell(ACol, ARow);
            toggleNodeAt(ARow);
            if (ma.MoveRowOnNodeClick())
                SetRow(ARow);
            return;
        }
    }

    const TCellType type = GetCellType(RC, ARow);
    if (type == TCellType::ctRadio &&
        (IsEditable(ACol, ARow) || d->controlLook->RadioAlwaysActive())) {
        HideInplaceEdit();
        RadioClickAt(RC, ARow, X - r.Left, Y - r.Top);
        setFocus();
        return;
    }

    if (HasNodes() && ACol == 0 && ARow >= FixedRows() && !ma.RowSelect() &&
        !Options().Contains(TGridOption::goRowSizing)) {
        if (OnMouseDown)
            OnMouseDown(this, TMouseButton::mbLeft, Shift, X, Y);
        clickCell(ACol, ARow);
        return;
    }

    if (prepareCellDrag(ACol, ARow, X, Y))
        return;

    if (type == TCellType::ctRating && IsEditable(ACol, ARow)) {
        HideInplaceEdit();
        const double rate = std::trunc((X - r.Left) / 9.0) / 2.0;
        bool allowRate = true;
        // The event carries whole steps; the cell keeps the half steps.
        DoRatingChange(RC, ARow, static_cast<int>(rate), allowRate);
        if (allowRate) {
            SetFloats(RC, ARow, rate);
            RepaintCell(ACol, ARow);
        }
        return;
    }

    const bool buttonCell = type == TCellType::ctButton || type == TCellType::ctBitButton;
    const bool expandCell = type == TCellType::ctExpand;
    if (buttonCell || expandCell) {
        HideInplaceEdit();
        if (normal) {
            TFlagScope force(ed->forceSel, true);
            SelectCellHook(ACol, ARow);
        }
        const TRect br = buttonCell ? CellButtonRect(ACol, ARow) : ExpandButtonRect(RC, ARow);
        if (br.Contains(X, Y)) {
            if (buttonCell)
                PushButton(ACol, ARow, true);
            ed->pushedCellButton = {ACol, ARow};
            clickCell(ACol, ARow);
            return;
        }
    }

    const bool merged = IsMergedCell(ACol, ARow);
    int px = X;
    int py = Y;
    if (normal && merged && !OnMouseDown) {
        px = r.Left + 2;
        py = r.Top + 2;
    }

    if (ACol >= ColCount() || ARow >= RowCount()) {
        MouseDownHook(TMouseButton::mbLeft, Shift, px, py);
        return;
    }

    if (dsp->colClicked >= 0 && dsp->rowClicked >= 0) {
        const TRect cr = CellRect(dsp->colClicked, dsp->rowClicked);
        ed->mouse.clickPosDX = cr.Right - X;
        ed->mouse.clickPosDY = cr.Bottom - Y;
    }

    if (ma.DisjunctRowSelect() && ARow >= FixedRows() && !(ACol == 0 && ma.HotmailRowSelect())) {
        if (key == TPressKey::shift) {
            MouseDownHook(TMouseButton::mbLeft, Shift, px, py);
            SetSelection(plat::GridRectFromCoords({ACol, ARow}, {s0.Left, s0.Top}));
            return;
        }
        const int flagRow = ma.RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
        if ((key == TPressKey::ctrl || ma.DisjunctRowSelectNoCtrl()) && GetRowSelect(flagRow)) {
            ed->mouse.deselectState = true;
        } else if (key != TPressKey::ctrl && !ma.DisjunctRowSelectNoCtrl()) {
            ed->mouse.mouseDown = true;
            if (key != TPressKey::alt)
                ClearRowSelect();
        }
    }
    if (ma.DisjunctColSelect() && ACol >= FixedCols()) {
        if (key == TPressKey::ctrl) {
            if (GetColSelect(ACol))
                ed->mouse.deselectState = true;
        } else {
            ed->mouse.mouseDown = true;
            ClearColSelect();
        }
    }

    if (anchorPress(ACol, ARow, X, Y))
        return;

    // Selection gestures that hovering prepared.
    const auto gesture = [&](const TGridRect &sel) {
        setFocus();
        HideSelection();
        if (ma.DisjunctCellSelect())
            ClearSelectedCells();
        SetSelection(sel);
        d->selHidden = false;
        DoExit();
        if (ActiveCellShow())
            RepaintActiveHeaders(s0.Left, s0.Top, ACol, ARow);
    };
    const bool rangeSelect = Options().Contains(TGridOption::goRangeSelect);
    if (ACol < FixedCols() && ARow < FixedRows() && ma.AllSelect() && rangeSelect &&
        d->mouseSelectMode == TMouseSelectMode::msAll) {
        TGridRect all{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
        SelectAllHook(all);
        gesture(all);
    } else if (ACol < FixedCols() && ARow >= FixedRows() && ma.RowSelect() &&
               d->mouseSelectMode == TMouseSelectMode::msRow) {
        const int top = key == TPressKey::shift ? std::min(s0.Top, ARow) : ARow;
        const int bottom = key == TPressKey::shift ? std::max(s0.Top, ARow) : ARow;
        gesture({FixedCols(), top, ColCount() - 1, bottom});
        ed->mouse.mouseSelectStart = ARow;
        RepaintCol(0);
    } else if (ARow < FixedRows() && ACol >= FixedCols() && ma.ColSelect() && rangeSelect &&
               d->mouseSelectMode == TMouseSelectMode::msColumn) {
        int left = ACol;
        int right = ACol;
        if (key == TPressKey::shift) {
            left = ACol < s0.Left ? ACol : s0.Left;
            right = ACol < s0.Left ? s0.Right : ACol;
        }
        gesture({left, FixedRows(), right, RowCount() - 1});
        ed->mouse.mouseSelectStart = ACol;
    }

    ed->mouse.moveCell = -1;
    if (ARow < FixedRows() && ACol >= FixedCols())
        ed->mouse.moveCell = ACol;
    else if (ACol < FixedCols() && ARow >= FixedRows())
        ed->mouse.moveCell = ARow;
    ed->mouse.moveOfsX = X - r.Left;
    ed->mouse.moveOfsY = Y - r.Top;

    bool canEdit = goEditing || ma.RangeSelectAndEdit();
    CanEditCell(RC, ARow, canEdit);
    if (checkBoxPress(ACol, ARow, Shift, X, Y, canEdit))
        return;

    const bool dropDown =
        normal && d->controlLook->DropDownAlwaysVisible() && HasComboHook(RC, ARow);
    const bool editEnabled = canEdit || (ma.EditOnDblClickOnly() && dropDown);
    const bool direct = ma.DirectEdit() || dropDown;
    if (normal && editEnabled && direct) {
        if (ma.EditOnDblClickOnly() && dropDown)
            ed->editActive = false;
        HideInplaceEdit();
        setFocus();
    }

    const TGridRect cur = Selection();
    const bool sameCell =
        ACol == Col() && ARow == Row() && cur == TGridRect{Col(), Row(), Col(), Row()};
    bool forceSelecting = false;
    if (!sameCell && ma.RangeSelectAndEdit() && !isFixedCell && !canEdit) {
        SetOptions(Options() - TGridOption::goEditing);
        forceSelecting = true;
    }

    if (fixedNormal) {
        const TFloatingFooter *footer = FloatingFooter();
        const bool footerRow = footer && footer->Visible() &&
                               footer->FooterStyle() == TFooterStyle::fsFixedLastRow &&
                               ARow == RowCount() - 1;
        if (!footerRow)
            clickCell(ACol, ARow);
        return;
    }

    if (!d->selHidden) {
        const bool alwaysEdit = d->navigation->AlwaysEdit();
        d->navigation->SetAlwaysEdit(false);
        const bool keepLeft =
            Options().Contains(TGridOption::goRowSelect) && d->navigation->KeepHorizScroll();
        const int leftCol = LeftCol();
        const int topRow = TopRow();
        MouseDownHook(TMouseButton::mbLeft, Shift, px, py);
        if (keepLeft && LeftCol() != leftCol)
            SetLeftCol(leftCol);
        d->navigation->SetAlwaysEdit(alwaysEdit);

        if (GridState() == plat::TGridState::gsSelecting && ma.NoAutoRangeScroll()) {
            const bool partialRow = r.Bottom > viewport()->height();
            const bool partialCol = r.Right > viewport()->width();
            if (partialRow || partialCol || (ACol == LeftCol() && LeftCol() > FixedCols()))
                SetGridState(plat::TGridState::gsNormal);
        }
        if (TopRow() != topRow && ma.NoScrollOnPartialRow()) {
            SetTopRow(topRow);
            SetGridState(plat::TGridState::gsNormal);
        }
    }

    const bool borderGrab = ARow < FixedRows() && Options().Contains(TGridOption::goColSizing) &&
                            (X - r.Left < BorderGrab || r.Right - X < BorderGrab);
    if (!borderGrab)
        clickCell(ACol, ARow);

    if (OnCellValidate) {
        d->entered = false;
        KeepOldCellValue(Col(), Row());
    }

    if (normal && merged && (sameCell || ma.DirectEdit()) && canEdit)
        ShowInplaceEdit();

    if (normal && X - r.Left > 3 && r.Right - X > 3 && editEnabled && direct &&
        !HasClickableGraphic(RC, ARow)) {
        if (ma.EditOnDblClickOnly() && dropDown && !Options().Contains(TGridOption::goEditing)) {
            SetOptions(Options() + TGridOption::goEditing);
            setFocus();
        }
        bool allowMove = true;
        if (ACol != Col() || ARow != Row())
            DoCellChanging(ACol, ARow, allowMove);
        if (allowMove) {
            SetSelection({ACol, ARow, ACol, ARow});
            KeepOldCellValue(Col(), Row());
            ShowEditor();
        }
    }

    if (forceSelecting)
        SetGridState(plat::TGridState::gsSelecting);
}

void TQrlStringGrid::toggleNodeAt(int ARow)
{
    const int R = RealRowIndex(ARow);
    bool allow = true;
    if (GetNodeState(ARow)) {
        if (OnBeforeExpandNode)
            OnBeforeExpandNode(this, ARow, R, allow);
        if (allow) {
            ExpandNode(R);
            if (OnExpandNode)
                OnExpandNode(this, ARow, R);
        }
    } else {
        if (OnBeforeContractNode)
            OnBeforeContractNode(this, ARow, R, allow);
        if (allow) {
            ContractNode(R);
            if (OnContractNode)
                OnContractNode(this, ARow, R);
        }
    }
}

bool TQrlStringGrid::checkBoxPress(
    int ACol, int ARow, TShiftState Shift, int X, int Y, bool CanEdit)
{
    TMouseActions &ma = *d->mouseActions;
    const int RC = RealColIndex(ACol);
    const bool hotmail = ACol == 0 && ma.HotmailRowSelect();
    if (!(CanEdit || d->controlLook->CheckAlwaysActive() || hotmail))
        return false;
    const bool radio = HasRadioButton(RC, ARow);
    if (!(radio || HasCheckBox(RC, ARow)) || !IsInCheckBox(RC, ARow, X, Y))
        return false;

    HideInplaceEdit();
    setFocus();
    if (radio) {
        DoSelectRadioButton(RC, ARow, false);
        if (OnRadioButtonClick)
            OnRadioButtonClick(this, RC, ARow);
    } else {
        ToggleCheckBox(RC, ARow);
    }
    if (d->showModified->Enabled()) {
        SetRowModified(ARow, true);
        RepaintCell(0, ARow);
    }
    if (hotmail && ARow >= FixedRows()) {
        SetSelection({FixedCols(), ARow, ColCount() - 1, ARow});
        if (Row() == ARow && !GetRowSelect(ARow))
            HideSelection();
    }
    bool state = false;
    GetCheckBoxState(RC, RealRowIndex(ARow), state);
    const bool fixed = ARow < FixedRows() || ACol < FixedCols() || IsFixed(ACol, ARow);
    if (!d->navigation->AlwaysEdit() && !fixed)
        MoveColRow(ACol, ARow, true, true);
    DoCheckBoxClick(ACol, ARow, state);
    if (dsp->hideFocusRect)
        RepaintCell(ACol, ARow);
    if (ARow < FixedRows() && ma.CheckAllCheck()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (ma.HotmailRowSelect())
                SetRowSelect(r, state);
            else
                SetCheckBoxState(RC, r, state);
        }
        Invalidate();
    }
    if (OnMouseDown)
        OnMouseDown(this, TMouseButton::mbLeft, Shift, X, Y);
    Click();
    return true;
}

// ---- anchors ----------------------------------------------------------------------------------

bool TQrlStringGrid::anchorPress(int ACol, int ARow, int X, int Y)
{
    const int RC = RealColIndex(ACol);
    QString text = GetCellEx(RC, ARow);
    const bool html = CellTextKind(text, EnableHTML()) == ctkHTML;
    if (!URLShow() && !html)
        return false;
    QString anchor;
    THTMLPaintResult found;
    if (html) {
        if (CellHTMLHitTest(ACol, ARow, X, Y, found))
            anchor = found.AnchorHref;
    } else if (IsURLText(text)) {
        anchor = text;
    }
    if (anchor.isEmpty()) {
        if (html && HasHTMLControl(text)) {
            clickCell(ACol, ARow);
            HideInplaceEdit();
            SetSelection({ACol, ARow, ACol, ARow});
            return true;
        }
        return false;
    }

    if (html && anchor == QLatin1String("ctrl")) {
        bool canEdit = Options().Contains(TGridOption::goEditing) && IsEditable(ACol, ARow);
        if (OnCanEditCell)
            OnCanEditCell(this, ARow, ACol, canEdit);
        if (!canEdit)
            return true;
        const QString id = found.ControlId;
        const QString type = found.ControlType;
        QString value = found.ControlValue;
        if (type == QLatin1String("BUTTON")) {
            ed->mouse.ctrlXY = {ACol, ARow};
            ed->mouse.ctrlDown = true;
            RepaintCell(ACol, ARow);
        } else if (type == QLatin1String("CHECK")) {
            value = value.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0
                        ? QStringLiteral("FALSE")
                        : QStringLiteral("TRUE");
            if (SetHTMLControlValue(text, id, value))
                SetCellEx(RC, ARow, text);
        } else if (type == QLatin1String("RADIO")) {
            text = ClearHTMLRadioControls(text);
            value = QStringLiteral("TRUE");
            SetHTMLControlValue(text, id, value);
            SetCellEx(RC, ARow, text);
        }
        if (OnControlClick)
            OnControlClick(this, ARow, ACol, id, type, value);
        if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") ||
            type == QLatin1String("MASK") || type == QLatin1String("COMBO"))
            FocusCellControl(ACol, ARow, id);
        return true;
    }

    bool autoHandle = true;
    if (OnAnchorClick)
        OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
    if (autoHandle)
        openAnchor(anchor);
    return true;
}

void TQrlStringGrid::openAnchor(const QString &Anchor)
{
    const int at = Anchor.toUpper().indexOf(QStringLiteral("CELL://"));
    if (at >= 0) {
        int r = -1;
        int c = -1;
        if (parseRCRef(Anchor.mid(at + 7), r, c) && c >= 0 && c < ColCount() && r >= 0 &&
            r < RowCount()) {
            MoveColRow(c, r, true, true);
        }
        return;
    }
    // Only web and mail links leave the grid: a cell text must not start local programs.
    const QUrl url(Anchor.trimmed());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
                           scheme != QLatin1String("mailto")))
        return;
    if (OpenLinkHook)
        OpenLinkHook(url);
    else
        QDesktopServices::openUrl(url);
}

// ---- the framework's press with the grid's steps around it -----------------------------------

void TQrlStringGrid::MouseDownHook(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    const TGridCoord cell = MouseCoord(X, Y);
    const int ACol = cell.X;
    const int ARow = cell.Y;
    const bool left = Button == TMouseButton::mbLeft;

    if (ma.RangeSelectAndEdit() && left && !ma.EditOnDblClickOnly() && ACol >= 0) {
        const bool goEditing = Options().Contains(TGridOption::goEditing);
        if (ACol == Col() && ARow == Row() && !goEditing && IsEditable(ACol, ARow)) {
            SetOptions(Options() + TGridOption::goEditing);
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            ShowInplaceEdit();
            return;
        }
        if (Shift.Contains(TShiftStateItem::ssShift) && !(ACol == Col() && ARow == Row()) &&
            goEditing) {
            SetOptions(Options() - TGridOption::goEditing);
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }

    if (ACol >= 0 && ARow >= 0 && d->controlLook->FixedDropDownButton() &&
        IsHoverFixedCell(ACol, ARow)) {
        const TRect r = CellRect(ACol, ARow);
        const int button = Options().Contains(TGridOption::goColSizing) ? 14 : 16;
        if (X >= r.Right - button) {
            dsp->dropDownDown = true;
            if (dsp->fixedDropDownMenu || OnFixedDropDownClick) {
                d->noMouseLeave = true;
                QMenu *menu = dsp->fixedDropDownMenu;
                // One menu may serve several columns: it tells them apart by this.
                if (menu)
                    menu->setProperty("Tag", ACol);
                bool keep = false;
                if (OnFixedDropDownClick)
                    OnFixedDropDownClick(this, ACol, ARow, menu, keep);
                if (menu) {
                    d->hoverFixedCell = {ACol, ARow};
                    RepaintCell(ACol, ARow);
                    menu->exec(viewport()->mapToGlobal(QPoint(r.Right - 16, r.Top)));
                    d->hoverFixedCell = {-1, -1};
                    RepaintCell(ACol, ARow);
                }
                d->noMouseLeave = keep;
                return;
            }
        }
    }

    if (ACol >= 0 && ARow == FixedRows() - 1 && IsHoverFixedCell(ACol, ARow))
        RepaintCell(ACol, ARow);

    {
        TFlagScope start(ed->editStart, true);
        TBaseGrid::MouseDown(Button, Shift, X, Y);
    }
    if (Shift.Contains(TShiftStateItem::ssShift) && d->selectionRectangle)
        Invalidate();

    if (ACol >= 0 && ARow >= 0) {
        const TRect r = CellRect(ACol, ARow);
        const bool inside =
            X - r.Left >= 4 && r.Right - X >= 4 && Y - r.Top >= 4 && r.Bottom - Y >= 4;
        const bool fixedRow = ARow < FixedRows();
        const bool fixedCol = ACol < FixedCols();
        using E = TGridFixedCellEdit;
        if (left && fixedRow && ma.FixedRowsEdit() == E::fceLeftClick &&
            (!Options().Contains(TGridOption::goColSizing) || inside))
            EditFixedCell(ACol, ARow);
        else if (left && fixedCol && ma.FixedColsEdit() == E::fceLeftClick &&
                 (!Options().Contains(TGridOption::goRowSizing) || inside))
            EditFixedCell(ACol, ARow);
        else if (Button == TMouseButton::mbRight &&
                 ((fixedRow && ma.FixedRowsEdit() == E::fceRightClick) ||
                  (fixedCol && ma.FixedColsEdit() == E::fceRightClick)))
            EditFixedCell(ACol, ARow);
    }

    if (TQrlStringGrid *other = d->syncGrid->Grid()) {
        if (d->syncGrid->SelectionColumn() && other->Col() != Col() && Col() < other->ColCount())
            other->SetCol(Col());
        if (d->syncGrid->SelectionRow() && other->Row() != Row() && Row() < other->RowCount())
            other->SetRow(Row());
    }
}

// ---- radio groups, fixed-cell editing, hooks --------------------------------------------------

void TQrlStringGrid::RadioClickAt(int ACol, int ARow, int X, int Y)
{
    const TGridCoord b = BaseCell(DisplColIndex(ACol), ARow);
    const int RC = RealColIndex(b.X);
    TCellGraphic *cg = GetCellGraphic(RC, b.Y);
    if (!cg || cg->CellType() != TCellType::ctRadio)
        return;
    const QStringList *items = cg->CellBitmap().As<QStringList>();
    if (!items || items->isEmpty())
        return;
    if (b.Y >= FixedRows() && b.X >= FixedCols())
        MoveColRow(b.X, b.Y, true, true);

    plat::TGridDrawState state;
    TCanvas canvas;
    TBrush brush;
    GetFontProperties(b.X, RC, b.Y, state, canvas.Font(), brush, false);
    const TControlStyle style = d->controlLook->ControlStyle();
    const bool themed = style == TControlStyle::csWinXP || style == TControlStyle::csTheme;
    const int glyph = themed ? 16 : d->controlLook->RadioSize();
    const int lineHeight = canvas.TextHeight(QStringLiteral("gh"));
    // CellBoolean lays the items out side by side.
    const bool horizontal = cg->CellBoolean();
    int pos = 0;
    int hit = -1;
    for (int i = 0; i < items->size(); ++i) {
        const int span =
            horizontal ? canvas.TextWidth(items->at(i)) + glyph : std::max(glyph, lineHeight);
        const int p = horizontal ? X : Y;
        if (p >= pos && p < pos + span) {
            hit = i;
            break;
        }
        pos += span;
    }
    if (hit < 0)
        return;
    if (cg->CellIndex() >= -1)
        cg->SetCellIndex(hit);
    cg->SetCellVar(hit);
    SetCellEx(RC, b.Y, items->at(hit));
    RepaintCell(b.X, b.Y);
    if (OnRadioClick)
        OnRadioClick(this, RC, b.Y, hit);
}

void TQrlStringGrid::EditFixedCell(int ACol, int ARow)
{
    bool canEdit = true;
    DoCanEditCell(ACol, ARow, canEdit);
    if (!canEdit)
        return;
    showFixedCellEditor(ACol, ARow);
}

void TQrlStringGrid::CellSelectorClick(int, int) {}

void TQrlStringGrid::SelectAllHook(TGridRect &) {}

bool TQrlStringGrid::FixedAsButtons() const
{
    return ed->mouse.fixedAsButtons;
}

void TQrlStringGrid::SetFixedAsButtons(bool Value)
{
    ed->mouse.fixedAsButtons = Value;
}

bool TQrlStringGrid::URLEdit() const
{
    return ed->mouse.urlEdit;
}

void TQrlStringGrid::SetURLEdit(bool Value)
{
    ed->mouse.urlEdit = Value;
}

QMenu *TQrlStringGrid::FixedDropDownMenu() const
{
    return dsp->fixedDropDownMenu;
}

void TQrlStringGrid::SetFixedDropDownMenu(QMenu *Value)
{
    dsp->fixedDropDownMenu = Value;
}
