// Grid settings persistence: the column order in the store that ColumnSize names.
//
// The registry is not available on this platform: clRegistry keeps its values in one INI file
// in the user's configuration folder, with the key and the section joined as the section name.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/os/IniFile.h"

#include <QDir>
#include <QStandardPaths>

#include <vector>

namespace {

struct TColumnStore
{
    QString file;
    QString section;
};

TColumnStore columnStore(const TColumnSize &cs)
{
    if (cs.Location() == TColumnSizeLocation::clIniFile)
        return {cs.Key(), cs.Section()};
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return {QDir(folder).filePath(QStringLiteral("registry.ini")),
            cs.Key() + QLatin1Char('\\') + cs.Section()};
}

void flush(const plat::TIniFile &ini)
{
    QString error;
    if (!ini.UpdateFile(&error))
        throw EQrlGridError(error);
}

} // namespace

void TQrlStringGrid::SaveColPositions()
{
    const TColumnSize &cs = *d->columnSize;
    if (cs.Key().isEmpty() || cs.Section().isEmpty() || IsDesigningQuery())
        return;
    const TColumnStore store = columnStore(cs);
    plat::TIniFile ini(store.file);
    for (int i = 0; i < d->columnOrder.Count(); ++i)
        ini.WriteInteger(store.section, QStringLiteral("Pos%1").arg(i), d->columnOrder.Items(i));
    flush(ini);
}

void TQrlStringGrid::LoadColPositions()
{
    const TColumnSize &cs = *d->columnSize;
    if (cs.Key().isEmpty() || cs.Section().isEmpty() || IsDesigningQuery())
        return;
    const TColumnStore store = columnStore(cs);
    const plat::TIniFile ini(store.file);
    if (ini.ReadInteger(store.section, QStringLiteral("Pos0"), -1) == -1)
        return;
    std::vector<int> wanted;
    for (int i = 0; i < TotalColCount(); ++i) {
        const int v = ini.ReadInteger(store.section, QStringLiteral("Pos%1").arg(i), -1);
        if (v != -1)
            wanted.push_back(v);
    }
    // Values out of range or repeated would move columns that do not exist: such a section is
    // ignored, as one without the keys.
    if (!IsPermutation(wanted))
        return;

    std::vector<int> hidden;
    for (int c = 0; c < TotalColCount(); ++c)
        if (IsHiddenColumn(c))
            hidden.push_back(c);
    UnHideColumnsAll();
    if (d->columnOrder.Count() == 0)
        SetColumnOrder();
    // Position i takes the column recorded as wanted[i]; the positions before i are settled.
    for (int i = 0; i < static_cast<int>(wanted.size()) && i < ColCount(); ++i) {
        int at = -1;
        for (int p = i; p < d->columnOrder.Count() && p < ColCount(); ++p) {
            if (d->columnOrder.Items(p) == wanted[static_cast<size_t>(i)]) {
                at = p;
                break;
            }
        }
        if (at > i)
            MoveColumn(at, i);
    }
    for (const int c : hidden)
        HideColumn(c);
    d->columnOrder.Clear();
    for (const int v : wanted)
        d->columnOrder.Add(v);
}
