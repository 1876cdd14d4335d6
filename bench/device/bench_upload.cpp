// Uploading a 20 MB skin of 200 files to a folder device through the skin
// manager, in turns with `cp -r` of the same tree; every run writes a fresh
// target, and the targets are removed only after the last pair.
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FolderDevice.h"
#include "ScriptedPrompter.h"
#include "SkinManager.h"
#include "Turns.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// Marks the benchmark as failed once; the library takes only the first reason.
void fail(benchmark::State& bench, const std::string& why)
{
    if (!bench.error_occurred())
        bench.SkipWithError(why.c_str());
}

constexpr qint64 SkinBytes = 20 * 1024 * 1024;
constexpr int SkinFiles = 200;
constexpr int Pairs = 15;
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

qint64 treeBytes(const QString& folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
    }
    return bytes;
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
    QString app = base.filePath(QStringLiteral("app")) + u'/';
    QString settings = app + QStringLiteral("Tivaro.ini");
    qint64 bytes = 0;
    Turns::Log log{"upload of 20 MiB in 200 files against cp -r", "MiB/s", ">= 0.80", {}, {}, {}};
    Turns::Log cpu{"CPU of the upload", "ms", "", {}, {}, {}};

    Setup()
    {
        bytes = makeSkin(pcSkin);
        QDir().mkpath(app);
        QFile f(settings);
        if (f.open(QIODevice::WriteOnly))
            f.write("[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nSkinDir= " + pcSkin.toUtf8() + "\r\n");
    }

    // A fresh device card for every run, with the demo device's MN4 folder.
    QString freshCard(int run) const
    {
        const QString card = base.filePath(QStringLiteral("card%1").arg(run));
        copyTree(QStringLiteral(TIVARO_SAMPLES_DIR "/demo-device"), card);
        return card;
    }
};

std::unique_ptr<Setup> theSetup;

void BM_UploadInTurns(benchmark::State& bench)
{
    Setup& s = *theSetup;
    int run = 0;
    for (auto _ : bench) {
        const QString card = s.freshCard(run);
        FolderDevice folder(card);
        ScriptedPrompter prompter; // answers No, records every message
        DeviceLink link(folder, prompter, [] {});
        DeviceConnection connection;
        SkinManager manager({link, connection, prompter, s.app, s.settings, {}, [] {}, [] {}});
        manager.load();
        manager.toggleConnection();
        manager.tick();
        if (!link.IsDeviceConnected()) {
            fail(bench, "the device folder did not connect");
            break;
        }

        const double cpuStart = Turns::cpuNow();
        const double start = Turns::now();
        manager.uploadSkin();
        const double ours = Turns::now() - start;
        const double ourCpu = Turns::cpuNow() - cpuStart;

        // The same depth below a fresh folder as the upload's target, so that
        // the file system places both alike.
        const QString store = s.base.filePath(QStringLiteral("cp%1/MN4/Skins").arg(run));
        QDir().mkpath(store);
        const std::string target = (store + u'/' + SkinName).toStdString();
        const double cpStart = Turns::now();
        double cpCpu = 0;
        if (!Turns::run({"cp", "-r", s.pcSkin.toStdString(), target}, &cpCpu))
            fail(bench, "cp -r failed");
        const double cp = Turns::now() - cpStart;

        bench.SetIterationTime(ours);
        if (!prompter.shown.isEmpty())
            fail(bench, "a message was shown: " + prompter.shown.last().text.toStdString());
        if (treeBytes(card + QStringLiteral("/MN4/Skins/") + SkinName) != s.bytes)
            fail(bench, "the upload is incomplete");
        const double mib = double(s.bytes) / (1024 * 1024);
        s.log.add(mib / ours, mib / cp);
        s.cpu.add(ourCpu * 1000, cpCpu * 1000);
        ++run;
    }
    bench.SetBytesProcessed(bench.iterations() * s.bytes);
    bench.counters["ratio"] = s.log.medianRatio();
}

} // namespace

BENCHMARK(BM_UploadInTurns)->Iterations(Pairs)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    theSetup = std::make_unique<Setup>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    theSetup->log.print();
    const Turns::Log& cpu = theSetup->cpu;
    std::printf("  CPU time: median %.1f ms for our upload, %.1f ms for cp -r\n", Turns::median(cpu.ours),
                Turns::median(cpu.reference));
    theSetup.reset();
    benchmark::Shutdown();
    return 0;
}
