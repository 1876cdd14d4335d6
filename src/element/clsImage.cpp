#include "clsImage.h"

#include "CanvasBitmap.h"
#include "CanvasShape.h"
#include "CanvasText.h"
#include "Elements.h"
#include "NumberText.h"
#include "Twips.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// Width of the edge zones per unit of the marker's line width, in twips.
constexpr double ZoneTwipsPerLineWidth = 15.0;

bool leftButtonOnly(Qt::MouseButtons buttons)
{
    return buttons == Qt::MouseButtons(Qt::LeftButton);
}

} // namespace

clsImage::clsImage(Elements& owner)
    : m_owner(owner)
{
}

clsImage::~clsImage()
{
    for (const auto& link : m_mouseLinks)
        QObject::disconnect(link);
    for (const auto& link : m_fieldLinks)
        QObject::disconnect(link);
}

// ---- binding ----

void clsImage::SetImage(CanvasBitmap* TImage)
{
    for (const auto& link : m_mouseLinks)
        QObject::disconnect(link);
    myImage = TImage;
    if (!myImage)
        return;
    m_mouseLinks[0] = QObject::connect(myImage, &CanvasBitmap::mousePressed, myImage,
        [this](Qt::MouseButtons b, Qt::KeyboardModifiers m, double x, double y) { myImage_MouseDown(b, m, x, y); });
    m_mouseLinks[1] = QObject::connect(myImage, &CanvasBitmap::mouseMoved, myImage,
        [this](Qt::MouseButtons b, Qt::KeyboardModifiers m, double x, double y) { myImage_MouseMove(b, m, x, y); });
    m_mouseLinks[2] = QObject::connect(myImage, &CanvasBitmap::mouseReleased, myImage,
        [this](Qt::MouseButtons b, Qt::KeyboardModifiers m, double x, double y) { myImage_MouseUp(b, m, x, y); });
}

void clsImage::Picture(const QString& pic)
{
    if (myImage)
        myImage->loadPicture(pic);
}

void clsImage::SetFrame(CanvasShape* TImFrame)
{
    myFrame = TImFrame;
}

void clsImage::bindField(Field field, CanvasText* box)
{
    QObject::disconnect(m_fieldLinks[field]);
    myFields[field] = box;
    if (box)
        m_fieldLinks[field] = QObject::connect(box, &CanvasText::keyReleased, box,
                                               [this](int, Qt::KeyboardModifiers) { stretchImage(); });
}

void clsImage::SetX(CanvasText* TBox) { bindField(FieldX, TBox); }
void clsImage::SetY(CanvasText* TBox) { bindField(FieldY, TBox); }
void clsImage::SetCX(CanvasText* TBox) { bindField(FieldCX, TBox); }
void clsImage::SetCY(CanvasText* TBox) { bindField(FieldCY, TBox); }

void clsImage::SetSelector(CanvasShape* TSelector)
{
    mySelector = TSelector;
    paintSelector();
}

void clsImage::Index(qint16 intNumber)
{
    m_index = intNumber;
    paintSelector();
}

void clsImage::visible(bool bvisible)
{
    if (myImage)
        myImage->setVisible(bvisible);
    if (myFrame)
        myFrame->setVisible(bvisible);
}

bool clsImage::visible() const
{
    return myImage && myImage->isVisible();
}

// ---- geometry ----

void clsImage::Left(qint32 lngLeft)
{
    if (myImage)
        myImage->setLeft(lngLeft);
}

qint32 clsImage::Left() const { return myImage ? Twips::whole(myImage->left()) : 0; }

void clsImage::Top(qint32 lngTop)
{
    if (myImage)
        myImage->setTop(lngTop);
}

qint32 clsImage::Top() const { return myImage ? Twips::whole(myImage->top()) : 0; }

void clsImage::width(qint32 lngWidth)
{
    if (myImage)
        myImage->setWidth(lngWidth);
}

qint32 clsImage::width() const { return myImage ? Twips::whole(myImage->width()) : 0; }

void clsImage::height(qint32 lngHeight)
{
    if (myImage)
        myImage->setHeight(lngHeight);
}

