#include "DeviceConnection.h"
#include "TestFiles.h"
#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "FileSizeLimit.h"
#include "FolderDevice.h"
#include "ScriptedPrompter.h"
#include "SkinManager.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Prefs = "[Display]\r\nlastSkin= Tag\r\nbrightness= 80\r\n\r\n[speedprofile]\r\nfast= Fast|1|2\r\n";

class SkinManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(card("MN4/prefs.ini"), Prefs);
        writeFile(card("MN4/NavLib.ini"), "live navlib");
        writeFile(card("MN4/Layout/defaultlt.ini"), "live default");
        for (const char* skin : {"Tag", "Nacht"}) {
            const QString s = QStringLiteral("MN4/Skins/") + QLatin1String(skin) + u'/';
            writeFile(card(s + QLatin1String(skin) + QStringLiteral(".ini")), "marker");
            writeFile(card(s + QStringLiteral("NavLib.ini")), QByteArray(skin) + " navlib");
            writeFile(card(s + QStringLiteral("defaultlt.ini")), QByteArray(skin) + " default");
        }
        QDir().mkpath(card("Windows/Schriftarten"));
        QDir().mkpath(app);
        writeFile(settings, "[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nSkinDir= " + pcSkin.toUtf8() + "\r\n");
        writeFile(pcSkin + QStringLiteral("/MySkin.ini"), "marker");
        writeFile(pcSkin + QStringLiteral("/NavLib.ini"), patternBytes(3000));
        writeFile(pcSkin + QStringLiteral("/Layout/defaultlt.ini"), patternBytes(2049));
        manager.load();
    }

    QString card(const QString& relative) const { return root + u'/' + relative; }
    QString card(const char* relative) const { return card(QString::fromLatin1(relative)); }

    void connect()
    {
        manager.BTNToPDA_Click();
        manager.Timer1_Timer();
        ASSERT_EQ(manager.look().buttonCaption, QStringLiteral("trennen"));
    }

    QTemporaryDir base;
    QString root = base.filePath(QStringLiteral("card"));
    QString app = base.filePath(QStringLiteral("app")) + u'/';
    QString settings = app + QStringLiteral("Tivaro.ini");
    QString pcSkin = base.filePath(QStringLiteral("pc/MySkin"));
    FolderDevice folder{root};
    FaultyDevice device{folder};
    ScriptedPrompter prompter;
    DeviceLink link{device, prompter};
    DeviceConnection connection;
    int shown = 0;
    SkinManager manager{{link, connection, prompter, app, settings, {}, {}, [this] { ++shown; }}};
};

TEST_F(SkinManagerTest, UploadCopiesTheListedFilesIntoAFreshDeviceFolder)
{
    connect();
    writeFile(card("MN4/Skins/MySkin/stale.ini"), "old copy");
    manager.BTNSkinAdd_Click();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join(u'|').toStdString();
    EXPECT_EQ(readFile(card("MN4/Skins/MySkin/NavLib.ini")), patternBytes(3000));
    EXPECT_EQ(readFile(card("MN4/Skins/MySkin/Layout/defaultlt.ini")), patternBytes(2049));
    EXPECT_FALSE(QFileInfo::exists(card("MN4/Skins/MySkin/stale.ini")));
    EXPECT_FALSE(QFileInfo::exists(card("MN4/Skins/MySkin/Font")));
    EXPECT_FALSE(QFileInfo::exists(card("MN4/Skins/MySkin/Font2")));
    EXPECT_FALSE(manager.progress().visible);
    EXPECT_EQ(manager.progress().percent, 100);
    EXPECT_TRUE(manager.refreshPending);
    manager.Timer1_Timer();
    EXPECT_EQ(manager.deviceSkins(), (QStringList{"MySkin", "Nacht", "Tag"}));
}

