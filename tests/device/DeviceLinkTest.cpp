#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "FileSizeLimit.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString NoDeviceFile = "Device File Does Not Exist Or Is Empty (0 Bytes)!";
const QString NoPcFile = "PC File Does Not Exist Or Cannot Be Read!";

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
    QString root = base.filePath("card");
    FaultyDevice device{root};
    ScriptedPrompter prompter;
    DeviceLink link{device, prompter};
};

TEST_F(DeviceLinkTest, CopiesArriveByteForByteInChunksOf2048)
{
    for (const qsizetype size : {0, 1, 2047, 2048, 2049, 4096, 100000}) {
        SCOPED_TRACE(size);
        const QByteArray bytes = patternBytes(size);
        const QString name = QString("f%1.bin").arg(size);
        writeFile(pc(name), bytes);
        device.calls.clear();
        ASSERT_TRUE(link.CopyFileToDevice(pc(name), u'\\' + name));
        EXPECT_EQ(readFile(card(name)), bytes);
        const qsizetype chunks = (size + 2047) / 2048;
        QList<quint32> writes;
        for (qsizetype i = 0; i < chunks; ++i)
            writes << quint32(std::min<qsizetype>(2048, size - i * 2048));
        EXPECT_EQ(device.sizesOf("CeWriteFile"), writes);

        device.calls.clear();
        ASSERT_TRUE(link.CopyFileFromDevice(u'\\' + name, pc(name + ".back")));
        EXPECT_EQ(readFile(pc(name + ".back")), bytes);
        EXPECT_EQ(device.sizesOf("CeReadFile"), QList<quint32>(chunks + 1, 2048));
        EXPECT_EQ(device.count("CeCloseHandle"), 1);
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(DeviceLinkTest, RefusedCreateShowsTheMessageOfItsErrorCode)
{
    const QString unknown = "An unknown error occured.";
    const struct { quint32 code; QString message; } rows[] = {
        {80, "A file already exists with the specified name."}, {112, "Disk if Full."}, {5, unknown}, {0, unknown},
    };
    writeFile(pc("a.ini"), "abc");
    for (const auto& row : rows) {
        prompter.shown.clear();
        device.calls.clear();
        device.createError = row.code;
        EXPECT_FALSE(link.CopyFileToDevice(pc("a.ini"), "\\a.ini"));
        EXPECT_EQ(prompter.texts(), QStringList{row.message}) << row.code;
        EXPECT_EQ(device.count("CeWriteFile"), 0);
        EXPECT_FALSE(QFileInfo::exists(card("a.ini")));
    }
}

TEST_F(DeviceLinkTest, FailureMidCopyEndsTheCopyAndIsReported)
{
    const struct { const char* name; bool toDevice; std::function<void(FaultyDevice&)> fault; int size; int calls; }
        rows[] = {
        // calls: reads or writes made before the copy ended
        {"write fails", true, [](FaultyDevice& d) { d.failWriteAt = 1; }, 5000, 2},
        {"first write short", true, [](FaultyDevice& d) { d.shortWriteAt = 0; }, 5000, 1},
        {"last one-byte write short", true, [](FaultyDevice& d) { d.shortWriteAt = 2; }, 4097, 3},
        {"read fails", false, [](FaultyDevice& d) { d.failReadAt = 1; }, 5000, 2},
        {"device vanishes while reading", false, [](FaultyDevice& d) { d.vanishAfter = 3; }, 5000, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FaultyDevice rowDevice{root};
        CeRapiInit init{12};
        rowDevice.FolderDevice::CeRapiInitEx(init);
        prompter.shown.clear();
        DeviceLink rowLink{rowDevice, prompter};
        writeFile(pc("source.bin"), patternBytes(row.size));
        writeFile(card("source.bin"), patternBytes(row.size));
        writeFile(pc("target.bin"), "old");
        QFile::remove(card("target.bin"));
        row.fault(rowDevice);
        if (row.toDevice) {
            EXPECT_FALSE(rowLink.CopyFileToDevice(pc("source.bin"), "\\target.bin"));
            EXPECT_EQ(rowDevice.count("CeWriteFile"), row.calls);
            EXPECT_FALSE(QFileInfo::exists(card("target.bin")));
            EXPECT_EQ(prompter.texts(), QStringList{"Device File Could Not Be Written Completely!"});
        } else {
            EXPECT_FALSE(rowLink.CopyFileFromDevice("\\source.bin", pc("target.bin")));
            EXPECT_EQ(rowDevice.count("CeReadFile"), row.calls);
            EXPECT_EQ(readFile(pc("target.bin")), "old");
            EXPECT_EQ(prompter.texts(), QStringList{"Device File Could Not Be Read Completely!"});
        }
        EXPECT_EQ(rowDevice.count("CeCloseHandle"), 1);
    }
}

// A full disk, whether the device finds out at a write or only when the file
// is closed: the copy fails and says so, and no partial or stray file is left.
TEST_F(DeviceLinkTest, FullDiskLeavesNoPartialFileAndKeepsTheOldOne)
{
    for (const qsizetype size : {100000, 600000}) {
        for (const bool replace : {false, true}) {
            SCOPED_TRACE(std::to_string(size) + (replace ? " replace" : " new"));
            writeFile(card("prefs.ini"), "old");
            writeFile(pc("big.bin"), patternBytes(size));
            const int failures = runWithFileSizeLimit(50000, [&] {
                const bool copied = replace ? link.ReplaceDeviceFile(pc("big.bin"), "\\prefs.ini")
                                            : link.CopyFileToDevice(pc("big.bin"), "\\big.bin");
                return (copied ? 1 : 0)
                       + (prompter.texts() == QStringList{"Device File Could Not Be Written Completely!"} ? 0 : 2);
            });
            EXPECT_EQ(failures, 0);
            EXPECT_EQ(treeOf(root), QStringList{"prefs.ini=old"});
        }
    }
}

TEST_F(DeviceLinkTest, MissingSourcesAreReportedAndTouchNothing)
{
    writeFile(pc("kept.ini"), "kept");
    QDir().mkpath(pc("folder"));
    EXPECT_FALSE(link.CopyFileFromDevice("\\missing.ini", pc("kept.ini")));
    EXPECT_FALSE(link.CopyFileFromDevice("\\missing.ini", pc("new.ini")));
    EXPECT_EQ(readFile(pc("kept.ini")), "kept");
    EXPECT_FALSE(QFileInfo::exists(pc("new.ini")));
    EXPECT_FALSE(link.CopyFileToDevice(pc("missing.ini"), "\\a.ini"));
    EXPECT_FALSE(link.CopyFileToDevice(pc("folder"), "\\b.ini"));
    EXPECT_EQ(device.count("CeCreateFile"), 2);
    EXPECT_EQ(prompter.texts(), (QStringList{NoDeviceFile, NoDeviceFile, NoPcFile, NoPcFile}));
    EXPECT_EQ(treeOf(root), QStringList());
}

TEST_F(DeviceLinkTest, DeletesExactlyTheNamedFolderTree)
{
    const QString outside = pc("outside");
    writeFile(outside + "/keep.txt", "keep");
    const struct { QString path; bool deletes; } rows[] = {
        {"\\MN4\\Skins\\Tag", true}, {"\\mn4\\skins\\TAG\\", true},
        // "." or an empty name joined into a path must never stand for the folder above.
        {"\\MN4\\Skins\\.", false}, {"\\MN4\\Skins\\.\\", false}, {"\\MN4\\Skins\\\\", false},
        {"\\MN4\\.\\Skins\\Tag", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        for (const char* file : {"Tag/Tag.ini", "Tag/Layout/defaultlt.ini", "Tag/Font/Deep/a.fnt", "Nacht/N.ini"})
            writeFile(card("MN4/Skins/") + file, file);
        QDir().mkpath(card("MN4/Skins/Tag/Font2"));
        QFile::link(outside, card("MN4/Skins/Tag/Font/out"));
        const QStringList before = treeOf(root);
        device.calls.clear();
        link.DeleteDeviceFolder(row.path);
        EXPECT_EQ(readFile(outside + "/keep.txt"), "keep");
        if (!row.deletes) {
            EXPECT_EQ(treeOf(root), before);
            continue;
        }
        EXPECT_EQ(treeOf(card("MN4/Skins")), (QStringList{"Nacht/", "Nacht/N.ini=Nacht/N.ini"}));
        // Five folders searched; the empty Font2 opens no search, every other one is closed.
        EXPECT_EQ(device.count("CeFindFirstFile"), 5);
        EXPECT_EQ(device.count("CeFindClose"), 4);
    }
}

} // namespace
