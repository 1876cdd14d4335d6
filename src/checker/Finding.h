#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One thing the skin checker found. Findings about a shared file or section
// are given once, with the first screen that shows them and how many more do.
struct Finding
{
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    QString screen;      // display name of the first screen concerned; "" for the skin as a whole
    int moreScreens = 0; // further screens with the same finding
    QString file;        // a layout file as the screens name it, or a file of the skin folder
    QString section;     // "" when the finding concerns a whole file
    QString message;     // German, for skin authors

    bool operator==(const Finding&) const = default;
};

// "file:section: Fehler: message (screen)", one finding per line.
QString FindingLine(const Finding& finding);
QString FindingsText(const QList<Finding>& findings);
// A JSON array of objects with severity ("error" or "warning"), screen,
// moreScreens, file, section and message.
QByteArray FindingsJson(const QList<Finding>& findings);
bool HasErrors(const QList<Finding>& findings);
// Whether the finding is about the element stored in section of file. Skins
// come from Windows: the file's letter case does not count, the section's does.
bool FindingConcerns(const Finding& finding, const QString& file, const QString& section);
