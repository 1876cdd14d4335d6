#include "DeviceConnection.h"
#include "FaultyDevice.h"
#include "FolderBrowser.h"
#include "LightShape.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "frmTivaroZentaro.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Samples = TIVARO_SAMPLES;

// The window over the demo device and a copy of the demo skin, its timer ticked by hand.
class SkinWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        copyTree(Samples + "/demo-device", root);
        copyTree(Samples + "/DemoSkin", pcSkin);
        writeFile(app + "Tivaro.ini", "[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nSkinDir= "
                                          + QDir::toNativeSeparators(pcSkin).toUtf8() + "\r\n");
        open();
    }

    void open()
    {
        window.reset();
        const auto openArrows = [this](QWidget* owner, const QString& folder) { arrowCalls.append({owner, folder}); };
        window = std::make_unique<frmTivaroZentaro>(app, prompter, connection, device, openArrows);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        child<QTimer>("Timer1")->stop();
    }

    template<typename T = QWidget>
    T* child(const char* name) const
    {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QListWidget* list(const char* name) const { return child<QListWidget>(name); }
    QString text(const char* name) const { return child<QLabel>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    void tick(int times = 1)
    {
        while (times-- > 0)
            window->Timer1_Timer();
    }
    void connectDevice()
    {
        click("BTNToPDA");
        tick();
        ASSERT_EQ(child<QPushButton>("BTNToPDA")->text(), "trennen");
    }
    // Clicks exactly the named entry; a double click arrives as press, release, double click, release.
    void select(const char* listName, const QString& entry, bool twice = false)
    {
        QListWidget* l = list(listName);
        const auto items = l->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << entry.toStdString();
        l->scrollToItem(items[0]);
        const QPoint at = l->visualItemRect(items[0]).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        if (twice) {
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(l->viewport(), Qt::LeftButton, {}, at);
        }
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
    QString root = base.filePath("card");
    QString app = base.filePath("app") + u'/';
    QString pcSkin = base.filePath("pc/DemoSkin");
    FaultyDevice device{root};
    ScriptedPrompter prompter;
    DeviceConnection connection;
    QList<QPair<QWidget*, QString>> arrowCalls;
    std::unique_ptr<frmTivaroZentaro> window;
};

TEST_F(SkinWindowTest, LightsAndCaptionShowEachConnectionState)
{
    const QColor red(255, 0, 0), darkRed(128, 0, 0), yellow(255, 255, 0), darkYellow(64, 64, 0), green(0, 255, 0),
        darkGreen(0, 64, 0);
    const QStringList both = {"Nacht", "Tag"};
    const struct { const char* steps; QColor red, yellow, green; QString caption; QStringList skins; QString active; } rows[] = {
        // c: click BTNToPDA, t: tick; idle (no connection until the button), connecting, connected,
        // disconnecting, idle again
        {"t", red, darkYellow, darkGreen, "verbinden", {}, "unbekannt"}, {"c", red, yellow, darkGreen, "verbinden", {}, "unbekannt"},
        {"t", darkRed, darkYellow, green, "trennen", both, "Tag"},  {"c", darkRed, yellow, green, "trennen", both, "Tag"},
        {"t", red, darkYellow, darkGreen, "verbinden", {}, "unbekannt"},
    };
    for (const auto& row : rows) {
        for (const char* step = row.steps; *step; ++step)
            *step == 'c' ? click("BTNToPDA") : tick();
        EXPECT_EQ((QList<QColor>{child<LightShape>("Shape1")->color(), child<LightShape>("Shape2")->color(),
                                 child<LightShape>("Shape4")->color()}),
                  (QList<QColor>{row.red, row.yellow, row.green}));
        EXPECT_EQ(child<QPushButton>("BTNToPDA")->text(), row.caption);
        EXPECT_EQ(entries("LSkins"), row.skins);
        EXPECT_EQ(text("LActiveSkin"), row.active);
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(SkinWindowTest, ProgressBarCoversWhatIsNotYetDone)
{
    // A second PC skin of three files, chosen with the folder picker.
    const QString three = base.filePath("pc/Drei");
    for (const char* file : {"/Drei.ini", "/NavLib.ini", "/Layout/mainmenult.ini"})
        writeFile(three + file, "x");
    prompter.onDialog([&](QObject& dialog) {
        auto* browser = qobject_cast<FolderBrowser*>(&dialog);
        EXPECT_EQ(browser->selectedPath(), QDir::toNativeSeparators(pcSkin)) << "starts at SkinDir";
        EXPECT_TRUE(browser->selectPath(three));
        browser->accept();
        return true;
    });
    click("BTNDir");
    ASSERT_EQ(text("LName"), "Drei");
    EXPECT_EQ(child<QLineEdit>("TSkinDir")->text(), QDir::toNativeSeparators(three));
    EXPECT_TRUE(QFileInfo(three + "/Font2").isDir()) << "the parts are made where missing";
    EXPECT_EQ(entries("LRoot"), (QStringList{"Drei.ini", "NavLib.ini"}));

    // Before each file and after the last: the caption, whether the bar shows, and LStatus over the rest.
    QList<std::tuple<QString, bool, int>> seen;
    auto* bar = child<QLabel>("LaktStatus");
    auto* rest = child<QLabel>("LStatus");
    const auto look = [&] {
        const bool fits = rest->geometry().right() == bar->geometry().right() && rest->y() == bar->y();
        const int done = qRound(100.0 * (rest->x() - bar->x()) / bar->width());
        seen.append({bar->text().left(4), bar->isVisible() && rest->isVisible(), fits ? done : -1});
    };
    device.onCall = [&](const FaultyDevice::Call& call) {
        if (call.name == "CeCreateFile" && call.path.contains("Drei\\"))
            look();
    };
    connectDevice();
    click("BTNSkinAdd");
    device.onCall = {};
    look();
    const QChar nbsp(0xA0); // the caption's arithmetic belongs to the skin manager's own test
    EXPECT_EQ(seen, (QList<std::tuple<QString, bool, int>>{
                        {QString("0%") + nbsp + nbsp, true, 0}, {"33%" + QString(nbsp), true, 33},
                        {"66%" + QString(nbsp), true, 66}, {"100%", false, 100}}));
}

// "+" on a skin the device holds asks first; Abbrechen there changes nothing.
// While an upload runs the window names the file it copies, keeps out the
// buttons that would interfere, and "Abbrechen" or Escape stops it after the
// chunk being written: the device keeps the older copy whole. The default
// answer sends only the file that changed.
TEST_F(SkinWindowTest, StoppedUploadLeavesTheDeviceAsItWas)
{
    connectDevice();
    click("BTNSkinAdd"); // new to the device: no question
    writeFile(pcSkin + "/NavLib.ini", readFile(pcSkin + "/NavLib.ini") + "; changed\r\n");
    const QStringList before = treeOf(root);
    const QStringList files = entries("LRoot");
    const qsizetype total = files.size() + entries("LLayout").size() + entries("LFont").size() + entries("LFont2").size();
    const auto answerWith = [this](const char* button) {
        prompter.onDialog([button](QObject& question) {
            auto* box = qobject_cast<QMessageBox*>(&question);
            EXPECT_EQ(box->defaultButton()->text(), "Nur Änderungen übertragen");
            (*button ? box->findChild<QPushButton*>(button) : box->defaultButton())->click();
            return true;
        });
    };
    answerWith("BTNUploadCancel");
    click("BTNSkinAdd");
    EXPECT_EQ(treeOf(root), before);
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Abbrechen");
        int creates = 0, writesAtStop = 0;
        device.onCall = [&](const FaultyDevice::Call& call) {
            if (call.name != "CeCreateFile" || ++creates != 2)
                return;
            EXPECT_EQ(text("LDoing"), QString("Datei 2 von %1: %2").arg(total).arg(files[1]));
            for (const char* name : {"BTNSkinAdd", "BTNSkinDel", "BTNSwitch", "BTNToPDA", "BTNDir", "BTNRootAdd", "BTNFont2Del"})
                EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
            writesAtStop = device.count("CeWriteFile");
            escape ? QTest::keyClick(window.get(), Qt::Key_Escape) : click("BTNCancelUpload");
        };
        answerWith("BTNUploadEverything");
        click("BTNSkinAdd");
        device.onCall = {};
        EXPECT_EQ(device.count("CeWriteFile"), writesAtStop + 1);
        EXPECT_EQ(treeOf(root), before);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(child<QWidget>("BTNCancelUpload")->isVisible());
        EXPECT_TRUE(child<QWidget>("BTNSkinAdd")->isEnabled());
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
    answerWith("");
    click("BTNSkinAdd");
    EXPECT_EQ(prompter.dialogsRun, 4);
    EXPECT_TRUE(text("LDoing").startsWith("1 Datei übertragen, ")) << text("LDoing").toStdString();
    EXPECT_EQ(readFile(card("MN4/Skins/DemoSkin/NavLib.ini")), readFile(pcSkin + "/NavLib.ini"));
}

// The skin goes through a reconnect, the status naming it meanwhile.
TEST_F(SkinWindowTest, DeletingASkinGoesThroughAReconnect)
{
    connectDevice();
    select("LSkins", "Nacht");
    prompter.answer(Prompter::Answer::Yes);
    click("BTNSkinDel");
    EXPECT_EQ(text("LDoing"), "lösche Skin...");
    EXPECT_TRUE(child<QLabel>("LDoing")->isVisible());
    tick(4);
    EXPECT_FALSE(QFileInfo::exists(card("MN4/Skins/Nacht")));
    EXPECT_TRUE(QFileInfo::exists(card("MN4/Skins/Tag/Tag.ini")));
    EXPECT_EQ(entries("LSkins"), QStringList{"Tag"});
    EXPECT_FALSE(child<QLabel>("LDoing")->isVisible());
    EXPECT_EQ(child<QPushButton>("BTNToPDA")->text(), "trennen");
    EXPECT_EQ(prompter.texts(), QStringList{"Skin Nacht wirklich löschen?"});
}

// The rules of adding and deleting belong to the skin manager's own test; here one part's buttons.
TEST_F(SkinWindowTest, AddAndDeleteFilesOfAPcPart)
{
    const QString source = base.filePath("source");
    writeFile(source + "/one.ini", patternBytes(2049));
    writeFile(source + "/two.fnt", patternBytes(10));
    prompter.onDialog([&](QObject& object) {
        auto& dialog = dynamic_cast<QFileDialog&>(object);
        dialog.setDirectory(source);
        dialog.selectFile("\"one.ini\" \"two.fnt\"");
        static_cast<QDialog&>(dialog).accept();
        return true;
    });
    click("BTNFont2Add");
    EXPECT_EQ(readFile(pcSkin + "/Font2/one.ini"), patternBytes(2049));
    EXPECT_EQ(readFile(pcSkin + "/Font2/two.fnt"), patternBytes(10));
    select("LFont2", "one.ini");
    prompter.answer(Prompter::Answer::Yes);
    click("BTNFont2Del");
    EXPECT_FALSE(QFileInfo::exists(pcSkin + "/Font2/one.ini"));
    EXPECT_TRUE(!entries("LFont2").contains("one.ini") && entries("LFont2").contains("two.fnt"));
    EXPECT_EQ(readFile(source + "/one.ini"), patternBytes(2049)) << "the source stays";

    const QStringList files = treeOf(pcSkin);
    click("BTNRootAdd"); // the scripted prompter cancels an unscripted dialog
    EXPECT_EQ(treeOf(pcSkin), files);
}

TEST_F(SkinWindowTest, DoubleClickOnNavLibOpensTheArrowColours)
{
    const struct { QString entry; bool opens; } rows[] = {
        {"navlib.INI", true}, {"DemoSkin.ini", false}, {"NavLib.ini.bak", false}};
    for (const auto& row : rows)
        writeFile(pcSkin + u'/' + row.entry, "x");
    open();
    using Calls = QList<QPair<QWidget*, QString>>;
    for (const auto& row : rows) {
        arrowCalls.clear();
        select("LRoot", row.entry, true);
        const Calls expected{{window.get(), QDir::toNativeSeparators(pcSkin) + QDir::separator()}};
        EXPECT_EQ(arrowCalls, row.opens ? expected : Calls()) << row.entry.toStdString();
    }
}

} // namespace
