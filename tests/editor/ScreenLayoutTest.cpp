#include "EditorFixture.h"

#include "ScreenCatalogue.h"

#include <QCheckBox>

namespace {

// The screen layout of the editor window, on a scratch copy of the demo skin.
class ScreenLayoutTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        ASSERT_TRUE(window->openSkinFolder(skin.path()));
    }
    ScreenLayout& layout() const { return window->layout(); }
    QString file(const QString& name) const { return skin.filePath(name); }
    QString ini(const QString& name, const QString& section, const QString& key) const
    {
        return ReadIni(file(name), section, key, QStringLiteral("<missing>"));
    }
};

TEST_F(ScreenLayoutTest, EveryScreenOfBothDemoSkinsSavesBackTheSameBytes)
{
    for (const char* demo : {"DemoSkin", "DemoSkinTMC"}) {
        copySkin(skin.path(), QString::fromLatin1(demo));
        const auto before = snapshot(skin.path());
        for (const QString& screen : ScreenCatalogue::sortedNames()) {
            SCOPED_TRACE(std::string(demo) + " " + screen.toStdString());
            openScreen(screen);
            ASSERT_EQ(layout().currentScreen(), screen);
            EXPECT_FALSE(layout().LayoutChanged());
            EXPECT_TRUE(layout().save());
            EXPECT_EQ(snapshot(skin.path()), before);
        }
        EXPECT_EQ(state.LayoutFileSet[0], demo == std::string("DemoSkin") ? "defaultlt.ini" : "defaultltTMC.ini");
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
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
        openScreen("Sonderziele"); // its slot 0 lies elsewhere
        writeFile(file("mainmenult.ini"), r.section);
        openScreen("Hauptmenu");
        doc().select(0);
        EXPECT_EQ(fields(), r.shown);
    }
}

TEST_F(ScreenLayoutTest, AResizedInfoBarRewritesTheYOfTheElementsThatFollowIt)
{
    openScreen("Kartenansicht 1");
    const QList<QByteArray> before = readFile(file("mapviewlt.ini")).split('\n');
    doc().select(1);
    doc().typeValue(FieldCY, 30); // 24 pixels high before
    ASSERT_TRUE(layout().save());
    // They stay where they are on the screen, so their stored y grows with the bar.
    EXPECT_EQ(ini("mapviewlt.ini", "to", "y"), "52");
    EXPECT_EQ(ini("mapviewlt.ini", "routeinfo", "y"), "228");
    const QList<QByteArray> after = readFile(file("mapviewlt.ini")).split('\n');
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    EXPECT_EQ(changed, 1 + 7) << "the bar's height and the seven y values";
}

TEST_F(ScreenLayoutTest, DialogElementsCountFromTheDialogBox)
{
    openScreen("DialogLoeschen");
    doc().select(1);
    type(doc(), {10, 5, 100, 20});
    EXPECT_EQ(doc().frame(1).topLeft(), doc().frame(0).topLeft() + QPoint(150, 75));
}

