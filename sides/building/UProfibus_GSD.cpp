#include "sides/building/UProfibus_GSD.h"

#include "common/UComon.h"
#include "common/USaveDialog.h"
#include "common/UTitledForm.h"
#include "platform/os/Files.h"
#include "platform/ui/MessageBox.h"

void Build_GSD_File(QWidget *owner)
{
    if (!plat::FileExists(File_ParGen)) {
        plat::MessageBox(Lang_Text(1104), plat::MsgIcon::Error, plat::MsgButtons::OK);
        return;
    }
    TSaveDialog dialog(owner);
    dialog.Filter = QStringLiteral("Generic Station Description (*.gsd)|*.gsd");
    dialog.InitialDir = Conf_Path;
    if (!dialog.Execute())
        return;
    QString name = dialog.FileName;
    if (!name.endsWith(QLatin1String(".gsd")))
        name += QStringLiteral(".gsd");
    if (plat::FileExists(name) && plat::MessageBox(Lang_Text(1103), plat::MsgIcon::Question,
                                                   plat::MsgButtons::YesNo) != mrYes)
        return;
    // The module lengths and the file come with the GSD writer, which is not built yet.
}
