#include "CFileDialog.h"

#include "FileDialogRules.h"
#include "Prompter.h"

#include <QDir>
#include <QFileDialog>

CFileDialog::CFileDialog(Prompter& prompter)
    : m_prompter(prompter)
    , m_defaultDir(QDir::currentPath())
{
}

void CFileDialog::setFilterText(int k, const QString& text)
{
    if (k >= 1 && k <= 5)
        m_filterTexts[k - 1] = text;
}

void CFileDialog::setFilterSuffix(int k, const QString& pattern)
{
    if (k >= 1 && k <= 5)
        m_filterSuffixes[k - 1] = pattern;
}

void CFileDialog::setMultiSelectOCXCompatible(bool on)
{
    m_ocxCompatible = on;
    if (on)
        m_multiSelect = true;
}

qint32 CFileDialog::CheckFlags(const QString& intention)
{
    if (const auto flags = FlagsForIntention(m_flags, m_multiSelect, intention))
        return *flags;
    m_prompter.ask(QStringLiteral("CheckFlags"), QStringLiteral("Unbekannte Intention: ") + intention,
                   Prompter::Buttons::Ok, Prompter::Icon::Critical);
    return m_flags;
}

QString CFileDialog::filterList() const
{
    return BuildFilterList(m_filter, m_filterTexts, m_filterSuffixes);
}

QString CFileDialog::ShowOpen()
{
    // The flags are worked out for this dialog only, so a later save dialog of
    // the same instance still gets the flags of its own intention.
    const qint32 flags = CheckFlags(QStringLiteral("Open"));
    QFileDialog dialog(m_owner, m_title.isEmpty() ? QStringLiteral("Datei öffnen") : m_title, m_defaultDir);
    ConfigureFileDialog(dialog, flags, false);
    if (!m_defaultFileName.isEmpty())
        dialog.selectFile(m_defaultFileName);

    m_remaining.clear();
    m_fileCount = 0;
    m_fileName.clear();
    if (!run(dialog))
        return {};
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return {};
    for (QString& file : files)
        file = QDir::toNativeSeparators(file);
    m_fileCount = qint16(qMin<qsizetype>(files.size(), 0x7fff));
    if (m_ocxCompatible) {
        m_fileName = MultiFileList(files);
    } else {
        m_fileName = files.takeFirst();
        if (m_multiSelect)
            m_remaining = files;
        else
            m_fileCount = 1;
    }
    return m_fileName;
}

QString CFileDialog::ShowSave()
{
    const qint32 flags = CheckFlags(QStringLiteral("Save"));
    QFileDialog dialog(m_owner, m_title.isEmpty() ? QStringLiteral("Datei speichern unter") : m_title, m_defaultDir);
    ConfigureFileDialog(dialog, flags, true);
    // The last result is proposed again; the default name stands in before there is one.
    const QString proposed = m_fileName.isEmpty() ? m_defaultFileName : m_fileName;
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (!run(dialog) || dialog.selectedFiles().isEmpty())
        return {};
    m_fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return m_fileName;
}

QString CFileDialog::ShowFolder()
{
    QFileDialog dialog(m_owner, m_title.isEmpty() ? QStringLiteral("Ordner suchen") : m_title, m_defaultDir);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    m_fileName.clear();
    if (run(dialog) && !dialog.selectedFiles().isEmpty())
        m_fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return m_fileName;
}

QString CFileDialog::GetNextFile()
{
    return m_remaining.isEmpty() ? QString() : m_remaining.takeFirst();
}

bool CFileDialog::run(QFileDialog& dialog)
{
    // Qt's own dialog behaves the same on every platform and in tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!m_defaultExt.isEmpty())
        dialog.setDefaultSuffix(m_defaultExt.startsWith(u'.') ? m_defaultExt.mid(1) : m_defaultExt);
    const QStringList filters = NameFiltersOf(filterList());
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    return m_prompter.runDialog(dialog);
}
