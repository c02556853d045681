// A file-save dialog kept as an object with its settings, as the windows hold them: filter,
// default extension, initial folder and the chosen file name. Execute asks the user; tests
// answer it through a handler instead.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

class TSaveDialog : public QObject
{
    Q_OBJECT

public:
    explicit TSaveDialog(QWidget *owner = nullptr);
    ~TSaveDialog() override;

    // Pairs "description|pattern", separated by "|" as well.
    QString Filter;
    // Extension added to a name typed without one ("csv", ".csv" or "*.csv").
    QString DefaultExt;
    QString InitialDir;
    // The proposed name before Execute, the chosen full path after it.
    QString FileName;
    QString Title;

    // True when the user confirmed a name (then in FileName). An existing file is not asked
    // about here; the callers ask themselves.
    bool Execute();

    // While a handler is set, Execute calls it instead of showing a dialog; it may set FileName
    // and returns whether the user confirmed. Returns the handler set before.
    using TExecuteHandler = std::function<bool(TSaveDialog &)>;
    static TExecuteHandler SetExecuteHandler(TExecuteHandler handler);

    // The Filter text as a list of name filters for the platform dialog.
    QStringList NameFilters() const;

private:
    QWidget *m_owner;
};
