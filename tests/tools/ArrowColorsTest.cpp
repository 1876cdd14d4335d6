#include "ArrowColors.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ArrowColorsTest : public ::testing::Test
{
protected:
    QString folder() const { return dir.path() + QDir::separator(); }
    QString navLib() const { return dir.filePath("NavLib.ini"); }

    QTemporaryDir dir;
};

TEST_F(ArrowColorsTest, StartValuesAndKeyDefaults)
{
    const struct
    {
        const char* name;
        QByteArray file; // empty: no NavLib.ini
        bool skinFolder;
        QString route1, all1, front1, route2;
    } cases[] = {
        {"no file", {}, true, "00FF00", "FFFFFF", "0000FF", "00FF00"},
        {"no skin folder", "[mainSchematic]\r\nrouteColor= 112233\r\n", false, "00FF00", "FFFFFF", "0000FF", "00FF00"},
        {"keys missing", "[mainSchematic]\r\n", true, "0082BF", "FFFFFF", "0000FF", "0082BF"},
        {"keys in any case", "[MAINSCHEMATIC]\r\nROUTECOLOR= 112233\r\nallColor=445566\r\n", true,
         "112233", "445566", "0000FF", "0082BF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(navLib());
        if (!c.file.isEmpty())
            writeBytes(navLib(), c.file);
        ArrowColors colors(c.skinFolder ? folder() : QString());
        colors.load();
        EXPECT_EQ(colors.colorText(1, ArrowColors::Route), c.route1);
        EXPECT_EQ(colors.colorText(1, ArrowColors::AllRoads), c.all1);
        EXPECT_EQ(colors.colorText(1, ArrowColors::Front), c.front1);
        EXPECT_EQ(colors.colorText(2, ArrowColors::Route), c.route2);
        EXPECT_FALSE(colors.changed());
    }
}

TEST_F(ArrowColorsTest, ColourTextIsBlueGreenRed)
{
    writeBytes(navLib(), "[mainSchematic]\r\nRouteColor= 0082BF\r\n");
    ArrowColors colors(folder());
    colors.load();
    EXPECT_EQ(colors.component(1, ArrowColors::Red), 191);
    EXPECT_EQ(colors.component(1, ArrowColors::Green), 130);
    EXPECT_EQ(colors.component(1, ArrowColors::Blue), 0);
    EXPECT_EQ(colors.color(1, ArrowColors::Route), QColor(191, 130, 0));
    EXPECT_EQ(colors.color(2, ArrowColors::Front), QColor(255, 0, 0));
}

TEST_F(ArrowColorsTest, UnusableComponentsReadAsZero)
{
    const struct
    {
        const char* stored;
        QString shown;
        int red;
    } cases[] = {
        {"00FFZZ", "00FF00", 0},    {"0082B", "00820B", 11},   {"GG", "000000", 0},
        {"0000FF123", "0000FF", 255}, {"ff00ff", "ff00ff", 255}, {"- 1x", "000000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeBytes(navLib(), QByteArray("[mainSchematic]\r\nRouteColor= ") + c.stored + "\r\n");
        ArrowColors colors(folder());
        colors.load();
        EXPECT_EQ(colors.hexLabel(1), c.shown);
        EXPECT_EQ(colors.component(1, ArrowColors::Red), c.red);
        ASSERT_TRUE(colors.save());
        EXPECT_TRUE(readBytes(navLib()).startsWith("[mainSchematic]\r\nRouteColor= " + c.shown.toLatin1() + "\r\n"));
    }
}

TEST_F(ArrowColorsTest, UntouchedColoursRoundTripByteForByte)
{
    const QByteArray original = "; colours of the demo skin\r\n"
                                "[mainSchematic]\r\nRouteColor= 0082BF\r\nAllColor= c0c0c0\r\nForColor= 0000FF\r\n"
                                "other= 1\r\n\r\n"
                                "[secondSchematic]\r\nRouteColor= 00FF00\r\nAllColor= FFFFFF\r\nForColor= 3\r\n\r\n"
                                "[routing]\r\nfactors= x|1.000\r\n";
    writeBytes(navLib(), original);
    ArrowColors colors(folder());
    colors.load();
    ASSERT_TRUE(colors.save());
    // "3" holds only its blue digit: green and red read as 0, blue is filled up.
    QByteArray expected = original;
    expected.replace("ForColor= 3\r\n", "ForColor= 030000\r\n");
    EXPECT_EQ(readBytes(navLib()), expected);
}

TEST_F(ArrowColorsTest, ScrollBarValuesAreStoredAsHex)
{
    ArrowColors colors(folder());
    colors.load();
    colors.SetColors(1, ArrowColors::Red, 5);
    EXPECT_EQ(colors.entry(1, ArrowColors::Route, ArrowColors::Red), "5");
    EXPECT_TRUE(colors.changed());
    colors.select(ArrowColors::AllRoads);
    colors.SetColors(2, ArrowColors::Green, 200);
    colors.SetColors(2, ArrowColors::Blue, 300); // a bar never goes beyond 255
    EXPECT_EQ(colors.hexLabel(2), "FFC8FF");
    EXPECT_EQ(colors.component(2, ArrowColors::Green), 200);

    ASSERT_TRUE(colors.save());
    EXPECT_FALSE(colors.changed());
    // Both sections are written although only one was there to begin with.
    EXPECT_EQ(readBytes(navLib()),
              "[mainSchematic]\r\nRouteColor= 00FF05\r\nAllColor= FFFFFF\r\nForColor= 0000FF\r\n"
              "[secondSchematic]\r\nRouteColor= 00FF00\r\nAllColor= FFC8FF\r\nForColor= 0000FF\r\n");
}

TEST_F(ArrowColorsTest, WritesToTheFileWhateverItsCase)
{
    const QString other = dir.filePath("navlib.INI");
    writeBytes(other, "[mainSchematic]\r\nRouteColor= 0000C8\r\n");
    ArrowColors colors(folder());
    colors.load();
    EXPECT_EQ(colors.component(1, ArrowColors::Red), 200);
    colors.SetColors(1, ArrowColors::Red, 100);
    ASSERT_TRUE(colors.save());
    EXPECT_FALSE(QFile::exists(navLib()));
    EXPECT_TRUE(readBytes(other).startsWith("[mainSchematic]\r\nRouteColor= 000064\r\n"));
}

TEST_F(ArrowColorsTest, FailedSaveKeepsTheChangedFlag)
{
    const struct
    {
        const char* name;
        QString skinFolder;
    } cases[] = {
        {"no skin folder", QString()},
        {"missing folder", dir.filePath("gone") + QDir::separator()},
        {"folder in the file's place", dir.filePath("blocked") + QDir::separator()},
    };
    QDir(dir.path()).mkpath("blocked/NavLib.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ArrowColors colors(c.skinFolder);
        colors.load();
        colors.SetColors(1, ArrowColors::Blue, 1);
        EXPECT_FALSE(colors.save());
        EXPECT_TRUE(colors.changed());
    }
    EXPECT_FALSE(QDir(dir.filePath("gone")).exists());
}

} // namespace
