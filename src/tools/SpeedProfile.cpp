#include "SpeedProfile.h"

#include "Ini.h"
#include "ProfileNumbers.h"

#include <QLatin1StringView>

namespace {

constexpr std::array<QLatin1StringView, SpeedProfile::ClassCount> ClassNames = {
    QLatin1StringView("A_BAB"),       QLatin1StringView("A_Schnellstr"),
    QLatin1StringView("A_Bundesstr"), QLatin1StringView("A_Landstr"),
    QLatin1StringView("A_Nebenstr"),  QLatin1StringView("A_Gasse"),
    QLatin1StringView("A_Feldweg"),   QLatin1StringView("A_Wohnstr"),
    QLatin1StringView("I_BAB"),       QLatin1StringView("I_Schnellstr"),
    QLatin1StringView("I_Bundesstr"), QLatin1StringView("I_Landstr"),
    QLatin1StringView("I_Nebenstr"),  QLatin1StringView("I_Gasse"),
    QLatin1StringView("I_Feldweg"),   QLatin1StringView("I_Wohnstr"),
};
constexpr std::array<double, SpeedProfile::ClassCount> DefaultSpeeds = {
    120, 100, 90, 80, 70, 50, 40, 30, 100, 80, 70, 60, 50, 40, 30, 20};
constexpr std::array<double, SpeedProfile::ClassCount> DefaultConsumptions = {
    11, 10, 9, 9, 8, 8, 9, 9, 11, 10, 9, 9, 8, 8, 9, 9};
constexpr std::array<QLatin1StringView, SpeedProfile::GlobalCount> GlobalNames = {
    QLatin1StringView("Zeitkosten"), QLatin1StringView("Verbrauchskosten"),
    QLatin1StringView("Normierung")};
constexpr std::array<double, SpeedProfile::GlobalCount> DefaultGlobals = {20, 1, 2};

// The speed line lists the inner-town classes first.
constexpr std::array<int, SpeedProfile::ClassCount> SpeedLineOrder = {
    8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7};

const QString SpeedKey = QStringLiteral("Speed");
const QString ConsumesKey = QStringLiteral("Consumes");
const QString GlobalSection = QStringLiteral("GPrefs");
const QString LineSection = QStringLiteral("MProfile");
const QString PrefsKey = QStringLiteral("Prefs");

bool validClass(int i) { return i >= 0 && i < SpeedProfile::ClassCount; }
bool validGlobal(int k) { return k >= 0 && k < SpeedProfile::GlobalCount; }

} // namespace

SpeedProfile::SpeedProfile(const QLocale& locale)
    : m_locale(locale)
{
    InitPrefs();
}

QString SpeedProfile::className(int i) { return validClass(i) ? QString(ClassNames[i]) : QString(); }
QString SpeedProfile::globalName(int k) { return validGlobal(k) ? QString(GlobalNames[k]) : QString(); }
double SpeedProfile::defaultSpeed(int i) { return validClass(i) ? DefaultSpeeds[i] : 0; }
double SpeedProfile::defaultConsumption(int i) { return validClass(i) ? DefaultConsumptions[i] : 0; }
double SpeedProfile::defaultGlobal(int k) { return validGlobal(k) ? DefaultGlobals[k] : 0; }

void SpeedProfile::InitPrefs()
{
    for (int i = 0; i < ClassCount; ++i) {
        m_table[i].fill(0);
        m_table[i][Speed] = DefaultSpeeds[i];
        m_table[i][Consumption] = DefaultConsumptions[i];
    }
    m_globals = DefaultGlobals;
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
        row[PreferenceFactor] = ProfileNumbers::parse(factor, QLocale::c()).value_or(0);
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
        line += u'|' + ProfileNumbers::defaultText(m_table[i][Speed], QLocale::c());
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
    return ProfileNumbers::defaultText(number, m_locale);
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
    const double number = *ProfileNumbers::parse(text, m_locale);
    if (number == stored)
        return EditResult::Unchanged;
    stored = number;
    Calculate();
    renderLines();
    return EditResult::Changed;
}

bool SpeedProfile::TestInput(const QString& strValue, const QLocale& locale)
{
    const auto number = ProfileNumbers::parse(strValue, locale);
    return !number || *number < 0;
}

double SpeedProfile::readNumber(const QString& file, const QString& section, const QString& key,
                                double fallback) const
{
    const QString text = ReadIni(file, section, key, ProfileNumbers::defaultText(fallback, m_locale));
    // A settings file written under another locale still reads with a point.
    auto number = ProfileNumbers::parse(text, m_locale);
    if (!number)
        number = ProfileNumbers::parse(text, QLocale::c());
    return number && *number >= 0 ? *number : fallback;
}

void SpeedProfile::load(const QString& settingsFile)
{
    InitPrefs();
    for (int i = 0; i < ClassCount; ++i) {
        m_table[i][Speed] = readNumber(settingsFile, className(i), SpeedKey, DefaultSpeeds[i]);
        m_table[i][Consumption] = readNumber(settingsFile, className(i), ConsumesKey, DefaultConsumptions[i]);
    }
    for (int k = 0; k < GlobalCount; ++k)
        m_globals[k] = readNumber(settingsFile, GlobalSection, globalName(k), DefaultGlobals[k]);
    Calculate();
    renderLines();
    m_speedLine = ReadIni(settingsFile, LineSection, SpeedKey, m_speedLine);
    m_preferenceLine = ReadIni(settingsFile, LineSection, PrefsKey, m_preferenceLine);
}

bool SpeedProfile::SaveParams(const QString& settingsFile) const
{
    IniBatch batch(settingsFile);
    for (int i = 0; i < ClassCount; ++i) {
        batch.write(className(i), SpeedKey, fieldText(Field::Speed, i));
        batch.write(className(i), ConsumesKey, fieldText(Field::Consumption, i));
    }
    for (int k = 0; k < GlobalCount; ++k)
        batch.write(GlobalSection, globalName(k), fieldText(Field::Global, k));
    batch.write(LineSection, SpeedKey, m_speedLine);
    batch.write(LineSection, PrefsKey, m_preferenceLine);
    return batch.commit();
}
