// Hover, sizing and moving of rows and columns: what the mouse does over the grid while no
// click is being decided (hover rows and fixed cells, cell buttons, anchors, cursors and hints),
// the gestures a press then performs, sizing feedback and its veto, the move button and arrows
// while a row or column moves, and what follows a moved column or row.
#include "grid/display/QrlHTMLEngine.h"
#include "grid/display/QrlHintWindow.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"

#include <QLabel>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <utility>

using plat::TGridCoord;
using plat::TGridOption;
using plat::TGridRect;
using plat::TGridState;
using plat::TMouseButton;
using plat::TShiftState;
using plat::TShiftStateItem;

namespace {

// A drag of more pixels than this from the press point starts dragging cells out.
constexpr int DragThreshold = 3;
// Side of the square at the selection's bottom-right corner that grabs the resizer.
constexpr int ResizerGrab = 6;

// The header of the moved column or row, shown at the pointer over everything, without taking
// the focus or the mouse.
class TMoveHeader : public QLabel
{
public:
    explicit TMoveHeader(QWidget *AOwner)
        : QLabel(AOwner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setObjectName(QStringLiteral("MoveButton"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setAutoFillBackground(true);
        setAlignment(Qt::AlignCenter);
    }
};

enum TArrow { ArwU, ArwD, ArwL, ArwR };

bool isFixedArea(const TQrlStringGrid &g, int ACol, int ARow)
{
    return ACol >= 0 && ARow >= 0 && (ACol < g.FixedCols() || ARow < g.FixedRows());
}

} // namespace

// ---- properties -----------------------------------------------------------------------------

bool TQrlStringGrid::HintShowSizing() const
{
    return ed->hover.hintShowSizing;
}

void TQrlStringGrid::SetHintShowSizing(bool Value)
{
    ed->hover.hintShowSizing = Value;
}

bool TQrlStringGrid::OleDropSource() const
{
    return ed->hover.oleDropSource;
}

void TQrlStringGrid::SetOleDropSource(bool Value)
{
    ed->hover.oleDropSource = Value;
}

bool TQrlStringGrid::OleColumnsOnly() const
{
    return ed->hover.oleColumnsOnly;
}

void TQrlStringGrid::SetOleColumnsOnly(bool Value)
{
    ed->hover.oleColumnsOnly = Value;
}

void TQrlStringGrid::UnitChangedRelay(QObject *Sender, const QString &NewUnit)
{
    if (OnUnitChanged)
        OnUnitChanged(Sender, Col(), Row(), NewUnit);
}

bool TQrlStringGrid::HasCustomBorders()
{
    return static_cast<bool>(OnGetCellBorder);
}

// ---- the mouse-move hook ----------------------------------------------------------------------

void TQrlStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    const TGridRect s0 = Selection();
    const TGridCoord cell = MouseCoord(X, Y);

    // Steps before the framework; true when one of them chose the cursor.
    const bool cursorHandled = hoverSteps(Shift, X, Y);
    if (!cursorHandled && viewport()->cursor().shape() != d->oldCursor)
        viewport()->unsetCursor();

    // A cell hint or balloon belongs to the cell it was shown for.
    const bool valid = cell.X >= 0 && cell.Y >= 0;
    if (dsp->lastHint.X >= 0 &&
        (!valid || !(BaseCell(dsp->lastHint.X, dsp->lastHint.Y) == BaseCell(cell.X, cell.Y)))) {
        HintManager()->CancelHint();
        dsp->lastHint = {-1, -1};
    }
    if (ed->hover.lastBalloonPos.X >= 0 && !(ed->hover.lastBalloonPos == cell))
        ed->hover.lastBalloonPos = {-1, -1};

    if (d->selectionRectangle && GridState() == TGridState::gsSelecting &&
        !(Selection() == ed->keys.moveSelection)) {
        InvalidateCellRange(Selection().Normalized());
        if (ed->keys.moveSelection.Left >= 0)
            InvalidateCellRange(ed->keys.moveSelection.Normalized());
        ed->keys.moveSelection = Selection();
    }

    TBaseGrid::MouseMove(Shift, X, Y);

