#include "FolderBrowser.h"

#include "FolderPaths.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

FolderBrowser::FolderBrowser(const Options& options, QWidget* parent)
    : QDialog(parent)
    , m_options(options)
    , m_model(new QFileSystemModel(this))
    , m_tree(new QTreeView(this))
    , m_status(new QLabel(this))
    , m_edit(new QLineEdit(this))
    , m_newFolder(new QPushButton(QStringLiteral("Neuer Ordner"), this))
{
    setObjectName(QStringLiteral("FolderBrowser"));
    setWindowTitle(QStringLiteral("Ordner suchen"));

    auto* title = new QLabel(options.title, this);
    title->setObjectName(QStringLiteral("TitleLabel"));
    title->setWordWrap(true);
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_status->setWordWrap(true);
    m_status->setVisible(options.statusTextArea);
    m_edit->setObjectName(QStringLiteral("EditBox"));
    m_edit->setVisible(options.editBox);
    m_newFolder->setObjectName(QStringLiteral("NewFolderButton"));
    m_newFolder->setVisible(options.newDialog);
    m_newFolder->setAutoDefault(false);

    QDir::Filters filters = QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot;
    if (options.includeFiles)
        filters |= QDir::Files;
    m_model->setFilter(filters);
    m_model->setReadOnly(false);
    m_model->setRootPath(options.rootPath);

    m_tree->setObjectName(QStringLiteral("FolderTree"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(0, Qt::AscendingOrder);
    if (!options.rootPath.isEmpty())
        m_tree->setRootIndex(m_model->index(options.rootPath));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setEnabled(false);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setText(QStringLiteral("Abbrechen"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_newFolder);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_status);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_edit);
    layout->addLayout(bottom);
    // The old style is a fixed window; the new one can be resized.
    if (options.newDialog)
        resize(400, 460);
    else
        layout->setSizeConstraint(QLayout::SetFixedSize);
    setSizeGripEnabled(options.newDialog);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &FolderBrowser::onCurrentChanged);
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) { m_ok->setEnabled(!text.trimmed().isEmpty()); });
    connect(m_newFolder, &QPushButton::clicked, this, &FolderBrowser::makeNewFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &FolderBrowser::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FolderBrowser::reject);
}

bool FolderBrowser::selectPath(const QString& path)
{
    const QFileInfo info(QDir::fromNativeSeparators(path));
    if (path.isEmpty() || !info.exists() || (!info.isDir() && !m_options.includeFiles))
        return false;
    const QModelIndex index = m_model->index(QDir::cleanPath(info.absoluteFilePath()));
    // Only what lies below the tree's top can be selected.
    QModelIndex ancestor = index.parent();
    if (!m_options.rootPath.isEmpty()) {
        while (ancestor.isValid() && ancestor != m_tree->rootIndex())
            ancestor = ancestor.parent();
        if (!ancestor.isValid())
            return false;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        m_tree->expand(up);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
    return index.isValid();
}

void FolderBrowser::setStatusText(const QString& text)
{
    m_status->setText(text);
}

void FolderBrowser::setOkEnabled(bool enabled)
{
    m_ok->setEnabled(enabled);
}

void FolderBrowser::centre()
{
    // The layout settles the final size first, so the centre is the real one.
    if (layout())
        layout()->activate();
    if (const QScreen* s = screen())
        move(CenteredPosition(s->geometry(), frameGeometry().size()));
    // The window frame is known only once the window is shown.
    m_centreOnShow = !isVisible();
}

void FolderBrowser::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_centreOnShow)
        centre();
}

QString FolderBrowser::selectedPath() const
{
    const QModelIndex index = m_tree->currentIndex();
    return index.isValid() ? NativeResultPath(m_model->filePath(index)) : QString();
}

void FolderBrowser::accept()
{
    if (m_options.editBox) {
        const QString typed = m_edit->text().trimmed();
        const QString resolved = resolveTyped(typed);
        if (resolved.isEmpty()) {
            bool cancel = false;
            emit validationFailed(typed, cancel);
            if (cancel)
                reject();
            return;
        }
        m_chosenPath = resolved;
        m_chosenDisplayName = QFileInfo(resolved).fileName();
    } else {
        m_chosenPath = selectedPath();
        if (m_chosenPath.isEmpty() || !m_ok->isEnabled())
            return;
        m_chosenDisplayName = m_model->fileName(m_tree->currentIndex());
    }
    if (m_chosenDisplayName.isEmpty())
        m_chosenDisplayName = m_chosenPath; // a root has no name of its own
    QDialog::accept();
}

void FolderBrowser::onCurrentChanged()
{
    const QString path = selectedPath();
    m_ok->setEnabled(!path.isEmpty());
    m_edit->setText(path);
    m_newFolder->setEnabled(!path.isEmpty());
    emit selectionChanged(path);
}

void FolderBrowser::makeNewFolder()
{
    QModelIndex parent = m_tree->currentIndex();
    if (parent.isValid() && !m_model->isDir(parent))
        parent = parent.parent();
    if (!parent.isValid())
        return;
    const QDir dir(m_model->filePath(parent));
    const QString base = QStringLiteral("Neuer Ordner");
    QString name = base;
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    const QModelIndex created = m_model->mkdir(parent, name);
    if (created.isValid())
        selectPath(m_model->filePath(created));
}

QString FolderBrowser::resolveTyped(const QString& typed) const
{
    if (typed.isEmpty())
        return {};
    QString path = QDir::fromNativeSeparators(typed);
    if (QDir::isRelativePath(path)) {
        // A name alone is taken inside the selected folder.
        const QFileInfo selected(QDir::fromNativeSeparators(selectedPath()));
        if (selectedPath().isEmpty())
            return {};
        path = (selected.isDir() ? selected.absoluteFilePath() : selected.absolutePath()) + u'/' + path;
    }
    const QFileInfo info(path);
    if (!info.exists() || (!info.isDir() && !m_options.includeFiles))
        return {};
    const QString result = NativeResultPath(path);
    if (!m_options.validFolder.isEmpty() && !MatchesValidFolder(result, m_options.validFolder))
        return {};
    return result;
}
