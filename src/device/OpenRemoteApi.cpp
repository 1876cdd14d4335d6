#include "OpenRemoteApi.h"

#ifdef Q_OS_UNIX
#include "FolderDevice.h"
#endif
#include "Ini.h"
#include "RapiLibrary.h"

namespace {

#ifdef Q_OS_WIN
const QString DefaultBackend = QStringLiteral("rapi");
const QString DefaultLibrary = QStringLiteral("rapi.dll");
#else
const QString DefaultBackend = QStringLiteral("folder");
const QString DefaultLibrary = QStringLiteral("librapi.so.2");
#endif

} // namespace

DeviceSettings DeviceSettings::read(const QString& settingsFile)
{
    const QString section = QStringLiteral("Device");
    DeviceSettings settings;
    const QString backend = ReadIni(settingsFile, section, QStringLiteral("Backend"), DefaultBackend);
    const bool folder = backend.compare(QLatin1String("folder"), Qt::CaseInsensitive) == 0;
    const bool rapi = backend.compare(QLatin1String("rapi"), Qt::CaseInsensitive) == 0;
    if (!folder && !rapi) // an unusable value falls back to the default, which is written back
        WriteIni(settingsFile, section, QStringLiteral("Backend"), DefaultBackend);
    settings.backend = folder || (!rapi && DefaultBackend == QLatin1String("folder")) ? Backend::Folder
                                                                                      : Backend::Rapi;
    settings.folder = ReadIni(settingsFile, section, QStringLiteral("Folder"), QString());
    settings.library = ReadIni(settingsFile, section, QStringLiteral("Library"), DefaultLibrary);
    if (settings.library.isEmpty())
        settings.library = DefaultLibrary;
    settings.throughput = std::max(0, ReadIni(settingsFile, section, QStringLiteral("Throughput"), QString()).toInt());
    return settings;
}

std::unique_ptr<RemoteApi> OpenRemoteApi(const DeviceSettings& settings)
{
#ifdef Q_OS_UNIX
    if (settings.backend == DeviceSettings::Backend::Folder) {
        auto device = std::make_unique<FolderDevice>(settings.folder);
        device->setThroughput(settings.throughput);
        return device;
    }
#endif
    return std::make_unique<RapiLibrary>(settings.library);
}
