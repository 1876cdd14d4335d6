#pragma once

#include "RemoteApi.h"

#include <QLibrary>

#include <memory>

// The remote API of a real PDA, reached through a library loaded at run time
// (rapi.dll on Windows, a compatible librapi.so.2 elsewhere). When the library
// or one of its functions is missing, the device simply never answers.
class RapiLibrary : public RemoteApi
{
public:
    explicit RapiLibrary(const QString& libraryName);
    ~RapiLibrary() override;

    // True when the library and all its functions were found.
    bool isLoaded() const { return m_functions != nullptr; }
    QString errorString() const { return m_library.errorString(); }

    qint32 CeRapiInitEx(CeRapiInit& init) override;
    qint32 CeRapiUninit() override;
    bool CeGetVersionEx(CeOsVersionInfo& info) override;

    CeHandle CeCreateFile(const QString& path, quint32 access, quint32 shareMode,
                          quint32 creation, quint32 attributes) override;
    bool CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read) override;
    bool CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite, quint32& written) override;
    bool CeCloseHandle(CeHandle handle) override;
    bool CeSetFileTime(CeHandle file, quint64 lastWriteTime) override;
    quint32 CeGetLastError() override;

    CeHandle CeFindFirstFile(const QString& pattern, CeFindData& data) override;
    bool CeFindNextFile(CeHandle search, CeFindData& data) override;
    bool CeFindClose(CeHandle search) override;

    bool CeDeleteFile(const QString& path) override;
    bool CeRemoveDirectory(const QString& path) override;
    bool CeCreateDirectory(const QString& path) override;
    bool CeCopyFile(const QString& existingPath, const QString& newPath, bool failIfExists) override;
    bool CeMoveFile(const QString& existingPath, const QString& newPath) override;
    bool CeCreateProcess(const QString& program, const QString& commandLine) override;

private:
    struct Functions;

    QLibrary m_library;
    std::unique_ptr<Functions> m_functions;
};
