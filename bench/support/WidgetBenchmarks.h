#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

// The main function of a benchmark program with widgets: Qt's offscreen
// platform unless another is asked for, every benchmark the command line picks,
// then what the program measures once at the end.
inline int runWidgetBenchmarks(int argc, char** argv, const std::function<void()>& afterwards = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (afterwards)
        afterwards();
    benchmark::Shutdown();
    return 0;
}
