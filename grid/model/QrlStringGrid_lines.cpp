// Row and column content operations: inserting, removing, clearing, trimming and colouring
// whole areas, merging and splitting runs of cells, and the one path through which every line
// insertion and removal keeps the cells' companions in step.
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QScopedValueRollback>
#include <QSet>

#include <algorithm>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

void require(bool ok)
{
    if (!ok)
        throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
}

// Blanks and control characters count as blanks.
QString trimBlanks(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= u' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= u' ')
        --e;
    return b == 0 && e == s.size() ? s : s.mid(b, e - b);
}

// The platform's move events belong to lines the user moves, not to lines shifted here.
template <class Event> class TMutedEvent
{
public:
    explicit TMutedEvent(Event &e) : m_event(e), m_saved(std::exchange(e, nullptr)) {}
    ~TMutedEvent() { m_event = std::move(m_saved); }
    TMutedEvent(const TMutedEvent &) = delete;
    TMutedEvent &operator=(const TMutedEvent &) = delete;

private:
    Event &m_event;
    Event m_saved;
};

// ---- merged areas ---------------------------------------------------------------------------

// SplitCells starts from a cell with properties; an area whose cells lost theirs gets one back
// at its base for the moment (it moves or is freed with the cell like any other).
void splitArea(TBaseGrid &g, const TMergedArea &a)
{
    for (int c = a.col; c <= a.lastCol(); ++c) {
        for (int r = a.row; r <= a.lastRow(); ++r) {
            if (g.GetGridObject(c, r)) {
                g.SplitCells(c, r);
                return;
            }
        }
    }
    g.GetCellProperties(a.col, a.row);
    g.SplitCells(a.col, a.row);
}

// The base grid keeps its areas to itself, so a line change reaches them in two steps: the
// areas the change cuts or reaches are split while their cells are still in place, and merged
// again in their new shape once the cells have moved. Areas wholly before or after the change
// keep their cells and properties, which move with their lines; the base grid shifts those in
// its index.
class TAreaReshape
{
public:
    TAreaReshape(TBaseGrid &g, TGridAxis axis, int at, int count, bool insert) : m_grid(g)
    {
        if (g.MergedSpans().count() == 0)
            return;
        const bool rows = axis == TGridAxis::Rows;
        // An insertion reshapes the areas it cuts (starting before `at`, reaching it); a
        // removal those on the removed lines.
        std::vector<TMergedArea> hit;
        TMergedSpans reshaped;
        for (const TMergedArea &a : insert
                                        ? g.MergedSpans().areasOnLines(axis, at, at)
                                        : g.MergedSpans().areasOnLines(axis, at, at + count - 1)) {
            if (insert && (rows ? a.row : a.col) >= at)
                continue;
            hit.push_back(a);
            reshaped.merge(a.col, a.row, a.width, a.height);
        }
        if (insert)
            reshaped.linesInserted(axis, at, count);
        else
            reshaped.linesRemoved(axis, at, count);
        m_fresh = reshaped.areas();
        for (const TMergedArea &a : hit)
            splitArea(g, a);
    }

    void finish()
    {
        for (const TMergedArea &a : m_fresh)
            m_grid.MergeCells(a.col, a.row, a.width, a.height);
        m_fresh.clear();
    }

private:
    TBaseGrid &m_grid;
    std::vector<TMergedArea> m_fresh;
};

// ---- per-line companions --------------------------------------------------------------------

// A control placed in a cell that goes away is hidden and leaves the list.
void dropControl(TStringGridModelState &s, int index)
{
    if (QWidget *w = s.controlList.GetControl(index)->Control)
        w->hide();
    s.controlList.RemoveControl(index);
    s.numCellControls = std::max(0, s.numCellControls - 1);
}

// Frees one cell's properties: its control leaves the list, a shared check box stays with the
// grid, the cell's own graphic goes with the properties.
void freeCellProps(TQrlStringGrid &g, TStringGridModelState &s, int c, int r)
{
    TCellProperties *p = g.GetGridObject(c, r);
    if (!p)
        return;
    if (p->Control()) {
        const int idx = s.controlList.ControlIndex(c, g.RealRowIndex(r));
        if (idx >= 0)
            dropControl(s, idx);
        else
            p->Control()->hide();
    }
    const TPersistent *graphic = p->GraphicObject();
    if (graphic && (graphic == s.cellGraphic.get() || graphic == s.rowCheckBox.get()))
        p->SetGraphicObject(nullptr);
    g.FreeCellProperties(c, r, c, r);
}

// After rows went: a cursor left in the footers or past the last row goes to the last row
// above the footers, and the view shows no space after the last row.
void settleCursor(TQrlStringGrid &g)
{
    const int limit = g.RowCount() - g.FixedFooters();
    if (g.Row() >= limit && limit - 1 >= g.FixedRows())
        g.MoveColRow(g.Col() < g.ColCount() ? g.Col() : g.FixedCols(), limit - 1, true, true);
    if (g.TopRow() > g.MaxTopRow())
        g.SetTopRow(g.MaxTopRow());
}

} // namespace

