#pragma once

#include <QObject>

class CanvasView;
class EditorActions;
class ElementPanel;
class frmTivaro;

// Every key pressed in the editor window reaches frmTivaro::Form_KeyDown before
// the focused item, once. The router also ends a canvas gesture on any key,
// takes the layout's undo and redo keys from a text field that would keep
// them for itself, and switches the nudge mode when Ctrl comes up alone.
class KeyRouter : public QObject
{
    Q_OBJECT

public:
    KeyRouter(frmTivaro& window, ElementPanel& panel, CanvasView& view, const EditorActions& actions);
    ~KeyRouter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmTivaro& m_window;
    ElementPanel& m_panel;
    CanvasView& m_view;
    const EditorActions& m_actions;
    bool m_ctrlAlone = false; // Ctrl is down and no other key or button went down since
};
