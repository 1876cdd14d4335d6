#include "FieldNumber.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>

namespace {

const QLocale point = QLocale::c();
const QLocale comma(QLocale::German, QLocale::Germany);

TEST(SingleText, ShortestTextWithSevenDigitsAndTheLocaleSeparator)
{
    const struct {
        float value;
        const QLocale& locale;
        const char* expected;
    } rows[] = {
        {7.5f, point, "7.5"},
        {7.5f, comma, "7,5"},
        {12.0f, comma, "12"},
        {0.0f, point, "0"},
        {-0.0f, point, "0"},
        {-3.25f, comma, "-3,25"},
        {100.0f / 15.0f, point, "6.666667"},  // 6.6666665 needs eight digits to round-trip
        {1.0f / 3.0f, comma, "0,3333333"},
        {0.1f, point, "0.1"},
        {0.001f, point, "0.001"},
        {240.0f, point, "240"},
        {1234567.0f, point, "1234567"},
        {16777216.0f, point, "16777220"},     // no exponent, seven significant digits
        {9.9999999f, point, "10"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.expected);
        EXPECT_EQ(singleText(r.value, r.locale), QString::fromLatin1(r.expected));
    }
}

TEST(ParseNumber, LocaleSeparatorOrPointNeverGroups)
{
    const struct {
        const char* text;
        const QLocale& locale;
        std::optional<double> expected;
    } rows[] = {
        {"12", point, 12.0},
        {" 7,5 ", comma, 7.5},
        {"7.5", comma, 7.5},          // a point is never taken as a group separator
        {"7,5", point, std::nullopt},
        {"1.234,5", comma, std::nullopt},
        {"1,234", point, std::nullopt},
        {"-3", point, -3.0},
        {"", point, std::nullopt},
        {"   ", comma, std::nullopt},
        {"abc", point, std::nullopt},
        {"12abc", point, std::nullopt},
        {"inf", point, std::nullopt},
        {"nan", point, std::nullopt},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(parseNumber(QString::fromLatin1(r.text), r.locale), r.expected);
    }
}

} // namespace
