// Hidden columns and rows, and the display and real indexes that follow from them.
//
// A hidden column keeps its cells in the store under its real index; only the widths, which
// belong to display positions, move. A hidden row leaves the store: its cells, cell properties
// and height wait in the hidden-row store until it is shown again.
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QScopedValueRollback>

#include <algorithm>

// ---- columns ------------------------------------------------------------------------------

int TQrlStringGrid::NumHiddenColumns() const
{
    return d->hiddenColumns.count();
}

int TQrlStringGrid::TotalColCount() const
{
    return ColCount() + NumHiddenColumns();
}

bool TQrlStringGrid::IsHiddenColumn(int ACol) const
{
    return d->hiddenColumns.isHidden(ACol);
}

int TQrlStringGrid::DisplColIndex(int ACol) const
{
    return d->hiddenColumns.realToDispl(ACol);
}

int TQrlStringGrid::RealColIndex(int ACol) const
{
    return d->hiddenColumns.displToReal(ACol);
}

int TQrlStringGrid::RealCol() const
{
    return RealColIndex(Col());
}

bool TQrlStringGrid::IsIgnoredColumn(int ACol) const
{
    return d->ignoreColumns.HasValue(ACol);
}

void TQrlStringGrid::HideColumn(int ColIndex)
{
    HideColumns(ColIndex, ColIndex);
}

void TQrlStringGrid::HideColumns(int FromCol, int ToCol)
{
    if (EditorMode())
        HideEditor();
    // Columns beyond the visibility table cannot be hidden: they are ignored rather than
    // written past its end.
    FromCol = std::max(FromCol, 0);
    ToCol = std::min(ToCol, THiddenColumns::TableSize - 1);
    bool changed = false;
    for (int c = FromCol; c <= ToCol; ++c) {
        if (IsHiddenColumn(c) || c >= TotalColCount() || ColCount() <= 1)
            continue;
        const int pos = DisplColIndex(c);
        const int width = ColWidths(pos);
        for (int i = pos; i < ColCount() - 1; ++i)
            SetColWidths(i, ColWidths(i + 1));
        d->hiddenColumns.hide(c, width);
        if (Col() == ColCount() - 1 && Col() > 0)
            SetCol(Col() - 1);
        TBaseGrid::SetColCount(ColCount() - 1);
        changed = true;
    }
    if (changed)
        Invalidate();
}

void TQrlStringGrid::UnHideColumn(int ColIndex)
{
    UnHideColumns(ColIndex, ColIndex);
}

void TQrlStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    if (EditorMode())
        HideEditor();
    FromCol = std::max(FromCol, 0);
    ToCol = std::min(ToCol, THiddenColumns::TableSize - 1);
    bool changed = false;
    for (int c = FromCol; c <= ToCol; ++c) {
        if (!d->hiddenColumns.show(c))
            continue;
        TBaseGrid::SetColCount(ColCount() + 1);
        const int pos = DisplColIndex(c);
        for (int i = ColCount() - 1; i > pos; --i)
            SetColWidths(i, ColWidths(i - 1));
        SetColWidths(pos, d->hiddenColumns.width(c));
        changed = true;
    }
    if (changed)
        Invalidate();
}

void TQrlStringGrid::UnHideColumnsAll()
{
    UnHideColumns(0, ColCount() + d->hiddenColumns.count());
}

// ---- rows -------------------------------------------------------------------------------------

// The rows are put in place here: the footer row is not moved along by the count.
void TQrlStringGrid::setRowCountInPlace(int Value)
{
    QScopedValueRollback moving(d->linesMoving, true);
    SetRowCount(Value);
}

int TQrlStringGrid::NumHiddenRows() const
{
    return d->hiddenRows.count();
}

int TQrlStringGrid::TotalRowCount() const
{
    return RowCount() + NumHiddenRows();
}

int TQrlStringGrid::RealRowIndex(int ARow) const
{
    if (d->hiddenRows.empty())
        return ARow;
    return d->hiddenRows.displToReal(ARow);
}

int TQrlStringGrid::DisplRowIndex(int ARow) const
{
    if (d->hiddenRows.empty())
        return ARow;
    return d->hiddenRows.realToDispl(ARow);
}

bool TQrlStringGrid::IsHiddenRow(int ARow) const
{
    return d->hiddenRows.isHidden(ARow);
}

