#include "AppState.h"
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "OpenRemoteApi.h"
#include "QtPrompter.h"
#include "Settings.h"
#include "frmArrows.h"
#include "frmPreferences.h"
#include "frmTivaro.h"
#include "frmTivaroZentaro.h"

#include <QApplication>
#include <QStringList>

// tivaro [SKIN_FOLDER]: with a folder the editor opens it on "Hauptmenu".
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivaro"));
    QApplication::setApplicationVersion(QStringLiteral(TIVARO_VERSION));

    QtPrompter prompter;
    AppState state;
    state.prompter = &prompter;

    frmTivaro window(state); // its start-up sets the program folder

    // One device for the whole program: the connection outlives the windows
    // that open and close it, and the skin manager and the speed profiles share it.
    DeviceConnection connection;
    const auto device = OpenRemoteApi(DeviceSettings::read(Settings::filePath(state.AppPath)));
    DeviceLink link(*device, prompter, [] { QCoreApplication::processEvents(); });

    window.setPreferencesOpener([&](QWidget* owner) { showPreferences(owner, state, connection, link); });
    window.setSkinManagerOpener([&](QWidget* owner) {
        showSkinManager(owner, state, connection, *device, [&state](QWidget* arrowsOwner, const QString& skinFolder) {
            showArrowColours(arrowsOwner, state, skinFolder);
        });
    });

    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openSkinFolder(arguments.at(1));
    return app.exec();
}
