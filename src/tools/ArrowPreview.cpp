#include "ArrowPreview.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Side = 112;
constexpr QPoint Crossing{48, 52};
constexpr int RoadWidth = 10;
constexpr int RouteWidth = 14;
constexpr int FrontTip = 104; // x of the arrow's point

} // namespace

ArrowPreview::ArrowPreview(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(Side, Side);
    m_colors.fill(Qt::black);
}

void ArrowPreview::setColor(ArrowColors::Kind kind, const QColor& color)
{
    if (m_colors[kind] == color)
        return;
    m_colors[kind] = color;
    update();
}

QPoint ArrowPreview::inside(ArrowColors::Kind kind)
{
    switch (kind) {
    case ArrowColors::AllRoads: return {8, Crossing.y()};          // the road running off to the left
    case ArrowColors::Route: return {Crossing.x(), Side - 12};     // the route coming up from below
    case ArrowColors::Front: return {FrontTip - 14, Crossing.y()}; // inside the arrow's front
    }
    return {};
}

void ArrowPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // MN4 draws its schematics on a dark ground.
    painter.fillRect(rect(), QColor(0x20, 0x28, 0x30));
    painter.setRenderHint(QPainter::Antialiasing);

    // The crossing's other roads: straight on, to the left and to the right.
    painter.setPen(QPen(m_colors[ArrowColors::AllRoads], RoadWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPoint(Crossing.x(), 0), Crossing);
    painter.drawLine(QPoint(0, Crossing.y()), QPoint(Side, Crossing.y()));

    // The route: up to the crossing, then right, ending where the front begins.
    const int frontBase = FrontTip - 22;
    QPainterPath route(QPointF(Crossing.x(), Side));
    route.lineTo(Crossing);
    route.lineTo(frontBase, Crossing.y());
    painter.setPen(QPen(m_colors[ArrowColors::Route], RouteWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.drawPath(route);

    QPainterPath front(QPointF(FrontTip, Crossing.y()));
    front.lineTo(frontBase, Crossing.y() - 15);
    front.lineTo(frontBase, Crossing.y() + 15);
    front.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.fillPath(front, m_colors[ArrowColors::Front]);
}
