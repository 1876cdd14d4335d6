#include "TestFiles.h"
#include "WindowTestSupport.h"
#include "frmArrows.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

class FrmArrowsTest : public WindowTest
{
protected:
    QString skin() const { return dir.path() + QDir::separator(); }
    QString navLib() const { return path("NavLib.ini"); }

    static QScrollBar* bar(const frmArrows& w, const char* name) { return control<QScrollBar>(w, name); }
    static QString hex(const frmArrows& w, int nr)
    {
        return control<QLabel>(w, "LHEX" + QString::number(nr))->text();
    }
    static QColor fill(const frmArrows& w, const QString& name)
    {
        return control<QFrame>(w, name)->palette().color(QPalette::Window);
    }
    static void clickSave(frmArrows& w)
    {
        QTest::mouseClick(control<QPushButton>(w, "BTNSave"), Qt::LeftButton);
    }
};

const QByteArray Stored = "; demo skin\r\n"
                          "[mainSchematic]\r\nroutecolor= 0082BF\r\nallcolor= FFFFFF\r\nforcolor= 0000FF\r\n\r\n"
                          "[secondSchematic]\r\nroutecolor= 00FF00\r\nallcolor= c0c0c0\r\nforcolor= 0000FF\r\n\r\n"
                          "[routing]\r\nfactors= x|1.000\r\n";

