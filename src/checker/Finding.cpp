#include "Finding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

QString FindingLine(const Finding& finding)
{
    QString line = finding.file + u':';
    if (!finding.section.isEmpty())
        line += finding.section + u':';
    line += finding.severity == Finding::Severity::Error ? QStringLiteral(" Fehler: ") : QStringLiteral(" Warnung: ");
    line += finding.message;
    if (!finding.screen.isEmpty()) {
        line += QStringLiteral(" (") + finding.screen;
        if (finding.moreScreens > 0)
            line += QStringLiteral(" und %1 weitere").arg(finding.moreScreens);
        line += u')';
    }
    return line;
}

QString FindingsText(const QList<Finding>& findings)
{
    QString text;
    for (const Finding& finding : findings)
        text += FindingLine(finding) + u'\n';
    return text;
}

QByteArray FindingsJson(const QList<Finding>& findings)
{
    QJsonArray array;
    for (const Finding& f : findings) {
        array.append(QJsonObject{
            {QStringLiteral("severity"),
             f.severity == Finding::Severity::Error ? QStringLiteral("error") : QStringLiteral("warning")},
            {QStringLiteral("screen"), f.screen},
            {QStringLiteral("moreScreens"), f.moreScreens},
            {QStringLiteral("file"), f.file},
            {QStringLiteral("section"), f.section},
            {QStringLiteral("message"), f.message},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

bool HasErrors(const QList<Finding>& findings)
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Finding::Severity::Error; });
}

bool FindingConcerns(const Finding& finding, const QString& file, const QString& section)
{
    return finding.section == section && finding.file.compare(file, Qt::CaseInsensitive) == 0;
}
