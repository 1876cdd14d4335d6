// A second reference for the start-up and memory measures: the least a desktop
// editor shows, a main window with a menu bar of five menus, a tool bar with
// standard icons, a dock with a list and a status bar, at the bare window's size.
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    QToolBar* tools = window.addToolBar(QStringLiteral("Werkzeuge"));
    int icon = QStyle::SP_DialogOpenButton;
    for (const char* title : {"&Datei", "&Bearbeiten", "&Ansicht", "E&xtras", "&Hilfe"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(title));
        for (int i = 0; i < 6; ++i) {
            QAction* action = menu->addAction(QStringLiteral("Eintrag %1").arg(i + 1));
            if (i < 2) {
                action->setIcon(window.style()->standardIcon(QStyle::StandardPixmap(icon++)));
                tools->addAction(action);
            }
        }
    }
    auto* list = new QListWidget;
    for (int i = 0; i < 25; ++i)
        list->addItem(QStringLiteral("Element %1").arg(i + 1));
    auto* dock = new QDockWidget(QStringLiteral("Elemente"), &window);
    dock->setWidget(list);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    window.setCentralWidget(new QLabel(QStringLiteral("Zeichenfläche")));
    window.statusBar()->showMessage(QStringLiteral("Bereit"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
