#include "Ini.h"

#include "Cp1252.h"
#include "IniCache.h"
#include "SafeWrite.h"


#include <utility>
#include <vector>

namespace {

QString cutValue(QString text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    text.truncate(IniDocument::MaxValueLength);
    return text;
}

// Trims U+0020 only (tabs stay) and puts the one blank in front.
QString storedValue(const QString& value)
{
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && value.at(begin) == u' ')
        ++begin;
    while (end > begin && value.at(end - 1) == u' ')
        --end;
    return QLatin1Char(' ') + value.sliced(begin, end - begin);
}

using Edit = std::pair<QString, std::pair<QString, QString>>; // section, key, value

// Applies the edits to the current file and replaces it once. On any failure
// the file on disk is left as it was.
bool writeEdits(const QString& file, const std::vector<Edit>& edits)
{
    if (file.isEmpty())
        return false;
    IniCache& cache = IniCache::instance();
    IniCache::Stamp stamp;
    const QString path = IniCache::resolve(file, &stamp);
    if (stamp.kind == IniCache::Kind::Other)
        return false;

    IniDocument doc;
    QByteArray before;
    if (stamp.kind == IniCache::Kind::File) {
        const auto current = cache.load(path, stamp);
        if (!current)
            return false; // never replace a file we could not read
        doc = *current;
        before = doc.toBytes();
    }
    bool allAccepted = true;
    for (const auto& [section, keyValue] : edits)
        allAccepted = doc.setValue(section, keyValue.first, storedValue(keyValue.second)) && allAccepted;

    const QByteArray after = doc.toBytes();
    if (stamp.kind == IniCache::Kind::File && after == before)
        return allAccepted;
    if (after.isEmpty())
        return false; // nothing was accepted for a file that does not exist

    if (!writeFileSafely(path, after))
        return false;
    cache.wrote(path, std::make_shared<const IniDocument>(std::move(doc)));
    return allAccepted;
}

} // namespace

IniReader::IniReader(const QString& file)
{
    IniCache::Stamp stamp;
    const QString path = IniCache::resolve(file, &stamp);
    if (stamp.kind == IniCache::Kind::File)
        doc = IniCache::instance().load(path, stamp);
}

QString IniReader::value(const QString& section, const QString& key, const QVariant& defaultValue) const
{
    if (doc) {
        if (auto found = doc->value(section, key))
            return *std::move(found);
    }
    // The default passes through the code page and the value buffer like any value.
    QString fallback = defaultValue.toString();
    for (const QChar c : std::as_const(fallback)) {
        if (c.unicode() > 0x7F) {
            fallback = Cp1252::decode(Cp1252::encode(fallback));
            break;
        }
    }
    return cutValue(std::move(fallback));
}

QString ReadIni(const QString& file, const QString& section, const QString& key,
                const QVariant& defaultValue)
{
    return IniReader(file).value(section, key, defaultValue);
}

bool WriteIni(const QString& file, const QString& section, const QString& key, const QString& value)
{
    return writeEdits(file, {{section, {key, value}}});
}

struct IniBatch::Private
{
    QString file;
    std::vector<Edit> edits;
};

IniBatch::IniBatch(const QString& file)
    : d(std::make_unique<Private>())
{
    d->file = file;
}

IniBatch::~IniBatch() = default;

void IniBatch::write(const QString& section, const QString& key, const QString& value)
{
    d->edits.push_back({section, {key, value}});
}

bool IniBatch::commit()
{
    if (d->edits.empty())
        return true;
    const bool ok = writeEdits(d->file, d->edits);
    d->edits.clear();
    return ok;
}
