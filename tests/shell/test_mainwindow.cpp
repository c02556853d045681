// The wizard main window with all its windows created: layout, start-up, the button dispatch,
// the reopen rule, the language relay, the version timer and saving the settings on close.
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/USaveDialog.h"
#include "common/button/LbButton.h"
#include "gateway/UBoot.h"
#include "gateway/UCompile_Bin.h"
#include "platform/os/Files.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"
#include "resources/ConfigurationFolderText.h"
#include "resources/MainWindowPictures.h"
#include "shell/UMain.h"
#include "shell/UNew_Project.h"
#include "shell/USoftOptions.h"
#include "shell/UVersionCheck.h"
#include "shell/UWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

QString text(int n)
{
    return Lang_Texts.value(n);
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_base = QDir(m_dir.path()).absolutePath();
    }

    void TearDown() override
    {
        plat::ClearModalShownActions();
        TSaveDialog::SetExecuteHandler({});
        Free_Windows();
    }

    // The settings file a previous run would have left.
    void writeSettings(const QString &confName, bool internet = false, bool update = false)
    {
        Base_Path = m_base;
        Conf_Name = confName;
        Last_IP_Address = QStringLiteral("192.168.2.205");
        Language_Name = QStringLiteral("English");
        Enable_Internet = internet;
        Enable_Update = update;
        Save_Setting();
    }

    TFMontavoreFirmWare *start()
    {
        Create_Windows(m_base);
        FMontavoreFirmWare->Version_Check = [] { return false; };
        return FMontavoreFirmWare;
    }

    // Closes the window as the user would and starts the program again on the same folder.
    TFMontavoreFirmWare *restart()
    {
        FMontavoreFirmWare->close();
        Free_Windows();
        return start();
    }

    QString projects(const QString &name = QString()) const
    {
        return name.isEmpty() ? m_base + QStringLiteral("/PROJECTS")
                              : m_base + QStringLiteral("/PROJECTS/") + name;
    }

    template <typename T = QWidget> T *control(const char *name) const
    {
        T *w = FMontavoreFirmWare->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QTemporaryDir m_dir;
    QString m_base;
    plat::MessageBoxRecorder m_boxes;
};

// --- layout ----------------------------------------------------------------------------------

TEST_F(MainWindowTest, FirstStartCreatesFoldersAndShowsNoConfiguration)
{
    TFMontavoreFirmWare *w = start();
    for (const char *folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(m_base + QLatin1Char('/') + QLatin1String(folder)).isDir()) << folder;
    EXPECT_TRUE(Conf_Path.isEmpty());
    EXPECT_EQ(control<QLabel>("L_Name_Conf")->text(), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(control<QLabel>("L_Name_Conf_L2")->text(),
              QStringLiteral("Use Step1 to open or create new configuration"));
    EXPECT_FALSE(w->Timer_Update->isActive());
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("Orvato - Configurator QS40300 - IEC61850 Server / Modbus Master "));
    EXPECT_EQ(control<QLabel>("L_SW_Code")->text(), QStringLiteral("QS40300"));
    EXPECT_EQ(control<QLabel>("L_SW_Desc")->text(),
              QStringLiteral("IEC61850 Server / Modbus Master - Converter"));
    EXPECT_EQ(m_boxes.Count(), 0);
}

