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
    const struct { QByteArray ini; DeviceSettings::Backend backend; QString folder; QString library; } rows[] = {
        {"", platformDefault, {}, defaultLibrary},
        {"[Device]\r\nBackend= folder\r\nFolder= /media/card\r\n", DeviceSettings::Backend::Folder,
         "/media/card", defaultLibrary},
        {"[device]\r\nbackend= FOLDER\r\n", DeviceSettings::Backend::Folder, {}, defaultLibrary},
        {"[Device]\r\nBackend= rapi\r\nLibrary= /opt/synce/librapi.so.2\r\n", DeviceSettings::Backend::Rapi,
         {}, "/opt/synce/librapi.so.2"},
        {"[Device]\r\nBackend= something\r\nLibrary=\r\n", platformDefault, {}, defaultLibrary},
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
        if (row.ini.contains("something")) {
            EXPECT_TRUE(readFile(file).contains(platformDefault == DeviceSettings::Backend::Folder
                                                    ? "Backend= folder" : "Backend= rapi"));
        }

        const auto api = OpenRemoteApi(settings);
        if (row.backend == DeviceSettings::Backend::Folder)
            EXPECT_NE(dynamic_cast<FolderDevice*>(api.get()), nullptr);
        else
            EXPECT_NE(dynamic_cast<RapiLibrary*>(api.get()), nullptr);
    }
}

} // namespace
