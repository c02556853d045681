// Step 1, open configuration: lists the configuration folders under PROJECTS and returns the
// chosen name; the main window opens it.
#pragma once

#include "common/UTitledForm.h"

#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QWidget;
class TLbButton;

class TFOpenConf : public TTitledForm
{
    Q_OBJECT

public:
    explicit TFOpenConf(QWidget *parent = nullptr);
    ~TFOpenConf() override;

    void FormCreate();
    // Every show: the list refilled and the open configuration (else the first) chosen.
    void FormShow() override;
    void ListBox1Click();
    // SL := the sub-folder names of PROJECTS in the file system's order.
    void Load_Existing_Configuration();
    // Position of name in SL, letter case ignored; -1 when absent.
    int Search_Open_Conf(const QString &name) const;
    void Set_Lang();

    QLabel *Label1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QWidget *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;

    QStringList SL;
    // The chosen name, read by the main window after OK.
    QString Name_Conf;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeControls();
};
