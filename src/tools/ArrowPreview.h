#pragma once

#include "ArrowColors.h"

#include <QColor>
#include <QWidget>

#include <array>

// One schematic's turn arrow as MN4 draws it: the other roads of a crossing,
// the route coming up from below and turning right, and the arrow's front at
// its end, each in its colour of the arrow colour table.
class ArrowPreview : public QWidget
{
    Q_OBJECT

public:
    explicit ArrowPreview(QWidget* parent = nullptr);

    void setColor(ArrowColors::Kind kind, const QColor& color);
    QColor color(ArrowColors::Kind kind) const { return m_colors[kind]; }

    // A point well inside the part drawn in the colour of kind.
    static QPoint inside(ArrowColors::Kind kind);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QColor, 3> m_colors; // [kind]
};
