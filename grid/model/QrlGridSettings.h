// Behaviour switches of the string grid, one small owned object per group (search footer,
// navigation, mouse actions, grid synchronisation, row bands, focus helper), and the two kinds
// of small window the grid shows around the active cell and while lines are moved.
//
// The objects keep values and tell their grid through their events; the grid wires the events
// (repaint, search-panel refresh, ...). Assign copies the documented subset and fires nothing.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"

#include <QPolygon>
#include <QString>
#include <QStringList>
#include <QWidget>

class TQrlStringGrid;

// --- Search footer --------------------------------------------------------------------------

class TSearchFooter : public TPersistent
{
public:
    // InitDesign: the grid was just placed in a form designer; it gets the default captions.
    explicit TSearchFooter(bool InitDesign = false);

    void Assign(const TPersistent &Source) override;

    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    QString FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const QString &Value);
    QString FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const QString &Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);
    QString MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const QString &Value);
    QString HintClose() const { return FHintClose; }
    void SetHintClose(const QString &Value);
    QString HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const QString &Value);
    QString HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const QString &Value);
    QString HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const QString &Value);
    bool AutoSearch() const { return FAutoSearch; }
    void SetAutoSearch(bool Value) { FAutoSearch = Value; }
    QString LastSearch() const { return FLastSearch; }
    void SetLastSearch(const QString &Value) { FLastSearch = Value; }
    int SearchColumn() const { return FSearchColumn; }
    void SetSearchColumn(int Value) { FSearchColumn = Value; }
    bool SearchActiveColumnOnly() const { return FSearchActiveColumnOnly; }
    void SetSearchActiveColumnOnly(bool Value) { FSearchActiveColumnOnly = Value; }
    bool SearchMatchStart() const { return FSearchMatchStart; }
    void SetSearchMatchStart(bool Value) { FSearchMatchStart = Value; }
    bool SearchFixedCells() const { return FSearchFixedCells; }
    void SetSearchFixedCells(bool Value) { FSearchFixedCells = Value; }
    bool SearchHiddenRows() const { return FSearchHiddenRows; }
    void SetSearchHiddenRows(bool Value) { FSearchHiddenRows = Value; }
    QString HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const QString &Value);
    bool AlwaysHighLight() const { return FAlwaysHighLight; }
    void SetAlwaysHighLight(bool Value) { FAlwaysHighLight = Value; }
    TSearchDirection SearchDirection() const { return FSearchDirection; }
    void SetSearchDirection(TSearchDirection Value) { FSearchDirection = Value; }
    const TFont &Font() const { return FFont; }
    TFont &Font() { return FFont; }
    void SetFont(const TFont &Value);

    TSettingsNotifyEvent OnChange;

private:
    void changed();

    bool FShowFindPrev = true;
    bool FShowFindNext = true;
    QString FFindNextCaption;
    QString FFindPrevCaption;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWhite;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
    bool FShowClose = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    QString FMatchCaseCaption;
    QString FHintClose;
    QString FHintFindPrev;
    QString FHintHighlight;
    QString FHintFindNext;
    bool FAutoSearch = true;
    QString FLastSearch;
    int FSearchColumn = -1;
    bool FSearchActiveColumnOnly = false;
    bool FSearchMatchStart = false;
    bool FSearchFixedCells = false;
    bool FSearchHiddenRows = false;
    QString FHighLightCaption;
    bool FAlwaysHighLight = false;
    TSearchDirection FSearchDirection = TSearchDirection::sdTopBottom;
    TFont FFont;
};

// --- Navigation -----------------------------------------------------------------------------

class TNavigation : public TPersistent
{
public:
    TNavigation() = default;

    // Every published switch but KeepScrollOnSort.
    void Assign(const TPersistent &Source) override;

