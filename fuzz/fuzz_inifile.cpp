// INI files (platform/os/IniFile): any bytes load; every section and key the file names reads
// back consistently; a string and an integer written read back equal; a rejected write changes
// nothing; and the file written by UpdateFile loads to the same sections, keys and values.
#include "FuzzSupport.h"

#include "platform/os/IniFile.h"

#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using Snapshot = std::vector<std::pair<bool, std::vector<std::pair<QString, QString>>>>;

// A value can never hold a line break, so this default tells "missing" apart.
const QString Missing = QStringLiteral("\n");

// The section names the text spells out; the reader must know each of them.
QStringList sectionNames(const QString &text)
{
    QStringList names;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            names << line.mid(1, line.size() - 2).trimmed();
    }
    return names;
}

Snapshot snapshot(const plat::TIniFile &ini, const QStringList &sections)
{
    Snapshot shot;
    for (const QString &s : sections) {
        std::vector<std::pair<QString, QString>> values;
        const QStringList keys = ini.ReadSection(s);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const QString &k = keys[i];
            // One entry per key, whatever the file repeats.
            for (qsizetype j = 0; j < i; ++j)
                FUZZ_CHECK(keys[j].compare(k, Qt::CaseInsensitive) != 0);
            FUZZ_CHECK(ini.ValueExists(s, k));
            const QString v = ini.ReadString(s, k, Missing);
            FUZZ_CHECK(v != Missing && !v.contains(QLatin1Char('\n')));
            bool ok = false;
            const int n = v.toInt(&ok, 10);
            FUZZ_CHECK(ini.ReadInteger(s, k, 7) == (ok ? n : 7));
            FUZZ_CHECK(ini.ReadInteger(s, k, -7) == (ok ? n : -7));
            values.emplace_back(k, v);
        }
        FUZZ_CHECK(ini.SectionExists(s) || values.empty());
        shot.emplace_back(ini.SectionExists(s), std::move(values));
    }
    return shot;
}

// A write the reader refuses must leave it as it was.
template <typename Write>
bool tryWrite(plat::TIniFile &ini, const QStringList &sections, Write write)
{
    const Snapshot before = snapshot(ini, sections);
    try {
        write();
        return true;
    } catch (const std::invalid_argument &) {
        FUZZ_CHECK(snapshot(ini, sections) == before);
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString path = fuzz::scratchFile(QStringLiteral("fuzz.ini"));
    fuzz::writeFile(path, bytes);

    plat::TIniFile ini(path);
    FUZZ_CHECK(ini.FileName() == path);
    QStringList sections = sectionNames(QString::fromUtf8(bytes));
    for (const QString &s : sections)
        FUZZ_CHECK(ini.SectionExists(s));
    FUZZ_CHECK(!ini.SectionExists(QStringLiteral("a\nb")));
    (void)snapshot(ini, sections);

    // Names and a value taken from the input: the first section and key it has, else its
    // first line.
    const QString firstLine = QString::fromUtf8(bytes).section(QLatin1Char('\n'), 0, 0);
    const QString section = sections.isEmpty() ? firstLine : sections.first();
    const QStringList keys = ini.ReadSection(section);
    const QString key = keys.isEmpty() ? firstLine.section(QLatin1Char('='), 0, 0) : keys.first();
    const QString value = firstLine.section(QLatin1Char('='), 1);
    sections << section << QStringLiteral("Fuzz");

    if (tryWrite(ini, sections, [&] { ini.WriteString(section, key, value); }))
        FUZZ_CHECK(ini.ReadString(section, key, Missing) == value.trimmed());
    if (tryWrite(ini, sections, [&] { ini.WriteInteger(section, key, int(size) - 1000); }))
        FUZZ_CHECK(ini.ReadInteger(section, key, 0) == int(size) - 1000);
    ini.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Value"), value.simplified());
    FUZZ_CHECK(ini.ReadString(QStringLiteral("Fuzz"), QStringLiteral("value"), Missing) ==
               value.simplified());
    ini.DeleteKey(section, key);
    FUZZ_CHECK(!ini.ValueExists(section, key));

    // Whatever is in memory survives the file.
    const Snapshot kept = snapshot(ini, sections);
    QString error;
    FUZZ_CHECK(ini.UpdateFile(&error) && error.isEmpty());
    const plat::TIniFile reread(path);
    FUZZ_CHECK(snapshot(reread, sections) == kept);
    fuzz::removeFile(path);
    return 0;
}
