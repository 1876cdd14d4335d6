#pragma once

#include "CanvasItem.h"

#include <QImage>

// A picture item of the canvas (an element bitmap or the background). It also
// carries the pointer events that the window translates into twips relative to
// the item's top-left corner; the element bound to it receives them.
class CanvasBitmap : public CanvasItem
{
    Q_OBJECT

public:
    using CanvasItem::CanvasItem;

    const QImage& picture() const { return m_picture; }
    // Loads the bitmap file at path; on any failure the item shows no picture.
    bool loadPicture(const QString& path);
    void clearPicture();

    void mouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y)
    {
        emit mousePressed(buttons, modifiers, x, y);
    }
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y)
    {
        emit mouseMoved(buttons, modifiers, x, y);
    }
    void mouseUp(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y)
    {
        emit mouseReleased(buttons, modifiers, x, y);
    }

signals:
    void mousePressed(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);
    void mouseReleased(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);

private:
    QImage m_picture;
};
