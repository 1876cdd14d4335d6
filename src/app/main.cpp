#include "AppState.h"
#include "DeployCommand.h"
#include "DeployWindow.h"
#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "OpenRemoteApi.h"
#include "Paths.h"
#include "QtPrompter.h"
#include "SafeWrite.h"
#include "ScreenCatalogue.h"
#include "ScreenRenderer.h"
#include "Settings.h"
#include "SettingsLocation.h"
#include "SkinChecker.h"
#include "frmArrows.h"
#include "frmPreferences.h"
#include "frmTivaro.h"
#include "frmTivaroZentaro.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Exit status of the command-line modes.
enum Exit { Clean = 0, Failed = 1, Unreadable = 2 };

// Nobody answers on the command line: a message goes to the error output and
// every question gets the answer that changes nothing.
class ConsolePrompter : public Prompter
{
public:
    Answer ask(const QString& title, const QString& text, Buttons buttons, Icon) override
    {
        std::fprintf(stderr, "%s %s\n", qPrintable(title), qPrintable(text));
        switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::YesNo: return Answer::No;
        default: return Answer::Cancel;
        }
    }
    bool runDialog(QObject&) override { return false; }
};

bool hasArgument(int argc, char** argv, std::initializer_list<const char*> names)
{
    for (int i = 1; i < argc; ++i)
        for (const char* name : names)
            if (std::strcmp(argv[i], name) == 0)
                return true;
    return false;
}

void print(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// The skin checker as the deploy asks it: whether errors stop it, and every finding as a line.
SkinDeploy::Check checkForDeploy(const QString& folder)
{
    const SkinChecker::Result result = SkinChecker::check(folder);
    return {HasErrors(result.findings), FindingsText(result.findings).split(u'\n', Qt::SkipEmptyParts)};
}

int usageError(const QString& text)
{
    print(stderr, text + QStringLiteral("\nMehr dazu: tivaro --help\n"));
    return Failed;
}

int check(const QString& folder, bool json)
{
    const SkinChecker::Result result = SkinChecker::check(folder);
    if (!result.readable) {
        print(stderr, QStringLiteral("Der Ordner „%1“ lässt sich nicht lesen.\n").arg(folder));
        return Unreadable;
    }
    if (json) {
        const QByteArray bytes = FindingsJson(result.findings);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    } else {
        print(stdout, FindingsText(result.findings));
    }
    return HasErrors(result.findings) ? Failed : Clean;
}

int render(const QString& folder, const QString& screen, const QString& out, int zoom)
{
    if (!QFileInfo(folder).isDir() || !QDir(folder).isReadable()) {
        print(stderr, QStringLiteral("Der Ordner „%1“ lässt sich nicht lesen.\n").arg(folder));
        return Unreadable;
    }
    const bool all = screen == QLatin1String("all");
    if (!all && !ScreenCatalogue::sortedNames().contains(screen)) {
        print(stderr, QStringLiteral("Unbekannter Bildschirm „%1“. Bekannt sind:\n%2\n")
                          .arg(screen, ScreenCatalogue::sortedNames().join(u'\n')));
        return Failed;
    }
    if (all && !QDir().mkpath(out)) {
        print(stderr, QStringLiteral("Der Ordner „%1“ lässt sich nicht anlegen.\n").arg(out));
        return Failed;
    }

    ScreenRenderer renderer(InitAppPath());
    renderer.open(folder);
    const QStringList screens = all ? ScreenCatalogue::sortedNames() : QStringList{screen};
    for (const QString& name : screens) {
        const QString file = all ? QDir(out).filePath(name + QStringLiteral(".png")) : out;
        // Encoded first, then written like every file of the program: whole or not at all.
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !renderer.render(name, zoom).save(&buffer, "PNG")
            || !writeFileSafely(file, png)) {
            print(stderr, QStringLiteral("„%1“ lässt sich nicht schreiben.\n").arg(file));
            return Failed;
        }
    }
    return Clean;
}

} // namespace

