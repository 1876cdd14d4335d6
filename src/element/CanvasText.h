#pragma once

#include <QObject>
#include <QString>

// The text of a shared coordinate field or of the name label. The window binds
// it to its real widget: textChanged updates the widget.
class CanvasText : public QObject
{
    Q_OBJECT

public:
    explicit CanvasText(const QString& name, const QString& text = {}, QObject* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

signals:
    void textChanged(const QString& text);

private:
    QString m_text;
};
