#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "FileSizeLimit.h"
#include "ScriptedPrompter.h"
#include "SkinManager.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Prefs = "[Display]\r\nlastSkin= Tag\r\nbrightness= 80\r\n\r\n[speedprofile]\r\nfast= Fast|1|2\r\n";

// A device with the skins Tag (active) and Nacht, and the PC skin MySkin.
class SkinManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(card("MN4/prefs.ini"), Prefs);
        writeFile(card("MN4/NavLib.ini"), "live navlib");
        writeFile(card("MN4/Layout/defaultlt.ini"), "live default");
        for (const QString skin : {"Tag", "Nacht"}) {
            writeFile(card("MN4/Skins/" + skin + '/' + skin + ".ini"), "marker");
            writeFile(card("MN4/Skins/" + skin + "/NavLib.ini"), skin.toLatin1() + " navlib");
            writeFile(card("MN4/Skins/" + skin + "/defaultlt.ini"), skin.toLatin1() + " default");
        }
        QDir().mkpath(card("Windows/Schriftarten"));
        writeFile(settings, "[Directory]\r\nMN4Dir= \\MN4\\MN4.exe\r\nSkinDir= " + pcSkin.toUtf8() + "\r\n");
        writeFile(pcSkin + "/MySkin.ini", "marker");
        writeFile(pcSkin + "/NavLib.ini", patternBytes(3000));
        writeFile(pcSkin + "/Layout/defaultlt.ini", patternBytes(2049));
        manager.load();
    }

    QString card(const QString& relative) const { return root + u'/' + relative; }
    void connect()
    {
        manager.toggleConnection();
        manager.tick();
        ASSERT_EQ(manager.look().buttonCaption, "trennen");
    }

    QTemporaryDir base;
    QString root = base.filePath("card");
    QString app = base.filePath("app") + u'/';
    QString settings = app + "Tivaro.ini";
    QString pcSkin = base.filePath("pc/MySkin");
    FaultyDevice device{root};
    ScriptedPrompter prompter;
    DeviceLink link{device, prompter};
    DeviceConnection connection;
    SkinManager::UploadMode uploadMode = SkinManager::UploadMode::Changes;
    SkinManager manager{{link, connection, prompter, app, settings, [this] { return uploadMode; }, {}, {}}};
};

TEST_F(SkinManagerTest, UploadCopiesTheListedFilesIntoAFreshDeviceFolder)
{
    connect();
    writeFile(card("MN4/Skins/MySkin/stale.ini"), "old copy");
    manager.uploadSkin();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join(u'|').toStdString();
    EXPECT_EQ(treeOf(card("MN4/Skins/MySkin")),
              (QStringList{"Layout/", "Layout/defaultlt.ini=" + QString::fromLatin1(patternBytes(2049)),
                           "MySkin.ini=marker", "NavLib.ini=" + QString::fromLatin1(patternBytes(3000))}));
    EXPECT_TRUE(manager.refreshPending);
    manager.tick();
    EXPECT_EQ(manager.deviceSkins(), (QStringList{"MySkin", "Nacht", "Tag"}));
}

