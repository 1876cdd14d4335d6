#include "FolderDevice.h"

#ifdef Q_OS_UNIX

#include "SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifdef SYS_openat2
#include <linux/openat2.h>
#endif

namespace {

constexpr quint32 RecordHeaderSize = 20;
constexpr qint32 InvalidArgument = qint32(0x80070057u);
// Bytes gathered before one write to the disk, and read ahead in one read.
constexpr qsizetype BufferSize = 256 * 1024;
constexpr std::size_t MaxListings = 64;

// A file descriptor that is closed with its owner, unless it is borrowed.
class Fd
{
public:
    Fd() = default;
    Fd(int fd, bool owned) : m_fd(fd), m_owned(owned) {}
    Fd(Fd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_owned(other.m_owned) {}
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        std::swap(m_owned, other.m_owned);
        return *this;
    }
    ~Fd()
    {
        if (m_owned && m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes the descriptor now; the close's own failure is returned.
    int close()
    {
        const int result = m_owned && m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return result;
    }

private:
    int m_fd = -1;
    bool m_owned = false;
};

QByteArray encoded(const QString& name)
{
    return QFile::encodeName(name);
}

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

quint32 writeError(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG ? CeError::DiskFull : CeError::AccessDenied;
}

qint64 nanoseconds(const timespec& time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

qint64 modified(const struct stat& info)
{
    return nanoseconds(info.st_mtim);
}

// The clock the file system stamps changes with, at its own granularity.
qint64 coarseNow()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return nanoseconds(now);
}

struct Entry
{
    QString name;
    bool folder = false;
    quint64 size = 0;
    quint64 time = 0; // FILETIME
};

// FILETIME counts 100 ns steps from 1601; the system clock counts from 1970.
constexpr qint64 FileTimeEpoch = 116444736000000000;

quint64 fileTimeOf(const timespec& time)
{
    return quint64(qint64(time.tv_sec) * 10000000 + time.tv_nsec / 100 + FileTimeEpoch);
}

timespec timespecOf(quint64 fileTime)
{
    const qint64 units = qint64(fileTime) - FileTimeEpoch;
    timespec time{};
    time.tv_sec = time_t(units / 10000000);
    time.tv_nsec = long(units % 10000000) * 100;
    if (time.tv_nsec < 0) {
        time.tv_sec -= 1;
        time.tv_nsec += 1000000000;
    }
    return time;
}

// Calls visit with the name of every entry of folder but "." and "..".
template<typename Visit>
void forEachEntry(int folder, Visit visit)
{
    DIR* dir = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir)
        return;
    while (const dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") != 0 && std::strcmp(d->d_name, "..") != 0)
            visit(*d);
    }
    ::closedir(dir);
}

// Every entry of folder; a symbolic link counts as a file.
QList<Entry> entriesOf(int folder)
{
    QList<Entry> entries;
    forEachEntry(folder, [&](const dirent& d) {
        struct stat info;
        if (::fstatat(folder, d.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        const bool isFolder = S_ISDIR(info.st_mode);
        entries.append({QFile::decodeName(d.d_name), isFolder, isFolder ? 0 : quint64(info.st_size),
                        fileTimeOf(info.st_mtim)});
    });
    return entries;
}

bool isAscii(const char* text)
{
    for (; *text; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    }
    return true;
}

// Writes all of bytes; the error number of the failure, or 0.
int writeAll(int fd, const char* bytes, qsizetype size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, std::size_t(size));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : ENOSPC;
        bytes += put;
        size -= put;
    }
    return 0;
}

} // namespace

// A path below the root: the open folder that holds its last name, and that name.
struct FolderDevice::Place
{
    Fd folder;
    QString folderPath;
    QString name; // empty for the root itself
    bool exists = false;
    mode_t type = 0;