TEST_F(ScreenLayoutTest, ASaveWritesOnlyTheKeysThatChangedAndInventsNoSection)
{
    // A skin kept by hand elsewhere: LF, comments, quotes, odd case and spacing,
    // a duplicate section, no "quit" section and no final line break.
    const QByteArray foreign = "; Hauptmenue, von Hand gepflegt\n[Home]\nX=10 ; links\ny = 36\ncx=\"105\"\n"
                               "CY=\t54\n\n[TARGET]\nx=10\ny=98\ncx=105\ncy=54\n[target]\nx=99\n[speech]\n"
                               "x=125\ny=36\ncx=105\ncy=54";
    const struct {
        const char* screen; const char* file; QByteArray before; FieldValues typed; QByteArray after;
    } rows[] = {
        {"Hauptmenu", "mainmenult.ini", foreign, {11, 36, 105, 54},
         QByteArray(foreign).replace("X=10 ; links", "X= 11")},
        // An empty file gets the changed element only, none of the hidden slots.
        {"Kartenansicht 2", "mapviewlt.ini", "", {5, 6, 7, 8}, "[zoomwin]\r\nx= 5\r\ny= 6\r\ncx= 7\r\ncy= 8\r\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.screen);
        writeFile(file(r.file), r.before);
        openScreen(r.screen);
        auto expected = snapshot(skin.path());
        ASSERT_TRUE(layout().save());
        EXPECT_EQ(snapshot(skin.path()), expected) << "nothing changed, nothing written";
        doc().select(0);
        type(doc(), r.typed);
        ASSERT_TRUE(layout().save());
        expected[r.file] = r.after;
        EXPECT_EQ(snapshot(skin.path()), expected);
        ASSERT_TRUE(layout().save());
        EXPECT_EQ(snapshot(skin.path()), expected) << "saved is unchanged";
    }
}

TEST_F(ScreenLayoutTest, MapViewsShowOnlyThePanelsBottomAndSaveFixedStartAndPanelValuesInTheLocale)
{
    find<QCheckBox>("ChkInfobar")->setChecked(false); // no info-bar shift, so the fields show the file's values
    window->elements().setLocale(QLocale(QLocale::German, QLocale::Germany));
    WriteIni(file("mapviewlt.ini"), "routeinfo", "y", "250");
    WriteIni(file("mapviewlt.ini"), "routeinfo", "cy", "70");
    openScreen("Kartenansicht 1");
    doc().select(4);
    EXPECT_EQ(fields().mid(1), (QStringList{"260", "120", "60"}));
    for (int slot : {3, 4, 5}) {
        doc().select(slot);
        type(doc(), {17.2, 100, 90, 44});
    }
    ASSERT_TRUE(layout().save());
    EXPECT_EQ(ini("mapviewlt.ini", "from", "x"), "0");
    EXPECT_EQ(ini("mapviewlt.ini", "routeinfo", "cy"), "60");
    EXPECT_EQ(ini("mapviewlt.ini", "nextinfo", "cy"), "60");
    EXPECT_EQ(ini("mapviewlt.ini", "routeinfo", "x"), "17,2");
}

TEST_F(ScreenLayoutTest, ListSavesLeaveTheArrowsAlone)
{
    // The second list is saved by Yes to the question when another screen is
    // chosen: it must still be written with the list's rules.
    const struct { const char* screen; const char* file; int item; int ok; bool byQuestion; } cases[] = {
        {"EinfacheListe", "simplepopuplt.ini", 1, 4, false},
        {"AdresseingabeEdit", "editpopuplt.ini", 2, 5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        const QString name = QString::fromLatin1(c.file);
        WriteIni(file(name), "up", "x", "77");
        WriteIni(file(name), "down", "cy", "88");
        openScreen(QString::fromUtf8(c.screen));
        for (int slot : {c.item, c.ok}) {
            doc().select(slot);
            type(doc(), {12, 13, 60, 30});
        }
        EXPECT_EQ(doc().rect(c.item + 1).left(), doc().rect(c.item).right()) << "up follows the item column";
        if (c.byQuestion) {
            prompter.answer(Prompter::Answer::Yes);
            openScreen("Kartenansicht 1");
            ASSERT_EQ(layout().currentScreen(), "Kartenansicht 1");
        } else {
            ASSERT_TRUE(layout().save());
        }
        EXPECT_EQ(ini(name, "up", "x"), "77");
        EXPECT_EQ(ini(name, "down", "cy"), "88");
        EXPECT_EQ(ini(name, "listboxitem", "x"), "0");
        EXPECT_EQ(ini(name, "okbutton", "y"), "0");
        EXPECT_EQ(ini(name, "okbutton", "cx"), "60");
    }
}

TEST_F(ScreenLayoutTest, FailedSaveKeepsTheFileTheEditsAndTellsWhich)
{
    openScreen("Hauptmenu");
    doc().select(0);
    type(doc(), {1, 2, 3, 4});
    // A folder in place of the file cannot be replaced, whoever runs the test.
    const QByteArray status = readFile(file("defaultlt.ini"));
    ASSERT_TRUE(QFile::remove(file("mainmenult.ini")));
    ASSERT_TRUE(QDir(skin.path()).mkdir("mainmenult.ini"));

    EXPECT_FALSE(layout().save());
    EXPECT_TRUE(layout().LayoutChanged());
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].text.contains("mainmenult.ini"));
    EXPECT_FALSE(prompter.shown[0].text.contains("defaultlt.ini"));
    EXPECT_EQ(readFile(file("defaultlt.ini")), status);

    // Choosing another screen asks again, and a failed Yes still keeps the edits.
    prompter.answer(Prompter::Answer::Yes);
    EXPECT_FALSE(layout().offerSave());
    EXPECT_TRUE(layout().LayoutChanged());
}

TEST_F(ScreenLayoutTest, FamilyChangeRebindsTheSameScreen)
{
    openScreen("Hauptmenu");
    writeFile(file("defaultltTMC.ini"), "[log]\r\nx= 5\r\n");
    openScreen("Hauptmenu");
    EXPECT_EQ(doc().binding().ElementFile[0], "mainmenultSR.ini");
    EXPECT_EQ(doc().binding().ElementFile[8], "defaultltTMC.ini");
    doc().select(8);
    EXPECT_EQ(window->canvas().txtX()->text(), "5");
}

TEST_F(ScreenLayoutTest, LayoutFilesAreFoundInAnyLetterCase)
{
    ASSERT_TRUE(QFile::rename(file("mainmenult.ini"), file("MAINMENULT.INI")));
    openScreen("Hauptmenu");
    doc().select(0);
    EXPECT_EQ(window->canvas().txtX()->text(), "10");
    doc().typeValue(FieldX, 11);
    ASSERT_TRUE(layout().save());
    EXPECT_FALSE(QFile::exists(file("mainmenult.ini")));
    EXPECT_EQ(ReadIni(file("MAINMENULT.INI"), "home", "x", ""), "11");
}

} // namespace
