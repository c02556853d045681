// INI files: string and integer values by section and key, kept in memory and written back
// whole. Section and key names compare without regard to case, as the original platform's did;
// the spelling written first is kept.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace plat {

class TIniFile
{
public:
    // Reads the file when it exists; a missing or unreadable file reads as an empty one.
    explicit TIniFile(const QString &FileName);

    QString FileName() const { return m_fileName; }

    // A missing section or key gives Default.
    QString ReadString(const QString &Section, const QString &Ident, const QString &Default) const;
    // A value that is not a decimal integer gives Default as well.
    int ReadInteger(const QString &Section, const QString &Ident, int Default) const;
    bool SectionExists(const QString &Section) const;
    bool ValueExists(const QString &Section, const QString &Ident) const;
    QStringList ReadSection(const QString &Section) const;

    // Names holding a line break, a section name holding ']' or a key holding '=' would
    // corrupt the file: std::invalid_argument, nothing changed. So does a value with a line
    // break.
    void WriteString(const QString &Section, const QString &Ident, const QString &Value);
    void WriteInteger(const QString &Section, const QString &Ident, int Value);
    void EraseSection(const QString &Section);
    void DeleteKey(const QString &Section, const QString &Ident);

    // Writes the whole file atomically; on failure the old file stays whole, false is
    // returned and *Error (when given) says why.
    [[nodiscard]] bool UpdateFile(QString *Error = nullptr) const;

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct TSectionData
    {
        QString name;
        std::vector<Entry> entries;
    };

    const TSectionData *findSection(const QString &name) const;
    TSectionData *findSection(const QString &name);
    const Entry *findEntry(const QString &section, const QString &ident) const;

    QString m_fileName;
    std::vector<TSectionData> m_sections;
};

} // namespace plat
