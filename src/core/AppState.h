#pragma once

#include <QString>

#include <array>

class Prompter;

// Number of element slots every screen draws from.
inline constexpr int SlotCount = 25;
// Map view columns of the visibility table.
inline constexpr int ViewCount = 3;

// The working tables of the screen that is bound for editing.
struct ScreenBinding
{
    enum Nudge { NudgeX = 0, NudgeY = 1, NudgeWidth = 2, NudgeHeight = 3 };

    qint16 lastSlot = -1;
    std::array<QString, SlotCount> ElementFile;
    std::array<QString, SlotCount> ElementSection;
    // ElementVisible[view][slot]
    std::array<std::array<bool, SlotCount>, ViewCount> ElementVisible{};
    std::array<bool, SlotCount> ElementDepends{};
    // NudgeFactor[slot][x, y, width, height]; 1.0 by default, 0.0 locks the value.
    std::array<std::array<double, 4>, SlotCount> NudgeFactor = filledFactors();

    static constexpr std::array<std::array<double, 4>, SlotCount> filledFactors()
    {
        std::array<std::array<double, 4>, SlotCount> f{};
        for (auto& slot : f)
            slot = {1.0, 1.0, 1.0, 1.0};
        return f;
    }
};

// Program-wide state of the editor. Owned by the application and handed to the
// windows; nothing else keeps state beyond one operation.
struct AppState
{
    QString AppPath;                     // program folder, ends with a separator
    QString SettingsFolder;              // folder of Tivaro.ini chosen at the start, ends with a separator
    QString SkinFolder;                  // chosen skin folder, ends with a separator
    std::array<QString, 4> LayoutFileSet; // default, main menu, edit dialog, GPS dialog file
    ScreenBinding Binding;
    qint16 ViewIndex = 0;                // map view 0..2, 0 for every other screen
    bool LayoutLoaded = false;           // a skin folder was chosen since the start
    qint16 TwipsPerPixelX = 15;
    qint16 TwipsPerPixelY = 15;
    Prompter* prompter = nullptr;        // never null once the application runs

    // Where Tivaro.ini and the temporary copies of device files go: the folder
    // chosen at the start, else the program folder.
    QString settingsFolder() const { return SettingsFolder.isEmpty() ? AppPath : SettingsFolder; }
};
