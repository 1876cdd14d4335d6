#pragma once

#include <QtGlobal>

#include <cmath>

namespace Twips {

// Largest coordinate or size, in twips, that the canvas accepts; keeps every
// rounded read, and the sum of three of them that the list rules form, inside 32 bits.
inline constexpr double Limit = 5.0e8;

// Nearest whole number, halves to the even neighbour (1500.5 -> 1500, 1501.5 -> 1502),
// independent of the floating-point rounding mode.
inline double roundHalfEven(double v)
{
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return 2.0 * std::round(v / 2.0);
    return std::round(v);
}

// A canvas value read as whole twips.
inline qint32 whole(double v)
{
    return static_cast<qint32>(roundHalfEven(v));
}

} // namespace Twips
