// Every screen of the screen list on a copy of the demo skin, without a window:
// binding and loading it with its program bitmaps, and saving it after one
// element of each of its layout files was moved, so that the save really
// writes every one of them. Each save takes turns with `cp` + `sync` of the
// files it changed into a fresh folder: the floor for writing them durably.
#include "AppState.h"
#include "BindingView.h"
#include "Canvas.h"
#include "Elements.h"
#include "ScriptedPrompter.h"
#include "ScreenCatalogue.h"
#include "ScreenLayout.h"
#include "Turns.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// Marks the benchmark as failed once; the library takes only the first reason.
void fail(benchmark::State& bench, const std::string& why)
{
    if (!bench.error_occurred())
        bench.SkipWithError(why.c_str());
}

// A scratch copy of the demo skin with a screen layout working on it.
struct Workbench
{
    QTemporaryDir skin;
    ScriptedPrompter prompter; // answers No, records every message
    AppState state;
    LayoutDocument document;
    Canvas canvas;
    Elements elements{document, canvas, QLocale::c()};
    StartView view;
    ScreenLayout layout{state, canvas, elements, view};

    Workbench()
    {
        const QDir demo(QStringLiteral(TIVARO_SAMPLES_DIR "/DemoSkin"));
        for (const QString& name : demo.entryList(QDir::Files))
            QFile::copy(demo.filePath(name), skin.filePath(name));
        state.SkinFolder = skin.path() + QDir::separator();
        state.AppPath = QStringLiteral(TIVARO_PROGRAM_DIR "/");
        state.prompter = &prompter;
        state.LayoutLoaded = true;
    }

    // Every file of the skin with its bytes.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> all;
        for (const QString& name : QDir(skin.path()).entryList(QDir::Files)) {
            QFile f(skin.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                all[name] = f.readAll();
        }
        return all;
    }

    // Widens the active element by one pixel or narrows it back, as typed into
    // its fields; the width is written on every screen, a position not always.
    void nudge(int step)
    {
        const double cx = document.shown(document.current())[FieldCX];
        document.typeValue(FieldCX, step % 2 == 0 ? cx + 1 : cx - 1);
    }

    // Nudges the first element of every layout file of the bound screen, so
    // that a save changes each of its files.
    void nudgeEveryFile(int step)
    {
        QStringList files;
        const ScreenBinding& b = document.binding();
        for (int slot = 0; slot <= b.lastSlot && slot < elements.size(); ++slot) {
            if (files.contains(b.ElementFile[slot]))
                continue;
            files << b.ElementFile[slot];
            document.select(slot);
            nudge(step);
        }
    }
};

// Made in main after the application and gone before it, as Qt objects want.
std::unique_ptr<Workbench> theWorkbench;
QTemporaryDir theCopies; // the reference's fresh folders
constexpr int SavePairs = 9;
Turns::Log saveLog{"save of the changed layout files against cp + sync of them", "ms", "<= 1.20", {}, {}, {}};
std::map<std::string, std::pair<double, double>> saveScreens; // median ratio, median CPU ms

Workbench& workbench()
{
    return *theWorkbench;
}

// Some other screen of the other loader family, so that every load binds anew.
QString otherScreen(const QString& screen)
{
    return screen == QLatin1String("Hauptmenu") ? QStringLiteral("DialogLoeschen") : QStringLiteral("Hauptmenu");
}

void reportComplaints(benchmark::State& bench, const Workbench& w, qsizetype before)
{
    if (w.prompter.shown.size() != before)
        fail(bench, ("a message was shown: " + w.prompter.shown.last().text.toStdString()));
}

void BM_Load(benchmark::State& bench, const QString& screen)
{
    Workbench& w = workbench();
    const qsizetype before = w.prompter.shown.size();
    const QString other = otherScreen(screen);
    for (auto _ : bench) {
        bench.PauseTiming();
        w.layout.CheckForSave(other);
        bench.ResumeTiming();
        w.layout.CheckForSave(screen);
    }
    if (w.layout.currentScreen() != screen)
        fail(bench, "the screen was not bound");
    reportComplaints(bench, w, before);
}

