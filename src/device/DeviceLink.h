#pragma once

#include "RemoteApi.h"

#include <QString>
#include <QStringList>

#include <functional>

class Prompter;

// The program's only way to the PDA: connect, test, copy files both ways in
// 2048-byte chunks, list sub-folders and delete folder trees over a remote API.
// The direct Ce… calls of the skin manager and the profile update go through
// api(). Copy failures are shown to the user and returned to the caller.
class DeviceLink
{
public:
    static constexpr quint32 ChunkSize = 2048;

    // processEvents lets pending user-interface events run; the application
    // passes QCoreApplication::processEvents, tests a counter.
    DeviceLink(RemoteApi& api, Prompter& prompter, std::function<void()> processEvents = {});

    RemoteApi& api() const { return m_api; }

    bool ConnectDevice();
    qint32 DisconnectDevice();
    QString GetDeviceVersion();
    bool IsDeviceConnected();

    // mode 1 reads, 2 writes, 3 does both; anything else asks for no access.
    CeHandle OpenDeviceFile(const QString& path, qint16 mode, bool createNew, quint32 attributes);

    // Both copies return whether the whole file arrived; every failure was shown.
    bool CopyFileFromDevice(const QString& devicePath, const QString& pcPath);
    // chunkWritten, when given, hears the size of every chunk written; when it
    // returns false the copy stops there, silently, and the device file is removed.
    bool CopyFileToDevice(const QString& pcPath, const QString& devicePath,
                          const std::function<bool(quint32 bytes)>& chunkWritten = {});

    // What one upload of a file came to; failure holds the message the user would see.
    struct Sent
    {
        bool whole = false;
        bool stopped = false;
        QString failure;
    };
    // CopyFileToDevice without the message, for callers that report a whole
    // transfer at once. A lastWriteTime (a FILETIME) is given to the device file.
    Sent sendFile(const QString& pcPath, const QString& devicePath,
                  const std::function<bool(quint32 bytes)>& chunkWritten = {}, quint64 lastWriteTime = 0);

    // Puts a PC file in place of a device file: uploads it beside the old one,
    // under a name no file of that folder has, and copies it over only when the
    // upload was whole, so a failed upload never leaves the device without the
    // file. Returns whether it was replaced.
    bool ReplaceDeviceFile(const QString& pcPath, const QString& devicePath);

    QStringList ListDeviceFolders(const QString& folder);
    // Every entry of a device folder ("." and ".." and names that would leave
    // the folder are dropped), in one search.
    QList<CeFindData> ListDeviceEntries(const QString& folder);
    void DeleteDeviceFolder(const QString& path);

    // stem followed by the first number from 0 that gives a name none of taken
    // has, letter case ignored: a name that can stand beside them.
    static QString freeName(const QString& stem, const QStringList& taken);

private:
    void show(const QString& text);
    void letEventsRun();

    RemoteApi& m_api;
    Prompter& m_prompter;
    std::function<void()> m_processEvents;
};
