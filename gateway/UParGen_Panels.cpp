// The 27 category panels of the general parameter dialog, built from one table: per panel its
// caption text and its rows; per row the kind, the controls' names, the first text number
// (the caption, then one hint per control in order), design values and list items.
#include "gateway/UParGen.h"

#include "platform/ui/CategoryPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>

namespace {

// A multi-line text box one line high. Its viewport is exactly one line of its font, so the
// line shown is always whole and the next one never peeks in below it.
class TOneLineBox : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

    // The design rectangle; taller only when one line of the font needs more.
    void place(const QRect &design)
    {
        document()->setDocumentMargin(0);
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
        const int line = fontMetrics().lineSpacing();
        const int frame = frameWidth();
        const int height = std::max(design.height(), line + 2 * frame + 2);
        const int spare = height - 2 * frame - line;
        setViewportMargins(kSideMargin, spare / 2, kSideMargin, spare - spare / 2);
        setGeometry(design.x(), design.y(), design.width(), height);
    }

private:
    static constexpr int kSideMargin = 3;
};

enum class TRowKind {
    Edit,        // label + edit
    Octets,      // label + four octet edits
    List,        // label + drop-down list
    Rich,        // label + multi-line text box
    Check,       // check box across the row
    CheckOctets, // check box + four octet edits
    CheckEdit,   // check box + edit
    Checks3,     // label + three check boxes captioned "1", "2", "3"
};

struct TRowDesc
{
    TRowKind kind;
    const char *caption; // label or check box; nullptr: "L_" + the input's suffix
    const char *input;   // edit, list or text box; octet and Checks3 names add the digits 1-4
    int text;            // caption text; the hints follow one per control
    const char *value = nullptr; // design text of the edit, or the list's selected item
    const char *items = nullptr; // '|'-separated fixed items
    int itemTexts = 0;           // items taken from the texts after the hint instead
    int maxLength = 0;
    bool lower = false;
    bool noHint = false;
    bool disabled = false;
    int captionWidth = 0;
    int inputLeft = 0;
    int inputWidth = 0;

    TRowDesc Value(const char *v) const
    {
        TRowDesc r = *this;
        r.value = v;
        return r;
    }
    TRowDesc Max(int n, bool toLower = false) const
    {
        TRowDesc r = *this;
        r.maxLength = n;
        r.lower = toLower;
        return r;
    }
    TRowDesc NoHint() const
    {
        TRowDesc r = *this;
        r.noHint = true;
        return r;
    }
    TRowDesc Disabled() const
    {
        TRowDesc r = *this;
        r.disabled = true;
        return r;
    }
    TRowDesc Caption(const char *name) const
    {
        TRowDesc r = *this;
        r.caption = name;
        return r;
    }
    TRowDesc Geometry(int captionW, int left, int width) const
    {
        TRowDesc r = *this;
        r.captionWidth = captionW;
        r.inputLeft = left;
        r.inputWidth = width;
        return r;
    }
};

TRowDesc Edit(const char *input, int text)
{
    return {TRowKind::Edit, nullptr, input, text};
}
TRowDesc Octets(const char *base, int text)
{
    return {TRowKind::Octets, nullptr, base, text};
}
TRowDesc List(const char *input, int text, const char *items, const char *selected = nullptr)
{
    TRowDesc r{TRowKind::List, nullptr, input, text};
    r.items = items;
    r.value = selected;
    return r;
}
TRowDesc ListFromTexts(const char *input, int text, int count)
{
    TRowDesc r{TRowKind::List, nullptr, input, text};
    r.itemTexts = count;
    return r;
}
TRowDesc Rich(const char *input, int text)
{
    return {TRowKind::Rich, nullptr, input, text};
}
TRowDesc Check(const char *box, int text)
{
    return {TRowKind::Check, box, nullptr, text};
}
TRowDesc CheckOctets(const char *box, const char *base, int text)
{
    return {TRowKind::CheckOctets, box, base, text};
}
TRowDesc CheckEdit(const char *box, const char *input, int text)
{
    return {TRowKind::CheckEdit, box, input, text};
}
TRowDesc Checks3(const char *label, const char *base, int text)
{
    return {TRowKind::Checks3, label, base, text};
}

