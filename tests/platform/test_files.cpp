#include "platform/os/Files.h"
#include "platform/os/SerialPorts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

void writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

// Limits the size of files this process may write, for the lifetime of the object. Writes past
// the limit fail with EFBIG (SIGXFSZ is ignored meanwhile); root is bound by it too, unlike
// permission bits.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = m_old;
        lim.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

TEST(Files, WriteFileAtomicReplacesWholeFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("bank1.bin"));
    writeAll(path, QByteArray(100, 'x'));
    QString error;
    ASSERT_TRUE(plat::WriteFileAtomic(path, QByteArray("new"), &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("new")); // no tail of the longer old content
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{QStringLiteral("bank1.bin")});
}

// A write that fails half-way must leave the previous file as it was and no stray file beside it.
TEST(Files, WriteFileAtomicFailureKeepsOldFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("ParGen.xml"));
    const QByteArray old = "<old/>";
    writeAll(path, old);

    QString error;
    bool written = true;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        written = plat::WriteFileAtomic(path, QByteArray(1 << 20, 'n'), &error);
    }
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write file '%1': ").arg(path)))
        << error.toStdString();
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{QStringLiteral("ParGen.xml")});
}

TEST(Files, WriteFileAtomicIntoFileAsFolderFails)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString blocker = tmp.filePath(QStringLiteral("PROJECTS"));
    writeAll(blocker, "file");
    QString error;
    EXPECT_FALSE(plat::WriteFileAtomic(blocker + QStringLiteral("/x.xml"), "data", &error));
    EXPECT_TRUE(error.contains(blocker + QStringLiteral("/x.xml"))) << error.toStdString();
    EXPECT_EQ(readAll(blocker), QByteArray("file"));
}

TEST(Files, FoldersAndListings)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString base = tmp.path();

    const QString deep =
        plat::JoinPath(plat::JoinPath(base, QStringLiteral("a")), QStringLiteral("b"));
    EXPECT_FALSE(plat::CreateDir(deep)); // one level only
    EXPECT_TRUE(plat::ForceDirectories(deep));
    EXPECT_TRUE(plat::DirExists(deep));
    EXPECT_TRUE(plat::CreateDir(deep)); // already there counts as success
    EXPECT_FALSE(plat::FileExists(deep));

    for (const char *name : {"English.lng", "deutsch.LNG", "Italiano.lng", "Flag.bmp"})
        writeAll(plat::JoinPath(base, QString::fromLatin1(name)), "x");
    plat::CreateDir(plat::JoinPath(base, QStringLiteral("Beta")));
    plat::CreateDir(plat::JoinPath(base, QStringLiteral("x.lng"))); // a folder, not a file

    EXPECT_TRUE(plat::FileExists(plat::JoinPath(base, QStringLiteral("Flag.bmp"))));
    EXPECT_EQ(plat::ListFiles(base, QStringLiteral("*.lng")),
              (QStringList{"deutsch.LNG", "English.lng", "Italiano.lng"}));
    EXPECT_EQ(plat::ListSubFolders(base), (QStringList{"a", "Beta", "x.lng"}));
    EXPECT_TRUE(plat::ListFiles(plat::JoinPath(base, QStringLiteral("none")), "*").isEmpty());
}

TEST(Files, JoinPath)
{
    struct Case
    {
        QString a, b, expected;
    };
    const Case cases[] = {
        {"/opt/conf", "MASTER", "/opt/conf/MASTER"},
        {"/opt/conf/", "MASTER", "/opt/conf/MASTER"},
        {"/", "PROJECTS", "/PROJECTS"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(plat::JoinPath(c.a, c.b), c.expected) << c.a.toStdString();
}

TEST(Files, ReadWholeFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("f.bin"));
    const QByteArray data("a\0b\r\n", 5);
    writeAll(path, data);
    EXPECT_EQ(plat::ReadWholeFile(path), data);
    QString error;
    EXPECT_FALSE(plat::ReadWholeFile(tmp.filePath(QStringLiteral("none")), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("none"))) << error.toStdString();
}

TEST(SerialPorts, MappingAndPresenceOverFakeDevices)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString dev = tmp.path();
    for (const char *name : {"ttyS0", "ttyS63", "ttyUSB0", "ttyUSB127", "ttyACM1"})
        writeAll(dev + QLatin1Char('/') + QString::fromLatin1(name), {});
    QDir(dev).mkdir(QStringLiteral("ttyS1")); // not a device: cannot be opened read/write

    const QString saved = plat::SerialDeviceFolder();
    plat::SetSerialDeviceFolder(dev);
    struct Case
    {
        int n;
        const char *device; // nullptr: no device for this number
        bool present;
    };
    const Case cases[] = {
        {1, "ttyS0", true},      {2, "ttyS1", false},    {64, "ttyS63", true},
        {65, "ttyUSB0", true},   {66, "ttyUSB1", false}, {192, "ttyUSB127", true},
        {193, "ttyACM0", false}, {194, "ttyACM1", true}, {256, "ttyACM63", false},
        {0, nullptr, false},     {257, nullptr, false},  {-1, nullptr, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.n);
        const QString expected =
            c.device ? dev + QLatin1Char('/') + QString::fromLatin1(c.device) : QString();
        EXPECT_EQ(plat::SerialPortDevice(c.n), expected);
        EXPECT_EQ(plat::SerialPortPresent(c.n), c.present);
    }
    plat::SetSerialDeviceFolder(saved);
    EXPECT_EQ(plat::SerialDeviceFolder(), QStringLiteral("/dev"));
}
