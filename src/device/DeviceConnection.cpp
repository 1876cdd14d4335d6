#include "DeviceConnection.h"

#include "Ini.h"
#include "Paths.h"

void DeviceConnection::readMn4Folder(const QString& settingsFile)
{
    mn4Folder = FolderOf(ReadIni(settingsFile, QStringLiteral("Directory"), QStringLiteral("MN4Dir"),
                                 QString()));
}
