// The PROFINET GSDML file-name dialog and the GSDML save step that the main window's PROFINET
// command runs after it.
#pragma once

#include "common/UTitledForm.h"

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
// folder/Name exists, whether to overwrite it (text 1511). The GSDML content is not built yet:
// after the questions nothing is written. owner is the window the save dialog belongs to.
void Save_GSDML_File(const QString &Name, QWidget *owner);
