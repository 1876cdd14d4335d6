#include "SettingsLocation.h"

#include "SafeWrite.h"
#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace SettingsLocation {

namespace {

QString asFolder(const QString& path)
{
    QString folder = QDir::toNativeSeparators(path);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

} // namespace

Place choose(const Folders& folders, const PathTest& exists, const PathTest& writable)
{
    if (!exists(folders.program + InstalledMarker) && writable(folders.program))
        return {folders.program, {}};
    const QString earlier = Settings::filePath(folders.earlier);
    const bool takeOver = !exists(Settings::filePath(folders.config)) && exists(earlier);
    return {folders.config, takeOver ? earlier : QString()};
}

Folders userFolders(const QString& programFolder)
{
    return {asFolder(programFolder),
            asFolder(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)),
            asFolder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                     + QStringLiteral("/tivaro"))};
}

bool folderIsWritable(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

Prepared prepare(const QString& programFolder, const PathTest& writable)
{
    const Folders folders = userFolders(programFolder);
    const Place place =
        choose(folders, [](const QString& path) { return QFileInfo::exists(path); }, writable);
    if (place.takeOver.isEmpty())
        return {place.folder, {}};

    const QString target = Settings::filePath(place.folder);
    QString error = QStringLiteral("Der Ordner lässt sich nicht anlegen.");
    if (QDir().mkpath(place.folder) && copyFileSafely(place.takeOver, target, &error)) {
        return {place.folder,
                QStringLiteral("Tivaro hat seine Einstellungen aus „%1“ nach „%2“ übernommen. "
                               "Den alten Ordner „%3“ braucht Tivaro nicht mehr; Sie können ihn löschen.")
                    .arg(place.takeOver, target, folders.earlier)};
    }
    // The earlier settings stay in use until a later start takes them over.
    return {folders.earlier, QStringLiteral("Tivaro konnte seine Einstellungen aus „%1“ nicht nach „%2“ "
                                            "übernehmen: %3\nTivaro nutzt sie weiter am alten Ort und "
                                            "versucht es beim nächsten Start wieder.")
                                 .arg(place.takeOver, target, error)};
}

} // namespace SettingsLocation
