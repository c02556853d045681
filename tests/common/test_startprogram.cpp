// The program runner: start, wait with a limit, leave a slow program running.
#include "common/UStartProgram.h"
#include "platform/os/Process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace {

QString writeScript(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Polls for a file the started script writes; the script runs on its own after a time-out.
QByteArray waitForFile(const QString &path)
{
    for (int i = 0; i < 500 && !QFile::exists(path); ++i)
        QThread::msleep(10);
    QThread::msleep(20);
    return readAll(path);
}

// Running and not merely a zombie that nobody reaped.
bool isAlive(pid_t pid)
{
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close > 0 && stat.size() > close + 2 && stat.at(close + 2) != 'Z';
}

} // namespace

TEST(StartProgram, ProgramThatEndsAtOnceReturnsAfterItRan)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString mark = dir.filePath("ran");
    const QString script = writeScript(dir, "quick.sh", "touch \"$1\"\n");

    QElapsedTimer clock;
    clock.start();
    Start_Program(script, "\"" + mark + "\"", false);
    EXPECT_LT(clock.elapsed(), 5000);
    // The wait ended because the program ended, so its work is done.
    EXPECT_TRUE(QFile::exists(mark));
}

TEST(StartProgram, ProgramOutlivingTheLimitIsLeftRunning)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pidFile = dir.filePath("pid");
    const QString script = writeScript(dir, "slow.sh", "echo $$ > \"$1\"\nexec sleep 30\n");

    constexpr int32_t limit = 300;
    QElapsedTimer clock;
    clock.start();
    Start_Program(script, "\"" + pidFile + "\"", true, limit);
    const qint64 took = clock.elapsed();
    EXPECT_GT(took, limit);
    EXPECT_LT(took, 5000);

    const pid_t pid = waitForFile(pidFile).trimmed().toInt();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(isAlive(pid)) << "the program must not be ended on time-out";
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

TEST(StartProgram, MissingProgramReturnsAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QElapsedTimer clock;
    clock.start();
    Start_Program(dir.filePath("no_such_program"), "a b", false, 3000);
    EXPECT_LT(clock.elapsed(), 2000);

    plat::Process p;
    EXPECT_FALSE(p.start(dir.filePath("no_such_program"), {}, plat::ShowMode::Normal));
    EXPECT_FALSE(p.started());
    EXPECT_FALSE(p.isRunning());
}

TEST(StartProgram, NonExecutableFileIsNotStarted)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = writeScript(dir, "plain.sh", "exit 0\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    plat::Process p;
    EXPECT_FALSE(p.start(path, {}, plat::ShowMode::Hidden));
}

TEST(StartProgram, ParametersReachTheProgramAsSplit)
{
    struct Case
    {
        const char *parameter;
        QStringList expected;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"FW FR PW PR", {"FW", "FR", "PW", "PR"}},
        {"  a   b  ", {"a", "b"}},
        // folder names with blanks and a trailing separator stay whole
        {"x \"/tmp/my dir/bin/\" y", {"x", "/tmp/my dir/bin/", "y"}},
        {"\"\"\"quoted\"\"\"", {"\"quoted\""}},
        {"a\\b c", {"a\\b", "c"}},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("args");
    const QString script = writeScript(
        dir, "args.sh", "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$OUT_FILE\"\n");
    qputenv("OUT_FILE", out.toLocal8Bit());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.parameter);
        EXPECT_EQ(plat::Process::splitParameters(QString::fromUtf8(c.parameter)), c.expected);

        QFile::remove(out);
        Start_Program(script, QString::fromUtf8(c.parameter), false);
        QByteArray expected;
        for (const QString &a : c.expected)
            expected += "[" + a.toLocal8Bit() + "]\n";
        EXPECT_EQ(readAll(out), expected);
    }
    qunsetenv("OUT_FILE");
}

TEST(StartProgram, ProcessReportsEndAndKeepsShowMode)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString script = writeScript(dir, "fail.sh", "exit 3\n");
    plat::Process p;
    ASSERT_TRUE(p.start(script, {}, plat::ShowMode::Hidden));
    EXPECT_EQ(p.showMode(), plat::ShowMode::Hidden);
    EXPECT_FALSE(p.start(script, {}, plat::ShowMode::Normal)) << "one program per handle";
    while (p.isRunning())
        QThread::msleep(5);
    ASSERT_TRUE(WIFEXITED(p.exitStatus()));
    EXPECT_EQ(WEXITSTATUS(p.exitStatus()), 3);
}
