#include "frmTivaroZentaro.h"

#include "CFileDialog.h"
#include "Ini.h"
#include "LightShape.h"
#include "Prompter.h"
#include "Settings.h"
#include "cSHFolder.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct PartControls
{
    const char* list;
    const char* label;
    const char* add;
    const char* del;
};
constexpr std::array<PartControls, SkinManager::PartCount> Parts = {{
    {"LRoot", "Root", "BTNRootAdd", "BTNRootDel"},
    {"LLayout", "Layout", "BTNLayoutAdd", "BTNLayoutDel"},
    {"LFont", "Font", "BTNFontAdd", "BTNFontDel"},
    {"LFont2", "Font2", "BTNFont2Add", "BTNFont2Del"},
}};

const QColor Navy(0, 0, 128);
const QColor LightBlue(192, 192, 255);

QColor colorOf(const ConnectionLook::Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

// The small square +/- buttons beside the lists.
QPushButton* makeSmallButton(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    QPushButton* button = makeButton(parent, name, caption, tip);
    button->setFixedWidth(button->sizeHint().height() + 4);
    button->setAccessibleName(tip);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QListWidget* makeList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

// Replaces the entries only when they changed, so that a tick keeps the user's selection.
void showEntries(QListWidget* list, const QStringList& entries)
{
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    if (shown == entries)
        return;
    list->clear();
    list->addItems(entries);
}

QStringList selectedEntries(const QListWidget* list)
{
    QStringList selected;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            selected << list->item(row)->text();
    }
    return selected;
}

void fill(QLabel* label, const QColor& background, const QColor& text)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

} // namespace

frmTivaroZentaro::frmTivaroZentaro(const QString& settingsFolder, Prompter& prompter, DeviceConnection& connection,
                                   RemoteApi& api, ArrowEditorOpener openArrows, QWidget* parent)
    : QDialog(parent)
    , m_settingsFolder(settingsFolder)
    , m_prompter(prompter)
    , m_link(api, prompter, [] { QCoreApplication::processEvents(); })
    , m_manager({m_link, connection, prompter, settingsFolder, settingsFile(),
                 [this] { return chooseUploadMode(); },
                 [] { QCoreApplication::processEvents(); },
                 [this] { showState(); }})
    , m_openArrows(std::move(openArrows))
{
    setObjectName(QStringLiteral("frmTivaroZentaro"));
    setWindowTitle(QStringLiteral("to the PDA"));
    buildControls();
    Form_Load();
}

frmTivaroZentaro::~frmTivaroZentaro() = default;

QString frmTivaroZentaro::settingsFile() const
{
    return Settings::filePath(m_settingsFolder);
}

