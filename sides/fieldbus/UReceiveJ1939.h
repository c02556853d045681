// J1939 receive frame table: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFReceiveJ1939 : public TTitledForm
{
public:
    explicit TFReceiveJ1939(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FReceiveJ1939"), parent)
    {
        SetClientSize(876, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3200, 3201); }
};
