// CAN transmit frame table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFTransmitCAN : public TTitledForm
{
public:
    explicit TFTransmitCAN(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FTransmitCAN"), parent)
    {
        SetClientSize(1100, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2600, 2601); }
};
