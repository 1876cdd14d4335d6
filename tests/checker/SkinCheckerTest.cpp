#include "Ini.h"
#include "ScreenRenderer.h"
#include "SkinChecker.h"
#include "TestFiles.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A scratch copy of the demo skin; a change to a layout file also goes to its
// copy in Layout, so that only the change itself is found.
struct Skin
{
    Skin() { copyTree(QStringLiteral(TIVARO_SAMPLES_DIR "/DemoSkin"), path); }
    QStringList copies(const QString& name) const
    {
        const QString layout = path + QStringLiteral("/Layout/") + name;
        return QFile::exists(layout) ? QStringList{path + u'/' + name, layout} : QStringList{path + u'/' + name};
    }
    void set(const QString& name, const QString& section, const QString& key, const QString& value) const
    {
        for (const QString& file : copies(name))
            WriteIni(file, section, key, value);
    }
    void replace(const QString& name, const QByteArray& from, const QByteArray& to) const
    {
        for (const QString& file : copies(name))
            writeFile(file, readFile(file).replace(from, to));
    }
    // Renames every copy of a file, or removes them when to is empty.
    void move(const QString& name, const QString& to) const
    {
        for (const QString& file : copies(name))
            to.isEmpty() ? QFile::remove(file) : QFile::rename(file, QFileInfo(file).path() + u'/' + to);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("DemoSkin"));
};

struct Row
{
    const char* what;
    std::function<void(const Skin&)> change;
    const char* finding; // the start of the one line expected
};

class SkinCheckerTest : public ::testing::TestWithParam<Row> {};

TEST_P(SkinCheckerTest, OneChangeGivesItsFinding)
{
    const Skin skin;
    GetParam().change(skin);
    const QString text = FindingsText(SkinChecker::check(skin.path).findings);
    const QString want = QString::fromUtf8(GetParam().finding);
    EXPECT_EQ(text.count(u'\n'), 1) << text.toStdString();
    EXPECT_EQ(text.left(want.size()), want);
}

INSTANTIATE_TEST_SUITE_P(Rows, SkinCheckerTest, ::testing::Values(
    Row{"below the screen", [](const Skin& s) { s.set("mainmenult.ini", "home", "y", "300"); },
        "mainmenult.ini:home: Fehler: ragt aus dem Bildschirm (240 × 320) heraus; auf dem Bildschirm x 10, y 300, cx 105, cy 54 (Hauptmenu)"},
    Row{"one pixel beyond the edge", [](const Skin& s) { s.set("mainmenult.ini", "quit", "x", "136"); },
        "mainmenult.ini:quit: Fehler: ragt aus dem Bildschirm (240 × 320) heraus; auf dem Bildschirm x 136,"},
    Row{"dialog element counted from its box", [](const Skin& s) { s.set("msgboxminlt.ini", "message_area", "x", "300"); },
        "msgboxminlt.ini:message_area: Fehler: liegt ganz außerhalb des Bildschirms (240 × 320); auf dem Bildschirm x 310, y 45,"},
    Row{"no width", [](const Skin& s) { s.set("mainmenult.ini", "home", "cx", "0"); },
        "mainmenult.ini:home: Fehler: Breite oder Höhe ist null oder negativ (cx 0, cy 54) (Hauptmenu)"},
    Row{"overlap", [](const Skin& s) { s.set("mainmenult.ini", "speech", "x", "100"); },
        "mainmenult.ini:speech: Warnung: überdeckt „home“ in mainmenult.ini (Hauptmenu)"},
    Row{"list item as wide as its list", [](const Skin& s) { s.set("simplepopuplt.ini", "listboxitem", "cx", "240"); },
        "simplepopuplt.ini:listboxitem: Fehler: ist so breit wie „listbox“ oder breiter; für „up“ und „down“ bleibt kein Platz"},
    Row{"missing file", [](const Skin& s) { s.move("speechrecorddlglt.ini", {}); },
        "speechrecorddlglt.ini: Warnung: Datei fehlt; MN4 nimmt für ihre Elemente seine eigene Vorgabe (DialogAufnahme)"},
    Row{"missing section", [](const Skin& s) { s.replace("mainmenult.ini", "[speech]", "[speak]"); },
        "mainmenult.ini:speech: Warnung: Abschnitt fehlt; MN4 nimmt seine eigene Vorgabe (Hauptmenu)"},
    Row{"missing key", [](const Skin& s) { s.replace("mainmenult.ini", "cy= 54\r\n\r\n[speech]", "\r\n[speech]"); },
        "mainmenult.ini:home: Warnung: „cy“ fehlt; MN4 nimmt seine eigene Vorgabe (Hauptmenu)"},
    Row{"no number", [](const Skin& s) { s.set("mainmenult.ini", "home", "x", "12,5"); },
        "mainmenult.ini:home: Fehler: „x= 12,5“ ist keine Zahl; MN4 liest 12 (Hauptmenu)"},
    Row{"section twice", [](const Skin& s) { s.replace("mainmenult.ini", "[quit]", "[home]\r\nx= 1\r\n[quit]"); },
        "mainmenult.ini:home: Warnung: Abschnitt steht 2-mal in der Datei; MN4 und der Editor lesen nur den ersten"},
    Row{"no marker", [](const Skin& s) { s.move("DemoSkin.ini", {}); },
        "DemoSkin.ini: Fehler: Markerdatei fehlt"},
    Row{"root only", [](const Skin& s) { QFile::remove(s.path + "/Layout/mainmenult.ini"); },
        "mainmenult.ini: Fehler: kommt beim Aktivieren nicht auf den PDA: aus dem Hauptordner gehen nur NavLib.ini, defaultlt.ini und mapviewlt.ini dorthin; eine Kopie gehört nach Layout"},
    Row{"Layout copy differs", [](const Skin& s) { WriteIni(s.path + QStringLiteral("/mainmenult.ini"), "home", "x", "11"); },
        "Layout/mainmenult.ini: Fehler: weicht von mainmenult.ini im Hauptordner ab"},
    Row{"navlib in lower case", [](const Skin& s) { s.move("NavLib.ini", "navlib.ini"); },
        "navlib.ini: Fehler: kommt beim Aktivieren nicht auf den PDA; MN4 bekommt nur „NavLib.ini“ in genau dieser Schreibweise"},
    Row{"map view in other case", [](const Skin& s) { s.move("mapviewlt.ini", "MapViewLt.ini"); },
        "MapViewLt.ini: Fehler: kommt beim Aktivieren nicht auf den PDA: aus dem Hauptordner gehen nur NavLib.ini, defaultlt.ini und mapviewlt.ini dorthin; eine Kopie gehört nach Layout (oder genau die Schreibweise „mapviewlt.ini“)"}),
    [](const auto& info) { return QString::fromLatin1(info.param.what).replace(u' ', u'_').toStdString(); });

