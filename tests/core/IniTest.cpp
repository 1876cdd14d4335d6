#include "Ini.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString longValue = QString(1500, u'v');

TEST(ReadIni, ReadsLikeTheProfileApi)
{
    const struct { const char* name; QByteArray file; QString section, key; QVariant fallback; QString expected; }
        cases[] = {
        {"blanks", "[s]\r\nx=   12  \r\n", "s", "x", "d", "12"}, {"tabs", "[s]\n\tx\t=\t12\t\n", "s", "x", "d", "12"},
        {"verticalTabs", "\v[s]\v\r\n\vx\v=\v12\v\r\n", "s", "x", "d", "12"},
        {"loneCrEndsLines", "[s]\rx= 1\ry= 2\r", "s", "y", "d", "2"},
        {"noFinalNewline", "[s]\r\nx= 12", "s", "x", "d", "12"},
        {"sectionCase", "[Home]\r\nX= 5\r\n", "HOME", "x", "d", "5"},
        {"umlautCase", "[\xc4nderung]\r\n\xdc= 1\r\n", QString::fromUtf8("änderung"), QString::fromUtf8("ü"), "d", "1"},
        // Letters of the code page above U+00FF: Š, Œ, Ž, Ÿ and their small letters.
        {"codePageSectionCase", "[\x8a\x8c\x8e\x9f]\r\nx= 1\r\n", QString::fromUtf8("šœžÿ"), "x", "d", "1"},
        {"codePageKeyCase", "[s]\r\n\x9a\x9c\x9e\xff= 1\r\n", "s", QString::fromUtf8("ŠŒŽŸ"), "d", "1"},
        {"umlautValue", "[s]\r\nk= Stra\xdf" "e \x80\r\n", "s", "k", "", QString::fromUtf8("Straße €")},
        {"missingKey", "[s]\r\nx= 1\r\n", "s", "y", "C:\\", "C:\\"},
        {"missingSection", "[s]\r\nx= 1\r\n", "t", "x", "C:\\", "C:\\"}, {"numberDefault", "", "s", "x", 2, "2"},
        {"doubleDefault", "", "s", "x", 2.5, "2.5"}, {"emptyValueIsNotMissing", "[s]\r\nx=\r\n", "s", "x", "d", ""},
        {"doubleQuotes", "[s]\r\nx= \" a \" \r\n", "s", "x", "d", " a "},
        {"singleQuotes", "[s]\r\nx='a'\r\n", "s", "x", "d", "a"},
        {"onePairOnly", "[s]\r\nx=\"\"a\"\"\r\n", "s", "x", "d", "\"a\""},
        {"mismatchedQuotes", "[s]\r\nx=\"a'\r\n", "s", "x", "d", "\"a'"},
        {"loneQuote", "[s]\r\nx=\"\r\n", "s", "x", "d", "\""},
        {"semicolonInValue", "[s]\r\nx= 1 ; two # three\r\n", "s", "x", "d", "1 ; two # three"},
        {"commentedKey", "[s]\r\n  ;x= 1\r\n", "s", "x", "d", "d"},
        {"hashIsNoComment", "[s]\r\n#x= 1\r\n", "s", "#x", "d", "1"},
        {"headerEndsAtBracket", "[s] ] junk\r\nx= 1\r\n", "s", "x", "d", "1"},
        {"headerWithoutBracket", "[s\r\nx= 1\r\n", "s", "x", "d", "1"},
        {"firstDuplicateKey", "[s]\r\nx= 1\r\nX= 2\r\n", "s", "x", "d", "1"},
        {"firstDuplicateSection", "[s]\r\ny= 1\r\n[S]\r\nx= 2\r\n", "s", "x", "d", "d"},
        {"keyBeforeAnySection", "x= 1\r\n[s]\r\n", "s", "x", "d", "d"},
        {"byteOrderMarkBeforeFirstSection", "\xEF\xBB\xBF[s]\r\nx= 1\r\n", "s", "x", "d", "1"},
        {"byteOrderMarkOnlyAtStart", "[t]\r\n\xEF\xBB\xBF[s]\r\nx= 1\r\n", "s", "x", "d", "d"},
        {"equalsInValue", "[s]\r\nx= a=b\r\n", "s", "x", "d", "a=b"},
        {"nulEndsValue", QByteArray("[s]\r\nx= ab\0cd\r\n", 15), "s", "x", "d", "ab"},
        {"longValueCut", "[s]\r\nx=" + longValue.toLatin1() + "\r\n", "s", "x", "d", longValue.left(1023)},
        {"longDefaultCut", "", "s", "x", longValue, longValue.left(1023)},
        {"defaultThroughCodePage", "", "s", "x", QString::fromUtf8("ł€"), QString::fromUtf8("?€")},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name)); // one file each: no stale cache
        writeFile(path, c.file);
        EXPECT_EQ(ReadIni(path, c.section, c.key, c.fallback), c.expected) << c.name;
        EXPECT_EQ(IniReader(path).value(c.section, c.key, c.fallback), c.expected) << c.name;
    }
}

TEST(ReadIni, MissingFileGivesDefaultAndAnotherLetterCaseIsFound)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReadIni(dir.filePath("none.ini"), "s", "x", "C:\\"), "C:\\");
    EXPECT_EQ(ReadIni(dir.path(), "s", "x", 7), "7"); // a folder is no INI file
    writeFile(dir.filePath("MapViewLT.ini"), "[s]\r\nx= 3\r\n");
    EXPECT_EQ(ReadIni(dir.filePath("mapviewlt.ini"), "s", "x", "d"), "3");
}

TEST(ReadIni, SeesExternalChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeFile(path, "[s]\r\nx= 1\r\n");
    ASSERT_EQ(ReadIni(path, "s", "x", "d"), "1");

    writeFile(path, "[s]\r\nx= 22\r\n"); // another size
    EXPECT_EQ(ReadIni(path, "s", "x", "d"), "22");

    // Same size: only the modification time tells, so give it a distinct one.
    writeFile(path, "[s]\r\nx= 33\r\n");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    f.close();
    EXPECT_EQ(ReadIni(path, "s", "x", "d"), "33");

    QFile::remove(path);
    EXPECT_EQ(ReadIni(path, "s", "x", "d"), "d");
}

TEST(ReadIni, SeesOwnWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeFile(path, "[s]\r\nx= 1\r\n");
    ASSERT_EQ(ReadIni(path, "s", "x", "d"), "1");
    ASSERT_TRUE(WriteIni(path, "s", "x", "2"));
    EXPECT_EQ(ReadIni(path, "s", "x", "d"), "2");
    // The same file through another spelling of its path.
    const QString other = dir.path() + "/./a.ini";
    EXPECT_EQ(ReadIni(other, "s", "x", "d"), "2");
    ASSERT_TRUE(WriteIni(other, "s", "x", "3"));
    EXPECT_EQ(ReadIni(path, "s", "x", "d"), "3");
}

} // namespace
