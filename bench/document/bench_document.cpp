// The layout document without a window: one drag step (rules, dependents and
// the rectangles shown), undo and redo through a 100-step history, and the
// memory a 1,000-step history takes.
#include "LayoutDocument.h"
#include "SelectTool.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>

namespace {

// A map view (25 elements, "from" and its dummies) or a list pop-up.
void loadScreen(LayoutDocument& doc, bool list)
{
    std::vector<LayoutElement> elements(SlotCount);
    ScreenBinding binding;
    for (int slot = 0; slot < SlotCount; ++slot) {
        LayoutElement& e = elements[slot];
        binding.ElementSection[slot] = QStringLiteral("section%1").arg(slot);
        binding.ElementFile[slot] = QStringLiteral("mapviewlt.ini");
        binding.ElementVisible[0][slot] = true;
        e.rect = QRectF(slot * 75, slot * 105, 600, 375);
        e.coSystem = list && slot >= 1 && slot <= 4 ? 0 : -1;
    }
    if (list)
        elements[0].rect = QRectF(300, 600, 3000, 2700);
    doc.load(std::move(elements), {list ? Dependents::List : Dependents::Map, 0, 15, 15, {0}}, 3, binding);
}

// Drags slot back and forth, as the pointer moves do while the button is held.
void dragStep(benchmark::State& state, bool list, int slot, QPointF press)
{
    LayoutDocument doc;
    loadScreen(doc, list);
    SelectTool tool(doc);
    tool.setView(15, Layout::EdgeZone(3), {0, 0, 3600, 4800});
    const QPointF at = doc.rect(slot).topLeft() + press;
    tool.press(at, Qt::LeftButton, {});
    tool.move(at, Qt::LeftButton, {});
    double step = 15;
    for (auto _ : state) {
        tool.move(at + QPointF(step, step), Qt::LeftButton, {});
        step = step > 1500 ? 15 : step + 15;
    }
    tool.release();
}

void BM_DragMapFrom(benchmark::State& state) { dragStep(state, false, 3, {300, 180}); }
void BM_DragListBoxCorner(benchmark::State& state) { dragStep(state, true, 0, {2990, 2690}); }

// Builds a history of `steps` nudges, each its own step (the element changes every time).
void buildHistory(LayoutDocument& doc, int steps)
{
    for (int i = 0; i < steps; ++i) {
        doc.select(i % SlotCount);
        doc.nudge(NudgeMode(i % 3), NudgeDirection(i % 4));
    }
}

// One undo or redo, walking down the whole history and up again.
void BM_UndoRedoStep(benchmark::State& state)
{
    LayoutDocument doc;
    loadScreen(doc, false);
    buildHistory(doc, 100);
    QUndoStack& undo = doc.undoStack();
    bool down = true;
    for (auto _ : state) {
        if (down ? !undo.canUndo() : !undo.canRedo())
            down = !down;
        down ? undo.undo() : undo.redo();
    }
}

} // namespace

BENCHMARK(BM_DragMapFrom)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragListBoxCorner)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoStep)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    {
        LayoutDocument doc;
        loadScreen(doc, false);
        const size_t before = mallinfo2().uordblks;
        buildHistory(doc, 1000);
        const size_t after = mallinfo2().uordblks;
        std::printf("History of %d steps: %.1f kB on the heap\n", doc.undoStack().count(), (after - before) / 1024.0);
    }
    benchmark::Shutdown();
    return 0;
}
