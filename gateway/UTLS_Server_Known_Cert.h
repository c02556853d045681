// Step 5: the TLS certificates the IEC 61850 server accepts: the dialog window with its title and
// texts; the table itself is not built yet.
#pragma once

#include "shell/common/UTitledForm.h"

class TFTLS_Server_Known_Cert : public TTitledForm
{
public:
    explicit TFTLS_Server_Known_Cert(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FTLS_Server_Known_Cert"), parent)
    {
        SetClientSize(800, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(800, 801); }
};
