// MQTT topic template editor: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFTopicTemplate : public TTitledForm
{
public:
    explicit TFTopicTemplate(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FTopicTemplate"), parent)
    {
        SetClientSize(635, 396);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3600, 3602); }
};
