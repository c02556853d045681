#include "platform/os/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <vector>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("settings.ini"));
    }
    void write(const QByteArray &data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QByteArray read() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(IniFileTest, ReadsValuesOrTheDefault)
{
    write("Pos0=9\n"
          "[Grid]\n"
          "; a comment\n"
          "  CP0 = 3 \n"
          "CP1=x\n"
          "Name=two words\n"
          "no equals sign\n"
          "CP2=1\n"
          "cp2=4\n"
          "[Other]\n"
          "CP0=7\n");
    const plat::TIniFile ini(path);
    struct Case
    {
        const char *section, *key;
        int expected;
    };
    for (const Case &c : {Case{"Grid", "CP0", 3}, Case{"grid", "cp0", 3}, Case{"Other", "CP0", 7},
                          Case{"Grid", "CP1", -1}, Case{"Grid", "CP2", 4}, Case{"Grid", "Pos0", -1},
                          Case{"Grid", "CP9", -1}, Case{"None", "CP0", -1}}) {
        EXPECT_EQ(ini.ReadInteger(QLatin1String(c.section), QLatin1String(c.key), -1), c.expected)
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(ini.ReadString(QStringLiteral("Grid"), QStringLiteral("Name"), QString()),
              QStringLiteral("two words"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Grid"), QStringLiteral("Pos0")));
}

TEST_F(IniFileTest, MissingFileReadsAsEmpty)
{
    const plat::TIniFile ini(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 42), 42);
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("S")));
}

TEST_F(IniFileTest, WritesKeepOtherSectionsAndReadBack)
{
    write("[Keep]\nA=1\n[Grid]\nCP0=5\n");
    {
        plat::TIniFile ini(path);
        ini.WriteInteger(QStringLiteral("grid"), QStringLiteral("CP0"), 0);
        ini.WriteInteger(QStringLiteral("Grid"), QStringLiteral("CP1"), -2);
        ini.WriteString(QStringLiteral("New"), QStringLiteral("Text"), QStringLiteral("ä b"));
        ASSERT_TRUE(ini.UpdateFile());
    }
    EXPECT_EQ(read(),
              QByteArray("[Keep]\nA=1\n\n[Grid]\nCP0=0\nCP1=-2\n\n[New]\nText=\xc3\xa4 b\n\n"));
    const plat::TIniFile again(path);
    EXPECT_EQ(again.ReadInteger(QStringLiteral("Grid"), QStringLiteral("CP1"), 0), -2);
    EXPECT_EQ(again.ReadString(QStringLiteral("New"), QStringLiteral("Text"), QString()),
              QStringLiteral("ä b"));
}

TEST_F(IniFileTest, NamesThatWouldCorruptTheFileAreRefused)
{
    plat::TIniFile ini(path);
    const std::vector<std::array<QString, 3>> bad{
        {"Se]ct", "K", "v"},          {"Sect", "K=1", "v"}, {"Sect", "K\n", "v"},
        {"Sect", "K", "line\nbreak"}, {"", "K", "v"},       {"Sect", "", "v"},
        {"Sect", "[K", "v"}};
    for (const auto &[section, key, value] : bad)
        EXPECT_THROW(ini.WriteString(section, key, value), std::invalid_argument)
            << section.toStdString() << "/" << key.toStdString();
    EXPECT_TRUE(ini.ReadSection(QStringLiteral("Sect")).isEmpty());
}

TEST_F(IniFileTest, FailedWriteReportsAndCreatesNothing)
{
    const QString target = dir.filePath(QStringLiteral("missing/settings.ini"));
    plat::TIniFile ini(target);
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1);
    QString error;
    EXPECT_FALSE(ini.UpdateFile(&error));
    EXPECT_TRUE(error.contains(target)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

} // namespace
