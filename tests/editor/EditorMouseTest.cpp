#include "EditorFixture.h"

#include "ScreenCatalogue.h"
#include "ScreenRenderer.h"

#include <QPushButton>

namespace {

class EditorMouseTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        ASSERT_TRUE(window->openSkinFolder(skin.path()));
        ASSERT_EQ(pixels(0), QRectF(10, 36, 105, 54)); // "home" of the demo main menu
    }
};

} // namespace

TEST_F(EditorMouseTest, HoveringShowsTheResizePointersOfTheActiveElementOnly)
{
    ASSERT_EQ(pixels(11), QRectF(210, 0, 30, 24)); // "win", the active element
    hover(at(238, 12));
    EXPECT_EQ(view()->cursor().shape(), Qt::SizeHorCursor);
    hover(at(114, 60)); // the right edge of "home"
    EXPECT_EQ(view()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(EditorMouseTest, TheCanvasPaintsBitmapsFramesAndTheMarkerInPlace)
{
    // Every screen at its start is what the windowless renderer paints.
    ScreenRenderer renderer(state.AppPath);
    ASSERT_TRUE(renderer.open(skin.path()));
    const auto rgb = [](const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); };
    const QStringList screens = ScreenCatalogue::sortedNames() << QStringLiteral("Hauptmenu");
    for (const QString& screen : screens) {
        openScreen(screen);
        EXPECT_EQ(rgb(view()->grab().toImage()), rgb(renderer.render(screen))) << screen.toStdString();
    }
    view()->repaint();
    const QImage shot = view()->grab().toImage();
    const QRectF win = pixels(11);
    // The marker (blue by default) lies on the active element, the grey frames on the others.
    EXPECT_EQ(shot.pixelColor(at(int(win.x()), int(win.y() + 10))), QColor(0, 0, 255));
    EXPECT_EQ(shot.pixelColor(at(10, 60)), QColor(0x80, 0x80, 0x80));
    const QImage picture = window->canvas().bitmap(0)->picture();
    const QPoint centre = at(10 + 52, 36 + 27);
    const QColor expected = picture.pixelColor(picture.width() * 52 / 105, picture.height() * 27 / 54);
    EXPECT_EQ(shot.pixelColor(centre), expected);

    // A drag repaints what it uncovers: the old place shows the background again.
    drag(at(60, 60), {at(160, 200)});
    view()->repaint();
    const QImage after = view()->grab().toImage();
    const QImage background = window->canvas().background()->picture();
    EXPECT_EQ(after.pixelColor(centre), background.pixelColor(background.width() * 62 / 240,
                                                               background.height() * 63 / 320));
}

TEST_F(EditorMouseTest, EscapeDuringADragPutsEverythingBackAndLeavesNoStep)
{
    const Rects before = doc().rects();
    press(at(114, 60)); // the right edge of "home"
    move(at(114, 60));
    move(at(130, 60));
    ASSERT_EQ(pixels(0).width(), 120);
    key(Qt::Key_Escape);
    move(at(140, 70)); // the button is still held: nothing follows it now
    release(at(140, 70));
    EXPECT_EQ(doc().rects(), before);
    EXPECT_EQ(doc().undoStack().count(), 0);
    EXPECT_FALSE(window->isWindowModified());

    // Another key during a drag ends it undone first: Ctrl+Z then takes back the nudge before it.
    view()->setFocus();
    key(Qt::Key_Right);
    press(at(60, 60));
    move(at(60, 60));
    move(at(90, 90));
    key(Qt::Key_Z, Qt::ControlModifier);
    release(at(90, 90));
    EXPECT_EQ(doc().rects(), before);
    EXPECT_EQ(doc().undoStack().index(), 0);
    EXPECT_EQ(doc().undoStack().count(), 1);
}
