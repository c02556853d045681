#include "gateway/UParGen.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "common/button/LbButtons.h"
#include "gateway/table/UTableFiles.h"
#include "platform/os/Files.h"
#include "platform/ui/CategoryPanel.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ErrorReport.h"
#include "platform/ui/Font.h"
#include "platform/ui/MessageBox.h"
#include "platform/xml/XmlDocument.h"
#include "resources/ConfigurationFolderText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr TColor kGradientColor = 14211303;
constexpr int kClientWidth = 460;
constexpr int kClientHeight = 700;

QString text(int number)
{
    return Lang_Texts.value(number);
}

// The '.' key of an octet edit jumps to the next edit of its address.
const QHash<QString, QString> &octetSuccessors()
{
    static const QHash<QString, QString> next = [] {
        QHash<QString, QString> map;
        auto chain = [&map](const QStringList &names) {
            for (int i = 0; i + 1 < names.size(); ++i)
                map.insert(names[i], names[i + 1]);
        };
        QStringList address;
        for (const char *part : {"IP", "SM", "GAT"})
            for (int i = 1; i <= 4; ++i)
                address << QStringLiteral("E_IEC61850_Server_%1%2").arg(QLatin1String(part)).arg(i);
        chain(address);
        QStringList dns;
        for (const char *part : {"Pri", "Sec"})
            for (int i = 1; i <= 4; ++i)
                dns << QStringLiteral("E_EthConn_%1_DNS_IP%2").arg(QLatin1String(part)).arg(i);
        chain(dns);
        return map;
    }();
    return next;
}

// The text box's text as it was given: toPlainText() would turn no-break spaces into blanks and
// line separators into line feeds, changing keys and certificates nobody edited.
QString boxText(const QPlainTextEdit *box)
{
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// The box shows its first line: it may still be scrolled to where the user left it at the
// last showing.
void setBoxText(QPlainTextEdit *box, const QString &text)
{
    box->setPlainText(text);
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
}

} // namespace

TFParGen::TFParGen(QWidget *parent) : TTitledForm(QStringLiteral("FParGen"), parent)
{
    buildWindow();
    buildPanels();
    bindMembers();
    wireEvents();
    FormCreate();
}

TFParGen::~TFParGen() = default;

template <typename T> void TFParGen::bind(T *&member, const char *name)
{
    member = qobject_cast<T *>(m_controls.value(QString::fromLatin1(name)));
    Q_ASSERT_X(member, "TFParGen::bind", name);
}

void TFParGen::buildWindow()
{
    SetClientWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The frame's title panel heads the column.
    P_Title->setFixedHeight(Title_Panel_Height);
    layout->addWidget(P_Title);

    CPG = new TCategoryPanelGroup(this);
    CPG->setObjectName(QStringLiteral("CPG"));
    CPG->SetHeaderFont(TFont(QStringLiteral("Verdana"), -15, TFontStyle::fsBold).toQFont());
    CPG->SetHeaderFontColor(ToQColor(clGray));
    CPG->SetChevronAlignment(Qt::AlignRight);
    CPG->SetChevronHotColor(ToQColor(clRed));
    CPG->SetGradientBaseColor(ToQColor(kGradientColor));
    CPG->SetGradientColor(ToQColor(kGradientColor));
    layout->addWidget(CPG, 1);

    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    P_Button->setFixedHeight(40);
    Btn_OK = new TLbButton(P_Button);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel = new TLbButton(P_Button);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    const char *glyphs[] = {"LBOK", "LBCANCEL"};
    int left = 219;
    int i = 0;
    for (TLbButton *button : {Btn_OK, Btn_Cancel}) {
        button->setGeometry(left, 6, 110, 28);
        Style_Push_Button(button);
        button->SetGlyph(LbResourceBitmap(QString::fromLatin1(glyphs[i++])));
        button->SetNumGlyphs(2);
        left += 116;
    }
    Btn_OK->OnClick = [this](QObject *) { Btn_OKClick(); };
    Btn_Cancel->OnClick = [this](QObject *) { Btn_CancelClick(); };
    layout->addWidget(P_Button);
}

