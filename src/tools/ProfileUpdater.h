#pragma once

#include <QString>

#include <array>
#include <functional>

class DeviceLink;
class MapExportLauncher;
class Prompter;
struct DeviceConnection;

// The update of MN4's files from the two profile lines: prefs.ini and
// NavLib.ini on the device (fetched to a temporary copy, edited, put back),
// speedprofiles.ini of the map export tool on the PC (edited in place), and
// the start of the map export tool. What the window shows goes through the
// callbacks; every message goes through the prompter.
class ProfileUpdater
{
public:
    static constexpr int BoxCount = 6;
    using Boxes = std::array<bool, BoxCount>;

    struct Context
    {
        DeviceLink& link;
        DeviceConnection& connection;
        Prompter& prompter;
        const MapExportLauncher& launcher;
        QString settingsFolder; // folder of Tivaro.ini, ends with a separator; temporary copies go here
        QString settingsFile; // Tivaro.ini
        std::function<void(const QString&)> showDoing;  // LDoing, repainted at once
        std::function<void()> chooseMapExportFolder;    // the map export folder button
    };

    explicit ProfileUpdater(Context context);

    // Runs the rows whose boxes are set; boxes of targets that turned out to
    // be missing come back cleared.
    void run(Boxes& boxes, const QString& speedLine, const QString& preferenceLine);

private:
    enum class Outcome { Done, Failed };
    Outcome updateDeviceRow(int row, const QString& speedLine, const QString& preferenceLine);
    Outcome updatePcRow(int row, const QString& file, const QString& speedLine, const QString& preferenceLine);
    void note(const QString& text, const QString& title = QStringLiteral("Hinweis:"));
    void showDoing(const QString& text);

    Context m_context;
};
