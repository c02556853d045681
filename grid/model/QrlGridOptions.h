// Option objects of the string grid, each published as one property of the grid: sort
// settings, the look of cell controls, background, grouping, balloon hints, modified-cell
// marking, drag auto-scroll, progress-bar cells, the filter drop-down and the column filter
// conditions; and two small classes of the same family, the stored hidden row and the
// change-notifier base.
//
// Objects that act on their grid reach it through IQrlOptionsGrid, which the string grid
// implements; the others only fire their events.
#pragma once

#include "grid/model/DropdownAppearance.h"
#include "grid/model/QrlGridTypes.h"
#include "platform/grid/CellStore.h"
#include "platform/grid/GridTypes.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TSortIndexList;

// The grid's own fixed-cell gradient colours that the control look forwards to.
enum class TQuorlGradientRole {
    QuorlGradientFrom,
    QuorlGradientTo,
    QuorlGradientMirrorFrom,
    QuorlGradientMirrorTo,
    QuorlGradientHoverFrom,
    QuorlGradientHoverTo,
    QuorlGradientHoverMirrorFrom,
    QuorlGradientHoverMirrorTo,
    QuorlGradientHoverBorder,
    QuorlGradientDownFrom,
    QuorlGradientDownTo,
    QuorlGradientDownMirrorFrom,
    QuorlGradientDownMirrorTo,
    QuorlGradientDownBorder
};

// What the option objects ask of their grid.
class IQrlOptionsGrid
{
public:
    virtual ~IQrlOptionsGrid() = default;

    virtual void OptionsInvalidate() = 0;
    virtual void OptionsRepaintCell(int ACol, int ARow) = 0;
    virtual void OptionsRepaintRow(int ARow) = 0;
    virtual int OptionsFixedRows() const = 0;
    virtual TSortIndexList &OptionsSortIndexes() = 0;
    virtual void OptionsQSort() = 0;
    virtual void OptionsQSortIndexed() = 0;
    virtual void OptionsSetQuorlGradient(TQuorlGradientRole Role, TColor Value) = 0;
};

// --- Sort settings --------------------------------------------------------------------------

enum class TIndexSortKey { ikShift, ikCtrl };
enum class TSortBlankPosition { blFirst, blLast };
enum class TSortDirection { sdAscending, sdDescending };

class TSortSettings : public TPersistent
{
public:
    explicit TSortSettings(IQrlOptionsGrid *Grid = nullptr);

    // Every property but IgnoreCase and SortOnVirtualCells.
    void Assign(const TPersistent &Source) override;

    // "u3" / "d3" for a column sort, "i;" and the sort-index list's text for an indexed sort.
    QString SaveToString() const;
    // Sets Show, then the sort from the text and sorts the grid. Throws EQrlGridError
    // "Invalid sort settings specifier" for a one-character text.
    void LoadFromString(const QString &Text);
    // No sort column, no sort indexes.
    void Remove();
    void ToggleDirection();

