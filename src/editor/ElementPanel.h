#pragma once

#include "LayoutRules.h"

#include <QWidget>

#include <optional>

class Canvas;
class CanvasText;
class Elements;
class LayoutDocument;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Element" dock: the active element's name, its coordinate fields X, Y,
// CX, CY and the nudge cross with the mode button in its centre. A typed value
// reaches the document at once; the field keeps the user's text until it is left.
class ElementPanel : public QWidget
{
    Q_OBJECT

public:
    ElementPanel(LayoutDocument& document, Canvas& canvas, Elements& elements, QWidget* parent = nullptr);

    QLineEdit* field(Field which) const;
    // The coordinate field widget is, if it is one.
    std::optional<Field> fieldOf(const QObject* widget) const;
    // The fields show the active element's rectangle again; a run of typed steps ends.
    void showActiveValues();
    // ↑ or ↓ in a coordinate field: its value one pixel up or down, merged as typing.
    void stepField(Field which, int step);
    // The mode button names the nudge mode (0 "pos.", 1 "scale+", 2 "scale-").
    void showMode(int mode);

signals:
    void nudgeClicked(NudgeDirection direction);
    void modeClicked();

private:
    void buildName();
    void buildFields();
    void buildCross();
    void bindField(QLineEdit* field, Field which);
    CanvasText* fieldText(Field which) const;

    LayoutDocument& m_document;
    Canvas& m_canvas;
    Elements& m_elements;
    QLabel* Label2 = nullptr;
    QLabel* LBLiniName = nullptr;
    QLineEdit* txtX = nullptr;
    QLineEdit* txtY = nullptr;
    QLineEdit* txtCX = nullptr;
    QLineEdit* txtCY = nullptr;
    QPushButton* MoveN = nullptr;
    QPushButton* MoveS = nullptr;
    QPushButton* MoveW = nullptr;
    QPushButton* MoveO = nullptr;
    QPushButton* BTNpos = nullptr;
};
