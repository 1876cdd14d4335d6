#pragma once

#include "AppState.h"

#include <QLocale>

#include <memory>
#include <vector>

class clsImage;

// The layout elements of the screen on show, by slot (0..24), together with
// what every element reaches beside its own canvas items: the program state,
// the locale of the coordinate fields and the pointer shape the last mouse
// handler asked for (the window applies it).
class Elements
{
public:
    explicit Elements(AppState& state, const QLocale& locale = QLocale());
    ~Elements();
    Elements(const Elements&) = delete;
    Elements& operator=(const Elements&) = delete;

    AppState& state() const { return m_state; }
    const QLocale& locale() const { return m_locale; }
    void setLocale(const QLocale& locale) { m_locale = locale; }

    Qt::CursorShape pointerShape() const { return m_pointer; }
    void setPointerShape(Qt::CursorShape shape) { m_pointer = shape; }

    // Discards every element.
    void clear();
    // Grows to count slots (at most 25), keeping the existing elements; every
    // new slot gets a fresh element.
    void grow(int count);
    int size() const { return int(m_slots.size()); }
    // The element in slot, or null when there is none.
    clsImage* at(int slot) const;

private:
    AppState& m_state;
    QLocale m_locale;
    Qt::CursorShape m_pointer = Qt::ArrowCursor;
    std::vector<std::unique_ptr<clsImage>> m_slots;
};
