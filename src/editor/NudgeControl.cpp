#include "NudgeControl.h"

#include "CanvasView.h"
#include "ElementPanel.h"
#include "LayoutDocument.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>

NudgeControl::NudgeControl(LayoutDocument& document, ElementPanel& panel, CanvasView& view, QComboBox& screens)
    : QObject(&panel), m_document(document), m_panel(panel), m_view(view), m_screens(screens)
{
    connect(&m_panel, &ElementPanel::nudgeClicked, this, &NudgeControl::nudge);
    connect(&m_panel, &ElementPanel::modeClicked, this, &NudgeControl::switchMode);
}

void NudgeControl::switchMode()
{
    m_mode = (m_mode + 1) % 3;
    m_panel.showMode(m_mode);
    focusNudging();
}

void NudgeControl::nudge(NudgeDirection direction)
{
    m_document.nudge(NudgeMode(m_mode), direction);
    focusNudging();
}

void NudgeControl::focusNudging()
{
    // The canvas, where the arrow keys go on nudging; in a field they would move the caret.
    m_view.setFocus();
}

void NudgeControl::selectNeighbour(int step)
{
    const int start = m_document.current();
    if (start < 0)
        return;
    std::vector<Touch> touch;
    for (const LayoutElement& e : m_document.elements())
        touch.push_back(e.touch);
    m_document.select(Layout::NeighbourOf(touch, start, step));
}

bool NudgeControl::keyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    if (mods == Qt::ShiftModifier)
        focusNudging();
    // Ctrl alone switches the mode when it comes up again.
    if (key == Qt::Key_Control)
        return true;
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
    if (!arrow)
        return false;
    if (mods == Qt::ShiftModifier) {
        selectNeighbour(key == Qt::Key_Down || key == Qt::Key_Right ? 1 : -1);
        return true;
    }
    const QWidget* focus = QApplication::focusWidget();
    if (const std::optional<Field> inField = m_panel.fieldOf(focus); inField && mods == Qt::NoModifier) {
        // In a coordinate field ← and → move the caret; ↑ and ↓ step its value by a pixel.
        if (key == Qt::Key_Left || key == Qt::Key_Right)
            return false;
        m_panel.stepField(*inField, key == Qt::Key_Up ? 1 : -1);
        return true;
    }
    // The screen list and the lists in the docks keep their arrow keys.
    const bool list = focus && (focus == &m_screens || m_screens.isAncestorOf(focus)
                                || qobject_cast<const QAbstractItemView*>(focus));
    if (mods != Qt::NoModifier || list || QApplication::activePopupWidget())
        return false;
    switch (key) {
    case Qt::Key_Left: nudge(NudgeDirection::West); break;
    case Qt::Key_Up: nudge(NudgeDirection::North); break;
    case Qt::Key_Right: nudge(NudgeDirection::East); break;
    case Qt::Key_Down: nudge(NudgeDirection::South); break;
    }
    return true;
}
