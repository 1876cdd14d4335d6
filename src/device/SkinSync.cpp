#include "SkinSync.h"

#include "DeviceLink.h"
#include "FileTime.h"
#include "Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

const QStringList SkinSync::PartFolders = {QString(), QStringLiteral("Layout"), QStringLiteral("Font"),
                                           QStringLiteral("Font2")};

namespace {

// A name Windows CE can hold as one file of one folder.
bool deviceCanHold(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

// The PC file of a path below the skin, its part folder in any letter case.
QString pcFileOf(const QString& pcSkin, const QString& path)
{
    const qsizetype cut = path.indexOf(u'\\');
    if (cut < 0)
        return QDir(pcSkin).filePath(path);
    return QDir(FindAnyCase(pcSkin, path.left(cut))).filePath(path.mid(cut + 1));
}

QString below(const QString& part, const QString& name)
{
    return part.isEmpty() ? name : part + u'\\' + name;
}

} // namespace

SkinSync::SkinSync(DeviceLink& link)
    : m_link(link)
{
}

QList<SkinFile> SkinSync::scanPc(const QString& pcSkin, QStringList& refused)
{
    QList<SkinFile> files;
    for (const QString& part : PartFolders) {
        const QString folder = part.isEmpty() ? pcSkin : FindAnyCase(pcSkin, part);
        if (!QFileInfo(folder).isDir())
            continue;
        const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo& file : entries) {
            if (!deviceCanHold(file.fileName()))
                refused << below(part, file.fileName());
            else
                files.append({below(part, file.fileName()), file.size(), fileTimeOf(file)});
        }
    }
    return files;
}

QList<SkinFile> SkinSync::scanStored(const QString& deviceSkin)
{
    QList<SkinFile> files;
    m_rootFiles.clear();
    m_leftovers.clear();
    static const QRegularExpression staging(QStringLiteral("^~sync\\d+$"));
    const QList<CeFindData> root = m_link.ListDeviceEntries(deviceSkin);
    for (const CeFindData& entry : root) {
        if (!(entry.dwFileAttributes & CeFile::AttributeDirectory)) {
            files.append({entry.cFileName, qint64(entry.nFileSize), entry.ftLastWriteTime});
            m_rootFiles << entry.cFileName;
            continue;
        }
        if (staging.match(entry.cFileName).hasMatch())
            m_leftovers << entry.cFileName;
        const auto part = std::find_if(PartFolders.begin() + 1, PartFolders.end(), [&](const QString& p) {
            return p.compare(entry.cFileName, Qt::CaseInsensitive) == 0;
        });
        if (part == PartFolders.end())
            continue;
        for (const CeFindData& inside : m_link.ListDeviceEntries(deviceSkin + u'\\' + entry.cFileName)) {
            if (!(inside.dwFileAttributes & CeFile::AttributeDirectory))
                files.append({below(*part, inside.cFileName), qint64(inside.nFileSize), inside.ftLastWriteTime});
        }
    }
    return files;
}

SkinSync::Result SkinSync::run(const QString& pcSkin, const QString& deviceSkin, const SyncPlan& plan,
                               const Progress& progress)
{
    Result result;
    RemoteApi& api = m_link.api();
    const qint64 total = plan.bytesToSend();
    // The staging folder's name is one no root file has, here or on the PC.
    const QString staging = deviceSkin + u'\\'
                            + DeviceLink::freeName(QStringLiteral("~sync"),
                                                   m_rootFiles + QDir(pcSkin).entryList(QDir::Files | QDir::Hidden));
    for (const QString& leftover : std::as_const(m_leftovers))
        m_link.DeleteDeviceFolder(deviceSkin + u'\\' + leftover);
    if (plan.filesToSend() > 0)
        api.CeCreateDirectory(staging);

    // Everything to send crosses the link first.
    qint64 done = 0;
    for (qsizetype i = 0; i < plan.steps.size(); ++i) {
        const SyncStep& step = plan.steps.at(i);
        if (!step.sends())
            continue;
        const qint64 fileStart = done;
        const DeviceLink::Sent sent = m_link.sendFile(
            pcFileOf(pcSkin, step.pcPath), staging + u'\\' + QString::number(i),
            [&](quint32 bytes) {
                done += bytes;
                return !progress || progress(step, done, total);
            },
            step.time);
        if (!sent.whole) {
            result.stopped = sent.stopped;
            result.failure = sent.failure.isEmpty() ? QString() : step.path + QStringLiteral(": ") + sent.failure;
            m_link.DeleteDeviceFolder(staging);
            return result;
        }
        done = fileStart + step.size;
        // An empty file hears no chunk, but a stop asked for during it still counts.
        if (progress && step.size == 0 && !progress(step, done, total)) {
            result.stopped = true;
            m_link.DeleteDeviceFolder(staging);
            return result;
        }
    }

    // All have arrived: now the few moves on the device itself.
    QStringList parts;
    for (const SyncStep& step : plan.steps) {
        if (step.kind == SyncStep::Kind::Write && step.path.contains(u'\\'))
            parts << step.path.section(u'\\', 0, 0);
    }
    parts.removeDuplicates();
    for (const QString& part : std::as_const(parts))
        api.CeCreateDirectory(deviceSkin + u'\\' + part); // an existing one stays as it is
    for (qsizetype i = 0; i < plan.steps.size(); ++i) {
        const SyncStep& step = plan.steps.at(i);
        const QString target = deviceSkin + u'\\' + step.path;
        const QString staged = staging + u'\\' + QString::number(i);
        bool moved = false;
        switch (step.kind) {
        case SyncStep::Kind::Write: moved = api.CeMoveFile(staged, target); break;
        // The device replaces the old file as a whole; the staged copy goes after.
        case SyncStep::Kind::Replace: moved = api.CeCopyFile(staged, target, false); break;
        case SyncStep::Kind::Remove: moved = api.CeDeleteFile(target); break;
        }
        if (!moved) {
            result.failure = step.path + QStringLiteral(": Der PDA hat die Datei nicht übernommen.");
            return result;
        }
        if (step.kind == SyncStep::Kind::Remove) {
            ++result.removed;
        } else {
            ++result.sent;
            result.bytes += step.size;
        }
    }
    if (plan.filesToSend() > 0)
        m_link.DeleteDeviceFolder(staging);
    result.complete = true;
    return result;
}

QString SkinSync::refusal(const QStringList& refused, const QStringList& clashes)
{
    QString text;
    if (!refused.isEmpty())
        text += QStringLiteral("Diese Dateinamen kann der PDA nicht aufnehmen:\n") + refused.join(u'\n') + u'\n';
    if (!clashes.isEmpty())
        text += QStringLiteral("Diese Dateinamen unterscheiden sich nur in Groß- und Kleinschreibung:\n")
                + clashes.join(u'\n') + u'\n';
    return text + QStringLiteral("Aktion abgebrochen.");
}

QString SkinSync::failureReport(const Result& result, const SyncPlan& plan)
{
    if (result.sent == 0 && result.removed == 0)
        return result.failure + QStringLiteral("\nNichts wurde geändert; der Skin auf dem PDA bleibt, wie er war.");
    return result.failure
           + QStringLiteral("\n%1 von %2 Änderungen sind auf dem PDA, jede Datei ganz. Der nächste Abgleich "
                            "bringt den Rest.")
                 .arg(result.sent + result.removed)
                 .arg(plan.steps.size());
}
