// Panel choice, order and layout of the general parameter dialog for each model of the family.
// Each panel layout shows, hides, moves and enables its rows from the values of its controls and
// then sets the panel's height from the bottom of its last visible control.
#include "gateway/UParGen.h"

#include "common/ULanguage.h"
#include "platform/ui/CategoryPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace {

using TLayout = void (TFParGen::*)();

struct TModel
{
    int number;
    QStringList middle; // the panels between TLS Server and NTP
};

const QList<TModel> &modelTable()
{
    static const QList<TModel> table = {
        {40300, {"CP_Modbus_Master"}},
        {40801, {"CP_Modbus_Slave"}},
        {40802, {"CP_Modbus_TCP_Master"}},
        {40803, {"CP_Modbus_TCP_Slave"}},
        {40804, {"CP_BACnet_Master"}},
        {40805, {"CP_BACnet_Slave"}},
        {40806, {"CP_CAN"}},
        {40400, {"CP_CANopen"}},
        {40807, {"CP_DeviceNet_Master"}},
        {40808, {"CP_DeviceNet_Slave"}},
        {40809, {"CP_EtherNetIP"}},
        {40811, {"CP_J1939"}},
        {40812, {"CP_KNX"}},
        {40813, {"CP_MQTT", "CP_Ethernet", "CP_WiFi", "CP_TLS"}},
        {40814, {"CP_NMEA2000"}},
        {40500, {"CP_PROFIBUS"}},
        {40600, {"CP_PROFINET"}},
        {40815, {"CP_SNMP_Manager"}},
        {40816, {"CP_SNMP_Agent"}},
        {40817, {"CP_Serial"}},
        {40818, {"CP_Ethernet"}},
    };
    return table;
}

QStringList modelPanels(int model)
{
    for (const TModel &m : modelTable()) {
        if (m.number == model)
            return QStringList{"CP_Ethernet_Connection", "CP_IEC61850_Server", "CP_TLS_Server"} +
                   m.middle + QStringList{"CP_NTP"};
    }
    return {};
}

const QHash<QString, TLayout> &layoutTable()
{
    static const QHash<QString, TLayout> table = {
        {"CP_Ethernet_Connection", &TFParGen::RePosition_Object_Ethernet_Connection},
        {"CP_IEC61850_Server", &TFParGen::RePosition_Object_IEC61850_Server},
        {"CP_TLS_Server", &TFParGen::RePosition_Object_TLS_Server},
        {"CP_Modbus_Master", &TFParGen::RePosition_Object_Modbus_Master},
        {"CP_NTP", &TFParGen::RePosition_Object_NTP},
        {"CP_Ethernet", &TFParGen::RePosition_Object_Ethernet},
        {"CP_Modbus_TCP_Master", &TFParGen::RePosition_Object_Modbus_TCP_Master},
        {"CP_Serial", &TFParGen::RePosition_Object_Serial},
        {"CP_PROFINET", &TFParGen::RePosition_Object_PROFINET},
        {"CP_Modbus_Slave", &TFParGen::RePosition_Object_Modbus_Slave},
        {"CP_Modbus_TCP_Slave", &TFParGen::RePosition_Object_Modbus_TCP_Slave},
        {"CP_BACnet_Master", &TFParGen::RePosition_Object_BACnet_Master},
        {"CP_BACnet_Slave", &TFParGen::RePosition_Object_BACnet_Slave},
        {"CP_CAN", &TFParGen::RePosition_Object_CAN},
        {"CP_CANopen", &TFParGen::RePosition_Object_CANopen},
        {"CP_DeviceNet_Master", &TFParGen::RePosition_Object_DeviceNet_Master},
        {"CP_DeviceNet_Slave", &TFParGen::RePosition_Object_DeviceNet_Slave},
        {"CP_EtherNetIP", &TFParGen::RePosition_Object_EtherNetIP},
        {"CP_J1939", &TFParGen::RePosition_Object_J1939},
        {"CP_KNX", &TFParGen::RePosition_Object_KNX},
        {"CP_NMEA2000", &TFParGen::RePosition_Object_NMEA2000},
        {"CP_PROFIBUS", &TFParGen::RePosition_Object_PROFIBUS},
        {"CP_SNMP_Manager", &TFParGen::RePosition_Object_SNMP_Manager},
        {"CP_SNMP_Agent", &TFParGen::RePosition_Object_SNMP_Agent},
        {"CP_MQTT", &TFParGen::RePosition_Object_MQTT},
        {"CP_WiFi", &TFParGen::RePosition_Object_WiFi},
        {"CP_TLS", &TFParGen::RePosition_Object_TLS},
    };
    return table;
}

