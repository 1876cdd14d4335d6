#pragma once

#include <QDateTime>
#include <QFileInfo>

// A PC file's last write time as the device keeps it: a FILETIME, 100 ns steps
// since 1601 (UTC), taken at the PC's millisecond precision.
inline quint64 fileTimeOf(const QFileInfo& file)
{
    constexpr qint64 EpochMs = 11644473600000; // 1601 to 1970
    return quint64(file.lastModified().toMSecsSinceEpoch() + EpochMs) * 10000;
}
