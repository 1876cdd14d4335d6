#include "TestFiles.h"
#include "FolderDevice.h"
#include "OpenRemoteApi.h"
#include "RapiLibrary.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DeviceSettings, SectionDeviceChoosesTheBackend)
{
#ifdef Q_OS_WIN
    const DeviceSettings::Backend platformDefault = DeviceSettings::Backend::Rapi;
    const QString defaultLibrary = "rapi.dll";
#else
    const DeviceSettings::Backend platformDefault = DeviceSettings::Backend::Folder;
    const QString defaultLibrary = "librapi.so.2";
#endif
    const DeviceSettings::Backend folder = DeviceSettings::Backend::Folder, rapi = DeviceSettings::Backend::Rapi;
    const struct { QByteArray ini; DeviceSettings::Backend backend; QString folder; QString library; int kbs = 0; } rows[] = {
        {"", platformDefault, {}, defaultLibrary}, {"[device]\r\nbackend= FOLDER\r\n", folder, {}, defaultLibrary},
        {"[Device]\r\nBackend= folder\r\nFolder= /media/card\r\nThroughput= 1000\r\n", folder, "/media/card",
         defaultLibrary, 1000},
        {"[Device]\r\nBackend= rapi\r\nLibrary= /opt/librapi.so.2\r\nThroughput= -5\r\n", rapi, {}, "/opt/librapi.so.2"},
        {"[Device]\r\nBackend= something\r\nLibrary=\r\nThroughput= fast\r\n", platformDefault, {}, defaultLibrary},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.ini.toStdString());
        QTemporaryDir dir;
        const QString file = dir.filePath("Tivaro.ini");
        writeFile(file, row.ini);
        const DeviceSettings settings = DeviceSettings::read(file);
        EXPECT_EQ(settings.backend, row.backend);
        EXPECT_EQ(settings.folder, row.folder);
        EXPECT_EQ(settings.library, row.library);
        EXPECT_EQ(settings.throughput, row.kbs);
        if (row.ini.contains("something")) { // an unknown backend is replaced by the default
            EXPECT_TRUE(readFile(file).contains(platformDefault == folder ? "Backend= folder" : "Backend= rapi"));
        }

        const auto api = OpenRemoteApi(settings);
        EXPECT_EQ(dynamic_cast<FolderDevice*>(api.get()) != nullptr, row.backend == folder);
        EXPECT_EQ(dynamic_cast<RapiLibrary*>(api.get()) != nullptr, row.backend == rapi);
    }
}

// The folder device paced to a throughput waits until its bytes fit the time.
TEST(FolderDeviceThroughput, WaitsUntilTheBytesFitTheTime)
{
    const struct { qint64 bytes, elapsedMs; int kbs; qint64 waitMs; } rows[] = {
        {1024000, 400, 1000, 600}, {1024000, 1000, 1000, 0}, {1024000, 2000, 1000, 0}, {1024000, 0, 0, 0}, {2048, 0, 1, 2000}};
    for (const auto& row : rows)
        EXPECT_EQ(FolderDevice::paceDelay(row.bytes, row.elapsedMs, row.kbs), row.waitMs)
            << row.bytes << " bytes after " << row.elapsedMs << " ms at " << row.kbs << " KB/s";
}

} // namespace
