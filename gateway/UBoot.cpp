#include "gateway/UBoot.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/UStartProgram.h"
#include "common/UTitledForm.h"
#include "common/button/LbButton.h"
#include "common/button/LbButtons.h"
#include "platform/net/IcmpClient.h"
#include "platform/os/Files.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ErrorReport.h"
#include "platform/ui/Font.h"
#include "platform/ui/MessageBox.h"
#include "platform/xml/XmlDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QThread>

namespace {

constexpr int kClientWidth = 449;

QString text(int number)
{
    return Lang_Texts.value(number);
}

QString nativeFile(const QString &folder, const QString &relative)
{
    return QDir::toNativeSeparators(QFileInfo(plat::JoinPath(folder, relative)).absoluteFilePath());
}

// One Operation element of the update parameter file.
struct TOperation
{
    QString fileName;
    QString startAddress;
    QString bankType;
    QString writeCss;
    QString addressCss;
    QString commandCss;
    bool withInternalData = true;
    QString writeInternalData = QStringLiteral("0");
    QString widAddress;
    QString widCommand;
    QString goToAppAfter;
};

// The parts of the parameter file that differ between the two memory maps.
struct TLayout
{
    QString title;
    QString addressProtection;
    QStringList protections;
};

void appendText(plat::XmlNode parent, const char *name, const QString &value)
{
    plat::XmlNode node = parent.AppendElement(QString::fromLatin1(name));
    if (!value.isEmpty())
        node.SetText(value);
}

void appendOperation(plat::XmlNode operations, const TOperation &op, bool readBack)
{
    plat::XmlNode node = operations.AppendElement(QStringLiteral("Operation"));
    appendText(node, "Ope_Protection_Enabled", QString());
    appendText(node, "Ope_GoToBoot_Before", QStringLiteral("0"));
    appendText(node, "Ope_GoToApp_Before", QStringLiteral("0"));
    appendText(node, "Ope_IP_Address", QString());
    appendText(node, "Ope_Port", QStringLiteral("2008"));
    appendText(node, "Ope_Port_Sec", QStringLiteral("2007"));
    appendText(node, "Ope_Erase_Memory", QStringLiteral("0"));
    appendText(node, "Ope_FileName", op.fileName);
    appendText(node, "Ope_Start_Address", op.startAddress);
    appendText(node, "Ope_Memory_Type", QStringLiteral("0"));
    appendText(node, "Ope_Bank_Type", op.bankType);
    appendText(node, "Ope_Read_Back", readBack ? QStringLiteral("1") : QStringLiteral("0"));
    appendText(node, "Ope_Write_CSS", op.writeCss);
    appendText(node, "Ope_Address_CSS", op.addressCss);
    appendText(node, "Ope_Command_CSS", op.commandCss);
    if (op.withInternalData) {
        appendText(node, "Ope_Write_Internal_Data", op.writeInternalData);
        appendText(node, "Ope_WID_Address", op.widAddress);
        appendText(node, "Ope_WID_Command", op.widCommand);
        appendText(node, "Ope_WID_Data", QStringLiteral("0x00, 0x00, 0x00, 0x01"));
    }
    appendText(node, "Ope_GoToApp_After", op.goToAppAfter);
}

// Firmware for options 0 and 1, the two images for options 0 and 2; any other option writes
// no operation.
void saveParameterFile(const TLayout &layout,
                       const QString &address,
                       int option,
                       bool readBack,
                       const TOperation &firmware,
                       const TOperation &image1,
                       const TOperation &image2)
{
    plat::XmlDocument doc;
    plat::XmlNode root = doc.AppendElement(QStringLiteral("Ethernet_Update"));
    appendText(root, "Version", QStringLiteral("1000"));
    appendText(root, "Title", layout.title);
    appendText(root, "IP_Address_Dev", address);
    appendText(root, "Application_Port", QStringLiteral("10000"));
    appendText(root, "Boot_Port", QStringLiteral("2008"));
    appendText(root, "Boot_Port_Sec", QStringLiteral("2007"));
    appendText(root, "Address_Protection", layout.addressProtection);
    plat::XmlNode protections = root.AppendElement(QStringLiteral("Protections"));
    for (const QString &protection : layout.protections)
        appendText(protections, "Protection", protection);
    plat::XmlNode operations = root.AppendElement(QStringLiteral("Operations"));
    if (option == 0 || option == 1)
        appendOperation(operations, firmware, readBack);
    if (option == 0 || option == 2) {
        appendOperation(operations, image1, readBack);
        appendOperation(operations, image2, readBack);
    }
    doc.Save(TFBoot::Update_File());
}

template <class W> W *newChild(QWidget *parent, const char *name)
{
    auto *child = new W(parent);
    child->setObjectName(QString::fromLatin1(name));
    return child;
}

QLabel *newLabel(QWidget *parent, const char *name, int left, int top)
{
    auto *label = newChild<QLabel>(parent, name);
    label->move(left, top);
    return label;
}

// The dialog stacks its panels at full width; FormShow places them.
QWidget *newPanel(QWidget *parent, const char *name, int height)
{
    auto *panel = newChild<QWidget>(parent, name);
    panel->resize(kClientWidth, height);
    return panel;
}

TLbButton *newButton(
    QWidget *parent, const char *name, const QRect &geometry, const char *glyph, int numGlyphs)
{
    auto *button = newChild<TLbButton>(parent, name);
    button->setGeometry(geometry);
    Style_Push_Button(button);
    button->SetGlyph(LbResourceBitmap(QString::fromLatin1(glyph)));
    button->SetNumGlyphs(numGlyphs);
    return button;
}

} // namespace

