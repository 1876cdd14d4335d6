#include "SafeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <memory>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The real file behind a symbolic link, so that the link stays a link.
QString realTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool renameOver(const QString& from, const QString& to, QString* error)
{
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                    reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *error = QStringLiteral("rename failed (%1)").arg(GetLastError());
    return false;
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = systemError(errno);
    return false;
#endif
}

} // namespace

int SafeWrite::syncToDisk(int fd)
{
#ifdef Q_OS_WIN
    if (FlushFileBuffers(HANDLE(_get_osfhandle(fd))))
        return 0;
    errno = EIO;
    return -1;
#elif defined(Q_OS_LINUX)
    return ::fdatasync(fd);
#else
    return ::fsync(fd);
#endif
}

SafeWrite::SafeWrite(const QString& target, SyncCall sync)
    : m_target(realTarget(target))
    , m_sync(sync)
{
}

SafeWrite::~SafeWrite()
{
    if (m_step != Step::Done)
        discard();
}

bool SafeWrite::fail(const QString& reason, int code)
{
    m_error = reason;
    m_outOfSpace = code == ENOSPC || code == EFBIG
#ifdef EDQUOT
                   || code == EDQUOT
#endif
        ;
    discard();
    return false;
}

bool SafeWrite::open()
{
    if (m_step != Step::Idle)
        return m_step == Step::Open;
    const QFileInfo target(m_target);
    if (m_target.isEmpty() || target.isDir())
        return fail(QStringLiteral("%1 is no file").arg(m_target));
    const QString folder = target.absolutePath();
    // Hidden and in the same folder, so that the rename never crosses file systems.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral(".%1.%2.new")
                                 .arg(target.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        m_file.setFileName(folder + u'/' + name);
        errno = 0;
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            m_step = Step::Open;
            if (target.exists() && !m_file.setPermissions(QFile::permissions(m_target)))
                return fail(m_file.errorString());
            return true;
        }
        const int code = errno;
        if (!QFileInfo::exists(m_file.fileName()))
            return fail(m_file.errorString(), code);
    }
    return fail(QStringLiteral("no free name for a new file beside %1").arg(m_target));
}

bool SafeWrite::write(const char* data, qint64 size)
{
    if (!open())
        return false;
    // An unbuffered file reports a short write at once; the next call names the reason.
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 put = m_file.write(data + done, size - done);
        const int code = errno;
        if (put <= 0)
            return fail(m_file.errorString(), code);
        done += put;
    }
    return true;
}

bool SafeWrite::stage()
{
    if (m_step == Step::Staged)
        return true;
    if (!open())
        return false;
    int result;
    do {
        errno = 0;
        result = m_sync(m_file.handle());
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int code = errno;
        return fail(systemError(code), code);
    }
    m_file.close();
    m_step = Step::Staged;
    return true;
}

bool SafeWrite::commit(FolderSync sync)
{
    if (m_step == Step::Done)
        return true;
    if (!stage())
        return false;
    QString reason;
    if (!renameOver(m_file.fileName(), m_target, &reason))
        return fail(reason);
    m_step = Step::Done;
    // The file is whole either way; the folder sync only makes the rename last.
    if (sync == FolderSync::Now)
        syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

void SafeWrite::discard()
{
    if (m_step == Step::Open || m_step == Step::Staged) {
        m_file.close();
        QFile::remove(m_file.fileName());
    }
    if (m_step != Step::Done)
        m_step = Step::Failed;
}

bool SafeWrite::syncFolder(const QString& folder, QString* error)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    Q_UNUSED(error);
    return true; // MOVEFILE_WRITE_THROUGH already waited for the rename
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = systemError(errno);
        return false;
    }
    // Some file systems cannot sync a folder; their renames are as durable as they get.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    if (!ok && error)
        *error = systemError(errno);
    ::close(fd);
    return ok;
#endif
}

bool writeFileSafely(const QString& path, const QByteArray& bytes, QString* error)
{
    SafeWrite out(path);
    if (out.write(bytes) && out.commit())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

bool copyFileSafely(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    SafeWrite out(target);
    const auto failed = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!in.open(QIODevice::ReadOnly))
        return failed(in.errorString());
    char buffer[65536];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return failed(in.errorString());
        if (got == 0)
            return out.commit() || failed(out.errorString());
        if (!out.write(buffer, got))
            return failed(out.errorString());
    }
}

QStringList writeFilesSafely(const std::vector<std::pair<QString, QByteArray>>& files)
{
    // All writes before the first sync: the disk then flushes them together.
    std::vector<std::unique_ptr<SafeWrite>> outs;
    for (const auto& [path, bytes] : files) {
        outs.push_back(std::make_unique<SafeWrite>(path));
        outs.back()->write(bytes);
    }
    QStringList failed;
    QStringList folders;
    for (std::size_t i = 0; i < outs.size(); ++i) {
        if (!outs[i]->stage())
            failed << files[i].first;
    }
    for (std::size_t i = 0; i < outs.size(); ++i) {
        if (failed.contains(files[i].first))
            continue;
        if (!outs[i]->commit(SafeWrite::FolderSync::Later))
            failed << files[i].first;
        else if (const QString folder = QFileInfo(outs[i]->target()).absolutePath(); !folders.contains(folder))
            folders << folder;
    }
    for (const QString& folder : std::as_const(folders))
        SafeWrite::syncFolder(folder);
    return failed;
}