qint32 clsImage::height() const { return myImage ? Twips::whole(myImage->height()) : 0; }

qint32 clsImage::GetCoSystemLeft() const { return myCoSystem ? Twips::whole(myCoSystem->left()) : 0; }
qint32 clsImage::GetCoSystemTop() const { return myCoSystem ? Twips::whole(myCoSystem->top()) : 0; }

void clsImage::FrameMove(qint32 lngLeft, qint32 lngTop, qint32 lngWidth, qint32 lngHeight)
{
    if (myFrame)
        myFrame->setGeometry(lngLeft, lngTop, lngWidth, lngHeight);
}

void clsImage::FrameLeft(qint32 lngLeft)
{
    if (myFrame)
        myFrame->setLeft(lngLeft);
}

void clsImage::FrameTop(qint32 lngTop)
{
    if (myFrame)
        myFrame->setTop(lngTop);
}

void clsImage::FrameWidth(qint32 lngWidth)
{
    if (myFrame)
        myFrame->setWidth(lngWidth);
}

void clsImage::FrameHeight(qint32 lngHeight)
{
    if (myFrame)
        myFrame->setHeight(lngHeight);
}

// ---- drawing and applying ----

int clsImage::selectorSlot() const
{
    if (!mySelector)
        return -1;
    bool ok = false;
    const int slot = mySelector->tag().trimmed().toInt(&ok);
    return ok ? slot : -1;
}

double clsImage::twipsX() const
{
    const int t = m_owner.state().TwipsPerPixelX;
    return t > 0 ? t : 15;
}

double clsImage::twipsY() const
{
    const int t = m_owner.state().TwipsPerPixelY;
    return t > 0 ? t : 15;
}

double clsImage::nudge(int value) const
{
    if (m_index < 0 || m_index >= SlotCount)
        return 1.0;
    return m_owner.state().Binding.NudgeFactor[m_index][value];
}

void clsImage::SyncFrame(int slot)
{
    clsImage* e = m_owner.at(slot);
    if (e && e->myImage)
        e->FrameMove(e->Left(), e->Top(), e->width(), e->height());
}

void clsImage::paintSelector()
{
    SyncFrame(selectorSlot());
    if (mySelector && myImage)
        mySelector->setGeometry(myImage->rect());
    if (myNameLabel)
        myNameLabel->setText(myName);
    ShowCoordinates();
}

void clsImage::ShowCoordinates()
{
    if (!mySelector)
        return;
    const QLocale& locale = m_owner.locale();
    const float tx = float(twipsX());
    const float ty = float(twipsY());
    const float x = (float(mySelector->left()) - float(GetCoSystemLeft())) / tx;
    const float y = std::floor((float(mySelector->top()) - float(GetCoSystemTop())) / ty);
    const float cx = float(mySelector->width()) / tx;
    const float cy = float(mySelector->height()) / ty;
    const float values[FieldCount] = {x, y, cx, cy};
    for (int f = 0; f < FieldCount; ++f)
        if (myFields[f])
            myFields[f]->setText(SingleText(values[f], locale));
}

bool clsImage::readFields(double& x, double& y, double& cx, double& cy) const
{
    double* out[FieldCount] = {&x, &y, &cx, &cy};
    for (int f = 0; f < FieldCount; ++f) {
        if (!myFields[f])
            return false;
        const auto v = ParseNumberOrPoint(myFields[f]->text(), m_owner.locale());
        if (!v)
            return false;
        *out[f] = *v;
    }
    return true;
}

void clsImage::paintImage()
{
    if (!isSelected())
        return;
    double x, y, cx, cy;
    if (myImage && readFields(x, y, cx, cy)) {
        const double d = m_depend ? m_infoBarHeight - 2.0 : 0.0;
        myImage->setGeometry(GetCoSystemLeft() + x * twipsX(), GetCoSystemTop() + (y - d) * twipsY(),
                             cx * twipsX(), cy * twipsY());
    }
    SyncFrame(m_index);
    paintSelector();
}

