// The description-file writers' questions (GSD, GSDML, MIB), run with the window and save dialog
// they are given, without a main window.
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/USaveDialog.h"
#include "common/UTitledForm.h"
#include "platform/ui/MessageBox.h"
#include "sides/building/UProfibus_GSD.h"
#include "sides/building/UProfinetFileName.h"
#include "sides/building/USNMP_MIB.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

class DescriptionWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Load_English_Texts();
        Conf_Path = dir.path();
        File_ParGen = dir.filePath(QStringLiteral("ParGen.xml"));
        touch(File_ParGen);
        previous = TSaveDialog::SetExecuteHandler([this](TSaveDialog &d) {
            ++asked;
            owner = d.parent();
            initialDir = d.InitialDir;
            if (!answer.isEmpty())
                d.FileName = answer;
            return !answer.isEmpty();
        });
    }
    void TearDown() override { TSaveDialog::SetExecuteHandler(previous); }

    static void touch(const QString &path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    QWidget window;
    plat::MessageBoxRecorder boxes;
    TSaveDialog::TExecuteHandler previous;
    QString answer; // the file chosen; empty: the dialog is cancelled
    int asked = 0;
    QObject *owner = nullptr;
    QString initialDir;
};

TEST_F(DescriptionWriterTest, AskForTheFileThenBeforeOverwriting)
{
    TSaveDialog saveMib(&window);
    struct Case
    {
        const char *name;
        std::function<void()> run;
        const char *chosen; // answered in the save dialog; nullptr: cancelled
        bool exists;        // the chosen file is there already
        int overwriteText;  // the question's text number; 0: no question
    };
    const Case cases[] = {
        {"GSD cancelled", [&] { Build_GSD_File(&window); }, nullptr, false, 0},
        {"GSD new file", [&] { Build_GSD_File(&window); }, "station.gsd", false, 0},
        {"GSD existing file", [&] { Build_GSD_File(&window); }, "station.gsd", true, 1103},
        {"GSDML cancelled", [&] { Save_GSDML_File(QStringLiteral("dev.xml"), &window); }, nullptr,
         false, 0},
        {"GSDML existing file", [&] { Save_GSDML_File(QStringLiteral("dev.xml"), &window); },
         "dev.xml", true, 1511},
        {"MIB cancelled", [&] { Build_MIB_File(&saveMib); }, nullptr, false, 0},
        {"MIB existing file", [&] { Build_MIB_File(&saveMib); }, "traps.mib", true, 1105},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        asked = 0;
        owner = nullptr;
        boxes.Clear();
        answer = c.chosen ? dir.filePath(QString::fromLatin1(c.chosen)) : QString();
        QFile::remove(answer);
        if (c.exists)
            touch(answer);
        c.run();
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(owner, &window);
        EXPECT_EQ(initialDir, Conf_Path);
        if (c.overwriteText) {
            ASSERT_EQ(boxes.Count(), 1);
            EXPECT_EQ(boxes.Last().text, Lang_Text(c.overwriteText));
        } else {
            EXPECT_EQ(boxes.Count(), 0);
        }
    }
}

TEST_F(DescriptionWriterTest, GsdRefusedWithoutParameterFile)
{
    ASSERT_TRUE(QFile::remove(File_ParGen));
    Build_GSD_File(&window);
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Text(1104));
}

TEST_F(DescriptionWriterTest, MibWithoutDialogAsksNothing)
{
    Build_MIB_File(nullptr);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(boxes.Count(), 0);
}

} // namespace