TEST_F(SkinManagerTest, UploadRefusalsChangeNothing)
{
    const struct { const char* name; bool connected; bool marker; QString message; } rows[] = {
        {"no marker file", true, false,
         QStringLiteral("Es wird eine Datei MySkin.ini im Verzeichnis\n") + QDir::toNativeSeparators(pcSkin)
             + QStringLiteral(" erwartet.\nDer Skin ist nicht Zentaro kompatibel. Aktion abgebrochen.")},
        {"no connection", false, true, QStringLiteral("Bitte erst mit dem PDA verbinden!")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.connected != link.IsDeviceConnected())
            connect();
        if (!row.marker)
            QFile::remove(pcSkin + QStringLiteral("/MySkin.ini"));
        prompter.shown.clear();
        device.calls.clear();
        manager.BTNSkinAdd_Click();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].title, QStringLiteral("Hinweis:"));
        EXPECT_EQ(prompter.shown[0].text, row.message);
        EXPECT_EQ(device.count(QStringLiteral("CeCreateDirectory")), 0);
        EXPECT_EQ(device.count(QStringLiteral("CeCreateFile")), 0);
        writeFile(pcSkin + QStringLiteral("/MySkin.ini"), "marker");
        if (link.IsDeviceConnected()) {
            manager.BTNToPDA_Click();
            manager.Timer1_Timer();
        }
    }
}

TEST_F(SkinManagerTest, UploadOffersCopiesIntoLayoutOfRootFilesActivationLeavesBehind)
{
    using A = Prompter::Answer;
    const struct { std::vector<A> answers; bool uploaded; QByteArray menu, tmc; } rows[] = {
        {{A::Cancel}, false, "<missing>", "old tmc"},
        {{A::No}, true, "<missing>", "old tmc"},
        {{A::Yes, A::No}, true, "root menu", "old tmc"},
        {{A::Yes, A::Yes}, true, "root menu", "root tmc"},
    };
    connect();
    for (const auto& row : rows) {
        writeFile(pcSkin + QStringLiteral("/mainmenult.ini"), "root menu");
        writeFile(pcSkin + QStringLiteral("/tmcpanelt.ini"), "root tmc");
        writeFile(pcSkin + QStringLiteral("/Layout/tmcpanelt.ini"), "old tmc");
        QFile::remove(pcSkin + QStringLiteral("/Layout/mainmenult.ini"));
        link.DeleteDeviceFolder(QStringLiteral("\\MN4\\Skins\\MySkin"));
        manager.load();
        prompter.shown.clear();
        for (const A answer : row.answers)
            prompter.answer(answer);
        manager.BTNSkinAdd_Click();
        EXPECT_EQ(texts().value(0), QStringLiteral("Diese Layoutdateien liegen im Hauptordner des Skins und kommen beim "
                                                   "Aktivieren nicht auf den PDA:\nmainmenult.ini\ntmcpanelt.ini (die "
                                                   "Kopie in Layout weicht ab)\nSollen sie vor dem Hochladen nach "
                                                   "Layout kopiert werden?"));
        EXPECT_EQ(readFile(pcSkin + QStringLiteral("/Layout/mainmenult.ini")), row.menu);
        EXPECT_EQ(readFile(pcSkin + QStringLiteral("/Layout/tmcpanelt.ini")), row.tmc);
        EXPECT_EQ(readFile(card("MN4/Skins/MySkin/Layout/tmcpanelt.ini")), row.uploaded ? row.tmc : "<missing>");
        EXPECT_EQ(readFile(card("MN4/Skins/MySkin/Layout/mainmenult.ini")), row.uploaded ? row.menu : "<missing>");
    }
}

