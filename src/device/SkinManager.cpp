#include "SkinManager.h"

#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "FileTime.h"
#include "Ini.h"
#include "Paths.h"
#include "Prompter.h"
#include "SafeWrite.h"
#include "Settings.h"
#include "SkinDelivery.h"
#include "SkinSync.h"
#include "TemporaryCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString SkinManager::Unknown = QStringLiteral("unbekannt");

namespace {

const QString Note = QStringLiteral("Hinweis:");
const QString Refusal = QStringLiteral("Hinweis!");
// Sub-folder of each part on the PC and on the device.
const std::array<QString, SkinManager::PartCount> SubFolders = {
    QString(), QStringLiteral("Layout"), QStringLiteral("Font"), QStringLiteral("Font2")};

const QString Question = QStringLiteral("Frage:");

QString devicePart(int part)
{
    return part == SkinManager::Root ? QString() : SubFolders.at(std::size_t(part)) + u'\\';
}

// Replaces target with a copy of source; a failed copy leaves target whole.
bool replaceFile(const QString& source, const QString& target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    return copyFileSafely(source, target);
}

} // namespace

SkinManager::SkinManager(Context context)
    : m_context(std::move(context))
    , m_machine(m_context.connection, m_context.link, m_context.prompter, m_context.processEvents)
{
}

QString SkinManager::skinStore() const
{
    return m_context.connection.mn4Folder + QStringLiteral("Skins\\");
}

void SkinManager::letEventsRun()
{
    if (m_context.processEvents)
        m_context.processEvents();
}

void SkinManager::load()
{
    m_context.connection.connectAttempts = 0;
    for (QStringList& list : m_files)
        list.clear();
    if (!m_context.link.IsDeviceConnected())
        m_deviceSkins.clear();
    const QString folder = ReadIni(m_context.settingsFile, Settings::Directory, Settings::SkinDir, QString());
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        m_skinDirText = folder;
        SetDirs(folder);
        for (int part = 0; part < PartCount; ++part)
            FillList(part);
    }
    refreshPending = true;
}

void SkinManager::SetDirs(const QString& path)
{
    if (path.size() < 4 || !QFileInfo(path).isDir())
        return;
    if (!WriteIni(m_context.settingsFile, Settings::Directory, Settings::SkinDir, path))
        m_context.prompter.note(Note, QStringLiteral("Tivaro.ini konnte nicht gespeichert werden."),
                                Prompter::Icon::Exclamation);
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(path));
    m_skinFolder = folder + QDir::separator();
    for (int part = Layout; part < PartCount; ++part) {
        const QString& sub = SubFolders.at(std::size_t(part));
        if (!ExistsAnyCase(m_skinFolder, sub))
            QDir(m_skinFolder).mkdir(sub);
    }
    m_skinName = FileNameOf(folder);
    m_skinDirText = folder;
}

QString SkinManager::partFolder(int part) const
{
    if (part == Root)
        return m_skinFolder;
    return FindAnyCase(m_skinFolder, SubFolders.at(std::size_t(part))) + QDir::separator();
}

QStringList SkinManager::plainFiles(const QString& folder) const
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

void SkinManager::FillList(int part)
{
    if (part < 0 || part >= PartCount)
        return;
    m_files[std::size_t(part)] = m_skinFolder.isEmpty() ? QStringList() : plainFiles(partFolder(part));
}

void SkinManager::addFiles(int part, const QStringList& chosenFiles)
{
    if (part < 0 || part >= PartCount || m_skinFolder.isEmpty() || !QFileInfo(m_skinFolder).isDir()
        || chosenFiles.isEmpty())
        return;
    m_files[std::size_t(part)].clear();
    const QString folder = partFolder(part);
    for (const QString& file : chosenFiles)
        replaceFile(file, FindAnyCase(folder, FileNameOf(file)));
    FillList(part);
}

