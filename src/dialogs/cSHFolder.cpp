#include "cSHFolder.h"

#include "FolderBrowser.h"
#include "FolderPaths.h"
#include "Prompter.h"

cSHFolder::cSHFolder(Prompter& prompter, QObject* parent)
    : QObject(parent)
    , m_prompter(prompter)
{
}

cSHFolder::~cSHFolder() = default;

void cSHFolder::setPlainFolderChoice(const QString& startFolder)
{
    setCenterDialog(true);
    setStatusTextArea(true);
    setEditBox(false);
    setIncludeFiles(false);
    setNewDialog(true);
    setDefaultPath(startFolder);
    setValidFolder(QString());
}

QString cSHFolder::BrowseForFolder(QWidget* Owner, const QString& Title, qint32 Root)
{
    if (m_browser)
        return {};
    FolderBrowser::Options options;
    options.title = Title.isEmpty() ? QStringLiteral("Wählen Sie einen Ordner aus") : Title;
    options.rootPath = SpecialFolderPath(Root).value_or(QString());
    options.validFolder = m_validFolder;
    options.includeFiles = m_includeFiles;
    options.statusTextArea = m_statusTextArea;
    options.editBox = m_editBox;
    options.newDialog = m_newDialog;

    // Held by a guard because the owner could take the window with it while it runs.
    m_browser = new FolderBrowser(options, Owner);
    connect(m_browser, &FolderBrowser::selectionChanged, this, &cSHFolder::onSelectionChanged);
    connect(m_browser, &FolderBrowser::validationFailed, this, &cSHFolder::ValidationFailed);

    if (!m_caption.isEmpty())
        m_browser->setWindowTitle(m_caption);
    if (!m_statusText.isEmpty())
        m_browser->setStatusText(m_statusText);
    applyDefaultPIDL();
    // The path is applied after the special folder, so it wins when both are set.
    if (!m_defaultPath.isEmpty())
        m_browser->selectPath(m_defaultPath);
    if (m_centerDialog)
        m_browser->centre();
    emit Initialized();

    const bool accepted = m_browser && m_prompter.runDialog(*m_browser);
    QString path;
    if (m_browser) {
        if (accepted) {
            path = m_browser->chosenPath();
            if (!path.isEmpty())
                m_displayName = m_browser->chosenDisplayName();
        }
        delete m_browser;
    }
    return path;
}

QWidget* cSHFolder::hwnd() const
{
    return m_browser;
}

void cSHFolder::setCaption(const QString& caption)
{
    m_caption = caption;
    if (m_browser)
        m_browser->setWindowTitle(caption);
}

void cSHFolder::setStatusText(const QString& text)
{
    // While a browser is open the text goes to its status line only, so the
    // next browse starts with the text that was set before it.
    if (!m_browser)
        m_statusText = text;
    else if (m_statusTextArea)
        m_browser->setStatusText(text);
}

void cSHFolder::setDefaultPath(const QString& path)
{
    m_defaultPath = path;
    if (m_browser)
        m_browser->selectPath(path);
}

void cSHFolder::setDefaultPIDL(qint32 csidl)
{
    m_defaultPidl = csidl;
    applyDefaultPIDL();
}

void cSHFolder::setCenterDialog(bool on)
{
    m_centerDialog = on;
    if (on && m_browser)
        m_browser->centre();
}

void cSHFolder::setOKEnabled(bool enabled)
{
    if (m_browser)
        m_browser->setOkEnabled(enabled);
}

void cSHFolder::applyDefaultPIDL()
{
    if (!m_browser || m_defaultPidl == 0)
        return;
    if (const auto path = SpecialFolderPath(m_defaultPidl); path && !path->isEmpty())
        m_browser->selectPath(*path);
}

void cSHFolder::onSelectionChanged(const QString& path)
{
    if (!m_validFolder.isEmpty())
        m_browser->setOkEnabled(MatchesValidFolder(path, m_validFolder));
    emit SelectionChanged(path);
}
