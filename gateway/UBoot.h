// Step 6 "Update Device": hands the compiled configuration and the firmware to an external update
// program. The Ethernet mode pings the device, writes Ethernet_Update.xml beside the program and
// starts Ethernet_Update.exe; the serial mode starts the serial update program with a command line.
#pragma once

#include "platform/ui/ModalForm.h"

#include <QString>

#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class TLbButton;

namespace plat {
class IIcmpClient;
struct EchoResult;
} // namespace plat

class TFBoot : public TModalForm
{
    Q_OBJECT

public:
    // Per echo request: the wait for its reply and the data size of the request.
    static constexpr int Ping_Timeout_Ms = 400;
    static constexpr int Ping_Packet_Size = 1024;
    // The whole reachability test gives up once more than this has passed.
    static constexpr int Ping_Limit_Ms = 5000;

    // Without a client the dialog pings with the real ICMP client. The dialog does not own a
    // client given here.
    explicit TFBoot(QWidget *parent = nullptr, plat::IIcmpClient *icmpClient = nullptr);
    ~TFBoot() override;

    // 0 = serial mode, 1 = Ethernet mode (anything but 1 counts as serial); set before the
    // dialog is shown.
    int Form_Type() const { return FForm_Type; }
    void SetForm_Type(int type) { FForm_Type = type; }

    // The echo client used by Send_Ping; null restores the real one.
    plat::IIcmpClient *Ping() const { return FPing; }
    void SetPing(plat::IIcmpClient *client);

    // Outcome of the last echo request: 0 none yet, 1 a reply with data, 2 no reply or no data.
    int32_t ping_res = 0;

    void FormShow() override;
    void Set_Lang();

    // The octet edits' key handler: false when the key is swallowed ('.').
    bool KeyPress(QObject *Sender, QChar &Key);

    void Btn_UpdateClick();
    void Btn_COM_ListClick();

    // True when the device answered.
    bool Send_Ping();
    void PingReply(const plat::EchoResult &reply);

    // Ethernet_Update.xml beside the program; throws plat::EXmlError when it cannot be written.
    void Compile_XML_Parameter_New_Boot();
    // The layout for the family's device with the other memory map (not used by this gateway).
    void Compile_XML_Parameter();
    // Base_Path/Ethernet_Update.xml.
    static QString Update_File();

    // Appends the option words of the serial command line for the current option and read back.
    void Update_Options(QString &Text) const;
    // The serial update program's command line from the current controls.
    QString Serial_Command_Line() const;
    void update_ComPort();
    int Get_Type_Dev();

    // The four octet texts joined by ".".
    QString IP_Address_Text() const;
    // True from a press of the update button until the update has run.
    bool Update_Running() const { return FUpdating; }

    QWidget *P_Title = nullptr;
    QLabel *L_SW_Code = nullptr;
    QLabel *L_SW_Desc = nullptr;
    QWidget *P_IP_Address = nullptr;
    QLabel *L_IP_Address = nullptr;
    QLineEdit *E_IP1 = nullptr;
    QLineEdit *E_IP2 = nullptr;
    QLineEdit *E_IP3 = nullptr;
    QLineEdit *E_IP4 = nullptr;
    QWidget *P_Serial = nullptr;
    QLabel *L_COM_Port = nullptr;
    QComboBox *CB_COM_Port = nullptr;
    TLbButton *Btn_COM_List = nullptr;
    QWidget *P_Options = nullptr;
    QLabel *L_Update_Option = nullptr;
    QComboBox *CB_Update_Options = nullptr;
    QCheckBox *CB_Update_Option_Read_Back = nullptr;
    QWidget *P_Button = nullptr;
    TLbButton *Btn_Cancel = nullptr;
    TLbButton *Btn_Update = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    bool ethernetMode() const { return FForm_Type == 1; }
    void updateEthernet();
    void updateSerial();
    void waitForReply(int64_t attemptStartMs);

    int32_t FForm_Type = 1;
    plat::IIcmpClient *FPing = nullptr;
    std::unique_ptr<plat::IIcmpClient> FOwnPing;
    bool FUpdating = false;
};
