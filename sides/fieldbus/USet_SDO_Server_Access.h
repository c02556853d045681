// CANopen SDO server object tables: the dialog window with its title and texts; the table itself is
// not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFSet_SDO_Server_Access : public TTitledForm
{
public:
    explicit TFSet_SDO_Server_Access(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FSet_SDO_Server_Access"), parent)
    {
        SetClientSize(749, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2900, 2901); }
};
