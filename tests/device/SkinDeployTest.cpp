#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "DemoCard.h"
#include "ScriptedPrompter.h"
#include "SkinDeploy.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <numeric>

namespace {

using O = SkinDeploy::Outcome;

// The demo device with the active skin DemoSkin, and the PC copy of that skin.
class SkinDeployTest : public ::testing::Test, protected DemoCard
{
protected:
    void SetUp() override { writeFile(card + "/MN4/prefs.ini", "[Display]\r\nlastSkin= DemoSkin\r\n"); }

    O deploy(SkinDeploy::Options options = {}, SkinDeploy::Check check = {}, const QString& folder = {})
    {
        lines.clear();
        DeviceLink link(device, prompter);
        DeviceConnection connection;
        SkinDeploy run({link, connection, prompter, app, app + "Tivaro.ini",
                        [&](const QString&) { return check; }, [this](const QString& line) { lines << line; },
                        [] { return false; }, {}, agree, agree});
        return run.run(folder.isEmpty() ? pcSkin : folder, options);
    }

    QStringList lines;
    std::function<bool(const QStringList&)> agree; // to copy root files into Layout, to go on despite warnings
};

// The author's loop: edit a root layout file, deploy, look. Only the edited
// file and its Layout copy travel, and MN4's live copy is refreshed because
// DemoSkin is the active skin.
TEST_F(SkinDeployTest, SecondDeploySendsOnlyTheEditedFileAndRefreshesTheActiveSkin)
{
    const auto bytesWritten = [this] {
        const QList<quint32> sizes = device.sizesOf("CeWriteFile");
        return std::accumulate(sizes.begin(), sizes.end(), qint64(0));
    };
    ASSERT_EQ(deploy(), O::Done) << lines.join('\n').toStdString();
    QByteArray menu = readFile(pcSkin + "/mainmenult.ini");
    menu.replace("x= ", "x= 1");
    writeFile(pcSkin + "/mainmenult.ini", menu);
    device.calls.clear();
    ASSERT_EQ(deploy(), O::Done) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.first(), "Layout/mainmenult.ini aus dem Hauptordner kopiert.");
    EXPECT_EQ(bytesWritten(), 2 * menu.size() + readFile(card + "/MN4/prefs.ini").size());
    EXPECT_EQ(readFile(card + "/MN4/Layout/mainmenult.ini"), menu);
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join('|').toStdString();
}

TEST_F(SkinDeployTest, RefusalsChangeNothing)
{
    const struct { const char* name; std::function<O()> act; O outcome; QString last; } rows[] = {
        {"checker finds errors", [&] { return deploy({}, {true, {"mainmenult.ini:home: Fehler"}}); }, O::Refused,
         "Die Prüfung fand Fehler. Nichts wurde übertragen."},
        {"no skin folder", [&] { return deploy({}, {}, base.path()); }, O::NoDevice, "„"},
        {"warnings declined", [&] { agree = [](const QStringList&) { return false; };
                                    return deploy({}, {false, {"mainmenult.ini:home: Warnung"}}); },
         O::Refused, "Abgebrochen. Nichts wurde übertragen."},
        {"new skin not moved into place", [&] {
             device.onCall = [&](const FaultyDevice::Call& c) {
                 if (c.name == "CeMoveFile" && c.path.endsWith("Skins\\DemoSkin"))
                     device.failMoveAt = device.count("CeMoveFile") - 1;
             };
             return deploy(); }, O::Refused, "Der Skin konnte auf dem PDA nicht abgelegt werden."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QStringList before = treeOf(card);
        EXPECT_EQ(row.act(), row.outcome);
        EXPECT_TRUE(lines.last().startsWith(row.last)) << lines.last().toStdString();
        EXPECT_EQ(treeOf(card), before);
    }
}

} // namespace
