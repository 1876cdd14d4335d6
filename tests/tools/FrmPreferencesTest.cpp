#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "FileSizeLimit.h"
#include "FolderDevice.h"
#include "Ini.h"
#include "TestFiles.h"
#include "WindowTestSupport.h"
#include "frmPreferences.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "FolderBrowser.h"

#include <memory>

namespace {

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

    // The window over the demo device; without launcher the tool is never started for real.
    std::unique_ptr<frmPreferences> open() { return open(quietLauncher()); }
    std::unique_ptr<frmPreferences> open(MapExportLauncher launcher)
    {
        auto w = std::make_unique<frmPreferences>(state, connection, link, nullptr, std::move(launcher));
        control<QTimer>(*w, "Timer1")->stop(); // the tests tick by hand
        w->show();
        return w;
    }

    MapExportLauncher quietLauncher()
    {
        MapExportLauncher launcher;
        launcher.findWine = [] { return "/usr/bin/wine"; };
        launcher.startDetached = [this](const QString& program, const QStringList& arguments, const QString&) {
            started << program << arguments;
            return startWorks;
        };
        return launcher;
    }

    static QLineEdit* field(const QWidget& w, const char* name, int index = -1)
    {
        return control<QLineEdit>(w, name, index);
    }
    static void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static void tick(QWidget& w, const std::initializer_list<int>& boxes)
    {
        for (int box : boxes)
            QTest::keyClick(control<QCheckBox>(w, "ChkUpdate", box), Qt::Key_Space);
    }
    static void click(QWidget& w, const char* button)
    {
        QTest::mouseClick(control<QPushButton>(w, button), Qt::LeftButton);
    }
    static QColor light(const QWidget& w, const char* name)
    {
        return control<QFrame>(w, name)->palette().color(QPalette::Window);
    }
    QString deviceFile(const QString& name) const { return path("device/MN4/" + name); }

    FolderDevice folder{path("device")};
    FaultyDevice device{folder};
    DeviceLink link{device, prompter};
    DeviceConnection connection;
    QStringList started;
    bool startWorks = true;
};

TEST_F(FrmPreferencesTest, OpensWithSavedLinesAndParameters)
{
    writeFile(path("Tivaro.ini"),
              "[A_BAB]\r\nSpeed= 130\r\nConsumes= x\r\n[I_Wohnstr]\r\nSpeed= 1e308\r\n[MProfile]\r\nSpeed= |1|2\r\n");
    auto w = open();
    EXPECT_EQ(field(*w, "TXT0", 0)->text(), "130");
    EXPECT_EQ(field(*w, "TXT1", 0)->text(), "11"); // unusable: the default
    EXPECT_EQ(field(*w, "TXT0", 15)->text(), "20"); // the weights would overflow: the default
    EXPECT_EQ(field(*w, "TXTG", 0)->text(), "20");
    EXPECT_EQ(field(*w, "TXTW", 0)->text(), "100.0");
    EXPECT_EQ(field(*w, "TXTSPEED")->text(), "|1|2"); // the saved line wins over the rendered one
    EXPECT_EQ(field(*w, "TXTPREFS")->text(), w->model().renderedPreferenceLine());
}

