// Nodes and expandable rows.
//
// A node's span is kept in real rows, so it stays right whatever else is hidden: contracting
// hides the real rows after the node row up to the end of its span, expanding shows the same
// rows and nothing past them.
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <algorithm>

namespace {
TCellGraphic *nodeGraphic(TQrlStringGrid &g, int displRow)
{
    if (displRow < 0 || displRow >= g.RowCount())
        return nullptr;
    TCellGraphic *gr = g.GetCellGraphic(0, displRow);
    return gr && gr->CellType() == TCellType::ctNode ? gr : nullptr;
}
} // namespace

// The column-0 properties of a real row, shown or waiting in the hidden-row store; null when
// the row has none and create is off (or the row is hidden).
static TCellProperties *levelProps(TQrlStringGrid &g, int realRow, bool create)
{
    if (g.IsHiddenRow(realRow)) {
        QVector<void *> *objs = g.HiddenRowObjects(realRow);
        return objs && !objs->isEmpty() ? static_cast<TCellProperties *>(objs->at(0)) : nullptr;
    }
    const int r = g.DisplRowIndex(realRow);
    if (r < 0 || r >= g.RowCount())
        return nullptr;
    if (!create && !g.HasCellProperties(0, r))
        return nullptr;
    return g.GetCellProperties(0, r);
}

static void addLevel(TQrlStringGrid &g, int fromReal, int toReal, int delta)
{
    for (int r = fromReal; r <= toReal; ++r)
        if (TCellProperties *p = levelProps(g, r, delta > 0))
            p->SetNodeLevel(std::max(0, p->NodeLevel() + delta));
}

// ---- the node model ---------------------------------------------------------------------------

bool TQrlStringGrid::HasNodes()
{
    return d->numNodes > 0;
}

int TQrlStringGrid::GetNodeIndent(int ARow)
{
    if (ARow < 0 || ARow >= RowCount() || !HasCellProperties(0, ARow))
        return 0;
    return GetCellProperties(0, ARow)->NodeLevel() * d->cellNode->NodeIndent();
}

void TQrlStringGrid::AddNode(int ARow, int Span)
{
    const int r = DisplRowIndex(ARow);
    if (ARow < 0 || r >= RowCount() || IsHiddenRow(ARow))
        return;
    if (IsNode(r))
        RemoveNode(ARow);
    TCellGraphic *g = CreateCellGraphic(0, r);
    g->SetCellType(TCellType::ctNode);
    g->SetCellIndex(Span);
    g->SetCellBoolean(false);
    g->SetCellErrFrom(0);
    g->SetCellAngle(r);
    g->SetCellVar(-1);
    g->SetCellHAlign(TCellHAlign::haBeforeText);
    g->SetCellVAlign(TCellVAlign::vaCenter);
    // Rows past the grid's end have no level to raise.
    addLevel(*this, ARow, std::min(ARow + Span - 1, TotalRowCount() - 1), 1);
    if (d->numNodes == 0)
        RepaintCol(0);
    ++d->numNodes;
    if (Col() == 0 && ColCount() > 1)
        SetCol(1);
}

void TQrlStringGrid::RemoveNode(int ARow)
{
    const int r = DisplRowIndex(ARow);
    if (IsHiddenRow(ARow) || !nodeGraphic(*this, r))
        return;
    ExpandNode(ARow);
    const int span = GetNodeSpan(r);
    addLevel(*this, ARow, std::min(ARow + span - 1, TotalRowCount() - 1), -1);
    RemoveCellGraphic(0, r);
    d->numNodes = std::max(0, d->numNodes - 1);
}

void TQrlStringGrid::RemoveAllNodes()
{
    TUpdatePair lock(*this);
    for (int r = 0; r < RowCount(); ++r)
        if (IsNode(r))
            RemoveNode(RealRowIndex(r));
    Invalidate();
}

bool TQrlStringGrid::GetNodeState(int ARow)
{
    const TCellGraphic *g = nodeGraphic(*this, ARow);
    return g && g->CellBoolean();
}

