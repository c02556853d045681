// The cell-graphic model routines: reading, creating and removing the graphic of a cell.
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/ui/Canvas.h"

#include <typeinfo>

TCellGraphic *TQrlStringGrid::GetCellGraphic(int ACol, int ARow)
{
    if (ACol == 0 && d->mouseActions->HotmailRowSelect()) {
        TCellGraphic *g = d->rowCheckBox.get();
        g->SetCellType(TCellType::ctRowCheckBox);
        g->SetCellTransparent(d->controlLook->ControlStyle() == TControlStyle::csFlat);
        const int dataRows = RowCount() - TBaseGrid::FixedRows();
        if (ARow == 0) {
            const int n = RowSelectCount();
            g->SetCellAngle(n >= 1 && n < dataRows ? 1 : 0);
            g->SetCellBoolean(n >= dataRows);
        } else {
            g->SetCellAngle(0);
            g->SetCellBoolean(GetRowSelect(RealRowIndex(ARow)));
        }
        return g;
    }
    if (ACol < 0 || ARow < 0)
        return nullptr;
    // Another kind of object in the slot counts as no graphic.
    return dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
}

TCellType TQrlStringGrid::GetCellType(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return TCellType::ctEmpty;
    if (ACol == 0 && d->mouseActions->HotmailRowSelect())
        return TCellType::ctRowCheckBox;
    const TCellGraphic *g = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
    return g ? g->CellType() : TCellType::ctEmpty;
}

bool TQrlStringGrid::HasGraphicOfType(int ACol, int ARow, TCellTypes Types)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const plat::TGridCoord b = BaseCell(ACol, ARow);
    const TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    return g && Types.Contains(g->CellType());
}

TCellGraphic *TQrlStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    auto *g = new TCellGraphic();
    // The properties come into being with a text; an empty cell gets a blank for a moment.
    const bool empty = GetCellEx(ACol, ARow).isEmpty();
    if (empty)
        SetCellEx(ACol, ARow, QStringLiteral(" "));
    // The base grid frees the graphic this one replaces.
    ReplaceGraphicObject(ACol, ARow, g);
    if (empty)
        SetCellEx(ACol, ARow, QString());
    if (NumHiddenColumns() > 0 && DisplColIndex(ACol) != ACol)
        RepaintCell(DisplColIndex(ACol), ARow);
    return g;
}

bool TQrlStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    if (!dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow)))
        return false;
    ReplaceGraphicObject(ACol, ARow, nullptr);
    if (!d->destroying)
        RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

bool TQrlStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType)
{
    if (GetCellType(ACol, ARow) != CellType)
        return false;
    return RemoveCellGraphic(ACol, ARow);
}

TCellGraphic *TQrlStringGrid::SharedRowCheckBox() const
{
    return d->rowCheckBox.get();
}

TCellGraphic *TQrlStringGrid::SharedCellGraphic() const
{
    return d->cellGraphic.get();
}

bool TQrlStringGrid::IsNode(int ARow)
{
    return ARow >= 0 && GetCellType(0, ARow) == TCellType::ctNode;
}

bool TQrlStringGrid::IsSummary(int ARow)
{
    return ARow >= 0 && GetCellType(0, ARow) == TCellType::ctSummary;
}