TEST_F(MainWindowTest, ControlsStandWhereTheWizardPlacesThem)
{
    TFMontavoreFirmWare *w = start();
    EXPECT_EQ(w->size(), QSize(694, 484));

    struct Case
    {
        const char *name;
        QRect geometry; // a zero size checks the position only
        bool shown;
        QString text;
    };
    const Case cases[] = {
        {"L_SW_Code", {16, 8, 0, 0}, true, {}},
        {"L_SW_Desc", {16, 42, 0, 0}, true, {}},
        {"L_Begin", {16, 84, 0, 0}, true, QStringLiteral("Begin")},
        {"Shape2", {80, 70, 348, 36}, true, {}},
        {"L_Name_Conf", {87, 75, 0, 0}, true, {}},
        {"L_Name_Conf_L2", {87, 88, 0, 0}, true, {}},
        {"L_Step_1", {16, 128, 0, 0}, true, QStringLiteral("Step 1")},
        {"L_Step_2", {16, 172, 0, 0}, true, QStringLiteral("Step 2")},
        {"L_Step_3", {16, 216, 0, 0}, true, QStringLiteral("Step 3")},
        {"L_Step_4", {16, 260, 0, 0}, true, QStringLiteral("Step 4")},
        {"L_Step_5", {16, 304, 0, 0}, true, QStringLiteral("Step 5")},
        {"L_Step_6", {16, 348, 0, 0}, true, QStringLiteral("Step 6")},
        {"L_Step_7", {16, 392, 0, 0}, false, QStringLiteral("Step 7")},
        {"L_Step_8", {16, 436, 0, 0}, false, QStringLiteral("Step 8")},
        {"L_Step_9", {16, 480, 0, 0}, false, QStringLiteral("Step 9")},
        {"Btn_Info", {516, 8, 50, 50}, true, {}},
        {"Btn_Opz", {574, 8, 50, 50}, true, {}},
        {"Btn_Close", {632, 8, 50, 50}, true, {}},
        {"Btn_New", {80, 112, 170, 36}, true, QStringLiteral("New Configuration")},
        {"Btn_Open", {258, 112, 170, 36}, true, QStringLiteral("Open Configuration")},
        {"Btn_Prm_Gen", {80, 156, 170, 36}, true, QStringLiteral("Set Communication")},
        {"Btn_IEC61850_Access", {80, 200, 170, 36}, true, QStringLiteral("IEC61850 Access")},
        {"Btn_Modbus_Set_Access", {80, 244, 170, 36}, true, QStringLiteral("Modbus Set Access")},
        {"Btn_TLS_List_Certificates",
         {80, 288, 170, 36},
         true,
         QStringLiteral("TLS Known Certificates")},
        {"Btn_CreateBin", {80, 332, 170, 36}, true, QStringLiteral("Update Device UDP")},
        {"Shape1", {10, 383, 674, 1}, true, {}},
        {"L_Orvato", {565, 348, 0, 0}, true, {}},
        {"LL_Update", {208, 19, 0, 0}, false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget *widget = control(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), c.geometry.topLeft());
        if (!c.geometry.size().isEmpty()) {
            EXPECT_EQ(widget->size(), c.geometry.size());
        }
        EXPECT_EQ(widget->isVisibleTo(w), c.shown);
        if (c.text.isEmpty())
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            EXPECT_EQ(label->text(), c.text);
        } else if (auto *button = qobject_cast<TLbButton *>(widget)) {
            EXPECT_EQ(button->Caption(), c.text);
        }
    }

    // 27 push buttons; exactly the ten of this gateway are shown, each hidden one keeps its texts.
    const QList<TLbButton *> buttons = w->findChildren<TLbButton *>();
    EXPECT_EQ(buttons.size(), 27);
    int shown = 0;
    for (TLbButton *b : buttons)
        shown += b->isVisibleTo(w) ? 1 : 0;
    EXPECT_EQ(shown, 10);
    EXPECT_EQ(control<TLbButton>("Btn_SNMP_MIB")->Caption(), QStringLiteral("SNMP MIB"));
    EXPECT_EQ(control<TLbButton>("Btn_PROFINET_XML")->Caption(), QStringLiteral("PROFINET XML"));
    EXPECT_EQ(control<TLbButton>("Btn_Close")->Hint(), QStringLiteral("Close Configurator"));
    EXPECT_EQ(control<TLbButton>("Btn_New")->HotTrackColor(), clSkyBlue);
    EXPECT_EQ(control<TLbButton>("Btn_Prm_Gen")->HotTrackColor(), clYellow);
    EXPECT_EQ(control<TLbButton>("Btn_Prm_Gen")->Style(), TLbButtonStyle::bsNormal);
    EXPECT_EQ(control<TLbButton>("Btn_Open")->Style(), TLbButtonStyle::bsEncarta);
    for (const char *picture : {"Btn_Info", "Btn_Opz", "Btn_Close"})
        EXPECT_EQ(control<TLbButton>(picture)->Glyph().size(), QSize(50, 50)) << picture;
}

