#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starts MN4's map export tool, a Windows program, without waiting for it and
// with its window minimised: directly on Windows, through wine elsewhere.
// Finding wine and starting a program are replaceable so tests need neither.
class MapExportLauncher
{
public:
    // The wine program on the PATH, "" when there is none.
    std::function<QString()> findWine;
    // Starts program with arguments in folder; false when it could not be started.
    std::function<bool(const QString& program, const QStringList& arguments, const QString& folder)> startDetached;

    MapExportLauncher();

    // Starts the tool at toolPath (a native path). Returns "" once it runs,
    // otherwise the German text that tells the user why it does not.
    QString start(const QString& toolPath) const;
};