    // The framework sets the sizing cursor or the arrow; these choices come after it.
    const TGridState state = GridState();
    if (state == TGridState::gsColMoving || state == TGridState::gsRowMoving)
        viewport()->setCursor(ed->hover.moveRefused ? Qt::ForbiddenCursor : Qt::DragMoveCursor);
    else if (d->sizeFixed || ed->mouse.sizingFixed)
        viewport()->setCursor(Qt::SplitHCursor);
    else if (d->sizeFixedR || ed->mouse.sizingFixedR)
        viewport()->setCursor(Qt::SplitVCursor);
    else if (cursorHandled && !ed->hover.anchor.isEmpty())
        viewport()->setCursor(Qt::PointingHandCursor);
    else if (cursorHandled && URLShow() && valid &&
             IsURLText(GetCellEx(RealColIndex(cell.X), cell.Y)))
        viewport()->setCursor(Qt::PointingHandCursor);

    if (d->navigation->KeepHorizScroll() && ed->mouse.mouseKeepDown &&
        state != TGridState::gsColMoving && LeftCol() != ed->mouse.oldKeepLeftCol &&
        ed->mouse.oldKeepLeftCol >= FixedCols()) {
        TUpdatePair update(*this);
        SetLeftCol(ed->mouse.oldKeepLeftCol);
    }

    sizingFeedback(X, Y);

    const TGridRect s1 = Selection();
    if (!(s1 == s0))
        DoSelectionChanged(s1.Left, s1.Top, s1.Right, s1.Bottom);
}

// Steps of the move before the framework's processing. True when a step took the cursor.
bool TQrlStringGrid::hoverSteps(TShiftState Shift, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    const TGridCoord cell = MouseCoord(X, Y);
    const int ACol = cell.X;
    const int ARow = cell.Y;
    const bool valid = ACol >= 0 && ARow >= 0;
    const bool design = IsDesigningQuery();

    // Dragging a range does not edit.
    if (ed->mouse.mouseDownMove && ma.RangeSelectAndEdit() &&
        Options().Contains(TGridOption::goEditing) && !EditorMode())
        SetOptions(Options() - TGridOption::goEditing);

    if (d->selectionRectangle && GridState() == TGridState::gsSelecting)
        ed->hover.sizeSelection = Selection();

    if (valid && !design && HoverRow() && ARow != FHoverRowIdx) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = ARow;
        RepaintRow(ARow);
        if (old >= 0 && old < RowCount())
            RepaintRow(old);
    }

    if (dsp->hoverFixedCells != THoverFixedCells::hfNone && !d->noMouseLeave &&
        !(d->hoverFixedCell == cell)) {
        const TGridCoord old = d->hoverFixedCell;
        d->hoverFixedCell = cell;
        if (isFixedArea(*this, old.X, old.Y))
            RepaintCell(old.X, old.Y);
        if (isFixedArea(*this, ACol, ARow))
            RepaintCell(ACol, ARow);
    }

    if (d->look == TGridLook::glListView && !(ed->hover.hotFixedCell == cell)) {
        const TGridCoord old = ed->hover.hotFixedCell;
        if (isFixedArea(*this, old.X, old.Y))
            RepaintCell(old.X, old.Y);
        ed->hover.hotFixedCell = cell;
        if (isFixedArea(*this, ACol, ARow))
            RepaintCell(ACol, ARow);
    }

    // Cell buttons under the pointer show hot.
    {
        TGridCoord hovered{-1, -1};
        if (valid) {
            const TGridCoord b = BaseCell(ACol, ARow);
            const int rc = RealColIndex(b.X);
            const TCellType type = GetCellType(rc, b.Y);
            const bool button = type == TCellType::ctButton || type == TCellType::ctBitButton;
            if ((button && CellButtonRect(b.X, b.Y).Contains(X, Y)) ||
                (type == TCellType::ctExpand && ExpandButtonRect(rc, b.Y).Contains(X, Y)))
                hovered = b;
        }
        if (!(hovered == ed->hover.hoverButton)) {
            const TGridCoord old = ed->hover.hoverButton;
            ed->hover.hoverButton = hovered;
            if (old.X >= 0)
                RepaintCell(old.X, old.Y);
            if (hovered.X >= 0)
                RepaintCell(hovered.X, hovered.Y);
        }
    }

