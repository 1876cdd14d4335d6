#include "WindowTestSupport.h"
#include "frmArrows.h"
#include "ArrowPreview.h"

#include <QColorDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include <cstring>

namespace {

class FrmArrowsTest : public WindowTest
{
protected:
    QString navLib() const { return path("NavLib.ini"); }
    static QScrollBar* bar(const frmArrows& w, const char* name) { return control<QScrollBar>(w, name); }
    static QString hex(const frmArrows& w, int nr) { return control<QLabel>(w, "LHEX" + QString::number(nr))->text(); }
};

const QByteArray Stored = "; demo skin\r\n"
                          "[mainSchematic]\r\nroutecolor= 0082BF\r\nallcolor= FFFFFF\r\nforcolor= 0000FF\r\n\r\n"
                          "[secondSchematic]\r\nroutecolor= 00FF00\r\nallcolor= c0c0c0\r\nforcolor= 0000FF\r\n\r\n"
                          "[routing]\r\nfactors= x|1.000\r\n";

TEST_F(FrmArrowsTest, OpensOnTheRouteColourAsStored)
{
    const struct { const char* name; QByteArray file; QString hex1, hex2; QList<int> bars1; QColor route2; } cases[] = {
        {"no file", {}, "00FF00", "00FF00", {0, 255, 0}, QColor(0, 255, 0)},
        {"no route key", "[mainSchematic]\r\nallcolor= 0\r\n", "0082BF", "0082BF", {191, 130, 0}, QColor(191, 130, 0)},
        {"stored", Stored, "0082BF", "00FF00", {191, 130, 0}, QColor(0, 255, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(navLib());
        if (!c.file.isEmpty())
            writeFile(navLib(), c.file);
        frmArrows w(prompter, programFolder);
        EXPECT_EQ(hex(w, 1) + '|' + hex(w, 2), c.hex1 + '|' + c.hex2);
        const QList<int> bars1{bar(w, "VScrollRed1")->value(), bar(w, "VScrollGreen1")->value(), bar(w, "VScrollBlue1")->value()};
        EXPECT_EQ(bars1, c.bars1);
        EXPECT_EQ(control<QFrame>(w, "LRoute2")->palette().color(QPalette::Window), c.route2);
        EXPECT_FALSE(w.colors().changed());
    }
}

TEST_F(FrmArrowsTest, ScrollBarsWriteTheSelectedColourOnSave)
{
    // The one line that changes; entries that passed through a bar are upper case.
    const struct { const char* option; const char* bar; int value; const char* section; QByteArray before, after; }
        cases[] = {
        {"RouteColor", "VScrollRed1", 5, "[main", "routecolor= 0082BF", "routecolor= 008205"},
        {"RouteColor", "VScrollRed2", 200, "[second", "routecolor= 00FF00", "routecolor= 00FFC8"},
        {"AllColor", "VScrollBlue2", 10, "[second", "allcolor= c0c0c0", "allcolor= 0AC0C0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bar);
        writeFile(navLib(), Stored);
        frmArrows w(prompter, programFolder);
        w.show();
        QTest::mouseClick(control<QRadioButton>(w, c.option), Qt::LeftButton);
        EXPECT_FALSE(w.colors().changed()) << "looking at a colour is no change";
        QScrollBar* scroll = bar(w, c.bar);
        scroll->setFocus();
        QTest::keyClick(scroll, Qt::Key_Home);
        for (int k = 0; k < c.value; ++k)
            QTest::keyClick(scroll, Qt::Key_Down);
        QTest::mouseClick(control<QPushButton>(w, "BTNSave"), Qt::LeftButton);
        EXPECT_FALSE(w.colors().changed());
        QByteArray expected = Stored;
        expected.replace(expected.indexOf(c.before, expected.indexOf(c.section)), c.before.size(), c.after);
        EXPECT_EQ(readFile(navLib()), expected);
        w.close();
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
}

// A colour picked in the dialog is stored blue first; the swatch, the arrow
// and the option button follow. A cancelled dialog changes nothing.
TEST_F(FrmArrowsTest, SwatchPicksAColourInTheDialog)
{
    const QColor picked(0x12, 0x34, 0x56);
    const struct { const char* swatch; bool accept; const char* option; ArrowColors::Kind kind; const char* section;
                   QByteArray before, after; } cases[] = {
        {"routeSwatch1", true, "RouteColor", ArrowColors::Route, "[main", "routecolor= 0082BF", "routecolor= 563412"},
        {"allRoadsSwatch2", true, "AllColor", ArrowColors::AllRoads, "[second", "allcolor= c0c0c0", "allcolor= 563412"},
        {"frontSwatch1", true, "ForColor", ArrowColors::Front, "[main", "forcolor= 0000FF", "forcolor= 563412"},
        {"frontSwatch2", false, "RouteColor", ArrowColors::Front, "[second", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.swatch);
        writeFile(navLib(), Stored);
        frmArrows w(prompter, programFolder);
        w.show();
        const int nr = c.swatch[std::strlen(c.swatch) - 1] - '0';
        const QColor before = w.colors().color(nr, c.kind);
        QColor offered;
        prompter.onDialog([&](QObject& dialog) {
            auto* colors = qobject_cast<QColorDialog*>(&dialog);
            offered = colors->currentColor();
            colors->setCurrentColor(picked);
            return c.accept;
        });
        QTest::mouseClick(control<QToolButton>(w, c.swatch), Qt::LeftButton);
        EXPECT_EQ(offered, before);
        EXPECT_TRUE(control<QRadioButton>(w, c.option)->isChecked());
        const QImage arrow = control<ArrowPreview>(w, "arrowPreview" + QString::number(nr))->grab().toImage();
        EXPECT_EQ(arrow.pixelColor(ArrowPreview::inside(c.kind)), c.accept ? picked : before);
        EXPECT_EQ(w.colors().changed(), c.accept);
        QTest::mouseClick(control<QPushButton>(w, "BTNSave"), Qt::LeftButton);
        QByteArray expected = Stored; // a cancelled row replaces nothing
        expected.replace(expected.indexOf(c.before, expected.indexOf(c.section)), c.before.size(), c.after);
        EXPECT_EQ(readFile(navLib()), expected);
    }
}

// Closing after a change asks; Cancel, or a save that fails, keeps the window open with its colours.
TEST_F(FrmArrowsTest, ClosingAfterAChangeAsks)
{
    const QString question = "Sollen die Werte gespeichert werden?";
    const struct { const char* name; bool blocked; QList<Prompter::Answer> answers; QStringList messages; bool saved; }
        cases[] = {
        {"yes saves", false, {Prompter::Answer::Yes}, {question}, true},
        {"no discards", false, {Prompter::Answer::No}, {question}, false},
        {"cancel stays open", false, {Prompter::Answer::Cancel, Prompter::Answer::No}, {question, question}, false},
        // A folder where NavLib.ini should be: saving fails, the window stays until No.
        {"failed save", true, {Prompter::Answer::Yes, Prompter::Answer::No}, {question, "NavLib.ini konnte nicht gespeichert werden.", question}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        QDir(navLib()).removeRecursively();
        QFile::remove(navLib());
        if (c.blocked)
            QDir(dir.path()).mkdir("NavLib.ini");
        frmArrows w(prompter, programFolder);
        w.show();
        QTest::keyClick(bar(w, "VScrollRed1"), Qt::Key_End);
        for (const Prompter::Answer answer : c.answers) {
            prompter.answer(answer);
            w.close();
        }
        EXPECT_EQ(texts(), c.messages);
        for (const auto& shown : std::as_const(prompter.shown))
            EXPECT_EQ(shown.buttons, shown.text == question ? Prompter::Buttons::YesNoCancel : Prompter::Buttons::Ok);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(readFile(navLib()).startsWith("[mainSchematic]\r\nRouteColor= 00FFFF\r\n"), c.saved);
    }
}

} // namespace