    bool isRoot() const { return name.isEmpty(); }
    bool isLink() const { return exists && S_ISLNK(type); }
    bool isFolder() const { return isRoot() || (exists && S_ISDIR(type)); }
    QString path() const { return isRoot() ? folderPath : folderPath + u'/' + name; }
};

struct FolderDevice::OpenFile
{
    Fd fd;
    bool canRead = false;
    bool canWrite = false;
    // A file this handle created: removed again when its bytes could not all be stored.
    Fd folder;
    QByteArray name;
    // Bytes not yet written, or read ahead and not yet handed out from readPos.
    QByteArray buffer;
    qsizetype readPos = 0;
    bool writing = false;
    int error = 0; // a failed write: every later write and the close report it
    std::optional<timespec> lastWrite; // given at the close, after the last bytes

    bool flush()
    {
        if (!writing || error)
            return !error;
        error = writeAll(fd.get(), buffer.constData(), buffer.size());
        buffer.resize(0); // keeps its room for the next bytes
        return !error;
    }
    // Gives up the bytes read ahead, so that the file position is the caller's again.
    void dropReadAhead()
    {
        if (!writing && readPos < buffer.size())
            ::lseek(fd.get(), -(buffer.size() - readPos), SEEK_CUR);
        buffer.clear();
        readPos = 0;
    }
};

FolderDevice::FolderDevice(const QString& root)
    : m_root(root)
{
}

FolderDevice::~FolderDevice()
{
    CeRapiUninit();
}

void FolderDevice::setThroughput(int kbPerSecond)
{
    m_throughput = std::max(0, kbPerSecond);
    m_pacedBytes = 0;
    m_pacedSince.start();
}

qint64 FolderDevice::paceDelay(qint64 bytes, qint64 elapsedMs, int kbPerSecond)
{
    if (kbPerSecond <= 0)
        return 0;
    const qint64 dueMs = bytes * 1000 / (qint64(kbPerSecond) * 1024);
    return std::max<qint64>(0, dueMs - elapsedMs);
}

void FolderDevice::pace(quint32 bytes)
{
    if (m_throughput <= 0)
        return;
    // A pause of more than a second starts the count anew, as a cable idles.
    if (m_pacedSince.elapsed() > 1000 + paceDelay(m_pacedBytes, 0, m_throughput)) {
        m_pacedBytes = 0;
        m_pacedSince.start();
    }
    m_pacedBytes += bytes;
    QThread::msleep(quint64(paceDelay(m_pacedBytes, m_pacedSince.elapsed(), m_throughput)));
}

bool FolderDevice::answers()
{
    struct stat info;
    if (m_rootFd >= 0 && ::stat(encoded(m_root).constData(), &info) == 0
        && FolderId(info.st_dev, info.st_ino) == m_rootId)
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

bool FolderDevice::findName(int folder, QString& name)
{
    struct stat info;
    if (::fstat(folder, &info) != 0)
        return false;
    const FolderId id(info.st_dev, info.st_ino);
    const qint64 stamp = modified(info);
    const QString folded = name.toCaseFolded();
    // A listing is reused while the folder keeps its modification time, and only
    // when that time lies before the listing: a later change then shows as a new time.
    const auto it = m_listings.find(id);
    if (it != m_listings.end() && it->second.stamp == stamp && (it->second.ours || stamp < it->second.listedAt)) {
        m_checked = {id, stamp};
        const auto found = it->second.names.constFind(folded);
        if (found == it->second.names.cend())
            return false;
        name = *found;
        return true;
    }

    // A folder changed a moment ago, as while an upload fills it, is read again
    // for every name without keeping a listing.
    Listing listing;
    listing.stamp = stamp;
    listing.listedAt = coarseNow();
    const bool keep = stamp < listing.listedAt;
    const QByteArray wanted = encoded(name);
    const bool asciiWanted = isAscii(wanted.constData());
    QString match;
    forEachEntry(folder, [&](const dirent& d) {
        if (!keep && asciiWanted && isAscii(d.d_name)) {
            if (::strcasecmp(d.d_name, wanted.constData()) == 0 && (match.isEmpty() || QFile::decodeName(d.d_name) < match))
                match = QFile::decodeName(d.d_name);
            return;
        }
        const QString entry = QFile::decodeName(d.d_name);
        const QString entryFolded = entry.toCaseFolded();
        // Of two names that differ only in case, the first in sort order is found.
        if (entryFolded == folded && (match.isEmpty() || entry < match))
            match = entry;
        if (keep) {
            QString& known = listing.names[entryFolded];
            if (known.isEmpty() || entry < known)
                known = entry;
        }
    });
    m_checked = {};
    if (keep) {
        if (m_listings.size() >= MaxListings)
            m_listings.clear();
        m_listings.insert_or_assign(id, std::move(listing));
        m_checked = {id, stamp};
    }
    if (match.isEmpty())
        return false;
    name = match;
    return true;
}

int FolderDevice::openBelow(int folder, QString& name)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(folder, encoded(name).constData(), flags);
    if (fd < 0 && errno == ENOENT && findName(folder, name))
        fd = ::openat(folder, encoded(name).constData(), flags);
    if (fd >= 0)
        return fd;
    const int error = errno;
    struct stat info;
    if (error == ELOOP || error == EACCES || error == EPERM
        || (::fstatat(folder, encoded(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)))
        fail(CeError::AccessDenied);
    else
        fail(CeError::PathNotFound);
    return -1;
}

void FolderDevice::noteCreated(int folder, const QString& name)
{
    struct stat info;
    if (::fstat(folder, &info) != 0)
        return;
    const FolderId id(info.st_dev, info.st_ino);
    const auto it = m_listings.find(id);
    if (it == m_listings.end())
        return;
    // Only a listing found current just before our change is current after it.
    if (m_checked != std::pair(id, it->second.stamp)) {
        m_listings.erase(it);
        return;
    }
    Listing& listing = it->second;
    listing.names.insert(name.toCaseFolded(), name);
    listing.stamp = modified(info);
    listing.ours = true;
    m_checked = {id, listing.stamp};
}

int FolderDevice::openExactly(const QStringList& names)
{
#ifdef SYS_openat2
    // One call for the common case, every name spelt as on disk: the kernel
    // walks the names below the root and refuses links and "..".
    if (m_openat2) {
        open_how how{};
        how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        const QByteArray path = encoded(names.join(u'/'));
        const long fd = ::syscall(SYS_openat2, m_rootFd, path.constData(), &how, sizeof how);
        if (fd >= 0)
            return int(fd);
        m_openat2 = errno != ENOSYS && errno != EPERM;
    }
#else
    Q_UNUSED(names);
#endif
    return -1;
}

std::optional<FolderDevice::Place> FolderDevice::locate(const QString& devicePath, bool toRemove)
{
    if (!answers())
        return std::nullopt;
    QString path = devicePath;
    path.replace(u'/', u'\\');
    if (path.contains(QChar(0)) || path.startsWith(QLatin1String("\\\\"))) {
        fail(CeError::InvalidName);
        return std::nullopt;
    }
    QStringList parts = path.split(u'\\');
    if (toRemove && (parts.contains(QStringLiteral(".")) || parts.mid(1, parts.size() - 2).contains(QString()))) {
        fail(CeError::InvalidName);
        return std::nullopt;
    }
    parts.removeAll(QString());
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

    Place place;
    place.folder = Fd(m_rootFd, false);
    place.folderPath = m_rootPath;
    if (parts.isEmpty()) {
        place.exists = true;
        return place;
    }
    const int folder = parts.size() > 1 ? openExactly(parts.first(parts.size() - 1)) : -1;
    if (folder >= 0) {
        place.folder = Fd(folder, true);
        place.folderPath += u'/' + parts.first(parts.size() - 1).join(u'/');
    }
    for (qsizetype i = 0; folder < 0 && i + 1 < parts.size(); ++i) {
        const int below = openBelow(place.folder.get(), parts[i]);
        if (below < 0)
            return std::nullopt;
        place.folder = Fd(below, true);
        place.folderPath += u'/' + parts[i]; // as found on disk
    }
    place.name = parts.last();
    struct stat info;
    place.exists = ::fstatat(place.folder.get(), encoded(place.name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    // A new entry gets the caller's spelling.
    if (!place.exists && findName(place.folder.get(), place.name))
        place.exists = ::fstatat(place.folder.get(), encoded(place.name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    place.type = place.exists ? info.st_mode : 0;
    return place;
}

int FolderDevice::openFolder(const QString& devicePath)
{
    std::optional<Place> place = locate(devicePath);
    if (!place)
        return -1;
    if (place->isRoot())
        return ::fcntl(m_rootFd, F_DUPFD_CLOEXEC, 0);
    if (place->isLink()) {
        fail(CeError::AccessDenied);
        return -1;
    }
    if (!place->isFolder()) {
        fail(CeError::PathNotFound);
        return -1;
    }
    return openBelow(place->folder.get(), place->name);
}

qint32 FolderDevice::CeRapiInitEx(CeRapiInit& init)
{
    if (init.cbSize != 12)
        return InvalidArgument;
    const int fd = ::open(encoded(m_root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        if (fd >= 0)
            ::close(fd);
        return CeFail;
    }
    if (m_rootFd >= 0)
        CeRapiUninit();
    m_rootFd = fd;
    m_rootId = FolderId(info.st_dev, info.st_ino);
    m_rootPath = QFileInfo(m_root).canonicalFilePath();
    return CeOk;
}

qint32 FolderDevice::CeRapiUninit()
{
    if (m_rootFd < 0)
        return CeFail;
    for (auto& [handle, file] : m_files)
        closeFile(*file);
    m_files.clear();
    m_searches.clear();
    m_listings.clear();
    ::close(m_rootFd);
    m_rootFd = -1;
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
    if (creation != CeFile::CreateNew && creation != CeFile::OpenExisting) {
        if (answers())
            fail(CeError::InvalidParameter);
        return InvalidCeHandle;
    }
    // The device is asked once here; reads and writes of the handle trust it.
    std::optional<Place> place = locate(path);
    if (!place)
        return InvalidCeHandle;
    const bool createNew = creation == CeFile::CreateNew;
    if (place->isLink()) {
        fail(CeError::AccessDenied);
        return InvalidCeHandle;
    }
    if (createNew && place->exists) {
        fail(CeError::FileExists);
        return InvalidCeHandle;
    }
    if (!createNew && !place->exists) {
        fail(CeError::FileNotFound);
        return InvalidCeHandle;
    }
    if (place->isFolder()) {
        fail(CeError::AccessDenied);
        return InvalidCeHandle;
    }

    auto open = std::make_unique<OpenFile>();
    open->canRead = access & CeFile::GenericRead;
    open->canWrite = access & CeFile::GenericWrite;
    int flags = O_CLOEXEC | O_NOFOLLOW;
    if (open->canWrite && !open->canRead)
        flags |= O_WRONLY;
    else if (open->canWrite || createNew)
        flags |= O_RDWR;
    else
        flags |= O_RDONLY;
    if (createNew)
        flags |= O_CREAT | O_EXCL;
    const QByteArray name = encoded(place->name);
    const int fd = ::openat(place->folder.get(), name.constData(), flags, 0666);
    if (fd < 0) {
        fail(errno == EEXIST ? CeError::FileExists : writeError(errno));
        return InvalidCeHandle;
    }
    open->fd = Fd(fd, true);
    if (createNew) {
        noteCreated(place->folder.get(), place->name);
        open->folder = std::move(place->folder);
        open->name = name;
    }
    const CeHandle handle = newHandle();
    m_files.emplace(handle, std::move(open));
    return handle;
}

FolderDevice::OpenFile* FolderDevice::openFile(CeHandle handle)
{
    const auto it = m_files.find(handle);
    if (it != m_files.end())
        return it->second.get();
    fail(CeError::InvalidHandle);
    return nullptr;
}

bool FolderDevice::CeReadFile(CeHandle file, char* buffer, quint32 toRead, quint32& read)
{
    read = 0;
    OpenFile* open = openFile(file);
    if (!open)
        return false;
    if (!open->canRead)
        return fail(CeError::AccessDenied);
    if (open->writing) {
        if (!open->flush())
            return fail(writeError(open->error));
        open->writing = false;
    }
    while (read < toRead) {
        if (open->readPos == open->buffer.size()) {
            open->buffer.resize(BufferSize);
            open->readPos = 0;
            ssize_t got;
            do
                got = ::read(open->fd.get(), open->buffer.data(), std::size_t(BufferSize));
            while (got < 0 && errno == EINTR);
            open->buffer.resize(std::max<ssize_t>(got, 0));
            if (got < 0)
                return fail(CeError::AccessDenied);
            if (got == 0)
                break;
        }
        const qsizetype take = std::min<qsizetype>(toRead - read, open->buffer.size() - open->readPos);
        std::memcpy(buffer + read, open->buffer.constData() + open->readPos, std::size_t(take));
        open->readPos += take;
        read += quint32(take);
    }
    pace(read);
    return true;
}

bool FolderDevice::CeWriteFile(CeHandle file, const char* buffer, quint32 toWrite,
                               quint32& written)
{
    written = 0;
    OpenFile* open = openFile(file);
    if (!open)
        return false;
    if (!open->canWrite)
        return fail(CeError::AccessDenied);
    if (!open->writing) {
        open->dropReadAhead();
        open->writing = true;
    }
    if (open->buffer.size() + qsizetype(toWrite) > BufferSize && !open->flush())
        return fail(writeError(open->error));
    if (qsizetype(toWrite) >= BufferSize) {
        open->error = writeAll(open->fd.get(), buffer, toWrite);
        if (open->error)
            return fail(writeError(open->error));
    } else {
        if (open->buffer.capacity() < BufferSize)
            open->buffer.reserve(BufferSize);
        open->buffer.append(buffer, toWrite);
    }
    written = toWrite;
    pace(toWrite);
    return true;
}

bool FolderDevice::closeFile(OpenFile& file)
{
    file.flush();
    if (file.lastWrite && !file.error) {
        const timespec times[2] = {{0, UTIME_OMIT}, *file.lastWrite};
        if (::futimens(file.fd.get(), times) != 0)
            file.error = errno;
    }
    if (file.fd.close() != 0 && !file.error)
        file.error = errno == EINTR ? 0 : errno;
    if (file.error && file.folder.get() >= 0)
        ::unlinkat(file.folder.get(), file.name.constData(), 0);
    return !file.error;
}

bool FolderDevice::CeCloseHandle(CeHandle handle)
{
    const auto it = m_files.find(handle);
    if (it == m_files.end())
        return fail(CeError::InvalidHandle);
    const std::unique_ptr<OpenFile> file = std::move(it->second);
    m_files.erase(it);
    return closeFile(*file) || fail(writeError(file->error));
}

bool FolderDevice::CeSetFileTime(CeHandle handle, quint64 lastWriteTime)
{
    OpenFile* open = openFile(handle);
    if (!open)
        return false;
    if (!open->canWrite)
        return fail(CeError::AccessDenied);
    open->lastWrite = timespecOf(lastWriteTime);
    return true;
}

quint32 FolderDevice::CeGetLastError()
{
    return m_lastError;
}

CeHandle FolderDevice::CeFindFirstFile(const QString& pattern, CeFindData& data)
{
    QString normal = pattern;
    normal.replace(u'/', u'\\');
    const qsizetype cut = normal.lastIndexOf(u'\\');
    const QString namePattern = normal.mid(cut + 1);
    const Fd folder(openFolder(normal.left(cut + 1)), true);
    if (folder.get() < 0)
        return InvalidCeHandle;

    QList<Entry> entries = entriesOf(folder.get());
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    Search search;
    for (const Entry& entry : std::as_const(entries)) {
        if (matches(namePattern, entry.name))
            search.entries.append({entry.folder ? CeFile::AttributeDirectory : CeFile::AttributeNormal, entry.name,
                                   entry.size, entry.time});
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
    const std::optional<Place> place = locate(path, true);
    if (!place)
        return false;
    if (!place->exists)
        return fail(CeError::FileNotFound);
    if (place->isFolder())
        return fail(CeError::AccessDenied);
    return ::unlinkat(place->folder.get(), encoded(place->name).constData(), 0) == 0
           || fail(CeError::AccessDenied);
}

bool FolderDevice::CeRemoveDirectory(const QString& path)
{
    const std::optional<Place> place = locate(path, true);
    if (!place)
        return false;
    if (place->isRoot())
        return fail(CeError::AccessDenied);
    if (!place->isFolder())
        return fail(CeError::PathNotFound);
    if (::unlinkat(place->folder.get(), encoded(place->name).constData(), AT_REMOVEDIR) == 0)
        return true;
    return fail(errno == ENOTEMPTY || errno == EEXIST ? CeError::DirNotEmpty : CeError::AccessDenied);
}

bool FolderDevice::CeCreateDirectory(const QString& path)
{
    const std::optional<Place> place = locate(path);
    if (!place)
        return false;
    if (place->exists)
        return fail(CeError::AlreadyExists);
    const QByteArray name = encoded(place->name);
    if (::mkdirat(place->folder.get(), name.constData(), 0777) != 0)
        return fail(errno == EEXIST ? CeError::AlreadyExists : CeError::PathNotFound);
    noteCreated(place->folder.get(), place->name);
    // A new folder is empty: its listing needs no reading while only we fill it.
    struct stat info;
    if (::fstatat(place->folder.get(), name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        Listing& listing = m_listings[FolderId(info.st_dev, info.st_ino)];
        listing = Listing();
        listing.stamp = modified(info);
        listing.ours = true;
    }
    return true;
}

bool FolderDevice::CeCopyFile(const QString& existingPath, const QString& newPath,
                              bool failIfExists)
{
    const std::optional<Place> source = locate(existingPath);
    if (!source)
        return false;
    const std::optional<Place> target = locate(newPath);
    if (!target)
        return false;
    if (source->isLink() || target->isLink())
        return fail(CeError::AccessDenied);
    if (!source->exists || !S_ISREG(source->type))
        return fail(CeError::FileNotFound);
    if (target->isFolder())
        return fail(CeError::AccessDenied);
    if (failIfExists && target->exists)
        return fail(CeError::FileExists);

    // The target is replaced as a whole, so a failed copy leaves the old file.
    const Fd in(::openat(source->folder.get(), encoded(source->name).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC),
                true);
    if (in.get() < 0)
        return fail(CeError::AccessDenied);
    SafeWrite out(target->path());
    QByteArray buffer(BufferSize, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), std::size_t(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(CeError::AccessDenied);
        if (got == 0)
            break;
        if (!out.write(buffer.constData(), got))
            return fail(out.outOfSpace() ? CeError::DiskFull : CeError::AccessDenied);
    }
    if (!out.commit())
        return fail(out.outOfSpace() ? CeError::DiskFull : CeError::AccessDenied);
    // Like the device's own copy, the new file keeps the time of its source.
    struct stat info;
    if (::fstat(in.get(), &info) == 0) {
        const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
        ::utimensat(target->folder.get(), encoded(target->name).constData(), times, AT_SYMLINK_NOFOLLOW);
    }
    return true;
}

bool FolderDevice::CeMoveFile(const QString& existingPath, const QString& newPath)
{
    const std::optional<Place> source = locate(existingPath);
    if (!source)
        return false;
    const std::optional<Place> target = locate(newPath);
    if (!target)
        return false;
    if (source->isRoot() || target->isRoot() || source->isLink())
        return fail(CeError::AccessDenied);
    if (!source->exists)
        return fail(CeError::FileNotFound);
    if (target->exists)
        return fail(CeError::AlreadyExists);
    return ::renameat(source->folder.get(), encoded(source->name).constData(), target->folder.get(),
                      encoded(target->name).constData())
               == 0
           || fail(CeError::AccessDenied);
}

bool FolderDevice::CeCreateProcess(const QString& program, const QString& /*commandLine*/)
{
    qWarning().noquote() << "The folder device cannot start programs:" << program;
    return fail(CeError::NotSupported);
}

#endif // Q_OS_UNIX
