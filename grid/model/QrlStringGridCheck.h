// The cell checker a string grid can be linked to.
#pragma once

#include <QObject>
#include <QString>

// The cell checker a grid can be linked to: corrects cell texts and marks errors in them.
class TQrlStringGridCheck : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void StartCheck() {}
    virtual void StopCheck() {}
    virtual void Correct(int ACol, int ARow, QString &Text, const QString &Before)
    {
        (void)ACol, (void)ARow, (void)Text, (void)Before;
    }
    virtual void MarkError(int ACol, int ARow, QString &Text, const QString &Before)
    {
        (void)ACol, (void)ARow, (void)Text, (void)Before;
    }

    bool GotoCell = false;
    bool UseCorrect = true;
    bool UseMarkError = false;
    bool AutoCorrect = false;
    bool AutoMarkError = false;
};
