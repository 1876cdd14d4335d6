#include "frmPreferences.h"

#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "Ini.h"
#include "ProfileUpdate.h"
#include "ProfileUpdater.h"
#include "ProgramVersion.h"
#include "Prompter.h"
#include "Settings.h"
#include "SpeedProfileChart.h"
#include "cSHFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const std::array<QString, 8> RowLabels = {
    QStringLiteral("BAB:"),      QStringLiteral("Schnellstr.:"), QStringLiteral("Bundesstr.:"),
    QStringLiteral("Landstr.:"), QStringLiteral("Nebenstr.:"),   QStringLiteral("Gasse:"),
    QStringLiteral("Feldweg:"),  QStringLiteral("Wohnstr.:"),
};

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

void paint(QFrame* light, const ConnectionLook::Rgb& rgb)
{
    QPalette palette = light->palette();
    palette.setColor(QPalette::Window, QColor(rgb.red, rgb.green, rgb.blue));
    light->setPalette(palette);
}

} // namespace

frmPreferences::frmPreferences(const ToolContext& context, DeviceConnection& connection, DeviceLink& link,
                               QWidget* parent, MapExportLauncher launcher)
    : QDialog(parent)
    , m_context(context)
    , m_connection(connection)
    , m_link(link)
    , m_launcher(std::move(launcher))
    , m_machine(connection, link, context.prompter, [] { QCoreApplication::processEvents(); })
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));

    auto* top = new QHBoxLayout;
    m_chart = new SpeedProfileChart(this);
    top->addWidget(buildClassTable());
    top->addWidget(buildSideBar());
    top->addWidget(m_chart, 1);

    auto* lines = new QGridLayout;
    m_speedLine = addField(QStringLiteral("TXTSPEED"), -1);
    m_preferenceLine = addField(QStringLiteral("TXTPREFS"), -1);
    lines->addWidget(new QLabel(QStringLiteral("[speedprofile]:"), this), 0, 0);
    lines->addWidget(m_speedLine, 0, 1);
    lines->addWidget(new QLabel(QStringLiteral("[preferences]"), this), 1, 0);
    lines->addWidget(m_preferenceLine, 1, 1);
    // The update takes the lines as they stand, hand edits included.
    connect(m_speedLine, &QLineEdit::textChanged, this, [this](const QString& text) { m_model.setSpeedLine(text); });
    connect(m_preferenceLine, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_model.setPreferenceLine(text); });
    for (QLineEdit* line : {m_speedLine, m_preferenceLine})
        connect(line, &QLineEdit::textEdited, this, [this] { m_unsaved = true; });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lines);

    // Enter walks the fields in this order, as Tab does.
    QList<QWidget*> order;
    for (int i = 0; i < SpeedProfile::ClassCount; ++i)
        order << m_speeds[i] << m_consumptions[i];
    for (QLineEdit* field : m_globals)
        order << field;
    order << m_speedLine << m_preferenceLine;
    for (QCheckBox* box : m_updateBoxes)
        order << box;
    for (const char* name : {"BTNDir", "BTNToPDA", "CMDSave", "CMDUpdate"})
        order << findChild<QWidget*>(QLatin1String(name));
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
    for (QWidget* widget : order)
        widget->installEventFilter(this);
    for (auto editable = m_editable.cbegin(); editable != m_editable.cend(); ++editable) {
        auto* field = static_cast<QLineEdit*>(editable.key());
        connect(field, &QLineEdit::textEdited, this, [this, field] { previewField(field); });
    }

    connect(qApp, &QApplication::focusChanged, this, &frmPreferences::focusMoved);
    Form_Load();
}

frmPreferences::~frmPreferences()
{
    // The fields lose their focus while they go; that is no edit to check.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

QLineEdit* frmPreferences::addField(const QString& name, int index)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    if (index >= 0)
        field->setProperty("index", index);
    return field;
}

