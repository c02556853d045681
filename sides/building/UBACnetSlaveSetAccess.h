// BACnet server object table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFBACnetSlaveSetAccess : public TTitledForm
{
public:
    explicit TFBACnetSlaveSetAccess(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FBACnetSlaveSetAccess"), parent)
    {
        SetClientSize(764, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2300, 2301); }
};
