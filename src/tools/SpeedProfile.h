#pragma once

#include <QLocale>
#include <QString>

#include <array>

// The routing parameters of MN4's speed profiles: speed and consumption of the
// sixteen road classes and three global weights, the costs and preference
// factors computed from them, and the two profile lines in MN4's syntax.
// Independent of any window; frmPreferences shows and edits it.
class SpeedProfile
{
public:
    static constexpr int ClassCount = 16;
    static constexpr int ColumnCount = 8;
    static constexpr int GlobalCount = 3;

    enum Column {
        Speed = 0,
        Consumption = 1,
        FuelCost = 2,
        TimeCost = 3,
        TotalCost = 4,
        RawPreference = 5,
        PreferenceFactor = 6,
        Weight = 7,
    };
    enum Global { Zeitkosten = 0, Verbrauchskosten = 1, Normierung = 2 };
    enum class Field { Speed, Consumption, Global };
    enum class EditResult { Rejected, Unchanged, Changed };

    // Numbers are shown and stored in the locale's format.
    explicit SpeedProfile(const QLocale& locale = QLocale());

    // Road class i, also its section in Tivaro.ini ("A_BAB" .. "I_Wohnstr").
    static QString className(int i);
    // Key of global parameter k in section "GPrefs".
    static QString globalName(int k);
    static double defaultSpeed(int i);
    static double defaultConsumption(int i);
    static double defaultGlobal(int k);

    // Back to the default speeds, consumptions and weights, recalculated.
    void InitPrefs();
    // Recomputes columns 2 to 7 from columns 0 and 1 and the global weights.
    void Calculate();
    // Replaces both profile lines by the ones rendered from the table.
    void renderLines();

    double value(int i, int column) const;
    double global(int k) const;

    // The text of an editable field: speed or consumption of class index, or
    // global parameter index.
    QString fieldText(Field field, int index) const;
    // Column 7 of class i with one decimal, as the weight fields show it.
    QString weightText(int i) const;

    // A text the user left in an editable field: rejected when TestInput
    // refuses it or a computed value would overflow; stored, recalculated and
    // rendered when it is a new value.
    EditResult edit(Field field, int index, const QString& text);

    // The profile lines as they stand in their fields; the user may edit them.
    QString speedLine() const { return m_speedLine; }
    QString preferenceLine() const { return m_preferenceLine; }
    void setSpeedLine(const QString& line) { m_speedLine = line; }
    void setPreferenceLine(const QString& line) { m_preferenceLine = line; }

    // The lines the table renders, whatever the fields hold.
    QString renderedSpeedLine() const;
    QString renderedPreferenceLine() const;

    // True when text is no number in the locale, or a number below 0.
    static bool TestInput(const QString& text, const QLocale& locale = QLocale());

    // Reads the parameters and the stored lines from the settings file; an
    // unusable stored number gives its default. Lines never saved are rendered.
    void load(const QString& settingsFile);
    // Writes parameters and lines to the settings file in one replacement;
    // false when the file could not be written (it is then unchanged).
    bool SaveParams(const QString& settingsFile) const;

    const QLocale& locale() const { return m_locale; }

private:
    // Stores number in a parameter and recalculates; keeps the old value and
    // returns false when a computed value would not be finite.
    bool store(double& stored, double number);
    double readNumber(const QString& file, const QString& section, const QString& key,
                      double fallback) const;

    QLocale m_locale;
    std::array<std::array<double, ColumnCount>, ClassCount> m_table{};
    std::array<double, GlobalCount> m_globals{};
    QString m_speedLine;
    QString m_preferenceLine;
};
