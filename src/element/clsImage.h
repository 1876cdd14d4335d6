#pragma once

#include <QMetaObject>
#include <QString>
#include <Qt>

#include <array>

class CanvasBitmap;
class CanvasShape;
class CanvasText;
class Elements;

// One element of an MN4 screen on the canvas. It keeps no rectangle of its
// own: its geometry is that of its bitmap item, and its frame, the shared
// marker and the shared fields follow it. It owns none of the items it is
// bound to; the canvas outlives it. Geometry values are in twips.
class clsImage
{
public:
    explicit clsImage(Elements& owner);
    ~clsImage();
    clsImage(const clsImage&) = delete;
    clsImage& operator=(const clsImage&) = delete;

    // Binding, in the order a loader uses it.
    void SetImage(CanvasBitmap* TImage);      // the element now receives its pointer events
    void Picture(const QString& pic);         // loads the bitmap file; empty picture on failure
    void SetFrame(CanvasShape* TImFrame);
    void SetX(CanvasText* TBox);              // the element now receives the field's key releases
    void SetY(CanvasText* TBox);
    void SetCX(CanvasText* TBox);
    void SetCY(CanvasText* TBox);
    void HasDepts(bool bDepts) { m_hasDepts = bDepts; }
    void IsListbox(bool bValue) { m_isListbox = bValue; }
    bool IsListbox() const { return m_isListbox; }
    void IsListboxt9(bool bValue) { m_isListboxt9 = bValue; }
    bool IsListboxt9() const { return m_isListboxt9; }
    void SetNameLabel(CanvasText* TLabel) { myNameLabel = TLabel; }
    void SetName(const QString& iniName) { myName = iniName; }
    void SetCoSystem(CanvasShape* TTemplate) { myCoSystem = TTemplate; }
    void SetSelector(CanvasShape* TSelector);  // then paintSelector
    void Index(qint16 intNumber);               // then paintSelector
    qint16 Index() const { return m_index; }
    void SetInfoBarHeight(qint32 lngHeight) { m_infoBarHeight = lngHeight; }
    qint32 InfoBarHeight() const { return m_infoBarHeight; }
    void SetDepend(bool bDepend) { m_depend = bDepend; }
    bool Depend() const { return m_depend; }
    void visible(bool bvisible);                // bitmap and frame together
    bool visible() const;
    void TouchX(bool bValue) { m_touchX = bValue; }
    bool TouchX() const { return m_touchX; }
    void TouchY(bool bValue) { m_touchY = bValue; }
    bool TouchY() const { return m_touchY; }
    void TouchCX(bool bValue) { m_touchCX = bValue; }
    bool TouchCX() const { return m_touchCX; }
    void TouchCY(bool bValue) { m_touchCY = bValue; }
    bool TouchCY() const { return m_touchCY; }
    // A mouse button went down on the element and has not been released.
    bool isActive() const { return m_dragging; }

    // Geometry of the bitmap in whole twips; reads round halves to even. A write
    // changes only the bitmap and is dropped when the canvas refuses it.
    void Left(qint32 lngLeft);
    qint32 Left() const;
    void Top(qint32 lngTop);
    qint32 Top() const;
    void width(qint32 lngWidth);
    qint32 width() const;
    void height(qint32 lngHeight);
    qint32 height() const;
    qint32 GetCoSystemLeft() const;
    qint32 GetCoSystemTop() const;
    void FrameMove(qint32 lngLeft, qint32 lngTop, qint32 lngWidth, qint32 lngHeight);
    void FrameLeft(qint32 lngLeft);
    void FrameTop(qint32 lngTop);
    void FrameWidth(qint32 lngWidth);
    void FrameHeight(qint32 lngHeight);

    // Puts the marker on this element and refreshes frame, label and fields.
    void paintSelector();
    // Places the element from INI values in the fields (info-bar shift applied).
    void paintImage();
    // Places the element from typed values in the fields; marks the layout changed.
    void stretchImage();

    // Key releases in the shared fields; key and modifiers do not matter.
    void mytxtX_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift);
    void mytxtY_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift);
    void mytxtCX_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift);
    void mytxtCY_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift);

    // Pointer events on the bitmap; X and Y in twips relative to its top-left
    // corner. The pointer shape asked for is left in Elements::pointerShape().
    void myImage_MouseDown(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void myImage_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void myImage_MouseUp(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);

private:
    enum Field { FieldX, FieldY, FieldCX, FieldCY, FieldCount };

    void bindField(Field field, CanvasText* box);
    void ShowCoordinates();
    void SyncFrame(int slot);
    void ApplyDependents();
    void applyListDependents(int listSlot);
    // Slot written in the marker's tag; -1 when none or unreadable.
    int selectorSlot() const;
    bool isSelected() const { return selectorSlot() == m_index; }
    bool readFields(double& x, double& y, double& cx, double& cy) const;
    double nudge(int value) const;
    double twipsX() const;
    double twipsY() const;

    Elements& m_owner;
    CanvasBitmap* myImage = nullptr;
    CanvasShape* myCoSystem = nullptr;
    CanvasShape* mySelector = nullptr;
    CanvasShape* myFrame = nullptr;
    CanvasText* myNameLabel = nullptr;
    std::array<CanvasText*, FieldCount> myFields{};
    QString myName;

    std::array<QMetaObject::Connection, 3> m_mouseLinks;
    std::array<QMetaObject::Connection, FieldCount> m_fieldLinks;

    qint16 m_index = 0;
    qint32 m_infoBarHeight = 0;
    bool m_depend = false;
    bool m_hasDepts = false;
    bool m_isListbox = false;
    bool m_isListboxt9 = false;
    bool m_touchX = false;
    bool m_touchY = false;
    bool m_touchCX = false;
    bool m_touchCY = false;

    // Drag state.
    bool MoveMode = false;
    bool SkipNextMove = false;
    bool m_dragging = false;
    bool GrabLeft = false;
    bool GrabTop = false;
    bool GrabRight = false;
    bool GrabBottom = false;
    qint32 StartX = 0;
    qint32 StartY = 0;
};
