#pragma once

#include "ViewTransform.h"

#include <QWidget>

class Canvas;
class Elements;

// Shows the editor canvas at a whole zoom factor, each device pixel a square of
// screen pixels, and hands real pointer events to the element under the
// pointer, in twips relative to its bitmap. The element a button went down on keeps receiving the moves until
// every button is up again, as with pointer capture.
class CanvasView : public QWidget
{
    Q_OBJECT

public:
    // Room around the screen area so frames on its edge stay whole, in pixels.
    static constexpr int Margin = 4;

    CanvasView(Canvas& canvas, Elements& elements, QWidget* parent = nullptr);

    // Call after the twips per pixel changed.
    void updateGeometryFromCanvas();

    // Canvas twips to widget pixels and back.
    QRectF toWidget(const QRectF& twips) const;
    QPointF toTwips(const QPointF& pixel) const;
    const ViewTransform& transform() const { return m_transform; }

    int zoom() const { return m_transform.zoom(); }
    // Resizes the view to show the screen at zoom.
    void setZoom(int zoom);
    // Widget size that shows the screen whole at zoom.
    static QSize sizeAt(int zoom);

    QSize sizeHint() const override;

signals:
    // Ctrl+wheel: zoom steps (positive: in) about a point of the view.
    void zoomWheel(int steps, QPointF at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void onItemChanged(const QRectF& before, const QRectF& after);
    // Pointer position relative to the element in slot, in twips.
    QPointF relative(int slot, const QPointF& pixel) const;
    void applyPointerShape();
    void updateTransform(int zoom);

    Canvas& m_canvas;
    Elements& m_elements;
    int m_captured = -1; // slot that holds the pointer while a button is down
    ViewTransform m_transform;
    int m_wheelAngle = 0; // a high-resolution wheel's eighths of a degree not yet used
};
