#pragma once

#include <QDockWidget>
#include <QIcon>

class QListWidget;
class QUndoStack;

// The "Verlauf" dock: the screen's edits, oldest first, below "Geladen", the
// state the screen was loaded in. Choosing a row takes the screen back or
// forward to that state; the saved state carries the save icon.
class HistoryDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit HistoryDock(QUndoStack& history, QWidget* parent = nullptr);

private:
    // The rows follow the stack: a step changes the rows that differ and the
    // current one, so a long history costs no rebuild per step.
    void follow();

    QUndoStack& m_history;
    QListWidget* m_list;
    QIcon m_savedIcon;
};