    bool AutoSortForGrouping() const { return FAutoSortForGrouping; }
    void SetAutoSortForGrouping(bool Value) { FAutoSortForGrouping = Value; }
    bool AutoColumnMerge() const { return FAutoColumnMerge; }
    void SetAutoColumnMerge(bool Value) { FAutoColumnMerge = Value; }
    int Column() const { return FColumn; }
    void SetColumn(int Value) { FColumn = Value; }
    bool Show() const { return FShow; }
    void SetShow(bool Value);
    bool IndexShow() const { return FIndexShow; }
    void SetIndexShow(bool Value) { FIndexShow = Value; }
    TColor IndexColor() const { return FIndexColor; }
    void SetIndexColor(TColor Value) { FIndexColor = Value; }
    TIndexSortKey IndexSortKey() const { return FIndexSortKey; }
    void SetIndexSortKey(TIndexSortKey Value) { FIndexSortKey = Value; }
    bool Full() const { return FFull; }
    void SetFull(bool Value) { FFull = Value; }
    bool SingleColumn() const { return FSingleColumn; }
    void SetSingleColumn(bool Value) { FSingleColumn = Value; }
    bool IgnoreBlanks() const { return FIgnoreBlanks; }
    void SetIgnoreBlanks(bool Value) { FIgnoreBlanks = Value; }
    TSortBlankPosition BlankPos() const { return FBlankPos; }
    void SetBlankPos(TSortBlankPosition Value) { FBlankPos = Value; }
    bool AutoFormat() const { return FAutoFormat; }
    void SetAutoFormat(bool Value) { FAutoFormat = Value; }
    TSortDirection Direction() const { return FDirection; }
    void SetDirection(TSortDirection Value) { FDirection = Value; }
    const TBitmap &UpGlyph() const { return FUpGlyph; }
    void SetUpGlyph(const TBitmap &Value) { FUpGlyph = Value; }
    const TBitmap &DownGlyph() const { return FDownGlyph; }
    void SetDownGlyph(const TBitmap &Value) { FDownGlyph = Value; }
    const TBitmap &IndexUpGlyph() const { return FIndexUpGlyph; }
    void SetIndexUpGlyph(const TBitmap &Value) { FIndexUpGlyph = Value; }
    const TBitmap &IndexDownGlyph() const { return FIndexDownGlyph; }
    void SetIndexDownGlyph(const TBitmap &Value) { FIndexDownGlyph = Value; }
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool Value) { FIgnoreCase = Value; }
    TSortDirection InitSortDirection() const { return FInitSortDirection; }
    void SetInitSortDirection(TSortDirection Value) { FInitSortDirection = Value; }
    bool FixedCols() const { return FFixedCols; }
    void SetFixedCols(bool Value) { FFixedCols = Value; }
    bool NormalCellsOnly() const { return FNormalCellsOnly; }
    void SetNormalCellsOnly(bool Value) { FNormalCellsOnly = Value; }
    // The header row that shows the sort indicator; it must be a fixed row, else
    // EQrlGridError "Sort row should be smaller than number of fixed rows".
    int Row() const { return FRow; }
    void SetRow(int Value);
    bool UndoSort() const { return FUndoSort; }
    void SetUndoSort(bool Value) { FUndoSort = Value; }
    bool SortOnVirtualCells() const { return FSortOnVirtualCells; }
    void SetSortOnVirtualCells(bool Value) { FSortOnVirtualCells = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value);

private:
    void setHeaderColor(TColor &field, TColor value);
    void repaintHeaderRow();

    IQrlOptionsGrid *FGrid = nullptr;
    bool FAutoSortForGrouping = true;
    bool FAutoColumnMerge = false;
    int FColumn = -1;
    bool FShow = false;
    bool FIndexShow = false;
    TColor FIndexColor = clYellow;
    TIndexSortKey FIndexSortKey = TIndexSortKey::ikShift;
    bool FFull = true;
    bool FSingleColumn = false;
    bool FIgnoreBlanks = false;
    TSortBlankPosition FBlankPos = TSortBlankPosition::blFirst;
    bool FAutoFormat = true;
    TSortDirection FDirection = TSortDirection::sdAscending;
    TBitmap FUpGlyph;
    TBitmap FDownGlyph;
    TBitmap FIndexUpGlyph;
    TBitmap FIndexDownGlyph;
    bool FIgnoreCase = false;
    TSortDirection FInitSortDirection = TSortDirection::sdAscending;
    bool FFixedCols = false;
    bool FNormalCellsOnly = false;
    int FRow = 0;
    bool FUndoSort = false;
    bool FSortOnVirtualCells = true;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
};

// --- Control look ---------------------------------------------------------------------------

enum class TControlStyle { csClassic, csFlat, csWinXP, csCorvane, csQuorl, csGlyph, csTheme };

class TControlLook : public TPersistent
{
public:
    // AOwner becomes the owner of the dropdown header and footer settings.
    explicit TControlLook(IQrlOptionsGrid *Grid = nullptr, QObject *AOwner = nullptr);

