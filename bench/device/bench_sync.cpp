// A deploy of a 20 MiB skin of 200 files to a folder device, through a wrapper
// that counts the remote calls and the bytes they move: the first deploy
// (everything), a second with nothing changed, and one after a single moved
// element. The second and the third should move almost nothing.
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FolderDevice.h"
#include "ScriptedPrompter.h"
#include "SkinDeploy.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr qint64 SkinBytes = 20 * 1024 * 1024;
constexpr int SkinFiles = 200;
const QString SkinName = QStringLiteral("BenchSkin");

// Passes every call on and counts it, with the bytes of file content moved.
class CountingApi : public RemoteApi
{
public:
    explicit CountingApi(RemoteApi& api) : m_api(api) {}
    std::map<std::string, int> calls;
    qint64 written = 0;
    qint64 read = 0;
    void reset() { calls.clear(), written = read = 0; }
    int total() const
    {
        int sum = 0;
        for (const auto& [name, count] : calls)
            sum += count;
        return sum;
    }

    qint32 CeRapiInitEx(CeRapiInit& i) override { return ++calls["CeRapiInitEx"], m_api.CeRapiInitEx(i); }
    qint32 CeRapiUninit() override { return ++calls["CeRapiUninit"], m_api.CeRapiUninit(); }
    bool CeGetVersionEx(CeOsVersionInfo& i) override { return ++calls["CeGetVersionEx"], m_api.CeGetVersionEx(i); }
    CeHandle CeCreateFile(const QString& p, quint32 a, quint32 s, quint32 c, quint32 at) override
    {
        return ++calls["CeCreateFile"], m_api.CeCreateFile(p, a, s, c, at);
    }
    bool CeReadFile(CeHandle f, char* b, quint32 n, quint32& r) override
    {
        ++calls["CeReadFile"];
        const bool ok = m_api.CeReadFile(f, b, n, r);
        read += r;
        return ok;
    }
    bool CeWriteFile(CeHandle f, const char* b, quint32 n, quint32& w) override
    {
        ++calls["CeWriteFile"];
        const bool ok = m_api.CeWriteFile(f, b, n, w);
        written += w;
        return ok;
    }
    bool CeCloseHandle(CeHandle h) override { return ++calls["CeCloseHandle"], m_api.CeCloseHandle(h); }
    bool CeSetFileTime(CeHandle h, quint64 t) override { return ++calls["CeSetFileTime"], m_api.CeSetFileTime(h, t); }
    quint32 CeGetLastError() override { return m_api.CeGetLastError(); }
    CeHandle CeFindFirstFile(const QString& p, CeFindData& d) override
    {
        return ++calls["CeFindFirstFile"], m_api.CeFindFirstFile(p, d);
    }
    bool CeFindNextFile(CeHandle s, CeFindData& d) override { return ++calls["CeFindNextFile"], m_api.CeFindNextFile(s, d); }
    bool CeFindClose(CeHandle s) override { return ++calls["CeFindClose"], m_api.CeFindClose(s); }
    bool CeDeleteFile(const QString& p) override { return ++calls["CeDeleteFile"], m_api.CeDeleteFile(p); }
    bool CeRemoveDirectory(const QString& p) override { return ++calls["CeRemoveDirectory"], m_api.CeRemoveDirectory(p); }
    bool CeCreateDirectory(const QString& p) override { return ++calls["CeCreateDirectory"], m_api.CeCreateDirectory(p); }
    bool CeCopyFile(const QString& a, const QString& b, bool f) override { return ++calls["CeCopyFile"], m_api.CeCopyFile(a, b, f); }
    bool CeMoveFile(const QString& a, const QString& b) override { return ++calls["CeMoveFile"], m_api.CeMoveFile(a, b); }
    bool CeCreateProcess(const QString& p, const QString& l) override { return ++calls["CeCreateProcess"], m_api.CeCreateProcess(p, l); }

private:
    RemoteApi& m_api;
};

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QDir().mkpath(QFileInfo(to + path.mid(from.size())).absolutePath());
        QFile::copy(path, to + path.mid(from.size()));
    }
}

