// The string grid's model state: what the data-model operations keep between calls.
#pragma once

#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlHTMLPicture.h"
#include "grid/model/QrlHiddenColumns.h"
#include "grid/model/QrlHiddenRows.h"
#include "grid/model/QrlLineCompanion.h"
#include "grid/model/QrlRowMarks.h"
#include "grid/model/QrlSortPermutation.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGridCheck.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Font.h"

#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

class THTMLHintWindow;

struct TStringGridModelState
{
    // Owned objects.
    std::unique_ptr<TSearchFooter> searchFooter;
    std::unique_ptr<TNavigation> navigation;
    std::unique_ptr<TMouseActions> mouseActions;
    std::unique_ptr<TSyncGrid> syncGrid;
    std::unique_ptr<TBands> bands;
    std::unique_ptr<TFocusHelper> focusHelper;
    std::unique_ptr<TSizeWhileTyping> sizeWhileTyping;
    std::unique_ptr<TSortSettings> sortSettings;
    std::unique_ptr<TControlLook> controlLook;
    std::unique_ptr<TFilter> filter;
    std::unique_ptr<TBackGround> backGround;
    std::unique_ptr<TGrouping> grouping;
    std::unique_ptr<TBalloonSettings> balloon;
    std::unique_ptr<TShowModified> showModified;
    std::unique_ptr<TDragScrollOptions> dragScrollOptions;
    std::unique_ptr<TGridProgressAppearance> progressAppearance;
    std::unique_ptr<TFilterDropDown> filterDropDown;
    std::unique_ptr<TCellNode> cellNode;
    // Lent to whole check-box columns and used as the hotmail row check box; never freed with
    // a cell.
    std::unique_ptr<TCellGraphic> cellGraphic;
    std::unique_ptr<TCellGraphic> rowCheckBox;

    QStringList columnHeaders;
    QStringList rowHeaders;
    QStringList lookupItems;
    TSortIndexList sortIndexes;
    // Where every row stood before the rows were sorted; follows every row operation. Rows past
    // its end (added by a raised row count) are not its concern until it is fitted again.
    TSortPermutation sortXRef;
    // Rows cut off at the end leave the list, rows added at the end join it last.
    void fitSortXRef(int rowCount);
    int sortDir = 0;
    int sortRow = 0;
    int compares = 0;
    int swaps = 0;
    unsigned sortTime = 0;
    TIntList mergedColumns;
    TIntList selectedCells;
    TIntList modifiedRows;
    TIntList enabledRows;
    TIntList origColSizes;
    TIntList columnOrder;
    TIntList ignoreColumns;
    TControlList controlList;
    int numCellControls = 0;
    std::vector<bool> selectedRows;
    int selectedRowCount = 0;

    TFont fixedFont{QStringLiteral("Tahoma"), 11, TFontStyle::fsBold};
    TFont activeCellFont{QStringLiteral("Tahoma"), 11, TFontStyle::fsBold};
    TFont cellFont;