// ---- the one path of line insertion and removal ----------------------------------------------

void TQrlStringGrid::insertLines(TGridAxis axis, int at, int count, bool viewOnly)
{
    const bool rows = axis == TGridAxis::Rows;
    // Lines of the model: hidden columns sit after the shown ones and move with them.
    const int total = rows ? RowCount() : TotalColCount();
    if (EditorMode())
        HideEditor();
    const int mergeCount = FMergeCount;
    TAreaReshape areas(*this, axis, at, count, true);

    if (rows) {
        // The rows move below; the footer row, last before, stays last after.
        QScopedValueRollback moving(d->linesMoving, true);
        SetRowCount(total + count);
    } else {
        SetColCount(ColCount() + count);
    }
    {
        // The new lines come from past the model's end and are moved into place.
        TMutedEvent rowEvent(OnRowMoved);
        TMutedEvent colEvent(OnColumnMoved);
        // The new rows' default heights move along, all rows in one shift.
        if (rows)
            MoveRowBlock(total, count, at);
        for (int k = 0; !rows && k < count; ++k)
            TPlatformStringGrid::ColumnMoved(total + k, at + k);
    }
    if (rows) {
        for (int i = at; i < at + count; ++i)
            SetRowHeights(i, DefaultRowHeight());
    } else {
        for (int i = ColCount() - 1; i >= at + count; --i)
            SetColWidths(i, ColWidths(i - count));
        for (int i = at; i < std::min(at + count, ColCount()); ++i)
            SetColWidths(i, DefaultColWidth());
    }

    // Whatever was left past the end is not part of the grid: the new lines start empty.
    const int across = rows ? TotalColCount() : RowCount();
    if (rows)
        ClearStoredRows(at, count);
    for (int line = at; !rows && line < at + count; ++line) {
        for (int k = 0; k < across; ++k) {
            const int c = rows ? k : line;
            const int r = rows ? line : k;
            if (GetGridObject(c, r))
                SetGridObject(c, r, nullptr);
            if (!GetGridCell(c, r).isEmpty())
                SetGridCell(c, r, QString());
        }
    }
    // Owner cells and the areas after the change follow the moved cells without a walk.
    cellLinesInserted(axis, at, count);
    areas.finish();
    FMergeCount = mergeCount;
    linesInserted(axis, at, count, viewOnly);
}

void TQrlStringGrid::removeLines(TGridAxis axis, int at, int count, bool freeProps, bool viewOnly)
{
    const bool rows = axis == TGridAxis::Rows;
    const int total = rows ? RowCount() : TotalColCount();
    const int across = rows ? TotalColCount() : RowCount();
    if (EditorMode())
        HideEditor();
    const int mergeCount = FMergeCount;
    TAreaReshape areas(*this, axis, at, count, false);

    // The removed cells' properties are freed, or forgotten where someone else keeps them now.
    if (FHasCellProps) {
        for (int line = at; line < at + count; ++line) {
            for (int k = 0; k < across; ++k) {
                const int c = rows ? k : line;
                const int r = rows ? line : k;
                if (freeProps)
                    freeCellProps(*this, *d, c, r);
                else if (GetGridObject(c, r))
                    SetGridObject(c, r, nullptr);
            }
        }
    }
    {
        TMutedEvent rowEvent(OnRowMoved);
        TMutedEvent colEvent(OnColumnMoved);
        if (rows)
            MoveRowBlock(at, count, total - count);
        for (int k = 0; !rows && k < count; ++k)
            TPlatformStringGrid::ColumnMoved(at, total - 1);
    }
    if (!rows) {
        for (int i = at; i < ColCount() - count; ++i)
            SetColWidths(i, ColWidths(i + count));
    }
    cellLinesRemoved(axis, at, count);
    // The removed lines now lie at the end. Rows past the new count leave the store; the one
    // row a grid always keeps, and columns (the store keeps them past the count for hidden
    // ones), are emptied so that nothing old comes back when lines are added.
    const int keptRows = std::max(1, total - count);
    if (rows)
        ClearStoredRows(total - count, keptRows - (total - count));
    for (int line = total - count; !rows && line < total; ++line) {
        for (int k = 0; k < across; ++k) {
            const int c = rows ? k : line;
            const int r = rows ? line : k;
            if (!GetGridCell(c, r).isEmpty())
                SetGridCell(c, r, QString());
        }
    }
    if (rows) {
        QScopedValueRollback moving(d->linesMoving, true);
        SetRowCount(keptRows);
    } else {
        SetColCount(ColCount() - count);
    }
    areas.finish();
    FMergeCount = mergeCount;
    linesRemoved(axis, at, count, viewOnly);
}

