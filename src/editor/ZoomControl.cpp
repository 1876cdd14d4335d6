#include "ZoomControl.h"

#include "Canvas.h"
#include "CanvasView.h"
#include "ViewTransform.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

ZoomControl::ZoomControl(CanvasView& view, QScrollArea& area, QWidget* boxParent)
    : QObject(boxParent), m_view(view), m_area(area), m_box(new QComboBox(boxParent))
{
    m_box->setObjectName(QStringLiteral("ZoomBox"));
    m_box->setAccessibleName(QStringLiteral("Zoom"));
    m_box->setToolTip(QStringLiteral("Vergrößerung (Strg+Mausrad, Strg++, Strg+-, Strg+0 einpassen, Strg+1)"));
    for (int z : ViewTransform::Zooms)
        m_box->addItem(QStringLiteral("%1×").arg(z), z);
    connect(m_box, &QComboBox::activated, this, [this](int index) { setZoom(m_box->itemData(index).toInt()); });
    connect(&view, &CanvasView::zoomWheel, this,
            [this](int steps, QPointF at) { setZoom(stepped(steps), at); });
}

int ZoomControl::zoom() const
{
    return m_view.zoom();
}

int ZoomControl::stepped(int steps) const
{
    return ViewTransform::stepZoom(m_view.zoom(), steps);
}

void ZoomControl::setZoom(int zoom, std::optional<QPointF> pointer)
{
    zoom = ViewTransform::stepZoom(zoom, 0);
    QWidget* viewport = m_area.viewport();
    // The view is the viewport's child, placed at minus the scroll position.
    const QPointF inViewport = pointer ? QPointF(m_view.pos()) + *pointer
                                       : QPointF(viewport->width() / 2.0, viewport->height() / 2.0);
    const QPointF twips = m_view.toTwips(inViewport - QPointF(m_view.pos()));
    m_view.setZoom(zoom);
    const QPointF scroll = m_view.transform().scrollKeeping(twips, inViewport);
    m_area.horizontalScrollBar()->setValue(int(std::lround(scroll.x())));
    m_area.verticalScrollBar()->setValue(int(std::lround(scroll.y())));
    m_box->setCurrentIndex(m_box->findData(zoom));
    emit zoomChanged(zoom);
}

void ZoomControl::zoomToFit()
{
    const QSize room = m_area.maximumViewportSize() - QSize(2 * CanvasView::Margin, 2 * CanvasView::Margin);
    setZoom(ViewTransform::fitZoom(room, QSizeF(Canvas::ScreenWidth, Canvas::ScreenHeight)));
}
