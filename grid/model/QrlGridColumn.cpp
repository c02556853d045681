// Column items and their collection.
#include "grid/model/QrlGridColumn.h"

#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridError.h"

#include <QMenu>

// ---- item -------------------------------------------------------------------------------------

TGridColumnItem::TGridColumnItem(TGridColumnCollection *Collection) : FCollection(Collection)
{
    FBorderPen.SetColor(0xC0C0C0);
    FBorderPen.SetWidth(1);
    FPrintBorderPen.SetColor(clBlack);
    FPrintBorderPen.SetWidth(1);
    TQrlColumnGrid *grid = Grid();
    if (!grid)
        return;
    FFont.Assign(grid->Font());
    FHeaderFont.Assign(grid->Font());
    FPrintFont.Assign(grid->Font());
    FColor = grid->Color();
    FFont.OnChange = [this] { changed(); };
    FHeaderFont.OnChange = [this] { changed(); };
}

TGridColumnItem::~TGridColumnItem() = default;

TQrlColumnGrid *TGridColumnItem::Grid() const
{
    return FCollection ? FCollection->GetOwner() : nullptr;
}

QString TGridColumnItem::DisplayName() const
{
    if (!FName.isEmpty())
        return QStringLiteral("Col %1: %2").arg(FIndex).arg(FName);
    return QStringLiteral("Column %1").arg(FIndex);
}

void TGridColumnItem::changed()
{
    if (FCollection)
        FCollection->Update(this);
}

void TGridColumnItem::repaint()
{
    if (TQrlColumnGrid *grid = Grid())
        grid->Invalidate();
}

void TGridColumnItem::copyFrom(const TGridColumnItem &s, bool visualsOnly)
{
    SetAutoMinSize(s.FAutoMinSize);
    SetAutoMaxSize(s.FAutoMaxSize);
    SetAlignment(s.FAlignment);
    SetBorders(s.FBorders);
    SetBorderPen(s.FBorderPen);
    SetCheckFalse(s.FCheckFalse);
    SetCheckTrue(s.FCheckTrue);
    SetColumnPopup(s.ColumnPopup());
    SetEditLength(s.FEditLength);
    SetEditLink(s.FEditLink);
    SetEditMask(s.FEditMask);
    SetEditor(s.FEditorType);
    SetFilter(s.FFilter);
    SetFilterCaseSensitive(s.FFilterCaseSensitive);
    SetFixed(s.FFixed);
    SetFloatFormat(s.FFloatFormat);
    SetHeaderAlignment(s.FHeaderAlignment);
    SetMinSize(s.FMinSize);
    SetMaxSize(s.FMaxSize);
    SetPassword(s.FPassword);
    SetPrintBorders(s.FPrintBorders);
    SetPrintBorderPen(s.FPrintBorderPen);
    SetPrintColor(s.FPrintColor);
    SetPrintFont(s.FPrintFont);
    SetReadOnly(s.FReadOnly);
    SetShowBands(s.FShowBands);
    SetSortStyle(s.FSortStyle);
    SetSortPrefix(s.FSortPrefix);
    SetSortSuffix(s.FSortSuffix);
    SetSpinMax(s.FSpinMax);
    SetSpinMin(s.FSpinMin);
    SetSpinStep(s.FSpinStep);
    // The grid's column keeps its width; only the shadow follows.
    FWidth = s.FWidth;
    FDefIdx = s.FDefIdx;
    if (visualsOnly) {
        if (TQrlColumnGrid *grid = Grid()) {
            SetColor(grid->Color());
            SetFont(grid->Font());
        }
        return;
    }
    SetColor(s.FColor);
    SetFont(s.FFont);
    SetComboItems(s.FComboItems);
    SetDropDownCount(s.FDropDownCount);
    SetHeaderFont(s.FHeaderFont);
    SetHeader(s.FColumnHeader);
    SetName(s.FName);
    SetTag(s.FTag);
}

void TGridColumnItem::Assign(const TGridColumnItem *Source)
{
    if (Source && Source != this)
        copyFrom(*Source, false);
}

void TGridColumnItem::AssignVisuals(const TGridColumnItem *Source)
{
    if (Source && Source != this)
        copyFrom(*Source, true);
}