TEST_F(SkinManagerTest, UploadOffersCopiesIntoLayoutOfRootFilesActivationLeavesBehind)
{
    using A = Prompter::Answer;
    const struct { std::vector<A> answers; bool uploaded; QByteArray menu, tmc; } rows[] = {
        {{A::Cancel}, false, "<missing>", "old tmc"}, {{A::No}, true, "<missing>", "old tmc"},
        {{A::Yes, A::No}, true, "root menu", "old tmc"}, {{A::Yes, A::Yes}, true, "root menu", "root tmc"},
    };
    connect();
    for (const auto& row : rows) {
        writeFile(pcSkin + "/mainmenult.ini", "root menu");
        writeFile(pcSkin + "/tmcpanelt.ini", "root tmc");
        writeFile(pcSkin + "/Layout/tmcpanelt.ini", "old tmc");
        QFile::remove(pcSkin + "/Layout/mainmenult.ini");
        link.DeleteDeviceFolder("\\MN4\\Skins\\MySkin");
        manager.load();
        prompter.shown.clear();
        for (const A answer : row.answers)
            prompter.answer(answer);
        manager.uploadSkin();
        EXPECT_TRUE(prompter.texts().value(0).contains(":\nmainmenult.ini\ntmcpanelt.ini (die Kopie in Layout weicht ab)\n"))
            << prompter.texts().join(u'|').toStdString();
        EXPECT_EQ(readFile(pcSkin + "/Layout/mainmenult.ini"), row.menu);
        EXPECT_EQ(readFile(pcSkin + "/Layout/tmcpanelt.ini"), row.tmc);
        EXPECT_EQ(readFile(card("MN4/Skins/MySkin/Layout/tmcpanelt.ini")), row.uploaded ? row.tmc : "<missing>");
        EXPECT_EQ(readFile(card("MN4/Skins/MySkin/Layout/mainmenult.ini")), row.uploaded ? row.menu : "<missing>");
    }
}

// "Alles neu" over a stored skin either replaces it whole or leaves it as it
// was: a write refused midway, or a refused move of the old or the new copy.
TEST_F(SkinManagerTest, FailedUploadOverAStoredSkinKeepsItWhole)
{
    const QString broke = "Device File Could Not Be Written Completely!\nLayout\\defaultlt.ini: 2 von 3 Dateien "
                          "waren übertragen. Der Skin auf dem PDA bleibt, wie er war.";
    const QString notPlaced = "Der Skin konnte auf dem PDA nicht abgelegt werden.\nAktion abgebrochen.";
    const struct { std::function<void()> fault; QString message; } rows[] = {
        {[this] { device.failWriteAt = device.count("CeWriteFile") + 3; }, broke},
        {[this] { device.failMoveAt = device.count("CeMoveFile"); }, notPlaced},
        {[this] { device.failMoveAt = device.count("CeMoveFile") + 1; }, notPlaced},
    };
    writeFile(card("MN4/Skins/MySkin/MySkin.ini"), "stored marker");
    writeFile(card("MN4/Skins/MySkin/Layout/defaultlt.ini"), "stored default");
    const QStringList stored = treeOf(card("MN4/Skins/MySkin"));
    uploadMode = SkinManager::UploadMode::Everything;
    connect();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message.toStdString());
        prompter.shown.clear();
        row.fault();
        manager.uploadSkin();
        device.failWriteAt = device.failMoveAt = -1;
        EXPECT_EQ(prompter.texts(), QStringList{row.message});
        EXPECT_EQ(treeOf(card("MN4/Skins/MySkin")), stored);
        EXPECT_FALSE(QFileInfo::exists(card("MN4/Skins/~MySkin")));
    }
}

// A TMC skin brings its own default layout file, whatever family the editor shows.
TEST_F(SkinManagerTest, SwitchCopiesTheSkinOverTheLiveFilesAndChangesOnlyLastSkin)
{
    for (const char* file : {"mapviewlt.ini", "navlib.ini.bak", "Layout/mainmenult.ini", "Layout/Layout/deep.ini",
                             "Font/a.fnt", "Font2/b.ttf", "Other/c.ini", "defaultltTMC.ini"})
        writeFile(card("MN4/Skins/Nacht/") + file, file);
    connect();
    manager.switchSkin({"Nacht"});
    const struct { const char* path; QByteArray bytes; } expected[] = {
        {"MN4/NavLib.ini", "Nacht navlib"}, {"MN4/Layout/defaultltTMC.ini", "defaultltTMC.ini"},
        {"MN4/Layout/defaultlt.ini", "live default"},
        {"MN4/Layout/mapviewlt.ini", "mapviewlt.ini"}, {"MN4/Layout/mainmenult.ini", "Layout/mainmenult.ini"},
        {"MN4/a.fnt", "Font/a.fnt"}, {"Windows/Schriftarten/b.ttf", "Font2/b.ttf"},
        {"MN4/prefs.ini", QByteArray(Prefs).replace("lastSkin= Tag", "lastSkin= Nacht")},
        {"MN4/navlib.ini.bak", "<missing>"}, {"MN4/c.ini", "<missing>"}, {"MN4/deep.ini", "<missing>"},
    };
    for (const auto& file : expected)
        EXPECT_EQ(readFile(card(file.path)), file.bytes) << file.path;
    EXPECT_EQ(manager.activeSkin(), "Nacht");
    EXPECT_EQ(manager.doing(), "Nacht: 6 Dateien übertragen");
    EXPECT_TRUE(prompter.shown.isEmpty());
}

