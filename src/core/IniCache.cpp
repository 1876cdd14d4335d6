#include "IniCache.h"

#include "Paths.h"

#include <QFile>

namespace {

std::filesystem::path fsPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

IniCache::Stamp IniCache::stampOf(const QString& path)
{
    if (path.isEmpty())
        return {};
    std::error_code ec;
    const std::filesystem::directory_entry entry(fsPath(path), ec);
    if (ec || !entry.exists(ec))
        return {};
    if (!entry.is_regular_file(ec))
        return {Kind::Other};
    Stamp stamp{Kind::File, entry.file_size(ec), entry.last_write_time(ec)};
    return ec ? Stamp{Kind::Other} : stamp;
}

QString IniCache::resolve(const QString& file, Stamp* stamp)
{
    *stamp = stampOf(file);
    if (stamp->kind != Kind::Missing)
        return file;
    const QString other = FindAnyCase(FolderOf(file), FileNameOf(file));
    if (other != file)
        *stamp = stampOf(other);
    return other;
}

std::shared_ptr<const IniDocument> IniCache::load(const QString& path, const Stamp& stamp)
{
    if (const auto e = entries.constFind(path); e != entries.constEnd() && e->stamp == stamp)
        return e->doc;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return nullptr;
    auto doc = std::make_shared<const IniDocument>(IniDocument::fromBytes(f.readAll()));
    if (f.error() != QFileDevice::NoError)
        return nullptr;
    if (entries.size() >= MaxEntries)
        entries.clear();
    entries.insert(path, {stamp, doc});
    return doc;
}

void IniCache::wrote(const QString& path, std::shared_ptr<const IniDocument> doc)
{
    // The same file may sit in the cache under another spelling of its path.
    entries.clear();
    const Stamp stamp = stampOf(path);
    if (stamp.kind == Kind::File)
        entries.insert(path, {stamp, std::move(doc)});
}

IniCache& IniCache::instance()
{
    static IniCache cache;
    return cache;
}