// Each step button shows a picture of its own left of its caption, which keeps its full width.
TEST_F(MainWindowTest, StepButtonsShowTheirOwnPictures)
{
    TFMontavoreFirmWare *w = start();
    const QList<TLbButton *> steps = {w->Btn_New,
                                      w->Btn_Open,
                                      w->Btn_Prm_Gen,
                                      w->Btn_IEC61850_Access,
                                      w->Btn_Modbus_Set_Access,
                                      w->Btn_TLS_List_Certificates,
                                      w->Btn_CreateBin};
    const int size = res::Step_Picture_Size;
    QList<QImage> seen;
    for (TLbButton *b : steps) {
        SCOPED_TRACE(b->objectName().toStdString());
        const QImage glyph = b->Glyph().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(glyph.size(), QSize(size, size));
        EXPECT_EQ(b->NumGlyphs(), 1);
        for (const QImage &other : seen)
            EXPECT_NE(glyph, other);
        seen.append(glyph);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->Caption()), b->width() - size - 12);

        // Every picture pixel but the key colour lands on the face, 4 from the left, centred.
        const QRgb key = glyph.pixel(0, size - 1);
        const QImage face = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin(4, (b->height() - size) / 2);
        int drawn = 0, wrong = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (glyph.pixel(x, y) == key)
                    continue;
                ++drawn;
                wrong += face.pixel(origin + QPoint(x, y)) == glyph.pixel(x, y) ? 0 : 1;
            }
        }
        EXPECT_GT(drawn, size * size / 4);
        EXPECT_EQ(wrong, 0);
    }
}

// A name too long for the frame is cut there; the hint keeps it whole.
TEST_F(MainWindowTest, LongConfigurationNameEndsInsideItsFrame)
{
    const QString longName = QStringLiteral("Substation_North_Feeder_Bay_12_IEC61850_Modbus_"
                                            "Gateway_Configuration_Rev_2026_final");
    for (const QString &name : {QStringLiteral("Plant1"), longName}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(QDir().mkpath(projects(name)));
        writeSettings(name);
        TFMontavoreFirmWare *w = start();
        ASSERT_FALSE(Conf_Path.isEmpty());
        QLabel *line = w->L_Name_Conf_L2;
        // Inside the frame's right pen, with the margin it has on the left.
        const int inset = line->x() - w->Shape2->x();
        EXPECT_LE(line->x() + line->width(), w->Shape2->geometry().right() - inset + 1);
        if (name == longName) {
            EXPECT_TRUE(line->text().endsWith(QChar(0x2026)));
            EXPECT_TRUE(name.startsWith(line->text().chopped(1)));
            EXPECT_EQ(line->toolTip(), name);
        } else {
            EXPECT_EQ(line->text(), name);
            EXPECT_TRUE(line->toolTip().isEmpty());
        }
        Free_Windows();
    }
}

TEST_F(MainWindowTest, BackgroundFrameAndLineArePainted)
{
    TFMontavoreFirmWare *w = start();
    const QImage image = w->grab().toImage();
    const auto at = [&](int x, int y) { return FromQColor(image.pixelColor(x, y)); };
    EXPECT_EQ(at(300, 450), TColor(0xEDF7F8)); // empty area below the line
    EXPECT_EQ(at(300, 383), clBlack);          // Shape1
    EXPECT_EQ(at(300, 382), TColor(0xEDF7F8));
    EXPECT_EQ(at(300, 70), clSilver); // top edge of Shape2
    EXPECT_EQ(at(427, 90), clSilver); // right edge of Shape2
}

// --- dispatch --------------------------------------------------------------------------------

