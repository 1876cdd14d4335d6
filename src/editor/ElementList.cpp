#include "ElementList.h"

#include "LayoutDocument.h"
#include "NumberText.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyle>

namespace {

// The slot a row stands for travels with its first cell.
constexpr int SlotRole = Qt::UserRole + 1;

QTableWidgetItem* readOnly(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

ElementList::ElementList(LayoutDocument& document, QWidget* parent)
    : QTableWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("ElementList"));
    setAccessibleName(QStringLiteral("Elemente"));
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({QStringLiteral("Abschnitt"), QStringLiteral("Datei"), QStringLiteral("X"),
                               QStringLiteral("Y"), QStringLiteral("CX"), QStringLiteral("CY"),
                               QStringLiteral("sichtbar"), QStringLiteral("gesperrt")});
    horizontalHeaderItem(Locked)->setToolTip(
        QStringLiteral("Gesperrte Elemente lassen sich nicht verschieben (nur solange Tivaro läuft)"));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // Sized once per screen: measuring every cell on each drag step would cost more than the drag.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    setFocusPolicy(Qt::ClickFocus);

    connect(&m_document, &LayoutDocument::loaded, this, &ElementList::rebuild);
    connect(&m_document, &LayoutDocument::rectsChanged, this, [this](const QList<int>& changed) {
        for (int slot : changed)
            showValues(slot);
    });
    connect(&m_document, &LayoutDocument::selectionChanged, this, &ElementList::followSelection);
    connect(this, &QTableWidget::itemSelectionChanged, this, &ElementList::takeSelection);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == Locked && !m_following)
            emit lockToggled(slotOf(item->row()), item->checkState() == Qt::Checked);
    });
    rebuild();
}

QString ElementList::describe(const LayoutDocument& document, int slot)
{
    if (!document.contains(slot))
        return {};
    const ShownFloats v = document.shown(slot);
    return QStringLiteral("%1: x %2, y %3, cx %4, cy %5")
        .arg(document.caption(slot), SingleText(v[FieldX]), SingleText(v[FieldY]), SingleText(v[FieldCX]),
             SingleText(v[FieldCY]));
}

void ElementList::rebuild()
{
    m_following = true;
    const QSignalBlocker quiet(this);
    clearContents();
    setRowCount(0);
    for (int slot = 0; slot < m_document.count(); ++slot) {
        if (m_document.section(slot).isEmpty())
            continue;
        const int row = rowCount();
        insertRow(row);
        QTableWidgetItem* section = readOnly(m_document.section(slot));
        section->setData(SlotRole, slot);
        setItem(row, Section, section);
        setItem(row, File, readOnly(m_document.file(slot)));
        setItem(row, Shown, readOnly(m_document.visible(slot) ? QStringLiteral("ja") : QStringLiteral("nein")));
        auto* lock = new QTableWidgetItem;
        lock->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        lock->setCheckState(Qt::Unchecked);
        setItem(row, Locked, lock);
        markFindings(row, m_document.file(slot), m_document.section(slot));
        showValues(slot);
    }
    resizeColumnsToContents();
    m_following = false;
    followSelection();
}

void ElementList::setFindings(const QList<Finding>& findings)
{
    m_findings = findings;
    rebuild();
}

void ElementList::markFindings(int row, const QString& file, const QString& section)
{
    QStringList messages;
    bool error = false;
    for (const Finding& f : std::as_const(m_findings)) {
        if (!FindingConcerns(f, file, section))
            continue;
        messages << f.message;
        error = error || f.severity == Finding::Severity::Error;
    }
    if (messages.isEmpty())
        return;
    QTableWidgetItem* cell = item(row, Section);
    cell->setIcon(QApplication::style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                            : QStyle::SP_MessageBoxWarning));
    cell->setToolTip(messages.join(u'\n'));
}

void ElementList::showValues(int slot)
{
    const int row = rowOf(slot);
    if (row < 0)
        return;
    const ShownFloats v = m_document.shown(slot);
    const bool wasFollowing = m_following;
    m_following = true;
    for (int f = 0; f < 4; ++f) {
        if (QTableWidgetItem* cell = item(row, X + f))
            cell->setText(SingleText(v[f]));
        else
            setItem(row, X + f, readOnly(SingleText(v[f])));
    }
    m_following = wasFollowing;
}

void ElementList::followSelection()
{
    if (m_following)
        return;
    m_following = true;
    const QSignalBlocker quiet(this);
    clearSelection();
    const QList<int> chosen = m_document.selection();
    for (int slot : chosen) {
        const int row = rowOf(slot);
        if (row >= 0)
            selectionModel()->select(model()->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    const int current = rowOf(m_document.current());
    if (current >= 0) {
        selectionModel()->setCurrentIndex(model()->index(current, 0), QItemSelectionModel::NoUpdate);
        scrollToItem(item(current, 0));
    }
    // The selection model repaints the rows that changed; the rest of the table stays.
    m_following = false;
}

void ElementList::takeSelection()
{
    if (m_following)
        return;
    QList<int> chosen;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        chosen << slotOf(index.row());
    const int current = currentRow() >= 0 && chosen.contains(slotOf(currentRow())) ? slotOf(currentRow())
                                                                                  : (chosen.isEmpty() ? -1 : chosen.first());
    m_following = true;
    m_document.setSelection(chosen, current);
    m_following = false;
}

void ElementList::setLocked(int slot, bool locked)
{
    const int row = rowOf(slot);
    if (row < 0)
        return;
    m_following = true;
    item(row, Locked)->setCheckState(locked ? Qt::Checked : Qt::Unchecked);
    m_following = false;
}

bool ElementList::isLocked(int slot) const
{
    const int row = rowOf(slot);
    return row >= 0 && item(row, Locked)->checkState() == Qt::Checked;
}

int ElementList::rowOf(int slot) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (slotOf(row) == slot)
            return row;
    return -1;
}

int ElementList::slotOf(int row) const
{
    const QTableWidgetItem* first = item(row, Section);
    return first ? first->data(SlotRole).toInt() : -1;
}
