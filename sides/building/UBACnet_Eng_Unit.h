// BACnet engineering unit choice: the dialog window with its title and texts; the table itself is
// not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFBACnet_Eng_Unit : public TTitledForm
{
public:
    explicit TFBACnet_Eng_Unit(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FBACnet_Eng_Unit"), parent)
    {
        SetClientSize(548, 306);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2400, 2401); }
};
