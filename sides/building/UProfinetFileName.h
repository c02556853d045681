// The PROFINET GSDML file-name dialog and the GSDML save step that the main window's PROFINET
// command runs after it.
#pragma once

#include "common/UTitledForm.h"

#include <QDate>
#include <QString>

class TFProfinetFileName : public TTitledForm
{
public:
    explicit TFProfinetFileName(QWidget *parent = nullptr)
        : TTitledForm(QStringLiteral("FProfinetFileName"), parent)
    {
        SetClientSize(540, 205);
        Set_Lang();
    }

    void Set_Lang() { Set_Title_Texts(1500, 1501); }

    // The composed GSDML file name, read by the main window after OK. The dialog's name parts
    // and its OK button are not built yet, so it only closes as cancelled.
    QString Name_File_XML;
};

// Asks for the folder (save dialog in the configuration folder, Name proposed) and, when
// folder/Name exists, whether to overwrite it (text 1511), then writes the GSDML file there
// under Name; a file that cannot be written is reported in an error box. owner is the window the
// save dialog belongs to.
void Save_GSDML_File(const QString &Name, QWidget *owner);

// The GSDML file name from the user part and the date the dialog was created on: the fixed part,
// the user part after "_" (unless it starts with one; none when it is blank), "-", the date as
// YYYYMMDD and ".xml".
QString Gsdml_File_Name(const QString &User, const QDate &Date);