void TFParGen::bindMembers()
{
    bind(CP_Ethernet_Connection, "CP_Ethernet_Connection");
    bind(CP_IEC61850_Server, "CP_IEC61850_Server");
    bind(CP_TLS_Server, "CP_TLS_Server");
    bind(CP_Modbus_Master, "CP_Modbus_Master");
    bind(CP_NTP, "CP_NTP");

    bind(L_EthConn_Device_Name, "L_EthConn_Device_Name");
    bind(E_EthConn_Device_Name, "E_EthConn_Device_Name");
    bind(CB_EthConn_En_DHCP_Cable, "CB_EthConn_En_DHCP_Cable");
    bind(CB_EthConn_En_DHCP_WiFi, "CB_EthConn_En_DHCP_WiFi");
    bind(CB_EthConn_Enable_DNS, "CB_EthConn_Enable_DNS");
    bind(L_EthConn_Primary_DNS, "L_EthConn_Primary_DNS");
    bind(E_EthConn_Pri_DNS_IP1, "E_EthConn_Pri_DNS_IP1");
    bind(E_EthConn_Pri_DNS_IP2, "E_EthConn_Pri_DNS_IP2");
    bind(E_EthConn_Pri_DNS_IP3, "E_EthConn_Pri_DNS_IP3");
    bind(E_EthConn_Pri_DNS_IP4, "E_EthConn_Pri_DNS_IP4");
    bind(L_EthConn_Secondary_DNS, "L_EthConn_Secondary_DNS");
    bind(E_EthConn_Sec_DNS_IP1, "E_EthConn_Sec_DNS_IP1");
    bind(E_EthConn_Sec_DNS_IP2, "E_EthConn_Sec_DNS_IP2");
    bind(E_EthConn_Sec_DNS_IP3, "E_EthConn_Sec_DNS_IP3");
    bind(E_EthConn_Sec_DNS_IP4, "E_EthConn_Sec_DNS_IP4");

    bind(L_IEC61850_Server_IP, "L_IEC61850_Server_IP");
    bind(E_IEC61850_Server_IP1, "E_IEC61850_Server_IP1");
    bind(E_IEC61850_Server_IP2, "E_IEC61850_Server_IP2");
    bind(E_IEC61850_Server_IP3, "E_IEC61850_Server_IP3");
    bind(E_IEC61850_Server_IP4, "E_IEC61850_Server_IP4");
    bind(L_IEC61850_Server_SM, "L_IEC61850_Server_SM");
    bind(E_IEC61850_Server_SM1, "E_IEC61850_Server_SM1");
    bind(E_IEC61850_Server_SM2, "E_IEC61850_Server_SM2");
    bind(E_IEC61850_Server_SM3, "E_IEC61850_Server_SM3");
    bind(E_IEC61850_Server_SM4, "E_IEC61850_Server_SM4");
    bind(CB_IEC61850_Server_En_GAT, "CB_IEC61850_Server_En_GAT");
    bind(E_IEC61850_Server_GAT1, "E_IEC61850_Server_GAT1");
    bind(E_IEC61850_Server_GAT2, "E_IEC61850_Server_GAT2");
    bind(E_IEC61850_Server_GAT3, "E_IEC61850_Server_GAT3");
    bind(E_IEC61850_Server_GAT4, "E_IEC61850_Server_GAT4");
    bind(L_IEC61850_Server_Port, "L_IEC61850_Server_Port");
    bind(E_IEC61850_Server_Port, "E_IEC61850_Server_Port");
    bind(L_IEC61850_Server_Password, "L_IEC61850_Server_Password");
    bind(E_IEC61850_Server_Password, "E_IEC61850_Server_Password");
    bind(L_IEC61850_Name_of_Server, "L_IEC61850_Name_of_Server");
    bind(E_IEC61850_Name_of_Server, "E_IEC61850_Name_of_Server");

    bind(CB_TLS_Server_Enable, "CB_TLS_Server_Enable");
    bind(L_TLS_Server_Key, "L_TLS_Server_Key");
    bind(E_TLS_Server_Key, "E_TLS_Server_Key");
    bind(L_TLS_Server_Key_Pass, "L_TLS_Server_Key_Pass");
    bind(E_TLS_Server_Key_Pass, "E_TLS_Server_Key_Pass");
    bind(L_TLS_Server_Server_Cert, "L_TLS_Server_Server_Cert");
    bind(E_TLS_Server_Server_Cert, "E_TLS_Server_Server_Cert");
    bind(L_TLS_Server_Root_Cert, "L_TLS_Server_Root_Cert");
    bind(E_TLS_Server_Root_Cert, "E_TLS_Server_Root_Cert");
    bind(CB_TLS_Server_En_Known_Cert, "CB_TLS_Server_En_Known_Cert");

    bind(L_ModbusMaster_Serial, "L_ModbusMaster_Serial");
    bind(CB_ModbusMaster_Serial, "CB_ModbusMaster_Serial");
    bind(L_ModbusMaster_Baudrate, "L_ModbusMaster_Baudrate");
    bind(CB_ModbusMaster_Baudrate, "CB_ModbusMaster_Baudrate");
    bind(L_ModbusMaster_Parity, "L_ModbusMaster_Parity");
    bind(CB_ModbusMaster_Parity, "CB_ModbusMaster_Parity");
    bind(L_ModbusMaster_StopBits, "L_ModbusMaster_StopBits");
    bind(CB_ModbusMaster_StopBits, "CB_ModbusMaster_StopBits");
    bind(L_ModbusMaster_TimeOut, "L_ModbusMaster_TimeOut");
    bind(E_ModbusMaster_TimeOut, "E_ModbusMaster_TimeOut");
    bind(L_ModbusMaster_CyclicDelay, "L_ModbusMaster_CyclicDelay");
    bind(E_ModbusMaster_CyclicDelay, "E_ModbusMaster_CyclicDelay");

    bind(L_NTP_Server_URL, "L_NTP_Server_URL");
    bind(E_NTP_Server_URL, "E_NTP_Server_URL");
    bind(L_NTP_Poll_Time, "L_NTP_Poll_Time");
    bind(E_NTP_Poll_Time, "E_NTP_Poll_Time");
}

