#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// Replaces a file so that no failure can damage it. The bytes go to a new file
// beside the target; every write and the sync to the disk are checked, and only
// a whole, synced file is renamed over the target, with the target's
// permissions. Until commit() the target is untouched; on any failure, or when
// the object goes without commit(), the new file is removed and the target is
// byte-identical. A target that is a symbolic link is replaced where it points.
//
// Several files are replaced together by staging each (written and synced),
// then committing each with FolderSync::Later, then calling syncFolder() once.
class SafeWrite
{
public:
    enum class FolderSync { Now, Later };
    // Pushes an open file's bytes to the disk: 0, or -1 with errno set, as fdatasync.
    using SyncCall = int (*)(int fd);
    static int syncToDisk(int fd);

    // sync is the system's own call; tests hand in one that fails.
    explicit SafeWrite(const QString& target, SyncCall sync = syncToDisk);
    ~SafeWrite();
    SafeWrite(const SafeWrite&) = delete;
    SafeWrite& operator=(const SafeWrite&) = delete;

    // Appends bytes to the new file, creating it on the first call.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Syncs and closes the new file; after this only the rename is left.
    bool stage();
    // Stages when not yet done, then renames the new file over the target.
    bool commit(FolderSync sync = FolderSync::Now);
    // Removes the new file; the target stays as it is.
    void discard();

    // The file that is replaced: the target, or where its symbolic link points.
    QString target() const { return m_target; }
    // Why the last step failed, and whether it was for want of space.
    QString errorString() const { return m_error; }
    bool outOfSpace() const { return m_outOfSpace; }

    // Makes the renames inside folder durable.
    static bool syncFolder(const QString& folder, QString* error = nullptr);

private:
    enum class Step { Idle, Open, Staged, Done, Failed };
    bool open();
    bool fail(const QString& reason, int code = 0);

    QString m_target;
    QFile m_file; // the new file beside the target
    SyncCall m_sync;
    Step m_step = Step::Idle;
    QString m_error;
    bool m_outOfSpace = false;
};

// Replaces path with bytes; false, with the reason in error, when it failed.
bool writeFileSafely(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Replaces target with a copy of source; false, with the reason, when it failed.
bool copyFileSafely(const QString& source, const QString& target, QString* error = nullptr);

// Replaces several files as one step that pays for durability once: every file
// is written first, then each is synced, then all are renamed, and each folder
// is synced once at the end. A file that fails keeps its old bytes and does not
// stop the others. Returns the paths that could not be replaced.
QStringList writeFilesSafely(const std::vector<std::pair<QString, QByteArray>>& files);