void SkinManager::deleteFiles(int part, const QStringList& names)
{
    if (part < 0 || part >= PartCount || m_skinFolder.isEmpty())
        return;
    const QString folder = partFolder(part);
    QStringList doomed;
    for (const QString& name : names) {
        // Only names of the list: a plain name inside the part's folder.
        if (!name.isEmpty() && FileNameOf(name) == name && name != QLatin1String("..")
            && QFileInfo(folder + name).isFile())
            doomed << name;
    }
    if (doomed.isEmpty())
        return;
    const QString what = doomed.size() == 1 ? QStringLiteral("Datei ") : QStringLiteral("Dateien ");
    if (m_context.prompter.ask(Question, what + doomed.join(QStringLiteral(", ")) + QStringLiteral(" wirklich löschen?"),
                               Prompter::Buttons::YesNo, Prompter::Icon::Question)
        != Prompter::Answer::Yes)
        return;
    for (const QString& name : std::as_const(doomed))
        QFile::remove(folder + name);
    FillList(part);
}

bool SkinManager::isUsableSkinName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(u'\\') && !name.contains(u'/');
}

bool SkinManager::refuseUnusableName(const QString& name)
{
    if (isUsableSkinName(name))
        return false;
    m_context.prompter.note(Refusal,
                            QStringLiteral("Der Skinname \"") + name
                                + QStringLiteral("\" ist nicht zulässig.\nEin Skinname darf weder leer, "
                                                 "\".\" noch \"..\" sein und kein \"\\\" oder \"/\" "
                                                 "enthalten.\nAktion abgebrochen."),
                            Prompter::Icon::Exclamation);
    return true;
}

void SkinManager::toggleConnection()
{
    refreshPending = m_machine.toggle(m_context.settingsFile);
}

void SkinManager::tick()
{
    // The connection stays as it is while an upload runs.
    if (m_uploading)
        return;
    const ConnectionMachine::Tick tick = m_machine.tick();
    if (tick.gaveUp)
        refreshPending = false;
    DeviceConnection& connection = m_context.connection;
    if (tick.connected) {
        if (refreshPending) {
            m_deviceSkins = m_context.link.ListDeviceFolders(skinStore());
            refreshPending = false;
            GetActiveSkin();
        }
        if (reconnectRequested)
            connection.connectWanted = false;
        if (deletePending) {
            m_context.link.DeleteDeviceFolder(folderToDelete);
            deletePending = false;
            refreshPending = true;
            SetStatus(QString());
        }
    } else {
        m_activeSkin = Unknown;
        if (!connection.connectWanted) {
            m_deviceSkins.clear();
            refreshPending = false;
        }
        if (reconnectRequested) {
            connection.connectWanted = true;
            reconnectRequested = false;
            deletePending = true;
        }
    }
}

void SkinManager::GetActiveSkin()
{
    const QString copy = TemporaryCopyPath(m_context.settingsFolder, QStringLiteral("prefs"));
    m_context.link.CopyFileFromDevice(m_context.connection.mn4Folder + QStringLiteral("prefs.ini"), copy);
    m_activeSkin = ReadIni(copy, QStringLiteral("Display"), QStringLiteral("lastSkin"), Unknown);
    QFile::remove(copy);
}

