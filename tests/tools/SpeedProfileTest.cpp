#include "NumberText.h"
#include "ProfileNumbers.h"
#include "SpeedProfile.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QLocale Point(QLocale::English, QLocale::UnitedStates);
const QLocale Comma(QLocale::German, QLocale::Germany);

// With the default weights (time 20, fuel price 1, normalise to 2) and the best raw
// preference I_Wohnstr's 1000 ÷ 2180, worked out by hand:
//   A_BAB (120, 11): raw 1000 ÷ 3320, factor 1.3132... → 1.31, product 157.2 is the largest, weight 100.
//   A_Gasse (50, 8): raw 1000 ÷ 2400, factor 1.82, product 91, weight 100 × 91 ÷ 157.2.
//   I_Wohnstr (20, 9): raw 1000 ÷ 2180, factor exactly 2.00, product 40, weight 100 × 40 ÷ 157.2.
struct ClassRow { int index; double timeCost, totalCost, raw, factor, weight; };
const ClassRow DefaultRows[] = {
    {0, 2000.0 / 120, 11 + 2000.0 / 120, 1000.0 / 3320, 1.31, 100.0},
    {5, 40, 48, 1000.0 / 2400, 1.82, 100 * 91.0 / 157.2},
    {15, 100, 109, 1000.0 / 2180, 2.00, 100 * 40.0 / 157.2},
};

const QString DefaultSpeedLine = "|100|80|70|60|50|40|30|20|120|100|90|80|70|50|40|30";
const QString DefaultPreferenceLine = "|1.31|1.45|1.55|1.6|1.7|1.82|1.85|1.92|1.41|1.56|1.66|1.72|1.82|1.88|1.92|2.0";

class SpeedProfileLocale : public ::testing::TestWithParam<QLocale>
{
};

TEST_P(SpeedProfileLocale, DefaultColumnsOfWorkedClasses)
{
    const SpeedProfile profile(GetParam());
    for (const ClassRow& r : DefaultRows) {
        SCOPED_TRACE(SpeedProfile::className(r.index).toStdString());
        EXPECT_DOUBLE_EQ(profile.value(r.index, SpeedProfile::TimeCost), r.timeCost);
        EXPECT_DOUBLE_EQ(profile.value(r.index, SpeedProfile::TotalCost), r.totalCost);
        EXPECT_DOUBLE_EQ(profile.value(r.index, SpeedProfile::RawPreference), r.raw);
        EXPECT_DOUBLE_EQ(profile.value(r.index, SpeedProfile::PreferenceFactor), r.factor);
        EXPECT_NEAR(profile.value(r.index, SpeedProfile::Weight), r.weight, 1e-9);
    }
}

TEST_P(SpeedProfileLocale, LinesUseDecimalPoints)
{
    SpeedProfile profile(GetParam());
    EXPECT_EQ(profile.speedLine(), DefaultSpeedLine);
    EXPECT_EQ(profile.preferenceLine(), DefaultPreferenceLine);

    // A fractional speed must not put the locale's comma into MN4's line.
    ASSERT_EQ(profile.edit(SpeedProfile::Field::Speed, 8, DoubleText(102.5, GetParam())),
              SpeedProfile::EditResult::Changed);
    EXPECT_TRUE(profile.speedLine().startsWith("|102.5|80|"));
    EXPECT_FALSE(profile.preferenceLine().contains(u','));
}

// Arabic has a decimal separator of its own.
INSTANTIATE_TEST_SUITE_P(Locales, SpeedProfileLocale,
                         ::testing::Values(Point, Comma, QLocale(QLocale::Arabic, QLocale::Egypt)));

