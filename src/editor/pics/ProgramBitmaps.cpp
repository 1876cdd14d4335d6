#include "ProgramBitmaps.h"

#include "ScreenCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cmath>

namespace {

constexpr int ScreenWidth = 240;
constexpr int ScreenHeight = 320;

enum class Look { Button, Arrow, StatusIcon, Label, Panel, ListItem, Progress, EditField, MapButton, MapPanel };

struct Style
{
    Look look;
    QSize size;
};

bool isOneOf(const QString& s, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (s == QLatin1String(n))
            return true;
    return false;
}

Style mapStyle(const QString& section)
{
    if (section == QLatin1String("infobar"))
        return {Look::MapPanel, {240, 24}};
    if (section == QLatin1String("zoomwin"))
        return {Look::MapPanel, {240, 200}};
    if (section.startsWith(QLatin1String("schematic")))
        return {Look::MapPanel, {80, 80}};
    if (isOneOf(section, {"routeinfo", "nextinfo"}))
        return {Look::MapPanel, {120, 60}};
    if (section == QLatin1String("largedummy"))
        return {Look::MapPanel, {240, 40}};
    if (isOneOf(section, {"smalldummy", "to", "from", "distance"}))
        return {Look::MapPanel, {120, 24}};
    if (isOneOf(section, {"log", "tmc", "gps", "win"}))
        return {Look::StatusIcon, {30, 30}};
    if (isOneOf(section, {"info", "Menu"}))
        return {Look::MapButton, {60, 30}};
    return {Look::MapButton, {44, 40}};
}

Style styleOf(const QString& screenName, const QString& section)
{
    if (screenName == QLatin1String("Kartenansicht"))
        return mapStyle(section);
    const QString s = section.toLower();
    if (s == QLatin1String("size"))
        return {Look::Panel, {220, 150}};
    if (isOneOf(s, {"listbox", "listboxt9", "dummy", "sipsize", "sip", "message_area"}))
        return {Look::Panel, {200, 160}};
    if (s == QLatin1String("listboxitem"))
        return {Look::ListItem, {150, 24}};
    if (isOneOf(s, {"log", "tmc", "gps", "win"}))
        return {Look::StatusIcon, {30, 30}};
    if (isOneOf(s, {"up", "down", "prev", "next", "scrollup", "scrolldown", "moveup", "movedown"}))
        return {Look::Arrow, {40, 36}};
    if (s.contains(QLatin1String("progress")) || s.startsWith(QLatin1String("tmcbar"))
        || s == QLatin1String("status_bar"))
        return {Look::Progress, {180, 16}};
    if (s == QLatin1String("edit") || s.endsWith(QLatin1String("_edit")))
        return {Look::EditField, {180, 24}};
    static const QRegularExpression labelPrefix(QStringLiteral("^st([A-Z]|routetype|highway|ferry|toll)"));
    if (s.contains(QLatin1String("static")) || s.contains(QLatin1String("title"))
        || s.startsWith(QLatin1String("message")) || labelPrefix.match(section).hasMatch()
        || isOneOf(s, {"gmt", "long", "lat", "satellites", "hdop", "speed", "street", "city", "country",
                       "frequenz", "station", "quality", "message_count"}))
        return {Look::Label, {110, 22}};
    return {Look::Button, {110, 34}};
}

// Draws text as large as fits the rectangle, down to a still legible size.
void drawFitted(QPainter& p, const QRectF& r, const QString& text, const QColor& color, bool bold,
                Qt::Alignment align = Qt::AlignCenter)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    int px = std::clamp(int(r.height() * 0.6), 7, 14);
    for (; px > 7; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).boundingRect(text).width() < r.width())
            break;
    }
    font.setPixelSize(px);
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, int(r.width()) + 1);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(r.translated(1, 1), int(align), shown);
    p.setPen(color);
    p.drawText(r, int(align), shown);
}

QPainterPath rounded(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void paintButton(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom)
{
    const qreal radius = std::min(r.height(), r.width()) / 4;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top.lighter(140));
    g.setColorAt(0.45, top);
    g.setColorAt(0.55, bottom);
    g.setColorAt(1, bottom.darker(130));
    p.fillPath(rounded(r, radius), g);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawPath(rounded(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1));
    p.setPen(QPen(QColor(10, 20, 40), 1));
    p.drawPath(rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), radius));
}

