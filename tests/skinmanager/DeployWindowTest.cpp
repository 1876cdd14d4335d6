#include "DeployWindow.h"
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "DemoCard.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The window as the editor opens it, over a copy of the demo device and of the demo skin.
class DeployWindowTest : public ::testing::Test, protected DemoCard
{
protected:
    // Runs "Auf den PDA" (or the dry run) and keeps what the window shows when it ends.
    QString deploy(bool dryRun = false)
    {
        prompter.onDialog([this](QObject&) {
            EXPECT_TRUE(child<QWidget>("BTNDeployClose")->isVisible() && !child<QWidget>("BTNDeployCancel")->isVisible());
            step = child<QLabel>("LDeployStep")->text();
            lines = child<QPlainTextEdit>("LDeployLines")->toPlainText().split('\n');
            return true;
        });
        return showDeploy(nullptr, context, pcSkin + QDir::separator(), dryRun); // the editor's folder ends so
    }
    // The open deploy window's item called name.
    template<typename T>
    T* child(const char* name) const { return QApplication::activeModalWidget()->findChild<T*>(name); }
    // The files of the listing: "ersetzt  Layout\mainmenult.ini (388 Bytes)" and the like.
    QStringList steps() const { return lines.filter(" Bytes)"); }

    DeviceConnection connection;
    DeviceLink link{device, prompter, [] { QCoreApplication::processEvents(); }};
    DeployChoices choices;
    const DeployContext context{app, prompter, connection, link, {}, choices}; // no checker
    QStringList lines;
    QString step;
};

// The author's loop: an edited root layout file goes to Layout (asked the first
// time only), exactly it and its copy travel, and "aktivieren", ticked while
// the files cross, brings them to MN4.
TEST_F(DeployWindowTest, AnEditSendsExactlyThatFileAndSaysSo)
{
    ASSERT_TRUE(deploy().contains(" Dateien übertragen, 0 unverändert")) << step.toStdString();
    QByteArray menu = readFile(pcSkin + "/mainmenult.ini");
    prompter.answer(Prompter::Answer::Yes); // asked once
    for (const char* edit : {"x= 1", "x= 2"}) {
        SCOPED_TRACE(edit);
        menu.replace("x= ", edit);
        writeFile(pcSkin + "/mainmenult.ini", menu);
        device.onCall = [this](const FaultyDevice::Call& call) {
            if (call.name == "CeWriteFile" && !child<QCheckBox>("ChkActivate")->isChecked())
                QTest::mouseClick(child<QCheckBox>("ChkActivate"), Qt::LeftButton);
        };
        const QString summary = deploy();
        const QString size = QString(" (%1 Bytes)").arg(menu.size());
        EXPECT_EQ(steps(), (QStringList{"ersetzt  mainmenult.ini" + size, "ersetzt  Layout\\mainmenult.ini" + size}));
        EXPECT_EQ(summary, "2 Dateien übertragen, 94 unverändert, 1 KB");
        EXPECT_EQ(step, summary);
        EXPECT_EQ(readFile(card + "/MN4/Layout/mainmenult.ini"), menu);
    }
    EXPECT_TRUE(prompter.texts().value(0).contains("\nmainmenult.ini\n"));
    EXPECT_TRUE(choices.activate);
    // Another skin folder is asked about again; the unscripted No stops it.
    copyTree(pcSkin, base.filePath("other/DemoSkin"));
    writeFile(base.filePath("other/DemoSkin/mainmenult.ini"), "[home]\r\n");
    EXPECT_EQ(showDeploy(nullptr, context, base.filePath("other/DemoSkin"), false), "Abgebrochen. Nichts wurde übertragen.");
    EXPECT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(readFile(base.filePath("other/DemoSkin/Layout/mainmenult.ini")), readFile(pcSkin + "/Layout/mainmenult.ini"));
}

// Without a PDA the window waits for one until Abbrechen.
TEST_F(DeployWindowTest, AbbrechenEndsTheWaitForTheDevice)
{
    device.vanishAfter = 0;
    // Pressed while the window waits a second after the first attempt.
    device.onCall = [this](const FaultyDevice::Call&) {
        QTimer::singleShot(50, [this] { QTest::mouseClick(child<QPushButton>("BTNDeployCancel"), Qt::LeftButton); });
    };
    EXPECT_EQ(deploy(), "Kein PDA verbunden. Nichts wurde übertragen.");
    EXPECT_EQ(device.count("CeRapiInitEx"), 1);
}

// Abbrechen, or Escape, during the transfer: the stored skin keeps every byte.
TEST_F(DeployWindowTest, StoppedTransferLeavesTheStoredSkinAsItWas)
{
    deploy();
    writeFile(pcSkin + "/Font/Gross.ttf", patternBytes(20000));
    writeFile(pcSkin + "/NavLib.ini", patternBytes(9000));
    const QStringList before = treeOf(card);
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Abbrechen");
        int writes = 0;
        device.onCall = [&](const FaultyDevice::Call& call) {
            if (call.name != "CeWriteFile" || ++writes != 6)
                return;
            EXPECT_EQ(child<QProgressBar>("DeployProgress")->value(), 1000 * 9000 / 29000) << "NavLib.ini of both";
            escape ? QTest::keyClick(child<QWidget>("LDeployLines")->window(), Qt::Key_Escape)
                   : QTest::mouseClick(child<QPushButton>("BTNDeployCancel"), Qt::LeftButton);
        };
        EXPECT_EQ(deploy(), "Abgebrochen. Der Skin auf dem PDA bleibt, wie er war.");
        device.onCall = {};
        EXPECT_EQ(writes, 6) << "the chunk under way is the last";
        EXPECT_EQ(treeOf(card), before);
    }
}

// What the dry run lists, the Layout copy it would make included, is what the
// real run then sends; the dry run itself changes nothing and asks nothing.
TEST_F(DeployWindowTest, DryRunListsWhatTheRunThenSends)
{
    writeFile(pcSkin + "/Font2/Alt.ttf", "old");
    deploy();
    QFile::remove(pcSkin + "/Font2/Alt.ttf");
    writeFile(pcSkin + "/Font/Neu.ttf", patternBytes(3000));
    writeFile(pcSkin + "/NavLib.ini", QByteArray(readFile(pcSkin + "/NavLib.ini").size(), 'x')); // same size
    writeFile(pcSkin + "/homepanelt.ini", readFile(pcSkin + "/homepanelt.ini") + "; moved\r\n");

    const QStringList before = treeOf(base.path());
    EXPECT_TRUE(deploy(true).startsWith("Probelauf: 4 Dateien würden übertragen (4 KB), 1 entfernt")) << step.toStdString();
    EXPECT_EQ(treeOf(base.path()), before);
    const QStringList listed = steps();

    prompter.answer(Prompter::Answer::Yes);
    EXPECT_TRUE(deploy().startsWith("4 Dateien übertragen, 93 unverändert, 1 entfernt"));
    EXPECT_EQ(steps(), listed);
}

} // namespace
