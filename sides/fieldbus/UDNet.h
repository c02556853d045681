// DeviceNet network (slave list): the dialog window with its title and texts; the table itself is
// not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFDNet : public TTitledForm
{
public:
    explicit TFDNet(QWidget *parent = nullptr) : TTitledForm(QStringLiteral("FDNet"), parent)
    {
        SetClientSize(745, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3000, 3001); }
};
