#include "Elements.h"

#include "Canvas.h"
#include "NumberText.h"

Elements::Elements(LayoutDocument& document, Canvas& canvas, const QLocale& locale)
    : m_document(document), m_canvas(canvas), m_locale(locale)
{
    connect(&m_document, &LayoutDocument::loaded, this, &Elements::showScreen);
    connect(&m_document, &LayoutDocument::rectsChanged, this, &Elements::showRects);
    connect(&m_document, &LayoutDocument::selectionChanged, this, &Elements::paintSelector);
    connect(&m_document, &LayoutDocument::selectionMoved, this, &Elements::paintSelector);
}

void Elements::setLocale(const QLocale& locale)
{
    m_locale = locale;
    ShowCoordinates();
}

CanvasText* Elements::field(Field f) const
{
    CanvasText* const fields[] = {m_canvas.txtX(), m_canvas.txtY(), m_canvas.txtCX(), m_canvas.txtCY()};
    return fields[f];
}

void Elements::showScreen()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        const bool used = m_document.contains(slot);
        const bool visible = used && m_document.visible(slot);
        if (used) {
            m_canvas.bitmap(slot)->loadPicture(m_document.element(slot).picture);
            SyncFrame(slot);
        }
        m_canvas.bitmap(slot)->setVisible(visible);
        m_canvas.frame(slot)->setVisible(visible);
    }
}

void Elements::showRects(const QList<int>& changed)
{
    for (const int slot : changed)
        SyncFrame(slot);
}

void Elements::SyncFrame(int slot)
{
    m_canvas.bitmap(slot)->setGeometry(m_document.rect(slot));
    m_canvas.frame(slot)->setGeometry(m_document.frame(slot));
}

void Elements::paintSelector()
{
    CanvasShape* marker = m_canvas.selector();
    const int current = m_document.current();
    marker->setTag(QString::number(current));
    if (current < 0) {
        marker->setVisible(false);
        m_canvas.nameLabel()->setText(QStringLiteral("nothing selected"));
        return;
    }
    marker->setGeometry(m_document.rect(current));
    marker->setVisible(true);
    m_canvas.nameLabel()->setText(m_document.caption(current));
    ShowCoordinates();
}

QString Elements::fieldText(Field f) const
{
    const int current = m_document.current();
    if (current < 0)
        return field(f)->text();
    // With several selected, a field shows a value only where they all agree.
    const QString text = SingleText(m_document.shown(current)[f], m_locale);
    for (const int slot : m_document.selection())
        if (slot != current && SingleText(m_document.shown(slot)[f], m_locale) != text)
            return QString();
    return text;
}

void Elements::ShowCoordinates()
{
    if (m_document.current() < 0)
        return;
    for (const Field f : {FieldX, FieldY, FieldCX, FieldCY})
        field(f)->setText(fieldText(f));
}
