#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One file of a skin: its path below the skin folder, the part folder and the
// name joined by a backslash ("NavLib.ini", "Layout\mainmenult.ini"), its size
// and its last write time (a FILETIME).
struct SkinFile
{
    QString path;
    qint64 size = 0;
    quint64 time = 0;
};

// One change a sync makes to a stored skin.
struct SyncStep
{
    enum class Kind { Write, Replace, Remove };

    Kind kind = Kind::Write;
    QString path;   // below the stored skin; a replaced or removed file keeps the device's spelling
    QString pcPath; // below the PC skin; empty for Remove
    qint64 size = 0; // bytes to send; for Remove the stored size
    quint64 time = 0; // the PC file's time, which the device file gets

    bool sends() const { return kind != Kind::Remove; }
    // One line of a listing: "neu      Layout\mainmenult.ini (1234 Bytes)".
    QString line() const;
};

// What a sync of a PC skin onto its stored copy does, decided like rsync's
// quick check: a file whose size and time agree is left alone, unread.
struct SyncPlan
{
    QList<SyncStep> steps; // the files to send in PC order, then the files to remove
    int unchanged = 0;
    // PC files whose paths differ only in letter case: the device cannot hold both.
    QStringList clashes;

    int filesToSend() const;
    int filesToRemove() const;
    qint64 bytesToSend() const;
};

// Letter case is ignored when PC and stored paths are matched, as on the device.
SyncPlan planSync(const QList<SkinFile>& pc, const QList<SkinFile>& stored);

// "1 Datei", "3 Dateien".
QString fileCount(int files);

// "3 Dateien übertragen, 197 unverändert, 12 KB" and ", 2 entfernt" when files went.
QString syncSummary(int sent, int unchanged, int removed, qint64 bytes);
