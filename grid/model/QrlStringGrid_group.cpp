// Grouping: header nodes per run of equal values, optional summary rows, a second level of
// sub-groups, and the group results.
//
// While grouped, GroupColumn keeps the first grouping column (the one removed); sub-groupings
// are remembered apart, so that UnGroup first dissolves them and then restores that column.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/ui/Colors.h"

#include <algorithm>
#include <optional>

namespace {

struct TRowLook
{
    TColor color;
    TColor colorTo;
    TColor text;
};

TRowLook headerLook(const TGrouping &g)
{
    return {g.HeaderColor(), g.HeaderColorTo(), g.HeaderTextColor()};
}

TRowLook summaryLook(const TGrouping &g)
{
    return {g.SummaryColor(), g.SummaryColorTo(), g.SummaryTextColor()};
}

TColor converted(TColor c, bool rgb)
{
    return rgb && c != clNone ? ColorToRGB(c) : c;
}

void applyRowLook(TQrlStringGrid &g, int row, const TRowLook &look, bool rgb)
{
    if (look.color != clNone)
        g.SetRowColor(row, converted(look.color, rgb));
    if (look.colorTo != clNone)
        g.SetRowColorTo(row, converted(look.colorTo, rgb));
    if (look.text != clNone)
        g.SetRowFontColor(row, converted(look.text, rgb));
}

void applyCellLook(TQrlStringGrid &g, int col, int row, const TRowLook &look, bool rgb)
{
    if (look.color != clNone)
        g.SetColors(col, row, converted(look.color, rgb));
    if (look.colorTo != clNone)
        g.SetColorsTo(col, row, converted(look.colorTo, rgb));
    if (look.text != clNone)
        g.SetFontColors(col, row, converted(look.text, rgb));
}

// Merges a header or summary row from `col` to the last column.
void mergeFrom(TQrlStringGrid &g, int col, int row)
{
    if (g.ColCount() - col > 1)
        g.MergeCells(col, row, g.ColCount() - col, 1);
}

void splitAt(TQrlStringGrid &g, int col, int row)
{
    if (col < g.TotalColCount() && g.IsMergedCell(col, row)) {
        const plat::TGridCoord b = g.BaseCell(col, row);
        g.SplitCells(b.X, b.Y);
    }
}

void makeSummary(TQrlStringGrid &g, int row)
{
    g.CreateCellGraphic(0, row)->SetCellType(TCellType::ctSummary);
}

bool isHeaderOrSummary(TQrlStringGrid &g, int row)
{
    return g.IsNode(row) || g.IsSummary(row);
}

// Clears the grouping flag, ends the update and forgets a grouping column that never got its
// rows (an error before the rows changed).
class TGroupingScope
{
public:
    TGroupingScope(TQrlStringGrid &g, TStringGridModelState &d) : m_grid(g), m_d(d)
    {
        m_grid.BeginUpdate();
        m_d.grouping_ = true;
    }
    ~TGroupingScope()
    {
        m_d.grouping_ = false;
        if (!m_rowsChanged)
            m_d.groupColumn = -1;
        m_grid.EndUpdate();
    }
    TGroupingScope(const TGroupingScope &) = delete;
    TGroupingScope &operator=(const TGroupingScope &) = delete;
    void rowsChanged() { m_rowsChanged = true; }

private:
    TQrlStringGrid &m_grid;
    TStringGridModelState &m_d;
    bool m_rowsChanged = false;
};

// ExpandOne off for a scope: expanding one node must not close the others while rows are
// walked by display index.
class TExpandAllScope
{
public:
    explicit TExpandAllScope(TCellNode &node) : m_node(node), m_expandOne(node.ExpandOne())
    {
        m_node.SetExpandOne(false);
    }
    ~TExpandAllScope() { m_node.SetExpandOne(m_expandOne); }
    TExpandAllScope(const TExpandAllScope &) = delete;
    TExpandAllScope &operator=(const TExpandAllScope &) = delete;

private:
    TCellNode &m_node;
    bool m_expandOne;
};

} // namespace

int TQrlStringGrid::GroupColumn() const
{
    return d->groupColumn;
}

