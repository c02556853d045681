#include "platform/os/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace plat {

QString ProgramFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QDir::separator())))
        dir.chop(1);
    return QDir::toNativeSeparators(dir);
}

QString JoinPath(const QString &a, const QString &b)
{
    const QChar sep = QDir::separator();
    if (a.endsWith(sep) || a.endsWith(QLatin1Char('/')))
        return a + b;
    return a + sep + b;
}

bool FileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool DirExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool CreateDir(const QString &path)
{
    if (DirExists(path))
        return true;
    return !path.isEmpty() && QDir().mkdir(path);
}

bool ForceDirectories(const QString &path)
{
    if (DirExists(path))
        return true;
    return !path.isEmpty() && QDir().mkpath(path);
}

QStringList ListSubFolders(const QString &dir)
{
    if (!DirExists(dir))
        return {};
    return QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QStringList ListFiles(const QString &dir, const QString &pattern)
{
    if (!DirExists(dir))
        return {};
    return QDir(dir).entryList(QStringList{pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString FindFileNoCase(const QString &dir, const QString &name)
{
    const QString exact = JoinPath(dir, name);
    if (FileExists(exact))
        return exact;
    if (name.isEmpty() || !DirExists(dir))
        return {};
    for (const QString &entry : QDir(dir).entryList(QDir::Files, QDir::Name)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return JoinPath(dir, entry);
    }
    return {};
}

std::optional<QByteArray> ReadWholeFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open file '%1': %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read file '%1': %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return data;
}

bool WriteFileAtomic(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is what leaves half files behind.
    file.setDirectWriteFallback(false);
    const auto fail = [&]() {
        // QSaveFile does not always carry the system's reason (e.g. a full disk on flush).
        const int err = errno;
        QString reason = file.errorString();
        if ((reason.isEmpty() || reason == QLatin1String("Unknown error")) && err != 0)
            reason = QString::fromLocal8Bit(std::strerror(err));
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("Cannot write file '%1': %2").arg(path, reason);
        return false;
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    if (file.write(data) != data.size())
        return fail();
    if (!file.commit())
        return fail();
    return true;
}

} // namespace plat