// The names of the files whose bytes differ between two snapshots.
QStringList changedFiles(const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after)
{
    QStringList names;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (before.value(it.key()) != it.value())
            names << it.key();
    }
    return names;
}

// `cp` of the files into a fresh folder, then `sync` of the copies.
bool copyAndSync(const QString& from, const QStringList& names, int run)
{
    const QString folder = theCopies.filePath(QStringLiteral("copy%1").arg(run));
    QDir().mkpath(folder);
    std::vector<std::string> cp = {"cp"};
    std::vector<std::string> sync = {"sync"};
    for (const QString& name : names) {
        cp.push_back(QDir(from).filePath(name).toStdString());
        sync.push_back(QDir(folder).filePath(name).toStdString());
    }
    cp.push_back(folder.toStdString());
    return Turns::run(cp) && Turns::run(sync);
}

void BM_Save(benchmark::State& bench, const QString& screen)
{
    Workbench& w = workbench();
    const qsizetype shown = w.prompter.shown.size();
    w.layout.CheckForSave(screen);
    static int run = 0;
    int step = 0;
    std::vector<double> ratios, cpu;
    int files = 0;
    for (auto _ : bench) {
        w.nudgeEveryFile(step++);
        if (!w.layout.LayoutChanged()) {
            fail(bench, "moving the active element marked no change");
            break;
        }
        const QMap<QString, QByteArray> before = w.snapshot();
        const double cpuStart = Turns::cpuNow();
        const double start = Turns::now();
        if (!w.layout.save())
            fail(bench, "the save failed");
        const double ours = Turns::now() - start;
        cpu.push_back((Turns::cpuNow() - cpuStart) * 1000);
        bench.SetIterationTime(ours);

        const QStringList changed = changedFiles(before, w.snapshot());
        files = int(changed.size());
        if (changed.isEmpty()) {
            fail(bench, "the save wrote no change");
            break;
        }
        const double referenceStart = Turns::now();
        if (!copyAndSync(w.skin.path(), changed, run++))
            fail(bench, "cp or sync failed");
        const double reference = Turns::now() - referenceStart;
        saveLog.add(ours * 1000, reference * 1000);
        ratios.push_back(ours / reference);
    }
    // An even number of nudges leaves the skin as it was for the next screen.
    if (step % 2 == 1) {
        w.nudgeEveryFile(step);
        w.layout.save();
    }
    bench.counters["ratio"] = Turns::median(ratios);
    bench.counters["cpu_ms"] = Turns::median(cpu);
    bench.counters["files"] = double(files);
    saveScreens[screen.toStdString()] = {Turns::median(ratios), Turns::median(cpu)};
    reportComplaints(bench, w, shown);
}

void printSaveSummary()
{
    if (saveScreens.empty())
        return;
    saveLog.print(false);
    const auto worst = [](auto member) {
        return *std::max_element(saveScreens.begin(), saveScreens.end(), [member](const auto& a, const auto& b) {
            return a.second.*member < b.second.*member;
        });
    };
    const auto ratio = worst(&std::pair<double, double>::first);
    const auto cpu = worst(&std::pair<double, double>::second);
    std::printf("  highest median ratio of a screen: %.2f (%s)\n", ratio.second.first, ratio.first.c_str());
    std::printf("  highest median CPU of a save: %.2f ms (%s), goal <= 2 ms\n", cpu.second.second, cpu.first.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    theWorkbench = std::make_unique<Workbench>();
    const QStringList screens = ScreenCatalogue::sortedNames();
    for (const QString& screen : screens) {
        benchmark::RegisterBenchmark(("Load/" + screen.toStdString()).c_str(), BM_Load, screen)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime();
    }
    for (const QString& screen : screens) {
        benchmark::RegisterBenchmark(("Save/" + screen.toStdString()).c_str(), BM_Save, screen)
            ->Iterations(SavePairs)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printSaveSummary();
    theWorkbench.reset();
    benchmark::Shutdown();
    return 0;
}
