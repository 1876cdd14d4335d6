#include "TestFiles.h"
#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "FileSizeLimit.h"
#include "FolderDevice.h"
#include "ScriptedPrompter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString NoDeviceFile = QStringLiteral("Device File Does Not Exist Or Is Empty (0 Bytes)!");
const QString ReadFailed = QStringLiteral("Device File Could Not Be Read Completely!");
const QString WriteFailed = QStringLiteral("Device File Could Not Be Written Completely!");
const QString NoPcFile = QStringLiteral("PC File Does Not Exist Or Cannot Be Read!");

class DeviceLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(root);
        ASSERT_TRUE(link.ConnectDevice());
        device.calls.clear();
    }

    QString card(const QString& relative) const { return root + u'/' + relative; }
    QString pc(const QString& name) const { return base.filePath(name); }

    QTemporaryDir base;
    QString root = base.filePath(QStringLiteral("card"));
    FolderDevice folder{root};
    FaultyDevice device{folder};
    ScriptedPrompter prompter;
    int eventRuns = 0;
    DeviceLink link{device, prompter, [this] { ++eventRuns; }};
};

TEST_F(DeviceLinkTest, CopiesArriveByteForByteInChunksOf2048)
{
    for (const qsizetype size : {0, 1, 2047, 2048, 2049, 4096, 100000}) {
        SCOPED_TRACE(size);
        const QByteArray bytes = patternBytes(size);
        const QString name = QStringLiteral("f%1.bin").arg(size);
        writeFile(pc(name), bytes);
        device.calls.clear();

        ASSERT_TRUE(link.CopyFileToDevice(pc(name), u'\\' + name));
        EXPECT_EQ(readFile(card(name)), bytes);
        const qsizetype chunks = (size + 2047) / 2048;
        const QList<quint32> writes = device.sizesOf(QStringLiteral("CeWriteFile"));
        ASSERT_EQ(writes.size(), chunks);
        for (qsizetype i = 0; i < chunks; ++i)
            EXPECT_EQ(writes[i], quint32(std::min<qsizetype>(2048, size - i * 2048)));

        device.calls.clear();
        ASSERT_TRUE(link.CopyFileFromDevice(u'\\' + name, pc(name + QStringLiteral(".back"))));
        EXPECT_EQ(readFile(pc(name + QStringLiteral(".back"))), bytes);
        EXPECT_EQ(device.sizesOf(QStringLiteral("CeReadFile")), QList<quint32>(chunks + 1, 2048));
        EXPECT_EQ(device.count(QStringLiteral("CeCloseHandle")), 1);
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(DeviceLinkTest, RefusedCreateShowsTheMessageOfItsErrorCode)
{
    const struct { quint32 code; QString message; } rows[] = {
        {80, QStringLiteral("A file already exists with the specified name.")},
        {87, QStringLiteral("A parameter was invalid.")}, {112, QStringLiteral("Disk if Full.")},
        {5, QStringLiteral("An unknown error occured.")}, {0, QStringLiteral("An unknown error occured.")},
        {1167, QStringLiteral("An unknown error occured.")},
    };
    writeFile(pc(QStringLiteral("a.ini")), "abc");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        prompter.shown.clear();
        device.calls.clear();
        device.createError = row.code;
        EXPECT_FALSE(link.CopyFileToDevice(pc(QStringLiteral("a.ini")), QStringLiteral("\\a.ini")));
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].text, row.message);
        EXPECT_EQ(prompter.shown[0].title, QStringLiteral("Tivaro"));
        EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::Ok);
        EXPECT_EQ(device.count(QStringLiteral("CeWriteFile")), 0);
        EXPECT_FALSE(QFileInfo::exists(card(QStringLiteral("a.ini"))));
    }
}

TEST_F(DeviceLinkTest, ExistingDeviceFileIsKept)
{
    writeFile(card(QStringLiteral("prefs.ini")), "device");
    writeFile(pc(QStringLiteral("prefs.ini")), "pc");
    EXPECT_FALSE(link.CopyFileToDevice(pc(QStringLiteral("prefs.ini")), QStringLiteral("\\PREFS.INI")));
    EXPECT_EQ(prompter.texts(), QStringList{"A file already exists with the specified name."});
    EXPECT_EQ(readFile(card(QStringLiteral("prefs.ini"))), "device");
}

