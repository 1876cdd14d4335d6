#pragma once

#include "CanvasItem.h"

#include <QColor>

// An outline on the canvas: an element frame, the selection marker or the
// screen frame. The marker keeps the active slot as decimal text in its tag.
class CanvasShape : public CanvasItem
{
    Q_OBJECT

public:
    using CanvasItem::CanvasItem;

    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int width);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

private:
    int m_lineWidth = 1;
    QColor m_color = Qt::black;
    QString m_tag;
};