    selectionDragSteps(ACol, ARow, X, Y);
    fixedBorderSteps(ACol, ARow, X, Y);

    ed->hover.resizerHover = false;
    if (d->selectionResizer && d->selectionRectangle) {
        const TGridRect sel = Selection().Normalized();
        const TRect r = CellRect(sel.Right, sel.Bottom);
        if (!r.IsEmpty()) {
            const bool rtl = layoutDirection() == Qt::RightToLeft;
            const int left = rtl ? r.Left : r.Right - ResizerGrab;
            ed->hover.resizerHover =
                TRect{left, r.Bottom - ResizerGrab, left + ResizerGrab, r.Bottom}.Contains(X, Y);
        }
    }

    if (ed->mouse.selectionClick && Shift.Contains(TShiftStateItem::ssLeft) &&
        (std::abs(X - ed->mouse.clickPosX) > DragThreshold ||
         std::abs(Y - ed->mouse.clickPosY) > DragThreshold) &&
        ed->hover.oleDropSource && GridState() != TGridState::gsColSizing &&
        !ed->mouse.sizingFixed && !ed->hover.resizerHover)
        oleDragStart(ACol, ARow, X, Y);

    bool cursorHandled = false;
    if (!design)
        cursorHandled = movingSteps(ACol, ARow, X, Y) || cursorHandled;
    cursorHandled = gestureSteps(ACol, ARow, X, Y) || cursorHandled;
    if (valid)
        cursorHandled = anchorSteps(ACol, ARow, X, Y) || cursorHandled;
    return cursorHandled;
}

