// Step 4: the Modbus master requests: the dialog window with its title and texts; the table itself
// is not built yet.
#pragma once

#include "shell/common/UTitledForm.h"

class TFSetAccess : public TTitledForm
{
public:
    explicit TFSetAccess(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FSetAccess"), parent)
    {
        SetClientSize(1050, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(1200, 1201); }
};