void SkinManager::uploadSkin()
{
    if (m_uploading)
        return;
    const QString marker = FindAnyCase(m_skinFolder, m_skinName + QStringLiteral(".ini"));
    if (m_skinFolder.isEmpty() || !QFileInfo(marker).isFile()) {
        m_context.prompter.note(Note, QStringLiteral("Es wird eine Datei ") + m_skinName
                                          + QStringLiteral(".ini im Verzeichnis\n") + m_skinDirText
                                          + QStringLiteral(" erwartet.\nDer Skin ist nicht Zentaro "
                                                           "kompatibel. Aktion abgebrochen."));
        return;
    }
    // The name becomes a folder of the skin store; ".", "" or ".." would name the store or its parent.
    if (refuseUnusableName(m_skinName))
        return;
    DeviceLink& link = m_context.link;
    if (!link.IsDeviceConnected()) {
        m_context.prompter.note(Note, QStringLiteral("Bitte erst mit dem PDA verbinden!"));
        return;
    }
    if (!offerLayoutCopies())
        return;
    if (plainFiles(m_skinFolder).isEmpty()) {
        m_context.prompter.note(Note, QStringLiteral("Keine Dateien in ") + m_skinDirText
                                          + QDir::separator()
                                          + QStringLiteral(" gefunden!\nAktion abgebrochen."));
        return;
    }
    const QStringList stored = link.ListDeviceFolders(skinStore());
    const auto same = std::find_if(stored.begin(), stored.end(), [this](const QString& name) {
        return name.compare(m_skinName, Qt::CaseInsensitive) == 0;
    });
    if (same != stored.end()) {
        const UploadMode mode = m_context.chooseUploadMode ? m_context.chooseUploadMode() : UploadMode::Changes;
        if (mode == UploadMode::Cancel)
            return;
        if (mode == UploadMode::Changes)
            return uploadChanges(skinStore() + *same);
    }
    // The new copy is made beside the stored one and takes its place only when
    // it is complete, so that a stopped upload leaves the skin store as it was.
    const QString deviceSkin = skinStore() + m_skinName;
    const QString staged = skinStore() + u'~' + m_skinName;
    RemoteApi& api = link.api();
    link.DeleteDeviceFolder(staged);
    api.CeCreateDirectory(staged);
    for (int part = Layout; part < PartCount; ++part) {
        if (!plainFiles(partFolder(part)).isEmpty())
            api.CeCreateDirectory(staged + u'\\' + SubFolders.at(std::size_t(part)));
    }

    // Events run during the copies and may refill the lists; the upload keeps its own.
    const std::array<QStringList, PartCount> lists = m_files;
    // Progress counts bytes, and one for every file so that empty files count too.
    std::array<QList<qint64>, PartCount> sizes;
    qint64 total = 0;
    int fileCount = 0;
    for (int part = 0; part < PartCount; ++part) {
        const QString folder = partFolder(part);
        for (const QString& entry : lists.at(std::size_t(part)))
            total += sizes.at(std::size_t(part)).emplace_back(QFileInfo(folder + entry).size() + 1);
        fileCount += int(lists.at(std::size_t(part)).size());
    }
    m_uploading = true;
    m_cancelRequested = false;
    qint64 done = 0;
    int number = 0;
    QString failure;
    DisplayStatus(true);
    for (int part = 0; part < PartCount && !m_cancelRequested && failure.isEmpty(); ++part) {
        const QString folder = partFolder(part);
        const QStringList& entries = lists.at(std::size_t(part));
        for (qsizetype i = 0; i < entries.size() && !m_cancelRequested && failure.isEmpty(); ++i) {
            const QString& entry = entries.at(i);
            // Shown with the progress below.
            m_doing = QStringLiteral("Datei %1 von %2: %3").arg(++number).arg(fileCount).arg(devicePart(part) + entry);
            prepareStatus(done, total);
            if (m_cancelRequested)
                break;
            const qint64 fileEnd = done + sizes.at(std::size_t(part)).at(i);
            const DeviceLink::Sent sent = link.sendFile(
                folder + entry, staged + u'\\' + devicePart(part) + entry,
                [&](quint32 bytes) {
                    done += bytes;
                    if (m_sinceShown.hasExpired(ShowInterval))
                        prepareStatus(done, total);
                    return !m_cancelRequested;
                },
                fileTimeOf(QFileInfo(folder + entry)));
            // One failed file is a failed upload: the stored skin must not be swapped for a part of one.
            if (!sent.failure.isEmpty())
                failure = sent.failure + QStringLiteral("\n") + devicePart(part) + entry
                          + QStringLiteral(": %1 von %2 Dateien waren übertragen. Der Skin auf dem PDA "
                                           "bleibt, wie er war.")
                                .arg(number - 1)
                                .arg(fileCount);
            done = fileEnd;
        }
    }
    m_uploading = false;
    if (m_cancelRequested || !failure.isEmpty()) {
        link.DeleteDeviceFolder(staged);
    } else {
        putInPlace(staged, deviceSkin);
        prepareStatus(total, total);
    }
    refreshPending = true;
    SetStatus(QString());
    DisplayStatus(false);
    if (!failure.isEmpty())
        m_context.prompter.note(Note, failure, Prompter::Icon::Exclamation);
}