bool TQrlStringGrid::IsHiddenRow(int ARow, TIntList *&ListHidden) const
{
    if (!ListHidden) {
        ListHidden = new TIntList();
        for (int i = 0; i < d->hiddenRows.count(); ++i)
            ListHidden->Add(d->hiddenRows.item(i)->Idx());
    }
    return ListHidden->HasValue(ARow);
}

int TQrlStringGrid::RealRow() const
{
    return RealRowIndex(Row());
}

int TQrlStringGrid::FilterLevel() const
{
    return d->filterLevel;
}

void TQrlStringGrid::SetFilterLevel(int Value)
{
    d->filterLevel = Value;
}

TGridItem *TQrlStringGrid::HiddenRowItem(int i) const
{
    return i >= 0 && i < d->hiddenRows.count() ? d->hiddenRows.item(i) : nullptr;
}

QStringList *TQrlStringGrid::HiddenRowCells(int ARow) const
{
    if (d->hiddenRows.empty())
        return nullptr;
    TGridItem *it = d->hiddenRows.find(ARow);
    return it ? &it->Items() : nullptr;
}

QVector<void *> *TQrlStringGrid::HiddenRowObjects(int ARow) const
{
    if (d->hiddenRows.empty())
        return nullptr;
    TGridItem *it = d->hiddenRows.find(ARow);
    return it ? &it->Objects() : nullptr;
}

// A display row's cells (every real column), cell properties and height, taken out of the
// store as the row's block; the row is left empty.
std::unique_ptr<TGridItem> TQrlStringGrid::takeRow(int ARow)
{
    auto item = std::make_unique<TGridItem>();
    item->SetStoredRow(TakeRowCells(ARow), TotalColCount());
    item->SetHeight(RowHeights(ARow));
    return item;
}

void TQrlStringGrid::adoptRowProps(int ARow)
{
    if (!FHasCellProps)
        return;
    Store().ForEachObject(ARow, [this, ARow](int c, void *o) {
        // The slot is emptied first, so that the properties are taken in afresh.
        SetGridObject(c, ARow, nullptr);
        AdoptCellProperties(c, ARow, static_cast<TCellProperties *>(o));
    });
}

// Puts stored cells into an empty display row. A row still kept as its block goes back as it
// is; one read or written through its lists since brings every listed text back, also one
// written past the columns while the row was hidden: the store keeps cells beyond the counts.
void TQrlStringGrid::putRow(int ARow, TGridItem &Item)
{
    if (Item.HasStoredRow()) {
        PutRowCells(ARow, Item.TakeStoredRow());
        adoptRowProps(ARow);
        InvalidateRow(ARow);
        SetRowHeights(ARow, Item.Height());
        return;
    }
    const int cols = static_cast<int>(Item.Items().size());
    const int objs = std::min<int>(TotalColCount(), static_cast<int>(Item.Objects().size()));
    for (int c = 0; c < cols; ++c) {
        if (Item.Items()[c] != GetGridCell(c, ARow))
            SetGridCell(c, ARow, Item.Items()[c]);
        if (c < objs && Item.Objects()[c])
            AdoptCellProperties(c, ARow, static_cast<TCellProperties *>(Item.Objects()[c]));
    }
    SetRowHeights(ARow, Item.Height());
}

// The row's block moves to an empty row, its height along.
void TQrlStringGrid::moveRowContents(int From, int To)
{
    if (From == To)
        return;
    const int height = RowHeights(From);
    PutRowCells(To, TakeRowCells(From));
    adoptRowProps(To);
    InvalidateRow(From);
    InvalidateRow(To);
    SetRowHeights(To, height);
}

// Cell properties of a stored row that is dropped for good; the shared graphics stay.
void TQrlStringGrid::releaseRow(TGridItem &Item)
{
    for (void *o : Item.Objects()) {
        auto *p = static_cast<TCellProperties *>(o);
        if (!p)
            continue;
        const TPersistent *g = p->GraphicObject();
        if (g && (g == d->cellGraphic.get() || g == d->rowCheckBox.get()))
            p->SetGraphicObject(nullptr);
        ReleaseCellProperties(p);
    }
    Item.Objects().clear();
}

void TQrlStringGrid::HideRow(int RowIndex)
{
    HideRows(RowIndex, RowIndex);
}

