#pragma once

#include <QString>

#include <array>

class Prompter;

// Number of element slots every screen draws from.
inline constexpr int SlotCount = 25;
// Map view columns of the visibility table.
inline constexpr int ViewCount = 3;

// Program-wide state of the editor. Owned by the application and handed to the
// windows; nothing else keeps state beyond one operation.
struct AppState
{
    QString AppPath;                     // program folder, ends with a separator
    QString SettingsFolder;              // folder of Tivaro.ini chosen at the start, ends with a separator
    QString SkinFolder;                  // chosen skin folder, ends with a separator
    std::array<QString, 4> LayoutFileSet; // default, main menu, edit dialog, GPS dialog file
    bool LayoutLoaded = false;           // a skin folder was chosen since the start
    qint16 TwipsPerPixelX = 15;
    qint16 TwipsPerPixelY = 15;
    Prompter* prompter = nullptr;        // never null once the application runs

    // Where Tivaro.ini and the temporary copies of device files go: the folder
    // chosen at the start, else the program folder.
    QString settingsFolder() const { return SettingsFolder.isEmpty() ? AppPath : SettingsFolder; }
};
