// Step 1, new configuration: asks for the name of a new configuration and creates its folder
// under PROJECTS with the sub-folder bin.
#pragma once

#include "common/UTitledForm.h"

class QLabel;
class QLineEdit;
class QWidget;
class TLbButton;

class TFNew_Project : public TTitledForm
{
    Q_OBJECT

public:
    explicit TFNew_Project(QWidget *parent = nullptr);
    ~TFNew_Project() override;

    void FormCreate();
    // Every show: the name field empty and focused.
    void FormShow() override;
    // Checks the name, creates the folders, opens the new configuration and closes with OK;
    // a refused name leaves the dialog open after an error box.
    void Btn_OKClick();
    void Set_Lang();

    QLabel *Label1 = nullptr;
    QLineEdit *E_New_Proj = nullptr;
    QWidget *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;
};
