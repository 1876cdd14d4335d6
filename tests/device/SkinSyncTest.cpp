#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "ScriptedPrompter.h"
#include "SkinSync.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

using K = SyncStep::Kind;

// The files below folder by their paths in lower case, with their bytes; the
// staging folder of a stopped sync is left out.
QMap<QString, QByteArray> filesOf(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(folder).relativeFilePath(it.next());
        if (!path.startsWith("~sync"))
            files.insert(path.toLower(), readFile(it.filePath()));
    }
    return files;
}

void setTime(const QString& path, qint64 seconds)
{
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000 + seconds), QFileDevice::FileModificationTime);
}

struct Sync { SyncPlan plan; SkinSync::Result result; };

// A dry run is the plan alone; a real run carries out that same plan.
Sync syncOnce(RemoteApi& device, const QString& pcSkin, bool dryRun = false)
{
    ScriptedPrompter prompter;
    DeviceLink link(device, prompter);
    link.ConnectDevice();
    SkinSync sync(link);
    QStringList refused;
    const QList<SkinFile> pc = SkinSync::scanPc(pcSkin, refused);
    Sync done{planSync(pc, sync.scanStored("\\MN4\\Skins\\MySkin")), {}};
    if (!dryRun)
        done.result = sync.run(pcSkin, "\\MN4\\Skins\\MySkin", done.plan);
    EXPECT_TRUE(prompter.shown.isEmpty());
    return done;
}

TEST(SyncPlan, SizeAndTimeDecideLetterCaseIsIgnoredHostileNamesAreRefused)
{
    const struct { const char* name; QList<SkinFile> pc, stored; QList<SyncStep> steps; int unchanged; QStringList clashes; }
        rows[] = {
        {"same size and time", {{"a.ini", 5, 10}}, {{"a.ini", 5, 10}}, {}, 1, {}},
        {"same size, other time", {{"a.ini", 5, 11}}, {{"a.ini", 5, 10}}, {{K::Replace, "a.ini", "a.ini", 5, 11}}, 0, {}},
        {"same time, other size", {{"a.ini", 6, 10}}, {{"a.ini", 5, 10}}, {{K::Replace, "a.ini", "a.ini", 6, 10}}, 0, {}},
        {"new on the PC", {{"Font\\b.fnt", 7, 1}}, {}, {{K::Write, "Font\\b.fnt", "Font\\b.fnt", 7, 1}}, 0, {}},
        {"gone from the PC", {}, {{"Font2\\c.ttf", 3, 1}}, {{K::Remove, "Font2\\c.ttf", "", 3, 1}}, 0, {}},
        {"odd case, unchanged", {{"LAYOUT\\Menu.INI", 5, 10}}, {{"Layout\\menu.ini", 5, 10}}, {}, 1, {}},
        {"odd case, changed: the device's spelling stays",
         {{"LAYOUT\\Menu.INI", 9, 10}}, {{"Layout\\menu.ini", 5, 10}},
         {{K::Replace, "Layout\\menu.ini", "LAYOUT\\Menu.INI", 9, 10}}, 0, {}},
        {"two PC names for one device file", {{"a.ini", 1, 1}, {"A.INI", 1, 1}}, {},
         {{K::Write, "a.ini", "a.ini", 1, 1}}, 0, {"a.ini", "A.INI"}},
    };
    const auto lines = [](const QList<SyncStep>& steps) {
        QStringList all;
        for (const SyncStep& s : steps)
            all << s.line() + " from " + s.pcPath + QString(" at %1").arg(s.time);
        return all;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const SyncPlan plan = planSync(row.pc, row.stored);
        EXPECT_EQ(lines(plan.steps), lines(row.steps));
        EXPECT_EQ(plan.unchanged, row.unchanged);
        EXPECT_EQ(plan.clashes, row.clashes);
    }
    EXPECT_EQ(syncSummary(3, 197, 0, 12 * 1024 - 5), "3 Dateien übertragen, 197 unverändert, 12 KB");
    EXPECT_EQ(syncSummary(1, 0, 2, 1), "1 Datei übertragen, 0 unverändert, 2 entfernt, 1 KB");

    // Names the device cannot hold never get into a plan.
    QTemporaryDir pc;
    for (const char* name : {"ok.ini", "a\\b.ini", "c:d.ini", "e*.ini", "tab\t.ini", "Layout/f?.ini", "Layout/g.ini"})
        writeFile(pc.filePath(name), "x");
    QStringList refused;
    QStringList found;
    for (const SkinFile& file : SkinSync::scanPc(pc.path(), refused))
        found << file.path;
    EXPECT_EQ(found, (QStringList{"ok.ini", "Layout\\g.ini"}));
    EXPECT_EQ(refused, (QStringList{"a\\b.ini", "c:d.ini", "e*.ini", "tab\t.ini", "Layout\\f?.ini"}));
}

