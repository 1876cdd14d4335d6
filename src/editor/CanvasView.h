#pragma once

#include "Finding.h"
#include "ScreenPainter.h"
#include "SelectTool.h"
#include "ViewTransform.h"

#include <QWidget>

class Canvas;
class LayoutDocument;

// Shows the editor canvas at a whole zoom factor, each device pixel a square of
// screen pixels, and hands the pointer events, in canvas twips, to the select
// tool; it paints the guides and the band the tool holds.
class CanvasView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Margin = ScreenMargin;

    CanvasView(Canvas& canvas, LayoutDocument& document, QWidget* parent = nullptr);

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
    bool snapping() const { return m_tool.snapping(); }
    void setSnapping(bool on) { m_tool.setSnapping(on); }
    // The guides that hold during the drag.
    const std::vector<Snapping::Guide>& guides() const { return m_guides; }
    // Escape: the running gesture is undone; false when none runs.
    bool cancelGesture();

    // Colours of the outlines of elements with findings.
    static constexpr QRgb ErrorOutline = 0xFFE00000;
    static constexpr QRgb WarningOutline = 0xFFFFA000;
    // Outlines the elements of the screen on show that findings are about, red
    // for an error and amber for a warning, with the findings in their tool
    // tip; the outlines move with their elements, and an element off the view
    // shows its outline at the nearest edge. No findings: no outlines.
    void setFindings(const QList<Finding>& findings);
    bool showsFindings() const { return !m_findings.isEmpty(); }

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
    void updateTransform(int zoom);
    // Shows what the tool holds after an event: guides, band and pointer shape.
    void showTool();
    void setGuides(std::vector<Snapping::Guide> guides);
    // Paints the strips under the edges of a rectangle (twips) again.
    void updateOutline(const QRectF& twips);
    void onSelectionChanged();
    // The findings about the elements of the screen on show.
    void markFindings();
    // Paints the outlines of the findings where their elements are now.
    void updateMarks();
    // Where the outline of slot goes: its frame, kept within the view.
    QRect markRect(int slot) const;
    // The mark the tool tip at pos tells about, -1 for none.
    int markAt(QPoint pos, int slot) const;

    Canvas& m_canvas;
    LayoutDocument& m_document;
    SelectTool m_tool;
    ViewTransform m_transform;
    int m_wheelAngle = 0; // a high-resolution wheel's eighths of a degree not yet used
    std::vector<Snapping::Guide> m_guides;
    QRectF m_band;          // the band as last painted
    QList<int> m_outlined;  // the selection the outlines show

    struct FindingMark
    {
        int slot;
        bool error;
        QString text;
        QRect painted; // widget pixels, as last painted
    };
    QList<Finding> m_findings;
    std::vector<FindingMark> m_marks;
};
