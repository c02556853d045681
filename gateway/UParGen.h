// Step 2 "Set Communication": the general parameter dialog. One column of collapsible category
// panels, one per group of parameters; this gateway shows five of the family's 27 panels. The
// values live in ParGen.xml (see UParGenFile.h).
#pragma once

#include "common/UTitledForm.h"
#include "gateway/UParGenFile.h"

#include <QHash>
#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <span>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class TCategoryPanel;
class TCategoryPanelGroup;
class TLbButton;

// One row of a panel: its caption control (label or check box), its input controls and the
// "." labels between octet edits. Layouts move and hide whole rows.
struct TParRow
{
    QWidget *caption = nullptr;
    QList<QWidget *> inputs;
    QList<QLabel *> dots;
    TCategoryPanel *panel = nullptr;

    // Places the row with its caption's top at `top`; edits and lists stand 3 pixels higher,
    // check boxes and labels on the top itself.
    void SetTop(int top);
    int Top() const;
    void SetVisible(bool visible);
    // The control that ends the row: its last input, else its caption.
    QWidget *Last() const;
};

class TFParGen : public TTitledForm
{
    Q_OBJECT

public:
    explicit TFParGen(QWidget *parent = nullptr);
    ~TFParGen() override;

    // Once, from the constructor: title, panel choice and order, layout, texts.
    void FormCreate();
    // Every show: reload ParGen.xml, clear Is_Change, lay the panels out.
    void FormShow() override;

    void Order_TAB_Panels();
    void Move_GroupBoxs();
    void Order_TAB_Panels_40300();
    void RePosition_Objects_40300();
    // The other models of the family, by number (40801, 40400, ...); unknown numbers do nothing.
    void Order_TAB_Panels_Model(int model);
    void RePosition_Objects_Model(int model);
    // Model numbers of the family, this gateway's first.
    static QList<int> Models();

    void RePosition_Object_Ethernet_Connection();
    void RePosition_Object_IEC61850_Server();
    void RePosition_Object_TLS_Server();
    void RePosition_Object_Modbus_Master();
    void RePosition_Object_NTP();
    // The family's other panels.
    void RePosition_Object_Ethernet();
    void RePosition_Object_Modbus_TCP_Master();
    void RePosition_Object_Serial();
    void RePosition_Object_PROFINET();
    void RePosition_Object_Modbus_Slave();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_BACnet_Master();
    void RePosition_Object_BACnet_Slave();
    void RePosition_Object_CAN();
    void RePosition_Object_CANopen();
    void RePosition_Object_DeviceNet_Master();
    void RePosition_Object_DeviceNet_Slave();
    void RePosition_Object_EtherNetIP();
    void RePosition_Object_J1939();
    void RePosition_Object_KNX();
    void RePosition_Object_NMEA2000();
    void RePosition_Object_PROFIBUS();
    void RePosition_Object_SNMP_Manager();
    void RePosition_Object_SNMP_Agent();
    void RePosition_Object_MQTT();
    void RePosition_Object_WiFi();
    void RePosition_Object_TLS();

    // Change of any edit, rich-text box or list; click of any check box with a handler.
    void On_Change(QObject *Sender);
    void On_Click(QObject *Sender);
    // Key press of an address-octet edit; returns false when the key is to be discarded.
    bool KeyPress(QObject *Sender, QChar &Key);
    // Mouse wheel anywhere in the window; true when the panel group took it.
    bool FormMouseWheel(const QPoint &globalPos, int wheelDelta);
    void FormResize();

    // The whole-form check; shows one error box and returns false at the first fault.
    bool Controllo_Dati();
    void Btn_OKClick();
    void Btn_CancelClick();

    void Set_Lang();

    int32_t Check_Device_Name(const QString &text) const { return pargen::Check_Device_Name(text); }

    // The values the controls hold, as the file stores them; and the reverse.
    pargen::TParGenValues Values() const;
    void SetValues(const pargen::TParGenValues &values);

    bool Is_Change = false;

    // Why the last show could not load ParGen.xml (its values are then the defaults); empty when
    // it loaded or there was no file. OK asks before replacing such a file.
    QString Load_Problem() const { return m_loadProblem; }

    // Any control of the dialog by its name; nullptr when there is none.
    QWidget *Control(const QString &name) const { return m_controls.value(name); }
    TCategoryPanel *Panel(const QString &name) const;
    // The row holding the control of that name.
    TParRow *Row(const QString &controlName) const { return m_rowOf.value(controlName); }
    QList<TCategoryPanel *> AllPanels() const { return m_panels; }

    // Panel group and buttons; the title panel comes with the frame.
    TCategoryPanelGroup *CPG = nullptr;
    QWidget *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;

    TCategoryPanel *CP_Ethernet_Connection = nullptr;
    TCategoryPanel *CP_IEC61850_Server = nullptr;
    TCategoryPanel *CP_TLS_Server = nullptr;
    TCategoryPanel *CP_Modbus_Master = nullptr;
    TCategoryPanel *CP_NTP = nullptr;

