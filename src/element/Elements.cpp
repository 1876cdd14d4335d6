#include "Elements.h"

#include "clsImage.h"

#include <algorithm>

Elements::Elements(AppState& state, const QLocale& locale)
    : m_state(state), m_locale(locale)
{
}

Elements::~Elements() = default;

void Elements::clear()
{
    m_slots.clear();
}

void Elements::grow(int count)
{
    count = std::min(count, SlotCount);
    while (size() < count)
        m_slots.push_back(std::make_unique<clsImage>(*this));
}

clsImage* Elements::at(int slot) const
{
    return slot >= 0 && slot < size() ? m_slots[slot].get() : nullptr;
}