void paintArrow(QPainter& p, const QRectF& r, const QString& section)
{
    const QString s = section.toLower();
    const bool up = s.contains(QLatin1String("up"));
    const bool down = s.contains(QLatin1String("down"));
    const bool left = s == QLatin1String("prev");
    const QPointF c(r.center().x(), r.top() + r.height() * 0.4);
    const qreal a = r.height() * 0.22;
    QPolygonF tri;
    if (up)
        tri << QPointF(c.x() - a, c.y() + a / 2) << QPointF(c.x() + a, c.y() + a / 2) << QPointF(c.x(), c.y() - a);
    else if (down)
        tri << QPointF(c.x() - a, c.y() - a / 2) << QPointF(c.x() + a, c.y() - a / 2) << QPointF(c.x(), c.y() + a);
    else if (left)
        tri << QPointF(c.x() + a / 2, c.y() - a) << QPointF(c.x() + a / 2, c.y() + a) << QPointF(c.x() - a, c.y());
    else
        tri << QPointF(c.x() - a / 2, c.y() - a) << QPointF(c.x() - a / 2, c.y() + a) << QPointF(c.x() + a, c.y());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 80));
    p.drawPolygon(tri);
}

QImage canvas(QSize size, const QColor& fill)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

} // namespace

QImage ProgramBitmaps::menuBackground()
{
    QImage img = canvas({ScreenWidth, ScreenHeight}, Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, ScreenHeight);
    g.setColorAt(0, QColor(28, 52, 92));
    g.setColorAt(0.5, QColor(14, 28, 54));
    g.setColorAt(1, QColor(4, 8, 18));
    p.fillRect(img.rect(), g);
    // A faint diagonal weave, as MN4's menus have, so stretched elements stay visible.
    p.setPen(QPen(QColor(255, 255, 255, 12), 1));
    for (int x = -ScreenHeight; x < ScreenWidth; x += 6)
        p.drawLine(x, 0, x + ScreenHeight, ScreenHeight);
    p.setPen(QPen(QColor(0, 0, 0, 30), 1));
    for (int x = 0; x < ScreenWidth + ScreenHeight; x += 6)
        p.drawLine(x, 0, x - ScreenHeight, ScreenHeight);
    // Title strip and a soft glow in the middle.
    QLinearGradient strip(0, 0, 0, 26);
    strip.setColorAt(0, QColor(90, 120, 170, 160));
    strip.setColorAt(1, QColor(30, 50, 90, 120));
    p.fillRect(QRect(0, 0, ScreenWidth, 26), strip);
    p.setPen(QColor(140, 170, 220, 120));
    p.drawLine(0, 26, ScreenWidth, 26);
    QRadialGradient glow(ScreenWidth / 2.0, ScreenHeight * 0.45, ScreenWidth * 0.8);
    glow.setColorAt(0, QColor(80, 130, 200, 50));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(img.rect(), glow);
    return img;
}

