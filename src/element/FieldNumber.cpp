#include "FieldNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

int significantDigits(const char* begin, const char* end)
{
    std::string digits;
    for (const char* p = begin; p != end; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    const auto last = digits.find_last_not_of('0');
    return int(last - first + 1);
}

std::optional<double> parseWith(QLocale locale, const QString& text)
{
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

QString singleText(float value, const QLocale& locale)
{
    if (!std::isfinite(value))
        return QString::number(value);
    value += 0.0f; // no negative zero
    char buf[128];
    char* end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed).ptr;
    if (significantDigits(buf, end) > 7) {
        const int exponent = int(std::floor(std::log10(std::fabs(value))));
        if (exponent > 6) {
            // Seven significant digits of a large whole number, written without an exponent.
            const double scale = std::pow(10.0, exponent - 6);
            end = std::to_chars(buf, buf + sizeof buf, std::round(value / scale) * scale, std::chars_format::fixed, 0).ptr;
        } else {
            end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6 - exponent).ptr;
        }
        if (std::find(buf, end, '.') != end) {
            while (end[-1] == '0')
                --end;
            if (end[-1] == '.')
                --end;
        }
    }
    QString text = QString::fromLatin1(buf, int(end - buf));
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

std::optional<double> parseNumber(const QString& text, const QLocale& locale)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (auto v = parseWith(locale, t))
        return v;
    return parseWith(QLocale::c(), t);
}
