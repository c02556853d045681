// The spin and check-box controls the grid edits its spin and check-box cells with.
#pragma once

#include <QSpinBox>

class TQrlStringGrid;

class TGridSpin : public QSpinBox
{
    Q_OBJECT
public:
    TGridSpin(TQrlStringGrid *AGrid, QWidget *AParent);
    TQrlStringGrid *Grid() const { return FGrid; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }

private:
    TQrlStringGrid *FGrid;
    bool FIsWinXP = false;
};
