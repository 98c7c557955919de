#pragma once
// How the designer reads and writes its files (forms, recovery copies): reads take regular files
// only and never more than a limit, so that a FIFO, a device or a link to /dev/zero can neither
// block nor exhaust memory; writes replace a file atomically, step by step, through a seam that
// tests use to make a step fail (a vanished folder, a full disk, a failing commit) without real
// permissions. No widget code.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct FileContents {
    QByteArray bytes;
    // Empty when read; otherwise why not ("no such file", "is a folder", "is not a regular file …").
    QString error;
    // Nothing is at path.
    bool missing = false;
    // The file holds more than the limit (then bytes is empty and error says so).
    bool tooLarge = false;
    // It did so only while it was read: it claimed at most the limit when checked (a file that
    // grows meanwhile, or one of the kernel's, which claim 0 bytes).
    bool grew = false;
};

enum class Links { Follow, Refuse };

// Reads the whole file at path when it is a regular file of at most limit bytes. It is opened
// without blocking and checked on the open descriptor, so what is read is what was checked.
FileContents readRegularFile(const QString& path, qint64 limit, Links links = Links::Follow);

// How a write treats the file it replaces.
struct WriteRules {
    // A file of the writer's own (a recovery copy): a symbolic link at the path is refused, never
    // written through, and the file is created new, readable and writable by the writer only
    // (0600), whatever stood at the path. Otherwise (a user's form) a link's target is written,
    // and the replacement keeps the replaced file's mode bits (setuid and setgid included),
    // owner, group and other names (hard links); a new file gets 0666 less the umask.
    bool privateFile = false;
    // When set, the file is replaced only while it still holds exactly these bytes: a change
    // another program made since they were read is never overwritten.
    std::optional<QByteArray> expected;
};

// One replacement of a file's contents: open a temporary beside it, write, commit (put the
// written text in the file's place), or cancel. Until commit succeeds the file is as it was.
class AtomicFile {
public:
    virtual ~AtomicFile() = default;
    virtual bool open() = 0;
    // The bytes written, which may be fewer than given (a full disk), or -1.
    virtual qint64 write(const QByteArray& bytes) = 0;
    virtual bool commit() = 0;
    virtual void cancel() = 0;
    virtual QString errorString() const = 0;
};

using AtomicFileFactory = std::function<std::unique_ptr<AtomicFile>(const QString& path, const WriteRules& rules)>;

// The real one (core/FileReplacement.cpp).
std::unique_ptr<AtomicFile> makeSaveFile(const QString& path, const WriteRules& rules = {});
// The factory every write uses, makeSaveFile unless replaced. Tests replace it, for all threads,
// while no write is in flight; an empty factory restores the real one.
void setAtomicFileFactory(AtomicFileFactory factory);

// Replaces path's contents with bytes under rules. Returns "" on success; otherwise why not, in
// words a user can act on, and whatever was at path is unchanged.
QString writeFileAtomically(const QString& path, const QByteArray& bytes, const WriteRules& rules = {});

// Makes path a folder that only this process's user can enter (0700), with its parents as
// needed; one that exists and is the user's is tightened to that. Returns "" on success;
// otherwise why not (it is not a folder, or it is another user's or a shared one, which is
// left as it is).
QString makePrivateFolder(const QString& path);
