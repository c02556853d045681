// Helpers of the settings tests: the settings fixtures, the values read as one record, and a
// scratch base folder with the shared state filled with stale values.
#pragma once

#include "common/UComon.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

namespace settingstest {

inline QString fixture(const QString &name)
{
    return QStringLiteral(TEST_FIXTURES_DIR "/settings/") + name;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

struct Settings
{
    QString confName;
    QString ip;
    QString language;
    bool internet = false;
    bool update = false;
    bool jump = false;
    bool autoSize = false;
};

inline Settings current()
{
    return {Conf_Name,     Last_IP_Address,    Language_Name,           Enable_Internet,
            Enable_Update, Enable_Jump_Fields, Enable_DblClick_AutoSize};
}

inline void PrintTo(const Settings &s, std::ostream *os)
{
    *os << "{name '" << s.confName.toStdString() << "', ip '" << s.ip.toStdString()
        << "', language '" << s.language.toStdString() << "', flags " << s.internet << s.update
        << s.jump << s.autoSize << "}";
}

inline bool operator==(const Settings &a, const Settings &b)
{
    return a.confName == b.confName && a.ip == b.ip && a.language == b.language &&
           a.internet == b.internet && a.update == b.update && a.jump == b.jump &&
           a.autoSize == b.autoSize;
}

inline const Settings Defaults{"", "192.168.2.205", "English", false, false, false, false};

// Fills the state with values no reader produces, so a value that is not (re)set shows up.
inline void scribble()
{
    Conf_Name = Conf_Path = Last_IP_Address = Language_Name = QStringLiteral("stale");
    Enable_Internet = Enable_Update = Enable_Jump_Fields = Enable_DblClick_AutoSize = true;
    Update_Option = 7;
    Update_Read_Back = false;
    Copy_Row_Buffer = {QStringLiteral("row")};
    Copy_Row_Check_Flags = {true};
    MIB_Read_Objects = MIB_Write_Objects = {QStringLiteral("obj")};
}

class ComonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        scribble();
        Setup_Folders(dir.path());
    }

    QString base() const { return dir.path(); }
    QString settingsPath() const { return dir.filePath(QStringLiteral("Montavor.xml")); }

    QTemporaryDir dir;
};

} // namespace settingstest
