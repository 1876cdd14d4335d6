#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <utility>

class IniBatch;
class IniDocument;

// The INI keys of one slot in the order they are written, with their values.
using SlotValues = std::array<std::pair<QString, QString>, 4>;

// The writes of one save, one batch per layout file in the order the files
// first appear. A key that already reads as its new value keeps its bytes:
// its spelling, quotes and comment stay as the skin's author wrote them.
class LayoutWrites
{
public:
    explicit LayoutWrites(const QLocale& locale);
    ~LayoutWrites();

    void add(const QString& file, const QString& section, const SlotValues& values);
    // Writes every file in one durable step; returns the files that failed.
    QStringList commit();
    // The bare names of the files whose bytes the save changes.
    QStringList changedFiles() const;

private:
    struct FileWrites
    {
        std::unique_ptr<IniBatch> writes;
        std::shared_ptr<const IniDocument> stored;
        bool changes = false;
    };

    QLocale m_locale;
    std::map<QString, FileWrites> m_files;
    QStringList m_order;
};
