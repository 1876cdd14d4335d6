#pragma once

#include "LayoutRules.h"

#include <Qt>

class Elements;

// One element of an MN4 screen on the canvas, in slot Index. It keeps no
// rectangle of its own: it turns the pointer events of its bitmap, and the
// key releases of the shared fields while it is the active element, into
// edits of the layout document, which the canvas then shows.
class clsImage
{
public:
    clsImage(Elements& owner, int slot);

    int Index() const { return m_slot; }
    // A mouse button went down on the element and has not been released.
    bool isActive() const;

    // Pointer events on the bitmap; X and Y in twips relative to its top-left
    // corner. The pointer shape asked for is left in Elements::pointerShape().
    void myImage_MouseDown(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void myImage_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void myImage_MouseUp(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);

    // Key releases in the shared fields: what was typed there places the element.
    void mytxtX_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift) { KeyUp(FieldX, KeyCode, Shift); }
    void mytxtY_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift) { KeyUp(FieldY, KeyCode, Shift); }
    void mytxtCX_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift) { KeyUp(FieldCX, KeyCode, Shift); }
    void mytxtCY_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift) { KeyUp(FieldCY, KeyCode, Shift); }
    void KeyUp(Field field, int KeyCode, Qt::KeyboardModifiers Shift);

    // Places the element from the text typed into field, when it is a number
    // other than the one the field shows; a key that changed nothing is no edit.
    void stretchImage(Field field);

private:
    QPointF onCanvas(double X, double Y) const;
    double zone() const;

    Elements& m_owner;
    int m_slot;
};
