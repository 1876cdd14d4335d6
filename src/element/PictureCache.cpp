#include "PictureCache.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <vector>

QImage PictureCache::load(const QString& path)
{
    const QFileInfo info(path);
    const Stamp stamp{info.size(), info.lastModified()};
    const auto it = m_pictures.find(path);
    if (it != m_pictures.end() && it->stamp == stamp) {
        it->lastUse = ++m_clock;
        return it->image;
    }
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        if (it != m_pictures.end())
            m_pictures.erase(it);
        return image;
    }
    m_pictures.insert(path, {stamp, image, ++m_clock});
    keepBudget(); // the new picture is not spare: image holds it
    return image;
}

qsizetype PictureCache::spareBytes() const
{
    qsizetype bytes = 0;
    for (const Entry& entry : m_pictures)
        if (entry.image.isDetached())
            bytes += entry.image.sizeInBytes();
    return bytes;
}

void PictureCache::keepBudget()
{
    std::vector<std::pair<quint64, QString>> spare;
    qsizetype bytes = 0;
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it)
        if (it->image.isDetached()) {
            spare.emplace_back(it->lastUse, it.key());
            bytes += it->image.sizeInBytes();
        }
    std::sort(spare.begin(), spare.end());
    for (const auto& [lastUse, path] : spare) {
        if (bytes <= m_budget)
            break;
        bytes -= m_pictures.value(path).image.sizeInBytes();
        m_pictures.remove(path);
    }
}