// Whole rows or columns follow the pointer after a press on their header.
void TQrlStringGrid::selectionDragSteps(int ACol, int ARow, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    if (ed->mouse.mouseSelectStart < 0)
        return;
    const TGridRect before = Selection().Normalized();
    if (ma.RowSelect() && d->mouseSelectMode == TMouseSelectMode::msRow) {
        if (ARow >= FixedRows() && ARow < RowCount() - d->fixedFooters) {
            const int top = std::max(std::min(ed->mouse.mouseSelectStart, ARow), FixedRows());
            const int bottom = std::max(ed->mouse.mouseSelectStart, ARow);
            SetSelection({FixedCols(), top, ColCount() - 1, bottom});
        }
        if (Y > viewport()->height() - 4 && TopRow() < MaxTopRow())
            SetTopRow(TopRow() + 1);
        else if (FixedRows() > 0 && Y >= 0 && Y < RowHeights(0) && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
    } else if (ma.ColSelect() && d->mouseSelectMode == TMouseSelectMode::msColumn && ACol >= 0) {
        const int left = std::max(std::min(ed->mouse.mouseSelectStart, ACol), FixedCols());
        const int right = std::max(ed->mouse.mouseSelectStart, ACol);
        SetSelection({left, FixedRows(), right, RowCount() - 1});
    } else {
        return;
    }
    const TGridRect after = Selection().Normalized();
    if (d->selectionRectangle && !(after == before)) {
        // The band that changed: the union of both, painted once.
        InvalidateCellRange({std::min(before.Left, after.Left), std::min(before.Top, after.Top),
                             std::max(before.Right, after.Right),
                             std::max(before.Bottom, after.Bottom)});
        ed->hover.sizeSelection = after;
    }
    Q_UNUSED(X);
}

// Borders of the fixed columns and rows, which the framework does not size.
void TQrlStringGrid::fixedBorderSteps(int ACol, int ARow, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    const bool valid = ACol >= 0 && ARow >= 0 && !IsDesigningQuery();
    const int height = viewport()->height();
    const int width = viewport()->width();

    d->sizeFixed = false;
    if (valid)
        for (int c = 0; c < FixedCols(); ++c)
            if (std::abs(UnclippedCellRect(c, 0).Right - X) <= 2)
                d->sizeFixed = ma.SizeFixedCol();
    if (ed->mouse.sizingFixed && ed->mouse.sizeFixedX != X) {
        // The line leaves its old place and shows at the new one.
        InvalidateRect({ed->mouse.sizeFixedX - 1, 0, ed->mouse.sizeFixedX + 2, height});
        ed->mouse.sizeFixedX = X;
        InvalidateRect({X - 1, 0, X + 2, height});
    }

    d->sizeFixedR = false;
    if (valid)
        for (int r = 0; r < FixedRows(); ++r)
            if (std::abs(UnclippedCellRect(0, r).Bottom - Y) <= 2)
                d->sizeFixedR = ma.SizeFixedRow();
    if (ed->mouse.sizingFixedR && ed->mouse.sizeFixedY != Y) {
        InvalidateRect({0, ed->mouse.sizeFixedY - 1, width, ed->mouse.sizeFixedY + 2});
        ed->mouse.sizeFixedY = Y;
        InvalidateRect({0, Y - 1, width, Y + 2});
    }
}

// The press on a selected cell prepared a drag; the pointer has now left the press point.
void TQrlStringGrid::oleDragStart(int ACol, int ARow, int X, int Y)
{
    Q_UNUSED(X);
    Q_UNUSED(Y);
    ed->mouse.selectionClick = false;
    const int RC = ACol >= 0 ? RealColIndex(ACol) : ACol;
    bool allow = !(ed->hover.oleColumnsOnly && ARow >= FixedRows());
    const QString text = ACol >= 0 && ARow >= 0 ? GetCellEx(RC, ARow) : QString();
    if (OnOleDrag)
        OnOleDrag(this, ARow, RC, text, allow);
    if (allow) {
        // The drag and drop transfer itself comes with the clipboard exchange.
        if (OnOleDragStart)
            OnOleDragStart(this, ARow, RC);
        DoStartBlockFocus();
        ed->mouse.dropSelection = Selection();
        return;
    }
    if (GridState() == TGridState::gsNormal)
        SetGridState(TGridState::gsSelecting);
}

// The framework's sizing and moving, seen from the grid: the sized flags, the move events, the
// move button and the arrows. True when it chose the cursor.
bool TQrlStringGrid::movingSteps(int ACol, int ARow, int X, int Y)
{
    const TGridState state = GridState();
    if (state == TGridState::gsColSizing)
        dsp->colSized = true;
    if (state == TGridState::gsRowSizing)
        dsp->rowSized = true;
    const bool cols = state == TGridState::gsColMoving;
    if (!cols && state != TGridState::gsRowMoving)
        return false;

    bool allow = true;
    if (cols && OnColumnMove)
        OnColumnMove(this, ed->mouse.moveCell, allow);
    if (!cols && OnRowMove)
        OnRowMove(this, ed->mouse.moveCell, allow);
    if (!allow) {
        endHeaderDrag();
        SetGridState(TGridState::gsNormal);
        return false;
    }

    const bool away = X != ed->mouse.clickPosX || Y != ed->mouse.clickPosY;
    if (!d->enhRowColMove || RowCount() <= 1 || !away || ed->mouse.sizingFixed ||
        ed->mouse.sizingFixedR || ed->mouse.moveCell < 0)
        return true;
    DoStartBlockFocus();

    if (!ed->hover.moveButton)
        ed->hover.moveButton = new TMoveHeader(this);
    auto *button = static_cast<QLabel *>(ed->hover.moveButton.data());
    if (cols && ed->mouse.moveCell < ColCount()) {
        const int rowUnder = ARow >= 0 ? ARow : 0;
        button->setText(GetCellEx(RealColIndex(ed->mouse.moveCell), 0));
        button->resize(ColWidths(ed->mouse.moveCell), RowHeights(rowUnder));
    } else if (!cols && ed->mouse.moveCell < RowCount()) {
        const int colUnder = ACol >= 0 ? ACol : 0;
        button->setText(GetCellEx(RealColIndex(0), ed->mouse.moveCell));
        button->resize(ColWidths(colUnder), RowHeights(ed->mouse.moveCell));
    }
    QPoint at = viewport()->mapToGlobal(QPoint(X - ed->mouse.moveOfsX, Y - ed->mouse.moveOfsY));
    if (layoutDirection() == Qt::RightToLeft)
        at.rx() -= button->width() - ColWidths(0);
    button->move(at);

    static constexpr TArrowDirection dirs[4] = {TArrowDirection::arrUp, TArrowDirection::arrDown,
                                                TArrowDirection::arrLeft,
                                                TArrowDirection::arrRight};
    static const char *const names[4] = {"ArwU", "ArwD", "ArwL", "ArwR"};
    for (int i = 0; i < 4; ++i) {
        if (dsp->moveArrows[i])
            continue;
        auto *arrow = new TArrowWindow;
        arrow->Init(this, dirs[i]);
        arrow->setObjectName(QString::fromLatin1(names[i]));
        arrow->resize(11, 11);
        dsp->moveArrows[i] = arrow;
    }
    // A colour set before the arrows existed applies to them now.
    SetArrowColor(dsp->arrowColor);
    auto place = [this](int which, int x, int y, bool show) {
        QWidget *w = dsp->moveArrows[which];
        w->move(viewport()->mapToGlobal(QPoint(x, y)));
        w->setVisible(show);
    };

    bool allowMoving = true;
    if (cols) {
        // The arrows mark the target seen on the previous move.
        const int t = ed->mouse.moveColInd;
        const TRect head = t >= 0 && t < ColCount() ? CellRect(t, 0) : TRect{};
        const bool show = t >= FixedCols() && !head.IsEmpty();
        if (t >= 0) {
            const int edge = (t < ed->mouse.moveCell ? head.Left : head.Right) - 5;
            const int bottom = FixedRows() > 0 ? CellRect(t, FixedRows() - 1).Bottom : head.Bottom;
            place(ArwD, edge, head.Top - 8, show);
            place(ArwU, edge, bottom, show);
        }
        ed->mouse.moveColInd = ACol;
        ed->mouse.moveRowInd = 0;
        if (OnColumnMoving)
            OnColumnMoving(this, ACol, allowMoving);
    } else {
        const int t = ARow;
        const TFloatingFooter *footer = FloatingFooter();
        const bool footerRow = footer && footer->Visible() &&
                               footer->FooterStyle() == TFooterStyle::fsFixedLastRow &&
                               t == RowCount() - 1;
        const TRect r = t >= 0 && !footerRow ? CellRect(0, t) : TRect{};
        const bool show = t >= FixedRows() && !r.IsEmpty();
        if (!r.IsEmpty()) {
            const int y = (t < ed->mouse.moveCell ? r.Top : r.Bottom) - 5;
            place(ArwL, r.Left - 10, y, show);
            place(ArwR, r.Right, y, show);
        } else {
            dsp->moveArrows[ArwL]->hide();
            dsp->moveArrows[ArwR]->hide();
        }
        if (!footerRow)
            ed->mouse.moveRowInd = ARow;
        ed->mouse.moveColInd = 0;
        if (OnRowMoving)
            OnRowMoving(this, ARow, allowMoving);
        if (footerRow)
            allowMoving = false;
    }
    ed->hover.moveRefused = !allowMoving;

    button->setEnabled(true);
    button->show();
    dsp->movingColumn = cols ? ed->mouse.moveCell : -1;
    // The whole grid follows a moving header at once.
    Invalidate();
    return true;
}

// Prepares what the next press selects: all, whole columns, whole rows or the resizer.
bool TQrlStringGrid::gestureSteps(int ACol, int ARow, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    const bool held = GridState() != TGridState::gsNormal || ed->mouse.mouseSelectStart >= 0;
    if (held)
        return false;
    d->mouseSelectMode =
        ed->hover.resizerHover ? TMouseSelectMode::msResize : TMouseSelectMode::msNormal;
    if (ACol < 0 || ARow < 0)
        return ed->hover.resizerHover;

    // Near a column border in the header rows, or a row border in the fixed columns.
    const TRect r = CellRect(ACol, ARow);
    const bool nearCol = ARow < FixedRows() && Options().Contains(TGridOption::goColSizing) &&
                         (X - r.Left < 4 || r.Right - X < 4);
    const bool nearRow = ACol < FixedCols() && Options().Contains(TGridOption::goRowSizing) &&
                         (Y - r.Top <= 3 || r.Bottom - Y <= 3);
    const bool sizingPos = nearCol || nearRow;

    const TFloatingFooter *footer = FloatingFooter();
    const bool fixedFooter =
        footer && footer->Visible() && footer->FooterStyle() == TFooterStyle::fsFixedLastRow;
    const int lastRow = RowCount() - (fixedFooter ? 2 : 1);

    if (ACol < FixedCols() && ARow < FixedRows() && ma.AllSelect())
        d->mouseSelectMode = TMouseSelectMode::msAll;
    else if (ARow < FixedRows() && ACol >= FixedCols() && ma.ColSelect() && !sizingPos)
        d->mouseSelectMode = TMouseSelectMode::msColumn;
    else if (ACol < FixedCols() && ARow >= FixedRows() && ARow <= lastRow && ma.RowSelect() &&
             !sizingPos && !(ACol == 0 && IsNode(ARow) && IsNodeClick(ARow, X)))
        d->mouseSelectMode = TMouseSelectMode::msRow;
    return d->mouseSelectMode != TMouseSelectMode::msNormal;
}

// Links: the hand cursor over a URL or an anchor, and the anchor events.
bool TQrlStringGrid::anchorSteps(int ACol, int ARow, int X, int Y)
{
    const TGridCoord b = BaseCell(ACol, ARow);
    const int RC = RealColIndex(b.X);
    const QString text = GetCellEx(RC, b.Y);
    const bool html = CellTextKind(text, EnableHTML()) == ctkHTML;
    bool handled = false;
    if (URLShow() && !html && IsURLText(text))
        handled = true;

    // The anchor (or form control) under the pointer, of however many the cell holds.
    QString anchor;
    int index = -1;
    if (html) {
        THTMLPaintResult found;
        if (CellHTMLHitTest(ACol, ARow, X, Y, found)) {
            anchor = found.AnchorHref;
            index = found.HitAnchorIndex;
        }
    }
    SetHoverAnchor(ACol, ARow, anchor == QLatin1String("ctrl") ? -1 : index);

    if (!anchor.isEmpty()) {
        if (anchor != QLatin1String("ctrl")) {
            QString hint = anchor;
            if (OnAnchorHint)
                OnAnchorHint(this, ARow, ACol, hint);
            if (hint != dsp->lastAnchorHint && anchor != ed->hover.anchor) {
                dsp->lastAnchorHint = hint;
                HintManager()->CancelHint();
            }
        }
        if (anchor != ed->hover.anchor) {
            if (!ed->hover.anchor.isEmpty() && OnAnchorExit)
                OnAnchorExit(this, ARow, ACol, ed->hover.anchor);
            if (OnAnchorEnter)
                OnAnchorEnter(this, ARow, ACol, anchor);
            ed->hover.anchor = anchor;
        }
        return true;
    }
    if (!ed->hover.anchor.isEmpty()) {
        const QString left = ed->hover.anchor;
        ed->hover.anchor.clear();
        if (OnAnchorExit)
            OnAnchorExit(this, ARow, ACol, left);
    }
    return handled;
}

// While a column or row is sized: the sizing events and the "cw="/"rh=" hint.
void TQrlStringGrid::sizingFeedback(int X, int Y)
{
    const TGridState state = GridState();
    const bool colSizing = state == TGridState::gsColSizing || ed->mouse.sizingFixed;
    const bool rowSizing = state == TGridState::gsRowSizing || ed->mouse.sizingFixedR;
    if (!colSizing && !rowSizing)
        return;

    int col = ed->mouse.sizingFixed ? 0 : dsp->colClicked;
    int row = ed->mouse.sizingFixedR ? 0 : dsp->rowClicked;
    if (colSizing && col < 0)
        col = ColCount() - 1;
    if (rowSizing && row < 0)
        row = RowCount() - 1;
    // The press recorded the border's distance from the point, so the size is what the release
    // will set (at least one pixel, as the framework keeps it).
    int size = 0;
    if (colSizing)
        size = ed->mouse.sizingFixed
                   ? ed->mouse.sizeFixedX
                   : std::max(1, X - UnclippedCellRect(col, 0).Left + ed->mouse.clickPosDX);
    else
        size = ed->mouse.sizingFixedR
                   ? ed->mouse.sizeFixedY
                   : std::max(1, Y - UnclippedCellRect(0, row).Top + ed->mouse.clickPosDY);

    if (colSizing && OnColumnSizing)
        OnColumnSizing(this, col, size);
    if (rowSizing && OnRowSizing)
        OnRowSizing(this, row, size);

    if (!IsDesigningQuery() && !ed->hover.hintShowSizing)
        return;
    THintInfo info;
    info.Text = QStringLiteral("%1=<b>%2</b>")
                    .arg(colSizing ? QStringLiteral("cw") : QStringLiteral("rh"))
                    .arg(size);
    const TRect at = ed->mouse.sizingFixed || ed->mouse.sizingFixedR ? UnclippedCellRect(0, 0)
                     : colSizing                                     ? UnclippedCellRect(col, 0)
                                                                     : UnclippedCellRect(0, row);
    info.Pos = viewport()->mapToGlobal(QPoint(at.Left, at.Top));
    info.MaxWidth = 200;
    info.Color = d->hintColor;
    info.UseHTMLWindow = true;
    info.Data = this;
    HintManager()->ShowHint(info);
    ed->hover.sizingHintShow = true;
}

void TQrlStringGrid::hideSizingHint()
{
    if (!ed->hover.sizingHintShow)
        return;
    ed->hover.sizingHintShow = false;
    HintManager()->CancelHint();
}

// ---- mouse leave ----------------------------------------------------------------------------

void TQrlStringGrid::MouseLeaveMessageHook()
{
    SetHoverAnchor(-1, -1, -1);
    d->mouseSelectMode = TMouseSelectMode::msNormal;
    d->sizeFixed = false;
    d->sizeFixedR = false;
    if (!d->noMouseLeave && dsp->hoverFixedCells != THoverFixedCells::hfNone &&
        d->hoverFixedCell.X >= 0) {
        const TGridCoord old = d->hoverFixedCell;
        d->hoverFixedCell = {-1, -1};
        RepaintCell(old.X, old.Y);
    }
    if (d->look == TGridLook::glListView && ed->hover.hotFixedCell.X >= 0) {
        const TGridCoord old = ed->hover.hotFixedCell;
        ed->hover.hotFixedCell = {-1, -1};
        if (isFixedArea(*this, old.X, old.Y))
            RepaintCell(old.X, old.Y);
    }
    if (HoverRow() && FHoverRowIdx >= 0) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = -1;
        RepaintRow(old);
    }
}