TEST_F(FrmPreferencesTest, LeavingAFieldChecksTheInput)
{
    auto w = open();
    ASSERT_TRUE(activate(*w));
    const struct
    {
        const char* name;
        const char* control;
        int index;
        QString typed;
        bool accepted;
        QString speedLineStart;
    } cases[] = {
        {"negative", "TXT0", 8, "-5", false, "|100|"}, {"no number", "TXT0", 8, "abc", false, "|100|"},
        {"same value", "TXT0", 8, "100", true, "|100|"}, {"new speed", "TXT0", 8, "95", true, "|95|"},
        {"weights would overflow", "TXT0", 8, "1e308", false, "|95|"},
        {"zero speed", "TXT0", 8, "0", true, "|0|"}, {"new price", "TXTG", 1, "2", true, "|0|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QLineEdit* edit = field(*w, c.control, c.index);
        const QString weightBefore = field(*w, "TXTW", 8)->text();
        type(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget() == edit, !c.accepted);
        EXPECT_EQ(edit->text(), c.typed); // a rejected text stays for the user to mend
        EXPECT_TRUE(field(*w, "TXTSPEED")->text().startsWith(c.speedLineStart));
        if (!c.accepted) {
            EXPECT_EQ(field(*w, "TXTW", 8)->text(), weightBefore);
        }
    }
    EXPECT_EQ(w->model().value(8, SpeedProfile::Speed), 0);
    EXPECT_EQ(w->model().global(SpeedProfile::Verbrauchskosten), 2);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(FrmPreferencesTest, EnterMovesToTheNextField)
{
    auto w = open();
    ASSERT_TRUE(activate(*w));
    const struct { const char* from; int fromIndex; const char* to; int toIndex; } cases[] = {
        {"TXT0", 0, "TXT1", 0},   {"TXT1", 0, "TXT0", 1},     {"TXT1", 7, "TXT0", 8},
        {"TXT1", 15, "TXTG", 0},  {"TXTG", 2, "TXTSPEED", -1}, {"TXTSPEED", -1, "TXTPREFS", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + std::to_string(c.fromIndex));
        QLineEdit* from = field(*w, c.from, c.fromIndex);
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Enter);
        EXPECT_EQ(QApplication::focusWidget(), field(*w, c.to, c.toIndex));
    }
    // Enter never presses a button: nothing was saved.
    EXPECT_EQ(ReadIni(path("Tivaro.ini"), "MProfile", "Speed", "none"), "none");
}

// Closing with typed values that were neither saved nor used asks; Yes saves
// as "Speichern" does, No drops them, Cancel and Escape keep the window open.
TEST_F(FrmPreferencesTest, ClosingWithTypedValuesAsksToSaveThem)
{
    const QString question = "Sollen die Werte gespeichert werden?";
    const QString failed = "Tivaro.ini konnte nicht gespeichert werden.";
    const struct
    {
        const char* name;
        bool typed, savedFirst, blocked; // blocked: a folder stands where Tivaro.ini goes
        std::optional<Prompter::Answer> answer; // none: the question is closed with Escape
        QStringList messages;
        bool closed, saved;
    } cases[] = {
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
        prompter.shown.clear();
        QDir(path("Tivaro.ini")).removeRecursively();
        WriteIni(path("Tivaro.ini"), "A_BAB", "Speed", "120");
        auto w = open();
        ASSERT_TRUE(activate(*w));
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
            if (shown.text == question)
                EXPECT_EQ(shown.buttons, Prompter::Buttons::YesNoCancel);
        EXPECT_EQ(w->isVisible(), !c.closed);
        EXPECT_EQ(ReadIni(path("Tivaro.ini"), "A_BAB", "Speed", ""), c.saved ? "95" : c.blocked ? "" : "120");
    }
}

TEST_F(FrmPreferencesTest, ConnectButtonLightsAndTimerShareTheConnection)
{
    const QColor brightRed(255, 0, 0), darkRed(128, 0, 0), darkYellow(64, 64, 0), brightGreen(0, 255, 0),
        darkGreen(0, 64, 0);
    connection.mn4Folder = "kept";
    auto w = open();
    auto lights = [&] { return QList<QColor>{light(*w, "Shape1"), light(*w, "Shape2"), light(*w, "Shape4")}; };
    const struct { bool connected; QList<QColor> lights; QString caption; } steps[] = {
        {true, {darkRed, darkYellow, brightGreen}, "trennen"},
        {false, {brightRed, darkYellow, darkGreen}, "verbinden"},
    };
    for (const auto& step : steps) {
        click(*w, "BTNToPDA");
        EXPECT_EQ(connection.connectWanted, step.connected);
        w->Timer1_Timer();
        EXPECT_EQ(link.IsDeviceConnected(), step.connected);
        EXPECT_EQ(lights(), step.lights);
        EXPECT_EQ(control<QPushButton>(*w, "BTNToPDA")->text(), step.caption);
    }
    EXPECT_EQ(connection.mn4Folder, "kept"); // this button leaves MN4's folder to the update
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(FrmPreferencesTest, UpdateMessagesComeInTheirOrder)
{
    const QString tool = QDir::toNativeSeparators(path("export") + "/MapExportTNG.exe");
    const struct
    {
        const char* name;
        bool connected;
        std::initializer_list<int> boxes;
        QStringList messages;
        bool pcWritten;
    } cases[] = {
        {"PC row without device", false, {3}, {"Fertig!"}, true},
        {"device and PC rows without device", false, {0, 2, 4}, {"Bitte erst mit dem PDA verbinden!", "Fertig!"}, true},
        {"device rows only without device", false, {0, 1, 2}, {"Bitte erst mit dem PDA verbinden!"}, false},
        {"nothing chosen", false, {}, {}, false},
        {"everything with device", true, {0, 1, 2, 3, 4}, {"Fertig!"}, true},
        {"tool missing", true, {1, 5}, {"Fertig!", tool + "\nwurde nicht gefunden!"}, false},
    };
    const QByteArray original = readFile(path("export/speedprofiles.ini"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        if (c.connected)
            link.ConnectDevice();
        else
            link.DisconnectDevice();
        writeFile(path("export/speedprofiles.ini"), original);
        auto w = open();
        type(field(*w, "TXTSPEED"), "|1|2");
        tick(*w, c.boxes);
        click(*w, "CMDUpdate");
        EXPECT_EQ(texts(), c.messages);
        for (const auto& shown : prompter.shown)
            EXPECT_EQ(shown.title, shown.text.endsWith("nicht gefunden!") ? "Hinweis!" : "Hinweis:");
        EXPECT_EQ(readFile(path("export/speedprofiles.ini")) != original, c.pcWritten);
        EXPECT_EQ(control<QLabel>(*w, "LDoing")->text(), "");
        EXPECT_FALSE(control<QCheckBox>(*w, "ChkUpdate", 5)->isChecked());
        EXPECT_EQ(connection.mn4Folder, "\\MN4\\");
    }
    EXPECT_TRUE(started.isEmpty());
}

// Byte for byte the splices are the INI layer's; here the lines reach every file.
TEST_F(FrmPreferencesTest, UpdateWritesTheLinesIntoEveryFile)
{
    link.ConnectDevice();
    auto w = open();
    type(field(*w, "TXTSPEED"), "|100|80");
    type(field(*w, "TXTPREFS"), "|1.0|0.5");
    tick(*w, {0, 1, 2, 3, 4});
    click(*w, "CMDUpdate");
    EXPECT_EQ(texts(), QStringList{"Fertig!"});
    const QString profiles = path("export/speedprofiles.ini");
    const struct { QString file; const char* section; const char* key; QString value; } rows[] = {
        {deviceFile("prefs.ini"), "speedprofile", "fast", "Fast|100|80"},
        {deviceFile("prefs.ini"), "preference", "standard", "Standard|1.0|0.5|1.0|1.0|1.0"},
        {deviceFile("NavLib.ini"), "routing", "factors", "Default|1.000|0.500|1.000|1.000|1.000"},
        {profiles, "speedprofile", "standard", "car|100|80"}, {profiles, "factors", "fast", "car|1.0|0.5|1.0,|1.0,|1.0"},
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
    const struct
    {
        const char* name;
        int box;
        QString file;
        std::function<void()> fault;
        qint64 fileLimit; // 0: none
        QString message;
    } cases[] = {
        {"fetch breaks off", 0, deviceFile("prefs.ini"), [this] { device.failReadAt = 0; }, 0,
         "Device File Could Not Be Read Completely!"},
        {"file missing", 2, deviceFile("NavLib.ini"), [this] { QFile::remove(deviceFile("NavLib.ini")); }, 0,
         "Device File Does Not Exist Or Is Empty (0 Bytes)!"},
        {"upload breaks off", 1, deviceFile("prefs.ini"), [this] { device.failWriteAt = 0; }, 0,
         "Device File Could Not Be Written Completely!"},
        {"PC disk full", 3, path("export/speedprofiles.ini"), [] {}, 520,
         QDir::toNativeSeparators(path("export/speedprofiles.ini")) + "\nkonnte nicht gespeichert werden."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        link.ConnectDevice();
        c.fault();
        const QByteArray before = readFile(c.file);
        ASSERT_TRUE(c.fileLimit == 0 || before.size() == c.fileLimit); // the update makes it longer
        auto w = open();
        tick(*w, {c.box});
        const auto update = [&] {
            click(*w, "CMDUpdate");
            return texts() == QStringList{c.message} ? 0 : 1;
        };
        EXPECT_EQ(c.fileLimit ? runWithFileSizeLimit(c.fileLimit, update) : update(), 0) << texts().join('|').toStdString();
        device.failReadAt = device.failWriteAt = -1;
        EXPECT_EQ(readFile(c.file), before);
        EXPECT_EQ(QDir(dir.path()).entryList({"prefs*", "NavLib*"}, QDir::Files), QStringList());
    }
}

TEST_F(FrmPreferencesTest, MissingMapExportFolderAsksForIt)
{
    QDir(dir.path()).mkdir("empty");
    WriteIni(path("Tivaro.ini"), "Directory", "MapExportDir", QDir::toNativeSeparators(path("empty")));
    const struct
    {
        const char* name;
        bool choose; // the picker chooses the demo map export folder, else it is cancelled
        std::initializer_list<int> boxes;
        QStringList messages;
        int dialogs;
    } cases[] = {
        {"chosen", true, {4}, {"Bitte den Pfad zum MapExport eingeben.", "Fertig!"}, 1},
        {"cancelled", false, {3}, {"Bitte den Pfad zum MapExport eingeben.", "Keine speedprofiles.ini gefunden!"}, 1},
        {"no PC row", false, {}, {"Keine speedprofiles.ini gefunden!"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        prompter.dialogsRun = 0;
        WriteIni(path("Tivaro.ini"), "Directory", "MapExportDir", QDir::toNativeSeparators(path("empty")));
        if (c.choose)
            prompter.onDialog([this](QObject& dialog) {
                auto* browser = qobject_cast<FolderBrowser*>(&dialog);
                if (!browser || !browser->selectPath(path("export")))
                    return false;
                browser->accept();
                return true;
            });
        auto w = open();
        tick(*w, c.boxes);
        click(*w, "CMDUpdate");
        EXPECT_EQ(texts(), c.messages);
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
    const struct { const char* name; QString wine; bool startWorks; QStringList messages; bool boxKept; } cases[] = {
        {"started", "/usr/bin/wine", true, {}, true},
        {"no wine", "", true, {tool + "\nkann nicht gestartet werden: Das Programm wine wurde nicht gefunden."}, false},
        {"start fails", "/usr/bin/wine", false, {tool + "\nkonnte nicht gestartet werden."}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        started.clear();
        startWorks = c.startWorks;
        MapExportLauncher launcher = quietLauncher();
        const QString wine = c.wine;
        launcher.findWine = [wine] { return wine; };
        auto w = open(launcher);
        tick(*w, {5});
        click(*w, "CMDUpdate");
        EXPECT_EQ(texts(), c.messages);
        EXPECT_EQ(control<QCheckBox>(*w, "ChkUpdate", 5)->isChecked(), c.boxKept);
        if (!c.wine.isEmpty())
            EXPECT_EQ(started, QStringList({"/usr/bin/wine", "start", "/min", "/unix",
                                            QDir::fromNativeSeparators(tool)}));
        else
            EXPECT_TRUE(started.isEmpty());
    }
}
#endif

TEST_F(FrmPreferencesTest, OpensModallyThroughThePrompter)
{
    QWidget owner;
    bool seen = false;
    prompter.onDialog([&](QObject& dialog) {
        auto* window = qobject_cast<frmPreferences*>(&dialog);
        seen = window && window->parentWidget() == &owner && window->windowTitle() == "Preferences";
        return false;
    });
    showPreferences(&owner, state, connection, link);
    EXPECT_TRUE(seen);
}

} // namespace