    // Copies the fixed-gradient colours field by field, without forwarding. FlatButton,
    // NoDisabledCheckRadioLook, NoDisabledButtonLook, ProgressXP and FixedDropDownButton stay.
    void Assign(const TPersistent &Source) override;
    // Back to the default colours; the hover and down mirror colours also reach the grid.
    void Init();

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value);
    const TBitmap &CheckedGlyph() const { return FCheckedGlyph; }
    void SetCheckedGlyph(const TBitmap &Value);
    const TBitmap &UnCheckedGlyph() const { return FUnCheckedGlyph; }
    void SetUnCheckedGlyph(const TBitmap &Value);
    const TBitmap &RadioOnGlyph() const { return FRadioOnGlyph; }
    void SetRadioOnGlyph(const TBitmap &Value);
    const TBitmap &RadioOffGlyph() const { return FRadioOffGlyph; }
    void SetRadioOffGlyph(const TBitmap &Value);
    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int Value);
    bool CheckAlwaysActive() const { return FCheckAlwaysActive; }
    void SetCheckAlwaysActive(bool Value) { FCheckAlwaysActive = Value; }
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int Value);
    bool RadioAlwaysActive() const { return FRadioAlwaysActive; }
    void SetRadioAlwaysActive(bool Value) { FRadioAlwaysActive = Value; }
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value);
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    THeaderAppearance &DropDownHeader() { return *FDropDownHeader; }
    const THeaderAppearance &DropDownHeader() const { return *FDropDownHeader; }
    void SetDropDownHeader(const THeaderAppearance &Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance &DropDownFooter() { return *FDropDownFooter; }
    const TFooterAppearance &DropDownFooter() const { return *FDropDownFooter; }
    void SetDropDownFooter(const TFooterAppearance &Value) { FDropDownFooter->Assign(Value); }
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool Value);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool Value);
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool Value);
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool Value);
    TColor ProgressBorderColor() const { return FProgressBorderColor; }
    void SetProgressBorderColor(TColor Value) { FProgressBorderColor = Value; }
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int Value);
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int Value);
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool Value);
    bool FixedDropDownButton() const { return FFixedDropDownButton; }
    void SetFixedDropDownButton(bool Value) { FFixedDropDownButton = Value; }
    int HintMaxWidth() const { return FHintMaxWidth; }
    void SetHintMaxWidth(int Value) { FHintMaxWidth = Value; }

    // Fixed-cell gradient colours. From, To and Border forward only a colour other than clNone
    // to the grid; the Mirror colours forward every value.
    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor Value);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor Value);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor Value);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor Value);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor Value);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor Value);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor Value);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor Value);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor Value);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor Value);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor Value);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor Value);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor Value);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor Value);

private:
    void invalidate();
    void forward(TColor &field, TColor value, TQuorlGradientRole role, bool skipNone);

    IQrlOptionsGrid *FGrid = nullptr;
    TColor FColor = 0;
    TColor FCommentColor = clRed;
    TBitmap FCheckedGlyph;
    TBitmap FUnCheckedGlyph;
    TBitmap FRadioOnGlyph;
    TBitmap FRadioOffGlyph;
    int FCheckSize = 15;
    bool FCheckAlwaysActive = false;
    int FRadioSize = 10;
    bool FRadioAlwaysActive = false;
    TControlStyle FControlStyle = TControlStyle::csTheme;
    bool FDropDownAlwaysVisible = false;
    int FDropDownCount = 8;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    bool FSpinButtonsAlwaysVisible = false;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    TColor FProgressBorderColor = clGray;
    int FProgressMarginX = 2;
    int FProgressMarginY = 2;
    bool FProgressXP = false;
    bool FFixedDropDownButton = false;
    int FHintMaxWidth = 0;
    TColor FFixedGradientFrom = clNone;
    TColor FFixedGradientTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone;
    TColor FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = clWhite;
    TColor FFixedGradientHoverTo = clGray;
    TColor FFixedGradientHoverMirrorFrom = clNone;
    TColor FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverBorder = clSilver;
    TColor FFixedGradientDownFrom = clSilver;
    TColor FFixedGradientDownTo = clGray;
    TColor FFixedGradientDownMirrorFrom = clNone;
    TColor FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownBorder = clGray;
};

// --- Background -----------------------------------------------------------------------------

enum class TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum class TBackGroundCells { bcNormal, bcFixed, bcAll };

// Every setter repaints the grid, changed or not.
class TBackGround : public TPersistent
{
public:
    explicit TBackGround(IQrlOptionsGrid *Grid = nullptr) : FGrid(Grid) {}

    void Assign(const TPersistent &Source) override;

    int Top() const { return FTop; }
    void SetTop(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value);
    const TBitmap &Bitmap() const { return FBitmap; }
    void SetBitmap(const TBitmap &Value);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

private:
    void invalidate();

