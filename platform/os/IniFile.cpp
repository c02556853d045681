#include "platform/os/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace plat {

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString &s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

} // namespace

TIniFile::TIniFile(const QString &FileName) : m_fileName(FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromUtf8(f.readAll());
    TSectionData *current = nullptr;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = findSection(name);
            if (!current) {
                m_sections.push_back({name, {}});
                current = &m_sections.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        // Lines before the first section or without "=" carry nothing readable.
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        bool replaced = false;
        for (Entry &e : current->entries) {
            if (sameName(e.key, key)) {
                e.value = value;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            current->entries.push_back({key, value});
    }
}

// Names are stored trimmed, as read from a file or given to WriteString; lookups trim too so a
// name written with blanks reads back by the same name.
const TIniFile::TSectionData *TIniFile::findSection(const QString &name) const
{
    for (const TSectionData &s : m_sections)
        if (sameName(s.name, name.trimmed()))
            return &s;
    return nullptr;
}

TIniFile::TSectionData *TIniFile::findSection(const QString &name)
{
    for (TSectionData &s : m_sections)
        if (sameName(s.name, name.trimmed()))
            return &s;
    return nullptr;
}

const TIniFile::Entry *TIniFile::findEntry(const QString &section, const QString &ident) const
{
    const TSectionData *s = findSection(section);
    if (!s)
        return nullptr;
    for (const Entry &e : s->entries)
        if (sameName(e.key, ident.trimmed()))
            return &e;
    return nullptr;
}

QString
TIniFile::ReadString(const QString &Section, const QString &Ident, const QString &Default) const
{
    const Entry *e = findEntry(Section, Ident);
    return e ? e->value : Default;
}

int TIniFile::ReadInteger(const QString &Section, const QString &Ident, int Default) const
{
    const Entry *e = findEntry(Section, Ident);
    if (!e)
        return Default;
    bool ok = false;
    const int v = e->value.toInt(&ok, 10);
    return ok ? v : Default;
}

bool TIniFile::SectionExists(const QString &Section) const
{
    return findSection(Section) != nullptr;
}

bool TIniFile::ValueExists(const QString &Section, const QString &Ident) const
{
    return findEntry(Section, Ident) != nullptr;
}

QStringList TIniFile::ReadSection(const QString &Section) const
{
    QStringList keys;
    if (const auto *s = findSection(Section))
        for (const Entry &e : s->entries)
            keys << e.key;
    return keys;
}

void TIniFile::WriteString(const QString &Section, const QString &Ident, const QString &Value)
{
    if (Section.trimmed().isEmpty() || Ident.trimmed().isEmpty() || hasLineBreak(Section) ||
        hasLineBreak(Ident) || hasLineBreak(Value) || Section.contains(QLatin1Char(']')) ||
        Ident.contains(QLatin1Char('=')) || Ident.trimmed().startsWith(QLatin1Char(';')) ||
        Ident.trimmed().startsWith(QLatin1Char('[')))
        throw std::invalid_argument("INI section or key name cannot be stored");
    TSectionData *s = findSection(Section.trimmed());
    if (!s) {
        m_sections.push_back({Section.trimmed(), {}});
        s = &m_sections.back();
    }
    // Surrounding blanks would not survive a read back.
    const QString key = Ident.trimmed();
    const QString value = Value.trimmed();
    for (Entry &e : s->entries) {
        if (sameName(e.key, key)) {
            e.value = value;
            return;
        }
    }
    s->entries.push_back({key, value});
}

void TIniFile::WriteInteger(const QString &Section, const QString &Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

void TIniFile::EraseSection(const QString &Section)
{
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it) {
        if (sameName(it->name, Section.trimmed())) {
            m_sections.erase(it);
            return;
        }
    }
}

void TIniFile::DeleteKey(const QString &Section, const QString &Ident)
{
    if (TSectionData *s = findSection(Section)) {
        for (auto it = s->entries.begin(); it != s->entries.end(); ++it) {
            if (sameName(it->key, Ident.trimmed())) {
                s->entries.erase(it);
                return;
            }
        }
    }
}

bool TIniFile::UpdateFile(QString *Error) const
{
    QString text;
    for (const TSectionData &s : m_sections) {
        text += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const Entry &e : s.entries)
            text += e.key + QLatin1Char('=') + e.value + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    QSaveFile f(m_fileName);
    const QByteArray data = text.toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        if (Error)
            *Error = QStringLiteral("Cannot write file '%1': %2").arg(m_fileName, f.errorString());
        return false;
    }
    return true;
}

} // namespace plat