struct TPanelDesc
{
    const char *name;
    int captionText;
    std::vector<TRowDesc> rows;
};

constexpr char kBaud[] = "1200|2400|4800|9600|19200|38400|57600|115200";
constexpr char kParity[] = "NONE|ODD|EVEN";
constexpr char kStop[] = "1 Stop Bits|2 Stop Bits";
constexpr char kSerial[] = "RS232|RS485";
constexpr char kBACnetType[] = "BACnet/IP|BACnet MS/TP";
constexpr char kBACnetBaud[] = "9600|19200|38400|57600|76800|115200";
constexpr char kCANBaud[] = "10K|20K|50K|62.5K|100K|125K|250K|500K|800K|1000K";
constexpr char kDNBaud[] = "125K|250K|500K";

// clang-format off
const std::vector<TPanelDesc> &panelTable()
{
    static const std::vector<TPanelDesc> table = {
        // This gateway's five panels.
        {"CP_Ethernet_Connection", 1932, {
            Edit("E_EthConn_Device_Name", 1933).Max(31),
            Check("CB_EthConn_En_DHCP_Cable", 1935),
            Check("CB_EthConn_En_DHCP_WiFi", 1937),
            Check("CB_EthConn_Enable_DNS", 1939),
            Octets("E_EthConn_Pri_DNS_IP", 1941).Caption("L_EthConn_Primary_DNS"),
            Octets("E_EthConn_Sec_DNS_IP", 1946).Caption("L_EthConn_Secondary_DNS"),
        }},
        {"CP_IEC61850_Server", 406, {
            Octets("E_IEC61850_Server_IP", 591),
            Octets("E_IEC61850_Server_SM", 596),
            CheckOctets("CB_IEC61850_Server_En_GAT", "E_IEC61850_Server_GAT", 601),
            Edit("E_IEC61850_Server_Port", 407),
            Edit("E_IEC61850_Server_Password", 409),
            Edit("E_IEC61850_Name_of_Server", 1959).Max(15),
        }},
        {"CP_TLS_Server", 411, {
            Check("CB_TLS_Server_Enable", 412),
            Rich("E_TLS_Server_Key", 414),
            Edit("E_TLS_Server_Key_Pass", 416),
            Rich("E_TLS_Server_Server_Cert", 418),
            Rich("E_TLS_Server_Root_Cert", 420),
            Check("CB_TLS_Server_En_Known_Cert", 422),
        }},
        {"CP_Modbus_Master", 424, {
            List("CB_ModbusMaster_Serial", 425, kSerial),
            List("CB_ModbusMaster_Baudrate", 427, kBaud, "115200"),
            List("CB_ModbusMaster_Parity", 429, kParity),
            List("CB_ModbusMaster_StopBits", 431, kStop),
            Edit("E_ModbusMaster_TimeOut", 433).Value("1000"),
            Edit("E_ModbusMaster_CyclicDelay", 435).Value("100"),
        }},
        {"CP_NTP", 1916, {
            Edit("E_NTP_Server_URL", 1917),
            Edit("E_NTP_Poll_Time", 1919),
        }},
        // The family's other panels; hidden in this gateway.
        {"CP_Ethernet", 442, {
            Octets("E_Ethernet_IP", 443),
            Octets("E_Ethernet_SM", 448),
            CheckOctets("CB_Ethernet_En_GAT", "E_Ethernet_GAT", 453),
            Edit("E_Ethernet_TCP_Port", 465),
            Edit("E_Ethernet_UDP_Port", 467),
        }},
        {"CP_Modbus_TCP_Master", 487, {
            Octets("E_ModbusTCPMaster_IP", 488),
            Octets("E_ModbusTCPMaster_SM", 493),
            CheckOctets("CB_ModbusTCPMaster_En_GAT", "E_ModbusTCPMaster_GAT", 498),
            Edit("E_ModbusTCPMaster_TimeOut", 504).Value("1000"),
            Edit("E_ModbusTCPMaster_CyclicDelay", 506).Value("100"),
        }},
        {"CP_Serial", 522, {
            List("CB_Serial_Serial", 523, kSerial),
            List("CB_Serial_Baudrate", 525, kBaud, "115200"),
            List("Cb_Serial_Parity", 527, kParity),
            List("CB_Serial_StopBits", 529, kStop),
        }},
        {"CP_PROFINET", 532, {
            Octets("E_PROFINET_IP", 533),
            Octets("E_PROFINET_SM", 538),
            CheckOctets("CB_PROFINET_GAT", "E_PROFINET_GAT", 543),
            Edit("E_PROFINET_TunnelPort", 549),
            Edit("E_PROFINET_NameStation", 551).Max(15, true),
            Edit("E_PROFINET_NByte_In", 553).Value("1438"),
            Edit("E_PROFINET_NByte_Out", 555).Value("1438"),
            CheckEdit("CB_PROFINET_Diagnostic", "E_PROFINET_Diagnostic", 557),
        }},
        {"CP_Modbus_Slave", 576, {
            List("CB_ModbusSlave_Serial", 577, kSerial),
            List("CB_ModbusSlave_Baudrate", 579, kBaud, "115200"),
            List("CB_ModbusSlave_Parity", 581, kParity),
            List("CB_ModbusSlave_StopBits", 583, kStop),
            Edit("E_ModbusSlave_IDDevice", 585).Value("1"),
            Check("CB_ModbusSlave_ReadInput", 587),
        }},
        {"CP_Modbus_TCP_Slave", 619, {
            Octets("E_ModbusTCPSlave_IP", 620),
            Octets("E_ModbusTCPSlave_SM", 625),
            CheckOctets("CB_ModbusTCPSlave_En_GAT", "E_ModbusTCPSlave_GAT", 630),
            Edit("E_ModbusTCPSlave_Port", 636).Value("502"),
        }},
        {"CP_BACnet_Master", 651, {
            List("CB_BACnet_Master_Type", 652, kBACnetType),
            Octets("E_BACnet_IP_Master_IP", 654),
            Octets("E_BACnet_IP_Master_SM", 659),
            CheckOctets("CB_BACnet_IP_Master_GAT", "E_BACnet_IP_Master_GAT", 664),
            Edit("E_BACnet_IP_Master_Port", 670),
            Edit("E_BACnet_IP_Master_Device_Name", 672).Max(15, true),
            Edit("E_BACnet_IP_Master_Device_Identifier", 674),
            Edit("E_BACnet_IP_Master_TimeOut_Polling", 676).Value("2000"),
            List("CB_BACnet_MSTP_Master_Baudrate", 678, kBACnetBaud, "115200"),
            List("CB_BACnet_MSTP_Master_Parity", 680, kParity),
            Edit("E_BACnet_MSTP_Master_Device_Name", 682).Max(15, true),
            Edit("E_BACnet_MSTP_Master_MAC_Address", 684),
            Edit("E_BACnet_MSTP_Master_Max_Master", 686),
            Edit("E_BACnet_MSTP_Master_Max_Info_Frame", 688),
            Edit("E_BACnet_MSTP_Master_Device_Instance", 690),
        }},
        {"CP_BACnet_Slave", 711, {
            List("CB_BACnet_Slave_Type", 712, kBACnetType),
            Octets("E_BACnet_IP_Slave_IP", 714),
            Octets("E_BACnet_IP_Slave_SM", 719),
            CheckOctets("CB_BACnet_IP_Slave_GAT", "E_BACnet_IP_Slave_GAT", 724),
            Edit("E_BACnet_IP_Slave_Port", 730),
            Edit("E_BACnet_IP_Slave_Device_Name", 732).Max(15, true),
            Edit("E_BACnet_IP_Slave_Device_Identifier", 734),
            List("CB_BACnet_MSTP_Slave_Baudrate", 736, kBACnetBaud, "115200"),
            List("CB_BACnet_MSTP_Slave_Parity", 738, kParity),
            Edit("E_BACnet_MSTP_Slave_Device_Name", 740).Max(15, true),
            Edit("E_BACnet_MSTP_Slave_MAC_Address", 742),
            Edit("E_BACnet_MSTP_Slave_Max_Master", 744),
            Edit("E_BACnet_MSTP_Slave_Max_Info_Frame", 746),
            Edit("E_BACnet_MSTP_Slave_Device_Instance", 748),
            Edit("E_BACnet_MSTP_Slave_Network", 750),
            Check("CB_BACnet_Slave_Desc_32_Chars", 752),
        }},
        {"CP_CAN", 774, {
            List("CB_CAN_Baudrate", 775, kCANBaud, "1000K"),
        }},
        {"CP_CANopen", 777, {
            Edit("E_CANopen_IDDevice", 778),
            List("CB_CANopen_Baudrate", 780, "10K|20K|50K|100K|125K|250K|500K|800K|1000K|", "1000K"),
            Check("CB_CANopen_SetOpe", 782),
            CheckEdit("CB_CANopen_NetOpe", "E_CANopen_NetOpe_Delay", 784).Geometry(293, 313, 116),
            Edit("E_CANopen_SDO_Timeout", 787).Value("1").Geometry(0, 252, 177),
        }},
        {"CP_DeviceNet_Master", 792, {
            Edit("E_DeviceNet_Master_IDDevice", 793),
            List("CB_DeviceNet_Master_Baudrate", 795, kDNBaud, "500K"),
        }},
        {"CP_DeviceNet_Slave", 1600, {
            Edit("E_DeviceNet_Slave_IDDevice", 1601),
            List("CB_DeviceNet_Slave_Baudrate", 1603, kDNBaud, "500K"),
            Edit("E_DeviceNet_Slave_NumByteIn", 1605).Value("455"),
            Edit("E_DeviceNet_Slave_NumByteOut", 1607).Value("455"),
        }},
        {"CP_EtherNetIP", 1612, {
            Octets("E_EtherNetIP_IP", 1613),
            Octets("E_EtherNetIP_SM", 1618),
            CheckOctets("CB_EtherNetIP_GAT", "E_EtherNetIP_GAT", 1623),
            Edit("E_EtherNetIP_TunnelPort", 1629).Value("44818").Disabled(),
            Edit("E_EtherNetIP_NByte_In", 1631).Value("496"),
            Edit("E_EtherNetIP_NByte_Out", 1633).Value("496"),
        }},
        {"CP_J1939", 1654, {
            List("CB_J1939_Baudrate", 1655, kCANBaud),
            Edit("E_J1939_TimeOut_Data", 1657),
            Check("CB_J1939_Enable_Peer_To_Peer", 1659),
            Edit("E_J1939_ID_Device", 1661).Value("1"),
        }},
        {"CP_KNX", 1665, {
            List("CB_KNX_Type", 1666, "KNX TP|KNXnet/IP").Disabled(),
            Edit("E_KNX_IDDevice", 1668),
        }},
        {"CP_NMEA2000", 1671, {
            List("CB_NMEA2000_Baudrate", 1672, kCANBaud),
            Edit("E_NMEA2000_TimeOut_Data", 1674),
            Check("CB_NMEA2000_Peer_To_Peer", 1676),
        }},
        {"CP_PROFIBUS", 1679, {
            Edit("E_PROFIBUS_IDDevice", 1680),
            List("CB_PROFIBUS_Baudrate", 1682, "Auto Baudrate").Disabled(),
            Edit("E_PROFIBUS_NByte_In", 1684).Value("244"),
            Edit("E_PROFIBUS_NByte_Out", 1686).Value("244"),
        }},
        {"CP_SNMP_Manager", 1691, {
            Octets("E_SNMP_Manager_IP", 1692),
            Octets("E_SNMP_Manager_SM", 1697),
            CheckOctets("CB_SNMP_Manager_GAT", "E_SNMP_Manager_GAT", 1702),
            Edit("E_SNMP_Manager_NameStation", 1708).Max(15, true).NoHint(),
        }},
        {"CP_SNMP_Agent", 1721, {
            Octets("E_SNMP_Agent_IP", 1722),
            Octets("E_SNMP_Agent_SM", 1727),
            CheckOctets("CB_SNMP_Agent_GAT", "E_SNMP_Agent_GAT", 1732),
            Edit("E_SNMP_Agent_NameStation", 1738).Max(15, true),
            Edit("E_SNMP_Agent_Contact", 1740).Max(16),
            Edit("E_SNMP_Agent_Location", 1742).Max(16),
            Checks3("L_SNMP_Agent_Version", "CB_SNMP_Agent_Version", 1744),
            Edit("E_SNMP_Agent_User", 1748).Max(19),
            List("CB_SNMP_Agent_SecurityLevel", 1750,
                 "NoAuthority NoPrivacy|Authority NoPrivacy|Authority Privacy"),
            Edit("E_SNMP_Agent_Authority", 1752).Max(15),
            List("CB_SNMP_Agent_AuthorityMode", 1754, "MD5|SHA"),
            Edit("E_SNMP_Agent_Privacy", 1756).Max(15),
            List("CB_SNMP_Agent_PrivacyMode", 1758, "DES|AES"),
        }},
        {"CP_MQTT", 1772, {
            Edit("E_MQTT_Server_URL", 1773),
            Edit("E_MQTT_Server_Port", 1775).Value("1883"),
            Edit("E_MQTT_Client_ID", 1777),
            Edit("E_MQTT_Keep_Alive", 1779),
            Check("CB_MQTT_Clean_Session", 1781),
            Check("CB_MQTT_WillFlag", 1783),
            Edit("E_MQTT_Topic_Name_Will", 1785),
            Edit("E_MQTT_Message_Will", 1787),
            Check("CB_MQTT_Will_Retained", 1789),
            List("CB_MQTT_Will_QoS", 1791, "0|1|2"),
            Edit("E_MQTT_Username", 1793),
            Rich("E_MQTT_Password", 1795),
            Edit("E_MQTT_ASync_Send_Time", 1797),
        }},
        {"CP_WiFi", 1799, {
            ListFromTexts("CB_WiFi_Type", 1800, 3),
            Check("CB_WiFi_IP_Auto", 1805),
            Octets("E_WiFi_IP", 1807),
            Octets("E_WiFi_SM", 1812),
            CheckOctets("CB_WiFi_En_Gat", "E_WiFi_GAT", 1817),
            CheckOctets("CB_WiFi_En_DNS", "E_WiFi_DNS", 1823),
            Edit("E_WiFi_Port", 1829),
            Check("CB_WiFi_En_WPS", 1831),
            Edit("E_WiFi_SSID", 1833),
            Edit("E_WiFi_Password", 1835),
            ListFromTexts("CB_WiFi_Secure_Type", 1837, 4),
            Check("CB_WiFi_En_DHCP", 1843),
            Octets("E_WiFi_DHCP_First_IP", 1845),
            Octets("E_WiFi_DHCP_SM", 1850),
            Edit("E_WiFi_Lease_Time", 1855),
            Edit("E_WiFi_Name", 1857),
            List("CB_WiFi_Max_Client", 1859, "1|2|3|4|5|6|7|8|9|10", "10"),
            ListFromTexts("CB_WiFi_Channel", 1861, 12),
        }},
        {"CP_TLS", 1901, {
            Check("CB_TLS_Enable", 1902),
            Check("CB_TLS_En_Server_Auth", 1904),
            Rich("E_TLS_Server_Cert", 1906),
            Check("CB_TLS_En_Client_Auth", 1908),
            Rich("E_TLS_Client_Cert", 1910),
            Rich("E_TLS_Client_Cert_Key", 1912),
            Edit("E_TLS_Client_Cert_Key_Pass", 1914),
        }},
    };
    return table;
}
// clang-format on

