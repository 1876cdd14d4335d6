#pragma once

#include <QRectF>

class Canvas;
class LayoutDocument;
class QPainter;
class ViewTransform;

// Room around the screen area so frames on its edge stay whole, in pixels.
inline constexpr int ScreenMargin = 4;

// Paints a bound screen as the editor's canvas shows it: the background, the
// element bitmaps, their frames, the screen frame and the selection marker,
// placed through transform. The canvas view, the command-line renderer and
// thumbnails all draw with it; nothing outside `clip` needs to be drawn.
void PaintScreen(QPainter& painter, const Canvas& canvas, const LayoutDocument& document,
                 const ViewTransform& transform, const QRectF& clip);
