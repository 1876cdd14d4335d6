#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivaro"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tivaro"));
    window.show();
    return app.exec();
}
