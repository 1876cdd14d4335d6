#include "FolderDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

namespace {

constexpr quint32 RecordHeaderSize = 20;
constexpr qint32 InvalidArgument = qint32(0x80070057u);

// Characters Windows CE never accepts in a file name.
bool validName(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral(":*?\"<>|").contains(c))
            return false;
    }
    return true;
}

// Wildcard match of Windows file searches: '*' any run, '?' one character.
bool matches(QStringView pattern, QStringView name)
{
    if (pattern.isEmpty())
        return name.isEmpty();
    if (pattern.front() == u'*') {
        for (qsizetype i = 0; i <= name.size(); ++i) {
            if (matches(pattern.mid(1), name.mid(i)))
                return true;
        }
        return false;
    }
    if (name.isEmpty())
        return false;
    if (pattern.front() != u'?' && pattern.front().toCaseFolded() != name.front().toCaseFolded())
        return false;
    return matches(pattern.mid(1), name.mid(1));
}

// The entry called name in folder: the exact name, else one that differs only
// in letter case, else nothing.
std::optional<QString> findEntry(const QString& folder, const QString& name)
{
    const QFileInfo exact(folder + u'/' + name);
    if (exact.exists() || exact.isSymLink())
        return name;
    const QStringList all = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : all) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return std::nullopt;
}

} // namespace

struct FolderDevice::OpenFile
{
    QFile file;
    bool canRead = false;
    bool canWrite = false;
};

FolderDevice::FolderDevice(const QString& root)
    : m_root(root)
{
}

FolderDevice::~FolderDevice() = default;

QString FolderDevice::canonicalRoot() const
{
    const QFileInfo info(m_root);
    return info.isDir() ? info.canonicalFilePath() : QString();
}

bool FolderDevice::inside(const QString& canonicalPath, const QString& root) const
{
    if (canonicalPath.isEmpty())
        return false;
    if (canonicalPath == root)
        return true;
    const QString prefix = root.endsWith(u'/') ? root : root + u'/';
    return canonicalPath.startsWith(prefix);
}

bool FolderDevice::answers()
{
    // One stat, not a full path resolution: this runs for every chunk of a copy.
    if (m_connected && QFileInfo(m_root).isDir())
        return true;
    m_lastError = CeError::DeviceNotConnected;
    return false;
}

bool FolderDevice::fail(quint32 code)
{
    m_lastError = code;
    return false;
}

CeHandle FolderDevice::newHandle()
{
    if (m_nextHandle <= 0)
        m_nextHandle = 0x100;
    return m_nextHandle++;
}

std::optional<QString> FolderDevice::resolve(const QString& devicePath, Last last)
{
    if (!answers())
        return std::nullopt;
    const QString root = canonicalRoot();
    if (root.isEmpty()) {
        fail(CeError::DeviceNotConnected);
        return std::nullopt;
    }
    QString path = devicePath;
    path.replace(u'/', u'\\');
    if (path.contains(QChar(0)) || path.startsWith(QLatin1String("\\\\"))) {
        fail(CeError::InvalidName);
        return std::nullopt;
    }
    QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    for (const QString& part : parts) {
        if (part == QLatin1String("..")) {
            fail(CeError::AccessDenied);
            return std::nullopt;
        }
        if (!validName(part)) {
            fail(CeError::InvalidName);
            return std::nullopt;
        }
    }

    QString current = root;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool isLast = i == parts.size() - 1;
        const std::optional<QString> found = findEntry(current, parts[i]);
        if (!found) {
            if (isLast)
                return current + u'/' + parts[i]; // a new entry gets the caller's spelling
            fail(CeError::PathNotFound);
            return std::nullopt;
        }
        const QString entry = current + u'/' + *found;
        const QFileInfo info(entry);
        if (isLast && last == Last::LinkItself)
            return entry;
        if (info.isSymLink() && !inside(info.canonicalFilePath(), root)) {
            fail(CeError::AccessDenied);
            return std::nullopt;
        }
        if (isLast)
            return entry;
        if (!info.isDir()) {
            fail(CeError::PathNotFound);
            return std::nullopt;
        }
        current = info.canonicalFilePath();
    }
    return current;
}

std::optional<QString> FolderDevice::resolveFolder(const QString& devicePath)
{
    std::optional<QString> folder = resolve(devicePath, Last::Follow);
    if (folder && !QFileInfo(*folder).isDir()) {
        fail(CeError::PathNotFound);
        return std::nullopt;
    }
    return folder;
}

