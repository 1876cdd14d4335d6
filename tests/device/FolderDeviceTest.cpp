#include "FileSizeLimit.h"
#include "FolderDevice.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FolderDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(root + "/MN4/Skins/Nacht/NavLib.ini", "[mainSchematic]\r\n");
        writeFile(outside + "/secret.txt", "keep");
        QFile::link(outside, root + "/Link");
        QFile::link(outside + "/secret.txt", root + "/FileLink");
        QFile::link(outside + "/new.txt", root + "/Dangling");
        CeRapiInit init{12};
        ASSERT_EQ(device.CeRapiInitEx(init), CeOk);
    }

    QStringList list(const QString& pattern)
    {
        QStringList names;
        CeFindData data;
        const CeHandle search = device.CeFindFirstFile(pattern, data);
        if (search == InvalidCeHandle)
            return names;
        do
            names << data.cFileName + (data.dwFileAttributes & 16 ? "/" : QString());
        while (device.CeFindNextFile(search, data));
        device.CeFindClose(search);
        return names;
    }

    QTemporaryDir base;
    QString root = base.filePath("card");
    QString outside = base.filePath("outside");
    FolderDevice device{root};
};

// Each way out of the folder on its own row: no operation reaches what lies outside.
// A link itself may be removed; what it points to stays.
TEST_F(FolderDeviceTest, PathsLeadingOutsideAreRefused)
{
    const QStringList before = treeOf(outside);
    const char* const rows[] = {"\\..\\outside\\secret.txt", "\\MN4\\..\\..\\outside\\secret.txt",
                                "\\Link\\secret.txt", "\\link\\new.txt", "\\FileLink", "\\Dangling"};
    for (const QString path : rows) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(device.CeCreateFile(path, CeFile::GenericRead, 0, CeFile::OpenExisting, 128), -1);
        EXPECT_EQ(device.CeCreateFile(path, CeFile::GenericWrite, 0, CeFile::CreateAlways, 128), -1);
        EXPECT_FALSE(device.CeCopyFile("\\MN4\\Skins\\Nacht\\NavLib.ini", path, false));
        EXPECT_FALSE(device.CeMoveFile("\\MN4\\Skins\\Nacht\\NavLib.ini", path));
        EXPECT_FALSE(device.CeCreateDirectory(path + "\\x"));
        EXPECT_TRUE(list(path.left(path.lastIndexOf('\\')) + "\\*").filter("secret").isEmpty());
        if (path.count(u'\\') > 1) // through ".." or a linked folder
            EXPECT_FALSE(device.CeDeleteFile(path));
        EXPECT_EQ(treeOf(outside), before);
    }
    EXPECT_TRUE(device.CeDeleteFile("\\FileLink"));
    EXPECT_FALSE(QFileInfo(root + "/FileLink").isSymLink());
    EXPECT_EQ(treeOf(outside), before);
}

TEST_F(FolderDeviceTest, ResolvesNamesWhateverTheirLetterCase)
{
    const CeHandle file = device.CeCreateFile("\\mn4\\SKINS\\nacht\\navlib.INI",
                                              CeFile::GenericRead, 0, CeFile::OpenExisting, 128);
    ASSERT_NE(file, -1);
    char buffer[64];
    quint32 read = 0;
    EXPECT_TRUE(device.CeReadFile(file, buffer, sizeof buffer, read));
    EXPECT_EQ(QByteArray(buffer, read), "[mainSchematic]\r\n");
    EXPECT_TRUE(device.CeCloseHandle(file));

    // No second name that differs only in letter case.
    EXPECT_EQ(device.CeCreateFile("\\MN4\\skins\\NACHT\\NAVLIB.ini", CeFile::GenericWrite, 0,
                                  CeFile::CreateNew, 128), -1);
    EXPECT_EQ(device.CeGetLastError(), CeError::FileExists);
    EXPECT_FALSE(device.CeCreateDirectory("\\mn4\\skins\\NACHT"));
    EXPECT_EQ(device.CeGetLastError(), CeError::AlreadyExists);

    writeFile(root + "/new.ini", "new");
    EXPECT_TRUE(device.CeCopyFile("\\NEW.INI", "\\Mn4\\Skins\\Nacht\\NAVLIB.INI", false));
    EXPECT_EQ(QDir(root + "/MN4/Skins/Nacht").entryList(QDir::Files), QStringList{"NavLib.ini"});
    EXPECT_EQ(readFile(root + "/MN4/Skins/Nacht/NavLib.ini"), "new");

    // A new file keeps the caller's spelling in an existing folder of any case.
    EXPECT_TRUE(device.CeCreateDirectory("\\mn4\\skins\\Tag"));
    EXPECT_TRUE(QFileInfo(root + "/MN4/Skins/Tag").isDir());
}

