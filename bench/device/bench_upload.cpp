// Uploading a 20 MB skin of 200 files to a device folder through the skin
// manager, against `cp -r` of the same tree as the reference throughput.
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FolderDevice.h"
#include "ScriptedPrompter.h"
#include "SkinManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Marks the benchmark as failed once; the library takes only the first reason.
void fail(benchmark::State& bench, const std::string& why)
{
    if (!bench.error_occurred())
        bench.SkipWithError(why.c_str());
}

constexpr qint64 SkinBytes = 20 * 1024 * 1024;
constexpr int SkinFiles = 200;
const QString SkinName = QStringLiteral("BenchSkin");

void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(path, target);
    }
}

// The PC skin: the marker file and 199 files of varied sizes spread over the
// root and the three part folders, 20 MB in all.
qint64 makeSkin(const QString& folder)
{
    const QStringList parts = {QString(), QStringLiteral("Layout/"), QStringLiteral("Font/"), QStringLiteral("Font2/")};
    for (const QString& part : parts)
        QDir().mkpath(folder + u'/' + part);
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    };
    const QByteArray marker = "[Skin]\r\nname= " + SkinName.toUtf8() + "\r\n";
    write(folder + u'/' + SkinName + QStringLiteral(".ini"), marker);
    qint64 total = marker.size();
    const int dataFiles = SkinFiles - 1;
    const qint64 average = (SkinBytes - total) / dataFiles;
    for (int i = 0; i < dataFiles; ++i) {
        // Half to one and a half times the average, the last file takes the rest.
        qint64 size = average / 2 + average * (i % 11) / 10;
        if (i == dataFiles - 1)
            size = SkinBytes - total;
        QByteArray bytes(size, Qt::Uninitialized);
        for (qint64 b = 0; b < size; ++b)
            bytes[b] = char((b * 31 + i) & 0xff);
        write(folder + u'/' + parts.at(i % 4) + QStringLiteral("file%1.bin").arg(i, 3, 10, QLatin1Char('0')), bytes);
        total += size;
    }
    return total;
}

struct Setup
{
    QTemporaryDir base;
    QString pcSkin = base.filePath(QStringLiteral("pc/") + SkinName);
    QString card = base.filePath(QStringLiteral("card"));
    QString app = base.filePath(QStringLiteral("app")) + u'/';
    QString settings = app + QStringLiteral("Tivaro.ini");
    QString uploaded = card + QStringLiteral("/MN4/Skins/") + SkinName;
    qint64 bytes = 0;

    Setup()
    {
        bytes = makeSkin(pcSkin);
        copyTree(QStringLiteral(TIVARO_SAMPLES_DIR "/demo-device"), card);
        QDir().mkpath(app);
        QFile f(settings);
        if (f.open(QIODevice::WriteOnly))
            f.write("[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nSkinDir= " + pcSkin.toUtf8() + "\r\n");
    }
};

std::unique_ptr<Setup> theSetup;

void BM_SkinManagerUpload(benchmark::State& bench)
{
    Setup& s = *theSetup;
    FolderDevice folder(s.card);
    ScriptedPrompter prompter; // answers No, records every message
    DeviceLink link(folder, prompter, [] {});
    DeviceConnection connection;
    SkinManager manager({link, connection, prompter, s.app, s.settings, {}, [] {}, [] {}});
    manager.load();
    manager.BTNToPDA_Click();
    manager.Timer1_Timer();
    if (!link.IsDeviceConnected()) {
        fail(bench, "the device folder did not connect");
        return;
    }
    for (auto _ : bench) {
        bench.PauseTiming();
        QDir(s.uploaded).removeRecursively();
        bench.ResumeTiming();
        manager.BTNSkinAdd_Click();
    }
    if (!prompter.shown.isEmpty())
        fail(bench, ("a message was shown: " + prompter.shown.last().text.toStdString()));
    // The last upload must be the whole skin, byte for byte in size.
    qint64 arrived = 0;
    QDirIterator it(s.uploaded, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        arrived += it.fileInfo().size();
    }
    if (arrived != s.bytes)
        fail(bench, "the upload is incomplete");
    bench.SetBytesProcessed(bench.iterations() * s.bytes);
    bench.SetItemsProcessed(bench.iterations() * SkinFiles);
}

void BM_CpRecursive(benchmark::State& bench)
{
    Setup& s = *theSetup;
    const QString target = s.base.filePath(QStringLiteral("cp-copy"));
    for (auto _ : bench) {
        bench.PauseTiming();
        QDir(target).removeRecursively();
        bench.ResumeTiming();
        QProcess cp;
        cp.start(QStringLiteral("cp"), {QStringLiteral("-r"), s.pcSkin, target});
        if (!cp.waitForFinished(-1) || cp.exitCode() != 0) {
            fail(bench, "cp -r failed");
            break;
        }
    }
    bench.SetBytesProcessed(bench.iterations() * s.bytes);
    bench.SetItemsProcessed(bench.iterations() * SkinFiles);
}

// Console output as usual, and the throughput of every repetition kept for the ratio.
class RateReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            // Single repetitions, or only the median when aggregates alone are reported.
            const bool wanted = run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
            if (wanted && !run.error_occurred && rate != run.counters.end())
                rates[run.run_name.function_name].push_back(rate->second.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double median(const std::string& name) const
    {
        const auto found = rates.find(name);
        if (found == rates.end() || found->second.empty())
            return 0;
        std::vector<double> values = found->second;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, std::vector<double>> rates;
};

} // namespace

// Wall time decides: cp's work happens in a child process.
BENCHMARK(BM_SkinManagerUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(2.0);
BENCHMARK(BM_CpRecursive)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(2.0);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    theSetup = std::make_unique<Setup>();
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double upload = reporter.median("BM_SkinManagerUpload") / (1024 * 1024);
    const double cp = reporter.median("BM_CpRecursive") / (1024 * 1024);
    if (upload > 0 && cp > 0)
        std::printf("\nMedian throughput (wall): upload %.1f MiB/s, cp -r %.1f MiB/s, ratio %.2f (goal 0.80)\n",
                    upload, cp, upload / cp);
    theSetup.reset();
    benchmark::Shutdown();
    return 0;
}
