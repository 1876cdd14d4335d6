#include "CanvasBitmap.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace {

// Decoded bitmaps by path. A screen switch shows mostly pictures it showed
// before, and decoding them again was most of its time; an image is shared
// with the items that show it, so the cache costs memory only for pictures
// no longer on the canvas, and it forgets them all past a screen's worth.
class PictureCache
{
public:
    QImage load(const QString& path)
    {
        const QFileInfo info(path);
        const Stamp stamp{info.size(), info.lastModified()};
        const auto it = m_pictures.constFind(path);
        if (it != m_pictures.constEnd() && it->stamp == stamp)
            return it->image;
        QImageReader reader(path);
        const QImage image = reader.read();
        if (m_pictures.size() >= MaxPictures)
            m_pictures.clear();
        m_pictures.insert(path, {stamp, image});
        return image;
    }

private:
    static constexpr int MaxPictures = 64;
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
    };
    QHash<QString, Entry> m_pictures;
};

} // namespace

bool CanvasBitmap::loadPicture(const QString& path)
{
    static PictureCache cache;
    m_picture = path.isEmpty() ? QImage() : cache.load(path);
    notifyLook();
    return !m_picture.isNull();
}
