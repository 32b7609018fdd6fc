#pragma once
// The main of a benchmark that needs a QApplication (off screen unless a
// platform is set): arguments starting with `option` go to `take`, the rest
// to Google Benchmark.

#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

inline int RunQtBenchmarks(int argc, char** argv, const std::string& option,
                           const std::function<void(const char* value)>& take)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind(option, 0) == 0)
            take(argv[i] + option.size());
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    QApplication application(restCount, rest.data());
    QApplication::setApplicationName("Talvenor Mobile");
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
