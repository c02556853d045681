#include "shell/UMain.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/USaveDialog.h"
#include "common/UStartProgram.h"
#include "common/UTitledForm.h"
#include "common/button/LbButton.h"
#include "gateway/UBoot.h"
#include "gateway/UCompile_Bin.h"
#include "gateway/UIEC61850_Variables.h"
#include "gateway/UParGen.h"
#include "gateway/USetAccess.h"
#include "gateway/UTLS_Server_Known_Cert.h"
#include "platform/os/Files.h"
#include "platform/os/Shell.h"
#include "platform/ui/ErrorReport.h"
#include "platform/ui/MessageBox.h"
#include "resources/ConfigurationFolderText.h"
#include "resources/MainWindowPictures.h"
#include "shell/UAbout.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/USoftOptions.h"
#include "shell/UStartup.h"
#include "shell/UVersionCheck.h"
#include "shell/UWindows.h"
#include "sides/building/UBACnetAccess.h"
#include "sides/building/UBACnetSlaveSetAccess.h"
#include "sides/building/UBACnet_EDE_File.h"
#include "sides/building/UBACnet_Eng_Unit.h"
#include "sides/building/UImportEDEFile.h"
#include "sides/building/UKNXAccess.h"
#include "sides/building/UMQTT_Set_Topic.h"
#include "sides/building/UModbus_TCP_Master_Set_Access.h"
#include "sides/building/UProfibus_GSD.h"
#include "sides/building/UProfinetFileName.h"
#include "sides/building/USNMPManagerAccess.h"
#include "sides/building/USNMP_MIB.h"
#include "sides/building/USNMP_Trap_Access.h"
#include "sides/building/UTopicTemplate.h"
#include "sides/fieldbus/UDNet.h"
#include "sides/fieldbus/UDefOffset.h"
#include "sides/fieldbus/UEds.h"
#include "sides/fieldbus/UReceiveCAN.h"
#include "sides/fieldbus/UReceiveJ1939.h"
#include "sides/fieldbus/UReceiveNMEA.h"
#include "sides/fieldbus/USet_PDO_Access.h"
#include "sides/fieldbus/USet_SDO_Client_Access.h"
#include "sides/fieldbus/USet_SDO_Server_Access.h"
#include "sides/fieldbus/UTransmitCAN.h"
#include "sides/fieldbus/UTransmitJ1939.h"
#include "sides/fieldbus/UTransmitNMEA.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <exception>

namespace {

constexpr int kClientWidth = 694;
constexpr int kFirstCheckMs = 60000;
constexpr int kNextCheckMs = 7200000;

// A frame or line drawn with one pen colour and no fill.
class TShape : public QWidget
{
public:
    TShape(QWidget *parent, TColor pen) : QWidget(parent), m_pen(pen) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QColor pen = ToQColor(m_pen);
        if (width() <= 2 || height() <= 2) {
            p.fillRect(rect(), pen);
            return;
        }
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    }

private:
    TColor m_pen;
};

// A label that reacts to a click.
class TClickLabel : public QLabel
{
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
            OnClick();
    }
};

QLabel *makeLabel(QWidget *parent, const char *name, const TFont &font, TColor color)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font.toQFont());
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, ToQColor(color));
    label->setPalette(pal);
    return label;
}

void setLabel(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

// A configuration line inside the Shape2 frame: a text too long for it is cut with an ellipsis,
// the full text then in the tooltip.
void setFramedLabel(QLabel *label, const QWidget *frame, const QString &text)
{
    const int inset = label->x() - frame->x();
    const int room = frame->x() + frame->width() - inset - label->x();
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, room);
    setLabel(label, shown);
    label->setToolTip(shown == text ? QString() : text);
}

void showModal(TModalForm *form)
{
    if (form)
        form->ShowModal();
}

// Set_Lang of a window that may not exist (a run without the dialogs, in tests).
template <typename T> void setLang(T *window)
{
    if (window)
        window->Set_Lang();
}

} // namespace

