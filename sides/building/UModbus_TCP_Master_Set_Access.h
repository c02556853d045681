// Modbus TCP master rules: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFModbus_TCP_Master_Set_Access : public TTitledForm
{
public:
    explicit TFModbus_TCP_Master_Set_Access(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FModbus_TCP_Master_Set_Access"), parent)
    {
        SetClientSize(1150, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(1300, 1301); }
};
