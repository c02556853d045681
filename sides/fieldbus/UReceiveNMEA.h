// NMEA 2000 receive frame table: the dialog window with its title and texts; the table itself is
// not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFReceiveNMEA : public TTitledForm
{
public:
    explicit TFReceiveNMEA(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FReceiveNMEA"), parent)
    {
        SetClientSize(810, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3700, 3701); }
};
