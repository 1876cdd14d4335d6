#include "RapiLibrary.h"

#include "RapiRecords.h"

#include <array>

namespace {

// Device handles are 32-bit values on the device; the library carries them as pointers.
Rapi::HANDLE toNative(CeHandle handle)
{
    return reinterpret_cast<Rapi::HANDLE>(static_cast<std::intptr_t>(handle));
}

CeHandle fromNative(Rapi::HANDLE handle)
{
    return static_cast<CeHandle>(reinterpret_cast<std::intptr_t>(handle));
}

const Rapi::WCHAR* wide(const QString& text)
{
    return reinterpret_cast<const Rapi::WCHAR*>(text.utf16());
}

QString textOf(const Rapi::WCHAR* units, std::size_t capacity)
{
    std::size_t length = 0;
    while (length < capacity && units[length] != 0)
        ++length;
    return QString::fromUtf16(units, qsizetype(length));
}

// Zeroed room for records the program passes without reading them back
// (security record, process information), big enough for 64-bit layouts too.
using Blank = std::array<std::uint64_t, 4>;

} // namespace

struct RapiLibrary::Functions
{
    Rapi::RapiInitExFn rapiInitEx;
    Rapi::RapiUninitFn rapiUninit;
    Rapi::GetVersionExFn getVersionEx;
    Rapi::CreateFileFn createFile;
    Rapi::ReadFileFn readFile;
    Rapi::WriteFileFn writeFile;
    Rapi::CloseHandleFn closeHandle;
    Rapi::SetFileTimeFn setFileTime;
    Rapi::GetLastErrorFn getLastError;
    Rapi::FindFirstFileFn findFirstFile;
    Rapi::FindNextFileFn findNextFile;
    Rapi::FindCloseFn findClose;
    Rapi::DeleteFileFn deleteFile;
    Rapi::RemoveDirectoryFn removeDirectory;
    Rapi::CreateDirectoryFn createDirectory;
    Rapi::CopyFileFn copyFile;
    Rapi::MoveFileFn moveFile;
    Rapi::CreateProcessFn createProcess;
};

RapiLibrary::RapiLibrary(const QString& libraryName)
    : m_library(libraryName)
{
    if (!m_library.load())
        return;
    bool complete = true;
    auto resolve = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            m_library.resolve(name));
        complete = complete && function != nullptr;
    };
    auto functions = std::make_unique<Functions>();
    resolve(functions->rapiInitEx, "CeRapiInitEx");
    resolve(functions->rapiUninit, "CeRapiUninit");
    resolve(functions->getVersionEx, "CeGetVersionEx");
    resolve(functions->createFile, "CeCreateFile");
    resolve(functions->readFile, "CeReadFile");
    resolve(functions->writeFile, "CeWriteFile");
    resolve(functions->closeHandle, "CeCloseHandle");
    resolve(functions->setFileTime, "CeSetFileTime");
    resolve(functions->getLastError, "CeGetLastError");
    resolve(functions->findFirstFile, "CeFindFirstFile");
    resolve(functions->findNextFile, "CeFindNextFile");
    resolve(functions->findClose, "CeFindClose");
    resolve(functions->deleteFile, "CeDeleteFile");
    resolve(functions->removeDirectory, "CeRemoveDirectory");
    resolve(functions->createDirectory, "CeCreateDirectory");
    resolve(functions->copyFile, "CeCopyFile");
    resolve(functions->moveFile, "CeMoveFile");
    resolve(functions->createProcess, "CeCreateProcess");
    if (complete)
        m_functions = std::move(functions);
    else
        m_library.unload();
}

RapiLibrary::~RapiLibrary() = default;

qint32 RapiLibrary::CeRapiInitEx(CeRapiInit& init)
{
    if (!m_functions)
        return CeFail;
    // Start record: size, event handle, result; room for a 64-bit layout.
    struct
    {
        Rapi::DWORD cbSize;
        Rapi::DWORD rest[7];
    } record{};
    record.cbSize = init.cbSize;
    return m_functions->rapiInitEx(&record);
}

qint32 RapiLibrary::CeRapiUninit()
{
    return m_functions ? m_functions->rapiUninit() : CeFail;
}

