#pragma once

#include <QList>
#include <QRectF>
#include <QUndoCommand>

#include <vector>

class LayoutDocument;

// One edit of the layout: the rectangles it changed, before and after, and the
// selection it was made with, which undo and redo bring back. Steps of one kind
// with the same key merge: the nudges of one element in one mode, the keys
// typed into one field. A drag comes as one step when it ends.
class LayoutCommand : public QUndoCommand
{
public:
    enum Kind { Drag = 1, Nudge, Typed, Arrange };

    struct Change
    {
        int slot;
        QRectF before;
        QRectF after;
    };

    struct Key
    {
        quint64 chain;  // steps merge only within one unbroken run
        int slot;
        int detail;     // nudge mode, typed field
        bool operator==(const Key&) const = default;
    };

    LayoutCommand(LayoutDocument& document, Kind kind, Key key, const QString& text, std::vector<Change> changes,
                  QList<int> selection, int current);

    int id() const override { return m_kind; }
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

    const std::vector<Change>& changes() const { return m_changes; }

private:
    void put(bool after);

    LayoutDocument& m_document;
    Kind m_kind;
    Key m_key;
    std::vector<Change> m_changes;
    QList<int> m_selection;
    int m_current;
    bool m_done = false;
};
