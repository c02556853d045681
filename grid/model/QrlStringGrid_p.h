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
    TScrollType scrollType = TScrollType::ssNormal;
    TColor scrollColor = clNone;
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
    plat::TGridCoord hoverFixedCell{-1, -1};
    int lastTabCol = -1;
    int lastTabRow = -1;
    int oldSelectedRow = -1;
    int comboIndex = -1;
    int colMoveIndex = -1;
    int rowMoveIndex = -1;
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
    bool loading = false;
    bool destroying = false;
    bool lastValidation = true;
    plat::TGridCoord pushedCellButton{-1, -1};
    plat::TGridCoord clipTopLeft{-1, -1};
    plat::TGridCoord lastHint{-1, -1};

    int maxRowCount = 0;
    int maxColCount = 0;
    int fixedRowsMin = 1;
    int fixedColsMin = 1;
    int fixedRowHeight = 22;
    int fixedFooters = 0;
    int fixedRightCols = 0;

    int timerId = 0;
    int timerTicks = 0;
    QString searchInc;
    int searchTics = 0;
    int paintCount = 0;
    bool selChange = false;
    bool entered = false;
    bool blockFocus = false;
    bool blockKill = false;
    bool invokedFocusChange = false;
    bool invokedChange = false;
    bool editDisable = false;
    TMouseSelectMode mouseSelectMode = TMouseSelectMode::msNormal;
    bool cellSelectorMode = false;
    bool sizeFixed = false;
    bool sizeFixedR = false;
    bool noMouseLeave = false;
    TEditorType editControl = TEditorType::edNormal;
    QString cellCache;

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
    // The sizing measures on a canvas of its own, so the grid's canvas keeps the grid's font.
    std::unique_ptr<TCanvas> measureCanvas;
    TFont measureFont;
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

    // --- cell editing (written by grid/editing, read by the core and the navigation) ---
    // An editor of either kind is open.
    bool editMode = false;
    // A text was taken into the editor and not yet validated.
    bool editing = false;
    bool specialEditor = false;
    bool editActive = false;
    bool validating = false;
    // The character typed to open the editor; null when none.
    QChar startEditChar;
    QString editText;
    QString editWideText;
    int oldCol = -1;
    int oldRow = -1;
    QString oldCellText;
    QString oldCellTextWide;
    bool oldModifiedValue = false;
    QString newCellText;
    bool editChange = false;
    bool noEditChange = false;
    bool showEditProcess = false;
    // A mouse press is starting an edit: editor changes are not yet written through.
    bool editStart = false;
    int comboIdx = -1;
    int maxComboLength = 0;
    bool forceSel = false;
    bool spinUpClick = false;
    bool spinDnClick = false;
    double originalDateTime = 0;
    bool gridModified = false;
    // The editor was opened by a left click.
    bool lButFlg = false;
    // The special editor's control while one is shown.
    QPointer<QWidget> editCtrl;
    // The cell (display column, row) the special editor was shown over; its value goes there.
    plat::TGridCoord editCell{-1, -1};
    // The start cell of the latest advance.
    int aeCol = -1;
    int aeRow = -1;
    // --- editing core: properties ---
    bool alwaysValidate = false;
    bool editWithTags = false;
    bool modified = false;
    // The normalised selection the key-down handler saw; Left < 0 until it records one.
    plat::TGridRect keyDownSelection{-1, -1, -1, -1};

    // --- combo and lazily created editors (grid/editing) ---
    // Deletes its control with this state, before the widget tears its children down, and cuts
    // the control's signals first so none reaches a grid that is going away.
    struct TOwnedControl
    {
        QPointer<QWidget> ptr;
        TOwnedControl() = default;
        TOwnedControl(const TOwnedControl &) = delete;
        TOwnedControl &operator=(const TOwnedControl &) = delete;
        ~TOwnedControl()
        {
            if (ptr) {
                ptr->disconnect();
                delete ptr.data();
            }
        }
    };
    TOwnedControl editCombo;
    TOwnedControl editSpin;
    TOwnedControl editCheck;
    TOwnedControl editDate;
    TOwnedControl editDateTime;
    TOwnedControl richEdit;
    TOwnedControl inplaceRichEdit;
    // The combo's text or selection is being set by the grid, not by the user.
    bool comboFilling = false;
    // An editor's validation refused its text: the grid does not advance. The combo clears it
    // on every key-up.
    bool noAutoAdvance = false;

    // --- mouse wheel and panning (grid/editing/QrlStringGrid_wheel.cpp) ---
    TIntelliPan intelliPan = TIntelliPan::ipVertical;
    // Wheel delta short of a whole notch (wheels that step finer than one notch).
    int wheelDelta = 0;
    // Pan mode: its marker widget, which also keeps the pan timer; made on the first pan.
    TOwnedControl wheelPan;

    // --- cell hints (grid/display/QrlStringGrid_hint.cpp) ---
    // A child of the grid, made on first use.
    THintManager *hintManager = nullptr;
    bool hintShowCells = false;
    bool htmlHint = false;
    bool hintShowLargeText = false;
    bool cellHintsAttached = false;
    QString lastAnchorHint;

    // --- text inplace editor (grid/editing/QrlStringGrid_editor.cpp) ---
    QString editMask;
    bool lookup = false;
    bool lookupCaseSensitive = false;
    bool lookupHistory = false;
    QString validChars;
    std::bitset<256> validCharSet;
    bool excelStyleDecimalSeparator = false;
    // The single-line and the multi-line text editor, made on first use. Deleted before the rest
    // of this state goes: their focus handling reads it.
    struct TTextEditors
    {
        plat::TGridEditor *line = nullptr;
        plat::TGridEditor *memo = nullptr;
        TTextEditors() = default;
        TTextEditors(const TTextEditors &) = delete;
        TTextEditors &operator=(const TTextEditors &) = delete;
        ~TTextEditors();
    };
    TTextEditors textEditors;

    // --- mouse clicks (grid/editing/QrlStringGrid_mouse.cpp, _mouseup.cpp) ---
    // Set on every left press; the release clears them.
    bool doOnClick = false;
    bool mouseDownMove = false;
    bool mouseKeepDown = false;
    // A disjunct row or column selection started without Ctrl.
    bool mouseDown = false;
    // The press hit a flagged disjunct row or column: the release unflags it.
    bool deselectState = false;
    bool selectionClick = false;
    bool mouseResize = false;
    plat::TGridRect dropSelection{-1, -1, -1, -1};
    // FixedAsButtons: fixed cells push down like buttons; URLEdit: a right click edits a URL.
    bool fixedAsButtons = false;
    bool urlEdit = false;
    bool fixedCellPushed = false;
    TRect pushedFixedCell{};
    // A mini-HTML BUTTON control held down, and its cell.
    bool ctrlDown = false;
    TPoint ctrlXY{-1, -1};
    // The cell up-left of the press point, its size, and the press point (sizing, moving and the
    // header click test on release share them).
    int colClicked = -1;
    int rowClicked = -1;
    int colClickedSize = 0;
    int rowClickedSize = 0;
    // A column or row was just sized with the mouse: the sizing end sets them, the size hooks
    // read and clear them.
    bool colSized = false;
    bool rowSized = false;
    int clickPosX = -1;
    int clickPosY = -1;
    int clickPosDX = 0;
    int clickPosDY = 0;
    // The column (press in a fixed row) or row (press in a fixed column) a move would take.
    int moveCell = -1;
    int moveOfsX = 0;
    int moveOfsY = 0;
    int moveColInd = -1;
    int moveRowInd = -1;
    bool sizingFixed = false;
    int sizingFixedCol = -1;
    int sizeFixedX = 0;
    bool sizingFixedR = false;
    int sizingFixedRow = -1;
    int sizeFixedY = 0;
    // A double click just sized a column: the next release does not sort.
    bool dblClk = false;
    int oldKeepLeftCol = -1;
    int oldTopRow = -1;
    bool dropDownDown = false;
    int mouseSelectStart = -1;
    // A press or release from the window is being delivered (not one the grid's code sends).
    bool mouseMessage = false;
    // The last left press point; a double click arrives after a press at the same point.
    TPoint lastPress{-1, -1};
    // Not owned; a destroyed menu reads null.
    QPointer<QMenu> fixedDropDownMenu;

    // --- hover, sizing and moving (grid/editing/QrlStringGrid_hover.cpp) ---
    bool hintShowSizing = false;
    bool oleDropSource = false;
    bool oleColumnsOnly = false;
    // Hot fixed cell of the list-view look; cell whose button or expand glyph is under the
    // mouse.
    plat::TGridCoord hotFixedCell{-1, -1};
    plat::TGridCoord hoverButton{-1, -1};
    // The anchor entered last (its hint is recorded with the cell hints).
    QString anchor;
    plat::TGridCoord lastBalloonPos{-1, -1};
    // The selection last painted as a rectangle.
    plat::TGridRect sizeSelection{-1, -1, -1, -1};
    // The pointer is over the selection resizer.
    bool resizerHover = false;
    // The sizing hint shows; the release takes it away.
    bool sizingHintShow = false;
    // OnColumnMoving / OnRowMoving refused the target under the pointer: the drop is refused.
    bool moveRefused = false;
    // A move of a synchronised grid is being passed on: it is not passed back.
    bool syncMoving = false;
    // The header shown at the pointer while a column or row moves, and the arrows marking the
    // target (up/down for columns, left/right for rows). Children of the grid, made on first use.
    QPointer<QWidget> moveButton;
    std::array<QPointer<QWidget>, 4> moveArrows;

    // --- keyboard navigation and the Tab walk (grid/editing/QrlStringGrid_keys.cpp) ---
    // The selection when the last key arrived, updated when the key-down handler reports a
    // change (keyDownSelection above follows it, normalised, for the key-up handler).
    plat::TGridRect moveSelection{-1, -1, -1, -1};
    // The current cell before the framework's key processing; the edge wrap reads it.
    plat::TGridCoord lastKeyCell{-1, -1};
    // The key message waiting for its steps after the framework's processing.
    struct TKeyMessage
    {
        bool pending = false;
        int key = 0;
        plat::TShiftState shift;
        int leftCol = -1;
        bool keepLeft = false;
    };
    TKeyMessage keyMessage;

    // --- cell look and cell drawing ---
    bool hideFocusRect = false;
    bool enhTextSize = false;
    bool noDefaultDraw = false;
    bool noImageAndText = false;
    // Hover and down colours of fixed cells, from QuorlGradientHoverFrom to
    // QuorlGradientDownBorder in role order; black until set, the mirrors none.
    std::array<TColor, 10> fixedHoverDown{0, 0, clNone, clNone, 0, 0, 0, clNone, clNone, 0};
    THoverFixedCells hoverFixedCells = THoverFixedCells::hfNone;
    // For the mouse code to keep, beside hoverFixedCell and dropDownDown: the hovered fixed cell
    // is held down; the display column being moved (-1 for none).
    bool fixedCellPressed = false;
    int movingColumn = -1;
    TBitmap rowIndicator;
    bool showColNrs = false;

    // --- scrolling and column sizing (grid/display/QrlStringGrid_scroll.cpp) ---
    // The grid's own copy of ScrollBars.
    plat::TScrollStyle scrollBars = plat::TScrollStyle::ssBoth;
    // The flat scroll bars are initialised; never here, the platform has none.
    bool isFlat = false;
    // The row or column hint of a thumb drag; a child of the grid, made on first use.
    QPointer<THTMLHintWindow> scrollHintWnd;
    bool scrollHintShow = false;
    // What the proportional thumb last wrote to each bar.
    TScrollInfo hScrollInfo;
    TScrollInfo vScrollInfo;
    bool proportionalBusy = false;
    // Drag scrolling: the timer exists while a drag rests inside a margin.
    QPointer<QTimer> dragTmr;
    TDragScrollDirection dragScrollDirection;
    // Stretch re-entry guard, and the flag that the next width change stretches again.
    bool isColChanging = false;
    bool colchgFlg = true;
    bool colSizeFlg = false;
    // The shared in-cell scroll bar and the cell it serves.
    QPointer<QScrollBar> scrollBar;
    int scrollCol = -1;
    int scrollRow = -1;
    // Taken by the column-move arrows.
    TColor arrowColor = clLime;
    // The grid hid its bars for the thin scroll controls of ssMetro.
    bool thinScrollControls = false;

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