TEST_F(DeviceLinkTest, FailureMidCopyEndsTheCopyAndIsReported)
{
    const struct
    {
        const char* name;
        bool toDevice;
        std::function<void(FaultyDevice&)> fault;
        qsizetype size;
        int calls; // reads or writes made before the copy ended
    } rows[] = {
        {"write fails", true, [](FaultyDevice& d) { d.failWriteAt = 1; }, 5000, 2},
        {"first write short", true, [](FaultyDevice& d) { d.shortWriteAt = 0; }, 5000, 1},
        {"last one-byte write short", true, [](FaultyDevice& d) { d.shortWriteAt = 2; }, 4097, 3},
        {"read fails", false, [](FaultyDevice& d) { d.failReadAt = 1; }, 5000, 2},
        {"device vanishes while reading", false, [](FaultyDevice& d) { d.vanishAfter = 3; }, 5000, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FolderDevice rowFolder{root};
        FaultyDevice rowDevice{rowFolder};
        CeRapiInit init{12};
        rowFolder.CeRapiInitEx(init);
        prompter.shown.clear();
        DeviceLink rowLink{rowDevice, prompter};
        const QByteArray bytes = patternBytes(row.size);
        writeFile(pc(QStringLiteral("source.bin")), bytes);
        writeFile(card(QStringLiteral("source.bin")), bytes);
        writeFile(pc(QStringLiteral("target.bin")), "old");
        QFile::remove(card(QStringLiteral("target.bin")));
        row.fault(rowDevice);

        if (row.toDevice) {
            EXPECT_FALSE(rowLink.CopyFileToDevice(pc(QStringLiteral("source.bin")), QStringLiteral("\\target.bin")));
            EXPECT_EQ(rowDevice.count(QStringLiteral("CeWriteFile")), row.calls);
            EXPECT_FALSE(QFileInfo::exists(card(QStringLiteral("target.bin"))));
            EXPECT_EQ(prompter.texts(), QStringList{WriteFailed});
        } else {
            EXPECT_FALSE(rowLink.CopyFileFromDevice(QStringLiteral("\\source.bin"), pc(QStringLiteral("target.bin"))));
            EXPECT_EQ(rowDevice.count(QStringLiteral("CeReadFile")), row.calls);
            EXPECT_EQ(readFile(pc(QStringLiteral("target.bin"))), "old");
            EXPECT_EQ(prompter.texts(), QStringList{ReadFailed});
        }
        EXPECT_EQ(rowDevice.count(QStringLiteral("CeCloseHandle")), 1);
    }
}

// A full disk, whether the device finds out at a write or only when the file
// is closed: the copy fails and says so, and no partial or stray file is left.
TEST_F(DeviceLinkTest, FullDiskLeavesNoPartialFileAndKeepsTheOldOne)
{
    for (const qsizetype size : {100000, 600000}) {
        for (const bool replace : {false, true}) {
            SCOPED_TRACE(std::to_string(size) + (replace ? " replace" : " new"));
            writeFile(card(QStringLiteral("prefs.ini")), "old");
            writeFile(pc(QStringLiteral("big.bin")), patternBytes(size));
            const int failures = runWithFileSizeLimit(50000, [&] {
                const bool copied = replace ? link.ReplaceDeviceFile(pc(QStringLiteral("big.bin")), QStringLiteral("\\prefs.ini"))
                                            : link.CopyFileToDevice(pc(QStringLiteral("big.bin")), QStringLiteral("\\big.bin"));
                return (copied ? 1 : 0) + (texts() == QStringList{WriteFailed} ? 0 : 2);
            });
            EXPECT_EQ(failures, 0);
            EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"prefs.ini"});
            EXPECT_EQ(readFile(card(QStringLiteral("prefs.ini"))), "old");
        }
    }
}

