// The options dialog: language pages and switching, the connection options with the update check
// on demand, and what OK and Cancel keep.
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"
#include "shell/USoftOptions.h"
#include "shell/UVersionCheck.h"
#include "support/LoopbackServer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

using testing_support::LoopbackServer;

QString fixture(const char *name)
{
    return QStringLiteral(TEST_FIXTURES_DIR "/options/") + QString::fromLatin1(name);
}

// The shared state these tests touch, restored afterwards.
struct SavedState
{
    QString basePath = Base_Path, masterPath = Master_Path, projectsPath = Projects_Path,
            languagePath = Language_Path, languageName = Language_Name, swCode = SW_Code;
    bool internet = Enable_Internet, update = Enable_Update, jump = Enable_Jump_Fields,
         autoSize = Enable_DblClick_AutoSize;

    void restore() const
    {
        Base_Path = basePath;
        Master_Path = masterPath;
        Projects_Path = projectsPath;
        Language_Path = languagePath;
        Language_Name = languageName;
        SW_Code = swCode;
        Enable_Internet = internet;
        Enable_Update = update;
        Enable_Jump_Fields = jump;
        Enable_DblClick_AutoSize = autoSize;
    }
};

class SoftOptions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.isValid());
        Setup_Folders(base.path());
        Language_Name = QStringLiteral("English");
        SW_Code = QString::fromLatin1(Software_Code);
        Enable_Internet = Enable_Update = Enable_Jump_Fields = Enable_DblClick_AutoSize = false;
        Load_English_Texts();
    }

    void TearDown() override
    {
        plat::ClearModalShownActions();
        saved.restore();
        Load_English_Texts();
    }

    QString languageFile(const QString &fileName) const
    {
        return QDir(Language_Path).filePath(fileName);
    }

    void addLanguage(const QString &name)
    {
        QFile f(languageFile(name + QStringLiteral(".lng")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    void addFixtureLanguage(const char *name)
    {
        ASSERT_TRUE(QFile::copy(fixture(name), languageFile(QString::fromLatin1(name))));
    }

    void addFlag(const QString &fileName, QColor colour)
    {
        QImage image(48, 48, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(languageFile(fileName), "BMP"));
    }

    SavedState saved;
    QTemporaryDir base;
};

// --- Language pages -------------------------------------------------------------------------

// Written in this order on purpose; the page order ignores letter case.
const QStringList kNames = {"Mike",  "alpha", "CHARLIE", "Bravo", "delta",   "Echo", "foxtrot",
                            "hotel", "Golf",  "India",   "Kilo",  "juliett", "lima"};
const QStringList kSorted = {"alpha", "Bravo", "CHARLIE", "delta", "Echo", "foxtrot", "Golf",
                             "hotel", "India", "juliett", "Kilo",  "lima", "Mike"};

TEST_F(SoftOptions, LanguageFilesFillPagesOfSix)
{
    const struct
    {
        int files;
        int pages;
    } cases[] = {{0, 0}, {6, 1}, {7, 2}, {12, 2}, {13, 3}};

    for (const auto &c : cases) {
        SCOPED_TRACE(c.files);
        QDir(Language_Path).removeRecursively();
        QDir().mkpath(Language_Path);
        // The first c.files names in alphabetical order, written in scrambled order.
        for (const QString &name : kNames) {
            if (kSorted.indexOf(name) < c.files)
                addLanguage(name);
        }

        TFSoftOptions dlg;
        dlg.FormShow();
        ASSERT_EQ(dlg.SL_Languages.size(), c.files);

        for (int page = 1; page <= std::max(c.pages, 1); ++page) {
            SCOPED_TRACE(page);
            ASSERT_EQ(dlg.Show_Page, page);
            EXPECT_EQ(dlg.L_Page_Lang->text(),
                      QStringLiteral("Page %1 / %2").arg(page).arg(c.pages));
            EXPECT_EQ(dlg.Btn_Prev->isHidden(), page == 1);
            EXPECT_EQ(dlg.Btn_Next->isHidden(), page == c.pages);
            for (int k = 1; k <= 6; ++k) {
                const int index = (page - 1) * 6 + k - 1;
                const bool shown = index < c.files;
                EXPECT_EQ(!dlg.L_L[k - 1]->isHidden(), shown) << "slot " << k;
                if (shown) {
                    EXPECT_EQ(dlg.L_L[k - 1]->text(), kSorted[index]) << "slot " << k;
                }
            }
            dlg.Btn_NextClick(dlg.Btn_Next);
        }
        // Next on the last page (or with no files at all) stays put; Prev walks back to page 1
        // and no further.
        EXPECT_EQ(dlg.Show_Page, std::max(c.pages, 1));
        for (int i = 0; i < c.pages + 1; ++i)
            dlg.Btn_NextClick(dlg.Btn_Prev);
        EXPECT_EQ(dlg.Show_Page, 1);
        EXPECT_EQ(dlg.L_Page_Lang->text(), QStringLiteral("Page 1 / %1").arg(c.pages));
    }
}

TEST_F(SoftOptions, ListsOnlyPlainLanguageFiles)
{
    addLanguage(QStringLiteral("Deutsch"));
    addLanguage(QStringLiteral(".Hidden"));
    addLanguage(QStringLiteral("ReadOnly"));
    QFile::setPermissions(languageFile(QStringLiteral("ReadOnly.lng")),
                          QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    ASSERT_TRUE(QDir(Language_Path).mkdir(QStringLiteral("Folder.lng")));
    ASSERT_TRUE(QFile::link(languageFile(QStringLiteral("Deutsch.lng")),
                            languageFile(QStringLiteral("Link.lng"))));
    QFile(languageFile(QStringLiteral("Notes.txt"))).open(QIODevice::WriteOnly);

    TFSoftOptions dlg;
    dlg.FormShow();
    EXPECT_EQ(dlg.SL_Languages, QStringList({".Hidden.lng", "Deutsch.lng"}));
}

TEST_F(SoftOptions, FlagIsTheLanguagesOwnElseTheDefaultOne)
{
    const struct
    {
        const char *what;
        bool own;
        bool ownBroken;
        bool fallback;
        std::optional<QColor> shown; // nullopt: the picture is hidden
    } cases[] = {
        {"own flag", true, false, true, QColor(Qt::red)},
        {"default flag", false, false, true, QColor(Qt::blue)},
        {"no flag", false, false, false, std::nullopt},
        {"unreadable own flag", true, true, true, std::nullopt},
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(Language_Path).removeRecursively();
        QDir().mkpath(Language_Path);
        addLanguage(QStringLiteral("Deutsch"));
        if (c.own && c.ownBroken)
            ASSERT_TRUE(QFile::copy(fixture("Broken.bmp"), languageFile("Deutsch.bmp")));
        else if (c.own)
            addFlag(QStringLiteral("Deutsch.bmp"), Qt::red);
        if (c.fallback)
            addFlag(QStringLiteral("DefaultFlag.bmp"), Qt::blue);

        TFSoftOptions dlg;
        dlg.FormShow();
        EXPECT_FALSE(dlg.L_L[0]->isHidden());
        EXPECT_EQ(dlg.L_L[0]->text(), QStringLiteral("Deutsch"));
        EXPECT_EQ(!dlg.I_L[0]->isHidden(), c.shown.has_value());
        if (c.shown) {
            const QImage shown = dlg.I_L[0]->pixmap().toImage();
            ASSERT_FALSE(shown.isNull());
            EXPECT_EQ(shown.pixelColor(24, 24), *c.shown);
        }
    }
}

// --- Switching the language -------------------------------------------------------------------

// Six languages before "Deutsch", so it is slot 1 of page 2.
class LanguageSwitch : public SoftOptions
{
protected:
    void SetUp() override
    {
        SoftOptions::SetUp();
        for (const char *name : {"a1", "a2", "a3", "a4", "a5", "a6"})
            addLanguage(QString::fromLatin1(name));
        addFixtureLanguage("Deutsch.lng");
        dlg.OnLanguageChanged = [this] {
            ++hookCalls;
            newConfigurationAtHook = Lang_Texts.value(15);
            // As the main window's Change_Language does for every window.
            dlg.Set_Lang();
        };
    }

    // Shows the dialog, picks "Deutsch" answering the question with `answer`, then closes with
    // `close` (Btn_OK or Btn_Cancel). Returns the dialog's modal result.
    int pickDeutsch(int answer, TLbButton *TFSoftOptions::*close)
    {
        plat::WhenModalShown([&](TModalForm *) {
            dlg.Btn_Next->Click();
            QTest::mouseClick(dlg.L_L[0], Qt::LeftButton);
            selLang = dlg.L_Sel_Lang->text();
            pageLabel = dlg.L_Page_Lang->text();
            languageTab = dlg.PC_Options->tabText(dlg.PC_Options->indexOf(dlg.TS_Language));
            (dlg.*close)->Click();
        });
        boxes.QueueAnswer(answer);
        return dlg.ShowModal();
    }

    TFSoftOptions dlg;
    plat::MessageBoxRecorder boxes;
    int hookCalls = 0;
    QString newConfigurationAtHook;
    QString selLang, pageLabel, languageTab;
};

TEST_F(LanguageSwitch, YesLoadsTheTextsAtOnceAndCancelKeepsThemOnlyUntilRestart)
{
    EXPECT_EQ(pickDeutsch(mrYes, &TFSoftOptions::Btn_Cancel), mrCancel);

    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text,
              QStringLiteral("Do you want to change the Language from English to Deutsch?"));
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Question);
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);

    // The text table was reloaded before the windows were told.
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(newConfigurationAtHook, QStringLiteral("Neue Konfiguration"));
    EXPECT_EQ(languageTab, QStringLiteral("Sprache"));
    // The page is drawn again after the windows took their texts.
    EXPECT_EQ(selLang, QStringLiteral("Gewaehlte Sprache :Deutsch"));
    EXPECT_EQ(pageLabel, QStringLiteral("Page 2 / 2"));

    // Cancel: still shown in German, but the stored choice and so the next start are English.
    EXPECT_EQ(Lang_Texts.value(15), QStringLiteral("Neue Konfiguration"));
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
    Load_Language();
    EXPECT_EQ(Lang_Texts.value(15), QStringLiteral("New Configuration"));
}

