#include "grid/model/QrlBaseGrid.h"

#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridText.h"

#include <algorithm>
#include <typeinfo>
#include <utility>
#include <vector>

using plat::TGridCoord;
using plat::TGridDrawState;
using plat::TGridRect;
using plat::TPlatformStringGrid;
using plat::TShiftState;

// ---- TCellProperties ----------------------------------------------------------------------

TCellProperties::TCellProperties(TBaseGrid *AOwner, int ACol, int ARow)
    : FOwnerGrid(AOwner), FOwnerCol(ACol), FOwnerRow(ARow)
{
    if (FOwnerGrid) {
        FWordWrap = FOwnerGrid->WordWrap();
        FOwnerGrid->FHasCellProps = true;
        FOwnerGrid->registerProps(this);
    }
}

TCellProperties::~TCellProperties()
{
    if (m_liveIndex >= 0)
        FOwnerGrid->unregisterProps(this);
}

int &TCellProperties::ownerLine(int axis) const
{
    return axis == int(TGridAxis::Rows) ? FOwnerRow : FOwnerCol;
}

void TCellProperties::catchUp(int axis) const
{
    if (m_liveIndex < 0)
        return;
    const std::uint64_t now = FOwnerGrid->m_shiftGen[axis];
    if (m_ownerGen[axis] == now)
        return;
    const std::vector<TBaseGrid::TLineShift> &log = FOwnerGrid->m_shiftLog[axis];
    const std::uint64_t base = now - log.size();
    int &line = ownerLine(axis);
    for (size_t i = size_t(std::max(m_ownerGen[axis], base) - base); i < log.size(); ++i)
        line = log[i].apply(line);
    m_ownerGen[axis] = now;
}

int TCellProperties::OwnerCol() const
{
    catchUp(int(TGridAxis::Cols));
    return FOwnerCol;
}

int TCellProperties::OwnerRow() const
{
    catchUp(int(TGridAxis::Rows));
    return FOwnerRow;
}

void TCellProperties::SetOwnerCol(int Value)
{
    FOwnerCol = Value;
    if (m_liveIndex >= 0)
        m_ownerGen[int(TGridAxis::Cols)] = FOwnerGrid->m_shiftGen[int(TGridAxis::Cols)];
}

void TCellProperties::SetOwnerRow(int Value)
{
    FOwnerRow = Value;
    if (m_liveIndex >= 0)
        m_ownerGen[int(TGridAxis::Rows)] = FOwnerGrid->m_shiftGen[int(TGridAxis::Rows)];
}

void TCellProperties::Assign(const TPersistent &Source)
{
    const auto *s = dynamic_cast<const TCellProperties *>(&Source);
    if (!s || s == this)
        return;
    FIsBaseCell = s->FIsBaseCell;
    FCellSpanX = s->FCellSpanX;
    FCellSpanY = s->FCellSpanY;
    SetOwnerRow(s->OwnerRow());
    SetOwnerCol(s->OwnerCol());
    FCellObject = s->FCellObject;
    FAlignment = s->FAlignment;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FBrushColor = s->FBrushColor;
    FBrushStyle = s->FBrushStyle;
    FFontColor = s->FFontColor;
    FFontStyle = s->FFontStyle;
    FFontName = s->FFontName;
    FFontSize = s->FFontSize;
    FReadOnly = s->FReadOnly;
    FEditor = s->FEditor;
    FVAlignment = s->FVAlignment;
    FWordWrap = s->FWordWrap;
    FNodeLevel = s->FNodeLevel;
    FControl = s->FControl;
}

TGridCoord TCellProperties::GetBaseCell(int c, int r) const
{
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1)
        return {c - FCellSpanX, r - FCellSpanY};
    return {c, r};
}

void TCellProperties::repaintOwner()
{
    if (FOwnerGrid)
        FOwnerGrid->RepaintCell(OwnerCol(), OwnerRow());
}

void TCellProperties::SetBrushColor(TColor Value)
{
    FBrushColor = Value;
    repaintOwner();
}

void TCellProperties::SetBrushColorTo(TColor Value)
{
    FBrushColorTo = Value;
    repaintOwner();
}

void TCellProperties::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    repaintOwner();
}

void TCellProperties::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    repaintOwner();
}

// ---- TBaseGrid: life cycle and properties --------------------------------------------------

TBaseGrid::TBaseGrid(QWidget *parent) : TPlatformStringGrid(parent)
{
    // This grid draws its lines inside its cells; the platform keeps no room for them.
    SetPlatformGridLines(false);
    SetGridLineWidth(1);
    SetDefaultDrawing(false);
    // Past the view's edge only a merged cell can reach into it (MayDropOffscreenRepaint).
    SetDropOffscreenRepaints(true);
}

TBaseGrid::~TBaseGrid()
{
    m_destroying = true;
    if (FUndoRedo && FUndoRedo->Grid() == this)
        FUndoRedo->SetGrid(nullptr);
    // Every property the grid owns, wherever its slot is: also those detached by the line
    // operations or kept in hidden columns, and without a walk over every cell.
    freeOwnedRest();
    // Properties others still hold keep their last owner cell and forget the grid's log.
    settleOwners(int(TGridAxis::Cols));
    settleOwners(int(TGridAxis::Rows));
    for (TCellProperties *p : m_liveProps)
        p->m_liveIndex = -1;
}