    IQrlOptionsGrid *FGrid = nullptr;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = TBackGroundDisplay::bdTile;
    TBitmap FBitmap;
    TBackGroundCells FCells = TBackGroundCells::bcNormal;
    TColor FColor = clWindow;
    TColor FColorTo = clBtnFace;
};

// --- Grouping -------------------------------------------------------------------------------

// Plain values; nothing reacts to a change.
class TGrouping : public TPersistent
{
public:
    // All but HeaderLineColor, HeaderLineWidth, Summary, SummaryLineColor, SummaryLineWidth.
    void Assign(const TPersistent &Source) override;

    bool AutoSelectGroup() const { return FAutoSelectGroup; }
    void SetAutoSelectGroup(bool Value) { FAutoSelectGroup = Value; }
    bool AutoCheckGroup() const { return FAutoCheckGroup; }
    void SetAutoCheckGroup(bool Value) { FAutoCheckGroup = Value; }
    QString GroupCountFormat() const { return FGroupCountFormat; }
    void SetGroupCountFormat(const QString &Value) { FGroupCountFormat = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    TColor HeaderTextColor() const { return FHeaderTextColor; }
    void SetHeaderTextColor(TColor Value) { FHeaderTextColor = Value; }
    bool HeaderUnderline() const { return FHeaderUnderline; }
    void SetHeaderUnderline(bool Value) { FHeaderUnderline = Value; }
    TColor HeaderLineColor() const { return FHeaderLineColor; }
    void SetHeaderLineColor(TColor Value) { FHeaderLineColor = Value; }
    int HeaderLineWidth() const { return FHeaderLineWidth; }
    void SetHeaderLineWidth(int Value) { FHeaderLineWidth = Value; }
    bool MergeHeader() const { return FMergeHeader; }
    void SetMergeHeader(bool Value) { FMergeHeader = Value; }
    bool MergeSummary() const { return FMergeSummary; }
    void SetMergeSummary(bool Value) { FMergeSummary = Value; }
    bool ShowGroupCount() const { return FShowGroupCount; }
    void SetShowGroupCount(bool Value) { FShowGroupCount = Value; }
    bool Summary() const { return FSummary; }
    void SetSummary(bool Value) { FSummary = Value; }
    TColor SummaryColor() const { return FSummaryColor; }
    void SetSummaryColor(TColor Value) { FSummaryColor = Value; }
    TColor SummaryColorTo() const { return FSummaryColorTo; }
    void SetSummaryColorTo(TColor Value) { FSummaryColorTo = Value; }
    TColor SummaryTextColor() const { return FSummaryTextColor; }
    void SetSummaryTextColor(TColor Value) { FSummaryTextColor = Value; }
    bool SummaryLine() const { return FSummaryLine; }
    void SetSummaryLine(bool Value) { FSummaryLine = Value; }
    TColor SummaryLineColor() const { return FSummaryLineColor; }
    void SetSummaryLineColor(TColor Value) { FSummaryLineColor = Value; }
    int SummaryLineWidth() const { return FSummaryLineWidth; }
    void SetSummaryLineWidth(int Value) { FSummaryLineWidth = Value; }

private:
    bool FAutoSelectGroup = false;
    bool FAutoCheckGroup = false;
    QString FGroupCountFormat;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderTextColor = clNone;
    bool FHeaderUnderline = false;
    TColor FHeaderLineColor = clBlue;
    int FHeaderLineWidth = 2;
    bool FMergeHeader = false;
    bool FMergeSummary = false;
    bool FShowGroupCount = false;
    bool FSummary = false;
    TColor FSummaryColor = clNone;
    TColor FSummaryColorTo = clNone;
    TColor FSummaryTextColor = clNone;
    bool FSummaryLine = false;
    TColor FSummaryLineColor = clBlue;
    int FSummaryLineWidth = 2;
};

// --- Balloon hints --------------------------------------------------------------------------

class TBalloonSettings : public TPersistent
{
public:
    // All but Transparency; fires nothing.
    void Assign(const TPersistent &Source) override;

