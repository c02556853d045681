// The drawing interface of objects shown in ctInterface cells: the object tells its size and
// draws itself into the cell.
#pragma once

#include "platform/ui/Canvas.h"

class TQrlStringGrid;

class ICellDrawer
{
public:
    virtual ~ICellDrawer() = default;
    // 0 for a side means the cell's size.
    virtual int CellWidth() const = 0;
    virtual int CellHeight() const = 0;
    virtual void DrawCell(TCanvas &Canvas,
                          const TRect &Rect,
                          TQrlStringGrid *Grid,
                          bool Selected,
                          int ARow,
                          int ACol) = 0;
};
