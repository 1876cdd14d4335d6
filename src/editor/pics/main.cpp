#include "ProgramBitmaps.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

// Writes the editor's program bitmaps beside the executable:
//   tivaro_picgen <program folder> <stamp file>
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: tivaro_picgen <program folder> <stamp file>\n";
        return 2;
    }
    const QStringList failed = ProgramBitmaps::writeAll(args.at(1));
    for (const QString& path : failed)
        err << "cannot write " << path << '\n';
    if (!failed.isEmpty())
        return 1;
    QFile stamp(args.at(2));
    return stamp.open(QIODevice::WriteOnly | QIODevice::Truncate) ? 0 : 1;
}
