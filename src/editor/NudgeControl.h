#pragma once

#include "LayoutRules.h"

#include <QObject>

class CanvasView;
class ElementPanel;
class LayoutDocument;
class QComboBox;

// The arrows: the arrow cross and the arrow keys nudge the selected elements
// by a pixel in the nudge mode (pos., scale+, scale-), which the cross's centre
// and Ctrl alone switch; Shift with an arrow selects the next or previous
// element instead, and in a coordinate field ↑ and ↓ step the value.
class NudgeControl : public QObject
{
    Q_OBJECT

public:
    NudgeControl(LayoutDocument& document, ElementPanel& panel, CanvasView& view, QComboBox& screens);

    int mode() const { return m_mode; }
    void switchMode();
    void nudge(NudgeDirection direction);
    // True when the key was used up.
    bool keyDown(int key, Qt::KeyboardModifiers modifiers);

private:
    void focusNudging();
    void selectNeighbour(int step);

    LayoutDocument& m_document;
    ElementPanel& m_panel;
    CanvasView& m_view;
    QComboBox& m_screens;
    int m_mode = 0;
};
