#include "AppState.h"
#include "frmTivaro.h"

#include <QApplication>
#include <QStringList>

#include "QtPrompter.h"

// tivaro [SKIN_FOLDER]: with a folder the editor opens it on "Hauptmenu".
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivaro"));
    QApplication::setApplicationVersion(QStringLiteral(TIVARO_VERSION));

    QtPrompter prompter;
    AppState state;
    state.prompter = &prompter;

    frmTivaro window(state);
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openSkinFolder(arguments.at(1));
    return app.exec();
}