void frmTivaroZentaro::buildControls()
{
    // Device half: connection, the stored skins and what to do with them.
    m_toPda = makeButton(this, "BTNToPDA", QStringLiteral("verbinden"), QStringLiteral("PDA"));
    m_red = new LightShape(this);
    m_red->setObjectName(QStringLiteral("Shape1"));
    m_yellow = new LightShape(this);
    m_yellow->setObjectName(QStringLiteral("Shape2"));
    m_green = new LightShape(this);
    m_green->setObjectName(QStringLiteral("Shape4"));
    auto* connectRow = new QHBoxLayout;
    connectRow->addWidget(m_toPda);
    connectRow->addStretch();
    for (LightShape* light : {m_red, m_yellow, m_green})
        connectRow->addWidget(light);

    m_skins = makeList(this, "LSkins");
    auto* skinButtons = new QHBoxLayout;
    QPushButton* skinAdd = makeSmallButton(this, "BTNSkinAdd", QStringLiteral("+"), QStringLiteral("Skin hinzufügen"));
    QPushButton* skinDel = makeSmallButton(this, "BTNSkinDel", QStringLiteral("-"), QStringLiteral("Skin löschen"));
    QPushButton* switchSkin = makeButton(this, "BTNSwitch", QStringLiteral("Switch"), QStringLiteral("Switch Skin"));
    QPushButton* startMn4 = makeButton(this, "BTNStartMN4", QStringLiteral("MN|4"), QStringLiteral("Start MN4"));
    skinButtons->addWidget(skinAdd);
    skinButtons->addWidget(skinDel);
    skinButtons->addStretch();
    skinButtons->addWidget(switchSkin);
    skinButtons->addWidget(startMn4);

    m_activeSkin = makeLabel(this, "LActiveSkin", SkinManager::Unknown);
    QFont bold = m_activeSkin->font();
    bold.setBold(true);
    m_activeSkin->setFont(bold);
    auto* activeRow = new QHBoxLayout;
    activeRow->addWidget(makeLabel(this, "Label10", QStringLiteral("Aktiv:")));
    activeRow->addWidget(m_activeSkin, 1);

    auto* device = new QVBoxLayout;
    device->addLayout(connectRow);
    device->addWidget(makeLabel(this, "Label6", QStringLiteral("Skins")));
    device->addWidget(m_skins, 1);
    device->addLayout(skinButtons);
    device->addLayout(activeRow);

    // PC half: the skin folder and its four parts.
    m_skinDir = new QLineEdit(this);
    m_skinDir->setObjectName(QStringLiteral("TSkinDir"));
    m_skinDir->setReadOnly(true);
    auto* dirButton = new QToolButton(this);
    dirButton->setObjectName(QStringLiteral("BTNDir"));
    dirButton->setToolTip(QStringLiteral("Verzeichnis öffnen"));
    dirButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    auto* dirRow = new QHBoxLayout;
    dirRow->addWidget(makeLabel(this, "Label1", QStringLiteral("Verzeichnis:")));
    dirRow->addWidget(m_skinDir, 1);
    dirRow->addWidget(dirButton);

    m_name = makeLabel(this, "LName", QStringLiteral("feats Zentaro"));
    QFont large = bold;
    large.setPointSizeF(large.pointSizeF() * 1.25);
    m_name->setFont(large);

    auto* parts = new QGridLayout;
    for (int part = 0; part < SkinManager::PartCount; ++part) {
        const PartControls& names = Parts.at(std::size_t(part));
        QListWidget* list = makeList(this, names.list);
        m_partLists.at(std::size_t(part)) = list;
        QPushButton* add = makeSmallButton(this, names.add, QStringLiteral("+"), QStringLiteral("Datei hinzufügen"));
        QPushButton* del = makeSmallButton(this, names.del, QStringLiteral("-"), QStringLiteral("Datei löschen"));
        m_idleOnly << add << del;
        connect(add, &QPushButton::clicked, this, [this, part] { addFiles(part); });
        connect(del, &QPushButton::clicked, this, [this, part] { deleteFiles(part); });
        auto* header = new QHBoxLayout;
        header->addWidget(new QLabel(QLatin1String(names.label), this), 1);
        header->addWidget(add);
        header->addWidget(del);
        auto* cell = new QVBoxLayout;
        cell->addLayout(header);
        cell->addWidget(list, 1);
        parts->addLayout(cell, part / 2, part % 2);
    }

    auto* pc = new QVBoxLayout;
    pc->addLayout(dirRow);
    pc->addWidget(m_name);
    pc->addLayout(parts, 1);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    auto* halves = new QHBoxLayout;
    halves->addLayout(device, 2);
    halves->addWidget(separator);
    halves->addLayout(pc, 5);

    // Status line: the current action, the progress bar and the version.
    m_doing = makeLabel(this, "LDoing", QStringLiteral("..."));
    m_progress = makeLabel(this, "LaktStatus", QStringLiteral("notconnected"));
    m_remaining = makeLabel(this, "LStatus", QStringLiteral("notconnected"));
    fill(m_progress, Navy, Qt::white);
    fill(m_remaining, LightBlue, Navy); // the copied caption rides on the edge of the bar
    m_progress->setFixedHeight(m_progress->sizeHint().height() + 4);
    // The bar keeps its place while it is hidden, so the window does not jump.
    QSizePolicy keep = m_progress->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keep);
    m_doing->setSizePolicy(keep);
    m_progress->installEventFilter(this);
    m_cancelUpload = makeButton(this, "BTNCancelUpload", QStringLiteral("Abbrechen"),
                                QStringLiteral("Hochladen abbrechen"));
    m_cancelUpload->hide();
    m_version = makeLabel(this, "lbl_Version", QString());
    m_version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_version->setEnabled(false);
    auto* status = new QHBoxLayout;
    status->addWidget(m_doing);
    status->addWidget(m_progress, 1);
    status->addWidget(m_cancelUpload);
    status->addWidget(m_version);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(halves, 1);
    layout->addLayout(status);
    resize(720, 420);
    // LStatus lies over LaktStatus outside the layout; it is placed by the progress.
    m_remaining->raise();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &frmTivaroZentaro::Timer1_Timer);

    m_idleOnly << m_toPda << skinAdd << skinDel << switchSkin << startMn4 << dirButton;
    connect(m_cancelUpload, &QPushButton::clicked, this, &frmTivaroZentaro::BTNCancelUpload_Click);
    connect(m_toPda, &QPushButton::clicked, this, &frmTivaroZentaro::BTNToPDA_Click);
    connect(skinAdd, &QPushButton::clicked, this, &frmTivaroZentaro::BTNSkinAdd_Click);
    connect(skinDel, &QPushButton::clicked, this, &frmTivaroZentaro::BTNSkinDel_Click);
    connect(switchSkin, &QPushButton::clicked, this, &frmTivaroZentaro::BTNSwitch_Click);
    connect(startMn4, &QPushButton::clicked, this, &frmTivaroZentaro::BTNStartMN4_Click);
    connect(dirButton, &QToolButton::clicked, this, &frmTivaroZentaro::BTNDir_Click);
    connect(m_partLists[SkinManager::Root], &QListWidget::itemDoubleClicked, this,
            &frmTivaroZentaro::LRoot_DblClick);
}

