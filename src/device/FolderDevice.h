#pragma once

#include "RemoteApi.h"

#include <QList>
#include <QString>

#include <map>
#include <memory>
#include <optional>

class QFile;

// A device whose storage is a folder on the PC: a PDA's storage card in a card
// reader, or the demo device. Device paths are resolved below the folder with
// Windows CE's rules (backslashes, letter case ignored); nothing outside the
// folder is ever read, written or listed. The device answers while it is
// connected and the folder exists.
class FolderDevice : public RemoteApi
{
public:
    explicit FolderDevice(const QString& root);
    ~FolderDevice() override;

    qint32 CeRapiInitEx(CeRapiInit& init) override;
    qint32 CeRapiUninit() override;
    bool CeGetVersionEx(CeOsVersionInfo& info) override;

    CeHandle CeCreateFile(const QString& path, quint32 access, quint32 shareMode,
                          quint32 creation, quint32 attributes) override;
    bool CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read) override;
    bool CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite, quint32& written) override;
    bool CeCloseHandle(CeHandle handle) override;
    quint32 CeGetLastError() override;

    CeHandle CeFindFirstFile(const QString& pattern, CeFindData& data) override;
    bool CeFindNextFile(CeHandle search, CeFindData& data) override;
    bool CeFindClose(CeHandle search) override;

    bool CeDeleteFile(const QString& path) override;
    bool CeRemoveDirectory(const QString& path) override;
    bool CeCreateDirectory(const QString& path) override;
    bool CeCopyFile(const QString& existingPath, const QString& newPath, bool failIfExists) override;
    bool CeCreateProcess(const QString& program, const QString& commandLine) override;

private:
    struct OpenFile;
    struct Search
    {
        QList<CeFindData> entries;
        qsizetype next = 0;
    };
    // How the last component of a path is used: a symbolic link may only be
    // removed itself, never followed out of the folder.
    enum class Last { Follow, LinkItself };

    // The local path of a device path inside the folder; none, with the error
    // set, while the device does not answer or when the path leads outside.
    std::optional<QString> resolve(const QString& devicePath, Last last);
    std::optional<QString> resolveFolder(const QString& devicePath);
    QString canonicalRoot() const;
    bool inside(const QString& canonicalPath, const QString& root) const;
    bool answers();
    // The open file behind handle when the device answers and the file was
    // opened for the access named by allowed; else null, with the error set.
    OpenFile* openFile(CeHandle handle, bool OpenFile::*allowed);
    bool fail(quint32 code);
    CeHandle newHandle();

    QString m_root;
    bool m_connected = false;
    quint32 m_lastError = 0;
    CeHandle m_nextHandle = 0x100;
    std::map<CeHandle, std::unique_ptr<OpenFile>> m_files;
    std::map<CeHandle, Search> m_searches;
};
