#pragma once

#include "SkinSync.h"

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
// and a command line prints them. The questions a window asks on the way are
// hooks of the context; without them the deploy goes on, as on the command line.
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
        // Runs between connection attempts (waits a while); false when the user cancelled.
        std::function<bool()> waitForDevice;
        // Hears every chunk sent; false stops the transfer before anything is moved into place.
        SkinSync::Progress progress;
        // Asked before root layout files are copied over their differing Layout copies
        // (never in a dry run); false stops the deploy before anything changed.
        std::function<bool(const QStringList& rootFiles)> agreeToLayoutCopies;
        // Asked when the checker found warnings only (never in a dry run); false stops.
        std::function<bool(const QStringList& findings)> goOnDespiteWarnings;
    };

    explicit SkinDeploy(Context context);

    // options.activate and options.startMn4 are read only once the transfer is
    // done, so a window may let the user change them while it runs.
    Outcome run(const QString& pcSkin, const Options& options);

    // The line that says how the last run ended: what was transferred, what a
    // dry run would transfer, or why nothing was.
    QString summary() const { return m_summary; }

private:
    // Copies the root layout files whose Layout copy differs into Layout and
    // names them in differing (a dry run only names them).
    bool copyLayoutFiles(const QString& pcSkin, const QString& name, bool dryRun, QStringList& differing);
    bool connect();
    Outcome end(Outcome outcome, const QString& line);

    Context m_context;
    QString m_summary;
};
