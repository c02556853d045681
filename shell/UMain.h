// The wizard main window: Step 1 creates or opens a configuration, Steps 2 to 5 open the
// editing dialogs, Step 6 updates the device; three picture buttons open the about box and the
// options and close the program. It also runs the version timer and holds the two web links.
#pragma once

#include "platform/os/Files.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QCloseEvent;
class QLabel;
class QTimer;
class TLbButton;
class TSaveDialog;

class TFMontavoreFirmWare : public QWidget
{
    Q_OBJECT

public:
    // basePath is the folder beside which MASTER, PROJECTS, LANGUAGE and the settings file
    // live; the program's own folder in the application.
    explicit TFMontavoreFirmWare(const QString &basePath = plat::ProgramFolder(),
                                 QWidget *parent = nullptr);
    ~TFMontavoreFirmWare() override;

    // The start-up sequence.
    void FormCreate(const QString &basePath);
    // Saves the settings file; a failure is reported and the window still closes.
    void FormClose();
    void Set_Lang();
    void Set_Files();
    // Set_Lang of this window and then of every dialog, after a new language was loaded.
    void Change_Language();

    // The one click handler of every button.
    void Btn_Click(QObject *Sender);
    void Create_New_Project();
    void Open_Project();
    void Update_Device();
    void Build_EDS_File();
    void PROFINET_XML();
    void BACnet_EDE_File();

    void Timer_UpdateTimer();
    void LL_UpdateLinkClick(const QString &link);
    void L_OrvatoClick();

    // The program runner, for the dialogs that start external programs.
    void Start_Program(const QString &NomeSW, const QString &Parameter, bool tipo);

    // Timer_Update runs exactly while internet access and the update check are both on.
    void Apply_Timer_Rule();
    // Switching the timer on while it runs changes nothing (its countdown goes on); switching
    // it off stops it. Used by the rule and by the options dialog.
    void SetTimer_Update_Enabled(bool on);
    bool Timer_Update_Enabled() const;

    // The version check the timer runs; the maker's service unless replaced.
    std::function<bool()> Version_Check;

    QLabel *L_SW_Code = nullptr;
    QLabel *L_SW_Desc = nullptr;
    QLabel *L_Begin = nullptr;
    QWidget *Shape1 = nullptr;
    QWidget *Shape2 = nullptr;
    QLabel *L_Name_Conf = nullptr;
    QLabel *L_Name_Conf_L2 = nullptr;
    QLabel *L_Step_1 = nullptr;
    QLabel *L_Step_2 = nullptr;
    QLabel *L_Step_3 = nullptr;
    QLabel *L_Step_4 = nullptr;
    QLabel *L_Step_5 = nullptr;
    QLabel *L_Step_6 = nullptr;
    QLabel *L_Step_7 = nullptr;
    QLabel *L_Step_8 = nullptr;
    QLabel *L_Step_9 = nullptr;
    QLabel *L_Orvato = nullptr;
    QLabel *LL_Update = nullptr;

    TLbButton *Btn_Info = nullptr;
    TLbButton *Btn_Opz = nullptr;
    TLbButton *Btn_Close = nullptr;
    TLbButton *Btn_New = nullptr;
    TLbButton *Btn_Open = nullptr;
    TLbButton *Btn_Prm_Gen = nullptr;
    TLbButton *Btn_IEC61850_Access = nullptr;
    TLbButton *Btn_Modbus_Set_Access = nullptr;
    TLbButton *Btn_TLS_List_Certificates = nullptr;
    TLbButton *Btn_CreateBin = nullptr;
    // Buttons of the family's other gateways, kept hidden here.
    TLbButton *Btn_SNMP_MIB = nullptr;
    TLbButton *Btn_PROFINET_XML = nullptr;
    TLbButton *Btn_BACnet_SetAccess = nullptr;
    TLbButton *Btn_BACnet_EDE_File = nullptr;
    TLbButton *Btn_CAN_Rec_Frame = nullptr;
    TLbButton *Btn_CAN_Send_Frame = nullptr;
    TLbButton *Btn_SDO_Server_CANopen = nullptr;
    TLbButton *Btn_SDO_Client_CANopen = nullptr;
    TLbButton *Btn_PDO_CANopen = nullptr;
    TLbButton *Btn_CANopen_EDS = nullptr;
    TLbButton *Btn_DNet_Net = nullptr;
    TLbButton *Btn_DNet_Offset = nullptr;
    TLbButton *Btn_KNX_Access = nullptr;
    TLbButton *Btn_MQTT_Set_Topic = nullptr;
    TLbButton *Btn_PROFIBUS_GSD = nullptr;
    TLbButton *Btn_SNMP_Manager_Access = nullptr;
    TLbButton *Btn_SNMP_Trap = nullptr;

    QTimer *Timer_Update = nullptr;
    TSaveDialog *SD1 = nullptr;
    TSaveDialog *SaveEDS = nullptr;
    TSaveDialog *SaveMIB = nullptr;

    // Every button with its caption and hint numbers (-1: none), in creation order.
    struct TButtonTexts
    {
        TLbButton *button;
        int caption;
        int hint;
    };
    const QList<TButtonTexts> &Buttons() const { return m_buttons; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void layoutControls();
    void showConfiguration(bool open);

    QList<TButtonTexts> m_buttons;
    QList<QLabel *> m_stepLabels;
};
