// The grid library's string grid: the base grid's cells and merges plus hidden lines, typed
// values, per-cell query hooks, settings objects, update locking and the timer.
//
// One facade declares the whole API; the bodies live in the file named for each area:
//   grid/model/QrlStringGrid.cpp             construction, defaults, lifetime, Assign
//   grid/model/QrlStringGrid_hooks.cpp       per-cell query hooks and events
//   grid/model/QrlStringGrid_cells.cpp       cell access, attributes, typed values, text utilities
//   grid/model/QrlStringGrid_hidden.cpp      hidden columns and rows, display and real indexes
//   grid/model/QrlStringGrid_props.cpp       grid properties, update locking, messages, focus
//   grid/model/QrlStringGrid_select.cpp      selection, row marks, repaints of cell ranges
//   grid/model/QrlStringGrid_moves.cpp       moving rows and columns, current row, used cells
//   grid/model/QrlStringGrid_lines.cpp       row and column content operations, merging
//   grid/model/QrlStringGrid_navigate.cpp    going to a cell, the advance after an edit
//   grid/model/QrlStringGrid_checks.cpp      check-box and radio-button cell state
//   grid/model/QrlStringGrid_nodes.cpp       nodes and expandable rows
//   grid/model/QrlStringGrid_sort.cpp        sorting
//   grid/model/QrlStringGrid_group.cpp       grouping
//   grid/model/QrlStringGrid_calc.cpp        calculations and automatic sizing
//   grid/model/QrlStringGrid_footer.cpp      floating footer, change notifiers, string-grid hooks
//   grid/model/QrlStringGrid_startup.cpp     library start-up and small grid routines
//   grid/display/QrlStringGrid_paint.cpp     cell look and cell drawing
//   grid/display/QrlStringGrid_graphics.cpp  the cell-graphic model routines
//   grid/display/QrlStringGrid_graphicsapi.cpp  the graphic families of a cell
//   grid/display/QrlStringGrid_measure.cpp   the cell measurements the sizing uses
//   grid/display/QrlStringGrid_scroll.cpp    scrolling, drag scrolling and column sizing
//   grid/display/QrlStringGrid_hint.cpp      cell hints
//   grid/editing/QrlStringGrid_edit.cpp      editability, opening, validation and closing
//   grid/editing/QrlStringGrid_editor.cpp    the text inplace editor, edit mask and limit
//   grid/editing/QrlStringGrid_special.cpp   the editors of the special cell kinds
//   grid/editing/QrlStringGrid_lazy.cpp      lazily created editors and their events
//   grid/editing/QrlStringGrid_messages.cpp  combo items and editor notifications
//   grid/editing/QrlStringGrid_mouse.cpp     mouse clicks: the left press
//   grid/editing/QrlStringGrid_mouseup.cpp   mouse clicks: release, double click, right button
//   grid/editing/QrlStringGrid_hover.cpp     hover, sizing and moving of rows and columns
//   grid/editing/QrlStringGrid_wheel.cpp     mouse wheel and panning
//   grid/editing/QrlStringGrid_keys.cpp      keyboard: key down, characters, resizing
//   grid/editing/QrlStringGrid_tab.cpp       the Tab walk and the row append on arrow down
//   grid/exchange/QrlStringGrid_settings.cpp the column order store
// Its enumerations are in QrlStringGridTypes.h, its event types in QrlStringGridEvents.h, the
// cell checker in QrlStringGridCheck.h; the settings objects it hands out by pointer have
// their own headers (QrlGridOptions.h, QrlGridSettings.h, QrlCalcSettings.h, QrlCellGraphic.h).
// Operations of areas that are not built yet keep the default their area gives the base grid.
#pragma once

#include "grid/model/QrlBaseGrid.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridTheme.h"
#include "grid/model/QrlGridTypes.h"
#include "grid/model/QrlStringGridEvents.h"
#include "grid/model/QrlStringGridTypes.h"

#include <QStringList>

#include <bitset>
#include <functional>
#include <memory>

class QTimer;
class QScrollBar;
class QDragEnterEvent;
class QDragMoveEvent;
class QDragLeaveEvent;
class THTMLHintWindow;
class QMenu;
class QUrl;
class TQrlStringGridCheck;
class TCustomImageList;
class TFilePicture;
class THTMLPictureCache;
class TPictureContainer;
class ICellDrawer;
class IGridEditorHost;
enum class TCellShape;
// Settings objects and lists the grid hands out by pointer or reference only.
class TBackGround;
class TBalloonSettings;
class TBands;
class TCellGraphic;
class TCellNode;
class TColumnSize;
class TControlList;
class TControlLook;
class TDragScrollOptions;
class TFilter;
class TFilterDropDown;
class TFloatingFooter;
class TFocusHelper;
class TGridChangeNotifier;
class TGridItem;
class TGridProgressAppearance;
class TGrouping;
class TIntList;
class TMouseActions;
class TNavigation;
class TSearchFooter;
class TShowModified;
class TSizeWhileTyping;
class TSortIndexList;
class TSortSettings;
class TSyncGrid;
class TGridOptionsLink;
class TGridFooterLink;
enum class TQuorlGradientRole;
enum class TSortDirection;

// Page size and range of a cell scroll bar.
struct TScrollProp
{
    int PageSize = 0;
    int Range = 0;
};
struct TStringGridModelState;
// The display's and the editing's state are made and freed in their own layers, so the model's
// files never see their definitions.
struct TStringGridDisplayState;
struct TStringGridEditingState;
struct TStringGridDisplayStateDeleter
{
    static TStringGridDisplayState *make();
    void operator()(TStringGridDisplayState *p) const;
};
struct TStringGridEditingStateDeleter
{
    static TStringGridEditingState *make();
    void operator()(TStringGridEditingState *p) const;
};

class TEditLink;
class THintManager;
struct THintInfo;
struct THTMLPaintResult;
struct THTMLPaintParams;
class TGridCombo;
class TGridSpin;
class TGridCheckBox;
class TGridDatePicker;
class TGridDateTimePicker;
class TQrlRichEdit;
class TQrlInplaceEdit;

class TQrlStringGrid : public TBaseGrid, public IQuorlStyle
{
    Q_OBJECT

public:
    // ===== construction, defaults, lifetime and virtual operations =============================
    explicit TQrlStringGrid(QWidget *parent = nullptr);
    ~TQrlStringGrid() override;

    // Only another string grid is taken; any other source changes nothing.
    virtual void Assign(QObject *Source);
    virtual void AssignCells(QObject *Source);
    // The after-loading step: what a grid does once its properties have all been set.
    virtual void AfterLoadHook();
    bool Loaded() const;
    // The grid is being set up from stored properties: setters skip their side effects.
    void SetLoading(bool Value);
    bool Loading() const;

    void Invalidate() override;
    // Cuts the height to whole rows with IntegralHeight.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool IntegralHeight() const;
    void SetIntegralHeight(bool Value);
    void UpdateScrollBarsAlways(bool Force);
    TColor BorderColor() const;
    void SetBorderColor(TColor Value);
    // The grid font without cell properties, else a scratch font from them.
    TFont *GetCellFont(int i, int j);

    // The owned settings objects.
    TSearchFooter *SearchFooter() const;
    TNavigation *Navigation() const;
    TMouseActions *MouseActions() const;
    TSyncGrid *SyncGrid() const;
    TBands *Bands() const;
    TFocusHelper *FocusHelper() const;
    TSizeWhileTyping *SizeWhileTyping() const;
    TSortSettings *SortSettings() const;
    TControlLook *ControlLook() const;
    TFilter *Filter() const;
    TBackGround *BackGround() const;
    TGrouping *Grouping() const;
    TBalloonSettings *Balloon() const;
    TShowModified *ShowModified() const;
    TDragScrollOptions *DragScrollOptions() const;
    TGridProgressAppearance *ProgressAppearance() const;
    TFilterDropDown *FilterDropDown() const;
    TCellNode *CellNode() const;
    TSortIndexList &SortIndexes();
    TIntList &MergedColumns();
    TIntList &IgnoreColumns();
    QStringList &LookupItems();
    void SetLookupItems(const QStringList *Value);
    TFont &FixedFont();
    void SetFixedFont(const TFont &Value);
    TFont &ActiveCellFont();
    void SetActiveCellFont(const TFont &Value);

    // The defaults table.
    QString FloatFormat() const;
    void SetFloatFormat(const QString &Value);
    QString CheckTrue() const;
    void SetCheckTrue(const QString &Value);
    QString CheckFalse() const;
    void SetCheckFalse(const QString &Value);
    QChar PasswordChar() const;
    void SetPasswordChar(QChar Value);
    QChar Delimiter() const;
    void SetDelimiter(QChar Value);
    QString XMLEncoding() const;
    void SetXMLEncoding(const QString &Value);
    QString FilterDropDownClear() const;
    void SetFilterDropDownClear(const QString &Value);
    bool EnableHTML() const;
    void SetEnableHTML(bool Value);
    TEditorType DefaultEditor() const;
    void SetDefaultEditor(TEditorType Value);
    TAlignment DefaultAlignment() const;
    void SetDefaultAlignment(TAlignment Value);
    bool ShowNullDates() const;
    void SetShowNullDates(bool Value);
    TInvalidEntryIcon InvalidEntryIcon() const;
    void SetInvalidEntryIcon(TInvalidEntryIcon Value);
    QString InvalidEntryTitle() const;
    void SetInvalidEntryTitle(const QString &Value);
    QString InvalidEntryText() const;
    void SetInvalidEntryText(const QString &Value);
    bool SaveFixedCells() const;
    void SetSaveFixedCells(bool Value);
    bool SaveFixedRows() const;
    void SetSaveFixedRows(bool Value);
    bool SaveFixedCols() const;
    void SetSaveFixedCols(bool Value);
    bool SaveHiddenCells() const;
    void SetSaveHiddenCells(bool Value);
    bool SaveVirtCells() const;
    void SetSaveVirtCells(bool Value);
    bool SaveWithHTML() const;
    void SetSaveWithHTML(bool Value);
    bool LoadFirstRow() const;
    void SetLoadFirstRow(bool Value);
    bool QuoteEmptyCells() const;
    void SetQuoteEmptyCells(bool Value);
    bool AlwaysQuotes() const;
    void SetAlwaysQuotes(bool Value);
    bool JavaCSV() const;
    void SetJavaCSV(bool Value);
    bool ExcelClipboardFormat() const;
    void SetExcelClipboardFormat(bool Value);
    bool ClearTextOnly() const;
    void SetClearTextOnly(bool Value);
    TGridLook Look() const;
    void SetLook(TGridLook Value);
    TQuorlStyle ComponentStyle() const;
    void SetComponentStyle(TQuorlStyle Value) override;
    TScrollType ScrollType() const;
    void SetScrollType(TScrollType Value);
    TColor ScrollColor() const;
    void SetScrollColor(TColor Value);
    int ScrollWidth() const;
    void SetScrollWidth(int Value);
    TScrollBarAlways ScrollBarAlways() const;
    void SetScrollBarAlways(TScrollBarAlways Value);
    bool ScrollProportional() const;
    void SetScrollProportional(bool Value);
    bool ScrollSynch() const;
    void SetScrollSynch(bool Value);
    TScrollHintType ScrollHints() const;
    void SetScrollHints(TScrollHintType Value);
    bool AutoSize() const;
    void SetAutoSize(bool Value);
    bool AutoNumAlign() const;
    void SetAutoNumAlign(bool Value);
    bool AnchorHint() const;
    void SetAnchorHint(bool Value);
    bool AutoThemeAdapt() const;
    void SetAutoThemeAdapt(bool Value);
    bool AutoFilterUpdate() const;
    void SetAutoFilterUpdate(bool Value);
    bool FilterIncremental() const;
    void SetFilterIncremental(bool Value);
    bool FilterNormalCellsOnly() const;
    void SetFilterNormalCellsOnly(bool Value);
    bool EnableWheel() const;
    void SetEnableWheel(bool Value);
    bool IntelliZoom() const;
    void SetIntelliZoom(bool Value);
    bool ShowDesignHelper() const;
    void SetShowDesignHelper(bool Value);
    bool EnhRowColMove() const;
    void SetEnhRowColMove(bool Value);
    bool FitCellsInGrid() const;
    void SetFitCellsInGrid(bool Value);
    bool UseInternalHintClass() const;
    void SetUseInternalHintClass(bool Value);
    bool UseDisabledFont() const;
    void SetUseDisabledFont(bool Value);
    // Whether the rows' enabled marks count (drawing, navigation); the first SetRowEnabled
    // switches it on.
    bool UseEnabledRows() const;
    void SetUseEnabledRows(bool Value);
    TColor DisabledFontColor() const;
    void SetDisabledFontColor(TColor Value);
    THintShowLargeTextPos HintShowLargeTextPos() const;
    void SetHintShowLargeTextPos(THintShowLargeTextPos Value);
    TColor HintColor() const;
    void SetHintColor(TColor Value);
    TColor URLColor() const;
    void SetURLColor(TColor Value);
    bool URLShow() const;
    void SetURLShow(bool Value);
    bool URLShowInText() const;
    void SetURLShowInText(bool Value);
    bool URLFull() const;
    void SetURLFull(bool Value);
    TPoint XYOffset() const;
    void UpdateXYOffset(int X, int Y);
    int GroupColumn() const;
    void SetGroupColumn(int Value);
    int MinRowHeight() const;
    void SetMinRowHeight(int Value);
    int MaxRowHeight() const;
    void SetMaxRowHeight(int Value);
    int MinColWidth() const;
    void SetMinColWidth(int Value);
    int MaxColWidth() const;
    void SetMaxColWidth(int Value);
    int ZoomFactor() const;
    int PrintPageFrom() const;
    int PrintPageTo() const;
    bool SizeWithForm() const;
    void SetSizeWithForm(bool Value);
    bool Hovering() const;
    void SetHovering(bool Value);
    bool EnableBlink() const;
    void SetEnableBlink(bool Value);
    bool GridBlink() const;
    bool FixedRowAlways() const;
    void SetFixedRowAlways(bool Value);
    bool FixedColAlways() const;
    void SetFixedColAlways(bool Value);
    bool ActiveCellShow() const;
    void SetActiveCellShow(bool Value);
    TColor ActiveCellColor() const;
    void SetActiveCellColor(TColor Value);
    TColor ActiveCellColorTo() const;
    void SetActiveCellColorTo(TColor Value);
    TColor SelectionColor() const;
    void SetSelectionColor(TColor Value);
    TColor SelectionColorTo() const;
    void SetSelectionColorTo(TColor Value);
    TColor SelectionMirrorColor() const;
    void SetSelectionMirrorColor(TColor Value);
    TColor SelectionMirrorColorTo() const;
    void SetSelectionMirrorColorTo(TColor Value);
    TColor SelectionTextColor() const;
    void SetSelectionTextColor(TColor Value);
    TColor SelectionRectangleColor() const;
    void SetSelectionRectangleColor(TColor Value);
    bool SelectionColorMixer() const;
    void SetSelectionColorMixer(bool Value);
    int SelectionColorMixerFactor() const;
    void SetSelectionColorMixerFactor(int Value);
    bool SelectionRectangle() const;
    void SetSelectionRectangle(bool Value);
    bool SelectionResizer() const;
    void SetSelectionResizer(bool Value);
    bool ShowSelection() const;
    void SetShowSelection(bool Value);
    TColor HighlightColor() const;
    void SetHighlightColor(TColor Value);
    TColor HighlightTextColor() const;
    void SetHighlightTextColor(TColor Value);
    bool Flat() const;
    void SetFlat(bool Value);
    int MaxEditLength() const;
    void SetMaxEditLength(int Value);
    bool UseHTMLHints() const;
    void SetUseHTMLHints(bool Value);
    bool SpreadSheet() const;
    void SetSpreadSheet(bool Value);
    bool DisjunctRowSelect() const;
    void SetDisjunctRowSelect(bool Value);
    bool UsePlatformStyles() const;
    void SetUsePlatformStyles(bool Value);
    // The system's version flags the constructor records.
    bool IsWinXP() const;
    bool IsWin7() const;
    bool IsVista() const;
    bool IsComCtl6() const;