    bool AllowInsertRow() const { return FAllowInsertRow; }
    void SetAllowInsertRow(bool Value) { FAllowInsertRow = Value; }
    bool AllowDeleteRow() const { return FAllowDeleteRow; }
    void SetAllowDeleteRow(bool Value) { FAllowDeleteRow = Value; }
    bool AdvanceOnEnter() const { return FAdvanceOnEnter; }
    void SetAdvanceOnEnter(bool Value) { FAdvanceOnEnter = Value; }
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool Value);
    bool AutoGotoWhenSorted() const { return FAutoGotoWhenSorted; }
    void SetAutoGotoWhenSorted(bool Value) { FAutoGotoWhenSorted = Value; }
    bool AutoGotoIncremental() const { return FAutoGotoIncremental; }
    void SetAutoGotoIncremental(bool Value) { FAutoGotoIncremental = Value; }
    bool AutoComboDropSize() const { return FAutoComboDropSize; }
    void SetAutoComboDropSize(bool Value) { FAutoComboDropSize = Value; }
    bool AllowClipboardShortCuts() const { return FAllowClipboardShortCuts; }
    void SetAllowClipboardShortCuts(bool Value) { FAllowClipboardShortCuts = Value; }
    bool AllowRTFClipboard() const { return FAllowRTFClipboard; }
    void SetAllowRTFClipboard(bool Value) { FAllowRTFClipboard = Value; }
    bool AllowSmartClipboard() const { return FAllowSmartClipboard; }
    void SetAllowSmartClipboard(bool Value) { FAllowSmartClipboard = Value; }
    bool AllowClipboardAlways() const { return FAllowClipboardAlways; }
    void SetAllowClipboardAlways(bool Value) { FAllowClipboardAlways = Value; }
    bool AllowClipboardColGrow() const { return FAllowClipboardColGrow; }
    void SetAllowClipboardColGrow(bool Value) { FAllowClipboardColGrow = Value; }
    bool AllowClipboardRowGrow() const { return FAllowClipboardRowGrow; }
    void SetAllowClipboardRowGrow(bool Value) { FAllowClipboardRowGrow = Value; }
    TClipboardPasteAction ClipboardPasteAction() const { return FClipboardPasteAction; }
    void SetClipboardPasteAction(TClipboardPasteAction Value) { FClipboardPasteAction = Value; }
    bool CopyHTMLTagsToClipboard() const { return FCopyHTMLTagsToClipboard; }
    void SetCopyHTMLTagsToClipboard(bool Value) { FCopyHTMLTagsToClipboard = Value; }
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    // Turning it on turns AdvanceOnEnter on as well; turning it off leaves AdvanceOnEnter.
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool Value);
    bool AdvanceAutoEdit() const { return FAdvanceAutoEdit; }
    void SetAdvanceAutoEdit(bool Value) { FAdvanceAutoEdit = Value; }
    bool LeftRightRowSelect() const { return FLeftRightRowSelect; }
    void SetLeftRightRowSelect(bool Value) { FLeftRightRowSelect = Value; }
    bool ComboGetUpDown() const { return FComboGetUpDown; }
    void SetComboGetUpDown(bool Value) { FComboGetUpDown = Value; }
    TCursorAdvance CursorAdvance() const { return FCursorAdvance; }
    void SetCursorAdvance(TCursorAdvance Value) { FCursorAdvance = Value; }
    bool CursorMoveRows() const { return FCursorMoveRows; }
    void SetCursorMoveRows(bool Value) { FCursorMoveRows = Value; }
    bool CursorWalkEditor() const { return FCursorWalkEditor; }
    void SetCursorWalkEditor(bool Value) { FCursorWalkEditor = Value; }
    bool CursorWalkAlwaysEdit() const { return FCursorWalkAlwaysEdit; }
    void SetCursorWalkAlwaysEdit(bool Value) { FCursorWalkAlwaysEdit = Value; }
    bool MoveRowOnSort() const { return FMoveRowOnSort; }
    void SetMoveRowOnSort(bool Value) { FMoveRowOnSort = Value; }
    bool KeepScrollOnSort() const { return FKeepScrollOnSort; }
    void SetKeepScrollOnSort(bool Value) { FKeepScrollOnSort = Value; }
    bool ImproveMaskSel() const { return FImproveMaskSel; }
    void SetImproveMaskSel(bool Value) { FImproveMaskSel = Value; }
    bool AlwaysEdit() const { return FAlwaysEdit; }
    void SetAlwaysEdit(bool Value) { FAlwaysEdit = Value; }
    TInsertPosition InsertPosition() const { return FInsertPosition; }
    void SetInsertPosition(TInsertPosition Value) { FInsertPosition = Value; }
    bool LineFeedOnEnter() const { return FLineFeedOnEnter; }
    void SetLineFeedOnEnter(bool Value) { FLineFeedOnEnter = Value; }
    THomeEndAction HomeEndKey() const { return FHomeEndKey; }
    void SetHomeEndKey(THomeEndAction Value) { FHomeEndKey = Value; }
    bool KeepHorizScroll() const { return FKeepHorizScroll; }
    void SetKeepHorizScroll(bool Value) { FKeepHorizScroll = Value; }
    bool AllowFmtClipboard() const { return FAllowFmtClipboard; }
    void SetAllowFmtClipboard(bool Value) { FAllowFmtClipboard = Value; }
    bool TabToNextAtEnd() const { return FTabToNextAtEnd; }
    void SetTabToNextAtEnd(bool Value) { FTabToNextAtEnd = Value; }
    bool EditSelectAll() const { return FEditSelectAll; }
    void SetEditSelectAll(bool Value) { FEditSelectAll = Value; }
    TAdvanceDirection TabAdvanceDirection() const { return FTabAdvanceDirection; }
    void SetTabAdvanceDirection(TAdvanceDirection Value) { FTabAdvanceDirection = Value; }
    bool SkipFixedCells() const { return FSkipFixedCells; }
    void SetSkipFixedCells(bool Value) { FSkipFixedCells = Value; }
    bool SkipDisabledRows() const { return FSkipDisabledRows; }
    void SetSkipDisabledRows(bool Value) { FSkipDisabledRows = Value; }
    bool AllowCtrlEnter() const { return FAllowCtrlEnter; }
    void SetAllowCtrlEnter(bool Value) { FAllowCtrlEnter = Value; }
    bool AppendOnArrowDown() const { return FAppendOnArrowDown; }
    void SetAppendOnArrowDown(bool Value) { FAppendOnArrowDown = Value; }
    bool MoveScrollOnly() const { return FMoveScrollOnly; }
    void SetMoveScrollOnly(bool Value) { FMoveScrollOnly = Value; }
    bool AdvanceOnEnterLoop() const { return FAdvanceOnEnterLoop; }
    void SetAdvanceOnEnterLoop(bool Value) { FAdvanceOnEnterLoop = Value; }
    bool AdvanceSkipReadOnlyCells() const { return FAdvanceSkipReadOnlyCells; }
    void SetAdvanceSkipReadOnlyCells(bool Value) { FAdvanceSkipReadOnlyCells = Value; }

    TSettingsNotifyEvent OnChange;

