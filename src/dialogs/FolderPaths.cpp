#include "FolderPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QChar folded(QChar c)
{
    return c == u'\\' ? QChar(u'/') : c.toCaseFolded();
}

// Iterative wildcard match that backtracks only to the last '*'.
bool wildcardMatch(QStringView text, QStringView pattern)
{
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == u'?' || folded(pattern[p]) == folded(text[t]))) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool MatchesValidFolder(const QString& path, const QString& validFolder)
{
    return wildcardMatch(path, QString(validFolder + u'*'));
}

std::optional<QString> SpecialFolderPath(qint32 csidl)
{
    const auto location = [](QStandardPaths::StandardLocation l) {
        return std::optional<QString>(QStandardPaths::writableLocation(l));
    };
    switch (csidl) {
    case 0x00: // desktop, the top of the shell's name space
    case 0x11: // the computer with its drives
        return QString();
    case 0x05: return location(QStandardPaths::DocumentsLocation);
    case 0x0d: return location(QStandardPaths::MusicLocation);
    case 0x0e: return location(QStandardPaths::MoviesLocation);
    case 0x10: return location(QStandardPaths::DesktopLocation);
    case 0x27: return location(QStandardPaths::PicturesLocation);
    case 0x28: return location(QStandardPaths::HomeLocation);
    default: return std::nullopt;
    }
}

QPoint CenteredPosition(const QRect& screen, const QSize& window)
{
    return {screen.x() + (screen.width() - window.width()) / 2,
            screen.y() + (screen.height() - window.height()) / 2};
}

QString NativeResultPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath()));
}
