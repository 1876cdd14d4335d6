#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// One INI file held as its lines, byte for byte, with an index of the first
// occurrence of every section and key. Reading follows the Windows profile
// functions; writing changes only the line of the key written, or adds lines.
//
// Rules:
// - A line is a comment when its first non-blank character is ';', a section
//   header when it is '[' (the name ends at the first ']', or at the end of
//   the line when there is none), a key line when it holds '='. Everything
//   else is kept and otherwise ignored, as are keys before the first header.
// - Lines end at CRLF, LF or a lone CR.
// - Names and values lose surrounding blanks, tabs and vertical tabs; names match without
//   regard to letter case. The first of duplicate sections or keys counts,
//   for reading and for writing; later duplicates are never touched.
// - A value read loses one matching pair of outer double or single quotes,
//   ends at a NUL byte and is cut to 1023 characters.
// - Updating a key keeps everything up to and including its first '=' as it
//   is (indentation and the name's spelling) and replaces the rest.
// - A new key goes directly after the last key line of its section (right
//   after the header when the section has none). A new section goes at the
//   end. New lines get the file's line ending (the first one in the file;
//   CRLF for a file without any); a last line without one gets it first.
// - A UTF-8 byte order mark at the start is no part of the first line and is kept.
class IniDocument
{
public:
    static constexpr int MaxValueLength = 1023;

    IniDocument() = default;
    static IniDocument fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    // The stored value, or nothing when the section or key is missing.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // The name of every section header in file order, duplicates included.
    QStringList sectionNames() const;

    // Stores valueText as the text after '=' (callers add the leading blank).
    // Line breaks in the value become blanks so that a value can never add
    // lines; it ends at a NUL. Returns false, changing nothing, for names that
    // cannot be written as such: empty, holding a line break or NUL, a section
    // holding ']', a key holding '=' or starting with ';' or '['.
    bool setValue(const QString& section, const QString& key, const QString& valueText);

    // The bytes the file uses to end a line ("\r\n", "\n" or "\r").
    QByteArray lineEnding() const { return eol; }

private:
    struct Line
    {
        QByteArray text;
        QByteArray eol;
    };
    struct Section
    {
        QList<Line> lines;                 // the header first, when there is one
        // folded name -> first line holding it; a map, as a hash costs a
        // kilobyte and more even for the few keys of a section
        QMap<QString, qsizetype> keys;
        qsizetype lastKeyLine = -1;
    };

    static QString foldedName(QStringView name);
    Line* lastLine();

    QList<Section> sections{Section{}}; // the first one holds lines before any header
    QHash<QString, qsizetype> sectionIndex; // folded name -> first section of that name
    QByteArray eol = "\r\n";
    QByteArray bom; // a UTF-8 byte order mark the file starts with, kept as it is
};