namespace {
// The row marks are kept partly by display row, partly by real row.
struct TMarkNumbering
{
    unsigned display; // row marks kept by display row
    unsigned real;    // row marks kept by real row
};

TMarkNumbering markNumbering(bool persistent, bool viewOnly)
{
    const unsigned flags = TRowMarks::Flags;
    TMarkNumbering n{TRowMarks::Cells | (persistent ? 0u : flags), 0u};
    if (!viewOnly)
        n.real = TRowMarks::RowStates | (persistent ? flags : 0u);
    return n;
}

// Column flags and widths by real column; rows leave them alone.
class THiddenColumnLines final : public ILineCompanion
{
public:
    explicit THiddenColumnLines(THiddenColumns &cols) : m_cols(cols) {}
    void linesInserted(const TLineChange &c) override
    {
        m_cols.linesInserted(c.axis, c.at, c.count);
    }
    void linesRemoved(const TLineChange &c) override { m_cols.linesRemoved(c.axis, c.at, c.count); }
    void linesMoved(const TLineMove &m) override
    {
        for (int k = 0; k < m.count; ++k)
            m_cols.linesMoved(m.axis, m.from < m.to ? m.from : m.from + k,
                              m.from < m.to ? m.to + m.count - 1 : m.to + k);
    }

private:
    THiddenColumns &m_cols;
};

// Row marks, kept by display line and, for rows, partly by real row.
class TRowMarkLines final : public ILineCompanion
{
public:
    explicit TRowMarkLines(TStringGridModelState &s) : m_s(s) {}
    void linesInserted(const TLineChange &c) override
    {
        if (c.axis == TGridAxis::Cols) {
            m_s.rowMarks.linesInserted(c.axis, c.at, c.count);
            return;
        }
        const TMarkNumbering n = numbering(c);
        m_s.rowMarks.linesInserted(c.axis, c.at, c.count, n.display);
        if (n.real)
            m_s.rowMarks.linesInserted(c.axis, c.realAt, c.count, n.real);
    }
    void linesRemoved(const TLineChange &c) override
    {
        if (c.axis == TGridAxis::Cols) {
            m_s.rowMarks.linesRemoved(c.axis, c.at, c.count);
            return;
        }
        const TMarkNumbering n = numbering(c);
        m_s.rowMarks.linesRemoved(c.axis, c.at, c.count, n.display);
        if (n.real)
            m_s.rowMarks.linesRemoved(c.axis, c.realAt, c.count, n.real);
    }
    // Row marks and row flags are kept by display row here; with the hidden-row store they
    // split into display and real numberings (TRowMarks::Part).
    void linesMoved(const TLineMove &m) override
    {
        m_s.rowMarks.linesMoved(m.axis, m.from, m.to, m.count);
    }

private:
    TMarkNumbering numbering(const TLineChange &c) const
    {
        return markNumbering(m_s.mouseActions->RowSelectPersistent(), c.viewOnly);
    }
    TStringGridModelState &m_s;
};

// The sort cross-reference, kept by display row: rows shown again join it too. Rows past its
// end are not its concern; a move past its end fits it first.
class TSortXRefLines final : public ILineCompanion
{
public:
    explicit TSortXRefLines(TStringGridModelState &s) : m_s(s) {}
    void linesInserted(const TLineChange &c) override
    {
        TSortPermutation &x = m_s.sortXRef;
        if (c.axis != TGridAxis::Rows || !x.isInitialised() || c.at > x.count())
            return;
        x.linesInserted(c.axis, c.at, c.count);
    }
    void linesRemoved(const TLineChange &c) override
    {
        TSortPermutation &x = m_s.sortXRef;
        if (c.axis != TGridAxis::Rows || !x.isInitialised() || c.at >= x.count())
            return;
        x.linesRemoved(c.axis, c.at, std::min(c.count, x.count() - c.at));
    }
    // Followed in the single steps the rows moved in, so a list shorter than the rows is
    // fitted exactly as far as each step reaches.
    void linesMoved(const TLineMove &m) override
    {
        if (m.axis != TGridAxis::Rows || !m_s.sortXRef.isInitialised())
            return;
        forEachMoveStep(m, [this](int from, int to) {
            const int needed = std::max(from, to) + 1;
            if (needed > m_s.sortXRef.count())
                m_s.fitSortXRef(needed);
            m_s.sortXRef.linesMoved(TGridAxis::Rows, from, to);
        });
    }

private:
    TStringGridModelState &m_s;
};

// The hidden-row store: hidden rows around the changed ones keep their place among the shown
// rows. Rows only hidden or shown again are the store's own doing.
class THiddenRowLines final : public ILineCompanion
{
public:
    explicit THiddenRowLines(THiddenRows &rows) : m_rows(rows) {}
    void linesInserted(const TLineChange &c) override
    {
        if (!c.viewOnly)
            m_rows.linesInserted(c.axis, c.at, c.count);
    }
    void linesRemoved(const TLineChange &c) override
    {
        if (!c.viewOnly)
            m_rows.linesRemoved(c.axis, c.at, c.count);
    }
    void linesMoved(const TLineMove &m) override
    {
        m_rows.linesMoved(m.axis, m.from, m.to, m.count);
    }

private:
    THiddenRows &m_rows;
};

// Controls placed in cells keep their cell (column and real row); those whose cell goes away
// are hidden and leave the list. Follows the hidden rows, so it comes after them.
class TCellControlLines final : public ILineCompanion
{
public:
    TCellControlLines(TQrlStringGrid &g, TStringGridModelState &s) : m_g(g), m_s(s) {}
    void linesInserted(const TLineChange &c) override
    {
        if (c.viewOnly)
            return;
        const bool rows = c.axis == TGridAxis::Rows;
        for (int i = 0; i < m_s.controlList.Count(); ++i) {
            TControlItem *item = m_s.controlList.GetControl(i);
            int &line = rows ? item->Y : item->X;
            if (line >= c.realAt)
                line += c.count;
        }
    }
    void linesRemoved(const TLineChange &c) override
    {
        if (c.viewOnly)
            return;
        const bool rows = c.axis == TGridAxis::Rows;
        for (int i = m_s.controlList.Count() - 1; i >= 0; --i) {
            TControlItem *item = m_s.controlList.GetControl(i);
            int &line = rows ? item->Y : item->X;
            if (line >= c.realAt + c.count)
                line -= c.count;
            else if (line >= c.realAt)
                dropControl(m_s, i);
        }
    }
    void linesMoved(const TLineMove &m) override
    {
        const bool rows = m.axis == TGridAxis::Rows;
        const int lo = std::min(m.from, m.to);
        const int hi = std::max(m.from, m.to) + m.count - 1;
        for (int i = 0; i < m_s.controlList.Count(); ++i) {
            TControlItem *item = m_s.controlList.GetControl(i);
            if (rows) {
                if (m_g.IsHiddenRow(item->Y))
                    continue;
                const int displ = m_g.DisplRowIndex(item->Y);
                if (displ < lo || displ > hi)
                    continue;
                item->Y = m_g.RealRowIndex(movedLine(displ, m.from, m.to, m.count));
            } else {
                if (item->X < lo || item->X > hi)
                    continue;
                item->X = movedLine(item->X, m.from, m.to, m.count);
            }
            if (QWidget *control = item->Control) {
                const TRect r = m_g.CellRect(item->X, m_g.DisplRowIndex(item->Y));
                control->setGeometry(r.Left - 1, r.Top - 1, r.Right - r.Left + 1,
                                     r.Bottom - r.Top + 1);
            }
        }
    }

private:
    TQrlStringGrid &m_g;
    TStringGridModelState &m_s;
};
} // namespace