// "L_" + the input's name without its kind prefix.
QString labelName(const char *input)
{
    QString s = QString::fromLatin1(input);
    const int cut = s.indexOf(QLatin1Char('_'));
    return QStringLiteral("L") + s.mid(cut);
}

// Limits what the user types to `max` characters (and to lower case when asked) without
// cutting a longer text that the program put there: such a text may shrink but not grow.
class TTypingLimit : public QValidator
{
public:
    TTypingLimit(QLineEdit *edit, int max, bool lower)
        : QValidator(edit), m_max(max), m_lower(lower)
    {
        QObject::connect(edit, &QLineEdit::textChanged, this,
                         [this](const QString &text) { m_current = int(text.size()); });
    }

    State validate(QString &input, int &) const override
    {
        if (m_lower)
            input = input.toLower();
        if (m_max <= 0 || input.size() <= m_max || input.size() <= m_current)
            return Acceptable;
        return Invalid;
    }

    // Lets the next text set by the program through whole.
    void AllowLength(int length) { m_current = length; }

private:
    int m_max;
    bool m_lower;
    int m_current = 0;
};

} // namespace

void TFParGen::setTextKeepingLimit(QLineEdit *edit, const QString &text)
{
    if (auto *limit = dynamic_cast<TTypingLimit *>(const_cast<QValidator *>(edit->validator())))
        limit->AllowLength(int(text.size()));
    edit->setText(text);
}