// The marker, a layout file in the root with its Layout copy, and 197 files of
// varied sizes over the root and the part folders: 200 files, 20 MiB.
const QByteArray Menu = "[home]\r\nx= 10\r\ny= 20\r\ncx= 60\r\ncy= 40\r\n";
void makeSkin(const QString& folder)
{
    const QStringList parts = {QString(), QStringLiteral("Layout/"), QStringLiteral("Font/"), QStringLiteral("Font2/")};
    writeBytes(folder + u'/' + SkinName + QStringLiteral(".ini"), "[Skin]\r\n");
    writeBytes(folder + QStringLiteral("/mainmenult.ini"), Menu);
    writeBytes(folder + QStringLiteral("/Layout/mainmenult.ini"), Menu);
    const int dataFiles = SkinFiles - 3;
    const qint64 average = SkinBytes / dataFiles;
    qint64 total = 0;
    for (int i = 0; i < dataFiles; ++i) {
        qint64 size = average / 2 + average * (i % 11) / 10;
        if (i == dataFiles - 1)
            size = std::max<qint64>(1, SkinBytes - total);
        QByteArray bytes(size, Qt::Uninitialized);
        for (qint64 b = 0; b < size; ++b)
            bytes[b] = char((b * 31 + i) & 0xff);
        writeBytes(folder + u'/' + parts.at(i % 4) + QStringLiteral("file%1.bin").arg(i, 3, 10, QLatin1Char('0')), bytes);
        total += size;
    }
}

struct Setup
{
    QTemporaryDir base;
    QString pcSkin = base.filePath(QStringLiteral("pc/") + SkinName);
    QString app = base.filePath(QStringLiteral("app")) + u'/';
    std::map<std::string, std::vector<double>> times;
    std::map<std::string, std::string> counts;

    Setup()
    {
        makeSkin(pcSkin);
        writeBytes(app + QStringLiteral("Tivaro.ini"), "[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\n");
    }
    QString card(const QString& name) const
    {
        const QString card = base.filePath(name);
        if (!QFileInfo::exists(card))
            copyTree(QStringLiteral(TIVARO_SAMPLES_DIR "/demo-device"), card);
        return card;
    }
};

std::unique_ptr<Setup> theSetup;

// One deploy through the counting wrapper; the wall time is the iteration's time.
bool deploy(benchmark::State& bench, const QString& card, const char* name, bool record)
{
    Setup& s = *theSetup;
    FolderDevice folder(card);
    CountingApi api(folder);
    ScriptedPrompter prompter;
    DeviceLink link(api, prompter);
    DeviceConnection connection;
    SkinDeploy deploy({link, connection, prompter, s.app, s.app + QStringLiteral("Tivaro.ini"), {},
                       [](const QString&) {}, [] { return false; }, {}});
    const auto start = std::chrono::steady_clock::now();
    const bool done = deploy.run(s.pcSkin, {}) == SkinDeploy::Outcome::Done;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bench.SetIterationTime(seconds);
    if (!done || !prompter.shown.isEmpty())
        bench.SkipWithError("the deploy failed");
    if (record) {
        s.times[name].push_back(seconds);
        bench.counters["bytes_written"] = double(api.written);
        bench.counters["bytes_read"] = double(api.read);
        bench.counters["calls"] = api.total();
        bench.counters["folder_searches"] = api.calls["CeFindFirstFile"];
        std::string detail;
        for (const auto& [call, count] : api.calls)
            detail += " " + call + "=" + std::to_string(count);
        s.counts[name] = std::to_string(api.written) + " bytes written," + detail;
    }
    return done;
}

void BM_FullDeploy(benchmark::State& bench)
{
    int run = 0;
    for (auto _ : bench)
        deploy(bench, theSetup->card(QStringLiteral("full%1").arg(run++)), "full", true);
}

void BM_NothingChanged(benchmark::State& bench)
{
    const QString card = theSetup->card(QStringLiteral("same"));
    deploy(bench, card, "first", false);
    for (auto _ : bench)
        deploy(bench, card, "nothing changed", true);
}

// One element moved: the root layout file changes at equal size, the deploy
// copies it into Layout, and the two files travel.
void BM_OneElementMoved(benchmark::State& bench)
{
    const QString card = theSetup->card(QStringLiteral("one"));
    deploy(bench, card, "first", false);
    int x = 10;
    for (auto _ : bench) {
        bench.PauseTiming();
        QByteArray menu = Menu;
        menu.replace("x= 10", "x= " + QByteArray::number(x = x == 99 ? 10 : x + 1));
        writeBytes(theSetup->pcSkin + QStringLiteral("/mainmenult.ini"), menu);
        bench.ResumeTiming();
        deploy(bench, card, "one element moved", true);
    }
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

BENCHMARK(BM_FullDeploy)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NothingChanged)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneElementMoved)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    theSetup = std::make_unique<Setup>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double full = median(theSetup->times["full"]);
    for (const char* name : {"full", "nothing changed", "one element moved"}) {
        const double t = median(theSetup->times[name]);
        std::printf("%-18s median %8.2f ms = %5.1f %% of a full deploy (goal: nothing changed <= 5 %%, one element <= 10 %%)\n  %s\n",
                    name, t * 1000, full > 0 ? 100 * t / full : 0, theSetup->counts[name].c_str());
    }
    theSetup.reset();
    benchmark::Shutdown();
    return 0;
}