    // Delays of -1 mean the system's own.
    int AutoHideDelay() const { return FAutoHideDelay; }
    void SetAutoHideDelay(int Value) { FAutoHideDelay = Value; }
    int InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(int Value) { FInitialDelay = Value; }
    int ReshowDelay() const { return FReshowDelay; }
    void SetReshowDelay(int Value) { FReshowDelay = Value; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor Value) { FTextColor = Value; }
    std::uint8_t Transparency() const { return FTransparency; }
    void SetTransparency(std::uint8_t Value) { FTransparency = Value; }
    bool Enable() const { return FEnable; }
    // Fires OnEnableChange every time.
    void SetEnable(bool Value);

    TSettingsNotifyEvent OnEnableChange;

private:
    int FAutoHideDelay = -1;
    int FInitialDelay = -1;
    int FReshowDelay = -1;
    TColor FBackgroundColor = clNone;
    TColor FTextColor = clNone;
    std::uint8_t FTransparency = 0;
    bool FEnable = false;
};

// --- Modified cells -------------------------------------------------------------------------

class TShowModified : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TColor Color() const { return FColor; }
    // Fires OnChange every time.
    void SetColor(TColor Value);

    TSettingsNotifyEvent OnChange;

private:
    bool FEnabled = false;
    TColor FColor = clYellow;
};

// --- Drag auto-scroll -----------------------------------------------------------------------

class TDragScrollDelays : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    // Milliseconds.
    int InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(int Value) { FInitialDelay = Value; }
    int RepeatDelay() const { return FRepeatDelay; }
    void SetRepeatDelay(int Value) { FRepeatDelay = Value; }

private:
    int FInitialDelay = 1000;
    int FRepeatDelay = 250;
};

class TDragScrollMargins : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    // Pixels.
    int TopMargin() const { return FTopMargin; }
    void SetTopMargin(int Value) { FTopMargin = Value; }
    int BottomMargin() const { return FBottomMargin; }
    void SetBottomMargin(int Value) { FBottomMargin = Value; }
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value) { FLeftMargin = Value; }
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value) { FRightMargin = Value; }

private:
    int FTopMargin = 50;
    int FBottomMargin = 50;
    int FLeftMargin = 50;
    int FRightMargin = 50;
};

class TDragScrollOptions : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    TDragScrollDelays &Delays() { return FDelays; }
    const TDragScrollDelays &Delays() const { return FDelays; }
    void SetDelays(const TDragScrollDelays &Value) { FDelays.Assign(Value); }
    TDragScrollMargins &Margins() { return FMargins; }
    const TDragScrollMargins &Margins() const { return FMargins; }
    void SetMargins(const TDragScrollMargins &Value) { FMargins.Assign(Value); }

private:
    bool FActive = false;
    TDragScrollDelays FDelays;
    TDragScrollMargins FMargins;
};

// --- Progress-bar cells ---------------------------------------------------------------------

enum class TProgressStyle { psXP, psClassic };

