#pragma once

#include "AppState.h"
#include "CanvasBitmap.h"
#include "CanvasShape.h"
#include "CanvasText.h"

#include <QObject>

#include <array>

// Every item of the editor canvas, created once and owned here: the background
// Image1, the 25 element bitmaps myImage1..25 and frames ImShape1..25, the marker
// Selector, the screen frame Shape1, the coordinate fields and the name label.
// Slots count from 0; slot k uses myImage(k+1) and ImShape(k+1).
class Canvas : public QObject
{
    Q_OBJECT

public:
    // Width and height of the device screen in device pixels.
    static constexpr int ScreenWidth = 240;
    static constexpr int ScreenHeight = 320;

    explicit Canvas(int twipsPerPixelX = 15, int twipsPerPixelY = 15, QObject* parent = nullptr);

    // Sizes the screen frame and the background for the display's twips per pixel.
    void setTwipsPerPixel(int twipsPerPixelX, int twipsPerPixelY);
    int twipsPerPixelX() const { return m_twipsX; }
    int twipsPerPixelY() const { return m_twipsY; }

    CanvasBitmap* background() const { return m_background; }
    // Null for a slot outside 0..24.
    CanvasBitmap* bitmap(int slot) const;
    CanvasShape* frame(int slot) const;
    CanvasShape* selector() const { return m_selector; }
    CanvasShape* screen() const { return m_screen; }
    CanvasText* txtX() const { return m_txtX; }
    CanvasText* txtY() const { return m_txtY; }
    CanvasText* txtCX() const { return m_txtCX; }
    CanvasText* txtCY() const { return m_txtCY; }
    CanvasText* nameLabel() const { return m_nameLabel; }

signals:
    // An item's rectangle, visibility or look changed.
    void itemChanged(CanvasItem* item, const QRectF& before, const QRectF& after);

private:
    template <class Item> Item* make(const QString& name);

    CanvasBitmap* m_background = nullptr;
    std::array<CanvasBitmap*, SlotCount> m_bitmaps{};
    std::array<CanvasShape*, SlotCount> m_frames{};
    CanvasShape* m_selector = nullptr;
    CanvasShape* m_screen = nullptr;
    CanvasText* m_txtX = nullptr;
    CanvasText* m_txtY = nullptr;
    CanvasText* m_txtCX = nullptr;
    CanvasText* m_txtCY = nullptr;
    CanvasText* m_nameLabel = nullptr;
    int m_twipsX = 15;
    int m_twipsY = 15;
};
