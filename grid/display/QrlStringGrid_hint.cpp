// Cell hints: what the grid shows when the mouse rests on a cell.
#include "grid/display/QrlHintWindow.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

THintManager *TQrlStringGrid::HintManager()
{
    if (!d->hintManager)
        d->hintManager = new THintManager(this);
    return d->hintManager;
}
