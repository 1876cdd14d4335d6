// One pointer-move step of a drag, as the window delivers it: the handler of
// the dragged element with everything it updates (marker, frame, fields) and
// the dependent layouts, without painting.
#include "AppState.h"
#include "Canvas.h"
#include "Elements.h"
#include "clsImage.h"

#include <benchmark/benchmark.h>

namespace {

struct Screen
{
    AppState state;
    Canvas canvas;
    Elements elements{state};

    Screen(bool list)
    {
        canvas.selector()->setLineWidth(3);
        elements.grow(SlotCount);
        for (int slot = 0; slot < SlotCount; ++slot) {
            clsImage& e = *elements.at(slot);
            e.SetImage(canvas.bitmap(slot));
            e.SetFrame(canvas.frame(slot));
            e.SetX(canvas.txtX());
            e.SetY(canvas.txtY());
            e.SetCX(canvas.txtCX());
            e.SetCY(canvas.txtCY());
            e.SetNameLabel(canvas.nameLabel());
            e.SetName(QStringLiteral("section in file.ini"));
            e.SetCoSystem(list && slot >= 1 && slot <= 4 ? canvas.frame(0) : canvas.screen());
            e.HasDepts(true);
            e.IsListbox(list);
            canvas.selector()->setTag(QString::number(slot));
            e.SetSelector(canvas.selector());
            e.Index(qint16(slot));
            canvas.txtX()->setText(QString::number(slot * 5));
            canvas.txtY()->setText(QString::number(slot * 7));
            canvas.txtCX()->setText(QStringLiteral("40"));
            canvas.txtCY()->setText(QStringLiteral("25"));
            e.paintImage();
            e.visible(true);
            e.TouchX(true);
            e.TouchY(true);
            e.TouchCX(true);
            e.TouchCY(true);
        }
    }
};

// Drags slot in move mode, back and forth so that the element stays in place.
void dragStep(benchmark::State& st, bool list, int slot, double pressX, double pressY)
{
    Screen screen(list);
    clsImage& e = *screen.elements.at(slot);
    e.myImage_MouseDown(Qt::LeftButton, Qt::NoModifier, pressX, pressY);
    e.myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, pressX, pressY);
    double step = 15;
    for (auto _ : st) {
        e.myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, pressX + step, pressY + step);
        step = -step;
    }
    e.myImage_MouseUp(Qt::LeftButton, Qt::NoModifier, pressX, pressY);
    benchmark::DoNotOptimize(screen.state.LayoutChanged);
}

void BM_MoveMapFrom(benchmark::State& st) { dragStep(st, false, 3, 300, 180); }
void BM_MoveListBox(benchmark::State& st) { dragStep(st, true, 0, 300, 180); }
void BM_ResizeListBoxCorner(benchmark::State& st) { dragStep(st, true, 0, 590, 365); }

} // namespace

BENCHMARK(BM_MoveMapFrom);
BENCHMARK(BM_MoveListBox);
BENCHMARK(BM_ResizeListBoxCorner);
BENCHMARK_MAIN();
