#include "ConnectionMachine.h"

#include "DeviceConnection.h"
#include "DeviceLink.h"
#include "Prompter.h"

ConnectionLook ConnectionLook::of(ConnectionState state)
{
    const bool linked = state == ConnectionState::Connected || state == ConnectionState::Disconnecting;
    const bool changing = state == ConnectionState::Connecting || state == ConnectionState::Disconnecting;
    return {
        linked ? Rgb{128, 0, 0} : Rgb{255, 0, 0},
        changing ? Rgb{255, 255, 0} : Rgb{64, 64, 0},
        linked ? Rgb{0, 255, 0} : Rgb{0, 64, 0},
        linked ? QStringLiteral("trennen") : QStringLiteral("verbinden"),
    };
}

ConnectionMachine::ConnectionMachine(DeviceConnection& connection, DeviceLink& link,
                                     Prompter& prompter, std::function<void()> processEvents)
    : m_connection(connection)
    , m_link(link)
    , m_prompter(prompter)
    , m_processEvents(std::move(processEvents))
{
}

bool ConnectionMachine::toggle(const QString& settingsFile)
{
    m_connection.readMn4Folder(settingsFile);
    m_connection.connectAttempts = 0;
    m_connected = m_link.IsDeviceConnected();
    m_connection.connectWanted = !m_connected;
    return m_connection.connectWanted;
}

ConnectionMachine::Tick ConnectionMachine::tick()
{
    Tick result;
    // Events run inside a tick; a tick that arrives meanwhile has nothing to add.
    if (m_ticking) {
        result.connected = m_connected;
        return result;
    }
    m_ticking = true;
    const bool wasConnected = m_link.IsDeviceConnected();
    if (!wasConnected && m_connection.connectWanted) {
        m_link.ConnectDevice();
        if (++m_connection.connectAttempts > MaxAttempts) {
            m_prompter.note(QStringLiteral("Hinweis:"),
                           QStringLiteral("Es konnte nicht zum PDA verbunden werden."));
            m_connection.connectWanted = false;
            m_connection.connectAttempts = 0;
            result.gaveUp = true;
        }
    } else if (wasConnected && !m_connection.connectWanted) {
        m_link.DisconnectDevice();
    }
    if (m_processEvents)
        m_processEvents();
    m_connected = m_link.IsDeviceConnected();
    if (m_connected)
        m_connection.connectAttempts = 0;
    result.connected = m_connected;
    m_ticking = false;
    return result;
}

ConnectionState ConnectionMachine::state() const
{
    if (m_connected)
        return m_connection.connectWanted ? ConnectionState::Connected : ConnectionState::Disconnecting;
    return m_connection.connectWanted ? ConnectionState::Connecting : ConnectionState::Idle;
}
