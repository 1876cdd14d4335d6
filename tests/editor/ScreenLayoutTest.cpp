#include "AppState.h"
#include "BindingView.h"
#include "Canvas.h"
#include "Elements.h"
#include "Ini.h"
#include "ScreenCatalogue.h"
#include "ScreenLayout.h"
#include "ScriptedPrompter.h"
#include "clsImage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The editor window's side of binding, reduced to the canvas and two check boxes.
class CanvasBindingView : public BindingView
{
public:
    explicit CanvasBindingView(Canvas& canvas) : m_canvas(canvas) {}
    void setSlotVisible(int slot, bool visible) override
    {
        m_canvas.bitmap(slot)->setVisible(visible);
        m_canvas.frame(slot)->setVisible(visible);
    }
    void setMapBoxesVisible(bool visible) override { boxesShown = visible; }
    bool infobarTicked() const override { return infobar; }
    bool dummysTicked() const override { return dummys; }

    bool boxesShown = false;
    bool infobar = true;
    bool dummys = false;

private:
    Canvas& m_canvas;
};

// A scratch copy of the demo skin with a screen layout working on it.
class ScreenLayoutTest : public ::testing::Test
{
protected:
    ScreenLayoutTest()
    {
        useSkin(QStringLiteral("DemoSkin"));
        state.SkinFolder = dir.path() + QDir::separator();
        state.AppPath = QStringLiteral(TIVARO_PROGRAM_DIR "/");
        state.prompter = &prompter;
        state.LayoutLoaded = true;
        canvas.selector()->setLineWidth(3);
    }