void frmTivaroZentaro::Form_Load()
{
    m_version->setText(QStringLiteral("Tivaro v") + QStringLiteral(TIVARO_VERSION));
    m_manager.load();
    showState();
}

void frmTivaroZentaro::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_timer->start();
}

void frmTivaroZentaro::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}

bool frmTivaroZentaro::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_progress && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeProgress();
    return QDialog::eventFilter(watched, event);
}

void frmTivaroZentaro::showState()
{
    const ConnectionLook look = m_manager.look();
    m_red->setColor(colorOf(look.redLight));
    m_yellow->setColor(colorOf(look.yellowLight));
    m_green->setColor(colorOf(look.greenLight));
    m_toPda->setText(look.buttonCaption);

    showEntries(m_skins, m_manager.deviceSkins());
    m_activeSkin->setText(m_manager.activeSkin());
    for (int part = 0; part < SkinManager::PartCount; ++part)
        showEntries(m_partLists.at(std::size_t(part)), m_manager.files(part));
    m_skinDir->setText(m_manager.skinDirText());
    if (!m_manager.skinName().isEmpty())
        m_name->setText(m_manager.skinName());

    m_doing->setText(m_manager.doing());
    m_doing->setVisible(!m_manager.doing().isEmpty());
    const SkinManager::Progress& progress = m_manager.progress();
    m_progress->setText(progress.caption);
    m_remaining->setText(progress.caption);
    m_progress->setVisible(progress.visible);
    m_remaining->setVisible(progress.visible);
    placeProgress();
    const bool uploading = m_manager.uploading();
    for (QWidget* widget : std::as_const(m_idleOnly))
        widget->setEnabled(!uploading);
    m_cancelUpload->setVisible(uploading);
    m_doing->repaint();
    m_progress->repaint();
    m_remaining->repaint();
}

void frmTivaroZentaro::placeProgress()
{
    const QRect bar = m_progress->geometry();
    const int done = qRound(bar.width() * m_manager.progress().percent / 100.0);
    m_remaining->setGeometry(bar.left() + done, bar.top(), bar.width() - done, bar.height());
}

