#include "SpeedProfile.h"

#include "Ini.h"
#include "NumberText.h"
#include "ProfileNumbers.h"
#include "Settings.h"

#include <cmath>

namespace {

// The speed line lists the inner-town classes first.
constexpr std::array<int, SpeedProfile::ClassCount> SpeedLineOrder = {
    8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7};

bool validClass(int i) { return i >= 0 && i < SpeedProfile::ClassCount; }
bool validGlobal(int k) { return k >= 0 && k < SpeedProfile::GlobalCount; }

} // namespace

SpeedProfile::SpeedProfile(const QLocale& locale)
    : m_locale(locale)
{
    InitPrefs();
}

QString SpeedProfile::className(int i) { return validClass(i) ? QString(Settings::RoadClasses[i].section) : QString(); }
QString SpeedProfile::globalName(int k) { return validGlobal(k) ? QString(Settings::GlobalPrefs[k].key) : QString(); }
double SpeedProfile::defaultSpeed(int i) { return validClass(i) ? Settings::RoadClasses[i].speed : 0; }
double SpeedProfile::defaultConsumption(int i) { return validClass(i) ? Settings::RoadClasses[i].consumes : 0; }
double SpeedProfile::defaultGlobal(int k) { return validGlobal(k) ? Settings::GlobalPrefs[k].defaultValue : 0; }

void SpeedProfile::InitPrefs()
{
    for (int i = 0; i < ClassCount; ++i) {
        m_table[i].fill(0);
        m_table[i][Speed] = defaultSpeed(i);
        m_table[i][Consumption] = defaultConsumption(i);
    }
    for (int k = 0; k < GlobalCount; ++k)
        m_globals[k] = defaultGlobal(k);
    Calculate();
    renderLines();
}

void SpeedProfile::Calculate()
{
    const double g0 = m_globals[Zeitkosten];
    const double g1 = m_globals[Verbrauchskosten];
    const double g2 = m_globals[Normierung];

    double best = 0;
    for (auto& row : m_table) {
        const double v = row[Speed];
        row[FuelCost] = row[Consumption] * g1;
        row[TimeCost] = v == 0 ? 0 : 100 * g0 / v;
        row[TotalCost] = row[FuelCost] + row[TimeCost];
        row[RawPreference] = (v == 0 || row[TotalCost] == 0) ? 1 : (1 / row[TotalCost]) / v * 1000;
        if (row[RawPreference] > best)
            best = row[RawPreference];
    }
    // Only negative or zero preferences leave no best class; they must not divide by zero.
    if (best <= 0)
        best = 1;

    // Each class is weighed against the largest product up to and including it.
    double largest = 0;
    for (auto& row : m_table) {
        const double v = row[Speed];
        // Rounded as its "0.0#" text shows it; the C locale reads back any digits it writes.
        const QString factor = ProfileNumbers::patternText(row[RawPreference] / best * g2, 1, 2, QLocale::c());
        row[PreferenceFactor] = ParseNumber(factor, QLocale::c()).value_or(0);
        if (v * row[PreferenceFactor] > largest)
            largest = v * row[PreferenceFactor];
        if (largest == 0)
            largest = 1;
        row[Weight] = 100 * v * row[PreferenceFactor] / largest;
    }
}

void SpeedProfile::renderLines()
{
    m_speedLine = renderedSpeedLine();
    m_preferenceLine = renderedPreferenceLine();
}

// MN4 reads its profile lines with ASCII digits and a decimal point, whatever
// the PC's locale, so they are rendered in the C locale.
QString SpeedProfile::renderedSpeedLine() const
{
    QString line;
    for (const int i : SpeedLineOrder)
        line += u'|' + DoubleText(m_table[i][Speed], QLocale::c());
    return line;
}

QString SpeedProfile::renderedPreferenceLine() const
{
    QString line;
    for (const auto& row : m_table)
        line += u'|' + ProfileNumbers::patternText(row[PreferenceFactor], 1, 2, QLocale::c());
    return line;
}

