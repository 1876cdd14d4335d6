#pragma once

#include <QWidget>

class Canvas;
class Elements;

// Shows the editor canvas at one device pixel per screen pixel and hands real
// pointer events to the element under the pointer, in twips relative to its
// bitmap. The element a button went down on keeps receiving the moves until
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

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void onItemChanged(const QRectF& before, const QRectF& after);
    // Pointer position relative to the element in slot, in twips.
    QPointF relative(int slot, const QPointF& pixel) const;
    void applyPointerShape();
    double twipsX() const;
    double twipsY() const;

    Canvas& m_canvas;
    Elements& m_elements;
    int m_captured = -1; // slot that holds the pointer while a button is down
};
