// File and folder helpers shared by the whole program.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace plat {

// Folder of the program file, without a trailing separator.
QString ProgramFolder();

// a + separator + b; no separator is doubled when a already ends with one.
QString JoinPath(const QString &a, const QString &b);

// True for an existing regular file (a folder of that name does not count).
bool FileExists(const QString &path);
// True for an existing folder.
bool DirExists(const QString &path);
// Creates one folder level; the parent must exist. True when the folder exists afterwards.
bool CreateDir(const QString &path);
// Creates the folder and every missing parent. True when the folder exists afterwards.
bool ForceDirectories(const QString &path);

// Names (not paths) of the sub-folders of dir, without "." and "..", sorted alphabetically
// ignoring case. Empty when dir does not exist.
QStringList ListSubFolders(const QString &dir);
// Names of the regular files in dir matching the wildcard pattern (e.g. "*.lng"; matched
// ignoring case, as the file names the program looks for were chosen on a case-blind system),
// sorted alphabetically ignoring case. Empty when dir does not exist.
QStringList ListFiles(const QString &dir, const QString &pattern);
// Path of the file called name in dir: the exact name when it exists, else the first file whose
// name matches ignoring case (files named on a case-blind system), else "".
QString FindFileNoCase(const QString &dir, const QString &name);

// The whole file, or nullopt when it cannot be opened or read (reason in *error when given).
std::optional<QByteArray> ReadWholeFile(const QString &path, QString *error = nullptr);

// Replaces the file's content atomically: the data goes to a temporary file beside it, which is
// renamed over the target only when everything was written. On any failure the old file stays
// whole, false is returned and *error (when given) says "Cannot write file '<path>': <reason>".
[[nodiscard]] bool
WriteFileAtomic(const QString &path, const QByteArray &data, QString *error = nullptr);

} // namespace plat
