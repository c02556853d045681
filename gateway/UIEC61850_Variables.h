// Step 3: the IEC 61850 variables: the dialog window with its title and texts; the table itself is
// not built yet.
#pragma once

#include "shell/common/UTitledForm.h"

class TFIEC61850_Variables : public TTitledForm
{
public:
    explicit TFIEC61850_Variables(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FIEC61850_Variables"), parent)
    {
        SetClientSize(1155, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(900, 901); }
};
