#pragma once

#include "LayoutDocument.h"

#include <QLocale>
#include <QObject>

class Canvas;
class CanvasText;

// The elements of the screen on show, by slot (0..24): the layout document as
// the canvas draws it. The canvas items are views: bitmaps and frames follow
// the document's rectangles, and the marker, the name label and the coordinate
// fields follow its current element.
class Elements : public QObject
{
    Q_OBJECT

public:
    Elements(LayoutDocument& document, Canvas& canvas, const QLocale& locale = QLocale());

    LayoutDocument& document() const { return m_document; }
    Canvas& canvas() const { return m_canvas; }
    const QLocale& locale() const { return m_locale; }
    // The fields show their numbers with this locale's decimal separator.
    void setLocale(const QLocale& locale);

    int size() const { return m_document.count(); }

    // Puts the marker on the current element and shows its name and values.
    void paintSelector();
    // The field's text for the current element's value.
    QString fieldText(Field field) const;

private:
    void showScreen();
    void showRects(const QList<int>& changed);
    // The frame and the bitmap of slot show where the document has it.
    void SyncFrame(int slot);
    void ShowCoordinates();
    CanvasText* field(Field field) const;

    LayoutDocument& m_document;
    Canvas& m_canvas;
    QLocale m_locale;
};
