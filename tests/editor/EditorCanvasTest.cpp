#include "EditorFixture.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

using EditorCanvasTest = EditorWindowFixture;

TEST_F(EditorCanvasTest, CtrlWheelZoomsAboutThePointerAndTheKeysFitAndReset)
{
    window->openSkinFolder(skin.path());
    window->resize(300, 300);
    QApplication::processEvents();
    const QPoint pointer = at(40, 50);
    const QPoint global = view()->mapToGlobal(pointer);
    const QPointF under = view()->toTwips(pointer);
    for (int zoom : {2, 3}) {
        const QPoint p = view()->mapFromGlobal(global);
        QWheelEvent wheel(p, global, {}, {0, 120}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &wheel);
        EXPECT_EQ(view()->zoom(), zoom);
        // Within half a screen pixel: the scroll position is whole pixels.
        const QPointF now = view()->toTwips(view()->mapFromGlobal(global));
        EXPECT_LE((now - under).manhattanLength(), 15.0 / zoom) << zoom;
    }
    EXPECT_GT(window->canvasArea()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(find<QComboBox>("ZoomBox")->currentText(), QStringLiteral("3×"));
    QTest::keyClick(window.get(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(view()->zoom(), 1);
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(view()->zoom(), 2);
    window->resize(1400, 1000);
    QApplication::processEvents();
    QTest::keyClick(window.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(view()->zoom(), 3);
    // Zoomed in, a press still lands on the element under the pointer.
    press(QPoint(4 + 60 * 3, 4 + 60 * 3));
    release(QPoint(4 + 60 * 3, 4 + 60 * 3));
    EXPECT_EQ(activeSlot(), 0);
}

} // namespace
