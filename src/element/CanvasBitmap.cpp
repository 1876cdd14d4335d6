#include "CanvasBitmap.h"

#include "PictureCache.h"

bool CanvasBitmap::loadPicture(const QString& path)
{
    static PictureCache cache;
    m_picture = path.isEmpty() ? QImage() : cache.load(path);
    if (path.isEmpty())
        cache.keepBudget(); // the picture let go may be one too many
    notifyLook();
    return !m_picture.isNull();
}
