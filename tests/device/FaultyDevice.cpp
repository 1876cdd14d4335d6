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

qint32 FaultyDevice::CeRapiInitEx(CeRapiInit& init)
{
    return enter(QStringLiteral("CeRapiInitEx"), {}, init.cbSize) ? m_inner.CeRapiInitEx(init) : CeFail;
}

qint32 FaultyDevice::CeRapiUninit()
{
    return enter(QStringLiteral("CeRapiUninit")) ? m_inner.CeRapiUninit() : CeFail;
}

bool FaultyDevice::CeGetVersionEx(CeOsVersionInfo& info)
{
    return enter(QStringLiteral("CeGetVersionEx"), {}, info.dwOSVersionInfoSize)
           && m_inner.CeGetVersionEx(info);
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

bool FaultyDevice::CeCloseHandle(CeHandle handle)
{
    return enter(QStringLiteral("CeCloseHandle")) && m_inner.CeCloseHandle(handle);
}

quint32 FaultyDevice::CeGetLastError()
{
    calls.append({QStringLiteral("CeGetLastError"), {}, 0, 0});
    return m_error ? *m_error : m_inner.CeGetLastError();
}

CeHandle FaultyDevice::CeFindFirstFile(const QString& pattern, CeFindData& data)
{
    return enter(QStringLiteral("CeFindFirstFile"), pattern) ? m_inner.CeFindFirstFile(pattern, data)
                                                            : InvalidCeHandle;
}

bool FaultyDevice::CeFindNextFile(CeHandle search, CeFindData& data)
{
    return enter(QStringLiteral("CeFindNextFile")) && m_inner.CeFindNextFile(search, data);
}

bool FaultyDevice::CeFindClose(CeHandle search)
{
    return enter(QStringLiteral("CeFindClose")) && m_inner.CeFindClose(search);
}

bool FaultyDevice::CeDeleteFile(const QString& path)
{
    return enter(QStringLiteral("CeDeleteFile"), path) && m_inner.CeDeleteFile(path);
}

bool FaultyDevice::CeRemoveDirectory(const QString& path)
{
    return enter(QStringLiteral("CeRemoveDirectory"), path) && m_inner.CeRemoveDirectory(path);
}

bool FaultyDevice::CeCreateDirectory(const QString& path)
{
    return enter(QStringLiteral("CeCreateDirectory"), path) && m_inner.CeCreateDirectory(path);
}

bool FaultyDevice::CeCopyFile(const QString& existingPath, const QString& newPath, bool failIfExists)
{
    return enter(QStringLiteral("CeCopyFile"), existingPath + u'>' + newPath)
           && m_inner.CeCopyFile(existingPath, newPath, failIfExists);
}

bool FaultyDevice::CeMoveFile(const QString& existingPath, const QString& newPath)
{
    return enter(QStringLiteral("CeMoveFile"), existingPath + u'>' + newPath) && m_inner.CeMoveFile(existingPath, newPath);
}

bool FaultyDevice::CeCreateProcess(const QString& program, const QString& commandLine)
{
    return enter(QStringLiteral("CeCreateProcess"), program) && m_inner.CeCreateProcess(program, commandLine);
}
