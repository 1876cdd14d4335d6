#include "ScreenBar.h"

#include "ScreenCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

ScreenBar::ScreenBar(QWidget* parent)
    : QToolBar(QStringLiteral("Bildschirm"), parent)
{
    setObjectName(QStringLiteral("ScreenToolBar"));
    setAccessibleName(QStringLiteral("Bildschirmleiste"));
    // One widget for the row: the map-view boxes come and go at once, and keep their room.
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 0, 4, 0);
    auto* label = new QLabel(QStringLiteral("B&ildschirm:"), row);
    ComboAnsicht = new QComboBox(row);
    ComboAnsicht->setObjectName(QStringLiteral("ComboAnsicht"));
    // "Bildschirm" names the canvas.
    ComboAnsicht->setAccessibleName(QStringLiteral("Bildschirmliste"));
    ComboAnsicht->setEditable(false);
    ComboAnsicht->addItems(ScreenCatalogue::sortedNames());
    ComboAnsicht->setMaxVisibleItems(20);
    ComboAnsicht->setCurrentIndex(-1);
    ComboAnsicht->setMinimumContentsLength(22);
    label->setBuddy(ComboAnsicht);
    ChkInfobar = new QCheckBox(QStringLiteral("Infobar eingeschaltet"), row);
    ChkInfobar->setObjectName(QStringLiteral("ChkInfobar"));
    ChkInfobar->setChecked(true);
    ChkDummys = new QCheckBox(QStringLiteral("Dummys sichtbar"), row);
    ChkDummys->setObjectName(QStringLiteral("ChkDummys"));
    for (QCheckBox* box : {ChkInfobar, ChkDummys}) {
        // Hiding them on other screens must not shift the rest of the row.
        QSizePolicy policy = box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        box->setSizePolicy(policy);
    }
    ChkSnap = new QCheckBox(QStringLiteral("Einrasten"), row);
    ChkSnap->setObjectName(QStringLiteral("ChkSnap"));
    ChkSnap->setToolTip(QStringLiteral("Beim Ziehen an Kanten und Mitten einrasten (Alt hält es an)"));
    for (QWidget* w : std::initializer_list<QWidget*>{label, ComboAnsicht, ChkInfobar, ChkDummys, ChkSnap})
        layout->addWidget(w);
    addWidget(row);
    setMapBoxesVisible(false);
}

void ScreenBar::setMapBoxesVisible(bool visible)
{
    ChkInfobar->setVisible(visible);
    ChkDummys->setVisible(visible);
}
