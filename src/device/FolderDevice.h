#pragma once

#include "RemoteApi.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <utility>

// A device whose storage is a folder on the PC: a PDA's storage card in a card
// reader, or the demo device. Device paths are resolved with Windows CE's rules
// (backslashes, letter case ignored) one name at a time from a handle on the
// folder taken at connect: ".." is refused and a symbolic link is never
// followed (a storage card has none), so nothing outside the folder is ever
// read, written or listed. The device answers while it is connected and its
// folder is still the one it connected to.
//
// Reads and writes go through a buffer per open file, so that the 2048-byte
// calls of the device link cost one system call per buffer; a write the disk
// refused is reported by the next write or by the close, and a new file whose
// bytes could not all be stored is removed again.
class FolderDevice : public RemoteApi
{
public:
    explicit FolderDevice(const QString& root);
    ~FolderDevice() override;
    FolderDevice(const FolderDevice&) = delete;
    FolderDevice& operator=(const FolderDevice&) = delete;

    // Holds reads and writes to kbPerSecond, so that progress and cancel feel
    // as over a cable; 0 lets them run as fast as the disk goes.
    void setThroughput(int kbPerSecond);
    // How long to wait once bytes have moved in elapsedMs to keep to kbPerSecond.
    static qint64 paceDelay(qint64 bytes, qint64 elapsedMs, int kbPerSecond);

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
    struct OpenFile;
    struct Place;
    struct Search
    {
        QList<CeFindData> entries;
        qsizetype next = 0;
    };
    // The names of one folder by their case-folded form, with the folder's
    // modification time when they were listed and the time of the listing;
    // or kept up by us since we made the folder, while only we change it.
    struct Listing
    {
        qint64 stamp = 0;
        qint64 listedAt = 0;
        bool ours = false;
        QHash<QString, QString> names;
    };
    using FolderId = std::pair<quint64, quint64>; // device and inode

    // The folder that holds the last name of devicePath, and that name as it
    // is on disk (or as given when there is none); none, with the error set,
    // while the device does not answer or when the path leads outside. A path
    // to remove must name its entry plainly: "." or an empty part, which a
    // caller gets by joining an empty or "." name, would name the folder above.
    std::optional<Place> locate(const QString& devicePath, bool toRemove = false);
    // The folder devicePath names, opened; -1 with the error set when none.
    int openFolder(const QString& devicePath);
    // The folder below the root named exactly so, opened in one call where the
    // system can; -1 otherwise, with no error set: the caller then goes name by name.
    int openExactly(const QStringList& names);
    // The folder called name in folder, opened; name becomes its spelling on disk.
    int openBelow(int folder, QString& name);
    // The entry of folder called name whatever its letter case; false when none.
    bool findName(int folder, QString& name);
    // Keeps the listing of folder current after we made name in it.
    void noteCreated(int folder, const QString& name);
    bool answers();
    OpenFile* openFile(CeHandle handle);
    bool closeFile(OpenFile& file);
    bool fail(quint32 code);
    CeHandle newHandle();
    void pace(quint32 bytes);

    QString m_root;
    QString m_rootPath; // canonical, for the copies that work on paths
    int m_rootFd = -1;
    bool m_openat2 = true;
    FolderId m_rootId{};
    quint32 m_lastError = 0;
    CeHandle m_nextHandle = 0x100;
    std::map<CeHandle, std::unique_ptr<OpenFile>> m_files;
    std::map<CeHandle, Search> m_searches;
    std::map<FolderId, Listing> m_listings;
    // The folder and time of the last listing found current.
    std::pair<FolderId, qint64> m_checked{};
    int m_throughput = 0; // KB/s, 0 for no limit
    qint64 m_pacedBytes = 0;
    QElapsedTimer m_pacedSince;
};
