#include "FileSizeLimit.h"
#include "SettingsLocation.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Program folder /p/, configuration folder /c/, earlier per-user folder /e/.
TEST(SettingsLocation, Rule)
{
    struct Case { const char* name; bool writable; QStringList existing; QString folder, takeOver; };
    const Case cases[] = {
        {"ownFolderKeepsThem", true, {}, "/p/", {}},
        {"ownFolderLeavesEarlierAlone", true, {"/e/Tivaro.ini"}, "/p/", {}},
        {"readOnlyFolder", false, {}, "/c/", {}},
        {"installedThoughWritable", true, {"/p/installed"}, "/c/", {}},
        {"earlierTakenOver", false, {"/e/Tivaro.ini"}, "/c/", "/e/Tivaro.ini"},
        {"installedTakesOver", true, {"/p/installed", "/e/Tivaro.ini"}, "/c/", "/e/Tivaro.ini"},
        {"takenOverOnlyOnce", false, {"/e/Tivaro.ini", "/c/Tivaro.ini"}, "/c/", {}},
    };
    for (const Case& c : cases) {
        const auto place = SettingsLocation::choose(
            {"/p/", "/c/", "/e/"}, [&](const QString& path) { return c.existing.contains(path); },
            [&](const QString& path) { return c.writable && path == "/p/"; });
        EXPECT_EQ(place.folder, c.folder) << c.name;
        EXPECT_EQ(place.takeOver, c.takeOver) << c.name;
    }
}

// A user with $XDG_CONFIG_HOME and $XDG_DATA_HOME set, whose program folder lies
// below a plain file, so that nobody, root included, can write it. A take-over
// that fails on a full disk keeps the earlier settings in use and whole and
// leaves no half file; the next start takes them over and leaves the old file
// for the user to delete.
TEST(SettingsLocation, TakesEarlierSettingsOverSafely)
{
    QTemporaryDir dir;
    const QString name = QCoreApplication::applicationName();
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME"), dataHome = qgetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName("Tivaro");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("conf")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    writeFile(dir.filePath("plain"), "x");
    const QString program = dir.filePath("plain/lib/tivaro/"), earlier = dir.filePath("data/tivaro/Tivaro.ini");
    const QByteArray bytes = "; mine\n[directory]\nLastDir = /" + QByteArray(200, 's') + "/\n";
    writeFile(earlier, bytes);

    EXPECT_EQ(runWithFileSizeLimit(100, [&] {
                  const auto failed = SettingsLocation::prepare(program);
                  return failed.folder == dir.filePath("data/tivaro/") && failed.message.contains("nicht") ? 0 : 1;
              }),
              0);
    EXPECT_EQ(QDir(dir.filePath("conf/Tivaro")).entryList(QDir::Files | QDir::Hidden), QStringList());

    const auto taken = SettingsLocation::prepare(program);
    EXPECT_EQ(taken.folder, dir.filePath("conf/Tivaro/"));
    EXPECT_EQ(readFile(dir.filePath("conf/Tivaro/Tivaro.ini")), bytes);
    EXPECT_EQ(readFile(earlier), bytes);
    EXPECT_TRUE(taken.message.contains(dir.filePath("data/tivaro/"))) << taken.message.toStdString();

    QCoreApplication::setApplicationName(name);
    configHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", configHome);
    dataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dataHome);
}

} // namespace
