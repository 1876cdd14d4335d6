#pragma once

#include "SpeedProfile.h"

#include <QWidget>

#include <array>

// The sixteen road classes of a speed profile as a chart: the speed of each
// class as a bar on the left axis (km/h) and its preference factor as a point
// on the right axis, Außerorts on the left half, Innerorts on the right. It
// shows the numbers the profile computed and computes none of its own.
class SpeedProfileChart : public QWidget
{
    Q_OBJECT

public:
    explicit SpeedProfileChart(QWidget* parent = nullptr);

    void showProfile(const SpeedProfile& profile);

    double speed(int i) const { return m_classes[std::size_t(i)].speed; }
    double factor(int i) const { return m_classes[std::size_t(i)].factor; }

    // Where class i is drawn at the widget's current size.
    QRectF speedBar(int i) const;
    QPointF factorPoint(int i) const;

    static QColor speedColor() { return {0x3a, 0x6e, 0xa5}; }
    static QColor factorColor() { return {0xe0, 0x6c, 0x00}; }

    QSize sizeHint() const override { return {460, 360}; }
    QSize minimumSizeHint() const override { return {320, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Values
    {
        double speed = 0;
        double factor = 0;
    };

    QRectF plotArea() const;
    // Left edge and width of the slot of class i inside the plot area.
    double slotLeft(int i) const;
    double slotWidth() const;

    std::array<Values, SpeedProfile::ClassCount> m_classes{};
    double m_speedTop = 1;  // the left axis' top value
    double m_factorTop = 1; // the right axis' top value
};