    QLabel *L_EthConn_Device_Name = nullptr;
    QLineEdit *E_EthConn_Device_Name = nullptr;
    QCheckBox *CB_EthConn_En_DHCP_Cable = nullptr;
    QCheckBox *CB_EthConn_En_DHCP_WiFi = nullptr;
    QCheckBox *CB_EthConn_Enable_DNS = nullptr;
    QLabel *L_EthConn_Primary_DNS = nullptr;
    QLineEdit *E_EthConn_Pri_DNS_IP1 = nullptr;
    QLineEdit *E_EthConn_Pri_DNS_IP2 = nullptr;
    QLineEdit *E_EthConn_Pri_DNS_IP3 = nullptr;
    QLineEdit *E_EthConn_Pri_DNS_IP4 = nullptr;
    QLabel *L_EthConn_Secondary_DNS = nullptr;
    QLineEdit *E_EthConn_Sec_DNS_IP1 = nullptr;
    QLineEdit *E_EthConn_Sec_DNS_IP2 = nullptr;
    QLineEdit *E_EthConn_Sec_DNS_IP3 = nullptr;
    QLineEdit *E_EthConn_Sec_DNS_IP4 = nullptr;

    QLabel *L_IEC61850_Server_IP = nullptr;
    QLineEdit *E_IEC61850_Server_IP1 = nullptr;
    QLineEdit *E_IEC61850_Server_IP2 = nullptr;
    QLineEdit *E_IEC61850_Server_IP3 = nullptr;
    QLineEdit *E_IEC61850_Server_IP4 = nullptr;
    QLabel *L_IEC61850_Server_SM = nullptr;
    QLineEdit *E_IEC61850_Server_SM1 = nullptr;
    QLineEdit *E_IEC61850_Server_SM2 = nullptr;
    QLineEdit *E_IEC61850_Server_SM3 = nullptr;
    QLineEdit *E_IEC61850_Server_SM4 = nullptr;
    QCheckBox *CB_IEC61850_Server_En_GAT = nullptr;
    QLineEdit *E_IEC61850_Server_GAT1 = nullptr;
    QLineEdit *E_IEC61850_Server_GAT2 = nullptr;
    QLineEdit *E_IEC61850_Server_GAT3 = nullptr;
    QLineEdit *E_IEC61850_Server_GAT4 = nullptr;
    QLabel *L_IEC61850_Server_Port = nullptr;
    QLineEdit *E_IEC61850_Server_Port = nullptr;
    QLabel *L_IEC61850_Server_Password = nullptr;
    QLineEdit *E_IEC61850_Server_Password = nullptr;
    QLabel *L_IEC61850_Name_of_Server = nullptr;
    QLineEdit *E_IEC61850_Name_of_Server = nullptr;

    QCheckBox *CB_TLS_Server_Enable = nullptr;
    QLabel *L_TLS_Server_Key = nullptr;
    QPlainTextEdit *E_TLS_Server_Key = nullptr;
    QLabel *L_TLS_Server_Key_Pass = nullptr;
    QLineEdit *E_TLS_Server_Key_Pass = nullptr;
    QLabel *L_TLS_Server_Server_Cert = nullptr;
    QPlainTextEdit *E_TLS_Server_Server_Cert = nullptr;
    QLabel *L_TLS_Server_Root_Cert = nullptr;
    QPlainTextEdit *E_TLS_Server_Root_Cert = nullptr;
    QCheckBox *CB_TLS_Server_En_Known_Cert = nullptr;

    QLabel *L_ModbusMaster_Serial = nullptr;
    QComboBox *CB_ModbusMaster_Serial = nullptr;
    QLabel *L_ModbusMaster_Baudrate = nullptr;
    QComboBox *CB_ModbusMaster_Baudrate = nullptr;
    QLabel *L_ModbusMaster_Parity = nullptr;
    QComboBox *CB_ModbusMaster_Parity = nullptr;
    QLabel *L_ModbusMaster_StopBits = nullptr;
    QComboBox *CB_ModbusMaster_StopBits = nullptr;
    QLabel *L_ModbusMaster_TimeOut = nullptr;
    QLineEdit *E_ModbusMaster_TimeOut = nullptr;
    QLabel *L_ModbusMaster_CyclicDelay = nullptr;
    QLineEdit *E_ModbusMaster_CyclicDelay = nullptr;

    QLabel *L_NTP_Server_URL = nullptr;
    QLineEdit *E_NTP_Server_URL = nullptr;
    QLabel *L_NTP_Poll_Time = nullptr;
    QLineEdit *E_NTP_Poll_Time = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildWindow();
    void buildPanels();
    void bindMembers();
    void wireEvents();
    template <typename T> void bind(T *&member, const char *name);
    void setTextKeepingLimit(QLineEdit *edit, const QString &text);
    // Sets the panel's height from the bottom of `last`.
    void fitPanel(TCategoryPanel *panel, QWidget *last);
    void fitPanel(const char *panel, const char *last);
    void showRow(const char *control, bool visible);
    void placeRow(const char *control, int top);
    int rowTop(const char *control) const;
    // The BACnet type list picks IP (its rows shown in place) or MS/TP (its rows shown and
    // stacked from the top); true for IP.
    bool showBACnetRows(const char *typeList,
                        std::span<const char *const> ipRows,
                        std::span<const char *const> mstpRows);
    void runLayout(const QString &panelName);
    void orderPanels(const QStringList &panelNames);

    QList<TCategoryPanel *> m_panels;
    QHash<QString, QWidget *> m_controls;
    QHash<QString, TParRow *> m_rowOf;
    std::deque<TParRow> m_rows;
    // Per panel: its caption text, its rows in design order.
    QHash<QString, int> m_panelCaptionText;
    // Every caption and hint assignment of Set_Lang, and the lists filled from texts.
    struct TTextRef
    {
        QWidget *control;
        int text;
        bool hint;
    };
    struct TListTexts
    {
        QComboBox *list;
        int first;
        int count;
    };
    QList<TTextRef> m_texts;
    QList<TListTexts> m_listTexts;
    QList<QWidget *> m_octets;
    QString m_loadProblem;
};