TEST_F(SkinManagerTest, SwitchCopiesTheSkinOverTheLiveFilesAndChangesOnlyLastSkin)
{
    writeFile(card("MN4/Skins/Nacht/mapviewlt.ini"), "Nacht mapview");
    writeFile(card("MN4/Skins/Nacht/navlib.ini.bak"), "not delivered");
    writeFile(card("MN4/Skins/Nacht/Layout/mainmenult.ini"), "Nacht mainmenu");
    writeFile(card("MN4/Skins/Nacht/Layout/Layout/deep.ini"), "deep");
    writeFile(card("MN4/Skins/Nacht/Font/a.fnt"), "font");
    writeFile(card("MN4/Skins/Nacht/Font2/b.ttf"), "font2");
    writeFile(card("MN4/Skins/Nacht/Other/c.ini"), "other");
    connect();
    manager.BTNSwitch_Click({QStringLiteral("Nacht")});

    const struct { const char* path; QByteArray bytes; } expected[] = {
        {"MN4/NavLib.ini", "Nacht navlib"}, {"MN4/Layout/defaultlt.ini", "Nacht default"},
        {"MN4/Layout/mapviewlt.ini", "Nacht mapview"}, {"MN4/Layout/mainmenult.ini", "Nacht mainmenu"},
        {"MN4/a.fnt", "font"}, {"Windows/Schriftarten/b.ttf", "font2"},
        {"MN4/prefs.ini", QByteArray(Prefs).replace("lastSkin= Tag", "lastSkin= Nacht")},
        {"MN4/navlib.ini.bak", "<missing>"}, {"MN4/c.ini", "<missing>"}, {"MN4/prefs.ini.new", "<missing>"},
    };
    for (const auto& file : expected)
        EXPECT_EQ(readFile(card(file.path)), file.bytes) << file.path;
    EXPECT_EQ(manager.activeSkin(), QStringLiteral("Nacht"));
    EXPECT_EQ(manager.doing(), QStringLiteral("Nacht: 6 Dateien übertragen"));
    EXPECT_EQ(QDir(app).entryList(QDir::Files), QStringList{"Tivaro.ini"});
    EXPECT_TRUE(prompter.shown.isEmpty());
}

// Whatever stops a switch, prefs.ini keeps naming the old skin, the failure is
// shown, and no temporary file is left on either side.
TEST_F(SkinManagerTest, FailedSwitchKeepsTheActiveSkin)
{
    const QString failed = QStringLiteral("Der Skin Nacht konnte nicht aktiviert werden.");
    const QByteArray bigDefault(400, 'n');
    const struct
    {
        const char* name;
        std::function<void()> fault;
        qint64 fileLimit; // 0: no limit
        QStringList messages;
        QByteArray liveDefault;
    } rows[] = {
        {"upload of prefs.ini breaks off", [this] { device.failWriteAt = 0; }, 0,
         {"Device File Could Not Be Written Completely!", failed}, "Nacht default"},
        {"prefs.ini missing", [this] { QFile::remove(card("MN4/prefs.ini")); }, 0,
         {"Device File Does Not Exist Or Is Empty (0 Bytes)!", failed}, "Nacht default"},
        {"disk full for a live file", [&] { writeFile(card("MN4/Skins/Nacht/defaultlt.ini"), bigDefault); },
         bigDefault.size() - 1, {failed}, "live default"},
        {"disk full for the edited prefs.ini", [] {}, Prefs.size() + 1, {failed}, "Nacht default"},
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
            manager.BTNSwitch_Click({QStringLiteral("Nacht")});
            return manager.activeSkin() == QStringLiteral("Tag") && prompter.texts() == row.messages ? 0 : 1;
        };
        EXPECT_EQ(row.fileLimit ? runWithFileSizeLimit(row.fileLimit, switchFails) : switchFails(), 0)
            << prompter.texts().join(u'|').toStdString();
        device.failWriteAt = -1;
        EXPECT_EQ(readFile(card("MN4/prefs.ini")), prefs);
        EXPECT_EQ(readFile(card("MN4/Layout/defaultlt.ini")), row.liveDefault);
        EXPECT_FALSE(treeOf(card("MN4")).join(u'|').contains(QLatin1String(".new")));
        EXPECT_EQ(QDir(app).entryList(QDir::Files | QDir::Hidden), QStringList{"Tivaro.ini"});
        writeFile(card("MN4/prefs.ini"), Prefs);
    }
}

