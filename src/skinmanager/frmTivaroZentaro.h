#pragma once

#include "DeviceLink.h"
#include "SkinManager.h"

#include <QDialog>
#include <QList>

#include <array>
#include <functional>

class LightShape;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;
class QToolButton;
class RemoteApi;
class Prompter;
struct DeviceConnection;

// The skin manager window "to the PDA": the PC skin folder with its four file
// lists on one side, the device's skin store with the connection lights on the
// other. All decisions are SkinManager's; the window forwards clicks and the
// one-second timer to it and shows its state.
class frmTivaroZentaro : public QDialog
{
    Q_OBJECT

public:
    // Opens the arrow colour editor on NavLib.ini of a PC skin folder, modal and owned by owner.
    using ArrowEditorOpener = std::function<void(QWidget* owner, const QString& skinFolder)>;

    // settingsFolder: the folder of Tivaro.ini, where temporary copies live too.
    frmTivaroZentaro(const QString& settingsFolder, Prompter& prompter, DeviceConnection& connection, RemoteApi& api,
                     ArrowEditorOpener openArrows, QWidget* parent = nullptr);
    ~frmTivaroZentaro() override;

    void Form_Load();
    void Timer1_Timer();
    void BTNToPDA_Click();
    void BTNSkinAdd_Click();
    void BTNCancelUpload_Click();
    void BTNSkinDel_Click();
    void BTNSwitch_Click();
    void BTNStartMN4_Click();
    void BTNDir_Click();
    void addFiles(int part);    // BTNRootAdd … BTNFont2Add
    void deleteFiles(int part); // BTNRootDel … BTNFont2Del
    void LRoot_DblClick(QListWidgetItem* item);

protected:
    // Closing while an upload runs stops the upload instead.
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks whether a skin the device holds gets only its changes or goes anew.
    SkinManager::UploadMode chooseUploadMode();
    void buildControls();
    // Shows the manager's state in the widgets.
    void showState();
    void placeProgress();
    QString settingsFile() const;

    QString m_settingsFolder;
    Prompter& m_prompter;
    DeviceLink m_link;
    SkinManager m_manager;
    ArrowEditorOpener m_openArrows;

    QTimer* m_timer = nullptr;
    QPushButton* m_toPda = nullptr;
    LightShape* m_red = nullptr;
    LightShape* m_yellow = nullptr;
    LightShape* m_green = nullptr;
    QListWidget* m_skins = nullptr;
    QLabel* m_activeSkin = nullptr;
    QLineEdit* m_skinDir = nullptr;
    QLabel* m_name = nullptr;
    std::array<QListWidget*, SkinManager::PartCount> m_partLists{};
    QLabel* m_doing = nullptr;
    QLabel* m_progress = nullptr; // LaktStatus: the whole bar
    QLabel* m_remaining = nullptr; // LStatus: the part not yet done
    QLabel* m_version = nullptr;
    QPushButton* m_cancelUpload = nullptr;
    QList<QWidget*> m_idleOnly; // disabled while an upload runs
};

// Opens the skin manager modally, owned by owner. api is the program's one
// remote API (from OpenRemoteApi), shared with every window that talks to the
// device, so that the connection outlives the window.
void showSkinManager(QWidget* owner, const QString& settingsFolder, Prompter& prompter, DeviceConnection& connection,
                     RemoteApi& api,
                     frmTivaroZentaro::ArrowEditorOpener openArrows);