TFMontavoreFirmWare::TFMontavoreFirmWare(const QString &basePath, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FMontavoreFirmWare"));
    Version_Check = [] { return Check_Version(); };
    FormCreate(basePath);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
}

TFMontavoreFirmWare::~TFMontavoreFirmWare() = default;

void TFMontavoreFirmWare::FormCreate(const QString &basePath)
{
    // The table starts empty; the language load fills it.
    Lang_Texts.clear();

    createControls();
    layoutControls();

    // Folders, settings file, identity texts, reopening and the table-file paths.
    Startup_Shared_State(basePath);

    Apply_Timer_Rule();

    setWindowTitle(Main_Caption);
    setLabel(L_SW_Code, SW_Code);
    setLabel(L_SW_Desc, SW_Description);

    Load_Language();
    Set_Lang();
}

void TFMontavoreFirmWare::createControls()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(Form_Color));
    setPalette(pal);
    setAutoFillBackground(true);
    const TFont font(QStringLiteral("Verdana"), -11);
    setFont(font.toQFont());

    const TFont bold(QStringLiteral("Verdana"), -11, TFontStyle::fsBold);
    L_SW_Code = makeLabel(this, "L_SW_Code", TFont(QStringLiteral("Verdana"), -32), clGray);
    L_SW_Desc = makeLabel(this, "L_SW_Desc", bold, clGray);
    L_Begin = makeLabel(this, "L_Begin", bold, clGray);

    Shape2 = new TShape(this, clSilver);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    L_Name_Conf = makeLabel(this, "L_Name_Conf", font, clWindowText);
    L_Name_Conf_L2 = makeLabel(this, "L_Name_Conf_L2", font, clWindowText);

    const char *stepNames[] = {"L_Step_1", "L_Step_2", "L_Step_3", "L_Step_4",
                               "L_Step_5", "L_Step_6", "L_Step_7", "L_Step_8"};
    for (const char *name : stepNames)
        m_stepLabels.append(makeLabel(this, name, bold, clGray));
    L_Step_1 = m_stepLabels[0];
    L_Step_2 = m_stepLabels[1];
    L_Step_3 = m_stepLabels[2];
    L_Step_4 = m_stepLabels[3];
    L_Step_5 = m_stepLabels[4];
    L_Step_6 = m_stepLabels[5];
    L_Step_7 = m_stepLabels[6];
    L_Step_8 = m_stepLabels[7];
    L_Step_9 = makeLabel(this, "L_Step_9", font, clWindowText);

    const auto button = [this](TLbButton *&member, const char *name, int caption, int hint) {
        member = new TLbButton(this);
        member->setObjectName(QString::fromLatin1(name));
        member->OnClick = [this](QObject *sender) { Btn_Click(sender); };
        m_buttons.append({member, caption, hint});
    };
    button(Btn_Info, "Btn_Info", -1, 12);
    button(Btn_Opz, "Btn_Opz", -1, 13);
    button(Btn_Close, "Btn_Close", -1, 14);
    button(Btn_New, "Btn_New", 15, 22);
    button(Btn_Open, "Btn_Open", 16, 23);
    button(Btn_Prm_Gen, "Btn_Prm_Gen", 20, 24);
    button(Btn_IEC61850_Access, "Btn_IEC61850_Access", 21, 25);
    button(Btn_Modbus_Set_Access, "Btn_Modbus_Set_Access", 29, 30);
    button(Btn_TLS_List_Certificates, "Btn_TLS_List_Certificates", 27, 28);
    button(Btn_CreateBin, "Btn_CreateBin", 17, 26);
    button(Btn_SNMP_MIB, "Btn_SNMP_MIB", 68, 69);
    button(Btn_PROFINET_XML, "Btn_PROFINET_XML", 31, 32);
    button(Btn_BACnet_SetAccess, "Btn_BACnet_SetAccess", 33, 34);
    button(Btn_BACnet_EDE_File, "Btn_BACnet_EDE_File", 35, 36);
    button(Btn_CAN_Rec_Frame, "Btn_CAN_Rec_Frame", 37, 39);
    button(Btn_CAN_Send_Frame, "Btn_CAN_Send_Frame", 38, 40);
    button(Btn_SDO_Server_CANopen, "Btn_SDO_Server_CANopen", 45, 46);
    button(Btn_SDO_Client_CANopen, "Btn_SDO_Client_CANopen", 47, 48);
    button(Btn_PDO_CANopen, "Btn_PDO_CANopen", 49, 50);
    button(Btn_CANopen_EDS, "Btn_CANopen_EDS", 51, 52);
    button(Btn_DNet_Net, "Btn_DNet_Net", 54, 55);
    button(Btn_DNet_Offset, "Btn_DNet_Offset", 56, 57);
    button(Btn_KNX_Access, "Btn_KNX_Access", 58, 59);
    button(Btn_MQTT_Set_Topic, "Btn_MQTT_Set_Topic", 60, 61);
    button(Btn_PROFIBUS_GSD, "Btn_PROFIBUS_GSD", 62, 63);
    button(Btn_SNMP_Manager_Access, "Btn_SNMP_Manager_Access", 64, 65);
    button(Btn_SNMP_Trap, "Btn_SNMP_Trap", 66, 67);

    for (const TButtonTexts &b : m_buttons) {
        const bool picture = b.button == Btn_Info || b.button == Btn_Opz || b.button == Btn_Close;
        const bool normal = picture || b.button == Btn_Prm_Gen;
        const bool skyBlue =
            b.button == Btn_New || b.button == Btn_Open || b.button == Btn_CreateBin;
        Style_Push_Button(b.button, normal ? TLbButtonStyle::bsNormal : TLbButtonStyle::bsEncarta,
                          skyBlue ? clSkyBlue : clYellow);
        if (!picture)
            b.button->SetAlignment(TLbAlignment::taLeftJustify);
    }
    Btn_Info->SetGlyph(res::Main_Picture_Info());
    Btn_Opz->SetGlyph(res::Main_Picture_Options());
    Btn_Close->SetGlyph(res::Main_Picture_Close());
    Btn_New->SetGlyph(res::Step_Picture_New());
    Btn_Open->SetGlyph(res::Step_Picture_Open());
    Btn_Prm_Gen->SetGlyph(res::Step_Picture_Communication());
    Btn_IEC61850_Access->SetGlyph(res::Step_Picture_Variables());
    Btn_Modbus_Set_Access->SetGlyph(res::Step_Picture_Modbus());
    Btn_TLS_List_Certificates->SetGlyph(res::Step_Picture_Certificates());
    Btn_CreateBin->SetGlyph(res::Step_Picture_Update());
    for (TLbButton *b :
         {Btn_Info, Btn_Opz, Btn_Close, Btn_New, Btn_Open, Btn_Prm_Gen, Btn_IEC61850_Access,
          Btn_Modbus_Set_Access, Btn_TLS_List_Certificates, Btn_CreateBin})
        b->SetNumGlyphs(1);

    Shape1 = new TShape(this, clBlack);
    Shape1->setObjectName(QStringLiteral("Shape1"));

    auto *orvato = new TClickLabel(this);
    orvato->setObjectName(QStringLiteral("L_Orvato"));
    orvato->setCursor(Qt::PointingHandCursor);
    orvato->OnClick = [this] { L_OrvatoClick(); };
    L_Orvato = orvato;
    setLabel(L_Orvato, QUrl(QString::fromLatin1(Maker_Web_Site)).host());

    LL_Update = new QLabel(this);
    LL_Update->setObjectName(QStringLiteral("LL_Update"));
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->setOpenExternalLinks(false);
    LL_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(LL_Update, &QLabel::linkActivated, this,
            [this](const QString &link) { plat::Guarded([&] { LL_UpdateLinkClick(link); }); });

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setInterval(kFirstCheckMs);
    connect(Timer_Update, &QTimer::timeout, this,
            [this] { plat::Guarded([this] { Timer_UpdateTimer(); }); });

    SD1 = new TSaveDialog(this);
    SD1->setObjectName(QStringLiteral("SD1"));
    SD1->Filter = QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv");
    SaveEDS = new TSaveDialog(this);
    SaveEDS->setObjectName(QStringLiteral("SaveEDS"));
    SaveEDS->Filter = QStringLiteral("Electronic Data Sheet (*.eds)|*.eds");
    SaveEDS->DefaultExt = QStringLiteral("*.eds");
    SaveMIB = new TSaveDialog(this);
    SaveMIB->setObjectName(QStringLiteral("SaveMIB"));
    SaveMIB->Filter = QStringLiteral("Management Information Base (*.mib)|*.mib");
    SaveMIB->DefaultExt = QStringLiteral("*.mib");
}

