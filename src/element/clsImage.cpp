#include "clsImage.h"

#include "Canvas.h"
#include "Elements.h"
#include "NumberText.h"
#include "ViewTransform.h"

clsImage::clsImage(Elements& owner, int slot)
    : m_owner(owner), m_slot(slot)
{
}

bool clsImage::isActive() const
{
    return m_owner.document().dragged() == m_slot;
}

QPointF clsImage::onCanvas(double X, double Y) const
{
    return m_owner.document().rect(m_slot).topLeft() + QPointF(X, Y);
}

double clsImage::zone() const
{
    const Canvas& canvas = m_owner.canvas();
    return ViewTransform(m_owner.zoom(), canvas.twipsPerPixelX(), canvas.twipsPerPixelY())
        .edgeZone(canvas.selector()->lineWidth());
}

void clsImage::myImage_MouseDown(Qt::MouseButtons, Qt::KeyboardModifiers, double X, double Y)
{
    m_owner.document().press(m_slot, onCanvas(X, Y), zone());
}

void clsImage::myImage_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers, double X, double Y)
{
    LayoutDocument& doc = m_owner.document();
    const QSizeF size = doc.rect(m_slot).size();
    if (isActive() && !doc.moveTo(onCanvas(X, Y), Button))
        return; // the first move after a press
    m_owner.setPointerShape(doc.current() == m_slot ? Layout::PointerShapeAt(size, {X, Y}, zone())
                                                    : Qt::ArrowCursor);
}

void clsImage::myImage_MouseUp(Qt::MouseButtons, Qt::KeyboardModifiers, double, double)
{
    if (isActive())
        m_owner.document().release();
}

void clsImage::KeyUp(Field field, int, Qt::KeyboardModifiers)
{
    stretchImage(field);
}

void clsImage::stretchImage(Field field)
{
    LayoutDocument& doc = m_owner.document();
    if (doc.current() != m_slot)
        return;
    const CanvasText* const fields[] = {m_owner.canvas().txtX(), m_owner.canvas().txtY(), m_owner.canvas().txtCX(),
                                        m_owner.canvas().txtCY()};
    const QString typed = fields[field]->text();
    if (typed == m_owner.fieldText(field))
        return;
    if (const auto value = ParseNumberOrPoint(typed, m_owner.locale()))
        doc.typeValue(field, *value);
}
