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
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

// tivaro [SKIN_FOLDER]: with a folder the editor opens it on "Hauptmenu".
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivaro"));
    QApplication::setApplicationVersion(QStringLiteral(TIVARO_VERSION));

    // The program speaks German, so Qt's own buttons and dialogs do too ("Ja",
    // "Nein", "Abbrechen"). Without the translation they stay English.
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

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