void SkinManager::uploadChanges(const QString& deviceSkin)
{
    QStringList refused;
    const QList<SkinFile> pc = SkinSync::scanPc(m_skinFolder, refused);
    SkinSync sync(m_context.link);
    const SyncPlan plan = planSync(pc, sync.scanStored(deviceSkin));
    if (!refused.isEmpty() || !plan.clashes.isEmpty()) {
        m_context.prompter.note(Note, SkinSync::refusal(refused, plan.clashes), Prompter::Icon::Exclamation);
        return;
    }
    m_uploading = true;
    m_cancelRequested = false;
    DisplayStatus(true);
    prepareStatus(0, plan.bytesToSend());
    const SkinSync::Result result = sync.run(m_skinFolder, deviceSkin, plan, [this](const SyncStep& step, qint64 done, qint64 total) {
        m_doing = step.path;
        if (m_sinceShown.hasExpired(ShowInterval))
            prepareStatus(done, total);
        return !m_cancelRequested;
    });
    m_uploading = false;
    refreshPending = true;
    DisplayStatus(false);
    SetStatus(result.complete ? syncSummary(result.sent, plan.unchanged, result.removed, result.bytes) : QString());
    if (!result.failure.isEmpty())
        m_context.prompter.note(Note, SkinSync::failureReport(result, plan), Prompter::Icon::Exclamation);
}

// Activation takes most layout files only from the skin's Layout folder. Says
// which root files would stay behind and offers to copy them there first; a
// differing copy in Layout is replaced only when the user says so. False when
// the upload must not go on.
bool SkinManager::offerLayoutCopies()
{
    using Copy = SkinDelivery::RootFile::LayoutCopy;
    QList<SkinDelivery::RootFile> behind;
    QStringList names;
    const QString defaultLayout = SkinDelivery::defaultLayoutFileOf(plainFiles(m_skinFolder));
    for (const auto& file : SkinDelivery::undeliveredRootFiles(m_skinFolder, m_skinName, defaultLayout)) {
        if (file.copy == Copy::Same)
            continue;
        behind << file;
        names << file.name + (file.copy == Copy::Differs ? QStringLiteral(" (die Kopie in Layout weicht ab)") : QString());
    }
    if (behind.isEmpty())
        return true;
    const auto answer = m_context.prompter.ask(
        QStringLiteral("Frage:"),
        QStringLiteral("Diese Layoutdateien liegen im Hauptordner des Skins und kommen beim Aktivieren nicht auf "
                       "den PDA:\n")
            + names.join(u'\n') + QStringLiteral("\nSollen sie vor dem Hochladen nach Layout kopiert werden?"),
        Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Yes)
        return answer == Prompter::Answer::No;

    const QString sub = SubFolders.at(Layout);
    if (!ExistsAnyCase(m_skinFolder, sub))
        QDir(m_skinFolder).mkdir(sub);
    const QString layout = partFolder(Layout);
    bool copied = true;
    for (const auto& file : std::as_const(behind)) {
        if (file.copy == Copy::Differs
            && m_context.prompter.ask(QStringLiteral("Frage:"),
                                      sub + QDir::separator() + file.name
                                          + QStringLiteral(" weicht von der Datei im Hauptordner ab.\nSoll sie "
                                                           "durch die Datei aus dem Hauptordner ersetzt werden?"),
                                      Prompter::Buttons::YesNo, Prompter::Icon::Question)
                   != Prompter::Answer::Yes)
            continue;
        if (!replaceFile(m_skinFolder + file.name, FindAnyCase(layout, file.name))) {
            m_context.prompter.note(Note, file.name + QStringLiteral(" ließ sich nicht nach ") + sub
                                              + QStringLiteral(" kopieren.\nAktion abgebrochen."),
                                    Prompter::Icon::Exclamation);
            copied = false;
            break;
        }
    }
    FillList(Layout);
    return copied;
}

