#include "TestFiles.h"
#include "NumberText.h"

#include <gtest/gtest.h>


namespace {

const QLocale point = QLocale::c();
const QLocale comma(QLocale::German);

TEST(DoubleText, Table)
{
    struct Case { double value; const char* pointText; const char* commaText; };
    const Case cases[] = {
        {0, "0", "0"}, {-0.0, "0", "0"}, {12, "12", "12"}, {-7, "-7", "-7"}, {1.5, "1.5", "1,5"},
        {0.1 + 0.2, "0.3", "0,3"}, {1.0 / 3, "0.333333333333333", "0,333333333333333"},
        {2.0 / 3, "0.666666666666667", "0,666666666666667"}, {123456789012345, "123456789012345", "123456789012345"},
        {1e15, "1E+15", "1E+15"}, {1234.5e20, "1.2345E+23", "1,2345E+23"}, {0.0001, "0.0001", "0,0001"},
        {0.00001, "1E-05", "1E-05"}, {-0.000012, "-1.2E-05", "-1,2E-05"}, {120, "120", "120"},
        {99.999999999999999, "100", "100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DoubleText(c.value, point), c.pointText) << c.value;
        EXPECT_EQ(DoubleText(c.value, comma), c.commaText) << c.value;
    }
}

TEST(SingleText, RoundsToSevenDigitsOfTheSingle)
{
    struct Case { float value; const char* pointText; const char* commaText; };
    const Case cases[] = {
        {0.1f, "0.1", "0,1"}, {12.5f, "12.5", "12,5"}, {1.0f / 3, "0.3333333", "0,3333333"},
        {16.66667f, "16.66667", "16,66667"}, {1234567.0f, "1234567", "1234567"},
        {12345678.0f, "1.234568E+07", "1,234568E+07"}, {-240.0f, "-240", "-240"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SingleText(c.value, point), c.pointText) << c.value;
        EXPECT_EQ(SingleText(c.value, comma), c.commaText) << c.value;
    }
}

TEST(ParseNumber, Table)
{
    struct Case { const char* text; const QLocale& locale; std::optional<double> expected; };
    const Case cases[] = {
        {"12", point, 12}, {"  -1.5 ", point, -1.5}, {"+3", point, 3}, {".5", point, 0.5}, {"5.", point, 5},
        {"1e3", point, 1000}, {"2.5E-1", point, 0.25}, {"1,5", comma, 1.5}, {"\t7,25\t", comma, 7.25},
        {"1,2345E+23", comma, 1.2345e23}, {"-1,2E-05", comma, -1.2e-5}, // as DoubleText writes them
        {"1,5", point, std::nullopt},
        {"1.5", comma, std::nullopt}, // a group separator, not a decimal point
        {"1.000,5", comma, std::nullopt}, {"", point, std::nullopt}, {"  ", point, std::nullopt},
        {"-", point, std::nullopt}, {".", point, std::nullopt}, {"12abc", point, std::nullopt},
        {"1e", point, std::nullopt}, {"1e999", point, std::nullopt}, {"inf", point, std::nullopt},
        {"nan", point, std::nullopt}, {"0x10", point, std::nullopt}, {"1 2", point, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(QString::fromLatin1(c.text), c.locale), c.expected) << c.text;
}

TEST(ParseNumberOrPoint, LocaleSeparatorOrPointNeverGroups)
{
    const struct { const char* text; const QLocale& locale; std::optional<double> expected; } rows[] = {
        {" 7,5 ", comma, 7.5}, {"7.5", comma, 7.5}, {"7,5", point, std::nullopt}, {"1.234,5", comma, std::nullopt},
        {"1,234", point, std::nullopt}, {"nan", comma, std::nullopt},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ParseNumberOrPoint(QString::fromLatin1(r.text), r.locale), r.expected) << r.text;
}

TEST(LayoutNumber, WholeNumbersKeepFractionsAnythingElseReadsLikeTheProfileApi)
{
    const struct { const char* text; const QLocale& locale; double expected; } rows[] = {
        {"12", point, 12}, {"7,5", comma, 7.5}, {"7.5", comma, 7.5}, {"-3", point, -3},
        {"10 ; links", point, 10}, {"  -4px", point, -4}, {"+8,", point, 8}, {"12.5abc", point, 12},
        {"7,5", point, 7}, {"", point, 0}, {"abc", point, 0}, {"-", point, 0}, {"- 5", point, 0},
        {"0x10", point, 0}, {"99999999999999999999999 px", point, 1e15},
    };
    for (const auto& r : rows)
        EXPECT_EQ(LayoutNumber(QString::fromLatin1(r.text), r.locale), r.expected) << r.text;
}

} // namespace
