// Grid properties, update locking, the grid timer, focus handling and plain setters.
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QApplication>
#include <QEvent>
#include <QResizeEvent>
#include <QTimerEvent>

using plat::TGridCoord;
using plat::TGridRect;

// ---- counts and layout ------------------------------------------------------------------------

void TQrlStringGrid::SetRowCount(int Value)
{
    const int old = RowCount();
    footerRowBeforeCount(old, Value);
    TBaseGrid::SetRowCount(Value);
    if (d->fixedRowAlways && d->fixedRowsMin < RowCount() &&
        TBaseGrid::FixedRows() != d->fixedRowsMin)
        TBaseGrid::SetFixedRows(d->fixedRowsMin);
    d->maxRowCount = std::max(d->maxRowCount, Value);
    FNormalRowCount = Value;
    UpdateFooter();
    UpdateScrollBarsAlways(false);
    footerRowAfterCount(old);
}

void TQrlStringGrid::SetColCount(int Value)
{
    TBaseGrid::SetColCount(Value);
    if (d->fixedColAlways && d->fixedColsMin < ColCount() &&
        TBaseGrid::FixedCols() != d->fixedColsMin)
        TBaseGrid::SetFixedCols(d->fixedColsMin);
    d->maxColCount = std::max(d->maxColCount, Value);
    applyFormBounds();
    UpdateScrollBarsAlways(false);
}

void TQrlStringGrid::SetCol(int Value)
{
    if (Value == Col())
        return;
    TBaseGrid::SetCol(Value);
    TQrlStringGrid *other = d->syncGrid->Grid();
    if (other && other != this && d->syncGrid->SelectionColumn() && other->Col() != Col() &&
        Col() < other->ColCount())
        other->SetCol(Col());
}

void TQrlStringGrid::SetFixedRows(int Value)
{
    const int asked = Value;
    if (d->fixedRowAlways && Value >= RowCount())
        Value = RowCount() - 1;
    TBaseGrid::SetFixedRows(Value);
    if (!d->loading)
        d->fixedRowsMin = asked;
}

int TQrlStringGrid::FixedRows() const
{
    const int n = TBaseGrid::FixedRows();
    return n == 0 && d->fixedRowAlways ? 1 : n;
}

void TQrlStringGrid::SetFixedCols(int Value)
{
    const int asked = Value;
    if (d->fixedColAlways && Value >= ColCount())
        Value = ColCount() - 1;
    TBaseGrid::SetFixedCols(Value);
    if (!d->loading)
        d->fixedColsMin = asked;
}

void TQrlStringGrid::SetDefaultRowHeight(int Value)
{
    TBaseGrid::SetDefaultRowHeight(Value);
    if (d->floatingFooter)
        d->floatingFooter->SetHeight(Value);
}

int TQrlStringGrid::FixedRowHeight() const
{
    return d->fixedRowHeight;
}

void TQrlStringGrid::SetFixedRowHeight(int Value)
{
    d->fixedRowHeight = Value;
    if (!d->loading) {
        if (Value == DefaultRowHeight())
            SetDefaultRowHeight(Value);
        for (int r = 0; r < TBaseGrid::FixedRows(); ++r)
            SetRowHeights(r, Value);
    } else {
        for (int r = 0; r < TBaseGrid::FixedRows(); ++r)
            SetRowHeights(r, Value);
    }
}

int TQrlStringGrid::FixedColWidth() const
{
    return ColWidths(0);
}

void TQrlStringGrid::SetFixedColWidth(int Value)
{
    if (!d->loading && Value != DefaultColWidth())
        for (int c = 0; c < TBaseGrid::FixedCols(); ++c)
            SetColWidths(c, Value);
}

int TQrlStringGrid::FixedFooters() const
{
    return d->fixedFooters;
}

void TQrlStringGrid::SetFixedFooters(int Value)
{
    d->fixedFooters = Value;
    Invalidate();
}

int TQrlStringGrid::FixedRightCols() const
{
    return d->fixedRightCols;
}

void TQrlStringGrid::SetFixedRightCols(int Value)
{
    d->fixedRightCols = Value;
    Invalidate();
}

void TQrlStringGrid::SetWordWrap(bool Value)
{
    TBaseGrid::SetWordWrap(Value);
    if (d->updateCount == 0)
        Invalidate();
}