// Every setter fires OnChange when the value differs; Assign fires it once.
class TGridProgressAppearance : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    TColor CompleteColor() const { return FCompleteColor; }
    void SetCompleteColor(TColor Value) { set(FCompleteColor, Value); }
    TColor CompleteFontColor() const { return FCompleteFontColor; }
    void SetCompleteFontColor(TColor Value) { set(FCompleteFontColor, Value); }
    TColor UnCompleteColor() const { return FUnCompleteColor; }
    void SetUnCompleteColor(TColor Value) { set(FUnCompleteColor, Value); }
    TColor UnCompleteFontColor() const { return FUnCompleteFontColor; }
    void SetUnCompleteFontColor(TColor Value) { set(FUnCompleteFontColor, Value); }
    TColor Level0Color() const { return FLevel0Color; }
    void SetLevel0Color(TColor Value) { set(FLevel0Color, Value); }
    TColor Level0ColorTo() const { return FLevel0ColorTo; }
    void SetLevel0ColorTo(TColor Value) { set(FLevel0ColorTo, Value); }
    TColor Level1Color() const { return FLevel1Color; }
    void SetLevel1Color(TColor Value) { set(FLevel1Color, Value); }
    TColor Level1ColorTo() const { return FLevel1ColorTo; }
    void SetLevel1ColorTo(TColor Value) { set(FLevel1ColorTo, Value); }
    TColor Level2Color() const { return FLevel2Color; }
    void SetLevel2Color(TColor Value) { set(FLevel2Color, Value); }
    TColor Level2ColorTo() const { return FLevel2ColorTo; }
    void SetLevel2ColorTo(TColor Value) { set(FLevel2ColorTo, Value); }
    TColor Level3Color() const { return FLevel3Color; }
    void SetLevel3Color(TColor Value) { set(FLevel3Color, Value); }
    TColor Level3ColorTo() const { return FLevel3ColorTo; }
    void SetLevel3ColorTo(TColor Value) { set(FLevel3ColorTo, Value); }
    int Level1Perc() const { return FLevel1Perc; }
    void SetLevel1Perc(int Value) { set(FLevel1Perc, Value); }
    int Level2Perc() const { return FLevel2Perc; }
    void SetLevel2Perc(int Value) { set(FLevel2Perc, Value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { set(FBorderColor, Value); }
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool Value) { set(FShowBorder, Value); }
    bool Stacked() const { return FStacked; }
    void SetStacked(bool Value) { set(FStacked, Value); }
    bool ShowPercentage() const { return FShowPercentage; }
    void SetShowPercentage(bool Value) { set(FShowPercentage, Value); }
    bool CompletionSmooth() const { return FCompletionSmooth; }
    void SetCompletionSmooth(bool Value) { set(FCompletionSmooth, Value); }
    bool ShowGradient() const { return FShowGradient; }
    void SetShowGradient(bool Value) { set(FShowGradient, Value); }
    int Steps() const { return FSteps; }
    void SetSteps(int Value) { set(FSteps, Value); }
    TProgressStyle Style() const { return FStyle; }
    void SetStyle(TProgressStyle Value) { set(FStyle, Value); }

    TSettingsNotifyEvent OnChange;

private:
    template <class T> void set(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        changed();
    }
    void changed();

    TColor FCompleteColor = clRed;
    TColor FCompleteFontColor = clBlue;
    TColor FUnCompleteColor = clNone;
    TColor FUnCompleteFontColor = clWindowText;
    TColor FLevel0Color = 0x00FF00;
    TColor FLevel0ColorTo = 0xE1FFE1;
    TColor FLevel1Color = 0x00FFFF;
    TColor FLevel1ColorTo = 0xCAFFFF;
    TColor FLevel2Color = 0x53A9FF;
    TColor FLevel2ColorTo = 0xA8D3FF;
    TColor FLevel3Color = 0x0000FF;
    TColor FLevel3ColorTo = 0xCACAFF;
    int FLevel1Perc = 70;
    int FLevel2Perc = 90;
    TColor FBorderColor = 0;
    bool FShowBorder = false;
    bool FStacked = false;
    bool FShowPercentage = true;
    bool FCompletionSmooth = true;
    bool FShowGradient = true;
    int FSteps = 11;
    TProgressStyle FStyle = TProgressStyle::psXP;
};

// --- Filter drop-down -----------------------------------------------------------------------

class TFilterDropDown : public TPersistent
{
public:
    // All but AutoSize; each of the two glyph copies fires OnChange.
    void Assign(const TPersistent &Source) override;

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    bool ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(bool Value) { FColumnWidth = Value; }
    const TFont &Font() const { return FFont; }
    TFont &Font() { return FFont; }
    void SetFont(const TFont &Value) { FFont = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    // Replacing a glyph is a change of it: OnChange fires.
    const TBitmap &Glyph() const { return FGlyph; }
    void SetGlyph(const TBitmap &Value);
    const TBitmap &GlyphActive() const { return FGlyphActive; }
    void SetGlyphActive(const TBitmap &Value);

    TSettingsNotifyEvent OnChange;

private:
    void changed();

    bool FAutoSize = false;
    TColor FColor = clWindow;
    bool FColumnWidth = false;
    TFont FFont;
    int FHeight = 150;
    int FWidth = 150;
    TBitmap FGlyph;
    TBitmap FGlyphActive;
};

// --- Column filter conditions ---------------------------------------------------------------

enum class TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum class TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum class TFilterMethod { fmExpression, fmLiteral };

class TFilterData : public TPersistent
{
public:
    // All but Method.
    void Assign(const TPersistent &Source) override;

