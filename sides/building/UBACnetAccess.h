// BACnet client request table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFBACnetAccess : public TTitledForm
{
public:
    explicit TFBACnetAccess(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FBACnetAccess"), parent)
    {
        SetClientSize(1000, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2100, 2101); }
};
