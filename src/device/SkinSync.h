#pragma once

#include "SyncPlan.h"

#include <QString>
#include <QStringList>

#include <functional>

class DeviceLink;

// Brings a stored skin up to date with its PC skin, sending only what differs.
// Every file to send first crosses the link into a staging folder inside the
// stored skin, under a number as its name; only when all have arrived are they
// moved into place and the files the PC skin no longer has removed. A sync
// stopped before that point leaves the stored skin's files as they were; one
// stopped during the moves leaves every file whole, old or new, and the next
// sync finishes it. Nothing outside the stored skin's folder is touched, and
// MN4's live files only change when a skin is activated.
class SkinSync
{
public:
    // The parts of a skin as the device keeps them: the root and three folders.
    static const QStringList PartFolders; // "", "Layout", "Font", "Font2"

    struct Result
    {
        bool complete = false;
        bool stopped = false; // by the caller, before anything was moved into place
        int sent = 0;         // files in place
        int removed = 0;
        qint64 bytes = 0;     // of the files in place
        QString failure;      // what went wrong, for the one message at the end
    };
    // Hears every chunk sent: the step, the bytes of all steps sent so far and
    // their total; false stops the sync before anything is moved into place.
    using Progress = std::function<bool(const SyncStep& step, qint64 done, qint64 total)>;

    explicit SkinSync(DeviceLink& link);

    // The files of a PC skin, its root and part folders in any letter case.
    // Names the device cannot hold (a backslash, a colon, a control character …)
    // go to refused instead.
    static QList<SkinFile> scanPc(const QString& pcSkin, QStringList& refused);
    // The files of a stored skin: one search of its root and of each part
    // folder. Remembers the root's names for the staging folder of run().
    QList<SkinFile> scanStored(const QString& deviceSkin);

    // Carries out plan, made from scanPc and scanStored of the same skins.
    Result run(const QString& pcSkin, const QString& deviceSkin, const SyncPlan& plan,
               const Progress& progress = {});

    // The one message for a skin the device cannot take: names it cannot hold
    // and names that differ only in letter case.
    static QString refusal(const QStringList& refused, const QStringList& clashes);
    // The one message for a sync that failed: what went wrong and what arrived.
    static QString failureReport(const Result& result, const SyncPlan& plan);

private:
    DeviceLink& m_link;
    QStringList m_rootFiles; // of the stored skin, as the last scan found them
    QStringList m_leftovers; // staging folders of syncs that were stopped
};
