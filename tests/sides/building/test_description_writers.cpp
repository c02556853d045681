// The description-file writers' questions (GSD, GSDML, MIB), run with the window and save dialog
// they are given, without a main window.
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/USaveDialog.h"
#include "common/UTitledForm.h"
#include "platform/ui/MessageBox.h"
#include "sides/building/UProfibus_GSD.h"
#include "sides/building/UProfinetFileName.h"
#include "sides/building/UProfinetXML.h"
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

TEST_F(DescriptionWriterTest, GsdWritesTheLengthsOfTheParameterFileUnderTheChosenName)
{
    {
        QFile f(File_ParGen);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("<ParGen><PROFINET_NB_IN>10</PROFINET_NB_IN>"
                "<PROFINET_NB_OUT>70</PROFINET_NB_OUT></ParGen>");
    }
    struct TCase
    {
        const char *typed;
        const char *written;
    };
    // The extension is recognised in any letter case and never doubled.
    const TCase cases[] = {{"Device.GSD", "Device.GSD"},
                           {"station", "station.gsd"},
                           {"a.gsd.txt", "a.gsd.txt.gsd"},
                           {"b.gsd", "b.gsd"}};
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.typed);
        answer = dir.filePath(QString::fromLatin1(c.typed));
        Build_GSD_File(&window);
        const QString target = dir.filePath(QString::fromLatin1(c.written));
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_EQ(bytes, gsdText({70, 10}).toLatin1());
        EXPECT_TRUE(bytes.contains("Max_Input_Len=70\r\nMax_Output_Len=10\r\n"));
        if (QString::fromLatin1(c.written) != QString::fromLatin1(c.typed)) {
            EXPECT_FALSE(QFile::exists(answer));
        }
    }
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(DescriptionWriterTest, GsdKeepsTheOldFileWhenTheAnswerIsNo)
{
    answer = dir.filePath(QStringLiteral("old.gsd"));
    {
        QFile f(answer);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    boxes.QueueAnswer(mrNo);
    Build_GSD_File(&window);
    ASSERT_EQ(boxes.Count(), 1);
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

TEST_F(DescriptionWriterTest, GsdThatCannotBeWrittenIsReported)
{
    answer = dir.filePath(QStringLiteral("missing/folder/station.gsd"));
    Build_GSD_File(&window);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_TRUE(boxes.Last().text.contains(QStringLiteral("station.gsd")));
    EXPECT_FALSE(QFile::exists(answer));
}

// Only the folder of the chosen file counts: the composed name is written there.
TEST_F(DescriptionWriterTest, GsdmlWritesTheComposedNameIntoTheChosenFolder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("other")));
    answer = dir.filePath(QStringLiteral("other/other.xml"));
    Save_GSDML_File(QStringLiteral("dev.xml"), &window);
    EXPECT_FALSE(QFile::exists(answer));
    QFile f(dir.filePath(QStringLiteral("other/dev.xml")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // The parameter file here is empty: the defaults go in.
    EXPECT_EQ(f.readAll(), "\xEF\xBB\xBF" + gsdmlText(TProfinetPar{}).toUtf8());
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(DescriptionWriterTest, GsdmlThatCannotBeWrittenIsReported)
{
    answer = dir.filePath(QStringLiteral("missing/dev.xml"));
    Save_GSDML_File(QStringLiteral("dev.xml"), &window);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_TRUE(boxes.Last().text.contains(QStringLiteral("dev.xml")));
}

TEST_F(DescriptionWriterTest, MibWithoutDialogAsksNothing)
{
    Build_MIB_File(nullptr);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(boxes.Count(), 0);
}

} // namespace