TEST_F(MainWindowTest, StepsWithoutConfigurationReportProjectNotValid)
{
    TFMontavoreFirmWare *w = start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    bool dialogShown = false;
    plat::WhenModalShown([&](TModalForm *f) {
        dialogShown = true;
        f->SetModalResult(mrCancel);
    });

    const QList<TLbButton *> visible = {w->Btn_Prm_Gen, w->Btn_IEC61850_Access,
                                        w->Btn_Modbus_Set_Access, w->Btn_TLS_List_Certificates,
                                        w->Btn_CreateBin};
    for (TLbButton *b : visible) {
        m_boxes.Clear();
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_EQ(m_boxes.Count(), 1) << b->objectName().toStdString();
        EXPECT_EQ(m_boxes.Last().text, QStringLiteral("Error! Project not Valid"));
        EXPECT_EQ(m_boxes.Last().icon, plat::MsgIcon::Error);
        EXPECT_EQ(m_boxes.Last().buttons, plat::MsgButtons::OK);
    }
    // The hidden buttons of the other gateways take the same way.
    for (TLbButton *b : {w->Btn_KNX_Access, w->Btn_SNMP_MIB, w->Btn_BACnet_EDE_File,
                         w->Btn_CANopen_EDS, w->Btn_PROFIBUS_GSD, w->Btn_PROFINET_XML}) {
        m_boxes.Clear();
        w->Btn_Click(b);
        ASSERT_EQ(m_boxes.Count(), 1) << b->objectName().toStdString();
        EXPECT_EQ(m_boxes.Last().text, text(18));
    }
    EXPECT_FALSE(dialogShown);
    EXPECT_FALSE(QFileInfo::exists(projects() + QStringLiteral("/bin")));
}

TEST_F(MainWindowTest, NewConfigurationOpensItAndIsReopenedOnTheNextStart)
{
    TFMontavoreFirmWare *w = start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QString shownForm;
    plat::WhenModalShown([&](TModalForm *f) {
        shownForm = f->objectName();
        auto *edit = f->findChild<QLineEdit *>(QStringLiteral("E_New_Proj"));
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, QStringLiteral("Plant1"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QTest::mouseClick(w->Btn_New, Qt::LeftButton);

    EXPECT_EQ(shownForm, QStringLiteral("FNew_Project"));
    EXPECT_EQ(m_boxes.Count(), 0);
    EXPECT_TRUE(QFileInfo(projects(QStringLiteral("Plant1/bin"))).isDir());
    EXPECT_EQ(Conf_Name, QStringLiteral("Plant1"));
    EXPECT_EQ(QDir(Conf_Path).absolutePath(), projects(QStringLiteral("Plant1")));
    EXPECT_EQ(QFileInfo(File_ParGen).absolutePath(), projects(QStringLiteral("Plant1")));
    EXPECT_EQ(w->L_Name_Conf->text(), text(11));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), QStringLiteral("Plant1"));

    w = restart();
    EXPECT_EQ(QDir(Conf_Path).absolutePath(), projects(QStringLiteral("Plant1")));
    EXPECT_EQ(w->L_Name_Conf->text(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), QStringLiteral("Plant1"));
}

TEST_F(MainWindowTest, OpenConfigurationTakesTheChosenNameOrNone)
{
    ASSERT_TRUE(QDir().mkpath(m_base + QStringLiteral("/PROJECTS/Alpha")));
    ASSERT_TRUE(QDir().mkpath(m_base + QStringLiteral("/PROJECTS/Beta")));
    TFMontavoreFirmWare *w = start();

    plat::WhenModalShown([](TModalForm *f) {
        auto *ok = f->findChild<TLbButton *>(QStringLiteral("Btn_OK"));
        auto *list = f->findChild<QListWidget *>(QStringLiteral("ListBox1"));
        ASSERT_TRUE(ok && list);
        const auto items = list->findItems(QStringLiteral("Beta"), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items.first()).center());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    w->Btn_Click(w->Btn_Open);
    EXPECT_EQ(Conf_Name, QStringLiteral("Beta"));
    EXPECT_EQ(QDir(Conf_Path).absolutePath(), projects(QStringLiteral("Beta")));
    EXPECT_EQ(QFileInfo(File_IEC61850_Variables).absolutePath(), projects(QStringLiteral("Beta")));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), QStringLiteral("Beta"));

    // Cancel changes nothing.
    plat::WhenModalShown([](TModalForm *f) { f->SetModalResult(mrCancel); });
    w->Btn_Click(w->Btn_Open);
    EXPECT_EQ(Conf_Name, QStringLiteral("Beta"));

    // With no configuration folders left, OK returns an empty name: none is open afterwards.
    ASSERT_TRUE(QDir(projects()).removeRecursively() && QDir().mkpath(projects()));
    plat::WhenModalShown([](TModalForm *f) { f->SetModalResult(mrOk); });
    w->Btn_Click(w->Btn_Open);
    EXPECT_TRUE(Conf_Name.isEmpty());
    EXPECT_TRUE(Conf_Path.isEmpty());
    EXPECT_EQ(w->L_Name_Conf->text(), text(9));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), text(10));
    w->Btn_Click(w->Btn_Prm_Gen);
    EXPECT_EQ(m_boxes.Last().text, text(18));
}

