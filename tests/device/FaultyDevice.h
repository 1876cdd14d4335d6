#pragma once

#include "FolderDevice.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

// A folder device for tests: records the calls the tests count and injects
// faults — refused creates with a chosen error code, reads, writes or moves
// failing at a chosen call, short writes, and the device vanishing after some
// of the recorded calls.
class FaultyDevice : public FolderDevice
{
public:
    struct Call
    {
        QString name;
        QString path;
        quint32 size = 0; // chunk length asked for, or access right of a create
    };
    using FolderDevice::FolderDevice;

    std::optional<quint32> createError; // every CeCreateFile fails with this code
    int failReadAt = -1;                // the read with this number (from 0) fails
    int failWriteAt = -1;               // the write with this number (from 0) fails
    int shortWriteAt = -1;              // the write with this number stores one byte less
    int vanishAfter = -1;               // the device is gone after this many recorded calls
    int failMoveAt = -1;                // the move with this number (from 0) is refused

    QList<Call> calls;
    std::function<void(const Call&)> onCall; // sees every recorded call before it is passed on
    QList<quint32> sizesOf(const QString& name) const
    {
        QList<quint32> sizes;
        for (const Call& c : calls) {
            if (c.name == name)
                sizes.append(c.size);
        }
        return sizes;
    }
    int count(const QString& name) const { return int(sizesOf(name).size()); }

    qint32 CeRapiInitEx(CeRapiInit& init) override
    {
        return enter("CeRapiInitEx") ? FolderDevice::CeRapiInitEx(init) : CeFail;
    }
    CeHandle CeCreateFile(const QString& path, quint32 access, quint32 shareMode, quint32 creation,
                          quint32 attributes) override
    {
        if (!enter("CeCreateFile", path, access) || (createError && fail(*createError)))
            return InvalidCeHandle;
        return FolderDevice::CeCreateFile(path, access, shareMode, creation, attributes);
    }
    bool CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read) override
    {
        read = 0;
        return enter("CeReadFile", {}, toRead) && !(m_reads++ == failReadAt && fail(CeError::AccessDenied))
               && FolderDevice::CeReadFile(file, buffer, toRead, read);
    }
    bool CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite, quint32& written) override
    {
        written = 0;
        if (!enter("CeWriteFile", {}, toWrite))
            return false;
        const int number = m_writes++;
        if (number == failWriteAt)
            return !fail(CeError::DiskFull);
        const quint32 stored = number == shortWriteAt && toWrite > 0 ? toWrite - 1 : toWrite;
        return FolderDevice::CeWriteFile(file, buffer, stored, written);
    }
    bool CeCloseHandle(CeHandle handle) override { return enter("CeCloseHandle") && FolderDevice::CeCloseHandle(handle); }
    // An injected error is reported once, by the next call.
    quint32 CeGetLastError() override
    {
        const quint32 real = FolderDevice::CeGetLastError();
        return std::exchange(m_error, std::nullopt).value_or(real);
    }
    CeHandle CeFindFirstFile(const QString& pattern, CeFindData& data) override
    {
        return enter("CeFindFirstFile", pattern) ? FolderDevice::CeFindFirstFile(pattern, data) : InvalidCeHandle;
    }
    bool CeFindClose(CeHandle search) override { return enter("CeFindClose") && FolderDevice::CeFindClose(search); }
    bool CeDeleteFile(const QString& path) override { return enter("CeDeleteFile", path) && FolderDevice::CeDeleteFile(path); }
    bool CeCopyFile(const QString& from, const QString& to, bool failIfExists) override
    {
        return enter("CeCopyFile", to) && FolderDevice::CeCopyFile(from, to, failIfExists);
    }
    bool CeMoveFile(const QString& from, const QString& to) override
    {
        return enter("CeMoveFile", to) && !(m_moves++ == failMoveAt && fail(CeError::AccessDenied))
               && FolderDevice::CeMoveFile(from, to);
    }
    bool CeCreateProcess(const QString& program, const QString& line) override
    {
        return enter("CeCreateProcess", program) && FolderDevice::CeCreateProcess(program, line);
    }

private:
    // Records the call; false once the device has vanished.
    bool enter(const QString& name, const QString& path = {}, quint32 size = 0)
    {
        calls.append({name, path, size});
        if (onCall)
            onCall(calls.last());
        m_error.reset();
        return vanishAfter < 0 || calls.size() <= vanishAfter || !fail(CeError::DeviceNotConnected);
    }
    // Keeps the error for the next CeGetLastError; true, so that a condition can end in it.
    bool fail(quint32 code)
    {
        m_error = code;
        return true;
    }

    std::optional<quint32> m_error;
    int m_reads = 0;
    int m_writes = 0;
    int m_moves = 0;
};
