#include "common/USaveDialog.h"

#include <QFileDialog>
#include <QWidget>

namespace {

TSaveDialog::TExecuteHandler &executeHandler()
{
    static TSaveDialog::TExecuteHandler handler;
    return handler;
}

QString bareExtension(QString ext)
{
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return ext;
}

} // namespace

TSaveDialog::TSaveDialog(QWidget *owner) : QObject(owner), m_owner(owner) {}

TSaveDialog::~TSaveDialog() = default;

TSaveDialog::TExecuteHandler TSaveDialog::SetExecuteHandler(TExecuteHandler handler)
{
    TExecuteHandler previous = std::move(executeHandler());
    executeHandler() = std::move(handler);
    return previous;
}

QStringList TSaveDialog::NameFilters() const
{
    QStringList result;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        // The platform dialog takes the patterns from the parentheses of the description.
        if (description.contains(QLatin1Char('(')))
            result.append(description);
        else
            result.append(description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return result;
}

bool TSaveDialog::Execute()
{
    if (executeHandler())
        return executeHandler()(*this);

    QFileDialog dialog(m_owner, Title, InitialDir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = NameFilters();
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    const QString ext = bareExtension(DefaultExt);
    if (!ext.isEmpty())
        dialog.setDefaultSuffix(ext);
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return false;
    FileName = files.first();
    return true;
}
