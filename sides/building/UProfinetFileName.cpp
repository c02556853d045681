#include "sides/building/UProfinetFileName.h"

#include "common/UComon.h"
#include "common/USaveDialog.h"
#include "platform/os/Files.h"
#include "platform/ui/MessageBox.h"

#include <QFileInfo>

void Save_GSDML_File(const QString &Name, QWidget *owner)
{
    TSaveDialog dialog(owner);
    dialog.Filter = QStringLiteral("PROFINET XML (*.xml)|") + Name;
    dialog.InitialDir = Conf_Path;
    dialog.FileName = Name;
    if (!dialog.Execute())
        return;
    // Only the folder of the chosen file counts; the name is always the composed one.
    const QString target = plat::JoinPath(QFileInfo(dialog.FileName).absolutePath(), Name);
    if (plat::FileExists(target) && plat::MessageBox(Lang_Text(1511), plat::MsgIcon::Question,
                                                     plat::MsgButtons::YesNo) != mrYes)
        return;
    // The GSDML content comes with its writer, which is not built yet.
}
