// Start-up: from starting the program on a copy of the demo skin to its first
// painted editor window, in turns with a bare Qt window, both offscreen. A
// probe loaded into both programs reports the first paint.
#include "Turns.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int Pairs = 11;

// Marks the benchmark as failed once; the library takes only the first reason.
void fail(benchmark::State& bench, const std::string& why)
{
    if (!bench.error_occurred())
        bench.SkipWithError(why.c_str());
}

// Seconds from starting the program to its first painted window; -1 on failure.
double timeToFirstPaint(const std::vector<std::string>& argv)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -1;
    const double start = Turns::now();
    const int pid = Turns::start(argv, pipeFds[1]);
    ::close(pipeFds[1]);
    char byte = 0;
    const bool painted = ::read(pipeFds[0], &byte, 1) == 1;
    const double elapsed = Turns::now() - start;
    ::close(pipeFds[0]);
    return Turns::finish(pid) && painted ? elapsed : -1;
}

struct Setup
{
    QTemporaryDir skin;
    std::vector<std::string> editor;
    std::vector<std::string> bare = {TIVARO_BARE_WINDOW};
    Turns::Log log{"start-up to the first painted window, editor on the demo skin against a bare Qt window", "ms", "",
                   {}, {}, {}};

    Setup()
    {
        const QDir demo(QStringLiteral(TIVARO_SAMPLES_DIR "/DemoSkin"));
        for (const QString& name : demo.entryList(QDir::Files))
            QFile::copy(demo.filePath(name), skin.filePath(name));
        editor = {TIVARO_EDITOR, skin.path().toStdString()};
    }
};

std::unique_ptr<Setup> theSetup;

void BM_StartupInTurns(benchmark::State& bench)
{
    Setup& s = *theSetup;
    // Once each untimed, so that both start from a warm disk cache.
    timeToFirstPaint(s.editor);
    timeToFirstPaint(s.bare);
    for (auto _ : bench) {
        const double ours = timeToFirstPaint(s.editor);
        const double bare = timeToFirstPaint(s.bare);
        if (ours < 0 || bare < 0) {
            fail(bench, "a program ended before its first paint");
            break;
        }
        bench.SetIterationTime(ours);
        s.log.add(ours * 1000, bare * 1000);
    }
    bench.counters["ratio"] = s.log.medianRatio();
}

} // namespace

BENCHMARK(BM_StartupInTurns)->Iterations(Pairs)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("LD_PRELOAD", TIVARO_PAINT_PROBE, 1);
    theSetup = std::make_unique<Setup>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    theSetup->log.print();
    theSetup.reset();
    benchmark::Shutdown();
    return 0;
}