bool checked(QWidget *w)
{
    auto *box = qobject_cast<QCheckBox *>(w);
    return box && box->isChecked();
}

int indexOf(QWidget *w)
{
    auto *list = qobject_cast<QComboBox *>(w);
    return list ? list->currentIndex() : -1;
}

} // namespace

QList<int> TFParGen::Models()
{
    QList<int> result;
    for (const TModel &m : modelTable())
        result.append(m.number);
    return result;
}

void TFParGen::fitPanel(TCategoryPanel *panel, QWidget *last)
{
    if (!panel || !last)
        return;
    panel->SetHeight(last->y() + last->height() + CPG->HeaderHeight() + 12);
}

void TFParGen::fitPanel(const char *panel, const char *last)
{
    fitPanel(Panel(QString::fromLatin1(panel)), Control(QString::fromLatin1(last)));
}

void TFParGen::showRow(const char *control, bool visible)
{
    if (TParRow *row = Row(QString::fromLatin1(control)))
        row->SetVisible(visible);
}

void TFParGen::placeRow(const char *control, int top)
{
    if (TParRow *row = Row(QString::fromLatin1(control)))
        row->SetTop(top);
}

int TFParGen::rowTop(const char *control) const
{
    TParRow *row = Row(QString::fromLatin1(control));
    return row ? row->Top() : 0;
}

// ---------------------------------------------------------------------------------------------
// Model variants

void TFParGen::Order_TAB_Panels()
{
    Order_TAB_Panels_40300();
}

void TFParGen::Move_GroupBoxs()
{
    RePosition_Objects_40300();
}

void TFParGen::Order_TAB_Panels_40300()
{
    Order_TAB_Panels_Model(40300);
}

void TFParGen::RePosition_Objects_40300()
{
    RePosition_Objects_Model(40300);
}