// Whatever stops a switch, prefs.ini keeps naming the old skin, the failure is
// shown, and no temporary file is left on either side.
TEST_F(SkinManagerTest, FailedSwitchKeepsTheActiveSkin)
{
    const QString failed = "Der Skin Nacht konnte nicht aktiviert werden.";
    const QByteArray bigDefault(400, 'n');
    const struct { const char* name; std::function<void()> fault; qint64 limit; QStringList messages; QByteArray live; }
        rows[] = {
        {"upload of prefs.ini breaks off", [this] { device.failWriteAt = 0; }, 0,
         {"Device File Could Not Be Written Completely!", failed}, "Nacht default"},
        {"prefs.ini missing", [this] { QFile::remove(card("MN4/prefs.ini")); }, 0,
         {"Device File Does Not Exist Or Is Empty (0 Bytes)!", failed}, "Nacht default"},
        // A full disk (no file may grow past the limit) for a live file, then for the edited prefs.ini.
        {"live file", [&] { writeFile(card("MN4/Skins/Nacht/defaultlt.ini"), bigDefault); }, bigDefault.size() - 1,
         {failed}, "live default"},
        {"prefs.ini", [] {}, Prefs.size() + 1, {failed}, "Nacht default"},
    };
    connect();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(card("MN4/Layout/defaultlt.ini"), "live default");
        writeFile(card("MN4/Skins/Nacht/defaultlt.ini"), "Nacht default");
        prompter.shown.clear();
        row.fault();
        const QByteArray prefs = readFile(card("MN4/prefs.ini"));
        const auto switchFails = [&] {
            manager.switchSkin({"Nacht"});
            return manager.activeSkin() == "Tag" && prompter.texts() == row.messages ? 0 : 1;
        };
        EXPECT_EQ(row.limit ? runWithFileSizeLimit(row.limit, switchFails) : switchFails(), 0)
            << prompter.texts().join(u'|').toStdString();
        device.failWriteAt = -1;
        EXPECT_EQ(readFile(card("MN4/prefs.ini")), prefs);
        EXPECT_EQ(readFile(card("MN4/Layout/defaultlt.ini")), row.live);
        EXPECT_FALSE(treeOf(card("MN4")).join(u'|').contains(".new"));
        EXPECT_EQ(QDir(app).entryList(QDir::Files | QDir::Hidden), QStringList{"Tivaro.ini"});
        writeFile(card("MN4/prefs.ini"), Prefs);
    }
}

