#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// Numbers shown to the user and stored in settings use the user's decimal
// separator and the short form of the classic system conversion: at most 15
// significant digits for doubles and 7 for singles, no trailing zeros, whole
// numbers without decimals, and an exponent ("1E+15", "1E-05") only for very
// large or small magnitudes.
QString DoubleText(double value, const QLocale& locale = QLocale::system());
QString SingleText(float value, const QLocale& locale = QLocale::system());

// Reads a number written with the locale's decimal separator (an optional
// sign, digits, separator, digits, optional exponent; blanks around it are
// allowed). Group separators and anything else make it fail.
std::optional<double> ParseNumber(QStringView text, const QLocale& locale = QLocale::system());

// As ParseNumber, and when that fails with a point as the decimal separator, so
// that numbers typed or stored under another locale still read.
std::optional<double> ParseNumberOrPoint(QStringView text, const QLocale& locale = QLocale::system());

// Reads a number of an MN4 layout file as MN4 itself does. Text that is a
// number as a whole (ParseNumberOrPoint) keeps its fraction; anything else is
// read the way the Windows profile functions read an integer: blanks, an
// optional sign, then the digits up to the first other character. Text
// without such digits reads as 0, so "10 ; links" is 10 and "abc" is 0.
double LayoutNumber(QStringView text, const QLocale& locale = QLocale::system());
