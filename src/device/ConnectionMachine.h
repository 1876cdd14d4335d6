#pragma once

#include <QString>

#include <functional>

class DeviceLink;
class Prompter;
struct DeviceConnection;

// The four states of the link as the windows show them.
enum class ConnectionState { Idle, Connecting, Connected, Disconnecting };

// What the connection lights and the connect button show in one state.
struct ConnectionLook
{
    struct Rgb
    {
        int red, green, blue;
        bool operator==(const Rgb&) const = default;
    };
    Rgb redLight;
    Rgb yellowLight;
    Rgb greenLight;
    QString buttonCaption;

    static ConnectionLook of(ConnectionState state);
};

// Opens and closes the device connection once a second as the user wants it:
// the window's one-second timer calls tick(), its connect button toggle().
// Gives up with a message after more than 20 failed attempts.
class ConnectionMachine
{
public:
    static constexpr int MaxAttempts = 20;

    ConnectionMachine(DeviceConnection& connection, DeviceLink& link, Prompter& prompter,
                      std::function<void()> processEvents = {});

    // The connect button: takes MN4's folder anew and asks for the opposite of
    // the present connection. Returns whether a connection is now wanted.
    bool toggle(const QString& settingsFile);

    struct Tick
    {
        bool connected = false;
        bool gaveUp = false; // the attempts ran out in this tick
    };
    // One step: connect or disconnect as wanted, then look at the device again.
    Tick tick();

    bool connected() const { return m_connected; }
    ConnectionState state() const;

private:
    DeviceConnection& m_connection;
    DeviceLink& m_link;
    Prompter& m_prompter;
    std::function<void()> m_processEvents;
    bool m_connected = false;
    bool m_ticking = false;
};
