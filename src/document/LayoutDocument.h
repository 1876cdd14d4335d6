#pragma once

#include "Alignment.h"
#include "LayoutRules.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <optional>
#include <vector>

// One element of the bound screen: where it sits, its picture and which
// values the mouse may change. Its section, file, visibility, nudge factors
// and info-bar rule stay in the binding the document owns.
struct LayoutElement
{
    QString picture;         // bitmap file the canvas shows, "" for none
    QRectF rect;             // twips, as the canvas keeps it (fractions allowed)
    Touch touch;
    int coSystem = -1;       // slot whose frame is the origin of x and y; -1: the screen frame
};

// The bound screen as one document: the elements with their rectangles, the
// selection and the history of edits. Canvas items, marker, name label and the
// coordinate fields show it and follow its signals; every edit is a command on
// its undo stack, and "unsaved changes" means the stack is not clean.
class LayoutDocument : public QObject
{
    Q_OBJECT

public:
    explicit LayoutDocument(QObject* parent = nullptr);
    ~LayoutDocument() override;

    // Puts a freshly loaded screen in place: no history, nothing changed, the
    // element in slot `current` selected. The document keeps the binding the
    // elements were loaded from.
    void load(std::vector<LayoutElement> elements, const ScreenRules& rules, int current,
              ScreenBinding binding = {});

    int count() const { return int(m_elements.size()); }
    bool contains(int slot) const { return slot >= 0 && slot < count(); }
    // slot must be contained.
    const LayoutElement& element(int slot) const { return m_elements[slot]; }
    const std::vector<LayoutElement>& elements() const { return m_elements; }
    const ScreenRules& rules() const { return m_rules; }
    const ScreenBinding& binding() const { return m_binding; }
    // What the binding says of slot: section and file, whether the screen
    // shows it in its view, its nudge factors (0 locks a value).
    const QString& section(int slot) const { return m_binding.ElementSection[slot]; }
    const QString& file(int slot) const { return m_binding.ElementFile[slot]; }
    bool visible(int slot) const { return m_binding.visible(slot); }
    const Factors& factor(int slot) const { return m_binding.NudgeFactor[slot]; }
    // "home in mainmenult.ini", as the name label shows it.
    QString caption(int slot) const { return section(slot) + QStringLiteral(" in ") + file(slot); }
    QRectF rect(int slot) const { return m_elements[slot].rect; }
    Rects rects() const;
    // The element's frame: its rectangle in whole twips.
    QRect frame(int slot) const;
    // Top-left of the frame x and y of slot count from, in whole twips.
    QPointF origin(int slot) const;
    // What the coordinate fields show for slot.
    ShownFloats shown(int slot) const;
    // The topmost visible element at point (twips); higher slots lie above
    // lower ones. -1 when there is none.
    int elementAt(QPointF point) const;

    // The element the fields and the name label show, -1 for none.
    int current() const { return m_current; }
    // Every selected slot in ascending order; holds current.
    QList<int> selection() const { return m_selection; }
    bool isSelected(int slot) const { return m_selection.contains(slot); }
    // Selects slot alone (-1: nothing).
    void select(int slot);
    void setSelection(QList<int> chosen, int current);

    // Edits of the selected elements (locked ones stay), each one undo step;
    // repeated nudges of one selection in one mode, and the keys typed into
    // one field, merge into one. The values of all four fields are applied, as
    // the fields show them; a nudge that changes no field (a locked value)
    // does nothing.
    void nudge(NudgeMode mode, NudgeDirection direction);
    void typeValue(Field field, double value);

    // A gesture shows its rectangles as it goes, without a step: see SelectTool.
    void preview(const Rects& next);
    // The rectangles since `before` as one step named text.
    void commit(const Rects& before, const QString& text);
    // The name of a move or a resize of the selection: its section, or how many elements.
    QString editText(bool move) const;

    // Ends the merging of the steps so far (a typed value is complete).
    void finishStep() { ++m_chain; }

    QUndoStack& undoStack() { return m_undo; }
    bool isModified() const { return !m_undo.isClean(); }
    // The files now hold what the document shows.
    void markSaved();
    // Whether slot differs from what the files held at the load or the last save.
    bool changedSinceSave(int slot) const;

    // ---- several elements at once ----
    // A lock the user sets while the program runs: the element keeps its
    // rectangle against the mouse, the keys and arranging; it is never stored.
    void setLocked(int slot, bool locked);
    bool isLocked(int slot) const;
    // What the binding and the user's lock leave free, by slot.
    std::vector<Alignment::Freedom> freedoms() const;
    // Ctrl+click: slot joins the selection and becomes current, or leaves it.
    void toggleSelected(int slot);
    // One step: the selection lined up, spaced or sized (see Alignment).
    void arrange(Alignment::Action action, const QString& text);

signals:
    void loaded();
    // Rectangles of these slots changed.
    void rectsChanged(const QList<int>& changed);
    // One of the two follows every step that the selection's views must show:
    // another selection, or a selected element with another rectangle.
    void selectionChanged();
    void selectionMoved();

private:
    friend class LayoutCommand;

    // Pushes the step from the current rectangles to next, when anything changes.
    void push(const Rects& next, int kind, int detail, const QString& text);
    // Puts rectangles and selection in place, as a command does or undoes it.
    void apply(const std::vector<std::pair<int, QRectF>>& rects, const QList<int>& selection, int current);
    // Places every selected element that is not locked at the values valuesOf
    // gives (none: it stays), with its followers, as one step.
    void placeSelection(const std::function<std::optional<FieldValues>(int slot)>& valuesOf, int kind, int detail,
                        const QString& text);

    std::vector<LayoutElement> m_elements;
    std::vector<bool> m_locked;
    Rects m_saved;
    ScreenRules m_rules;
    ScreenBinding m_binding;
    QList<int> m_selection;
    int m_current = -1;
    quint64 m_chain = 0;
    QUndoStack m_undo;
};
