#include "IniCache.h"

#include "Paths.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

IniCache::Stamp IniCache::stampOf(const QString& path)
{
    if (path.isEmpty())
        return {};
#ifdef Q_OS_UNIX
    // One system call per read: this runs for every value a screen loads.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if (!S_ISREG(st.st_mode))
        return {Kind::Other};
    return {Kind::File, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            (quint64(st.st_dev) << 32) ^ quint64(st.st_ino)};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return {Kind::Other};
    return {Kind::File, info.size(), info.lastModified().toMSecsSinceEpoch(), 0};
#endif
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