void TQrlStringGrid::SetGroupColumn(int Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

bool TQrlStringGrid::IsGrouping() const
{
    return d->grouping_;
}

// ---- grouping and ungrouping ------------------------------------------------------------------

void TQrlStringGrid::Group(int Colindex)
{
    // Column 0 carries the node graphics.
    if (Colindex < 1 || Colindex < TBaseGrid::FixedCols())
        return;
    if (d->groupColumn > 0)
        UnGroup();
    // The header text needs a column 1 once the grouping column is gone.
    if (Colindex >= ColCount() || ColCount() < 3 || RowCount() - FixedFooters() <= FixedRows())
        return;

    const TGrouping &grouping = *d->grouping;
    const bool summary = grouping.Summary();
    const bool mergeHeader = grouping.MergeHeader();
    const bool mergeSummary = grouping.MergeSummary();
    const TRowLook header = headerLook(grouping);
    const TRowLook summaryColours = summaryLook(grouping);

    d->groupColumn = Colindex;
    TGroupingScope scope(*this, *d);
    d->groupWidth = ColWidths(Colindex);
    if (FixedRows() > 0)
        d->groupCaption = GetGridCell(Colindex, 0);
    if (FixedFooters() > 0)
        d->groupFooter = GetGridCell(Colindex, RowCount() - 1);

    if (d->sortSettings->AutoSortForGrouping()) {
        d->sortSettings->SetColumn(Colindex);
        QSort();
    }
    scope.rowsChanged();

    // After the removal the header text stands in column 1 in every case.
    const int textCol = Colindex == 1 ? 2 : 1;
    auto newSummary = [&](int row, bool rgb) {
        InsertRows(row, 1);
        makeSummary(*this, row);
        if (!mergeSummary)
            applyRowLook(*this, row, summaryColours, rgb);
    };
    // Closes the group headed at h whose rows end before `end`; a summary row for the group
    // before it goes in front of the header. Answers how far the rows moved down.
    int h = -1;
    auto closeGroup = [&](int end, bool rgb) {
        int moved = 0;
        if (summary && h > FixedRows()) {
            newSummary(h, rgb);
            ++h;
            moved = 1;
        }
        AddNode(RealRowIndex(h), end + moved - h);
        return moved;
    };

    // A first row always starts a group, whatever its text.
    std::optional<QString> prev;
    int a = FixedRows();
    while (a < RowCount() - FixedFooters()) {
        const QString value = GetGridCell(Colindex, a);
        if (!prev || value != *prev) {
            if (h >= 0)
                a += closeGroup(a, true);
            InsertRows(a, 1);
            SetGridCell(textCol, a, value);
            if (!mergeHeader)
                applyRowLook(*this, a, header, true);
            h = a;
            ++a;
        }
        prev = value;
        ++a;
    }
    closeGroup(a, true);
    if (!mergeHeader)
        applyRowLook(*this, h, header, false);
    if (summary)
        newSummary(RowCount() - FixedFooters(), false);

    RemoveCols(Colindex, 1);

    if (mergeHeader || (mergeSummary && summary)) {
        for (int b = FixedRows(); b < RowCount(); ++b) {
            if (mergeHeader && IsNode(b)) {
                mergeFrom(*this, 1, b);
                applyCellLook(*this, 1, b, header, true);
            } else if (mergeSummary && summary && IsSummary(b)) {
                mergeFrom(*this, 1, b);
                applyCellLook(*this, 1, b, summaryColours, false);
            }
        }
    }
    if (d->cellNode->ExpandOne())
        ExpandNode(RealRowIndex(FixedRows()));
    if (Col() >= ColCount() || Row() >= RowCount())
        MoveColRow(TBaseGrid::FixedCols(), FixedRows(), true, true);
    SetRow(FixedRows());
}

void TQrlStringGrid::UnGroup()
{
    if (d->groupColumn <= 0)
        return;
    TUpdatePair update(*this);
    // The sub-groups hold values of their own columns in their headers.
    while (!d->subGroupColumns.isEmpty())
        SubUnGroup(d->subGroupColumns.last());

    TExpandAllScope expandAll(*d->cellNode);
    ExpandAll();
    const int col = std::min(d->groupColumn, ColCount());
    InsertCols(col, 1);
    SetColWidths(col, d->groupWidth);
    if (FixedRows() > 0)
        SetGridCell(col, 0, d->groupCaption);
    if (FixedFooters() > 0)
        SetGridCell(col, RowCount() - 1, d->groupFooter);

    TGroupingScope scope(*this, *d);
    scope.rowsChanged();
    const int textCol = col == 1 ? 2 : 1;
    QString current;
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        if (!IsNode(r)) {
            SetGridCell(col, r, current);
            ++r;
            continue;
        }
        // Only a summary row is taken away after the span: Summary may have been switched on
        // after grouping, and the row there is then the next header.
        const int after = r + GetNodeSpan(r);
        if (after > r && after < RowCount() - FixedFooters() && IsSummary(after)) {
            splitAt(*this, 1, after);
            RemoveRows(after, 1);
        }
        current = GetGridCell(textCol, r);
        RemoveNode(RealRowIndex(r));
        splitAt(*this, 1, r);
        // Removing the row frees its cell properties, the column-0 ones included.
        RemoveRows(r, 1);
    }
    d->groupColumn = -1;
    Invalidate();
}