void TQrlStringGrid::SetNodeState(int ARow, bool Value)
{
    if (!nodeGraphic(*this, ARow) || GetNodeState(ARow) == Value)
        return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TQrlStringGrid::GetNodeLevel(int ARow)
{
    if (!nodeGraphic(*this, ARow))
        return -1;
    return GetCellProperties(0, ARow)->NodeLevel();
}

int TQrlStringGrid::GetNodeSpan(int ARow)
{
    const TCellGraphic *g = nodeGraphic(*this, ARow);
    return g ? g->CellIndex() : -1;
}

void TQrlStringGrid::SetNodeSpan(int ARow, int Span)
{
    if (TCellGraphic *g = nodeGraphic(*this, ARow))
        g->SetCellIndex(Span);
}

void TQrlStringGrid::UpdateNodeSpan(int ARow, int Delta)
{
    if (TCellGraphic *g = nodeGraphic(*this, ARow))
        g->SetCellIndex(g->CellIndex() + Delta);
}

int TQrlStringGrid::GetSubNodeCount(int ARow)
{
    const TCellGraphic *g = nodeGraphic(*this, ARow);
    return g ? g->CellErrFrom() : 0;
}

void TQrlStringGrid::UpdateSubNodeCount(int ARow, int Delta)
{
    if (TCellGraphic *g = nodeGraphic(*this, ARow))
        g->SetCellErrFrom(g->CellErrFrom() + Delta);
}

// ---- contracting and expanding ----------------------------------------------------------------

void TQrlStringGrid::ExpandNode(int ARow)
{
    if (ARow < 0 || IsHiddenRow(ARow))
        return;
    TUpdatePair lock(*this);
    if (d->cellNode->ExpandOne()) {
        // Every other expanded node closes, but not the ones that hold this node.
        const int own = DisplRowIndex(ARow);
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (r == own || !IsNode(r) || GetNodeState(r))
                continue;
            const int real = RealRowIndex(r);
            if (real < ARow && ARow < real + GetNodeSpan(r))
                continue;
            ContractNode(real);
        }
    }
    const int n = DisplRowIndex(ARow);
    TCellGraphic *g = nodeGraphic(*this, n);
    if (!g || !g->CellBoolean())
        return;
    g->SetCellBoolean(false);
    // The rows up to the next shown row, but never past the span: rows hidden for other
    // reasons right after the node stay hidden.
    int next = TotalRowCount();
    if (g->CellIndex() <= 0) {
        for (int r = n + 1; r < RowCount(); ++r)
            if (IsNode(r)) {
                next = RealRowIndex(r);
                break;
            }
    } else {
        next = n + 1 < RowCount() ? RealRowIndex(n + 1) : TotalRowCount();
        next = std::min(next, ARow + g->CellIndex());
    }
    if (next - 1 > ARow)
        UnHideRows(ARow + 1, next - 1);
    CalcFooter(-1);
}

void TQrlStringGrid::ContractNode(int ARow)
{
    if (ARow < 0 || IsHiddenRow(ARow))
        return;
    if (EditorMode())
        HideEditor();
    const int n = DisplRowIndex(ARow);
    TCellGraphic *g = nodeGraphic(*this, n);
    if (!g || g->CellBoolean())
        return;
    g->SetCellBoolean(true);
    // The footer rows never go into a node.
    const int lastData = RowCount() - FixedFooters() - 1;
    int end; // last real row to hide
    if (g->CellIndex() > 0) {
        end = ARow + g->CellIndex() - 1;
        if (lastData >= 0 && lastData < RowCount() - 1)
            end = std::min(end, RealRowIndex(lastData + 1) - 1);
    } else {
        int e = lastData + 1;
        for (int r = n + 1; r <= lastData; ++r)
            if (IsNode(r)) {
                e = r;
                break;
            }
        end = e - 1 > n ? RealRowIndex(e - 1) : ARow;
    }
    end = std::min(end, TotalRowCount() - 1);
    // A contracted node inside reads expanded: its rows come back with this node's.
    for (int r = n + 1; r < RowCount() && RealRowIndex(r) <= end; ++r)
        if (TCellGraphic *inner = nodeGraphic(*this, r))
            inner->SetCellBoolean(false);
    if (end > ARow)
        HideRows(ARow + 1, end);
    CalcFooter(-1);
}

