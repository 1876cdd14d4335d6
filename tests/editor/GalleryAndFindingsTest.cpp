#include "EditorFixture.h"

#include "Finding.h"
#include "ScreenGallery.h"

#include <QHelpEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QToolTip>

namespace {

TEST(FindingConcernsTest, FileInAnyCaseAndTheExactSection)
{
    // A skin from Windows, a section in another case, a finding about the whole file, another file.
    const struct { const char* findingFile; const char* findingSection; bool concerns; } rows[] = {
        {"mainmenult.ini", "quit", true}, {"MainMenuLT.INI", "quit", true}, {"mainmenult.ini", "Quit", false},
        {"mainmenult.ini", "", false}, {"defaultlt.ini", "quit", false},
    };
    for (const auto& r : rows) {
        const Finding f{Finding::Severity::Error, "Hauptmenu", 0, r.findingFile, r.findingSection, "x"};
        EXPECT_EQ(FindingConcerns(f, "mainmenult.ini", "quit"), r.concerns) << r.findingFile << ' ' << r.findingSection;
    }
}

class GalleryTest : public EditorWindowFixture
{
protected:
    ScreenGallery* gallery() const { return window->gallery(); }
    // The gallery reads the skin once the window has been painted.
    void paintWindow()
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }
    void drawAll()
    {
        while (gallery()->drawNext()) {
        }
    }
    // A thumbnail's colours at device pixels of its screen.
    QList<QRgb> thumbnailAt(const QString& screen, std::initializer_list<QPoint> devicePixels) const
    {
        const QToolButton* button = gallery()->thumbnail(screen);
        const QImage image = button->icon().pixmap(button->iconSize()).toImage();
        QList<QRgb> colours;
        for (QPoint p : devicePixels)
            colours << image.pixel(p / ScreenGallery::Scale);
        return colours;
    }
    QRgb canvasAt(QPoint widgetPixel) const { return view()->grab().toImage().pixel(widgetPixel); }
};

TEST_F(GalleryTest, AThumbnailIsDrawnAgainAfterASaveOrAChangeOnDisk)
{
    paintWindow();
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    drawAll();
    // Inside "home" as the skin has it, and where it goes, below the other buttons.
    const auto homePoints = {QPoint(30, 60), QPoint(150, 300)};
    const QList<QRgb> before = thumbnailAt("Hauptmenu", homePoints);
    const QList<QRgb> formatBefore = thumbnailAt("Format", homePoints);

    select(0);
    type(doc(), {130, 280, 105, 30});
    EXPECT_FALSE(gallery()->isWaiting("Hauptmenu")) << "unsaved edits are not the skin";
    QTest::mouseClick(find<QPushButton>("BTNSave"), Qt::LeftButton);
    EXPECT_TRUE(gallery()->isWaiting("Hauptmenu"));
    EXPECT_FALSE(gallery()->isWaiting("Format")) << "Format has no element in mainmenult.ini";
    drawAll();
    const QList<QRgb> after = thumbnailAt("Hauptmenu", homePoints);
    EXPECT_NE(after[0], before[0]);
    EXPECT_NE(after[1], before[1]);
    EXPECT_EQ(thumbnailAt("Format", homePoints), formatBefore);

    // Another program changes a shared file: every screen with an element in it.
    WriteIni(skin.filePath("defaultlt.ini"), "back", "x", "7");
    gallery()->checkFiles();
    EXPECT_TRUE(gallery()->isWaiting("Format"));
    EXPECT_TRUE(gallery()->isWaiting("Hauptmenu"));
    EXPECT_FALSE(gallery()->isWaiting("DialogLoeschen")) << "the dialog has no element in it";
}

TEST_F(GalleryTest, TheThumbnailsInViewComeFirst)
{
    gallery()->verticalScrollBar()->setValue(gallery()->verticalScrollBar()->maximum());
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    EXPECT_FALSE(gallery()->drawNext()) << "the window shows before any thumbnail is drawn";
    paintWindow();
    gallery()->drawNext(); // the gallery's own tick may have drawn one already
    QStringList drawn;
    for (const QString& name : ScreenCatalogue::sortedNames())
        if (!gallery()->isWaiting(name))
            drawn << name;
    ASSERT_FALSE(drawn.isEmpty());
    ASSERT_LE(drawn.size(), 2);
    for (const QString& name : drawn)
        EXPECT_FALSE(gallery()->thumbnail(name)->visibleRegion().isEmpty()) << name.toStdString();
}

TEST_F(GalleryTest, AnElementOffTheScreenIsOutlinedUntilItsFixIsCheckedOrSaved)
{
    // "quit" of the main menu moved off the screen by hand, in the author's own spelling.
    const QString menu = skin.filePath("mainmenult.ini");
    const QByteArray original = readFile(menu);
    QByteArray edited = original;
    edited.replace("[quit]\r\nx= 125", "[quit]\r\nX =300 ; ganz rechts");

    // Fixed in the editor and saved, or fixed in the file and checked.
    const struct { const char* fix; bool bySave; } rows[] = {{"Speichern", true}, {"Prüfen", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.fix);
        writeFile(menu, edited);
        ASSERT_TRUE(window->openSkinFolder(skin.path()));
        // quit: x 300..404, y 222..275; the view ends at x 243 + margin.
        const QPoint edge = at(240 + CanvasView::Margin - 2, 250);
        const QPoint fixedEdge = at(125, 250);
        EXPECT_NE(canvasAt(edge), CanvasView::ErrorOutline);

        QTest::mouseClick(find<QPushButton>("BTNCheck"), Qt::LeftButton);
        EXPECT_EQ(canvasAt(edge), CanvasView::ErrorOutline);
        QHelpEvent help(QEvent::ToolTip, edge, view()->mapToGlobal(edge));
        QApplication::sendEvent(view(), &help);
        EXPECT_TRUE(QToolTip::text().startsWith("quit in mainmenult.ini")) << QToolTip::text().toStdString();

        if (r.bySave) {
            select(7);
            type(doc(), {125, 222, 105, 54});
            // The outline goes with the element until the fix is saved.
            EXPECT_NE(canvasAt(edge), CanvasView::ErrorOutline);
            EXPECT_EQ(canvasAt(fixedEdge), CanvasView::ErrorOutline);
            QTest::mouseClick(find<QPushButton>("BTNSave"), Qt::LeftButton);
            EXPECT_NE(canvasAt(fixedEdge), CanvasView::ErrorOutline);
        } else {
            writeFile(menu, original);
            EXPECT_EQ(canvasAt(edge), CanvasView::ErrorOutline);
            QTest::mouseClick(find<QPushButton>("BTNCheck"), Qt::LeftButton);
            EXPECT_NE(canvasAt(edge), CanvasView::ErrorOutline);
        }
    }
}

} // namespace
