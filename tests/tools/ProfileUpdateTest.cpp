#include "ProfileUpdate.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using ProfileUpdate::targets;

TEST(MNFormatStr, FillsDecimalsOfEveryNumber)
{
    const struct { const char* in; int decimals; const char* fill; int start; const char* out; } cases[] = {
        {"|120|100", 3, "0", 1, "|120|100"}, {"|2.5", 3, "0", 1, "|2.500"},
        {"x|1.0|0.85|7", 3, "0", 1, "x|1.000|0.850|7"}, {"|1.2345|0.5", 3, "0", 1, "|1.2345|0.500"},
        {"|5.|1.0", 3, "0", 1, "|5.000|1.000"}, {"1.5", 3, "00", 1, "1.500"}, {"a.b|1.5", 3, "0", 1, "a.b00|1.500"},
        {"a.b|1.5", 3, "0", 4, "a.b|1.500"}, {"|1.5", 3, "", 1, "|1.5"}, {"|1.5", 0, "0", 1, "|1.5"},
        {"|1.5", 3, "0", 0, "|1.500"}, {"|1.5", 3, "0", 99, "|1.5"}, {"", 3, "0", 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MNFormatStr(c.in, qint16(c.decimals), c.fill, qint16(c.start)), c.out)
            << c.in << " from " << c.start;
}

TEST(ProfileUpdate, SpliceKeepsTheHead)
{
    const QString prefs = "|1.0|0.5";
    // row -1: the speed line.
    const struct { const char* name; QString old, fields; int row; std::optional<QString> result; } cases[] = {
        {"speed", "Fast|130|110", "|100|80", -1, "Fast|100|80"}, {"empty head", "|130", "|100", -1, "|100"},
        {"no bar", "Fast", "|100", -1, std::nullopt}, {"missing key", "", "|100", -1, std::nullopt},
        {"NavLib head with a point", "v1.2|1", prefs, 2, "v1.2|1.000|0.500|1.000|1.000|1.000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = c.row < 0 ? ProfileUpdate::splice(c.old, c.fields, QString(), false)
                                      : ProfileUpdate::splice(c.old, c.fields, targets()[c.row].suffix,
                                                              targets()[c.row].fillDecimals);
        EXPECT_EQ(result, c.result);
    }
}

// A file as MN4 or the map export tool might keep it: comments, blank lines,
// other keys, names in other letter cases, LF or CRLF.
QByteArray sample(const char* eol)
{
    QByteArray text = "; profiles\n[Display]\nlastSkin= demo\n\n"
                      "[SpeedProfile]\nFAST= Fast|1|2\nstandard=Std|3|4\n\n"
                      "[preference]\nfast= P|1|2\nstandard= none\n\n"
                      "[Factors]\nfast= F.1|1|2\nStandard= S|9\n\n"
                      "[routing]\nfactors= R|1|2\nother= |1.5\n";
    return text.replace("\n", eol);
}

TEST(ProfileUpdate, SpliceFileChangesOnlyItsLines)
{
    const QString speed = "|100|80";
    const QString prefs = "|1.0|0.5";
    const struct { int row; std::vector<std::pair<QByteArray, QByteArray>> changes; } cases[] = {
        {0, {{"FAST= Fast|1|2", "FAST= Fast|100|80"}, {"fast= P|1|2", "fast= P|1.0|0.5|1.0|1.0|1.0"}}},
        // "standard" of [preference] holds no "|" and stays as it is.
        {1, {{"standard=Std|3|4", "standard= Std|100|80"}}},
        {2, {{"factors= R|1|2", "factors= R|1.000|0.500|1.000|1.000|1.000"}}},
        {3, {{"FAST= Fast|1|2", "FAST= Fast|100|80"}, {"fast= F.1|1|2", "fast= F.1|1.0|0.5|1.0,|1.0,|1.0"}}},
        {4, {{"standard=Std|3|4", "standard= Std|100|80"}, {"Standard= S|9", "Standard= S|1.0|0.5|1.0,|1.0,|1.0"}}},
    };
    QTemporaryDir dir;
    for (const char* eol : {"\r\n", "\n"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.row);
            const QString file = dir.filePath("profiles.ini");
            writeFile(file, sample(eol));
            ASSERT_TRUE(ProfileUpdate::spliceFile(file, targets()[c.row], speed, prefs));
            QByteArray expected = sample(eol);
            for (const auto& [from, to] : c.changes) {
                ASSERT_TRUE(expected.contains(from + eol));
                expected.replace(from + eol, to + eol);
            }
            EXPECT_EQ(readFile(file), expected);
        }
    }
}

TEST(ProfileUpdate, NothingToSpliceLeavesFilesAlone)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("prefs.ini");
    const QByteArray text = "[speedprofile]\r\nfast= 1\r\n[preference]\r\n";
    writeFile(file, text);
    EXPECT_TRUE(ProfileUpdate::spliceFile(file, targets()[0], "|1", "|2"));
    EXPECT_EQ(readFile(file), text);

    const QString missing = dir.filePath("missing.ini");
    EXPECT_TRUE(ProfileUpdate::spliceFile(missing, targets()[3], "|1", "|2"));
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(ProfileUpdate, MapExportFolderLosesTrailingSeparators)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Tivaro.ini");
    writeFile(ini, "[Directory]\r\nMapExportDir= /tmp/map-export//\r\n");
    EXPECT_EQ(ProfileUpdate::mapExportFolder(ini), "/tmp/map-export");
}

} // namespace