// The companions kept by line besides the cells, their properties and the merged areas (which
// insertLines / removeLines / moveLines reshape themselves, as they need the cells before and
// after). The order matters where one reads another: the cell controls map rows through the
// hidden-row store, so they follow it.
void addLineCompanions(TQrlStringGrid &g, TStringGridModelState &s)
{
    s.lineCompanions.add(std::make_unique<THiddenColumnLines>(s.hiddenColumns));
    s.lineCompanions.add(std::make_unique<TRowMarkLines>(s));
    s.lineCompanions.add(std::make_unique<TSortXRefLines>(s));
    s.lineCompanions.add(std::make_unique<THiddenRowLines>(s.hiddenRows));
    s.lineCompanions.add(std::make_unique<TCellControlLines>(g, s));
}

// `at` is a display line; what is kept by real row follows RealRowIndex(at), taken before any
// companion changes.
void TQrlStringGrid::linesInserted(TGridAxis axis, int at, int count, bool viewOnly)
{
    const int realAt = axis == TGridAxis::Rows ? RealRowIndex(at) : at;
    d->lineCompanions.linesInserted({axis, at, count, realAt, viewOnly});
}

void TQrlStringGrid::linesRemoved(TGridAxis axis, int at, int count, bool viewOnly)
{
    const int realAt = axis == TGridAxis::Rows ? RealRowIndex(at) : at;
    d->lineCompanions.linesRemoved({axis, at, count, realAt, viewOnly});
}

// ---- rows ---------------------------------------------------------------------------------------

void TQrlStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls)
{
    InsertRowsCore(RowIndex, RCount, UpdateCellControls);
}

