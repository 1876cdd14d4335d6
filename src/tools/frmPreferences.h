#pragma once

#include "ConnectionMachine.h"
#include "MapExportLauncher.h"
#include "SpeedProfile.h"
#include "ToolContext.h"

#include <QDialog>
#include <QHash>

#include <array>

class DeviceLink;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class SpeedProfileChart;
struct DeviceConnection;

// The speed profile editor: speeds and consumptions of the sixteen road
// classes and three global weights, the weights and lines computed from them,
// saving to Tivaro.ini, the update of MN4's files and the device connection
// it needs. The model does the work; the window shows it and forwards edits.
class frmPreferences : public QDialog
{
    Q_OBJECT

public:
    frmPreferences(const ToolContext& context, DeviceConnection& connection, DeviceLink& link,
                   QWidget* parent = nullptr, MapExportLauncher launcher = {});
    ~frmPreferences() override;

    const SpeedProfile& model() const { return m_model; }

    // The one-second tick of the connection state machine.
    void Timer1_Timer();

    // Closing (the window's close button, Escape) with values typed but
    // neither saved nor used asks whether to save them; Cancel stays open.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Editable
    {
        SpeedProfile::Field field;
        int index;
    };

    QWidget* buildClassTable();
    QWidget* buildSideBar();
    QLineEdit* addField(const QString& name, int index);
    void Form_Load();
    void WriteForm();
    void showConnection(ConnectionState state);
    void focusMoved(QWidget* old, QWidget* now);
    void leaveField(QLineEdit* field);
    void previewField(QLineEdit* field);
    bool CMDSave_Click();
    void CMDUpdate_Click();
    void BTNDir_Click();
    void BTNToPDA_Click();
    QString GetFolder(const QString& strDefaultPath);
    QString settingsFile() const;

    const ToolContext m_context;
    DeviceConnection& m_connection;
    DeviceLink& m_link;
    const MapExportLauncher m_launcher;
    ConnectionMachine m_machine;
    SpeedProfile m_model;
    bool m_unsaved = false; // typed values not yet saved or used by an update

    std::array<QLineEdit*, SpeedProfile::ClassCount> m_speeds{};
    std::array<QLineEdit*, SpeedProfile::ClassCount> m_consumptions{};
    std::array<QLineEdit*, SpeedProfile::ClassCount> m_weights{};
    std::array<QLineEdit*, SpeedProfile::GlobalCount> m_globals{};
    QHash<QObject*, Editable> m_editable;
    SpeedProfileChart* m_chart = nullptr;
    QLineEdit* m_speedLine = nullptr;
    QLineEdit* m_preferenceLine = nullptr;
    std::array<QCheckBox*, 6> m_updateBoxes{};
    QPushButton* m_toPda = nullptr;
    std::array<QFrame*, 3> m_lights{}; // Shape1 red, Shape2 yellow, Shape4 green
    QLabel* m_doing = nullptr;
    QTimer* m_timer = nullptr;
};

// Opens the speed profile editor as a modal window owned by owner, through
// the program's prompter; connection and link are the program's shared ones.
void showPreferences(QWidget* owner, const ToolContext& context, DeviceConnection& connection, DeviceLink& link);