TFBoot::TFBoot(QWidget *parent, plat::IIcmpClient *icmpClient) : TModalForm(parent)
{
    setObjectName(QStringLiteral("FBoot"));
    SetPing(icmpClient);
    buildWindow();
}

TFBoot::~TFBoot() = default;

void TFBoot::SetPing(plat::IIcmpClient *client)
{
    if (client) {
        FPing = client;
        return;
    }
    if (!FOwnPing)
        FOwnPing = std::make_unique<plat::IcmpClient>(Ping_Packet_Size);
    FPing = FOwnPing.get();
}

void TFBoot::buildWindow()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    SetColor(Form_Color);
    SetFont(TFont(QStringLiteral("Verdana"), -11));

    P_Title = newPanel(this, "P_Title", 69);
    L_SW_Code = newLabel(P_Title, "L_SW_Code", 16, 8);
    L_SW_Code->setFont(TFont(QStringLiteral("Verdana"), -32).toQFont());
    L_SW_Desc = newLabel(P_Title, "L_SW_Desc", 16, 46);
    L_SW_Desc->setFont(TFont(QStringLiteral("Verdana"), -11, TFontStyle::fsBold).toQFont());
    for (QLabel *label : {L_SW_Code, L_SW_Desc}) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, ToQColor(clGray));
        label->setPalette(pal);
    }

    P_IP_Address = newPanel(this, "P_IP_Address", 64);
    L_IP_Address = newLabel(P_IP_Address, "L_IP_Address", 16, 8);
    QLineEdit **octets[] = {&E_IP1, &E_IP2, &E_IP3, &E_IP4};
    for (int i = 0; i < 4; ++i) {
        auto *edit = new QLineEdit(QStringLiteral("0"), P_IP_Address);
        edit->setObjectName(QStringLiteral("E_IP%1").arg(i + 1));
        edit->setGeometry(16 + i * 56, 28, 44, 22);
        edit->installEventFilter(this);
        *octets[i] = edit;
    }

    P_Serial = newPanel(this, "P_Serial", 64);
    L_COM_Port = newLabel(P_Serial, "L_COM_Port", 16, 8);
    CB_COM_Port = newChild<QComboBox>(P_Serial, "CB_COM_Port");
    CB_COM_Port->setGeometry(16, 28, 140, 22);
    Btn_COM_List = newButton(P_Serial, "Btn_COM_List", {164, 26, 28, 26}, "LBARROW", 1);
    Btn_COM_List->OnClick = [this](QObject *) { Btn_COM_ListClick(); };

    P_Options = newPanel(this, "P_Options", 88);
    L_Update_Option = newLabel(P_Options, "L_Update_Option", 16, 8);
    CB_Update_Options = newChild<QComboBox>(P_Options, "CB_Update_Options");
    CB_Update_Options->setGeometry(16, 28, 260, 22);
    CB_Update_Option_Read_Back = newChild<QCheckBox>(P_Options, "CB_Update_Option_Read_Back");
    CB_Update_Option_Read_Back->setGeometry(16, 58, 260, 20);

    P_Button = newPanel(this, "P_Button", 44);
    Btn_Update = newButton(P_Button, "Btn_Update", {127, 8, 190, 28}, "LBOK", 2);
    Btn_Update->OnClick = [this](QObject *) { Btn_UpdateClick(); };
    Btn_Cancel = newButton(P_Button, "Btn_Cancel", {323, 8, 110, 28}, "LBCANCEL", 2);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_Cancel->SetCancel(true);

    SetClientWidth(kClientWidth);
    Set_Lang();
}

