// SNMP manager table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFSNMPManagerAccess : public TTitledForm
{
public:
    explicit TFSNMPManagerAccess(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FSNMPManagerAccess"), parent)
    {
        SetClientSize(1230, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3900, 3901); }
};