void TFParGen::orderPanels(const QStringList &panelNames)
{
    QList<TCategoryPanel *> order;
    for (const QString &name : panelNames)
        if (TCategoryPanel *panel = Panel(name))
            order.append(panel);
    for (TCategoryPanel *panel : std::as_const(m_panels))
        panel->setVisible(order.contains(panel));
    CPG->SetPanelOrder(order);
    for (int i = 0; i < order.size(); ++i) {
        order[i]->SetCaption(QString::number(i + 1) + QStringLiteral(". ") +
                             Lang_Texts.value(m_panelCaptionText.value(order[i]->objectName())));
        if (i > 0)
            QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void TFParGen::Order_TAB_Panels_Model(int model)
{
    const QStringList names = modelPanels(model);
    if (!names.isEmpty())
        orderPanels(names);
}

void TFParGen::RePosition_Objects_Model(int model)
{
    for (const QString &name : modelPanels(model))
        runLayout(name);
}

void TFParGen::runLayout(const QString &panelName)
{
    if (const TLayout layout = layoutTable().value(panelName))
        (this->*layout)();
}

// ---------------------------------------------------------------------------------------------
// This gateway's panels

void TFParGen::RePosition_Object_Ethernet_Connection()
{
    // DHCP over Wi-Fi is not offered on this gateway.
    CB_EthConn_En_DHCP_WiFi->setEnabled(false);
    fitPanel(CP_Ethernet_Connection, E_EthConn_Sec_DNS_IP4);
}

void TFParGen::RePosition_Object_IEC61850_Server()
{
    const bool manual = !CB_EthConn_En_DHCP_Cable->isChecked();
    for (QWidget *w : {E_IEC61850_Server_IP1, E_IEC61850_Server_IP2, E_IEC61850_Server_IP3,
                       E_IEC61850_Server_IP4, E_IEC61850_Server_SM1, E_IEC61850_Server_SM2,
                       E_IEC61850_Server_SM3, E_IEC61850_Server_SM4, E_IEC61850_Server_GAT1,
                       E_IEC61850_Server_GAT2, E_IEC61850_Server_GAT3, E_IEC61850_Server_GAT4})
        w->setEnabled(manual);
    fitPanel(CP_IEC61850_Server, E_IEC61850_Name_of_Server);
}

void TFParGen::RePosition_Object_TLS_Server()
{
    const bool on = CB_TLS_Server_Enable->isChecked();
    for (const char *name :
         {"E_TLS_Server_Key", "E_TLS_Server_Key_Pass", "E_TLS_Server_Server_Cert",
          "E_TLS_Server_Root_Cert", "CB_TLS_Server_En_Known_Cert"})
        showRow(name, on);
    fitPanel(CP_TLS_Server, on ? static_cast<QWidget *>(CB_TLS_Server_En_Known_Cert)
                               : static_cast<QWidget *>(CB_TLS_Server_Enable));
}

void TFParGen::RePosition_Object_Modbus_Master()
{
    fitPanel(CP_Modbus_Master, E_ModbusMaster_CyclicDelay);
}

void TFParGen::RePosition_Object_NTP()
{
    fitPanel(CP_NTP, E_NTP_Poll_Time);
}

// ---------------------------------------------------------------------------------------------
// The family's other panels

void TFParGen::RePosition_Object_Ethernet()
{
    showRow("E_Ethernet_TCP_Port", true);
    showRow("E_Ethernet_UDP_Port", true);
    const bool manual = !CB_EthConn_En_DHCP_Cable->isChecked();
    for (const char *name : {"E_Ethernet_IP1", "E_Ethernet_SM1", "E_Ethernet_GAT1"})
        if (TParRow *row = Row(QString::fromLatin1(name)))
            for (QWidget *w : std::as_const(row->inputs))
                w->setEnabled(manual);
    if (QWidget *gateway = Control(QStringLiteral("CB_Ethernet_En_GAT")))
        gateway->setEnabled(manual);
    fitPanel("CP_Ethernet", "E_Ethernet_UDP_Port");
}

void TFParGen::RePosition_Object_Modbus_TCP_Master()
{
    fitPanel("CP_Modbus_TCP_Master", "E_ModbusTCPMaster_CyclicDelay");
}

void TFParGen::RePosition_Object_Serial()
{
    fitPanel("CP_Serial", "CB_Serial_StopBits");
}

void TFParGen::RePosition_Object_PROFINET()
{
    fitPanel("CP_PROFINET", "E_PROFINET_Diagnostic");
}

void TFParGen::RePosition_Object_Modbus_Slave()
{
    fitPanel("CP_Modbus_Slave", "CB_ModbusSlave_ReadInput");
}

void TFParGen::RePosition_Object_Modbus_TCP_Slave()
{
    fitPanel("CP_Modbus_TCP_Slave", "E_ModbusTCPSlave_Port");
}

bool TFParGen::showBACnetRows(const char *typeList,
                              std::span<const char *const> ipRows,
                              std::span<const char *const> mstpRows)
{
    const bool ip = indexOf(Control(QString::fromLatin1(typeList))) == 0;
    for (const char *name : ipRows)
        showRow(name, ip);
    int top = 40;
    for (const char *name : mstpRows) {
        showRow(name, !ip);
        if (!ip) {
            placeRow(name, top);
            top += 28;
        }
    }
    return ip;
}

void TFParGen::RePosition_Object_BACnet_Master()
{
    static const char *const ipRows[] = {"E_BACnet_IP_Master_IP1",
                                         "E_BACnet_IP_Master_SM1",
                                         "E_BACnet_IP_Master_GAT1",
                                         "E_BACnet_IP_Master_Port",
                                         "E_BACnet_IP_Master_Device_Name",
                                         "E_BACnet_IP_Master_Device_Identifier",
                                         "E_BACnet_IP_Master_TimeOut_Polling"};
    static const char *const mstpRows[] = {
        "CB_BACnet_MSTP_Master_Baudrate",      "CB_BACnet_MSTP_Master_Parity",
        "E_BACnet_MSTP_Master_Device_Name",    "E_BACnet_MSTP_Master_MAC_Address",
        "E_BACnet_MSTP_Master_Max_Master",     "E_BACnet_MSTP_Master_Max_Info_Frame",
        "E_BACnet_MSTP_Master_Device_Instance"};
    const bool ip = showBACnetRows("CB_BACnet_Master_Type", ipRows, mstpRows);
    fitPanel("CP_BACnet_Master",
             ip ? "E_BACnet_IP_Master_TimeOut_Polling" : "E_BACnet_MSTP_Master_Device_Instance");
}

void TFParGen::RePosition_Object_BACnet_Slave()
{
    static const char *const ipRows[] = {
        "E_BACnet_IP_Slave_IP1",         "E_BACnet_IP_Slave_SM1",
        "E_BACnet_IP_Slave_GAT1",        "E_BACnet_IP_Slave_Port",
        "E_BACnet_IP_Slave_Device_Name", "E_BACnet_IP_Slave_Device_Identifier"};
    static const char *const mstpRows[] = {
        "CB_BACnet_MSTP_Slave_Baudrate",       "CB_BACnet_MSTP_Slave_Parity",
        "E_BACnet_MSTP_Slave_Device_Name",     "E_BACnet_MSTP_Slave_MAC_Address",
        "E_BACnet_MSTP_Slave_Max_Master",      "E_BACnet_MSTP_Slave_Max_Info_Frame",
        "E_BACnet_MSTP_Slave_Device_Instance", "E_BACnet_MSTP_Slave_Network"};
    const bool ip = showBACnetRows("CB_BACnet_Slave_Type", ipRows, mstpRows);
    const int last =
        ip ? rowTop("E_BACnet_IP_Slave_Device_Identifier") : rowTop("E_BACnet_MSTP_Slave_Network");
    placeRow("CB_BACnet_Slave_Desc_32_Chars", last + 28);
    fitPanel("CP_BACnet_Slave", "CB_BACnet_Slave_Desc_32_Chars");
}

void TFParGen::RePosition_Object_CAN()
{
    fitPanel("CP_CAN", "CB_CAN_Baudrate");
}

void TFParGen::RePosition_Object_CANopen()
{
    fitPanel("CP_CANopen", "E_CANopen_SDO_Timeout");
}

void TFParGen::RePosition_Object_DeviceNet_Master()
{
    fitPanel("CP_DeviceNet_Master", "CB_DeviceNet_Master_Baudrate");
}

void TFParGen::RePosition_Object_DeviceNet_Slave()
{
    fitPanel("CP_DeviceNet_Slave", "E_DeviceNet_Slave_NumByteOut");
}

void TFParGen::RePosition_Object_EtherNetIP()
{
    fitPanel("CP_EtherNetIP", "E_EtherNetIP_NByte_Out");
}

void TFParGen::RePosition_Object_J1939()
{
    fitPanel("CP_J1939", "E_J1939_ID_Device");
}

void TFParGen::RePosition_Object_KNX()
{
    fitPanel("CP_KNX", "E_KNX_IDDevice");
}

void TFParGen::RePosition_Object_NMEA2000()
{
    fitPanel("CP_NMEA2000", "CB_NMEA2000_Peer_To_Peer");
}

void TFParGen::RePosition_Object_PROFIBUS()
{
    fitPanel("CP_PROFIBUS", "E_PROFIBUS_NByte_Out");
}

void TFParGen::RePosition_Object_SNMP_Manager()
{
    fitPanel("CP_SNMP_Manager", "E_SNMP_Manager_NameStation");
}

void TFParGen::RePosition_Object_SNMP_Agent()
{
    const bool v3 = checked(Control(QStringLiteral("CB_SNMP_Agent_Version3")));
    const int level = indexOf(Control(QStringLiteral("CB_SNMP_Agent_SecurityLevel")));
    const bool authority = v3 && level >= 1;
    const bool privacy = v3 && level >= 2;
    showRow("E_SNMP_Agent_User", v3);
    showRow("CB_SNMP_Agent_SecurityLevel", v3);
    showRow("E_SNMP_Agent_Authority", authority);
    showRow("CB_SNMP_Agent_AuthorityMode", authority);
    showRow("E_SNMP_Agent_Privacy", privacy);
    showRow("CB_SNMP_Agent_PrivacyMode", privacy);
    const char *last = !v3         ? "CB_SNMP_Agent_Version3"
                       : privacy   ? "CB_SNMP_Agent_PrivacyMode"
                       : authority ? "CB_SNMP_Agent_AuthorityMode"
                                   : "CB_SNMP_Agent_SecurityLevel";
    fitPanel("CP_SNMP_Agent", last);
}

void TFParGen::RePosition_Object_MQTT()
{
    static const char *const willRows[] = {"E_MQTT_Topic_Name_Will", "E_MQTT_Message_Will",
                                           "CB_MQTT_Will_Retained", "CB_MQTT_Will_QoS"};
    const bool will = checked(Control(QStringLiteral("CB_MQTT_WillFlag")));
    for (const char *name : willRows)
        showRow(name, will);
    // Without the will rows the user name takes the first will row's place.
    const int userTop = will ? rowTop("CB_MQTT_Will_QoS") + 28 : 180;
    placeRow("E_MQTT_Username", userTop);
    placeRow("E_MQTT_Password", userTop + 28);
    showRow("E_MQTT_ASync_Send_Time", false);
    fitPanel("CP_MQTT", "E_MQTT_Password");
}

void TFParGen::RePosition_Object_WiFi()
{
    const int T = rowTop("CB_WiFi_Type");
    const int type = indexOf(Control(QStringLiteral("CB_WiFi_Type")));
    auto put = [this](const char *name, int top) {
        showRow(name, true);
        placeRow(name, top);
    };

    if (type == 0) { // access point
        showRow("CB_WiFi_IP_Auto", false);
        put("E_WiFi_IP1", T + 28);
        put("E_WiFi_SM1", T + 56);
        put("CB_WiFi_En_Gat", T + 84);
        put("CB_WiFi_En_DNS", T + 112);
        put("E_WiFi_Port", T + 140);
        put("E_WiFi_SSID", T + 168);
        put("CB_WiFi_Secure_Type", T + 196);
        showRow("CB_WiFi_En_WPS", false);
        int dhcp = T + 224;
        if (indexOf(Control(QStringLiteral("CB_WiFi_Secure_Type"))) == 0) {
            showRow("E_WiFi_Password", false);
        } else {
            put("E_WiFi_Password", T + 224);
            dhcp = T + 252;
        }
        put("CB_WiFi_En_DHCP", dhcp);
        int maxClient = dhcp + 28;
        if (checked(Control(QStringLiteral("CB_WiFi_En_DHCP")))) {
            put("E_WiFi_DHCP_First_IP1", dhcp + 28);
            put("E_WiFi_DHCP_SM1", dhcp + 56);
            put("E_WiFi_Lease_Time", dhcp + 84);
            maxClient = dhcp + 112;
        } else {
            showRow("E_WiFi_DHCP_First_IP1", false);
            showRow("E_WiFi_DHCP_SM1", false);
            showRow("E_WiFi_Lease_Time", false);
        }
        put("CB_WiFi_Max_Client", maxClient);
        put("CB_WiFi_Channel", maxClient + 28);
        showRow("E_WiFi_Name", false);
        fitPanel("CP_WiFi", "CB_WiFi_Channel");
    } else if (type == 1) { // client
        put("CB_WiFi_IP_Auto", T + 28);
        int port = T + 168;
        if (checked(Control(QStringLiteral("CB_WiFi_IP_Auto")))) {
            for (const char *name :
                 {"E_WiFi_IP1", "E_WiFi_SM1", "CB_WiFi_En_Gat", "CB_WiFi_En_DNS"})
                showRow(name, false);
            put("E_WiFi_Name", T + 56);
            port = T + 84;
        } else {
            put("E_WiFi_IP1", T + 56);
            put("E_WiFi_SM1", T + 84);
            put("CB_WiFi_En_Gat", T + 112);
            put("CB_WiFi_En_DNS", T + 140);
            showRow("E_WiFi_Name", false);
        }
        put("E_WiFi_Port", port);
        put("E_WiFi_SSID", port + 28);
        put("E_WiFi_Password", port + 56);
        for (const char *name :
             {"CB_WiFi_En_WPS", "CB_WiFi_Secure_Type", "CB_WiFi_En_DHCP", "E_WiFi_DHCP_First_IP1",
              "E_WiFi_DHCP_SM1", "E_WiFi_Lease_Time", "CB_WiFi_Max_Client", "CB_WiFi_Channel"})
            showRow(name, false);
        fitPanel("CP_WiFi", "E_WiFi_Password");
    }
    // Wi-Fi Direct keeps the previous layout.
}

void TFParGen::RePosition_Object_TLS()
{
    static const char *const clientRows[] = {"E_TLS_Client_Cert", "E_TLS_Client_Cert_Key",
                                             "E_TLS_Client_Cert_Key_Pass"};
    if (!checked(Control(QStringLiteral("CB_TLS_Enable")))) {
        for (const char *name :
             {"CB_TLS_En_Server_Auth", "E_TLS_Server_Cert", "CB_TLS_En_Client_Auth"})
            showRow(name, false);
        for (const char *name : clientRows)
            showRow(name, false);
        fitPanel("CP_TLS", "CB_TLS_Enable");
        return;
    }
    showRow("CB_TLS_En_Server_Auth", true);
    int clientAuth;
    if (checked(Control(QStringLiteral("CB_TLS_En_Server_Auth")))) {
        showRow("E_TLS_Server_Cert", true);
        clientAuth = Control(QStringLiteral("E_TLS_Server_Cert"))->y() + 28;
    } else {
        showRow("E_TLS_Server_Cert", false);
        clientAuth = rowTop("CB_TLS_En_Server_Auth") + 28;
    }
    showRow("CB_TLS_En_Client_Auth", true);
    placeRow("CB_TLS_En_Client_Auth", clientAuth);
    if (checked(Control(QStringLiteral("CB_TLS_En_Client_Auth")))) {
        int top = clientAuth;
        for (const char *name : clientRows) {
            top += 28;
            showRow(name, true);
            placeRow(name, top);
        }
        fitPanel("CP_TLS", "E_TLS_Client_Cert_Key_Pass");
    } else {
        for (const char *name : clientRows)
            showRow(name, false);
        fitPanel("CP_TLS", "CB_TLS_En_Client_Auth");
    }
}