TEST(ProfileNumbers, PatternRoundsHalfAwayFromZero)
{
    const struct { double value; int maxDecimals; const char* point; const char* comma; } cases[] = {
        {1, 2, "1.0", "1,0"},        {0.125, 2, "0.13", "0,13"},   {1.005, 2, "1.01", "1,01"},
        {0.1249, 2, "0.12", "0,12"}, {9.995, 2, "10.0", "10,0"},   {1.3132530120481927, 2, "1.31", "1,31"},
        {-2.345, 2, "-2.35", "-2,35"}, {-0.001, 2, "0.0", "0,0"},  {92.239185750636, 1, "92.2", "92,2"},
        {99.96, 1, "100.0", "100,0"}, {1e20, 2, "100000000000000000000.0", "100000000000000000000,0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileNumbers::patternText(c.value, 1, c.maxDecimals, Point), c.point) << c.value;
        EXPECT_EQ(ProfileNumbers::patternText(c.value, 1, c.maxDecimals, Comma), c.comma) << c.value;
    }
}

TEST(SpeedProfile, WeightUsesTheRunningMaximum)
{
    SpeedProfile profile(Point);
    // A_Schnellstr at 200 km/h: raw 1000 ÷ 4000 = 0.25, factor 0.25 ÷ (1000 ÷ 2180) × 2
    // = 1.09, product 218 beats A_BAB's 157.2 only from class 1 on.
    profile.edit(SpeedProfile::Field::Speed, 1, "200");
    EXPECT_DOUBLE_EQ(profile.value(1, SpeedProfile::PreferenceFactor), 1.09);
    EXPECT_DOUBLE_EQ(profile.value(0, SpeedProfile::Weight), 100);
    EXPECT_DOUBLE_EQ(profile.value(1, SpeedProfile::Weight), 100);
    EXPECT_DOUBLE_EQ(profile.value(2, SpeedProfile::Weight), 100 * 139.5 / 218);
}

TEST(SpeedProfile, ZeroSpeedAndZeroCostDivideByNothing)
{
    SpeedProfile profile(Point);
    // Class 0 stands still: time cost 0, raw preference 1, the new best; its
    // product 0 leaves the running maximum at 1, so its weight is 0.
    profile.edit(SpeedProfile::Field::Speed, 0, "0");
    EXPECT_EQ(profile.value(0, SpeedProfile::TimeCost), 0);
    EXPECT_EQ(profile.value(0, SpeedProfile::RawPreference), 1);
    EXPECT_EQ(profile.value(0, SpeedProfile::PreferenceFactor), 2);
    EXPECT_EQ(profile.value(0, SpeedProfile::Weight), 0);
    // Class 1: raw 1 ÷ 3000 × 1000, factor 0.666... → 0.67, product 67 is the maximum.
    EXPECT_DOUBLE_EQ(profile.value(1, SpeedProfile::PreferenceFactor), 0.67);
    EXPECT_DOUBLE_EQ(profile.value(1, SpeedProfile::Weight), 100);

    // No time cost and no fuel price: every total is 0 and every class equal.
    profile.edit(SpeedProfile::Field::Global, SpeedProfile::Zeitkosten, "0");
    profile.edit(SpeedProfile::Field::Global, SpeedProfile::Verbrauchskosten, "0");
    for (int i = 0; i < SpeedProfile::ClassCount; ++i)
        EXPECT_EQ(profile.value(i, SpeedProfile::PreferenceFactor), 2) << i;
}

TEST(SpeedProfile, EditStoresOnlyNewAcceptedValues)
{
    SpeedProfile profile(Point);
    profile.setSpeedLine("|hand made");
    EXPECT_EQ(profile.edit(SpeedProfile::Field::Speed, 16, "5"), SpeedProfile::EditResult::Rejected);
    EXPECT_EQ(profile.edit(SpeedProfile::Field::Global, 3, "5"), SpeedProfile::EditResult::Rejected);
    EXPECT_EQ(profile.edit(SpeedProfile::Field::Speed, 0, "120.0"), SpeedProfile::EditResult::Unchanged);
    EXPECT_EQ(profile.speedLine(), "|hand made");
    EXPECT_EQ(profile.value(0, SpeedProfile::Speed), 120);

    EXPECT_EQ(profile.edit(SpeedProfile::Field::Global, SpeedProfile::Normierung, "3"),
              SpeedProfile::EditResult::Changed);
    EXPECT_EQ(profile.speedLine(), DefaultSpeedLine);
    EXPECT_DOUBLE_EQ(profile.value(15, SpeedProfile::PreferenceFactor), 3);
}

TEST(SpeedProfile, SavedParametersAndLinesComeBack)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Tivaro.ini");
    SpeedProfile saved(Comma);
    saved.edit(SpeedProfile::Field::Consumption, 3, "8,5");
    saved.edit(SpeedProfile::Field::Global, SpeedProfile::Zeitkosten, "12,25");
    saved.setPreferenceLine("|saved by hand");
    ASSERT_TRUE(saved.SaveParams(ini));

    const QByteArray bytes = readFile(ini);
    EXPECT_TRUE(bytes.startsWith("[A_BAB]\r\nSpeed= 120\r\nConsumes= 11\r\n[A_Schnellstr]\r\n"));
    EXPECT_TRUE(bytes.contains("[A_Landstr]\r\nSpeed= 80\r\nConsumes= 8,5\r\n"));
    EXPECT_TRUE(bytes.contains("[GPrefs]\r\nZeitkosten= 12,25\r\nVerbrauchskosten= 1\r\nNormierung= 2\r\n"));
    EXPECT_TRUE(bytes.endsWith("[MProfile]\r\nSpeed= " + saved.speedLine().toLatin1()
                               + "\r\nPrefs= |saved by hand\r\n"));

    SpeedProfile loaded(Comma);
    loaded.load(ini);
    EXPECT_EQ(loaded.value(3, SpeedProfile::Consumption), 8.5);
    EXPECT_EQ(loaded.global(SpeedProfile::Zeitkosten), 12.25);
    EXPECT_EQ(loaded.speedLine(), saved.speedLine());
    // The stored line wins over the one the parameters render.
    EXPECT_EQ(loaded.preferenceLine(), "|saved by hand");
    EXPECT_NE(loaded.renderedPreferenceLine(), "|saved by hand");
}

TEST(SpeedProfile, UnusableStoredNumbersGiveDefaults)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Tivaro.ini");
    writeFile(ini, "[A_BAB]\r\nSpeed= schnell\r\nConsumes= -3\r\n"
                    "[I_BAB]\r\nSpeed= 95.5\r\n"
                    "[I_Wohnstr]\r\nSpeed= 1e308\r\n" // the weights would overflow
                    "[GPrefs]\r\nNormierung= \r\n");
    SpeedProfile profile(Comma);
    profile.load(ini);
    EXPECT_EQ(profile.value(0, SpeedProfile::Speed), 120);
    EXPECT_EQ(profile.value(0, SpeedProfile::Consumption), 11);
    // Written under a point locale, still readable under a comma locale.
    EXPECT_EQ(profile.value(8, SpeedProfile::Speed), 95.5);
    EXPECT_EQ(profile.value(15, SpeedProfile::Speed), 20);
    EXPECT_EQ(profile.global(SpeedProfile::Normierung), 2);
    // Without saved lines the rendered ones are shown.
    EXPECT_EQ(profile.speedLine(), profile.renderedSpeedLine());
    EXPECT_TRUE(profile.speedLine().startsWith("|95.5|"));
}

} // namespace
