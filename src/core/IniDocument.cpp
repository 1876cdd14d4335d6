#include "IniDocument.h"

#include "Cp1252.h"

#include <algorithm>

namespace {

// Windows counts the vertical tab among the blanks around names and values.
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v'; }

QByteArrayView trimmed(QByteArrayView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

QStringView trimmed(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front().unicode()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back().unicode()))
        s.chop(1);
    return s;
}

enum class Kind { Other, Comment, Header, Key };

struct Parsed
{
    Kind kind = Kind::Other;
    QByteArrayView name; // section or key name, trimmed
};

Parsed classify(QByteArrayView text)
{
    const QByteArrayView body = trimmed(text);
    if (body.isEmpty())
        return {};
    if (body.front() == ';')
        return {Kind::Comment, {}};
    if (body.front() == '[') {
        QByteArrayView name = body.sliced(1);
        const qsizetype close = name.indexOf(']');
        if (close >= 0)
            name = name.first(close);
        return {Kind::Header, trimmed(name)};
    }
    const qsizetype eq = body.indexOf('=');
    if (eq >= 0)
        return {Kind::Key, trimmed(body.first(eq))};
    return {};
}

bool hasLineBreakOrNul(QStringView s)
{
    for (const QChar c : s) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return true;
    }
    return false;
}

} // namespace

QString IniDocument::foldedName(QStringView name)
{
    name = trimmed(name);
    for (const QChar c : name) {
        if (c.unicode() > 0xFF) // names pass through the code page, as on Windows
            return trimmed(Cp1252::decode(Cp1252::encode(name))).toString().toCaseFolded();
    }
    return name.toString().toCaseFolded();
}

IniDocument IniDocument::fromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    bool eolSeen = false;
    qsizetype pos = 0;
    // Editors on the PC may put a UTF-8 byte order mark in front: the first
    // line starts after it, so the first section stays readable, and it is kept.
    static const QByteArray Utf8Mark("\xEF\xBB\xBF");
    if (bytes.startsWith(Utf8Mark)) {
        doc.bom = Utf8Mark;
        pos = Utf8Mark.size();
    }
    while (pos < bytes.size()) {
        // A line ends at CRLF, LF or a lone CR (files from old Macs and some editors).
        const char* data = bytes.constData();
        const qsizetype end = std::find_if(data + pos, data + bytes.size(),
                                           [](char c) { return c == '\n' || c == '\r'; })
                              - data;
        Line line;
        line.text = bytes.sliced(pos, end - pos);
        if (end == bytes.size()) {
            pos = end;
        } else {
            const qsizetype breakSize = data[end] == '\r' && end + 1 < bytes.size() && data[end + 1] == '\n' ? 2 : 1;
            line.eol = bytes.sliced(end, breakSize);
            pos = end + breakSize;
            if (!eolSeen) {
                doc.eol = line.eol;
                eolSeen = true;
            }
        }

        const Parsed p = classify(line.text);
        if (p.kind == Kind::Header) {
            const QString folded = foldedName(Cp1252::decode(p.name));
            if (!doc.sectionIndex.contains(folded))
                doc.sectionIndex.insert(folded, doc.sections.size());
            doc.sections.append(Section{});
        }
        Section& sec = doc.sections.last();
        if (p.kind == Kind::Key) {
            sec.lastKeyLine = sec.lines.size();
            if (!p.name.isEmpty()) {
                const QString folded = foldedName(Cp1252::decode(p.name));
                if (!sec.keys.contains(folded))
                    sec.keys.insert(folded, sec.lines.size());
            }
        }
        sec.lines.append(std::move(line));
    }
    return doc;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray out = bom;
    for (const Section& sec : sections) {
        for (const Line& line : sec.lines) {
            out += line.text;
            out += line.eol;
        }
    }
    return out;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const auto s = sectionIndex.constFind(foldedName(section));
    if (s == sectionIndex.constEnd())
        return std::nullopt;
    const Section& sec = sections.at(*s);
    const auto k = sec.keys.constFind(foldedName(key));
    if (k == sec.keys.constEnd())
        return std::nullopt;

    const QByteArray& text = sec.lines.at(*k).text;
    QByteArrayView v = trimmed(QByteArrayView(text).sliced(text.indexOf('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    const qsizetype nul = v.indexOf('\0');
    if (nul >= 0)
        v = v.first(nul);
    return Cp1252::decode(v.first(std::min<qsizetype>(v.size(), MaxValueLength)));
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    for (qsizetype i = 1; i < sections.size(); ++i)
        names << Cp1252::decode(classify(sections.at(i).lines.first().text).name);
    return names;
}

IniDocument::Line* IniDocument::lastLine()
{
    for (auto s = sections.rbegin(); s != sections.rend(); ++s) {
        if (!s->lines.isEmpty())
            return &s->lines.last();
    }
    return nullptr;
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& valueText)
{
    const QStringView sectionName = trimmed(QStringView(section));
    const QStringView keyName = trimmed(QStringView(key));
    if (sectionName.isEmpty() || keyName.isEmpty() || hasLineBreakOrNul(sectionName)
        || hasLineBreakOrNul(keyName) || sectionName.contains(u']') || keyName.contains(u'=')
        || keyName.front() == u';' || keyName.front() == u'[')
        return false;

    QString v = valueText;
    const qsizetype nul = v.indexOf(QChar(u'\0'));
    if (nul >= 0)
        v.truncate(nul);
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    const QByteArray valueBytes = Cp1252::encode(v);

    const QString sectionKey = foldedName(sectionName);
    const QString keyKey = foldedName(keyName);
    const auto s = sectionIndex.constFind(sectionKey);
    if (s == sectionIndex.constEnd()) {
        if (Line* last = lastLine(); last && last->eol.isEmpty())
            last->eol = eol;
        Section sec;
        sec.lines.append({'[' + Cp1252::encode(sectionName) + ']', eol});
        sec.lines.append({Cp1252::encode(keyName) + '=' + valueBytes, eol});
        sec.keys.insert(keyKey, 1);
        sec.lastKeyLine = 1;
        sectionIndex.insert(sectionKey, sections.size());
        sections.append(std::move(sec));
        return true;
    }

    Section& sec = sections[*s];
    if (const auto k = sec.keys.constFind(keyKey); k != sec.keys.constEnd()) {
        QByteArray& text = sec.lines[*k].text;
        text.truncate(text.indexOf('=') + 1);
        text += valueBytes;
        return true;
    }

    const qsizetype after = sec.lastKeyLine >= 0 ? sec.lastKeyLine : 0;
    Line& previous = sec.lines[after];
    if (previous.eol.isEmpty())
        previous.eol = eol;
    sec.lines.insert(after + 1, {Cp1252::encode(keyName) + '=' + valueBytes, eol});
    sec.keys.insert(keyKey, after + 1);
    sec.lastKeyLine = after + 1;
    return true;
}