void frmTivaroZentaro::Timer1_Timer()
{
    m_manager.tick();
    showState();
}

void frmTivaroZentaro::BTNToPDA_Click()
{
    m_manager.toggleConnection();
    showState();
}

SkinManager::UploadMode frmTivaroZentaro::chooseUploadMode()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Frage:"),
                    QStringLiteral("Der Skin %1 ist schon auf dem PDA.").arg(m_manager.skinName()),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("UploadModeQuestion"));
    QPushButton* changes = box.addButton(QStringLiteral("Nur Änderungen übertragen"), QMessageBox::AcceptRole);
    changes->setObjectName(QStringLiteral("BTNUploadChanges"));
    QPushButton* everything = box.addButton(QStringLiteral("Alles neu"), QMessageBox::AcceptRole);
    everything->setObjectName(QStringLiteral("BTNUploadEverything"));
    box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole)->setObjectName(QStringLiteral("BTNUploadCancel"));
    box.setDefaultButton(changes);
    m_prompter.runDialog(box);
    if (box.clickedButton() == changes)
        return SkinManager::UploadMode::Changes;
    return box.clickedButton() == everything ? SkinManager::UploadMode::Everything : SkinManager::UploadMode::Cancel;
}

void frmTivaroZentaro::BTNSkinAdd_Click()
{
    m_manager.uploadSkin();
    showState();
}

void frmTivaroZentaro::BTNCancelUpload_Click()
{
    m_manager.cancelUpload();
}

void frmTivaroZentaro::reject()
{
    if (m_manager.uploading())
        BTNCancelUpload_Click();
    else
        QDialog::reject();
}

void frmTivaroZentaro::BTNSkinDel_Click()
{
    m_manager.deleteSkins(selectedEntries(m_skins));
    showState();
}

void frmTivaroZentaro::BTNSwitch_Click()
{
    m_manager.switchSkin(selectedEntries(m_skins));
    showState();
}

void frmTivaroZentaro::BTNStartMN4_Click()
{
    m_manager.startMN4();
}

void frmTivaroZentaro::BTNDir_Click()
{
    cSHFolder picker(m_prompter);
    picker.setPlainFolderChoice(ReadIni(settingsFile(), Settings::Directory, Settings::SkinDir, QString()));
    const QString folder = picker.BrowseForFolder(this);
    if (folder.isEmpty())
        return;
    m_manager.SetDirs(folder);
    Form_Load();
}

void frmTivaroZentaro::addFiles(int part)
{
    const QString folder = m_manager.skinFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    CFileDialog dialog(m_prompter);
    dialog.setDialogTitle(QStringLiteral("Datei kopieren"));
    dialog.setDefaultExt(QString());
    dialog.setDefaultDir(QString());
    dialog.setDefaultFileName(QString());
    dialog.setMultiSelect(true);
    dialog.setFlags(6148);
    dialog.setHwnd(this);
    dialog.ShowOpen();
    QStringList chosen;
    for (int n = 1; n < dialog.FileCount(); ++n)
        chosen << dialog.GetNextFile();
    if (dialog.FileCount() > 0)
        chosen << dialog.fileName();
    m_manager.addFiles(part, chosen);
    showState();
}

void frmTivaroZentaro::deleteFiles(int part)
{
    m_manager.deleteFiles(part, selectedEntries(m_partLists.at(std::size_t(part))));
    showState();
}

void frmTivaroZentaro::LRoot_DblClick(QListWidgetItem* item)
{
    if (item && m_openArrows && !m_manager.uploading()
        && item->text().compare(QLatin1String("NavLib.ini"), Qt::CaseInsensitive) == 0)
        m_openArrows(this, m_manager.skinFolder());
}

void showSkinManager(QWidget* owner, const QString& settingsFolder, Prompter& prompter, DeviceConnection& connection,
                     RemoteApi& api, frmTivaroZentaro::ArrowEditorOpener openArrows)
{
    frmTivaroZentaro window(settingsFolder, prompter, connection, api, std::move(openArrows), owner);
    window.setModal(true);
    prompter.runDialog(window);
}