void TFMontavoreFirmWare::layoutControls()
{
    L_SW_Code->move(16, 8);
    L_SW_Desc->move(16, 42);
    L_Begin->move(16, 84);
    Shape2->setGeometry(80, 70, 348, 36);
    L_Name_Conf->move(87, 75);
    L_Name_Conf_L2->move(87, 88);

    for (int k = 0; k < m_stepLabels.size(); ++k) {
        m_stepLabels[k]->move(16, 128 + 44 * k);
        m_stepLabels[k]->setVisible(k < 6);
    }
    L_Step_9->move(16, 480);
    L_Step_9->setVisible(false);

    Btn_Info->setGeometry(516, 8, 50, 50);
    Btn_Opz->setGeometry(574, 8, 50, 50);
    Btn_Close->setGeometry(632, 8, 50, 50);
    Btn_New->setGeometry(80, 112, 170, 36);
    Btn_Open->setGeometry(258, 112, 170, 36);
    const QList<TLbButton *> steps = {Btn_Prm_Gen, Btn_IEC61850_Access, Btn_Modbus_Set_Access,
                                      Btn_TLS_List_Certificates, Btn_CreateBin};
    for (int i = 0; i < steps.size(); ++i)
        steps[i]->setGeometry(80, 156 + 44 * i, 170, 36);

    const QList<TLbButton *> shown =
        QList<TLbButton *>{Btn_Info, Btn_Opz, Btn_Close, Btn_New, Btn_Open} + steps;
    for (const TButtonTexts &b : m_buttons) {
        if (!shown.contains(b.button)) {
            b.button->setGeometry(258, 156, 170, 36);
            b.button->setVisible(false);
        }
    }

    L_Orvato->move(565, L_Step_6->y());
    Shape1->setGeometry(10, Btn_CreateBin->y() + 51, 674, 1);
    LL_Update->move(208, 19);
    LL_Update->setVisible(false);

    setFixedSize(kClientWidth, Btn_CreateBin->y() + 152);
}