// ---- sizing veto --------------------------------------------------------------------------

void TQrlStringGrid::CalcSizingState(
    int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    // The border's owner is the cell just before it.
    if (State == TGridState::gsColSizing || d->sizeFixed) {
        const TGridCoord c = MouseCoord(X - 6, Y);
        if (c.X >= 0 && c.Y >= 0 && c.Y < FixedRows()) {
            bool allow = true;
            if (OnColumnSize)
                OnColumnSize(this, c.X, allow);
            if (!allow) {
                if (State == TGridState::gsColSizing)
                    State = TGridState::gsNormal;
                d->sizeFixed = false;
            }
        }
    }
    if (State == TGridState::gsRowSizing || d->sizeFixedR) {
        const TGridCoord c = MouseCoord(X, Y - 6);
        if (c.X >= 0 && c.Y >= 0 && c.X < FixedCols()) {
            bool allow = true;
            if (OnRowSize)
                OnRowSize(this, c.Y, allow);
            if (!allow) {
                if (State == TGridState::gsRowSizing)
                    State = TGridState::gsNormal;
                d->sizeFixedR = false;
            }
        }
    }
}

// ---- the end of a move ----------------------------------------------------------------------

bool TQrlStringGrid::EndColumnDrag(int &Origin, int &Destination, const TPoint &MousePt)
{
    if (std::exchange(ed->hover.moveRefused, false))
        return false;
    return TBaseGrid::EndColumnDrag(Origin, Destination, MousePt);
}