void TQrlStringGrid::HideRows(int FromRow, int ToRow)
{
    FromRow = std::max(FromRow, 0);
    if (ToRow < FromRow)
        return;
    // The shown rows of the range stand one after another in the view.
    std::vector<int> reals;
    for (int r = FromRow; r <= ToRow; ++r)
        if (!d->hiddenRows.isHidden(r) && DisplRowIndex(r) < RowCount())
            reals.push_back(r);
    if (reals.empty())
        return;
    const int at = DisplRowIndex(reals.front());
    const int count = static_cast<int>(reals.size());
    int pos = d->hiddenRows.countBelow(FromRow);
    {
        TUpdatePair lock(*this);
        std::vector<std::unique_ptr<TGridItem>> items;
        for (int i = 0; i < count; ++i) {
            items.push_back(takeRow(at + i));
            items.back()->SetIdx(reals[static_cast<size_t>(i)]);
        }
        if (QWidget *w = GetCellControls(1, at))
            w->setVisible(false);
        removeLines(TGridAxis::Rows, at, count, false, true);
        for (auto &it : items)
            d->hiddenRows.insert(pos++, std::move(it));
    }
}

void TQrlStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    if (d->hiddenRows.isHidden(FromRow) || ToRow < FromRow || FromRow < 0)
        return;
    const int at = DisplRowIndex(FromRow);
    const int count = std::min(ToRow - FromRow + 1, RowCount() - at);
    if (count <= 0)
        return;
    std::vector<std::unique_ptr<TGridItem>> items;
    for (int i = 0; i < count; ++i) {
        // The height goes with the row too, so that it comes back as it was.
        items.push_back(takeRow(at + i));
        items.back()->SetIdx(RealRowIndex(at + i));
    }
    RemoveRowsEx(at, count);
    for (auto &it : items)
        d->hiddenRows.append(std::move(it));
}

void TQrlStringGrid::HideRowList(const TIntList &RowList)
{
    std::vector<int> rows;
    for (int i = 0; i < RowList.Count(); ++i) {
        const int r = RowList.Items(i);
        if (r >= 0 && r < RowCount())
            rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const int level = d->filterLevel++;
    if (rows.empty())
        return;
    TUpdatePair lock(*this);
    // One pass: listed rows go to the store, the others close up in order.
    int write = 0;
    size_t next = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (next < rows.size() && rows[next] == r) {
            std::unique_ptr<TGridItem> item = takeRow(r);
            item->SetIdx(r);
            item->SetLevel(level);
            d->hiddenRows.append(std::move(item));
            ++next;
        } else {
            moveRowContents(r, write++);
        }
    }
    setRowCountInPlace(RowCount() - static_cast<int>(rows.size()));
}

void TQrlStringGrid::UnHideRow(int RowIndex)
{
    UnHideRows(RowIndex, RowIndex);
}

void TQrlStringGrid::UnHideRows(int FromRow, int ToRow)
{
    if (!d->hiddenRows.isHidden(FromRow) || ToRow < FromRow)
        return;
    const bool modified = d->showModified->Enabled();
    d->showModified->SetEnabled(false);
    // The stored rows of the range, lowest first.
    std::vector<std::pair<int, int>> found; // (row, store position)
    for (int i = 0; i < d->hiddenRows.count(); ++i) {
        const int idx = d->hiddenRows.item(i)->Idx();
        if (idx >= FromRow && idx <= ToRow)
            found.emplace_back(idx, i);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end(),
                            [](const auto &a, const auto &b) { return a.first == b.first; }),
                found.end());
    std::vector<std::unique_ptr<TGridItem>> items;
    {
        std::vector<int> positions;
        for (const auto &f : found)
            positions.push_back(f.second);
        std::vector<std::unique_ptr<TGridItem>> all = d->hiddenRows.takeAll();
        for (int pos : positions)
            items.push_back(std::move(all[static_cast<size_t>(pos)]));
        for (auto &it : all)
            if (it)
                d->hiddenRows.append(std::move(it));
    }
    const int at = DisplRowIndex(FromRow);
    {
        TUpdatePair lock(*this);
        // Each row goes in at its own place, so that whatever the grid keeps by display row
        // (merged areas, marks) stays with the shown rows around it.
        for (auto &it : items) {
            const int row = at + (it->Idx() - FromRow);
            insertLines(TGridAxis::Rows, row, 1, true);
            putRow(row, *it);
        }
        if (QWidget *w = GetCellControls(1, at))
            w->setVisible(true);
    }
    d->showModified->SetEnabled(modified);
}

