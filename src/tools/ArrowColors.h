#pragma once

#include <QColor>
#include <QString>

#include <array>

// The route arrow colours of MN4's two schematic views as kept in a skin's
// NavLib.ini: per schematic (1 "mainSchematic", 2 "secondSchematic") the
// all-roads, route and front colours, each as red, green and blue entries of
// one or two hexadecimal digits. frmArrows edits them through scroll bars.
class ArrowColors
{
public:
    enum Kind { AllRoads = 0, Route = 1, Front = 2 };
    enum Component { Red = 0, Green = 1, Blue = 2 };

    // skinFolder ends with a separator; empty when no skin folder is chosen.
    explicit ArrowColors(const QString& skinFolder);

    // The skin's NavLib.ini in whatever letter case it exists; "" without a skin folder.
    QString file() const;

    // Fills one schematic from the file ("mainSchematic" or "secondSchematic").
    void LoadSchematic(const QString& section);
    // Both schematics, then clears the changed flag.
    void load();

    // The colour the scroll bars edit, for both schematics at once.
    Kind selected() const { return m_selected; }
    void select(Kind kind) { m_selected = kind; }

    // Component of the selected colour of schematic nr as a number 0..255.
    int component(int nr, Component c) const;
    // Stores a scroll bar value (0..255) into the selected colour of
    // schematic nr as upper-case hex without a leading zero; sets the flag.
    void SetColors(int nr, Component c, int value);

    // The table entry as held: as read from the file or as set by SetColors.
    QString entry(int nr, Kind kind, Component c) const;
    // The colour as stored: blue, green, red, two digits each.
    QString colorText(int nr, Kind kind) const;
    // What LHEX1/LHEX2 show: the selected colour as stored.
    QString hexLabel(int nr) const { return colorText(nr, m_selected); }
    // The colour for the preview lines.
    QColor color(int nr, Kind kind) const;

    bool changed() const { return m_changed; }
    // The window sets its scroll bars from the table, which passes the values
    // back through SetColors; that alone is no change of the user's.
    void clearChanged() { m_changed = false; }

    // Writes RouteColor, AllColor and ForColor of both sections in one
    // replacement of the file. On success clears the changed flag; on failure
    // (no skin folder, file not writable) keeps it and returns false.
    bool save();

private:
    using Entries = std::array<std::array<QString, 3>, 3>; // [kind][component]
    static bool validNr(int nr) { return nr == 1 || nr == 2; }

    QString m_skinFolder;
    std::array<Entries, 2> m_table;
    Kind m_selected = Route;
    bool m_changed = false;
};