TVAlignment TQrlStringGrid::VAlignment() const
{
    return d->vAlignment;
}

void TQrlStringGrid::SetVAlignment(TVAlignment Value)
{
    d->vAlignment = Value;
    switch (Value) {
    case TVAlignment::vtaTop:
        d->vAlignFlag = 0;
        break;
    case TVAlignment::vtaCenter:
        d->vAlignFlag = 4;
        break;
    case TVAlignment::vtaBottom:
        d->vAlignFlag = 8;
        break;
    }
    if (d->updateCount == 0)
        Invalidate();
}

unsigned TQrlStringGrid::VAlignmentFlag() const
{
    return d->vAlignFlag;
}

void TQrlStringGrid::SetSelection(const TGridRect &Value)
{
    TBaseGrid::SetSelection(Value);
    if (d->activeCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (ActiveRowShow())
        InvalidateRow(Value.Bottom);
}

int TQrlStringGrid::MaxRowCount() const
{
    return d->maxRowCount;
}

int TQrlStringGrid::MaxColCount() const
{
    return d->maxColCount;
}

// ---- update locking ---------------------------------------------------------------------------

void TQrlStringGrid::BeginUpdate()
{
    if (!isVisible())
        return;
    ++d->updateCount;
    setUpdatesEnabled(false);
}

void TQrlStringGrid::EndUpdate()
{
    if (!isVisible())
        return;
    if (d->updateCount > 0)
        --d->updateCount;
    if (d->updateCount == 0 && !d->destroying) {
        d->selChange = false;
        setUpdatesEnabled(true);
        Invalidate();
    }
}

void TQrlStringGrid::StartUpdate()
{
    ++d->updateCount;
}

void TQrlStringGrid::ResetUpdate()
{
    d->updateCount = 0;
}

bool TQrlStringGrid::LockUpdate() const
{
    return d->updateCount != 0;
}

void TQrlStringGrid::SetLockUpdate(bool Value)
{
    if (Value)
        BeginUpdate();
    else
        EndUpdate();
}

int TQrlStringGrid::UpdateCount() const
{
    return d->updateCount;
}

void TQrlStringGrid::Paint()
{
    // Nothing is painted while an update is in progress.
    if (d->updateCount >= 1)
        return;
    TBaseGrid::Paint();
    d->paintCount = 1;
}

void TQrlStringGrid::DrawCell(int ACol, int ARow, const TRect &ARect, plat::TGridDrawState AState)
{
    TBaseGrid::DrawCell(ACol, ARow, ARect, AState);
}

// ---- print geometry ---------------------------------------------------------------------------

namespace {
void checkPrintCol(int ACol)
{
    if (ACol < 0 || ACol > 511)
        throw EQrlGridError(QStringLiteral("Columns is not in valid range"));
}
} // namespace

int TQrlStringGrid::GetPrintColWidth(int ACol) const
{
    checkPrintCol(ACol);
    return d->maxWidths[ACol];
}

int TQrlStringGrid::GetPrintColOffset(int ACol) const
{
    checkPrintCol(ACol);
    return d->indents[ACol];
}

void TQrlStringGrid::SetPrintColWidth(int ACol, int Value)
{
    checkPrintCol(ACol);
    d->maxWidths[ACol] = Value;
}

void TQrlStringGrid::SetPrintColOffset(int ACol, int Value)
{
    checkPrintCol(ACol);
    d->indents[ACol] = Value;
}

// ---- timer ------------------------------------------------------------------------------------

void TQrlStringGrid::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == d->timerId) {
        GridTimerTick();
        return;
    }
    TBaseGrid::timerEvent(event);
}

void TQrlStringGrid::GridTimerTick()
{
    ++d->timerTicks;
    if (d->navigation->AutoGotoIncremental()) {
        if (d->searchTics == 3) {
            d->searchInc.clear();
            d->searchTics = 0;
        } else {
            ++d->searchTics;
        }
    }
    if (d->hovering && !IsDesigningQuery() && underMouse()) {
        const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
        const TGridCoord c = MouseCoord(p.x(), p.y());
        if (c.X >= TBaseGrid::FixedCols() && c.Y >= FixedRows() && c.X < ColCount() &&
            c.Y < RowCount()) {
            setFocus();
            SetRow(c.Y);
            SetCol(c.X);
        }
    }
    if (d->enableBlink) {
        d->gridBlink = !d->gridBlink;
        repaintBlinkCells();
    }
}