private:
    bool FAllowInsertRow = false;
    bool FAllowDeleteRow = false;
    bool FAdvanceOnEnter = false;
    bool FAdvanceInsert = false;
    bool FAutoGotoWhenSorted = false;
    bool FAutoGotoIncremental = false;
    bool FAutoComboDropSize = false;
    bool FAllowClipboardShortCuts = false;
    bool FAllowRTFClipboard = false;
    bool FAllowSmartClipboard = false;
    bool FAllowClipboardAlways = false;
    bool FAllowClipboardColGrow = true;
    bool FAllowClipboardRowGrow = true;
    TClipboardPasteAction FClipboardPasteAction = TClipboardPasteAction::paReplace;
    bool FCopyHTMLTagsToClipboard = true;
    TAdvanceDirection FAdvanceDirection = TAdvanceDirection::adLeftRight;
    bool FAdvanceAuto = false;
    bool FAdvanceAutoEdit = true;
    bool FLeftRightRowSelect = true;
    bool FComboGetUpDown = true;
    TCursorAdvance FCursorAdvance = TCursorAdvance::caDefault;
    bool FCursorMoveRows = false;
    bool FCursorWalkEditor = false;
    bool FCursorWalkAlwaysEdit = true;
    bool FMoveRowOnSort = false;
    bool FKeepScrollOnSort = false;
    bool FImproveMaskSel = false;
    bool FAlwaysEdit = false;
    TInsertPosition FInsertPosition = TInsertPosition::pInsertBefore;
    bool FLineFeedOnEnter = false;
    THomeEndAction FHomeEndKey = THomeEndAction::heFirstLastColumn;
    bool FKeepHorizScroll = false;
    bool FAllowFmtClipboard = false;
    bool FTabToNextAtEnd = false;
    bool FEditSelectAll = true;
    TAdvanceDirection FTabAdvanceDirection = TAdvanceDirection::adLeftRight;
    bool FSkipFixedCells = true;
    bool FSkipDisabledRows = true;
    bool FAllowCtrlEnter = true;
    bool FAppendOnArrowDown = false;
    bool FMoveScrollOnly = false;
    bool FAdvanceOnEnterLoop = true;
    bool FAdvanceSkipReadOnlyCells = true;
};

