#pragma once

#include "Finding.h"

#include <QList>
#include <QTableWidget>

class LayoutDocument;

// The bound screen's elements as a table beside the canvas: section, file,
// x, y, cx, cy in device pixels, whether it shows, and a lock. A click on a
// row selects its element, so hidden or covered elements are reachable; the
// rows follow the selection made on the canvas.
class ElementList : public QTableWidget
{
    Q_OBJECT

public:
    enum Column { Section, File, X, Y, CX, CY, Shown, Locked, ColumnCount };

    explicit ElementList(LayoutDocument& document, QWidget* parent = nullptr);

    // The element's section and rectangle, as its tool tip on the canvas says it.
    static QString describe(const LayoutDocument& document, int slot);

    // Marks the rows of elements the last skin check found something about:
    // the section cell shows the severity's icon and the findings as its tool
    // tip. The marks follow the screen shown until the next check.
    void setFindings(const QList<Finding>& findings);

    void setLocked(int slot, bool locked);
    bool isLocked(int slot) const;

signals:
    // The user ticked or cleared the lock of slot.
    void lockToggled(int slot, bool locked);

private:
    void rebuild();
    void showValues(int slot);
    void markFindings(int row, const QString& file, const QString& section);
    void followSelection();
    void takeSelection();
    int rowOf(int slot) const;
    int slotOf(int row) const;

    LayoutDocument& m_document;
    bool m_following = false; // the rows are being set from the document
    QList<Finding> m_findings;
};