void TQrlStringGrid::repaintBlinkCells()
{
    auto blinkIn = [this](int c, int r) {
        if (c < 0 || r < 0 || r >= RowCount() || c >= TotalColCount())
            return;
        if (GetCellEx(c, r).contains(QLatin1String("<BLI"), Qt::CaseInsensitive))
            RepaintCell(DisplColIndex(c), r);
    };
    const int rowEnd = TopRow() + VisibleRowCount() - 1;
    for (int r = TopRow(); r <= rowEnd; ++r)
        for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() + NumHiddenColumns() - 1; ++c)
            blinkIn(c, r);
    for (int r = 0; r < TBaseGrid::FixedRows(); ++r)
        for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() - 1; ++c)
            blinkIn(c, r);
    for (int r = TopRow(); r <= rowEnd; ++r)
        for (int c = 0; c < TBaseGrid::FixedCols(); ++c)
            blinkIn(c, r);
}

int TQrlStringGrid::TimerTicks() const
{
    return d->timerTicks;
}
QString TQrlStringGrid::SearchInc() const
{
    return d->searchInc;
}
void TQrlStringGrid::SetSearchInc(const QString &Value)
{
    d->searchInc = Value;
}
int TQrlStringGrid::SearchTics() const
{
    return d->searchTics;
}
void TQrlStringGrid::SetSearchTics(int Value)
{
    d->searchTics = Value;
}

// ---- cursors, focus and the owner form ---------------------------------------------------------

void TQrlStringGrid::ResetFixedCellHighlight()
{
    d->sizeFixed = false;
    d->sizeFixedR = false;
    d->noMouseLeave = false;
    if (d->hoverFixedCell.X != -1 || d->hoverFixedCell.Y != -1) {
        const TGridCoord c = d->hoverFixedCell;
        d->hoverFixedCell = {-1, -1};
        RepaintCell(c.X, c.Y);
    }
}

Qt::CursorShape TQrlStringGrid::GetCursorForPoint(int X, int Y)
{
    switch (d->mouseSelectMode) {
    case TMouseSelectMode::msColumn:
        return Qt::SplitVCursor;
    case TMouseSelectMode::msRow:
        return Qt::SplitHCursor;
    case TMouseSelectMode::msAll:
    case TMouseSelectMode::msResize:
        return Qt::SizeAllCursor;
    default:
        break;
    }
    if (d->cellSelectorMode)
        return Qt::CrossCursor;
    const Qt::CursorShape shape = TBaseGrid::GetCursorForPoint(X, Y);
    const TGridCoord c = MouseCoord(X, Y);
    if (c.X >= 0 && c.Y >= 0)
        DoGetCellCursor(c.X, c.Y, X, Y);
    return shape;
}

TMouseSelectMode TQrlStringGrid::MouseSelectMode() const
{
    return d->mouseSelectMode;
}
void TQrlStringGrid::SetMouseSelectMode(TMouseSelectMode Value)
{
    d->mouseSelectMode = Value;
}
bool TQrlStringGrid::CellSelectorMode() const
{
    return d->cellSelectorMode;
}
void TQrlStringGrid::SetCellSelectorMode(bool Value)
{
    d->cellSelectorMode = Value;
}
bool TQrlStringGrid::EditDisable() const
{
    return d->editDisable;
}
void TQrlStringGrid::SetEditDisable(bool Value)
{
    d->editDisable = Value;
}

void TQrlStringGrid::DoEnter()
{
    if (focusBlocked())
        return;
    TBaseGrid::DoEnter();
    RememberOldCellValue(Col(), Row());
}

void TQrlStringGrid::DoExit()
{
    if (killBlocked())
        return;
    d->selChange = false;
    TBaseGrid::DoExit();
}

void TQrlStringGrid::Click()
{
    TBaseGrid::Click();
    d->entered = false;
    RememberOldCellValue(Col(), Row());
}

