#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class ElementList;
class LayoutDocument;

// The elements the user locked, by file and section: a lock stays with its
// element across screens while the program runs and is never stored.
class LockKeeper : public QObject
{
    Q_OBJECT

public:
    LockKeeper(LayoutDocument& document, ElementList& list, QObject* parent = nullptr);

    void setLocked(int slot, bool locked);
    // Every selected element locked or free again.
    void setSelectionLocked(bool locked);

private:
    QString keyOf(int slot) const;
    void restore();

    LayoutDocument& m_document;
    ElementList& m_list;
    QSet<QString> m_locks;
};
