#include "FileSizeLimit.h"
#include "SettingsLocation.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using SettingsLocation::Folders;

// The user's environment for one test: home, configuration and data folders,
// and the program's name, which names its configuration folder.
class UserEnvironment
{
public:
    UserEnvironment(const QString& home, const QString& configHome, const QString& dataHome)
        : m_name(QCoreApplication::applicationName())
    {
        QCoreApplication::setApplicationName(QStringLiteral("Tivaro"));
        set("HOME", home);
        set("XDG_CONFIG_HOME", configHome);
        set("XDG_DATA_HOME", dataHome);
    }
    ~UserEnvironment()
    {
        QCoreApplication::setApplicationName(m_name);
        for (const auto& [name, value] : m_saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

private:
    void set(const char* name, const QString& value)
    {
        m_saved.emplace_back(name, qgetenv(name));
        value.isEmpty() ? qunsetenv(name) : qputenv(name, QFile::encodeName(value));
    }
    QString m_name;
    std::vector<std::pair<const char*, QByteArray>> m_saved;
};

TEST(SettingsLocation, Rule)
{
    const Folders folders{"/opt/t/", "/home/u/.config/Tivaro/", "/home/u/.local/share/tivaro/"};
    const QString marker = "/opt/t/installed";
    const QString current = "/home/u/.config/Tivaro/Tivaro.ini";
    const QString earlier = "/home/u/.local/share/tivaro/Tivaro.ini";
    struct Case { const char* name; bool writable; QStringList existing; QString folder; QString takeOver; };
    const Case cases[] = {
        {"ownFolderKeepsThem", true, {}, folders.program, {}},
        {"ownFolderLeavesEarlierAlone", true, {earlier}, folders.program, {}},
        {"readOnlyFolder", false, {}, folders.config, {}},
        {"installedThoughWritable", true, {marker}, folders.config, {}},
        {"earlierTakenOver", false, {earlier}, folders.config, earlier},
        {"installedTakesOver", true, {marker, earlier}, folders.config, earlier},
        {"takenOverOnlyOnce", false, {earlier, current}, folders.config, {}},
    };
    for (const Case& c : cases) {
        const auto place = SettingsLocation::choose(
            folders, [&](const QString& path) { return c.existing.contains(path); },
            [&](const QString& path) { return c.writable && path == folders.program; });
        EXPECT_EQ(place.folder, c.folder) << c.name;
        EXPECT_EQ(place.takeOver, c.takeOver) << c.name;
    }
}

TEST(SettingsLocation, FollowsTheEnvironment)
{
    QTemporaryDir dir;
    const QString home = dir.path();
    struct Case { const char* name; QString configHome, dataHome, config, earlier; };
    const Case cases[] = {
        {"defaults", {}, {}, home + "/.config/Tivaro/", home + "/.local/share/tivaro/"},
        {"xdgFolders", home + "/conf", home + "/data", home + "/conf/Tivaro/", home + "/data/tivaro/"},
    };
    for (const Case& c : cases) {
        UserEnvironment user(home, c.configHome, c.dataHome);
        const Folders folders = SettingsLocation::userFolders("/opt/t");
        EXPECT_EQ(folders.program, "/opt/t/") << c.name;
        EXPECT_EQ(folders.config, c.config) << c.name;
        EXPECT_EQ(folders.earlier, c.earlier) << c.name;
    }
}

// Earlier settings move once into the configuration folder and stay where they
// were for the user to delete. The program folder lies below a plain file, so
// that nobody, root included, can write it.
TEST(SettingsLocation, TakesEarlierSettingsOverOnce)
{
    QTemporaryDir dir;
    UserEnvironment user(dir.path(), dir.filePath("conf"), dir.filePath("data"));
    writeFile(dir.filePath("plain"), "x");
    const QString program = dir.filePath("plain/lib/tivaro/");
    const QString earlier = dir.filePath("data/tivaro/Tivaro.ini");
    const QByteArray bytes = "; mine\n[directory]\nLastDir = /skins/\n";
    writeFile(earlier, bytes);

    const auto first = SettingsLocation::prepare(program);
    EXPECT_EQ(first.folder, dir.filePath("conf/Tivaro/"));
    EXPECT_EQ(readFile(dir.filePath("conf/Tivaro/Tivaro.ini")), bytes);
    EXPECT_TRUE(first.message.contains(dir.filePath("data/tivaro/"))) << first.message.toStdString();
    EXPECT_EQ(readFile(earlier), bytes);

    writeFile(earlier, "[Directory]\r\nlastDir= /elsewhere/\r\n");
    const auto second = SettingsLocation::prepare(program);
    EXPECT_EQ(second.folder, first.folder);
    EXPECT_EQ(second.message, QString());
    EXPECT_EQ(readFile(dir.filePath("conf/Tivaro/Tivaro.ini")), bytes);
}

// A take-over that fails on a full disk keeps the earlier settings in use and
// whole, says so, and leaves no half file; the next start takes them over.
TEST(SettingsLocation, FailedTakeOverKeepsEarlierSettings)
{
    QTemporaryDir dir;
    UserEnvironment user(dir.path(), dir.filePath("conf"), dir.filePath("data"));
    const QString program = dir.filePath("missing/");
    const QByteArray bytes = QByteArray("[Directory]\r\nlastDir= ") + QByteArray(200, 's') + "\r\n";
    writeFile(dir.filePath("data/tivaro/Tivaro.ini"), bytes);

    EXPECT_EQ(runWithFileSizeLimit(100, [&] {
                  const auto failed = SettingsLocation::prepare(program);
                  return failed.folder == dir.filePath("data/tivaro/") && failed.message.contains("nicht") ? 0 : 1;
              }),
              0);
    EXPECT_EQ(QDir(dir.filePath("conf/Tivaro")).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(readFile(dir.filePath("data/tivaro/Tivaro.ini")), bytes);

    EXPECT_EQ(SettingsLocation::prepare(program).folder, dir.filePath("conf/Tivaro/"));
    EXPECT_EQ(readFile(dir.filePath("conf/Tivaro/Tivaro.ini")), bytes);
}

} // namespace
