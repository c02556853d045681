// Making and freeing the display's state; the model's files only hold it.
#include "grid/display/QrlStringGrid_display_p.h"

TStringGridDisplayState *TStringGridDisplayStateDeleter::make()
{
    return new TStringGridDisplayState;
}

void TStringGridDisplayStateDeleter::operator()(TStringGridDisplayState *p) const
{
    delete p;
}
