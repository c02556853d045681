// The new and open configuration dialogs on their own: name checks, folder creation, the list of
// configurations and the preselection of the open one.
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

class NewOpenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Setup_Folders(QDir(m_dir.path()).absolutePath());
        Load_English_Texts();
        SW_Code = QStringLiteral("QS40300");
        Conf_Name.clear();
        Conf_Path.clear();
        Set_Files();
    }

    void TearDown() override { plat::ClearModalShownActions(); }

    QString project(const QString &name) const { return Projects_Path + QLatin1Char('/') + name; }

    void makeProject(const QString &name) const { ASSERT_TRUE(QDir().mkpath(project(name))); }

    QTemporaryDir m_dir;
    plat::MessageBoxRecorder m_boxes;
};

// Types the name into the shown dialog and presses Enter; then cancels if it is still open.
int tryName(TFNew_Project &dialog, const QString &name, bool withEnter = true)
{
    plat::WhenModalShown([&dialog, name, withEnter](TModalForm *) {
        QTest::keyClicks(dialog.E_New_Proj, name);
        if (withEnter)
            QTest::keyClick(dialog.E_New_Proj, Qt::Key_Return);
        else
            QTest::mouseClick(dialog.Btn_OK, Qt::LeftButton);
        if (dialog.isVisible())
            QTest::mouseClick(dialog.Btn_Cancel, Qt::LeftButton);
    });
    return dialog.ShowModal();
}