QWidget* frmPreferences::buildClassTable()
{
    auto* table = new QWidget(this);
    auto* grid = new QGridLayout(table);
    grid->addWidget(heading(QStringLiteral("Lokale Parameter:"), table), 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Geschw.:"), table), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Verbr.:"), table), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Wertigkeit %:"), table), 1, 3);
    int row = 2;
    for (int i = 0; i < SpeedProfile::ClassCount; ++i) {
        if (i % 8 == 0)
            grid->addWidget(new QLabel(i == 0 ? QStringLiteral("Ausserorts:") : QStringLiteral("Innerorts:"), table),
                            row++, 0, 1, 4);
        m_speeds[i] = addField(QStringLiteral("TXT0"), i);
        m_speeds[i]->setAccessibleName(QStringLiteral("Geschw. %1 %2")
                                           .arg(i < 8 ? QStringLiteral("Ausserorts") : QStringLiteral("Innerorts"),
                                                RowLabels[std::size_t(i % 8)].chopped(1)));
        m_consumptions[i] = addField(QStringLiteral("TXT1"), i);
        m_weights[i] = addField(QStringLiteral("TXTW"), i);
        // The weight is computed; it can be read and copied but not typed over.
        m_weights[i]->setReadOnly(true);
        m_weights[i]->setFocusPolicy(Qt::ClickFocus);
        m_editable.insert(m_speeds[i], {SpeedProfile::Field::Speed, i});
        m_editable.insert(m_consumptions[i], {SpeedProfile::Field::Consumption, i});
        grid->addWidget(new QLabel(RowLabels[std::size_t(i % 8)], table), row, 0);
        grid->addWidget(m_speeds[i], row, 1);
        grid->addWidget(m_consumptions[i], row, 2);
        grid->addWidget(m_weights[i], row, 3);
        ++row;
    }
    return table;
}

QWidget* frmPreferences::buildSideBar()
{
    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);

    column->addWidget(heading(QStringLiteral("Globale Parameter:"), side));
    auto* globals = new QGridLayout;
    const std::array<QString, 3> names = {QStringLiteral("Zeitkosten:"), QStringLiteral("Treibstoffkosten:"),
                                          QStringLiteral("Normieren auf:")};
    const std::array<QString, 3> units = {QStringLiteral("€/h"), QStringLiteral("€/L"), QString()};
    for (int k = 0; k < SpeedProfile::GlobalCount; ++k) {
        m_globals[k] = addField(QStringLiteral("TXTG"), k);
        m_editable.insert(m_globals[k], {SpeedProfile::Field::Global, k});
        globals->addWidget(new QLabel(names[k], side), k, 0);
        globals->addWidget(m_globals[k], k, 1);
        globals->addWidget(new QLabel(units[k], side), k, 2);
    }
    column->addLayout(globals);

    const std::array<QString, 6> captions = {QStringLiteral("fast"),     QStringLiteral("standard"),
                                             QStringLiteral("NavLib.ini"), QStringLiteral("fast"),
                                             QStringLiteral("standard"), QStringLiteral("starten")};
    for (int k = 0; k < 6; ++k) {
        m_updateBoxes[k] = new QCheckBox(captions[k], side);
        m_updateBoxes[k]->setObjectName(QStringLiteral("ChkUpdate"));
        m_updateBoxes[k]->setAccessibleName((k < 3 ? QStringLiteral("PDA ") : QStringLiteral("PC ")) + captions[k]);
        m_updateBoxes[k]->setProperty("index", k);
    }
    column->addWidget(heading(QStringLiteral("PDA:"), side));
    column->addWidget(new QLabel(QStringLiteral("profile:"), side));
    column->addWidget(m_updateBoxes[0]);
    column->addWidget(m_updateBoxes[1]);
    column->addWidget(new QLabel(QStringLiteral("aktuell:"), side));
    column->addWidget(m_updateBoxes[2]);
    column->addWidget(heading(QStringLiteral("PC:"), side));
    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(new QLabel(QStringLiteral("MapExport:"), side));
    auto* dir = new QPushButton(side);
    dir->setObjectName(QStringLiteral("BTNDir"));
    dir->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    dir->setToolTip(QStringLiteral("Verzeichnis zum MapExport"));
    exportRow->addWidget(dir);
    exportRow->addStretch();
    column->addLayout(exportRow);
    for (int k = 3; k < 6; ++k)
        column->addWidget(m_updateBoxes[k]);

    auto* connection = new QHBoxLayout;
    m_toPda = new QPushButton(QStringLiteral("verbinden"), side);
    m_toPda->setObjectName(QStringLiteral("BTNToPDA"));
    m_toPda->setToolTip(QStringLiteral("PDA"));
    connection->addWidget(m_toPda);
    const std::array<QString, 3> lightNames = {QStringLiteral("Shape1"), QStringLiteral("Shape2"),
                                               QStringLiteral("Shape4")};
    for (int k = 0; k < 3; ++k) {
        m_lights[k] = new QFrame(side);
        m_lights[k]->setObjectName(lightNames[k]);
        m_lights[k]->setFixedSize(14, 14);
        m_lights[k]->setFrameShape(QFrame::Box);
        m_lights[k]->setAutoFillBackground(true);
        connection->addWidget(m_lights[k]);
    }
    connection->addStretch();
    column->addLayout(connection);

    auto* save = new QPushButton(QStringLiteral("Speichern"), side);
    save->setObjectName(QStringLiteral("CMDSave"));
    save->setToolTip(QStringLiteral("Einstellungen speichern"));
    auto* update = new QPushButton(QStringLiteral("Update"), side);
    update->setObjectName(QStringLiteral("CMDUpdate"));
    update->setToolTip(QStringLiteral("ini's updaten"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(update);
    column->addLayout(buttons);

    m_doing = new QLabel(side);
    m_doing->setObjectName(QStringLiteral("LDoing"));
    column->addWidget(m_doing);
    column->addStretch();
    auto* version = new QLabel(VersionLabelText(), side);
    version->setObjectName(QStringLiteral("lbl_Version"));
    column->addWidget(version);

    // Enter walks the fields; it never presses a button.
    for (QPushButton* button : {dir, m_toPda, save, update})
        button->setAutoDefault(false);
    connect(dir, &QPushButton::clicked, this, &frmPreferences::BTNDir_Click);
    connect(m_toPda, &QPushButton::clicked, this, &frmPreferences::BTNToPDA_Click);
    connect(save, &QPushButton::clicked, this, &frmPreferences::CMDSave_Click);
    connect(update, &QPushButton::clicked, this, &frmPreferences::CMDUpdate_Click);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &frmPreferences::Timer1_Timer);
    return side;
}

