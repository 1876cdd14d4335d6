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

TEST_F(ArrowColorsTest, UnusableComponentsReadAsZero)
{
    const struct { const char* stored; QString shown; int red; } cases[] = {
        {"00FFZZ", "00FF00", 0},    {"0082B", "00820B", 11},   {"GG", "000000", 0},
        {"0000FF123", "0000FF", 255}, {"ff00ff", "ff00ff", 255}, {"- 1x", "000000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeFile(navLib(), QByteArray("[mainSchematic]\r\nRouteColor= ") + c.stored + "\r\n");
        ArrowColors colors(folder());
        colors.load();
        EXPECT_EQ(colors.hexLabel(1), c.shown);
        EXPECT_EQ(colors.component(1, ArrowColors::Red), c.red);
        ASSERT_TRUE(colors.save());
        EXPECT_TRUE(readFile(navLib()).startsWith("[mainSchematic]\r\nRouteColor= " + c.shown.toLatin1() + "\r\n"));
    }
}

TEST_F(ArrowColorsTest, UntouchedColoursRoundTripByteForByte)
{
    const QByteArray original = "; colours of the demo skin\r\n"
                                "[mainSchematic]\r\nRouteColor= 0082BF\r\nAllColor= c0c0c0\r\nForColor= 0000FF\r\n"
                                "other= 1\r\n\r\n"
                                "[secondSchematic]\r\nRouteColor= 00FF00\r\nAllColor= FFFFFF\r\nForColor= 3\r\n\r\n"
                                "[routing]\r\nfactors= x|1.000\r\n";
    writeFile(navLib(), original);
    ArrowColors colors(folder());
    colors.load();
    ASSERT_TRUE(colors.save());
    // "3" holds only its blue digit: green and red read as 0, blue is filled up.
    QByteArray expected = original;
    expected.replace("ForColor= 3\r\n", "ForColor= 030000\r\n");
    EXPECT_EQ(readFile(navLib()), expected);
}

} // namespace
