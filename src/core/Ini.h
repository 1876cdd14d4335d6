#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class IniDocument;

// INI files as the Windows profile functions read and write them: Windows-1252
// text, case-insensitive section and key names, first duplicate wins, comments
// and unknown lines kept byte for byte, atomic replacement of the file.

// Returns the value of key in section of file, or defaultValue (as text) when
// the file, section or key is missing. Never fails; values are cut to 1023
// characters.
QString ReadIni(const QString& file, const QString& section, const QString& key,
                const QVariant& defaultValue);

// Reads many values of one file with one look at the disk, for callers that
// load a whole screen; each value is exactly what ReadIni would return.
class IniReader
{
public:
    explicit IniReader(const QString& file);
    QString value(const QString& section, const QString& key, const QVariant& defaultValue) const;

private:
    std::shared_ptr<const IniDocument> doc;
};

// Writes " " + value.trimmed-of-blanks as the value of key in section of file,
// creating key, section or file as needed. A file existing under another letter
// case is the one written. Returns false when the file could not be written or
// the names cannot stand in an INI file (see IniDocument::setValue); the
// existing file is then left byte-identical. A write that changes no byte
// leaves the file untouched.
bool WriteIni(const QString& file, const QString& section, const QString& key,
              const QString& value);

// Many writes to one file in one replacement of the file. The resulting bytes
// are identical to the same WriteIni calls made one by one.
class IniBatch
{
public:
    explicit IniBatch(const QString& file);
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

    void write(const QString& section, const QString& key, const QString& value);
    // Writes the file once; false when it could not be written or a write was
    // refused for its names (the others are then still stored).
    bool commit();
    // Commits several batches as one save that pays for durability once (see
    // writeFilesSafely). Returns the files, as the batches name them, that
    // could not be written or refused a write for its names.
    static QStringList commitTogether(const std::vector<IniBatch*>& batches);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
