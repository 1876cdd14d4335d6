// The editor window offscreen with painting: a drag of 10,000 pointer moves,
// undo and redo through a 100-step history, a walk through all 48 screens of
// the screen list and zoom changes, on a copy of the demo skin.
#include "AppState.h"
#include "CanvasView.h"
#include "LayoutDocument.h"
#include "ScriptedPrompter.h"
#include "ScreenCatalogue.h"
#include "frmTivaro.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "../support/WidgetBenchmarks.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Editor
{
    QTemporaryDir program;
    QTemporaryDir skin;
    ScriptedPrompter prompter; // answers No, records every message
    AppState state;
    std::unique_ptr<frmTivaro> window;

    Editor()
    {
        QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/pics"),
                    program.filePath(QStringLiteral("pics")));
        const QDir demo(QStringLiteral(TIVARO_SAMPLES_DIR "/DemoSkin"));
        for (const QString& name : demo.entryList(QDir::Files))
            QFile::copy(demo.filePath(name), skin.filePath(name));
        state.AppPath = program.path() + QLatin1Char('/');
        state.prompter = &prompter;
        window = std::make_unique<frmTivaro>(state);
        window->show();
        window->openSkinFolder(skin.path());
        window->setZoom(1);
        QCoreApplication::processEvents();
    }

    void send(QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
    {
        QWidget* view = window->canvasView();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, p, view->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
};

QPoint at(int x, int y)
{
    return {x + CanvasView::Margin, y + CanvasView::Margin};
}

// Pointer moves of a drag of "home" on the main menu, back and forth over the
// screen so the element keeps moving; painted after each move or not at all.
void dragMoves(benchmark::State& bench, bool painted)
{
    Editor editor;
    editor.send(QEvent::MouseButtonPress, at(60, 60), Qt::LeftButton);
    int step = 0;
    for (auto _ : bench) {
        const int phase = step++ % 200;
        const int d = phase < 100 ? phase : 200 - phase;
        editor.send(QEvent::MouseMove, at(60 + d, 60 + d), Qt::LeftButton);
        if (painted)
            editor.window->canvasView()->repaint();
    }
    editor.send(QEvent::MouseButtonRelease, at(60, 60), Qt::NoButton);
}

// One pointer move, painted.
void BM_DragMove(benchmark::State& bench)
{
    dragMoves(bench, true);
}
BENCHMARK(BM_DragMove)->Iterations(10000)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// The pointer-move handler alone: the same drag, nothing painted.
void BM_DragMoveHandler(benchmark::State& bench)
{
    dragMoves(bench, false);
}
BENCHMARK(BM_DragMoveHandler)->Iterations(10000)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// One undo or redo of a 100-step history on the main menu, painted: the
// history is walked down to its start and up again.
void BM_UndoRedoStep(benchmark::State& bench)
{
    Editor editor;
    LayoutDocument& doc = editor.window->document();
    for (int i = 0; i < 100; ++i) {
        doc.select(i % 12); // another element each time, so no two steps merge
        editor.window->MoveO_Click();
    }
    QUndoStack& history = doc.undoStack();
    bool down = true;
    for (auto _ : bench) {
        if (down ? !history.canUndo() : !history.canRedo())
            down = !down;
        down ? editor.window->BTNUndo_Click() : editor.window->BTNRedo_Click();
        editor.window->canvasView()->repaint();
    }
}
BENCHMARK(BM_UndoRedoStep)->Iterations(2000)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// One choice in the screen list: bind, load and paint the next screen.
void BM_ScreenSwitch(benchmark::State& bench)
{
    Editor editor;
    auto* combo = editor.window->findChild<QComboBox*>(QStringLiteral("ComboAnsicht"));
    int index = 0;
    for (auto _ : bench) {
        combo->setCurrentIndex(index++ % combo->count());
        editor.window->ComboAnsicht_Click();
        editor.window->canvasView()->repaint();
    }
}
BENCHMARK(BM_ScreenSwitch)->Iterations(48 * 4)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// A zoom change with its repaint, between 4x and 8x, the largest canvases.
void BM_ZoomChange(benchmark::State& bench)
{
    Editor editor;
    editor.window->resize(1200, 900);
    int step = 0;
    for (auto _ : bench) {
        editor.window->setZoom(step++ % 2 ? 4 : 8);
        editor.window->repaint();
    }
}
BENCHMARK(BM_ZoomChange)->Iterations(200)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The map view (25 elements) at 8x in a window of 1200 x 900, snapping on.
void openMapAt8x(Editor& editor)
{
    auto* combo = editor.window->findChild<QComboBox*>(QStringLiteral("ComboAnsicht"));
    combo->setCurrentIndex(combo->findText(QStringLiteral("Kartenansicht 1")));
    editor.window->ComboAnsicht_Click();
    editor.window->resize(1200, 900);
    editor.window->setZoom(8);
    editor.window->canvasView()->setSnapping(true);
}

// One pointer move of a drag of a map element, snapping against the other elements, painted.
void BM_SnapDragMove8x(benchmark::State& bench)
{
    Editor editor;
    openMapAt8x(editor);
    CanvasView* view = editor.window->canvasView();
    // The first element that lies on top at its own centre and may be moved both ways.
    const LayoutDocument& doc = editor.window->document();
    const auto movable = [&doc](int s) {
        const LayoutElement& e = doc.element(s);
        return doc.elementAt(e.rect.center()) == s && doc.factor(s)[0] != 0 && doc.factor(s)[1] != 0;
    };
    int slot = 0;
    while (slot < doc.count() && !movable(slot))
        ++slot;
    const QPoint start = view->transform().toWidget(doc.rect(slot).center()).toPoint();
    const QRectF atStart = doc.rect(slot);
    bool moved = false;
    editor.send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    editor.send(QEvent::MouseMove, start, Qt::LeftButton);
    int step = 0;
    for (auto _ : bench) {
        const int phase = step++ % 400;
        const int d = phase < 200 ? phase : 400 - phase;
        editor.send(QEvent::MouseMove, start + QPoint(d, d / 2), Qt::LeftButton);
        QCoreApplication::processEvents(); // paints what changed
        moved = moved || doc.rect(slot) != atStart;
    }
    editor.send(QEvent::MouseButtonRelease, start, Qt::NoButton);
    if (!moved)
        bench.SkipWithError("the drag moved nothing");
}
BENCHMARK(BM_SnapDragMove8x)->Iterations(2000)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// One pointer move of a rubber band over the map view from an empty corner, painted.
void BM_RubberBandMove8x(benchmark::State& bench)
{
    Editor editor;
    openMapAt8x(editor);
    CanvasView* view = editor.window->canvasView();
    const QPoint start(view->width() - 6, view->height() - 6);
    editor.send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    int step = 0;
    for (auto _ : bench) {
        const int d = 8 * (step++ % 300);
        editor.send(QEvent::MouseMove, start - QPoint(d, d), Qt::LeftButton);
        QCoreApplication::processEvents(); // paints what changed
    }
    editor.send(QEvent::MouseButtonRelease, start, Qt::NoButton);
    if (editor.window->document().selection().size() < 2)
        bench.SkipWithError("the band selected nothing");
}
BENCHMARK(BM_RubberBandMove8x)->Iterations(2000)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
