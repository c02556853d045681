// Test support for the string grid: a coordinate fill, a column's texts, and the consistency of
// cell properties with the merged areas.
#pragma once

#include "grid/model/QrlStringGrid.h"

#include <QString>
#include <QStringList>

// Empty when every cell's properties name their own cell and mirror the merged areas exactly;
// otherwise the first fault.
inline QString propsFault(const TQrlStringGrid &g)
{
    const TMergedSpans &spans = g.MergedSpans();
    if (QString f = spans.checkInvariants(); !f.isEmpty())
        return f;
    for (int r = 0; r < g.RowCount(); ++r) {
        for (int c = 0; c < g.TotalColCount(); ++c) {
            const TCellProperties *p = g.GetGridObject(c, r);
            const bool covered = spans.areaAt(c, r).has_value();
            const QString at = QStringLiteral(" at %1,%2").arg(c).arg(r);
            if (covered && !p)
                return "merged cell without properties" + at;
            if (!p)
                continue;
            if (p->OwnerCol() != c || p->OwnerRow() != r)
                return "owner fields do not name the cell" + at;
            if (p->CellSpanX() != spans.spansX(c, r) || p->CellSpanY() != spans.spansY(c, r) ||
                p->IsBaseCell() != spans.isBaseCell(c, r))
                return "spans not mirrored" + at;
        }
    }
    return {};
}

// Shapes the grid and writes "c:r" into every cell.
inline void fillWithCoordinates(TQrlStringGrid &g, int cols, int rows)
{
    g.SetColCount(cols);
    g.SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.SetGridCell(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
}

// The stored texts of one column, shown rows from the top.
inline QStringList columnTexts(const TQrlStringGrid &g, int c)
{
    QStringList l;
    for (int r = 0; r < g.RowCount(); ++r)
        l << g.GetGridCell(c, r);
    return l;
}
