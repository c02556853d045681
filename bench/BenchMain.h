// The entry of the widget benchmarks: an offscreen application around Google Benchmark.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

// Runs the registered benchmarks, then `after` (reports, freeing the widgets) while the
// application still exists: the grids are widgets and must go before it.
template <typename After> int runWidgetBenchmarks(int argc, char **argv, After after)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    after();
    return 0;
}
