#include "grid/model/QrlGridSettings.h"

#include <QPainter>
#include <QPalette>
#include <QRegion>

// --- TSearchFooter --------------------------------------------------------------------------

TSearchFooter::TSearchFooter(bool InitDesign)
{
    // A grid created at run time keeps empty texts; its form supplies them.
    if (InitDesign) {
        FFindNextCaption = QStringLiteral("Find &next");
        FFindPrevCaption = QStringLiteral("Find &previous");
        FMatchCaseCaption = QStringLiteral("Match case");
        FHintClose = QStringLiteral("Close");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
        FHintFindNext = QStringLiteral("Find next occurrence");
        FHighLightCaption = QStringLiteral("Highlight");
    }
}

void TSearchFooter::changed()
{
    if (OnChange)
        OnChange(this);
}

void TSearchFooter::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TSearchFooter *>(&Source);
    if (!src)
        return;
    FAlwaysHighLight = src->FAlwaysHighLight;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FFindNextCaption = src->FFindNextCaption;
    FFindPrevCaption = src->FFindPrevCaption;
    FHighLightCaption = src->FHighLightCaption;
    FMatchCaseCaption = src->FMatchCaseCaption;
    FHintClose = src->FHintClose;
    FHintFindNext = src->FHintFindNext;
    FHintFindPrev = src->FHintFindPrev;
    FHintHighlight = src->FHintHighlight;
    FShowClose = src->FShowClose;
    FShowFindNext = src->FShowFindNext;
    FShowFindPrev = src->FShowFindPrev;
    FShowHighLight = src->FShowHighLight;
    FShowMatchCase = src->FShowMatchCase;
    FSearchActiveColumnOnly = src->FSearchActiveColumnOnly;
    FSearchMatchStart = src->FSearchMatchStart;
    FSearchColumn = src->FSearchColumn;
    FSearchDirection = src->FSearchDirection;
    FSearchHiddenRows = src->FSearchHiddenRows;
    FVisible = src->FVisible;
    FFont = src->FFont;
}

void TSearchFooter::SetShowFindPrev(bool Value)
{
    if (FShowFindPrev == Value)
        return;
    FShowFindPrev = Value;
    changed();
}

void TSearchFooter::SetShowFindNext(bool Value)
{
    if (FShowFindNext == Value)
        return;
    FShowFindNext = Value;
    changed();
}

void TSearchFooter::SetFindNextCaption(const QString &Value)
{
    FFindNextCaption = Value;
    changed();
}

void TSearchFooter::SetFindPrevCaption(const QString &Value)
{
    FFindPrevCaption = Value;
    changed();
}

void TSearchFooter::SetColorTo(TColor Value)
{
    FColorTo = Value;
    changed();
}

void TSearchFooter::SetColor(TColor Value)
{
    FColor = Value;
    changed();
}

void TSearchFooter::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    changed();
}

void TSearchFooter::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    changed();
}

void TSearchFooter::SetShowClose(bool Value)
{
    FShowClose = Value;
    changed();
}

void TSearchFooter::SetShowHighLight(bool Value)
{
    if (FShowHighLight == Value)
        return;
    FShowHighLight = Value;
    changed();
}

void TSearchFooter::SetShowMatchCase(bool Value)
{
    if (FShowMatchCase == Value)
        return;
    FShowMatchCase = Value;
    changed();
}

void TSearchFooter::SetMatchCaseCaption(const QString &Value)
{
    FMatchCaseCaption = Value;
    changed();
}

void TSearchFooter::SetHintClose(const QString &Value)
{
    FHintClose = Value;
    changed();
}

void TSearchFooter::SetHintFindPrev(const QString &Value)
{
    FHintFindPrev = Value;
    changed();
}

void TSearchFooter::SetHintHighlight(const QString &Value)
{
    FHintHighlight = Value;
    changed();
}

void TSearchFooter::SetHintFindNext(const QString &Value)
{
    FHintFindNext = Value;
    changed();
}

void TSearchFooter::SetHighLightCaption(const QString &Value)
{
    FHighLightCaption = Value;
    changed();
}

void TSearchFooter::SetFont(const TFont &Value)
{
    FFont = Value;
    changed();
}

// --- TNavigation ----------------------------------------------------------------------------

