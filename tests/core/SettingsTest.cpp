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
        const Settings::LayoutLook look = Settings::readLayoutLook(file);
        EXPECT_EQ(look.borderFrame, c.look.borderFrame) << c.name;
        EXPECT_EQ(look.frameColor, c.look.frameColor) << c.name;
        EXPECT_EQ(look.borderSelector, c.look.borderSelector) << c.name;
        EXPECT_EQ(look.selectorColor, c.look.selectorColor) << c.name;
        EXPECT_EQ(readFile(file), c.written) << c.name;
    }
}

TEST(Settings, ViewStateKeepsWhatIsUsableAndRoundTrips)
{
    const struct { const char* name; QByteArray stored; int zoom; QRect window; bool maximized, snap; } cases[] = {
        {"missing", "", 0, {}, false, false},
        {"usable", "[view]\r\nzoom = 3\r\nWindow= 10, 20,800,600\r\nMaximized= 1\r\nSnap= 1\r\n", 3,
         {10, 20, 800, 600}, true, true},
        {"unusable", "[View]\r\nZoom= big\r\nWindow= 0,0,50,600\r\nSnap= x\r\n", 0, {}, false, false},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Tivaro.ini"));
        writeFile(file, c.stored);
        const Settings::ViewState view = Settings::readViewState(file);
        EXPECT_EQ(view.zoom, c.zoom) << c.name;
        EXPECT_EQ(view.window, c.window) << c.name;
        EXPECT_EQ(view.maximized, c.maximized) << c.name;
        EXPECT_EQ(view.snap, c.snap) << c.name;
        ASSERT_TRUE(Settings::writeViewState(file, view)) << c.name;
        EXPECT_EQ(Settings::readViewState(file).window, view.window) << c.name;
    }
}

} // namespace
