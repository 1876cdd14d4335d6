#include "FaultyDevice.h"

#include <algorithm>

int FaultyDevice::count(const QString& name) const
{
    return int(std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; }));
}

QList<quint32> FaultyDevice::sizesOf(const QString& name) const
{
    QList<quint32> sizes;
    for (const Call& c : calls) {
        if (c.name == name)
            sizes.append(c.size);
    }
    return sizes;
}

bool FaultyDevice::enter(const QString& name, const QString& path, quint32 size)
{
    calls.append({name, path, size});
    if (onCall)
        onCall(calls.last());
    m_error.reset();
    return vanishAfter < 0 || calls.size() <= vanishAfter || fail(CeError::DeviceNotConnected);
}

bool FaultyDevice::fail(quint32 code)
{
    m_error = code;
    return false;
}

CeHandle FaultyDevice::CeCreateFile(const QString& path, quint32 access, quint32 shareMode,
                                    quint32 creation, quint32 attributes)
{
    if (!enter(QStringLiteral("CeCreateFile"), path, access))
        return InvalidCeHandle;
    if (createError)
        return fail(*createError), InvalidCeHandle;
    return FolderDevice::CeCreateFile(path, access, shareMode, creation, attributes);
}

bool FaultyDevice::CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read)
{
    read = 0;
    if (!enter(QStringLiteral("CeReadFile"), {}, toRead))
        return false;
    if (m_reads++ == failReadAt)
        return fail(CeError::AccessDenied);
    return FolderDevice::CeReadFile(file, buffer, toRead, read);
}

bool FaultyDevice::CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite, quint32& written)
{
    written = 0;
    if (!enter(QStringLiteral("CeWriteFile"), {}, toWrite))
        return false;
    const int number = m_writes++;
    if (number == failWriteAt)
        return fail(CeError::DiskFull);
    const quint32 stored = number == shortWriteAt && toWrite > 0 ? toWrite - 1 : toWrite;
    return FolderDevice::CeWriteFile(file, buffer, stored, written);
}

bool FaultyDevice::CeMoveFile(const QString& from, const QString& to)
{
    if (!enter(QStringLiteral("CeMoveFile"), to))
        return false;
    if (m_moves++ == failMoveAt)
        return fail(CeError::AccessDenied);
    return FolderDevice::CeMoveFile(from, to);
}