qint32 FolderDevice::CeRapiInitEx(CeRapiInit& init)
{
    if (init.cbSize != 12)
        return InvalidArgument;
    if (canonicalRoot().isEmpty())
        return CeFail;
    m_connected = true;
    return CeOk;
}

qint32 FolderDevice::CeRapiUninit()
{
    if (!m_connected)
        return CeFail;
    m_files.clear();
    m_searches.clear();
    m_connected = false;
    return CeOk;
}

bool FolderDevice::CeGetVersionEx(CeOsVersionInfo& info)
{
    if (!answers())
        return false;
    if (info.dwOSVersionInfoSize < RecordHeaderSize)
        return fail(CeError::InvalidParameter);
    info.dwMajorVersion = 4;
    info.dwMinorVersion = 20;
    info.dwBuildNumber = 0;
    info.dwPlatformId = 3;
    info.szCSDVersion = QStringLiteral("Folder device");
    return true;
}

CeHandle FolderDevice::CeCreateFile(const QString& path, quint32 access, quint32 /*shareMode*/,
                                    quint32 creation, quint32 /*attributes*/)
{
    if (!answers())
        return InvalidCeHandle;
    if (creation != CeFile::CreateNew && creation != CeFile::OpenExisting) {
        fail(CeError::InvalidParameter);
        return InvalidCeHandle;
    }
    const std::optional<QString> local = resolve(path, Last::Follow);
    if (!local)
        return InvalidCeHandle;
    const QFileInfo info(*local);
    const bool exists = info.exists() || info.isSymLink();
    if (creation == CeFile::CreateNew && exists) {
        fail(CeError::FileExists);
        return InvalidCeHandle;
    }
    if (creation == CeFile::OpenExisting && !exists) {
        fail(CeError::FileNotFound);
        return InvalidCeHandle;
    }
    if (info.isDir()) {
        fail(CeError::AccessDenied);
        return InvalidCeHandle;
    }

    auto open = std::make_unique<OpenFile>();
    open->canRead = access & CeFile::GenericRead;
    open->canWrite = access & CeFile::GenericWrite;
    QIODevice::OpenMode mode = QIODevice::Unbuffered;
    if (open->canWrite)
        mode |= QIODevice::WriteOnly;
    if (open->canRead || !open->canWrite)
        mode |= QIODevice::ReadOnly;
    if (creation == CeFile::CreateNew)
        mode |= QIODevice::NewOnly | QIODevice::WriteOnly;
    else
        mode |= QIODevice::ExistingOnly;
    open->file.setFileName(*local);
    if (!open->file.open(mode)) {
        fail(open->file.error() == QFileDevice::ResourceError ? CeError::DiskFull
                                                              : CeError::AccessDenied);
        return InvalidCeHandle;
    }
    const CeHandle handle = newHandle();
    m_files.emplace(handle, std::move(open));
    return handle;
}

FolderDevice::OpenFile* FolderDevice::openFile(CeHandle handle, bool OpenFile::*allowed)
{
    if (!answers())
        return nullptr;
    const auto it = m_files.find(handle);
    if (it == m_files.end()) {
        fail(CeError::InvalidHandle);
        return nullptr;
    }
    if (!(it->second.get()->*allowed)) {
        fail(CeError::AccessDenied);
        return nullptr;
    }
    return it->second.get();
}

bool FolderDevice::CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read)
{
    read = 0;
    OpenFile* open = openFile(file, &OpenFile::canRead);
    if (!open)
        return false;
    const qint64 got = open->file.read(buffer, toRead);
    if (got < 0)
        return fail(CeError::AccessDenied);
    read = quint32(got);
    return true;
}

bool FolderDevice::CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite,
                               quint32& written)
{
    written = 0;
    OpenFile* open = openFile(file, &OpenFile::canWrite);
    if (!open)
        return false;
    const qint64 put = open->file.write(buffer, toWrite);
    if (put < 0)
        return fail(open->file.error() == QFileDevice::ResourceError ? CeError::DiskFull : CeError::AccessDenied);
    written = quint32(put);
    return true;
}

bool FolderDevice::CeCloseHandle(CeHandle handle)
{
    if (m_files.erase(handle) == 0)
        return fail(CeError::InvalidHandle);
    return true;
}

quint32 FolderDevice::CeGetLastError()
{
    return m_lastError;
}