void TFMontavoreFirmWare::showConfiguration(bool open)
{
    setFramedLabel(L_Name_Conf, Shape2, Lang_Text(open ? 11 : 9));
    setFramedLabel(L_Name_Conf_L2, Shape2, open ? Conf_Name : Lang_Text(10));
}

void TFMontavoreFirmWare::Set_Lang()
{
    setLabel(L_Begin, Lang_Text(0));
    for (int k = 0; k < m_stepLabels.size(); ++k)
        setLabel(m_stepLabels[k], Lang_Text(k + 1));
    setLabel(L_Step_9, Lang_Text(53));
    for (const TButtonTexts &b : m_buttons) {
        if (b.caption >= 0)
            b.button->SetCaption(Lang_Text(b.caption));
        if (b.hint >= 0)
            b.button->SetHint(Lang_Text(b.hint));
    }
    showConfiguration(!Conf_Path.isEmpty());
}

void TFMontavoreFirmWare::Set_Files()
{
    ::Set_Files();
}

void TFMontavoreFirmWare::Change_Language()
{
    Set_Lang();
    setLang(FNew_Project);
    setLang(FOpenConf);
    setLang(FSoftOptions);
    setLang(FBoot);
    setLang(FParGen);
    setLang(FTLS_Server_Known_Cert);
    setLang(FIEC61850_Variables);
    setLang(FSetAccess);
    setLang(FModbus_TCP_Master_Set_Access);
    setLang(FProfinetFileName);
    setLang(FBACnetAccess);
    setLang(FImportEDEFile);
    setLang(FBACnetSlaveSetAccess);
    setLang(FBACnet_Eng_Unit);
    setLang(FReceiveCAN);
    setLang(FTransmitCAN);
    setLang(FSet_PDO_Access);
    setLang(FSet_SDO_Client_Access);
    setLang(FSet_SDO_Server_Access);
    setLang(FDNet);
    setLang(FDefOffset);
    setLang(FReceiveJ1939);
    setLang(FTransmitJ1939);
    setLang(FKNXAccess);
    setLang(FMQTT_Set_Topic);
    setLang(FTopicTemplate);
    setLang(FReceiveNMEA);
    setLang(FTransmitNMEA);
    setLang(FSNMPManagerAccess);
    setLang(FSNMP_Trap_Access);
}

