#include "ProfileUpdater.h"

#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "MapExportLauncher.h"
#include "Paths.h"
#include "ProfileUpdate.h"
#include "Prompter.h"
#include "TemporaryCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString ProfilesFile = QStringLiteral("speedprofiles.ini");
const QString ToolFile = QStringLiteral("MapExportTNG.exe");

constexpr int FirstPcRow = 3;

QString profilesIn(const QString& folder) { return FindAnyCase(folder, ProfilesFile); }

} // namespace

ProfileUpdater::ProfileUpdater(Context context)
    : m_context(std::move(context))
{
}

void ProfileUpdater::note(const QString& text, const QString& title)
{
    m_context.prompter.note(title, text, Prompter::Icon::Exclamation);
}

void ProfileUpdater::showDoing(const QString& text)
{
    if (m_context.showDoing)
        m_context.showDoing(text);
}

void ProfileUpdater::run(Boxes& boxes, const QString& speedLine, const QString& preferenceLine)
{
    showDoing(QStringLiteral("update..."));
    m_context.connection.readMn4Folder(m_context.settingsFile);
    QString exportFolder = ProfileUpdate::mapExportFolder(m_context.settingsFile);

    if (!QFileInfo(profilesIn(exportFolder)).isFile() && (boxes[3] || boxes[4])) {
        note(QStringLiteral("Bitte den Pfad zum MapExport eingeben."));
        if (m_context.chooseMapExportFolder)
            m_context.chooseMapExportFolder();
        exportFolder = ProfileUpdate::mapExportFolder(m_context.settingsFile);
    }
    const QString profiles = profilesIn(exportFolder);
    if (!QFileInfo(profiles).isFile()) {
        note(QStringLiteral("Keine speedprofiles.ini gefunden!"));
        boxes[3] = boxes[4] = false;
    }

    const bool anyDeviceBox = boxes[0] || boxes[1] || boxes[2];
    bool failed = false;
    for (int row = 0; row < ProfileUpdate::TargetCount; ++row) {
        if (row < FirstPcRow && !m_context.link.IsDeviceConnected()) {
            if (anyDeviceBox)
                note(QStringLiteral("Bitte erst mit dem PDA verbinden!"));
            row = FirstPcRow - 1;
            continue;
        }
        if (!boxes[row])
            continue;
        showDoing(QStringLiteral("update ") + ProfileUpdate::baseName(ProfileUpdate::targets()[row])
                  + QStringLiteral(".ini "));
        const Outcome outcome = row < FirstPcRow ? updateDeviceRow(row, speedLine, preferenceLine)
                                                 : updatePcRow(row, profiles, speedLine, preferenceLine);
        failed = failed || outcome == Outcome::Failed;
    }
    showDoing(QString());

    // "Fertig!" after a failed row would tell the user that it went through.
    const bool deviceDone = anyDeviceBox && m_context.link.IsDeviceConnected();
    if ((deviceDone || boxes[3] || boxes[4]) && !failed)
        note(QStringLiteral("Fertig!"));

    if (boxes[ProfileUpdate::StartToolBox]) {
        const QString tool = FindAnyCase(exportFolder, ToolFile);
        const QString shown = QDir::toNativeSeparators(exportFolder + u'/' + ToolFile);
        const QString problem = QFileInfo(tool).isFile()
                                    ? m_context.launcher.start(QDir::toNativeSeparators(tool))
                                    : shown + u'\n' + QStringLiteral("wurde nicht gefunden!");
        if (!problem.isEmpty()) {
            note(problem, QStringLiteral("Hinweis!"));
            boxes[ProfileUpdate::StartToolBox] = false;
        }
    }
}

ProfileUpdater::Outcome ProfileUpdater::updateDeviceRow(int row, const QString& speedLine,
                                                        const QString& preferenceLine)
{
    const ProfileUpdate::Target& target = ProfileUpdate::targets()[row];
    DeviceLink& link = m_context.link;
    const QString deviceFile = m_context.connection.mn4Folder + target.fileName;
    const QString copy = TemporaryCopyPath(m_context.settingsFolder, ProfileUpdate::baseName(target));

    // Without a whole copy the device file is neither deleted nor replaced.
    Outcome outcome = Outcome::Failed;
    if (link.CopyFileFromDevice(deviceFile, copy)) {
        if (!ProfileUpdate::spliceFile(copy, target, speedLine, preferenceLine))
            note(target.fileName + QStringLiteral(" konnte nicht bearbeitet werden."));
        // The old file goes only once the new one is on the device.
        else if (link.ReplaceDeviceFile(copy, deviceFile))
            outcome = Outcome::Done;
    }
    QFile::remove(copy);
    return outcome;
}

ProfileUpdater::Outcome ProfileUpdater::updatePcRow(int row, const QString& file, const QString& speedLine,
                                                    const QString& preferenceLine)
{
    if (ProfileUpdate::spliceFile(file, ProfileUpdate::targets()[row], speedLine, preferenceLine))
        return Outcome::Done;
    note(QDir::toNativeSeparators(file) + u'\n' + QStringLiteral("konnte nicht gespeichert werden."));
    return Outcome::Failed;
}
