#include "KeyRouter.h"

#include "CanvasView.h"
#include "EditorActions.h"
#include "ElementPanel.h"
#include "frmTivaro.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

KeyRouter::KeyRouter(frmTivaro& window, ElementPanel& panel, CanvasView& view, const EditorActions& actions)
    : QObject(&window), m_window(window), m_panel(panel), m_view(view), m_actions(actions)
{
    qApp->installEventFilter(this);
}

KeyRouter::~KeyRouter()
{
    qApp->removeEventFilter(this);
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress)
        m_ctrlAlone = false; // Ctrl+click is no Ctrl alone
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != &m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // A key during a canvas gesture ends it first, undone: Escape for that alone,
    // any other (a shortcut such as Ctrl+Z, too) so that its own step never mixes
    // with the drag.
    const bool modifier = key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control || key->key() == Qt::Key_Alt
                          || key->key() == Qt::Key_Meta;
    if (type != QEvent::KeyRelease && !modifier && m_view.cancelGesture() && key->key() == Qt::Key_Escape)
        return true;
    if (type == QEvent::ShortcutOverride) {
        // A shortcut may take the key press itself away.
        if (key->key() != Qt::Key_Control)
            m_ctrlAlone = false;
        // A line edit would keep Ctrl+Z for its own undo: the window takes the
        // key first, as a key press, and undoes a step of the layout.
        if (qobject_cast<QLineEdit*>(widget) && m_actions.takenFromFields(*key)) {
            key->accept();
            return true;
        }
        return false;
    }
    if (type == QEvent::KeyRelease) {
        // Ctrl switches the mode when it comes up again without another key in
        // between, so Ctrl+A, Ctrl+Z and the like leave the mode alone.
        if (key->isAutoRepeat() || key->key() != Qt::Key_Control || !m_ctrlAlone)
            return false;
        m_ctrlAlone = false;
        return m_window.Form_KeyUp(key->key(), key->modifiers());
    }
    // Escape in a coordinate field drops what was typed: the element's value shows again.
    if (key->key() == Qt::Key_Escape && m_panel.fieldOf(widget)) {
        m_panel.showActiveValues();
        return true;
    }
    // The first receiver only: an unused key travels on to the parents, and
    // the window must see it once.
    QWidget* first = QApplication::focusWidget();
    if (!first || first->window() != &m_window)
        first = &m_window;
    // The press of a key taken from a line edit's own shortcuts (see above).
    QAction* action = m_actions.takenFromFields(*key);
    if (action && (widget == first || qobject_cast<QLineEdit*>(widget))) {
        action->trigger();
        return true;
    }
    if (widget != first)
        return false;
    m_ctrlAlone = key->key() == Qt::Key_Control;
    return m_window.Form_KeyDown(key->key(), key->modifiers());
}
