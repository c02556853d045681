// Start-up of the shared state: folders, identity texts, the settings file and the reopen rule
// as the program runs them before its first window.
#include "common/SettingsTestUtil.h"
#include "common/UComon.h"
#include "shell/UStartup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace settingstest;

class StartupTest : public ComonTest
{
};

TEST_F(StartupTest, FirstStartThenCloseWritesTheDefaultFile)
{
    // An unusable old file must not leave anything behind either.
    ASSERT_TRUE(writeFile(settingsPath(), "<Conf_Settings><lastproj>"));
    Startup_Shared_State(base());
    Save_Setting();
    EXPECT_EQ(QString::fromUtf8(readAll(settingsPath())),
              QString::fromUtf8(readAll(fixture(QStringLiteral("saved_defaults.xml")))));
}

TEST_F(StartupTest, StartupInEmptyFolderCreatesFoldersAndSetsIdentity)
{
    QTemporaryDir fresh;
    ASSERT_TRUE(fresh.isValid());
    scribble();
    EXPECT_FALSE(Startup_Shared_State(fresh.path() + QDir::separator()));

    EXPECT_EQ(Base_Path, QDir::toNativeSeparators(fresh.path()));
    for (const char *name : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(fresh.filePath(QString::fromLatin1(name))).isDir()) << name;
    EXPECT_EQ(Master_Path, fresh.filePath(QStringLiteral("MASTER")));
    EXPECT_EQ(Projects_Path, fresh.filePath(QStringLiteral("PROJECTS")));
    EXPECT_EQ(Language_Path, fresh.filePath(QStringLiteral("LANGUAGE")));

    EXPECT_EQ(Main_Caption,
              QStringLiteral("Orvato - Configurator QS40300 - IEC61850 Server / Modbus Master "));
    EXPECT_EQ(SW_Code, QStringLiteral("QS40300"));
    EXPECT_EQ(SW_Description, QStringLiteral("IEC61850 Server / Modbus Master - Converter"));
    EXPECT_STREQ(Program_Version, "1.005");
    EXPECT_EQ(current(), Defaults);
    EXPECT_TRUE(Conf_Path.isEmpty());
    EXPECT_EQ(Update_Option, 0);
    EXPECT_TRUE(Update_Read_Back);
    EXPECT_TRUE(Copy_Row_Buffer.isEmpty());
    EXPECT_TRUE(Copy_Row_Check_Flags.isEmpty());
    EXPECT_TRUE(MIB_Read_Objects.isEmpty());
    EXPECT_TRUE(MIB_Write_Objects.isEmpty());
}

TEST_F(StartupTest, DeletedConfigurationStaysNamedInTheSettings)
{
    const QString folder = Projects_Path + QDir::separator() + QStringLiteral("Plant A");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::copy(fixture(QStringLiteral("flag_texts.xml")), settingsPath()));
    QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);

    EXPECT_TRUE(Startup_Shared_State(base()));
    EXPECT_EQ(Conf_Path, folder);
    EXPECT_EQ(File_ParGen, folder + QDir::separator() + QStringLiteral("ParGen.xml"));

    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(Startup_Shared_State(base()));
    EXPECT_EQ(Conf_Name, QStringLiteral("Plant A"));
    EXPECT_TRUE(Conf_Path.isEmpty());

    Save_Setting();
    scribble();
    Read_Setting();
    EXPECT_EQ(Conf_Name, QStringLiteral("Plant A"));
}

} // namespace
