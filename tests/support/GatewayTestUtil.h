// Helpers of the gateway tests: a scratch configuration folder, hand-written XML inputs, a
// little-endian byte builder for expected images and a byte comparison with a readable diff.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace gwtest {

using TAttrs = std::vector<std::pair<QString, QString>>;

inline QString Esc(const QString &s)
{
    QString r = s.toHtmlEscaped();
    r.replace(QLatin1String("\n"), QLatin1String("&#10;"));
    return r;
}

// <row a="..." b="..."/>, attributes in the given order.
inline QString Row(const TAttrs &attrs, const QString &element = QStringLiteral("row"))
{
    QString s = QLatin1Char('<') + element;
    for (const auto &[name, value] : attrs)
        s += QStringLiteral(" %1=\"%2\"").arg(name, Esc(value));
    return s + QStringLiteral("/>");
}

// <Par_Gen><key>value</key>...</Par_Gen> followed by the version comment.
inline QString ParGenXml(const TAttrs &keys)
{
    QString s = QStringLiteral("<Par_Gen>\n");
    for (const auto &[key, value] : keys)
        s += QStringLiteral("\t<%1>%2</%1>\n").arg(key, value.toHtmlEscaped());
    return s + QStringLiteral("</Par_Gen>\n<!--SW_VERSION = 1.005-->\n");
}

inline QString TableXml(const QString &root, const QStringList &rows)
{
    return QStringLiteral("<%1>\n%2\n</%1>\n<!--SW_VERSION = 1.005-->\n")
        .arg(root, rows.join('\n'));
}

inline QString ModbusXml(const QStringList &readRows, const QStringList &writeRows)
{
    return QStringLiteral("<EtherNetIP_to_Modbus>\n<Modbus_Read>\n%1\n</Modbus_Read>\n"
                          "<Modbus_Write>\n%2\n</Modbus_Write>\n</EtherNetIP_to_Modbus>\n"
                          "<!--SW_VERSION = 1.005-->\n")
        .arg(readRows.join('\n'), writeRows.join('\n'));
}

inline QString FixturePath(const QString &name)
{
    return QStringLiteral(TEST_FIXTURES_DIR "/gateway/") + name;
}

// The ParGen.xml files of the file and dialog tests.
inline QString ParGenFixture(const char *name)
{
    return QStringLiteral(TEST_FIXTURES_DIR "/pargen/") + QString::fromLatin1(name);
}

// The whole file; empty when it cannot be read.
inline QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A scratch configuration folder.
class TTempConf
{
public:
    TTempConf() { EXPECT_TRUE(m_dir.isValid()); }
    QString Path() const { return m_dir.path(); }
    QString File(const QString &name) const { return m_dir.filePath(name); }
    QString Write(const QString &name, const QString &text) const
    {
        return WriteBytes(name, text.toUtf8());
    }
    QString WriteBytes(const QString &name, const QByteArray &bytes) const
    {
        QFile f(File(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
        f.write(bytes);
        return f.fileName();
    }
    QByteArray Read(const QString &name) const { return ReadFile(File(name)); }

private:
    QTemporaryDir m_dir;
};

// Builds expected image bytes field by field.
class TLe
{
public:
    TLe &U8(uint8_t v)
    {
        m_b.append(char(v));
        return *this;
    }
    TLe &U16(uint16_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)); }
    TLe &U32(uint32_t v) { return U16(uint16_t(v)).U16(uint16_t(v >> 16)); }
    TLe &F32(float f)
    {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return U32(bits);
    }
    TLe &Raw(const QByteArray &b)
    {
        m_b.append(b);
        return *this;
    }
    TLe &Zeros(int n) { return Raw(QByteArray(n, '\0')); }
    const QByteArray &Bytes() const { return m_b; }
    int Size() const { return int(m_b.size()); }

private:
    QByteArray m_b;
};

inline uint32_t GetU32(const QByteArray &b, int off)
{
    return uint32_t(uint8_t(b[off])) | uint32_t(uint8_t(b[off + 1])) << 8 |
           uint32_t(uint8_t(b[off + 2])) << 16 | uint32_t(uint8_t(b[off + 3])) << 24;
}
inline uint16_t GetU16(const QByteArray &b, int off)
{
    return uint16_t(uint8_t(b[off]) | uint8_t(b[off + 1]) << 8);
}
inline uint8_t GetU8(const QByteArray &b, int off)
{
    return uint8_t(b[off]);
}

inline std::string HexLine(const QByteArray &b, int from, int count)
{
    std::string s;
    char buf[8];
    for (int i = from; i < from + count; ++i) {
        if (i < 0 || i >= b.size()) {
            s += " ..";
            continue;
        }
        std::snprintf(buf, sizeof buf, " %02X", unsigned(uint8_t(b[i])));
        s += buf;
    }
    return s;
}

// Equal bytes, or the first differing offset with both sides dumped around it.
inline ::testing::AssertionResult
BytesEqual(const QByteArray &actual, const QByteArray &expected, int base = 0)
{
    const int n = int(std::min(actual.size(), expected.size()));
    int at = -1;
    for (int i = 0; i < n; ++i) {
        if (actual[i] != expected[i]) {
            at = i;
            break;
        }
    }
    if (at < 0 && actual.size() == expected.size())
        return ::testing::AssertionSuccess();
    if (at < 0)
        at = n;
    const int from = (at / 16) * 16 - 16;
    char head[160];
    std::snprintf(head, sizeof head,
                  "sizes %lld (actual) / %lld (expected); first difference at offset 0x%X "
                  "(image offset 0x%X)\n",
                  static_cast<long long>(actual.size()), static_cast<long long>(expected.size()),
                  unsigned(at), unsigned(at + base));
    std::string msg = head;
    for (int line = from; line < from + 48; line += 16) {
        char off[16];
        std::snprintf(off, sizeof off, "%06X", unsigned(line + base));
        msg += std::string("  ") + off + " actual  " + HexLine(actual, line, 16) + "\n";
        msg += std::string("  ") + off + " expected" + HexLine(expected, line, 16) + "\n";
    }
    return ::testing::AssertionFailure() << msg;
}

} // namespace gwtest
