#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "FileSizeLimit.h"
#include "FolderBrowser.h"
#include "Ini.h"
#include "SpeedProfileChart.h"
#include "WindowTestSupport.h"
#include "frmPreferences.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <memory>

namespace {

// The window over the demo device and map export folder; the tests tick by hand
// and the map export tool is never started for real.
class FrmPreferencesTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        copyTree(TIVARO_SAMPLES "/demo-device", path("device"));
        copyTree(TIVARO_SAMPLES "/map-export", path("export"));
        writeFile(path("Tivaro.ini"), "[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nMapExportDir= "
                                          + QDir::toNativeSeparators(path("export")).toUtf8() + "\r\n");
    }

    // A fresh window; what was shown, run or started before is forgotten.
    std::unique_ptr<frmPreferences> open(QString wine = "/usr/bin/wine")
    {
        prompter.shown.clear();
        prompter.dialogsRun = 0;
        started.clear();
        MapExportLauncher launcher;
        launcher.findWine = [wine] { return wine; };
        launcher.startDetached = [this](const QString& program, const QStringList& arguments, const QString&) {
            started << program << arguments;
            return startWorks;
        };
        auto w = std::make_unique<frmPreferences>(ToolContext{programFolder, prompter}, connection, link, nullptr, std::move(launcher));
        control<QTimer>(*w, "Timer1")->stop();
        EXPECT_TRUE(activate(*w));
        return w;
    }
    static QLineEdit* field(const QWidget& w, const char* name, int i = -1) { return control<QLineEdit>(w, name, i); }
    static void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static void click(QWidget& w, const char* n) { QTest::mouseClick(control<QPushButton>(w, n), Qt::LeftButton); }
    // Ticks the boxes, presses the update button and returns the messages shown since opening.
    QStringList update(QWidget& w, const std::initializer_list<int>& boxes) const
    {
        for (int box : boxes)
            QTest::keyClick(control<QCheckBox>(w, "ChkUpdate", box), Qt::Key_Space);
        click(w, "CMDUpdate");
        return texts();
    }
    QString deviceFile(const QString& name) const { return path("device/MN4/" + name); }

    FaultyDevice device{path("device")};
    DeviceLink link{device, prompter};
    DeviceConnection connection;
    QStringList started;
    bool startWorks = true;
};

