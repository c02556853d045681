// Loading a complete language file (one entry per text number, with comments and protected
// blanks mixed in) over the English table.
#include "common/ULanguage.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString writeFullLanguageFile(const QTemporaryDir &dir)
{
    QByteArray data("\xEF\xBB\xBF/#/ generated language file\r\n");
    for (int n = 0; n < Lang_Texts_Size; ++n) {
        data += "STR" + QByteArray::number(n) + " =";
        switch (n % 3) {
        case 0:
            data += "Testo numero " + QByteArray::number(n);
            break;
        case 1:
            data += "Testo numero " + QByteArray::number(n) + "  /#/ comment";
            break;
        default:
            data += "\xC2\xB6 Testo protetto " + QByteArray::number(n) + " \xC2\xB6";
            break;
        }
        data += "\r\n";
    }
    const QString path = dir.filePath("Bench.lng");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
    return path;
}

void BM_LoadLanguageFile(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const QString path = writeFullLanguageFile(dir);
    for (auto _ : state) {
        Load_English_Texts();
        Load_Language_File(path);
        benchmark::DoNotOptimize(Lang_Texts.constData());
    }
    state.SetItemsProcessed(state.iterations() * Lang_Texts_Size);
}
BENCHMARK(BM_LoadLanguageFile)->Unit(benchmark::kMillisecond);

void BM_LoadEnglishTexts(benchmark::State &state)
{
    for (auto _ : state) {
        Load_English_Texts();
        benchmark::DoNotOptimize(Lang_Texts.constData());
    }
}
BENCHMARK(BM_LoadEnglishTexts)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
