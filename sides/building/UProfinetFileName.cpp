#include "sides/building/UProfinetFileName.h"

#include "common/UComon.h"
#include "common/USaveDialog.h"
#include "platform/os/Files.h"
#include "platform/ui/ErrorReport.h"
#include "platform/ui/MessageBox.h"
#include "sides/building/UProfinetXML.h"

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
    try {
        Write_GSDML_File(target);
    } catch (const std::exception &e) {
        plat::ReportException(e);
    }
}

QString Gsdml_File_Name(const QString &User, const QDate &Date)
{
    const QString fixed = QStringLiteral("GSDML-V2.31-Orvato-QX40600");
    const QString dated =
        QLatin1Char('-') + Date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".xml");
    if (User.trimmed().isEmpty())
        return fixed + dated;
    // The user part goes in as typed; its separator is added only when it lacks one.
    return fixed + (User.startsWith(QLatin1Char('_')) ? QString() : QStringLiteral("_")) + User +
           dated;
}
