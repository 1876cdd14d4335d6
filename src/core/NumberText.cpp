#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

QString shortText(double value, int precision, const QLocale& locale)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0");

    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
    // buf is "[-]d.ddddde[+-]xx": split into sign, significant digits and exponent.
    const QByteArray text(buf);
    const bool negative = text.startsWith('-');
    const qsizetype e = text.indexOf('e');
    QByteArray digits;
    for (const char ch : text.first(e)) { // the C library's decimal point follows the locale
        if (ch >= '0' && ch <= '9')
            digits += ch;
    }
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    const int exponent = std::atoi(text.constData() + e + 1);
    const QString sep = locale.decimalPoint();

    QString out = negative ? QStringLiteral("-") : QString();
    if (exponent < -4 || exponent >= precision) {
        out += QChar(digits.at(0));
        if (digits.size() > 1)
            out += sep + QString::fromLatin1(digits.mid(1));
        out += QStringLiteral("E%1%2")
                   .arg(QChar(exponent < 0 ? u'-' : u'+'))
                   .arg(std::abs(exponent), 2, 10, QChar(u'0'));
    } else if (exponent < 0) {
        out += u'0' + sep + QString(-exponent - 1, u'0') + QString::fromLatin1(digits);
    } else {
        const qsizetype whole = exponent + 1;
        if (digits.size() <= whole) {
            out += QString::fromLatin1(digits) + QString(whole - digits.size(), u'0');
        } else {
            out += QString::fromLatin1(digits.left(whole)) + sep
                + QString::fromLatin1(digits.mid(whole));
        }
    }
    return out;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

QString DoubleText(double value, const QLocale& locale)
{
    return shortText(value, 15, locale);
}

QString SingleText(float value, const QLocale& locale)
{
    return shortText(double(value), 7, locale);
}

std::optional<double> ParseNumber(QStringView text, const QLocale& locale)
{
    text = text.trimmed();
    const QString sep = locale.decimalPoint();
    QByteArray c; // the number in C syntax
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        c += char(text[i++].unicode());
    qsizetype digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        c += char(text[i++].unicode());
        ++digits;
    }
    if (!sep.isEmpty() && text.sliced(i).startsWith(sep)) {
        c += '.';
        i += sep.size();
        while (i < text.size() && isDigit(text[i])) {
            c += char(text[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        c += 'e';
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            c += char(text[i++].unicode());
        qsizetype expDigits = 0;
        while (i < text.size() && isDigit(text[i])) {
            c += char(text[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    bool ok = false;
    const double value = c.toDouble(&ok); // independent of the C library's locale
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> ParseNumberOrPoint(QStringView text, const QLocale& locale)
{
    if (auto number = ParseNumber(text, locale))
        return number;
    return ParseNumber(text, QLocale::c());
}

double LayoutNumber(QStringView text, const QLocale& locale)
{
    if (const auto number = ParseNumberOrPoint(text, locale))
        return *number;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    // Saturates long digit runs instead of overflowing; the canvas refuses such values anyway.
    constexpr double Saturated = 1e15;
    double value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = std::min(value * 10 + (text[i].unicode() - u'0'), Saturated);
    return negative ? -value : value;
}
