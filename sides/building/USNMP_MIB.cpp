#include "sides/building/USNMP_MIB.h"

#include "common/UComon.h"
#include "common/USaveDialog.h"
#include "common/UTitledForm.h"
#include "platform/os/Files.h"
#include "platform/ui/MessageBox.h"

void Build_MIB_File(TSaveDialog *SaveMIB)
{
    if (!SaveMIB)
        return;
    TSaveDialog &dialog = *SaveMIB;
    dialog.InitialDir = Conf_Path;
    if (!dialog.Execute())
        return;
    if (plat::FileExists(dialog.FileName) &&
        plat::MessageBox(Lang_Text(1105), plat::MsgIcon::Question, plat::MsgButtons::YesNo) !=
            mrYes)
        return;
    // The object lists and the file come from the SNMP trap table, which is not built yet.
}