void TQrlStringGrid::SetSizeWithForm(bool Value)
{
    d->sizeWithForm = Value;
    QWidget *form = window();
    if (Value && form && form != this && !d->form) {
        d->form = form;
        d->prevSizeX = form->width();
        d->prevSizeY = form->height();
        form->installEventFilter(this);
    }
}

bool TQrlStringGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d->form && event->type() == QEvent::Resize)
        FormResize(d->form);
    return TBaseGrid::eventFilter(watched, event);
}

void TQrlStringGrid::FormResize(QWidget *Form)
{
    if (d->destroying || !Form)
        return;
    if (d->sizeWithForm) {
        const int w = Form->width() + width() - d->prevSizeX;
        const int h = Form->height() + height() - d->prevSizeY;
        if (w > 0 && h > 0) {
            resize(w, h);
            d->prevSizeX = Form->width();
            d->prevSizeY = Form->height();
        }
    }
}

// ---- plain setters ----------------------------------------------------------------------------

#define QRL_PLAIN(Type, Name, field)                                                               \
    Type TQrlStringGrid::Name() const                                                              \
    {                                                                                              \
        return d->field;                                                                           \
    }                                                                                              \
    void TQrlStringGrid::Set##Name(Type Value)                                                     \
    {                                                                                              \
        d->field = Value;                                                                          \
    }
#define QRL_PLAIN_REF(Type, Name, field)                                                           \
    Type TQrlStringGrid::Name() const                                                              \
    {                                                                                              \
        return d->field;                                                                           \
    }                                                                                              \
    void TQrlStringGrid::Set##Name(const Type &Value)                                              \
    {                                                                                              \
        d->field = Value;                                                                          \
    }
#define QRL_REPAINT(Type, Name, field)                                                             \
    Type TQrlStringGrid::Name() const                                                              \
    {                                                                                              \
        return d->field;                                                                           \
    }                                                                                              \
    void TQrlStringGrid::Set##Name(Type Value)                                                     \
    {                                                                                              \
        if (d->field == Value)                                                                     \
            return;                                                                                \
        d->field = Value;                                                                          \
        Invalidate();                                                                              \
    }

