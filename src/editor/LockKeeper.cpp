#include "LockKeeper.h"

#include "ElementList.h"
#include "LayoutDocument.h"

LockKeeper::LockKeeper(LayoutDocument& document, ElementList& list, QObject* parent)
    : QObject(parent), m_document(document), m_list(list)
{
    connect(&list, &ElementList::lockToggled, this, &LockKeeper::setLocked);
    connect(&document, &LayoutDocument::loaded, this, &LockKeeper::restore);
}

QString LockKeeper::keyOf(int slot) const
{
    return m_document.file(slot).toLower() + QLatin1Char('/') + m_document.section(slot).toLower();
}

void LockKeeper::setLocked(int slot, bool locked)
{
    if (!m_document.contains(slot))
        return;
    m_document.setLocked(slot, locked);
    m_list.setLocked(slot, locked);
    if (locked)
        m_locks.insert(keyOf(slot));
    else
        m_locks.remove(keyOf(slot));
}

void LockKeeper::setSelectionLocked(bool locked)
{
    for (int slot : m_document.selection())
        setLocked(slot, locked);
}

void LockKeeper::restore()
{
    for (int slot = 0; slot < m_document.count(); ++slot) {
        const bool locked = m_locks.contains(keyOf(slot));
        m_document.setLocked(slot, locked);
        m_list.setLocked(slot, locked);
    }
}
