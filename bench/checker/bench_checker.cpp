// The skin checker over all 48 screens of the demo skins of both families of
// shared layout files, and all 48 screens painted to PNG through the hidden
// editor window, as "tivaro --render --screen all" does.
#include "AppState.h"
#include "ScreenCatalogue.h"
#include "ScreenRenderer.h"
#include "SkinChecker.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Marks the benchmark as failed once; the library takes only the first reason.
void fail(benchmark::State& bench, const std::string& why)
{
    static std::string reason; // the library keeps the pointer
    if (!bench.error_occurred()) {
        reason = why;
        bench.SkipWithError(reason.c_str());
    }
}

// A copy of a demo skin in dir.
QString demoSkin(const QTemporaryDir& dir, const QString& name)
{
    const QString from = QStringLiteral(TIVARO_SAMPLES_DIR "/") + name;
    const QString skin = dir.filePath(name);
    for (QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        const QString target = skin + u'/' + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
    return skin;
}

void BM_Check(benchmark::State& bench, const QString& name)
{
    QTemporaryDir dir;
    const QString skin = demoSkin(dir, name);
    QList<Finding> findings;
    for (auto _ : bench) {
        findings = SkinChecker::check(skin).findings;
        benchmark::DoNotOptimize(findings);
    }
    if (!findings.isEmpty())
        fail(bench, "the demo skin gave findings, first " + FindingLine(findings.first()).toStdString());
}

// Renderer, skin and 48 pictures written, every time: what one command costs
// beyond starting the program.
void BM_RenderAll(benchmark::State& bench)
{
    QTemporaryDir dir, program, out;
    const QString skin = demoSkin(dir, QStringLiteral("DemoSkin"));
    QFile::link(QStringLiteral(TIVARO_PROGRAM_DIR "/pics"), program.filePath(QStringLiteral("pics")));
    const QStringList screens = ScreenCatalogue::sortedNames();
    for (auto _ : bench) {
        ScreenRenderer renderer(program.path() + u'/');
        renderer.open(skin);
        for (const QString& screen : screens) {
            if (!renderer.render(screen).save(out.filePath(screen + QStringLiteral(".png")), "PNG"))
                fail(bench, "no picture of " + screen.toStdString());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const char* name : {"DemoSkin", "DemoSkinTMC"})
        benchmark::RegisterBenchmark((std::string("Check/") + name).c_str(), BM_Check, QString::fromLatin1(name))
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime();
    benchmark::RegisterBenchmark("RenderAll", BM_RenderAll)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
