#pragma once

#include <QString>
#include <QtGlobal>

// The Windows CE remote API as the device link and its callers use it: the
// same calls, arguments and results, with UTF-16 paths carried as QString.
// Arguments that are always zero or null in this program (security records,
// overlap records, templates, process start-up data) are supplied by the
// backends themselves.

// A device handle: signed 32 bits, -1 is invalid.
using CeHandle = qint32;
inline constexpr CeHandle InvalidCeHandle = -1;

// Error codes reported by CeGetLastError.
namespace CeError {
inline constexpr quint32 FileNotFound = 2;
inline constexpr quint32 PathNotFound = 3;
inline constexpr quint32 AccessDenied = 5;
inline constexpr quint32 InvalidHandle = 6;
inline constexpr quint32 NoMoreFiles = 18;
inline constexpr quint32 NotSupported = 50;
inline constexpr quint32 FileExists = 80;
inline constexpr quint32 InvalidParameter = 87;
inline constexpr quint32 DiskFull = 112;
inline constexpr quint32 InvalidName = 123;
inline constexpr quint32 DirNotEmpty = 145;
inline constexpr quint32 AlreadyExists = 183;
inline constexpr quint32 DeviceNotConnected = 1167;
} // namespace CeError

// Access rights, creation dispositions and attributes of CeCreateFile.
namespace CeFile {
inline constexpr quint32 GenericRead = 0x80000000u;
inline constexpr quint32 GenericWrite = 0x40000000u;
inline constexpr quint32 CreateNew = 1;
inline constexpr quint32 CreateAlways = 2;
inline constexpr quint32 OpenExisting = 3;
inline constexpr quint32 AttributeDirectory = 16;
inline constexpr quint32 AttributeNormal = 128;
} // namespace CeFile

// Result codes of CeRapiInitEx and CeRapiUninit.
inline constexpr qint32 CeOk = 0;
inline constexpr qint32 CeFail = qint32(0x80004005u);

// The connection start record; only its size field is used.
struct CeRapiInit
{
    quint32 cbSize = 0;
};

// The device's OS version record.
struct CeOsVersionInfo
{
    quint32 dwOSVersionInfoSize = 0;
    quint32 dwMajorVersion = 0;
    quint32 dwMinorVersion = 0;
    quint32 dwBuildNumber = 0;
    quint32 dwPlatformId = 0;
    QString szCSDVersion;
};

// One entry of a folder search: bit 16 of the attributes marks a folder. The
// size and the last write time (a FILETIME: 100 ns steps since 1601, UTC) let
// a caller tell a changed file without reading it.
struct CeFindData
{
    quint32 dwFileAttributes = 0;
    QString cFileName;
    quint64 nFileSize = 0;
    quint64 ftLastWriteTime = 0;
};

class RemoteApi
{
public:
    virtual ~RemoteApi() = default;

    virtual qint32 CeRapiInitEx(CeRapiInit& init) = 0;
    virtual qint32 CeRapiUninit() = 0;
    virtual bool CeGetVersionEx(CeOsVersionInfo& info) = 0;

    virtual CeHandle CeCreateFile(const QString& path, quint32 access, quint32 shareMode,
                                  quint32 creation, quint32 attributes) = 0;
    virtual bool CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read) = 0;
    virtual bool CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite,
                             quint32& written) = 0;
    virtual bool CeCloseHandle(CeHandle handle) = 0;
    // Gives an open file its last write time (a FILETIME); later writes
    // through the same handle keep it.
    virtual bool CeSetFileTime(CeHandle file, quint64 lastWriteTime) = 0;
    virtual quint32 CeGetLastError() = 0;

    virtual CeHandle CeFindFirstFile(const QString& pattern, CeFindData& data) = 0;
    virtual bool CeFindNextFile(CeHandle search, CeFindData& data) = 0;
    virtual bool CeFindClose(CeHandle search) = 0;

    virtual bool CeDeleteFile(const QString& path) = 0;
    virtual bool CeRemoveDirectory(const QString& path) = 0;
    virtual bool CeCreateDirectory(const QString& path) = 0;
    // The copy keeps the last write time of its source.
    virtual bool CeCopyFile(const QString& existingPath, const QString& newPath,
                            bool failIfExists) = 0;
    // Renames a file or folder; fails when newPath exists.
    virtual bool CeMoveFile(const QString& existingPath, const QString& newPath) = 0;
    virtual bool CeCreateProcess(const QString& program, const QString& commandLine) = 0;
};
