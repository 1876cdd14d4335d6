#include "AppState.h"
#include "DeviceConnection.h"
#include "TestFiles.h"
#include "FaultyDevice.h"
#include "FolderBrowser.h"
#include "FolderDevice.h"
#include "LightShape.h"
#include "ScriptedPrompter.h"
#include "frmTivaroZentaro.h"

#include <QDirIterator>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Samples = QStringLiteral(TIVARO_SAMPLES);
const QChar Nbsp(0x00A0);

// Calls back before every file the device is asked to open, so a test sees the
// window in the middle of an upload.
class WatchedDevice : public FaultyDevice
{
public:
    using FaultyDevice::FaultyDevice;
    std::function<void(const QString& path)> onCreate;

    CeHandle CeCreateFile(const QString& path, quint32 access, quint32 shareMode, quint32 creation,
                          quint32 attributes) override
    {
        if (onCreate)
            onCreate(path);
        return FaultyDevice::CeCreateFile(path, access, shareMode, creation, attributes);
    }
};

class SkinWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        copyTree(Samples + QStringLiteral("/demo-device"), root);
        copyTree(Samples + QStringLiteral("/DemoSkin"), pcSkin);
        QDir().mkpath(app);
        writeFile(app + QStringLiteral("Tivaro.ini"), "[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nSkinDir= "
                                                          + QDir::toNativeSeparators(pcSkin).toUtf8() + "\r\n");
        state.AppPath = app;
        state.prompter = &prompter;
        open();
    }

    void open()
    {
        window.reset();
        window = std::make_unique<frmTivaroZentaro>(state, connection, device,
                                                    [this](QWidget* owner, const QString& folder) {
                                                        arrowCalls.append({owner, folder});
                                                    });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // The tests tick by hand, so no second passes unnoticed.
        timer()->stop();
    }

    template<typename T = QWidget>
    T* child(const char* name) const
    {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTimer* timer() const { return child<QTimer>("Timer1"); }
    QListWidget* list(const char* name) const { return child<QListWidget>(name); }
    QString text(const char* name) const { return child<QLabel>(name)->text(); }

    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    void tick() { window->Timer1_Timer(); }
    void connectDevice()
    {
        click("BTNToPDA");
        tick();
        ASSERT_EQ(child<QPushButton>("BTNToPDA")->text(), QStringLiteral("trennen"));
    }
    // Selects exactly the named entry with a real click.
    void select(const char* listName, const QString& entry)
    {
        QListWidget* l = list(listName);
        const auto items = l->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << entry.toStdString();
        l->scrollToItem(items[0]);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(items[0]).center());
        ASSERT_EQ(l->selectedItems(), items);
    }
    QStringList entries(const char* listName) const
    {
        QStringList all;
        for (int row = 0; row < list(listName)->count(); ++row)
            all << list(listName)->item(row)->text();
        return all;
    }
    QString card(const QString& relative) const { return root + u'/' + relative; }

    QTemporaryDir base;
    QString root = base.filePath(QStringLiteral("card"));
    QString app = base.filePath(QStringLiteral("app")) + u'/';
    QString pcSkin = base.filePath(QStringLiteral("pc/DemoSkin"));
    FolderDevice folder{root};
    WatchedDevice device{folder};
    ScriptedPrompter prompter;
    AppState state;
    DeviceConnection connection;
    QList<QPair<QWidget*, QString>> arrowCalls;
    std::unique_ptr<frmTivaroZentaro> window;
};

