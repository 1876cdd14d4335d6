#include "ProgramBitmaps.h"
#include "ScreenCatalogue.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// Every bitmap path the loader asks for, relative to the program folder.
QStringList expectedPaths()
{
    QStringList paths = {ScreenCatalogue::backgroundBitmap(false), ScreenCatalogue::backgroundBitmap(true)};
    for (const ScreenEntry& screen : ScreenCatalogue::screens())
        for (const QString& section : screen.sections)
            paths << ScreenCatalogue::elementBitmap(BindScreen(screen, PlainLayoutFiles(), {}).pictureFolder, section);
    paths.removeDuplicates();
    return paths;
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

TEST(ProgramBitmapsTest, EveryBitmapTheLoaderNeedsIsATrueColourBmp)
{
    QTemporaryDir program;
    ASSERT_TRUE(ProgramBitmaps::writeAll(program.path()).isEmpty());
    const QStringList paths = expectedPaths();
    EXPECT_EQ(paths.size(), 2 + 25 + 512); // the three map views share one folder
    for (const QString& relative : paths) {
        SCOPED_TRACE(relative.toStdString());
        QFile file(QDir(program.path()).filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(54);
        ASSERT_EQ(head.size(), 54);
        EXPECT_EQ(head.left(2), QByteArray("BM"));
        EXPECT_EQ(qFromLittleEndian<quint16>(head.constData() + 28), 24) << "bits per pixel";
        EXPECT_EQ(qFromLittleEndian<quint32>(head.constData() + 2), quint32(file.size()));

        const QImage image(file.fileName());
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(distinctColours(image), 8) << "drawn, not a plain fill";
    }
}