QString frmPreferences::settingsFile() const
{
    return Settings::filePath(m_context.settingsFolder);
}

void frmPreferences::Form_Load()
{
    m_connection.connectAttempts = 0;
    m_model.load(settingsFile());
    WriteForm();
    const bool connected = m_link.IsDeviceConnected();
    const bool wanted = m_connection.connectWanted;
    showConnection(connected ? (wanted ? ConnectionState::Connected : ConnectionState::Disconnecting)
                             : (wanted ? ConnectionState::Connecting : ConnectionState::Idle));
    m_timer->start();
}

void frmPreferences::WriteForm()
{
    for (int i = 0; i < SpeedProfile::ClassCount; ++i) {
        m_speeds[i]->setText(m_model.fieldText(SpeedProfile::Field::Speed, i));
        m_consumptions[i]->setText(m_model.fieldText(SpeedProfile::Field::Consumption, i));
        m_weights[i]->setText(m_model.weightText(i));
    }
    for (int k = 0; k < SpeedProfile::GlobalCount; ++k)
        m_globals[k]->setText(m_model.fieldText(SpeedProfile::Field::Global, k));
    m_speedLine->setText(m_model.speedLine());
    m_preferenceLine->setText(m_model.preferenceLine());
    m_chart->showProfile(m_model);
}

void frmPreferences::showConnection(ConnectionState state)
{
    const ConnectionLook look = ConnectionLook::of(state);
    paint(m_lights[0], look.redLight);
    paint(m_lights[1], look.yellowLight);
    paint(m_lights[2], look.greenLight);
    m_toPda->setText(look.buttonCaption);
}

void frmPreferences::focusMoved(QWidget* old, QWidget* now)
{
    // Only a move to another place of this window leaves a field; a message box does not.
    const auto editable = m_editable.constFind(old);
    if (editable == m_editable.cend() || !now || now->window() != this)
        return;
    leaveField(static_cast<QLineEdit*>(old));
}

