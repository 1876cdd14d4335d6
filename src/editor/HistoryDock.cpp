#include "HistoryDock.h"

#include <QStyle>
#include <QUndoStack>
#include <QUndoView>

HistoryDock::HistoryDock(QUndoStack& history, QWidget* parent)
    : QDockWidget(QStringLiteral("Verlauf"), parent), m_view(new QUndoView(&history, this))
{
    setObjectName(QStringLiteral("HistoryDock"));
    setAccessibleName(QStringLiteral("Verlauf"));
    m_view->setObjectName(QStringLiteral("HistoryView"));
    m_view->setAccessibleName(QStringLiteral("Verlauf"));
    m_view->setEmptyLabel(QStringLiteral("Geladen"));
    m_view->setCleanIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    setWidget(m_view);
}