// tivaro [SKIN_FOLDER]: with a folder the editor opens it on "Hauptmenu".
// tivaro --check SKIN_FOLDER [--json], tivaro --render SKIN_FOLDER --screen NAME --out FILE and
// tivaro --deploy SKIN_FOLDER [--dry-run] [--activate] work without a window.
int main(int argc, char** argv)
{
    const bool rendering = hasArgument(argc, argv, {"--render"});
    const bool windowless =
        hasArgument(argc, argv, {"--check", "--deploy", "--help", "-h", "--help-all", "--version", "-v"});
    // Rendering shows no window, so it needs no display either.
    if (rendering && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whole scale factors keep every skin pixel a square of whole screen pixels, so the canvas stays sharp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    std::unique_ptr<QCoreApplication> app;
    if (windowless && !rendering)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tivaro"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TIVARO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tivaro, der Skin-Editor für MN|4."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SKIN_FOLDER"),
                                 QStringLiteral("Skin-Ordner; ohne --check und --render öffnet ihn der Editor."),
                                 QStringLiteral("[SKIN_FOLDER]"));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        QStringLiteral("Prüft den Skin und gibt je Befund eine Zeile „Datei:Abschnitt: Meldung“ aus. "
                       "Exit-Status 0 ohne Fehler, 1 mit Fehlern, 2 wenn der Ordner nicht lesbar ist."));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Gibt die Befunde als JSON aus."));
    const QCommandLineOption renderOption(
        QStringLiteral("render"), QStringLiteral("Zeichnet einen Bildschirm so, wie ihn der Editor zeigt, als PNG."));
    const QCommandLineOption screenOption(
        QStringLiteral("screen"), QStringLiteral("Bildschirm für --render, etwa „Hauptmenu“; „all“ für alle."),
        QStringLiteral("NAME"));
    const QCommandLineOption outOption(
        QStringLiteral("out"), QStringLiteral("PNG-Datei für --render; bei --screen all ein Ordner."),
        QStringLiteral("FILE"));
    const QCommandLineOption zoomOption(QStringLiteral("zoom"),
                                        QStringLiteral("Jedes Pixel N-mal N groß (1 bis 8)."),
                                        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({checkOption, jsonOption, renderOption, screenOption, outOption, zoomOption});
    const QCommandLineOption deployOption(
        QStringLiteral("deploy"),
        QStringLiteral("Bringt den Skin auf den PDA der Einstellungen in Tivaro.ini und überträgt nur, was sich "
                       "geändert hat. Exit-Status 0, 1 wenn der PDA ablehnte oder die Prüfung Fehler fand, 2 ohne "
                       "PDA oder Skin-Ordner."));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                          QStringLiteral("Zeigt bei --deploy nur, was übertragen würde."));
    const QCommandLineOption activateOption(QStringLiteral("activate"),
                                            QStringLiteral("Aktiviert den Skin nach --deploy in MN|4."));
    parser.addOptions({deployOption, dryRunOption, activateOption});
    parser.process(*app);

    const QStringList folders = parser.positionalArguments();
    if (parser.isSet(deployOption)) {
        if (folders.size() != 1)
            return usageError(QStringLiteral("Bitte genau einen Skin-Ordner angeben."));
        ConsolePrompter prompter;
        const SettingsLocation::Prepared settings = SettingsLocation::prepare(InitAppPath());
        if (!settings.message.isEmpty())
            print(stderr, settings.message + u'\n');
        return DeployCommand(folders.first(), {parser.isSet(dryRunOption), parser.isSet(activateOption), false},
                             settings.folder, prompter, checkForDeploy);
    }
    if (parser.isSet(checkOption) || parser.isSet(renderOption)) {
        if (folders.size() != 1)
            return usageError(QStringLiteral("Bitte genau einen Skin-Ordner angeben."));
        if (parser.isSet(checkOption))
            return check(folders.first(), parser.isSet(jsonOption));
        bool zoomOk = false;
        const int zoom = parser.value(zoomOption).toInt(&zoomOk);
        if (!parser.isSet(screenOption) || !parser.isSet(outOption) || !zoomOk || zoom < 1 || zoom > 8)
            return usageError(QStringLiteral("--render braucht --screen NAME, --out FILE und gegebenenfalls "
                                             "--zoom 1 bis 8."));
        return render(folders.first(), parser.value(screenOption), parser.value(outOption), zoom);
    }

    // The program speaks German, so Qt's own buttons and dialogs do too ("Ja",
    // "Nein", "Abbrechen"). Without the translation they stay English.
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

    QtPrompter prompter;
    AppState state;
    state.prompter = &prompter;
    state.AppPath = InitAppPath();
    const SettingsLocation::Prepared settings = SettingsLocation::prepare(state.AppPath);
    state.SettingsFolder = settings.folder;

    frmTivaro window(state);

    // One device for the whole program: the connection outlives the windows
    // that open and close it, and the skin manager and the speed profiles share it.
    DeviceConnection connection;
    const auto device = OpenRemoteApi(DeviceSettings::read(Settings::filePath(state.settingsFolder())));
    DeviceLink link(*device, prompter, [] { QCoreApplication::processEvents(); });

    window.setPreferencesOpener([&](QWidget* owner) { showPreferences(owner, {state.settingsFolder(), prompter}, connection, link); });
    const auto openArrowColours = [&prompter](QWidget* arrowsOwner, const QString& skinFolder) {
        showArrowColours(arrowsOwner, prompter, skinFolder);
    };
    window.setSkinManagerOpener([&](QWidget* owner) {
        showSkinManager(owner, state.settingsFolder(), prompter, connection, *device, openArrowColours);
    });
    window.setArrowColoursOpener(openArrowColours);
    DeployChoices deployChoices;
    const DeployContext deployContext{state.settingsFolder(), prompter, connection, link, checkForDeploy, deployChoices};
    window.setDeployOpener([&](QWidget* owner, const QString& skinFolder, bool dryRun) {
        return showDeploy(owner, deployContext, skinFolder, dryRun);
    });

    window.show();
    if (!settings.message.isEmpty())
        prompter.note(QStringLiteral("Hinweis:"), settings.message);
    if (!folders.isEmpty())
        window.openSkinFolder(folders.first());
    return app->exec();
}
