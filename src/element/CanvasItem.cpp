#include "CanvasItem.h"

#include "Twips.h"

#include <cmath>

namespace {

bool usable(double v)
{
    return std::isfinite(v) && std::fabs(v) <= Twips::Limit;
}

} // namespace

CanvasItem::CanvasItem(const QString& name, QObject* parent)
    : QObject(parent)
{
    setObjectName(name);
}

bool CanvasItem::setGeometry(double left, double top, double width, double height)
{
    if (!usable(left) || !usable(top) || !usable(width) || !usable(height) || width < 0 || height < 0)
        return false;
    const QRectF next(left, top, width, height);
    // Exact comparison: QRectF's operator== is fuzzy and would swallow small steps.
    if (next.x() == m_rect.x() && next.y() == m_rect.y() && next.width() == m_rect.width()
        && next.height() == m_rect.height())
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
