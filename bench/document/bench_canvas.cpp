// The canvas geometry without a window, on a map view of 25 elements at 8x:
// one drag step with snapping (the lines of the other 24 elements, the snap
// and the moved rectangles with their followers) and one rubber-band step.
#include "Selection.h"
#include "Snapping.h"
#include "ViewTransform.h"

#include <benchmark/benchmark.h>

namespace {

const ScreenRules Map{Dependents::Map, 0, 15, 15};

Rects scene()
{
    Rects rects;
    for (int slot = 0; slot < 25; ++slot)
        rects.emplace_back(150 + (slot % 5) * 690, 150 + (slot / 5) * 930, 600, 375);
    return rects;
}

void BM_SnapDragStep(benchmark::State& state)
{
    const Rects atPress = scene();
    const std::vector<bool> visible(25, true);
    const std::vector<Factors> factors(25, Factors{1, 1, 1, 1});
    const std::vector<Touch> touch(25);
    const double distance = Snapping::DistancePixels * ViewTransform(8, 15, 15).twipsPerScreenPixel();
    double step = 0;
    for (auto _ : state) {
        const QList<int> moving{MapSlots::From};
        const Snapping::Lines lines =
            Snapping::LinesOf(atPress, visible, moving + Snapping::Followers(atPress, Map, MapSlots::From),
                              {0, 0, 3600, 4800});
        const Snapping::Snap snap =
            Snapping::SnapMove(atPress, moving, factors, touch, {step, step / 2}, lines, distance, Map);
        benchmark::DoNotOptimize(Selection::Moved(atPress, moving, factors, snap.pointer, Map));
        step = step > 3000 ? 0 : step + 1.875;
    }
}
BENCHMARK(BM_SnapDragStep)->Unit(benchmark::kMicrosecond);

void BM_RubberBandStep(benchmark::State& state)
{
    const Rects rects = scene();
    const std::vector<bool> selectable(25, true);
    double step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Selection::BandHits(rects, selectable, {100, 100, step, step * 1.3}));
        step = step > 3600 ? 0 : step + 1.875;
    }
}
BENCHMARK(BM_RubberBandStep)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
