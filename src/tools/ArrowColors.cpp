#include "ArrowColors.h"

#include "Ini.h"
#include "Paths.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const std::array<QString, 2> Sections = {QStringLiteral("mainSchematic"),
                                         QStringLiteral("secondSchematic")};

struct KeySet
{
    ArrowColors::Kind kind;
    QString readKey;
    QString writeKey;
    QString missingKey; // value when the key is missing
    QString missingFile; // value when the file is missing
};

// In the order they are written.
const std::array<KeySet, 3> Keys = {{
    {ArrowColors::Route, QStringLiteral("routecolor"), QStringLiteral("RouteColor"),
     QStringLiteral("0082BF"), QStringLiteral("00FF00")},
    {ArrowColors::AllRoads, QStringLiteral("allcolor"), QStringLiteral("AllColor"),
     QStringLiteral("FFFFFF"), QStringLiteral("FFFFFF")},
    {ArrowColors::Front, QStringLiteral("forcolor"), QStringLiteral("ForColor"),
     QStringLiteral("0000FF"), QStringLiteral("0000FF")},
}};

// A hex entry as a number; -1 when it is no hex number.
int hexValue(const QString& entry)
{
    const QString decimal = ConvertBase(entry, 16, 10);
    bool ok = false;
    const int value = decimal.toInt(&ok);
    return ok ? value : -1;
}

QString twoDigits(const QString& entry) { return entry.rightJustified(2, u'0'); }

} // namespace

ArrowColors::ArrowColors(const QString& skinFolder)
    : m_skinFolder(skinFolder)
{
    for (auto& entries : m_table)
        for (auto& kind : entries)
            kind.fill(QStringLiteral("00"));
}

QString ArrowColors::file() const
{
    return m_skinFolder.isEmpty() ? QString() : FindAnyCase(m_skinFolder, QStringLiteral("NavLib.ini"));
}

void ArrowColors::LoadSchematic(const QString& section)
{
    const qsizetype index = std::find(Sections.begin(), Sections.end(), section) - Sections.begin();
    if (index >= qsizetype(Sections.size()))
        return;
    const QString path = file();
    const bool present = !path.isEmpty() && QFileInfo(path).isFile();
    for (const KeySet& key : Keys) {
        const QString text = present ? ReadIni(path, section, key.readKey, key.missingKey) : key.missingFile;
        auto& entries = m_table[index][key.kind];
        entries[Red] = text.mid(4, 2);
        entries[Green] = text.mid(2, 2);
        entries[Blue] = text.mid(0, 2);
        // A broken component reads as 0, so the bars, label and preview agree
        // with what a save would write; the user sees black and can mend it.
        for (QString& entry : entries)
            if (hexValue(entry) < 0)
                entry = QStringLiteral("00");
    }
}

void ArrowColors::load()
{
    for (const QString& section : Sections)
        LoadSchematic(section);
    m_changed = false;
}

int ArrowColors::component(int nr, Component c) const
{
    return validNr(nr) ? std::max(0, hexValue(m_table[nr - 1][m_selected][c])) : 0;
}

void ArrowColors::SetColors(int nr, Component c, int value)
{
    if (!validNr(nr))
        return;
    m_table[nr - 1][m_selected][c] = ConvertBase(QString::number(std::clamp(value, 0, 255)), 10, 16);
    m_changed = true;
}

QString ArrowColors::entry(int nr, Kind kind, Component c) const
{
    return validNr(nr) ? m_table[nr - 1][kind][c] : QString();
}

QString ArrowColors::colorText(int nr, Kind kind) const
{
    return twoDigits(entry(nr, kind, Blue)) + twoDigits(entry(nr, kind, Green))
         + twoDigits(entry(nr, kind, Red));
}

QColor ArrowColors::color(int nr, Kind kind) const
{
    auto part = [&](Component c) { return std::max(0, hexValue(entry(nr, kind, c))); };
    return QColor(part(Red), part(Green), part(Blue));
}

bool ArrowColors::save()
{
    const QString path = file();
    if (path.isEmpty())
        return false;
    IniBatch batch(path);
    for (int nr = 1; nr <= 2; ++nr)
        for (const KeySet& key : Keys)
            batch.write(Sections[nr - 1], key.writeKey, colorText(nr, key.kind));
    if (!batch.commit())
        return false;
    m_changed = false;
    return true;
}
