#include "FileSizeLimit.h"
#include "Ini.h"
#include "TestFiles.h"
#include "SafeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(WriteIni, ChangesOnlyWhatItMust)
{
    const struct { const char* name; QByteArray before; QString section, key, value; QByteArray after; } cases[] = {
        {"trimsBlanksAddsOne", "[s]\r\nx=1\r\n", "s", "x", "  12  ", "[s]\r\nx= 12\r\n"},
        {"emptyValue", "[s]\r\nx=1\r\n", "s", "x", "", "[s]\r\nx= \r\n"},
        {"tabsAreKept", "[s]\r\nx=1\r\n", "s", "x", "\t1\t", "[s]\r\nx= \t1\t\r\n"},
        {"keepsNameSpellingAndIndent", "[S]\r\n  Home_X =1\r\n", "s", "home_x", "7", "[S]\r\n  Home_X = 7\r\n"},
        {"updatesFirstDuplicate", "[s]\r\nx= 1\r\nx= 2\r\n[s]\r\nx= 3\r\n", "s", "x", "9",
         "[s]\r\nx= 9\r\nx= 2\r\n[s]\r\nx= 3\r\n"},
        {"lfFileStaysLf", "[s]\nx= 1\n;c\n\n[t]\ny= 2\n", "s", "z", "3", "[s]\nx= 1\nz= 3\n;c\n\n[t]\ny= 2\n"},
        {"newKeyAfterLastKeyLine", "[s]\r\nx= 1\r\n; note\r\n\r\n[t]\r\n", "s", "y", "2",
         "[s]\r\nx= 1\r\ny= 2\r\n; note\r\n\r\n[t]\r\n"},
        {"newKeyInEmptySection", "[s]\r\n\r\n[t]\r\nx= 1\r\n", "s", "y", "2", "[s]\r\ny= 2\r\n\r\n[t]\r\nx= 1\r\n"},
        {"newKeyGoesToFirstDuplicateSection", "[s]\r\na= 1\r\n[s]\r\nb= 1\r\n", "S", "c", "2",
         "[s]\r\na= 1\r\nc= 2\r\n[s]\r\nb= 1\r\n"},
        {"newKeyAtEndWithoutNewline", "[s]\r\nx= 1", "s", "y", "2", "[s]\r\nx= 1\r\ny= 2\r\n"},
        {"loneCrEndsTheLastLine", "[s]\nx= 1\r", "s", "y", "2", "[s]\nx= 1\ry= 2\n"},
        {"loneCrFileKeepsCr", "[s]\rx= 1\r[t]\r", "s", "y", "2", "[s]\rx= 1\ry= 2\r[t]\r"},
        {"verticalTabsAroundName", "[s]\r\n\vx\v=1\r\n", "s", "x", "2", "[s]\r\n\vx\v= 2\r\n"},
        {"newSection", "[s]\r\nx= 1\r\n", "t", "y", "2", "[s]\r\nx= 1\r\n[t]\r\ny= 2\r\n"},
        {"newSectionAfterMissingNewline", "[s]\nx= 1", "t", "y", "2", "[s]\nx= 1\n[t]\ny= 2\n"},
        {"newSectionInEmptyFile", "", "t", "y", "2", "[t]\r\ny= 2\r\n"},
        {"byteOrderMarkKeptKeyUpdated", "\xEF\xBB\xBF[s]\r\nx= 1\r\n", "s", "x", "2", "\xEF\xBB\xBF[s]\r\nx= 2\r\n"},
        {"byteOrderMarkOnlyFile", "\xEF\xBB\xBF", "t", "y", "2", "\xEF\xBB\xBF[t]\r\ny= 2\r\n"},
        {"commentsAndJunkKept", "; head\r\njunk\r\n[s]\r\n;x= 0\r\nx= 1 ; c\r\n", "s", "x", "2",
         "; head\r\njunk\r\n[s]\r\n;x= 0\r\nx= 2\r\n"},
        {"umlautsRoundTrip", "[Stra\xdf" "e]\r\n; \xe4\xf6\xfc\r\n\xc4= \x80\r\n", QString::fromUtf8("STRASSE"),
         QString::fromUtf8("ä"), QString::fromUtf8("Öl €"),
         "[Stra\xdf" "e]\r\n; \xe4\xf6\xfc\r\n\xc4= \x80\r\n[STRASSE]\r\n\xe4= \xd6l \x80\r\n"},
        {"umlautKeyUpdated", "[s]\r\n\xc4= 1\r\n", "s", QString::fromUtf8("ä"), "2", "[s]\r\n\xc4= 2\r\n"},
        // Š, Œ, Ž, Ÿ and their small letters lie above U+00FF but in the code page.
        {"codePageLettersUpdated", "[\x8a\x8c]\r\n\x9e\xff= 1\r\n", QString::fromUtf8("šœ"),
         QString::fromUtf8("ŽŸ"), "2", "[\x8a\x8c]\r\n\x9e\xff= 2\r\n"},
        {"lineBreaksCannotAddLines", "[s]\r\nx= 1\r\n", "s", "x", "a\r\n[t]\nb", "[s]\r\nx= a  [t] b\r\n"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name)); // one file each: no stale cache
        writeFile(path, c.before);
        ASSERT_TRUE(WriteIni(path, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(readFile(path), c.after) << c.name;
    }
}

TEST(WriteIni, CreatesMissingFileWithCrlfAndFindsOneInAnotherLetterCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteIni(dir.filePath("new.ini"), "Layout", "BorderFrame", "2"));
    EXPECT_EQ(readFile(dir.filePath("new.ini")), "[Layout]\r\nBorderFrame= 2\r\n");
    writeFile(dir.filePath("Prefs.INI"), "[Display]\r\nlastSkin= a\r\n");
    ASSERT_TRUE(WriteIni(dir.filePath("prefs.ini"), "display", "LASTSKIN", "b"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"new.ini", "Prefs.INI"}));
    EXPECT_EQ(readFile(dir.filePath("Prefs.INI")), "[Display]\r\nlastSkin= b\r\n");
}

