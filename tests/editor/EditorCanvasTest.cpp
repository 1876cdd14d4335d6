#include "EditorFixture.h"

#include "ElementList.h"
#include "ScreenGallery.h"

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QWheelEvent>

namespace {

using EditorCanvasTest = EditorWindowFixture;

TEST_F(EditorCanvasTest, CtrlWheelZoomsAboutThePointerAndTheKeysFitAndReset)
{
    window->openSkinFolder(skin.path());
    window->resize(1000, 420);
    window->setZoom(2);
    QApplication::processEvents();
    const QPoint pointer = at(40, 20);
    const QPoint global = view()->mapToGlobal(pointer);
    const QPointF under = view()->toTwips(pointer);
    for (int zoom : {3, 4}) {
        const QPoint p = view()->mapFromGlobal(global);
        QWheelEvent wheel(p, global, {}, {0, 120}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &wheel);
        EXPECT_EQ(view()->zoom(), zoom);
        // Within half a screen pixel: the scroll position is whole pixels.
        const QPointF now = view()->toTwips(view()->mapFromGlobal(global));
        EXPECT_LE((now - under).manhattanLength(), 15.0 / zoom) << zoom;
    }
    QTest::keyClick(window.get(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(view()->zoom(), 1);
    // Zoomed in, a press still lands on the element under the pointer.
    window->setZoom(3);
    press(QPoint(4 + 60 * 3, 4 + 60 * 3));
    release(QPoint(4 + 60 * 3, 4 + 60 * 3));
    EXPECT_EQ(activeSlot(), 0);
}

// A move with the left button held and the given keys, as QTest cannot send it.
void dragMove(QWidget* view, QPoint p, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(QEvent::MouseMove, p, view->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(view, &event);
}

TEST_F(EditorCanvasTest, BandAndCtrlClickSelectSeveralThatMoveAndAlignAsOneStep)
{
    window->openSkinFolder(skin.path());
    // From the gap between the buttons: "route" and, touched at its top edge, "selectmap".
    drag(at(120, 94), {at(125, 130), at(130, 160)});
    EXPECT_EQ(doc().selection(), (QList<int>{3, 5}));
    QTest::mouseClick(view(), Qt::LeftButton, Qt::ControlModifier, at(60, 60));
    EXPECT_EQ(doc().selection(), (QList<int>{0, 3, 5}));
    EXPECT_EQ(fields(), (QStringList{"", "", "105", "54"})); // only what all three share
    // A drag inside one of them moves all three, one step.
    forget();
    drag(at(60, 60), {at(63, 61), at(65, 62)});
    EXPECT_EQ(pixels(0).topLeft(), QPointF(15, 38));
    EXPECT_EQ(pixels(5).topLeft(), QPointF(130, 162));
    QAction* left = find<QPushButton>("BTNAlign")->menu()->actions().value(0);
    left->trigger();
    EXPECT_EQ(QList<double>({pixels(0).x(), pixels(3).x(), pixels(5).x()}), QList<double>({15, 15, 15}));
    EXPECT_EQ(doc().undoStack().count(), 2);
    // A value typed into a field applies to all three.
    auto* cx = find<QLineEdit>("txtCX");
    cx->setFocus();
    cx->selectAll();
    QTest::keyClicks(cx, QStringLiteral("100"));
    EXPECT_EQ(QList<double>({pixels(0).width(), pixels(3).width(), pixels(5).width()}), QList<double>({100, 100, 100}));
    // A plain click on empty canvas keeps the selection; a band from there starts a new one.
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, at(120, 94));
    EXPECT_EQ(doc().selection().size(), 3);
    drag(at(120, 94), {at(100, 92)});
    EXPECT_EQ(doc().selection(), QList<int>{0});
}

TEST_F(EditorCanvasTest, DragsSnapWithGuidesUnlessAltIsHeldAndLockedElementsStay)
{
    window->openSkinFolder(skin.path());
    find<QCheckBox>("ChkSnap")->click();
    // The right edge of "home" drawn to 2 pixels short of "speech": it snaps onto it.
    press(at(114, 60));
    move(at(114, 60));
    move(at(123, 60));
    EXPECT_EQ(view()->guides(), (std::vector<Snapping::Guide>{{Qt::Vertical, 125 * 15}}));
    release(at(123, 60));
    EXPECT_EQ(pixels(0), QRectF(10, 36, 115, 54));
    EXPECT_TRUE(view()->guides().empty());
    // Alt holds the snapping off.
    press(at(124, 60));
    move(at(124, 60));
    dragMove(view(), at(122, 60), Qt::AltModifier);
    release(at(122, 60));
    EXPECT_EQ(pixels(0).width(), 112);
    // A locked element is chosen but not moved.
    auto* list = find<ElementList>("ElementList");
    list->item(0, ElementList::Locked)->setCheckState(Qt::Checked);
    drag(at(60, 60), {at(80, 70)});
    EXPECT_EQ(pixels(0), QRectF(10, 36, 112, 54));
    EXPECT_EQ(doc().current(), 0);
}

} // namespace