// --- Mouse actions --------------------------------------------------------------------------

class TMouseActions : public TPersistent
{
public:
    TMouseActions() = default;

    // Every published switch but HotmailRowSelect, EditOnDblClickOnly, SizeFixedRow and
    // FixedComboValues.
    void Assign(const TPersistent &Source) override;

    bool ColSelect() const { return FColSelect; }
    void SetColSelect(bool Value) { FColSelect = Value; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value) { FRowSelect = Value; }
    bool AllSelect() const { return FAllSelect; }
    void SetAllSelect(bool Value) { FAllSelect = Value; }
    bool DirectEdit() const { return FDirectEdit; }
    void SetDirectEdit(bool Value) { FDirectEdit = Value; }
    bool DirectComboDrop() const { return FDirectComboDrop; }
    void SetDirectComboDrop(bool Value) { FDirectComboDrop = Value; }
    bool DirectComboClose() const { return FDirectComboClose; }
    void SetDirectComboClose(bool Value) { FDirectComboClose = Value; }
    bool DirectDateClose() const { return FDirectDateClose; }
    void SetDirectDateClose(bool Value) { FDirectDateClose = Value; }
    bool DirectDateDrop() const { return FDirectDateDrop; }
    void SetDirectDateDrop(bool Value) { FDirectDateDrop = Value; }
    // In a form designer only one of the three disjunct modes can be on.
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    // The DisjunctRowSelect field without the designer rule.
    bool DisjunctRowSelectDirect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
    bool AllColumnSize() const { return FAllColumnSize; }
    void SetAllColumnSize(bool Value) { FAllColumnSize = Value; }
    bool AllRowSize() const { return FAllRowSize; }
    void SetAllRowSize(bool Value) { FAllRowSize = Value; }
    bool CaretPositioning() const { return FCaretPositioning; }
    void SetCaretPositioning(bool Value) { FCaretPositioning = Value; }
    bool SizeFixedCol() const { return FSizeFixedCol; }
    void SetSizeFixedCol(bool Value) { FSizeFixedCol = Value; }
    bool SizeFixedRow() const { return FSizeFixedRow; }
    void SetSizeFixedRow(bool Value) { FSizeFixedRow = Value; }
    TGridFixedCellEdit FixedRowsEdit() const { return FFixedRowsEdit; }
    void SetFixedRowsEdit(TGridFixedCellEdit Value) { FFixedRowsEdit = Value; }
    TGridFixedCellEdit FixedColsEdit() const { return FFixedColsEdit; }
    void SetFixedColsEdit(TGridFixedCellEdit Value) { FFixedColsEdit = Value; }
    TGridFixedCellEditor FixedRowsEditor() const { return FFixedRowsEditor; }
    void SetFixedRowsEditor(TGridFixedCellEditor Value) { FFixedRowsEditor = Value; }
    TGridFixedCellEditor FixedColsEditor() const { return FFixedColsEditor; }
    void SetFixedColsEditor(TGridFixedCellEditor Value) { FFixedColsEditor = Value; }
    // Turning it on turns DisjunctRowSelect and CheckAllCheck on; always asks for a repaint.
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value);
    bool RangeSelectAndEdit() const { return FRangeSelectAndEdit; }
    void SetRangeSelectAndEdit(bool Value) { FRangeSelectAndEdit = Value; }
    bool NoAutoRangeScroll() const { return FNoAutoRangeScroll; }
    void SetNoAutoRangeScroll(bool Value) { FNoAutoRangeScroll = Value; }
    bool PreciseCheckBoxCheck() const { return FPreciseCheckBoxCheck; }
    void SetPreciseCheckBoxCheck(bool Value) { FPreciseCheckBoxCheck = Value; }
    bool PreciseNodeClick() const { return FPreciseNodeClick; }
    void SetPreciseNodeClick(bool Value) { FPreciseNodeClick = Value; }
    bool CheckAllCheck() const { return FCheckAllCheck; }
    void SetCheckAllCheck(bool Value) { FCheckAllCheck = Value; }
    bool NodeAllExpandContract() const { return FNodeAllExpandContract; }
    void SetNodeAllExpandContract(bool Value) { FNodeAllExpandContract = Value; }
    bool MoveRowOnNodeClick() const { return FMoveRowOnNodeClick; }
    void SetMoveRowOnNodeClick(bool Value) { FMoveRowOnNodeClick = Value; }
    bool RowSelectPersistent() const { return FRowSelectPersistent; }
    void SetRowSelectPersistent(bool Value) { FRowSelectPersistent = Value; }
    bool SelectOnRightClick() const { return FSelectOnRightClick; }
    void SetSelectOnRightClick(bool Value) { FSelectOnRightClick = Value; }
    bool NoScrollOnPartialRow() const { return FNoScrollOnPartialRow; }
    void SetNoScrollOnPartialRow(bool Value) { FNoScrollOnPartialRow = Value; }
    int WheelIncrement() const { return FWheelIncrement; }
    void SetWheelIncrement(int Value) { FWheelIncrement = Value; }
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction Value);
    bool AutoSizeColOnDblClick() const { return FAutoSizeColOnDblClick; }
    void SetAutoSizeColOnDblClick(bool Value) { FAutoSizeColOnDblClick = Value; }
    // Turning it on tells the grid to stop editing (OnDisableEdit).
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value);
    bool DisjunctRowSelectNoCtrl() const { return FDisjunctRowSelectNoCtrl; }
    void SetDisjunctRowSelectNoCtrl(bool Value) { FDisjunctRowSelectNoCtrl = Value; }
    const QStringList &FixedComboValues() const { return FFixedComboValues; }
    void SetFixedComboValues(const QStringList &Value) { FFixedComboValues = Value; }

    TSettingsNotifyEvent OnChange;
    TSettingsNotifyEvent OnInvalidate;
    TIsDesigningEvent OnIsDesigning;
    TSettingsNotifyEvent OnDisableEdit;