    // Defaults table.
    QString floatFormat = QStringLiteral("%.2f");
    QString checkTrue = QStringLiteral("Y");
    QString checkFalse = QStringLiteral("N");
    QChar passwordChar = QLatin1Char('*');
    QChar delimiter;
    QString xmlEncoding = QStringLiteral("ISO-8859-1");
    QString filterDropDownClear = QStringLiteral("(All)");
    bool enableHTML = true;
    TEditorType defaultEditor = TEditorType::edNormal;
    TAlignment defaultAlignment = TAlignment::taLeftJustify;
    TVAlignment vAlignment = TVAlignment::vtaTop;
    unsigned vAlignFlag = 0;
    bool showNullDates = true;
    TInvalidEntryIcon invalidEntryIcon = TInvalidEntryIcon::ieWarning;
    QString invalidEntryTitle;
    QString invalidEntryText;
    bool saveFixedCells = true;
    bool saveFixedRows = false;
    bool saveFixedCols = false;
    bool saveHiddenCells = false;
    bool saveVirtCells = true;
    bool saveWithHTML = true;
    bool loadFirstRow = true;
    bool quoteEmptyCells = true;
    bool alwaysQuotes = false;
    bool javaCSV = false;
    bool excelClipboardFormat = false;
    bool clearTextOnly = false;
    TGridLook look = TGridLook::glXP;
    TQuorlStyle componentStyle = TQuorlStyle::tsWindowsXP;
    int scrollWidth = 16;
    TScrollBarAlways scrollBarAlways = TScrollBarAlways::saNone;
    bool scrollProportional = false;
    bool scrollSynch = false;
    TScrollHintType scrollHints = TScrollHintType::shNone;
    bool autoSize = false;
    bool autoNumAlign = false;
    bool anchorHint = false;
    bool autoThemeAdapt = false;
    bool autoFilterUpdate = true;
    bool filterIncremental = false;
    bool filterNormalCellsOnly = true;
    bool enableWheel = true;
    bool intelliZoom = true;
    bool showDesignHelper = true;
    bool enhRowColMove = true;
    bool fitCellsInGrid = true;
    bool useInternalHintClass = true;
    bool useDisabledFont = true;
    TColor disabledFontColor = 0xC0C0C0;
    THintShowLargeTextPos hintShowLargeTextPos = THintShowLargeTextPos::hpCell;
    TColor hintColor = clInfoBk;
    TColor urlColor = 0xFF0000;
    bool urlShow = false;
    bool urlShowInText = false;
    bool urlFull = false;
    TPoint xyOffset{2, 2};
    int groupColumn = -1;
    int minRowHeight = 0;
    int maxRowHeight = 0;
    int minColWidth = 0;
    int maxColWidth = 0;
    int zoomFactor = 0;
    bool scrollLock = false;
    int printPageFrom = 1;
    int printPageTo = 1;
    bool sizeWithForm = false;
    bool hovering = false;
    bool enableBlink = false;
    bool gridBlink = false;
    bool fixedRowAlways = false;
    bool fixedColAlways = false;
    bool activeCellShow = false;
    TColor activeCellColor = 0x808080;
    TColor activeCellColorTo = clNone;
    TColor selectionColor = 0xEACAB6;
    TColor selectionColorTo = clNone;
    TColor selectionMirrorColor = clNone;
    TColor selectionMirrorColorTo = clNone;
    TColor selectionTextColor = clBlack;
    TColor selectionRectangleColor = clBlack;
    bool selectionColorMixer = false;
    int selectionColorMixerFactor = 50;
    bool selectionRectangle = false;
    bool selectionResizer = false;
    TColor highlightColor = clHighlight;
    TColor highlightTextColor = clHighlightText;
    TColor borderColor = 0xB99D7F;
    bool flat = false;
    int maxEditLength = 0;
    bool useHTMLHints = false;
    bool spreadSheet = false;
    bool disjunctRowSelect = false;
    bool usePlatformStyles = false;
    bool integralHeight = false;
    TColor gradientFrom = clWhite;
    TColor gradientTo = clBtnFace;
    TColor gradientMirrorFrom = clNone;
    TColor gradientMirrorTo = clNone;

    // System flags recorded at construction.
    bool isWinXP = true;
    bool isWin7 = true;
    bool isVista = false;
    bool isComCtl6 = true;

    // Internal starting values.
    int filterColumn = -1;
    // The entries the filter drop-down of filterColumn shows.
    QStringList filterList;
    // The fixed cell drawn hot under the mouse; {-1, -1} for none. The mouse code and
    // ResetFixedCellHighlight keep it, the painter reads it.
    plat::TGridCoord hoverFixedCell{-1, -1};
    int oldSelectedRow = -1;
    int comboIndex = -1;
    int colMoveIndex = -1;
    int rowMoveIndex = -1;
    // BeginUpdate nesting; the grid repaints when it drops back to 0.
    int updateCount = 0;
    int filterLevel = 0;
    bool grouping_ = false;
    // The grouping column's width, row-0 text and last-row text while it is grouped away, and
    // the columns sub-grouped since (innermost last), so that UnGroup undoes both levels.
    int groupWidth = 0;
    QString groupCaption;
    QString groupFooter;
    QList<int> subGroupColumns;
    bool loaded = false;
    // Settings are being read in: the setters do not resize or repaint.
    bool loading = false;
    // Set first thing in the destructor: editors and handlers stop calling back.
    bool destroying = false;
    plat::TGridCoord clipTopLeft{-1, -1};

