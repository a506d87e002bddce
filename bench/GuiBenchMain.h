#pragma once
// The main of a benchmark that draws text: fonts need a QGuiApplication (off screen unless a
// platform was asked for). Without the renderer it runs the benchmarks alone.

#ifdef ORV_HAVE_RENDER
#include <QGuiApplication>
#endif

#include <benchmark/benchmark.h>

namespace orv {

inline int RunGuiBenchmarks(int argc, char** argv)
{
#ifdef ORV_HAVE_RENDER
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace orv