TEST_F(SkinWindowTest, ControlsCarryTheirCaptionsAndTips)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("to the PDA"));
    const struct { const char* name; QString caption; QString tip; } buttons[] = {
        {"BTNToPDA", "verbinden", "PDA"}, {"BTNSkinAdd", "+", "Skin hinzufügen"}, {"BTNSkinDel", "-", "Skin löschen"},
        {"BTNSwitch", "Switch", "Switch Skin"}, {"BTNStartMN4", "MN|4", "Start MN4"},
        {"BTNDir", "", "Verzeichnis öffnen"}, {"BTNRootAdd", "+", "Datei hinzufügen"},
        {"BTNLayoutAdd", "+", "Datei hinzufügen"}, {"BTNFontAdd", "+", "Datei hinzufügen"},
        {"BTNFont2Add", "+", "Datei hinzufügen"}, {"BTNRootDel", "-", "Datei löschen"},
        {"BTNLayoutDel", "-", "Datei löschen"}, {"BTNFontDel", "-", "Datei löschen"},
        {"BTNFont2Del", "-", "Datei löschen"},
    };
    for (const auto& row : buttons) {
        SCOPED_TRACE(row.name);
        const auto* button = child<QAbstractButton>(row.name);
        EXPECT_EQ(button->text(), row.caption);
        EXPECT_EQ(button->toolTip(), row.tip);
    }
    EXPECT_FALSE(child<QToolButton>("BTNDir")->icon().isNull());

    const struct { const char* name; QString caption; } labels[] = {
        {"Label6", "Skins"},           {"Label10", "Aktiv:"},      {"LActiveSkin", "unbekannt"},
        {"Label1", "Verzeichnis:"},    {"LName", "DemoSkin"},      {"lbl_Version", "Tivaro v1.6.1"},
    };
    for (const auto& row : labels)
        EXPECT_EQ(text(row.name), row.caption) << row.name;

    EXPECT_EQ(child<QLineEdit>("TSkinDir")->text(), QDir::toNativeSeparators(pcSkin));
    EXPECT_TRUE(entries("LRoot").contains(QStringLiteral("DemoSkin.ini")));
    EXPECT_TRUE(QFileInfo(pcSkin + QStringLiteral("/Font2")).isDir());
    // The timer runs while the window is shown.
    window->hide();
    window->show();
    EXPECT_TRUE(timer()->isActive());
    window->hide();
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(SkinWindowTest, LightsAndCaptionShowEachConnectionState)
{
    const QColor red(255, 0, 0), darkRed(128, 0, 0), yellow(255, 255, 0), darkYellow(64, 64, 0),
        green(0, 255, 0), darkGreen(0, 64, 0);
    const struct
    {
        const char* state;
        const char* steps; // c: click BTNToPDA, t: tick
        QColor red, yellow, green;
        QString caption;
    } rows[] = {
        {"idle", "", red, darkYellow, darkGreen, "verbinden"},
        {"connecting", "c", red, yellow, darkGreen, "verbinden"},
        {"connected", "t", darkRed, darkYellow, green, "trennen"},
        {"disconnecting", "c", darkRed, yellow, green, "trennen"},
        {"idle again", "t", red, darkYellow, darkGreen, "verbinden"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state);
        for (const char* step = row.steps; *step; ++step)
            *step == 'c' ? click("BTNToPDA") : tick();
        EXPECT_EQ(child<LightShape>("Shape1")->color(), row.red);
        EXPECT_EQ(child<LightShape>("Shape2")->color(), row.yellow);
        EXPECT_EQ(child<LightShape>("Shape4")->color(), row.green);
        EXPECT_EQ(child<QPushButton>("BTNToPDA")->text(), row.caption);
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(SkinWindowTest, ConnectingListsTheStoredSkinsAndTheActiveOne)
{
    tick();
    EXPECT_TRUE(entries("LSkins").isEmpty()) << "no connection until the button is pressed";
    connectDevice();
    EXPECT_EQ(entries("LSkins"), (QStringList{"Nacht", "Tag"}));
    EXPECT_EQ(text("LActiveSkin"), QStringLiteral("Tag"));

    select("LSkins", QStringLiteral("Nacht"));
    tick();
    EXPECT_EQ(list("LSkins")->selectedItems().size(), 1) << "a tick keeps the selection";

    click("BTNToPDA");
    tick();
    EXPECT_TRUE(entries("LSkins").isEmpty());
    EXPECT_EQ(text("LActiveSkin"), QStringLiteral("unbekannt"));
}

TEST_F(SkinWindowTest, ProgressBarCoversWhatIsNotYetDone)
{
    // A second PC skin of three files, chosen with the folder picker.
    const QString three = base.filePath(QStringLiteral("pc/Drei"));
    writeFile(three + QStringLiteral("/Drei.ini"), "marker");
    writeFile(three + QStringLiteral("/NavLib.ini"), "navlib");
    writeFile(three + QStringLiteral("/Layout/mainmenult.ini"), "layout");
    prompter.onDialog([&](QObject& dialog) {
        auto* browser = qobject_cast<FolderBrowser*>(&dialog);
        EXPECT_NE(browser, nullptr);
        if (!browser)
            return false;
        EXPECT_EQ(browser->selectedPath(), QDir::toNativeSeparators(pcSkin)) << "starts at SkinDir";
        EXPECT_TRUE(browser->findChild<QWidget*>(QStringLiteral("StatusLabel"))->isVisibleTo(browser));
        EXPECT_FALSE(browser->findChild<QWidget*>(QStringLiteral("EditBox"))->isVisibleTo(browser));
        EXPECT_TRUE(browser->selectPath(three));
        browser->accept();
        return true;
    });
    QTest::mouseClick(child<QToolButton>("BTNDir"), Qt::LeftButton);
    ASSERT_EQ(text("LName"), QStringLiteral("Drei"));
    EXPECT_EQ(entries("LRoot"), (QStringList{"Drei.ini", "NavLib.ini"}));

    struct Seen { QString caption; bool visible; QRect bar, rest; };
    QList<Seen> seen;
    auto* bar = child<QLabel>("LaktStatus");
    auto* rest = child<QLabel>("LStatus");
    device.onCreate = [&](const QString& path) {
        if (path.contains(QLatin1String("Drei\\")))
            seen.append({bar->text(), bar->isVisible() && rest->isVisible(), bar->geometry(), rest->geometry()});
    };
    connectDevice();
    click("BTNSkinAdd");
    device.onCreate = {};
    seen.append({bar->text(), bar->isVisible() || rest->isVisible(), bar->geometry(), rest->geometry()});

    const struct
    {
        QString digits;
        int percent;
        bool visible;
    } rows[] = {{"0", 0, true}, {"33", 33, true}, {"66", 66, true}, {"100", 100, false}};
    ASSERT_EQ(seen.size(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const Seen& s = seen[i];
        EXPECT_EQ(s.caption, rows[i].digits + u'%' + QString(16 - rows[i].digits.size(), Nbsp));
        EXPECT_EQ(s.visible, rows[i].visible);
        ASSERT_GT(s.bar.width(), 0);
        const int done = qRound(s.bar.width() * rows[i].percent / 100.0);
        EXPECT_EQ(s.rest, QRect(s.bar.left() + done, s.bar.top(), s.bar.width() - done, s.bar.height()));
    }
    EXPECT_EQ(seen[3].rest.width(), 0);
}

// While an upload runs the window names the file it copies, keeps out the
// buttons that would interfere, and "Abbrechen" or Escape stops it after the
// chunk being written: the device keeps what it had, the older copy included.
TEST_F(SkinWindowTest, StoppedUploadLeavesTheDeviceAsItWas)
{
    writeFile(card(QStringLiteral("MN4/Skins/DemoSkin/DemoSkin.ini")), "older copy");
    const auto deviceState = [this] {
        QStringList state;
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            state << QDir(root).relativeFilePath(it.next()) + u'=' + QString::fromLatin1(readFile(it.filePath()).toHex());
        state.sort();
        return state;
    };
    connectDevice();
    const QStringList before = deviceState();
    const QStringList files = entries("LRoot");
    const qsizetype total = files.size() + entries("LLayout").size() + entries("LFont").size() + entries("LFont2").size();
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Abbrechen");
        int creates = 0, writesAtStop = 0;
        device.onCreate = [&](const QString&) {
            if (++creates != 2)
                return;
            EXPECT_EQ(text("LDoing"), QStringLiteral("Datei 2 von %1: %2").arg(total).arg(files[1]));
            for (const char* name : {"BTNSkinAdd", "BTNSkinDel", "BTNSwitch", "BTNToPDA", "BTNDir", "BTNRootAdd", "BTNFont2Del"})
                EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
            writesAtStop = device.count(QStringLiteral("CeWriteFile"));
            escape ? QTest::keyClick(window.get(), Qt::Key_Escape) : click("BTNCancelUpload");
        };
        click("BTNSkinAdd");
        device.onCreate = {};
        EXPECT_EQ(device.count(QStringLiteral("CeWriteFile")), writesAtStop + 1);
        EXPECT_EQ(deviceState(), before);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(child<QWidget>("BTNCancelUpload")->isVisible());
        EXPECT_TRUE(child<QWidget>("BTNSkinAdd")->isEnabled());
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
}

TEST_F(SkinWindowTest, DeletingTheActiveSkinIsRefusedAndAnotherGoesThroughTheReconnect)
{
    connectDevice();
    select("LSkins", QStringLiteral("Tag"));
    click("BTNSkinDel");
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].title, QStringLiteral("Hinweis!"));
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("Dieser Skin ist aktiv und darf nicht gelöscht werden!\n"
                                                     "Bitte erst einen anderen Skin aktivieren."));
    for (int n = 0; n < 4; ++n)
        tick();
    EXPECT_TRUE(QFileInfo(card(QStringLiteral("MN4/Skins/Tag/Tag.ini"))).isFile());
    EXPECT_EQ(entries("LSkins"), (QStringList{"Nacht", "Tag"}));

    // Deleting asks first; No keeps the skin.
    select("LSkins", QStringLiteral("Nacht"));
    click("BTNSkinDel");
    EXPECT_FALSE(child<QLabel>("LDoing")->isVisible());
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(prompter.shown[1].title, QStringLiteral("Frage:"));
    EXPECT_EQ(prompter.shown[1].text, QStringLiteral("Skin Nacht wirklich löschen?"));
    EXPECT_EQ(prompter.shown[1].buttons, Prompter::Buttons::YesNo);
    for (int n = 0; n < 4; ++n)
        tick();
    EXPECT_TRUE(QFileInfo::exists(card(QStringLiteral("MN4/Skins/Nacht"))));

    prompter.answer(Prompter::Answer::Yes);
    click("BTNSkinDel");
    EXPECT_TRUE(child<QLabel>("LDoing")->isVisible());
    EXPECT_EQ(text("LDoing"), QStringLiteral("lösche Skin..."));
    for (int n = 0; n < 4; ++n)
        tick();
    EXPECT_FALSE(QFileInfo::exists(card(QStringLiteral("MN4/Skins/Nacht"))));
    EXPECT_EQ(entries("LSkins"), QStringList{"Tag"});
    EXPECT_FALSE(child<QLabel>("LDoing")->isVisible());
    EXPECT_EQ(child<QPushButton>("BTNToPDA")->text(), QStringLiteral("trennen"));
    EXPECT_EQ(prompter.shown.size(), 3);
}

