// BACnet EDE file import: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFImportEDEFile : public TTitledForm
{
public:
    explicit TFImportEDEFile(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FImportEDEFile"), parent)
    {
        SetClientSize(863, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(2200, 2201); }
};