TEST_F(LanguageSwitch, NoChangesNothing)
{
    EXPECT_EQ(pickDeutsch(mrNo, &TFSoftOptions::Btn_OK), mrOk);
    EXPECT_EQ(hookCalls, 0);
    EXPECT_EQ(Lang_Texts.value(15), QStringLiteral("New Configuration"));
    EXPECT_EQ(selLang, QStringLiteral("Selected Language : English"));
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
}

TEST_F(LanguageSwitch, OkKeepsTheLanguageAcrossARestart)
{
    EXPECT_EQ(pickDeutsch(mrYes, &TFSoftOptions::Btn_OK), mrOk);
    EXPECT_EQ(Language_Name, QStringLiteral("Deutsch"));

    // The main window writes the settings file after OK; the next start reads it.
    Save_Setting();
    Language_Name = QStringLiteral("English");
    Load_English_Texts();
    Read_Setting();
    Load_Language();
    EXPECT_EQ(Language_Name, QStringLiteral("Deutsch"));
    EXPECT_EQ(Lang_Texts.value(15), QStringLiteral("Neue Konfiguration"));

    // The next showing names the stored language.
    plat::WhenModalShown([&](TModalForm *) {
        selLang = dlg.L_Sel_Lang->text();
        dlg.Btn_Cancel->Click();
    });
    dlg.ShowModal();
    EXPECT_EQ(selLang, QStringLiteral("Gewaehlte Sprache :Deutsch"));
}

