#include "TemporaryCopy.h"

#include <QFileInfo>

QString TemporaryCopyPath(const QString& folder, const QString& baseName)
{
    for (int n = 0;; ++n) {
        const QString path = folder + baseName + QString::number(n) + QStringLiteral(".ini");
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return path;
    }
}
