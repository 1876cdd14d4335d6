#include "AppState.h"
#include "CanvasView.h"
#include "Ini.h"
#include "ScriptedPrompter.h"
#include "SkinChecker.h"
#include "frmTivaro.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString Samples = QStringLiteral(TIVARO_SAMPLES_DIR);

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
}

// A scratch copy of the demo skin; a change to a layout file also goes to its
// copy in Layout, so that only the change itself is found.
struct Skin
{
    Skin()
    {
        QDirIterator it(Samples + QStringLiteral("/DemoSkin"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            writeBytes(path + QDir(Samples + QStringLiteral("/DemoSkin")).relativeFilePath(file).prepend(u'/'),
                       bytesOf(file));
        }
    }
    QStringList copies(const QString& name) const
    {
        QStringList files{path + u'/' + name};
        if (QFile::exists(path + QStringLiteral("/Layout/") + name))
            files << path + QStringLiteral("/Layout/") + name;
        return files;
    }
    void set(const char* name, const char* section, const char* key, const char* value) const
    {
        for (const QString& file : copies(QString::fromLatin1(name)))
            WriteIni(file, QString::fromLatin1(section), QString::fromLatin1(key), QString::fromLatin1(value));
    }
    void replace(const char* name, const QByteArray& from, const QByteArray& to) const
    {
        for (const QString& file : copies(QString::fromLatin1(name)))
            writeBytes(file, bytesOf(file).replace(from, to));
    }
    void rename(const char* from, const char* to) const
    {
        for (const QString& file : copies(QString::fromLatin1(from)))
            QFile::rename(file, QFileInfo(file).path() + u'/' + QString::fromLatin1(to));
    }
    void remove(const char* name) const
    {
        QFile::remove(path + u'/' + QString::fromLatin1(name));
    }
    QStringList lines() const
    {
        QStringList lines;
        for (const Finding& f : SkinChecker::check(path).findings)
            lines << FindingLine(f);
        return lines;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("DemoSkin"));
};

struct Row
{
    const char* what;
    std::function<void(const Skin&)> change;
    const char* finding; // the start of the one line expected; nullptr for none
};

class SkinCheckerTest : public ::testing::TestWithParam<Row> {};

TEST_P(SkinCheckerTest, OneChangeGivesItsFinding)
{
    const Skin skin;
    GetParam().change(skin);
    const QStringList lines = skin.lines();
    if (!GetParam().finding) {
        EXPECT_EQ(lines, QStringList());
        return;
    }
    ASSERT_EQ(lines.size(), 1) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8(GetParam().finding))) << lines[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, SkinCheckerTest, ::testing::Values(
    Row{"demo", [](const Skin&) {}, nullptr},
    Row{"tmc family", [](const Skin& s) {
        for (const auto& [plain, tmc] : {std::pair{"defaultlt.ini", "defaultltTMC.ini"}, {"mainmenult.ini", "mainmenultSR.ini"},
                                         {"editdlglt.ini", "editdlgltsr.ini"}, {"gpsdlglt.ini", "startgpsdlglt.ini"}})
            s.rename(plain, tmc);
    }, nullptr},
    Row{"below the screen", [](const Skin& s) { s.set("mainmenult.ini", "home", "y", "300"); },
        "mainmenult.ini:home: Fehler: ragt aus dem Bildschirm (240 × 320) heraus; auf dem Bildschirm x 10, y 300, cx 105, cy 54 (Hauptmenu)"},
    Row{"dialog element counted from its box", [](const Skin& s) { s.set("msgboxminlt.ini", "message_area", "x", "300"); },
        "msgboxminlt.ini:message_area: Fehler: liegt ganz außerhalb des Bildschirms (240 × 320); auf dem Bildschirm x 310, y 45,"},
    Row{"no width", [](const Skin& s) { s.set("mainmenult.ini", "home", "cx", "0"); },
        "mainmenult.ini:home: Fehler: Breite oder Höhe ist null oder negativ (cx 0, cy 54) (Hauptmenu)"},
    Row{"overlap", [](const Skin& s) { s.set("mainmenult.ini", "speech", "x", "100"); },
        "mainmenult.ini:speech: Warnung: überdeckt „home“ in mainmenult.ini (Hauptmenu)"},
    Row{"list item as wide as its list", [](const Skin& s) { s.set("simplepopuplt.ini", "listboxitem", "cx", "240"); },
        "simplepopuplt.ini:listboxitem: Fehler: ist so breit wie „listbox“ oder breiter; für „up“ und „down“ bleibt kein Platz"},
    Row{"missing file", [](const Skin& s) { s.remove("speechrecorddlglt.ini"); s.remove("Layout/speechrecorddlglt.ini"); },
        "speechrecorddlglt.ini: Warnung: Datei fehlt; MN4 nimmt für ihre Elemente seine eigene Vorgabe (DialogAufnahme)"},
    Row{"missing section", [](const Skin& s) { s.replace("mainmenult.ini", "[speech]", "[speak]"); },
        "mainmenult.ini:speech: Warnung: Abschnitt fehlt; MN4 nimmt seine eigene Vorgabe (Hauptmenu)"},
    Row{"missing key", [](const Skin& s) { s.replace("mainmenult.ini", "cy= 54\r\n\r\n[speech]", "\r\n[speech]"); },
        "mainmenult.ini:home: Warnung: „cy“ fehlt; MN4 nimmt seine eigene Vorgabe (Hauptmenu)"},
    Row{"no whole number", [](const Skin& s) { s.set("mainmenult.ini", "home", "x", "12,5"); },
        "mainmenult.ini:home: Fehler: „x= 12,5“ ist keine ganze Zahl; MN4 liest 12 (Hauptmenu)"},
    Row{"section twice", [](const Skin& s) { s.replace("mainmenult.ini", "[quit]", "[home]\r\nx= 1\r\n[quit]"); },
        "mainmenult.ini:home: Warnung: Abschnitt steht 2-mal in der Datei; MN4 und der Editor lesen nur den ersten"},
    Row{"no marker", [](const Skin& s) { s.remove("DemoSkin.ini"); },
        "DemoSkin.ini: Fehler: Markerdatei fehlt"},
    Row{"root only", [](const Skin& s) { s.remove("Layout/mainmenult.ini"); },
        "mainmenult.ini: Fehler: kommt beim Aktivieren nicht auf den PDA: aus dem Hauptordner gehen nur NavLib.ini, defaultlt.ini und mapviewlt.ini dorthin; eine Kopie gehört nach Layout"},
    Row{"Layout copy differs", [](const Skin& s) { WriteIni(s.path + QStringLiteral("/mainmenult.ini"), "home", "x", "11"); },
        "Layout/mainmenult.ini: Fehler: weicht von mainmenult.ini im Hauptordner ab"},
    Row{"navlib in lower case", [](const Skin& s) { s.rename("NavLib.ini", "navlib.ini"); },
        "navlib.ini: Fehler: kommt beim Aktivieren nicht auf den PDA; MN4 bekommt nur „NavLib.ini“ in genau dieser Schreibweise"},
    Row{"map view in other case", [](const Skin& s) { s.rename("mapviewlt.ini", "MapViewLt.ini"); },
        "MapViewLt.ini: Fehler: kommt beim Aktivieren nicht auf den PDA"}),
    [](const auto& info) { return QString::fromLatin1(info.param.what).replace(u' ', u'_').toStdString(); });

