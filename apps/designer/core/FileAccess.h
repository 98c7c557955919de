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

// One atomic replacement of a file's contents: open a temporary beside it, write, commit
// (rename over the file), or cancel. Until commit succeeds the file is as it was.
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

using AtomicFileFactory = std::function<std::unique_ptr<AtomicFile>(const QString& path)>;

// The real one: QSaveFile, unbuffered.
std::unique_ptr<AtomicFile> makeSaveFile(const QString& path);
// The factory every write uses, makeSaveFile unless replaced. Tests replace it, for all threads,
// while no write is in flight; an empty factory restores the real one.
void setAtomicFileFactory(AtomicFileFactory factory);

// Replaces path's contents with bytes. Returns "" on success; otherwise why not, in words a user
// can act on, and whatever was at path is unchanged.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);