void TQrlStringGrid::InsertRowsCore(int RowIndex, int RCount, bool UpdateCellControls)
{
    require(RCount >= 0 && RowIndex >= 0 && RowIndex <= RowCount() &&
            RCount <= MaxLines - RowCount());
    if (RCount == 0)
        return;
    // The controls placed in cells follow their rows in any case.
    (void)UpdateCellControls;
    {
        TUpdatePair update(*this);
        insertLines(TGridAxis::Rows, RowIndex, RCount, false);
    }
    if (!d->destroying)
        NotifyCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TQrlStringGrid::AddRow()
{
    // A visible floating footer keeps the last row.
    const int at = d->floatingFooter->Visible() ? RowCount() - 1 : RowCount();
    InsertRows(at, 1, true);
    ClearRows(at, 1);
}

void TQrlStringGrid::RemoveRows(int RowIndex, int RCount)
{
    // A start at or past the end removes nothing (it used to drop rows without freeing them).
    if (RCount <= 0 || RowIndex >= RowCount())
        return;
    require(RowIndex >= 0 && RCount <= RowCount() - RowIndex);
    {
        TUpdatePair update(*this);
        removeLines(TGridAxis::Rows, RowIndex, RCount, true, false);
        d->maxRowCount = std::max(RowCount(), d->maxRowCount - RCount);
        settleCursor(*this);
    }
    NotifyCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TQrlStringGrid::RemoveRowsEx(int RowIndex, int RCount)
{
    require(RCount >= 0 && RowIndex >= 0 && RowIndex < RowCount() &&
            RCount <= RowCount() - RowIndex);
    if (RCount == 0)
        return;
    {
        TUpdatePair update(*this);
        removeLines(TGridAxis::Rows, RowIndex, RCount, false, true);
        d->maxRowCount = std::max(RowCount(), d->maxRowCount - RCount);
        settleCursor(*this);
    }
    NotifyCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TQrlStringGrid::RemoveRowsAndProps(int RowIndex, int RCount)
{
    deleteRows(RowIndex, RCount, true, true);
}

void TQrlStringGrid::DeleteRowsPlain(int RowIndex, int RCount, bool RemoveControls)
{
    deleteRows(RowIndex, RCount, RemoveControls, false);
}

void TQrlStringGrid::deleteRows(int RowIndex, int RCount, bool RemoveControls, bool FreeProps)
{
    if (RowIndex >= RowCount())
        return;
    require(RowIndex >= 0 && RCount >= 0 && RCount <= RowCount() - RowIndex);
    if (RCount == 0)
        return;
    {
        TUpdatePair update(*this);
        if (HasNodes() && Row() < RowCount())
            SetCol(FixedCols());
        // Without RemoveControls the rows go to the hidden-row store, which keeps their cells.
        removeLines(TGridAxis::Rows, RowIndex, RCount, FreeProps, !RemoveControls);
        settleCursor(*this);
    }
    NotifyCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TQrlStringGrid::RemoveDuplicates(int ACol, bool DoCase)
{
    require(ACol >= 0 && ACol < ColCount());
    // DoCase only chose how the seen texts were kept; the comparison ignores case either way.
    (void)DoCase;
    const int c = RealColIndex(ACol);
    TUpdatePair update(*this);
    QSet<QString> seen;
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        const QString key = GetCellEx(c, r).toCaseFolded();
        if (seen.contains(key)) {
            RemoveRowsAndProps(r, 1);
        } else {
            seen.insert(key);
            ++r;
        }
    }
}

void TQrlStringGrid::RemoveSelectedRows()
{
    TUpdatePair update(*this);
    if (d->mouseActions->DisjunctRowSelect()) {
        const bool persistent = d->mouseActions->RowSelectPersistent();
        // From the bottom up, so the indexes of the rows still to look at stay put.
        for (int r = RowCount() - FixedFooters() - 1; r >= FixedRows(); --r)
            if (GetRowSelect(persistent ? RealRowIndex(r) : r))
                RemoveRowsAndProps(r, 1);
        ClearRowSelect();
        return;
    }
    const TGridRect s = Selection();
    const int top = std::max(0, std::min(s.Top, s.Bottom));
    const int bottom = std::min(std::max(s.Top, s.Bottom), RowCount() - 1);
    for (int r = bottom; r >= top; --r)
        RemoveRowsAndProps(r, 1);
}

void TQrlStringGrid::RemoveUnSelectedRows()
{
    TUpdatePair update(*this);
    for (int r = RowCount() - FixedFooters() - 1; r >= FixedRows(); --r)
        if (!GetRowSelect(r))
            RemoveRowsAndProps(r, 1);
    if (d->mouseActions->RowSelectPersistent())
        SelectRows(FixedRows(), RowCount() - FixedRows());
    else
        ClearRowSelect();
}

namespace {
// Runs of consecutive rows, from the bottom up, so that removing or hiding one run leaves the
// rows of the runs above where they were.
template <typename Act> void forRunsBottomUp(const std::vector<int> &rows, Act act)
{
    for (size_t end = rows.size(); end > 0;) {
        size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] == rows[begin] - 1)
            --begin;
        act(rows[begin], rows[end - 1]);
        end = begin;
    }
}

// The last row above the fixed footers and the floating footer's row.
int lastDataRow(const TQrlStringGrid &g)
{
    return g.RowCount() - g.FixedFooters() - (g.FloatingFooter()->Visible() ? 2 : 1);
}

// The data rows that are selected (or not). Which rows those are is decided before any row is
// hidden: with the selection rectangle, hiding rows above it would shift others under it.
std::vector<int> selectedDataRows(const TQrlStringGrid &g, bool selected)
{
    const bool disjunct = g.MouseActions()->DisjunctRowSelect();
    const bool persistent = g.MouseActions()->RowSelectPersistent();
    const TGridRect s = g.Selection();
    const int top = std::min(s.Top, s.Bottom);
    const int bottom = std::max(s.Top, s.Bottom);
    std::vector<int> rows;
    for (int r = g.FixedRows(); r <= lastDataRow(g); ++r) {
        const bool sel =
            disjunct ? g.GetRowSelect(persistent ? g.RealRowIndex(r) : r) : r >= top && r <= bottom;
        if (sel == selected)
            rows.push_back(r);
    }
    return rows;
}
} // namespace

void TQrlStringGrid::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked)
{
    // Footer rows are left alone: they have no check box, so they would read unchecked.
    std::vector<int> rows;
    for (int r = FixedRows(); r <= lastDataRow(*this); ++r)
        if (IsChecked(CheckBoxColumn, r) == RemoveChecked)
            rows.push_back(r);
    TUpdatePair update(*this);
    forRunsBottomUp(rows, [this](int first, int last) { RemoveRows(first, last - first + 1); });
}