// ---- cells of the column ---------------------------------------------------------------------

namespace {

TQrlColumnGrid &gridOf(const TGridColumnItem &item)
{
    TQrlColumnGrid *g = item.Grid();
    if (!g)
        throw EQrlGridError(QStringLiteral("Column item has no grid"));
    return *g;
}

} // namespace

QString TGridColumnItem::GetRows(int idx) const
{
    return gridOf(*this).GetCellEx(FIndex, idx);
}

void TGridColumnItem::SetRows(int idx, const QString &Value)
{
    gridOf(*this).SetCellEx(FIndex, idx, Value);
}

int TGridColumnItem::GetInts(int idx) const
{
    return gridOf(*this).GetInts(FIndex, idx);
}

void TGridColumnItem::SetInts(int idx, int Value)
{
    gridOf(*this).SetInts(FIndex, idx, Value);
}

double TGridColumnItem::GetFloats(int idx) const
{
    return gridOf(*this).GetFloats(FIndex, idx);
}

void TGridColumnItem::SetFloats(int idx, double Value)
{
    gridOf(*this).SetFloats(FIndex, idx, Value);
}

TDateTime TGridColumnItem::GetDates(int idx) const
{
    return gridOf(*this).GetDates(FIndex, idx);
}

void TGridColumnItem::SetDates(int idx, TDateTime Value)
{
    gridOf(*this).SetDates(FIndex, idx, Value);
}

TDateTime TGridColumnItem::GetTimes(int idx) const
{
    return gridOf(*this).GetTimes(FIndex, idx);
}

void TGridColumnItem::SetTimes(int idx, TDateTime Value)
{
    gridOf(*this).SetTimes(FIndex, idx, Value);
}

// ---- property setters with side effects ------------------------------------------------------

void TGridColumnItem::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    repaint();
}

void TGridColumnItem::SetBorders(TCellBorders Value)
{
    FBorders = Value;
    changed();
}

void TGridColumnItem::SetBorderPen(const TPen &Value)
{
    FBorderPen.Assign(Value);
    changed();
}

void TGridColumnItem::SetColor(TColor Value)
{
    FColor = Value;
    changed();
}

QMenu *TGridColumnItem::ColumnPopup() const
{
    return qobject_cast<QMenu *>(FColumnPopup.data());
}

void TGridColumnItem::SetColumnPopup(QMenu *Value)
{
    FColumnPopup = Value;
}

void TGridColumnItem::SetEditor(TEditorType Value)
{
    if (Value == FEditorType)
        return;
    const bool checkBox =
        Value == TEditorType::edDataCheckBox || FEditorType == TEditorType::edDataCheckBox;
    FEditorType = Value;
    // Only a check-box column looks different without an editor open.
    if (checkBox)
        repaint();
}

void TGridColumnItem::SetFilter(const QStringList &Value)
{
    FFilter = Value;
    repaint();
}

void TGridColumnItem::SetFixed(bool Value)
{
    FFixed = Value;
    changed();
}

void TGridColumnItem::SetFloatFormat(const QString &Value)
{
    FFloatFormat = Value;
    repaint();
}

void TGridColumnItem::SetHeader(const QString &Value)
{
    FColumnHeader = Value;
    if (TQrlColumnGrid *grid = Grid())
        grid->itemHeaderChanged(*this);
}

void TGridColumnItem::SetHeaderAlignment(TAlignment Value)
{
    FHeaderAlignment = Value;
    repaint();
}

void TGridColumnItem::SetHeaderFont(const TFont &Value)
{
    // The font's own change handler would run the update step; writing the property repaints.
    auto handler = std::move(FHeaderFont.OnChange);
    FHeaderFont.OnChange = nullptr;
    FHeaderFont.Assign(Value);
    FHeaderFont.OnChange = std::move(handler);
    repaint();
}

void TGridColumnItem::SetPassword(bool Value)
{
    FPassword = Value;
    changed();
}

void TGridColumnItem::SetShowBands(bool Value)
{
    FShowBands = Value;
    changed();
}