void TFBoot::FormShow()
{
    Set_Lang();
    L_SW_Code->setText(SW_Code);
    L_SW_Code->adjustSize();

    for (QWidget *panel : {P_IP_Address, P_Serial, P_Options})
        panel->hide();
    QWidget *modePanel = ethernetMode() ? P_IP_Address : P_Serial;
    modePanel->show();
    P_Options->show();
    P_Title->show();
    P_Button->show();

    int top = 0;
    for (QWidget *panel : {P_Title, modePanel, P_Options, P_Button}) {
        panel->setGeometry(0, top, kClientWidth, panel->height());
        top += panel->height();
    }
    SetClientWidth(kClientWidth);
    SetClientHeight(top);

    QList<QWidget *> order;
    if (ethernetMode())
        order << E_IP1 << E_IP2 << E_IP3 << E_IP4;
    else
        order << CB_COM_Port << Btn_COM_List;
    order << CB_Update_Options << CB_Update_Option_Read_Back << Btn_Update << Btn_Cancel;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    if (ethernetMode()) {
        QString ip1, ip2, ip3, ip4;
        if (!Last_IP_Address.isEmpty() && Split_IP_Address(Last_IP_Address, ip1, ip2, ip3, ip4)) {
            E_IP1->setText(ip1);
            E_IP2->setText(ip2);
            E_IP3->setText(ip3);
            E_IP4->setText(ip4);
        }
    } else {
        update_ComPort();
    }

    CB_Update_Options->setCurrentIndex(Update_Option);
    CB_Update_Option_Read_Back->setChecked(Update_Read_Back);

    QWidget *first = ethernetMode() ? static_cast<QWidget *>(E_IP1) : CB_COM_Port;
    if (first->isVisibleTo(this) && first->isEnabled())
        first->setFocus(Qt::OtherFocusReason);
}

void TFBoot::Set_Lang()
{
    SetCaption(text(ethernetMode() ? 1002 : 1000));
    L_SW_Desc->setText(text(ethernetMode() ? 1003 : 1001));
    L_SW_Desc->adjustSize();
    L_IP_Address->setText(text(1006));
    L_IP_Address->adjustSize();
    L_COM_Port->setText(text(1007));
    L_COM_Port->adjustSize();
    L_Update_Option->setText(text(1014));
    L_Update_Option->adjustSize();

    CB_Update_Options->clear();
    CB_Update_Options->addItems({text(1015), text(1016), text(1017)});
    CB_Update_Options->setCurrentIndex(0);

    CB_Update_Option_Read_Back->setText(text(1018));
    Btn_Cancel->SetCaption(text(1019));
    Btn_Update->SetCaption(text(1020));

    E_IP1->setToolTip(text(1021));
    E_IP2->setToolTip(text(1022));
    E_IP3->setToolTip(text(1023));
    E_IP4->setToolTip(text(1024));
    CB_COM_Port->setToolTip(text(1025));
    Btn_COM_List->SetHint(text(1027));
    CB_Update_Options->setToolTip(text(1032));
    CB_Update_Option_Read_Back->setToolTip(text(1033));
    Btn_Cancel->SetHint(text(1034));
    Btn_Update->SetHint(text(1035));
}

bool TFBoot::KeyPress(QObject *Sender, QChar &Key)
{
    if (Key != QLatin1Char('.'))
        return true;
    QLineEdit *next = nullptr;
    if (Sender == E_IP1)
        next = E_IP2;
    else if (Sender == E_IP2)
        next = E_IP3;
    else if (Sender == E_IP3)
        next = E_IP4;
    if (next && next->isVisible() && next->isEnabled())
        next->setFocus(Qt::TabFocusReason);
    Key = QChar();
    return false;
}

bool TFBoot::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == E_IP1 || watched == E_IP2 || watched == E_IP3 || watched == E_IP4)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->text().size() == 1) {
            QChar ch = key->text().at(0);
            if (!KeyPress(watched, ch))
                return true;
        }
    }
    return TModalForm::eventFilter(watched, event);
}