void TQrlStringGrid::HideSelectedRows()
{
    const std::vector<int> rows = selectedDataRows(*this, true);
    TUpdatePair update(*this);
    // Between two display rows of a run only rows already hidden lie, which HideRows passes.
    forRunsBottomUp(
        rows, [this](int first, int last) { HideRows(RealRowIndex(first), RealRowIndex(last)); });
}

void TQrlStringGrid::HideUnSelectedRows()
{
    const std::vector<int> rows = selectedDataRows(*this, false);
    TUpdatePair update(*this);
    forRunsBottomUp(
        rows, [this](int first, int last) { HideRows(RealRowIndex(first), RealRowIndex(last)); });
}

// ---- columns ------------------------------------------------------------------------------------

void TQrlStringGrid::InsertCols(int ColIndex, int CCount)
{
    require(CCount >= 0 && ColIndex >= 0 && ColIndex <= ColCount() &&
            CCount <= MaxLines - TotalColCount());
    if (CCount == 0)
        return;
    TUpdatePair update(*this);
    insertLines(TGridAxis::Cols, ColIndex, CCount, false);
}

void TQrlStringGrid::AddColumn()
{
    InsertCols(ColCount(), 1);
}

void TQrlStringGrid::RemoveCols(int ColIndex, int CCount)
{
    require(CCount >= 0 && ColIndex >= 0 && ColIndex < ColCount());
    // Hidden columns are not reached through display columns.
    CCount = std::min(CCount, ColCount() - ColIndex);
    if (CCount == 0)
        return;
    {
        TUpdatePair update(*this);
        ClearCols(ColIndex, CCount);
        removeLines(TGridAxis::Cols, ColIndex, CCount, true, false);
    }
    NotifyCellsChanged({ColIndex, 0, ColIndex + CCount, RowCount() - 1});
}

void TQrlStringGrid::RemoveSelectedCols()
{
    TUpdatePair update(*this);
    if (d->mouseActions->DisjunctColSelect()) {
        // A removed column's flag goes with it.
        for (int c = ColCount() - 1; c >= FixedCols(); --c)
            if (GetColSelect(c))
                RemoveCols(c, 1);
        return;
    }
    const TGridRect s = Selection();
    const int left = std::max(0, std::min(s.Left, s.Right));
    const int right = std::min(std::max(s.Left, s.Right), ColCount() - 1);
    if (right >= left)
        RemoveCols(left, right - left + 1);
}

void TQrlStringGrid::RemoveUnSelectedCols()
{
    TUpdatePair update(*this);
    if (d->mouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c)
            if (!GetColSelect(c))
                RemoveCols(c, 1);
    } else {
        const TGridRect s = Selection();
        const int left = std::max(FixedCols(), std::min(s.Left, s.Right));
        const int right = std::max(s.Left, s.Right);
        if (right + 1 < ColCount())
            RemoveCols(right + 1, ColCount() - right - 1);
        if (left > FixedCols())
            RemoveCols(FixedCols(), left - FixedCols());
    }
    ClearColSelect();
}

// ---- clearing, trimming, colouring ------------------------------------------------------------

bool TQrlStringGrid::NilObjects() const
{
    return d->nilObjects;
}

void TQrlStringGrid::SetNilObjects(bool Value)
{
    d->nilObjects = Value;
}

bool TQrlStringGrid::BlockCellChange() const
{
    return d->blockCellChange;
}

void TQrlStringGrid::SetBlockCellChange(bool Value)
{
    d->blockCellChange = Value;
}

void TQrlStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol2 < ACol1 || ARow2 < ARow1)
        return;
    require(ACol1 >= 0 && ARow1 >= 0 && ACol2 < TotalColCount() && ARow2 < RowCount());
    const bool textOnly = d->clearTextOnly;
    const bool nil = d->nilObjects;
    auto storeCol = [this](int i) { return d->saveHiddenCells ? RealColIndex(i) : i; };

    // An area that loses its cells' properties is split; one reaching out of the rectangle is
    // merged again afterwards, its cleared cells with fresh properties.
    std::vector<TMergedArea> remerge;
    const int mergeCount = FMergeCount;
    if (!textOnly && !nil && FHasCellProps && MergedSpans().count() > 0) {
        std::vector<char> cleared(static_cast<size_t>(TotalColCount()), 0);
        for (int i = ACol1; i <= ACol2; ++i)
            if (const int c = storeCol(i); c >= 0 && c < TotalColCount())
                cleared[static_cast<size_t>(c)] = 1;
        for (const TMergedArea &a : MergedSpans().areas()) {
            if (a.lastRow() < ARow1 || a.row > ARow2)
                continue;
            bool touched = false;
            bool inside = a.row >= ARow1 && a.lastRow() <= ARow2;
            for (int c = a.col; c <= a.lastCol(); ++c) {
                const bool hit = c < TotalColCount() && cleared[static_cast<size_t>(c)];
                touched = touched || hit;
                inside = inside && hit;
            }
            if (!touched)
                continue;
            splitArea(*this, a);
            if (!inside)
                remerge.push_back(a);
        }
    }

    // Rows whose cells in the rectangle are plain texts are cleared in the store by row range;
    // a row with cell properties goes cell by cell, as its texts may belong to other cells.
    const bool contiguous = !d->saveHiddenCells || NumHiddenColumns() == 0;
    int plainFrom = ARow1;
    auto clearPlainRows = [&](int last) {
        if (d->destroying || last < plainFrom)
            return;
        bool lastRowText = false;
        if (FHideLastRow && last == RowCount() - 1)
            for (int c = ACol1; c <= ACol2 && !lastRowText; ++c)
                lastRowText = !Store().TextView(c, last).isEmpty();
        ClearStoredRect(ACol1, plainFrom, ACol2, last);
        Invalidate();
        if (lastRowText)
            LastRowChanged();
    };
    for (int r = ARow1; r <= ARow2; ++r) {
        if (contiguous) {
            bool props = false;
            if (FHasCellProps)
                Store().ForEachObject(r, [&](int c, void *) { props |= c >= ACol1 && c <= ACol2; });
            if (!props)
                continue;
            clearPlainRows(r - 1);
            plainFrom = r + 1;
        }
        for (int i = ACol1; i <= ACol2; ++i) {
            const int c = storeCol(i);
            if (!textOnly && GetGridObject(c, r)) {
                if (nil) {
                    SetGridCell(c, r, QString());
                    SetGridObject(c, r, nullptr);
                } else {
                    freeCellProps(*this, *d, c, r);
                }
            }
            // The stored text is looked at in place: most cells of a large clear are empty or
            // about to be, and a copy per cell would cost more than the clear.
            if (!d->destroying && !Store().TextView(c, r).isEmpty()) {
                // A covered cell's own text, not its area's.
                if (IsMergedNonBaseCell(c, r))
                    SetGridCell(c, r, QString());
                else
                    SetCellEx(c, r, QString());
                if (c != i)
                    RepaintCell(i, r);
            }
        }
    }
    if (contiguous)
        clearPlainRows(ARow2);
    for (const TMergedArea &a : remerge)
        MergeCells(a.col, a.row, a.width, a.height);
    FMergeCount = mergeCount;

    if (!textOnly && remerge.empty() && ACol1 == 0 && ARow1 == 0 && ACol2 >= TotalColCount() - 1 &&
        ARow2 >= RowCount() - 1)
        FHasCellProps = false;
    if (!d->destroying && !d->blockCellChange)
        NotifyCellsChanged({RealColIndex(ACol1), ARow1, RealColIndex(ACol2), ARow2});
}

void TQrlStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (RCount <= 0)
        return;
    ClearRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
}

void TQrlStringGrid::ClearCols(int ColIndex, int CCount)
{
    if (CCount <= 0)
        return;
    ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TQrlStringGrid::ClearNormalRows(int RowIndex, int RCount)
{
    ClearRect(FixedCols(), RowIndex, TotalColCount() - FixedRightCols() - 1, RowIndex + RCount - 1);
}

void TQrlStringGrid::ClearNormalCols(int ColIndex, int CCount)
{
    ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FixedFooters() - 1);
}

void TQrlStringGrid::ClearNormalCells()
{
    ClearRect(FixedCols(), FixedRows(), TotalColCount() - FixedRightCols() - 1,
              RowCount() - FixedFooters() - 1);
}

void TQrlStringGrid::Clear()
{
    ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
    d->searchInc.clear();
    if (NumHiddenColumns() > 0)
        Invalidate();
}

void TQrlStringGrid::ClearAll()
{
    Clear();
    // Hidden rows stay hidden, with empty cells.
    for (int r = 0; r < TotalRowCount(); ++r) {
        if (!IsHiddenRow(r))
            continue;
        if (QStringList *cells = HiddenRowCells(r))
            for (QString &s : *cells)
                s.clear();
    }
}

void TQrlStringGrid::ClearSelection()
{
    if (d->mouseActions->DisjunctRowSelect()) {
        const bool persistent = d->mouseActions->RowSelectPersistent();
        for (int r = 0; r < RowCount(); ++r)
            if (GetRowSelect(persistent ? RealRowIndex(r) : r))
                ClearRows(r, 1);
    } else if (d->mouseActions->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (GetColSelect(c))
                ClearCols(c, 1);
    } else {
        // A hidden selection lies outside the grid and clears nothing.
        const TGridRect s = Selection();
        ClearRect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom),
                  std::min(std::max(s.Left, s.Right), TotalColCount() - 1),
                  std::min(std::max(s.Top, s.Bottom), RowCount() - 1));
    }
}

void TQrlStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol2 < ACol1 || ARow2 < ARow1)
        return;
    require(ACol1 >= 0 && ARow1 >= 0 && ACol2 < TotalColCount() && ARow2 < RowCount());
    TUpdatePair update(*this);
    for (int r = ARow1; r <= ARow2; ++r) {
        for (int i = ACol1; i <= ACol2; ++i) {
            const int c = d->saveHiddenCells ? RealColIndex(i) : i;
            const QString s = GetGridCell(c, r);
            const QString t = trimBlanks(s);
            if (t.size() == s.size())
                continue;
            if (IsMergedNonBaseCell(c, r))
                SetGridCell(c, r, t);
            else
                SetCellEx(c, r, t);
        }
    }
}

void TQrlStringGrid::TrimColumn(int ACol)
{
    TrimRect(ACol, 0, ACol, RowCount() - 1);
}

void TQrlStringGrid::TrimRow(int ARow)
{
    TrimRect(0, ARow, ColCount() - 1, ARow);
}

void TQrlStringGrid::TrimAll()
{
    TrimRect(0, 0, ColCount() - 1, RowCount() - 1);
}

void TQrlStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor)
{
    if (ACol2 < ACol1 || ARow2 < ARow1)
        return;
    require(ACol1 >= 0 && ARow1 >= 0 && ACol2 < TotalColCount() && ARow2 < RowCount());
    TUpdatePair update(*this);
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c)
            SetColors(c, r, AColor);
}

// ---- merging and splitting ------------------------------------------------------------------

void TQrlStringGrid::MergeCols(int ColIndex1, int ColIndex2, const QString &Separator)
{
    require(ColIndex1 >= 0 && ColIndex1 < ColCount() && ColIndex2 >= 0 && ColIndex2 < ColCount());
    TUpdatePair update(*this);
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCellEx(ColIndex1, r,
                  trimBlanks(GetCellEx(ColIndex1, r) + Separator + GetCellEx(ColIndex2, r)));
    RemoveCols(ColIndex2, 1);
}

void TQrlStringGrid::MergeColumnCells(int ACol, bool MainMerge)
{
    require(ACol >= 0 && ACol < TotalColCount());
    // MainMerge merges by the texts alone; otherwise a run also stays inside the vertical
    // merges already made in the other columns.
    int start = FixedRows();
    int run = 1;
    const int end = RowCount() - FixedFooters();
    for (int r = start + 1; r < end; ++r) {
        if (GetCellEx(ACol, r) == GetCellEx(ACol, r - 1) &&
            (MainMerge || RowSpanIdentical(r, r - 1))) {
            ++run;
            continue;
        }
        if (run >= 2)
            MergeCells(ACol, start, 1, run);
        start = r;
        run = 1;
    }
    if (run >= 2)
        MergeCells(ACol, start, 1, run);
}

void TQrlStringGrid::MergeRowCells(int RowIndex, bool MainMerge)
{
    require(RowIndex >= 0 && RowIndex < RowCount());
    int start = FixedCols();
    int run = 1;
    const int end = ColCount() - FixedRightCols();
    for (int c = start + 1; c < end; ++c) {
        if (GetCellEx(c, RowIndex) == GetCellEx(c - 1, RowIndex) &&
            (MainMerge || ColSpanIdentical(c, c - 1))) {
            ++run;
            continue;
        }
        // Inside the row a single cell becomes an area of its own as well.
        MergeCells(start, RowIndex, run, 1);
        start = c;
        run = 1;
    }
    if (run >= 2)
        MergeCells(start, RowIndex, run, 1);
}

void TQrlStringGrid::SplitColumnCells(int ACol)
{
    require(ACol >= 0 && ACol < TotalColCount());
    int r = 0;
    while (r < RowCount() - FixedFooters() - 1) {
        if (IsYMergedCell(ACol, r)) {
            const int span = CellSpan(ACol, r).Y;
            SplitCells(ACol, r);
            r += span + 1;
        } else {
            ++r;
        }
    }
}

void TQrlStringGrid::SplitRowCells(int RowIndex)
{
    require(RowIndex >= 0 && RowIndex < RowCount());
    int c = 0;
    while (c < ColCount() - FixedRightCols() - 1) {
        if (HasCellProperties(c, RowIndex) && MergedSpans().areaAt(c, RowIndex)) {
            const int span = CellSpan(c, RowIndex).X;
            SplitCells(c, RowIndex);
            c += span + 1;
        } else {
            ++c;
        }
    }
}

void TQrlStringGrid::SplitAllCells()
{
    for (const TMergedArea &a : MergedSpans().areas())
        if (a.row < RowCount() && a.col < ColCount())
            splitArea(*this, a);
}

// ---- finding ------------------------------------------------------------------------------------

bool TQrlStringGrid::IsCell(const QString &SubStr, int &ACol, int &ARow) const
{
    for (int r = 0; r < RowCount(); ++r) {
        for (int c = 0; c < ColCount(); ++c) {
            if (GetGridCell(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
        }
    }
    return false;
}

bool TQrlStringGrid::IsWideCell(int ACol, int ARow) const
{
    const TGridCoord b = BaseCell(ACol, ARow);
    return GetGridCell(b.X, b.Y).startsWith(QLatin1String("|\\"));
}
