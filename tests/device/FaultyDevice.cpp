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

bool FaultyDevice::enter(const QString& name, const QString& path, quint32 size, quint32 creation)
{
    calls.append({name, path, size, creation});
    if (onCall)
        onCall(calls.last());
    m_error.reset();
    const bool present = vanishAfter < 0 || calls.size() <= vanishAfter;
    if (!present)
        m_error = CeError::DeviceNotConnected;
    return present;
}

bool FaultyDevice::gone(quint32 code)
{
    m_error = code;
    return false;
}

CeHandle FaultyDevice::CeCreateFile(const QString& path, quint32 access, quint32 shareMode,
                                    quint32 creation, quint32 attributes)
{
    if (!enter(QStringLiteral("CeCreateFile"), path, access, creation))
        return InvalidCeHandle;
    if (createError) {
        m_error = *createError;
        return InvalidCeHandle;
    }
    return m_inner.CeCreateFile(path, access, shareMode, creation, attributes);
}

bool FaultyDevice::CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read)
{
    read = 0;
    if (!enter(QStringLiteral("CeReadFile"), {}, toRead))
        return false;
    if (m_reads++ == failReadAt)
        return gone(CeError::AccessDenied);
    return m_inner.CeReadFile(file, buffer, toRead, read);
}

bool FaultyDevice::CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite, quint32& written)
{
    written = 0;
    if (!enter(QStringLiteral("CeWriteFile"), {}, toWrite))
        return false;
    const int number = m_writes++;
    if (number == failWriteAt)
        return gone(CeError::DiskFull);
    if (number == shortWriteAt && toWrite > 0)
        return m_inner.CeWriteFile(file, buffer, toWrite - 1, written);
    return m_inner.CeWriteFile(file, buffer, toWrite, written);
}

quint32 FaultyDevice::CeGetLastError()
{
    calls.append({QStringLiteral("CeGetLastError"), {}, 0, 0});
    return m_error ? *m_error : m_inner.CeGetLastError();
}

