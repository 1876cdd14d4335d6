#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <ostream>

// Real files in the temporary folders of the tests.

// n bytes that differ from their neighbours, so that a shifted or repeated chunk shows.
inline QByteArray patternBytes(qsizetype n)
{
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = char((i * 131 + i / 251 + 7) % 256);
    return bytes;
}

// Writes bytes to path, creating its folders.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every folder and file below folder, hidden ones too, with the files' bytes:
// two calls compare whole trees, stray temporary files included.
inline QStringList treeOf(const QString& folder)
{
    QStringList tree;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        tree << QDir(folder).relativeFilePath(entry.filePath())
                    + (entry.isDir() ? QStringLiteral("/") : u'=' + QString::fromLatin1(readFile(entry.filePath())));
    }
    tree.sort();
    return tree;
}

inline void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        writeFile(to + source.mid(from.size()), readFile(source));
    }
}

// Readable texts and bytes in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '"' << list.join(QStringLiteral("\", \"")).toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toStdString() << '"'; }