TEST_F(DeviceLinkTest, MissingSourcesAreReportedAndTouchNothing)
{
    writeFile(pc(QStringLiteral("kept.ini")), "kept");
    QDir().mkpath(pc(QStringLiteral("folder")));

    EXPECT_FALSE(link.CopyFileFromDevice(QStringLiteral("\\missing.ini"), pc(QStringLiteral("kept.ini"))));
    EXPECT_FALSE(link.CopyFileFromDevice(QStringLiteral("\\missing.ini"), pc(QStringLiteral("new.ini"))));
    EXPECT_EQ(readFile(pc(QStringLiteral("kept.ini"))), "kept");
    EXPECT_FALSE(QFileInfo::exists(pc(QStringLiteral("new.ini"))));

    EXPECT_FALSE(link.CopyFileToDevice(pc(QStringLiteral("missing.ini")), QStringLiteral("\\a.ini")));
    EXPECT_FALSE(link.CopyFileToDevice(pc(QStringLiteral("folder")), QStringLiteral("\\b.ini")));
    EXPECT_EQ(device.count(QStringLiteral("CeCreateFile")), 2);
    EXPECT_EQ(prompter.texts(), (QStringList{NoDeviceFile, NoDeviceFile, NoPcFile, NoPcFile}));
    EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(DeviceLinkTest, EmptyDeviceFileGivesEmptyPcFileSilently)
{
    writeFile(card(QStringLiteral("empty.ini")), "");
    writeFile(pc(QStringLiteral("empty.ini")), "old");
    EXPECT_TRUE(link.CopyFileFromDevice(QStringLiteral("\\empty.ini"), pc(QStringLiteral("empty.ini"))));
    EXPECT_EQ(readFile(pc(QStringLiteral("empty.ini"))), "");
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(DeviceLinkTest, OpenAsksForTheAccessOfItsMode)
{
    const struct { qint16 mode; bool createNew; quint32 access; quint32 creation; } rows[] = {
        {1, false, 0x80000000u, 3}, {2, true, 0x40000000u, 1}, {3, false, 0xC0000000u, 3},
        {4, false, 0, 3},           {0, true, 0, 1},           {-1, false, 0, 3},
    };
    writeFile(card(QStringLiteral("f.ini")), "x");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        device.calls.clear();
        const CeHandle handle = link.OpenDeviceFile(QStringLiteral("\\f.ini"), row.mode, row.createNew, 128);
        ASSERT_EQ(device.calls.size(), 1);
        EXPECT_EQ(device.calls[0].size, row.access);
        EXPECT_EQ(device.calls[0].creation, row.creation);
        EXPECT_EQ(handle == -1, row.createNew); // the file exists already
        if (handle != -1)
            device.CeCloseHandle(handle);
    }
}

TEST_F(DeviceLinkTest, ListsOnlySubFolders)
{
    QDir().mkpath(card(QStringLiteral("MN4/Skins/Tag/Layout")));
    QDir().mkpath(card(QStringLiteral("MN4/Skins/Nacht")));
    writeFile(card(QStringLiteral("MN4/Skins/Nacht.ini")), "");
    writeFile(card(QStringLiteral("MN4/Layout/defaultlt.ini")), "");

    EXPECT_EQ(link.ListDeviceFolders(QStringLiteral("\\MN4\\Skins\\")), (QStringList{"Nacht", "Tag"}));
    EXPECT_EQ(device.calls.first().path, QStringLiteral("\\MN4\\Skins\\*"));
    EXPECT_EQ(device.count(QStringLiteral("CeFindClose")), 1);
    EXPECT_TRUE(link.ListDeviceFolders(QStringLiteral("\\MN4\\Layout\\")).isEmpty());
    EXPECT_TRUE(link.ListDeviceFolders(QStringLiteral("\\Nowhere\\")).isEmpty());
}

TEST_F(DeviceLinkTest, DeletesExactlyTheNamedFolderTree)
{
    const QString outside = pc(QStringLiteral("outside"));
    writeFile(outside + QStringLiteral("/keep.txt"), "keep");
    const struct { QString path; bool deletes; } rows[] = {
        {"\\MN4\\Skins\\Tag", true}, {"\\mn4\\skins\\TAG\\", true},
        // "." or an empty name joined into a path must never stand for the folder above.
        {"\\MN4\\Skins\\.", false}, {"\\MN4\\Skins\\.\\", false}, {"\\MN4\\Skins\\\\", false},
        {"\\MN4\\.\\Skins\\Tag", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        writeFile(card(QStringLiteral("MN4/Skins/Tag/Tag.ini")), "t");
        writeFile(card(QStringLiteral("MN4/Skins/Tag/Layout/defaultlt.ini")), "l");
        writeFile(card(QStringLiteral("MN4/Skins/Tag/Font/Deep/Deeper/a.fnt")), "f");
        QDir().mkpath(card(QStringLiteral("MN4/Skins/Tag/Font2")));
        QFile::link(outside, card(QStringLiteral("MN4/Skins/Tag/Font/out")));
        writeFile(card(QStringLiteral("MN4/Skins/Nacht/Nacht.ini")), "n");
        const QStringList before = treeOf(root);
        device.calls.clear();

        link.DeleteDeviceFolder(row.path);
        EXPECT_EQ(readFile(outside + QStringLiteral("/keep.txt")), "keep");
        if (!row.deletes) {
            EXPECT_EQ(treeOf(root), before);
            continue;
        }
        EXPECT_FALSE(QFileInfo::exists(card(QStringLiteral("MN4/Skins/Tag"))));
        EXPECT_EQ(readFile(card(QStringLiteral("MN4/Skins/Nacht/Nacht.ini"))), "n");
        // Six folders searched; the empty Font2 opens no search, every other one is closed.
        EXPECT_EQ(device.count(QStringLiteral("CeFindFirstFile")), 6);
        EXPECT_EQ(device.count(QStringLiteral("CeFindClose")), 5);
    }
}

TEST_F(DeviceLinkTest, ConnectionFollowsTheDevice)
{
    EXPECT_EQ(eventRuns, 2);
    EXPECT_EQ(link.GetDeviceVersion(), QStringLiteral("4.20.0 Folder device"));
    EXPECT_EQ(device.sizesOf(QStringLiteral("CeGetVersionEx")), QList<quint32>{148});
    EXPECT_EQ(link.DisconnectDevice(), CeOk);
    EXPECT_FALSE(link.IsDeviceConnected());
    EXPECT_EQ(link.GetDeviceVersion(), QString());

    EXPECT_TRUE(link.ConnectDevice());
    EXPECT_EQ(device.sizesOf(QStringLiteral("CeRapiInitEx")), QList<quint32>{12});
    QDir(root).removeRecursively();
    EXPECT_FALSE(link.IsDeviceConnected());
    EXPECT_FALSE(link.ConnectDevice());
}

} // namespace
