// The real atomic write behind writeFileAtomically: the new text goes into a temporary file beside
// the one it replaces and takes its place with one rename, so a kill at any moment leaves either
// the old file or the new one, never a cut-off one. The temporary is given the replaced file's
// owner, group and mode bits (setuid and setgid included: set after the owner, which clears them)
// before it takes the place, so the file stays what it was, also when root writes it.
//
// Two cases a rename cannot serve. A file with other names (hard links) would keep its old text
// under them, and a file whose owner this process cannot give away (someone else's, writable to
// us) would change hands. Those are written in place: first a complete copy of the old text is
// put beside the file (".NAME.old-XXXXXX", on disk before the file is touched), then the new text
// is written over the file and the copy removed. A kill while the text is being written leaves a
// cut-off file, but the complete old text beside it and the complete new one (".NAME.new-XXXXXX").
//
// A write that must find the bytes it was read with compares them just before the rename (or the
// write in place): a change another program makes before that moment is never overwritten.

#include "core/FileAccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, static_cast<size_t>(size));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            if (done == 0)
                errno = ENOSPC;
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

// The whole of fd's file from its start, or false (errno set).
bool readAll(int fd, QByteArray* bytes)
{
    bytes->clear();
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        bytes->append(buffer, got);
    }
}

// A new file beside target, ".NAME.TAG-XXXXXX": created exclusively (never through a link) and
// readable by its owner only. Its descriptor, or -1 (errno set).
int createBeside(const QByteArray& target, const char* tag, QByteArray* path)
{
    const qsizetype slash = target.lastIndexOf('/');
    *path = target.left(slash + 1) + '.' + target.mid(slash + 1) + '.' + tag + "-XXXXXX";
    return ::mkostemp(path->data(), O_CLOEXEC);
}

// Makes a rename or a removal in target's folder last a power loss.
void syncFolderOf(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The mode a new file gets: 0666 less the process's umask, read without changing it (umask()
// would change it for every thread meanwhile).
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                return 0666 & ~static_cast<mode_t>(std::strtoul(line.mid(6).trimmed().constData(), nullptr, 8));
    return 0644;
}

class ReplacingFile : public AtomicFile {
public:
    ReplacingFile(const QString& path, const WriteRules& rules) : m_path(path), m_rules(rules) {}
    ~ReplacingFile() override { cancel(); }

    bool open() override;
    qint64 write(const QByteArray& bytes) override;
    bool commit() override;
    void cancel() override;
    QString errorString() const override { return m_error; }

private:
    bool fail(const QString& why)
    {
        m_error = why;
        cancel();
        return false;
    }
    bool putInPlace(const struct stat* replaced);
    bool writeInPlace(int current, const struct stat& replaced);

    QString m_path;
    WriteRules m_rules;
    QByteArray m_target;  // the file written: path, or the file a link at path leads to
    QByteArray m_temporary;
    int m_fd = -1;
    QString m_error;
};

