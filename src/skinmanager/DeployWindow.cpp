#include "DeployWindow.h"

#include "Prompter.h"
#include "Settings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A message box shows this many findings; the window's list holds them all.
constexpr int FindingsInQuestion = 15;
// While a file crosses, events run (and Abbrechen is heard) this often.
constexpr int EventInterval = 50; // ms
constexpr int WaitForDevice = 1000; // ms between connection attempts
constexpr int ProgressSteps = 1000;

QString questionList(const QStringList& lines)
{
    if (lines.size() <= FindingsInQuestion)
        return lines.join(u'\n');
    return lines.first(FindingsInQuestion).join(u'\n')
           + QStringLiteral("\n… und %1 weitere").arg(lines.size() - FindingsInQuestion);
}

} // namespace

DeployWindow::DeployWindow(const DeployContext& context, const QString& skinFolder, bool dryRun, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_skinFolder(skinFolder)
    , m_dryRun(dryRun)
{
    setObjectName(QStringLiteral("DeployWindow"));
    setWindowTitle(dryRun ? QStringLiteral("Was ginge auf den PDA?") : QStringLiteral("Auf den PDA"));
    m_options.dryRun = dryRun;
    m_options.activate = context.choices.activate;
    m_options.startMn4 = context.choices.startMn4;

    m_step = new QLabel(QStringLiteral("Prüfe den Skin …"), this);
    m_step->setObjectName(QStringLiteral("LDeployStep"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("DeployProgress"));
    m_progress->setRange(0, ProgressSteps);
    m_progress->setValue(0);
    m_progress->setVisible(!dryRun);
    m_lines = new QPlainTextEdit(this);
    m_lines->setObjectName(QStringLiteral("LDeployLines"));
    m_lines->setReadOnly(true);
    // The listing lines up its columns ("neu", "ersetzt", "entfernt") with spaces.
    m_lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    m_activate = new QCheckBox(QStringLiteral("aktivieren"), this);
    m_activate->setObjectName(QStringLiteral("ChkActivate"));
    m_activate->setToolTip(QStringLiteral("Auch dann in MN|4 aktivieren, wenn dort ein anderer Skin aktiv ist"));
    m_activate->setChecked(m_options.activate);
    m_startMn4 = new QCheckBox(QStringLiteral("MN|4 starten"), this);
    m_startMn4->setObjectName(QStringLiteral("ChkStartMN4"));
    m_startMn4->setChecked(m_options.startMn4);
    // The run reads the ticks only after the transfer, so they may change while it goes.
    connect(m_activate, &QCheckBox::toggled, this, [this](bool on) { m_options.activate = m_context.choices.activate = on; });
    connect(m_startMn4, &QCheckBox::toggled, this, [this](bool on) { m_options.startMn4 = m_context.choices.startMn4 = on; });
    m_activate->setVisible(!dryRun);
    m_startMn4->setVisible(!dryRun);

    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("BTNDeployCancel"));
    m_cancel->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("Schließen"), this);
    m_close->setObjectName(QStringLiteral("BTNDeployClose"));
    m_close->hide();
    connect(m_cancel, &QPushButton::clicked, this, &DeployWindow::BTNDeployCancel_Click);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_activate);
    buttons->addWidget(m_startMn4);
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_step);
    layout->addWidget(m_progress);
    layout->addWidget(m_lines, 1);
    layout->addLayout(buttons);
    resize(480, 320);
}

QString DeployWindow::run()
{
    m_running = true;
    m_sinceEvents.start();
    SkinDeploy deploy({m_context.link, m_context.connection, m_context.prompter, m_context.settingsFolder,
                       Settings::filePath(m_context.settingsFolder), m_context.check,
                       [this](const QString& line) { say(line); }, [this] { return waitForDevice(); },
                       [this](const SyncStep& step, qint64 done, qint64 total) { return showProgress(step, done, total); },
                       [this](const QStringList& rootFiles) { return agreeToLayoutCopies(rootFiles); },
                       [this](const QStringList& findings) { return goOnDespiteWarnings(findings); }});
    const bool done = deploy.run(m_skinFolder, m_options) == SkinDeploy::Outcome::Done;
    m_running = false;
    m_step->setText(deploy.summary());
    if (done)
        m_progress->setValue(ProgressSteps);
    m_activate->setEnabled(false);
    m_startMn4->setEnabled(false);
    m_cancel->hide();
    m_close->show();
    m_close->setDefault(true);
    m_close->setFocus();
    return deploy.summary();
}

void DeployWindow::BTNDeployCancel_Click()
{
    m_cancelled = true;
}

void DeployWindow::reject()
{
    if (m_running)
        BTNDeployCancel_Click();
    else
        QDialog::reject();
}

bool DeployWindow::agreeToLayoutCopies(const QStringList& rootFiles)
{
    const QString folder = QDir::cleanPath(QFileInfo(m_skinFolder).absoluteFilePath());
    if (m_context.choices.layoutCopiesAgreed.contains(folder))
        return true;
    const Prompter::Answer answer = m_context.prompter.ask(
        QStringLiteral("Frage:"),
        QStringLiteral("Auf den PDA kommt von diesen Layoutdateien nur die Kopie in Layout, und die weicht von der "
                       "Datei im Hauptordner ab:\n")
            + rootFiles.join(u'\n')
            + QStringLiteral("\nSollen sie nach Layout kopiert werden (auch bei jedem weiteren Mal)?"),
        Prompter::Buttons::YesNo, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Yes)
        return false;
    m_context.choices.layoutCopiesAgreed.insert(folder);
    return true;
}

bool DeployWindow::goOnDespiteWarnings(const QStringList& findings)
{
    return m_context.prompter.ask(QStringLiteral("Frage:"),
                                  QStringLiteral("Die Prüfung fand Warnungen:\n") + questionList(findings)
                                      + QStringLiteral("\nTrotzdem auf den PDA übertragen?"),
                                  Prompter::Buttons::YesNo, Prompter::Icon::Question)
           == Prompter::Answer::Yes;
}

bool DeployWindow::waitForDevice()
{
    m_step->setText(QStringLiteral("Warte auf den PDA …"));
    if (!m_cancelled) {
        QEventLoop wait;
        QTimer::singleShot(WaitForDevice, &wait, &QEventLoop::quit);
        const QMetaObject::Connection cancel = connect(m_cancel, &QPushButton::clicked, &wait, &QEventLoop::quit);
        wait.exec();
        disconnect(cancel);
    }
    return !m_cancelled;
}

bool DeployWindow::showProgress(const SyncStep& step, qint64 done, qint64 total)
{
    const QString text = QStringLiteral("Übertrage ") + step.path;
    if (m_step->text() != text)
        m_step->setText(text);
    m_progress->setValue(total > 0 ? int(done * ProgressSteps / total) : ProgressSteps);
    if (m_sinceEvents.hasExpired(EventInterval)) {
        QCoreApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !m_cancelled;
}

void DeployWindow::say(const QString& line)
{
    m_lines->appendPlainText(line);
}

QString showDeploy(QWidget* owner, const DeployContext& context, const QString& skinFolder, bool dryRun)
{
    DeployWindow window(context, skinFolder, dryRun, owner);
    window.setModal(true);
    window.show();
    QCoreApplication::processEvents();
    const QString summary = window.run();
    context.prompter.runDialog(window);
    return summary;
}
