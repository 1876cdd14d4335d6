#include "FolderPaths.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "QtPrint.h"

TEST(FolderPaths, ValidFolderMatchesAsAWildcardPrefix)
{
    const struct {
        const char* path;
        const char* validFolder;
        bool matches;
    } cases[] = {
        {R"(c:\skins\night)", R"(C:\Skins)", true},
        {R"(D:\Skins)", R"(C:\Skins)", false},
        {R"(C:\Skins)", R"(C:\Skins)", true},
        {R"(C:\Sk)", R"(C:\Skins)", false},
        {"C:/Skins/Night", R"(C:\Skins)", true},
        {"/home/anna/Skins/Tag", "/home/*/skins", true},
        {"/home/anna/Karten", "/home/*/skins", false},
        {"/media/a1", "/media/?1", true},
        {"/media/1", "/media/?1", false},
        {"", "/media", false},
        {"/anything", "", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesValidFolder(QString::fromUtf8(c.path), QString::fromUtf8(c.validFolder)), c.matches)
            << c.path << " against " << c.validFolder;
}

TEST(FolderPaths, CentringUsesIntegerHalvesWithinTheScreen)
{
    const struct {
        QRect screen;
        QSize window;
        QPoint expected;
    } cases[] = {
        {{0, 0, 1920, 1080}, {400, 300}, {760, 390}},
        {{0, 0, 1025, 769}, {400, 300}, {312, 234}},
        {{1920, 0, 1280, 1024}, {400, 300}, {2360, 362}},
        {{0, 0, 300, 200}, {400, 300}, {-50, -50}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CenteredPosition(c.screen, c.window), c.expected);
}

TEST(FolderPaths, SpecialFoldersMapOntoThisPlatformsPlaces)
{
    EXPECT_EQ(SpecialFolderPath(0), QString());
    EXPECT_EQ(SpecialFolderPath(17), QString());
    EXPECT_EQ(SpecialFolderPath(5), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(SpecialFolderPath(40), QDir::homePath());
    EXPECT_FALSE(SpecialFolderPath(999).has_value());
    EXPECT_FALSE(SpecialFolderPath(-1).has_value());
}

TEST(FolderPaths, ResultsKeepNoTrailingSeparatorButTheRoot)
{
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {"", ""},
        {"/tmp/skins/", QDir::toNativeSeparators("/tmp/skins")},
        {"/tmp/./skins/../karten", QDir::toNativeSeparators("/tmp/karten")},
        {QDir::rootPath(), QDir::toNativeSeparators(QDir::rootPath())},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NativeResultPath(c.in), c.out) << c.in.toStdString();
}
