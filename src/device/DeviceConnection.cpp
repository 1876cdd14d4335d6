#include "DeviceConnection.h"

#include "Ini.h"
#include "Paths.h"
#include "Settings.h"

void DeviceConnection::readMn4Folder(const QString& settingsFile)
{
    mn4Folder = FolderOf(ReadIni(settingsFile, Settings::Directory, Settings::MN4Dir, QString()));
}