TEST(DemoSkinTest, BothFamiliesGiveNoFinding)
{
    for (const char* name : {"/DemoSkin", "/DemoSkinTMC"})
        EXPECT_EQ(FindingsText(SkinChecker::check(TIVARO_SAMPLES_DIR + QString::fromLatin1(name)).findings), QString());
}

// The real program, run from a scratch program folder beside the build's bitmaps.
struct Program
{
    Program()
    {
        QFile::copy(QStringLiteral(TIVARO_BINARY), dir.filePath(QStringLiteral("tivaro")));
        QFile::link(QStringLiteral(TIVARO_PROGRAM_DIR "/pics"), dir.filePath(QStringLiteral("pics")));
    }
    int run(const QStringList& arguments)
    {
        QProcess p;
        p.start(dir.filePath(QStringLiteral("tivaro")), arguments);
        p.waitForFinished(120000);
        out = p.readAllStandardOutput();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QTemporaryDir dir;
    QByteArray out;
};

TEST(CommandLineTest, CheckExitsWithTheWorstFinding)
{
    Program program;
    const Skin skin;
    EXPECT_EQ(program.run({"--check", skin.path}), 0);
    EXPECT_EQ(program.out, QByteArray());
    skin.set("mainmenult.ini", "home", "y", "300");
    EXPECT_EQ(program.run({"--check", skin.path}), 1);
    EXPECT_TRUE(program.out.startsWith("mainmenult.ini:home: Fehler: ragt aus dem Bildschirm")) << program.out.data();
    EXPECT_EQ(program.run({"--check", skin.path, "--json"}), 1);
    EXPECT_EQ(QJsonDocument::fromJson(program.out)[0]["section"].toString(), QStringLiteral("home"));
    EXPECT_EQ(program.run({"--check", skin.path + "/none"}), 2);
}

TEST(CommandLineTest, RenderWritesWhatTheRendererPaintsAndLeavesTheSettingsAlone)
{
    Program program;
    const Skin skin;
    // The user's settings, as a hand-edited file: the command-line modes neither read nor write them.
    const QString settings = program.dir.filePath(QStringLiteral("Tivaro.ini"));
    const QByteArray stored = "; mine\n[Directory]\nlastDir = \"D:\\Skins\\Alt\"\n";
    writeFile(settings, stored);
    // A full screen, a map view with its info bar and a list pop-up with its parts.
    const QStringList screens = {"Routenoptionen", "Kartenansicht 3", "AdresseingabeEdit"};
    const QString out = program.dir.filePath(QStringLiteral("out"));
    ASSERT_EQ(program.run({"--render", skin.path, "--screen", "all", "--out", out}), 0);
    EXPECT_EQ(readFile(settings), stored);

    ScreenRenderer renderer(program.dir.path() + u'/');
    ASSERT_TRUE(renderer.open(skin.path));
    for (const QString& screen : screens)
        EXPECT_EQ(QImage(out + u'/' + screen + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32),
                  renderer.render(screen).convertToFormat(QImage::Format_RGB32))
            << screen.toStdString();
}

} // namespace
