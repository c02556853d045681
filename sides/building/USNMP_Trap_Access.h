// SNMP agent (trap) tables: the dialog window with its title and texts; the table itself is not
// built yet.
#pragma once

#include "common/UTitledForm.h"

class TFSNMP_Trap_Access : public TTitledForm
{
public:
    explicit TFSNMP_Trap_Access(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FSNMP_Trap_Access"), parent)
    {
        SetClientSize(1256, 337);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(4000, 4001); }
};
