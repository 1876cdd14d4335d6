#pragma once

#include "ScreenPainter.h"
#include "Snapping.h"
#include "ViewTransform.h"

#include <QWidget>

class Canvas;
class Elements;

// Shows the editor canvas at a whole zoom factor, each device pixel a square of
// screen pixels, and hands real pointer events to the element under the
// pointer, in twips relative to its bitmap. The element a button went down on
// keeps receiving the moves until every button is up again, as with pointer
// capture. Beside that it takes the gestures on several elements: Ctrl+click
// adds or removes an element, a band drawn on empty canvas selects what it
// touches, a drag inside one of several selected elements moves them all;
// drags snap to the lines of the screen and the other elements, with guides.
class CanvasView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Margin = ScreenMargin;

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

    // Whether drags snap; Alt held during a drag suspends it.
    bool snapping() const { return m_snapping; }
    void setSnapping(bool on) { m_snapping = on; }
    // The guides that hold during the drag, and the band being drawn.
    const std::vector<Snapping::Guide>& guides() const { return m_guides; }

signals:
    // Ctrl+wheel: zoom steps (positive: in) about a point of the view.
    void zoomWheel(int steps, QPointF at);
    // The pointer is over the canvas at this device pixel; none when it left.
    void pointerAt(QPoint devicePixel);
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void onItemChanged(const QRectF& before, const QRectF& after);
    // Pointer position relative to the element in slot, in twips.
    QPointF relative(int slot, const QPointF& pixel) const;
    void applyPointerShape();
    void updateTransform(int zoom);
    // The pointer a drag goes on with, snapped unless Alt is held or snapping is off.
    QPointF snappedDrag(int slot, QPointF point, Qt::KeyboardModifiers modifiers);
    void moveGroup(QPointF point, Qt::KeyboardModifiers modifiers);
    void moveBand(QPointF point);
    double snapDistance(Qt::KeyboardModifiers modifiers) const;
    void setGuides(std::vector<Snapping::Guide> guides);
    // Paints the strips under the edges of a rectangle (twips) again.
    void updateOutline(const QRectF& twips);
    void onSelectionChanged();

    Canvas& m_canvas;
    Elements& m_elements;
    int m_captured = -1; // slot that holds the pointer while a button is down
    ViewTransform m_transform;
    int m_wheelAngle = 0; // a high-resolution wheel's eighths of a degree not yet used
    bool m_snapping = false;
    std::vector<Snapping::Guide> m_guides;
    // A band being drawn: where it started, and the selection it adds to.
    bool m_banding = false;
    QPointF m_bandStart;
    QRectF m_band;
    QList<int> m_bandBase;
    // A drag of several elements: where the button went down, in twips.
    QList<int> m_outlined; // the selection the outlines show
    bool m_groupDrag = false;
    QPointF m_groupStart;
};
