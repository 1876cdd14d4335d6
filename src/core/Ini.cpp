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

// A file's bytes after a set of edits, ready to be written.
struct EditedFile
{
    bool readable = false; // false: the file must not be replaced, it could not be read
    bool accepted = true;  // every edit's names could stand in an INI file
    bool changed = false;  // the bytes differ from the file's, so it has to be written
    QString path;
    QByteArray bytes;
    std::shared_ptr<const IniDocument> doc;
};

EditedFile applyEdits(const QString& file, const std::vector<Edit>& edits)
{
    EditedFile result;
    if (file.isEmpty())
        return result;
    IniCache::Stamp stamp;
    result.path = IniCache::resolve(file, &stamp);
    if (stamp.kind == IniCache::Kind::Other)
        return result;

    IniDocument doc;
    QByteArray before;
    if (stamp.kind == IniCache::Kind::File) {
        const auto current = IniCache::instance().load(result.path, stamp);
        if (!current)
            return result; // never replace a file we could not read
        doc = *current;
        before = doc.toBytes();
    }
    for (const auto& [section, keyValue] : edits)
        result.accepted = doc.setValue(section, keyValue.first, storedValue(keyValue.second)) && result.accepted;

    result.bytes = doc.toBytes();
    // Nothing accepted for a file that does not exist leaves nothing to write.
    result.readable = stamp.kind == IniCache::Kind::File || !result.bytes.isEmpty();
    result.changed = result.readable && (stamp.kind != IniCache::Kind::File || result.bytes != before);
    result.doc = std::make_shared<const IniDocument>(std::move(doc));
    return result;
}

// Applies the edits to the current file and replaces it once. On any failure
// the file on disk is left as it was.
bool writeEdits(const QString& file, const std::vector<Edit>& edits)
{
    const EditedFile edited = applyEdits(file, edits);
    if (!edited.readable)
        return false;
    if (edited.changed) {
        if (!writeFileSafely(edited.path, edited.bytes))
            return false;
        IniCache::instance().wrote(edited.path, edited.doc);
    }
    return edited.accepted;
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

QStringList IniBatch::commitTogether(const std::vector<IniBatch*>& batches)
{
    QStringList failed;
    std::vector<EditedFile> edited;
    std::vector<const IniBatch*> writers;
    std::vector<std::pair<QString, QByteArray>> files;
    for (IniBatch* batch : batches) {
        if (batch->d->edits.empty())
            continue;
        EditedFile file = applyEdits(batch->d->file, batch->d->edits);
        batch->d->edits.clear();
        if (!file.readable || !file.accepted)
            failed << batch->d->file;
        if (!file.readable || !file.changed)
            continue;
        files.emplace_back(file.path, file.bytes);
        edited.push_back(std::move(file));
        writers.push_back(batch);
    }
    const QStringList notWritten = writeFilesSafely(files);
    for (std::size_t i = 0; i < edited.size(); ++i) {
        if (notWritten.contains(edited[i].path)) {
            if (!failed.contains(writers[i]->d->file))
                failed << writers[i]->d->file;
        } else {
            IniCache::instance().wrote(edited[i].path, edited[i].doc);
        }
    }
    return failed;
}