bool TQrlStringGrid::EndRowDrag(int &Origin, int &Destination, const TPoint &MousePt)
{
    const TFloatingFooter *footer = FloatingFooter();
    if (std::exchange(ed->hover.moveRefused, false) ||
        (footer && footer->Visible() && footer->FooterStyle() == TFooterStyle::fsFixedLastRow &&
         Destination == RowCount() - 1))
        return false;
    return TBaseGrid::EndRowDrag(Origin, Destination, MousePt);
}

void TQrlStringGrid::endHeaderDrag()
{
    if (ed->hover.moveButton)
        ed->hover.moveButton->hide();
    for (const QPointer<QWidget> &arrow : dsp->moveArrows)
        if (arrow)
            arrow->hide();
    dsp->movingColumn = -1;
    viewport()->unsetCursor();
    DoEndBlockFocus();
}

// ---- after a column or row moved --------------------------------------------------------------

void TQrlStringGrid::columnMovedFollowers(int FromIndex, int ToIndex, int RealFrom, int RealTo)
{
    if (FromIndex == ToIndex)
        return;
    // Real columns between the two shift by one towards the place the moved one left.
    auto follow = [RealFrom, RealTo](int c) {
        if (c == RealFrom)
            return RealTo;
        if (RealFrom < RealTo && c > RealFrom && c <= RealTo)
            return c - 1;
        if (RealFrom > RealTo && c >= RealTo && c < RealFrom)
            return c + 1;
        return c;
    };
    TSortSettings &ss = *d->sortSettings;
    if (ss.Column() >= 0)
        ss.SetColumn(follow(ss.Column()));
    if (ss.IndexShow()) {
        TSortIndexList &idx = d->sortIndexes;
        for (int i = 0; i < idx.Count(); ++i) {
            const int c = idx.SortColumns(i);
            const int low = c & 0xFFFF;
            idx.SetSortColumns(i, (c & ~0xFFFF) | (follow(low) & 0xFFFF));
        }
    }

    if (d->floatingFooter && d->floatingFooter->Visible())
        UpdateFooter();

    TQrlStringGrid *other = d->syncGrid->Grid();
    if (other && d->syncGrid->MoveColumn() && !ed->hover.syncMoving &&
        FromIndex < other->ColCount() && ToIndex < other->ColCount()) {
        TFlagScope moving(other->ed->hover.syncMoving, true);
        other->MoveColumn(FromIndex, ToIndex);
    }
}

void TQrlStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    TBaseGrid::RowMoved(FromIndex, ToIndex);
    TQrlStringGrid *other = d->syncGrid->Grid();
    if (FromIndex != ToIndex && other && d->syncGrid->MoveRow() && !ed->hover.syncMoving &&
        FromIndex < other->RowCount() && ToIndex < other->RowCount()) {
        TFlagScope moving(other->ed->hover.syncMoving, true);
        other->MoveRow(FromIndex, ToIndex);
    }
}

// ---- the press and release around a cell drag ------------------------------------------------

// A press on a selected cell, with dragging cells out allowed, waits for the pointer to move.
bool TQrlStringGrid::prepareCellDrag(int ACol, int ARow, int X, int Y)
{
    Q_UNUSED(Y);
    TMouseActions &ma = *d->mouseActions;
    if (!ed->hover.oleDropSource || Options().Contains(TGridOption::goEditing) ||
        ACol < FixedCols())
        return false;
    const bool fixedRow = ARow < FixedRows();
    const bool selected =
        fixedRow ? !d->enhRowColMove : Selection().Normalized().Contains(ACol, ARow);
    if (!selected || (fixedRow && (ma.ColSelect() || ma.AllSelect())))
        return false;
    const int RC = RealColIndex(ACol);
    const TCellType type = GetCellType(RC, ARow);
    if (type == TCellType::ctButton || type == TCellType::ctBitButton ||
        type == TCellType::ctExpand || HasCheckBox(RC, ARow))
        return false;
    const TRect r = CellRect(ACol, ARow);
    if (Options().Contains(TGridOption::goColSizing) && !(X - r.Left > 3 && r.Right - X > 3))
        return false;
    setFocus();
    if (OnMouseDown)
        OnMouseDown(this, TMouseButton::mbLeft, TShiftState{TShiftStateItem::ssLeft}, X, Y);
    ed->mouse.selectionClick = true;
    clickCell(ACol, ARow);
    return true;
}

// A prepared drag that never started: the release selects the cell (or its row).
void TQrlStringGrid::selectionClickRelease(int ACol, int ARow)
{
    if (!std::exchange(ed->mouse.selectionClick, false))
        return;
    if (ACol < FixedCols() || ARow < FixedRows())
        return;
    if (Options().Contains(TGridOption::goRowSelect))
        SetSelection({FixedCols(), ARow, ColCount() - 1, ARow});
    else
        SetSelection({ACol, ARow, ACol, ARow});
}
