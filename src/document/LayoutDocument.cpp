#include "LayoutDocument.h"

#include "LayoutCommand.h"
#include "Selection.h"
#include "Twips.h"

#include <algorithm>

namespace {

QString moveText(const QString& section)
{
    return section + QStringLiteral(" verschieben");
}

QString resizeText(const QString& section)
{
    return QStringLiteral("Größe von ") + section + QStringLiteral(" ändern");
}

} // namespace

LayoutDocument::LayoutDocument(QObject* parent)
    : QObject(parent)
{
}

LayoutDocument::~LayoutDocument() = default;

void LayoutDocument::load(std::vector<LayoutElement> elements, const ScreenRules& rules, int current,
                          ScreenBinding binding)
{
    m_binding = std::move(binding);
    m_undo.clear();
    m_elements = std::move(elements);
    m_locked.assign(m_elements.size(), false);
    m_rules = rules;
    m_saved = rects();
    ++m_chain;
    m_current = contains(current) ? current : -1;
    m_selection = m_current >= 0 ? QList<int>{m_current} : QList<int>{};
    emit loaded();
    emit selectionChanged();
}

Rects LayoutDocument::rects() const
{
    Rects all;
    all.reserve(m_elements.size());
    for (const LayoutElement& e : m_elements)
        all.push_back(e.rect);
    return all;
}

QRect LayoutDocument::frame(int slot) const
{
    const QRectF r = rect(slot);
    return QRect(Twips::whole(r.x()), Twips::whole(r.y()), Twips::whole(r.width()), Twips::whole(r.height()));
}

QPointF LayoutDocument::origin(int slot) const
{
    const int co = contains(slot) ? m_elements[slot].coSystem : -1;
    return contains(co) ? QPointF(frame(co).topLeft()) : QPointF(0, 0);
}

ShownFloats LayoutDocument::shown(int slot) const
{
    return Layout::ShownValues(rect(slot), origin(slot), m_rules);
}

int LayoutDocument::elementAt(QPointF point) const
{
    for (int slot = count() - 1; slot >= 0; --slot) {
        const LayoutElement& e = m_elements[slot];
        if (visible(slot) && point.x() >= e.rect.left() && point.x() < e.rect.left() + e.rect.width()
            && point.y() >= e.rect.top() && point.y() < e.rect.top() + e.rect.height())
            return slot;
    }
    return -1;
}

// ---- selection ----

void LayoutDocument::select(int slot)
{
    setSelection(contains(slot) ? QList<int>{slot} : QList<int>{}, slot);
}

void LayoutDocument::setSelection(QList<int> chosen, int current)
{
    chosen.removeIf([this](int s) { return !contains(s); });
    if (contains(current) && !chosen.contains(current))
        chosen << current;
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    if (!contains(current))
        current = chosen.isEmpty() ? -1 : chosen.first();
    if (chosen == m_selection && current == m_current)
        return;
    m_selection = chosen;
    m_current = current;
    ++m_chain;
    emit selectionChanged();
}

// ---- edits ----

void LayoutDocument::push(const Rects& next, int kind, int detail, const QString& text)
{
    std::vector<LayoutCommand::Change> changes;
    for (int slot = 0; slot < count() && slot < int(next.size()); ++slot)
        if (!Layout::Same(next[slot], m_elements[slot].rect))
            changes.push_back({slot, m_elements[slot].rect, next[slot]});
    if (changes.empty())
        return;
    const LayoutCommand::Key key{m_chain, m_current, detail};
    m_undo.push(new LayoutCommand(*this, LayoutCommand::Kind(kind), key, text, std::move(changes), m_selection,
                                  m_current));
}

void LayoutDocument::apply(const std::vector<std::pair<int, QRectF>>& rects, const QList<int>& selection, int current)
{
    QList<int> changed;
    for (const auto& [slot, r] : rects) {
        if (!contains(slot) || Layout::Same(m_elements[slot].rect, r))
            continue;
        m_elements[slot].rect = r;
        changed << slot;
    }
    const bool reselected = selection != m_selection || current != m_current;
    m_selection = selection;
    m_current = current;
    if (!changed.isEmpty())
        emit rectsChanged(changed);
    if (reselected)
        emit selectionChanged();
    else if (std::any_of(changed.begin(), changed.end(), [this](int slot) { return isSelected(slot); }))
        emit selectionMoved();
}

