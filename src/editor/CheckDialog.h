#pragma once

#include "Finding.h"

#include <QDialog>
#include <QList>

class QTreeWidget;

// The skin checker's findings for the skin in the editor, one row each. A
// double click on a row closes the list and picks that finding.
class CheckDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CheckDialog(const QList<Finding>& findings, QWidget* parent = nullptr);

    // The finding picked by a double click; null when the list was closed otherwise.
    const Finding* chosen() const { return m_chosen >= 0 ? &m_findings.at(m_chosen) : nullptr; }

private:
    QList<Finding> m_findings;
    int m_chosen = -1;
};
