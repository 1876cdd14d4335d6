#include "LayoutWrites.h"

#include "Ini.h"
#include "IniCache.h"
#include "NumberText.h"

#include <QFileInfo>

#include <vector>

namespace {

// The layout file as it is on disk now; null when it is missing or unreadable.
std::shared_ptr<const IniDocument> storedLayout(const QString& file)
{
    IniCache::Stamp stamp;
    const QString path = IniCache::resolve(file, &stamp);
    return stamp.kind == IniCache::Kind::File ? IniCache::instance().load(path, stamp) : nullptr;
}

} // namespace

LayoutWrites::LayoutWrites(const QLocale& locale) : m_locale(locale) {}

LayoutWrites::~LayoutWrites() = default;

void LayoutWrites::add(const QString& file, const QString& section, const SlotValues& values)
{
    FileWrites& batch = m_files[file];
    if (!batch.writes) {
        batch.writes = std::make_unique<IniBatch>(file);
        batch.stored = storedLayout(file);
        m_order << file;
    }
    for (const auto& [key, value] : values) {
        const auto stored = batch.stored ? batch.stored->value(section, key) : std::nullopt;
        if (!stored || LayoutNumber(*stored, m_locale) != LayoutNumber(value, m_locale)) {
            batch.writes->write(section, key, value);
            batch.changes = true;
        }
    }
}

QStringList LayoutWrites::commit()
{
    std::vector<IniBatch*> inOrder;
    for (const QString& file : std::as_const(m_order))
        inOrder.push_back(m_files[file].writes.get());
    return IniBatch::commitTogether(inOrder);
}

QStringList LayoutWrites::changedFiles() const
{
    QStringList changed;
    for (const QString& file : m_order)
        if (m_files.at(file).changes)
            changed << QFileInfo(file).fileName();
    return changed;
}
