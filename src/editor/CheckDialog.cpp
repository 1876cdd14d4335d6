#include "CheckDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CheckDialog::CheckDialog(const QList<Finding>& findings, QWidget* parent)
    : QDialog(parent), m_findings(findings)
{
    setObjectName(QStringLiteral("CheckDialog"));
    setWindowTitle(QStringLiteral("Prüfen"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Befunde (Doppelklick zeigt das Element):"), this);
    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("findingList"));
    label->setBuddy(list);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Art"), QStringLiteral("Bildschirm"), QStringLiteral("Datei"),
                           QStringLiteral("Abschnitt"), QStringLiteral("Meldung")});
    for (const Finding& f : findings) {
        const QString screen = f.moreScreens > 0 ? QStringLiteral("%1 (+%2)").arg(f.screen).arg(f.moreScreens) : f.screen;
        auto* row = new QTreeWidgetItem(list, {f.severity == Finding::Severity::Error ? QStringLiteral("Fehler")
                                                                                      : QStringLiteral("Warnung"),
                                               screen, f.file, f.section, f.message});
        row->setToolTip(4, f.message);
    }
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this, list](QTreeWidgetItem* item) {
        m_chosen = list->indexOfTopLevelItem(item);
        accept();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    resize(900, 420);
}