TEST_F(SkinWindowTest, AddAndDeleteFilesOfEachPcPart)
{
    const QString source = base.filePath(QStringLiteral("source"));
    writeFile(source + QStringLiteral("/one.ini"), patternBytes(2049));
    writeFile(source + QStringLiteral("/two.fnt"), patternBytes(10));
    const struct { const char* list; const char* add; const char* del; QString folder; } parts[] = {
        {"LRoot", "BTNRootAdd", "BTNRootDel", ""}, {"LLayout", "BTNLayoutAdd", "BTNLayoutDel", "Layout/"},
        {"LFont", "BTNFontAdd", "BTNFontDel", "Font/"}, {"LFont2", "BTNFont2Add", "BTNFont2Del", "Font2/"},
    };
    for (const auto& part : parts) {
        SCOPED_TRACE(part.list);
        prompter.onDialog([&](QObject& object) {
            auto* dialog = qobject_cast<QFileDialog*>(&object);
            EXPECT_NE(dialog, nullptr);
            if (!dialog)
                return false;
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Datei kopieren"));
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
            EXPECT_EQ(dialog->parentWidget(), window.get());
            dialog->setDirectory(source);
            dialog->selectFile(QStringLiteral("\"one.ini\" \"two.fnt\""));
            static_cast<QDialog*>(dialog)->accept();
            return dialog->result() == QDialog::Accepted;
        });
        click(part.add);
        const QString target = pcSkin + u'/' + part.folder;
        EXPECT_EQ(readFile(target + QStringLiteral("one.ini")), patternBytes(2049));
        EXPECT_EQ(readFile(target + QStringLiteral("two.fnt")), patternBytes(10));
        EXPECT_TRUE(entries(part.list).contains(QStringLiteral("one.ini")));
        EXPECT_TRUE(entries(part.list).contains(QStringLiteral("two.fnt")));

        // "-" asks first: No keeps the file, Yes deletes it.
        select(part.list, QStringLiteral("one.ini"));
        prompter.shown.clear();
        click(part.del);
        EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("one.ini")));
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].title, QStringLiteral("Frage:"));
        EXPECT_EQ(prompter.shown[0].text, QStringLiteral("Datei one.ini wirklich löschen?"));
        prompter.answer(Prompter::Answer::Yes);
        click(part.del);
        EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("one.ini")));
        EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("two.fnt")));
        EXPECT_FALSE(entries(part.list).contains(QStringLiteral("one.ini")));
    }
    EXPECT_EQ(readFile(source + QStringLiteral("/one.ini")), patternBytes(2049)) << "the source stays";
}

