#include "CanvasItem.h"

#include "LayoutRules.h"

CanvasItem::CanvasItem(const QString& name, QObject* parent)
    : QObject(parent)
{
    setObjectName(name);
}

bool CanvasItem::setGeometry(double left, double top, double width, double height)
{
    const QRectF next(left, top, width, height);
    if (!Layout::Acceptable(next))
        return false;
    if (Layout::Same(next, m_rect))
        return true;
    const QRectF before = m_rect;
    m_rect = next;
    emit changed(before, m_rect);
    return true;
}

void CanvasItem::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    notifyLook();
}