void TFMontavoreFirmWare::Btn_Click(QObject *Sender)
{
    plat::Guarded([&] {
        if (Sender == Btn_New) {
            Create_New_Project();
        } else if (Sender == Btn_Open) {
            Open_Project();
        } else if (Sender == Btn_Close) {
            close();
        } else if (Sender == Btn_Info) {
            showModal(FAbout);
        } else if (Sender == Btn_Opz) {
            if (FSoftOptions && FSoftOptions->ShowModal() == mrOk) {
                Save_Setting();
                Apply_Timer_Rule();
            }
        } else if (Conf_Path.isEmpty()) {
            plat::MessageBox(Lang_Text(18), plat::MsgIcon::Error, plat::MsgButtons::OK);
        } else if (!plat::DirExists(Conf_Path)) {
            // Gone while the program ran: every step would write into it or show defaults.
            plat::MessageBox(res::Configuration_Folder_Missing_Text(Conf_Path),
                             plat::MsgIcon::Error, plat::MsgButtons::OK);
        } else if (Sender == Btn_Prm_Gen) {
            showModal(FParGen);
        } else if (Sender == Btn_TLS_List_Certificates) {
            showModal(FTLS_Server_Known_Cert);
        } else if (Sender == Btn_IEC61850_Access) {
            showModal(FIEC61850_Variables);
        } else if (Sender == Btn_Modbus_Set_Access) {
            showModal(FSetAccess);
        } else if (Sender == Btn_CreateBin) {
            Update_Device();
        } else if (Sender == Btn_BACnet_SetAccess) {
            showModal(FBACnetSlaveSetAccess);
        } else if (Sender == Btn_CAN_Rec_Frame) {
            showModal(FReceiveCAN);
        } else if (Sender == Btn_CAN_Send_Frame) {
            showModal(FTransmitCAN);
        } else if (Sender == Btn_PDO_CANopen) {
            showModal(FSet_PDO_Access);
        } else if (Sender == Btn_SDO_Client_CANopen) {
            showModal(FSet_SDO_Client_Access);
        } else if (Sender == Btn_SDO_Server_CANopen) {
            showModal(FSet_SDO_Server_Access);
        } else if (Sender == Btn_DNet_Net) {
            showModal(FDNet);
        } else if (Sender == Btn_DNet_Offset) {
            showModal(FDefOffset);
        } else if (Sender == Btn_KNX_Access) {
            showModal(FKNXAccess);
        } else if (Sender == Btn_MQTT_Set_Topic) {
            showModal(FMQTT_Set_Topic);
        } else if (Sender == Btn_SNMP_Manager_Access) {
            showModal(FSNMPManagerAccess);
        } else if (Sender == Btn_SNMP_Trap) {
            showModal(FSNMP_Trap_Access);
        } else if (Sender == Btn_BACnet_EDE_File) {
            BACnet_EDE_File();
        } else if (Sender == Btn_CANopen_EDS) {
            Build_EDS_File();
        } else if (Sender == Btn_PROFINET_XML) {
            PROFINET_XML();
        } else if (Sender == Btn_SNMP_MIB) {
            Build_MIB_File(SaveMIB);
        } else if (Sender == Btn_PROFIBUS_GSD) {
            Build_GSD_File(this);
        }
    });
}

