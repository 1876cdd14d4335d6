#pragma once

#include <QLocale>
#include <QString>

namespace ProfileNumbers {

// The value with at least minDecimals and at most maxDecimals decimals, the
// last one rounded half away from zero ("0.0#" is 1, 2; "0.0" is 1, 1), in
// ASCII digits with the locale's decimal separator, like DoubleText.
QString patternText(double value, int minDecimals, int maxDecimals, const QLocale& locale);

} // namespace ProfileNumbers
