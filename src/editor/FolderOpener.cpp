#include "FolderOpener.h"

#include "AppState.h"
#include "EditorActions.h"
#include "Ini.h"
#include "Prompter.h"
#include "ScreenLayout.h"
#include "Settings.h"
#include "cSHFolder.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

namespace {

const QString MainMenuScreen = QStringLiteral("Hauptmenu");

} // namespace

FolderOpener::FolderOpener(AppState& state, ScreenLayout& layout, QComboBox& screens, EditorActions& actions,
                           std::function<void()> opened, QWidget* window)
    : QObject(window)
    , m_state(state)
    , m_layout(layout)
    , m_screens(screens)
    , m_actions(actions)
    , m_opened(std::move(opened))
    , m_window(*window)
{
}

QString FolderOpener::settingsFile() const
{
    return Settings::filePath(m_state.settingsFolder());
}

QString FolderOpener::choose()
{
    cSHFolder picker(*m_state.prompter);
    m_picker = &picker;
    connect(&picker, &cSHFolder::SelectionChanged, this, &FolderOpener::showSelection);
    connect(
        &picker, &cSHFolder::ValidationFailed, this,
        [this](const QString& path, bool& cancel) { cancel = abandonsInvalidPath(path); }, Qt::DirectConnection);
    picker.setPlainFolderChoice(m_state.SkinFolder);
    const QString path = picker.BrowseForFolder(&m_window);
    m_picker = nullptr;
    return path;
}

void FolderOpener::showSelection(const QString& path)
{
    if (m_picker)
        m_picker->setStatusText(path.isEmpty() ? QString() : path + QStringLiteral(" wurde gewählt."));
}

bool FolderOpener::abandonsInvalidPath(const QString& path) const
{
    const QString text = QStringLiteral("Der eingegebene Pfad \"") + path + QStringLiteral("\" ist ungültig.\r\n")
                         + QStringLiteral("Wollen Sie Ihre Eingabe korrigieren?");
    return m_state.prompter->ask(QStringLiteral("Ungültige Pfadangabe"), text, Prompter::Buttons::OkCancel,
                                 Prompter::Icon::Exclamation)
           == Prompter::Answer::Cancel;
}

void FolderOpener::chooseAndOpen()
{
    const QString path = choose();
    if (!path.isEmpty())
        use(path);
    m_screens.setFocus();
}

void FolderOpener::use(const QString& path)
{
    // Pending edits belong to the folder they were loaded from: they are offered
    // for saving there, before the folder changes, and never reach the new one.
    if (!m_layout.offerSave())
        return;
    WriteIni(settingsFile(), Settings::Directory, Settings::LastDir, path);
    const QStringList recent = Settings::withRecentFolder(Settings::readRecentFolders(settingsFile()), path);
    Settings::writeRecentFolders(settingsFile(), recent);
    m_actions.showRecentFolders(recent);
    m_state.SkinFolder = path;
    if (!path.endsWith(u'\\') && !path.endsWith(u'/'))
        m_state.SkinFolder += QDir::separator();
    m_state.LayoutLoaded = true;
    m_layout.CheckForSave(m_screens.currentText());
    m_opened();
}

bool FolderOpener::open(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir()) {
        m_state.prompter->note(QStringLiteral("Hinweis:"),
                               QStringLiteral("Der Ordner \"") + folder + QStringLiteral("\" wurde nicht gefunden."),
                               Prompter::Icon::Exclamation);
        return false;
    }
    const QString before = m_screens.currentText();
    m_screens.setCurrentIndex(m_screens.findText(MainMenuScreen));
    use(QDir::toNativeSeparators(info.absoluteFilePath()));
    // Kept edits keep their screen, and the list says which one that is.
    const QString shown = m_layout.currentScreen().isEmpty() ? before : m_layout.currentScreen();
    m_screens.setCurrentIndex(m_screens.findText(shown));
    m_screens.setFocus();
    return true;
}

QString FolderOpener::droppedFolder(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile())
        return {};
    const QFileInfo info(data->urls().first().toLocalFile());
    if (info.isDir())
        return info.absoluteFilePath();
    return info.isFile() ? info.absolutePath() : QString();
}

void FolderOpener::drop(QDropEvent& event)
{
    const QString folder = droppedFolder(event.mimeData());
    if (folder.isEmpty())
        return;
    event.acceptProposedAction();
    open(folder);
}

void FolderOpener::showRecentFolders()
{
    m_actions.showRecentFolders(Settings::readRecentFolders(settingsFile()));
}