    // Replaces the scratch folder's files with a copy of a demo skin.
    void useSkin(const QString& name)
    {
        for (const QString& old : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.filePath(old));
        const QDir demo(QStringLiteral(TIVARO_SAMPLES_DIR "/") + name);
        for (const QString& file : demo.entryList(QDir::Files))
            QFile::copy(demo.filePath(file), dir.filePath(file));
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    QString ini(const QString& name, const QString& section, const QString& key) const
    {
        return ReadIni(file(name), section, key, QStringLiteral("<missing>"));
    }
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> all;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            all[name] = bytesOf(file(name));
        return all;
    }
    QStringList fields() const
    {
        return {canvas.txtX()->text(), canvas.txtY()->text(), canvas.txtCX()->text(), canvas.txtCY()->text()};
    }
    void show(const QString& screen) { layout.CheckForSave(screen); }
    // Types a rectangle into the fields of the active element, as a user would.
    void type(const QString& x, const QString& y, const QString& cx, const QString& cy)
    {
        canvas.txtX()->setText(x);
        canvas.txtY()->setText(y);
        canvas.txtCX()->setText(cx);
        canvas.txtCY()->setText(cy);
        canvas.txtCY()->keyUp(Qt::Key_0, Qt::NoModifier);
    }
    void activate(int slot)
    {
        canvas.selector()->setTag(QString::number(slot));
        elements.at(slot)->paintSelector();
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    AppState state;
    Canvas canvas;
    Elements elements{state, QLocale::c()};
    CanvasBindingView view{canvas};
    ScreenLayout layout{state, canvas, elements, view};
};

TEST_F(ScreenLayoutTest, EveryScreenOfBothDemoSkinsSavesBackTheSameBytes)
{
    for (const char* skin : {"DemoSkin", "DemoSkinTMC"}) {
        useSkin(QString::fromLatin1(skin));
        const auto before = snapshot();
        for (const QString& screen : ScreenCatalogue::sortedNames()) {
            SCOPED_TRACE(std::string(skin) + " " + screen.toStdString());
            show(screen);
            ASSERT_EQ(layout.currentScreen(), screen);
            EXPECT_FALSE(state.LayoutChanged);
            EXPECT_TRUE(layout.BTNSave_Click());
            EXPECT_EQ(snapshot(), before);
        }
        EXPECT_EQ(state.LayoutFileSet[0], skin == std::string("DemoSkin") ? "defaultlt.ini" : "defaultltTMC.ini");
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(ScreenLayoutTest, ActiveElementAfterLoading)
{
    const struct { const char* screen; const char* tag; const char* section; } cases[] = {
        {"Hauptmenu", "11", "win in defaultlt.ini"}, {"TagNacht", "4", "okbutton in MapPopupLt.ini"},
        {"EinfacheListe", "4", "okbutton in simplepopuplt.ini"},
        {"AdresseingabeEdit", "5", "okbutton in editpopuplt.ini"},
        {"DialogLoeschen", "3", "second_button in msgboxminlt.ini"},
        {"Kartenansicht 1", "24", "win in defaultlt.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        show(QString::fromUtf8(c.screen));
        EXPECT_EQ(canvas.selector()->tag(), QLatin1String(c.tag));
        EXPECT_TRUE(canvas.selector()->isVisible());
        EXPECT_EQ(canvas.nameLabel()->text(), QString::fromUtf8(c.section));
        EXPECT_TRUE(state.LayoutLoaded);
    }
}

TEST_F(ScreenLayoutTest, ValuesReadAsMN4ReadsThemAndNothingOfTheLastScreenStays)
{
    const struct { const char* section; QStringList shown; } rows[] = {
        {"[home]\nx=10 ; links\ny=\t36\ncx=\"105\"\ncy= 54", {"10", "36", "105", "54"}},
        {"[home]\nx= 7\ny= 9", {"7", "9", "20", "20"}}, // a missing size is 20 x 20
        {"[home]\nx=\ny= abc\ncx=-5\ncy=12px", {"0", "0", "0", "12"}},
        {"[home]\nx=7,5\ny=+3\ncx=1e1\ncy=2.5", {"7", "3", "10", "2.5"}},
        // Beyond what the canvas takes: the element sits empty at the screen's corner.
        {"[home]\nx=99999999999\ny=5\ncx=20\ncy=20", {"0", "0", "0", "0"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.section);
        show("Sonderziele"); // its slot 0 lies elsewhere
        writeBytes(file("mainmenult.ini"), r.section);
        show("Hauptmenu");
        activate(0);
        EXPECT_EQ(fields(), r.shown);
    }
}

TEST_F(ScreenLayoutTest, MapViewsTakeTheStartFieldFromTheirDummy)
{
    WriteIni(file("mapviewlt.ini"), "smalldummy", "x", "11");
    WriteIni(file("mapviewlt.ini"), "largedummy", "x", "33");
    const struct { const char* screen; int view; int fromX; } cases[] = {
        {"Kartenansicht 1", 0, 11}, {"Kartenansicht 2", 1, 33}, {"Kartenansicht 3", 2, 33}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        show(QString::fromUtf8(c.screen));
        EXPECT_EQ(state.ViewIndex, c.view);
        EXPECT_EQ(elements.at(3)->Left() - elements.at(3)->GetCoSystemLeft(), c.fromX * 15);
    }
}

TEST_F(ScreenLayoutTest, RouteInfoPanelsShowTheirBottomSixtyPixels)
{
    view.infobar = false; // no info-bar shift, so the fields show the file's values
    WriteIni(file("mapviewlt.ini"), "routeinfo", "y", "250");
    WriteIni(file("mapviewlt.ini"), "routeinfo", "cy", "70");
    show("Kartenansicht 1");
    activate(4);
    EXPECT_EQ(fields().mid(1), (QStringList{"260", "120", "60"}));
}

TEST_F(ScreenLayoutTest, InfobarDependentElementsAreShiftedUpAndWrittenBack)
{
    // The demo info bar is 24 pixels high: dependent elements move up by 22.
    show("Kartenansicht 1");
    activate(2);
    EXPECT_EQ(ini("mapviewlt.ini", "to", "y"), "46");
    EXPECT_EQ(canvas.txtY()->text(), "24");
    type("0", "10", "240", "22");
    ASSERT_TRUE(layout.BTNSave_Click());
    EXPECT_EQ(ini("mapviewlt.ini", "to", "y"), "32");
}

TEST_F(ScreenLayoutTest, AResizedInfoBarRewritesTheYOfTheElementsThatFollowIt)
{
    show("Kartenansicht 1");
    const QList<QByteArray> before = bytesOf(file("mapviewlt.ini")).split('\n');
    activate(1);
    type("0", "0", "240", "30"); // 24 pixels high before
    ASSERT_TRUE(layout.BTNSave_Click());
    // They stay where they are on the screen, so their stored y grows with the bar.
    const struct { const char* section; const char* y; } rows[] = {
        {"to", "52"}, {"from", "74"}, {"routeinfo", "228"}, {"nextinfo", "228"},
        {"distance", "178"}, {"schematic2", "178"}, {"schematic", "178"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ini("mapviewlt.ini", r.section, "y"), r.y) << r.section;
    const QList<QByteArray> after = bytesOf(file("mapviewlt.ini")).split('\n');
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    EXPECT_EQ(changed, 1 + 7) << "the bar's height and the seven y values";
}

TEST_F(ScreenLayoutTest, DialogElementsCountFromTheDialogBox)
{
    show("DialogLoeschen");
    activate(1);
    type("10", "5", "100", "20");
    const clsImage& box = *elements.at(0);
    EXPECT_EQ(elements.at(1)->Left(), box.Left() + 10 * 15);
    EXPECT_EQ(elements.at(1)->Top(), box.Top() + 5 * 15);
}

TEST_F(ScreenLayoutTest, ListPartsAreLaidOutFromTheListBox)
{
    WriteIni(file("simplepopuplt.ini"), "listbox", "cx", "200");
    WriteIni(file("simplepopuplt.ini"), "listbox", "cy", "150");
    WriteIni(file("simplepopuplt.ini"), "listboxitem", "cx", "150");
    WriteIni(file("simplepopuplt.ini"), "okbutton", "cx", "40");
    WriteIni(file("simplepopuplt.ini"), "okbutton", "cy", "52");
    show("EinfacheListe");
    const struct { int slot; QStringList rect; } cases[] = {
        {1, {"0", "101", "150", "30"}},   // from the OK button's bottom edge down
        {2, {"150", "0", "50", "49"}},    // right of the items, above the OK button
        {3, {"150", "101", "50", "49"}},  // below it
        {4, {"160", "49", "40", "52"}},   // on the right edge, centred
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        activate(c.slot);
        EXPECT_EQ(fields(), c.rect);
    }
}

TEST_F(ScreenLayoutTest, ASaveWritesOnlyTheKeysThatChangedAndInventsNoSection)
{
    // A skin kept by hand elsewhere: LF, comments, quotes, odd case and spacing,
    // a duplicate section, no "quit" section and no final line break.
    const QByteArray foreign = "; Hauptmenue, von Hand gepflegt\n[Home]\nX=10 ; links\ny = 36\ncx=\"105\"\n"
                               "CY=\t54\n\n[TARGET]\nx=10\ny=98\ncx=105\ncy=54\n[target]\nx=99\n[speech]\n"
                               "x=125\ny=36\ncx=105\ncy=54";
    const struct {
        const char* screen; const char* file; QByteArray before; int slot; QStringList typed; QByteArray after;
    } rows[] = {
        {"Hauptmenu", "mainmenult.ini", foreign, 0, {"11", "36", "105", "54"},
         QByteArray(foreign).replace("X=10 ; links", "X= 11")},
        // An empty file gets the changed element only, none of the hidden slots.
        {"Kartenansicht 2", "mapviewlt.ini", "", 0, {"5", "6", "7", "8"}, "[zoomwin]\r\nx= 5\r\ny= 6\r\ncx= 7\r\ncy= 8\r\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.screen);
        writeBytes(file(r.file), r.before);
        show(r.screen);
        auto expected = snapshot();
        ASSERT_TRUE(layout.BTNSave_Click());
        EXPECT_EQ(snapshot(), expected) << "nothing changed, nothing written";
        activate(r.slot);
        type(r.typed[0], r.typed[1], r.typed[2], r.typed[3]);
        ASSERT_TRUE(layout.BTNSave_Click());
        expected[r.file] = r.after;
        EXPECT_EQ(snapshot(), expected);
        ASSERT_TRUE(layout.BTNSave_Click());
        EXPECT_EQ(snapshot(), expected) << "saved is unchanged";
    }
}

TEST_F(ScreenLayoutTest, MapViewSaveFixesStartAndPanelValues)
{
    show("Kartenansicht 2");
    for (int slot : {3, 4, 5}) {
        activate(slot);
        type("17", "100", "90", "44");
    }
    ASSERT_TRUE(layout.BTNSave_Click());
    EXPECT_EQ(ini("mapviewlt.ini", "from", "x"), "0");
    EXPECT_EQ(ini("mapviewlt.ini", "routeinfo", "cy"), "60");
    EXPECT_EQ(ini("mapviewlt.ini", "nextinfo", "cy"), "60");
    EXPECT_EQ(ini("mapviewlt.ini", "routeinfo", "x"), "17");
}

TEST_F(ScreenLayoutTest, ListSavesLeaveTheArrowsAlone)
{
    const struct { const char* screen; const char* file; int item; int ok; } cases[] = {
        {"EinfacheListe", "simplepopuplt.ini", 1, 4},
        {"AdresseingabeEdit", "editpopuplt.ini", 2, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        const QString name = QString::fromLatin1(c.file);
        WriteIni(file(name), "up", "x", "77");
        WriteIni(file(name), "down", "cy", "88");
        show(QString::fromUtf8(c.screen));
        for (int slot : {c.item, c.ok}) {
            activate(slot);
            type("12", "13", "60", "30");
        }
        ASSERT_TRUE(layout.BTNSave_Click());
        EXPECT_EQ(ini(name, "up", "x"), "77");
        EXPECT_EQ(ini(name, "down", "cy"), "88");
        EXPECT_EQ(ini(name, "listboxitem", "x"), "0");
        EXPECT_EQ(ini(name, "okbutton", "y"), "0");
        EXPECT_EQ(ini(name, "okbutton", "cx"), "60");
    }
}

TEST_F(ScreenLayoutTest, FractionsUseTheLocalesSeparator)
{
    elements.setLocale(QLocale(QLocale::German, QLocale::Germany));
    show("Hauptmenu");
    activate(0);
    type("10,2", "36", "105", "54");
    ASSERT_TRUE(layout.BTNSave_Click());
    EXPECT_EQ(ini("mainmenult.ini", "home", "x"), "10,2");
}

TEST_F(ScreenLayoutTest, YesSavesTheBoundScreenWithItsOwnRules)
{
    // The list's arrows must not be written even though the screen list
    // already names the next screen when the question is asked.
    WriteIni(file("simplepopuplt.ini"), "up", "x", "77");
    show("EinfacheListe");
    activate(0);
    type("0", "40", "240", "200");
    prompter.answer(Prompter::Answer::Yes);
    show("Kartenansicht 1");
    EXPECT_EQ(ini("simplepopuplt.ini", "up", "x"), "77");
    EXPECT_EQ(ini("simplepopuplt.ini", "listbox", "y"), "40");
    EXPECT_EQ(ini("simplepopuplt.ini", "listboxitem", "x"), "0");
    EXPECT_EQ(layout.currentScreen(), "Kartenansicht 1");
}

TEST_F(ScreenLayoutTest, FailedSaveKeepsTheFileTheEditsAndTellsWhich)
{
    show("Hauptmenu");
    activate(0);
    type("1", "2", "3", "4");
    // A folder in place of the file cannot be replaced, whoever runs the test.
    const QByteArray status = bytesOf(file("defaultlt.ini"));
    ASSERT_TRUE(QFile::remove(file("mainmenult.ini")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("mainmenult.ini"));

    EXPECT_FALSE(layout.BTNSave_Click());
    EXPECT_TRUE(state.LayoutChanged);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].title, "Hinweis:");
    EXPECT_TRUE(prompter.shown[0].text.contains("mainmenult.ini"));
    EXPECT_FALSE(prompter.shown[0].text.contains("defaultlt.ini"));
    EXPECT_EQ(bytesOf(file("defaultlt.ini")), status);
    EXPECT_TRUE(QFileInfo(file("mainmenult.ini")).isDir());

    // Choosing another screen asks again, and a failed Yes still keeps the edits.
    prompter.answer(Prompter::Answer::Yes);
    EXPECT_FALSE(layout.offerSave());
    EXPECT_TRUE(state.LayoutChanged);
}

TEST_F(ScreenLayoutTest, FamilyChangeRebindsTheSameScreen)
{
    show("Hauptmenu");
    EXPECT_EQ(state.Binding.ElementFile[0], "mainmenult.ini");
    writeBytes(file("defaultltTMC.ini"), "[log]\r\nx= 5\r\n");
    show("Hauptmenu");
    EXPECT_EQ(state.Binding.ElementFile[0], "mainmenultSR.ini");
    EXPECT_EQ(state.Binding.ElementFile[8], "defaultltTMC.ini");
    activate(8);
    EXPECT_EQ(canvas.txtX()->text(), "5");
}

TEST_F(ScreenLayoutTest, LayoutFilesAreFoundInAnyLetterCase)
{
    ASSERT_TRUE(QFile::rename(file("mainmenult.ini"), file("MAINMENULT.INI")));
    show("Hauptmenu");
    activate(0);
    EXPECT_EQ(canvas.txtX()->text(), "10");
    type("11", "36", "105", "54");
    ASSERT_TRUE(layout.BTNSave_Click());
    EXPECT_FALSE(QFile::exists(file("mainmenult.ini")));
    EXPECT_EQ(ReadIni(file("MAINMENULT.INI"), "home", "x", ""), "11");
}

} // namespace
