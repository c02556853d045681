#include "grid/model/QrlGridOptions.h"

#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"

#include <stdexcept>

// --- TSortSettings --------------------------------------------------------------------------

TSortSettings::TSortSettings(IQrlOptionsGrid *Grid) : FGrid(Grid) {}

void TSortSettings::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TSortSettings *>(&Source);
    if (!src)
        return;
    FAutoSortForGrouping = src->FAutoSortForGrouping;
    FAutoColumnMerge = src->FAutoColumnMerge;
    FColumn = src->FColumn;
    FShow = src->FShow;
    FIndexShow = src->FIndexShow;
    FIndexColor = src->FIndexColor;
    FIndexSortKey = src->FIndexSortKey;
    FFull = src->FFull;
    FSingleColumn = src->FSingleColumn;
    FIgnoreBlanks = src->FIgnoreBlanks;
    FBlankPos = src->FBlankPos;
    FAutoFormat = src->FAutoFormat;
    FDirection = src->FDirection;
    FUpGlyph = src->FUpGlyph;
    FDownGlyph = src->FDownGlyph;
    FIndexUpGlyph = src->FIndexUpGlyph;
    FIndexDownGlyph = src->FIndexDownGlyph;
    FInitSortDirection = src->FInitSortDirection;
    FFixedCols = src->FFixedCols;
    FNormalCellsOnly = src->FNormalCellsOnly;
    FRow = src->FRow;
    FUndoSort = src->FUndoSort;
    FHeaderColor = src->FHeaderColor;
    FHeaderColorTo = src->FHeaderColorTo;
    FHeaderMirrorColor = src->FHeaderMirrorColor;
    FHeaderMirrorColorTo = src->FHeaderMirrorColorTo;
}

QString TSortSettings::SaveToString() const
{
    if (FIndexShow)
        return QStringLiteral("i;") +
               (FGrid ? FGrid->OptionsSortIndexes().SaveToString() : QString());
    const QChar dir = FDirection == TSortDirection::sdDescending ? u'd' : u'u';
    return dir + QString::number(FColumn);
}

void TSortSettings::LoadFromString(const QString &Text)
{
    if (Text.isEmpty())
        return;
    SetShow(true);
    if (Text.size() < 2)
        throw EQrlGridError(QStringLiteral("Invalid sort settings specifier"));

    if (!Text.contains(QLatin1String("i;"))) {
        FIndexShow = false;
        FDirection =
            Text.contains(u'u') ? TSortDirection::sdAscending : TSortDirection::sdDescending;
        bool ok = false;
        const int column = Text.mid(1).toInt(&ok, 10);
        if (!ok)
            return;
        FColumn = column;
        if (FGrid)
            FGrid->OptionsQSort();
        return;
    }

    FIndexShow = true;
    const QString indexes = Text.mid(2);
    if (indexes.isEmpty() || !FGrid)
        return;
    FGrid->OptionsSortIndexes().LoadFromString(indexes);
    FGrid->OptionsQSortIndexed();
}

void TSortSettings::Remove()
{
    FColumn = -1;
    if (!FGrid)
        return;
    FGrid->OptionsSortIndexes().Clear();
    repaintHeaderRow();
}

void TSortSettings::ToggleDirection()
{
    FDirection = FDirection == TSortDirection::sdAscending ? TSortDirection::sdDescending
                                                           : TSortDirection::sdAscending;
}

void TSortSettings::SetShow(bool Value)
{
    if (FShow == Value)
        return;
    FShow = Value;
    if (FGrid)
        FGrid->OptionsInvalidate();
}

