// The speed profile editor offscreen: one keystroke in a speed field until the
// chart beside the fields is painted again.
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FolderDevice.h"
#include "ScriptedPrompter.h"
#include "SpeedProfileChart.h"
#include "frmPreferences.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "../support/WidgetBenchmarks.h"

#include <benchmark/benchmark.h>

namespace {

struct Preferences
{
    QTemporaryDir program;
    QTemporaryDir deviceRoot;
    ScriptedPrompter prompter;
    FolderDevice device{deviceRoot.path()};
    DeviceLink link{device, prompter};
    DeviceConnection connection;
    frmPreferences window{ToolContext{program.path() + QLatin1Char('/'), prompter}, connection, link};

    Preferences()
    {
        window.show();
        QCoreApplication::processEvents();
    }

    QLineEdit* field(const QString& name, int index) const
    {
        for (QLineEdit* edit : window.findChildren<QLineEdit*>(name))
            if (edit->property("index").toInt() == index)
                return edit;
        return nullptr;
    }
};

void press(QWidget* target, Qt::Key key, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &up);
}

// A digit typed at the end of the motorway's speed and taken back in turns, so
// the speed stays between 120 and 1209; each keystroke recomputes the profile
// and repaints the chart.
void BM_ChartKeystroke(benchmark::State& state)
{
    Preferences preferences;
    QLineEdit* speed = preferences.field(QStringLiteral("TXT0"), 0);
    auto* chart = preferences.window.findChild<SpeedProfileChart*>(QStringLiteral("speedProfileChart"));
    speed->setFocus();
    speed->end(false);
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            press(speed, Qt::Key_Backspace, QString());
        else
            press(speed, Qt::Key_9, QStringLiteral("9"));
        typed = !typed;
        chart->repaint();
    }
    if (speed->text() != QLatin1String("120") && speed->text() != QLatin1String("1209"))
        state.SkipWithError("the keystrokes did not reach the speed field");
}
BENCHMARK(BM_ChartKeystroke)->Iterations(1000)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
