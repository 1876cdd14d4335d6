#pragma once

#include <cstddef>
#include <cstdint>

// The remote API's records with the layout of Windows CE (WCHAR is 16 bits).
// Shared by the library backend and the stand-in library of the tests.

#if defined(_WIN32) && !defined(_WIN64)
#define TIVARO_WINAPI __stdcall
#else
#define TIVARO_WINAPI
#endif

namespace Rapi {

using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using HRESULT = std::int32_t;
using HANDLE = void*;
using WCHAR = char16_t;

inline constexpr std::size_t MaxPath = 260;
inline constexpr std::size_t StartRecordSize = 12;
inline constexpr std::size_t VersionRecordSize = 148;
inline constexpr std::size_t SecurityRecordSize = 12;

struct FileTime
{
    DWORD low;
    DWORD high;
};

// The find record (WIN32_FIND_DATAW as Windows CE lays it out).
struct FindData
{
    DWORD dwFileAttributes;
    FileTime ftCreationTime;
    FileTime ftLastAccessTime;
    FileTime ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MaxPath];
};
static_assert(offsetof(FindData, cFileName) == 40 && sizeof(FindData) == 560);

// The OS version record as the device fills it. The program announces the
// size 148 and reads only what lies within it, but keeps room for the whole
// wide record in case a library writes all of it.
struct VersionRecord
{
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
};
inline constexpr std::size_t VersionTextUnits = (VersionRecordSize - 20) / sizeof(WCHAR);

using RapiInitExFn = HRESULT(TIVARO_WINAPI*)(void* init);
using RapiUninitFn = HRESULT(TIVARO_WINAPI*)();
using GetVersionExFn = BOOL(TIVARO_WINAPI*)(VersionRecord* info);
using CreateFileFn = HANDLE(TIVARO_WINAPI*)(const WCHAR* path, DWORD access, DWORD share,
                                          void* security, DWORD creation, DWORD attributes,
                                          HANDLE templateFile);
using ReadFileFn = BOOL(TIVARO_WINAPI*)(HANDLE file, void* buffer, DWORD toRead, DWORD* read,
                                      void* overlapped);
using WriteFileFn = BOOL(TIVARO_WINAPI*)(HANDLE file, const void* buffer, DWORD toWrite,
                                       DWORD* written, void* overlapped);
using CloseHandleFn = BOOL(TIVARO_WINAPI*)(HANDLE handle);
using SetFileTimeFn = BOOL(TIVARO_WINAPI*)(HANDLE file, const FileTime* creation, const FileTime* lastAccess,
                                         const FileTime* lastWrite);
using GetLastErrorFn = DWORD(TIVARO_WINAPI*)();
using FindFirstFileFn = HANDLE(TIVARO_WINAPI*)(const WCHAR* pattern, FindData* data);
using FindNextFileFn = BOOL(TIVARO_WINAPI*)(HANDLE search, FindData* data);
using FindCloseFn = BOOL(TIVARO_WINAPI*)(HANDLE search);
using DeleteFileFn = BOOL(TIVARO_WINAPI*)(const WCHAR* path);
using RemoveDirectoryFn = BOOL(TIVARO_WINAPI*)(const WCHAR* path);
using CreateDirectoryFn = BOOL(TIVARO_WINAPI*)(const WCHAR* path, void* security);
using CopyFileFn = BOOL(TIVARO_WINAPI*)(const WCHAR* existing, const WCHAR* target, BOOL failIfExists);
using MoveFileFn = BOOL(TIVARO_WINAPI*)(const WCHAR* existing, const WCHAR* target);
using CreateProcessFn = BOOL(TIVARO_WINAPI*)(const WCHAR* program, const WCHAR* commandLine,
                                           void* processSecurity, void* threadSecurity,
                                           BOOL inherit, DWORD flags, void* environment,
                                           WCHAR* currentFolder, void* startup, void* processInfo);

} // namespace Rapi