// --- Connection and software options ------------------------------------------------------------

TEST_F(SoftOptions, UpdateOptionsFollowInternetAccess)
{
    const struct
    {
        bool internet, update;
    } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};

    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "internet " << c.internet << " update " << c.update);
        Enable_Internet = c.internet;
        Enable_Update = c.update;
        TFSoftOptions dlg;
        dlg.FormShow();
        EXPECT_EQ(dlg.CB_En_Con->isChecked(), c.internet);
        EXPECT_EQ(dlg.CB_Update->isChecked(), c.update);
        EXPECT_EQ(dlg.CB_Update->isEnabled(), c.internet);
        EXPECT_EQ(dlg.Btn_Check_Update->isEnabled(), c.internet && c.update);

        // Flipping internet access applies the rule again and keeps the update check mark.
        dlg.CB_En_Con->click();
        EXPECT_EQ(dlg.CB_Update->isChecked(), c.update);
        EXPECT_EQ(dlg.CB_Update->isEnabled(), !c.internet);
        EXPECT_EQ(dlg.Btn_Check_Update->isEnabled(), !c.internet && c.update);
    }
}

TEST_F(SoftOptions, OkStoresTheOptionsAndSwitchesTheTimer)
{
    const struct
    {
        const char *what;
        bool internet, update, jump, autoSize;
        bool ok;
    } cases[] = {
        {"all on", true, true, true, true, true},
        {"update kept while internet off", false, true, false, true, true},
        {"internet without update", true, false, true, false, true},
        {"cancel stores nothing", true, true, true, true, false},
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Enable_Internet = !c.internet;
        Enable_Update = !c.update;
        Enable_Jump_Fields = !c.jump;
        Enable_DblClick_AutoSize = !c.autoSize;

        TFSoftOptions dlg;
        std::vector<bool> timer;
        dlg.OnTimerRule = [&](bool on) { timer.push_back(on); };
        plat::WhenModalShown([&](TModalForm *) {
            // The update box first: it may be disabled once internet access is off.
            dlg.CB_Update->setChecked(c.update);
            dlg.CB_En_Con->setChecked(c.internet);
            dlg.CB_Soft_Set_Jump_Table->setChecked(c.jump);
            dlg.CB_DoubleClick_Auto_Size->setChecked(c.autoSize);
            (c.ok ? dlg.Btn_OK : dlg.Btn_Cancel)->Click();
        });

        EXPECT_EQ(dlg.ShowModal(), c.ok ? mrOk : mrCancel);
        if (c.ok) {
            EXPECT_EQ(Enable_Internet, c.internet);
            EXPECT_EQ(Enable_Update, c.update);
            EXPECT_EQ(Enable_Jump_Fields, c.jump);
            EXPECT_EQ(Enable_DblClick_AutoSize, c.autoSize);
            EXPECT_EQ(timer, std::vector<bool>{c.internet && c.update});
        } else {
            EXPECT_EQ(Enable_Internet, !c.internet);
            EXPECT_EQ(Enable_Update, !c.update);
            EXPECT_EQ(Enable_Jump_Fields, !c.jump);
            EXPECT_EQ(Enable_DblClick_AutoSize, !c.autoSize);
            EXPECT_TRUE(timer.empty());
        }
    }
}