    int maxRowCount = 0;
    int maxColCount = 0;
    int fixedRowsMin = 1;
    int fixedColsMin = 1;
    int fixedRowHeight = 22;
    int fixedFooters = 0;
    int fixedRightCols = 0;

    int timerId = 0;
    int timerTicks = 0;
    // The incremental search text; three timer ticks without a key clear it.
    QString searchInc;
    int searchTics = 0;
    int paintCount = 0;
    bool selChange = false;
    // An edit was started on the current cell; a click clears it.
    bool entered = false;
    bool invokedFocusChange = false;
    bool invokedChange = false;
    bool editDisable = false;
    TMouseSelectMode mouseSelectMode = TMouseSelectMode::msNormal;
    bool cellSelectorMode = false;
    // The pointer is over a sizable fixed column / fixed row border.
    bool sizeFixed = false;
    bool sizeFixedR = false;
    // A press on a fixed cell's drop-down keeps its hot look when the mouse leaves.
    bool noMouseLeave = false;

    // The owner form whose size the grid follows.
    QPointer<QWidget> form;
    int prevSizeX = 0;
    int prevSizeY = 0;
    Qt::CursorShape oldCursor = Qt::ArrowCursor;

    std::array<int, 513> maxWidths{};
    std::array<int, 513> indents{};

    QPointer<TQrlStringGridCheck> cellChecker;
    QPointer<QObject> gridImages;
    bool disableChange = false;

    // The hidden columns with the widths they get back when shown.
    THiddenColumns hiddenColumns;
    // The hidden rows with their cells.
    THiddenRows hiddenRows;
    // Everything kept by line besides the cells; every line operation reaches it through here.
    TLineCompanions lineCompanions;
    // The grid's width when the starting column sizes were recorded.
    int origGridWidth = 0;
    // Number of nodes; changed only by AddNode and the node removals.
    int numNodes = 0;

    // --- row and column content operations ---
    // Set by the sorts around clears of scratch rows: a clear then forgets the cleared cells'
    // properties without freeing them (the rows they were copied from keep them), and with
    // blockCellChange it does not notify the change.
    bool nilObjects = false;
    bool blockCellChange = false;

    // Selection, row marks and repainting; moving lines, hidden selection, current row.
    // (FOldRowSel is oldSelectedRow above.)
    TRowMarks rowMarks;
    plat::TGridRect oldSelection;
    bool selHidden = false;

    // --- calculations and automatic sizing ---
    bool sizeGrowOnly = false;
    int autoNumberStart = 0;
    int autoNumberOffset = 0;
    TSortDirection autoNumberDirection = TSortDirection::sdAscending;
    bool xyOffsetTopLeftOnly = false;
    bool multilineCells = false;
    std::unique_ptr<TColumnSize> columnSize;
    TFont lineHeightFont;
    int lineHeight = -1;

    // --- floating footer, change notifiers and string-grid hooks ---
    std::unique_ptr<TFloatingFooter> floatingFooter;
    // Not owned; a notifier destroyed while registered reads null and is skipped.
    std::vector<QPointer<TGridChangeNotifier>> notifiers;
    std::shared_ptr<ITQrlStringGridSelect> selListener;
    bool saveWithRTF = false;
    // Set while a line operation moves whole rows itself: the row-count setter then leaves the
    // footer row where the operation puts it.
    bool linesMoving = false;

    // The character typed to open the editor; null when none.
    QChar startEditChar;
    // The start cell of the latest advance.
    int aeCol = -1;
    int aeRow = -1;

    // --- pictures of the markup (grid/model/QrlHTMLPicture.h) ---
    std::unique_ptr<THTMLPictureCache> pictureCache = std::make_unique<THTMLPictureCache>();
    QPointer<TPictureContainer> pictureContainer;
};

// Fills s.lineCompanions (QrlStringGrid_lines.cpp).
void addLineCompanions(TQrlStringGrid &g, TStringGridModelState &s);

// BeginUpdate for a scope: the grid paints once when the scope ends.
class TUpdatePair
{
public:
    explicit TUpdatePair(TQrlStringGrid &g) : m_grid(g) { m_grid.BeginUpdate(); }
    ~TUpdatePair() { m_grid.EndUpdate(); }
    TUpdatePair(const TUpdatePair &) = delete;
    TUpdatePair &operator=(const TUpdatePair &) = delete;

private:
    TQrlStringGrid &m_grid;
};