// A name that is empty, "." or ".." or holds a separator would name the skin
// store itself or a folder outside it.
TEST_F(SkinManagerTest, UnusableSkinNamesAreRefusedAndTheDeviceStaysAsItIs)
{
    const QString dotSkin = base.filePath(QStringLiteral("pc/x\\."));
    writeFile(dotSkin + QStringLiteral("/..ini"), "marker");
    writeFile(dotSkin + QStringLiteral("/NavLib.ini"), "navlib");
    connect();
    const QStringList device = treeOf(root);
    const auto refusal = [](const QString& name) {
        return QStringLiteral("Der Skinname \"") + name
               + QStringLiteral("\" ist nicht zulässig.\nEin Skinname darf weder leer, \".\" noch \"..\" sein und "
                                "kein \"\\\" oder \"/\" enthalten.\nAktion abgebrochen.");
    };
    manager.SetDirs(dotSkin);
    manager.FillList(SkinManager::Root);
    manager.BTNSkinAdd_Click();
    for (const QString name : {"", ".", "..", "Tag\\..", "../Tag"}) {
        manager.BTNSwitch_Click({name});
        manager.BTNSkinDel_Click({name});
    }
    QStringList expected{refusal(".")};
    for (const QString name : {"", ".", "..", "Tag\\..", "../Tag"})
        expected << refusal(name) << refusal(name);
    EXPECT_EQ(prompter.texts(), expected);
    for (const auto& shown : std::as_const(prompter.shown))
        EXPECT_EQ(shown.title, QStringLiteral("Hinweis!"));
    EXPECT_FALSE(manager.reconnectRequested);
    EXPECT_EQ(manager.activeSkin(), QStringLiteral("Tag"));
    EXPECT_EQ(treeOf(root), device);
}

TEST_F(SkinManagerTest, PcFilesAreAddedReplacedAndDeleted)
{
    const QString chosen = base.filePath(QStringLiteral("chosen"));
    writeFile(chosen + QStringLiteral("/DEFAULTLT.INI"), "new default");
    writeFile(chosen + QStringLiteral("/extra.ini"), "extra");
    manager.addFiles(SkinManager::Layout, {chosen + QStringLiteral("/DEFAULTLT.INI"), chosen + QStringLiteral("/extra.ini")});
    EXPECT_EQ(manager.files(SkinManager::Layout), (QStringList{"defaultlt.ini", "extra.ini"}));
    EXPECT_EQ(readFile(pcSkin + QStringLiteral("/Layout/defaultlt.ini")), "new default");

    // A file chosen from the part itself stays whole.
    manager.addFiles(SkinManager::Layout, {pcSkin + QStringLiteral("/Layout/extra.ini")});
    EXPECT_EQ(readFile(pcSkin + QStringLiteral("/Layout/extra.ini")), "extra");

    prompter.answer(Prompter::Answer::Yes);
    manager.deleteFiles(SkinManager::Layout, {QStringLiteral("extra.ini"), QStringLiteral("../MySkin.ini")});
    EXPECT_EQ(manager.files(SkinManager::Layout), QStringList{"defaultlt.ini"});
    EXPECT_TRUE(QFileInfo::exists(pcSkin + QStringLiteral("/MySkin.ini")));
}

TEST_F(SkinManagerTest, StartingMn4OnAFolderDeviceIsExplained)
{
    connect();
    manager.BTNStartMN4_Click();
    ASSERT_EQ(device.count(QStringLiteral("CeCreateProcess")), 1);
    const auto call = std::find_if(device.calls.begin(), device.calls.end(),
                                   [](const FaultyDevice::Call& c) { return c.name == QStringLiteral("CeCreateProcess"); });
    EXPECT_EQ(call->path, QStringLiteral("\\MN4\\MobileNavigator.exe"));
    EXPECT_EQ(prompter.texts(), QStringList{"MN|4 kann auf diesem Gerät nicht gestartet werden."});
}

TEST(SkinManagerProgress, CaptionAndPercent)
{
    const QChar nbsp(0x00A0);
    const struct { int done, total, percent; QString digits; } rows[] = {
        {1, 3, 33, "33"}, {3, 3, 100, "100"}, {0, 3, 0, "0"}, {2, 3, 66, "66"},
        {0, 0, 100, "100"}, {7, 3, 100, "100"},
    };
    for (const auto& row : rows) {
        const SkinManager::Progress p = SkinManager::progressOf(row.done, row.total);
        EXPECT_EQ(p.percent, row.percent) << row.done << "/" << row.total;
        EXPECT_EQ(p.caption, row.digits + u'%' + QString(16 - row.digits.size(), nbsp));
        EXPECT_EQ(p.caption.size(), 17);
    }
}

} // namespace