QRL_PLAIN_REF(QString, FloatFormat, floatFormat)
QRL_PLAIN_REF(QString, CheckTrue, checkTrue)
QRL_PLAIN_REF(QString, CheckFalse, checkFalse)
QRL_PLAIN(QChar, PasswordChar, passwordChar)
QRL_PLAIN(QChar, Delimiter, delimiter)
QRL_PLAIN_REF(QString, XMLEncoding, xmlEncoding)
QRL_PLAIN_REF(QString, FilterDropDownClear, filterDropDownClear)
QRL_REPAINT(bool, EnableHTML, enableHTML)
QRL_PLAIN(TEditorType, DefaultEditor, defaultEditor)
QRL_REPAINT(TAlignment, DefaultAlignment, defaultAlignment)
QRL_PLAIN(bool, ShowNullDates, showNullDates)
QRL_PLAIN(TInvalidEntryIcon, InvalidEntryIcon, invalidEntryIcon)
QRL_PLAIN_REF(QString, InvalidEntryTitle, invalidEntryTitle)
QRL_PLAIN_REF(QString, InvalidEntryText, invalidEntryText)
QRL_PLAIN(bool, SaveFixedCells, saveFixedCells)
QRL_PLAIN(bool, SaveFixedRows, saveFixedRows)
QRL_PLAIN(bool, SaveFixedCols, saveFixedCols)
QRL_PLAIN(bool, SaveHiddenCells, saveHiddenCells)
QRL_PLAIN(bool, SaveVirtCells, saveVirtCells)
QRL_PLAIN(bool, SaveWithHTML, saveWithHTML)
QRL_PLAIN(bool, LoadFirstRow, loadFirstRow)
QRL_PLAIN(bool, QuoteEmptyCells, quoteEmptyCells)
QRL_PLAIN(bool, AlwaysQuotes, alwaysQuotes)
QRL_PLAIN(bool, JavaCSV, javaCSV)
QRL_PLAIN(bool, ExcelClipboardFormat, excelClipboardFormat)
QRL_PLAIN(bool, ClearTextOnly, clearTextOnly)
QRL_PLAIN(TQuorlStyle, ComponentStyle, componentStyle)
// ScrollType, ScrollColor, ScrollWidth, ScrollProportional: grid/display/QrlStringGrid_scroll.cpp
QRL_PLAIN(bool, ScrollSynch, scrollSynch)
QRL_PLAIN(TScrollHintType, ScrollHints, scrollHints)
QRL_PLAIN(bool, AutoNumAlign, autoNumAlign)
QRL_PLAIN(bool, AnchorHint, anchorHint)
QRL_PLAIN(bool, AutoFilterUpdate, autoFilterUpdate)
QRL_PLAIN(bool, FilterIncremental, filterIncremental)
QRL_PLAIN(bool, FilterNormalCellsOnly, filterNormalCellsOnly)
QRL_PLAIN(bool, EnableWheel, enableWheel)
QRL_PLAIN(bool, IntelliZoom, intelliZoom)
QRL_REPAINT(bool, ShowDesignHelper, showDesignHelper)
QRL_PLAIN(bool, EnhRowColMove, enhRowColMove)
QRL_PLAIN(bool, FitCellsInGrid, fitCellsInGrid)
QRL_PLAIN(bool, UseInternalHintClass, useInternalHintClass)
QRL_PLAIN(bool, UseDisabledFont, useDisabledFont)
QRL_PLAIN(TColor, DisabledFontColor, disabledFontColor)
QRL_PLAIN(THintShowLargeTextPos, HintShowLargeTextPos, hintShowLargeTextPos)
QRL_PLAIN(TColor, HintColor, hintColor)
QRL_REPAINT(bool, URLShow, urlShow)
QRL_REPAINT(bool, URLShowInText, urlShowInText)
QRL_PLAIN(int, MinRowHeight, minRowHeight)
QRL_PLAIN(int, MaxRowHeight, maxRowHeight)
QRL_PLAIN(int, MinColWidth, minColWidth)
QRL_PLAIN(int, MaxColWidth, maxColWidth)
QRL_PLAIN(bool, Hovering, hovering)
QRL_PLAIN(bool, EnableBlink, enableBlink)
QRL_PLAIN(bool, FixedRowAlways, fixedRowAlways)
QRL_PLAIN(bool, FixedColAlways, fixedColAlways)
QRL_REPAINT(bool, ActiveCellShow, activeCellShow)
QRL_REPAINT(TColor, ActiveCellColor, activeCellColor)
QRL_REPAINT(TColor, ActiveCellColorTo, activeCellColorTo)
QRL_REPAINT(TColor, SelectionColor, selectionColor)
QRL_REPAINT(TColor, SelectionColorTo, selectionColorTo)
QRL_REPAINT(TColor, SelectionMirrorColor, selectionMirrorColor)
QRL_REPAINT(TColor, SelectionMirrorColorTo, selectionMirrorColorTo)
QRL_REPAINT(TColor, SelectionTextColor, selectionTextColor)
QRL_REPAINT(TColor, SelectionRectangleColor, selectionRectangleColor)
QRL_REPAINT(bool, SelectionColorMixer, selectionColorMixer)
QRL_REPAINT(bool, SelectionRectangle, selectionRectangle)
QRL_REPAINT(bool, SelectionResizer, selectionResizer)
QRL_PLAIN(bool, UseHTMLHints, useHTMLHints)
QRL_PLAIN(bool, DisjunctRowSelect, disjunctRowSelect)
QRL_PLAIN(bool, UsePlatformStyles, usePlatformStyles)

#undef QRL_PLAIN
#undef QRL_PLAIN_REF
#undef QRL_REPAINT

TGridLook TQrlStringGrid::Look() const
{
    return d->look;
}

void TQrlStringGrid::SetLook(TGridLook Value)
{
    // The look presets and their colours come with the cell look; the choice is kept.
    d->look = Value;
    Invalidate();
}

void TQrlStringGrid::SetScrollBarAlways(TScrollBarAlways Value)
{
    d->scrollBarAlways = Value;
    UpdateScrollBarsAlways(true);
}

TScrollBarAlways TQrlStringGrid::ScrollBarAlways() const
{
    return d->scrollBarAlways;
}

bool TQrlStringGrid::AutoSize() const
{
    return d->autoSize;
}

void TQrlStringGrid::SetAutoSize(bool Value)
{
    // Sizing the columns to their content comes with the automatic sizing.
    d->autoSize = Value;
}