private:
    bool isDesigning();

    bool FColSelect = false;
    bool FRowSelect = false;
    bool FAllSelect = false;
    bool FDirectEdit = false;
    bool FDirectComboDrop = false;
    bool FDirectComboClose = false;
    bool FDirectDateClose = false;
    bool FDirectDateDrop = false;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FAllColumnSize = false;
    bool FAllRowSize = false;
    bool FCaretPositioning = false;
    bool FSizeFixedCol = false;
    bool FSizeFixedRow = false;
    bool FDisjunctCellSelect = false;
    TGridFixedCellEdit FFixedRowsEdit = TGridFixedCellEdit::fceNone;
    TGridFixedCellEdit FFixedColsEdit = TGridFixedCellEdit::fceNone;
    TGridFixedCellEditor FFixedRowsEditor = TGridFixedCellEditor::fceEdit;
    TGridFixedCellEditor FFixedColsEditor = TGridFixedCellEditor::fceEdit;
    bool FHotmailRowSelect = false;
    bool FRangeSelectAndEdit = false;
    bool FNoAutoRangeScroll = false;
    bool FPreciseCheckBoxCheck = false;
    bool FPreciseNodeClick = true;
    bool FCheckAllCheck = false;
    bool FNodeAllExpandContract = false;
    bool FMoveRowOnNodeClick = false;
    bool FRowSelectPersistent = false;
    bool FSelectOnRightClick = false;
    bool FNoScrollOnPartialRow = false;
    int FWheelIncrement = 0;
    TWheelAction FWheelAction = TWheelAction::waMoveSelection;
    bool FAutoSizeColOnDblClick = true;
    bool FEditOnDblClickOnly = false;
    bool FDisjunctRowSelectNoCtrl = false;
    QStringList FFixedComboValues;
};

