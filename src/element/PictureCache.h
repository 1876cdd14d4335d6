#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

// Decoded bitmaps by path. A screen switch shows mostly pictures it showed
// before, and decoding them again was most of its time. An image is shared
// with the items that show it, so a picture on show costs nothing more here;
// of the pictures no item shows any more, the cache keeps the most recently
// used up to a budget, about one screen's worth.
class PictureCache
{
public:
    static constexpr qsizetype DefaultSpareBytes = 512 * 1024;

    explicit PictureCache(qsizetype spareBytes = DefaultSpareBytes) : m_budget(spareBytes) {}

    // The bitmap at path, decoded anew when the file changed; null on any failure.
    QImage load(const QString& path);
    // Bytes of the kept pictures that no one else holds.
    qsizetype spareBytes() const;
    // Forgets the least recently used spare pictures beyond the budget; load()
    // does it too, call it after letting go of pictures.
    void keepBudget();

private:
    struct Stamp
    {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp& other) const { return size == other.size && modified == other.modified; }
    };
    struct Entry
    {
        Stamp stamp;
        QImage image;
        quint64 lastUse = 0;
    };

    QHash<QString, Entry> m_pictures;
    qsizetype m_budget;
    quint64 m_clock = 0;
};