bool ReplacingFile::open()
{
    const QByteArray given = QFile::encodeName(m_path);
    struct stat status {};
    m_target = given;
    if (::lstat(given.constData(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (m_rules.privateFile)
            return fail(QStringLiteral("%1 is a symbolic link; it is not written through").arg(m_path));
        // A user's link stays a link: the file it leads to is written.
        const QString canonical = QFileInfo(m_path).canonicalFilePath();
        if (canonical.isEmpty())
            return fail(QStringLiteral("it is a symbolic link to a file that does not exist"));
        m_target = QFile::encodeName(canonical);
    }
    if (::stat(m_target.constData(), &status) == 0) {
        if (!S_ISREG(status.st_mode))
            return fail(S_ISDIR(status.st_mode) ? QStringLiteral("it is a folder") : QStringLiteral("it is not a regular file"));
        if (!m_rules.privateFile && ::access(m_target.constData(), W_OK) != 0)
            return fail(QStringLiteral("the file is read-only"));
    }
    m_fd = createBeside(m_target, "new", &m_temporary);
    if (m_fd < 0)
        return fail(systemError(errno));
    return true;
}

qint64 ReplacingFile::write(const QByteArray& bytes)
{
    if (m_fd < 0)
        return -1;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t now = ::write(m_fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (now < 0 && errno == EINTR)
            continue;
        if (now <= 0) {
            m_error = systemError(now < 0 ? errno : ENOSPC);
            return done > 0 ? done : -1;
        }
        done += now;
    }
    return done;
}

bool ReplacingFile::commit()
{
    if (m_fd < 0)
        return fail(QStringLiteral("the file was not opened for writing"));
    if (::fsync(m_fd) != 0)
        return fail(QStringLiteral("the new text could not be written: %1").arg(systemError(errno)));
    // The file this write replaces, as it is now. Not through a link: the target is resolved.
    const int current = ::open(m_target.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (current < 0 && errno != ENOENT)
        return fail(errno == ELOOP ? QStringLiteral("it has become a symbolic link since it was opened")
                                   : QStringLiteral("it cannot be read: %1").arg(systemError(errno)));
    struct stat replaced {};
    const bool exists = current >= 0;
    bool ok = true;
    if (exists && (::fstat(current, &replaced) != 0 || !S_ISREG(replaced.st_mode)))
        ok = fail(QStringLiteral("it is no longer a regular file"));
    if (ok && m_rules.expected) {
        QByteArray now;
        if (!exists || !readAll(current, &now) || now != *m_rules.expected)
            ok = fail(QStringLiteral("another program changed it since it was read; it is left as it is"));
    }
    if (ok) {
        if (!exists || m_rules.privateFile)
            ok = putInPlace(nullptr);
        else if (replaced.st_nlink > 1)
            ok = writeInPlace(current, replaced);
        else if (::fchown(m_fd, replaced.st_uid, replaced.st_gid) != 0)
            // Not ours to give away: the file keeps its owner by being written in place.
            ok = writeInPlace(current, replaced);
        else
            ok = putInPlace(&replaced);
    }
    if (current >= 0)
        ::close(current);
    return ok;
}

bool ReplacingFile::putInPlace(const struct stat* replaced)
{
    // The owner first: a change of owner clears the setuid and setgid bits the mode then sets.
    const mode_t mode = replaced ? replaced->st_mode & 07777 : m_rules.privateFile ? 0600 : newFileMode();
    if (::fchmod(m_fd, mode) != 0)
        return fail(QStringLiteral("the new file's permissions could not be set: %1").arg(systemError(errno)));
    ::close(m_fd);
    m_fd = -1;
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        return fail(QStringLiteral("the written file could not replace it: %1").arg(systemError(errno)));
    m_temporary.clear();
    syncFolderOf(m_target);
    return true;
}

bool ReplacingFile::writeInPlace(int current, const struct stat& replaced)
{
    QByteArray before;
    QByteArray after;
    if (!readAll(current, &before) || !readAll(m_fd, &after))
        return fail(QStringLiteral("it cannot be read: %1").arg(systemError(errno)));
    // The complete old text beside the file, on disk before the file is touched.
    QByteArray keptPath;
    const int kept = createBeside(m_target, "old", &keptPath);
    if (kept < 0)
        return fail(QStringLiteral("a copy of its old text could not be made beside it: %1").arg(systemError(errno)));
    const bool keptWhole = writeAll(kept, before.constData(), before.size()) && ::fsync(kept) == 0;
    const int keptError = errno;
    ::close(kept);
    if (!keptWhole) {
        ::unlink(keptPath.constData());
        return fail(QStringLiteral("a copy of its old text could not be made beside it: %1").arg(systemError(keptError)));
    }
    syncFolderOf(m_target);

    const int out = ::open(m_target.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    struct stat now {};
    if (out < 0 || ::fstat(out, &now) != 0 || now.st_dev != replaced.st_dev || now.st_ino != replaced.st_ino) {
        if (out >= 0)
            ::close(out);
        ::unlink(keptPath.constData());
        return fail(QStringLiteral("another program replaced it meanwhile; it is left as it is"));
    }
    const auto put = [out](const QByteArray& text) {
        return ::lseek(out, 0, SEEK_SET) == 0 && writeAll(out, text.constData(), text.size())
            && ::ftruncate(out, text.size()) == 0 && ::fsync(out) == 0;
    };
    bool ok = put(after);
    const int writeError = errno;
    QString why;
    if (!ok) {
        // Back to the old text; only when that is whole again does its copy go.
        why = put(before) ? QStringLiteral("the new text could not be written: %1; the file is as it was").arg(systemError(writeError))
                          : QStringLiteral("the new text could not be written: %1; its old text is in %2")
                                .arg(systemError(writeError), QFile::decodeName(keptPath));
    }
    // A write by a process that may not keep them clears the setuid and setgid bits.
    if (::fstat(out, &now) == 0 && (now.st_mode & 07777) != (replaced.st_mode & 07777))
        ::fchmod(out, replaced.st_mode & 07777);
    ::close(out);
    if (ok || why.endsWith(QLatin1String("as it was")))
        ::unlink(keptPath.constData());
    syncFolderOf(m_target);
    if (!ok)
        return fail(why);
    cancel();  // the new text's temporary has served
    return true;
}

void ReplacingFile::cancel()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
}

}  // namespace

std::unique_ptr<AtomicFile> makeSaveFile(const QString& path, const WriteRules& rules)
{
    return std::make_unique<ReplacingFile>(path, rules);
}
