#pragma once

#include "CanvasItem.h"

#include <QImage>

// A picture item of the canvas: an element bitmap or the background.
class CanvasBitmap : public CanvasItem
{
    Q_OBJECT

public:
    using CanvasItem::CanvasItem;

    const QImage& picture() const { return m_picture; }
    // Loads the bitmap file at path; on any failure the item shows no picture.
    bool loadPicture(const QString& path);

private:
    QImage m_picture;
};
