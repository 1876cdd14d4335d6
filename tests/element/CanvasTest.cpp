#include "Canvas.h"
#include "PictureCache.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

class CanvasTest : public ::testing::Test
{
protected:
    Canvas canvas;
};

TEST_F(CanvasTest, OnlyRealChangesAreReportedWithBothRectangles)
{
    CanvasShape* frame = canvas.frame(3);
    QSignalSpy spy(&canvas, &Canvas::itemChanged);
    frame->setGeometry(10, 20, 30, 40);
    frame->setGeometry(10, 20, 30, 40);      // no change, no report
    EXPECT_FALSE(frame->setWidth(-15));      // refused, no report
    frame->setLeft(10.25);                   // small steps are changes too
    frame->setVisible(true);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0][2].toRectF(), QRectF(10, 20, 30, 40));
    EXPECT_EQ(spy[1][1].toRectF(), QRectF(10, 20, 30, 40));
    EXPECT_EQ(spy[1][2].toRectF().x(), 10.25);
    EXPECT_EQ(spy[2][1].toRectF(), spy[2][2].toRectF());
}

TEST_F(CanvasTest, PicturesLoadFromBitmapFilesAndFailEmpty)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage image(12, 7, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString good = dir.filePath("button.bmp");
    ASSERT_TRUE(image.save(good, "BMP"));
    const QString garbage = dir.filePath("broken.bmp");
    writeFile(garbage, "BM this is not a bitmap");
    QFile::copy(good, dir.filePath("cut.bmp"));
    QFile::resize(dir.filePath("cut.bmp"), 40);

    CanvasBitmap* b = canvas.bitmap(0);
    const struct { QString path; bool loads; } rows[] = {
        // Every failure follows a success, so a failed load must drop the previous picture.
        {good, true}, {dir.filePath("missing.bmp"), false}, {good, true}, {garbage, false}, {good, true},
        {dir.filePath("cut.bmp"), false}, {good, true}, {dir.path(), false}, {good, true}, {QString(), false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.path.toStdString());
        EXPECT_EQ(b->loadPicture(r.path), r.loads);
        EXPECT_EQ(b->picture().isNull(), !r.loads);
        if (r.loads) {
            EXPECT_EQ(b->picture().size(), QSize(12, 7));
        }
    }
    // A bitmap replaced on disk shows anew, however often it was shown before.
    QImage wider(20, 7, QImage::Format_RGB32);
    wider.fill(Qt::red);
    ASSERT_TRUE(wider.save(good, "BMP"));
    EXPECT_TRUE(b->loadPicture(good));
    EXPECT_EQ(b->picture().size(), QSize(20, 7));
}

TEST(PictureCacheTest, KeepsShownPicturesAndTheLatestSpareOnesWithinItsBudget)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto bitmap = [&](const char* name) {
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(Qt::green);
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    };
    const QString a = bitmap("a.bmp"), b = bitmap("b.bmp"), c = bitmap("c.bmp");
    const qsizetype one = QImage(10, 10, QImage::Format_RGB32).sizeInBytes();

    PictureCache cache(one); // room for one picture no one shows
    QImage shown = cache.load(a);
    QImage again = cache.load(a);
    EXPECT_EQ(again.constBits(), shown.constBits()) << "a shown picture is shared, not decoded again";
    EXPECT_EQ(cache.spareBytes(), 0);
    shown = cache.load(b);
    EXPECT_EQ(cache.spareBytes(), 0) << "again still shows a";
    again = QImage();
    EXPECT_EQ(cache.spareBytes(), one);
    shown = QImage();
    EXPECT_EQ(cache.spareBytes(), 2 * one) << "letting go is no load";
    cache.keepBudget(); // a and b spare: the older one, a, goes
    EXPECT_EQ(cache.spareBytes(), one);
    shown = cache.load(c);
    EXPECT_EQ(cache.spareBytes(), one);
    const QImage third = shown;
    shown = cache.load(b); // b was kept: shown again, nothing spare is left
    EXPECT_EQ(cache.spareBytes(), 0) << "the older spare picture was kept instead of the newer";

    // A picture shown again counts as the latest.
    PictureCache recent(one);
    recent.load(a);
    recent.load(b);
    recent.load(a);
    const QImage showsC = recent.load(c); // a and b spare: b is older now
    const QImage showsA = recent.load(a);
    EXPECT_EQ(recent.spareBytes(), 0) << "a was forgotten instead of b";

    PictureCache none(0);
    shown = none.load(a);
    const QImage held = none.load(b);
    EXPECT_EQ(none.load(b).constBits(), held.constBits()) << "a budget of 0 still keeps what is shown";
    EXPECT_EQ(none.spareBytes(), 0);
    EXPECT_TRUE(none.load(dir.filePath("missing.bmp")).isNull());
}

} // namespace