TEST(Mn4NumberTest, ReadsLikeMn4)
{
    const struct { const char* text; qint64 value; bool exact; } rows[] = {
        {"12", 12, true}, {" -3 ", -3, true}, {"+7", 7, true}, {"12.5", 12, false},
        {"1 2", 1, false}, {"abc", 0, false}, {"", 0, false}, {"-", 0, false},
    };
    for (const auto& r : rows) {
        const auto n = SkinChecker::readMn4Number(QString::fromLatin1(r.text));
        EXPECT_EQ(n.value, r.value) << r.text;
        EXPECT_EQ(n.exact, r.exact) << r.text;
    }
}

// The real program, run from a scratch program folder beside the build's bitmaps.
struct Program
{
    Program()
    {
        QFile::copy(QStringLiteral(TIVARO_BINARY), path(QStringLiteral("tivaro")));
        QFile::link(QStringLiteral(TIVARO_PROGRAM_DIR "/pics"), path(QStringLiteral("pics")));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    int run(const QStringList& arguments)
    {
        QProcess p;
        p.start(path(QStringLiteral("tivaro")), arguments);
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
    EXPECT_EQ(program.run({QStringLiteral("--check"), skin.path}), 0);
    EXPECT_EQ(program.out, QByteArray());
    skin.set("mainmenult.ini", "home", "y", "300");
    EXPECT_EQ(program.run({QStringLiteral("--check"), skin.path}), 1);
    EXPECT_TRUE(program.out.startsWith("mainmenult.ini:home: Fehler: ragt aus dem Bildschirm")) << program.out.data();
    EXPECT_EQ(program.run({QStringLiteral("--check"), skin.path, QStringLiteral("--json")}), 1);
    EXPECT_EQ(QJsonDocument::fromJson(program.out)[0][QStringLiteral("section")].toString(), QStringLiteral("home"));
    EXPECT_EQ(program.run({QStringLiteral("--check"), skin.path + QStringLiteral("/none")}), 2);
}

TEST(CommandLineTest, RenderPaintsTheCanvasOfTheEditor)
{
    Program program;
    const Skin skin;
    const QString png = program.path(QStringLiteral("Routenoptionen.png"));
    ASSERT_EQ(program.run({QStringLiteral("--render"), skin.path, QStringLiteral("--screen"),
                           QStringLiteral("Routenoptionen"), QStringLiteral("--out"), png}), 0);

    ScriptedPrompter prompter;
    AppState state;
    state.AppPath = program.dir.path() + u'/';
    state.prompter = &prompter;
    frmTivaro window(state);
    window.show();
    ASSERT_TRUE(window.openSkinFolder(skin.path) && window.showScreen(QStringLiteral("Routenoptionen")));
    const QImage shown = window.canvasView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), shown);
}

} // namespace