// A stored skin one sync behind its PC skin: menu.ini changed, Font\new.fnt
// added, old.ini removed on the PC, whose part folder is spelt "layout".
class SkinSyncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(card + "/MN4/Layout/defaultlt.ini", "live default");
        writeFile(pcSkin + "/MySkin.ini", "marker");
        writeFile(pcSkin + "/layout/menu.ini", patternBytes(3000));
        writeFile(pcSkin + "/old.ini", "old");
        writeFile(pcSkin + "/Font/keep.fnt", "keep");
        QDir().mkpath(card + "/MN4/Skins/MySkin");
        FolderDevice device(card);
        EXPECT_TRUE(syncOnce(device, pcSkin).result.complete);
        stored = filesOf(skin);
        copyTree(skin, base.filePath("snapshot"));
        QFile::remove(pcSkin + "/old.ini");
        writeFile(pcSkin + "/layout/menu.ini", patternBytes(2500) + "changed");
        writeFile(pcSkin + "/Font/new.fnt", patternBytes(5000));
        live = treeOf(card + "/MN4/Layout");
    }

    QTemporaryDir base;
    QString card = base.filePath("card");
    QString skin = card + "/MN4/Skins/MySkin";
    QString pcSkin = base.filePath("pc/MySkin");
    QMap<QString, QByteArray> stored;
    QStringList live;
};

// Wherever the device goes away or refuses, every stored file is whole; before the moves
// the stored skin is as it was, and the next sync finishes the work.
TEST_F(SkinSyncTest, DeviceVanishingAtAnyStepLeavesEveryFileWhole)
{
    const struct { const char* name; const char* call; int number; bool before; } rows[] = {
        {"before the first file", "CeCreateFile", 1, true},
        {"mid-file", "CeWriteFile", 2, true},
        {"between the files", "CeCreateFile", 2, true},
        {"at the first move", "CeCopyFile", 1, false},
        {"between the moves", "CeMoveFile", 1, false},
        {"at the removal", "CeDeleteFile", 1, false},
        {"not gone, but a write of the second file refused (a full card)", "", 3, true},
    };
    const QMap<QString, QByteArray> wanted = filesOf(pcSkin);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FaultyDevice device(card);
        device.failWriteAt = *row.call ? -1 : row.number;
        device.onCall = [&](const FaultyDevice::Call& call) {
            if (call.name == row.call && device.count(row.call) == row.number)
                device.vanishAfter = int(device.calls.size()) - 1;
        };
        const Sync broken = syncOnce(device, pcSkin);
        EXPECT_FALSE(broken.result.complete);
        EXPECT_FALSE(broken.result.failure.isEmpty());
        const QMap<QString, QByteArray> now = filesOf(skin);
        EXPECT_TRUE(!row.before || now == stored) << "the stored skin changed before the moves";
        for (auto it = now.begin(); it != now.end(); ++it)
            EXPECT_TRUE(it.value() == stored.value(it.key()) || it.value() == wanted.value(it.key())) << it.key().toStdString();
        EXPECT_EQ(treeOf(card + "/MN4/Layout"), live);

        FolderDevice again(card);
        EXPECT_TRUE(syncOnce(again, pcSkin).result.complete);
        EXPECT_TRUE(syncOnce(again, pcSkin, true).plan.steps.isEmpty()) << "a replaced file keeps the PC's time";
        EXPECT_EQ(filesOf(skin), wanted);
        EXPECT_FALSE(QDir(skin).entryList(QDir::Dirs).join(' ').contains("~sync"));
        QDir(skin).removeRecursively(); // back to one sync behind for the next row
        copyTree(base.filePath("snapshot"), skin);
    }
}

// Random pairs of a PC skin and its stored copy: after a sync the copy holds
// the PC skin's bytes, and the dry run named exactly the files that differed.
TEST(SkinSyncProperty, StoredCopyEqualsThePcSkinAndThePlanNamedEveryDifference)
{
    const QStringList names = {"a.ini", "B.ini", "Layout/menu.ini", "Layout/Map.ini", "Font/x.fnt", "Font2/y.ttf"};
    std::mt19937 random(19);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        QTemporaryDir base;
        const QString pcSkin = base.filePath("pc/MySkin");
        const QString skin = base.filePath("card/MN4/Skins/MySkin");
        QDir().mkpath(skin);
        QDir().mkpath(pcSkin);
        for (const QString& name : names) {
            const QByteArray content = patternBytes(qsizetype(random() % 5000) + 1).append(char(random()));
            const qint64 time = qint64(random() % 100);
            // Stored under the device's own spelling, which may differ in case.
            const qsizetype cut = name.lastIndexOf('/') + 1;
            const QString storedName = random() % 3 == 0 ? name.left(cut) + name.mid(cut).toUpper() : name;
            const int change = int(random() % 6);
            if (change != 0) { // 0: added on the PC
                writeFile(skin + '/' + storedName, content);
                setTime(skin + '/' + storedName, time);
            }
            QByteArray now = content;
            switch (change) {
            case 1: continue; // removed on the PC
            case 2: now += "grown"; break;
            case 3: now.chop(1); break;
            case 4: now[0] = char(now[0] + 1); break; // changed at equal size
            default: break;
            }
            writeFile(pcSkin + '/' + name, now);
            setTime(pcSkin + '/' + name, change == 5 ? time : 200 + time);
        }
        const QMap<QString, QByteArray> before = filesOf(skin);
        const QMap<QString, QByteArray> pc = filesOf(pcSkin);
        QSet<QString> differing;
        for (const QString& key : before.keys() + pc.keys()) {
            if (before.value(key, "<none>") != pc.value(key, "<none>"))
                differing.insert(key);
        }
        FolderDevice device(base.filePath("card"));
        const Sync dry = syncOnce(device, pcSkin, true);
        QSet<QString> listed;
        for (const SyncStep& step : dry.plan.steps)
            listed.insert(QString(step.path).replace('\\', '/').toLower());
        EXPECT_EQ(listed, differing);
        EXPECT_TRUE(syncOnce(device, pcSkin).result.complete);
        EXPECT_EQ(filesOf(skin), pc);
    }
}

} // namespace
