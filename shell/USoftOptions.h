// The options dialog: the language page (language files of LANGUAGE six to a page with their
// flags; a pick switches every window's texts at once), the connection page (internet access,
// the update check and a check on demand) and the software page (two table options). OK stores
// the options in the shared state; the main window then writes the settings file.
#pragma once

#include "common/UTitledForm.h"
#include "shell/UVersionCheck.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QLabel;
class QTabWidget;
class QWidget;
class TLbButton;

class TFSoftOptions : public TTitledForm
{
    Q_OBJECT

public:
    static constexpr int Langs_Per_Page = 6;

    explicit TFSoftOptions(QWidget *parent = nullptr);
    ~TFSoftOptions() override;

    void FormCreate();
    void FormShow() override;
    void Set_Lang();

    // SL_Languages := the language files of Language_Path, sorted ignoring letter case; page 1.
    void Create_Lang_List();
    void Update_Lang_Page(int32_t Num_Page);
    // Shared by Btn_Prev and Btn_Next.
    void Btn_NextClick(QObject *Sender);
    // Shared by the pictures and labels of the six slots; slot is 1 to 6.
    void LangClick(int slot);
    // The check-box rule; also the handler of the four check boxes.
    void Update_CheckBox();
    void CB_En_ConClick();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString &link);
    void Btn_OKClick();

    // Number of language pages: (count + 5) div 6.
    int32_t Page_Count() const;

    // Called right after a language switch loaded the new texts; the main window hooks its
    // Change_Language here.
    std::function<void()> OnLanguageChanged;
    // Called by OK with the new state of the version timer (on exactly when internet access and
    // the update check are both on); the main window hooks its timer switch here.
    std::function<void(bool)> OnTimerRule;

    // The version service asked by "Check Available Update"; the maker's web site unless
    // changed (tests point it at a local server).
    QString Version_Base_Address = QString::fromLatin1(Maker_Web_Site);

    QWidget *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;

    QTabWidget *PC_Options = nullptr;
    QWidget *TS_Language = nullptr;
    QWidget *TS_Con_Options = nullptr;
    QWidget *TS_Soft_Settings = nullptr;

    QLabel *L_Sel_Lang = nullptr;
    std::array<QLabel *, Langs_Per_Page> I_L{}; // I_L1 .. I_L6
    std::array<QLabel *, Langs_Per_Page> L_L{}; // L_L1 .. L_L6
    TLbButton *Btn_Prev = nullptr;
    QLabel *L_Page_Lang = nullptr;
    TLbButton *Btn_Next = nullptr;

    QCheckBox *CB_En_Con = nullptr;
    QCheckBox *CB_Update = nullptr;
    TLbButton *Btn_Check_Update = nullptr;
    QLabel *LL_Check_Update = nullptr;

    QCheckBox *CB_Soft_Set_Jump_Table = nullptr;
    QCheckBox *CB_DoubleClick_Auto_Size = nullptr;

    QStringList SL_Languages;
    int32_t Show_Page = 1;
    QString Language_In_Use;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
