// CAN receive frame table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFReceiveCAN : public TTitledForm
{
public:
    explicit TFReceiveCAN(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FReceiveCAN"), parent)
    {
        SetClientSize(1010, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2500, 2501); }
};