// Refused actions leave the device as it was. A skin name that is empty, "."
// or ".." or holds a separator would name the skin store itself or a folder
// outside it: a PC folder "x\." holding "..ini" is such a skin.
TEST_F(SkinManagerTest, RefusalsLeaveTheDeviceAsItWas)
{
    const auto unusable = [](const QString& name) {
        return "Der Skinname \"" + name
               + "\" ist nicht zulässig.\nEin Skinname darf weder leer, \".\" noch \"..\" sein und kein \"\\\" "
                 "oder \"/\" enthalten.\nAktion abgebrochen.";
    };
    const QString dotSkin = base.filePath("pc/x\\.");
    writeFile(dotSkin + "/..ini", "marker");
    const QStringList names = {"", ".", "..", "Tag\\..", "../Tag"};
    QStringList twice;
    for (const QString& name : names)
        twice << unusable(name) << unusable(name);
    const struct { const char* name; std::function<void()> act; QStringList messages; } rows[] = {
        {"upload without marker file", [&] { QFile::remove(pcSkin + "/MySkin.ini"); manager.uploadSkin(); },
         {"Es wird eine Datei MySkin.ini im Verzeichnis\n" + QDir::toNativeSeparators(pcSkin)
          + " erwartet.\nDer Skin ist nicht Zentaro kompatibel. Aktion abgebrochen."}},
        {"upload without connection",
         [&] {
             manager.toggleConnection();
             manager.tick();
             manager.uploadSkin();
         },
         {"Bitte erst mit dem PDA verbinden!"}},
        {"upload of skin \".\"",
         [&] {
             manager.SetDirs(dotSkin);
             manager.FillList(SkinManager::Root);
             manager.uploadSkin();
         },
         {unusable(".")}},
        {"delete the active skin", [&] { manager.deleteSkins({"Tag"}); },
         {"Dieser Skin ist aktiv und darf nicht gelöscht werden!\nBitte erst einen anderen Skin aktivieren."}},
        {"delete declined", [&] { manager.deleteSkins({"Nacht"}); }, {"Skin Nacht wirklich löschen?"}},
        {"switch and delete", [&] {
             for (const QString& name : names) {
                 manager.switchSkin({name});
                 manager.deleteSkins({name});
             }
         }, twice},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(pcSkin + "/MySkin.ini", "marker");
        manager.load();
        if (!link.IsDeviceConnected())
            connect();
        const QStringList before = treeOf(root);
        prompter.shown.clear();
        row.act();
        EXPECT_EQ(prompter.texts(), row.messages);
        EXPECT_FALSE(manager.reconnectRequested);
        EXPECT_EQ(treeOf(root), before);
    }
}

TEST_F(SkinManagerTest, PcFilesAreAddedReplacedAndDeleted)
{
    const QString chosen = base.filePath("chosen");
    writeFile(chosen + "/DEFAULTLT.INI", "new default");
    writeFile(chosen + "/extra.ini", "extra");
    manager.addFiles(SkinManager::Layout, {chosen + "/DEFAULTLT.INI", chosen + "/extra.ini"});
    EXPECT_EQ(manager.files(SkinManager::Layout), (QStringList{"defaultlt.ini", "extra.ini"}));
    EXPECT_EQ(readFile(pcSkin + "/Layout/defaultlt.ini"), "new default");
    // A file chosen from the part itself stays whole.
    manager.addFiles(SkinManager::Layout, {pcSkin + "/Layout/extra.ini"});
    EXPECT_EQ(readFile(pcSkin + "/Layout/extra.ini"), "extra");
    // Deleting asks first: No keeps the files; only plain names of the part's own folder are deleted.
    manager.deleteFiles(SkinManager::Layout, {"extra.ini"});
    prompter.answer(Prompter::Answer::Yes);
    manager.deleteFiles(SkinManager::Layout, {"extra.ini", "../MySkin.ini"});
    EXPECT_EQ(prompter.texts(), QStringList(2, "Datei extra.ini wirklich löschen?"));
    EXPECT_EQ(manager.files(SkinManager::Layout), QStringList{"defaultlt.ini"});
    EXPECT_TRUE(QFileInfo::exists(pcSkin + "/MySkin.ini"));
}

// The window shows the bar during an upload; here the edges of the arithmetic.
TEST(SkinManagerProgress, CaptionAndPercent)
{
    const struct { int done, total, percent; QString digits; } rows[] = {{2, 3, 66, "66"}, {0, 0, 100, "100"},
                                                                          {7, 3, 100, "100"}};
    for (const auto& row : rows) {
        const SkinManager::Progress p = SkinManager::progressOf(row.done, row.total);
        EXPECT_EQ(p.percent, row.percent) << row.done << "/" << row.total;
        EXPECT_EQ(p.caption, row.digits + u'%' + QString(16 - row.digits.size(), QChar(0x00A0)));
    }
}

} // namespace
