// Shared helpers of the fuzz harnesses: a check that stops the run, a scratch folder, and a
// reader that takes numbers from the front of the input.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A broken property is a finding: stop so the fuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);          \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// One scratch folder per process, removed at exit; harnesses write only below it.
inline const QString &scratchDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/conf-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    static const QString path = dir.path();
    return path;
}

inline QString scratchFile(const QString &name)
{
    return scratchDir() + QLatin1Char('/') + name;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}

inline void removeFile(const QString &path)
{
    QFile::remove(path);
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Takes fixed-size numbers from the front; zeros once the input is used up.
class Reader
{
public:
    Reader(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    template <typename T> T take()
    {
        T value{};
        const size_t n = std::min(sizeof(T), m_size);
        if (n == 0)
            return value; // an empty input may come without a buffer
        std::memcpy(&value, m_data, n);
        m_data += n;
        m_size -= n;
        return value;
    }
    size_t left() const { return m_size; }
    QByteArray rest() const { return bytesOf(m_data, m_size); }

private:
    const uint8_t *m_data;
    size_t m_size;
};

// Splits at a line "#####" so one input can carry several files.
inline QList<QByteArray> splitParts(const QByteArray &bytes)
{
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = bytes.indexOf("\n#####\n", from);
        if (at < 0) {
            parts.append(bytes.mid(from));
            return parts;
        }
        parts.append(bytes.mid(from, at - from));
        from = at + 7;
    }
}

} // namespace fuzz
