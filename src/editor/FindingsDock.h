#pragma once

#include "Finding.h"

#include <QDockWidget>
#include <QList>

class QTreeWidget;

// The "Befunde" dock: the skin checker's findings for the skin in the editor,
// one row each. A double click on a row asks to show that finding's element.
class FindingsDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit FindingsDock(QWidget* parent = nullptr);

    void setFindings(const QList<Finding>& findings);

signals:
    void findingChosen(const Finding& finding);

private:
    QTreeWidget* m_list;
    QList<Finding> m_findings;
};
