#pragma once

#include "IniDocument.h"

#include <QHash>
#include <QString>

#include <memory>

// Parsed INI files by path, so that the many reads of one screen parse each
// file once. An entry is used only while the file's size and modification time
// are the ones it was parsed from; every write through us replaces the cache.
class IniCache
{
public:
    enum class Kind { Missing, File, Other };
    struct Stamp
    {
        Kind kind = Kind::Missing;
        qint64 size = 0;
        qint64 mtime = 0;     // nanoseconds where the platform has them
        quint64 identity = 0; // inode and device: a file replaced by renaming differs
        bool operator==(const Stamp&) const = default;
    };

    static Stamp stampOf(const QString& path);
    // The path to use for file: itself when it exists, else an existing file
    // whose name differs only in letter case, else file unchanged.
    static QString resolve(const QString& file, Stamp* stamp);

    // The parsed file, or null when it cannot be read.
    std::shared_ptr<const IniDocument> load(const QString& path, const Stamp& stamp);
    // Remembers what we just wrote and forgets everything else.
    void wrote(const QString& path, std::shared_ptr<const IniDocument> doc);

    static IniCache& instance();

private:
    struct Entry
    {
        Stamp stamp;
        std::shared_ptr<const IniDocument> doc;
    };
    static constexpr qsizetype MaxEntries = 64;
    QHash<QString, Entry> entries;
};
