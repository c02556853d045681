#include "gateway/table/UTableColumns.h"

#include <algorithm>
#include <stdexcept>

namespace {

[[noreturn]] void mismatch(const TTableGroup &group, int gridCol, const QString &what)
{
    const QString where = group.Name.isEmpty() ? QString() : group.Name + QStringLiteral(", ");
    throw std::invalid_argument(
        (where + QStringLiteral("grid column %1: %2").arg(gridCol).arg(what)).toStdString());
}

} // namespace

QVector<TTableGridColumn> Table_Grid_Columns(const TTableGroup &group,
                                             const QVector<TColumnSpec> &specs)
{
    for (const TTableColumn &col : group.Columns)
        if (col.GridCol < 1 || col.GridCol > specs.size())
            mismatch(group, col.GridCol, QStringLiteral("no column row for ") + col.Attribute);

    QVector<TTableGridColumn> columns;
    columns.reserve(specs.size());
    for (int k = 0; k < specs.size(); ++k) {
        const TColumnSpec &spec = specs[k];
        const int gridCol = k + 1;
        const auto file = std::find_if(group.Columns.begin(), group.Columns.end(),
                                       [&](const TTableColumn &c) { return c.GridCol == gridCol; });
        if (file == group.Columns.end())
            mismatch(group, gridCol, QStringLiteral("the file has no attribute ") + spec.Attribute);
        if (file->Attribute != spec.Attribute)
            mismatch(group, gridCol,
                     QStringLiteral("shows %1 but the file stores %2 there")
                         .arg(spec.Attribute, file->Attribute));
        if (file->Default != spec.Default)
            mismatch(group, gridCol,
                     QStringLiteral("default of %1 is \"%2\" in the file, \"%3\" in the dialog")
                         .arg(spec.Attribute, file->Default, spec.Default));
        TTableGridColumn c;
        c.Header = spec.Header;
        c.Hint = spec.Hint;
        c.Width = spec.Width;
        c.Editor = spec.Editor;
        c.Combo = spec.Combo;
        c.Items = spec.Items;
        c.Color = spec.Color;
        c.Hidden = spec.Hidden;
        columns << c;
    }
    return columns;
}