TEST_F(MainWindowTest, DeletedConfigurationIsNotOpenedButStaysInTheSettings)
{
    ASSERT_TRUE(QDir().mkpath(m_base + QStringLiteral("/PROJECTS")));
    writeSettings(QStringLiteral("Gone"));
    TFMontavoreFirmWare *w = start();

    EXPECT_EQ(Conf_Name, QStringLiteral("Gone"));
    EXPECT_TRUE(Conf_Path.isEmpty());
    EXPECT_EQ(w->L_Name_Conf->text(), text(9));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), text(10));
    w->Btn_Click(w->Btn_Prm_Gen);
    EXPECT_EQ(m_boxes.Last().text, text(18));

    w->close();
    Conf_Name.clear();
    Read_Setting();
    EXPECT_EQ(Conf_Name, QStringLiteral("Gone"));
}

TEST_F(MainWindowTest, UpdateDeviceWritesTheImagesThenShowsTheUpdateDialog)
{
    ASSERT_TRUE(QDir().mkpath(projects(QStringLiteral("P1"))));
    writeSettings(QStringLiteral("P1"));
    TFMontavoreFirmWare *w = start();
    ASSERT_FALSE(Conf_Path.isEmpty());

    QString shownForm;
    int formType = -1;
    FBoot->SetForm_Type(0);
    plat::WhenModalShown([&](TModalForm *f) {
        shownForm = f->objectName();
        formType = FBoot->Form_Type();
        f->SetModalResult(mrCancel);
    });
    w->Btn_Click(w->Btn_CreateBin);
    EXPECT_EQ(m_boxes.Count(), 0) << m_boxes.Last().text.toStdString();
    EXPECT_EQ(shownForm, QStringLiteral("FBoot"));
    EXPECT_EQ(formType, 1);
    EXPECT_TRUE(plat::FileExists(projects(QStringLiteral("P1/bin/bank1.bin"))));
    EXPECT_TRUE(plat::FileExists(projects(QStringLiteral("P1/bin/bank2.bin"))));
}

// The configuration's folder deleted while the program runs: each step says so, naming the
// folder, and nothing is written or recreated.
TEST_F(MainWindowTest, StepsOnAVanishedConfigurationFolderReportItAndWriteNothing)
{
    ASSERT_TRUE(QDir().mkpath(projects(QStringLiteral("P1/bin"))));
    writeSettings(QStringLiteral("P1"));
    TFMontavoreFirmWare *w = start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    ASSERT_FALSE(Conf_Path.isEmpty());
    ASSERT_TRUE(QDir(projects(QStringLiteral("P1"))).removeRecursively());

    QString shownForm;
    plat::WhenModalShown([&](TModalForm *f) {
        shownForm = f->objectName();
        f->SetModalResult(mrCancel);
    });
    for (TLbButton *b : {w->Btn_CreateBin, w->Btn_Prm_Gen, w->Btn_IEC61850_Access,
                         w->Btn_Modbus_Set_Access, w->Btn_TLS_List_Certificates}) {
        SCOPED_TRACE(b->objectName().toStdString());
        m_boxes.Clear();
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_EQ(m_boxes.Count(), 1);
        EXPECT_EQ(m_boxes.Last().text, res::Configuration_Folder_Missing_Text(Conf_Path));
        EXPECT_TRUE(m_boxes.Last().text.contains(QDir::toNativeSeparators(Conf_Path)));
        EXPECT_EQ(m_boxes.Last().icon, plat::MsgIcon::Error);
        EXPECT_TRUE(shownForm.isEmpty()) << shownForm.toStdString();
        EXPECT_FALSE(QFileInfo::exists(projects(QStringLiteral("P1"))));
    }

    // The compiler's writer keeps the same rule when the folder goes between check and write.
    ::Compile_Bin();
    EXPECT_THROW(::Save_Bin_Files(), ECompileError);
    EXPECT_FALSE(QFileInfo::exists(projects(QStringLiteral("P1"))));

    // Only bin is made again inside a configuration that is still there.
    ASSERT_TRUE(QDir().mkpath(projects(QStringLiteral("P1"))));
    m_boxes.Clear();
    QTest::mouseClick(w->Btn_CreateBin, Qt::LeftButton);
    EXPECT_EQ(m_boxes.Count(), 0) << m_boxes.Last().text.toStdString();
    EXPECT_EQ(shownForm, QStringLiteral("FBoot"));
    EXPECT_TRUE(plat::FileExists(projects(QStringLiteral("P1/bin/bank1.bin"))));
}

