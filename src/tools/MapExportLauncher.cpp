#include "MapExportLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

bool startMinimised(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    return process.startDetached();
}

} // namespace

MapExportLauncher::MapExportLauncher()
    : findWine([] { return QStandardPaths::findExecutable(QStringLiteral("wine")); })
    , startDetached(startMinimised)
{
}

QString MapExportLauncher::start(const QString& toolPath) const
{
    const QString folder = QFileInfo(toolPath).absolutePath();
    const QString failed = toolPath + u'\n' + QStringLiteral("konnte nicht gestartet werden.");
#ifdef Q_OS_WIN
    return startDetached(toolPath, {}, folder) ? QString() : failed;
#else
    const QString wine = findWine ? findWine() : QString();
    if (wine.isEmpty())
        return toolPath + u'\n'
               + QStringLiteral("kann nicht gestartet werden: Das Programm wine wurde nicht gefunden.");
    // wine's own start command opens the window minimised and takes a path of this system.
    const QStringList arguments = {QStringLiteral("start"), QStringLiteral("/min"), QStringLiteral("/unix"),
                                   QDir::fromNativeSeparators(toolPath)};
    return startDetached(wine, arguments, folder) ? QString() : failed;
#endif
}