bool RapiLibrary::CeGetVersionEx(CeOsVersionInfo& info)
{
    if (!m_functions)
        return false;
    Rapi::VersionRecord record{};
    record.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
    if (!m_functions->getVersionEx(&record))
        return false;
    info.dwMajorVersion = record.dwMajorVersion;
    info.dwMinorVersion = record.dwMinorVersion;
    info.dwBuildNumber = record.dwBuildNumber;
    info.dwPlatformId = record.dwPlatformId;
    info.szCSDVersion = textOf(record.szCSDVersion, Rapi::VersionTextUnits);
    return true;
}

CeHandle RapiLibrary::CeCreateFile(const QString& path, quint32 access, quint32 shareMode,
                                   quint32 creation, quint32 attributes)
{
    if (!m_functions)
        return InvalidCeHandle;
    Blank security{};
    return fromNative(m_functions->createFile(wide(path), access, shareMode, &security, creation,
                                              attributes, nullptr));
}

bool RapiLibrary::CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read)
{
    read = 0;
    if (!m_functions)
        return false;
    Rapi::DWORD count = 0;
    const bool ok = m_functions->readFile(toNative(file), buffer, toRead, &count, nullptr);
    read = count;
    return ok;
}

bool RapiLibrary::CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite,
                              quint32& written)
{
    written = 0;
    if (!m_functions)
        return false;
    Rapi::DWORD count = 0;
    const bool ok = m_functions->writeFile(toNative(file), buffer, toWrite, &count, nullptr);
    written = count;
    return ok;
}

bool RapiLibrary::CeCloseHandle(CeHandle handle)
{
    return m_functions && m_functions->closeHandle(toNative(handle));
}

quint32 RapiLibrary::CeGetLastError()
{
    return m_functions ? m_functions->getLastError() : CeError::DeviceNotConnected;
}

namespace {

CeFindData entryOf(const Rapi::FindData& record)
{
    return {record.dwFileAttributes, textOf(record.cFileName, Rapi::MaxPath),
            quint64(record.nFileSizeHigh) << 32 | record.nFileSizeLow,
            quint64(record.ftLastWriteTime.high) << 32 | record.ftLastWriteTime.low};
}

} // namespace

bool RapiLibrary::CeSetFileTime(CeHandle file, quint64 lastWriteTime)
{
    const Rapi::FileTime time{Rapi::DWORD(lastWriteTime), Rapi::DWORD(lastWriteTime >> 32)};
    return m_functions && m_functions->setFileTime(toNative(file), nullptr, nullptr, &time);
}

CeHandle RapiLibrary::CeFindFirstFile(const QString& pattern, CeFindData& data)
{
    if (!m_functions)
        return InvalidCeHandle;
    Rapi::FindData record{};
    const CeHandle search = fromNative(m_functions->findFirstFile(wide(pattern), &record));
    if (search != InvalidCeHandle)
        data = entryOf(record);
    return search;
}

bool RapiLibrary::CeFindNextFile(CeHandle search, CeFindData& data)
{
    if (!m_functions)
        return false;
    Rapi::FindData record{};
    if (!m_functions->findNextFile(toNative(search), &record))
        return false;
    data = entryOf(record);
    return true;
}

bool RapiLibrary::CeFindClose(CeHandle search)
{
    return m_functions && m_functions->findClose(toNative(search));
}

bool RapiLibrary::CeDeleteFile(const QString& path)
{
    return m_functions && m_functions->deleteFile(wide(path));
}

bool RapiLibrary::CeRemoveDirectory(const QString& path)
{
    return m_functions && m_functions->removeDirectory(wide(path));
}

bool RapiLibrary::CeCreateDirectory(const QString& path)
{
    return m_functions && m_functions->createDirectory(wide(path), nullptr);
}

bool RapiLibrary::CeCopyFile(const QString& existingPath, const QString& newPath,
                             bool failIfExists)
{
    return m_functions && m_functions->copyFile(wide(existingPath), wide(newPath), failIfExists);
}

bool RapiLibrary::CeMoveFile(const QString& existingPath, const QString& newPath)
{
    return m_functions && m_functions->moveFile(wide(existingPath), wide(newPath));
}

bool RapiLibrary::CeCreateProcess(const QString& program, const QString& commandLine)
{
    if (!m_functions)
        return false;
    Blank processInfo{};
    return m_functions->createProcess(wide(program), wide(commandLine), nullptr, nullptr, 0, 0,
                                      nullptr, nullptr, nullptr,
                                      &processInfo);
}