void SkinManager::putInPlace(const QString& staged, const QString& deviceSkin)
{
    // The older copy steps aside until the new one has its name.
    DeviceLink& link = m_context.link;
    RemoteApi& api = link.api();
    const QString aside = staged + u'~';
    link.DeleteDeviceFolder(aside);
    const bool hadOlder = api.CeMoveFile(deviceSkin, aside);
    if (api.CeMoveFile(staged, deviceSkin)) {
        if (hadOlder)
            link.DeleteDeviceFolder(aside);
        return;
    }
    if (hadOlder)
        api.CeMoveFile(aside, deviceSkin);
    link.DeleteDeviceFolder(staged);
    m_context.prompter.note(Note, QStringLiteral("Der Skin konnte auf dem PDA nicht abgelegt werden.\n"
                                                 "Aktion abgebrochen."));
}

void SkinManager::cancelUpload()
{
    if (m_uploading)
        m_cancelRequested = true;
}

void SkinManager::deleteSkins(const QStringList& selected)
{
    for (const QString& entry : selected) {
        if (refuseUnusableName(entry))
            continue;
        if (entry == m_activeSkin) {
            m_context.prompter.note(Refusal,
                                    QStringLiteral("Dieser Skin ist aktiv und darf nicht gelöscht werden!\n"
                                                   "Bitte erst einen anderen Skin aktivieren."),
                                    Prompter::Icon::Exclamation);
            continue;
        }
        if (m_context.prompter.ask(Question, QStringLiteral("Skin ") + entry + QStringLiteral(" wirklich löschen?"),
                                   Prompter::Buttons::YesNo, Prompter::Icon::Question)
            != Prompter::Answer::Yes)
            continue;
        SetStatus(QStringLiteral("lösche Skin..."));
        folderToDelete = skinStore() + entry;
        reconnectRequested = true;
    }
}

void SkinManager::switchSkin(const QStringList& selected)
{
    for (const QString& entry : selected) {
        if (refuseUnusableName(entry))
            continue;
        SetStatus(QStringLiteral("switching..."));
        // The skin counts as active only once all its files and prefs.ini are written.
        const std::optional<int> delivered = ActivateSkinFiles(skinStore(), entry + u'\\', QString());
        if (delivered && switchTo(entry)) {
            m_activeSkin = entry;
            SetStatus(entry + (*delivered == 1 ? QStringLiteral(": 1 Datei übertragen")
                                               : QStringLiteral(": %1 Dateien übertragen").arg(*delivered)));
            continue;
        }
        m_context.prompter.note(Note, QStringLiteral("Der Skin ") + entry + QStringLiteral(" konnte nicht aktiviert werden."),
                                Prompter::Icon::Exclamation);
        SetStatus(QString());
    }
}

bool SkinManager::switchTo(const QString& skin)
{
    DeviceLink& link = m_context.link;
    const QString prefs = m_context.connection.mn4Folder + QStringLiteral("prefs.ini");
    const QString copy = TemporaryCopyPath(m_context.settingsFolder, QStringLiteral("prefs"));
    // Without a fetched copy the device's preferences are neither deleted nor replaced.
    bool switched = link.CopyFileFromDevice(prefs, copy)
                    && WriteIni(copy, QStringLiteral("Display"), QStringLiteral("lastSkin"), skin)
                    && link.ReplaceDeviceFile(copy, prefs);
    QFile::remove(copy);
    return switched;
}

