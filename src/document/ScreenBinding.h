#pragma once

#include "AppState.h"

#include <QString>

#include <array>

// The loader that reads a screen of this kind onto the canvas.
enum class LoaderKind {
    MapView,   // the three map views, read by SetTheControls itself
    Main,      // SetMainControls: full screens with the status buttons
    MsgBox,    // SetMsgBoxControls: dialogs whose first section is "size"
    ListBox,   // SetListBoxControls: list pop-ups
    ListBoxT9, // SetListBoxt9Controls: list pop-ups with keyboard and T9 list
};

// Map view slots with rules of their own.
namespace MapSlots {
inline constexpr int Infobar = 1;
inline constexpr int From = 3;
inline constexpr int RouteInfo = 4;
inline constexpr int NextInfo = 5;
inline constexpr int LargeDummy = 19;
inline constexpr int SmallDummy = 20;
} // namespace MapSlots

// The parts of a list pop-up, counted from its list box: the item column, the
// two scroll buttons and the OK button follow the box in this order.
struct ListParts
{
    int list = -1; // -1: the screen has no list box
    int item() const { return list + 1; }
    int up() const { return list + 2; }
    int down() const { return list + 3; }
    int ok() const { return list + 4; }
    bool contains(int slot) const { return list >= 0 && slot > list && slot <= ok(); }
    bool isScroll(int slot) const { return list >= 0 && (slot == up() || slot == down()); }
    bool isSizeOnly(int slot) const { return list >= 0 && (slot == item() || slot == ok()); }
};

// One screen bound for editing: everything the catalogue says about it,
// resolved once when the screen is chosen. Loading, saving, the skin checker
// and the element list read this value; nothing looks the screen up again.
struct ScreenBinding
{
    enum Nudge { NudgeX = 0, NudgeY = 1, NudgeWidth = 2, NudgeHeight = 3 };

    QString screen;                 // display name, "" when nothing is bound
    LoaderKind kind = LoaderKind::Main;
    int lastSlot = -1;
    int viewIndex = 0;              // map view 0..2, 0 for every other screen
    bool infobar = false;           // the info bar was ticked: dependents move with it
    QString pictureFolder;          // program bitmaps of the elements: pics/<folder>/<section>.bmp
    std::array<QString, SlotCount> ElementFile;
    std::array<QString, SlotCount> ElementSection;
    // ElementVisible[view][slot]
    std::array<std::array<bool, SlotCount>, ViewCount> ElementVisible{};
    std::array<bool, SlotCount> ElementDepends{};
    // NudgeFactor[slot][x, y, width, height]; 1.0 by default, 0.0 locks the value.
    std::array<std::array<double, 4>, SlotCount> NudgeFactor = filledFactors();

    bool isMapView() const { return kind == LoaderKind::MapView; }
    ListParts listParts() const
    {
        return {kind == LoaderKind::ListBox ? 0 : kind == LoaderKind::ListBoxT9 ? 1 : -1};
    }
    bool visible(int slot) const { return ElementVisible[viewIndex][slot]; }
    // Moves with MN4's info bar on this screen.
    bool depends(int slot) const { return infobar && ElementDepends[slot]; }

    static constexpr std::array<std::array<double, 4>, SlotCount> filledFactors()
    {
        std::array<std::array<double, 4>, SlotCount> f{};
        for (auto& slot : f)
            slot = {1.0, 1.0, 1.0, 1.0};
        return f;
    }
};