void clsImage::stretchImage()
{
    if (!isSelected())
        return;
    double x, y, cx, cy;
    if (myImage && readFields(x, y, cx, cy))
        myImage->setGeometry(GetCoSystemLeft() + x * twipsX(), GetCoSystemTop() + y * twipsY(),
                             cx * twipsX(), cy * twipsY());
    SyncFrame(m_index);
    paintSelector();
    if (m_hasDepts) {
        ApplyDependents();
        paintSelector();
    }
    m_owner.state().LayoutChanged = true;
}

void clsImage::mytxtX_KeyUp(int, Qt::KeyboardModifiers) { stretchImage(); }
void clsImage::mytxtY_KeyUp(int, Qt::KeyboardModifiers) { stretchImage(); }
void clsImage::mytxtCX_KeyUp(int, Qt::KeyboardModifiers) { stretchImage(); }
void clsImage::mytxtCY_KeyUp(int, Qt::KeyboardModifiers) { stretchImage(); }

// ---- mouse ----

void clsImage::myImage_MouseDown(Qt::MouseButtons, Qt::KeyboardModifiers, double X, double Y)
{
    if (!m_touchX && !m_touchY && !m_touchCX && !m_touchCY)
        return;
    SkipNextMove = true;
    StartX = Twips::whole(X);
    StartY = Twips::whole(Y);
    m_dragging = true;
    if (mySelector)
        mySelector->setTag(QString::number(m_index));
    const double z = mySelector ? mySelector->lineWidth() * ZoneTwipsPerLineWidth : 0.0;
    const double W = myImage ? myImage->width() : 0.0;
    const double H = myImage ? myImage->height() : 0.0;
    // A grab from an earlier press without a release stays.
    GrabLeft = GrabLeft || (X <= z && m_touchX);
    GrabRight = GrabRight || (W - z <= X && X <= W && m_touchCX);
    GrabTop = GrabTop || (Y <= z && m_touchY);
    GrabBottom = GrabBottom || (H - z <= Y && Y <= H && m_touchCY);
    if (!GrabLeft && !GrabRight && !GrabTop && !GrabBottom)
        MoveMode = true;
    paintSelector();
}

void clsImage::myImage_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers, double X, double Y)
{
    if (SkipNextMove) {
        SkipNextMove = false;
        return;
    }
    const bool leftOnly = leftButtonOnly(Button);
    const bool selected = isSelected();
    AppState& state = m_owner.state();

    if (selected) {
        const CanvasItem* marker = mySelector ? static_cast<const CanvasItem*>(mySelector) : myImage;
        const double z = mySelector ? mySelector->lineWidth() * ZoneTwipsPerLineWidth : 0.0;
        const double W = marker ? marker->width() : 0.0;
        const double H = marker ? marker->height() : 0.0;
        const bool left = X <= z, right = W - z <= X, top = Y <= z, bottom = H - z <= Y;
        Qt::CursorShape shape = Qt::ArrowCursor;
        if ((top && left) || (bottom && right))
            shape = Qt::SizeFDiagCursor;
        else if ((top && right) || (bottom && left))
            shape = Qt::SizeBDiagCursor;
        else if (top || bottom)
            shape = Qt::SizeVerCursor;
        else if (left || right)
            shape = Qt::SizeHorCursor;
        m_owner.setPointerShape(shape);

        // A dragged edge stops at the opposite one: the size ends at 0 instead of
        // going negative, and a left or top edge moves only as far as the size shrank.
        if (leftOnly && myImage) {
            if (GrabLeft) {
                const double W = myImage->width(), fW = nudge(ScreenBinding::NudgeWidth);
                const double width = std::max(0.0, W - X * fW);
                myImage->setWidth(width);
                myImage->setLeft(myImage->left() + (fW != 0 ? (W - width) / fW : X) * nudge(ScreenBinding::NudgeX));
                paintSelector();
                state.LayoutChanged = true;
            }
            if (GrabRight) {
                const double W = myImage->width();
                myImage->setWidth(std::max(0.0, W + (X - W) * nudge(ScreenBinding::NudgeWidth)));
                paintSelector();
                state.LayoutChanged = true;
            }
            if (GrabTop) {
                const double H = myImage->height(), fH = nudge(ScreenBinding::NudgeHeight);
                const double height = std::max(0.0, H - Y * fH);
                myImage->setTop(myImage->top() + (fH != 0 ? (H - height) / fH : Y) * nudge(ScreenBinding::NudgeY));
                myImage->setHeight(height);
                paintSelector();
                state.LayoutChanged = true;
            }
            if (GrabBottom) {
                const double H = myImage->height();
                myImage->setHeight(std::max(0.0, H + (Y - H) * nudge(ScreenBinding::NudgeHeight)));
                paintSelector();
                state.LayoutChanged = true;
            }
        }
    } else {
        m_owner.setPointerShape(Qt::ArrowCursor);
    }

    if (MoveMode && leftOnly && myImage) {
        myImage->setGeometry(myImage->left() + (X - StartX) * nudge(ScreenBinding::NudgeX),
                             myImage->top() + (Y - StartY) * nudge(ScreenBinding::NudgeY),
                             myImage->width(), myImage->height());
        state.LayoutChanged = true;
        paintSelector();
    }

    if (selected && m_hasDepts && leftOnly) {
        ApplyDependents();
        // The rules may have moved this element too (the OK button of a list);
        // marker and fields must show where it ended up.
        paintSelector();
    }
}

