#include "Ini.h"
#include "TestFiles.h"
#include "Settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Settings, GuardedLayoutValues)
{
    struct Case { const char* name; QByteArray stored; Settings::LayoutLook look; QByteArray written; };
    const Case cases[] = {
        // A fresh file fills itself with the defaults; blue sits in the high byte.
        {"freshStart", "", {2, 0x808080, 3, 0xFF0000},
         "[Layout]\r\nBorderFrame= 2\r\nSelectorColor= FF0000\r\nBorderSelector= 3\r\nFrameColor= 808080\r\n"},
        {"extraCharactersAfterColour",
         "[Layout]\r\nSelectorColor= 0000FFxyz\r\n",
         {2, 0x808080, 3, 0x0000FF},
         "[Layout]\r\nSelectorColor= 0000FF\r\nBorderFrame= 2\r\nBorderSelector= 3\r\nFrameColor= 808080\r\n"},
        {"unusableValuesFallBack",
         "[Layout]\r\nBorderFrame= wide\r\nFrameColor= GG0000\r\nBorderSelector= 0\r\nSelectorColor=\r\n",
         {2, 0x808080, 3, 0xFF0000},
         "[Layout]\r\nBorderFrame= 2\r\nFrameColor= 808080\r\nBorderSelector= 3\r\nSelectorColor= FF0000\r\n"},
        {"usableValuesKept",
         "; mine\r\n[layout]\r\nborderframe = 5\r\nframecolor=00ff00\r\nBorderSelector=1\r\nSelectorColor= ff\r\n",
         {5, 0x00FF00, 1, 0xFF},
         "; mine\r\n[layout]\r\nborderframe = 5\r\nframecolor= 00ff00\r\nBorderSelector= 1\r\nSelectorColor= ff\r\n"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString file = Settings::filePath(dir.path() + QDir::separator());
        writeFile(file, c.stored);
        EXPECT_TRUE(Settings::readLayoutLook(file) == c.look) << c.name;
        EXPECT_EQ(readFile(file), c.written) << c.name;
    }
}

TEST(Settings, ViewStateKeepsWhatIsUsableAndRoundTrips)
{
    const struct { const char* name; QByteArray stored; Settings::ViewState view; } cases[] = {
        {"missing", "", {}},
        {"usable", "[view]\r\nzoom = 3\r\nWindow= 10, 20,800,600\r\nMaximized= 1\r\nSnap= 1\r\nDocks= AP8=\r\n",
         {3, {10, 20, 800, 600}, true, true, QByteArray("\x00\xff", 2)}},
        {"unusable", "[View]\r\nZoom= big\r\nWindow= 0,0,50,600\r\nSnap= x\r\n", {}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Tivaro.ini"));
        writeFile(file, c.stored);
        const Settings::ViewState view = Settings::readViewState(file);
        EXPECT_TRUE(view == c.view) << c.name;
        ASSERT_TRUE(Settings::writeViewState(file, view)) << c.name;
        EXPECT_TRUE(Settings::readViewState(file) == view) << c.name;
    }
}

TEST(Settings, RecentFoldersComeNewestFirstOnceAndAtMostEight)
{
    const QStringList eight = {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"};
    const struct { const char* name; QStringList before; QString opened; QStringList after; } cases[] = {
        {"first", {}, "/a", {"/a"}},
        {"again moves to the front", {"/a", "/b", "/c"}, "/c", {"/c", "/a", "/b"}},
        {"a trailing separator is the same folder", {"/a", "/b/"}, "/b", {"/b", "/a"}},
        {"the oldest drops out", eight, "/9", {"/9", "/1", "/2", "/3", "/4", "/5", "/6", "/7"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Settings::withRecentFolder(c.before, c.opened), c.after) << c.name;

    // Edited by hand: gaps, blanks, a folder twice, more than eight keys.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tivaro.ini"));
    writeFile(file, "[recent]\nfolder1 = /x\nFolder3= /y\nFolder4=\nFolder5= /x/\nFolder9= /z\n");
    EXPECT_EQ(Settings::readRecentFolders(file), QStringList({"/x", "/y"}));
    ASSERT_TRUE(Settings::writeRecentFolders(file, eight));
    EXPECT_EQ(Settings::readRecentFolders(file), eight);
}

} // namespace