TEST(WriteIni, RefusesNamesThatWouldBreakTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    const QByteArray before = "[s]\r\nx= 1\r\n";
    writeFile(path, before);
    const QList<std::pair<QString, QString>> bad = {
        {"", "x"}, {"s", ""}, {"  ", "x"}, {"a]b", "x"}, {"s", "a=b"}, {"s", ";x"},
        {"s", "[x"}, {"s\r\n[t", "x"}, {"s", "x\ny"}};
    for (const auto& [section, key] : bad) {
        EXPECT_FALSE(WriteIni(path, section, key, "2")) << section.toStdString() << "/" << key.toStdString();
        EXPECT_EQ(readFile(path), before);
    }
    EXPECT_FALSE(WriteIni(dir.filePath("none.ini"), "", "x", "1"));
    EXPECT_FALSE(QFile::exists(dir.filePath("none.ini")));
}

TEST(WriteIni, UnchangedValueLeavesFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeFile(path, "[s]\r\nx= 1\r\n");
    const QDateTime old = QDateTime::currentDateTime().addDays(-1);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(WriteIni(path, "s", "x", " 1 "));
    EXPECT_EQ(QFileInfo(path).lastModified(), old);
}

// Failures that hold for every user, root included.
TEST(WriteIni, FailureLeavesNothingBehind)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("plain"), "not a folder");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub.ini"));
    for (const QString& path :
         {dir.filePath("missing/a.ini"), dir.filePath("plain/a.ini"), dir.filePath("sub.ini"), QString()})
        EXPECT_FALSE(WriteIni(path, "s", "x", "1")) << path.toStdString();
    EXPECT_EQ(readFile(dir.filePath("plain")), "not a folder");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"plain", "sub.ini"}));
}

