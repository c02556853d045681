// CANopen SDO client read and write tables: the dialog window with its title and texts; the table
// itself is not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFSet_SDO_Client_Access : public TTitledForm
{
public:
    explicit TFSet_SDO_Client_Access(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FSet_SDO_Client_Access"), parent)
    {
        SetClientSize(798, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2800, 2801); }
};