void TSortSettings::SetRow(int Value)
{
    const int fixedRows = FGrid ? FGrid->OptionsFixedRows() : 0;
    if (Value >= fixedRows)
        throw EQrlGridError(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    FRow = Value;
}

void TSortSettings::repaintHeaderRow()
{
    if (FGrid && FGrid->OptionsFixedRows() > 0)
        FGrid->OptionsRepaintRow(FGrid->OptionsFixedRows() - 1);
}

void TSortSettings::setHeaderColor(TColor &field, TColor value)
{
    if (field == value)
        return;
    field = value;
    repaintHeaderRow();
}

void TSortSettings::SetHeaderColor(TColor Value)
{
    setHeaderColor(FHeaderColor, Value);
}

void TSortSettings::SetHeaderColorTo(TColor Value)
{
    setHeaderColor(FHeaderColorTo, Value);
}

void TSortSettings::SetHeaderMirrorColor(TColor Value)
{
    setHeaderColor(FHeaderMirrorColor, Value);
}

void TSortSettings::SetHeaderMirrorColorTo(TColor Value)
{
    setHeaderColor(FHeaderMirrorColorTo, Value);
}

// --- TControlLook ---------------------------------------------------------------------------

TControlLook::TControlLook(IQrlOptionsGrid *Grid, QObject *AOwner) : FGrid(Grid)
{
    Init();
    FDropDownHeader = std::make_unique<THeaderAppearance>(AOwner);
    FDropDownFooter = std::make_unique<TFooterAppearance>(AOwner);
}

void TControlLook::Init()
{
    FColor = 0;
    FCommentColor = clRed;
    FProgressBorderColor = clGray;
    FFixedGradientFrom = clNone;
    FFixedGradientTo = clNone;
    FFixedGradientMirrorFrom = clNone;
    FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverFrom = clWhite;
    FFixedGradientHoverTo = clGray;
    FFixedGradientHoverBorder = clSilver;
    FFixedGradientDownFrom = clSilver;
    FFixedGradientDownTo = clGray;
    FFixedGradientDownBorder = clGray;
    // These four also clear the grid's own colours.
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
}

void TControlLook::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TControlLook *>(&Source);
    if (!src)
        return;
    FCheckSize = src->FCheckSize;
    FRadioSize = src->FRadioSize;
    FControlStyle = src->FControlStyle;
    FCheckedGlyph = src->FCheckedGlyph;
    FUnCheckedGlyph = src->FUnCheckedGlyph;
    FRadioOnGlyph = src->FRadioOnGlyph;
    FRadioOffGlyph = src->FRadioOffGlyph;
    FProgressMarginX = src->FProgressMarginX;
    FProgressMarginY = src->FProgressMarginY;
    FCommentColor = src->FCommentColor;
    FColor = src->FColor;
    FProgressBorderColor = src->FProgressBorderColor;
    FCheckAlwaysActive = src->FCheckAlwaysActive;
    FRadioAlwaysActive = src->FRadioAlwaysActive;
    FFixedGradientFrom = src->FFixedGradientFrom;
    FFixedGradientTo = src->FFixedGradientTo;
    FFixedGradientMirrorFrom = src->FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = src->FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = src->FFixedGradientHoverFrom;
    FFixedGradientHoverTo = src->FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = src->FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = src->FFixedGradientHoverMirrorTo;
    FFixedGradientHoverBorder = src->FFixedGradientHoverBorder;
    FFixedGradientDownFrom = src->FFixedGradientDownFrom;
    FFixedGradientDownTo = src->FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = src->FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = src->FFixedGradientDownMirrorTo;
    FFixedGradientDownBorder = src->FFixedGradientDownBorder;
    FDropDownAlwaysVisible = src->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = src->FSpinButtonsAlwaysVisible;
    FDropDownCount = src->FDropDownCount;
    FDropDownFooter->Assign(*src->FDropDownFooter);
    FDropDownHeader->Assign(*src->FDropDownHeader);
    FHintMaxWidth = src->FHintMaxWidth;
}

void TControlLook::invalidate()
{
    if (FGrid)
        FGrid->OptionsInvalidate();
}

void TControlLook::SetColor(TColor Value)
{
    FColor = Value;
    invalidate();
}

void TControlLook::SetCommentColor(TColor Value)
{
    FCommentColor = Value;
    invalidate();
}

void TControlLook::SetCheckedGlyph(const TBitmap &Value)
{
    FCheckedGlyph = Value;
    invalidate();
}

void TControlLook::SetUnCheckedGlyph(const TBitmap &Value)
{
    FUnCheckedGlyph = Value;
    invalidate();
}

void TControlLook::SetRadioOnGlyph(const TBitmap &Value)
{
    FRadioOnGlyph = Value;
    invalidate();
}

void TControlLook::SetRadioOffGlyph(const TBitmap &Value)
{
    FRadioOffGlyph = Value;
    invalidate();
}

void TControlLook::SetCheckSize(int Value)
{
    FCheckSize = Value;
    invalidate();
}

void TControlLook::SetRadioSize(int Value)
{
    FRadioSize = Value;
    invalidate();
}

void TControlLook::SetControlStyle(TControlStyle Value)
{
    FControlStyle = Value;
    invalidate();
}