void TFParGen::buildPanels()
{
    const QFont labelFont = font();

    auto registerControl = [this](QWidget *w, const QString &name) {
        w->setObjectName(name);
        m_controls.insert(name, w);
    };

    for (const TPanelDesc &pd : panelTable()) {
        auto *panel = new TCategoryPanel(CPG);
        const QString panelName = QString::fromLatin1(pd.name);
        registerControl(panel, panelName);
        panel->SetColor(palette().color(QPalette::Window));
        panel->hide();
        m_panels.append(panel);
        m_panelCaptionText.insert(panelName, pd.captionText);
        QWidget *surface = panel->Surface();

        int top = 12;
        for (const TRowDesc &rd : pd.rows) {
            m_rows.emplace_back();
            TParRow &row = m_rows.back();
            row.panel = panel;
            int text = rd.text;
            auto hint = [&](QWidget *w) {
                if (!rd.noHint)
                    m_texts.append({w, ++text, true});
            };

            // Caption control.
            const bool captionIsCheck = rd.kind == TRowKind::Check ||
                                        rd.kind == TRowKind::CheckOctets ||
                                        rd.kind == TRowKind::CheckEdit;
            if (captionIsCheck) {
                auto *box = new QCheckBox(surface);
                registerControl(box, QString::fromLatin1(rd.caption));
                int w = rd.kind == TRowKind::Check ? 415 : 175;
                if (rd.captionWidth)
                    w = rd.captionWidth;
                box->setGeometry(14, top, w, 17);
                row.caption = box;
                m_texts.append({box, text, false});
                hint(box);
            } else {
                auto *label = new QLabel(surface);
                registerControl(label,
                                rd.caption ? QString::fromLatin1(rd.caption) : labelName(rd.input));
                label->setFont(labelFont);
                label->move(14, top);
                row.caption = label;
                m_texts.append({label, text, false});
            }

            const int left = rd.inputLeft ? rd.inputLeft : 191;
            const int width = rd.inputWidth ? rd.inputWidth : 238;
            auto addEdit = [&](const QString &name, int x, int w) {
                auto *edit = new QLineEdit(surface);
                registerControl(edit, name);
                edit->setGeometry(x, top - 3, w, 21);
                row.inputs.append(edit);
                hint(edit);
                return edit;
            };

            switch (rd.kind) {
            case TRowKind::Edit:
            case TRowKind::CheckEdit: {
                QLineEdit *edit = addEdit(QString::fromLatin1(rd.input), left, width);
                if (rd.maxLength || rd.lower)
                    edit->setValidator(new TTypingLimit(edit, rd.maxLength, rd.lower));
                if (rd.value)
                    edit->setText(QString::fromLatin1(rd.value));
                if (rd.disabled)
                    edit->setEnabled(false);
                break;
            }
            case TRowKind::Octets:
            case TRowKind::CheckOctets:
                for (int i = 0; i < 4; ++i) {
                    QLineEdit *edit = addEdit(
                        QString::fromLatin1(rd.input) + QString::number(i + 1), 191 + 61 * i, 55);
                    m_octets.append(edit);
                    if (i < 3) {
                        auto *dot = new QLabel(QStringLiteral("."), surface);
                        dot->setObjectName(QString::fromLatin1(rd.input) + QStringLiteral("_Dot") +
                                           QString::number(i + 1));
                        dot->setGeometry(247 + 61 * i, top, 4, 13);
                        row.dots.append(dot);
                    }
                }
                break;
            case TRowKind::List: {
                auto *list = new QComboBox(surface);
                registerControl(list, QString::fromLatin1(rd.input));
                list->setEditable(false);
                list->setGeometry(left, top - 3, width, 22);
                if (rd.items)
                    list->addItems(QString::fromLatin1(rd.items).split(QLatin1Char('|')));
                row.inputs.append(list);
                hint(list);
                if (rd.itemTexts) {
                    m_listTexts.append({list, text + 1, rd.itemTexts});
                    text += rd.itemTexts;
                }
                list->setCurrentIndex(rd.value ? list->findText(QString::fromLatin1(rd.value)) : 0);
                if (rd.disabled)
                    list->setEnabled(false);
                break;
            }
            case TRowKind::Rich: {
                auto *box = new TOneLineBox(surface);
                registerControl(box, QString::fromLatin1(rd.input));
                box->place(QRect(left, top - 3, width, 23));
                box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                box->setTabChangesFocus(true);
                row.inputs.append(box);
                hint(box);
                break;
            }
            case TRowKind::Checks3:
                for (int i = 0; i < 3; ++i) {
                    auto *box = new QCheckBox(QString::number(i + 1), surface);
                    registerControl(box, QString::fromLatin1(rd.input) + QString::number(i + 1));
                    box->setGeometry(191 + 79 * i, top, 60, 17);
                    row.inputs.append(box);
                    hint(box);
                }
                break;
            case TRowKind::Check:
                break;
            }

            // Controls are created row by row, so the tab order follows the rows.
            m_rowOf.insert(row.caption->objectName(), &row);
            for (QWidget *w : row.inputs)
                m_rowOf.insert(w->objectName(), &row);
            top += 28;
        }
    }

    // A spare edit of the MQTT panel: never shown, never filled.
    if (TCategoryPanel *mqtt = Panel(QStringLiteral("CP_MQTT"))) {
        auto *spare = new QLineEdit(mqtt->Surface());
        registerControl(spare, QStringLiteral("E_MQTT_Password__"));
        spare->hide();
    }
}

TCategoryPanel *TFParGen::Panel(const QString &name) const
{
    return qobject_cast<TCategoryPanel *>(m_controls.value(name));
}

// ---------------------------------------------------------------------------------------------
// TParRow

void TParRow::SetTop(int top)
{
    caption->move(caption->x(), top);
    for (QWidget *w : std::as_const(inputs))
        w->move(w->x(), qobject_cast<QCheckBox *>(w) ? top : top - 3);
    for (QLabel *dot : std::as_const(dots))
        dot->move(dot->x(), top);
}

int TParRow::Top() const
{
    return caption->y();
}

void TParRow::SetVisible(bool visible)
{
    caption->setVisible(visible);
    for (QWidget *w : std::as_const(inputs))
        w->setVisible(visible);
    for (QLabel *dot : std::as_const(dots))
        dot->setVisible(visible);
}

QWidget *TParRow::Last() const
{
    return inputs.isEmpty() ? caption : inputs.last();
}
