#include "LayoutCommand.h"

#include "LayoutDocument.h"

#include <algorithm>

LayoutCommand::LayoutCommand(LayoutDocument& document, Kind kind, Key key, const QString& text,
                             std::vector<Change> changes, QList<int> selection, int current)
    : m_document(document)
    , m_kind(kind)
    , m_key(key)
    , m_changes(std::move(changes))
    , m_selection(std::move(selection))
    , m_current(current)
{
    setText(text);
}

bool LayoutCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const LayoutCommand*>(other);
    if (next->m_key != m_key)
        return false;
    for (const Change& c : next->m_changes) {
        const auto same = [&](const Change& mine) { return mine.slot == c.slot; };
        const auto it = std::find_if(m_changes.begin(), m_changes.end(), same);
        if (it != m_changes.end())
            it->after = c.after;
        else
            m_changes.push_back(c);
    }
    // Nudges back to where they started leave no step behind.
    setObsolete(std::all_of(m_changes.begin(), m_changes.end(),
                            [](const Change& c) { return Layout::Same(c.before, c.after); }));
    return true;
}

void LayoutCommand::undo()
{
    put(false);
}

void LayoutCommand::redo()
{
    put(true);
}

void LayoutCommand::put(bool after)
{
    std::vector<std::pair<int, QRectF>> rects;
    rects.reserve(m_changes.size());
    for (const Change& c : m_changes)
        rects.emplace_back(c.slot, after ? c.after : c.before);
    m_document.apply(rects, m_selection, m_current);
    // Going back and forth in the history starts a new run: the next nudge must
    // not merge into a step that was undone and done again.
    if (m_done)
        m_document.finishStep();
    m_done = true;
}
