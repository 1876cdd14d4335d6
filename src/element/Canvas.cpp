#include "Canvas.h"

template <class Item> Item* Canvas::make(const QString& name)
{
    auto* item = new Item(name, this);
    connect(item, &CanvasItem::changed, this,
            [this, item](const QRectF& before, const QRectF& after) { emit itemChanged(item, before, after); });
    return item;
}

Canvas::Canvas(int twipsPerPixelX, int twipsPerPixelY, QObject* parent)
    : QObject(parent)
{
    m_background = make<CanvasBitmap>(QStringLiteral("Image1"));
    for (int slot = 0; slot < SlotCount; ++slot) {
        const QString number = QString::number(slot + 1);
        m_bitmaps[slot] = make<CanvasBitmap>(QStringLiteral("myImage") + number);
        m_bitmaps[slot]->setVisible(false);
        m_frames[slot] = make<CanvasShape>(QStringLiteral("ImShape") + number);
        m_frames[slot]->setVisible(false);
    }
    m_selector = make<CanvasShape>(QStringLiteral("Selector"));
    m_selector->setTag(QStringLiteral("-1"));
    m_selector->setVisible(false);
    m_screen = make<CanvasShape>(QStringLiteral("Shape1"));
    m_txtX = new CanvasText(QStringLiteral("txtX"), {}, this);
    m_txtY = new CanvasText(QStringLiteral("txtY"), {}, this);
    m_txtCX = new CanvasText(QStringLiteral("txtCX"), {}, this);
    m_txtCY = new CanvasText(QStringLiteral("txtCY"), {}, this);
    m_nameLabel = new CanvasText(QStringLiteral("LBLiniName"), QStringLiteral("nothing selected"), this);
    setTwipsPerPixel(twipsPerPixelX, twipsPerPixelY);
}

void Canvas::setTwipsPerPixel(int twipsPerPixelX, int twipsPerPixelY)
{
    m_twipsX = twipsPerPixelX;
    m_twipsY = twipsPerPixelY;
    const QRectF area(0, 0, double(ScreenWidth) * twipsPerPixelX, double(ScreenHeight) * twipsPerPixelY);
    m_screen->setGeometry(area);
    m_background->setGeometry(area);
}

CanvasBitmap* Canvas::bitmap(int slot) const
{
    return slot >= 0 && slot < SlotCount ? m_bitmaps[slot] : nullptr;
}

CanvasShape* Canvas::frame(int slot) const
{
    return slot >= 0 && slot < SlotCount ? m_frames[slot] : nullptr;
}
