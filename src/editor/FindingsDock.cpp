#include "FindingsDock.h"

#include <QHeaderView>
#include <QTreeWidget>

FindingsDock::FindingsDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Befunde"), parent), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("FindingsDock"));
    setAccessibleName(QStringLiteral("Befunde"));
    m_list->setObjectName(QStringLiteral("findingList"));
    m_list->setAccessibleName(QStringLiteral("Befunde (Doppelklick zeigt das Element)"));
    m_list->setToolTip(QStringLiteral("„Prüfen“ füllt die Liste; ein Doppelklick zeigt das Element."));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Art"), QStringLiteral("Bildschirm"), QStringLiteral("Datei"),
                             QStringLiteral("Abschnitt"), QStringLiteral("Meldung")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setWidget(m_list);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int row = m_list->indexOfTopLevelItem(item);
        if (row >= 0 && row < m_findings.size())
            emit findingChosen(m_findings.at(row));
    });
}

void FindingsDock::setFindings(const QList<Finding>& findings)
{
    m_findings = findings;
    m_list->clear();
    for (const Finding& f : findings) {
        const QString screen = f.moreScreens > 0 ? QStringLiteral("%1 (+%2)").arg(f.screen).arg(f.moreScreens) : f.screen;
        auto* row = new QTreeWidgetItem(m_list, {f.severity == Finding::Severity::Error ? QStringLiteral("Fehler")
                                                                                        : QStringLiteral("Warnung"),
                                                 screen, f.file, f.section, f.message});
        row->setToolTip(4, f.message);
    }
}
