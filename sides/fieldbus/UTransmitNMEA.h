// NMEA 2000 transmit frame table: the dialog window with its title and texts; the table itself is
// not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFTransmitNMEA : public TTitledForm
{
public:
    explicit TFTransmitNMEA(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FTransmitNMEA"), parent)
    {
        SetClientSize(810, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3800, 3801); }
};