void TFParGen::wireEvents()
{
    // Edits and text boxes report every change, also those made by the program (the load);
    // lists only the user's choices; check boxes every change of state.
    static const QSet<QString> noClickHandler = {QStringLiteral("CB_IEC61850_Server_En_GAT"),
                                                 QStringLiteral("CB_PROFINET_GAT"),
                                                 QStringLiteral("CB_PROFINET_Diagnostic")};
    for (QWidget *w : std::as_const(m_controls)) {
        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            if (edit->objectName() == QLatin1String("E_MQTT_Password__"))
                continue;
            connect(edit, &QLineEdit::textChanged, this, [this, edit] { On_Change(edit); });
        } else if (auto *box = qobject_cast<QPlainTextEdit *>(w)) {
            connect(box, &QPlainTextEdit::textChanged, this, [this, box] { On_Change(box); });
        } else if (auto *list = qobject_cast<QComboBox *>(w)) {
            connect(list, &QComboBox::activated, this, [this, list] { On_Change(list); });
        } else if (auto *check = qobject_cast<QCheckBox *>(w)) {
            if (!noClickHandler.contains(check->objectName()))
                connect(check, &QCheckBox::toggled, this, [this, check] { On_Click(check); });
        }
    }
    // Octet edits send their keys here; and the window takes the wheel before the control under
    // the pointer does.
    installEventFilter(this);
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
}

