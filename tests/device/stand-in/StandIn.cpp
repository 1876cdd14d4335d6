// A stand-in for a remote API library, for the tests only: it exports the Ce…
// functions with the Windows CE signatures and serves them from a folder on
// the PC through the folder device. It also remembers what it was handed, so
// tests can check the record sizes the program passes.

#include "FolderDevice.h"
#include "RapiRecords.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <memory>

#if defined(_WIN32)
#define STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace Rapi;

namespace {

std::unique_ptr<FolderDevice> device;
DWORD startRecordSize = 0;
DWORD versionRecordSize = 0;
bool securityZeroed = false;

QString text(const WCHAR* units)
{
    return units ? QString::fromUtf16(units) : QString();
}

HANDLE native(CeHandle handle)
{
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle));
}

CeHandle local(HANDLE handle)
{
    return static_cast<CeHandle>(reinterpret_cast<std::intptr_t>(handle));
}

void fill(FindData* record, const CeFindData& data)
{
    std::memset(record, 0, sizeof *record);
    record->dwFileAttributes = data.dwFileAttributes;
    record->nFileSizeHigh = DWORD(data.nFileSize >> 32);
    record->nFileSizeLow = DWORD(data.nFileSize);
    record->ftLastWriteTime = {DWORD(data.ftLastWriteTime), DWORD(data.ftLastWriteTime >> 32)};
    const auto length = std::min<std::size_t>(std::size_t(data.cFileName.size()), MaxPath - 1);
    std::memcpy(record->cFileName, data.cFileName.utf16(), length * sizeof(WCHAR));
}

} // namespace

STANDIN_EXPORT void StandInSetRoot(const WCHAR* root)
{
    device = std::make_unique<FolderDevice>(text(root));
}

STANDIN_EXPORT DWORD StandInStartRecordSize() { return startRecordSize; }
STANDIN_EXPORT DWORD StandInVersionRecordSize() { return versionRecordSize; }
STANDIN_EXPORT BOOL StandInSecurityZeroed() { return securityZeroed; }

STANDIN_EXPORT HRESULT TIVARO_WINAPI CeRapiInitEx(void* init)
{
    std::memcpy(&startRecordSize, init, sizeof startRecordSize);
    CeRapiInit record;
    record.cbSize = startRecordSize;
    return device ? device->CeRapiInitEx(record) : CeFail;
}

STANDIN_EXPORT HRESULT TIVARO_WINAPI CeRapiUninit()
{
    return device ? device->CeRapiUninit() : CeFail;
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeGetVersionEx(VersionRecord* record)
{
    versionRecordSize = record->dwOSVersionInfoSize;
    CeOsVersionInfo info;
    info.dwOSVersionInfoSize = record->dwOSVersionInfoSize;
    if (!device || !device->CeGetVersionEx(info))
        return 0;
    record->dwMajorVersion = info.dwMajorVersion;
    record->dwMinorVersion = info.dwMinorVersion;
    record->dwBuildNumber = info.dwBuildNumber;
    record->dwPlatformId = info.dwPlatformId;
    const auto length = std::min<std::size_t>(std::size_t(info.szCSDVersion.size()), VersionTextUnits - 1);
    std::memcpy(record->szCSDVersion, info.szCSDVersion.utf16(), length * sizeof(WCHAR));
    record->szCSDVersion[length] = 0;
    return 1;
}

STANDIN_EXPORT HANDLE TIVARO_WINAPI CeCreateFile(const WCHAR* path, DWORD access, DWORD share,
                                                 void* security, DWORD creation, DWORD attributes,
                                                 HANDLE)
{
    static const char zeros[SecurityRecordSize] = {};
    securityZeroed = security && std::memcmp(security, zeros, SecurityRecordSize) == 0;
    return native(device ? device->CeCreateFile(text(path), access, share, creation, attributes)
                         : InvalidCeHandle);
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read,
                                             void*)
{
    quint32 count = 0;
    const bool ok = device && device->CeReadFile(local(file), static_cast<char*>(buffer), toRead, count);
    *read = count;
    return ok;
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeWriteFile(HANDLE file, const void* buffer, DWORD toWrite,
                                              DWORD* written, void*)
{
    quint32 count = 0;
    const bool ok = device
                    && device->CeWriteFile(local(file), static_cast<const char*>(buffer), toWrite, count);
    *written = count;
    return ok;
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeCloseHandle(HANDLE handle)
{
    return device && device->CeCloseHandle(local(handle));
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeSetFileTime(HANDLE file, const FileTime*, const FileTime*, const FileTime* lastWrite)
{
    return device && lastWrite
           && device->CeSetFileTime(local(file), quint64(lastWrite->high) << 32 | lastWrite->low);
}

STANDIN_EXPORT DWORD TIVARO_WINAPI CeGetLastError()
{
    return device ? device->CeGetLastError() : CeError::DeviceNotConnected;
}

STANDIN_EXPORT HANDLE TIVARO_WINAPI CeFindFirstFile(const WCHAR* pattern, FindData* record)
{
    CeFindData data;
    const CeHandle search = device ? device->CeFindFirstFile(text(pattern), data) : InvalidCeHandle;
    if (search != InvalidCeHandle)
        fill(record, data);
    return native(search);
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeFindNextFile(HANDLE search, FindData* record)
{
    CeFindData data;
    if (!device || !device->CeFindNextFile(local(search), data))
        return 0;
    fill(record, data);
    return 1;
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeFindClose(HANDLE search)
{
    return device && device->CeFindClose(local(search));
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeDeleteFile(const WCHAR* path)
{
    return device && device->CeDeleteFile(text(path));
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeRemoveDirectory(const WCHAR* path)
{
    return device && device->CeRemoveDirectory(text(path));
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeCreateDirectory(const WCHAR* path, void*)
{
    return device && device->CeCreateDirectory(text(path));
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeCopyFile(const WCHAR* existing, const WCHAR* target, BOOL failIfExists)
{
    return device && device->CeCopyFile(text(existing), text(target), failIfExists != 0);
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeMoveFile(const WCHAR* existing, const WCHAR* target)
{
    return device && device->CeMoveFile(text(existing), text(target));
}

STANDIN_EXPORT BOOL TIVARO_WINAPI CeCreateProcess(const WCHAR* program, const WCHAR* commandLine, void*,
                                                  void*, BOOL, DWORD, void*, WCHAR*, void*, void*)
{
    return device && device->CeCreateProcess(text(program), text(commandLine));
}
