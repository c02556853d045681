// MQTT publish and subscribe topics: the dialog window with its title and texts; the table itself
// is not built yet.
#pragma once

#include "common/UTitledForm.h"

class TFMQTT_Set_Topic : public TTitledForm
{
public:
    explicit TFMQTT_Set_Topic(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FMQTT_Set_Topic"), parent)
    {
        SetClientSize(1100, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(3500, 3501); }
};