TEST_F(FrmArrowsTest, OpensOnTheRouteColourAsStored)
{
    const struct
    {
        const char* name;
        QByteArray file; // empty: no NavLib.ini
        QString hex1, hex2;
        int red1, green1, blue1;
        QColor route2;
    } cases[] = {
        {"no file", {}, "00FF00", "00FF00", 0, 255, 0, QColor(0, 255, 0)},
        {"no route key", "[mainSchematic]\r\nallcolor= 000000\r\n", "0082BF", "0082BF", 191, 130, 0,
         QColor(191, 130, 0)},
        {"stored", Stored, "0082BF", "00FF00", 191, 130, 0, QColor(0, 255, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(navLib());
        if (!c.file.isEmpty())
            writeFile(navLib(), c.file);
        frmArrows w(state, skin());
        EXPECT_TRUE(control<QRadioButton>(w, "RouteColor")->isChecked());
        EXPECT_EQ(hex(w, 1), c.hex1);
        EXPECT_EQ(hex(w, 2), c.hex2);
        EXPECT_EQ(bar(w, "VScrollRed1")->value(), c.red1);
        EXPECT_EQ(bar(w, "VScrollGreen1")->value(), c.green1);
        EXPECT_EQ(bar(w, "VScrollBlue1")->value(), c.blue1);
        for (const char* line : {"LRoute2", "LRoute21", "LRoute22"})
            EXPECT_EQ(fill(w, line), c.route2) << line;
        EXPECT_FALSE(w.colors().changed());
    }
}

TEST_F(FrmArrowsTest, OptionsChooseTheColourOfBothSchematics)
{
    writeFile(navLib(), Stored);
    frmArrows w(state, skin());
    w.show();
    const struct { const char* option; QString hex1, hex2; int green2; } cases[] = {
        // What passes through the bars is upper case.
        {"AllColor", "FFFFFF", "C0C0C0", 192}, {"ForColor", "0000FF", "0000FF", 0},
        {"RouteColor", "0082BF", "00FF00", 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        QTest::mouseClick(control<QRadioButton>(w, c.option), Qt::LeftButton);
        EXPECT_EQ(hex(w, 1), c.hex1);
        EXPECT_EQ(hex(w, 2), c.hex2);
        EXPECT_EQ(bar(w, "VScrollGreen2")->value(), c.green2);
    }
    // Looking at the colours is no change: closing asks nothing.
    EXPECT_FALSE(w.colors().changed());
    w.close();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FrmArrowsTest, ScrollBarsWriteTheSelectedColourOnSave)
{
    const struct
    {
        const char* name;
        const char* option;
        const char* bar;
        int value;
        const char* section;
        QByteArray before, after; // the line that changes
    } cases[] = {
        {"red 5", "RouteColor", "VScrollRed1", 5, "[main", "routecolor= 0082BF", "routecolor= 008205"},
        {"red 200", "RouteColor", "VScrollRed2", 200, "[second", "routecolor= 00FF00", "routecolor= 00FFC8"},
        // Entries that passed through a bar are upper case.
        {"blue of all roads", "AllColor", "VScrollBlue2", 10, "[second", "allcolor= c0c0c0", "allcolor= 0AC0C0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(navLib(), Stored);
        frmArrows w(state, skin());
        w.show();
        QTest::mouseClick(control<QRadioButton>(w, c.option), Qt::LeftButton);
        QScrollBar* scroll = bar(w, c.bar);
        scroll->setFocus();
        QTest::keyClick(scroll, Qt::Key_Home);
        for (int k = 0; k < c.value; ++k)
            QTest::keyClick(scroll, Qt::Key_Down);
        ASSERT_EQ(scroll->value(), c.value);
        EXPECT_TRUE(w.colors().changed());
        clickSave(w);
        EXPECT_FALSE(w.colors().changed());
        // Every other byte stays; the keys keep the spelling they have in the file.
        QByteArray expected = Stored;
        const qsizetype at = expected.indexOf(c.before, expected.indexOf(c.section));
        expected.replace(at, c.before.size(), c.after);
        EXPECT_EQ(readFile(navLib()), expected);
        w.close();
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
}

TEST_F(FrmArrowsTest, ClosingAfterAChangeAsks)
{
    const struct { const char* name; Prompter::Answer answer; bool saved; bool closed; } cases[] = {
        {"yes saves", Prompter::Answer::Yes, true, true},
        {"no discards", Prompter::Answer::No, false, true},
        {"cancel stays open", Prompter::Answer::Cancel, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        QFile::remove(navLib());
        frmArrows w(state, skin());
        w.show();
        QTest::keyClick(bar(w, "VScrollRed1"), Qt::Key_End);
        prompter.answer(c.answer);
        w.close();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].title, "Frage:");
        EXPECT_EQ(prompter.shown[0].text, "Sollen die Werte gespeichert werden?");
        EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNoCancel);
        EXPECT_EQ(w.isVisible(), !c.closed);
        EXPECT_EQ(QFile::exists(navLib()), c.saved);
        if (c.saved) {
            EXPECT_TRUE(readFile(navLib()).startsWith("[mainSchematic]\r\nRouteColor= 00FFFF\r\n"));
        }
    }
}

TEST_F(FrmArrowsTest, FailedSaveReportsAndKeepsTheColours)
{
    // A folder where NavLib.ini should be: the file cannot be written.
    QDir(dir.path()).mkdir("NavLib.ini");
    frmArrows w(state, skin());
    w.show();
    QTest::keyClick(bar(w, "VScrollGreen1"), Qt::Key_Home);
    clickSave(w);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].title, "Hinweis:");
    EXPECT_EQ(prompter.shown[0].text, "NavLib.ini konnte nicht gespeichert werden.");
    EXPECT_TRUE(w.colors().changed());

    // Saving on close fails as well: the window stays open with the colours.
    prompter.answer(Prompter::Answer::Yes);
    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(texts(), QStringList({"NavLib.ini konnte nicht gespeichert werden.",
                                    "Sollen die Werte gespeichert werden?",
                                    "NavLib.ini konnte nicht gespeichert werden."}));
    EXPECT_EQ(hex(w, 1), "000000");

    prompter.answer(Prompter::Answer::No);
    w.close();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FrmArrowsTest, OpensModallyThroughThePrompter)
{
    QWidget owner;
    writeFile(navLib(), Stored);
    QString shown;
    prompter.onDialog([&](QObject& dialog) {
        auto* window = qobject_cast<frmArrows*>(&dialog);
        if (window && window->parentWidget() == &owner)
            shown = control<QLabel>(*window, "LHEX1")->text();
        return false;
    });
    showArrowColours(&owner, state, skin());
    EXPECT_EQ(prompter.dialogsRun, 1);
    EXPECT_EQ(shown, "0082BF");
}

} // namespace
