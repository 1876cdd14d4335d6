#pragma once

#include <QString>
#include <QtGlobal>

// The device connection state of the program, shared by the skin manager and
// the speed profile editor for the life of the program.
struct DeviceConnection
{
    bool connectWanted = false; // the timer keeps connecting while this is set
    qint16 connectAttempts = 0; // failed attempts since the last reset
    QString mn4Folder;          // MN4's folder on the device, ends with a backslash or is ""

    // Takes the folder part of "MN4Dir" of section "Directory" of the settings file.
    void readMn4Folder(const QString& settingsFile);
};
