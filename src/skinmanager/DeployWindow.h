#pragma once

#include "SkinDeploy.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QSet>

class DeviceLink;
class Prompter;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
struct DeviceConnection;

// What the deploy window remembers while the program runs: the skin folders
// whose Layout copies the user agreed to replace, and the two ticks.
struct DeployChoices
{
    QSet<QString> layoutCopiesAgreed;
    bool activate = false;
    bool startMn4 = false;
};

// What the deploy window uses of the program: the device the skin manager
// shares, the prompter, the checker and the remembered choices.
struct DeployContext
{
    QString settingsFolder; // of Tivaro.ini, ends with a separator
    Prompter& prompter;
    DeviceConnection& connection;
    DeviceLink& link; // lets user-interface events run while it connects
    std::function<SkinDeploy::Check(const QString& skinFolder)> check;
    DeployChoices& choices;
};

// "Auf den PDA" and "Was ginge auf den PDA?": a small modal window over one
// SkinDeploy run. It shows the step, a progress bar over the bytes to send and
// every line the run says; "Abbrechen" stops the transfer before anything is
// moved into place on the device, so the stored skin stays as it was.
class DeployWindow : public QDialog
{
    Q_OBJECT

public:
    DeployWindow(const DeployContext& context, const QString& skinFolder, bool dryRun, QWidget* parent = nullptr);

    // Runs the deploy while the window shows it and returns the line that
    // says how it ended, for the editor's status bar.
    QString run();
    void BTNDeployCancel_Click();

protected:
    // Closing while the deploy runs cancels it instead.
    void reject() override;

private:
    bool agreeToLayoutCopies(const QStringList& rootFiles);
    bool goOnDespiteWarnings(const QStringList& findings);
    bool waitForDevice();
    bool showProgress(const SyncStep& step, qint64 done, qint64 total);
    void say(const QString& line);

    const DeployContext& m_context;
    QString m_skinFolder;
    bool m_dryRun;
    SkinDeploy::Options m_options; // the ticks write here while the run reads it
    bool m_running = false;
    bool m_cancelled = false;
    QElapsedTimer m_sinceEvents;

    QLabel* m_step = nullptr;
    QProgressBar* m_progress = nullptr;
    QPlainTextEdit* m_lines = nullptr;
    QCheckBox* m_activate = nullptr;
    QCheckBox* m_startMn4 = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
};

// Opens the deploy window modally, owned by owner, runs it and returns the
// line for the status bar. The window stays open until the user closes it.
QString showDeploy(QWidget* owner, const DeployContext& context, const QString& skinFolder, bool dryRun);