void TFMontavoreFirmWare::Create_New_Project()
{
    if (FNew_Project && FNew_Project->ShowModal() == mrOk)
        showConfiguration(true);
}

void TFMontavoreFirmWare::Open_Project()
{
    if (!FOpenConf || FOpenConf->ShowModal() != mrOk)
        return;
    Conf_Name = FOpenConf->Name_Conf;
    if (!Conf_Name.isEmpty()) {
        Conf_Path = plat::JoinPath(Projects_Path, Conf_Name);
        showConfiguration(true);
    } else {
        Conf_Path.clear();
        showConfiguration(false);
    }
    Set_Files();
}

void TFMontavoreFirmWare::Update_Device()
{
    try {
        ::Compile_Bin();
        ::Save_Bin_Files();
    } catch (const std::exception &e) {
        plat::MessageBox(QString::fromUtf8(e.what()), plat::MsgIcon::Error, plat::MsgButtons::OK);
        return;
    }
    if (FBoot) {
        FBoot->SetForm_Type(1);
        FBoot->ShowModal();
    }
}

void TFMontavoreFirmWare::Build_EDS_File()
{
    SaveEDS->InitialDir = Conf_Path;
    if (SaveEDS->Execute())
        Write_EDS_File(SaveEDS->FileName);
}

void TFMontavoreFirmWare::PROFINET_XML()
{
    if (FProfinetFileName && FProfinetFileName->ShowModal() == mrOk)
        Save_GSDML_File(FProfinetFileName->Name_File_XML, this);
}

void TFMontavoreFirmWare::BACnet_EDE_File()
{
    SD1->InitialDir = Conf_Path;
    if (!SD1->Execute())
        return;
    QString name = SD1->FileName;
    if (name.right(4).toUpper() != QLatin1String(".CSV"))
        name += QStringLiteral(".csv");
    if (plat::FileExists(name) && plat::MessageBox(Lang_Text(70), plat::MsgIcon::Question,
                                                   plat::MsgButtons::YesNoCancel) != mrYes)
        return;
    Build_EDE_File(name);
}

void TFMontavoreFirmWare::Timer_UpdateTimer()
{
    Timer_Update->stop();
    const bool newer = Version_Check && Version_Check();
    if (newer) {
        setLabel(LL_Update, Download_Link(Lang_Text(19)));
        LL_Update->setVisible(true);
    } else {
        LL_Update->setVisible(false);
    }
    Timer_Update->setInterval(kNextCheckMs);
    Timer_Update->start();
}

void TFMontavoreFirmWare::LL_UpdateLinkClick(const QString &link)
{
    plat::ShellOpen(link);
}

void TFMontavoreFirmWare::L_OrvatoClick()
{
    // The same home page as the about box links to.
    plat::ShellOpen(TFAbout::Home_Page_Link());
}

void TFMontavoreFirmWare::Start_Program(const QString &NomeSW, const QString &Parameter, bool tipo)
{
    ::Start_Program(NomeSW, Parameter, tipo);
}

void TFMontavoreFirmWare::Apply_Timer_Rule()
{
    SetTimer_Update_Enabled(Enable_Internet && Enable_Update);
}

void TFMontavoreFirmWare::SetTimer_Update_Enabled(bool on)
{
    if (!on)
        Timer_Update->stop();
    else if (!Timer_Update->isActive())
        Timer_Update->start();
}

bool TFMontavoreFirmWare::Timer_Update_Enabled() const
{
    return Timer_Update->isActive();
}

void TFMontavoreFirmWare::FormClose()
{
    try {
        Save_Setting();
    } catch (const std::exception &e) {
        plat::ReportException(e);
    } catch (...) {
        plat::ReportUnknownException();
    }
}

void TFMontavoreFirmWare::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}
