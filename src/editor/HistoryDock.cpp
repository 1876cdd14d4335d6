#include "HistoryDock.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QStyle>
#include <QUndoStack>

HistoryDock::HistoryDock(QUndoStack& history, QWidget* parent)
    : QDockWidget(QStringLiteral("Verlauf"), parent), m_history(history), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("HistoryDock"));
    setAccessibleName(QStringLiteral("Verlauf"));
    m_list->setObjectName(QStringLiteral("HistoryView"));
    m_list->setAccessibleName(QStringLiteral("Verlauf"));
    m_list->setUniformItemSizes(true);
    // Scrolling to the current row on every step would lay the whole list out each time.
    m_list->setAutoScroll(false);
    m_savedIcon = style()->standardIcon(QStyle::SP_DialogSaveButton);
    setWidget(m_list);
    connect(&history, &QUndoStack::indexChanged, this, &HistoryDock::follow);
    connect(&history, &QUndoStack::cleanChanged, this, &HistoryDock::follow);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_history.setIndex(row);
    });
    follow();
}

void HistoryDock::follow()
{
    const QSignalBlocker quiet(m_list);
    const int rows = m_history.count() + 1;
    const bool resized = m_list->count() != rows;
    while (m_list->count() > rows)
        delete m_list->takeItem(m_list->count() - 1);
    while (m_list->count() < rows)
        m_list->addItem(QString());
    for (int row = 0; row < rows; ++row) {
        QListWidgetItem* item = m_list->item(row);
        const QString text = row == 0 ? QStringLiteral("Geladen") : m_history.text(row - 1);
        if (item->text() != text)
            item->setText(text);
        const bool clean = row == m_history.cleanIndex();
        if (item->data(Qt::UserRole).toBool() != clean) {
            item->setData(Qt::UserRole, clean);
            item->setIcon(clean ? m_savedIcon : QIcon());
        }
    }
    m_list->setCurrentRow(m_history.index());
    if (resized)
        m_list->scrollToItem(m_list->currentItem());
}
