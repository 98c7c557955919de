#include "core/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a file is that is not a regular one, for the refusal.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("is a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("is a named pipe, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("is a device, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("is a socket, not a regular file");
    return QStringLiteral("is not a regular file");
}

QMutex factoryMutex;
AtomicFileFactory factory;

// Why a file could not be opened for writing at path, in words a user can act on; Qt's own text
// is often only "Unknown error".
QString openFailure(const QString& path, const QString& reason)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (target.isDir())
        return QStringLiteral("it is a folder");
    if (!folder.exists())
        return QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(folder.filePath());
    // Writability for the ids the write is made with (the effective ones), which is what the
    // kernel checked; QFileInfo asks for the real ids.
    const auto writable = [](const QFileInfo& info) {
        return ::faccessat(AT_FDCWD, QFile::encodeName(info.absoluteFilePath()).constData(), W_OK, AT_EACCESS) == 0;
    };
    if (!writable(folder))
        return QStringLiteral("the folder %1 is read-only").arg(folder.filePath());
    if (target.exists() && !writable(target))
        return QStringLiteral("the file is read-only");
    return reason;
}

}  // namespace

FileContents readRegularFile(const QString& path, qint64 limit, Links links)
{
    FileContents result;
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0) {
        const int error = errno;
        result.missing = error == ENOENT;
        if (result.missing)
            result.error = QStringLiteral("no such file");
        else if (error == ELOOP && links == Links::Refuse)
            result.error = QStringLiteral("is a symbolic link, not a regular file");
        else
            result.error = QStringLiteral("cannot open: %1").arg(systemError(error));
        return result;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        result.error = QStringLiteral("cannot read: %1").arg(systemError(errno));
    } else if (!S_ISREG(status.st_mode)) {
        result.error = kindOf(status.st_mode);
    } else if (status.st_size > limit) {
        result.tooLarge = true;
        result.error = QStringLiteral("the file has %1 bytes; at most %2 are read").arg(status.st_size).arg(limit);
    } else {
        // Up to one byte more than allowed, whatever size the file claims (a file that grows
        // meanwhile, or one of the kernel's, which claim 0 bytes).
        const qint64 cap = limit + 1;
        qint64 filled = 0;
        while (filled < cap) {
            if (filled == result.bytes.size()) {
                const qint64 wanted = filled + std::max<qint64>(status.st_size - filled + 1, 64 * 1024);
                result.bytes.resize(static_cast<qsizetype>(std::min(cap, wanted)));
            }
            const ssize_t got = ::read(fd, result.bytes.data() + filled, static_cast<size_t>(result.bytes.size() - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                result.error = QStringLiteral("cannot read: %1").arg(systemError(errno));
                break;
            }
            if (got == 0)
                break;
            filled += got;
        }
        result.bytes.truncate(filled);
        if (result.error.isEmpty() && filled > limit) {
            result.tooLarge = true;
            result.grew = true;
            result.error = QStringLiteral("the file grew beyond %1 bytes while it was read").arg(limit);
        }
        if (!result.error.isEmpty())
            result.bytes.clear();
    }
    ::close(fd);
    return result;
}

void setAtomicFileFactory(AtomicFileFactory replacement)
{
    const QMutexLocker lock(&factoryMutex);
    factory = std::move(replacement);
}

namespace {

std::unique_ptr<AtomicFile> makeAtomicFile(const QString& path, const WriteRules& rules)
{
    AtomicFileFactory make;
    {
        const QMutexLocker lock(&factoryMutex);
        make = factory;
    }
    return make ? make(path, rules) : makeSaveFile(path, rules);
}

}  // namespace

QString writeFileAtomically(const QString& path, const QByteArray& bytes, const WriteRules& rules)
{
    const std::unique_ptr<AtomicFile> file = makeAtomicFile(path, rules);
    if (!file->open())
        return openFailure(path, file->errorString());
    const qint64 written = file->write(bytes);
    if (written != bytes.size()) {
        const QString why = written < 0 ? file->errorString()
                                        : QStringLiteral("only %1 of %2 bytes could be written (is the disk full?)")
                                              .arg(written).arg(bytes.size());
        file->cancel();
        return why;
    }
    if (!file->commit())
        return file->errorString();
    return {};
}

QString makePrivateFolder(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const QString parent = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(parent))
        return QStringLiteral("the folder %1 cannot be made").arg(parent);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("the folder %1 cannot be made: %2").arg(path, systemError(errno));
    // The folder itself, not where a link leads.
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("%1 is not a folder").arg(path);
    struct stat status {};
    QString why;
    if (::fstat(fd, &status) != 0)
        why = QStringLiteral("%1 cannot be read: %2").arg(path, systemError(errno));
    else if (status.st_uid != ::geteuid())
        why = QStringLiteral("the folder %1 belongs to another user").arg(path);
    else if ((status.st_mode & S_ISVTX) && (status.st_mode & 077))
        why = QStringLiteral("the folder %1 is shared with other users").arg(path);
    else if ((status.st_mode & 0777) != 0700 && ::fchmod(fd, 0700) != 0)
        why = QStringLiteral("the folder %1 cannot be made private: %2").arg(path, systemError(errno));
    ::close(fd);
    return why;
}