QImage ProgramBitmaps::mapBackground()
{
    QImage img = canvas({ScreenWidth, ScreenHeight}, QColor(242, 238, 226));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(4711); // the same map after every build

    // Building blocks and parks on the land.
    for (int i = 0; i < 70; ++i) {
        const QRectF block(rng.bounded(ScreenWidth), rng.bounded(ScreenHeight), 10 + rng.bounded(26),
                           8 + rng.bounded(20));
        const bool park = rng.bounded(6) == 0;
        p.fillRect(block, park ? QColor(196, 226, 176) : QColor(226, 220, 208));
        p.setPen(park ? QColor(170, 205, 150) : QColor(210, 202, 188));
        p.drawRect(block);
    }
    // The river.
    QPainterPath river(QPointF(-10, 60));
    river.cubicTo(80, 40, 60, 170, 140, 190);
    river.cubicTo(200, 205, 210, 280, 260, 300);
    p.strokePath(river, QPen(QColor(150, 190, 230), 14, Qt::SolidLine, Qt::RoundCap));
    p.strokePath(river, QPen(QColor(170, 205, 240), 10, Qt::SolidLine, Qt::RoundCap));

    auto road = [&](const QPainterPath& path, qreal width, const QColor& fill, const QColor& casing) {
        p.strokePath(path, QPen(casing, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.strokePath(path, QPen(fill, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    };
    // Side streets in a loose grid.
    for (int y = 20; y < ScreenHeight; y += 38 + rng.bounded(14)) {
        QPainterPath street(QPointF(0, y));
        street.lineTo(ScreenWidth, y + rng.bounded(-12, 12));
        road(street, 3, Qt::white, QColor(190, 185, 175));
    }
    for (int x = 15; x < ScreenWidth; x += 34 + rng.bounded(16)) {
        QPainterPath street(QPointF(x, 0));
        street.lineTo(x + rng.bounded(-14, 14), ScreenHeight);
        road(street, 3, Qt::white, QColor(190, 185, 175));
    }
    // A main road and a motorway.
    QPainterPath main(QPointF(0, 250));
    main.cubicTo(70, 230, 120, 140, 240, 120);
    road(main, 6, QColor(255, 230, 120), QColor(200, 160, 60));
    QPainterPath motorway(QPointF(170, -5));
    motorway.cubicTo(150, 90, 200, 200, 120, 330);
    road(motorway, 8, QColor(240, 150, 70), QColor(170, 90, 40));
    return img;
}

QImage ProgramBitmaps::element(const QString& screenName, const QString& section)
{
    const Style style = styleOf(screenName, section);
    const QRectF r(QPointF(0, 0), QSizeF(style.size));
    const bool onMap = screenName == QLatin1String("Kartenansicht");
    QImage img = canvas(style.size, onMap ? QColor(242, 238, 226) : QColor(10, 20, 40));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF text = r.adjusted(4, 1, -4, -1);

    switch (style.look) {
    case Look::Button:
        paintButton(p, r, QColor(70, 100, 150), QColor(34, 56, 96));
        drawFitted(p, text, section, Qt::white, true);
        break;
    case Look::MapButton:
        paintButton(p, r, QColor(90, 110, 140), QColor(40, 55, 80));
        drawFitted(p, r.adjusted(3, 1, -3, -1), section, Qt::white, true);
        break;
    case Look::Arrow:
        paintButton(p, r, QColor(70, 100, 150), QColor(34, 56, 96));
        paintArrow(p, r, section);
        drawFitted(p, QRectF(r.left() + 2, r.bottom() - 13, r.width() - 4, 12), section, Qt::white, false);
        break;
    case Look::StatusIcon:
        paintButton(p, r, QColor(60, 130, 90), QColor(25, 70, 45));
        drawFitted(p, r.adjusted(2, 2, -2, -2), section, Qt::white, true);
        break;
    case Look::Label:
        p.fillRect(r, QColor(14, 28, 54));
        p.setPen(QColor(90, 120, 170));
        p.drawLine(r.bottomLeft() + QPointF(0, -0.5), r.bottomRight() + QPointF(0, -0.5));
        drawFitted(p, text, section, QColor(220, 230, 245), false, Qt::AlignLeft | Qt::AlignVCenter);
        break;
    case Look::Panel:
    case Look::MapPanel: {
        const bool light = style.look == Look::MapPanel;
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, light ? QColor(70, 80, 100) : QColor(50, 70, 110));
        g.setColorAt(1, light ? QColor(35, 42, 58) : QColor(20, 32, 60));
        p.fillPath(rounded(r, 6), g);
        p.setPen(QPen(QColor(150, 180, 230), 1.5));
        p.drawPath(rounded(r.adjusted(1, 1, -1, -1), 5));
        const qreal head = std::min<qreal>(18, r.height() - 2);
        drawFitted(p, QRectF(6, 1, r.width() - 12, head), section, QColor(255, 210, 120), true,
                   Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case Look::ListItem: {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(255, 190, 90));
        g.setColorAt(1, QColor(215, 120, 30));
        p.fillRect(r, g);
        drawFitted(p, text, section, QColor(30, 20, 10), true, Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case Look::Progress: {
        p.fillPath(rounded(r, 4), QColor(20, 30, 50));
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(120, 220, 120));
        g.setColorAt(1, QColor(40, 140, 50));
        p.fillPath(rounded(QRectF(1, 1, r.width() * 0.6, r.height() - 2), 3), g);
        p.setPen(QColor(150, 180, 230));
        p.drawPath(rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 4));
        drawFitted(p, text, section, Qt::white, false);
        break;
    }
    case Look::EditField:
        p.fillRect(r, Qt::white);
        p.setPen(QColor(120, 130, 150));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        drawFitted(p, text, section, QColor(30, 30, 30), false, Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    return img;
}

QStringList ProgramBitmaps::writeAll(const QString& programFolder)
{
    const QDir root(programFolder);
    QStringList failed;
    auto write = [&](const QString& relative, const QImage& image) {
        const QString path = root.filePath(relative);
        if (!QDir().mkpath(QFileInfo(path).absolutePath())
            || !image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
            failed << relative;
    };
    write(ScreenCatalogue::backgroundBitmap(false), menuBackground());
    write(ScreenCatalogue::backgroundBitmap(true), mapBackground());
    const QString map = QStringLiteral("Kartenansicht");
    for (const MapSlot& slot : ScreenCatalogue::mapView())
        write(ScreenCatalogue::elementBitmap(map, slot.section), element(map, slot.section));
    for (const ScreenEntry& screen : ScreenCatalogue::screens()) {
        if (screen.loader == LoaderKind::MapView)
            continue;
        for (const QString& section : screen.sections)
            write(ScreenCatalogue::elementBitmap(ScreenCatalogue::pictureFolder(screen), section),
                  element(screen.displayName, section));
    }
    return failed;
}
