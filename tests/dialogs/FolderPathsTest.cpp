#include "FolderPaths.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(FolderPaths, ValidFolderMatchesAsAWildcardPrefix)
{
    const struct { const char* path; const char* validFolder; bool matches; } cases[] = {
        {R"(c:\skins\night)", R"(C:\Skins)", true}, {R"(D:\Skins)", R"(C:\Skins)", false},
        {R"(C:\Sk)", R"(C:\Skins)", false}, {"C:/Skins/Night", R"(C:\Skins)", true},
        {"/home/anna/Skins/Tag", "/home/*/skins", true}, {"/home/anna/Karten", "/home/*/skins", false},
        {"/media/a1", "/media/?1", true}, {"/media/1", "/media/?1", false}, {"", "/media", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesValidFolder(QString::fromUtf8(c.path), QString::fromUtf8(c.validFolder)), c.matches)
            << c.path << " against " << c.validFolder;
}

TEST(FolderPaths, ResultsKeepNoTrailingSeparatorButTheRoot)
{
    EXPECT_EQ(NativeResultPath(""), "");
    EXPECT_EQ(NativeResultPath("/tmp/skins/"), QDir::toNativeSeparators("/tmp/skins"));
    EXPECT_EQ(NativeResultPath("/tmp/./skins/../karten"), QDir::toNativeSeparators("/tmp/karten"));
    EXPECT_EQ(NativeResultPath(QDir::rootPath()), QDir::toNativeSeparators(QDir::rootPath()));
    EXPECT_FALSE(SpecialFolderPath(999).has_value());
}
