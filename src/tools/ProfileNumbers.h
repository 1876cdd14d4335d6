#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Number texts of the speed profiles. Texts shown to the user and stored in
// Tivaro.ini use the user's locale; MN4's profile lines use the C locale.
namespace ProfileNumbers {

// The plain text of a double: up to 15 significant digits, no trailing zeros,
// no digit grouping ("120", "16,6666666666667" in a comma locale).
QString defaultText(double value, const QLocale& locale);

// The value with at least minDecimals and at most maxDecimals decimals, the
// last one rounded half away from zero ("0.0#" is 1, 2; "0.0" is 1, 1).
QString patternText(double value, int minDecimals, int maxDecimals, const QLocale& locale);

// The number a text stands for in the locale (blanks around it allowed, digit
// grouping refused); nothing for other texts and for infinities and NaN.
std::optional<double> parse(const QString& text, const QLocale& locale);

} // namespace ProfileNumbers
