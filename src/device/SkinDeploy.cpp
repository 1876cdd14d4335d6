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

SkinDeploy::SkinDeploy(Context context)
    : m_context(std::move(context))
{
}

bool SkinDeploy::copyLayoutFiles(const QString& pcSkin, const QString& name, bool dryRun)
{
    using Copy = SkinDelivery::RootFile::LayoutCopy;
    const QStringList rootNames = QDir(pcSkin).entryList(QDir::Files);
    for (const auto& file :
         SkinDelivery::undeliveredRootFiles(pcSkin, name, SkinDelivery::defaultLayoutFileOf(rootNames))) {
        if (file.copy != Copy::Differs)
            continue;
        const QString copy = QStringLiteral("Layout") + QDir::separator() + file.name;
        if (dryRun) {
            m_context.say(copy + QStringLiteral(" würde aus dem Hauptordner kopiert."));
            continue;
        }
        const QString layout = FindAnyCase(pcSkin, QStringLiteral("Layout"));
        if (!copyFileSafely(QDir(pcSkin).filePath(file.name), FindAnyCase(layout, file.name))) {
            m_context.say(copy + QStringLiteral(" ließ sich nicht schreiben. Nichts wurde übertragen."));
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
        m_context.say(QStringLiteral("„%1“ ist kein Skin-Ordner: Es wird darin eine Datei %2.ini erwartet.")
                          .arg(QDir::toNativeSeparators(pcSkinFolder), name));
        return Outcome::NoDevice;
    }
    if (!copyLayoutFiles(pcSkin, name, options.dryRun))
        return Outcome::Refused;
    if (m_context.check) {
        const Check check = m_context.check(pcSkin);
        for (const QString& line : check.lines)
            m_context.say(line);
        if (check.errors) {
            m_context.say(QStringLiteral("Die Prüfung fand Fehler. Nichts wurde übertragen."));
            return Outcome::Refused;
        }
    }
    QStringList refused;
    const QList<SkinFile> pc = SkinSync::scanPc(pcSkin, refused);
    if (!connect()) {
        m_context.say(QStringLiteral("Kein PDA verbunden. Nichts wurde übertragen."));
        return Outcome::NoDevice;
    }

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
    if (!refused.isEmpty() || !plan.clashes.isEmpty()) {
        m_context.say(SkinSync::refusal(refused, plan.clashes));
        return Outcome::Refused;
    }
    for (const SyncStep& step : plan.steps)
        m_context.say(step.line());
    if (options.dryRun) {
        m_context.say(QStringLiteral("Probelauf: %1 würden übertragen (%2 KB), %3 entfernt, %4 unverändert.")
                          .arg(fileCount(plan.filesToSend()))
                          .arg((plan.bytesToSend() + 1023) / 1024)
                          .arg(plan.filesToRemove())
                          .arg(plan.unchanged));
        return Outcome::Done;
    }
    if (first) {
        link.DeleteDeviceFolder(target);
        link.api().CeCreateDirectory(target);
    }
    const SkinSync::Result result = sync.run(pcSkin, target, plan, [this](const SyncStep&, qint64, qint64) { return goOn(); });
    const bool placed = result.complete && (!first || link.api().CeMoveFile(target, store + name));
    if (first && !placed)
        link.DeleteDeviceFolder(target);
    if (!placed) {
        m_context.say(result.stopped ? QStringLiteral("Abgebrochen. Der Skin auf dem PDA bleibt, wie er war.")
                      : result.failure.isEmpty() ? QStringLiteral("Der Skin konnte auf dem PDA nicht abgelegt werden.")
                                                 : SkinSync::failureReport(result, plan));
        return Outcome::Refused;
    }
    m_context.say(syncSummary(result.sent, plan.unchanged, result.removed, result.bytes));
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
