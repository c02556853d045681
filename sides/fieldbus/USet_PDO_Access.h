// CANopen receive and transmit PDO tables: the dialog window with its title and texts; the table
// itself is not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFSet_PDO_Access : public TTitledForm
{
public:
    explicit TFSet_PDO_Access(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FSet_PDO_Access"), parent)
    {
        SetClientSize(798, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2700, 2701); }
};
