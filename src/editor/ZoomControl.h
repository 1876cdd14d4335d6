#pragma once

#include <QObject>
#include <QPointF>

#include <optional>

class CanvasView;
class QComboBox;
class QScrollArea;
class QWidget;

// The canvas's zoom: the zoom box, the steps of the keys and the wheel, and
// fitting the whole screen into the visible canvas area.
class ZoomControl : public QObject
{
    Q_OBJECT

public:
    ZoomControl(CanvasView& view, QScrollArea& area, QWidget* boxParent);

    QComboBox* box() const { return m_box; }
    int zoom() const;
    // Shows the canvas at zoom (a step of ViewTransform::Zooms), keeping the
    // canvas point under `pointer` (view pixels) in place, or the centre of
    // the visible part when there is none.
    void setZoom(int zoom, std::optional<QPointF> pointer = std::nullopt);
    void step(int steps) { setZoom(stepped(steps)); }
    // The largest zoom that shows the whole screen in the visible canvas area.
    void zoomToFit();

signals:
    void zoomChanged(int zoom);

private:
    int stepped(int steps) const;

    CanvasView& m_view;
    QScrollArea& m_area;
    QComboBox* m_box;
};