QString TFBoot::IP_Address_Text() const
{
    return E_IP1->text() + QLatin1Char('.') + E_IP2->text() + QLatin1Char('.') + E_IP3->text() +
           QLatin1Char('.') + E_IP4->text();
}

QString TFBoot::Update_File()
{
    return plat::JoinPath(Base_Path, QStringLiteral("Ethernet_Update.xml"));
}

void TFBoot::Btn_UpdateClick()
{
    // The ping wait handles events, so a second press would otherwise start a nested update.
    if (FUpdating)
        return;
    FUpdating = true;
    QPointer<TFBoot> self(this);
    struct TRelease
    {
        QPointer<TFBoot> &form;
        ~TRelease()
        {
            if (form)
                form->FUpdating = false;
        }
    } release{self};

    if (ethernetMode())
        updateEthernet();
    else
        updateSerial();
}

void TFBoot::updateEthernet()
{
    QPointer<TFBoot> self(this);
    const bool wasShown = isVisible();
    const bool reached = Send_Ping();
    if (!self)
        return;
    // Closed (Cancel or the close box) while the ping was waiting: the user gave up the update.
    if (wasShown && !isVisible())
        return;

    if (!reached) {
        if (ping_res == 2)
            plat::MessageBox(text(1036), plat::MsgIcon::Warning);
        else
            plat::MessageBox(text(1037), plat::MsgIcon::Error);
        return;
    }

    Last_IP_Address = IP_Address_Text();
    Update_Option = CB_Update_Options->currentIndex();
    Update_Read_Back = CB_Update_Option_Read_Back->isChecked();
    try {
        Compile_XML_Parameter_New_Boot();
    } catch (const std::exception &e) {
        // Without its orders the update program must not run.
        plat::ReportException(e);
        return;
    }
    Start_Program(plat::JoinPath(Base_Path, QStringLiteral("Ethernet_Update.exe")), QString(),
                  false);
}

void TFBoot::updateSerial()
{
    Update_Option = CB_Update_Options->currentIndex();
    Update_Read_Back = CB_Update_Option_Read_Back->isChecked();
    Start_Program(plat::JoinPath(Base_Path, QStringLiteral("Ser_40780_Update.exe")),
                  Serial_Command_Line(), false);
}

bool TFBoot::Send_Ping()
{
    QPointer<TFBoot> self(this);
    ping_res = 0;
    QElapsedTimer start;
    start.start();
    const QString host = IP_Address_Text();
    const QByteArray data = host.toUtf8();
    try {
        int replies = 0;
        do {
            QElapsedTimer attempt;
            attempt.start();
            PingReply(FPing->Echo(host, data, Ping_Timeout_Ms));
            // The dialog stays responsive while it waits.
            do {
                QThread::msleep(10);
                QApplication::processEvents();
                if (!self)
                    return false;
            } while (ping_res == 0 && attempt.elapsed() <= Ping_Timeout_Ms);
            if (ping_res == 1 && ++replies >= 2)
                break;
        } while (start.elapsed() <= Ping_Limit_Ms);
    } catch (const std::exception &) {
        return false;
    }
    return ping_res == 1;
}

void TFBoot::PingReply(const plat::EchoResult &reply)
{
    const bool withData =
        reply.status == plat::EchoResult::Status::Reply && reply.bytesReceived > 0;
    ping_res = withData ? 1 : 2;
}

void TFBoot::Compile_XML_Parameter_New_Boot()
{
    const TLayout layout{QStringLiteral("Orvato - QS40300 Ethernet Update"),
                         QStringLiteral("0x07800"),
                         {QStringLiteral("0x1E5")}};
    const int option = CB_Update_Options->currentIndex();

    TOperation firmware;
    firmware.fileName = nativeFile(Master_Path, QStringLiteral("Sim40300.sim"));
    firmware.startAddress = QStringLiteral("0x8000");
    firmware.bankType = QStringLiteral("1");
    firmware.writeCss = QStringLiteral("1");
    firmware.addressCss = QStringLiteral("0x07A00");
    firmware.commandCss = QStringLiteral("0x02");
    firmware.widAddress = QStringLiteral("0x07810");
    firmware.widCommand = QStringLiteral("0x02");
    firmware.goToAppAfter = option == 1 ? QStringLiteral("1") : QStringLiteral("0");

    TOperation image1 = firmware;
    image1.fileName = nativeFile(Conf_Path, QStringLiteral("bin/bank1.bin"));
    image1.startAddress = QStringLiteral("0x07000");
    image1.bankType = QStringLiteral("2");
    image1.writeCss = QStringLiteral("0");
    image1.goToAppAfter = QStringLiteral("0");

    TOperation image2 = image1;
    image2.fileName = nativeFile(Conf_Path, QStringLiteral("bin/bank2.bin"));
    image2.startAddress = QStringLiteral("0x80000");
    image2.goToAppAfter = QStringLiteral("1");

    saveParameterFile(layout, IP_Address_Text(), option, CB_Update_Option_Read_Back->isChecked(),
                      firmware, image1, image2);
}

