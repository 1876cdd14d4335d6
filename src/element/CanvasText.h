#pragma once

#include <QObject>
#include <QString>

// The text of a shared coordinate field or of the name label. The window binds
// it to its real widget: textChanged updates the widget, the widget's edits
// come back through setText, and its key releases through keyUp.
class CanvasText : public QObject
{
    Q_OBJECT

public:
    explicit CanvasText(const QString& name, const QString& text = {}, QObject* parent = nullptr);

    QString text() const { return m_text; }
    // Ignored while the field's own key release is handled: see keyUp.
    void setText(const QString& text);

    // A key went up in the field; the active element hears it. The user is
    // typing here, so what the element writes back into this field meanwhile
    // is dropped: rewriting "-" as "10" would turn the next "5" into "105". The
    // window shows the element's value again when the typing ends.
    void keyUp(int key, Qt::KeyboardModifiers modifiers);

signals:
    void textChanged(const QString& text);
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);

private:
    QString m_text;
    bool m_typing = false;
};