void frmPreferences::leaveField(QLineEdit* field)
{
    const Editable editable = m_editable.value(field);
    switch (m_model.edit(editable.field, editable.index, field->text())) {
    case SpeedProfile::EditResult::Rejected:
        field->setFocus(Qt::OtherFocusReason);
        break;
    case SpeedProfile::EditResult::Changed:
        m_unsaved = true;
        WriteForm();
        break;
    case SpeedProfile::EditResult::Unchanged:
        break;
    }
}

void frmPreferences::previewField(QLineEdit* field)
{
    // The chart follows every keystroke; the model and the other fields change
    // only when the field is left. A text the model rejects leaves the copy as it was.
    const Editable editable = m_editable.value(field);
    SpeedProfile preview = m_model;
    preview.edit(editable.field, editable.index, field->text());
    m_chart->showProfile(preview);
}

void frmPreferences::reject()
{
    // A value still in the field being typed in counts as typed.
    if (auto* field = qobject_cast<QLineEdit*>(focusWidget()); field && m_editable.contains(field))
        leaveField(field);
    if (m_unsaved) {
        switch (m_context.prompter.ask(QStringLiteral("Frage:"), QStringLiteral("Sollen die Werte gespeichert werden?"),
                                      Prompter::Buttons::YesNoCancel, Prompter::Icon::Question)) {
        case Prompter::Answer::Yes:
            if (!CMDSave_Click())
                return;
            break;
        case Prompter::Answer::No:
            break;
        default:
            return;
        }
    }
    QDialog::reject();
}

bool frmPreferences::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool frmPreferences::CMDSave_Click()
{
    if (m_model.SaveParams(settingsFile())) {
        m_unsaved = false;
        return true;
    }
    m_context.prompter.note(QStringLiteral("Hinweis:"), QStringLiteral("Tivaro.ini konnte nicht gespeichert werden."),
                           Prompter::Icon::Exclamation);
    return false;
}

void frmPreferences::CMDUpdate_Click()
{
    ProfileUpdater::Boxes boxes{};
    for (int k = 0; k < ProfileUpdater::BoxCount; ++k)
        boxes[k] = m_updateBoxes[k]->isChecked();
    ProfileUpdater updater({
        m_link,
        m_connection,
        m_context.prompter,
        m_launcher,
        m_context.settingsFolder,
        settingsFile(),
        [this](const QString& text) {
            m_doing->setText(text);
            m_doing->repaint();
        },
        [this] { BTNDir_Click(); },
    });
    // Lines sent to MN4's files count as used; only starting the export tool does not.
    if (std::find(boxes.begin(), boxes.begin() + ProfileUpdate::TargetCount, true)
        != boxes.begin() + ProfileUpdate::TargetCount)
        m_unsaved = false;
    updater.run(boxes, m_speedLine->text(), m_preferenceLine->text());
    for (int k = 0; k < ProfileUpdater::BoxCount; ++k)
        m_updateBoxes[k]->setChecked(boxes[k]);
}

void frmPreferences::BTNDir_Click()
{
    const QString file = settingsFile();
    const QString folder = GetFolder(
        ReadIni(file, Settings::Directory, Settings::MapExportDir, Settings::defaultMapExportDir()));
    if (!folder.isEmpty() && !WriteIni(file, Settings::Directory, Settings::MapExportDir, folder))
        m_context.prompter.note(QStringLiteral("Hinweis:"), QStringLiteral("Tivaro.ini konnte nicht gespeichert werden."),
                               Prompter::Icon::Exclamation);
}

QString frmPreferences::GetFolder(const QString& strDefaultPath)
{
    cSHFolder picker(m_context.prompter);
    picker.setPlainFolderChoice(strDefaultPath);
    return picker.BrowseForFolder(this);
}

void frmPreferences::BTNToPDA_Click()
{
    paint(m_lights[1], {255, 255, 0});
    m_connection.connectAttempts = 0;
    m_connection.connectWanted = !m_link.IsDeviceConnected();
}

void frmPreferences::Timer1_Timer()
{
    m_machine.tick();
    showConnection(m_machine.state());
}

void showPreferences(QWidget* owner, const ToolContext& context, DeviceConnection& connection, DeviceLink& link)
{
    frmPreferences window(context, connection, link, owner);
    context.prompter.runDialog(window);
}
