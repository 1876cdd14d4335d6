// Every screen of the screen list on a copy of the demo skin, without a window:
// binding and loading it with its program bitmaps, and saving it after one
// element was moved, so that the save really writes its layout files.
#include "AppState.h"
#include "BindingView.h"
#include "Canvas.h"
#include "Elements.h"
#include "ScriptedPrompter.h"
#include "ScreenCatalogue.h"
#include "ScreenLayout.h"
#include "clsImage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QTemporaryDir>

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

// The editor window's side of binding: the canvas and two check boxes.
class CanvasBindingView : public BindingView
{
public:
    explicit CanvasBindingView(Canvas& canvas) : m_canvas(canvas) {}
    void setSlotVisible(int slot, bool visible) override
    {
        m_canvas.bitmap(slot)->setVisible(visible);
        m_canvas.frame(slot)->setVisible(visible);
    }
    void setMapBoxesVisible(bool) override {}
    bool infobarTicked() const override { return true; }
    bool dummysTicked() const override { return false; }

private:
    Canvas& m_canvas;
};

// A scratch copy of the demo skin with a screen layout working on it.
struct Workbench
{
    QTemporaryDir skin;
    ScriptedPrompter prompter; // answers No, records every message
    AppState state;
    Canvas canvas;
    Elements elements{state, QLocale::c()};
    CanvasBindingView view{canvas};
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
        const int cx = canvas.txtCX()->text().toInt();
        canvas.txtCX()->setText(QString::number(step % 2 == 0 ? cx + 1 : cx - 1));
        canvas.txtCY()->keyUp(Qt::Key_0, Qt::NoModifier);
    }
};

// Made in main after the application and gone before it, as Qt objects want.
std::unique_ptr<Workbench> theWorkbench;

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

void BM_Save(benchmark::State& bench, const QString& screen)
{
    Workbench& w = workbench();
    const qsizetype shown = w.prompter.shown.size();
    w.layout.CheckForSave(screen);
    const QMap<QString, QByteArray> before = w.snapshot();
    int step = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        w.nudge(step++);
        if (!w.state.LayoutChanged) {
            bench.ResumeTiming();
            fail(bench, "moving the active element marked no change");
            break;
        }
        bench.ResumeTiming();
        if (!w.layout.BTNSave_Click())
            fail(bench, "the save failed");
        if (step == 1) {
            bench.PauseTiming();
            const bool unchanged = w.snapshot() == before;
            bench.ResumeTiming();
            if (unchanged)
                fail(bench, "the save wrote no change");
        }
    }
    // An even number of nudges leaves the skin as it was for the next screen.
    if (step % 2 == 1) {
        w.nudge(step);
        w.layout.BTNSave_Click();
    }
    reportComplaints(bench, w, shown);
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
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    theWorkbench.reset();
    benchmark::Shutdown();
    return 0;
}