CeHandle FolderDevice::CeFindFirstFile(const QString& pattern, CeFindData& data)
{
    if (!answers())
        return InvalidCeHandle;
    QString normal = pattern;
    normal.replace(u'/', u'\\');
    const qsizetype cut = normal.lastIndexOf(u'\\');
    const QString namePattern = normal.mid(cut + 1);
    const std::optional<QString> folder = resolveFolder(normal.left(cut + 1));
    if (!folder)
        return InvalidCeHandle;

    Search search;
    const QFileInfoList entries = QDir(*folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (!matches(namePattern, entry.fileName()))
            continue;
        // A symbolic link is shown as a plain file so that nobody walks through it.
        const bool folderEntry = entry.isDir() && !entry.isSymLink();
        search.entries.append({folderEntry ? CeFile::AttributeDirectory : CeFile::AttributeNormal,
                               entry.fileName()});
    }
    if (search.entries.isEmpty()) {
        fail(CeError::FileNotFound);
        return InvalidCeHandle;
    }
    data = search.entries.first();
    search.next = 1;
    const CeHandle handle = newHandle();
    m_searches.emplace(handle, std::move(search));
    return handle;
}

bool FolderDevice::CeFindNextFile(CeHandle search, CeFindData& data)
{
    if (!answers())
        return false;
    const auto it = m_searches.find(search);
    if (it == m_searches.end())
        return fail(CeError::InvalidHandle);
    if (it->second.next >= it->second.entries.size())
        return fail(CeError::NoMoreFiles);
    data = it->second.entries.at(it->second.next++);
    return true;
}

bool FolderDevice::CeFindClose(CeHandle search)
{
    if (m_searches.erase(search) == 0)
        return fail(CeError::InvalidHandle);
    return true;
}

bool FolderDevice::CeDeleteFile(const QString& path)
{
    const std::optional<QString> local = resolve(path, Last::LinkItself);
    if (!local)
        return false;
    const QFileInfo info(*local);
    if (!info.exists() && !info.isSymLink())
        return fail(CeError::FileNotFound);
    if (info.isDir() && !info.isSymLink())
        return fail(CeError::AccessDenied);
    return QFile::remove(*local) || fail(CeError::AccessDenied);
}

bool FolderDevice::CeRemoveDirectory(const QString& path)
{
    const std::optional<QString> local = resolve(path, Last::LinkItself);
    if (!local)
        return false;
    const QFileInfo info(*local);
    if (!info.isDir() || info.isSymLink())
        return fail(CeError::PathNotFound);
    if (*local == canonicalRoot())
        return fail(CeError::AccessDenied);
    if (!QDir(*local).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        return fail(CeError::DirNotEmpty);
    return QDir().rmdir(*local) || fail(CeError::AccessDenied);
}

bool FolderDevice::CeCreateDirectory(const QString& path)
{
    const std::optional<QString> local = resolve(path, Last::LinkItself);
    if (!local)
        return false;
    const QFileInfo info(*local);
    if (info.exists() || info.isSymLink())
        return fail(CeError::AlreadyExists);
    return QDir().mkdir(*local) || fail(CeError::PathNotFound);
}

bool FolderDevice::CeCopyFile(const QString& existingPath, const QString& newPath,
                              bool failIfExists)
{
    const std::optional<QString> source = resolve(existingPath, Last::Follow);
    if (!source)
        return false;
    const std::optional<QString> target = resolve(newPath, Last::Follow);
    if (!target)
        return false;
    if (!QFileInfo(*source).isFile())
        return fail(CeError::FileNotFound);
    const QFileInfo targetInfo(*target);
    if (targetInfo.isDir())
        return fail(CeError::AccessDenied);
    if (failIfExists && (targetInfo.exists() || targetInfo.isSymLink()))
        return fail(CeError::FileExists);

    // The target is replaced as a whole, so a failed copy leaves the old file.
    QFile in(*source);
    QSaveFile out(*target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return fail(CeError::AccessDenied);
    char buffer[65536];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return fail(CeError::AccessDenied);
        if (got == 0)
            break;
        if (out.write(buffer, got) != got)
            return fail(CeError::DiskFull);
    }
    return out.commit() || fail(CeError::DiskFull);
}

bool FolderDevice::CeCreateProcess(const QString& program, const QString& /*commandLine*/)
{
    qWarning().noquote() << "The folder device cannot start programs:" << program;
    return fail(CeError::NotSupported);
}
