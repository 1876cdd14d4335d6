#include "CanvasBitmap.h"

#include "PictureCache.h"

bool CanvasBitmap::loadPicture(const QString& path)
{
    static PictureCache cache;
    m_picture = path.isEmpty() ? QImage() : cache.load(path);
    notifyLook();
    return !m_picture.isNull();
}
