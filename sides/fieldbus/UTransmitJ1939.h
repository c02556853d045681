// J1939 transmit frame table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFTransmitJ1939 : public TTitledForm
{
public:
    explicit TFTransmitJ1939(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FTransmitJ1939"), parent)
    {
        SetClientSize(800, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3300, 3301); }
};
