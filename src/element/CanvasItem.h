#pragma once

#include <QObject>
#include <QRectF>

// Something placed on the editor canvas: a rectangle in twips and a visibility.
// The canvas refuses a rectangle with a negative width or height, or with a
// value that is not finite or beyond Twips::Limit: such a change is not applied
// and the setter returns false, so a caller can skip it and go on.
class CanvasItem : public QObject
{
    Q_OBJECT

public:
    explicit CanvasItem(const QString& name, QObject* parent = nullptr);

    QRectF rect() const { return m_rect; }
    double left() const { return m_rect.x(); }
    double top() const { return m_rect.y(); }
    double width() const { return m_rect.width(); }
    double height() const { return m_rect.height(); }
    bool isVisible() const { return m_visible; }

    bool setGeometry(double left, double top, double width, double height);
    bool setGeometry(const QRectF& r) { return setGeometry(r.x(), r.y(), r.width(), r.height()); }
    // Moves one edge or changes one size; the other values stay.
    bool setLeft(double left) { return setGeometry(left, top(), width(), height()); }
    bool setTop(double top) { return setGeometry(left(), top, width(), height()); }
    bool setWidth(double width) { return setGeometry(left(), top(), width, height()); }
    bool setHeight(double height) { return setGeometry(left(), top(), width(), height); }
    void setVisible(bool visible);

signals:
    // Geometry, visibility or look changed; before and after are the rectangles
    // to repaint (equal when only the look or the visibility changed).
    void changed(const QRectF& before, const QRectF& after);

protected:
    void notifyLook() { emit changed(m_rect, m_rect); }

private:
    QRectF m_rect;
    bool m_visible = true;
};
