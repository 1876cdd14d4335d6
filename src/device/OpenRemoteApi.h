#pragma once

#include <QString>

#include <memory>

class RemoteApi;

// Where the device is found, from section "Device" of the settings file.
struct DeviceSettings
{
    enum class Backend { Folder, Rapi };

    Backend backend = Backend::Rapi;
    QString folder;  // the folder device's root
    QString library; // the remote API library's file name
    int throughput = 0; // KB/s the folder device is held to, as over a cable; 0 is as fast as it goes

    static DeviceSettings read(const QString& settingsFile);
};

// The remote API the settings choose: a folder device or the remote API library.
std::unique_ptr<RemoteApi> OpenRemoteApi(const DeviceSettings& settings);
