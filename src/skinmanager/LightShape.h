#pragma once

#include <QColor>
#include <QWidget>

// A round light filled with one colour, as the connection lights show it.
class LightShape : public QWidget
{
    Q_OBJECT

public:
    explicit LightShape(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color = Qt::black;
};
