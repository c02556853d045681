// Making and freeing the editing's state, and the few of its flags the lower layers read.
#include "grid/editing/QrlStringGrid_editing_p.h"

TStringGridEditingState *TStringGridEditingStateDeleter::make()
{
    return new TStringGridEditingState;
}

void TStringGridEditingStateDeleter::operator()(TStringGridEditingState *p) const
{
    delete p;
}

bool TQrlStringGrid::focusBlocked() const
{
    return ed->blockFocus;
}

bool TQrlStringGrid::killBlocked() const
{
    return ed->blockKill;
}

plat::TGridCoord TQrlStringGrid::pushedCellButton() const
{
    return ed->pushedCellButton;
}

bool TQrlStringGrid::fixedCellPushed() const
{
    return ed->mouse.fixedCellPushed;
}

QWidget *TQrlStringGrid::shownSpecialEditor() const
{
    return ed->editMode ? ed->editCtrl.data() : nullptr;
}