void TQrlStringGrid::UnHideRowsAll()
{
    if (d->hiddenRows.empty())
        return;
    // Marks and merged areas are kept by display row; with any of them the rows come back
    // run by run, each in its place.
    if (FMergeCount > 0 || d->rowMarks.selectedRowCount() > 0 || d->rowMarks.cellCount() > 0 ||
        !d->rowMarks.flaggedRows().empty()) {
        while (!d->hiddenRows.empty()) {
            int first = d->hiddenRows.item(0)->Idx();
            for (int i = 1; i < d->hiddenRows.count(); ++i)
                first = std::min(first, d->hiddenRows.item(i)->Idx());
            int last = first;
            while (d->hiddenRows.isHidden(last + 1))
                ++last;
            const int before = d->hiddenRows.count();
            UnHideRows(first, last);
            if (d->hiddenRows.count() == before)
                break;
        }
        return;
    }
    const bool modified = d->showModified->Enabled();
    d->showModified->SetEnabled(false);
    // One merge from the bottom: every shown row and every stored row goes to its rank in
    // real-row order, so showing many scattered rows costs one pass.
    std::vector<std::pair<long long, int>> stored; // (row, store position)
    for (int i = 0; i < d->hiddenRows.count(); ++i)
        stored.emplace_back(d->hiddenRows.item(i)->Idx(), i);
    std::sort(stored.begin(), stored.end());
    const int shown = RowCount();
    const int total = shown + static_cast<int>(stored.size());
    {
        TUpdatePair lock(*this);
        // Where each shown row belongs, asked while the store still holds every index.
        std::vector<int> shownReal(static_cast<size_t>(shown));
        for (int r = 0; r < shown; ++r)
            shownReal[static_cast<size_t>(r)] = d->hiddenRows.displToReal(r);
        std::vector<std::unique_ptr<TGridItem>> byPos = d->hiddenRows.takeAll();
        std::vector<std::unique_ptr<TGridItem>> items(stored.size());
        for (size_t i = 0; i < stored.size(); ++i)
            items[i] = std::move(byPos[static_cast<size_t>(stored[i].second)]);
        setRowCountInPlace(total);
        int s = shown - 1;
        int h = static_cast<int>(stored.size()) - 1;
        for (int target = total - 1; target >= 0; --target) {
            // Ties go to the stored row: it has that index, the shown one only follows it.
            const bool takeStored = h >= 0 && (s < 0 || stored[static_cast<size_t>(h)].first >=
                                                            shownReal[static_cast<size_t>(s)]);
            if (takeStored) {
                SetRowHeights(target, DefaultRowHeight());
                putRow(target, *items[static_cast<size_t>(h)]);
                --h;
            } else {
                const int height = RowHeights(s);
                moveRowContents(s, target);
                SetRowHeights(target, height);
                --s;
            }
        }
    }
    d->showModified->SetEnabled(modified);
}

void TQrlStringGrid::UnHideRowList()
{
    const int level = d->filterLevel - 1;
    int n = 0;
    for (int i = 0; i < d->hiddenRows.count(); ++i)
        n += d->hiddenRows.item(i)->Level() == level;
    if (Row() >= RowCount() && FixedRows() < RowCount() && FixedCols() < ColCount())
        MoveColRow(FixedCols(), FixedRows(), true, true);
    {
        TUpdatePair lock(*this);
        const int shown = RowCount();
        const int total = shown + n;
        setRowCountInPlace(total);
        // The latest level's rows by their index; the footer row stays last.
        std::vector<std::pair<int, int>> latest; // (row, store position)
        for (int i = 0; i < d->hiddenRows.count(); ++i)
            if (d->hiddenRows.item(i)->Level() == level)
                latest.emplace_back(d->hiddenRows.item(i)->Idx(), i);
        std::sort(latest.begin(), latest.end());
        int source = shown - 1;
        int target = total - 1;
        if (d->floatingFooter && d->floatingFooter->Visible() && source >= 0) {
            moveRowContents(source--, target--);
        }
        int h = static_cast<int>(latest.size()) - 1;
        for (; target >= 0; --target) {
            if (h >= 0 && (latest[static_cast<size_t>(h)].first >= target || source < 0)) {
                TGridItem *it = d->hiddenRows.item(latest[static_cast<size_t>(h)].second);
                putRow(target, *it);
                it->Items().clear();
                it->Objects().clear();
                --h;
            } else if (source >= 0) {
                const int height = RowHeights(source);
                moveRowContents(source--, target);
                SetRowHeights(target, height);
            }
        }
        if (d->filterLevel < 2) {
            // The first level's removal also drops the rows hidden directly.
            for (int i = 0; i < d->hiddenRows.count(); ++i)
                releaseRow(*d->hiddenRows.item(i));
            d->hiddenRows.clear();
        } else {
            d->hiddenRows.dropLevel(level);
        }
    }
}
