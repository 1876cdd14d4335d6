#pragma once

#include "RemoteApi.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// A device for tests: passes every call to a real backend (usually a folder
// device over a temporary folder), records the calls, and injects faults —
// refused creates with a chosen error code, reads or writes failing at a
// chosen call, short writes, and the device vanishing after some calls.
class FaultyDevice : public RemoteApi
{
public:
    struct Call
    {
        QString name;
        QString path;
        quint32 size = 0;     // chunk length asked for, or access right of a create
        quint32 creation = 0; // creation disposition of a create
    };

    explicit FaultyDevice(RemoteApi& inner) : m_inner(inner) {}

    std::optional<quint32> createError; // every CeCreateFile fails with this code
    int failReadAt = -1;                // the read with this number (from 0) fails
    int failWriteAt = -1;               // the write with this number (from 0) fails
    int shortWriteAt = -1;              // the write with this number stores one byte less
    int vanishAfter = -1;               // the device is gone after this many calls

    QList<Call> calls;
    std::function<void(const Call&)> onCall; // sees every call before it is passed on
    int count(const QString& name) const;
    QList<quint32> sizesOf(const QString& name) const;

    qint32 CeRapiInitEx(CeRapiInit& init) override
    {
        return enter("CeRapiInitEx", {}, init.cbSize) ? m_inner.CeRapiInitEx(init) : CeFail;
    }
    qint32 CeRapiUninit() override { return enter("CeRapiUninit") ? m_inner.CeRapiUninit() : CeFail; }
    bool CeGetVersionEx(CeOsVersionInfo& i) override
    {
        return enter("CeGetVersionEx", {}, i.dwOSVersionInfoSize) && m_inner.CeGetVersionEx(i);
    }
    CeHandle CeCreateFile(const QString& path, quint32 access, quint32 shareMode,
                          quint32 creation, quint32 attributes) override;
    bool CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read) override;
    bool CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite, quint32& written) override;
    bool CeCloseHandle(CeHandle handle) override { return enter("CeCloseHandle") && m_inner.CeCloseHandle(handle); }
    quint32 CeGetLastError() override;
    CeHandle CeFindFirstFile(const QString& pattern, CeFindData& data) override
    {
        return enter("CeFindFirstFile", pattern) ? m_inner.CeFindFirstFile(pattern, data) : InvalidCeHandle;
    }
    bool CeFindNextFile(CeHandle s, CeFindData& data) override
    {
        return enter("CeFindNextFile") && m_inner.CeFindNextFile(s, data);
    }
    bool CeFindClose(CeHandle search) override { return enter("CeFindClose") && m_inner.CeFindClose(search); }
    bool CeDeleteFile(const QString& path) override
    {
        return enter("CeDeleteFile", path) && m_inner.CeDeleteFile(path);
    }
    bool CeRemoveDirectory(const QString& path) override
    {
        return enter("CeRemoveDirectory", path) && m_inner.CeRemoveDirectory(path);
    }
    bool CeCreateDirectory(const QString& path) override
    {
        return enter("CeCreateDirectory", path) && m_inner.CeCreateDirectory(path);
    }
    bool CeCopyFile(const QString& from, const QString& to, bool failIfExists) override
    {
        return enter("CeCopyFile", from + u'>' + to) && m_inner.CeCopyFile(from, to, failIfExists);
    }
    bool CeMoveFile(const QString& from, const QString& to) override
    {
        return enter("CeMoveFile", from + u'>' + to) && m_inner.CeMoveFile(from, to);
    }
    bool CeCreateProcess(const QString& program, const QString& line) override
    {
        return enter("CeCreateProcess", program) && m_inner.CeCreateProcess(program, line);
    }

private:
    // Records the call; false once the device has vanished.
    bool enter(const QString& name, const QString& path = {}, quint32 size = 0, quint32 creation = 0);
    bool gone(quint32 code);

    RemoteApi& m_inner;
    std::optional<quint32> m_error;
    int m_reads = 0;
    int m_writes = 0;
};