// ---- sub-groups -------------------------------------------------------------------------------

void TQrlStringGrid::SubGroup(int Colindex)
{
    // The sub-header text goes into the column after Colindex.
    if (d->groupColumn <= 0 || Colindex < TBaseGrid::FixedCols() || Colindex < 0 ||
        Colindex + 1 >= ColCount() || d->subGroupColumns.contains(Colindex))
        return;
    const TGrouping &grouping = *d->grouping;
    const TRowLook header = headerLook(grouping);
    const int textCol = Colindex + 1;

    TUpdatePair update(*this);
    TExpandAllScope expandAll(*d->cellNode);
    // A contracted group's rows would be passed over and left without a sub-header.
    ExpandAll();
    d->subGroupColumns.append(Colindex);

    int pending = -1;
    auto closePending = [&](int end) {
        if (pending < 0 || isHeaderOrSummary(*this, pending))
            return;
        AddNode(RealRowIndex(pending), end - pending);
        GetCellGraphic(0, pending)->SetCellVar(Colindex);
    };
    // After a header or summary row, the next row always starts a sub-group.
    std::optional<QString> prev;
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        const bool mark = isHeaderOrSummary(*this, r);
        const QString value = GetGridCell(Colindex, r);
        if (mark || !prev || value != *prev) {
            closePending(r);
            pending = r;
            if (!mark) {
                InsertChildRow(RealRowIndex(r), 0);
                SetGridCell(textCol, r, value);
                if (grouping.MergeHeader()) {
                    mergeFrom(*this, textCol, r);
                    applyCellLook(*this, textCol, r, header, false);
                } else {
                    applyRowLook(*this, r, header, false);
                }
                ++r;
            }
        }
        if (mark) {
            prev.reset();
        } else {
            // The value now lives in the sub-header only.
            prev = value;
            SetGridCell(Colindex, r, QString());
        }
        ++r;
    }
    if (pending >= 0 && !IsSummary(pending)) {
        const int end = RowCount() - FixedFooters();
        closePending(end);
        if (grouping.Summary()) {
            InsertRows(end, 1);
            makeSummary(*this, end);
            if (grouping.MergeSummary()) {
                mergeFrom(*this, textCol, end);
                applyCellLook(*this, textCol, end, summaryLook(grouping), false);
            } else {
                applyRowLook(*this, end, summaryLook(grouping), false);
            }
        }
    }
    SetRow(FixedRows());
}