// A full disk: the write fails, says so, and leaves the old file (or none) and no stray file.
TEST(WriteIni, FullDiskKeepsOldFileWhole)
{
    const QByteArray old = "[s]\r\nx= 1\r\n";
    struct Case { const char* name; bool exists; std::function<bool(const QString&)> claimsSuccess; };
    const QList<Case> cases = {
        {"WriteIni", true, [](const QString& p) { return WriteIni(p, "s", "x", "12345"); }},
        {"new file", false, [](const QString& p) { return WriteIni(p, "s", "x", "12345678901234"); }},
        // The disk refuses the bytes only when asked to keep them, and the caller hears why.
        {"syncFails", true, [](const QString& p) { SafeWrite out(p, [](int) { errno = ENOSPC; return -1; });
             return (out.write("x") && out.commit()) || !out.outOfSpace(); }},
        {"reason", true,
         [](const QString& p) { QString why; return writeFileSafely(p, QByteArray(64, 'x'), &why) || why.isEmpty(); }},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.ini");
        if (c.exists)
            writeFile(path, old);
        EXPECT_EQ(runWithFileSizeLimit(old.size() + 1, [&] { return c.claimsSuccess(path) ? 1 : 0; }), 0) << c.name;
        EXPECT_EQ(readFile(path), c.exists ? old : QByteArray("<missing>")) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), c.exists ? 1 : 0) << c.name;
    }
}

// A sync interrupted by a signal is asked again.
TEST(SafeWrite, RetriesAnInterruptedSync)
{
    QTemporaryDir dir;
    SafeWrite out(dir.filePath("a.ini"), [](int fd) {
        static bool again;
        errno = EINTR;
        return (again = !again) ? -1 : SafeWrite::syncToDisk(fd);
    });
    EXPECT_TRUE(out.write("new") && out.commit()) << out.errorString().toStdString();
}

// The replaced file keeps its permissions, and a symbolic link stays a link.
TEST(WriteIni, ReplacesWhereASymbolicLinkPointsKeepingPermissions)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    const QString link = dir.filePath("link.ini");
    writeFile(real, "[s]\r\nx= 1\r\n");
    const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser | QFile::WriteUser;
    ASSERT_TRUE(QFile::setPermissions(real, perms));
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(WriteIni(link, "s", "x", "2"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(real), "[s]\r\nx= 2\r\n");
    EXPECT_EQ(QFile::permissions(real), perms);
}

TEST(IniBatch, SameBytesAsSingleWrites)
{
    const QByteArray start = "; skin\r\n[home]\r\nx= 1\r\n\r\n[back]\ny= 2";
    const QList<std::array<QString, 3>> writes = {
        {"home", "x", "10"}, {"HOME", "cx", " 40 "}, {"back", "y", ""}, {"new", "a", "1"},
        {"home", "cy", "30"}, {"new", "b", "2"}, {"bad]", "x", "1"}, {"back", "x", "5"}};

    QTemporaryDir dir;
    const QString single = dir.filePath("single.ini");
    const QString batched = dir.filePath("batched.ini");
    writeFile(single, start);
    writeFile(batched, start);
    IniBatch batch(batched);
    for (const auto& w : writes) {
        WriteIni(single, w[0], w[1], w[2]);
        batch.write(w[0], w[1], w[2]);
    }
    EXPECT_EQ(readFile(batched), start); // nothing happens before commit
    batch.commit();
    EXPECT_EQ(readFile(batched), readFile(single));
}

// Several files saved together: each is written or keeps its old bytes, and
// the ones that could not be written are named.
TEST(IniBatch, CommittedTogetherEachFileWrittenOrWhole)
{
    QTemporaryDir dir;
    const QString small = dir.filePath("small.ini");
    const QString large = dir.filePath("large.ini");
    const QString unchanged = dir.filePath("same.ini");
    const QString nowhere = dir.filePath("missing/a.ini");
    for (const QString& path : {small, large, unchanged})
        writeFile(path, "[s]\r\nx= 1\r\n");
    const int failed = runWithFileSizeLimit(100, [&] {
        IniBatch a(small), b(large), c(unchanged), d(nowhere);
        a.write("s", "x", "2");
        b.write("s", "x", QString(200, u'9'));
        c.write("s", "x", "1");
        d.write("s", "x", "1");
        return IniBatch::commitTogether({&a, &b, &c, &d}) == QStringList{large, nowhere} ? 0 : 1;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(readFile(small), "[s]\r\nx= 2\r\n");
    EXPECT_EQ(readFile(large), "[s]\r\nx= 1\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"large.ini", "same.ini", "small.ini"}));
}

} // namespace