void TQrlStringGrid::ExpandAll()
{
    TUpdatePair lock(*this);
    // Top down: expanding a node shows its nested nodes, which the walk then reaches.
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsNode(r) && GetNodeState(r))
            ExpandNode(RealRowIndex(r));
    CalcFooter(-1);
}

void TQrlStringGrid::ContractAll()
{
    TUpdatePair lock(*this);
    ExpandAll();
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsNode(r))
            ContractNode(RealRowIndex(r));
    CalcFooter(-1);
}

int TQrlStringGrid::GetParentRow(int ARow)
{
    if (!HasNodes() || ARow < 0 || ARow >= RowCount())
        return -1;
    const bool node = IsNode(ARow);
    const int level = node ? GetNodeLevel(ARow) : 65535;
    const int real = RealRowIndex(ARow);
    // A shown row's ancestors are shown, so a walk over the shown rows finds them all.
    for (int r = ARow - 1; r >= FixedRows(); --r) {
        if (!IsNode(r) || GetNodeLevel(r) >= level)
            continue;
        if (real < RealRowIndex(r) + GetNodeSpan(r))
            return r;
    }
    return node ? ARow : -1;
}

int TQrlStringGrid::GetNodeSpanType(int ARow)
{
    if (IsNode(ARow))
        return 0;
    if (ARow >= RowCount() - FixedFooters() - 1)
        return 1;
    if (ARow < 0 || !HasCellProperties(0, ARow + 1))
        return 1;
    const int own = HasCellProperties(0, ARow) ? GetCellProperties(0, ARow)->NodeLevel() : 0;
    return GetCellProperties(0, ARow + 1)->NodeLevel() >= own ? 2 : 1;
}

// ---- inserting and removing rows among nodes --------------------------------------------------

void TQrlStringGrid::InsertNormalRow(int ARow)
{
    // InsertRows moves the hidden rows below the new one already.
    InsertRows(DisplRowIndex(ARow), 1);
}

void TQrlStringGrid::RemoveNormalRow(int ARow)
{
    if (ARow < 0 || IsHiddenRow(ARow))
        return;
    // A node goes first, so none of its rows stays hidden without a node to show it.
    if (IsNode(DisplRowIndex(ARow)))
        RemoveNode(ARow);
    // RemoveRows lowers the remembered maximum row count itself.
    RemoveRows(DisplRowIndex(ARow), 1);
}

void TQrlStringGrid::InsertChildRow(int ARow, int InsertAt)
{
    if (ARow < 0 || IsHiddenRow(ARow))
        return;
    const int dRow = DisplRowIndex(ARow);
    if (dRow > RowCount())
        return;
    const bool onNode = IsNode(dRow);
    // A node row takes the child itself, nested or not.
    const int parent = onNode ? dRow : GetParentRow(dRow);
    int level = 1;
    if (parent >= 0) {
        // Open before growing: the wider span would also show a row hidden after it.
        ExpandNode(RealRowIndex(parent));
        UpdateNodeSpan(parent, 1);
        UpdateSubNodeCount(parent, 1);
        level = GetNodeLevel(parent);
        int walk = level;
        int a = parent;
        while (walk > 1 && a >= FixedRows()) {
            const int up = GetParentRow(a);
            if (up < FixedRows() || up == a)
                break;
            if (GetNodeLevel(up) < walk) {
                UpdateNodeSpan(up, 1);
                UpdateSubNodeCount(up, 1);
                ExpandNode(RealRowIndex(up));
                walk = GetNodeLevel(up);
            }
            a = up;
        }
    }
    const int at = onNode && InsertAt == 0 ? dRow + 1 : dRow + InsertAt;
    InsertRows(at, 1);
    if (onNode && InsertAt == 0) {
        // The node row keeps only its node graphic; its contents move into the new row.
        for (int c = 0; c < TotalColCount(); ++c) {
            const QString text = GetGridCell(c, dRow);
            if (!text.isEmpty()) {
                SetGridCell(c, at, text);
                SetGridCell(c, dRow, QString());
            }
            if (c == 0)
                continue;
            if (TCellProperties *p = GetGridObject(c, dRow)) {
                SetGridObject(c, dRow, nullptr);
                AdoptCellProperties(c, at, p);
            }
        }
    }
    if (parent >= 0)
        GetCellProperties(0, at)->SetNodeLevel(level);
}