void TQrlStringGrid::SubUnGroup(int Colindex)
{
    if (!d->subGroupColumns.contains(Colindex))
        return;
    TUpdatePair update(*this);
    TExpandAllScope expandAll(*d->cellNode);
    ExpandAll();
    d->subGroupColumns.removeAll(Colindex);
    const int textCol = Colindex + 1;
    QString current;
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        if (IsNode(r)) {
            if (GetCellGraphic(0, r)->CellVar().toInt() != Colindex) {
                ++r;
                continue;
            }
            current = GetGridCell(textCol, r);
            splitAt(*this, textCol, r);
            RemoveChildRow(RealRowIndex(r));
            continue;
        }
        // A summary row never gave its text to a sub-header.
        if (!IsSummary(r))
            SetGridCell(Colindex, r, current);
        ++r;
    }
    Invalidate();
}

// ---- group results ----------------------------------------------------------------------------

void TQrlStringGrid::GroupCalc(int Colindex, int method)
{
    if (method < 1 || method > 8 || Colindex < 0 || Colindex >= TotalColCount())
        return;
    const bool summary = d->grouping->Summary();
    TUpdatePair update(*this);
    int r = FixedRows();
    while (r < RowCount()) {
        const int span = GetNodeSpan(r);
        if (!IsNode(r) || GetNodeState(r) || span < 1) {
            ++r;
            continue;
        }
        // The span counts real rows; rows of a contracted sub-group are part of the group.
        const int real = RealRowIndex(r);
        const int first = real + 1;
        const int last = real + span - 1;
        const int next = std::max(r + 1, DisplRowIndex(real + span));
        int target = r;
        if (summary) {
            // Without a summary row of its own the group gets nothing: the row there is data
            // or the next header.
            if (next >= RowCount() || !IsSummary(next)) {
                r = next;
                continue;
            }
            target = next;
        }
        constexpr TCalcMode mode = TCalcMode::RealRows;
        switch (method) {
        case 1:
            SetFloats(Colindex, target, columnSum(Colindex, first, last, mode));
            break;
        case 2:
            SetFloats(Colindex, target, columnAvg(Colindex, first, last, mode));
            break;
        case 3:
            SetFloats(Colindex, target, columnExtreme(Colindex, first, last, mode, false));
            break;
        case 4:
            SetFloats(Colindex, target, columnExtreme(Colindex, first, last, mode, true));
            break;
        case 5:
            SetInts(Colindex, target, span - 1);
            break;
        case 6:
            SetFloats(Colindex, target, GroupCustomValue(Colindex, r + 1, next - 1));
            break;
        case 7:
            SetFloats(Colindex, target, columnDistinct(Colindex, first, last, mode));
            break;
        case 8:
            SetFloats(Colindex, target, columnStdDev(Colindex, first, last, mode));
            break;
        }
        r = next;
    }
}

namespace {
void footerCalc(TFloatingFooter &footer, int col, TColumnCalcType calc)
{
    if (footer.Visible())
        footer.SetColumnCalc(col, calc);
}
} // namespace

void TQrlStringGrid::GroupSum(int Colindex)
{
    GroupCalc(Colindex, 1);
    footerCalc(*d->floatingFooter, Colindex, TColumnCalcType::acSUM);
}

void TQrlStringGrid::GroupAvg(int Colindex)
{
    GroupCalc(Colindex, 2);
    footerCalc(*d->floatingFooter, Colindex, TColumnCalcType::acAVG);
}

void TQrlStringGrid::GroupMin(int Colindex)
{
    GroupCalc(Colindex, 3);
    footerCalc(*d->floatingFooter, Colindex, TColumnCalcType::acMIN);
}

void TQrlStringGrid::GroupMax(int Colindex)
{
    GroupCalc(Colindex, 4);
    footerCalc(*d->floatingFooter, Colindex, TColumnCalcType::acMAX);
}

void TQrlStringGrid::GroupCount(int Colindex)
{
    GroupCalc(Colindex, 5);
    footerCalc(*d->floatingFooter, Colindex, TColumnCalcType::acCOUNT);
}

void TQrlStringGrid::GroupCustomCalc(int Colindex)
{
    GroupCalc(Colindex, 6);
}

void TQrlStringGrid::GroupDistinct(int Colindex)
{
    GroupCalc(Colindex, 7);
}

void TQrlStringGrid::GroupStdDev(int Colindex)
{
    GroupCalc(Colindex, 8);
}
