#include "IniRoundTrip.h"

#include "IniDocument.h"

#include <QList>

#include <array>

namespace {

const std::array<QString, 5> sections = {"s", "S", "Display", "layout", QString::fromUtf8("Ä")};
const std::array<QString, 5> keys = {"x", "X", "lastSkin", "cy", QString::fromUtf8("ö")};
struct Value
{
    QString written;
    QString read;
};
const std::array<Value, 6> values = {{
    {"12", "12"},
    {"", ""},
    {"a b", "a b"},
    {QString::fromUtf8("Ä;#x"), QString::fromUtf8("Ä;#x")},
    {"'q'", "q"},
    {QString(2000, u'v'), QString(1023, u'v')},
}};

// Line texts split independently of the engine: a line ends at CRLF, LF or a
// lone CR, and a UTF-8 byte order mark in front belongs to no line.
QList<QByteArray> lineTexts(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        lines.append(line);
        line.clear();
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

QString checkIniRoundTrip(const QByteArray& input)
{
    const auto pick = [&](qsizetype i) { return i < input.size() ? quint8(input.at(i)) : 0; };
    const QString& section = sections[pick(0) % sections.size()];
    const QString& key = keys[pick(1) % keys.size()];
    const Value& value = values[pick(2) % values.size()];
    const QByteArray file = input.mid(3);

    IniDocument doc = IniDocument::fromBytes(file);
    if (doc.toBytes() != file)
        return QStringLiteral("parsing is not lossless");

    std::array<std::array<std::optional<QString>, keys.size()>, sections.size()> before;
    for (size_t s = 0; s < sections.size(); ++s) {
        for (size_t k = 0; k < keys.size(); ++k) {
            before[s][k] = doc.value(sections[s], keys[k]);
            if (before[s][k] && before[s][k]->size() > IniDocument::MaxValueLength)
                return QStringLiteral("value longer than 1023 characters");
        }
    }

    if (!doc.setValue(section, key, u' ' + value.written))
        return QStringLiteral("valid names refused");
    const QByteArray written = doc.toBytes();
    IniDocument reread = IniDocument::fromBytes(written);
    if (reread.value(section, key) != value.read)
        return QStringLiteral("written value does not read back");

    for (size_t s = 0; s < sections.size(); ++s) {
        for (size_t k = 0; k < keys.size(); ++k) {
            if (sameName(sections[s], section) && sameName(keys[k], key))
                continue;
            if (reread.value(sections[s], keys[k]) != before[s][k])
                return QStringLiteral("another value changed: %1/%2").arg(sections[s], keys[k]);
        }
    }

    // Only the key's line changed, or one line was added, or a section of two lines.
    const QList<QByteArray> in = lineTexts(file);
    const QList<QByteArray> out = lineTexts(written);
    qsizetype prefix = 0;
    while (prefix < in.size() && prefix < out.size() && in[prefix] == out[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < in.size() - prefix && suffix < out.size() - prefix
           && in[in.size() - 1 - suffix] == out[out.size() - 1 - suffix])
        ++suffix;
    const qsizetype removed = in.size() - prefix - suffix;
    const qsizetype added = out.size() - prefix - suffix;
    const bool update = removed <= 1 && added == removed;
    const bool insert = removed == 0 && added == 1;
    const bool newSection = removed == 0 && added == 2 && suffix == 0;
    if (!update && !insert && !newSection)
        return QStringLiteral("other lines changed (%1 removed, %2 added)").arg(removed).arg(added);

    if (!reread.setValue(section, key, u' ' + value.written) || reread.toBytes() != written)
        return QStringLiteral("writing the same value again changed the file");
    return {};
}
