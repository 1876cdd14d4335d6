// Start-up and memory of the whole program, in turns with two references, all
// offscreen: a bare Qt window, and a desktop shell (menus, tool bar, dock,
// status bar) that shows what any desktop editor pays before its own work. A
// probe loaded into every program reports its first paint.
//   Start-up: from starting the program on a copy of the demo skin to its
//   first painted window.
//   Memory: the peak resident size with the map view loaded, a second after
//   it was chosen (the screen gallery has drawn every thumbnail by then).
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

constexpr int Rounds = 11;
const char* const MapView = "Kartenansicht 1";

// Marks the benchmark as failed once; the library takes only the first reason.
void fail(benchmark::State& bench, const std::string& why)
{
    if (!bench.error_occurred())
        bench.SkipWithError(why.c_str());
}

struct Run
{
    double seconds = -1; // to the first painted window; -1 when the program failed
    double peakMegabytes = 0;
};

// Starts a program with the probe; screen, when given, is shown before the probe ends it.
Run run(const std::vector<std::string>& argv, const char* screen = nullptr)
{
    Run result;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return result;
    if (screen)
        ::setenv("TIVARO_PROBE_SCREEN", screen, 1);
    const double start = Turns::now();
    const int pid = Turns::start(argv, pipeFds[1]);
    ::unsetenv("TIVARO_PROBE_SCREEN");
    ::close(pipeFds[1]);
    char byte = 0;
    const bool painted = ::read(pipeFds[0], &byte, 1) == 1;
    const double elapsed = Turns::now() - start;
    ::close(pipeFds[0]);
    long peak = 0;
    if (Turns::finish(pid, nullptr, &peak) && painted) {
        result.seconds = elapsed;
        result.peakMegabytes = double(peak) / 1024;
    }
    return result;
}

struct Setup
{
    QTemporaryDir skin;
    std::vector<std::string> editor;
    std::vector<std::string> bare = {TIVARO_BARE_WINDOW};
    std::vector<std::string> shell = {TIVARO_SHELL_WINDOW};
    Turns::Log startup{"start-up to the first painted window, editor on the demo skin against a bare Qt window",
                         "ms", "<= 1.5", {}, {}, {}};
    Turns::Log shellStartup{"start-up, desktop shell against a bare Qt window", "ms", "", {}, {}, {}};
    Turns::Log startupOverShell{"start-up, editor against the desktop shell", "ms", "", {}, {}, {}};
    Turns::Log memory{"peak memory with the map view loaded, editor against a bare Qt window", "MB", "<= 1.5",
                        {}, {}, {}};
    Turns::Log shellMemory{"peak memory, desktop shell against a bare Qt window", "MB", "", {}, {}, {}};
    Turns::Log memoryOverShell{"peak memory, editor against the desktop shell", "MB", "", {}, {}, {}};

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
    // Once each untimed, so that all start from a warm disk cache.
    run(s.editor);
    run(s.bare);
    run(s.shell);
    for (auto _ : bench) {
        const Run ours = run(s.editor);
        const Run bare = run(s.bare);
        const Run shell = run(s.shell);
        if (ours.seconds < 0 || bare.seconds < 0 || shell.seconds < 0) {
            fail(bench, "a program ended before its first paint");
            break;
        }
        bench.SetIterationTime(ours.seconds);
        s.startup.add(ours.seconds * 1000, bare.seconds * 1000);
        s.shellStartup.add(shell.seconds * 1000, bare.seconds * 1000);
        s.startupOverShell.add(ours.seconds * 1000, shell.seconds * 1000);
    }
    bench.counters["ratio"] = s.startup.medianRatio();
}

void BM_PeakMemoryInTurns(benchmark::State& bench)
{
    Setup& s = *theSetup;
    for (auto _ : bench) {
        const Run ours = run(s.editor, MapView);
        const Run bare = run(s.bare);
        const Run shell = run(s.shell);
        if (ours.seconds < 0 || bare.seconds < 0 || shell.seconds < 0) {
            fail(bench, "a program failed or lacked the map view");
            break;
        }
        s.memory.add(ours.peakMegabytes, bare.peakMegabytes);
        s.shellMemory.add(shell.peakMegabytes, bare.peakMegabytes);
        s.memoryOverShell.add(ours.peakMegabytes, shell.peakMegabytes);
    }
    bench.counters["ratio"] = s.memory.medianRatio();
    bench.counters["MB"] = Turns::median(s.memory.ours);
}

} // namespace

BENCHMARK(BM_StartupInTurns)->Iterations(Rounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryInTurns)->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("LD_PRELOAD", TIVARO_PAINT_PROBE, 1);
    theSetup = std::make_unique<Setup>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const Setup& s = *theSetup;
    for (const Turns::Log* log : {&s.startup, &s.shellStartup, &s.startupOverShell, &s.memory, &s.shellMemory,
                                  &s.memoryOverShell})
        if (!log->ours.empty())
            log->print(!log->goal.empty());
    theSetup.reset();
    benchmark::Shutdown();
    return 0;
}