int TGridColumnItem::Width() const
{
    const TQrlColumnGrid *grid = Grid();
    if (!grid || FIndex < 0 || FIndex >= grid->TotalColCount())
        return grid ? FWidth : 0;
    return grid->GetAllColWidths(FIndex);
}

void TGridColumnItem::SetWidth(int Value)
{
    FWidth = Value;
    TQrlColumnGrid *grid = Grid();
    if (grid && FIndex >= 0 && FIndex < grid->TotalColCount())
        grid->SetAllColWidths(FIndex, Value);
}

// ---- collection -------------------------------------------------------------------------------

TGridColumnCollection::TGridColumnCollection(TQrlColumnGrid *AOwner) : FOwner(AOwner) {}

TGridColumnCollection::~TGridColumnCollection()
{
    // Items going with their collection tell nobody.
    FNoRecursiveUpdate = true;
    m_items.clear();
}

TGridColumnItem *TGridColumnCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EQrlGridError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return m_items[static_cast<size_t>(Index)].get();
}

void TGridColumnCollection::SetItem(int Index, const TGridColumnItem *Value)
{
    Items(Index)->Assign(Value);
}

void TGridColumnCollection::renumber(int from)
{
    for (int i = std::max(from, 0); i < Count(); ++i)
        m_items[static_cast<size_t>(i)]->FIndex = i;
}

TGridColumnItem *TGridColumnCollection::Add()
{
    auto item = std::make_unique<TGridColumnItem>(this);
    TGridColumnItem *raw = item.get();
    m_items.push_back(std::move(item));
    renumber(Count() - 1);
    if (Count() > 1) {
        // The copy is part of this one change, reported once below.
        const bool quiet = FNoRecursiveUpdate;
        FNoRecursiveUpdate = true;
        raw->AssignVisuals(m_items[m_items.size() - 2].get());
        FNoRecursiveUpdate = quiet;
    }
    changed();
    return raw;
}

TGridColumnItem *TGridColumnCollection::Insert(int Index)
{
    if (Index < 0 || Index > Count())
        throw EQrlGridError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    auto item = std::make_unique<TGridColumnItem>(this);
    TGridColumnItem *raw = item.get();
    m_items.insert(m_items.begin() + Index, std::move(item));
    renumber(Index);
    changed();
    return raw;
}

void TGridColumnCollection::Delete(int Index)
{
    Items(Index);
    m_items.erase(m_items.begin() + Index);
    renumber(Index);
    changed();
}

void TGridColumnCollection::Clear()
{
    if (m_items.empty())
        return;
    m_items.clear();
    changed();
}

void TGridColumnCollection::Assign(const TGridColumnCollection &Source)
{
    if (&Source == this)
        return;
    BeginUpdate();
    try {
        m_items.clear();
        for (int i = 0; i < Source.Count(); ++i)
            Add()->Assign(Source.Items(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TGridColumnCollection::BeginUpdate()
{
    ++m_updateCount;
}

void TGridColumnCollection::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        changed();
}

void TGridColumnCollection::SetOrganization()
{
    const bool quiet = FNoRecursiveUpdate;
    FNoRecursiveUpdate = true;
    if (FOwner)
        FOwner->FitColumnItemCount();
    FNoRecursiveUpdate = quiet;
    for (int i = 0; i < Count(); ++i)
        m_items[static_cast<size_t>(i)]->FDefIdx = i;
}

void TGridColumnCollection::ResetOrganization()
{
    if (!FOwner)
        return;
    // With default indexes forming a permutation every pass settles a column for good; the
    // bound ends the passes for indexes that do not (copied from elsewhere).
    bool moved = true;
    for (int pass = 0; moved && pass <= Count(); ++pass) {
        moved = false;
        const int n = Count();
        for (int i = 0; i < n && i < Count(); ++i) {
            const int def = m_items[static_cast<size_t>(i)]->FDefIdx;
            if (def < i && def >= 0 && i < FOwner->ColCount()) {
                FOwner->MoveColumn(i, def);
                moved = true;
            }
        }
    }
}

void TGridColumnCollection::Update(TGridColumnItem *)
{
    if (m_updateCount > 0 || FNoRecursiveUpdate || !FOwner)
        return;
    FOwner->collectionUpdate();
}