std::optional<int> SkinManager::ActivateSkinFiles(const QString& store, const QString& skin, const QString& part)
{
    int copied = 0;
    QList<CeFindData> entries;
    RemoteApi& api = m_context.link.api();
    CeFindData data;
    const CeHandle search = api.CeFindFirstFile(store + skin + part + u'*', data);
    if (search != InvalidCeHandle) {
        do
            entries.append(data);
        while (api.CeFindNextFile(search, data));
        api.CeFindClose(search);
    }

    const QString mn4 = m_context.connection.mn4Folder;
    const QString layoutFolder = mn4 + QStringLiteral("Layout\\");
    // The skin's own family decides which default layout file it delivers.
    QStringList rootNames;
    for (const CeFindData& entry : std::as_const(entries))
        rootNames << entry.cFileName;
    const QString defaultLayout = SkinDelivery::defaultLayoutFileOf(rootNames);
    for (const CeFindData& entry : entries) {
        const QString& name = entry.cFileName;
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
            || name.contains(u'\\'))
            continue;
        if (entry.dwFileAttributes & CeFile::AttributeDirectory) {
            // Sub-folders are searched directly below the skin; deeper ones would only repeat them.
            if (part.isEmpty()) {
                const std::optional<int> inside = ActivateSkinFiles(store, skin, name + u'\\');
                if (!inside)
                    return std::nullopt;
                copied += *inside;
            }
            continue;
        }
        QString target;
        if (part.isEmpty()) {
            if (SkinDelivery::deliversRootFile(name, defaultLayout))
                target = (name == QLatin1String("NavLib.ini") ? mn4 : layoutFolder) + name;
        } else if (part == QLatin1String("Layout\\")) {
            target = layoutFolder + name;
        } else if (part == QLatin1String("Font\\")) {
            target = mn4 + name;
        } else if (part == QLatin1String("Font2\\")) {
            target = QStringLiteral("\\Windows\\Schriftarten\\") + name;
        }
        // A live file that cannot be replaced stops the switch before prefs.ini names the skin.
        if (target.isEmpty())
            continue;
        if (!api.CeCopyFile(store + skin + part + name, target, false))
            return std::nullopt;
        ++copied;
    }
    return copied;
}

void SkinManager::startMN4()
{
    const QString program = ReadIni(m_context.settingsFile, Settings::Directory, Settings::MN4Dir, QString());
    RemoteApi& api = m_context.link.api();
    if (!api.CeCreateProcess(program, QString()) && api.CeGetLastError() == CeError::NotSupported)
        m_context.prompter.note(Note, QStringLiteral("MN|4 kann auf diesem Gerät nicht gestartet werden."));
}

SkinManager::Progress SkinManager::progressOf(qint64 done, qint64 total)
{
    Progress progress;
    progress.percent = total > 0 ? int(double(std::max<qint64>(done, 0)) / double(total) * 100) : 100;
    QString digits = QString::number(progress.percent);
    if (digits.size() > 2) {
        progress.percent = 100;
        digits = QStringLiteral("100");
    }
    progress.caption = digits + u'%' + QString(17 - digits.size() - 1, QChar(0x00A0));
    return progress;
}

void SkinManager::DisplayStatus(bool show)
{
    m_progress.visible = show;
    if (m_context.showNow)
        m_context.showNow();
}

void SkinManager::prepareStatus(qint64 done, qint64 total)
{
    m_sinceShown.start();
    const bool visible = m_progress.visible;
    m_progress = progressOf(done, total);
    m_progress.visible = visible;
    if (m_context.showNow)
        m_context.showNow();
    letEventsRun();
}

void SkinManager::SetStatus(const QString& text)
{
    m_doing = text;
    if (m_context.showNow)
        m_context.showNow();
}