    std::int16_t Column() const { return FColumn; }
    void SetColumn(std::int16_t Value) { FColumn = Value; }
    QString Condition() const { return FCondition; }
    void SetCondition(const QString &Value) { FCondition = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    TFilterCells Data() const { return FData; }
    void SetData(TFilterCells Value) { FData = Value; }
    QString Prefix() const { return FPrefix; }
    void SetPrefix(const QString &Value) { FPrefix = Value; }
    QString Suffix() const { return FSuffix; }
    void SetSuffix(const QString &Value) { FSuffix = Value; }
    TFilterOperation Operation() const { return FOperation; }
    void SetOperation(TFilterOperation Value) { FOperation = Value; }
    TFilterMethod Method() const { return FMethod; }
    void SetMethod(TFilterMethod Value) { FMethod = Value; }

private:
    std::int16_t FColumn = 0;
    QString FCondition;
    bool FCaseSensitive = true;
    TFilterCells FData = TFilterCells::fcVirtual;
    QString FPrefix;
    QString FSuffix;
    TFilterOperation FOperation = TFilterOperation::foSHORT;
    TFilterMethod FMethod = TFilterMethod::fmExpression;
};

class TFilter : public TPersistent
{
public:
    explicit TFilter(IQrlOptionsGrid *Grid = nullptr) : FGrid(Grid) {}

    void Assign(const TPersistent &Source) override;

    int Count() const { return static_cast<int>(m_items.size()); }
    // Appends a condition joined with AND, or with no operation when it is the only one.
    TFilterData *Add();
    // Appends a condition with the first operation value.
    TFilterData *Insert();
    void Delete(int Index);
    void Clear() { m_items.clear(); }
    TFilterData *Items(int Index) const;
    void SetItems(int Index, const TFilterData &Value) { Items(Index)->Assign(Value); }

    // The first condition of the column; a new one (through Add) when there is none.
    TFilterData *GetColFilter(int Col);
    bool HasFilter(int Col) const;
    // Deletes every condition of the column and repaints its header cell.
    void RemoveColumnFilter(int Col);

private:
    IQrlOptionsGrid *FGrid = nullptr;
    std::vector<std::unique_ptr<TFilterData>> m_items;
};

// --- Stored hidden row ----------------------------------------------------------------------

class TGridItem
{
public:
    int Idx() const { return FIdx; }
    void SetIdx(int Value) { FIdx = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Level() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }
    // The row's cell texts. A row hidden by the grid keeps the storage block it had in the
    // cell store; the lists are read from it on first use and replace it from then on.
    QStringList &Items()
    {
        unpack();
        return FItems;
    }
    const QStringList &Items() const
    {
        unpack();
        return FItems;
    }
    void SetItems(const QStringList &Value)
    {
        unpack();
        FItems = Value;
    }
    // The row's cell objects (the cells' properties), one per text; not owned here.
    QVector<void *> &Objects()
    {
        unpack();
        return FObjects;
    }
    const QVector<void *> &Objects() const
    {
        unpack();
        return FObjects;
    }

    // The row's block taken out of the cell store with Cols columns in the grid; the lists
    // stay empty until read.
    void SetStoredRow(plat::TCellStore::TRow &&Row, int Cols);
    // Whether the row is still kept as its block (nobody read it through the lists).
    bool HasStoredRow() const { return !FRow.IsEmpty() || FCols > 0; }
    // The block; the item is left with empty lists.
    plat::TCellStore::TRow TakeStoredRow()
    {
        FCols = 0;
        FItems.clear();
        FObjects.clear();
        return std::move(FRow);
    }

private:
    void unpack() const;

    int FIdx = 0;
    int FHeight = 0;
    int FLevel = 0;
    mutable int FCols = 0;
    mutable plat::TCellStore::TRow FRow;
    mutable QStringList FItems;
    mutable QVector<void *> FObjects;
};

// --- Change notifier ------------------------------------------------------------------------

// Registered with a grid; told about every change of cells after the grid's OnCellsChanged. A
// component, so that a grid notices one destroyed while still registered.
class TGridChangeNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Fires OnCellsChanged; descendants override.
    virtual void CellsChanged(const plat::TGridRect &R)
    {
        if (OnCellsChanged)
            OnCellsChanged(this, R);
    }

    std::function<void(QObject *Sender, const plat::TGridRect &R)> OnCellsChanged;
};
