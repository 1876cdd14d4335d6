#include "TestFiles.h"
#include "Paths.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ConvertBase, Table)
{
    struct Case { QString number; int from; int to; QString expected; };
    const Case cases[] = {
        {"ff0000", 16, 10, "16711680"}, {"FF0000", 16, 10, "16711680"}, {"00FF00", 16, 10, "65280"},
        {"65280", 10, 16, "FF00"}, {"255", 10, 16, "FF"}, {"0", 16, 10, "0"}, {"000", 16, 10, "0"},
        {"808080", 16, 10, "8421504"}, {"z", 36, 10, "35"}, {"35", 10, 36, "Z"}, {"101", 2, 10, "5"},
        {"5", 10, 2, "101"}, {"9007199254740992", 10, 16, "20000000000000"}, {"FG", 16, 10, "Error"},
        {"", 16, 10, "Error"}, {"12", 1, 10, "Error"}, {"12", 10, 37, "Error"}, {"12", 0, 10, "Error"},
        {"12", 10, 1, "Error"}, {"2", 2, 10, "Error"}, {"-1", 10, 16, "Error"}, {" 1", 10, 16, "Error"},
        {"1.5", 10, 16, "Error"}, {QString::fromUtf8("ä"), 36, 10, "Error"},
        {QString(400, u'Z'), 36, 10, "Error"}, // beyond the range of doubles
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertBase(c.number, quint8(c.from), quint8(c.to)), c.expected)
            << c.number.left(20).toStdString() << " " << c.from << "->" << c.to;
    }
}

TEST(PathSplit, Table)
{
    struct Case { QString path; QString fileName; QString folder; };
    const Case cases[] = {
        {"C:\\a\\b.ini", "b.ini", "C:\\a\\"}, {"b.ini", "b.ini", ""}, {"", "", ""},
        {"/home/u/skin/", "", "/home/u/skin/"}, {"/home/u/x.ini", "x.ini", "/home/u/"},
        {"\\Storage Card\\MN4/MN4.exe", "MN4.exe", "\\Storage Card\\MN4/"},
        {"a/b\\c", "c", "a/b\\"},
        {"\\", "", "\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameOf(c.path), c.fileName) << c.path.toStdString();
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path.toStdString();
    }
}

TEST(FindAnyCase, ResolvesEachComponent)
{
    QTemporaryDir tmp;
    const QString root = tmp.path();
    QDir(root).mkpath("Skin/Layout");
    writeFile(root + "/Skin/Layout/MainMenuLT.ini", "x");
    writeFile(root + "/Skin/NavLib.ini", "x");
    writeFile(root + "/Skin/navlib.INI", "x");
    const QString sep = QDir::separator();

    struct Case { QString folder; QString name; QString expected; };
    const Case cases[] = {
        {root, "skin/layout/mainmenult.ini", root + sep + "Skin" + sep + "Layout" + sep + "MainMenuLT.ini"},
        {root + "/", "SKIN\\LAYOUT", root + "/Skin" + sep + "Layout"},
        {root + "/Skin", "navlib.INI", root + "/Skin" + sep + "navlib.INI"}, // exact wins
        {root + "/Skin", "NavLib.ini", root + "/Skin" + sep + "NavLib.ini"},
        {root + "/Skin", "new.ini", root + "/Skin" + sep + "new.ini"},
        {root, "nope/layout/a.ini", root + sep + "nope" + sep + "layout" + sep + "a.ini"},
        {root, "", root},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindAnyCase(c.folder, c.name), c.expected) << c.name.toStdString();
}

} // namespace
