#include "AppState.h"
#include "frmTivaro.h"

#include <QApplication>
#include <QStringList>

#ifdef TIVARO_HAVE_DIALOGS
#include "QtPrompter.h"
using AppPrompter = QtPrompter;
#else
#include "Prompter.h"
#include <QDialog>
#include <QMessageBox>

// Message boxes until the dialogs library provides the program's prompter.
class AppPrompter : public Prompter
{
public:
    Answer ask(const QString& title, const QString& text, Buttons buttons, Icon icon) override
    {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, QApplication::activeWindow());
        const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Warning,
                                           QMessageBox::Question, QMessageBox::Critical};
        box.setIcon(icons[int(icon)]);
        switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
        }
    }
    bool runDialog(QObject& dialog) override
    {
        auto* d = qobject_cast<QDialog*>(&dialog);
        return d && d->exec() == QDialog::Accepted;
    }
};
#endif

// tivaro [SKIN_FOLDER]: with a folder the editor opens it on "Hauptmenu".
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivaro"));
    QApplication::setApplicationVersion(QStringLiteral(TIVARO_VERSION));

    AppPrompter prompter;
    AppState state;
    state.prompter = &prompter;

    frmTivaro window(state);
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openSkinFolder(arguments.at(1));
    return app.exec();
}
