// DeviceNet byte offsets: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFDefOffset : public TTitledForm
{
public:
    explicit TFDefOffset(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FDefOffset"), parent)
    {
        SetClientSize(482, 610);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3100, 3101); }
};
