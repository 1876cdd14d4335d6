#include "DeviceLink.h"

#include "Prompter.h"
#include "SafeWrite.h"

#include <QFile>

#include <array>

namespace {

const QString Title = QStringLiteral("Tivaro");

bool isFolder(const CeFindData& data)
{
    return data.dwFileAttributes & CeFile::AttributeDirectory;
}

// "." and ".." never name a real entry; following them would leave the folder.
bool isRealName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(u'\\') && !name.contains(u'/');
}

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'\\') ? folder + name : folder + u'\\' + name;
}

} // namespace

DeviceLink::DeviceLink(RemoteApi& api, Prompter& prompter, std::function<void()> processEvents)
    : m_api(api)
    , m_prompter(prompter)
    , m_processEvents(std::move(processEvents))
{
}

void DeviceLink::show(const QString& text)
{
    m_prompter.ask(Title, text, Prompter::Buttons::Ok, Prompter::Icon::None);
}

void DeviceLink::letEventsRun()
{
    if (m_processEvents)
        m_processEvents();
}

bool DeviceLink::ConnectDevice()
{
    CeRapiInit init;
    init.cbSize = 12;
    letEventsRun();
    m_api.CeRapiInitEx(init);
    letEventsRun();
    return IsDeviceConnected();
}

qint32 DeviceLink::DisconnectDevice()
{
    return m_api.CeRapiUninit();
}

QString DeviceLink::GetDeviceVersion()
{
    CeOsVersionInfo info;
    info.dwOSVersionInfoSize = 148;
    if (!m_api.CeGetVersionEx(info))
        return QString();
    const QString servicePack = info.szCSDVersion.left(info.szCSDVersion.indexOf(QChar(0)));
    return QStringLiteral("%1.%2.%3 %4")
        .arg(info.dwMajorVersion)
        .arg(info.dwMinorVersion)
        .arg(info.dwBuildNumber)
        .arg(servicePack);
}

bool DeviceLink::IsDeviceConnected()
{
    return !GetDeviceVersion().isEmpty();
}

CeHandle DeviceLink::OpenDeviceFile(const QString& path, qint16 mode, bool createNew,
                                    quint32 attributes)
{
    quint32 access = 0;
    if (mode == 1)
        access = CeFile::GenericRead;
    else if (mode == 2)
        access = CeFile::GenericWrite;
    else if (mode == 3)
        access = CeFile::GenericRead | CeFile::GenericWrite;
    return m_api.CeCreateFile(path, access, 0,
                              createNew ? CeFile::CreateNew : CeFile::OpenExisting, attributes);
}

bool DeviceLink::CopyFileFromDevice(const QString& devicePath, const QString& pcPath)
{
    const CeHandle handle = OpenDeviceFile(devicePath, 1, false, CeFile::AttributeNormal);
    if (handle == InvalidCeHandle) {
        show(QStringLiteral("Device File Does Not Exist Or Is Empty (0 Bytes)!"));
        return false;
    }
    // The PC file is replaced only once every byte has arrived.
    SafeWrite pcFile(pcPath);
    bool complete = true;
    bool readFailed = false;
    std::array<char, ChunkSize> chunk;
    while (complete) {
        quint32 read = 0;
        if (!m_api.CeReadFile(handle, chunk.data(), ChunkSize, read) || read > ChunkSize) {
            complete = false;
            readFailed = true;
        } else if (read == 0) {
            break;
        } else {
            complete = pcFile.write(chunk.data(), read);
        }
    }
    m_api.CeCloseHandle(handle);
    if (complete && pcFile.commit())
        return true;
    show(readFailed ? QStringLiteral("Device File Could Not Be Read Completely!")
                    : QStringLiteral("PC File Could Not Be Written!"));
    return false;
}

bool DeviceLink::CopyFileToDevice(const QString& pcPath, const QString& devicePath,
                                  const std::function<bool(quint32 bytes)>& chunkWritten)
{
    const Sent sent = sendFile(pcPath, devicePath, chunkWritten);
    if (!sent.failure.isEmpty())
        show(sent.failure);
    return sent.whole;
}

