#include "ViewTransform.h"

#include <algorithm>
#include <cmath>

ViewTransform::ViewTransform(int zoom, int twipsPerPixelX, int twipsPerPixelY, QPointF offset)
    : m_zoom(zoom > 0 ? zoom : 1)
    , m_tppX(twipsPerPixelX > 0 ? twipsPerPixelX : 15)
    , m_tppY(twipsPerPixelY > 0 ? twipsPerPixelY : 15)
    , m_offset(offset)
{
}

QPointF ViewTransform::toWidget(QPointF t) const
{
    return {m_offset.x() + t.x() * m_zoom / m_tppX, m_offset.y() + t.y() * m_zoom / m_tppY};
}

QRectF ViewTransform::toWidget(const QRectF& t) const
{
    // Both corners map on their own, so adjacent rectangles share their edges exactly.
    return QRectF(toWidget(t.topLeft()), toWidget(t.bottomRight()));
}

QPointF ViewTransform::toTwips(QPointF w) const
{
    return {(w.x() - m_offset.x()) * m_tppX / m_zoom, (w.y() - m_offset.y()) * m_tppY / m_zoom};
}

QRectF ViewTransform::toTwips(const QRectF& w) const
{
    return QRectF(toTwips(w.topLeft()), toTwips(w.bottomRight()));
}

double ViewTransform::twipsPerScreenPixel() const
{
    return m_tppX / m_zoom;
}

double ViewTransform::edgeZone(int lineWidth) const
{
    return std::max(lineWidth, MinZonePixels) * twipsPerScreenPixel();
}

int ViewTransform::stepZoom(int zoom, int steps)
{
    zoom = std::max(zoom, Zooms[0]);
    int index = 0;
    for (int i = 0; i < int(Zooms.size()); ++i)
        if (Zooms[i] <= zoom)
            index = i;
    // From between two steps, one step down is the lower of the two.
    if (steps < 0 && Zooms[index] != zoom)
        ++steps;
    return Zooms[std::clamp(index + steps, 0, int(Zooms.size()) - 1)];
}

int ViewTransform::fitZoom(QSizeF available, QSizeF content)
{
    int best = Zooms[0];
    for (int z : Zooms)
        if (content.width() * z <= available.width() && content.height() * z <= available.height())
            best = z;
    return best;
}

QPointF ViewTransform::scrollKeeping(QPointF twips, QPointF pointer) const
{
    return toWidget(twips) - pointer;
}
