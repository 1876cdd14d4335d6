#include "Canvas.h"
#include "Elements.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// "home" at 10,36 with 105 x 54 device pixels and a picture, a hidden "speech",
// and a "logo" that counts from home's frame.
class ElementsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    LayoutDocument doc;
    Canvas canvas;
    Elements elements{doc, canvas, QLocale::c()};

    void SetUp() override
    {
        QImage picture(8, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(dir.filePath("home.bmp"), "BMP"));
        std::vector<LayoutElement> screen(3);
        ScreenBinding binding;
        const char* sections[] = {"home", "speech", "logo"};
        const QRectF rects[] = {{150, 540, 1575, 810}, {1875, 540, 1575, 810}, {300, 690, 300, 300}};
        for (int slot = 0; slot < 3; ++slot) {
            binding.ElementSection[slot] = QString::fromLatin1(sections[slot]);
            binding.ElementFile[slot] = QStringLiteral("mainmenult.ini");
            binding.ElementVisible[0][slot] = slot != 1;
            screen[slot].rect = rects[slot];
        }
        screen[0].picture = dir.filePath("home.bmp");
        screen[2].coSystem = 0;
        doc.load(screen, {}, 2, binding);
    }

    QStringList fields() const
    {
        return {canvas.txtX()->text(), canvas.txtY()->text(), canvas.txtCX()->text(), canvas.txtCY()->text()};
    }
};

TEST_F(ElementsTest, CanvasItemsShowTheDocument)
{
    EXPECT_EQ(canvas.bitmap(0)->rect(), QRectF(150, 540, 1575, 810));
    EXPECT_EQ(canvas.frame(0)->rect(), canvas.bitmap(0)->rect());
    EXPECT_EQ(canvas.bitmap(0)->picture().size(), QSize(8, 4));
    EXPECT_TRUE(canvas.bitmap(0)->isVisible() && canvas.frame(0)->isVisible());
    EXPECT_FALSE(canvas.bitmap(1)->isVisible() || canvas.frame(1)->isVisible());
    EXPECT_FALSE(canvas.bitmap(3)->isVisible());
    EXPECT_EQ(canvas.selector()->rect(), QRectF(300, 690, 300, 300));
    EXPECT_EQ(canvas.selector()->tag(), "2");
    EXPECT_EQ(canvas.nameLabel()->text(), "logo in mainmenult.ini");
    EXPECT_EQ(fields(), QStringList({"10", "10", "20", "20"})) << "counted from home's frame";

    // A nudge repaints its element, its frame and the marker, and nothing else.
    QSignalSpy repaints(&canvas, &Canvas::itemChanged);
    doc.nudge(NudgeMode::Position, NudgeDirection::East);
    ASSERT_EQ(repaints.count(), 3);
    EXPECT_EQ(canvas.selector()->rect(), QRectF(315, 690, 300, 300));
    EXPECT_EQ(fields(), QStringList({"11", "10", "20", "20"}));

    doc.select(0);
    EXPECT_EQ(canvas.selector()->rect(), canvas.bitmap(0)->rect());
    EXPECT_EQ(fields(), QStringList({"10", "36", "105", "54"}));
    doc.load({}, {}, -1);
    EXPECT_FALSE(canvas.selector()->isVisible() || canvas.bitmap(0)->isVisible());
    EXPECT_EQ(canvas.selector()->tag(), "-1");
    EXPECT_EQ(canvas.nameLabel()->text(), "nothing selected");
}

} // namespace
