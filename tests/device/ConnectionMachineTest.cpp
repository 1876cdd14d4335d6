#include "ConnectionMachine.h"
#include "DeviceConnection.h"
#include "TestFiles.h"
#include "DeviceLink.h"
#include "FaultyDevice.h"
#include "ScriptedPrompter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ConnectionMachineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(root);
        writeFile(settings, "[Directory]\r\nMN4Dir= \\Storage Card\\MN4\\MobileNavigator.exe\r\n");
    }

    QTemporaryDir base;
    QString root = base.filePath("card");
    QString settings = base.filePath("Tivaro.ini");
    FaultyDevice device{root};
    ScriptedPrompter prompter;
    DeviceLink link{device, prompter};
    DeviceConnection connection;
    std::function<void()> events;
    ConnectionMachine machine{connection, link, prompter, [this] { if (events) events(); }};
};

TEST_F(ConnectionMachineTest, GivesUpWithAMessageOnThe21stFailedAttempt)
{
    QDir(root).removeRecursively();
    machine.toggle(settings);
    for (int attempt = 1; attempt <= 20; ++attempt)
        EXPECT_FALSE(machine.tick().gaveUp) << attempt;
    EXPECT_EQ(machine.state(), ConnectionState::Connecting);
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(machine.tick().gaveUp);
    EXPECT_EQ(prompter.texts(), QStringList{"Es konnte nicht zum PDA verbunden werden."});
    EXPECT_EQ(machine.state(), ConnectionState::Idle);
    EXPECT_EQ(connection.connectAttempts, 0);
    EXPECT_EQ(device.count("CeRapiInitEx"), 21);

    // A device that appears late is found by the attempts still left.
    machine.toggle(settings);
    machine.tick();
    QDir().mkpath(root);
    EXPECT_TRUE(machine.tick().connected);
    EXPECT_EQ(connection.connectAttempts, 0);
}

TEST_F(ConnectionMachineTest, ATickDuringTheEventsOfATickDoesNothing)
{
    machine.toggle(settings);
    int nested = 0;
    events = [&] {
        if (nested++ == 0)
            machine.tick();
    };
    EXPECT_TRUE(machine.tick().connected);
    EXPECT_EQ(device.count("CeRapiInitEx"), 1);
}

} // namespace