double SpeedProfile::value(int i, int column) const
{
    return validClass(i) && column >= 0 && column < ColumnCount ? m_table[i][column] : 0;
}

double SpeedProfile::global(int k) const { return validGlobal(k) ? m_globals[k] : 0; }

QString SpeedProfile::fieldText(Field field, int index) const
{
    const double number = field == Field::Global ? global(index)
                        : value(index, field == Field::Speed ? Speed : Consumption);
    return DoubleText(number, m_locale);
}

QString SpeedProfile::weightText(int i) const
{
    return ProfileNumbers::patternText(value(i, Weight), 1, 1, m_locale);
}

SpeedProfile::EditResult SpeedProfile::edit(Field field, int index, const QString& text)
{
    if (field == Field::Global ? !validGlobal(index) : !validClass(index))
        return EditResult::Rejected;
    if (TestInput(text, m_locale))
        return EditResult::Rejected;
    double& stored = field == Field::Global ? m_globals[index]
                   : m_table[index][field == Field::Speed ? Speed : Consumption];
    const double number = *ParseNumber(text, m_locale);
    if (number == stored)
        return EditResult::Unchanged;
    if (!store(stored, number))
        return EditResult::Rejected;
    renderLines();
    return EditResult::Changed;
}

bool SpeedProfile::store(double& stored, double number)
{
    // A number so large or small that a cost, factor or weight would overflow
    // is refused like any other unusable input.
    const double old = stored;
    stored = number;
    Calculate();
    for (const auto& row : m_table)
        for (const double cell : row)
            if (!std::isfinite(cell)) {
                stored = old;
                Calculate();
                return false;
            }
    return true;
}

bool SpeedProfile::TestInput(const QString& text, const QLocale& locale)
{
    const auto number = ParseNumber(text, locale);
    return !number || *number < 0;
}

double SpeedProfile::readNumber(const QString& file, const QString& section, const QString& key,
                                double fallback) const
{
    const QString text = ReadIni(file, section, key, DoubleText(fallback, m_locale));
    // A settings file written under another locale still reads with a point.
    const auto number = ParseNumberOrPoint(text, m_locale);
    return number && *number >= 0 ? *number : fallback;
}

void SpeedProfile::load(const QString& settingsFile)
{
    InitPrefs();
    for (int i = 0; i < ClassCount; ++i) {
        store(m_table[i][Speed], readNumber(settingsFile, className(i), Settings::Speed, defaultSpeed(i)));
        store(m_table[i][Consumption],
              readNumber(settingsFile, className(i), Settings::Consumes, defaultConsumption(i)));
    }
    for (int k = 0; k < GlobalCount; ++k)
        store(m_globals[k], readNumber(settingsFile, Settings::GPrefs, globalName(k), defaultGlobal(k)));
    renderLines();
    m_speedLine = ReadIni(settingsFile, Settings::MProfile, Settings::ProfileSpeed, m_speedLine);
    m_preferenceLine = ReadIni(settingsFile, Settings::MProfile, Settings::ProfilePrefs, m_preferenceLine);
}

bool SpeedProfile::SaveParams(const QString& settingsFile) const
{
    IniBatch batch(settingsFile);
    for (int i = 0; i < ClassCount; ++i) {
        batch.write(className(i), Settings::Speed, fieldText(Field::Speed, i));
        batch.write(className(i), Settings::Consumes, fieldText(Field::Consumption, i));
    }
    for (int k = 0; k < GlobalCount; ++k)
        batch.write(Settings::GPrefs, globalName(k), fieldText(Field::Global, k));
    batch.write(Settings::MProfile, Settings::ProfileSpeed, m_speedLine);
    batch.write(Settings::MProfile, Settings::ProfilePrefs, m_preferenceLine);
    return batch.commit();
}