bool TQrlStringGrid::AutoThemeAdapt() const
{
    return d->autoThemeAdapt;
}

void TQrlStringGrid::SetAutoThemeAdapt(bool Value)
{
    if (d->autoThemeAdapt == Value)
        return;
    d->autoThemeAdapt = Value;
    // No office colour themes here: the grid keeps its colours.
    if (Value)
        Invalidate();
}

TColor TQrlStringGrid::URLColor() const
{
    return d->urlColor;
}

void TQrlStringGrid::SetURLColor(TColor Value)
{
    if (d->urlColor == Value)
        return;
    d->urlColor = Value;
    if (d->urlShow)
        Invalidate();
}

bool TQrlStringGrid::URLFull() const
{
    return d->urlFull;
}

void TQrlStringGrid::SetURLFull(bool Value)
{
    d->urlFull = Value;
    if (d->urlShow)
        Invalidate();
}

TPoint TQrlStringGrid::XYOffset() const
{
    return d->xyOffset;
}

void TQrlStringGrid::UpdateXYOffset(int X, int Y)
{
    d->xyOffset = {X, Y};
}

int TQrlStringGrid::ZoomFactor() const
{
    return d->zoomFactor;
}

int TQrlStringGrid::PrintPageFrom() const
{
    return d->printPageFrom;
}

int TQrlStringGrid::PrintPageTo() const
{
    return d->printPageTo;
}

bool TQrlStringGrid::SizeWithForm() const
{
    return d->sizeWithForm;
}

bool TQrlStringGrid::GridBlink() const
{
    return d->gridBlink;
}

int TQrlStringGrid::SelectionColorMixerFactor() const
{
    return d->selectionColorMixerFactor;
}

void TQrlStringGrid::SetSelectionColorMixerFactor(int Value)
{
    Value = std::clamp(Value, 0, 100);
    if (d->selectionColorMixerFactor == Value)
        return;
    d->selectionColorMixerFactor = Value;
    Invalidate();
}

bool TQrlStringGrid::ShowSelection() const
{
    return FShowSel;
}

void TQrlStringGrid::SetShowSelection(bool Value)
{
    if (FShowSel == Value)
        return;
    FShowSel = Value;
    Invalidate();
}

TColor TQrlStringGrid::HighlightColor() const
{
    return d->highlightColor;
}

void TQrlStringGrid::SetHighlightColor(TColor Value)
{
    if (d->highlightColor == Value)
        return;
    d->highlightColor = Value;
    SetHTMLHighlightColors(d->highlightColor, d->highlightTextColor);
    Invalidate();
}

TColor TQrlStringGrid::HighlightTextColor() const
{
    return d->highlightTextColor;
}

void TQrlStringGrid::SetHighlightTextColor(TColor Value)
{
    if (d->highlightTextColor == Value)
        return;
    d->highlightTextColor = Value;
    SetHTMLHighlightColors(d->highlightColor, d->highlightTextColor);
    Invalidate();
}

bool TQrlStringGrid::Flat() const
{
    return d->flat;
}

void TQrlStringGrid::SetFlat(bool Value)
{
    d->flat = Value;
    if (!d->loading)
        Invalidate();
}

int TQrlStringGrid::MaxEditLength() const
{
    return d->maxEditLength;
}

void TQrlStringGrid::SetMaxEditLength(int Value)
{
    d->maxEditLength = Value;
}

bool TQrlStringGrid::SpreadSheet() const
{
    return d->spreadSheet;
}

void TQrlStringGrid::SetSpreadSheet(bool Value)
{
    d->spreadSheet = Value;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    d->navigation->SetAllowSmartClipboard(true);
    d->mouseActions->SetRangeSelectAndEdit(true);
    SetOptions(Options() + plat::TGridOption::goRangeSelect + plat::TGridOption::goEditing);
}

bool TQrlStringGrid::IsWinXP() const
{
    return d->isWinXP;
}
bool TQrlStringGrid::IsWin7() const
{
    return d->isWin7;
}
bool TQrlStringGrid::IsVista() const
{
    return d->isVista;
}
bool TQrlStringGrid::IsComCtl6() const
{
    return d->isComCtl6;
}
