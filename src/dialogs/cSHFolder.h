#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class FolderBrowser;
class Prompter;
class QWidget;

// The folder picker: settings, one blocking call BrowseForFolder and three
// events. Each browse builds a FolderBrowser window and runs it modally through
// the prompter. Settings that act on an open browser do so at once and are kept
// for the next browse.
class cSHFolder : public QObject
{
    Q_OBJECT

public:
    explicit cSHFolder(Prompter& prompter, QObject* parent = nullptr);
    ~cSHFolder() override;

    // Lets the user choose a folder below the special folder Root (0: the whole
    // file system) and returns its native path, or "" on cancel. Title is the
    // text above the tree ("Wählen Sie einen Ordner aus" when empty). Only one
    // browse runs at a time; a nested call returns "" at once.
    QString BrowseForFolder(QWidget* Owner = nullptr, const QString& Title = {}, qint32 Root = 0);

    // The settings every window of the program browses with: centred, with a
    // status line, folders only, no edit box and no validation, in the resizable
    // style, starting at startFolder.
    void setPlainFolderChoice(const QString& startFolder);

    QString DisplayName() const { return m_displayName; }
    // The open browser window, null while none is open.
    QWidget* hwnd() const;

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QString StatusText() const { return m_statusText; }
    void setStatusText(const QString& text);
    QString DefaultPath() const { return m_defaultPath; }
    void setDefaultPath(const QString& path);
    qint32 DefaultPIDL() const { return m_defaultPidl; }
    void setDefaultPIDL(qint32 csidl);
    QString ValidFolder() const { return m_validFolder; }
    void setValidFolder(const QString& folder) { m_validFolder = folder; }
    bool CenterDialog() const { return m_centerDialog; }
    void setCenterDialog(bool on);
    bool EditBox() const { return m_editBox; }
    void setEditBox(bool on) { m_editBox = on; }
    bool IncludeFiles() const { return m_includeFiles; }
    void setIncludeFiles(bool on) { m_includeFiles = on; }
    bool NewDialog() const { return m_newDialog; }
    void setNewDialog(bool on) { m_newDialog = on; }
    bool StatusTextArea() const { return m_statusTextArea; }
    void setStatusTextArea(bool on) { m_statusTextArea = on; }
    // Enables or disables OK of the open browser; nothing while none is open.
    void setOKEnabled(bool enabled);

signals:
    void Initialized();
    void SelectionChanged(const QString& PathSelected);
    // Connect directly: a handler that sets Cancel to true closes the browser,
    // one that leaves it false keeps the browser open for a correction.
    void ValidationFailed(const QString& InvalidPath, bool& Cancel);

private:
    void applyDefaultPIDL();
    void onSelectionChanged(const QString& path);

    Prompter& m_prompter;
    QPointer<FolderBrowser> m_browser;
    QString m_displayName;
    QString m_caption;
    QString m_statusText;
    QString m_defaultPath;
    QString m_validFolder;
    qint32 m_defaultPidl = 0;
    bool m_centerDialog = false;
    bool m_editBox = false;
    bool m_includeFiles = false;
    bool m_newDialog = false;
    bool m_statusTextArea = false;
};
