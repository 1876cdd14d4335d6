#include "Ini.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ReadCase
{
    const char* name;
    QByteArray file;
    QString section;
    QString key;
    QVariant fallback;
    QString expected;
};

class ReadIniTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadIniTest, ReadsLikeTheProfileApi)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeFile(path, GetParam().file);
    EXPECT_EQ(ReadIni(path, GetParam().section, GetParam().key, GetParam().fallback),
              GetParam().expected);
    EXPECT_EQ(IniReader(path).value(GetParam().section, GetParam().key, GetParam().fallback),
              GetParam().expected);
}

const QString longValue = QString(1500, u'v');

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadIniTest,
    ::testing::Values(
        ReadCase{"blanks", "[s]\r\nx=   12  \r\n", "s", "x", "d", "12"},
        ReadCase{"tabs", "[s]\n\tx\t=\t12\t\n", "s", "x", "d", "12"},
        ReadCase{"verticalTabs", "\v[s]\v\r\n\vx\v=\v12\v\r\n", "s", "x", "d", "12"},
        ReadCase{"loneCrEndsLines", "[s]\rx= 1\ry= 2\r", "s", "y", "d", "2"},
        ReadCase{"noFinalNewline", "[s]\r\nx= 12", "s", "x", "d", "12"},
        ReadCase{"sectionCase", "[Home]\r\nX= 5\r\n", "HOME", "x", "d", "5"},
        ReadCase{"umlautCase", "[\xc4nderung]\r\n\xdc= 1\r\n", QString::fromUtf8("änderung"),
                 QString::fromUtf8("ü"), "d", "1"},
        ReadCase{"umlautValue", "[s]\r\nk= Stra\xdf" "e \x80\r\n", "s", "k", "",
                 QString::fromUtf8("Straße €")},
        ReadCase{"missingKey", "[s]\r\nx= 1\r\n", "s", "y", "C:\\", "C:\\"},
        ReadCase{"missingSection", "[s]\r\nx= 1\r\n", "t", "x", "C:\\", "C:\\"},
        ReadCase{"numberDefault", "", "s", "x", 2, "2"},
        ReadCase{"doubleDefault", "", "s", "x", 2.5, "2.5"},
        ReadCase{"emptyValueIsNotMissing", "[s]\r\nx=\r\n", "s", "x", "d", ""},
        ReadCase{"doubleQuotes", "[s]\r\nx= \" a \" \r\n", "s", "x", "d", " a "},
        ReadCase{"singleQuotes", "[s]\r\nx='a'\r\n", "s", "x", "d", "a"},
        ReadCase{"onePairOnly", "[s]\r\nx=\"\"a\"\"\r\n", "s", "x", "d", "\"a\""},
        ReadCase{"mismatchedQuotes", "[s]\r\nx=\"a'\r\n", "s", "x", "d", "\"a'"},
        ReadCase{"loneQuote", "[s]\r\nx=\"\r\n", "s", "x", "d", "\""},
        ReadCase{"semicolonInValue", "[s]\r\nx= 1 ; two # three\r\n", "s", "x", "d", "1 ; two # three"},
        ReadCase{"commentedKey", "[s]\r\n  ;x= 1\r\n", "s", "x", "d", "d"},
        ReadCase{"hashIsNoComment", "[s]\r\n#x= 1\r\n", "s", "#x", "d", "1"},
        ReadCase{"headerEndsAtBracket", "[s] ] junk\r\nx= 1\r\n", "s", "x", "d", "1"},
        ReadCase{"headerWithoutBracket", "[s\r\nx= 1\r\n", "s", "x", "d", "1"},
        ReadCase{"firstDuplicateKey", "[s]\r\nx= 1\r\nX= 2\r\n", "s", "x", "d", "1"},
        ReadCase{"firstDuplicateSection", "[s]\r\ny= 1\r\n[S]\r\nx= 2\r\n", "s", "x", "d", "d"},
        ReadCase{"keyBeforeAnySection", "x= 1\r\n[s]\r\n", "s", "x", "d", "d"},
        ReadCase{"byteOrderMarkBeforeFirstSection", "\xEF\xBB\xBF[s]\r\nx= 1\r\n", "s", "x", "d", "1"},
        ReadCase{"byteOrderMarkOnlyAtStart", "[t]\r\n\xEF\xBB\xBF[s]\r\nx= 1\r\n", "s", "x", "d", "d"},
        ReadCase{"equalsInValue", "[s]\r\nx= a=b\r\n", "s", "x", "d", "a=b"},
        ReadCase{"nulEndsValue", QByteArray("[s]\r\nx= ab\0cd\r\n", 15), "s", "x", "d", "ab"},
        ReadCase{"longValueCut", "[s]\r\nx=" + longValue.toLatin1() + "\r\n", "s", "x", "d",
                 longValue.left(1023)},
        ReadCase{"longDefaultCut", "", "s", "x", longValue, longValue.left(1023)},
        ReadCase{"defaultThroughCodePage", "", "s", "x", QString::fromUtf8("ł€"),
                 QString::fromUtf8("?€")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadIni, MissingFileGivesDefaultAndAnotherLetterCaseIsFound)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReadIni(dir.filePath("none.ini"), "s", "x", "C:\\"), "C:\\");
    EXPECT_EQ(ReadIni(dir.path(), "s", "x", 7), "7"); // a folder is no INI file
    EXPECT_EQ(IniReader(dir.filePath("none.ini")).value("s", "x", 2), "2");
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