void TQrlStringGrid::RemoveChildRow(int ARow)
{
    if (ARow < 0 || IsHiddenRow(ARow))
        return;
    if (IsNode(DisplRowIndex(ARow)))
        RemoveNode(ARow);
    const int dRow = DisplRowIndex(ARow);
    if (dRow >= RowCount())
        return;
    int p = GetParentRow(dRow);
    if (p >= 0) {
        const int level = GetNodeLevel(p);
        auto shrink = [this](int row) {
            if (GetNodeSpan(row) > 1) {
                UpdateNodeSpan(row, -1);
                UpdateSubNodeCount(row, -1);
            }
        };
        shrink(p);
        for (;;) {
            ExpandNode(RealRowIndex(p));
            if (GetNodeLevel(p) <= 1)
                break;
            const int up = GetParentRow(p);
            if (up < 0 || up == p || GetNodeLevel(up) >= level)
                break;
            p = up;
            shrink(p);
        }
    }
    RemoveRowsAndProps(DisplRowIndex(ARow), 1);
    d->maxRowCount = std::max(RowCount(), d->maxRowCount - 1);
}

// ---- expandable rows --------------------------------------------------------------------------

void TQrlStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight)
{
    if (ACol < 0 || ARow < 0 || ARow >= RowCount() || ACol >= TotalColCount())
        return;
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctExpand);
    g->SetCellAngle(ExpandedHeight);
    g->SetCellIndex(RowHeights(ARow));
    g->SetCellVar(false);
}

void TQrlStringGrid::RemoveExpand(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctExpand);
}

bool TQrlStringGrid::HasExpand(int ACol, int ARow)
{
    return HasGraphicOfType(ACol, ARow, TCellTypes{TCellType::ctExpand});
}

bool TQrlStringGrid::ToggleExpand(int ACol, int ARow)
{
    if (!HasExpand(ACol, ARow))
        return false;
    const plat::TGridCoord b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    g->SetCellVar(!g->CellVar().toBool());
    return g->CellVar().toBool();
}

bool TQrlStringGrid::GetExpandState(int ACol, int ARow)
{
    if (!HasExpand(ACol, ARow))
        return false;
    const plat::TGridCoord b = BaseCell(ACol, ARow);
    return GetCellGraphic(b.X, b.Y)->CellVar().toBool();
}

int TQrlStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded)
{
    if (!HasExpand(ACol, ARow))
        return DefaultRowHeight();
    const plat::TGridCoord b = BaseCell(ACol, ARow);
    const TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    return Expanded ? g->CellAngle() : g->CellIndex();
}

bool TQrlStringGrid::IsNodeClick(int ARow, int X)
{
    if (!d->mouseActions->PreciseNodeClick())
        return true;
    const TCellNode &node = *d->cellNode;
    const int L = GetNodeLevel(ARow);
    const int I = node.NodeIndent();
    int b = 0; // glyph width
    int c = 0; // left margin
    switch (node.NodeType()) {
    case TNodeType::cnFlat:
    case TNodeType::cnXP:
        b = 4;
        c = 4;
        break;
    case TNodeType::cn3D:
        b = 6;
        break;
    case TNodeType::cnGlyph:
        if (!node.ExpandGlyph().Empty()) {
            b = node.ExpandGlyph().Width() / 2;
            c = 2;
        }
        break;
    case TNodeType::cnLeaf:
        b = 8;
        c = 2;
        break;
    }
    if (layoutDirection() != Qt::RightToLeft)
        return c + (L - 1) * I < X && X < b + L * I;
    const int w = width();
    const bool allRowsFit = VisibleRowCount() >= RowCount() - TBaseGrid::FixedRows();
    const int s = allRowsFit ? 0 : d->scrollWidth;
    return !(X + s < w - L * I - b || X + s >= w - (L - 1) * I);
}
