#include "CanvasShape.h"

void CanvasShape::setLineWidth(int width)
{
    if (width < 0 || width == m_lineWidth)
        return;
    m_lineWidth = width;
    notifyLook();
}

void CanvasShape::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    notifyLook();
}
