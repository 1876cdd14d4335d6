#include "DeployCommand.h"

#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "OpenRemoteApi.h"
#include "RemoteApi.h"
#include "Settings.h"

#include <QThread>

#include <cstdio>

int DeployCommand(const QString& skinFolder, const SkinDeploy::Options& options, const QString& settingsFolder,
                  Prompter& prompter, const std::function<SkinDeploy::Check(const QString&)>& check)
{
    const QString settingsFile = Settings::filePath(settingsFolder);
    const auto device = OpenRemoteApi(DeviceSettings::read(settingsFile));
    DeviceLink link(*device, prompter);
    DeviceConnection connection;
    const auto say = [](const QString& line) {
        const QByteArray bytes = (line + u'\n').toLocal8Bit();
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
        std::fflush(stdout);
    };
    // A PDA that is being plugged in answers within a few seconds.
    int waits = 0;
    const auto waitForDevice = [&waits] {
        QThread::sleep(1);
        return ++waits < 5;
    };
    SkinDeploy deploy({link, connection, prompter, settingsFolder, settingsFile, check, say, waitForDevice, {}, {}, {}});
    return int(deploy.run(skinFolder, options));
}