void TFParGen::FormCreate()
{
    L_SW_Code->setText(SW_Code);
    L_SW_Code->adjustSize();
    SetClientWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);
    for (TCategoryPanel *panel : std::as_const(m_panels))
        panel->hide();
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::FormShow()
{
    pargen::TParGenValues values;
    m_loadProblem.clear();
    try {
        values = pargen::loadParGen(File_ParGen);
    } catch (const plat::EXmlError &e) {
        // Reported once; the defaults stand in so that values of an earlier showing are never
        // saved into this configuration, and OK asks before they replace the file.
        m_loadProblem = e.message();
        plat::MessageBox(Table_Message(Text_File_Not_Loaded,
                                       {QDir::toNativeSeparators(File_ParGen)}) +
                             QLatin1Char('\n') + m_loadProblem,
                         plat::MsgIcon::Error);
        values = pargen::defaultValues();
    }
    SetValues(values);
    Is_Change = false;
    Move_GroupBoxs();
}

pargen::TParGenValues TFParGen::Values() const
{
    pargen::TParGenValues values;
    for (int i = 0; i < pargen::ParGen_Key_Count; ++i) {
        QWidget *w = Control(QString::fromLatin1(pargen::ParGen_Keys[i].control));
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            values[i] = edit->text();
        else if (auto *box = qobject_cast<QPlainTextEdit *>(w))
            values[i] = boxText(box);
        else if (auto *check = qobject_cast<QCheckBox *>(w))
            values[i] = check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        else if (auto *list = qobject_cast<QComboBox *>(w))
            values[i] = QString::number(list->currentIndex());
    }
    return values;
}

void TFParGen::SetValues(const pargen::TParGenValues &values)
{
    for (int i = 0; i < pargen::ParGen_Key_Count; ++i) {
        QWidget *w = Control(QString::fromLatin1(pargen::ParGen_Keys[i].control));
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            setTextKeepingLimit(edit, values[i]);
        else if (auto *box = qobject_cast<QPlainTextEdit *>(w))
            setBoxText(box, values[i]);
        else if (auto *check = qobject_cast<QCheckBox *>(w))
            check->setChecked(values[i] == QLatin1String("1"));
        else if (auto *list = qobject_cast<QComboBox *>(w))
            list->setCurrentIndex(values[i].toInt());
    }
}

bool TFParGen::Controllo_Dati()
{
    const int failed = pargen::checkParGen(Values());
    if (failed == 0)
        return true;
    plat::MessageBox(text(failed), plat::MsgIcon::Error, plat::MsgButtons::OK);
    return false;
}

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    // A configuration folder that has gone is reported, not recreated.
    const QString folder = QFileInfo(File_ParGen).absolutePath();
    if (!plat::DirExists(folder)) {
        plat::MessageBox(res::Configuration_Folder_Missing_Text(folder), plat::MsgIcon::Error,
                         plat::MsgButtons::OK);
        return;
    }
    if (!m_loadProblem.isEmpty() &&
        plat::MessageBox(Table_Message(Text_Replace_Unloaded_File,
                                       {QDir::toNativeSeparators(File_ParGen)}) +
                             QStringLiteral("\n\n") + Table_Message(Text_Save_Anyway),
                         plat::MsgIcon::Question, plat::MsgButtons::YesNo) != mrYes)
        return;
    try {
        pargen::saveParGen(File_ParGen, Values());
    } catch (const std::exception &e) {
        // The dialog stays open with the user's values.
        plat::ReportException(e);
        return;
    }
    m_loadProblem.clear();
    SetModalResult(mrOk);
}

void TFParGen::Btn_CancelClick()
{
    if (Is_Change &&
        plat::MessageBox(text(441), plat::MsgIcon::Question, plat::MsgButtons::YesNo) != mrYes)
        return;
    SetModalResult(mrCancel);
}