void TControlLook::SetDropDownAlwaysVisible(bool Value)
{
    FDropDownAlwaysVisible = Value;
    invalidate();
}

void TControlLook::SetSpinButtonsAlwaysVisible(bool Value)
{
    FSpinButtonsAlwaysVisible = Value;
    invalidate();
}

void TControlLook::SetFlatButton(bool Value)
{
    FFlatButton = Value;
    invalidate();
}

void TControlLook::SetNoDisabledCheckRadioLook(bool Value)
{
    FNoDisabledCheckRadioLook = Value;
    invalidate();
}

void TControlLook::SetNoDisabledButtonLook(bool Value)
{
    FNoDisabledButtonLook = Value;
    invalidate();
}

void TControlLook::SetProgressMarginX(int Value)
{
    FProgressMarginX = Value;
    invalidate();
}

void TControlLook::SetProgressMarginY(int Value)
{
    FProgressMarginY = Value;
    invalidate();
}

void TControlLook::SetProgressXP(bool Value)
{
    FProgressXP = Value;
    invalidate();
}

void TControlLook::forward(TColor &field, TColor value, TQuorlGradientRole role, bool skipNone)
{
    field = value;
    // The grid's colour setters repaint on their own.
    if (FGrid && !(skipNone && value == clNone))
        FGrid->OptionsSetQuorlGradient(role, value);
}

void TControlLook::SetFixedGradientFrom(TColor Value)
{
    forward(FFixedGradientFrom, Value, TQuorlGradientRole::QuorlGradientFrom, true);
}

void TControlLook::SetFixedGradientTo(TColor Value)
{
    forward(FFixedGradientTo, Value, TQuorlGradientRole::QuorlGradientTo, true);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor Value)
{
    forward(FFixedGradientMirrorFrom, Value, TQuorlGradientRole::QuorlGradientMirrorFrom, false);
}

void TControlLook::SetFixedGradientMirrorTo(TColor Value)
{
    forward(FFixedGradientMirrorTo, Value, TQuorlGradientRole::QuorlGradientMirrorTo, false);
}

void TControlLook::SetFixedGradientHoverFrom(TColor Value)
{
    forward(FFixedGradientHoverFrom, Value, TQuorlGradientRole::QuorlGradientHoverFrom, true);
}

void TControlLook::SetFixedGradientHoverTo(TColor Value)
{
    forward(FFixedGradientHoverTo, Value, TQuorlGradientRole::QuorlGradientHoverTo, true);
}

void TControlLook::SetFixedGradientHoverMirrorFrom(TColor Value)
{
    forward(FFixedGradientHoverMirrorFrom, Value, TQuorlGradientRole::QuorlGradientHoverMirrorFrom,
            false);
}

void TControlLook::SetFixedGradientHoverMirrorTo(TColor Value)
{
    forward(FFixedGradientHoverMirrorTo, Value, TQuorlGradientRole::QuorlGradientHoverMirrorTo,
            false);
}

void TControlLook::SetFixedGradientHoverBorder(TColor Value)
{
    forward(FFixedGradientHoverBorder, Value, TQuorlGradientRole::QuorlGradientHoverBorder, true);
}

void TControlLook::SetFixedGradientDownFrom(TColor Value)
{
    forward(FFixedGradientDownFrom, Value, TQuorlGradientRole::QuorlGradientDownFrom, true);
}

void TControlLook::SetFixedGradientDownTo(TColor Value)
{
    forward(FFixedGradientDownTo, Value, TQuorlGradientRole::QuorlGradientDownTo, true);
}

void TControlLook::SetFixedGradientDownMirrorFrom(TColor Value)
{
    forward(FFixedGradientDownMirrorFrom, Value, TQuorlGradientRole::QuorlGradientDownMirrorFrom,
            false);
}

void TControlLook::SetFixedGradientDownMirrorTo(TColor Value)
{
    forward(FFixedGradientDownMirrorTo, Value, TQuorlGradientRole::QuorlGradientDownMirrorTo,
            false);
}

void TControlLook::SetFixedGradientDownBorder(TColor Value)
{
    forward(FFixedGradientDownBorder, Value, TQuorlGradientRole::QuorlGradientDownBorder, true);
}

// --- TBackGround ----------------------------------------------------------------------------