// Enter moves on; leaving a field checks its input, and a rejected one keeps the focus.
TEST_F(FrmPreferencesTest, EnterMovesToTheNextFieldOnceItsInputIsValid)
{
    auto w = open();
    const struct { const char* control; int index; QString typed; bool accepted; QString speedLineStart; } cases[] = {
        {"TXT0", 8, "-5", false, "|100|"}, {"TXT0", 8, "abc", false, "|100|"}, {"TXT0", 8, "100", true, "|100|"},
        {"TXT0", 8, "95", true, "|95|"},   {"TXT0", 8, "1e308", false, "|95|"}, // the weights would overflow
        {"TXT0", 8, "0", true, "|0|"},     {"TXTG", 1, "2", true, "|0|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        QLineEdit* edit = field(*w, c.control, c.index);
        const QString weightBefore = field(*w, "TXTW", 8)->text();
        type(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget() == edit, !c.accepted);
        EXPECT_EQ(edit->text(), c.typed); // a rejected text stays for the user to mend
        EXPECT_TRUE(field(*w, "TXTSPEED")->text().startsWith(c.speedLineStart));
        EXPECT_TRUE(c.accepted || field(*w, "TXTW", 8)->text() == weightBefore);
    }
    EXPECT_EQ(w->model().global(SpeedProfile::Verbrauchskosten), 2);
    EXPECT_TRUE(prompter.shown.isEmpty());
    const struct { const char* from; int fromIndex; const char* to; int toIndex; } moves[] = {
        {"TXT0", 0, "TXT1", 0},  {"TXT1", 0, "TXT0", 1},      {"TXT1", 7, "TXT0", 8},
        {"TXT1", 15, "TXTG", 0}, {"TXTG", 2, "TXTSPEED", -1}, {"TXTSPEED", -1, "TXTPREFS", -1},
    };
    for (const auto& c : moves) {
        field(*w, c.from, c.fromIndex)->setFocus();
        QTest::keyClick(field(*w, c.from, c.fromIndex), Qt::Key_Enter);
        EXPECT_EQ(QApplication::focusWidget(), field(*w, c.to, c.toIndex)) << c.from << c.fromIndex;
    }
    // Enter never presses a button: nothing was saved.
    EXPECT_EQ(ReadIni(path("Tivaro.ini"), "MProfile", "Speed", "none"), "none");
}

// The chart shows the profile of the text being typed, keystroke by keystroke, while the
// model and the other fields wait for the field to be left. Speeds are bars, factors points.
TEST_F(FrmPreferencesTest, ChartFollowsEveryKeystroke)
{
    const struct { const char* control; int index; QString typed; SpeedProfile::Field field; QString shown; } cases[] = {
        {"TXT0", 8, "300", SpeedProfile::Field::Speed, "300"}, // I_BAB becomes the fastest class
        {"TXT1", 3, "4", SpeedProfile::Field::Consumption, "4"},
        {"TXTG", 2, "3", SpeedProfile::Field::Global, "3"},
        // A text the model rejects shows the profile as it stands, not its last valid start.
        {"TXT0", 8, "12a", SpeedProfile::Field::Speed, "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        auto w = open();
        auto* chart = control<SpeedProfileChart>(*w, "speedProfileChart");
        type(field(*w, c.control, c.index), c.typed);
        SpeedProfile expected;
        expected.load(path("Tivaro.ini"));
        ASSERT_NE(expected.edit(c.field, c.index, c.shown), SpeedProfile::EditResult::Rejected);
        for (int i = 0; i < SpeedProfile::ClassCount; ++i) {
            EXPECT_EQ(chart->speed(i), expected.value(i, SpeedProfile::Speed)) << i;
            EXPECT_EQ(chart->factor(i), expected.value(i, SpeedProfile::PreferenceFactor)) << i;
        }
        EXPECT_EQ(w->model().value(0, SpeedProfile::Speed), 120);
        EXPECT_EQ(field(*w, "TXTW", 1)->text(), "92.2");
        const QImage picture = chart->grab().toImage();
        const auto at = [&](QPointF point) { return picture.pixelColor(point.toPoint()); };
        // Bars keep the ratio of their speeds, the fastest within the axis.
        EXPECT_NEAR(chart->speedBar(8).height() / chart->speedBar(0).height(), chart->speed(8) / chart->speed(0), 0.01);
        EXPECT_NE(at(chart->speedBar(8).topLeft() + QPointF(2, -3)), SpeedProfileChart::speedColor());
        for (const int i : {0, 8, 15})
            EXPECT_EQ(at(chart->speedBar(i).center()), SpeedProfileChart::speedColor()) << i;
        for (const int i : {0, 7, 8, 15})
            EXPECT_EQ(at(chart->factorPoint(i)), SpeedProfileChart::factorColor()) << i;
    }
}

// Closing with typed values that were neither saved nor used asks; Yes saves
// as "Speichern" does, No drops them, Cancel and Escape keep the window open.
TEST_F(FrmPreferencesTest, ClosingWithTypedValuesAsksToSaveThem)
{
    const QString question = "Sollen die Werte gespeichert werden?";
    const QString failed = "Tivaro.ini konnte nicht gespeichert werden.";
    // blocked: a folder stands where Tivaro.ini goes; no answer: the question is closed with Escape.
    const struct { const char* name; bool typed, savedFirst, blocked; std::optional<Prompter::Answer> answer;
                   QStringList messages; bool closed, saved; } cases[] = {
        {"yes", true, false, false, Prompter::Answer::Yes, {question}, true, true},
        {"no", true, false, false, Prompter::Answer::No, {question}, true, false},
        {"escape", true, false, false, std::nullopt, {question}, false, false},
        {"nothing typed", false, false, false, std::nullopt, {}, true, false},
        {"saved before", true, true, false, std::nullopt, {}, true, true},
        {"saving fails", true, false, true, Prompter::Answer::Yes, {question, failed}, false, false},
        {"button fails", true, true, true, Prompter::Answer::No, {failed, question}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(path("Tivaro.ini")).removeRecursively();
        writeFile(path("Tivaro.ini"), "[A_BAB]\r\nSpeed= 130\r\n[MProfile]\r\nSpeed= |1|2\r\n");
        auto w = open();
        // Unusable stored numbers are the model's test; here the window shows what it loaded.
        EXPECT_EQ(field(*w, "TXT0", 0)->text() + field(*w, "TXTSPEED")->text(), "130|1|2");
        if (c.blocked) {
            QFile::remove(path("Tivaro.ini"));
            QDir(dir.path()).mkdir("Tivaro.ini");
        }
        if (c.typed)
            type(field(*w, "TXT0", 0), "95"); // still in the field: typed all the same
        if (c.savedFirst)
            click(*w, "CMDSave");
        if (c.answer)
            prompter.answer(*c.answer);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        EXPECT_EQ(texts(), c.messages);
        for (const auto& shown : std::as_const(prompter.shown))
            EXPECT_EQ(shown.buttons, shown.text == question ? Prompter::Buttons::YesNoCancel : Prompter::Buttons::Ok);
        EXPECT_EQ(w->isVisible(), !c.closed);
        EXPECT_EQ(ReadIni(path("Tivaro.ini"), "A_BAB", "Speed", ""), c.saved ? "95" : c.blocked ? "" : "130");
    }
}

// The lights are the skin window's test; here the button drives the shared connection.
TEST_F(FrmPreferencesTest, ConnectButtonDrivesTheSharedConnection)
{
    connection.mn4Folder = "kept";
    auto w = open();
    click(*w, "BTNToPDA");
    w->Timer1_Timer();
    EXPECT_EQ(control<QPushButton>(*w, "BTNToPDA")->text(), "trennen");
    EXPECT_EQ(connection.mn4Folder, "kept"); // this button leaves MN4's folder to the update
}

TEST_F(FrmPreferencesTest, UpdateMessagesComeInTheirOrder)
{
    const QString connect = "Bitte erst mit dem PDA verbinden!";
    const struct { bool connected; std::initializer_list<int> boxes; QStringList messages; bool pcWritten; } cases[] = {
        {false, {3}, {"Fertig!"}, true},       {false, {0, 2, 4}, {connect, "Fertig!"}, true},
        {false, {0, 1, 2}, {connect}, false},  {false, {}, {}, false},
        {true, {1, 5}, {"Fertig!", QDir::toNativeSeparators(path("export/MapExportTNG.exe")) + "\nwurde nicht gefunden!"}, false},
        {true, {0, 1, 2, 3, 4}, {"Fertig!"}, true}, // last: every file keeps its line
    };
    const QByteArray original = readFile(path("export/speedprofiles.ini"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.messages.join('|').toStdString());
        c.connected ? link.ConnectDevice() : link.DisconnectDevice();
        writeFile(path("export/speedprofiles.ini"), original);
        auto w = open();
        type(field(*w, "TXTSPEED"), "|100|80");
        type(field(*w, "TXTPREFS"), "|1.0|0.5");
        EXPECT_EQ(update(*w, c.boxes), c.messages);
        EXPECT_EQ(readFile(path("export/speedprofiles.ini")) != original, c.pcWritten);
        EXPECT_FALSE(control<QCheckBox>(*w, "ChkUpdate", 5)->isChecked());
        EXPECT_EQ(connection.mn4Folder, "\\MN4\\");
    }
    EXPECT_TRUE(started.isEmpty());
    // Byte for byte the splices belong to the update's own tests; here the lines reach every file.
    const struct { QString file; const char* section; const char* key; QString value; } rows[] = {
        {deviceFile("prefs.ini"), "speedprofile", "fast", "Fast|100|80"},
        {deviceFile("NavLib.ini"), "routing", "factors", "Default|1.000|0.500|1.000|1.000|1.000"},
        {path("export/speedprofiles.ini"), "factors", "fast", "car|1.0|0.5|1.0,|1.0,|1.0"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ReadIni(row.file, row.section, row.key, ""), row.value) << row.key;
    // The temporary copies are gone, and nothing was left beside the device files.
    EXPECT_EQ(QDir(dir.path()).entryList({"prefs*", "NavLib*"}, QDir::Files), QStringList());
    EXPECT_EQ(QDir(path("device/MN4")).entryList({"*.new"}, QDir::Files | QDir::Hidden), QStringList());
}

// A row that fails is shown, its file stays as it was, and no "Fertig!" follows.
TEST_F(FrmPreferencesTest, AFailedRowLeavesItsFileAlone)
{
    const QString profiles = path("export/speedprofiles.ini");
    const struct { int box; QString file; std::function<void()> fault; qint64 fileLimit; QString message; } cases[] = {
        {0, deviceFile("prefs.ini"), [this] { device.failReadAt = 0; }, 0, "Device File Could Not Be Read Completely!"},
        {2, deviceFile("NavLib.ini"), [this] { QFile::remove(deviceFile("NavLib.ini")); }, 0,
         "Device File Does Not Exist Or Is Empty (0 Bytes)!"},
        {1, deviceFile("prefs.ini"), [this] { device.failWriteAt = 0; }, 0,
         "Device File Could Not Be Written Completely!"},
        // A full disk: the update makes speedprofiles.ini longer than it may grow.
        {3, profiles, [] {}, 520, QDir::toNativeSeparators(profiles) + "\nkonnte nicht gespeichert werden."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        link.ConnectDevice();
        c.fault();
        const QByteArray before = readFile(c.file);
        ASSERT_TRUE(c.fileLimit == 0 || before.size() == c.fileLimit);
        auto w = open();
        const auto run = [&] { return update(*w, {c.box}) == QStringList{c.message} ? 0 : 1; };
        EXPECT_EQ(c.fileLimit ? runWithFileSizeLimit(c.fileLimit, run) : run(), 0)
            << texts().join('|').toStdString();
        device.failReadAt = device.failWriteAt = -1;
        EXPECT_EQ(readFile(c.file), before);
        EXPECT_EQ(QDir(dir.path()).entryList({"prefs*", "NavLib*"}, QDir::Files), QStringList());
    }
}

TEST_F(FrmPreferencesTest, MissingMapExportFolderAsksForIt)
{
    const QString ask = "Bitte den Pfad zum MapExport eingeben.", none = "Keine speedprofiles.ini gefunden!";
    QDir(dir.path()).mkdir("empty");
    // choose: the picker chooses the demo map export folder, else it is cancelled.
    const struct { bool choose; std::initializer_list<int> boxes; QStringList messages; int dialogs; } cases[] = {
        {true, {4}, {ask, "Fertig!"}, 1}, {false, {3}, {ask, none}, 1}, {false, {}, {none}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.messages.join('|').toStdString());
        WriteIni(path("Tivaro.ini"), "Directory", "MapExportDir", QDir::toNativeSeparators(path("empty")));
        if (c.choose)
            prompter.onDialog([this](QObject& dialog) {
                auto* browser = qobject_cast<FolderBrowser*>(&dialog);
                return browser && browser->selectPath(path("export")) && (browser->accept(), true);
            });
        auto w = open();
        EXPECT_EQ(update(*w, c.boxes), c.messages);
        EXPECT_EQ(prompter.dialogsRun, c.dialogs);
        EXPECT_FALSE(control<QCheckBox>(*w, "ChkUpdate", 3)->isChecked());
        EXPECT_EQ(control<QCheckBox>(*w, "ChkUpdate", 4)->isChecked(), c.choose);
        EXPECT_EQ(ReadIni(path("Tivaro.ini"), "Directory", "MapExportDir", ""),
                  QDir::toNativeSeparators(path(c.choose ? "export" : "empty")));
    }
}

#ifndef Q_OS_WIN
TEST_F(FrmPreferencesTest, TheMapExportToolStartsThroughWine)
{
    writeFile(path("export/mapexporttng.EXE"), "MZ");
    const QString tool = QDir::toNativeSeparators(path("export/mapexporttng.EXE"));
    const struct { QString wine; bool startWorks; QStringList messages; } cases[] = {
        {"/usr/bin/wine", true, {}},
        {"", true, {tool + "\nkann nicht gestartet werden: Das Programm wine wurde nicht gefunden."}},
        {"/usr/bin/wine", false, {tool + "\nkonnte nicht gestartet werden."}},
    };
    for (const auto& c : cases) {
        startWorks = c.startWorks;
        auto w = open(c.wine);
        EXPECT_EQ(update(*w, {5}), c.messages);
        EXPECT_EQ(control<QCheckBox>(*w, "ChkUpdate", 5)->isChecked(), c.messages.isEmpty()); // kept only when started
        const QStringList call{"/usr/bin/wine", "start", "/min", "/unix", QDir::fromNativeSeparators(tool)};
        EXPECT_EQ(started, c.wine.isEmpty() ? QStringList() : call);
    }
}
#endif

} // namespace
