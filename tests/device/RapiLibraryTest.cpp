#include "TestFiles.h"
#include "DeviceLink.h"
#include "RapiLibrary.h"
#include "RapiRecords.h"
#include "ScriptedPrompter.h"

#include <QLibrary>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The remote API backend against the stand-in library, which serves a folder.
class RapiLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rapi.isLoaded()) << rapi.errorString().toStdString();
        ASSERT_TRUE(control.load());
        const auto setRoot = reinterpret_cast<void (*)(const char16_t*)>(control.resolve("StandInSetRoot"));
        ASSERT_TRUE(setRoot);
        QDir().mkpath(root);
        setRoot(reinterpret_cast<const char16_t*>(root.utf16()));
    }

    template<typename T>
    T standIn(const char* name)
    {
        return reinterpret_cast<T>(control.resolve(name));
    }

    QTemporaryDir base;
    QString root = base.filePath("device");
    QLibrary control{QString(TIVARO_STANDIN_LIBRARY)};
    RapiLibrary rapi{QString(TIVARO_STANDIN_LIBRARY)};
    ScriptedPrompter prompter;
    DeviceLink link{rapi, prompter};
};

TEST_F(RapiLibraryTest, PassesTheRecordSizesAndCopiesByteForByte)
{
    EXPECT_FALSE(link.IsDeviceConnected());
    ASSERT_TRUE(link.ConnectDevice());
    EXPECT_EQ(standIn<Rapi::DWORD (*)()>("StandInStartRecordSize")(), 12u);
    EXPECT_EQ(standIn<Rapi::DWORD (*)()>("StandInVersionRecordSize")(), 148u);
    EXPECT_EQ(link.GetDeviceVersion(), "4.20.0 Folder device");
    for (const qsizetype size : {0, 2049, 100000}) {
        SCOPED_TRACE(size);
        const QByteArray bytes = patternBytes(size);
        writeFile(base.filePath("up.bin"), bytes);
        const QString name = QString("\\f%1.bin").arg(size);
        ASSERT_TRUE(link.CopyFileToDevice(base.filePath("up.bin"), name));
        EXPECT_TRUE(standIn<Rapi::BOOL (*)()>("StandInSecurityZeroed")());
        EXPECT_EQ(readFile(root + QString("/f%1.bin").arg(size)), bytes);
        ASSERT_TRUE(link.CopyFileFromDevice(name, base.filePath("down.bin")));
        EXPECT_EQ(readFile(base.filePath("down.bin")), bytes);
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(link.DisconnectDevice(), CeOk);
    EXPECT_FALSE(link.IsDeviceConnected());
}

TEST_F(RapiLibraryTest, CarriesUtf16NamesFoldersAndErrorCodes)
{
    ASSERT_TRUE(link.ConnectDevice());
    const QString skin = "Nächte \u65E5\u672C";
    QDir().mkpath(root + "/MN4/Skins/" + skin + "/Layout");
    QDir().mkpath(root + "/MN4/Skins/Tag");
    writeFile(root + "/MN4/Skins/note.txt", "");
    EXPECT_EQ(link.ListDeviceFolders("\\MN4\\Skins\\"), (QStringList{skin, "Tag"}));

    writeFile(base.filePath("a.ini"), "abc");
    // A file's size and time cross in the find record, the time set by its upload.
    ASSERT_TRUE(link.sendFile(base.filePath("a.ini"), "\\MN4\\a.ini", {}, 0x01DA0000'12345670ull).whole);
    const QList<CeFindData> entries = link.ListDeviceEntries("\\MN4");
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].nFileSize, 3u);
    EXPECT_EQ(entries[0].ftLastWriteTime, 0x01DA0000'12345670ull);
    EXPECT_FALSE(link.CopyFileToDevice(base.filePath("a.ini"), "\\MN4\\Skins\\note.txt"));
    EXPECT_EQ(prompter.texts(), QStringList{"A file already exists with the specified name."});

    EXPECT_TRUE(rapi.CeCreateDirectory("\\MN4\\Skins\\" + skin + "\\Font"));
    EXPECT_TRUE(rapi.CeCopyFile("\\MN4\\Skins\\note.txt", "\\MN4\\note.txt", false));
    EXPECT_TRUE(rapi.CeMoveFile("\\MN4\\note.txt", "\\MN4\\moved.txt"));
    EXPECT_TRUE(QFileInfo::exists(root + "/MN4/moved.txt"));
    EXPECT_FALSE(rapi.CeCreateProcess("\\MN4\\MobileNavigator.exe", QString()));
    EXPECT_EQ(rapi.CeGetLastError(), CeError::NotSupported);

    link.DeleteDeviceFolder("\\MN4\\Skins\\" + skin);
    EXPECT_FALSE(QFileInfo::exists(root + "/MN4/Skins/" + skin));
    EXPECT_TRUE(QFileInfo::exists(root + "/MN4/Skins/Tag"));
}

TEST(RapiLibraryMissing, DeviceNeverAnswers)
{
    // The last is a library without the remote API.
    for (const QString name : {"", "librapi-that-is-not-there.so.2", "Qt6Core"}) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir base;
        RapiLibrary rapi{name};
        ScriptedPrompter prompter;
        DeviceLink link{rapi, prompter};
        EXPECT_FALSE(rapi.isLoaded());
        EXPECT_FALSE(link.ConnectDevice());
        EXPECT_EQ(link.GetDeviceVersion(), QString());
        EXPECT_TRUE(link.ListDeviceFolders("\\").isEmpty());
        writeFile(base.filePath("a.ini"), "a");
        EXPECT_FALSE(link.CopyFileToDevice(base.filePath("a.ini"), "\\a.ini"));
        EXPECT_FALSE(link.CopyFileFromDevice("\\a.ini", base.filePath("b.ini")));
        EXPECT_FALSE(QFileInfo::exists(base.filePath("b.ini")));
        link.DeleteDeviceFolder("\\");
        EXPECT_EQ(prompter.shown.size(), 2);
    }
}

} // namespace
