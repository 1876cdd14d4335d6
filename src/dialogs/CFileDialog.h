#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>

class Prompter;
class QFileDialog;
class QWidget;

// The file dialog: settings, then ShowOpen, ShowSave or ShowFolder, each
// running a QFileDialog modally through the prompter and returning the chosen
// native path ("" on cancel). After a multiple selection fileName is the first
// file, FileCount the number of files, and GetNextFile hands out the others.
class CFileDialog
{
public:
    explicit CFileDialog(Prompter& prompter);

    void setHwnd(QWidget* owner) { m_owner = owner; }
    void setDialogTitle(const QString& title) { m_title = title; }
    void setDefaultDir(const QString& dir) { m_defaultDir = dir; }
    void setInitDir(const QString& dir) { m_defaultDir = dir; }
    void setDefaultFileName(const QString& name) { m_defaultFileName = name; }
    void setDefaultExt(const QString& ext) { m_defaultExt = ext; }
    // A complete filter list: display text, NUL, pattern, NUL, repeated.
    void setFilter(const QString& filter) { m_filter = filter; }
    // Filter pairs 1..5; a pair counts when both parts are set.
    void setFilterText(int k, const QString& text);
    void setFilterSuffix(int k, const QString& pattern);
    void setFilter1Text(const QString& t) { setFilterText(1, t); }
    void setFilter2Text(const QString& t) { setFilterText(2, t); }
    void setFilter3Text(const QString& t) { setFilterText(3, t); }
    void setFilter4Text(const QString& t) { setFilterText(4, t); }
    void setFilter5Text(const QString& t) { setFilterText(5, t); }
    void setFilter1Suffix(const QString& p) { setFilterSuffix(1, p); }
    void setFilter2Suffix(const QString& p) { setFilterSuffix(2, p); }
    void setFilter3Suffix(const QString& p) { setFilterSuffix(3, p); }
    void setFilter4Suffix(const QString& p) { setFilterSuffix(4, p); }
    void setFilter5Suffix(const QString& p) { setFilterSuffix(5, p); }
    // Window flags in the common dialogs' values; 0 picks them by intention.
    void setFlags(qint32 flags) { m_flags = flags; }
    void setMultiSelect(bool on) { m_multiSelect = on; }
    // Returns the folder and all names NUL-separated instead of single paths;
    // switches multiple selection on.
    void setMultiSelectOCXCompatible(bool on);

    QString ShowOpen();
    QString ShowSave();
    QString ShowFolder();

    QString fileName() const { return m_fileName; }
    qint16 FileCount() const { return m_fileCount; }
    // The next file of a multiple selection, "" when none is left.
    QString GetNextFile();

    // The flags the dialog of intention ("Open" or "Save") runs with; any other
    // intention is reported in a "CheckFlags" message box and gives the flags
    // as they are.
    qint32 CheckFlags(const QString& intention);
    // The filter list the next open or save dialog offers, in the platform's form.
    QString filterList() const;

private:
    bool run(QFileDialog& dialog);

    Prompter& m_prompter;
    QPointer<QWidget> m_owner;
    QString m_title;
    QString m_defaultDir;
    QString m_defaultFileName;
    QString m_defaultExt;
    QString m_filter;
    std::array<QString, 5> m_filterTexts;
    std::array<QString, 5> m_filterSuffixes;
    qint32 m_flags = 0;
    bool m_multiSelect = false;
    bool m_ocxCompatible = false;

    QString m_fileName;
    qint16 m_fileCount = 0;
    QStringList m_remaining;
};
