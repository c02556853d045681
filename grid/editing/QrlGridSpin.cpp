// The grid's spin and check-box editors.
#include "grid/editing/QrlGridSpin.h"

// ---- spin -------------------------------------------------------------------------------------

TGridSpin::TGridSpin(TQrlStringGrid *AGrid, QWidget *AParent) : QSpinBox(AParent), FGrid(AGrid)
{
    setMaximum(100);
    setMinimum(0);
    setSingleStep(1);
}
