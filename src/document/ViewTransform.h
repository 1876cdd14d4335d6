#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <array>

// How the canvas shows the document: twips mapped to widget pixels at a whole
// zoom factor, so every device pixel of the skin becomes a square of whole
// screen pixels and the pictures stay crisp. Hit zones are measured in screen
// pixels, so they stay usable at every zoom.
class ViewTransform
{
public:
    static constexpr std::array<int, 6> Zooms{1, 2, 3, 4, 6, 8};
    // An edge zone is never narrower than this many screen pixels.
    static constexpr int MinZonePixels = 4;

    ViewTransform() = default;
    // offset: where the document's origin lies in the widget, in widget pixels.
    ViewTransform(int zoom, int twipsPerPixelX, int twipsPerPixelY, QPointF offset = {});

    int zoom() const { return m_zoom; }
    QPointF offset() const { return m_offset; }

    QPointF toWidget(QPointF twips) const;
    QRectF toWidget(const QRectF& twips) const;
    QPointF toTwips(QPointF widget) const;
    QRectF toTwips(const QRectF& widget) const;
    // Twips per screen pixel along x; hit zones and snap distances use it.
    double twipsPerScreenPixel() const;
    // Width of the edge zones in twips for a marker of lineWidth screen pixels.
    double edgeZone(int lineWidth) const;

    // The allowed factor steps away from zoom (clamped to the ends); a zoom
    // between two steps counts as the lower one.
    static int stepZoom(int zoom, int steps);
    // The largest factor that shows content (device pixels) whole in
    // available (widget pixels); at least the smallest factor.
    static int fitZoom(QSizeF available, QSizeF content);
    // The scroll position (widget pixels at the viewport's top-left) that
    // keeps the twips point under the viewport position `pointer`.
    QPointF scrollKeeping(QPointF twips, QPointF pointer) const;

private:
    int m_zoom = 1;
    double m_tppX = 15;
    double m_tppY = 15;
    QPointF m_offset;
};