void TFBoot::Compile_XML_Parameter()
{
    const TLayout layout{QStringLiteral("Orvato - QS40770 Ethernet Update"),
                         QStringLiteral("0x78000"),
                         {QStringLiteral("0x1B4"), QStringLiteral("0x1C9")}};
    const int option = CB_Update_Options->currentIndex();

    TOperation firmware;
    firmware.fileName = nativeFile(Master_Path, QStringLiteral("Sim40770.sim"));
    firmware.startAddress = QStringLiteral("0x8000");
    firmware.bankType = QStringLiteral("1");
    firmware.writeCss = QStringLiteral("1");
    firmware.addressCss = QStringLiteral("0x78100");
    firmware.commandCss = QStringLiteral("0x0B");
    firmware.withInternalData = false;
    firmware.goToAppAfter = option == 1 ? QStringLiteral("1") : QStringLiteral("0");

    TOperation image1;
    image1.fileName = nativeFile(Conf_Path, QStringLiteral("bin/bank1.bin"));
    image1.startAddress = QStringLiteral("0x68000");
    image1.bankType = QStringLiteral("2");
    image1.writeCss = QStringLiteral("0");
    image1.addressCss = QStringLiteral("0x50100");
    image1.commandCss = QStringLiteral("0x0B");
    image1.writeInternalData = QStringLiteral("1");
    image1.widAddress = QStringLiteral("0x78200");
    image1.widCommand = QStringLiteral("0x0B");
    image1.goToAppAfter = QStringLiteral("0");

    TOperation image2 = image1;
    image2.fileName = nativeFile(Conf_Path, QStringLiteral("bin/bank2.bin"));
    image2.startAddress = QStringLiteral("0x80000");
    image2.writeInternalData = QStringLiteral("0");
    image2.goToAppAfter = QStringLiteral("1");

    saveParameterFile(layout, IP_Address_Text(), option, CB_Update_Option_Read_Back->isChecked(),
                      firmware, image1, image2);
}

void TFBoot::Update_Options(QString &Text) const
{
    const bool readBack = CB_Update_Option_Read_Back->isChecked();
    const QString no = QStringLiteral("NO ");
    switch (CB_Update_Options->currentIndex()) {
    case 0:
        Text += QStringLiteral("FW ") + (readBack ? QStringLiteral("FR ") : no) +
                QStringLiteral("PW ") + (readBack ? QStringLiteral("PR ") : no);
        break;
    case 1:
        Text += QStringLiteral("FW ") + (readBack ? QStringLiteral("FR ") : no) + no + no;
        break;
    case 2:
        Text += no + no + QStringLiteral("PW ") + (readBack ? QStringLiteral("PR ") : no);
        break;
    default:
        break;
    }
}

QString TFBoot::Serial_Command_Line() const
{
    QString line = QStringLiteral("\\\\.\\") + CB_COM_Port->currentText() + QLatin1Char(' ');
    Update_Options(line);
    line += QLatin1Char('"') + nativeFile(Master_Path, QStringLiteral("sim40780.sim")) +
            QStringLiteral("\" \"") + nativeFile(Conf_Path, QStringLiteral("bin")) +
            QDir::separator() + QLatin1Char('"');
    return line;
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->clear();
    for (const QString &number : Get_COM_Ports())
        CB_COM_Port->addItem(QStringLiteral("COM") + number);
    CB_COM_Port->setCurrentIndex(CB_COM_Port->count() > 0 ? 0 : -1);
}

void TFBoot::Btn_COM_ListClick()
{
    update_ComPort();
}

int TFBoot::Get_Type_Dev()
{
    if (plat::FileExists(File_ParGen)) {
        plat::XmlDocument doc;
        try {
            doc.LoadFile(File_ParGen);
        } catch (const plat::EXmlError &) {
            // Only whether it loads is of interest here, and nothing depends on that.
        }
    }
    return 0;
}