DeviceLink::Sent DeviceLink::sendFile(const QString& pcPath, const QString& devicePath,
                                      const std::function<bool(quint32 bytes)>& chunkWritten, quint64 lastWriteTime)
{
    Sent sent;
    QFile pcFile(pcPath);
    QByteArray source;
    if (pcFile.open(QIODevice::ReadOnly))
        source = pcFile.readAll();
    if (!pcFile.isOpen() || pcFile.error() != QFileDevice::NoError) {
        sent.failure = QStringLiteral("PC File Does Not Exist Or Cannot Be Read!");
        return sent;
    }
    pcFile.close();

    const CeHandle handle = OpenDeviceFile(devicePath, 2, true, CeFile::AttributeNormal);
    if (handle == InvalidCeHandle) {
        switch (m_api.CeGetLastError()) {
        case CeError::FileExists:
            sent.failure = QStringLiteral("A file already exists with the specified name.");
            break;
        case CeError::InvalidParameter:
            sent.failure = QStringLiteral("A parameter was invalid.");
            break;
        case CeError::DiskFull:
            sent.failure = QStringLiteral("Disk if Full.");
            break;
        default:
            sent.failure = QStringLiteral("An unknown error occured.");
            break;
        }
        return sent;
    }

    // A failed or short write ends the copy; the partial file must not pass for the whole.
    qsizetype offset = 0;
    bool complete = true;
    while (offset < source.size()) {
        const quint32 count = quint32(std::min<qsizetype>(ChunkSize, source.size() - offset));
        quint32 written = 0;
        if (!m_api.CeWriteFile(handle, source.constData() + offset, count, written)
            || written != count) {
            complete = false;
            break;
        }
        offset += count;
        if (chunkWritten && !chunkWritten(count)) {
            sent.stopped = true;
            break;
        }
    }
    if (complete && !sent.stopped && lastWriteTime)
        complete = m_api.CeSetFileTime(handle, lastWriteTime);
    // Closing is where a device may find that the file could not be stored.
    complete = m_api.CeCloseHandle(handle) && complete;
    sent.whole = complete && !sent.stopped;
    if (sent.whole)
        return sent;
    m_api.CeDeleteFile(devicePath);
    if (!sent.stopped)
        sent.failure = QStringLiteral("Device File Could Not Be Written Completely!");
    return sent;
}

bool DeviceLink::ReplaceDeviceFile(const QString& pcPath, const QString& devicePath)
{
    // The upload's own name: one that no entry of the folder has, whatever its case.
    const qsizetype cut = devicePath.lastIndexOf(u'\\');
    const QString folder = devicePath.left(cut + 1);
    QStringList taken;
    for (const CeFindData& entry : ListDeviceEntries(folder))
        taken << entry.cFileName;
    const QString upload = folder + freeName(devicePath.mid(cut + 1) + QStringLiteral(".~"), taken);
    if (!CopyFileToDevice(pcPath, upload))
        return false;
    const bool replaced = m_api.CeCopyFile(upload, devicePath, false);
    m_api.CeDeleteFile(upload);
    if (!replaced)
        show(QStringLiteral("Device File Could Not Be Replaced!"));
    return replaced;
}

QString DeviceLink::freeName(const QString& stem, const QStringList& taken)
{
    for (int n = 0;; ++n) {
        const QString name = stem + QString::number(n);
        if (!taken.contains(name, Qt::CaseInsensitive))
            return name;
    }
}

QList<CeFindData> DeviceLink::ListDeviceEntries(const QString& folder)
{
    QList<CeFindData> entries;
    CeFindData data;
    const CeHandle search = m_api.CeFindFirstFile(joined(folder, QStringLiteral("*")), data);
    if (search == InvalidCeHandle)
        return entries;
    do {
        if (isRealName(data.cFileName))
            entries.append(data);
    } while (m_api.CeFindNextFile(search, data));
    m_api.CeFindClose(search);
    return entries;
}

QStringList DeviceLink::ListDeviceFolders(const QString& folder)
{
    QStringList names;
    CeFindData data;
    const CeHandle search = m_api.CeFindFirstFile(folder + u'*', data);
    if (search == InvalidCeHandle)
        return names;
    do {
        if (isFolder(data) && isRealName(data.cFileName))
            names.append(data.cFileName);
    } while (m_api.CeFindNextFile(search, data));
    m_api.CeFindClose(search);
    return names;
}

void DeviceLink::DeleteDeviceFolder(const QString& path)
{
    CeFindData data;
    const CeHandle search = m_api.CeFindFirstFile(joined(path, QStringLiteral("*")), data);
    if (search != InvalidCeHandle) {
        do {
            if (!isRealName(data.cFileName))
                continue;
            const QString entry = joined(path, data.cFileName);
            if (isFolder(data))
                DeleteDeviceFolder(entry);
            else
                m_api.CeDeleteFile(entry);
        } while (m_api.CeFindNextFile(search, data));
        m_api.CeFindClose(search);
    }
    m_api.CeRemoveDirectory(path);
}