TEST_F(MainWindowTest, UpdateDeviceStopsWithTheErrorWhenTheImagesCannotBeWritten)
{
    ASSERT_TRUE(QDir().mkpath(projects(QStringLiteral("P1"))));
    // A file where the images' folder belongs.
    QFile blocker(projects(QStringLiteral("P1/bin")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    writeSettings(QStringLiteral("P1"));
    TFMontavoreFirmWare *w = start();

    bool dialogShown = false;
    plat::WhenModalShown([&](TModalForm *f) {
        dialogShown = true;
        f->SetModalResult(mrCancel);
    });
    w->Btn_Click(w->Btn_CreateBin);
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(m_boxes.Count(), 1);
    EXPECT_EQ(m_boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_FALSE(m_boxes.Last().text.trimmed().isEmpty());
}

TEST_F(MainWindowTest, EdeFileNameGetsCsvUnlessItEndsSoInAnyCase)
{
    ASSERT_TRUE(QDir().mkpath(projects(QStringLiteral("P1"))));
    writeSettings(QStringLiteral("P1"));
    TFMontavoreFirmWare *w = start();

    // The overwrite question shows which name was meant: only that file exists.
    struct Case
    {
        const char *chosen;
        const char *existing;
        bool asked;
    };
    const Case cases[] = {
        {"objects", "objects.csv", true},         {"objects.CsV", "objects.CsV", true},
        {"objects.CSV", "objects.CSV", true},     {"objects.csv", "objects.csv.csv", false},
        {"objects.txt", "objects.txt.csv", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chosen);
        const QString dir = projects(QStringLiteral("P1"));
        QDir(dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(dir));
        QFile existing(dir + QLatin1Char('/') + QLatin1String(c.existing));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.close();

        QString initialDir;
        TSaveDialog::SetExecuteHandler([&](TSaveDialog &d) {
            initialDir = d.InitialDir;
            d.FileName = dir + QLatin1Char('/') + QLatin1String(c.chosen);
            return true;
        });
        m_boxes.Clear();
        m_boxes.QueueAnswer(mrNo);
        w->Btn_Click(w->Btn_BACnet_EDE_File);
        EXPECT_EQ(initialDir, Conf_Path);
        EXPECT_EQ(m_boxes.Count(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_EQ(m_boxes.Last().text, text(70));
            EXPECT_EQ(m_boxes.Last().buttons, plat::MsgButtons::YesNoCancel);
        }
    }
}

// --- language --------------------------------------------------------------------------------

// Records, in order, the windows whose texts change: a caption or a hint changing sends an
// event to the widget, whose top-level window names the window.
class TextChangeRecorder : public QObject
{
public:
    TextChangeRecorder() { qApp->installEventFilter(this); }
    ~TextChangeRecorder() override { qApp->removeEventFilter(this); }
    QStringList windows;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ToolTipChange) {
            if (auto *widget = qobject_cast<QWidget *>(watched)) {
                const QString name = widget->window()->objectName();
                if (windows.isEmpty() || windows.last() != name)
                    windows.append(name);
            }
        }
        return false;
    }
};

TEST_F(MainWindowTest, ChangeLanguageRenewsEveryWindowInItsOrder)
{
    TFMontavoreFirmWare *w = start();
    for (QString &t : Lang_Texts)
        t += QStringLiteral(" *");

    TextChangeRecorder recorder;
    w->Change_Language();

    QStringList expected = {QStringLiteral("FMontavoreFirmWare"), QStringLiteral("FNew_Project"),
                            QStringLiteral("FOpenConf"), QStringLiteral("FSoftOptions")};
    expected << QStringLiteral("FBoot") << QStringLiteral("FParGen")
             << QStringLiteral("FTLS_Server_Known_Cert") << QStringLiteral("FIEC61850_Variables")
             << QStringLiteral("FSetAccess") << QStringLiteral("FModbus_TCP_Master_Set_Access")
             << QStringLiteral("FProfinetFileName") << QStringLiteral("FBACnetAccess")
             << QStringLiteral("FImportEDEFile") << QStringLiteral("FBACnetSlaveSetAccess")
             << QStringLiteral("FBACnet_Eng_Unit") << QStringLiteral("FReceiveCAN")
             << QStringLiteral("FTransmitCAN") << QStringLiteral("FSet_PDO_Access")
             << QStringLiteral("FSet_SDO_Client_Access") << QStringLiteral("FSet_SDO_Server_Access")
             << QStringLiteral("FDNet") << QStringLiteral("FDefOffset")
             << QStringLiteral("FReceiveJ1939") << QStringLiteral("FTransmitJ1939")
             << QStringLiteral("FKNXAccess") << QStringLiteral("FMQTT_Set_Topic")
             << QStringLiteral("FTopicTemplate") << QStringLiteral("FReceiveNMEA")
             << QStringLiteral("FTransmitNMEA") << QStringLiteral("FSNMPManagerAccess")
             << QStringLiteral("FSNMP_Trap_Access");
    EXPECT_EQ(recorder.windows, expected);
    EXPECT_EQ(w->Btn_New->Caption(), QStringLiteral("New Configuration *"));
    EXPECT_EQ(w->L_Name_Conf->text(), text(9));
}

TEST_F(MainWindowTest, WindowsAreCreatedOnceInTheirOrder)
{
    start();
    QStringList names;
    for (QWidget *window : Created_Windows())
        names << window->objectName();
    QStringList expected = {QStringLiteral("FMontavoreFirmWare"), QStringLiteral("FNew_Project"),
                            QStringLiteral("FOpenConf"), QStringLiteral("FAbout"),
                            QStringLiteral("FSoftOptions")};
    expected << QStringLiteral("FParGen") << QStringLiteral("FTLS_Server_Known_Cert")
             << QStringLiteral("FIEC61850_Variables") << QStringLiteral("FSetAccess")
             << QStringLiteral("FBoot") << QStringLiteral("FModbus_TCP_Master_Set_Access")
             << QStringLiteral("FProfinetFileName") << QStringLiteral("FBACnetAccess")
             << QStringLiteral("FImportEDEFile") << QStringLiteral("FBACnet_Eng_Unit")
             << QStringLiteral("FBACnetSlaveSetAccess") << QStringLiteral("FReceiveCAN")
             << QStringLiteral("FTransmitCAN") << QStringLiteral("FSet_PDO_Access")
             << QStringLiteral("FSet_SDO_Client_Access") << QStringLiteral("FSet_SDO_Server_Access")
             << QStringLiteral("FDefOffset") << QStringLiteral("FDNet")
             << QStringLiteral("FReceiveJ1939") << QStringLiteral("FTransmitJ1939")
             << QStringLiteral("FKNXAccess") << QStringLiteral("FMQTT_Set_Topic")
             << QStringLiteral("FTopicTemplate") << QStringLiteral("FReceiveNMEA")
             << QStringLiteral("FTransmitNMEA") << QStringLiteral("FSNMPManagerAccess")
             << QStringLiteral("FSNMP_Trap_Access");
    EXPECT_EQ(names, expected);

    // A second creation keeps the windows of the first.
    QWidget *first = FNew_Project;
    Create_Windows(m_base);
    EXPECT_EQ(static_cast<QWidget *>(FNew_Project), first);
    EXPECT_EQ(Created_Windows().size(), expected.size());
}

// --- version timer ---------------------------------------------------------------------------

TEST_F(MainWindowTest, TimerRunsOnlyWithInternetAndUpdateCheckOn)
{
    struct Case
    {
        bool internet;
        bool update;
    };
    for (const Case c :
         {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << c.internet << c.update);
        writeSettings(QString(), c.internet, c.update);
        TFMontavoreFirmWare *w = start();
        EXPECT_EQ(w->Timer_Update->isActive(), c.internet && c.update);
        EXPECT_EQ(w->Timer_Update->interval(), 60000);
        Free_Windows();
    }
}

TEST_F(MainWindowTest, TimerTickShowsTheLinkOnlyForANewerVersionAndRearmsForTwoHours)
{
    writeSettings(QString(), true, true);
    TFMontavoreFirmWare *w = start();
    QLabel *link = control<QLabel>("LL_Update");

    for (const bool newer : {true, false, true}) {
        SCOPED_TRACE(newer);
        w->Version_Check = [newer] { return newer; };
        w->Timer_UpdateTimer();
        EXPECT_EQ(link->isVisibleTo(w), newer);
        if (newer) {
            EXPECT_EQ(link->text(), Download_Link(text(19)));
            EXPECT_TRUE(
                link->text().contains(QLatin1String("/Home/download/download.asp#QX40300")));
        }
        EXPECT_TRUE(w->Timer_Update->isActive());
        EXPECT_EQ(w->Timer_Update->interval(), 7200000);
    }

    // Turned off and on again (the options dialog), the next check stays two hours away.
    Enable_Update = false;
    w->Apply_Timer_Rule();
    EXPECT_FALSE(w->Timer_Update->isActive());
    Enable_Update = true;
    w->Apply_Timer_Rule();
    EXPECT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 7200000);
}

TEST_F(MainWindowTest, OptionsOkSavesTheSettingsAndStartsTheTimer)
{
    TFMontavoreFirmWare *w = start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    ASSERT_FALSE(w->Timer_Update->isActive());
    const QString file = m_base + QStringLiteral("/Montavor.xml");

    QString shownForm;
    plat::WhenModalShown([&](TModalForm *f) {
        shownForm = f->objectName();
        FSoftOptions->CB_En_Con->setChecked(true);
        FSoftOptions->CB_Update->setChecked(true);
        FSoftOptions->Btn_OKClick();
    });
    QTest::mouseClick(w->Btn_Opz, Qt::LeftButton);
    EXPECT_EQ(shownForm, QStringLiteral("FSoftOptions"));
    EXPECT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 60000);
    ASSERT_TRUE(plat::FileExists(file));
    Enable_Internet = Enable_Update = false;
    Read_Setting();
    EXPECT_TRUE(Enable_Internet && Enable_Update);

    // Cancel leaves file and timer alone.
    QFile::remove(file);
    plat::WhenModalShown([](TModalForm *f) { f->SetModalResult(mrCancel); });
    QTest::mouseClick(w->Btn_Opz, Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(w->Timer_Update->isActive());

    // The about box needs no configuration either.
    plat::WhenModalShown([&](TModalForm *f) {
        shownForm = f->objectName();
        f->SetModalResult(mrOk);
    });
    QTest::mouseClick(w->Btn_Info, Qt::LeftButton);
    EXPECT_EQ(shownForm, QStringLiteral("FAbout"));
    EXPECT_EQ(m_boxes.Count(), 0);
}

// --- closing ---------------------------------------------------------------------------------

TEST_F(MainWindowTest, CloseButtonSavesTheSettings)
{
    TFMontavoreFirmWare *w = start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    Last_IP_Address = QStringLiteral("10.1.2.3");
    const QString file = m_base + QStringLiteral("/Montavor.xml");
    ASSERT_FALSE(QFileInfo::exists(file));

    QTest::mouseClick(w->Btn_Close, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    ASSERT_TRUE(plat::FileExists(file));
    Last_IP_Address.clear();
    Read_Setting();
    EXPECT_EQ(Last_IP_Address, QStringLiteral("10.1.2.3"));
    EXPECT_EQ(m_boxes.Count(), 0);
}

TEST_F(MainWindowTest, SettingsThatCannotBeSavedAreReportedAndTheWindowStillCloses)
{
    // A folder where the settings file belongs.
    ASSERT_TRUE(QDir().mkpath(m_base + QStringLiteral("/Montavor.xml")));
    TFMontavoreFirmWare *w = start();
    w->show();
    w->close();
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(m_boxes.Count(), 1);
    EXPECT_EQ(m_boxes.Last().icon, plat::MsgIcon::Error);
}

} // namespace
