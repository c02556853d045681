// Scrolling and column sizing: the grid's handling of the scroll-bar messages (hints, synchronous
// scrolling, the in-cell scroll bar, the search footer), the proportional thumb, scrolling a cell
// into view, drag scrolling, column stretching and the steps after a column or row was sized.
//
// Thumb positions: the platform grid's bars run from 0 to their maximum, position = first shown
// line - fixed lines. A position P is mapped to a line as
//   FixedRows + MulDiv(P, RowCount - VisibleRowCount - FixedRows, bar maximum)
// so the bar's two ends land on the first and the last line a thumb can show; with lines of
// equal size this is P + FixedRows, where the platform itself scrolls to.
#include "grid/display/QrlHintWindow.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

using plat::TGridOption;
using plat::TScrollCode;
using plat::TScrollStyle;

namespace {

// a * b / c rounded to the nearest, halves away from zero; -1 for c = 0.
int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long n = static_cast<long long>(a) * b;
    const long long q =
        (2 * std::llabs(n) + std::llabs(c)) / (2 * std::llabs(static_cast<long long>(c)));
    const long long r = (n < 0) != (c < 0) ? -q : q;
    return static_cast<int>(
        std::clamp<long long>(r, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Nearest integer, halves to the even neighbour.
int roundEven(double v)
{
    return static_cast<int>(std::clamp(std::nearbyint(v), double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

int truncInt(double v)
{
    return static_cast<int>(std::clamp(std::trunc(v), double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

// The line a thumb position shows (see the file comment).
int thumbLine(int pos, int count, int visible, int fixed, int barMax)
{
    if (barMax <= 0)
        return fixed;
    return mulDiv(pos, count - visible - fixed, barMax) + fixed;
}

bool hasVertBar(TScrollStyle s)
{
    return s == TScrollStyle::ssVertical || s == TScrollStyle::ssBoth;
}

bool hasHorzBar(TScrollStyle s)
{
    return s == TScrollStyle::ssHorizontal || s == TScrollStyle::ssBoth;
}

// The platform's common controls have no flat scroll bars: every entry point is missing.
bool flatScrollEntryPoint(const char * /*name*/)
{
    return false;
}

// The search panel is not built yet, so its footer never shows.
bool searchFooterShown()
{
    return false;
}

constexpr int SearchPanelHeight = 0;

TScrollCode codeOfAction(int action, bool sliderDown, bool &known)
{
    known = true;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return TScrollCode::scLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
        return TScrollCode::scLineDown;
    case QAbstractSlider::SliderPageStepSub:
        return TScrollCode::scPageUp;
    case QAbstractSlider::SliderPageStepAdd:
        return TScrollCode::scPageDown;
    case QAbstractSlider::SliderToMinimum:
        return TScrollCode::scTop;
    case QAbstractSlider::SliderToMaximum:
        return TScrollCode::scBottom;
    case QAbstractSlider::SliderMove:
        return sliderDown ? TScrollCode::scTrack : TScrollCode::scPosition;
    default:
        known = false;
        return TScrollCode::scEndScroll;
    }
}

} // namespace

// The scroll area's own steps. A nested class, so they reach the grid's state without the facade
// declaring each of them.
struct TQrlStringGrid::TScrollPart
{
    static void makeThinScrollControls(TQrlStringGrid &g);
    static void applyScrollInfo(TQrlStringGrid &g, Qt::Orientation Bar, const TScrollInfo &Info);
    static void showScrollHint(TQrlStringGrid &g, const QString &Prefix, int Line);
    static void hideScrollHint(TQrlStringGrid &g);
    // The cells a fixed background picture covers; false without one.
    static bool fixedBackgroundCells(const TQrlStringGrid &g, plat::TGridRect &R);
    static void repaintFixedBackground(TQrlStringGrid &g, bool Had, const plat::TGridRect &Old);
    static void hideEditorOnCheckBox(TQrlStringGrid &g);
    static void cellScrollBarMessage(TQrlStringGrid &g, plat::TScrollCode Code, int Pos);
    static void freeDragTimer(TQrlStringGrid &g);
};

// ---- scrolling a cell into view ---------------------------------------------------------------

void TQrlStringGrid::ScrollInView(int ColIndex, int RowIndex)
{
    if (ColIndex >= ColCount() || RowIndex >= RowCount() || ColIndex < 0 || RowIndex < 0)
        return;
    int left = LeftCol();
    int top = TopRow();
    if (ColIndex < left || ColIndex >= left + VisibleColCount()) {
        SetCol(ColIndex);
        left = std::max(FixedCols(), ColIndex - VisibleColCount() / 2);
    }
    if (RowIndex < top || RowIndex >= top + VisibleRowCount()) {
        SetRow(RowIndex);
        top = std::max(FixedRows(), RowIndex - VisibleRowCount() / 2);
    }
    left = std::min(left, ColCount() - VisibleColCount() + 1);
    if (FixedCols() + VisibleColCount() < ColCount())
        SetLeftCol(left);
    top = std::min(top, RowCount() - VisibleRowCount() + 1);
    if (FixedRows() + VisibleRowCount() >= RowCount())
        return;
    SetTopRow(top);
    if (!searchFooterShown())
        return;
    int room = height() - SearchPanelHeight;
    if (VisibleColCount() < ColCount())
        room -= horizontalScrollBar()->sizeHint().height();
    while (UnclippedCellRect(0, RowIndex).Bottom > room && TopRow() + 1 < RowCount()) {
        const int was = TopRow();
        SetTopRow(was + 1);
        if (TopRow() == was)
            break;
    }
}

// ---- scroll-bar properties --------------------------------------------------------------------

void TQrlStringGrid::SetScrollBars(TScrollStyle Value)
{
    dsp->scrollBars = Value;
    TBaseGrid::SetScrollBars(Value);
}

TScrollType TQrlStringGrid::ScrollType() const
{
    return dsp->scrollType;
}

void TQrlStringGrid::SetScrollType(TScrollType Value)
{
    if (dsp->scrollType != Value) {
        dsp->scrollType = Value;
        if (Value == TScrollType::ssFlat || Value == TScrollType::ssEncarta) {
            InitFlatScrollBars();
            UpdateFlatScrollBars();
        } else {
            DoneFlatScrollBars();
        }
        const bool created = testAttribute(Qt::WA_WState_Created);
        if (created && Value == TScrollType::ssMetro) {
            TScrollPart::makeThinScrollControls(*this);
            SetScrollBars(TScrollStyle::ssNone);
        }
        if (created && Value != TScrollType::ssMetro && dsp->thinScrollControls) {
            dsp->thinScrollControls = false;
            SetScrollBars(TScrollStyle::ssBoth);
        }
    }
    UpdateScrollStyle();
}

void TQrlStringGrid::TScrollPart::makeThinScrollControls(TQrlStringGrid &g)
{
    // The thin scroll controls are not built: nothing is made, only that the grid hid its
    // bars for them, so leaving the type brings the bars back.
    g.dsp->thinScrollControls = true;
}

TColor TQrlStringGrid::ScrollColor() const
{
    return dsp->scrollColor;
}

void TQrlStringGrid::SetScrollColor(TColor Value)
{
    dsp->scrollColor = Value;
    UpdateScrollColor();
}

int TQrlStringGrid::ScrollWidth() const
{
    return d->scrollWidth;
}

void TQrlStringGrid::SetScrollWidth(int Value)
{
    d->scrollWidth = Value;
    UpdateScrollWidth();
}

bool TQrlStringGrid::ScrollProportional() const
{
    return d->scrollProportional;
}

void TQrlStringGrid::SetScrollProportional(bool Value)
{
    d->scrollProportional = Value;
    if (Value) {
        UpdateVScrollProportional();
        UpdateHScrollProportional();
        return;
    }
    if (dsp->isFlat && dsp->scrollType == TScrollType::ssNormal)
        DoneFlatScrollBars();
    // The bars take the platform grid's page again.
    dsp->hScrollInfo = {};
    dsp->vScrollInfo = {};
    UpdateScrollRange();
}

void TQrlStringGrid::SetXYOffset(const TPoint &Value)
{
    d->xyOffset = Value;
    Invalidate();
}

TColor TQrlStringGrid::ArrowColor() const
{
    if (const QWidget *up = dsp->moveArrows[0])
        return FromQColor(up->palette().color(QPalette::Window));
    return dsp->arrowColor;
}

void TQrlStringGrid::SetArrowColor(TColor Value)
{
    dsp->arrowColor = Value;
    for (const QPointer<QWidget> &arrow : dsp->moveArrows) {
        if (!arrow)
            continue;
        QPalette pal = arrow->palette();
        pal.setColor(QPalette::Window, ToQColor(Value));
        arrow->setPalette(pal);
        arrow->update();
    }
}

// ---- flat scroll-bar layer --------------------------------------------------------------------

void TQrlStringGrid::InitFlatScrollBars()
{
    dsp->isFlat = flatScrollEntryPoint("InitializeFlatSB");
}

void TQrlStringGrid::DoneFlatScrollBars()
{
    dsp->isFlat = false;
    flatScrollEntryPoint("UninitializeFlatSB");
}

bool TQrlStringGrid::IsFlat() const
{
    return dsp->isFlat;
}

void TQrlStringGrid::FlatSetScrollProp(int, int, bool)
{
    if (dsp->isFlat)
        flatScrollEntryPoint("FlatSB_SetScrollProp");
}

void TQrlStringGrid::FlatSetScrollInfo(Qt::Orientation, const TScrollInfo &, bool)
{
    flatScrollEntryPoint("FlatSB_SetScrollInfo");
}

void TQrlStringGrid::FlatShowScrollBar(Qt::Orientation Bar, bool)
{
    if (!dsp->isFlat)
        return;
    if (Bar == Qt::Horizontal ? !hasHorzBar(dsp->scrollBars) : !hasVertBar(dsp->scrollBars))
        return;
    flatScrollEntryPoint("FlatSB_ShowScrollBar");
}

void TQrlStringGrid::UpdateScrollStyle()
{
    int style = 0;
    switch (dsp->scrollType) {
    case TScrollType::ssNormal:
        style = 0;
        break;
    case TScrollType::ssFlat:
        style = 2;
        break;
    case TScrollType::ssEncarta:
        style = 1;
        break;
    case TScrollType::ssMetro:
        return;
    }
    FlatSetScrollProp(256, style, true);
    FlatSetScrollProp(512, style, true);
}

void TQrlStringGrid::UpdateScrollColor()
{
    if (dsp->scrollColor == clNone)
        return;
    FlatSetScrollProp(64, static_cast<int>(dsp->scrollColor), true);
    FlatSetScrollProp(128, static_cast<int>(dsp->scrollColor), true);
}

void TQrlStringGrid::UpdateScrollWidth()
{
    FlatSetScrollProp(8, d->scrollWidth, true);
    FlatSetScrollProp(4, d->scrollWidth, true);
}

void TQrlStringGrid::SyncFlatVScroll()
{
    if (!hasVertBar(dsp->scrollBars) || !dsp->isFlat)
        return;
    const QScrollBar *sb = verticalScrollBar();
    FlatSetScrollInfo(Qt::Vertical, {sb->minimum(), sb->maximum(), sb->pageStep(), sb->value()},
                      true);
}

void TQrlStringGrid::SyncFlatHScroll()
{
    if (!hasHorzBar(dsp->scrollBars) || !dsp->isFlat)
        return;
    const QScrollBar *sb = horizontalScrollBar();
    FlatSetScrollInfo(Qt::Horizontal, {sb->minimum(), sb->maximum(), sb->pageStep(), sb->value()},
                      true);
}

void TQrlStringGrid::UpdateFlatScrollBars()
{
    UpdateScrollStyle();
    UpdateScrollColor();
    UpdateScrollWidth();
    const bool rowsHidden = VisibleRowCount() + FixedRows() < RowCount();
    FlatShowScrollBar(Qt::Vertical, rowsHidden);
    if (rowsHidden)
        SyncFlatVScroll();
    const bool colsHidden = VisibleColCount() + FixedCols() < ColCount();
    FlatShowScrollBar(Qt::Horizontal, colsHidden);
    if (colsHidden)
        SyncFlatHScroll();
}

// ---- proportional thumbs ----------------------------------------------------------------------

void TQrlStringGrid::TScrollPart::applyScrollInfo(TQrlStringGrid &g,
                                                  Qt::Orientation Bar,
                                                  const TScrollInfo &Info)
{
    // The bar keeps the platform's range and position; its page is chosen so that the thumb
    // covers nPage / (nMax + 1) of the track, as the written range would show it.
    QScrollBar *sb = Bar == Qt::Horizontal ? g.horizontalScrollBar() : g.verticalScrollBar();
    const long long range = static_cast<long long>(sb->maximum()) - sb->minimum();
    const long long rest = static_cast<long long>(Info.nMax) - Info.nPage + 1;
    if (range <= 0 || Info.nPage <= 0 || rest <= 0)
        return;
    const long long page = (range * Info.nPage + rest / 2) / rest;
    sb->setPageStep(
        static_cast<int>(std::clamp<long long>(page, 1, std::numeric_limits<int>::max())));
}

void TQrlStringGrid::UpdateHScrollProportional()
{
    if (d->loading || IsDesigningQuery() || !d->scrollProportional || d->scrollLock)
        return;
    // Each line counts with its grid line; the geometry itself keeps no room for the lines.
    const long long L = GridLineWidth();
    const long long fixed = FixedWidth();
    const long long F = L + fixed + FixedCols() * L;
    const long long C = L + GridWidth() - fixed + (ColCount() - FixedCols()) * L;
    // Scrollable columns left of the left column, from where the first of them lies.
    const long long D =
        L + fixed - UnclippedCellRect(FixedCols(), 0).Left + (LeftCol() - FixedCols()) * L;
    const long long S = GridWidth();
    const long long gw = width();
    if (C <= 0)
        return;
    const float e = static_cast<float>(gw - F) / static_cast<float>(C);
    if (e >= 0.9999f)
        return;
    const double f = (double(e) + 127) / (1 - double(e));
    const double p = gw < C ? double(D) / double(C - gw) * 128 : double(dsp->hScrollInfo.nPos);
    if (F + C - gw < 5)
        return;
    const int nMax = truncInt(f);
    dsp->hScrollInfo = {0, nMax, nMax - 126, truncInt(p)};
    TScrollPart::applyScrollInfo(*this, Qt::Horizontal, dsp->hScrollInfo);
    SyncFlatHScroll();
    const TScrollBarAlways always = d->scrollBarAlways;
    if (always != TScrollBarAlways::saHorz && always != TScrollBarAlways::saBoth &&
        (S < gw || !hasHorzBar(dsp->scrollBars)))
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TQrlStringGrid::UpdateVScrollProportional()
{
    if (d->loading || IsDesigningQuery() || !d->scrollProportional || d->scrollLock)
        return;
    if (VisibleRowCount() + FixedRows() >= RowCount())
        return;
    const long long L = GridLineWidth();
    const long long fixed = FixedHeight();
    const long long F = L + fixed + FixedRows() * L;
    const long long C = L + GridHeight() - fixed + (RowCount() - FixedRows()) * L;
    const long long D =
        L + fixed - UnclippedCellRect(0, FixedRows()).Top + (TopRow() - FixedRows()) * L;
    const long long gh = height();
    if (C == 0)
        return;
    const float e = static_cast<float>(gh - F) / static_cast<float>(C);
    const double f = (double(e) + 127) / (1 - double(e));
    const double p = gh < C ? double(D) / double(C - gh) * 128 : 127.0;
    if (e >= 0.9999f)
        return;
    const int nMax = truncInt(f);
    dsp->vScrollInfo = {0, nMax, nMax - 126, truncInt(p)};
    TScrollPart::applyScrollInfo(*this, Qt::Vertical, dsp->vScrollInfo);
    SyncFlatVScroll();
}

void TQrlStringGrid::UpdateScrollRange()
{
    TBaseGrid::UpdateScrollRange();
    // The platform sets the bars' pages again on every change of the view.
    if (!d || d->destroying || dsp->proportionalBusy || !d->scrollProportional)
        return;
    TFlagScope busy(dsp->proportionalBusy, true);
    UpdateVScrollProportional();
    UpdateHScrollProportional();
}

// ---- scroll-bar messages ----------------------------------------------------------------------

THTMLHintWindow *TQrlStringGrid::ScrollHintWindow()
{
    if (!dsp->scrollHintWnd)
        dsp->scrollHintWnd = new THTMLHintWindow(this);
    return dsp->scrollHintWnd;
}

void TQrlStringGrid::TScrollPart::showScrollHint(TQrlStringGrid &g, const QString &Prefix, int Line)
{
    QString hint = Prefix + QString::number(Line);
    if (g.OnScrollHint)
        g.OnScrollHint(&g, Line, hint);
    THTMLHintWindow *w = g.ScrollHintWindow();
    TRect r = w->CalcHintRect(100, hint, &g);
    const QPoint at = QCursor::pos() + QPoint(10, 0);
    r = {at.x(), at.y(), at.x() + r.Width(), at.y() + r.Height()};
    w->SetColor(g.d->hintColor);
    w->ActivateHint(r, hint);
    g.dsp->scrollHintShow = true;
}

void TQrlStringGrid::TScrollPart::hideScrollHint(TQrlStringGrid &g)
{
    if (g.dsp->scrollHintWnd)
        g.dsp->scrollHintWnd->ReleaseHandle();
    g.dsp->scrollHintShow = false;
}

bool TQrlStringGrid::TScrollPart::fixedBackgroundCells(const TQrlStringGrid &g, plat::TGridRect &R)
{
    const TBackGround &bk = *g.d->backGround;
    if (bk.Display() != TBackGroundDisplay::bdFixed || bk.Bitmap().Empty())
        return false;
    auto cellAt = [&g](int x, int y) {
        const plat::TGridCoord c = g.MouseCoord(x, y);
        return c.X < 0 || c.Y < 0 ? plat::TGridCoord{g.ColCount() - 1, g.RowCount() - 1} : c;
    };
    const plat::TGridCoord a = cellAt(bk.Left(), bk.Top());
    const plat::TGridCoord b =
        cellAt(bk.Left() + bk.Bitmap().Width() - 1, bk.Top() + bk.Bitmap().Height() - 1);
    R = plat::TGridRect{a.X, a.Y, b.X, b.Y}.Normalized();
    return true;
}

void TQrlStringGrid::TScrollPart::repaintFixedBackground(TQrlStringGrid &g,
                                                         bool Had,
                                                         const plat::TGridRect &Old)
{
    plat::TGridRect now;
    if (!Had || !fixedBackgroundCells(g, now) || now == Old)
        return;
    g.RepaintRect(Old);
    g.RepaintRect(now);
}

void TQrlStringGrid::TScrollPart::hideEditorOnCheckBox(TQrlStringGrid &g)
{
    if (g.Col() < g.ColCount() && g.Row() < g.RowCount() &&
        g.HasCheckBox(g.RealColIndex(g.Col()), g.Row()))
        g.HideInplaceEdit();
}

void TQrlStringGrid::ModifyScrollBar(Qt::Orientation Bar, TScrollCode Code, int Pos)
{
    if (Bar == Qt::Horizontal)
        WMHScroll(Code, Pos);
    else
        WMVScroll(Code, Pos);
}

void TQrlStringGrid::WMHScroll(TScrollCode Code, int Pos)
{
    const int barMax = horizontalScrollBar()->maximum();
    auto thumbCol = [&] {
        return thumbLine(Pos, ColCount(), VisibleColCount(), FixedCols(), barMax);
    };
    int t = thumbCol();
    const TScrollHintType hints = d->scrollHints;
    if (hints == TScrollHintType::shHorizontal || hints == TScrollHintType::shBoth) {
        if (Code == TScrollCode::scEndScroll)
            TScrollPart::hideScrollHint(*this);
        if (Code == TScrollCode::scTrack)
            TScrollPart::showScrollHint(*this, QStringLiteral("Col : "), t);
    }
    if (Code == TScrollCode::scPosition && dsp->isFlat && ColCount() > 0) {
        // A flat bar's track is shorter by its thumb: stretch the position back over the range.
        const int k = roundEven(double(VisibleColCount()) * (barMax + 1) / ColCount());
        if (k != barMax + 1)
            Pos = roundEven(double(Pos) * barMax / (barMax + 1 - k));
        t = thumbCol();
    }
    if (Code == TScrollCode::scTrack && d->scrollSynch)
        SetLeftCol(t);
    plat::TGridRect oldBk;
    const bool bk = TScrollPart::fixedBackgroundCells(*this, oldBk);
    if (FixedCols() == 0 && t >= Col())
        HideInplaceEdit();
    TBaseGrid::ModifyScrollBar(Qt::Horizontal, Code, Pos);
    if (Code != TScrollCode::scTrack)
        TScrollPart::repaintFixedBackground(*this, bk, oldBk);
    if (Code == TScrollCode::scEndScroll &&
        ((isRightToLeft() && FMergeCount > 0) || ColCount() == 1))
        Invalidate();
    SyncFlatHScroll();
    SyncFlatVScroll();
    TScrollPart::hideEditorOnCheckBox(*this);
    UpdateFooter();
}

void TQrlStringGrid::WMVScroll(TScrollCode Code, int Pos, QScrollBar *Source)
{
    if (IsDesigningQuery()) {
        TBaseGrid::ModifyScrollBar(Qt::Vertical, Code, Pos);
        return;
    }
    if (Source) {
        if (Source == dsp->scrollBar)
            TScrollPart::cellScrollBarMessage(*this, Code, Pos);
        return;
    }
    const int barMax = verticalScrollBar()->maximum();
    const int r = thumbLine(Pos, RowCount(), VisibleRowCount(), FixedRows(), barMax);
    const TScrollHintType hints = d->scrollHints;
    if (hints == TScrollHintType::shVertical || hints == TScrollHintType::shBoth) {
        if (Code == TScrollCode::scEndScroll)
            TScrollPart::hideScrollHint(*this);
        if (Code == TScrollCode::scTrack)
            TScrollPart::showScrollHint(*this, QStringLiteral("Row : "), r);
    }
    if (Code == TScrollCode::scTrack && d->scrollSynch)
        SetTopRow(r);
    plat::TGridRect oldBk;
    const bool bk = TScrollPart::fixedBackgroundCells(*this, oldBk);
    const bool footer = searchFooterShown();
    if (footer && (Code == TScrollCode::scEndScroll || Code == TScrollCode::scLineDown) &&
        LastRowAboveSearchFooter())
        return;
    TBaseGrid::ModifyScrollBar(Qt::Vertical, Code, Pos);
    if (footer) {
        const bool atEnd = TopRow() == RowCount() - VisibleRowCount();
        if (Code == TScrollCode::scLineUp && atEnd)
            SetTopRow(TopRow() - 1);
        if ((Code == TScrollCode::scEndScroll || Code == TScrollCode::scLineDown) && atEnd)
            ScrollLastRowAboveSearchFooter();
    }
    if (Code != TScrollCode::scTrack)
        TScrollPart::repaintFixedBackground(*this, bk, oldBk);
    SyncFlatVScroll();
    SyncFlatHScroll();
    TScrollPart::hideEditorOnCheckBox(*this);
}

void TQrlStringGrid::WMVScroll(TScrollCode Code, int Pos)
{
    WMVScroll(Code, Pos, nullptr);
}

void TQrlStringGrid::TScrollPart::cellScrollBarMessage(TQrlStringGrid &g, TScrollCode Code, int Pos)
{
    QScrollBar *sb = g.dsp->scrollBar;
    const int old = sb->value();
    int pos = old;
    switch (Code) {
    case TScrollCode::scLineUp:
        pos = std::max(sb->minimum(), old - 10);
        break;
    case TScrollCode::scLineDown:
        pos = std::min(sb->maximum(), old + 10);
        break;
    case TScrollCode::scPageUp:
        pos = old - 100;
        break;
    case TScrollCode::scPageDown:
        pos = old + 100;
        break;
    case TScrollCode::scTrack:
        pos = Pos;
        break;
    default:
        break;
    }
    // The control moves only where the grid puts it.
    sb->setSliderPosition(pos);
    pos = sb->sliderPosition();
    if (pos == old)
        return;
    const TStringGridDisplayState &s = *g.dsp;
    g.SetScrollPosition(s.scrollCol, s.scrollRow, pos);
    g.RepaintCell(g.DisplColIndex(s.scrollCol), s.scrollRow);
    g.DoScrollCell(s.scrollCol, s.scrollRow, pos, sb->minimum(), sb->maximum());
}

void TQrlStringGrid::ConnectCellScrollBar(QScrollBar *Bar, int ACol, int ARow)
{
    if (dsp->scrollBar != Bar) {
        if (dsp->scrollBar)
            disconnect(dsp->scrollBar, nullptr, this, nullptr);
        dsp->scrollBar = Bar;
        if (Bar)
            connect(Bar, &QAbstractSlider::actionTriggered, this, [this, Bar](int action) {
                bool known = false;
                const TScrollCode code = codeOfAction(action, Bar->isSliderDown(), known);
                if (known)
                    WMVScroll(code, Bar->sliderPosition(), Bar);
            });
    }
    dsp->scrollCol = ACol;
    dsp->scrollRow = ARow;
}

// ---- drag scrolling ---------------------------------------------------------------------------

void TQrlStringGrid::TScrollPart::freeDragTimer(TQrlStringGrid &g)
{
    delete g.dsp->dragTmr.data();
    g.dsp->dragTmr = nullptr;
}

void TQrlStringGrid::DragOverHook(QObject *, int X, int Y, TDragState State, bool &)
{
    const TDragScrollOptions &opts = *d->dragScrollOptions;
    if (!opts.Active()) {
        TScrollPart::freeDragTimer(*this);
        return;
    }
    const bool wasEmpty = dsp->dragScrollDirection.IsEmpty();
    dsp->dragScrollDirection.Clear();
    if (State == TDragState::dsDragLeave) {
        TScrollPart::freeDragTimer(*this);
    } else {
        const TDragScrollMargins &m = opts.Margins();
        if (Y < m.TopMargin())
            dsp->dragScrollDirection.Include(TDragScrollDir::dsdUp);
        else if (Y > viewport()->height() - m.BottomMargin())
            dsp->dragScrollDirection.Include(TDragScrollDir::dsdDown);
        if (X < m.LeftMargin())
            dsp->dragScrollDirection.Include(TDragScrollDir::dsdLeft);
        else if (X > viewport()->width() - m.RightMargin())
            dsp->dragScrollDirection.Include(TDragScrollDir::dsdRight);
    }
    if (dsp->dragScrollDirection.IsEmpty()) {
        TScrollPart::freeDragTimer(*this);
    } else if (!dsp->dragTmr) {
        // Owned by the grid rather than its parent, so no tick outlives the grid.
        dsp->dragTmr = new QTimer(this);
        dsp->dragTmr->setObjectName(QStringLiteral("gridDragScrollTimer"));
        dsp->dragTmr->setInterval(opts.Delays().InitialDelay());
        connect(dsp->dragTmr, &QTimer::timeout, this, [this] { DragScrollTimer(); });
        dsp->dragTmr->start();
    } else if (!wasEmpty) {
        dsp->dragTmr->start(opts.Delays().InitialDelay());
    }
}

void TQrlStringGrid::DragScrollTimer()
{
    const TDragScrollOptions &opts = *d->dragScrollOptions;
    if (!opts.Active()) {
        TScrollPart::freeDragTimer(*this);
        return;
    }
    if (dsp->dragTmr)
        dsp->dragTmr->setInterval(opts.Delays().RepeatDelay());
    bool canScroll = true;
    if (OnDragScroll)
        OnDragScroll(this, TopRow(), LeftCol(), dsp->dragScrollDirection, canScroll);
    if (!canScroll)
        return;
    const TDragScrollDirection dir = dsp->dragScrollDirection;
    if (dir.Contains(TDragScrollDir::dsdUp) && TopRow() > FixedRows())
        SetTopRow(TopRow() - 1);
    if (dir.Contains(TDragScrollDir::dsdDown) && TopRow() + VisibleRowCount() < RowCount())
        SetTopRow(TopRow() + 1);
    if (dir.Contains(TDragScrollDir::dsdLeft) && LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
    if (dir.Contains(TDragScrollDir::dsdRight) && VisibleColCount() + LeftCol() < ColCount())
        SetLeftCol(LeftCol() + 1);
}

void TQrlStringGrid::dragEnterEvent(QDragEnterEvent *event)
{
    bool accept = false;
    const QPoint p = event->position().toPoint();
    DragOverHook(event->source(), p.x(), p.y(), TDragState::dsDragEnter, accept);
    // Moves arrive only after an accepted enter, and drag scrolling needs them.
    event->setAccepted(accept || d->dragScrollOptions->Active());
}

void TQrlStringGrid::dragMoveEvent(QDragMoveEvent *event)
{
    bool accept = false;
    const QPoint p = event->position().toPoint();
    DragOverHook(event->source(), p.x(), p.y(), TDragState::dsDragMove, accept);
    event->setAccepted(accept);
}

void TQrlStringGrid::dragLeaveEvent(QDragLeaveEvent *event)
{
    bool accept = false;
    DragOverHook(nullptr, -1, -1, TDragState::dsDragLeave, accept);
    event->accept();
}

// ---- sizes ------------------------------------------------------------------------------------

void TQrlStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    SizeChangedHook(OldColCount, OldRowCount);
}

void TQrlStringGrid::SizeChangedHook(int OldColCount, int OldRowCount)
{
    if (!parentWidget() || d->loading || QCoreApplication::closingDown())
        return;
    if (d->columnSize->Stretch())
        DoStretchColumn(d->columnSize->StretchColumn());
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    const bool rowsHidden = VisibleRowCount() + FixedRows() < RowCount();
    FlatShowScrollBar(Qt::Vertical, rowsHidden);
    SyncFlatVScroll();
    const bool colsHidden = VisibleColCount() + FixedCols() < ColCount();
    FlatShowScrollBar(Qt::Horizontal, colsHidden);
    SyncFlatHScroll();
}

void TQrlStringGrid::DoStretchColumn(int Index)
{
    if (d->loading || d->destroying || QCoreApplication::closingDown())
        return;
    if (Index < -1 || Index >= ColCount())
        throw EQrlGridError(QStringLiteral("Stretch column index out of range"));
    if (ColCount() == 0 || !d->columnSize->Stretch() || dsp->isColChanging)
        return;
    const int col = Index == -1 ? ColCount() - 1 : Index;
    {
        TFlagScope changing(dsp->isColChanging, true);
        TFlagScope noRestretch(dsp->colchgFlg, false);
        const int client = viewport()->width();
        if (ColCount() == 1) {
            SetColWidths(0, client);
        } else {
            long long others = 0;
            for (int c = 0; c < ColCount(); ++c)
                if (c != col)
                    others += ColWidths(c);
            if (others < client)
                SetColWidths(col, static_cast<int>(client - others - 1));
            else if (LeftCol() == FixedCols())
                SetColWidths(col, DefaultColWidth());
        }
    }
    dsp->colchgFlg = true;
    // The floating footer's panel is not built: there is no panel to align yet.
}

void TQrlStringGrid::StretchRightColumn()
{
    DoStretchColumn(ColCount() - 1);
}

void TQrlStringGrid::ColWidthsChanged()
{
    ColWidthsChangedHook();
}

void TQrlStringGrid::RowHeightsChanged()
{
    RowHeightsChangedHook();
}

void TQrlStringGrid::ColWidthsChangedHook()
{
    // Only with Stretch on: an out-of-range StretchColumn must not make every width change
    // throw.
    if (dsp->colchgFlg && d->columnSize->Stretch())
        DoStretchColumn(d->columnSize->StretchColumn());
    if (IsDesigningQuery() && dsp->scrollHintShow)
        TScrollPart::hideScrollHint(*this);
    TBaseGrid::ColWidthsChanged();
    dsp->colSizeFlg = true;
    const int sized = dsp->colClicked;
    const bool valid = sized >= 0 && sized < ColCount();
    if (dsp->colSized && valid && d->mouseActions->AllColumnSize() && dsp->colClickedSize > 0) {
        const double factor = double(ColWidths(sized)) / dsp->colClickedSize;
        // The widths set here are no user sizing of their own.
        TFlagScope notSized(dsp->colSized, false);
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (c != sized)
                SetColWidths(c, roundEven(ColWidths(c) * factor));
    }
    if (dsp->colSized) {
        if (OnEndColumnSize)
            OnEndColumnSize(this, sized);
        if (valid) {
            const int width = ColWidths(sized);
            int limited = width;
            UpdateColSize(sized, limited);
            if (limited != width) {
                dsp->colSized = false;
                SetColWidths(sized, limited);
            }
        }
        if (dsp->colSized) {
            dsp->colClicked = -1;
            dsp->rowClicked = -1;
        }
    }
    if (QWidget *editor = shownSpecialEditor())
        editor->setGeometry(CellRect(Col(), Row()).toQRect());
    dsp->colSized = false;
    TScrollPart::hideEditorOnCheckBox(*this);
    UpdateFooter();
    CellControlsUpdate(false);
    if (d->columnSize->Stretch() && d->scrollProportional)
        UpdateVScrollProportional();
}

void TQrlStringGrid::RowHeightsChangedHook()
{
    if (IsDesigningQuery() && dsp->scrollHintShow)
        TScrollPart::hideScrollHint(*this);
    TBaseGrid::RowHeightsChanged();
    const int sized = dsp->rowClicked;
    const bool valid = sized >= 0 && sized < RowCount();
    if (dsp->rowSized && valid && d->mouseActions->AllRowSize() && dsp->rowClickedSize > 0) {
        const double factor = double(RowHeights(sized)) / dsp->rowClickedSize;
        TFlagScope notSized(dsp->rowSized, false);
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != sized)
                SetRowHeights(r, roundEven(RowHeights(r) * factor));
    }
    if (dsp->rowSized) {
        if (OnEndRowSize)
            OnEndRowSize(this, sized);
        dsp->colClicked = -1;
        dsp->rowClicked = -1;
    }
    dsp->rowSized = false;
    TScrollPart::hideEditorOnCheckBox(*this);
    CellControlsUpdate(false);
}

bool TQrlStringGrid::IsSizingPos(int X, int Y)
{
    const plat::TGridCoord c = MouseCoord(X, Y);
    if (c.X < 0 || c.Y < 0)
        return false;
    const TRect r = CellRect(c.X, c.Y);
    const plat::TGridOptions opts = Options();
    bool result = false;
    if (c.Y <= FixedRows() && opts.Contains(TGridOption::goColSizing))
        result = std::abs(X - r.Left) < 4 || std::abs(X - r.Right) < 4;
    if (c.X <= FixedCols() && opts.Contains(TGridOption::goRowSizing))
        result = std::abs(Y - r.Top) <= 3 || std::abs(Y - r.Bottom) <= 3;
    return result;
}

// ---- components the grid refers to -----------------------------------------------------------

void TQrlStringGrid::FreeNotification(QObject *AComponent)
{
    if (!AComponent)
        return;
    connect(AComponent, &QObject::destroyed, this,
            [this](QObject *gone) { NotificationHook(gone, TOperation::opRemove); });
}

void TQrlStringGrid::NotificationHook(QObject *AComponent, TOperation Operation)
{
    if (Operation != TOperation::opRemove || !AComponent)
        return;
    // The guarded references read null already; the synchronised grid is a plain pointer.
    if (d->gridImages == AComponent)
        d->gridImages = nullptr;
    if (d->pictureContainer == AComponent)
        d->pictureContainer = nullptr;
    if (d->cellChecker == AComponent)
        d->cellChecker = nullptr;
    if (dsp->fixedDropDownMenu == AComponent)
        dsp->fixedDropDownMenu = nullptr;
    TQrlStringGrid *sync = d->syncGrid->Grid();
    if (!d->destroying && sync && static_cast<QObject *>(sync) == AComponent)
        d->syncGrid->Notification(sync);
}
