#include "CanvasBitmap.h"

#include <QImageReader>

bool CanvasBitmap::loadPicture(const QString& path)
{
    QImage image;
    if (!path.isEmpty()) {
        QImageReader reader(path);
        image = reader.read();
    }
    m_picture = image;
    notifyLook();
    return !m_picture.isNull();
}
