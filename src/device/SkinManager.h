#pragma once

#include "ConnectionMachine.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class DeviceLink;
class Prompter;
struct DeviceConnection;

// Everything the skin manager window does, without the window: the PC skin
// folder and its four parts, the connection timer, the device's skin store,
// upload, switch, delete, the active skin and starting MN4. The window shows
// the public state and forwards its clicks and timer ticks here.
class SkinManager
{
public:
    // The four parts of a skin: its root folder and three sub-folders.
    enum Part { Root = 0, Layout = 1, Font = 2, Font2 = 3 };
    static constexpr int PartCount = 4;
    static const QString Unknown; // "unbekannt"

    // "Nur Änderungen übertragen", "Alles neu", "Abbrechen".
    enum class UploadMode { Changes, Everything, Cancel };

    struct Context
    {
        DeviceLink& link;
        DeviceConnection& connection;
        Prompter& prompter;
        QString settingsFolder; // folder of Tivaro.ini, ends with a separator; temporary copies go here
        QString settingsFile; // Tivaro.ini
        // Asks how to upload a skin the device already holds; without it only the changes go.
        std::function<UploadMode()> chooseUploadMode;
        // Lets pending user-interface events run (QCoreApplication::processEvents).
        std::function<void()> processEvents;
        // Tells the window to show the state at once (status text, progress).
        std::function<void()> showNow;
    };

    struct Progress
    {
        bool visible = false;
        int percent = 0;
        QString caption; // digits, "%" and no-break spaces to 17 characters
    };

    explicit SkinManager(Context context);

    // The window opens: reset the attempts, clear the lists, adopt "SkinDir".
    void load();
    // Adopts a PC skin folder; shorter than 4 characters or missing is ignored.
    void SetDirs(const QString& path);
    void FillList(int part);
    // Copies the chosen PC files into a part, replacing files of the same name.
    void addFiles(int part, const QStringList& chosenFiles);
    // Deletes the named files of a part from the PC once the user agreed.
    void deleteFiles(int part, const QStringList& names);

    // Lights the yellow light and wants the opposite of the current connection.
    void toggleConnection();
    // One tick of the one-second timer: the connection machine, then the skin list,
    // the active skin and a waiting deletion.
    void tick();
    // Uploads the PC skin; while it runs the window stays responsive.
    void uploadSkin();
    // Stops a running upload after the chunk being written; the device keeps
    // the skins it had.
    void cancelUpload();
    bool uploading() const { return m_uploading; }
    void deleteSkins(const QStringList& selected);
    void switchSkin(const QStringList& selected);
    void startMN4();
    void GetActiveSkin();
    // Copies a stored skin's files over MN4's live files and returns how many
    // it copied; nothing at the first file that could not be replaced.
    std::optional<int> ActivateSkinFiles(const QString& store, const QString& skin, const QString& part);

    // A skin name names one folder of the skin store: not empty, ".", ".." and
    // without separators.
    static bool isUsableSkinName(const QString& name);

    static Progress progressOf(qint64 done, qint64 total);

    // What the window shows.
    QString skinFolder() const { return m_skinFolder; } // ends with a separator, or ""
    QString skinName() const { return m_skinName; }     // LName
    QString skinDirText() const { return m_skinDirText; } // TSkinDir
    const QStringList& files(int part) const { return m_files.at(std::size_t(part)); }
    const QStringList& deviceSkins() const { return m_deviceSkins; } // LSkins
    QString activeSkin() const { return m_activeSkin; }              // LActiveSkin
    QString doing() const { return m_doing; } // LDoing; hidden when ""
    const Progress& progress() const { return m_progress; }
    ConnectionLook look() const { return ConnectionLook::of(m_machine.state()); }
    QString skinStore() const;

    // Window state between the buttons and the timer.
    bool refreshPending = false;
    bool reconnectRequested = false;
    bool deletePending = false;
    QString folderToDelete;

private:
    QString partFolder(int part) const;
    QStringList plainFiles(const QString& folder) const;
    void SetStatus(const QString& text);
    void DisplayStatus(bool show);
    void prepareStatus(qint64 done, qint64 total);
    void putInPlace(const QString& staged, const QString& deviceSkin);
    bool switchTo(const QString& skin);
    bool offerLayoutCopies();
    // Brings the stored copy deviceSkin up to date, sending only what differs.
    void uploadChanges(const QString& deviceSkin);
    // Tells the user why name cannot be used; true when it was refused.
    bool refuseUnusableName(const QString& name);
    void letEventsRun();

    Context m_context;
    ConnectionMachine m_machine;
    QString m_skinFolder;
    QString m_skinName;
    QString m_skinDirText;
    std::array<QStringList, PartCount> m_files;
    QStringList m_deviceSkins;
    QString m_activeSkin = Unknown;
    QString m_doing;
    Progress m_progress;
    bool m_uploading = false;
    bool m_cancelRequested = false;
    // Within a file the progress is shown, and events run, this often.
    static constexpr int ShowInterval = 50; // ms
    QElapsedTimer m_sinceShown;
};