TEST_F(SoftOptions, CheckAvailableUpdateShowsTheLinkOnlyForANewerVersion)
{
    const struct
    {
        const char *what;
        QByteArray reply; // empty: nobody listens
        bool newer;
    } cases[] = {
        {"newer", "HTTP/1.0 200 OK\r\n\r\nVER. 1.006", true},
        {"same", "HTTP/1.0 200 OK\r\n\r\nVER. 1.005", false},
        {"no service", QByteArray(), false},
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Enable_Internet = Enable_Update = true;
        TFSoftOptions dlg;
        std::optional<LoopbackServer> service;
        if (c.reply.isEmpty()) {
            dlg.Version_Base_Address =
                QStringLiteral("http://127.0.0.1:%1").arg(testing_support::closedPort());
        } else {
            service.emplace(c.reply);
            dlg.Version_Base_Address = service->base();
        }
        dlg.FormShow();
        dlg.show();
        EXPECT_TRUE(dlg.LL_Check_Update->isHidden());
        dlg.PC_Options->setCurrentWidget(dlg.TS_Con_Options);
        QTest::mouseClick(dlg.Btn_Check_Update, Qt::LeftButton);

        EXPECT_FALSE(dlg.LL_Check_Update->isHidden());
        if (c.newer) {
            EXPECT_EQ(dlg.LL_Check_Update->textFormat(), Qt::RichText);
            EXPECT_EQ(dlg.LL_Check_Update->text(), Download_Link(Lang_Texts.value(314)));
        } else {
            EXPECT_EQ(dlg.LL_Check_Update->textFormat(), Qt::PlainText);
            EXPECT_EQ(dlg.LL_Check_Update->text(), QStringLiteral("No Update Available"));
        }
        dlg.hide();
    }
}

} // namespace

// The pages share the background of every other window, all the way to the tab frame.
TEST_F(SoftOptions, PagesHaveTheWindowsBackground)
{
    TFSoftOptions dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QColor window = ToQColor(Form_Color);
    for (QWidget *page : {dlg.TS_Language, dlg.TS_Con_Options, dlg.TS_Soft_Settings}) {
        SCOPED_TRACE(page->objectName().toStdString());
        dlg.PC_Options->setCurrentWidget(page);
        const QImage image = dlg.grab().toImage();
        // An empty spot low on the page, and one just inside its edges.
        const QRect area(page->mapTo(&dlg, QPoint(0, 0)), page->size());
        for (const QPoint at : {QPoint(area.center().x(), area.bottom() - 10),
                                area.topLeft() + QPoint(1, 1), area.bottomRight() - QPoint(1, 1)})
            EXPECT_EQ(image.pixelColor(at), window) << at.x() << "," << at.y();
    }
    // The dialog's own background, for comparison.
    EXPECT_EQ(dlg.grab().toImage().pixelColor(2, dlg.height() - 2), window);
}
