#include "CanvasText.h"

CanvasText::CanvasText(const QString& name, const QString& text, QObject* parent)
    : QObject(parent), m_text(text)
{
    setObjectName(name);
}

void CanvasText::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
}