void TBaseGrid::SetRowCount(int Value)
{
    const int oldCount = RowCount();
    const int newCount = std::max(1, Value);
    if (newCount < oldCount) {
        std::vector<TMergedArea> cut;
        for (const TMergedArea &a : m_spans.areas())
            if (a.row < newCount && a.lastRow() >= newCount)
                cut.push_back(a);
        m_spans.linesRemoved(TGridAxis::Rows, newCount, oldCount - newCount);
        for (const TMergedArea &a : cut)
            for (int c = a.col; c <= a.lastCol(); ++c)
                for (int r = a.row; r < newCount; ++r)
                    if (TCellProperties *p = propsAt(c, r))
                        mirrorSpans(c, r, p);
        FreeCellProperties(0, newCount, TotalColCount() - 1, oldCount - 1);
    }
    TPlatformStringGrid::SetRowCount(Value);
}

void TBaseGrid::SetDefaultDrawing(bool Value)
{
    FDefaultDrawing = Value;
    TPlatformStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int Value)
{
    FGridLineWidth = std::max(0, Value);
    TPlatformStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value)
{
    FGridLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor Value)
{
    FGridFixedLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetUndoRedo(TQrlGridUndoRedo *Value)
{
    FUndoRedo = Value;
    if (FUndoRedo)
        FUndoRedo->SetGrid(this);
}

namespace {
template <class T> bool assignChanged(T &field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
} // namespace

void TBaseGrid::SetActiveRowShow(bool Value)
{
    if (assignChanged(FActiveRowShow, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowColor(TColor Value)
{
    if (assignChanged(FActiveRowColor, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowColorTo(TColor Value)
{
    if (assignChanged(FActiveRowColorTo, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowMirrorColor(TColor Value)
{
    if (assignChanged(FActiveRowMirrorColor, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowMirrorColorTo(TColor Value)
{
    if (assignChanged(FActiveRowMirrorColorTo, Value))
        Invalidate();
}

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value)
{
    if (assignChanged(FSelectionStyle, Value))
        Invalidate();
}

// ---- ownership of cell properties ---------------------------------------------------------

TCellProperties *TBaseGrid::propsAt(int c, int r) const
{
    return static_cast<TCellProperties *>(TPlatformStringGrid::Objects(c, r));
}

void TBaseGrid::storeProps(int c, int r, TCellProperties *p)
{
    TPlatformStringGrid::SetObjects(c, r, p);
    if (p) {
        m_owned.insert(p);
        FHasCellProps = true;
    }
}

TCellProperties *TBaseGrid::createProps(int c, int r)
{
    auto *p = new TCellProperties(this, c, r);
    storeProps(c, r, p);
    return p;
}

void TBaseGrid::freeProps(TCellProperties *p, bool withGraphic)
{
    if (!p || m_owned.erase(p) == 0)
        return; // not ours, or already freed through another slot
    TPersistent *g = p->GraphicObject();
    // Only a plain cell graphic belongs to the cell; descendants and other objects are the
    // caller's.
    if (withGraphic && g && typeid(*g) == typeid(TCellGraphic))
        delete g;
    delete p;
}

void TBaseGrid::freeOwnedRest()
{
    while (!m_owned.empty())
        freeProps(*m_owned.begin(), true);
}

// ---- owner cells ------------------------------------------------------------------------------

void TBaseGrid::registerProps(TCellProperties *p)
{
    p->m_liveIndex = static_cast<int>(m_liveProps.size());
    m_liveProps.push_back(p);
    p->m_ownerGen[0] = m_shiftGen[0];
    p->m_ownerGen[1] = m_shiftGen[1];
}

void TBaseGrid::unregisterProps(TCellProperties *p)
{
    TCellProperties *last = m_liveProps.back();
    m_liveProps[static_cast<size_t>(p->m_liveIndex)] = last;
    last->m_liveIndex = p->m_liveIndex;
    m_liveProps.pop_back();
    p->m_liveIndex = -1;
}

void TBaseGrid::logShift(TGridAxis axis, const TLineShift &shift)
{
    const int a = int(axis);
    // Nobody to follow the shift: nothing to log.
    if (m_liveProps.empty())
        return;
    m_shiftLog[a].push_back(shift);
    ++m_shiftGen[a];
    if (m_shiftLog[a].size() >= OwnerLogLimit)
        settleOwners(a);
}

// Brings every live property's owner line of the axis up to date and empties the log. The
// lines are gathered by the shift they start at, so each shift runs over one contiguous run of
// lines: those valid before it.
void TBaseGrid::settleOwners(int axis)
{
    std::vector<TLineShift> &log = m_shiftLog[axis];
    if (log.empty())
        return;
    const std::uint64_t now = m_shiftGen[axis];
    const std::uint64_t base = now - log.size();
    const size_t n = log.size();
    std::vector<size_t> start(n + 1, 0); // counts, then first place per starting shift
    for (const TCellProperties *p : m_liveProps)
        ++start[size_t(std::max(p->m_ownerGen[axis], base) - base)];
    size_t sum = 0;
    for (size_t &s : start)
        sum += std::exchange(s, sum);
    std::vector<TCellProperties *> who(m_liveProps.size());
    std::vector<int> lines(m_liveProps.size());
    for (TCellProperties *p : m_liveProps) {
        size_t &at = start[size_t(std::max(p->m_ownerGen[axis], base) - base)];
        who[at] = p;
        lines[at] = p->ownerLine(axis);
        ++at;
    }
    // start[i] now ends the lines valid before shift i + 1.
    int *data = lines.data();
    for (size_t i = 0; i < n; ++i) {
        const TLineShift s = log[i];
        const size_t end = start[i];
        for (size_t k = 0; k < end; ++k) {
            const int x = data[k];
            const unsigned u = static_cast<unsigned>(x);
            const int d1 = u - static_cast<unsigned>(s.lo1) < s.span1 ? s.delta1 : 0;
            const int d2 = u - static_cast<unsigned>(s.lo2) < s.span2 ? s.delta2 : 0;
            data[k] = x + (d1 != 0 ? d1 : d2);
        }
    }
    for (size_t k = 0; k < who.size(); ++k) {
        who[k]->ownerLine(axis) = lines[k];
        who[k]->m_ownerGen[axis] = now;
    }
    log.clear();
}

void TBaseGrid::cellLinesInserted(TGridAxis axis, int at, int count)
{
    if (count <= 0)
        return;
    TLineShift s;
    s.lo1 = at;
    s.span1 = 0x80000000u - static_cast<unsigned>(at);
    s.delta1 = count;
    logShift(axis, s);
    m_spans.linesInserted(axis, at, count);
}

void TBaseGrid::cellLinesRemoved(TGridAxis axis, int at, int count)
{
    if (count <= 0)
        return;
    TLineShift s;
    s.lo1 = at + count;
    s.span1 = 0x80000000u - static_cast<unsigned>(at + count);
    s.delta1 = -count;
    logShift(axis, s);
    m_spans.linesRemoved(axis, at, count);
}

void TBaseGrid::cellLinesMoved(TGridAxis axis, int from, int to, int count)
{
    if (count <= 0 || from == to)
        return;
    TLineShift s;
    s.lo1 = from;
    s.span1 = static_cast<unsigned>(count);
    s.delta1 = to - from;
    if (to > from) {
        s.lo2 = from + count;
        s.span2 = static_cast<unsigned>(to - from);
        s.delta2 = -count;
    } else {
        s.lo2 = to;
        s.span2 = static_cast<unsigned>(from - to);
        s.delta2 = count;
    }
    logShift(axis, s);
}

void TBaseGrid::checkCell(int c, int r) const
{
    if (c < 0 || r < 0 || c >= TotalColCount() || r >= RowCount())
        throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
}

// ---- cell store ----------------------------------------------------------------------------

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const
{
    // A grid that never had cell properties skips the slot lookup on every access.
    if (!FHasCellProps)
        return false;
    // The slot lookup is safe for any index and cheap; the counts are asked only for a cell
    // that has properties (the store may keep some past the counts).
    if (!propsAt(ACol, ARow))
        return false;
    return ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < RowCount();
}

TCellProperties *TBaseGrid::GetCellProperties(int c, int r)
{
    checkCell(c, r);
    if (TCellProperties *p = propsAt(c, r))
        return p;
    TCellProperties *p = createProps(c, r);
    TFont font;
    TBrush brush;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetCellDefaults(c, r, font, brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
    // Plain field writes: seeding must not repaint.
    p->SetCalcType(TColumnCalcType::acNONE);
    p->FAlignment = ha;
    p->FVAlignment = va;
    p->FWordWrap = ww;
    p->SetFontName(font.Name());
    p->SetFontSize(font.Size());
    p->SetFontStyle(font.Style());
    p->SetFontColor(font.Color());
    p->FBrushColor = brush.Color();
    p->FBrushColorTo = colorTo;
    p->SetGradientDirection(gd);
    mirrorSpans(c, r, p);
    return p;
}

void TBaseGrid::SetCellProperties(int c, int r, TCellProperties *Value)
{
    checkCell(c, r);
    TCellProperties *old = propsAt(c, r);
    if (old == Value)
        return;
    TPlatformStringGrid::SetObjects(c, r, nullptr);
    freeProps(old, true);
    storeProps(c, r, Value);
}

QString TBaseGrid::GetCellEx(int c, int r) const
{
    const TGridCoord b = HasCellProperties(c, r) ? BaseCell(c, r) : TGridCoord{c, r};
    QString value = GetGridCell(b.X, b.Y);
    if (b.Y < FNormalRowCount) {
        GetDisplText(b.X, b.Y, value);
        if (OnGetDisplWideText) {
            QString wide = DecodeWideCellText(value);
            GetDisplWideText(b.X, b.Y, wide);
            value = EncodeWideCellText(wide);
        }
    }
    return value;
}

void TBaseGrid::SetCellEx(int c, int r, const QString &Value)
{
    if (HasCellProperties(c, r)) {
        const TGridCoord b = BaseCell(c, r);
        SetGridCell(b.X, b.Y, Value);
        UpdateCellScrollRange(b.X, b.Y);
        RepaintCell(c, r);
    } else {
        if (c < 0 || r < 0 || c >= MaxLines || r >= MaxLines)
            throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
        // The repaint check would look the properties up again; this cell has none.
        m_plainCell = {c, r};
        TPlatformStringGrid::SetCells(c, r, Value);
        m_plainCell = {-1, -1};
    }
    if (FHideLastRow && r == RowCount() - 1)
        LastRowChanged();
}

void *TBaseGrid::GetObjectEx(int c, int r) const
{
    return HasCellProperties(c, r) ? propsAt(c, r)->CellObject() : nullptr;
}

void TBaseGrid::SetObjectEx(int c, int r, void *Value)
{
    checkCell(c, r);
    const bool blank = GetCellEx(c, r).isEmpty();
    if (blank)
        SetCellEx(c, r, QStringLiteral(" "));
    GetCellProperties(c, r)->SetCellObject(Value);
    if (blank)
        SetCellEx(c, r, QString());
}

TPersistent *TBaseGrid::GetGraphicObjectEx(int c, int r) const
{
    return HasCellProperties(c, r) ? propsAt(c, r)->GraphicObject() : nullptr;
}

TPersistent *TBaseGrid::GetPropGraphicObject(const TCellProperties *Props) const
{
    return Props ? Props->GraphicObject() : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int c, int r, TPersistent *Value)
{
    if (m_destroying)
        return;
    checkCell(c, r);
    const bool blank = GetCellEx(c, r).isEmpty();
    if (blank)
        SetCellEx(c, r, QStringLiteral(" "));
    GetCellProperties(c, r)->SetGraphicObject(Value);
    if (blank)
        SetCellEx(c, r, QString());
}

bool TBaseGrid::ReplaceGraphicObject(int c, int r, TPersistent *Value)
{
    auto *old = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(c, r));
    SetGraphicObjectEx(c, r, Value);
    // Check-box graphics are lent to many cells and live with the grid. A graphic still in its
    // slot (the grid is going away) is freed with the properties instead.
    const bool shared = old && (old->CellType() == TCellType::ctVirtCheckBox ||
                                old->CellType() == TCellType::ctRowCheckBox);
    if (old && old != Value && !shared && GetGraphicObjectEx(c, r) != old)
        delete old;
    return old != nullptr;
}

QString TBaseGrid::GetGridCell(int c, int r) const
{
    return TPlatformStringGrid::Cells(c, r);
}

void TBaseGrid::SetGridCell(int c, int r, const QString &Value)
{
    if (c < 0 || r < 0 || c >= MaxLines || r >= MaxLines)
        throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
    TPlatformStringGrid::SetCells(c, r, Value);
}

TCellProperties *TBaseGrid::GetGridObject(int c, int r) const
{
    return propsAt(c, r);
}

void TBaseGrid::SetGridObject(int c, int r, TCellProperties *Value)
{
    if (c < 0 || r < 0 || c >= MaxLines || r >= MaxLines)
        throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
    storeProps(c, r, Value);
}

void TBaseGrid::ClearColCells(int ACol)
{
    for (int r = 0; r < RowCount(); ++r)
        ClearCell(ACol, r);
}

void TBaseGrid::ClearRowCells(int ARow)
{
    for (int c = 0; c < ColCount(); ++c)
        ClearCell(c, ARow);
}

void TBaseGrid::ClearCell(int ACol, int ARow)
{
    SetCellEx(ACol, ARow, QString());
    TPlatformStringGrid::SetObjects(ACol, ARow, nullptr);
}

void TBaseGrid::FreeCellProperties(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (!FHasCellProps)
        return;
    ACol1 = std::max(ACol1, 0);
    ARow1 = std::max(ARow1, 0);
    ACol2 = std::min(ACol2, MaxLines - 1);
    ARow2 = std::min(ARow2, MaxLines - 1);
    for (int c = ACol1; c <= ACol2; ++c) {
        for (int r = ARow1; r <= ARow2; ++r) {
            if (TCellProperties *p = propsAt(c, r)) {
                TPlatformStringGrid::SetObjects(c, r, nullptr);
                freeProps(p, true);
            }
        }
    }
}

void TBaseGrid::FreeCellPropertiesAt(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= MaxLines || ARow >= MaxLines)
        return;
    if (TCellProperties *p = propsAt(ACol, ARow)) {
        TPlatformStringGrid::SetObjects(ACol, ARow, nullptr);
        freeProps(p, false);
    }
}

void TBaseGrid::FreeAllCellProperties()
{
    FreeCellProperties(0, 0, ColCount() - 1, RowCount() - 1);
}

// ---- merged cells ----------------------------------------------------------------------------

void TBaseGrid::AdoptCellProperties(int c, int r, TCellProperties *p)
{
    TCellProperties *present = propsAt(c, r);
    if (present == p)
        return;
    if (present) {
        TPlatformStringGrid::SetObjects(c, r, nullptr);
        freeProps(present, true);
    }
    storeProps(c, r, p);
    p->SetOwnerCol(c);
    p->SetOwnerRow(r);
    mirrorSpans(c, r, p);
}

void TBaseGrid::mirrorSpans(int c, int r, TCellProperties *p) const
{
    p->SetIsBaseCell(m_spans.isBaseCell(c, r));
    p->SetCellSpanX(m_spans.spansX(c, r));
    p->SetCellSpanY(m_spans.spansY(c, r));
}

void TBaseGrid::repaintArea(const TMergedArea &a)
{
    for (int c = a.col; c <= a.lastCol(); ++c)
        for (int r = a.row; r <= a.lastRow(); ++r)
            RepaintCell(c, r);
}

void TBaseGrid::MergeCells(int c, int r, int spanx, int spany)
{
    checkCell(c, r);
    ++FMergeCount;
    if (spanx < 1 || spany < 1)
        return;
    // An area past the grid's edge would own cells the grid cannot reach.
    const int w = std::min(spanx, TotalColCount() - c);
    const int h = std::min(spany, RowCount() - r);
    const TMergedSpans::TAreaList removed = m_spans.merge(c, r, w, h);
    const TMergedArea area{c, r, w, h};
    for (const TMergedArea &old : removed) {
        for (int x = old.col; x <= old.lastCol(); ++x)
            for (int y = old.row; y <= old.lastRow(); ++y)
                if (!area.contains(x, y))
                    if (TCellProperties *p = propsAt(x, y))
                        mirrorSpans(x, y, p);
    }
    for (int x = c; x < c + w; ++x)
        for (int y = r; y < r + h; ++y)
            mirrorSpans(x, y, GetCellProperties(x, y));
    repaintArea(area);
    for (const TMergedArea &old : removed)
        repaintArea(old);
}

void TBaseGrid::ExchangeRowCells(int ARow1, int ARow2)
{
    if (ARow1 == ARow2)
        return;
    SwapRowCells(ARow1, ARow2);
    if (!FHasCellProps)
        return;
    const int cols = TotalColCount();
    for (const int r : {ARow1, ARow2})
        for (int c = 0; c < cols; ++c)
            if (TCellProperties *p = propsAt(c, r))
                p->SetOwnerRow(r);
    if (m_spans.count() == 0)
        return;
    for (const TMergedArea &area : m_spans.rowsSwapped(ARow1, ARow2)) {
        --FMergeCount;
        for (int x = area.col; x <= area.lastCol(); ++x) {
            for (int y = area.row; y <= area.lastRow(); ++y)
                if (TCellProperties *p = propsAt(x, y))
                    mirrorSpans(x, y, p);
            for (const int y : {ARow1, ARow2})
                if (TCellProperties *p = propsAt(x, y))
                    mirrorSpans(x, y, p);
        }
    }
}

void TBaseGrid::ExchangeCellObjects(int ACol, int ARow1, int ARow2)
{
    TCellProperties *p1 = propsAt(ACol, ARow1);
    TCellProperties *p2 = propsAt(ACol, ARow2);
    if (!p1 && !p2)
        return;
    SetGridObject(ACol, ARow1, p2);
    SetGridObject(ACol, ARow2, p1);
    if (p2)
        p2->SetOwnerRow(ARow1);
    if (p1)
        p1->SetOwnerRow(ARow2);
}

void TBaseGrid::SplitCells(int c, int r)
{
    checkCell(c, r);
    --FMergeCount;
    if (!HasCellProperties(c, r) || !m_spans.areaAt(c, r))
        return;
    // While the area still exists, the cell's rectangle covers all of it.
    RepaintCell(c, r);
    const std::optional<TMergedArea> area = m_spans.split(c, r);
    for (int x = area->col; x <= area->lastCol(); ++x)
        for (int y = area->row; y <= area->lastRow(); ++y)
            if (TCellProperties *p = propsAt(x, y))
                mirrorSpans(x, y, p);
    repaintArea(*area);
}

TGridCoord TBaseGrid::BaseCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return {ACol, ARow};
    return m_spans.baseCell(ACol, ARow);
}

bool TBaseGrid::FindBaseCell(int ACol, int ARow, int &BaseCol, int &BaseRow) const
{
    if (!HasCellProperties(ACol, ARow)) {
        BaseCol = ACol;
        BaseRow = ARow;
        return true;
    }
    return m_spans.findBaseCell(ACol, ARow, BaseCol, BaseRow);
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const
{
    return !HasCellProperties(ACol, ARow) || m_spans.isBaseCell(ACol, ARow);
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) && m_spans.isMergedCell(ACol, ARow);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) && m_spans.isMergedNonBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) && m_spans.isXMerged(ACol, ARow);
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) && m_spans.isYMerged(ACol, ARow);
}

TGridCoord TBaseGrid::CellSpan(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) ? m_spans.cellSpan(ACol, ARow) : TGridCoord{0, 0};
}

TGridCoord TBaseGrid::CellExt(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) ? m_spans.cellExt(ACol, ARow) : TGridCoord{0, 0};
}

TGridRect TBaseGrid::FullCell(int c, int r) const
{
    const TGridCoord b = BaseCell(c, r);
    const TGridCoord s = CellSpan(c, r);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

int TBaseGrid::MinRowSpan(int ARow) const
{
    int best = RowCount();
    for (int c = 0; c < TotalColCount(); ++c) {
        const int s = CellSpan(c, ARow).Y;
        if (s > 0 && s < best)
            best = s;
    }
    return best;
}

int TBaseGrid::MaxRowSpan(int ARow) const
{
    int best = 0;
    for (int c = 0; c < TotalColCount(); ++c)
        best = std::max(best, CellSpan(c, ARow).Y);
    return best;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool any = false;
    for (int c = 0; c < TotalColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y)
                return false;
            any = true;
        }
    }
    return any;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const
{
    bool any = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int s1 = CellSpan(ACol1, r).X;
        const int s2 = CellSpan(ACol2, r).X;
        if (s1 > 0 && s2 > 0) {
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X)
                return false;
            any = true;
        } else if (s1 != s2) {
            return false;
        }
    }
    return any;
}

// ---- geometry and repaint ----------------------------------------------------------------

TRect TBaseGrid::CalcCellRect(int ACol, int ARow) const
{
    // The platform's unclipped rectangle follows the same rule: fixed lines from the origin,
    // scrollable ones relative to the first one in view, also out of view.
    return UnclippedCellRect(ACol, ARow);
}

bool TBaseGrid::MayDropOffscreenRepaint(int ACol, int ARow) const
{
    if (ACol == m_plainCell.X && ARow == m_plainCell.Y)
        return DropOffscreenRepaints();
    return DropOffscreenRepaints() &&
           !(HasCellProperties(ACol, ARow) && m_spans.areaAt(ACol, ARow));
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const
{
    if (HasCellProperties(ACol, ARow)) {
        const TCellProperties *p = propsAt(ACol, ARow);
        if (m_spans.areaAt(ACol, ARow)) {
            const TGridRect f = m_spans.fullCell(ACol, ARow);
            TRect first = CalcCellRect(f.Left, f.Top);
            TRect last = CalcCellRect(f.Right, f.Bottom);
            if (first.Width() == 0)
                ++first.Right;
            if (last.Width() == 0)
                --last.Left;
            return {std::min(first.Left, last.Left), std::min(first.Top, last.Top),
                    std::max(first.Right, last.Right), std::max(first.Bottom, last.Bottom)};
        }
        if (p->Control())
            return CalcCellRect(ACol, ARow);
    }
    // A cell out of view keeps the platform's empty rectangle, so nothing is drawn or placed
    // at the origin on its behalf.
    const TRect r = TPlatformStringGrid::CellRect(ACol, ARow);
    if (r.IsEmpty())
        return r;
    return {r.Left, r.Top, r.Left + ColWidths(ACol), r.Top + RowHeights(ARow)};
}

TPoint TBaseGrid::CellSize(int c, int r) const
{
    if (HasCellProperties(c, r) && m_spans.areaAt(c, r)) {
        const TGridRect f = m_spans.fullCell(c, r);
        const TRect first = CalcCellRect(f.Left, f.Top);
        const TRect last = CalcCellRect(f.Right, f.Bottom);
        return {std::max(first.Right, last.Right) - std::min(first.Left, last.Left),
                std::max(first.Bottom, last.Bottom) - std::min(first.Top, last.Top)};
    }
    const TRect rc = CalcCellRect(c, r);
    return {rc.Width(), rc.Height()};
}

void TBaseGrid::RepaintCell(int c, int r)
{
    InvalidateCell(c, r);
}

int TBaseGrid::FixedColsWidth() const
{
    int w = 0;
    for (int c = 0; c < FixedCols(); ++c)
        w += ColWidths(c);
    return w;
}

int TBaseGrid::FixedRowsHeight() const
{
    int h = 0;
    for (int r = 0; r < FixedRows(); ++r)
        h += RowHeights(r);
    return h;
}

TRect TBaseGrid::EditorRect(int ACol, int ARow)
{
    // A merged cell's editor covers the whole area.
    return CellRect(ACol, ARow);
}

void TBaseGrid::MoveToBaseCell()
{
    if (!HasCellProperties(Col(), Row()))
        return;
    const TGridCoord b = BaseCell(Col(), Row());
    if (b.X != Col())
        SetCol(b.X);
    if (b.Y != Row())
        SetRow(b.Y);
}

// ---- virtual operations ---------------------------------------------------------------------

bool TBaseGrid::IsFixed(int, int)
{
    return false;
}

int TBaseGrid::GetNodeIndent(int)
{
    return 0;
}

bool TBaseGrid::HasNodes()
{
    return false;
}

void TBaseGrid::DrawCellContent(
    TCanvas *Canvas, int ACol, int ARow, const TRect &Rect, TGridDrawState)
{
    if (!Canvas)
        return;
    Canvas->DrawText(GetCellEx(ACol, ARow), Rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TBaseGrid::LastRowChanged() {}

void TBaseGrid::GetDisplText(int ACol, int ARow, QString &Value) const
{
    if (OnGetDisplText)
        OnGetDisplText(const_cast<TBaseGrid *>(this), ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, QString &Value) const
{
    if (OnGetDisplWideText)
        OnGetDisplWideText(const_cast<TBaseGrid *>(this), ACol, ARow, Value);
}

void TBaseGrid::GetCellDefaults(int,
                                int,
                                TFont &AFont,
                                TBrush &ABrush,
                                TColor &ColorTo,
                                TColor &MirrorColor,
                                TColor &MirrorColorTo,
                                TAlignment &HAlign,
                                TVAlignment &VAlign,
                                bool &WW,
                                TCellGradientDirection &GD)
{
    AFont.Assign(Font());
    ABrush.SetColor(Color());
    ColorTo = clNone;
    MirrorColor = clNone;
    MirrorColorTo = clNone;
    HAlign = TAlignment::taLeftJustify;
    VAlign = TVAlignment::vtaTop;
    WW = FWordWrap;
    GD = TCellGradientDirection::GradientVertical;
}

void TBaseGrid::UpdateCellScrollRange(int, int) {}

bool TBaseGrid::HasCustomBorders()
{
    return false;
}

bool TBaseGrid::IsStyledLook()
{
    return false;
}

void TBaseGrid::GetVisualProperties(int,
                                    int,
                                    TGridDrawState &,
                                    bool,
                                    bool,
                                    bool,
                                    TBrush &,
                                    TColor &,
                                    TColor &,
                                    TColor &,
                                    TFont &,
                                    TAlignment &,
                                    TVAlignment &,
                                    bool &,
                                    TCellGradientDirection &)
{}

int TBaseGrid::DisplColIndex(int ACol) const
{
    return ACol;
}

int TBaseGrid::TotalColCount() const
{
    return ColCount();
}

void TBaseGrid::PaintCell(
    TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    PaintCellCore(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(
    TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    PaintCellCore(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::DrawCellHook(int ACol, int ARow, const TRect &Rect, TGridDrawState State)
{
    PaintCellCore(Canvas(), ACol, ARow, Rect, State, true);
}

namespace {

// DrawSelectionBox colours of one selection style.
struct TSelectionColors
{
    TColor color, colorTo, innerCorner, border, innerBottom, innerTop, mirror, mirrorTo;
};

constexpr TSelectionColors kVistaSel{0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99,
                                     0xFDF5E7, 0xFDFBF6, clNone,   clNone};
constexpr TSelectionColors kWin7Sel{0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D,
                                    0xFDEADB, 0xFDF4EB, clNone,   clNone};
constexpr TSelectionColors kOffice2007Sel{0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3,
                                          0xCAF8FF, 0xF4FEFF, 0x58D4FC, 0xB3F1FC};
constexpr TSelectionColors kUnfocusedSel{0xF8F8F8, 0xE5E5E5, 0xEFEFEF, 0xD9D9D9,
                                         0xF0F0F0, 0xFBFAFA, clNone,   clNone};

} // namespace

void TBaseGrid::PaintCellCore(
    TCanvas *Canvas, int ACol, int ARow, TRect Rect, TGridDrawState State, bool Full)
{
    using enum plat::TGridDrawStateItem;
    using plat::TGridOption;
    if (!Canvas)
        return;
    TCanvas &cv = *Canvas;

    if (FHideLastRow && ARow == RowCount() - 1) {
        cv.Pen().SetColor(Color());
        cv.Brush().SetColor(Color());
        cv.Rectangle(Rect);
        return;
    }

    int bc = ACol;
    int br = ARow;
    if (!FindBaseCell(ACol, ARow, bc, br)) {
        TCellProperties *bp = propsAt(bc, br);
        if (!bp || bp->PaintID() != FPaintID) {
            if (bp)
                bp->SetPaintID(FPaintID);
            PaintCell(Canvas, bc, br, Rect, State);
        }
        return;
    }
    // The base cell's own turn paints without looking at the mark; marking it as well keeps
    // the other cells of its area from painting the same area again in this pass.
    if (Full && IsMergedCell(ACol, ARow))
        if (TCellProperties *bp = propsAt(ACol, ARow))
            bp->SetPaintID(FPaintID);

    if (Full && IsFixed(ACol, ARow)) {
        State.Include(gdFixed);
        State.Exclude(gdSelected);
    }
    if (Full)
        Rect = CellRect(ACol, ARow);

    // A merged area scrolled partly under the fixed cells must not paint over them.
    const int x0 = ACol >= FixedCols() ? FixedColsWidth() : 0;
    const int y0 = ARow >= FixedRows() ? FixedRowsHeight() : 0;
    const bool clip = (ACol >= FixedCols() && FixedCols() > 0 && Rect.Left < x0) ||
                      (ARow >= FixedRows() && FixedRows() > 0 && Rect.Top < y0);
    if (clip) {
        cv.SaveClip();
        cv.IntersectClipRect({x0, y0, viewport()->width(), viewport()->height()});
    }

    cv.Pen().SetWidth(1);
    cv.Font().Assign(Font());
    // The base grid's GetVisualProperties sets nothing, so the canvas starts in the cell's
    // default colours.
    const bool fixedCell = State.Contains(gdFixed);
    cv.Brush().SetColor(fixedCell ? FixedColor() : Color());
    cv.Brush().SetStyle(TBrushStyle::bsSolid);
    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetVisualProperties(ACol, ARow, State, false, true, true, cv.Brush(), colorTo, mirrorColor,
                        mirrorColorTo, cv.Font(), ha, va, ww, gd);
    cv.Pen().SetColor(cv.Brush().Color());

    const bool selected = State.Contains(gdSelected);
    const bool fixed = State.Contains(gdFixed);
    if (FHoverRow && ARow == FHoverRowIdx &&
        !(selected && !FHoverRowCells.Contains(THoverRowCell::hcSelected)) &&
        !(fixed && !FHoverRowCells.Contains(THoverRowCell::hcFixed))) {
        cv.Brush().SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirrorColor = clNone;
        mirrorColorTo = clNone;
        gd = TCellGradientDirection::GradientVertical;
    }

    if ((FActiveRowShow && ARow == Row() && ACol >= FixedCols() && (ACol != Col() || !FShowSel)) ||
        (!Full && selected)) {
        cv.Brush().SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirrorColor = FActiveRowMirrorColor;
        mirrorColorTo = FActiveRowMirrorColorTo;
        cv.Pen().SetColor(cv.Brush().Color());
    }

    const plat::TGridOptions opts = Options();
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    if (selected && FSelectionStyle != TGridSelectionStyle::ssDefault && FShowSel) {
        const TGridRect sel = Selection();
        const int left = std::min(sel.Left, sel.Right);
        const int right = std::max(sel.Left, sel.Right);
        int piece = 0;
        if (ACol == left && right > ACol)
            piece = 1;
        else if (ACol == right && left < ACol)
            piece = 2;
        else if (ACol > left && ACol < right)
            piece = 3;
        TRect box = Rect;
        if (!opts.Contains(TGridOption::goHorzLine))
            ++box.Bottom;
        if (!opts.Contains(TGridOption::goVertLine))
            ++box.Right;
        if (rtl) {
            ++box.Right;
            ++box.Bottom;
        }
        const bool focused =
            hasFocus() || viewport()->hasFocus() || opts.Contains(TGridOption::goDrawFocusSelected);
        const TSelectionColors *set = nullptr;
        switch (FSelectionStyle) {
        case TGridSelectionStyle::ssVista:
            set = &kVistaSel;
            break;
        case TGridSelectionStyle::ssWin7:
            set = &kWin7Sel;
            break;
        case TGridSelectionStyle::ssOffice2007:
            set = &kOffice2007Sel;
            break;
        default:
            break;
        }
        if (set) {
            const TSelectionColors &s = focused ? *set : kUnfocusedSel;
            DrawSelectionBox(cv, s.color, s.colorTo, piece, box, Color(), s.innerCorner, s.border,
                             s.innerBottom, s.innerTop, s.mirrorTo, s.mirror);
        }
    } else if (!((fixed || selected) && IsStyledLook())) {
        const TColor brush = cv.Brush().Color();
        if (mirrorColorTo == clNone)
            DrawGradient(cv, brush, colorTo, gd == TCellGradientDirection::GradientHorizontal, Rect,
                         64);
        else
            DrawGradientRect(cv, Rect, brush, true, false, clNone, true, mirrorColorTo, mirrorColor,
                             colorTo);
    }

    int lw = 1;
    if (fixed) {
        cv.Pen().SetColor(GridFixedLineColor());
        cv.Pen().SetWidth(1);
    } else if (GridLineWidth() > 0) {
        cv.Pen().SetColor(GridLineColor());
        cv.Pen().SetWidth(GridLineWidth());
        lw = (GridLineWidth() + 1) / 2;
    }
    // With line width 0 the lines are drawn in the pen's brush colour, one pixel inside.
    if (!(ACol == 0 && HasNodes()) && ((opts.Contains(TGridOption::goHorzLine) && !fixed) ||
                                       (opts.Contains(TGridOption::goFixedHorzLine) && fixed))) {
        cv.MoveTo(Rect.Left - lw + 1, Rect.Bottom - lw);
        cv.LineTo(Rect.Right - lw + 1, Rect.Bottom - lw);
    }
    if ((opts.Contains(TGridOption::goVertLine) && !fixed) ||
        (opts.Contains(TGridOption::goFixedVertLine) && fixed)) {
        const int x = Rect.Right - lw + (rtl ? 1 : 0);
        cv.MoveTo(x, Rect.Bottom - lw);
        cv.LineTo(x, Rect.Top - lw);
    }

    if (Full) {
        TRect content = Rect;
        if (fixed) {
            content.Right -= 1;
            content.Bottom -= 2;
        } else {
            InflateRect(content, -GridLineWidth(), -GridLineWidth());
        }
        DrawCellContent(Canvas, ACol, ARow, content, State);
    }

    if (clip)
        cv.RestoreClip();
    cv.Brush().SetStyle(TBrushStyle::bsSolid);
    cv.Pen().SetStyle(TPenStyle::psSolid);
}

TBaseGrid::TCellVisuals TBaseGrid::CellVisuals(
    int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select, bool WordWrap)
{
    TCellVisuals v;
    const bool fixed = ACol < FixedCols() || ARow < FixedRows();
    v.brush.SetColor(fixed ? FixedColor() : Color());
    v.font.Assign(Font());
    v.wordWrap = WordWrap;
    GetVisualProperties(ACol, ARow, AState, Print, Select, true, v.brush, v.colorTo, v.mirrorColor,
                        v.mirrorColorTo, v.font, v.hAlign, v.vAlign, v.wordWrap, v.gradient);
    return v;
}

// ---- platform hooks --------------------------------------------------------------------------

void TBaseGrid::Paint()
{
    TPlatformStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    DrawCellHook(ACol, ARow, ARect, AState);
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    if (layoutDirection() == Qt::RightToLeft) {
        const bool can = TPlatformStringGrid::SelectCell(ACol, ARow);
        Invalidate();
        return can;
    }
    RepaintCell(Col(), Row());
    const bool can = TPlatformStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return can;
}

void TBaseGrid::repaintMergedFixed()
{
    if (FixedCols() > 0) {
        for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
            for (int c = 0; c < FixedCols(); ++c)
                if (IsMergedCell(c, r))
                    RepaintCell(c, r);
    }
    if (FixedRows() > 0) {
        for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() && c < TotalColCount(); ++c)
            for (int r = 0; r < FixedRows(); ++r)
                if (IsMergedCell(c, r))
                    RepaintCell(c, r);
    }
}

void TBaseGrid::TopLeftChanged()
{
    TPlatformStringGrid::TopLeftChanged();
    // Fixed cells merged into scrolled lines paint with their area.
    repaintMergedFixed();
}

void TBaseGrid::KeyDown(int &Key, TShiftState Shift)
{
    if (Key == Qt::Key_PageDown && FHideLastRow && RowCount() > 1 &&
        VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1)
        SetRow(RowCount() - 2);
    if (HasCellProperties(Col(), Row())) {
        const TGridCoord b = BaseCell(Col(), Row());
        const TGridCoord span = CellSpan(Col(), Row());
        switch (Key) {
        case Qt::Key_Right: {
            const int e = b.X + span.X;
            if (e >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && e < ColCount())
                SetCol(e);
            break;
        }
        case Qt::Key_Down: {
            const int e = b.Y + span.Y;
            if (e >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1)
                SetRow(e);
            break;
        }
        case Qt::Key_Left:
            // From inside an area: step from the base cell, so the key leaves the area.
            if (b.X < Col() && Col() > FixedCols() && b.X > 0)
                SetCol(b.X);
            break;
        case Qt::Key_Up:
            if (b.Y < Row() && Row() > FixedRows() && b.Y > 0)
                SetRow(b.Y);
            break;
        default:
            break;
        }
    }
    TPlatformStringGrid::KeyDown(Key, Shift);
    MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, const TPoint &MousePos)
{
    const bool handled = TPlatformStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (FHideLastRow && Row() < RowCount() - 1 && Row() - TopRow() > VisibleRowCount())
        SetTopRow(TopRow() + 1);
    MoveToBaseCell();
    return handled;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, const TPoint &MousePos)
{
    const bool handled = TPlatformStringGrid::DoMouseWheelUp(Shift, MousePos);
    MoveToBaseCell();
    return handled;
}

// ---- undo target ---------------------------------------------------------------------------

QString TBaseGrid::UndoGetCell(int ACol, int ARow) const
{
    return GetCellEx(ACol, ARow);
}

void TBaseGrid::UndoSetCell(int ACol, int ARow, const QString &Value)
{
    SetCellEx(ACol, ARow, Value);
}

int TBaseGrid::UndoDisplColIndex(int ACol) const
{
    return DisplColIndex(ACol);
}

int TBaseGrid::UndoCurrentCol() const
{
    return Col();
}

void TBaseGrid::UndoFocusCell(int ACol, int ARow)
{
    FocusCell(ACol, ARow, true);
}

void TBaseGrid::UndoRepaintCell(int ACol, int ARow)
{
    RepaintCell(ACol, ARow);
}

void TBaseGrid::UndoInvalidate()
{
    Invalidate();
}