void TNavigation::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TNavigation *>(&Source);
    if (!src)
        return;
    // KeepScrollOnSort is not copied.
    FAllowInsertRow = src->FAllowInsertRow;
    FAllowDeleteRow = src->FAllowDeleteRow;
    FAdvanceOnEnter = src->FAdvanceOnEnter;
    FAdvanceInsert = src->FAdvanceInsert;
    FAutoGotoWhenSorted = src->FAutoGotoWhenSorted;
    FAutoGotoIncremental = src->FAutoGotoIncremental;
    FAutoComboDropSize = src->FAutoComboDropSize;
    FAllowClipboardShortCuts = src->FAllowClipboardShortCuts;
    FAllowRTFClipboard = src->FAllowRTFClipboard;
    FAllowSmartClipboard = src->FAllowSmartClipboard;
    FAllowClipboardAlways = src->FAllowClipboardAlways;
    FAllowClipboardColGrow = src->FAllowClipboardColGrow;
    FAllowClipboardRowGrow = src->FAllowClipboardRowGrow;
    FClipboardPasteAction = src->FClipboardPasteAction;
    FCopyHTMLTagsToClipboard = src->FCopyHTMLTagsToClipboard;
    FAdvanceDirection = src->FAdvanceDirection;
    FAdvanceAuto = src->FAdvanceAuto;
    FAdvanceAutoEdit = src->FAdvanceAutoEdit;
    FLeftRightRowSelect = src->FLeftRightRowSelect;
    FComboGetUpDown = src->FComboGetUpDown;
    FCursorAdvance = src->FCursorAdvance;
    FCursorMoveRows = src->FCursorMoveRows;
    FCursorWalkEditor = src->FCursorWalkEditor;
    FCursorWalkAlwaysEdit = src->FCursorWalkAlwaysEdit;
    FMoveRowOnSort = src->FMoveRowOnSort;
    FImproveMaskSel = src->FImproveMaskSel;
    FAlwaysEdit = src->FAlwaysEdit;
    FInsertPosition = src->FInsertPosition;
    FLineFeedOnEnter = src->FLineFeedOnEnter;
    FHomeEndKey = src->FHomeEndKey;
    FKeepHorizScroll = src->FKeepHorizScroll;
    FAllowFmtClipboard = src->FAllowFmtClipboard;
    FTabToNextAtEnd = src->FTabToNextAtEnd;
    FEditSelectAll = src->FEditSelectAll;
    FTabAdvanceDirection = src->FTabAdvanceDirection;
    FSkipFixedCells = src->FSkipFixedCells;
    FSkipDisabledRows = src->FSkipDisabledRows;
    FAllowCtrlEnter = src->FAllowCtrlEnter;
    FAppendOnArrowDown = src->FAppendOnArrowDown;
    FMoveScrollOnly = src->FMoveScrollOnly;
    FAdvanceOnEnterLoop = src->FAdvanceOnEnterLoop;
    FAdvanceSkipReadOnlyCells = src->FAdvanceSkipReadOnlyCells;
}

void TNavigation::SetAdvanceInsert(bool Value)
{
    if (FAdvanceInsert == Value)
        return;
    FAdvanceInsert = Value;
    if (OnChange)
        OnChange(this);
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value)
{
    if (FAdvanceDirection == Value)
        return;
    FAdvanceDirection = Value;
    if (OnChange)
        OnChange(this);
}

void TNavigation::SetAdvanceAuto(bool Value)
{
    if (Value && !FAdvanceAuto)
        FAdvanceOnEnter = true;
    FAdvanceAuto = Value;
}

// --- TMouseActions --------------------------------------------------------------------------

void TMouseActions::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TMouseActions *>(&Source);
    if (!src)
        return;
    FColSelect = src->FColSelect;
    FRowSelect = src->FRowSelect;
    FAllSelect = src->FAllSelect;
    FDirectEdit = src->FDirectEdit;
    FDirectComboDrop = src->FDirectComboDrop;
    FDirectComboClose = src->FDirectComboClose;
    FDirectDateClose = src->FDirectDateClose;
    FDirectDateDrop = src->FDirectDateDrop;
    FDisjunctRowSelect = src->FDisjunctRowSelect;
    FDisjunctColSelect = src->FDisjunctColSelect;
    FAllColumnSize = src->FAllColumnSize;
    FAllRowSize = src->FAllRowSize;
    FCaretPositioning = src->FCaretPositioning;
    FSizeFixedCol = src->FSizeFixedCol;
    FDisjunctCellSelect = src->FDisjunctCellSelect;
    FFixedRowsEdit = src->FFixedRowsEdit;
    FFixedColsEdit = src->FFixedColsEdit;
    FFixedRowsEditor = src->FFixedRowsEditor;
    FFixedColsEditor = src->FFixedColsEditor;
    FRangeSelectAndEdit = src->FRangeSelectAndEdit;
    FNoAutoRangeScroll = src->FNoAutoRangeScroll;
    FPreciseCheckBoxCheck = src->FPreciseCheckBoxCheck;
    FPreciseNodeClick = src->FPreciseNodeClick;
    FCheckAllCheck = src->FCheckAllCheck;
    FNodeAllExpandContract = src->FNodeAllExpandContract;
    FMoveRowOnNodeClick = src->FMoveRowOnNodeClick;
    FRowSelectPersistent = src->FRowSelectPersistent;
    FSelectOnRightClick = src->FSelectOnRightClick;
    FNoScrollOnPartialRow = src->FNoScrollOnPartialRow;
    FWheelIncrement = src->FWheelIncrement;
    FWheelAction = src->FWheelAction;
    FAutoSizeColOnDblClick = src->FAutoSizeColOnDblClick;
    FDisjunctRowSelectNoCtrl = src->FDisjunctRowSelectNoCtrl;
}