    // The virtual operations whose areas come later keep their base default here.
    virtual void DoClickSort(int ACol);
    virtual void StoreEditedText(int ACol, int ARow, const QString &Value);
    virtual QString CurrentCell() const;
    virtual void SetCurrentCell(const QString &Value);
    virtual QString CurrentCellText() const;
    virtual void SetCurrentCellEditText(const QString &Value);
    virtual void RestoreCachedCellText();
    virtual QString GetFormattedCell(int ACol, int ARow);
    virtual QString QueryFloatFormat(int ACol, int ARow) const;
    virtual void DoCheckBoxClick(int ACol, int ARow, bool State);
    virtual void FixedEditHook(int ACol, int ARow);
    virtual void SelectionChangedHook(int ALeft, int ATop, int ARight, int ABottom);
    virtual void FilterDoneHook();
    virtual void UpdateColSize(int ACol, int &AWidth);
    virtual void UpdateAutoColSize(int ACol, int &AWidth);
    virtual void HeaderListChanged();
    virtual void DoEllipsClick(int ACol, int ARow, QString &S);
    virtual void RememberOldCellValue(int ACol, int ARow);
    virtual void DoCanAddRow(bool &CanAdd);
    virtual void DoCanInsertRow(int ARow, bool &CanInsert);
    virtual void AddRowHook();
    virtual bool IsDesigningQuery() const;
    virtual void InvalidateRequest();
    virtual void DisableEditing();
    virtual bool AllowGridClipboardFormat() const;
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    virtual void DoRatingChange(int ACol, int ARow, int Value, bool &Allow);
    virtual void DoColorSelect(int ACol, int ARow, TColor &AColor);
    virtual void DoImageSelect(int ACol, int ARow, int &AIndex);
    virtual bool DoCanShowFixedDropDown(int ACol, int ARow);
    virtual void DoStartBlockFocus();
    virtual void DoEndBlockFocus();
    virtual void DoPrintGetPageNum(int PageNum, QString &PageString);
    // OnGetEditorProp, then the integer variant the dropdown editors use.
    virtual void DoGetEditorProp(int ACol, int ARow, TEditLink *AEditLink);
    // One Allow flows through the row, column and cell changing events.
    virtual void DoCellChanging(int ACol, int ARow, bool &Allow);
    virtual void DoScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax);
    // Empty here: a descendant follows every step of an export or import.
    virtual void ExportNotification(TGridExportState AState, int ARow);
    virtual void ImportNotification(TGridImportState AState, int ARow);
    // The images of ctImageList cells; not owned.
    virtual QObject *GridImages() const;
    void SetGridImages(QObject *Value);
    // Pictures of the markup: the grid's own cache of pictures loaded by location, and the
    // named pictures of a container (not owned; a destroyed one reads null).
    THTMLPictureCache *PictureCache() const;
    TPictureContainer *PictureContainer() const;
    void SetPictureContainer(TPictureContainer *Value);
    // Set while the cursor is moved by the grid itself: OnCellChanging stays quiet.
    bool DisableChange() const;
    void SetDisableChange(bool Value);
    virtual int GetVersionNr() const;
    virtual QString GetVersionString() const;
    QString Version() const;
    // The filter drop-down list of a column: True when the column supplied its own entries.
    // The string grid's own list (the column's values) comes with filtering; until then the
    // list stays empty here.
    virtual bool BuildFilterList(int ACol);
    // An entry of the filter drop-down of FilterCol was picked; FilterCol is -1 afterwards.
    virtual void ApplyFilterPick(int ItemIndex);
    QStringList &FilterList();
    int FilterCol() const;
    void SetFilterCol(int Value);
    TFilterSelectEvent OnFilterSelect;
    // The column order to and from the store that ColumnSize names
    // (grid/exchange/QrlStringGrid_settings.cpp).
    virtual void SaveColPositions();
    virtual void LoadColPositions();

    // ===== per-cell query hooks and events ======================================================
    virtual void DoCanEditCell(int ACol, int ARow, bool &CanEdit);
    virtual void DoSearchFooterAction(const QString &Value,
                                      int ACol,
                                      int ARow,
                                      TSearchFooterAction SearchAction);
    virtual void DoButtonClick(int ACol, int ARow);
    virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
    virtual void DoComboCloseUp(int ACol, int ARow);
    virtual void DoComboDropDown(int ACol, int ARow);
    virtual void DoGetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void QueryCellHint(int ACol, int ARow, QString &hintstr);
    virtual void
    QueryCellColor(int ACol, int ARow, TFont *AFont, TBrush *ABrush, plat::TGridDrawState AState);
    virtual void QueryCellPrintColor(
        int ACol, int ARow, TFont *AFont, TBrush *ABrush, plat::TGridDrawState AState);
    virtual void QueryCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders);
    virtual void QueryCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders);
    virtual void QueryCellAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign);
    virtual void QueryCellFormat(int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix);
    virtual void QuerySpinEditorType(int ACol, int ARow, TEditorType &AEditor);
    virtual void QueryEditorType(int ACol, int ARow, TEditorType &AEditor);
    virtual bool QueryNoEditor(int ACol, int ARow);
    virtual void QueryFixedCell(int ACol, int ARow, bool &IsFixed);
    virtual void QueryCanEdit(int ACol, int ARow, bool &CanEdit);
    virtual void QueryPasswordCell(int ACol, int ARow, bool &IsPassword);
    virtual void QueryWordWrap(int ACol, int ARow, bool &WordWrap);
    virtual bool QueryHasCombo(int ACol, int ARow);
    virtual bool QueryHasSpin(int ACol, int ARow);
    virtual void QueryCheckTrue(int ACol, int ARow, QString &Value);
    virtual void QueryCheckFalse(int ACol, int ARow, QString &Value);

    // The names the display and editing code use for the hooks above.
    void
    CellColorHook(int ACol, int ARow, TFont *AFont, TBrush *ABrush, plat::TGridDrawState AState)
    {
        QueryCellColor(ACol, ARow, AFont, ABrush, AState);
    }
    void
    PrintColorHook(int ACol, int ARow, TFont *AFont, TBrush *ABrush, plat::TGridDrawState AState)
    {
        QueryCellPrintColor(ACol, ARow, AFont, ABrush, AState);
    }
    void CellBorderHook(int ACol, int ARow, TCellBorders &Borders, TPen *APen)
    {
        QueryCellBorder(ACol, ARow, APen, Borders);
    }
    void CellAlignmentHook(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign)
    {
        QueryCellAlignment(ACol, ARow, HAlign, VAlign);
    }
    void CellWordWrapHook(int ACol, int ARow, bool &WordWrap)
    {
        QueryWordWrap(ACol, ARow, WordWrap);
    }
    void CheckTrueHook(int ACol, int ARow, QString &Value) { QueryCheckTrue(ACol, ARow, Value); }
    void CheckFalseHook(int ACol, int ARow, QString &Value) { QueryCheckFalse(ACol, ARow, Value); }
    bool HasComboHook(int ACol, int ARow) { return QueryHasCombo(ACol, ARow); }
    bool HasSpinHook(int ACol, int ARow) { return QueryHasSpin(ACol, ARow); }
    void CanEditCell(int ACol, int ARow, bool &CanEdit) { QueryCanEdit(ACol, ARow, CanEdit); }
    bool IsPasswordCell(int ACol, int ARow)
    {
        bool is = false;
        QueryPasswordCell(ACol, ARow, is);
        return is;
    }
    void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
    {
        SelectionChangedHook(ALeft, ATop, ARight, ABottom);
    }
    bool CanShowFixedDropDown(int ACol, int ARow) { return DoCanShowFixedDropDown(ACol, ARow); }

    // The cell defaults ask the visual properties, then leave fixed, banded, gradient and
    // selected cells' brush to the painter.
    void GetCellDefaults(int ACol,
                         int ARow,
                         TFont &AFont,
                         TBrush &ABrush,
                         TColor &ColorTo,
                         TColor &MirrorColor,
                         TColor &MirrorColorTo,
                         TAlignment &HAlign,
                         TVAlignment &VAlign,
                         bool &WW,
                         TCellGradientDirection &GD) override;
    bool IsFixed(int ACol, int ARow) override;
    // The resolved look of a cell: brush and gradient colours, font, alignment, word wrap,
    // gradient direction, and the selected and fixed state bits.
    void GetVisualProperties(int ACol,
                             int ARow,
                             plat::TGridDrawState &AState,
                             bool Print,
                             bool Select,
                             bool Remap,
                             TBrush &ABrush,
                             TColor &AColorTo,
                             TColor &AMirrorColor,
                             TColor &AMirrorColorTo,
                             TFont &AFont,
                             TAlignment &HA,
                             TVAlignment &VA,
                             bool &WW,
                             TCellGradientDirection &GD) override;
    void DrawCellContent(TCanvas *Canvas,
                         int ACol,
                         int ARow,
                         const TRect &Rect,
                         plat::TGridDrawState State) override;

    // ===== cell look and cell drawing (grid/display/QrlStringGrid_paint.cpp) ===================
    using TGetCellGradientEvent = std::function<void(QObject *Sender,
                                                     int ARow,
                                                     int ACol,
                                                     TColor &Color,
                                                     TColor &ColorTo,
                                                     TColor &ColorMirror,
                                                     TColor &ColorMirrorTo,
                                                     TCellGradientDirection &GD)>;
    TGetCellGradientEvent OnGetCellGradient;
    using TCustomCellDrawEvent = std::function<void(QObject *Sender,
                                                    TCanvas *Canvas,
                                                    int ACol,
                                                    int ARow,
                                                    plat::TGridDrawState AState,
                                                    TRect ARect,
                                                    bool Printing)>;
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TCustomCellDrawEvent OnCustomCellDraw;
    // With OnDrawCell or OnCustomCellDraw assigned: the grid leaves the content to them.
    bool NoDefaultDraw() const;
    void SetNoDefaultDraw(bool Value);
    // A cell with a graphic draws no text.
    bool NoImageAndText() const;
    void SetNoImageAndText(bool Value);
    // The font alone, for measuring: ACol decides fixed, RCol (a real column) the cell.
    void GetFontProperties(int ACol,
                           int RCol,
                           int ARow,
                           plat::TGridDrawState &AState,
                           TFont &AFont,
                           TBrush &ABrush,
                           bool Remap);
    // Horizontal alignment in the low byte, vertical in the high byte; ACol is a real column.
    std::uint16_t GetCellAlignment(int ACol, int ARow);
    // The string grid's drawing of one cell inside the rectangle the base painter prepared.
    void RenderCell(
        TCanvas *Canvas, int ACol, int ARow, plat::TGridDrawState AState, const TRect &ARect);
    void DrawCellBorders(TCanvas *Canvas, int ACol, int ARow, TRect ARect);
    bool HideFocusRect() const;
    void SetHideFocusRect(bool Value);
    bool EnhTextSize() const;
    void SetEnhTextSize(bool Value);
    // The grid's own fixed-cell gradient colours by role (hover and down ones black until set);
    // the control look forwards its fixed gradient colours here.
    TColor QuorlGradientColor(TQuorlGradientRole Role) const;
    void SetQuorlGradientColor(TQuorlGradientRole Role, TColor Value);
    THoverFixedCells HoverFixedCells() const;
    void SetHoverFixedCells(THoverFixedCells Value);
    // Admitted by HoverFixedCells: a cell of the fixed rows or fixed columns it names.
    bool IsHoverFixedCell(int ACol, int ARow) const;
    // Drawn in the first column of the current row.
    const TBitmap &RowIndicator() const;
    void SetRowIndicator(const TBitmap &Value);
    // In design mode row 0 shows the real column numbers.
    bool ShowColNrs() const;
    void SetShowColNrs(bool Value);
    TGridBorderPropEvent OnGetCellBorderProp;

    TCanEditCellEvent OnCanEditCell;
    TSearchFooterActionEvent OnSearchFooterAction;
    TButtonClickEvent OnButtonClick;
    TExpandClickEvent OnExpandClick;
    TClickCellEvent OnComboCloseUp;
    TClickCellEvent OnComboDropDown;
    TCellCursorEvent OnGetCellCursor;
    TGridHintEvent OnGridHint;
    TGridWideHintEvent OnGridWideHint;
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TWordWrapEvent OnGetWordWrap;
    THasComboEvent OnHasComboBox;
    THasSpinEditEvent OnHasSpinEdit;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TCellsChangedEvent OnCellsChanged;
    TClickSortEvent OnClickSort;
    TCheckBoxClickEvent OnCheckBoxClick;
    TCheckBoxClickEvent OnCheckBoxChange;
    TClickCellEvent OnFixedEdit;
    std::function<void(QObject *, int, int, int, int)> OnSelectionChanged;
    TNotifyEvent OnFilterDone;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    TEllipsClickEvent OnEllipsClick;
    TCanAddRowEvent OnCanAddRow;
    TCanInsertRowEvent OnCanInsertRow;
    TRatingChangeEvent OnRatingChange;
    std::function<void(QObject *, int, int, TColor &)> OnColorSelect;
    std::function<void(QObject *, int, int, int &)> OnImageSelect;
    TCanShowFixedDropDownEvent OnCanShowFixedDropDown;
    TNotifyEvent OnStartBlockFocus;
    TNotifyEvent OnEndBlockFocus;
    TGridResizeEvent OnGridResize;
    TFloatFormatEvent OnGetFloatFormat;
    TPrintPageNumEvent OnPrintGetPageNum;
    TGetEditorPropEvent OnGetEditorProp;
    TGetEditorPropIntEvent OnGetEditorPropInt;
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TScrollCellEvent OnScrollCell;

    // ===== hidden columns and rows (the display/real maps) =====================================
    // Columns take real indexes; at least one column stays shown, and only real columns
    // 0 .. 511 can be hidden (others are ignored).
    void HideColumn(int ColIndex);
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ColIndex);
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll();
    // Rows take real indexes. Hidden rows keep their cells, cell properties and heights.
    void HideRow(int RowIndex);
    void HideRows(int FromRow, int ToRow);
    // Nothing when FromRow is hidden already.
    void HideRowsEx(int FromRow, int ToRow);
    // One filter level: the listed display rows are hidden, the others close up.
    void HideRowList(const TIntList &RowList);
    void UnHideRow(int RowIndex);
    // Nothing unless FromRow is hidden.
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    // Undoes the latest filter level; with the first level, rows hidden directly go too. The
    // caller lowers FilterLevel afterwards.
    void UnHideRowList();
    int FilterLevel() const;
    void SetFilterLevel(int Value);
    // The i-th stored hidden row, or null.
    TGridItem *HiddenRowItem(int i) const;
    int NumHiddenColumns() const;
    int NumHiddenRows() const;
    int TotalColCount() const override;
    int TotalRowCount() const;
    int RealColIndex(int ACol) const;
    int DisplColIndex(int ACol) const override;
    int RealRowIndex(int ARow) const;
    int DisplRowIndex(int ARow) const;
    bool IsHiddenColumn(int ACol) const;
    bool IsHiddenRow(int ARow) const;
    // Builds the list of hidden rows on its first call (ListHidden null); the caller frees it.
    bool IsHiddenRow(int ARow, TIntList *&ListHidden) const;
    int RealCol() const;
    int RealRow() const;
    int DisplToRealCol(int ACol) const { return RealColIndex(ACol); }
    int RealToDisplCol(int ACol) const { return DisplColIndex(ACol); }
    int DisplToRealRow(int ARow) const { return RealRowIndex(ARow); }
    int RealToDisplRow(int ARow) const { return DisplRowIndex(ARow); }
    int GetRealCol() const { return RealCol(); }
    int GetRealRow() const { return RealRow(); }
    bool IsIgnoredColumn(int ACol) const;
    // The cells of a hidden real row, or null when the row is shown.
    virtual QStringList *HiddenRowCells(int ARow) const;
    virtual QVector<void *> *HiddenRowObjects(int ARow) const;

    // ===== cell access and cell attributes =====================================================
    QString GetCellsEx(int i, int j) const;
    void SetCellsEx(int i, int j, const QString &Value);
    QString GetGridCellsEx(int i, int j) const;
    void SetGridCellsEx(int i, int j, const QString &Value);
    QString GetWideCellsEx(int i, int j) const { return GetCellsEx(i, j); }
    void SetWideCellsEx(int i, int j, const QString &Value) { SetCellsEx(i, j, Value); }
    void *GetObjectsEx(int i, int j) const;
    void SetObjectsEx(int i, int j, void *aObject);
    void *GetGridObjectsEx(int ACol, int ARow) const;
    QString GetOriginalCells(int i, int j) const;
    void SetOriginalCells(int i, int j, const QString &Value);
    QString GetUnSortedCell(int i, int j) const;
    void SetUnSortedCell(int i, int j, const QString &Value);
    int SortedRowIndex(int ARow) const;
    int UnSortedRowIndex(int ARow) const;
    QString GetStrippedCell(int i, int j) const;
    int GetLinesInCell(int i, int j) const;

    TColor GetColors(int i, int j) const;
    void SetColors(int i, int j, TColor Value);
    TColor GetColorsTo(int i, int j) const;
    void SetColorsTo(int i, int j, TColor Value);
    TCellGradientDirection GetGradientDir(int i, int j) const;
    void SetGradientDir(int i, int j, TCellGradientDirection Value);
    TColor GetFontColors(int i, int j) const;
    void SetFontColors(int i, int j, TColor Value);
    TFontStyles GetFontStyles(int i, int j) const;
    void SetFontStyles(int i, int j, TFontStyles Value);
    int GetFontSizes(int i, int j) const;
    void SetFontSizes(int i, int j, int Value);
    QString GetFontNames(int i, int j) const;
    void SetFontNames(int i, int j, const QString &Value);
    TAlignment GetAlignments(int i, int j) const;
    void SetAlignments(int i, int j, TAlignment Value);
    bool GetReadOnly(int i, int j) const;
    void SetReadOnly(int i, int j, bool Value);
    bool GetWordWraps(int i, int j);
    void SetWordWraps(int i, int j, bool Value);
    void SetCellFont(int i, int j, const TFont &Value);
    void SetRowColor(int i, TColor AColor);
    void SetRowColorTo(int i, TColor AColor);
    void SetRowFontColor(int i, TColor AColor);
    QWidget *GetCellControls(int i, int j) const;
    void SetCellControls(int i, int j, QWidget *AControl);
    int NumCellControls() const;
    TControlList &ControlList();
    TEditorType CurrentEditor() const;

    int GetAllColWidths(int i) const;
    void SetAllColWidths(int i, int Value);
    int AllColCount() const { return TotalColCount(); }
    int AllRowCount() const { return TotalRowCount(); }
    Qt::CursorShape Cursor() const;
    void SetCursor(Qt::CursorShape Value);
    void Zoom(int x);
    void SetQuorlGradientFrom(TColor Value);
    void SetQuorlGradientTo(TColor Value);
    void SetQuorlGradientMirrorFrom(TColor Value);
    void SetQuorlGradientMirrorTo(TColor Value);
    TColor QuorlGradientFrom() const;
    TColor QuorlGradientTo() const;
    TColor QuorlGradientMirrorFrom() const;
    TColor QuorlGradientMirrorTo() const;

    // ===== typed cell values and cell text utilities ===========================================
    void SetInts(int ACol, int ARow, int Value);
    // EQrlGridError "Cell does not contain integer value" for anything but an integer.
    int GetInts(int ACol, int ARow) const;
    void SetAllInts(int ACol, int ARow, int Value);
    int GetAllInts(int ACol, int ARow) const;
    void SetFloats(int ACol, int ARow, double Value);
    // EQrlGridError "Cell does not contain a float value".
    double GetFloats(int ACol, int ARow) const;
    void SetAllFloats(int ACol, int ARow, double Value);
    double GetAllFloats(int ACol, int ARow) const;
    void SetDates(int ACol, int ARow, TDateTime Value);
    // EQrlConvertError when the text is no date of the user's format.
    TDateTime GetDates(int ACol, int ARow) const;
    void SetTimes(int ACol, int ARow, TDateTime Value);
    TDateTime GetTimes(int ACol, int ARow) const;
    QString GetCtrlVal(int ACol, int ARow, const QString &ID) const;
    void SetCtrlVal(int ACol, int ARow, const QString &ID, const QString &Value);

    QString HilightText(bool DoCase, const QString &S, const QString &Text) const;
    QString MarkText(bool DoCase, const QString &S, const QString &Text) const;
    QString UnHilightText(const QString &S) const;
    QString UnMarkText(const QString &S) const;
    void HilightInCell(bool DoCase, int Col, int Row, const QString &HiText);
    void MarkInCell(bool DoCase, int Col, int Row, const QString &HiText);
    void UnHilightInCell(int Col, int Row);
    void UnMarkInCell(int Col, int Row);
    void HilightInCol(bool DoFixed, bool DoCase, int Col, const QString &HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int Col, const QString &HiText);
    void UnHilightInCol(bool DoFixed, int Col);
    void UnMarkInCol(bool DoFixed, int Col);
    void HilightInRow(bool DoFixed, bool DoCase, int Row, const QString &HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int Row, const QString &HiText);
    void UnHilightInRow(bool DoFixed, int Row);
    void UnMarkInRow(bool DoFixed, int Row);
    void HilightInGrid(bool DoFixed, bool DoCase, const QString &HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const QString &HiText);
    void UnHilightInGrid(bool DoFixed);
    void UnMarkInGrid(bool DoFixed);

    TQrlStringGridCheck *CellChecker() const;
    void SetCellChecker(TQrlStringGridCheck *Value);
    bool CheckCell(int Col, int Row);
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    bool CheckCol(bool DoFixed, int Col);
    bool CheckRow(bool DoFixed, int Row);
    bool CheckGrid(bool DoFixed);

    void TextFill(bool DoFixed, const QString &Txt);
    // Fmt takes two integers, the column and the row ("%d:%d").
    void FormatFill(bool DoFixed, const QString &Fmt);
    void RandomFill(bool DoFixed, int Rnd);
    void LinearFill(bool DoFixed);
    void SwapCells(plat::TGridCoord FromCell, plat::TGridCoord ToCell);

    const QStringList &ColumnHeaders() const;
    void SetColumnHeaders(const QStringList &Value);
    void ClearColumnHeaders();
    void ShowColumnHeaders();
    const QStringList &RowHeaders() const;
    void SetRowHeaders(const QStringList &Value);
    void ClearRowHeaders();
    void ShowRowHeaders();
    // Split every vertical merge, then merge the listed columns again.
    void SplitMergedColumns();
    void ReMergeColumns();
    virtual void SplitColumnCells(int ACol);
    virtual void MergeColumnCells(int ACol, bool MainMerge);

    // ===== cell graphic model ==================================================================
    // A slot holding another kind of object counts as no graphic. Column 0 answers the shared
    // row check box while HotmailRowSelect is on.
    virtual TCellGraphic *GetCellGraphic(int ACol, int ARow);
    virtual TCellType GetCellType(int ACol, int ARow);
    bool HasGraphicOfType(int ACol, int ARow, TCellTypes Types);
    // Frees the cell's own graphic (never a shared one) and stores a new one of kind ctNone.
    TCellGraphic *CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType);
    // The grid's shared graphics: the row check box and the one lent to check-box columns.
    TCellGraphic *SharedRowCheckBox() const;
    TCellGraphic *SharedCellGraphic() const;
    // Node and summary rows carry a ctNode / ctSummary graphic in column 0.
    bool IsNode(int ARow);
    // Whether a click at X in a node row hits its expand glyph: any X without PreciseNodeClick.
    bool IsNodeClick(int ARow, int X);
    bool IsSummary(int ARow);

    // The graphic families. Adders store the caller's object (it stays the caller's); creators
    // make one the graphic owns and return it. None repaints unless said; removers only remove
    // their own kind. Icons and pictures are bitmaps here.
    void AddBitmap(
        int ACol, int ARow, TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap *CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap *GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(int ACol, int ARow);
    void AddPicture(int ACol,
                    int ARow,
                    TBitmap *APicture,
                    bool Transparent,
                    TStretchMode StretchMode,
                    int Padding,
                    TCellHAlign hal,
                    TCellVAlign val);
    TBitmap *CreatePicture(int ACol,
                           int ARow,
                           bool Transparent,
                           TStretchMode StretchMode,
                           int Padding,
                           TCellHAlign hal,
                           TCellVAlign val);
    TBitmap *GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(int ACol, int ARow);
    void AddFilePicture(int ACol,
                        int ARow,
                        TFilePicture *AFilePicture,
                        bool Transparent,
                        TStretchMode StretchMode,
                        int Padding,
                        TCellHAlign hal,
                        TCellVAlign val);
    TFilePicture *CreateFilePicture(int ACol,
                                    int ARow,
                                    bool Transparent,
                                    TStretchMode StretchMode,
                                    int Padding,
                                    TCellHAlign hal,
                                    TCellVAlign val);
    TFilePicture *GetFilePicture(int ACol, int ARow);
    void RemoveFilePicture(int ACol, int ARow);
    void AddIcon(int ACol, int ARow, TBitmap *AIcon, TCellHAlign hal, TCellVAlign val);
    TBitmap *CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow);
    // The image kinds need GridImages; without it they leave the cell alone.
    void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int ACol, int ARow, int &idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    void RemoveImageIdx(int ACol, int ARow);
    // An empty cell takes Aidx as its value, from which the painter takes the image.
    void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    // Also clears the cell text, data image or not.
    void RemoveDataImage(int ACol, int ARow);
    bool HasDataImage(int ACol, int ARow);
    // Dir 0 lays the images side by side, any other value one under another.
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int ACol, int ARow);
    TIntList *GetCellImages(int ACol, int ARow);
    virtual TCustomImageList *CellImageList(int ACol, int ARow);
    void AddInterfacedCell(int ACol, int ARow, ICellDrawer *AObject);
    ICellDrawer *GetInterfacedCell(int ACol, int ARow);
    void RemoveInterfacedCell(int ACol, int ARow);
    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(
        int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
    void AddProgressFormatted(int ACol,
                              int ARow,
                              TColor FGColor,
                              TColor FGTextColor,
                              TColor BKColor,
                              TColor BKTextColor,
                              const QString &Fmt,
                              int Min,
                              int Max);
    bool HasProgress(int ACol, int ARow);
    void RemoveProgress(int ACol, int ARow);
    void AddQrlProgress(int ACol, int ARow, int Min, int Max);
    void RemoveQrlProgress(int ACol, int ARow);
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow);
    void AddRangeIndicator(
        int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow);
    void AddComment(int ACol, int ARow, const QString &Comment);
    void AddColorComment(int ACol, int ARow, const QString &Comment, TColor Color);
    bool IsComment(int ACol, int ARow, QString &comment);
    QString GetComment(int ACol, int ARow);
    // Adds to a cell without graphic, replaces a comment's text, leaves other graphics alone.
    void SetComment(int ACol, int ARow, const QString &Value);
    void RemoveComment(int ACol, int ARow);
    void RemoveAllComments();
    void AddShape(int ACol,
                  int ARow,
                  TCellShape Shape,
                  TColor FillColor,
                  TColor LineColor,
                  TCellHAlign hal,
                  TCellVAlign val);
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    // clNone for a cell without shape.
    TColor GetShapeColor(int ACol, int ARow);
    void RemoveShape(int ACol, int ARow);
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    bool HasRating(int ACol, int ARow);
    void RemoveRating(int ACol, int ARow);
    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    bool HasScrollBar(int ACol, int ARow);
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Pos);
    // -1 when the base cell holds no scroll bar.
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
    // (-1, -1) when the base cell holds no scroll bar.
    TScrollProp GetScrollProp(int ACol, int ARow);
    void RemoveScrollBar(int ACol, int ARow);
    // The marked character range of the text; a cell without graphic gets a ctEmpty one.
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void GetMarker(int ACol, int ARow, int &ErrPos, int &ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();
    void AddButton(int ACol,
                   int ARow,
                   int bw,
                   int bh,
                   const QString &Caption,
                   TCellHAlign hal,
                   TCellVAlign val);
    void AddBitButton(int ACol,
                      int ARow,
                      int bw,
                      int bh,
                      const QString &Caption,
                      TBitmap *Glyph,
                      TCellHAlign hal,
                      TCellVAlign val);
    TBitmap *CreateBitButton(int ACol,
                             int ARow,
                             int bw,
                             int bh,
                             const QString &Caption,
                             TCellHAlign hal,
                             TCellVAlign val);
    // ACol is a display column for the caption and push operations.
    void SetButtonText(int ACol, int ARow, const QString &Caption);
    QString GetButtonText(int ACol, int ARow);
    void PushButton(int ACol, int ARow, bool push);
    bool HasButton(int ACol, int ARow);
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow);
    void RemoveAllButtons();
    // The 11 x 11 button of a ctExpand base cell; the empty rectangle for other cells.
    TRect ExpandButtonRect(int ACol, int ARow);
    // The screen rectangle of a cell button from the offset the painter stored; ACol is a
    // display column.
    TRect CellButtonRect(int ACol, int ARow);
    // The graphic's size on the printout; Width and Height are the room there, Scale the print
    // scale (0 counts as 1).
    virtual TPoint CalcPrintGraphicSize(int ACol, int ARow, int Width, int Height, double Scale);
    // Moves the active-header marking: repaints the last fixed-row cell above and the last
    // fixed-column cell left of each of the two cells.
    void RepaintActiveHeaders(int ACol1, int ARow1, int ACol2, int ARow2);

    // ===== check-box and radio-button cell state ===============================================
    // Columns are real columns. Adding and removing take display rows: a cell outside the shown
    // rows or the columns (hidden ones counted) raises "Invalid cell" and changes nothing. The
    // column operations run over FixedRows .. RowCount - 1, from row 0 with CheckAllCheck.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    // Summary rows get nothing, node rows an unchecked three-state box.
    void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
    // Two- and three-state boxes only; other graphics stay.
    void RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    void AddRadioButton(int ACol, int ARow, bool State);
    void RemoveRadioButton(int ACol, int ARow);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);

    // Kind tests on the base cell; False for negative indexes.
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    bool HasDataGraphic(int ACol, int ARow);
    bool HasClickableGraphic(int ACol, int ARow);
    // Anywhere in the cell, or only on the glyph with PreciseCheckBoxCheck.
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);

    // ARow is a real row: graphic and text are both those of that row, hidden or not. A cell
    // without check box answers False and leaves State as it was. The Boolean form reads a
    // three-state box as checked only when it is cbChecked.
    bool GetCheckBoxState(int ACol, int ARow, bool &State);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState &State);
    bool IsChecked(int ACol, int ARow);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked);
    // No event is fired.
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    // ARow is a display row; fires OnCheckBoxChange when the state changes.
    bool ChangeCheckBoxState(int ACol, int ARow, bool State);
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    // The toggle without the can-edit question.
    bool ToggleCheckBox(int ACol, int ARow);

    bool IsRadioButtonChecked(int ACol, int ARow);
    // The other radio buttons of the column are not touched.
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    // The first checked row from FixedRows on, or -1.
    int GetRadioButtonColumnIndex(int ACol);

    // Toggle of a check cell (display row): asks the can-edit hook unless CheckAlwaysActive,
    // fires OnCheckBoxChange with the new state and registers text-held changes for undo.
    virtual bool DoToggleCheckBox(int ACol, int ARow, bool AskCanEdit);
    // Switches the radio button on and every other one of its column, fixed rows too, off.
    virtual bool DoSelectRadioButton(int ACol, int ARow, bool AskCanEdit);
    // Steps a radio group to its next item (wrapping) and writes the item's text into the cell.
    bool AdvanceRadio(int ACol, int ARow, bool AskCanEdit);

    // ===== nodes and expandable rows ===========================================================
    // A node is a row with a ctNode graphic in column 0: CellIndex span (real rows, the node row
    // included), CellBoolean contracted, CellErrFrom sub-node count. Rows of a span carry their
    // depth as NodeLevel of their column-0 properties. The operations take real rows, the
    // queries display rows. A row that is not a node is left alone.
    void AddNode(int ARow, int Span);
    // Expands first, so no row stays hidden for a node that is gone.
    void RemoveNode(int ARow);
    void RemoveAllNodes();
    bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    // -1 for a row that is not a node.
    int GetNodeLevel(int ARow);
    int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    int GetSubNodeCount(int ARow);
    void UpdateSubNodeCount(int ARow, int Delta);
    // A hidden row (inside a contracted node) is left alone.
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    // Contracts the top-level nodes; nested ones read expanded and come back with their parent.
    void ContractAll();
    // The innermost node whose span holds display row ARow; a top-level node is its own parent.
    int GetParentRow(int ARow);
    // Hidden rows below move down with the insertion (InsertRows renumbers them).
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);
    // InsertAt 0 on a node row: the new row takes the node row's texts and cell objects.
    void InsertChildRow(int ARow, int InsertAt);
    void RemoveChildRow(int ARow);
    // For the tree lines: 0 node row, 1 last row of a branch, 2 a row follows in the branch.
    int GetNodeSpanType(int ARow);
    bool HasNodes() override;
    int GetNodeIndent(int ARow) override;
    // The base hook, then with URLShowInText the first URL wrapped in a link, and with
    // ShowGroupCount the row count of a node row appended to its column 1 text.
    void GetDisplText(int ACol, int ARow, QString &Value) const override;

    // Expandable rows: a ctExpand graphic switches its row between two heights.
    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    void RemoveExpand(int ACol, int ARow);
    bool HasExpand(int ACol, int ARow);
    // The new state; False for a cell without expand button.
    bool ToggleExpand(int ACol, int ARow);
    bool GetExpandState(int ACol, int ARow);
    // DefaultRowHeight for a cell without expand button.
    int GetExpandHeight(int ACol, int ARow, bool Expanded);

    // ===== grid properties, update locking, messages and focus =================================
    void SetRowCount(int Value) override;
    void SetColCount(int Value) override;
    void SetCol(int Value) override;
    // With FixedRowAlways a count that does not fit is lowered to RowCount - 1 and remembered;
    // the grid returns to it when rows come back.
    void SetFixedRows(int Value) override;
    // 1 while FixedRowAlways keeps a header row whose fixed count fell to 0 (only that row is
    // left), so the grid's operations leave it out of the data. The platform and the base grid
    // lay out and draw with the count they keep, TBaseGrid::FixedRows().
    virtual int FixedRows() const;
    void SetFixedCols(int Value) override;
    void SetDefaultRowHeight(int Value) override;
    int FixedRowHeight() const;
    void SetFixedRowHeight(int Value);
    int FixedColWidth() const;
    void SetFixedColWidth(int Value);
    int FixedFooters() const;
    void SetFixedFooters(int Value);
    int FixedRightCols() const;
    void SetFixedRightCols(int Value);
    // Also the text editor's; repaints unless an update is in progress.
    void SetWordWrap(bool Value) override;
    TVAlignment VAlignment() const;
    void SetVAlignment(TVAlignment Value);
    // The text-drawing flag of VAlignment: top 0, centre 4, bottom 8.
    unsigned VAlignmentFlag() const;
    void SetSelection(const plat::TGridRect &Value) override;
    int MaxRowCount() const;
    int MaxColCount() const;

    void BeginUpdate();
    void EndUpdate();
    void StartUpdate();
    void ResetUpdate();
    bool LockUpdate() const;
    void SetLockUpdate(bool Value);
    int UpdateCount() const;

    // EQrlGridError "Columns is not in valid range" outside 0..511.
    int GetPrintColWidth(int ACol) const;
    int GetPrintColOffset(int ACol) const;
    void SetPrintColWidth(int ACol, int Value);
    void SetPrintColOffset(int ACol, int Value);

    // One tick of the 500 ms grid timer.
    void GridTimerTick();
    int TimerTicks() const;
    QString SearchInc() const;
    void SetSearchInc(const QString &Value);
    int SearchTics() const;
    void SetSearchTics(int Value);
    void ResetFixedCellHighlight();
    // The owner form's resize, followed with SizeWithForm.
    void FormResize(QWidget *Form);
    TMouseSelectMode MouseSelectMode() const;
    void SetMouseSelectMode(TMouseSelectMode Value);
    bool CellSelectorMode() const;
    void SetCellSelectorMode(bool Value);
    bool EditDisable() const;
    void SetEditDisable(bool Value);

    // ===== selection, row marks and repainting of cell ranges =================================
    using TRowDisjunctSelectEvent =
        std::function<void(QObject *Sender, int ARow, bool AState, bool &Allow)>;
    using TRowDisjunctSelectedEvent = std::function<void(QObject *Sender, int ARow)>;

    // Row flags take display rows, real rows with RowSelectPersistent. Outside the rows:
    // EQrlGridError "Invalid row N accessed", unless RowSelectPersistent.
    bool GetRowSelect(int ARow) const;
    // OnRowDisjunctSelect may refuse. Outside the rows of a grid with scrollable rows:
    // EQrlGridError "Invalid row accessed".
    void SetRowSelect(int ARow, bool Value);
    // Rows beyond the grid are skipped. Without DisjunctRowSelect the selection rectangle
    // becomes the rows.
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void ClearRowSelect();
    int RowSelectCount() const;
    int GetRowSelectCount() const { return RowSelectCount(); }
    int SelectedRowCount() const;
    // -1 past the selected rows.
    int GetSelectedRow(int i) const;
    void SelectionToRowSelect(bool All);
    // EQrlGridError "Invalid column accessed" outside the columns.
    bool GetColSelect(int ACol) const;
    void SetColSelect(int ACol, bool Value);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void ClearColSelect();
    int ColSelectCount() const;
    // With DisjunctColSelect: the number of selected columns.
    int SelectedColCount() const;
    void SelectionToColSelect(bool All);
    // Outside the grid: EQrlGridError "Grid index out of range", nothing changed.
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    // Without DisjunctCellSelect the list is first taken from the selection rectangle.
    int SelectedCellsCount() const;
    // std::out_of_range past the list.
    plat::TGridCoord GetSelectedCell(int i) const;
    bool GetSelectedCells(int i, int j) const;
    void SetSelectedCells(int i, int j, bool Value);
    void ClearSelectedCells();

    bool GetRowModified(int ARow) const;
    // A negative row: EQrlGridError "Invalid row accessed".
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    void ClearModifiedRows();
    bool GetRowEnabled(int ARow) const;
    // Disabling the current row moves the cursor to the first other enabled row.
    void SetRowEnabled(int ARow, bool Value);

    // Repaints by cells; nothing is drawn here.
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    // Any negative coordinate: nothing; a corner out of view: the whole grid.
    void RepaintRect(const plat::TGridRect &R);
    void InvalidateCellRange(const plat::TGridRect &R);
    bool LastRowAboveSearchFooter();
    void ScrollLastRowAboveSearchFooter();

    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TRowDisjunctSelectedEvent OnRowDisjunctSelected;

    // ===== moving rows and columns, hidden selection, current row, used cells, save ranges ===
    using TRowChangedEvent = std::function<void(QObject *Sender, int OldRow, int NewRow)>;

    // Lines move with their texts, cell properties, merged areas, cell controls, marks and
    // sizes. Indexes outside the grid: EQrlGridError "Grid index out of range".
    void MoveColumn(int FromIndex, int ToIndex) override;
    void MoveRow(int FromIndex, int ToIndex) override;
    // The Count rows from FromIndex; ToIndex is lowered by Count when the block lies wholly
    // before it.
    void MoveRows(int FromIndex, int ToIndex, int Count);
    void HideSelection();
    void UnHideSelection();
    bool SelHidden() const;
    void UpdateEditMode();
    int GetTopRowEx() const;
    // Only FixedRows .. RowCount - 1 scrolls; other values are ignored.
    void SetTopRowEx(int Value);
    int GetRowEx() const;
    // Fires OnRowUpdate when the row differs from the one last reported.
    void SetRowEx(int Value);
    void SetRow(int Value) override;
    // (0, 0, 0, 0) when no cell has text.
    plat::TGridRect UsedCells() const;
    int SaveStartCol() const;
    int SaveEndCol() const;
    int SaveColCount() const;
    int SaveStartRow() const;
    int SaveEndRow() const;
    int SaveRowCount() const;
    // (-1, -1) outside the cells.
    void ScreenToCell(const TPoint &pt, int &ACol, int &ARow) const;

    TRowChangedEvent OnRowUpdate;

    // ===== row and column content operations ===================================================
    // Rows and columns are display indexes. An index outside the grid or a negative count
    // raises EQrlGridError "Grid index out of range" before anything changes, except where a
    // call is documented to do nothing. Cell properties travel with their cells; removed cells
    // have theirs freed, a clear frees those of the cleared cells.
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    void AddRow();
    // Nothing for RCount <= 0 or RowIndex >= RowCount.
    virtual void RemoveRows(int RowIndex, int RCount);
    // Takes the rows out of view for the hidden-row store, which keeps their cells: their cell
    // properties are not freed.
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    // Frees the rows' cell properties, then DeleteRowsPlain(RowIndex, RCount, true).
    virtual void RemoveRowsAndProps(int RowIndex, int RCount);
    // Nothing for RowIndex >= RowCount. Forgets the rows' cell properties without freeing them
    // (the caller keeps them); RemoveControls drops the controls placed in the rows, which also
    // means the rows are deleted for good rather than hidden.
    void DeleteRowsPlain(int RowIndex, int RCount, bool RemoveControls);
    // Keeps the first row of every text of ACol (compared without regard to case).
    void RemoveDuplicates(int ACol, bool DoCase);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    // The data rows (above the footers) whose check box in CheckBoxColumn is RemoveChecked; a
    // row without a check box counts as unchecked.
    void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);
    // The data rows selected (or not) when called go to the hidden-row store.
    void HideSelectedRows();
    void HideUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    virtual void InsertCols(int ColIndex, int CCount);
    void AddColumn();
    // CCount is cut to the shown columns from ColIndex on.
    virtual void RemoveCols(int ColIndex, int CCount);
    // Inclusive; nothing when either range is empty.
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void ClearRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void Clear();
    void ClearAll();
    // The rows or columns of the disjunct selection, else the selection rectangle.
    void ClearSelection();
    // Blanks and control characters off both ends of every cell of the rectangle.
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol);
    void TrimRow(int ARow);
    void TrimAll();
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    // Column 1 takes the trimmed join of both columns in the scrollable rows; column 2 goes.
    void MergeCols(int ColIndex1, int ColIndex2, const QString &Separator);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    // The first cell, row by row, whose stored text is SubStr exactly; hidden columns are not
    // searched.
    bool IsCell(const QString &SubStr, int &ACol, int &ARow) const;
    bool IsWideCell(int ACol, int ARow) const;

    // ===== sorting =============================================================================
    // Rows are sorted in place, companions (heights, cell properties, marks, merged areas in one
    // row) travelling with them; equal rows keep their order. Fixed rows and footer rows never
    // move. The cross-reference remembers the order before the first sort, so QUnSort can put
    // every row back; line operations keep it in step.
    virtual void QSort();
    void Sort(int Column, TSortDirection Direction);
    // Nothing when the grid has fewer than two rows.
    void SortByColumn(int Col);
    // EQrlGridError "No indexes specified for indexed sort" on an empty SortIndexes.
    virtual void QSortIndexed();
    // Inside every expanded group of the deepest node level.
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    // Rows Left to Right only: no cross-reference start, update lock, cursor or footer handling.
    void QuickSort(int Col, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    virtual void QUnSort();
    // Exchanges the two rows when they are out of order; ties go to the next column.
    bool SortLine(int Col, int ARow1, int ARow2);
    // The one operation every sort and the unsort exchange rows through.
    virtual void SortSwapRows(int ARow1, int ARow2);
    void InitSortXRef();
    // What ssImages sorts by: the image index of a ctImageList cell, a number for the bitmap or
    // icon object of a ctBitmap / ctIcon cell, -1 for every other cell.
    int CellImageSortKey(int ACol, int ARow);
    // 1 ascending, -1 descending as of the last sort; 0 before the first.
    int SortDir() const;
    // The row that held the cursor when the last sort began, followed through the exchanges.
    int SortRow() const;
    int Compares() const;
    int Swaps() const;
    unsigned SortTime() const;
    void SetSortTime(unsigned Value);

    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;

    // ===== grouping ============================================================================
    // A header node row per run of equal values of the column, which is removed; summary rows
    // with the Grouping settings' Summary. Nothing for a fixed column or a grid without data
    // rows; an existing grouping is undone first.
    virtual void Group(int Colindex);
    // Nothing when the grid is not grouped.
    virtual void UnGroup();
    void SubGroup(int Colindex);
    void SubUnGroup(int Colindex);
    // Method 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 custom (OnGroupCalc),
    // 7 distinct values, 8 standard deviation, into the summary rows (or the header rows).
    void GroupCalc(int Colindex, int method);
    void GroupSum(int Colindex);
    void GroupAvg(int Colindex);
    void GroupMin(int Colindex);
    void GroupMax(int Colindex);
    void GroupCount(int Colindex);
    void GroupCustomCalc(int Colindex);
    void GroupDistinct(int Colindex);
    void GroupStdDev(int Colindex);
    // True while Group or UnGroup runs.
    bool IsGrouping() const;
    // ===== calculations and automatic sizing ===================================================
    // Column figures: FromRow or ToRow -1 means the normal rows (FixedRows to RowCount -
    // FixedFooters - 1). Numbers are read as GetFloats reads them: a text without number
    // characters counts 0. Sum, average and the row steps of minimum and maximum skip a cell
    // whose number characters form no number; the first value of minimum and maximum and every
    // value of the standard deviation raise EQrlGridError there. A ToRow past the shown rows
    // (past RowCount, or RowCount - 1 with a visible floating footer) counts real rows, hidden
    // ones included. Rows outside the grid count as empty cells.
    double ColumnSum(int ACol, int FromRow, int ToRow);
    // Divided by every row of the range, skipped ones included; 0 for an empty range.
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    // Population form (divided by n).
    double ColumnStdDev(int ACol, int FromRow, int ToRow);
    // Texts compared without regard to letter case.
    double ColumnDistinct(int ACol, int FromRow, int ToRow);
    // OnColumnCalc / OnGroupCalc with Res 0 first; 0 when unassigned.
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    double GroupCustomValue(int ACol, int FromRow, int ToRow);
    // Base cells of the columns fromCol to toCol; RowAvg is 0 for an empty range.
    double RowSum(int ARow, int fromCol, int toCol);
    double RowAvg(int ARow, int fromCol, int toCol);
    double RowMin(int ARow, int fromCol, int toCol);
    double RowMax(int ARow, int fromCol, int toCol);

    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // Cells joined by tabs, rows by CR LF.
    QString SelectedText();
    bool IsSelected(int ACol, int ARow);
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);

    // Sizes stay within MinColWidth / MaxColWidth and MinRowHeight / MaxRowHeight (equal limits
    // leave a size unchecked); with SizeGrowOnly no line gets smaller.
    void AutoSizeCol(int ACol, int Padding = 0);
    void AutoSizeColumns(bool DoFixedCols, int Padding = 0);
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    void AutoSizeRow(int ARow, int Padding = 0);
    void AutoSizeRows(bool DoFixedRows, int Padding = 0);
    void FitColumnWidth(int ACol, bool GrowOnly);
    void FitRowHeight(int ARow, bool GrowOnly, int Padding);
    void SizeRowToLines(int ARow, int Lines, int Extra);
    // The control's client area to the sum of the column widths / row heights.
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    // Spreads the control's width over the columns.
    void AutoFitColumns(bool DoFixedCells);
    // With Stretch of ColumnSize: the column (-1 the last) takes the client width the others
    // leave less one pixel, or DefaultColWidth when they leave none and the view is not scrolled
    // sideways (grid/display/QrlStringGrid_scroll.cpp). An index past the last column raises
    // EQrlGridError "Stretch column index out of range", also with Stretch off.
    void DoStretchColumn(int Index);
    // Columns are real columns, rows display rows; the sizes, the cells' properties, placed
    // controls and (for columns) the sort column go along.
    void SwapColumns(int ACol1, int ACol2);
    void SwapRows(int ARow1, int ARow2);
    // The window was rescaled by M / D: the fixed and active-cell fonts follow.
    virtual void ChangeScaleHook(int M, int D);

    bool SizeGrowOnly() const;
    void SetSizeGrowOnly(bool Value);
    int AutoNumberStart() const;
    void SetAutoNumberStart(int Value);
    int AutoNumberOffset() const;
    void SetAutoNumberOffset(int Value);
    TSortDirection AutoNumberDirection() const;
    void SetAutoNumberDirection(TSortDirection Value);
    // The XYOffset margin at the left and top only instead of on both sides.
    bool XYOffsetTopLeftOnly() const;
    void SetXYOffsetTopLeftOnly(bool Value);
    // Line breaks in cell texts start new lines.
    bool MultilineCells() const;
    void SetMultilineCells(bool Value);
    TColumnSize *ColumnSize() const;

    // The measurements the sizing takes (grid/display/QrlStringGrid_measure.cpp). Margins:
    // XYOffset once with XYOffsetTopLeftOnly, else twice.
    int TotalXOffset() const;
    int TotalYOffset() const;
    // 1 unless MultilineCells; else the most lines among the row's shown cells.
    int MaxLinesInRow(int ARow);
    // The size the text of a cell needs in its font with ZoomFactor added, without its graphic.
    // ACol is a real column. VS: wrapped within the cell's width; SB: 17 pixels kept for a cell
    // scroll bar. Mini-HTML is measured on its visible text.
    TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    TSize CalcCellTextSize(int ACol, int DisplCol, bool VS, bool SB, int ARow);
    // The room a cell's graphic takes beside or above its text; (0, 0) without graphic.
    virtual TPoint GetCellGraphicSize(int ACol, int ARow);
    virtual TPoint CalcCellGraphicSize(int ACol, int ARow, int ReservedHeight);
    // The row of a cell (the last row of its merged area) shows the sort glyph.
    bool IsSortIndicatorRow(int ACol, int ARow);
    // The sort glyph of real column ACol centred on (X, Y).
    void DrawSortIndicator(TCanvas *Canvas, int ACol, int Y, int X);

    TColumnCalcEvent OnColumnCalc;
    TColumnCalcEvent OnGroupCalc;

    // ===== floating footer calculation, change notifiers and string-grid hooks =================
    TFloatingFooter *FloatingFooter() const;
    // One column, or every column (hidden ones too) for -1.
    void CalcFooter(int ACol);
    virtual void FloatingFooterCalc(int ACol);
    void RecalcColumnFooter(int ACol);
    // Repaints the footer panel.
    void UpdateFooter();
    void LastRowChanged() override;
    // OnCellsChanged, then every registered notifier in order, then the footer.
    virtual void NotifyCellsChanged(const plat::TGridRect &R);
    virtual void AfterCellsLoaded();
    // Registering twice or unregistering an unknown notifier changes nothing. A notifier
    // destroyed while registered is dropped.
    void RegisterNotifier(TGridChangeNotifier *ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier *ANotifier);
    // One listener at a time; unregistering clears it whatever is passed.
    void RegisterSelListener(const std::shared_ptr<ITQrlStringGridSelect> &AListener);
    void UnRegisterSelListener(const std::shared_ptr<ITQrlStringGridSelect> &AListener);
    ITQrlStringGridSelect *SelListener() const;

    virtual void InsertRowHook(int ARow);
    // The only data row is emptied instead (unless FixedRowAlways); then OnAutoDeleteRow.
    virtual void RemoveRowHook(int ARow);
    // The names the key and editing code know these row operations by.
    void InsertRowAt(int ARow) { InsertRowHook(ARow); }
    void RemoveRowAt(int ARow) { RemoveRowHook(ARow); }
    void AppendEmptyRow() { AddRowHook(); }
    virtual QString ExportCellText(int ACol, int ARow);
    // The text a file writer stores for a cell.
    virtual void SaveCellText(int ACol, int ARow, QString &Value);
    // Stores a text a file reader loaded, after OnLoadCell, without hooks.
    virtual void LoadCellText(int ACol, int ARow, const QString &Value);
    bool SaveWithRTF() const;
    void SetSaveWithRTF(bool Value);

    TCalcFooterEvent OnFooterCalc;
    TAutoDeleteRowEvent OnAutoDeleteRow;
    TCellSaveLoadEvent OnLoadCell;
    TCellSaveLoadEvent OnSaveCell;
    TNotifyEvent OnRichEditSelectionChange;

    // ===== library start-up and small grid routines ============================================
    // The cell text as GetCellEx gives it; written through SetCellEx. No encoding of their own.
    QString GetWideCells(int ACol, int ARow) const;
    void SetWideCells(int ACol, int ARow, const QString &Value);
    // Records the width of every shown column and the grid's width.
    void InitOrigColSizes();
    const TIntList &OrigColSizes() const;
    int OrigGridWidth() const;
    // The first real column whose row-0 text equals AValue exactly (case-sensitive); -1.
    int ColumnByHeader(const QString &AValue) const;
    // The column order: the real column shown at each display position. It is recorded on
    // demand and follows every column move until recorded again.
    void SetColumnOrder();
    bool ColumnOrderRecorded() const;
    // The display position of real column ACol; ACol when no order is recorded or ACol is not
    // in it.
    int ColumnPosition(int ACol) const;
    // Records the order first when none is. A position outside the order raises the list's
    // range error.
    int ColumnAtPosition(int Pos);
    // Shows all columns and moves them back into the recorded order.
    void ResetColumnOrder();
    // Keeps the column order in step with a moved column.
    void ColumnMoved(int FromIndex, int ToIndex) override;

    // ===== cell editing: editability, opening, validation and closing =========================
    // (grid/editing/QrlStringGrid_edit.cpp)
    // False unless goEditing, RangeSelectAndEdit or the editor-disable state allows editing;
    // then the base cell's own editability.
    bool IsEditable(int ACol, int ARow);
    void ShowInplaceEdit();
    void HideInplaceEdit();
    // Closes the editor and moves on for the key that ended editing.
    void DoneInplaceEdit(int Key, plat::TShiftState Shift);
    void ShowCellEdit();
    void HideCellEdit();
    void Select();
    virtual bool ValidateCell(const QString &NewValue);
    virtual bool ValidateCellWide(const QString &NewValue);
    void CellControlsUpdate(bool RebuildList);
    virtual void KeepOldCellValue(int ACol, int ARow);
    bool CanEditBaseCell(int ACol, int ARow);
    // The text editor keeps the Tab key.
    bool WantsTabInEditor() const;
    // OnEditingDone, editing off, and OnEditCellDone once the event loop comes round.
    void NotifyEditingDone(int ACol, int ARow);
    void SimulateCellClick(int ACol, int ARow);
    bool SelectCellHook(int ACol, int ARow);
    bool CanShowEditorHook();
    QString GetEditTextHook(int ACol, int ARow);
    void SetEditTextHook(int ACol, int ARow, const QString &Value);
    void TopLeftChangedHook();
    void KeyUpHook(int &Key, plat::TShiftState Shift);
    bool EditMode() const;
    bool Editing() const;
    TEditorType EditControl() const;
    QString NewCellText() const;
    QString OldCellText() const;
    void SetOldCellText(const QString &Value);
    QString CellCache() const;
    bool NoEditChange() const;
    void SetNoEditChange(bool Value);
    QChar StartEditChar() const;
    void SetStartEditChar(QChar Value);
    // Validate an unchanged text too.
    bool AlwaysValidate() const;
    void SetAlwaysValidate(bool Value);
    // The editor gets the cell text with its mini-HTML tags.
    bool EditWithTags() const;
    void SetEditWithTags(bool Value);
    // Some cell was changed by editing; a refused validation puts the earlier state back.
    bool Modified() const;
    void SetModified(bool Value);
    bool GridModified() const;

    // Special editors: fills, places and shows the control of the cell's editor kind, and
    // stores its value back (grid/editing/QrlStringGrid_special.cpp).
    void ShowCellEditor(int ACol, int ARow);
    void ApplyEditorValue(int ACol, int ARow);
    // The kinds whose own control is not built yet; their cells are edited with the text editor.
    static bool TextEditorStandsIn(TEditorType Kind);

    // The spin editor's buttons (Home and End fire OnSpinClick in any spin); UpDown is true for
    // a step up. ACol is the cursor column as displayed.
    std::function<void(QObject *Sender, int ACol, int ARow, int AValue, bool UpDown)> OnSpinClick;
    std::function<void(QObject *Sender, int ACol, int ARow, double AValue, bool UpDown)>
        OnFloatSpinClick;
    std::function<void(QObject *Sender, int ACol, int ARow, double AValue, bool UpDown)>
        OnDateSpinClick;
    std::function<void(QObject *Sender, int ACol, int ARow, double AValue, bool UpDown)>
        OnTimeSpinClick;

    std::function<void(QObject *Sender, int ACol, int ARow, QString &Value, bool &Valid)>
        OnCellValidate;
    std::function<void(QObject *Sender, int ACol, int ARow, QString &Value, bool &Valid)>
        OnCellValidateWide;
    TNotifyEvent OnEditingDone;
    std::function<void(QObject *Sender, int ACol, int ARow)> OnEditCellDone;

    // ===== cell cursor navigation, advance after editing and key press ========================
    // (grid/model/QrlStringGrid_navigate.cpp)
    void GotoCell(int ACol, int ARow);
    void EditCell(int ACol, int ARow);
    void FocusCell(int ACol, int ARow);
    void MoveCurrentCell(int ACol, int ARow);
    void
    AdvanceAfterEdit(int ACol, int ARow, bool ShowEditor, bool Forward, bool AutoEdit, bool Force);
    // The grid's answer to a typed character (also what the editors hand Enter to).
    void GridKeyPress(QChar &Key);
    void FocusCellControl(int ACol, int ARow, const QString &ID);
    int FirstNavigableCol() const;
    int VisibleFixedRightCols() const;
    // TabToNextCell: see the keyboard banner.

    std::function<void(
        QObject *Sender, int OldRow, int OldCol, int &NewRow, int &NewCol, bool &Allow)>
        OnAutoAdvance;
    TAutoAddRowEvent OnAutoAddRow;
    std::function<void(QObject *Sender, int ACol)> OnAutoInsertCol;

    // ===== combo items, editor notifications and lazily created editors =====================
    // (grid/editing/QrlStringGrid_messages.cpp, grid/editing/QrlStringGrid_lazy.cpp)
    // The items are those of the one combo editor, shared by every combo cell.
    void ClearComboString();
    void AddComboString(const QString &S);
    void AddComboStringObject(const QString &S, QObject *AObject);
    // False, and nothing changes, when no item equals S.
    bool RemoveComboString(const QString &S);
    bool SetComboSelectionString(const QString &S);
    // The item a combo opens on when the cell's text is not among the items; -1 for none.
    void SetComboSelection(int Index);
    int GetComboCount();
    // OnGetEditorProp may fill the items for the cell first. An index outside the items raises
    // the list's index error and writes nothing.
    void SetComboIndex(int ACol, int ARow, int Index);
    int GetComboIndex(int ACol, int ARow);
    int MaxComboLength() const;
    void SetMaxComboLength(int Value);
    // The combo editor, a child of the viewport, hidden until a combo cell is edited.
    TGridCombo *EditCombo();
    // The combo's notifications, each running the grid's steps for it in their order.
    void ComboSelChange();
    void ComboEditChange();
    void ComboCloseUp();
    void ComboDropDown();
    // The dropdown editors' header and footer buttons and the memo dropdown's text.
    void DropDownHeaderButtonClick(int ButtonIndex);
    void DropDownFooterButtonClick(int ButtonIndex);
    void DropDownMemoChange(const QStringList &Lines);

    // Created on first read, hidden, children of the grid, kept for the grid's lifetime.
    TGridSpin *SpinEdit();
    // Also disabled until a check-box cell is edited.
    TGridCheckBox *EditCheck();
    TGridDatePicker *DateTimePicker();
    TGridDateTimePicker *DateAndTimePicker();
    TQrlRichEdit *RichEdit();
    TQrlRichEdit *InplaceRichEdit();
    // The nearest window among Control and its parents; nullptr when there is none.
    static QWidget *FindParentForm(QWidget *Control);
    // The date pickers' events.
    void DatePickerChange();
    void DatePickerCloseUp();
    void DatePickerDropDown();
    void DateTimePickerChange();
    // The date-and-time picker's change notification with its system time; a year, month or
    // day of 0 reports 0.
    void
    DateTimeChangeNotify(int Year, int Month, int Day, int Hour, int Minute, int Second, int MSec);
    // The balloon window's title, text and icon for the cell (base cell of a merged one);
    // ACol -1 for no cell.
    struct TBalloonTip
    {
        QString Title;
        QString Text;
        int Icon = 1;
    };
    TBalloonTip BalloonTipForCell(int ACol, int ARow);
    // Tabs to blanks, leading line breaks skipped, a long text cut with "...".
    static QString BalloonTipText(const QString &T);
    static QString BalloonTipTitle(const QString &Title);

    std::function<void(
        QObject *Sender, int ACol, int ARow, int AItemIndex, const QString &ASelection)>
        OnComboChange;
    std::function<void(QObject *Sender,
                       int ACol,
                       int ARow,
                       int AItemIndex,
                       const QString &ASelection,
                       QObject *AObject)>
        OnComboObjectChange;
    std::function<void(QObject *Sender, int ACol, int ARow, int ButtonIndex)>
        OnDropDownHeaderButtonClick;
    std::function<void(QObject *Sender, int ACol, int ARow, int ButtonIndex)>
        OnDropDownFooterButtonClick;
    TClickCellEvent OnDatePickerCloseUp;
    TClickCellEvent OnDatePickerDropDown;
    std::function<void(QObject *Sender, int ACol, int ARow, double ADateTime)> OnDateTimeChange;
    TGridBalloonEvent OnCellBalloon;

    // ===== the text inplace editor: its class, edit mask and length limit ===================
    // (grid/editing/QrlStringGrid_editor.cpp; the editor itself in grid/editing/QrlInplaceEdit.h)
    // The text editor in use: the multi-line one while the grid word-wraps or has multi-line
    // cells (a password cell or a cell with an edit mask keeps the single-line one); null before
    // the first text cell was edited.
    TQrlInplaceEdit *NormalEdit() const;
    // The grid's EditMask, then OnGetEditMask.
    QString GetEditMaskHook(int ACol, int ARow);
    // MaxEditLength.
    int GetEditLimitHook();
    QString EditMask() const;
    void SetEditMask(const QString &Value);
    // Lookup completion of typed text from LookupItems; LookupHistory adds every text the
    // editor leaves with.
    bool Lookup() const;
    void SetLookup(bool Value);
    bool LookupCaseSensitive() const;
    void SetLookupCaseSensitive(bool Value);
    bool LookupHistory() const;
    void SetLookupHistory(bool Value);
    // The characters an edValidChars cell takes; when empty, the codes up to 255 flagged in
    // ValidCharSet.
    QString ValidChars() const;
    void SetValidChars(const QString &Value);
    std::bitset<256> &ValidCharSet();
    // The keypad's "." types the regional decimal separator.
    bool ExcelStyleDecimalSeparator() const;
    void SetExcelStyleDecimalSeparator(bool Value);

    std::function<void(QObject *Sender, int ACol, int ARow, const QString &Value)> OnEditChange;
    std::function<void(QObject *Sender, int ARow, int ACol)> OnDblClickCell;
    std::function<void(QObject *Sender, bool &Allow)> OnClipboardCopy;
    std::function<void(QObject *Sender, bool &Allow)> OnClipboardCut;
    std::function<void(QObject *Sender, bool &Allow)> OnClipboardPaste;
    std::function<void(QObject *Sender, int ACol, int ARow, QString &Value, bool &Allow)>
        OnClipboardBeforePasteCell;
    std::function<void(QObject *Sender, int ACol, int ARow, const QString &Value)>
        OnClipboardAfterPasteCell;

    // ===== mouse clicks: left press, release, double click and right button ===================
    // (grid/editing/QrlStringGrid_mouse.cpp, grid/editing/QrlStringGrid_mouseup.cpp)
    // Selects the item of a ctRadio cell (real column) under a point relative to the cell.
    void RadioClickAt(int ACol, int ARow, int X, int Y);
    // Opens the fixed-cell editor over a fixed cell once OnCanEditCell agrees. The fixed-cell
    // edit and combo controls do not exist yet: after the question nothing opens.
    void EditFixedCell(int ACol, int ARow);
    // Runs instead of every click while CellSelectorMode is on; empty here.
    virtual void CellSelectorClick(int ACol, int ARow);
    // Sees (and may change) the rectangle a press on the top-left corner selects.
    virtual void SelectAllHook(plat::TGridRect &R);
    // The menu a fixed cell's drop-down button opens (not owned); OnFixedDropDownClick may
    // hand another one.
    QMenu *FixedDropDownMenu() const;
    void SetFixedDropDownMenu(QMenu *Value);
    // Fixed cells push down under a left press and fire OnButtonClick on release (needs the
    // fixed grid lines and a non-flat grid).
    bool FixedAsButtons() const;
    void SetFixedAsButtons(bool Value);
    // With URLShow, a right click on a cell holding a URL makes it current and edits it.
    bool URLEdit() const;
    void SetURLEdit(bool Value);
    // Opens an http, https or mailto link of a cell; null opens it with the desktop services.
    // Links of other schemes never leave the grid (OnAnchorClick sees them all).
    std::function<void(const QUrl &Url)> OpenLinkHook;

    std::function<void(QObject *Sender, int ARow, int ACol, bool &Allow)> OnCanClickCell;
    TClickCellEvent OnClickCell;
    TClickCellEvent OnRightClickCell;
    std::function<void(
        QObject *Sender, int ARow, int ACol, const QString &Anchor, bool &AutoHandle)>
        OnAnchorClick;
    // A form control of a markup cell was clicked (a check box or radio button after it
    // changed).
    std::function<void(QObject *Sender,
                       int ARow,
                       int ACol,
                       const QString &CtrlID,
                       const QString &CtrlType,
                       const QString &CtrlVal)>
        OnControlClick;
    TCheckBoxClickEvent OnCheckBoxMouseUp;
    std::function<void(QObject *Sender, int ACol, int ARow, int AIdx)> OnRadioClick;
    std::function<void(QObject *Sender, int ACol, int ARow, int AIdx)> OnRadioMouseUp;
    TButtonClickEvent OnRadioButtonClick;
    std::function<void(QObject *Sender, int ARow, int ARowReal, bool &Allow)> OnBeforeExpandNode;
    std::function<void(QObject *Sender, int ARow, int ARowReal, bool &Allow)> OnBeforeContractNode;
    std::function<void(QObject *Sender, int ARow, int ARowReal)> OnExpandNode;
    std::function<void(QObject *Sender, int ARow, int ARowReal)> OnContractNode;
    std::function<void(QObject *Sender, int ACol, bool &Allow)> OnColumnSize;
    std::function<void(QObject *Sender, int ACol)> OnEndColumnSize;
    std::function<void(QObject *Sender, int ARow)> OnEndRowSize;
    std::function<void(QObject *Sender, int ACol, bool &DoSort)> OnCanSort;
    std::function<void(
        QObject *Sender, int ACol, int ARow, QMenu *&AMenu, bool &KeepFixedCellHighlighted)>
        OnFixedDropDownClick;

    // ===== hover, sizing and moving of rows and columns ======================================
    // (grid/editing/QrlStringGrid_hover.cpp)
    // The "cw="/"rh=" hint while a column or row is sized with the mouse.
    bool HintShowSizing() const;
    void SetHintShowSizing(bool Value);
    // A press on a selected cell prepares dragging the cells out of the grid; a move of more
    // than 3 pixels with the button held starts it. OleColumnsOnly lets only the header rows
    // start one.
    bool OleDropSource() const;
    void SetOleDropSource(bool Value);
    bool OleColumnsOnly() const;
    void SetOleColumnsOnly(bool Value);
    // The mouse left the grid: gestures end, hovered cells and rows are repainted plain.
    void MouseLeaveMessageHook();
    // The unit edit-button editor's change handler: OnUnitChanged for the current cell.
    void UnitChangedRelay(QObject *Sender, const QString &NewUnit);
    // Cells have borders of their own while OnGetCellBorder is assigned.
    bool HasCustomBorders() override;

    std::function<void(QObject *Sender, int ARow, int ACol, const QString &Anchor)> OnAnchorEnter;
    std::function<void(QObject *Sender, int ARow, int ACol, const QString &Anchor)> OnAnchorExit;
    std::function<void(QObject *Sender, int ACol, int ColumnSize)> OnColumnSizing;
    std::function<void(QObject *Sender, int ARow, int RowSize)> OnRowSizing;
    std::function<void(QObject *Sender, int ARow, bool &Allow)> OnRowSize;
    std::function<void(QObject *Sender, int ACol, bool &Allow)> OnColumnMove;
    std::function<void(QObject *Sender, int ACol, bool &Allow)> OnColumnMoving;
    std::function<void(QObject *Sender, int ARow, bool &Allow)> OnRowMove;
    std::function<void(QObject *Sender, int ARow, bool &Allow)> OnRowMoving;
    std::function<void(QObject *Sender, int ARow, int ACol, const QString &Data, bool &Allow)>
        OnOleDrag;
    std::function<void(QObject *Sender, int ARow, int ACol)> OnOleDragStart;
    std::function<void(QObject *Sender, int ACol, int ARow, const QString &NewUnit)> OnUnitChanged;

    // ===== mouse wheel and panning ============================================================
    // (grid/editing/QrlStringGrid_wheel.cpp)
    // Pan mode of the middle button: the directions it follows (default ipVertical).
    TIntelliPan IntelliPan() const;
    void SetIntelliPan(TIntelliPan Value);
    // Shows the pan marker with its top-left corner at the pan origin / takes it away again;
    // both do nothing outside pan mode.
    void DrawPanMarker();
    void ErasePanMarker();
    // Runs after a wheel notch moved the grid, with the rows the current row moved by (0 when
    // only the view scrolled); Handled lets OnMouseWheelDown/Up follow. Empty here.
    virtual void WheelMoveHook(int Delta, bool &Handled);

    // ===== keyboard navigation, key commands and the Tab walk ===============================
    // (grid/editing/QrlStringGrid_keys.cpp, grid/editing/QrlStringGrid_tab.cpp)
    // One Tab step (Shift+Tab when Backward), also for the Tab key of every inplace editor.
    // False when the step ended the walk at the grid's end and handed Tab to the parent window.
    bool TabToNextCell(bool Backward);
    // With goEditing the real cell's editability, else not fixed; OnSelectCell has the last word.
    bool CanTabToCell(int ACol, int ARow);
    // The first / last column of the row that CanTabToCell accepts; -1 when there is none.
    int FirstTabCol(int ARow);
    int LastTabCol(int ARow);
    virtual void GotoFirstRow();
    void GotoFirstScrollRow() { GotoFirstRow(); }
    // The current row is the last data row (before the fixed footers or the floating footer).
    bool IsLastDataRow() const;
    // One empty row below the last data row, when OnCanAddRow agrees; then OnAutoAddRow.
    void AppendRowOnArrowDown();
    // Called by the text editor from its own key-down processing; empty here.
    virtual void EditorKeyDownHook(int &Key, plat::TShiftState Shift);
    virtual void EditorKeyMessageHook(QEvent *Message);

    TCanDeleteRowEvent OnCanDeleteRow;
    TAutoInsertRowEvent OnAutoInsertRow;

    // ===== scrolling and column sizing (grid/display/QrlStringGrid_scroll.cpp) ===============
    using TDragScrollEvent = std::function<void(QObject *Sender,
                                                int TopRow,
                                                int LeftCol,
                                                TDragScrollDirection &DragScrollDir,
                                                bool &CanScroll)>;

    // A cell outside the view becomes the current cell and is centred; nothing for a cell past
    // the last column or row.
    void ScrollInView(int ColIndex, int RowIndex);
    // Keeps the grid's copy, then the platform grid's setter.
    void SetScrollBars(plat::TScrollStyle Value) override;
    // Stores the text offset inside cells and repaints.
    void SetXYOffset(const TPoint &Value);
    // The colour of the column-move arrows.
    TColor ArrowColor() const;
    void SetArrowColor(TColor Value);
    // The flat scroll-bar layer. The platform has no flat scroll bars: every entry point is
    // missing, so the grid keeps its normal bars and IsFlat stays False.
    void InitFlatScrollBars();
    void DoneFlatScrollBars();
    bool IsFlat() const;
    void FlatSetScrollProp(int Index, int Value, bool Redraw);
    void FlatSetScrollInfo(Qt::Orientation Bar, const TScrollInfo &Info, bool Redraw);
    void FlatShowScrollBar(Qt::Orientation Bar, bool Show);
    void UpdateScrollStyle();
    void UpdateScrollColor();
    void UpdateScrollWidth();
    void UpdateFlatScrollBars();
    void SyncFlatVScroll();
    void SyncFlatHScroll();
    // The proportional thumbs; the bars keep their position, the thumb's length follows.
    void UpdateHScrollProportional();
    void UpdateVScrollProportional();
    // The grid's handling of the scroll-bar messages, around the platform grid's.
    void WMHScroll(plat::TScrollCode Code, int Pos);
    void WMVScroll(plat::TScrollCode Code, int Pos);
    // Source: the in-cell scroll bar when the message is one of its actions.
    void WMVScroll(plat::TScrollCode Code, int Pos, QScrollBar *Source);
    // The shared in-cell scroll bar laid over a ctScrollbar cell (the hover code places it);
    // its actions come back through WMVScroll.
    void ConnectCellScrollBar(QScrollBar *Bar, int ACol, int ARow);
    // Scrolling while something is dragged near an edge (DragScrollOptions).
    void DragOverHook(QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void DragScrollTimer();
    void SizeChangedHook(int OldColCount, int OldRowCount);
    // DoStretchColumn of the last column.
    void StretchRightColumn();
    void ColWidthsChangedHook();
    void RowHeightsChangedHook();
    // On a column border in the header rows (goColSizing) or a row border in the fixed columns
    // (goRowSizing).
    bool IsSizingPos(int X, int Y);
    // A component the grid refers to went away: the grid forgets it.
    virtual void NotificationHook(QObject *AComponent, TOperation Operation);
    // NotificationHook hears when AComponent is destroyed.
    void FreeNotification(QObject *AComponent);
    // The window of the thumb-drag hints (and the sizing hints), made on first use.
    THTMLHintWindow *ScrollHintWindow();

    TScrollHintEvent OnScrollHint;
    TDragScrollEvent OnDragScroll;

    // ===== cell hints (grid/display/QrlStringGrid_hint.cpp) =================================
    // The grid's hint manager: cell hints, and the footer panel's and scroll hints' windows.
    THintManager *HintManager();
    // The hint of the viewport point Cursor: text, screen position, window kind and the cell it
    // belongs to. False when there is no hint.
    bool BuildCellHint(const QPoint &Cursor, THintInfo &Info);
    // Hands the viewport to HintManager() with BuildCellHint; repeated calls do nothing.
    void AttachCellHints();
    bool HintShowCells() const;
    void SetHintShowCells(bool Value);
    // The cell hints of HintShowCells and HintShowLargeText keep their mini-HTML tags.
    bool HTMLHint() const;
    void SetHTMLHint(bool Value);
    bool HintShowLargeText() const;
    void SetHintShowLargeText(bool Value);
    TAnchorHintEvent OnAnchorHint;

    // ===== mini-HTML cells: the layout engine over a cell (grid/display/QrlStringGrid_html.cpp)
    // Anchors of markup cells are underlined only while the mouse is over them.
    bool URLUnderlineOnHover() const;
    void SetURLUnderlineOnHover(bool Value);
    // What the markup of a cell (display coordinates) has at a client point: the anchor, linked
    // picture or form control, found over the text as it is painted. False when none.
    bool CellHTMLHitTest(int ACol, int ARow, int X, int Y, THTMLPaintResult &Result);
    // The same over the text only, by the ID of a form control: its rectangle, type and value.
    bool CellHTMLFindControl(int ACol, int ARow, const QString &ID, THTMLPaintResult &Result);
    // The anchor (from 1) of a cell drawn hovered, -1 for none; repaints what changed.
    void SetHoverAnchor(int ACol, int ARow, int Index);

protected:
    using TBaseGrid::FocusCell;
    // The body of InsertRows, for a descendant that overrides it.
    void InsertRowsCore(int RowIndex, int RCount, bool UpdateCellControls);
    // Switches for clears of scratch rows whose cell properties other cells hold as well: a
    // clear then forgets the properties instead of freeing them (NilObjects) and does not
    // report the change (BlockCellChange).
    bool NilObjects() const;
    void SetNilObjects(bool Value);
    bool BlockCellChange() const;
    void SetBlockCellChange(bool Value);
    // Mouse clicks (grid/editing/QrlStringGrid_mouse.cpp, _mouseup.cpp): a press or release from
    // the window runs the grid's click steps around the framework's processing, one the grid's
    // own code sends only the framework and the hooks; DblClick runs the double click at the
    // point of the press that came just before it.
    bool viewportEvent(QEvent *e) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    // The framework's press and release with the grid's steps around them.
    void MouseDownHook(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
    void MouseUpHook(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
    // Hover, sizing and moving (grid/editing/QrlStringGrid_hover.cpp): the mouse-move hook, the
    // veto of sizing on a border, and the framework's moving hooks that refuse a drop the
    // moving cursor marked as refused.
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void CalcSizingState(
        int X, int Y, plat::TGridState &State, int &Index, int &SizingPos, int &SizingOfs) override;
    bool EndColumnDrag(int &Origin, int &Destination, const TPoint &MousePt) override;
    bool EndRowDrag(int &Origin, int &Destination, const TPoint &MousePt) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    // The text editor's class and its edit mask and limit (QrlStringGrid_editor.cpp).
    plat::TInplaceEdit *CreateEditor() override;
    plat::TGridEditor *GetCellEditor(int ACol, int ARow) override;
    QString GetEditMask(int ACol, int ARow) override;
    int GetEditLimit() override;
    // Cell editing and navigation hooks of the platform grid
    // (grid/editing/QrlStringGrid_edit.cpp, grid/model/QrlStringGrid_navigate.cpp).
    bool SelectCell(int ACol, int ARow) override;
    bool CanEditShow() override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString &Value) override;
    void TopLeftChanged() override;
    void KeyUp(int &Key, plat::TShiftState Shift) override;
    void KeyPress(QChar &Key) override;
    // Mouse wheel and panning (grid/editing/QrlStringGrid_wheel.cpp). A wheel from the window
    // asks the parent first, zooms with Ctrl, then scrolls or moves the current row by the
    // system's lines per notch; one that reached the grid through a child control (an open
    // editor) or the parent's answer takes the framework's path, whose per-notch hooks keep the
    // wheel action and the left column.
    bool DoMouseWheel(plat::TShiftState Shift, int WheelDelta, const TPoint &MousePos) override;
    bool DoMouseWheelDown(plat::TShiftState Shift, const TPoint &MousePos) override;
    bool DoMouseWheelUp(plat::TShiftState Shift, const TPoint &MousePos) override;
    // A press from the window ends pan mode, or a middle press starts it (from MouseDown).
    void PanMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
    // Keys, characters and resizing (grid/editing/QrlStringGrid_keys.cpp): the key-down,
    // character and viewport-resize messages run the grid's steps around the framework's
    // processing; KeyDown is the framework's key-down hook and runs KeyDownHook.
    bool HandleMessage(QEvent *e) override;
    void KeyDown(int &Key, plat::TShiftState Shift) override;
    bool KeyDownMessageHook(QKeyEvent *Message);
    void KeyDownHook(int &Key, plat::TShiftState Shift);
    bool CharMessageHook(QKeyEvent *Message);
    bool SizeMessageHook(QEvent *Message);
    // The clipboard keys' operations; the clipboard exchange is not built yet, so they do
    // nothing here.
    virtual void CutSelectionToClipboardKey();
    virtual void CopySelectionToClipboardKey();
    virtual void PasteSelectionFromClipboardKey();
    // Takes the posted "GridEditDone" message.
    bool event(QEvent *e) override;
    void Paint() override;
    void resizeEvent(QResizeEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void DoEnter() override;
    void DoExit() override;
    void Click() override;
    Qt::CursorShape GetCursorForPoint(int X, int Y) override;
    void DrawCell(int ACol, int ARow, const TRect &ARect, plat::TGridDrawState AState) override;
    // Scrolling and column sizing (grid/display/QrlStringGrid_scroll.cpp).
    void ModifyScrollBar(Qt::Orientation Bar, plat::TScrollCode Code, int Pos) override;
    void UpdateScrollRange() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;

    // Runs tagging over a rectangle of base cells.
    void TagTextInRange(const QString &HiText,
                        const QString &Tag,
                        int FromCol,
                        int ToCol,
                        int FromRow,
                        int ToRow,
                        bool DoCase);
    void UnTagTextInRange(const QString &Tag, int FromCol, int ToCol, int FromRow, int ToRow);

    // True while GetCellEx answers every cell's stored text unchanged (no display-text hook is
    // set), so the calculations may read the cell store directly. An override of GetDisplText
    // that changes texts answers False here.
    virtual bool DisplayTextIsStored() const;

    std::unique_ptr<TStringGridModelState> d;
    // Declared after d so they go before it, the editing first: its editors' focus handling
    // reads the display's and the model's state while they are deleted.
    std::unique_ptr<TStringGridDisplayState, TStringGridDisplayStateDeleter> dsp;
    std::unique_ptr<TStringGridEditingState, TStringGridEditingStateDeleter> ed;

private:
    friend class TGridSortSource;
    // Mini-HTML cells (grid/display/QrlStringGrid_html.cpp).
    void fillCellHTMLParams(THTMLPaintParams &P, int RC, int ARow, int ACol);
    void rememberHTMLTextRect(int ACol, int ARow, const TRect &R);
    TRect cellHTMLTextRect(int ACol, int ARow);
    // Mouse clicks (grid/editing/QrlStringGrid_mouse.cpp, _mouseup.cpp).
    void leftPress(plat::TShiftState Shift, int X, int Y);
    void rightPress(plat::TShiftState Shift, int X, int Y);
    void leftRelease(plat::TShiftState Shift, int X, int Y);
    void clickCell(int ACol, int ARow);
    bool anchorPress(int ACol, int ARow, int X, int Y);
    void openAnchor(const QString &Anchor);
    void headerClickSort(int ACol, int ARow, int X, int Y, plat::TShiftState Shift);
    bool checkBoxPress(int ACol, int ARow, plat::TShiftState Shift, int X, int Y, bool CanEdit);
    void toggleNodeAt(int ARow);
    // Where a click reaches what later work builds; each does nothing yet (false: not handled).
    bool selectionResizerPress(int X, int Y);
    bool prepareCellDrag(int ACol, int ARow, int X, int Y);
    void showFixedCellEditor(int ACol, int ARow);
    void endHeaderDrag();
    bool hasFilterButton(int ACol);
    bool filterDropDownRelease(int ACol, int ARow, int X, int Y);
    // Hover, sizing and moving (grid/editing/QrlStringGrid_hover.cpp).
    bool hoverSteps(plat::TShiftState Shift, int X, int Y);
    void selectionDragSteps(int ACol, int ARow, int X, int Y);
    void fixedBorderSteps(int ACol, int ARow, int X, int Y);
    void oleDragStart(int ACol, int ARow, int X, int Y);
    bool movingSteps(int ACol, int ARow, int X, int Y);
    bool gestureSteps(int ACol, int ARow, int X, int Y);
    bool anchorSteps(int ACol, int ARow, int X, int Y);
    void sizingFeedback(int X, int Y);
    void selectionClickRelease(int ACol, int ARow);
    void hideSizingHint();
    void columnMovedFollowers(int FromIndex, int ToIndex, int RealFrom, int RealTo);
    // Mouse wheel and panning (grid/editing/QrlStringGrid_wheel.cpp).
    class TWheelPan; // the pan marker (grid/editing/QrlStringGrid_wheel.cpp)
    int wheelStep() const;
    void wheelNotch(bool TowardUser, plat::TShiftState Shift, const TPoint &MousePos);
    bool frameworkWheel(bool Down, plat::TShiftState Shift, const TPoint &MousePos);
    void panTick();
    // Keys (grid/editing/QrlStringGrid_keys.cpp).
    struct TKeysPart;
    // The Tab walk (grid/editing/QrlStringGrid_tab.cpp).
    bool tabStep(bool Backward);
    void tabBackwardInRow(int FNC, int Limit);
    void tabForwardInRow(bool &Result, int Limit);
    void tabEndOfGrid(bool &Result);
    // Editing state the model and the display read (grid/editing/QrlStringGrid_editstate.cpp).
    bool focusBlocked() const;
    bool killBlocked() const;
    plat::TGridCoord pushedCellButton() const;
    bool fixedCellPushed() const;
    // The special editor's control while an edit shows it, else null.
    QWidget *shownSpecialEditor() const;
    // The editors' view of the edit in progress (grid/editing/QrlStringGrid_editorhost.cpp).
    class TGridEditorHost;
    IGridEditorHost *editorHost();
    // What the settings objects call back (QrlStringGrid_links_p.h).
    friend class TGridOptionsLink;
    friend class TGridFooterLink;
    std::unique_ptr<TGridOptionsLink> FOptionsLink;
    std::unique_ptr<TGridFooterLink> FFooterLink;

    void applyFormBounds();
    // Validation and the special editors (grid/editing/QrlStringGrid_edit.cpp, _special.cpp).
    struct TEditPart;
    struct TSpecialPart;
    void fillRange(bool DoFixed, const std::function<void(int c, int r)> &Fill);
    bool checkRange(int FromCol, int FromRow, int ToCol, int ToRow);
    void repaintAfterWrite(int i, int j);
    void repaintUnlessUpdating(int i, int j);
    void repaintBlinkCells();
    void destroyCells();
    // Moving lines: the one path of MoveRow, MoveRows and MoveColumn
    // (QrlStringGrid_moves.cpp).
    void moveLines(TGridAxis Axis, int From, int To, int Count);

    // Row and column content operations: the one path of every line insertion and removal
    // (QrlStringGrid_lines.cpp). viewOnly: the lines only leave or enter the view (hidden
    // rows), so what is kept by real line stays as it is.
    void insertLines(TGridAxis axis, int at, int count, bool viewOnly);
    void removeLines(TGridAxis axis, int at, int count, bool freeProps, bool viewOnly);
    void linesInserted(TGridAxis axis, int at, int count, bool viewOnly);
    void linesRemoved(TGridAxis axis, int at, int count, bool viewOnly);
    void deleteRows(int RowIndex, int RCount, bool RemoveControls, bool FreeProps);

    // Hidden columns and rows (QrlStringGrid_hidden.cpp).
    std::unique_ptr<TGridItem> takeRow(int ARow);
    void putRow(int ARow, TGridItem &Item);
    // The cell properties of a display row that took a row's block: their slots name it now.
    void adoptRowProps(int ARow);
    void moveRowContents(int From, int To);
    void releaseRow(TGridItem &Item);
    void setRowCountInPlace(int Value);
    // The calculations' one reader (QrlStringGrid_calc.cpp): ShownRows reads display rows as
    // GetFloats does, RealRows real rows, hidden ones included, as GetAllFloats does.
    enum class TCalcMode { ShownRows, RealRows };
    TCalcMode calcMode(int ToRow) const;
    void normalRows(int &FromRow, int &ToRow) const;
    double columnSum(int ACol, int FromRow, int ToRow, TCalcMode Mode);
    double columnAvg(int ACol, int FromRow, int ToRow, TCalcMode Mode);
    double columnExtreme(int ACol, int FromRow, int ToRow, TCalcMode Mode, bool Max);
    double columnStdDev(int ACol, int FromRow, int ToRow, TCalcMode Mode);
    double columnDistinct(int ACol, int FromRow, int ToRow, TCalcMode Mode);
    double rowFigure(int ARow, int fromCol, int toCol, int Kind);

    // The row-count setter's step for a visible floating footer: the footer row stays the last
    // row (QrlStringGrid_footer.cpp).
    void footerRowBeforeCount(int OldCount, int NewCount);
    void footerRowAfterCount(int OldCount);
    // The cell painter's steps (grid/display/QrlStringGrid_paint.cpp).
    struct TPaintPart;
    // Scrolling and column sizing (grid/display/QrlStringGrid_scroll.cpp).
    struct TScrollPart;
};