TEST_F(SkinWindowTest, CancelledFileDialogChangesNothing)
{
    const QStringList before = entries("LRoot");
    const QStringList files = treeOf(pcSkin);
    click("BTNRootAdd"); // the scripted prompter cancels an unscripted dialog
    EXPECT_EQ(prompter.dialogsRun, 1);
    EXPECT_EQ(entries("LRoot"), before);
    EXPECT_EQ(treeOf(pcSkin), files);
}

TEST_F(SkinWindowTest, DoubleClickOnNavLibOpensTheArrowColours)
{
    const struct { QString entry; bool opens; } rows[] = {
        {"navlib.INI", true}, {"DemoSkin.ini", false}, {"NavLib.ini.bak", false},
    };
    for (const auto& row : rows)
        writeFile(pcSkin + u'/' + row.entry, "x");
    open();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry.toStdString());
        arrowCalls.clear();
        QListWidget* l = list("LRoot");
        const auto items = l->findItems(row.entry, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        l->scrollToItem(items[0]);
        // A double click arrives as press, release, double click, release.
        const QPoint at = l->visualItemRect(items[0]).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(l->viewport(), Qt::LeftButton, {}, at);
        if (row.opens) {
            ASSERT_EQ(arrowCalls.size(), 1);
            EXPECT_EQ(arrowCalls[0].first, window.get());
            EXPECT_EQ(arrowCalls[0].second, QDir::toNativeSeparators(pcSkin) + QDir::separator());
        } else {
            EXPECT_TRUE(arrowCalls.isEmpty());
        }
    }
}

TEST_F(SkinWindowTest, ShowSkinManagerRunsTheWindowModallyOverItsOwner)
{
    window.reset();
    QWidget owner;
    prompter.onDialog([&](QObject& dialog) {
        auto* shown = qobject_cast<frmTivaroZentaro*>(&dialog);
        EXPECT_NE(shown, nullptr);
        if (shown) {
            EXPECT_TRUE(shown->isModal());
            EXPECT_EQ(shown->parentWidget(), &owner);
            EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("LName"))->text(), QStringLiteral("DemoSkin"));
        }
        return false;
    });
    showSkinManager(&owner, state, connection, device, {});
    EXPECT_EQ(prompter.dialogsRun, 1);
}

} // namespace