// Names are looked up in a listing of their folder; one made beside the device
// right after a lookup is found all the same.
TEST_F(FolderDeviceTest, NameMadeBesideTheDeviceIsFoundWhateverItsCase)
{
    const auto create = [&](const QString& path) {
        const CeHandle file = device.CeCreateFile(path, CeFile::GenericWrite, 0, CeFile::CreateNew, 128);
        return file != -1 && device.CeCloseHandle(file);
    };
    EXPECT_TRUE(create("\\mn4\\first.ini"));
    writeFile(root + "/MN4/OTHER.ini", "other");
    EXPECT_FALSE(create("\\MN4\\other.INI"));
    EXPECT_EQ(device.CeGetLastError(), CeError::FileExists);
    EXPECT_EQ(QDir(root + "/MN4").entryList(QDir::Files), (QStringList{"first.ini", "OTHER.ini"}));
}

TEST_F(FolderDeviceTest, SearchListsMatchingEntriesWithoutDotsAndLinksAsFiles)
{
    writeFile(root + "/MN4/prefs.ini", "");
    writeFile(root + "/MN4/Layout/defaultlt.ini", "");
    writeFile(root + "/MN4/readme.txt", "");

    EXPECT_EQ(list("\\MN4\\*"),
              (QStringList{"Layout/", "prefs.ini", "readme.txt", "Skins/"}));
    EXPECT_EQ(list("\\mn4\\*.INI"), QStringList{"prefs.ini"});
    EXPECT_EQ(list("\\MN4\\pref?.ini"), QStringList{"prefs.ini"});
    EXPECT_EQ(list("*"),
              (QStringList{"Dangling", "FileLink", "Link", "MN4/"}));
    EXPECT_TRUE(list("\\MN4\\*.bmp").isEmpty());
    EXPECT_TRUE(list("\\Missing\\*").isEmpty());
    EXPECT_EQ(device.CeGetLastError(), CeError::PathNotFound);
}

TEST_F(FolderDeviceTest, AnswersOnlyWhileConnectedAndTheFolderExists)
{
    CeOsVersionInfo info;
    info.dwOSVersionInfoSize = 148;
    EXPECT_TRUE(device.CeGetVersionEx(info));
    EXPECT_EQ(device.CeRapiUninit(), CeOk);
    EXPECT_FALSE(device.CeGetVersionEx(info));
    EXPECT_EQ(device.CeCreateFile("\\x", CeFile::GenericWrite, 0, CeFile::CreateNew, 128), -1);
    EXPECT_EQ(device.CeGetLastError(), CeError::DeviceNotConnected);

    CeRapiInit wrongSize{24};
    EXPECT_NE(device.CeRapiInitEx(wrongSize), CeOk);
    CeRapiInit init{12};
    EXPECT_EQ(device.CeRapiInitEx(init), CeOk);
    EXPECT_TRUE(QDir(root).rename(root, root + "-pulled"));
    EXPECT_FALSE(device.CeGetVersionEx(info));
}

// A full disk while a file is replaced: "disk full", the old file whole, nothing beside it.
// (New files on a full disk: the device link's test.)
TEST_F(FolderDeviceTest, FullDiskLeavesTheReplacedFileWhole)
{
    const QByteArray big = patternBytes(5000);
    writeFile(root + "/MN4/Skins/Nacht/NavLib.ini", big);
    writeFile(root + "/MN4/NavLib.ini", "live navlib");
    const QStringList before = treeOf(root);
    EXPECT_EQ(runWithFileSizeLimit(big.size() - 1, [&] {
        const bool copied = device.CeCopyFile("\\MN4\\Skins\\Nacht\\NavLib.ini", "\\MN4\\NavLib.ini", false);
        return !copied && device.CeGetLastError() == CeError::DiskFull ? 0 : 1;
    }), 0);
    EXPECT_EQ(treeOf(root), before);
}

TEST_F(FolderDeviceTest, NeverRemovesItsOwnRoot)
{
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    EXPECT_FALSE(device.CeRemoveDirectory("\\"));
    EXPECT_TRUE(QFileInfo(root).isDir());
}

} // namespace
