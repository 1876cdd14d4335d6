#include "ProfileNumbers.h"

#include <cmath>

namespace ProfileNumbers {

namespace {

// Rounds the decimal digits "int.frac" at maxDecimals, half away from zero.
// Working on the shortest exact text keeps 1.005 at 1.01, as a user expects.
QString roundDigits(const QString& digits, int maxDecimals)
{
    const qsizetype dot = digits.indexOf(u'.');
    QString whole = dot < 0 ? digits : digits.left(dot);
    QString frac = dot < 0 ? QString() : digits.mid(dot + 1);
    const bool up = frac.size() > maxDecimals && frac.at(maxDecimals) >= u'5';
    frac = frac.left(maxDecimals).leftJustified(maxDecimals, u'0');
    QString all = whole + frac;
    if (up) {
        qsizetype i = all.size() - 1;
        for (; i >= 0 && all.at(i) == u'9'; --i)
            all[i] = u'0';
        if (i < 0)
            all.prepend(u'1');
        else
            all[i] = QChar(all.at(i).unicode() + 1);
    }
    return all.left(all.size() - maxDecimals) + u'.' + all.right(maxDecimals);
}

} // namespace

QString patternText(double value, int minDecimals, int maxDecimals, const QLocale& locale)
{
    if (!std::isfinite(value))
        return QString::number(value);
    QString text = roundDigits(QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest),
                               maxDecimals);
    const qsizetype dot = text.indexOf(u'.');
    qsizetype keep = text.size();
    while (keep > dot + 1 + minDecimals && text.at(keep - 1) == u'0')
        --keep;
    text.truncate(keep);
    if (text.endsWith(u'.'))
        text.chop(1);
    const bool zero = text.count(u'0') + text.count(u'.') == text.size();
    if (value < 0 && !zero)
        text.prepend(u'-');
    return text.replace(u'.', locale.decimalPoint());
}

} // namespace ProfileNumbers
