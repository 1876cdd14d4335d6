#include "SpeedProfileChart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const std::array<QString, 8> ClassLabels = {
    QStringLiteral("BAB"),      QStringLiteral("Schnellstr."), QStringLiteral("Bundesstr."),
    QStringLiteral("Landstr."), QStringLiteral("Nebenstr."),   QStringLiteral("Gasse"),
    QStringLiteral("Feldweg"),  QStringLiteral("Wohnstr."),
};

constexpr int AxisSteps = 4;
constexpr double GroupGap = 16; // pixels between Außerorts and Innerorts

// The smallest value above top that splits into AxisSteps round steps (1, 2, 2.5 or 5 times a power of ten).
double roundedTop(double top)
{
    if (!(top > 0) || !std::isfinite(top))
        return 1;
    const double rawStep = top / AxisSteps;
    const double power = std::pow(10.0, std::floor(std::log10(rawStep)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (factor * power >= rawStep)
            return factor * power * AxisSteps;
    return top;
}

QString axisText(double value)
{
    return QLocale().toString(value, 'g', 4);
}

} // namespace

SpeedProfileChart::SpeedProfileChart(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("speedProfileChart"));
    setAccessibleName(QStringLiteral("Geschwindigkeit und Vorzugsfaktor je Straßenklasse"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SpeedProfileChart::showProfile(const SpeedProfile& profile)
{
    double fastest = 0;
    double best = 0;
    QStringList description;
    for (int i = 0; i < SpeedProfile::ClassCount; ++i) {
        Values& values = m_classes[std::size_t(i)];
        values.speed = profile.value(i, SpeedProfile::Speed);
        values.factor = profile.value(i, SpeedProfile::PreferenceFactor);
        fastest = std::max(fastest, values.speed);
        best = std::max(best, values.factor);
        description << QStringLiteral("%1 %2: %3 km/h, Faktor %4")
                           .arg(ClassLabels[std::size_t(i % 8)], i < 8 ? QStringLiteral("außerorts")
                                                                       : QStringLiteral("innerorts"),
                                axisText(values.speed), axisText(values.factor));
    }
    m_speedTop = roundedTop(fastest);
    m_factorTop = roundedTop(best);
    setAccessibleDescription(description.join(QStringLiteral("; ")));
    update();
}

QRectF SpeedProfileChart::plotArea() const
{
    const QFontMetricsF metrics(font());
    const double side = metrics.horizontalAdvance(QStringLiteral("0000")) + 8;
    const double top = metrics.height() * 2 + 8;
    const double bottom = metrics.horizontalAdvance(QStringLiteral("Schnellstr.")) + metrics.height() + 12;
    return QRectF(side, top, width() - 2 * side, height() - top - bottom);
}

double SpeedProfileChart::slotWidth() const
{
    return std::max(0.0, (plotArea().width() - GroupGap) / SpeedProfile::ClassCount);
}

double SpeedProfileChart::slotLeft(int i) const
{
    return plotArea().left() + i * slotWidth() + (i >= 8 ? GroupGap : 0);
}

QRectF SpeedProfileChart::speedBar(int i) const
{
    const QRectF area = plotArea();
    const double share = std::clamp(speed(i) / m_speedTop, 0.0, 1.0);
    const double barWidth = slotWidth() * 0.6;
    const double left = slotLeft(i) + (slotWidth() - barWidth) / 2;
    return QRectF(left, area.bottom() - share * area.height(), barWidth, share * area.height());
}

QPointF SpeedProfileChart::factorPoint(int i) const
{
    const QRectF area = plotArea();
    const double share = std::clamp(factor(i) / m_factorTop, 0.0, 1.0);
    return {slotLeft(i) + slotWidth() / 2, area.bottom() - share * area.height()};
}

void SpeedProfileChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QRectF area = plotArea();
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const QFontMetricsF metrics(font());
    const QColor text = palette().color(QPalette::Text);

    // Legend, one line each, then the axes' grid with the speed on the left and the factor on the right.
    const double lineHeight = metrics.height();
    painter.fillRect(QRectF(area.left(), 2 + lineHeight / 2 - 5, 10, 10), speedColor());
    painter.setPen(text);
    painter.drawText(QPointF(area.left() + 14, 2 + metrics.ascent()), QStringLiteral("Geschwindigkeit (km/h)"));
    const QString factorLegend = QStringLiteral("Vorzugsfaktor");
    const double factorLegendLeft = area.right() - metrics.horizontalAdvance(factorLegend);
    painter.drawText(QPointF(factorLegendLeft, 2 + lineHeight + metrics.ascent()), factorLegend);
    painter.setPen(Qt::NoPen);
    painter.setBrush(factorColor());
    painter.drawEllipse(QPointF(factorLegendLeft - 9, 2 + lineHeight * 1.5), 4, 4);
    painter.setBrush(Qt::NoBrush);
    for (int step = 0; step <= AxisSteps; ++step) {
        const double y = area.bottom() - area.height() * step / AxisSteps;
        painter.setPen(QPen(palette().color(QPalette::Mid), 0, step == 0 ? Qt::SolidLine : Qt::DotLine));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(text);
        const QRectF label(0, y - metrics.height() / 2, area.left() - 4, metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, axisText(m_speedTop * step / AxisSteps));
        painter.drawText(label.translated(area.right() + 4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         axisText(m_factorTop * step / AxisSteps));
    }

    // The class names, written upwards under their slots, and the group names below them.
    painter.setPen(text);
    const double groupTop = height() - metrics.height() - 4;
    const double half = 8 * slotWidth();
    painter.drawText(QRectF(slotLeft(0), groupTop, half, metrics.height()), Qt::AlignCenter,
                     QStringLiteral("Außerorts"));
    painter.drawText(QRectF(slotLeft(8), groupTop, half, metrics.height()), Qt::AlignCenter,
                     QStringLiteral("Innerorts"));
    for (int i = 0; i < SpeedProfile::ClassCount; ++i) {
        painter.save();
        painter.translate(slotLeft(i) + slotWidth() / 2 + metrics.ascent() / 2 - 1, area.bottom() + 4);
        painter.rotate(-90);
        painter.drawText(QPointF(-metrics.horizontalAdvance(ClassLabels[std::size_t(i % 8)]), 0),
                         ClassLabels[std::size_t(i % 8)]);
        painter.restore();
    }

    for (int i = 0; i < SpeedProfile::ClassCount; ++i)
        painter.fillRect(speedBar(i), speedColor());

    // The factors as one line per group, so the two groups do not read as one curve.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(factorColor(), 2));
    for (int group = 0; group < 2; ++group) {
        QPainterPath line(factorPoint(group * 8));
        for (int i = group * 8 + 1; i < group * 8 + 8; ++i)
            line.lineTo(factorPoint(i));
        painter.drawPath(line);
    }
    painter.setBrush(factorColor());
    for (int i = 0; i < SpeedProfile::ClassCount; ++i)
        painter.drawEllipse(factorPoint(i), 4, 4);
}
