// The screen gallery on a copy of the demo skin: opening the skin and drawing
// all 48 thumbnails, each step timed as the slice of work it is on the
// user-interface thread. Reports the total and the longest slice.
#include "AppState.h"
#include "LayoutDocument.h"
#include "ScreenGallery.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

#include "../support/WidgetBenchmarks.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void BM_AllThumbnails(benchmark::State& bench)
{
    QTemporaryDir program, skin;
    QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/pics"),
                program.filePath(QStringLiteral("pics")));
    const QDir demo(QStringLiteral(TIVARO_SAMPLES_DIR "/DemoSkin"));
    for (const QString& name : demo.entryList(QDir::Files))
        QFile::copy(demo.filePath(name), skin.filePath(name));
    AppState state;
    state.AppPath = program.path() + QLatin1Char('/');
    state.SkinFolder = skin.path() + QLatin1Char('/');
    state.LayoutLoaded = true;

    double longest = 0, total = 0;
    int thumbnails = 0;
    for (auto _ : bench) {
        LayoutDocument document;
        ScreenGallery gallery(state, document);
        gallery.resize(300, 600);
        gallery.show();
        // The gallery reads the skin once it has been painted.
        while (!gallery.windowHandle()->isExposed())
            QCoreApplication::processEvents();
        gallery.repaint();
        QElapsedTimer slice;
        slice.start();
        document.load({}, ScreenRules{}, -1); // the gallery opens the skin the editor shows
        double sum = slice.nsecsElapsed() / 1e6, most = sum;
        bool more = true;
        while (more) {
            slice.restart();
            more = gallery.drawNext();
            const double ms = slice.nsecsElapsed() / 1e6;
            sum += ms;
            most = std::max(most, ms);
            ++thumbnails;
        }
        if (thumbnails == 0) {
            bench.SkipWithError("the gallery drew nothing");
            break;
        }
        bench.SetIterationTime(sum / 1e3);
        longest = std::max(longest, most);
        total += sum;
    }
    bench.counters["total_ms"] = total / double(bench.iterations());
    bench.counters["max_slice_ms"] = longest;
    bench.counters["thumbnails"] = double(thumbnails) / double(bench.iterations());
}
BENCHMARK(BM_AllThumbnails)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