void TBackGround::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TBackGround *>(&Source);
    if (!src)
        return;
    FTop = src->FTop;
    FLeft = src->FLeft;
    FDisplay = src->FDisplay;
    FBitmap = src->FBitmap;
    FCells = src->FCells;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
}

void TBackGround::invalidate()
{
    if (FGrid)
        FGrid->OptionsInvalidate();
}

void TBackGround::SetTop(int Value)
{
    FTop = Value;
    invalidate();
}

void TBackGround::SetLeft(int Value)
{
    FLeft = Value;
    invalidate();
}

void TBackGround::SetDisplay(TBackGroundDisplay Value)
{
    FDisplay = Value;
    invalidate();
}

void TBackGround::SetBitmap(const TBitmap &Value)
{
    FBitmap = Value;
    invalidate();
}

void TBackGround::SetCells(TBackGroundCells Value)
{
    FCells = Value;
    invalidate();
}

void TBackGround::SetColor(TColor Value)
{
    FColor = Value;
    invalidate();
}

void TBackGround::SetColorTo(TColor Value)
{
    FColorTo = Value;
    invalidate();
}

// --- TGrouping ------------------------------------------------------------------------------

void TGrouping::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TGrouping *>(&Source);
    if (!src)
        return;
    FAutoSelectGroup = src->FAutoSelectGroup;
    FAutoCheckGroup = src->FAutoCheckGroup;
    FGroupCountFormat = src->FGroupCountFormat;
    FHeaderColor = src->FHeaderColor;
    FHeaderColorTo = src->FHeaderColorTo;
    FHeaderTextColor = src->FHeaderTextColor;
    FHeaderUnderline = src->FHeaderUnderline;
    FMergeHeader = src->FMergeHeader;
    FMergeSummary = src->FMergeSummary;
    FShowGroupCount = src->FShowGroupCount;
    FSummaryColor = src->FSummaryColor;
    FSummaryColorTo = src->FSummaryColorTo;
    FSummaryTextColor = src->FSummaryTextColor;
    FSummaryLine = src->FSummaryLine;
}

// --- TBalloonSettings -----------------------------------------------------------------------

void TBalloonSettings::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TBalloonSettings *>(&Source);
    if (!src)
        return;
    FAutoHideDelay = src->FAutoHideDelay;
    FInitialDelay = src->FInitialDelay;
    FReshowDelay = src->FReshowDelay;
    FBackgroundColor = src->FBackgroundColor;
    FTextColor = src->FTextColor;
    FEnable = src->FEnable;
}

void TBalloonSettings::SetEnable(bool Value)
{
    FEnable = Value;
    if (OnEnableChange)
        OnEnableChange(this);
}

// --- TShowModified --------------------------------------------------------------------------

void TShowModified::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TShowModified *>(&Source);
    if (!src)
        return;
    FColor = src->FColor;
    FEnabled = src->FEnabled;
}

void TShowModified::SetColor(TColor Value)
{
    FColor = Value;
    if (OnChange)
        OnChange(this);
}

// --- Drag auto-scroll -----------------------------------------------------------------------

void TDragScrollDelays::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TDragScrollDelays *>(&Source);
    if (!src)
        return;
    FInitialDelay = src->FInitialDelay;
    FRepeatDelay = src->FRepeatDelay;
}

void TDragScrollMargins::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TDragScrollMargins *>(&Source);
    if (!src)
        return;
    FTopMargin = src->FTopMargin;
    FBottomMargin = src->FBottomMargin;
    FLeftMargin = src->FLeftMargin;
    FRightMargin = src->FRightMargin;
}

void TDragScrollOptions::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TDragScrollOptions *>(&Source);
    if (!src)
        return;
    FDelays.Assign(src->FDelays);
    FMargins.Assign(src->FMargins);
    FActive = src->FActive;
}

// --- TGridProgressAppearance ----------------------------------------------------------------

void TGridProgressAppearance::changed()
{
    if (OnChange)
        OnChange(this);
}

