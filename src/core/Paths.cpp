#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cmath>

QString InitAppPath()
{
    QString path = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    return path;
}

namespace {

qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

bool isSeparator(QChar c) { return c == u'/' || c == u'\\'; }

} // namespace

QString FileNameOf(const QString& path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString FolderOf(const QString& path)
{
    return path.left(lastSeparator(path) + 1);
}

QString ConvertBase(const QString& number, quint8 fromBase, quint8 toBase)
{
    const QString error = QStringLiteral("Error");
    if (number.isEmpty() || fromBase < 2 || fromBase > 36 || toBase < 2 || toBase > 36)
        return error;

    const QString digits = number.toUpper();
    const qsizetype n = digits.size();
    double value = 0;
    for (qsizetype p = 0; p < n; ++p) {
        const char16_t c = digits.at(p).unicode();
        int digit;
        if (c >= u'A' && c <= u'Z')
            digit = c - 55;
        else if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else
            return error;
        if (digit >= fromBase)
            return error;
        value += digit * std::pow(double(fromBase), double(n - 1 - p));
    }

    // Beyond the range of doubles the digits would be meaningless.
    if (!std::isfinite(value))
        return error;
    QString out;
    do {
        const double r = value - std::floor(value / toBase) * toBase;
        if (!(r >= 0 && r < toBase))
            return error;
        value = (value - r) / toBase;
        const int d = int(r);
        out.prepend(d < 10 ? QChar(u'0' + d) : QChar(d + 55));
    } while (value > 0);
    return out;
}

namespace {

// The entry of folder whose name equals name, preferring the exact spelling.
QString matchEntry(const QString& folder, const QString& name)
{
    const QString dir = folder.isEmpty() ? QStringLiteral(".") : folder;
    if (name == u"." || name == u".." || QFileInfo::exists(QDir(dir).filePath(name)))
        return name;
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString FindAnyCase(const QString& folder, const QString& name)
{
    QString path = folder;
    qsizetype start = 0;
    while (start <= name.size()) {
        qsizetype end = start;
        while (end < name.size() && !isSeparator(name.at(end)))
            ++end;
        const QString component = name.mid(start, end - start);
        if (!component.isEmpty()) {
            if (!path.isEmpty() && !isSeparator(path.back()))
                path += QDir::separator();
            path += matchEntry(path, component);
        } else if (start == 0 && path.isEmpty() && end < name.size()) {
            path = QDir::separator(); // a name starting with a separator is absolute
        }
        start = end + 1;
    }
    return path;
}

bool ExistsAnyCase(const QString& folder, const QString& name)
{
    return QFileInfo::exists(FindAnyCase(folder, name));
}
