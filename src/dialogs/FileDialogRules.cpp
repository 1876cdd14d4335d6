#include "FileDialogRules.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const QChar Nul(u'\0');

QString withoutTrailingNuls(QString text)
{
    while (text.endsWith(Nul))
        text.chop(1);
    return text;
}

} // namespace

QString BuildFilterList(const QString& filter, const std::array<QString, 5>& texts,
                        const std::array<QString, 5>& suffixes)
{
    QString list;
    const QString head = withoutTrailingNuls(filter);
    if (!head.isEmpty())
        list = head + Nul;
    for (size_t k = 0; k < texts.size(); ++k) {
        if (!texts[k].isEmpty() && !suffixes[k].isEmpty())
            list += texts[k] + Nul + suffixes[k] + Nul;
    }
    if (list.isEmpty())
        list = QStringLiteral("Alle Dateien") + Nul + QStringLiteral("*.*") + Nul;
    return list + Nul;
}

QStringList NameFiltersOf(const QString& filterList)
{
    const QStringList parts = withoutTrailingNuls(filterList).split(Nul);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        if (!patterns.isEmpty())
            filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' '));
    }
    return filters;
}

std::optional<qint32> FlagsForIntention(qint32 flags, bool multiSelect, const QString& intention)
{
    using namespace FileDialogFlags;
    const bool open = intention == QLatin1String("Open");
    if (!open && intention != QLatin1String("Save"))
        return std::nullopt;
    if (flags == 0) {
        if (!open)
            return OverwritePrompt | HideReadOnly | PathMustExist;
        flags = HideReadOnly | PathMustExist | FileMustExist;
    }
    if (multiSelect)
        flags |= Explorer | AllowMultiSelect;
    return flags;
}

void ConfigureFileDialog(QFileDialog& dialog, qint32 flags, bool save)
{
    using namespace FileDialogFlags;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else if (flags & AllowMultiSelect)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else
        dialog.setFileMode(flags & FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(flags & OverwritePrompt));
}

QString MultiFileList(const QStringList& paths)
{
    if (paths.size() < 2)
        return paths.isEmpty() ? QString() : QDir::toNativeSeparators(paths.first());
    QStringList parts{QDir::toNativeSeparators(QFileInfo(paths.first()).absolutePath())};
    for (const QString& path : paths)
        parts << QFileInfo(path).fileName();
    return parts.join(Nul);
}
