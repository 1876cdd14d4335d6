// Reading the 101 values of a map view and saving 100 keys, through our INI
// engine and, for reference, through QSettings on the same files.

#include "Ini.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Value
{
    QString file;
    QString section;
    QString key;
};

struct Fixture
{
    QTemporaryDir dir;
    QString mapview;
    QString defaults;
    std::vector<Value> reads; // 25 slots x 4 keys + the info bar height

    Fixture()
    {
        mapview = dir.filePath(QStringLiteral("mapviewlt.ini"));
        defaults = dir.filePath(QStringLiteral("defaultlt.ini"));
        writeLayout(mapview, QStringLiteral("map"), 90);
        writeLayout(defaults, QStringLiteral("dlg"), 220);
        for (int slot = 0; slot < 25; ++slot) {
            const bool shared = slot % 5 == 4; // some elements live in the default file
            const QString file = shared ? defaults : mapview;
            const QString section = QStringLiteral("%1_item%2").arg(shared ? "dlg" : "map").arg(slot * 3);
            for (const char* key : {"x", "y", "cx", "cy"})
                reads.push_back({file, section, QString::fromLatin1(key)});
        }
        reads.push_back({defaults, QStringLiteral("dlg_item7"), QStringLiteral("cy")});
    }

    // A layout file as skins ship them: a comment head, then one section per
    // element with its rectangle and a few other keys.
    static void writeLayout(const QString& path, const QString& prefix, int sections)
    {
        QByteArray text = "; MN4 layout file\r\n; generated for the benchmark\r\n\r\n";
        for (int i = 0; i < sections; ++i) {
            text += QStringLiteral("[%1_item%2]\r\n").arg(prefix).arg(i).toLatin1();
            text += QStringLiteral("x= %1\r\ny= %2\r\ncx= %3\r\ncy= %4\r\n")
                        .arg(i % 240).arg(i % 320).arg(20 + i % 50).arg(16 + i % 30).toLatin1();
            text += "bitmap= button_" + QByteArray::number(i) + ".bmp\r\nfont= 2\r\ncolor= 0\r\n\r\n";
        }
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            std::abort();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_ReadIni_MapView(benchmark::State& state)
{
    const Fixture& f = fixture();
    for (auto _ : state) {
        for (const Value& v : f.reads)
            benchmark::DoNotOptimize(ReadIni(v.file, v.section, v.key, 0));
    }
    state.SetItemsProcessed(state.iterations() * qint64(f.reads.size()));
}
BENCHMARK(BM_ReadIni_MapView);

// One reader per file, as a screen loader can use it.
void BM_IniReader_MapView(benchmark::State& state)
{
    const Fixture& f = fixture();
    for (auto _ : state) {
        const IniReader mapview(f.mapview);
        const IniReader defaults(f.defaults);
        for (const Value& v : f.reads) {
            const IniReader& r = v.file == f.mapview ? mapview : defaults;
            benchmark::DoNotOptimize(r.value(v.section, v.key, 0));
        }
    }
    state.SetItemsProcessed(state.iterations() * qint64(f.reads.size()));
}
BENCHMARK(BM_IniReader_MapView);

// QSettings opened per value, the way a ReadIni built on it would work.
void BM_QSettings_MapView_PerValue(benchmark::State& state)
{
    const Fixture& f = fixture();
    for (auto _ : state) {
        for (const Value& v : f.reads) {
            const QSettings s(v.file, QSettings::IniFormat);
            benchmark::DoNotOptimize(s.value(v.section + u'/' + v.key, 0).toString());
        }
    }
    state.SetItemsProcessed(state.iterations() * qint64(f.reads.size()));
}
BENCHMARK(BM_QSettings_MapView_PerValue);

// QSettings opened once per file for all values of a screen.
void BM_QSettings_MapView_PerFile(benchmark::State& state)
{
    const Fixture& f = fixture();
    for (auto _ : state) {
        const QSettings mapview(f.mapview, QSettings::IniFormat);
        const QSettings defaults(f.defaults, QSettings::IniFormat);
        for (const Value& v : f.reads) {
            const QSettings& s = v.file == f.mapview ? mapview : defaults;
            benchmark::DoNotOptimize(s.value(v.section + u'/' + v.key, 0).toString());
        }
    }
    state.SetItemsProcessed(state.iterations() * qint64(f.reads.size()));
}
BENCHMARK(BM_QSettings_MapView_PerFile);

// Each round stores other values, so every commit really rewrites the file.
void BM_IniBatch_Write100(benchmark::State& state)
{
    const Fixture& f = fixture();
    int round = 0;
    for (auto _ : state) {
        IniBatch batch(f.mapview);
        for (int i = 0; i < 100; ++i)
            batch.write(f.reads[i].section, f.reads[i].key, QString::number(i + round % 2));
        if (!batch.commit())
            state.SkipWithError("commit failed");
        ++round;
    }
}
BENCHMARK(BM_IniBatch_Write100);

void BM_QSettings_Write100(benchmark::State& state)
{
    const Fixture& f = fixture();
    const QString copy = f.dir.filePath(QStringLiteral("qsettings.ini"));
    QFile::copy(f.mapview, copy);
    int round = 0;
    for (auto _ : state) {
        QSettings s(copy, QSettings::IniFormat);
        for (int i = 0; i < 100; ++i)
            s.setValue(f.reads[i].section + u'/' + f.reads[i].key, QString::number(i + round % 2));
        s.sync();
        ++round;
    }
}
BENCHMARK(BM_QSettings_Write100);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Both readers must agree before their speed means anything.
    for (const Value& v : fixture().reads) {
        const QSettings s(v.file, QSettings::IniFormat);
        if (ReadIni(v.file, v.section, v.key, "?") != s.value(v.section + u'/' + v.key, "!").toString()) {
            std::fprintf(stderr, "readers disagree on %s/%s\n", qPrintable(v.section), qPrintable(v.key));
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
