// KNX table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFKNXAccess : public TTitledForm
{
public:
    explicit TFKNXAccess(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FKNXAccess"), parent)
    {
        SetClientSize(1141, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3400, 3401); }
};
