#include "SyncPlan.h"

#include <QHash>

QString SyncStep::line() const
{
    static const QString Words[] = {QStringLiteral("neu     "), QStringLiteral("ersetzt "),
                                    QStringLiteral("entfernt")};
    return Words[int(kind)] + u' ' + path + QStringLiteral(" (%1 Bytes)").arg(size);
}

int SyncPlan::filesToSend() const
{
    return int(std::count_if(steps.begin(), steps.end(), [](const SyncStep& s) { return s.sends(); }));
}

int SyncPlan::filesToRemove() const
{
    return int(steps.size()) - filesToSend();
}

qint64 SyncPlan::bytesToSend() const
{
    qint64 bytes = 0;
    for (const SyncStep& step : steps)
        bytes += step.sends() ? step.size : 0;
    return bytes;
}

SyncPlan planSync(const QList<SkinFile>& pc, const QList<SkinFile>& stored)
{
    SyncPlan plan;
    QHash<QString, const SkinFile*> storedByKey;
    for (const SkinFile& file : stored)
        storedByKey.insert(file.path.toCaseFolded(), &file);
    QHash<QString, QString> pcByKey;
    for (const SkinFile& file : pc) {
        const QString key = file.path.toCaseFolded();
        if (pcByKey.contains(key)) {
            plan.clashes << pcByKey.value(key) << file.path;
            continue;
        }
        pcByKey.insert(key, file.path);
        const SkinFile* old = storedByKey.value(key);
        if (old && old->size == file.size && old->time == file.time) {
            ++plan.unchanged;
            continue;
        }
        using K = SyncStep::Kind;
        plan.steps.append({old ? K::Replace : K::Write, old ? old->path : file.path, file.path, file.size, file.time});
    }
    for (const SkinFile& file : stored) {
        if (!pcByKey.contains(file.path.toCaseFolded()))
            plan.steps.append({SyncStep::Kind::Remove, file.path, QString(), file.size, file.time});
    }
    plan.clashes.removeDuplicates();
    return plan;
}

QString fileCount(int files)
{
    return files == 1 ? QStringLiteral("1 Datei") : QStringLiteral("%1 Dateien").arg(files);
}

QString syncSummary(int sent, int unchanged, int removed, qint64 bytes)
{
    QString text = fileCount(sent) + QStringLiteral(" übertragen, %1 unverändert").arg(unchanged);
    if (removed > 0)
        text += QStringLiteral(", %1 entfernt").arg(removed);
    return text + QStringLiteral(", %1 KB").arg((bytes + 1023) / 1024);
}