void TFParGen::On_Change(QObject *Sender)
{
    Is_Change = true;
    static const QSet<QString> relayout = {
        QStringLiteral("CB_BACnet_Master_Type"), QStringLiteral("CB_BACnet_Slave_Type"),
        QStringLiteral("CB_SNMP_Agent_SecurityLevel"), QStringLiteral("CB_WiFi_Type"),
        QStringLiteral("CB_WiFi_Secure_Type")};
    if (Sender && relayout.contains(Sender->objectName()))
        Move_GroupBoxs();
}

void TFParGen::On_Click(QObject *Sender)
{
    Is_Change = true;
    static const QSet<QString> relayout = {
        QStringLiteral("CB_TLS_Server_Enable"),     QStringLiteral("CB_SNMP_Agent_Version3"),
        QStringLiteral("CB_MQTT_WillFlag"),         QStringLiteral("CB_TLS_Enable"),
        QStringLiteral("CB_WiFi_IP_Auto"),          QStringLiteral("CB_WiFi_En_DHCP"),
        QStringLiteral("CB_TLS_En_Client_Auth"),    QStringLiteral("CB_TLS_En_Server_Auth"),
        QStringLiteral("CB_EthConn_En_DHCP_Cable"), QStringLiteral("CB_EthConn_En_DHCP_WiFi")};
    if (Sender && relayout.contains(Sender->objectName()))
        Move_GroupBoxs();
}

bool TFParGen::KeyPress(QObject *Sender, QChar &Key)
{
    if (Key != QLatin1Char('.'))
        return true;
    const QString next = Sender ? octetSuccessors().value(Sender->objectName()) : QString();
    if (QWidget *target = next.isEmpty() ? nullptr : Control(next)) {
        if (target->isVisible() && target->isEnabled())
            target->setFocus(Qt::TabFocusReason);
    }
    Key = QChar();
    return false;
}

bool TFParGen::FormMouseWheel(const QPoint &globalPos, int wheelDelta)
{
    QWidget *client = CPG->viewport();
    if (!client->rect().contains(client->mapFromGlobal(globalPos)))
        return false;
    const int lines = QApplication::wheelScrollLines();
    for (int i = 0; i < lines; ++i)
        CPG->ScrollLine(wheelDelta > 0);
    return true;
}

void TFParGen::FormResize()
{
    if (width() != kClientWidth)
        resize(kClientWidth, height());
}

void TFParGen::resizeEvent(QResizeEvent *event)
{
    TTitledForm::resizeEvent(event);
    FormResize();
}

bool TFParGen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && m_octets.contains(qobject_cast<QWidget *>(watched))) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->text().size() == 1) {
            QChar ch = key->text().at(0);
            if (!KeyPress(watched, ch))
                return true;
        }
    } else if (event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        // Only a turn of the vertical wheel scrolls the group; the start and end markers of a
        // touchpad gesture carry no delta and must not scroll it down.
        if (wheel->angleDelta().y() != 0) {
            if (FormMouseWheel(wheel->globalPosition().toPoint(), wheel->angleDelta().y()))
                return true;
        }
    }
    return TTitledForm::eventFilter(watched, event);
}

void TFParGen::Set_Lang()
{
    Set_Title_Texts(400, 401);
    Btn_OK->SetCaption(text(402));
    Btn_Cancel->SetCaption(text(403));
    Btn_OK->SetHint(text(404));
    Btn_Cancel->SetHint(text(405));

    for (const TTextRef &ref : std::as_const(m_texts)) {
        if (ref.hint) {
            ref.control->setToolTip(text(ref.text));
        } else if (auto *label = qobject_cast<QLabel *>(ref.control)) {
            label->setText(text(ref.text));
            label->adjustSize();
        } else if (auto *check = qobject_cast<QCheckBox *>(ref.control)) {
            check->setText(text(ref.text));
        }
    }
    for (const TListTexts &lt : std::as_const(m_listTexts)) {
        lt.list->clear();
        for (int i = 0; i < lt.count; ++i)
            lt.list->addItem(text(lt.first + i));
        lt.list->setCurrentIndex(0);
    }
}
