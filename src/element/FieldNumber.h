#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Numbers in the shared coordinate fields.

// Shortest decimal text of a single-precision value with at most seven
// significant digits, the locale's decimal separator and no exponent.
QString singleText(float value, const QLocale& locale);

// The number in text (blanks around it allowed), written with the locale's
// decimal separator or with a point; group separators are refused so that
// "12.5" never reads as 125. Empty when text holds no finite number.
std::optional<double> parseNumber(const QString& text, const QLocale& locale);