bool TMouseActions::isDesigning()
{
    bool designing = false;
    if (OnIsDesigning)
        OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::SetDisjunctRowSelect(bool Value)
{
    FDisjunctRowSelect = Value;
    if (Value && isDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value)
{
    FDisjunctColSelect = Value;
    if (Value && isDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value)
{
    FDisjunctCellSelect = Value;
    if (Value && isDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetHotmailRowSelect(bool Value)
{
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        FCheckAllCheck = true;
    }
    if (OnInvalidate)
        OnInvalidate(this);
}

void TMouseActions::SetWheelAction(TWheelAction Value)
{
    if (FWheelAction == Value)
        return;
    FWheelAction = Value;
    if (OnChange)
        OnChange(this);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value)
{
    FEditOnDblClickOnly = Value;
    if (Value && OnDisableEdit)
        OnDisableEdit(this);
}

// --- TSyncGrid ------------------------------------------------------------------------------

void TSyncGrid::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TSyncGrid *>(&Source);
    if (!src)
        return;
    SetGrid(src->FGrid);
    FScrollVertical = src->FScrollVertical;
    FScrollHorizontal = src->FScrollHorizontal;
    FSelectionColumn = src->FSelectionColumn;
    FSelectionRow = src->FSelectionRow;
    FMoveColumn = src->FMoveColumn;
    FMoveRow = src->FMoveRow;
}

void TSyncGrid::SetGrid(TQrlStringGrid *Value)
{
    // A grid synchronised with itself would repeat every scroll forever.
    if (Value && Value == FOwner)
        return;
    FGrid = Value;
    if (Value && OnGridSet)
        OnGridSet(Value);
}

void TSyncGrid::Notification(const TQrlStringGrid *Removed)
{
    if (Removed && Removed == FGrid)
        FGrid = nullptr;
}

// --- TBands ---------------------------------------------------------------------------------

void TBands::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TBands *>(&Source);
    if (!src)
        return;
    FActive = src->FActive;
    FPrimaryColor = src->FPrimaryColor;
    FSecondaryColor = src->FSecondaryColor;
    FPrimaryLength = src->FPrimaryLength;
    FSecondaryLength = src->FSecondaryLength;
    FPrint = src->FPrint;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

void TBands::changedWhenActive()
{
    if (FActive && OnChange)
        OnChange(this);
}

void TBands::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    if (OnChange)
        OnChange(this);
}

void TBands::SetSecondaryLength(int Value)
{
    if (FSecondaryLength == Value)
        return;
    FSecondaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    changedWhenActive();
}

void TBands::SetPrimaryLength(int Value)
{
    if (FPrimaryLength == Value)
        return;
    FPrimaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    changedWhenActive();
}

void TBands::SetSecondaryColor(TColor Value)
{
    if (FSecondaryColor == Value)
        return;
    FSecondaryColor = Value;
    changedWhenActive();
}

void TBands::SetPrimaryColor(TColor Value)
{
    if (FPrimaryColor == Value)
        return;
    FPrimaryColor = Value;
    changedWhenActive();
}

TColor TBands::BandColor(int ARow, int AFixedRows) const
{
    if (!FActive || FTotalLength <= 0 || ARow < AFixedRows)
        return clNone;
    return (ARow - AFixedRows) % FTotalLength < FPrimaryLength ? FPrimaryColor : FSecondaryColor;
}

// --- TFocusHelper ---------------------------------------------------------------------------

void TFocusHelper::Assign(const TPersistent &Source)
{
    if (const auto *src = dynamic_cast<const TFocusHelper *>(&Source))
        FEnabled = src->FEnabled;
}

// --- TSizeWhileTyping -----------------------------------------------------------------------

void TSizeWhileTyping::Assign(const TPersistent &Source)
{
    if (const auto *src = dynamic_cast<const TSizeWhileTyping *>(&Source)) {
        FHeight = src->FHeight;
        FWidth = src->FWidth;
    }
}

// --- TGridFocusWindow -----------------------------------------------------------------------

TGridFocusWindow::TGridFocusWindow(QWidget *AOwner)
    : QWidget(AOwner,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                  Qt::WindowDoesNotAcceptFocus)
{
    setEnabled(false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(clRed));
    setPalette(pal);
    resize(0, 0);
}

// --- TArrowWindow ---------------------------------------------------------------------------

QPolygon TArrowWindow::ArrowPolygon(TArrowDirection Direction)
{
    switch (Direction) {
    case TArrowDirection::arrUp:
        return QPolygon({{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}});
    case TArrowDirection::arrDown:
        return QPolygon({{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}});
    case TArrowDirection::arrLeft:
        return QPolygon({{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}});
    case TArrowDirection::arrRight:
        return QPolygon({{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}});
    }
    return {};
}

void TArrowWindow::Init(QWidget *AOwner, TArrowDirection Direction)
{
    FDirection = Direction;
    setParent(AOwner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(clLime));
    setPalette(pal);
    setMask(QRegion(ArrowPolygon(Direction), Qt::WindingFill));
    hide();
}

void TArrowWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
}
