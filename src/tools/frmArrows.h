#pragma once

#include "ArrowColors.h"

#include <QDialog>

#include <array>

class ArrowPreview;
class QFrame;
class QLabel;
class QRadioButton;
class QScrollBar;
class QToolButton;
class Prompter;

// The route arrow colours of a skin's two schematic views: one colour at a
// time (route, all roads or front) edited as red, green and blue scroll bars
// for both schematics, with the stored hex text and a small preview.
class frmArrows : public QDialog
{
    Q_OBJECT

public:
    // skinFolder ends with a separator; NavLib.ini is read from and written there.
    frmArrows(Prompter& prompter, const QString& skinFolder, QWidget* parent = nullptr);

    const ArrowColors& colors() const { return m_colors; }

    // Writes the six colours; a failure is reported and keeps the changed flag.
    bool BTNSave_Click();

protected:
    // Every way of closing asks about unsaved colours first; a failed save keeps the window open.
    void done(int result) override;

private:
    struct Preview
    {
        std::array<QFrame*, 3> route{}; // LRoute<nr>, LRoute<nr>1, LRoute<nr>2
        QFrame* allRoads = nullptr;
        QFrame* front = nullptr;
        ArrowPreview* picture = nullptr;
        std::array<QToolButton*, 3> swatches{}; // [kind]
    };

    QWidget* buildSchematic(int nr);
    void Form_Load();
    void RefreshSelection();
    void SetScrollBars(int nr);
    void SetColors(int nr, ArrowColors::Component component);
    void SetHexLabel(int nr);
    void PaintPreview(int nr);
    // Lets the user pick colour kind of schematic nr in a colour dialog; the
    // pick goes through the option button and the scroll bars like any change.
    void pickColor(int nr, ArrowColors::Kind kind);
    QRadioButton* option(ArrowColors::Kind kind) const;

    Prompter& m_prompter;
    ArrowColors m_colors;
    QRadioButton* m_route = nullptr;
    QRadioButton* m_allRoads = nullptr;
    QRadioButton* m_front = nullptr;
    std::array<std::array<QScrollBar*, 3>, 2> m_bars{}; // [nr - 1][component]
    std::array<QLabel*, 2> m_hex{};
    std::array<Preview, 2> m_previews{};
};

// Opens the arrow colour editor for the NavLib.ini of skinFolder as a modal
// window owned by owner, through the program's prompter.
void showArrowColours(QWidget* owner, Prompter& prompter, const QString& skinFolder);
