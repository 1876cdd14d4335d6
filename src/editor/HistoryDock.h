#pragma once

#include <QDockWidget>

class QUndoStack;
class QUndoView;

// The "Verlauf" dock: the screen's edits, oldest first, below the state the
// screen was loaded in. A click on a row takes the screen back or forward to
// that state; the saved state carries the save icon.
class HistoryDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit HistoryDock(QUndoStack& history, QWidget* parent = nullptr);

    QUndoView* view() const { return m_view; }

private:
    QUndoView* m_view;
};