void TGridProgressAppearance::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TGridProgressAppearance *>(&Source);
    if (!src)
        return;
    FCompleteColor = src->FCompleteColor;
    FCompleteFontColor = src->FCompleteFontColor;
    FUnCompleteColor = src->FUnCompleteColor;
    FUnCompleteFontColor = src->FUnCompleteFontColor;
    FLevel0Color = src->FLevel0Color;
    FLevel0ColorTo = src->FLevel0ColorTo;
    FLevel1Color = src->FLevel1Color;
    FLevel1ColorTo = src->FLevel1ColorTo;
    FLevel2Color = src->FLevel2Color;
    FLevel2ColorTo = src->FLevel2ColorTo;
    FLevel3Color = src->FLevel3Color;
    FLevel3ColorTo = src->FLevel3ColorTo;
    FLevel1Perc = src->FLevel1Perc;
    FLevel2Perc = src->FLevel2Perc;
    FBorderColor = src->FBorderColor;
    FShowBorder = src->FShowBorder;
    FStacked = src->FStacked;
    FShowPercentage = src->FShowPercentage;
    FCompletionSmooth = src->FCompletionSmooth;
    FShowGradient = src->FShowGradient;
    FSteps = src->FSteps;
    FStyle = src->FStyle;
    changed();
}

// --- TFilterDropDown ------------------------------------------------------------------------

void TFilterDropDown::changed()
{
    if (OnChange)
        OnChange(this);
}

void TFilterDropDown::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TFilterDropDown *>(&Source);
    if (!src)
        return;
    FColor = src->FColor;
    FColumnWidth = src->FColumnWidth;
    FFont = src->FFont;
    FHeight = src->FHeight;
    FWidth = src->FWidth;
    // Copying a glyph changes it, and a glyph change is a change of the object.
    SetGlyph(src->FGlyph);
    SetGlyphActive(src->FGlyphActive);
}

void TFilterDropDown::SetGlyph(const TBitmap &Value)
{
    FGlyph = Value;
    changed();
}

void TFilterDropDown::SetGlyphActive(const TBitmap &Value)
{
    FGlyphActive = Value;
    changed();
}

// --- TFilterData / TFilter ------------------------------------------------------------------

void TFilterData::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TFilterData *>(&Source);
    if (!src)
        return;
    FColumn = src->FColumn;
    FCondition = src->FCondition;
    FCaseSensitive = src->FCaseSensitive;
    FData = src->FData;
    FPrefix = src->FPrefix;
    FSuffix = src->FSuffix;
    FOperation = src->FOperation;
}

void TFilter::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TFilter *>(&Source);
    if (!src || src == this)
        return;
    Clear();
    for (const auto &item : src->m_items)
        Insert()->Assign(*item);
}

TFilterData *TFilter::Insert()
{
    m_items.push_back(std::make_unique<TFilterData>());
    return m_items.back().get();
}

TFilterData *TFilter::Add()
{
    TFilterData *item = Insert();
    item->SetOperation(Count() == 1 ? TFilterOperation::foNONE : TFilterOperation::foAND);
    return item;
}

TFilterData *TFilter::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw std::out_of_range("List index out of bounds");
    return m_items[static_cast<std::size_t>(Index)].get();
}

void TFilter::Delete(int Index)
{
    Items(Index);
    m_items.erase(m_items.begin() + Index);
}

TFilterData *TFilter::GetColFilter(int Col)
{
    for (const auto &item : m_items)
        if (item->Column() == Col)
            return item.get();
    TFilterData *item = Add();
    item->SetColumn(static_cast<std::int16_t>(Col));
    return item;
}

bool TFilter::HasFilter(int Col) const
{
    for (const auto &item : m_items)
        if (item->Column() == Col)
            return true;
    return false;
}

void TFilter::RemoveColumnFilter(int Col)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (m_items[static_cast<std::size_t>(i)]->Column() == Col)
            m_items.erase(m_items.begin() + i);
    if (FGrid)
        FGrid->OptionsRepaintCell(Col, 0);
}

// ---- TGridItem -----------------------------------------------------------------------------

void TGridItem::SetStoredRow(plat::TCellStore::TRow &&Row, int Cols)
{
    FRow = std::move(Row);
    FCols = Cols;
    FItems.clear();
    FObjects.clear();
}

void TGridItem::unpack() const
{
    if (FRow.IsEmpty() && FCols == 0)
        return;
    // The texts and objects of the grid's columns, as the lists have always held them.
    const plat::TCellStore::TRow row = std::move(FRow);
    const int cols = FCols;
    FCols = 0;
    FItems.clear();
    FObjects.clear();
    FItems.reserve(cols);
    FObjects.reserve(cols);
    for (int c = 0; c < cols; ++c) {
        FItems.append(row.Text(c));
        FObjects.append(row.Object(c));
    }
}