// --- Grid synchronisation -------------------------------------------------------------------

// Which scrolling, selection and moves of the owner are repeated on Grid.
class TSyncGrid : public TPersistent
{
public:
    explicit TSyncGrid(TQrlStringGrid *AOwner = nullptr) : FOwner(AOwner) {}

    void Assign(const TPersistent &Source) override;

    // Not owned. The owner itself is refused.
    TQrlStringGrid *Grid() const { return FGrid; }
    void SetGrid(TQrlStringGrid *Value);
    // The owner calls this when a grid goes away.
    void Notification(const TQrlStringGrid *Removed);
    // Set by the owner: a grid was set, so that the owner hears when it goes away.
    std::function<void(TQrlStringGrid *Grid)> OnGridSet;

    bool ScrollVertical() const { return FScrollVertical; }
    void SetScrollVertical(bool Value) { FScrollVertical = Value; }
    bool ScrollHorizontal() const { return FScrollHorizontal; }
    void SetScrollHorizontal(bool Value) { FScrollHorizontal = Value; }
    bool SelectionColumn() const { return FSelectionColumn; }
    void SetSelectionColumn(bool Value) { FSelectionColumn = Value; }
    bool SelectionRow() const { return FSelectionRow; }
    void SetSelectionRow(bool Value) { FSelectionRow = Value; }
    bool MoveColumn() const { return FMoveColumn; }
    void SetMoveColumn(bool Value) { FMoveColumn = Value; }
    bool MoveRow() const { return FMoveRow; }
    void SetMoveRow(bool Value) { FMoveRow = Value; }

private:
    TQrlStringGrid *FOwner = nullptr;
    TQrlStringGrid *FGrid = nullptr;
    bool FScrollVertical = false;
    bool FScrollHorizontal = false;
    bool FSelectionColumn = false;
    bool FSelectionRow = false;
    bool FMoveColumn = false;
    bool FMoveRow = false;
};

// --- Row bands ------------------------------------------------------------------------------

class TBands : public TPersistent
{
public:
    TBands() = default;

    void Assign(const TPersistent &Source) override;

    bool Print() const { return FPrint; }
    void SetPrint(bool Value) { FPrint = Value; }
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    int TotalLength() const { return FTotalLength; }
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);

    // The band colour of row ARow, or clNone where no band applies (bands off, a total length
    // below 1, or a fixed row).
    TColor BandColor(int ARow, int AFixedRows) const;

    TSettingsNotifyEvent OnChange;

private:
    void changedWhenActive();

    bool FPrint = false;
    bool FActive = false;
    int FTotalLength = 2;
    int FSecondaryLength = 1;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    TColor FPrimaryColor = clInfoBk;
};

// --- Focus helper ---------------------------------------------------------------------------

class TFocusHelper : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }

private:
    bool FEnabled = false;
};

// --- Size while typing ----------------------------------------------------------------------

// Whether the text editor grows its row's height or its column's width while the user types.
class TSizeWhileTyping : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    bool Height() const { return FHeight; }
    void SetHeight(bool Value) { FHeight = Value; }
    bool Width() const { return FWidth; }
    void SetWidth(bool Value) { FWidth = Value; }

private:
    bool FHeight = false;
    bool FWidth = false;
};

// --- Small windows --------------------------------------------------------------------------

// The frame the grid places around the active cell: a borderless, disabled, top-most tool
// window, red, created without size.
class TGridFocusWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TGridFocusWindow(QWidget *AOwner = nullptr);
};

// One of the four arrows shown while a column or row is moved: a lime panel shaped by its
// direction's polygon.
class TArrowWindow : public QWidget
{
    Q_OBJECT

public:
    TArrowWindow() = default;

    // Stores the direction, takes AOwner as parent and stays hidden.
    void Init(QWidget *AOwner, TArrowDirection Direction);

    TArrowDirection Direction() const { return FDirection; }
    // The seven points of the window's region, in window coordinates.
    static QPolygon ArrowPolygon(TArrowDirection Direction);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TArrowDirection FDirection = TArrowDirection::arrUp;
};
