// Step 3: the IEC 61850 variables the gateway publishes, edited in one column grid and kept in
// IEC61850_Variables.xml.
#pragma once

#include "gateway/table/UTableDialog.h"

// The dialog as data: file, texts, columns and the row check.
TTableDialogDesc IEC61850_Variables_Desc();

class TFIEC61850_Variables : public TTableDialog
{
    Q_OBJECT

public:
    explicit TFIEC61850_Variables(QWidget *parent = nullptr);

    TQrlColumnGrid *ACG() const { return ColumnGrid(0); }
};