void LayoutDocument::placeSelection(const std::function<std::optional<FieldValues>(int slot)>& valuesOf, int kind,
                                    int detail, const QString& text)
{
    Rects next = rects();
    for (int slot : m_selection) {
        // A locked element keeps its place; one whose values stay as they are, too.
        const auto values = isLocked(slot) ? std::nullopt : valuesOf(slot);
        if (!values)
            continue;
        if (const auto placed = Layout::Placed(origin(slot), *values, m_rules))
            next[slot] = *placed;
        Layout::ApplyDependents(next, m_rules, slot);
    }
    push(next, kind, detail, text);
}

QString LayoutDocument::editText(bool move) const
{
    if (m_selection.size() > 1 || !contains(m_current))
        return move ? QStringLiteral("%1 Elemente verschieben").arg(m_selection.size())
                    : QStringLiteral("Größe von %1 Elementen ändern").arg(m_selection.size());
    return move ? moveText(section(m_current)) : resizeText(section(m_current));
}

void LayoutDocument::nudge(NudgeMode mode, NudgeDirection direction)
{
    if (!contains(m_current))
        return;
    placeSelection(
        [&](int slot) -> std::optional<FieldValues> {
            const LayoutElement& e = m_elements[slot];
            const FieldValues before = Layout::FieldNumbers(shown(slot));
            const FieldValues values = Layout::Nudged(before, mode, direction, factor(slot), e.touch);
            if (values == before)
                return std::nullopt;
            return values;
        },
        LayoutCommand::Nudge, int(mode), editText(mode == NudgeMode::Position));
}

void LayoutDocument::typeValue(Field field, double value)
{
    if (!contains(m_current))
        return;
    placeSelection(
        [&](int slot) -> std::optional<FieldValues> {
            FieldValues values = Layout::FieldNumbers(shown(slot));
            values[field] = value;
            return values;
        },
        LayoutCommand::Typed, field, editText(field == FieldX || field == FieldY));
}

// ---- gestures ----

void LayoutDocument::preview(const Rects& next)
{
    std::vector<std::pair<int, QRectF>> changed;
    for (int slot = 0; slot < count() && slot < int(next.size()); ++slot)
        changed.emplace_back(slot, next[slot]);
    apply(changed, m_selection, m_current);
}

void LayoutDocument::commit(const Rects& before, const QString& text)
{
    std::vector<LayoutCommand::Change> changes;
    for (int slot = 0; slot < count() && slot < int(before.size()); ++slot)
        if (!Layout::Same(before[slot], m_elements[slot].rect))
            changes.push_back({slot, before[slot], m_elements[slot].rect});
    if (changes.empty())
        return;
    ++m_chain;
    m_undo.push(new LayoutCommand(*this, LayoutCommand::Drag, {m_chain, m_current, 0}, text, std::move(changes),
                                  m_selection, m_current));
    ++m_chain;
}

// ---- saving ----

void LayoutDocument::markSaved()
{
    m_saved = rects();
    m_undo.setClean();
}

bool LayoutDocument::changedSinceSave(int slot) const
{
    return contains(slot) && slot < int(m_saved.size()) && !Layout::Same(m_saved[slot], m_elements[slot].rect);
}

// ---- several elements ----

void LayoutDocument::setLocked(int slot, bool locked)
{
    if (contains(slot) && slot < int(m_locked.size()))
        m_locked[slot] = locked;
}

bool LayoutDocument::isLocked(int slot) const
{
    return contains(slot) && slot < int(m_locked.size()) && m_locked[slot];
}

std::vector<Alignment::Freedom> LayoutDocument::freedoms() const
{
    std::vector<Alignment::Freedom> free;
    free.reserve(m_elements.size());
    for (int slot = 0; slot < count(); ++slot)
        free.push_back(Alignment::FreedomOf(m_elements[slot].touch, factor(slot), isLocked(slot)));
    return free;
}

void LayoutDocument::toggleSelected(int slot)
{
    if (!contains(slot))
        return;
    QList<int> chosen = m_selection;
    if (chosen.contains(slot)) {
        chosen.removeAll(slot);
        setSelection(chosen, chosen.contains(m_current) ? m_current : -1);
    } else {
        setSelection(chosen << slot, slot);
    }
}

void LayoutDocument::arrange(Alignment::Action action, const QString& text)
{
    ++m_chain;
    push(Alignment::Arranged(rects(), m_selection, m_current, action, freedoms(), m_rules), LayoutCommand::Arrange,
         int(action), text);
    ++m_chain;
}
