#include "SkinDeploy.h"

#include "ConnectionMachine.h"
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "Paths.h"
#include "SafeWrite.h"
#include "SkinDelivery.h"
#include "SkinManager.h"
#include "SkinSync.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString Cancelled = QStringLiteral("Abgebrochen. Nichts wurde übertragen.");
}

SkinDeploy::SkinDeploy(Context context)
    : m_context(std::move(context))
{
}

SkinDeploy::Outcome SkinDeploy::end(Outcome outcome, const QString& line)
{
    m_summary = line;
    m_context.say(line);
    return outcome;
}

bool SkinDeploy::copyLayoutFiles(const QString& pcSkin, const QString& name, bool dryRun, QStringList& differing)
{
    using Copy = SkinDelivery::RootFile::LayoutCopy;
    const QStringList rootNames = QDir(pcSkin).entryList(QDir::Files);
    for (const auto& file :
         SkinDelivery::undeliveredRootFiles(pcSkin, name, SkinDelivery::defaultLayoutFileOf(rootNames))) {
        if (file.copy == Copy::Differs)
            differing << file.name;
    }
    if (!dryRun && !differing.isEmpty() && m_context.agreeToLayoutCopies
        && !m_context.agreeToLayoutCopies(differing)) {
        end(Outcome::Refused, Cancelled);
        return false;
    }
    for (const QString& file : std::as_const(differing)) {
        const QString copy = QStringLiteral("Layout") + QDir::separator() + file;
        if (dryRun) {
            m_context.say(copy + QStringLiteral(" würde aus dem Hauptordner kopiert."));
            continue;
        }
        const QString layout = FindAnyCase(pcSkin, QStringLiteral("Layout"));
        if (!copyFileSafely(QDir(pcSkin).filePath(file), FindAnyCase(layout, file))) {
            end(Outcome::Refused, copy + QStringLiteral(" ließ sich nicht schreiben. Nichts wurde übertragen."));
            return false;
        }
        m_context.say(copy + QStringLiteral(" aus dem Hauptordner kopiert."));
    }
    return true;
}

bool SkinDeploy::connect()
{
    DeviceConnection& connection = m_context.connection;
    if (m_context.link.IsDeviceConnected()) {
        connection.readMn4Folder(m_context.settingsFile);
        return true;
    }
    ConnectionMachine machine(connection, m_context.link, m_context.prompter);
    machine.toggle(m_context.settingsFile);
    for (;;) {
        const ConnectionMachine::Tick tick = machine.tick();
        if (tick.connected)
            return true;
        if (tick.gaveUp || (m_context.waitForDevice && !m_context.waitForDevice())) {
            connection.connectWanted = false;
            return false;
        }
    }
}

