// The column stream of the column grid (TQrlColumnGrid::LoadColumnsFromStream): any bytes load
// or raise EQrlGridError with the items and columns untouched; a stream that loads saves again
// to one that loads to the same bytes.
#include "FuzzSupport.h"

#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridError.h"

#include <QApplication>
#include <QBuffer>

#include <memory>

namespace {

QByteArray saveColumns(const TQrlColumnGrid &grid)
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    grid.SaveColumnsToStream(buf);
    return buf.data();
}

// Whether the bytes loaded; any other exception than the grid's own escapes as a finding.
bool loadColumns(TQrlColumnGrid &grid, const QByteArray &bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    try {
        grid.LoadColumnsFromStream(buf);
        return true;
    } catch (const EQrlGridError &) {
        return false;
    }
}

} // namespace

// The grid is a widget: one application for the whole run, drawn nowhere.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    TQrlColumnGrid grid;
    grid.Columns()->Items(1)->SetHeader(QStringLiteral("Keep"));
    grid.Columns()->Items(2)->SetComboItems({QStringLiteral("a"), QStringLiteral("b")});
    const int cols = grid.ColCount();
    const QByteArray before = saveColumns(grid);

    if (!loadColumns(grid, bytes)) {
        FUZZ_CHECK(saveColumns(grid) == before);
        FUZZ_CHECK(grid.ColCount() == cols);
        return 0;
    }
    FUZZ_CHECK(grid.ColCount() == cols);
    const QByteArray saved = saveColumns(grid);
    TQrlColumnGrid other;
    FUZZ_CHECK(loadColumns(other, saved));
    FUZZ_CHECK(saveColumns(other) == saved);
    return 0;
}