void clsImage::myImage_MouseUp(Qt::MouseButtons, Qt::KeyboardModifiers, double, double)
{
    MoveMode = false;
    m_dragging = false;
    GrabTop = GrabBottom = GrabLeft = GrabRight = false;
}

// ---- dependent layouts ----

void clsImage::ApplyDependents()
{
    if (m_isListbox) {
        applyListDependents(0);
        return;
    }
    if (m_isListboxt9) {
        applyListDependents(1);
        return;
    }
    // Map view: "from" (slot 3) and the dummy that stands for it in the current
    // view (20 "smalldummy" in view 1, 19 "largedummy" otherwise) share their left edge.
    int target = -1;
    if (m_index == 3)
        target = m_owner.state().ViewIndex == 0 ? 20 : 19;
    else if (m_index == 19 || m_index == 20)
        target = 3;
    if (target < 0 || !myImage)
        return;
    if (clsImage* t = m_owner.at(target))
        t->Left(Twips::whole(myImage->left()));
    SyncFrame(target);
}

// The list box sits in listSlot, followed by its item column, "up", "down" and
// the OK button. A statement that names a slot without an element is skipped.
void clsImage::applyListDependents(int listSlot)
{
    const int list = listSlot, item = list + 1, up = list + 2, down = list + 3, ok = list + 4;
    auto e = [this](int slot) { return m_owner.at(slot); };
    auto have = [&](std::initializer_list<int> needed) {
        for (int s : needed)
            if (!e(s) || !e(s)->myImage)
                return false;
        return true;
    };

    if (m_index == list || m_index == ok) {
        if (have({list, ok}))
            e(ok)->Left(e(list)->Left() + e(list)->width() - e(ok)->width());
        if (have({list, ok}))
            e(ok)->Top(Twips::whole(e(list)->Top() + e(list)->height() / 2.0 - e(ok)->height() / 2.0));
        if (have({list, item}))
            e(item)->Left(e(list)->Left());
        if (have({item, ok}))
            e(item)->Top(e(ok)->Top() + e(ok)->height());
        for (int k : {up, down}) {
            if (have({k, item}))
                e(k)->Left(e(item)->Left() + e(item)->width());
            if (have({k, list, item}))
                e(k)->width(e(list)->width() - e(item)->width());
            if (have({k, list, ok}))
                e(k)->height(Twips::whole((e(list)->height() - e(ok)->height()) / 2.0));
            if (k == up && have({up, list}))
                e(up)->Top(e(list)->Top());
            if (k == down && have({down, list, up, ok}))
                e(down)->Top(e(list)->Top() + e(up)->height() + e(ok)->height());
        }
        for (int s : {list, item, up, down, ok})
            SyncFrame(s);
    } else if (m_index == item) {
        for (int k : {up, down}) {
            if (have({k, item}))
                e(k)->Left(e(item)->Left() + e(item)->width());
            if (have({k, list, item}))
                e(k)->width(e(list)->width() - e(item)->width());
            SyncFrame(k);
        }
    }
}