SkinDeploy::Outcome SkinDeploy::run(const QString& pcSkinFolder, const Options& options)
{
    const QString pcSkin = QDir::cleanPath(QFileInfo(pcSkinFolder).absoluteFilePath());
    const QString name = FileNameOf(QDir::toNativeSeparators(pcSkin));
    if (!QFileInfo(pcSkin).isDir() || !SkinManager::isUsableSkinName(name)
        || !QFileInfo(FindAnyCase(pcSkin, name + QStringLiteral(".ini"))).isFile()) {
        return end(Outcome::NoDevice,
                   QStringLiteral("„%1“ ist kein Skin-Ordner: Es wird darin eine Datei %2.ini erwartet.")
                       .arg(QDir::toNativeSeparators(pcSkinFolder), name));
    }
    m_summary.clear();
    QStringList copies;
    if (!copyLayoutFiles(pcSkin, name, options.dryRun, copies))
        return Outcome::Refused;
    if (m_context.check) {
        const Check check = m_context.check(pcSkin);
        for (const QString& line : check.lines)
            m_context.say(line);
        if (check.errors)
            return end(Outcome::Refused, QStringLiteral("Die Prüfung fand Fehler. Nichts wurde übertragen."));
        if (!options.dryRun && !check.lines.isEmpty() && m_context.goOnDespiteWarnings
            && !m_context.goOnDespiteWarnings(check.lines))
            return end(Outcome::Refused, Cancelled);
    }
    QStringList refused;
    QList<SkinFile> pc = SkinSync::scanPc(pcSkin, refused);
    // A dry run copied nothing into Layout, yet lists those copies as the real run sends them.
    for (const QString& copy : options.dryRun ? copies : QStringList()) {
        for (SkinFile& file : pc) {
            if (file.path.compare(QStringLiteral("Layout\\") + copy, Qt::CaseInsensitive) == 0)
                file = {file.path, QFileInfo(QDir(pcSkin).filePath(copy)).size(), 0}; // no time: it will be new
        }
    }
    if (!connect())
        return end(Outcome::NoDevice, QStringLiteral("Kein PDA verbunden. Nichts wurde übertragen."));

    DeviceLink& link = m_context.link;
    const QString store = m_context.connection.mn4Folder + QStringLiteral("Skins\\");
    QString storedName;
    for (const QString& skin : link.ListDeviceFolders(store)) {
        if (skin.compare(name, Qt::CaseInsensitive) == 0)
            storedName = skin;
    }
    // A skin new to the device is built beside the store's skins and moved into place whole.
    const bool first = storedName.isEmpty();
    const QString target = store + (first ? u'~' + name : storedName);
    SkinSync sync(link);
    const SyncPlan plan = planSync(pc, first ? QList<SkinFile>() : sync.scanStored(target));
    if (!refused.isEmpty() || !plan.clashes.isEmpty())
        return end(Outcome::Refused, SkinSync::refusal(refused, plan.clashes));
    for (const SyncStep& step : plan.steps)
        m_context.say(step.line());
    if (options.dryRun) {
        const int files = plan.filesToSend();
        return end(Outcome::Done, QStringLiteral("Probelauf: %1 %2 übertragen (%3 KB), %4 entfernt, %5 unverändert.")
                                      .arg(fileCount(files), files == 1 ? QStringLiteral("würde") : QStringLiteral("würden"))
                                      .arg((plan.bytesToSend() + 1023) / 1024)
                                      .arg(plan.filesToRemove())
                                      .arg(plan.unchanged));
    }
    if (first) {
        link.DeleteDeviceFolder(target);
        link.api().CeCreateDirectory(target);
    }
    const SkinSync::Result result = sync.run(pcSkin, target, plan, m_context.progress);
    const bool placed = result.complete && (!first || link.api().CeMoveFile(target, store + name));
    if (first && !placed)
        link.DeleteDeviceFolder(target);
    if (!placed) {
        return end(Outcome::Refused,
                   result.stopped ? QStringLiteral("Abgebrochen. Der Skin auf dem PDA bleibt, wie er war.")
                   : result.failure.isEmpty() ? QStringLiteral("Der Skin konnte auf dem PDA nicht abgelegt werden.")
                                              : SkinSync::failureReport(result, plan));
    }
    end(Outcome::Done, syncSummary(result.sent, plan.unchanged, result.removed, result.bytes));
    if (first)
        storedName = name;

    // MN4 sees the skin only through its live files, which change only here.
    SkinManager manager({link, m_context.connection, m_context.prompter, m_context.settingsFolder, m_context.settingsFile,
                         {}, {}, {}});
    const bool changed = result.sent + result.removed > 0;
    if (changed && !options.activate)
        manager.GetActiveSkin();
    if (options.activate || (changed && manager.activeSkin().compare(storedName, Qt::CaseInsensitive) == 0)) {
        manager.switchSkin({storedName});
        if (manager.activeSkin() != storedName)
            return Outcome::Refused;
        m_context.say(manager.doing());
    }
    if (options.startMn4)
        manager.startMN4();
    return Outcome::Done;
}