TEST_F(NewOpenTest, RefusedNamesKeepTheDialogOpenWithTheirMessage)
{
    makeProject(QStringLiteral("Existing"));
    TFNew_Project dialog;
    dialog.show(); // the buttons take clicks only while their window shows

    struct Case
    {
        QString name;
        int message;
    };
    const Case cases[] = {
        {QString(), 107},
        {QStringLiteral("Existing"), 106},
        {QStringLiteral("a/b"), 105},
        {QStringLiteral("a\\b"), 105},
        {QStringLiteral("Existing/sub"), 105},
        {QStringLiteral("../Outside"), 105},
        {QStringLiteral("."), 105},
        {QStringLiteral(".."), 105},
    };
    const QStringList before =
        QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        m_boxes.Clear();
        EXPECT_EQ(tryName(dialog, c.name), mrCancel);
        ASSERT_EQ(m_boxes.Count(), 1);
        EXPECT_EQ(m_boxes.Last().text, Lang_Texts[c.message]);
        EXPECT_EQ(m_boxes.Last().icon, plat::MsgIcon::Error);
        EXPECT_TRUE(Conf_Path.isEmpty());
        EXPECT_TRUE(Conf_Name.isEmpty());
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(QDir(Projects_Path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Existing")});
    EXPECT_TRUE(QDir(project(QStringLiteral("Existing"))).isEmpty());
}

TEST_F(NewOpenTest, NewNameCreatesFolderWithBinAndOpensIt)
{
    makeProject(QStringLiteral("Plant1"));
    TFNew_Project dialog;
    dialog.show();
    // Letter case makes another folder on this file system; OK by mouse this time.
    EXPECT_EQ(tryName(dialog, QStringLiteral("plant1"), false), mrOk);
    EXPECT_EQ(m_boxes.Count(), 0);
    EXPECT_TRUE(QFileInfo(project(QStringLiteral("plant1/bin"))).isDir());
    EXPECT_EQ(Conf_Name, QStringLiteral("plant1"));
    EXPECT_EQ(QDir(Conf_Path).absolutePath(), project(QStringLiteral("plant1")));
    EXPECT_EQ(File_ModbusM_SetAccess, Conf_Path + QDir::separator() + "ModbusM_SetAccess.xml");
}

TEST_F(NewOpenTest, NameFieldIsEmptiedOnEveryShow)
{
    TFNew_Project dialog;
    dialog.E_New_Proj->setText(QStringLiteral("left over"));
    QString seen = QStringLiteral("unset");
    plat::WhenModalShown([&](TModalForm *f) {
        seen = dialog.E_New_Proj->text();
        f->SetModalResult(mrCancel);
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(seen.isEmpty());
}

TEST_F(NewOpenTest, OpenDialogListsFoldersOnlyAndPreselectsTheOpenOneIgnoringCase)
{
    for (const char *name : {"Alpha", "PlantX", "Zeta"})
        makeProject(QString::fromLatin1(name));
    QFile file(project(QStringLiteral("notes.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Conf_Path = project(QStringLiteral("plantx"));

    TFOpenConf dialog;
    QStringList listed;
    QString selected;
    plat::WhenModalShown([&](TModalForm *f) {
        for (int i = 0; i < dialog.ListBox1->count(); ++i)
            listed << dialog.ListBox1->item(i)->text();
        selected = dialog.ListBox1->currentItem() ? dialog.ListBox1->currentItem()->text() : "";
        f->SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (QStringList{"Alpha", "PlantX", "Zeta"}));
    EXPECT_EQ(dialog.SL.size(), 3);
    EXPECT_EQ(selected, QStringLiteral("PlantX"));
    EXPECT_EQ(dialog.Name_Conf, QStringLiteral("PlantX"));
    EXPECT_EQ(dialog.Search_Open_Conf(QStringLiteral("ZETA")), dialog.SL.indexOf("Zeta"));
    EXPECT_EQ(dialog.Search_Open_Conf(QStringLiteral("Missing")), -1);
}

TEST_F(NewOpenTest, OpenDialogChoosesFirstWithoutOpenConfigurationAndNothingWhenEmpty)
{
    TFOpenConf dialog;
    plat::WhenModalShown([](TModalForm *f) { f->SetModalResult(mrOk); });
    dialog.Name_Conf = QStringLiteral("stale");
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(dialog.Name_Conf.isEmpty());
    EXPECT_EQ(dialog.ListBox1->count(), 0);

    makeProject(QStringLiteral("One"));
    makeProject(QStringLiteral("Two"));
    Conf_Path = project(QStringLiteral("Deleted"));
    plat::WhenModalShown([&](TModalForm *f) {
        // A click on the other item chooses it; Cancel still closes as cancelled.
        const int other = dialog.ListBox1->currentRow() == 0 ? 1 : 0;
        dialog.show();
        QListWidgetItem *item = dialog.ListBox1->item(other);
        QTest::mouseClick(dialog.ListBox1->viewport(), Qt::LeftButton, {},
                          dialog.ListBox1->visualItemRect(item).center());
        f->SetModalResult(mrCancel);
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(dialog.Name_Conf, dialog.SL.value(1));
}

TEST_F(NewOpenTest, DialogTextsComeFromTheTextTable)
{
    TFNew_Project newDialog;
    TFOpenConf openDialog;
    EXPECT_EQ(newDialog.windowTitle(), QStringLiteral("Create New Configuration"));
    EXPECT_EQ(newDialog.Btn_OK->Hint(), QStringLiteral("Confirm the Name of new Configuration"));
    EXPECT_EQ(newDialog.E_New_Proj->toolTip(),
              QStringLiteral("Insert here the name of new configuration"));
    EXPECT_EQ(newDialog.size(), QSize(331, 162));
    EXPECT_EQ(openDialog.windowTitle(), QStringLiteral("Open Configuration"));
    EXPECT_EQ(openDialog.L_SW_Desc->text(), QStringLiteral("Open an Existing Configuration"));
    EXPECT_EQ(openDialog.Btn_Cancel->Hint(), QStringLiteral("Cancel open of Configuration"));
    EXPECT_EQ(openDialog.size(), QSize(377, 351));
    EXPECT_EQ(openDialog.L_SW_Code->text(), QStringLiteral("QS40300"));
}

} // namespace
