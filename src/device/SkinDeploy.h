#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DeviceLink;
class Prompter;
struct DeviceConnection;

// From a PC skin folder to MN4 in one step, without a window: root layout
// files whose Layout copy differs are copied into Layout, the skin is checked,
// the device connected through the connection machine, the skin store brought
// up to date sending only what differs (a skin new to the device is built
// beside and moved into place whole), and, when the skin is MN4's active one
// or activation is asked for, MN4's live files are refreshed by the switch
// rules. Every step says what it did through say(); a window shows the lines
// and a command line prints them.
class SkinDeploy
{
public:
    enum class Outcome { Done = 0, Refused = 1, NoDevice = 2 }; // also the command line's exit status

    struct Options
    {
        bool dryRun = false;   // lists what would go and changes nothing
        bool activate = false; // refreshes MN4's live files even when another skin is active
        bool startMn4 = false;
    };

    // The checker's verdict on a skin folder: its findings as lines.
    struct Check
    {
        bool errors = false;
        QStringList lines;
    };

    struct Context
    {
        DeviceLink& link;
        DeviceConnection& connection;
        Prompter& prompter;
        QString settingsFolder; // temporary copies of MN4's preferences go here
        QString settingsFile; // Tivaro.ini: MN4Dir
        std::function<Check(const QString& skinFolder)> check;
        std::function<void(const QString& line)> say;
        // Runs between connection attempts (waits a while) and between chunks;
        // each returns false when the user cancelled.
        std::function<bool()> waitForDevice;
        std::function<bool()> keepGoing;
    };

    explicit SkinDeploy(Context context);

    Outcome run(const QString& pcSkin, const Options& options);

private:
    bool copyLayoutFiles(const QString& pcSkin, const QString& name, bool dryRun);
    bool connect();
    bool goOn() const { return !m_context.keepGoing || m_context.keepGoing(); }

    Context m_context;
};
