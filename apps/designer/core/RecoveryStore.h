#pragma once
// Keeps a recovery copy of a form with unsaved changes, so that a crash or a kill loses nothing:
// at most two seconds after a change the form is written, atomically and on a worker thread, to
// a file of its own in the recovery folder; a form without unsaved changes (saved, discarded,
// newly opened) has no copy, and a designer that exits cleanly leaves none. The next designer to
// start finds the copies of designers that are no longer running and offers them.
//
// Each designer holds an exclusive lock (flock) on a lock file beside its copy for as long as it
// runs; the system drops it however the process ends. A copy whose lock nobody holds is left
// behind, whatever process ids have been reused since.
//
// When a copy cannot be written (the folder is read-only, full, or a plain file) the store says so
// once, tries again RetryMs later, and says so again when a copy is written.
//
// The folder is $CV_RECOVERY_DIR when set, otherwise "recovery" in the application's data folder.
// No widget code.

#include "core/Clock.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>
#include <vector>

class Document;

// A recovery copy left by a designer that is no longer running.
struct RecoveryCopy {
    QString path;          // the copy itself
    QString originalFile;  // the form's file, empty for a form never saved
    QDateTime written;     // when the copy was written
    QByteArray form;       // the form, in the form file format
};

class RecoveryStore : public QObject {
    Q_OBJECT
public:
    // A change is written once no other has come for this long...
    static constexpr int QuietMs = 700;
    // ...and never later than this after the first change not yet written.
    static constexpr int LatestMs = 2000;
    // After a failed write, the next try comes this much later (or with the next change).
    static constexpr int RetryMs = 30000;
    // The format of the copies this designer writes and reads.
    static constexpr int Version = 1;

    // clock: the designer's (Qt's timer) when null.
    explicit RecoveryStore(Document* document, QObject* parent = nullptr, std::unique_ptr<Clock> clock = nullptr);
    // Removes this designer's copy (a clean exit) after the writes in flight have finished.
    ~RecoveryStore() override;

    static QString directory();
    // This designer's copy.
    QString path() const { return m_path; }
    // The copies of designers that are no longer running, newest first. Copies that are not
    // regular files, cannot be read or are of another format or version are left out (and left
    // where they are).
    static std::vector<RecoveryCopy> leftBehind();
    // Removes a copy (and its lock file) once it has been restored or declined.
    static bool discard(const RecoveryCopy& copy);
    // Removes the lock files that no running designer holds (left by designers that were killed
    // or crashed); their copies, if any, stay to be offered. Returns how many went.
    static int removeDeadLocks();

    // Whether the last write failed.
    bool isFailing() const { return !m_failure.isEmpty(); }

    // Waits for the writes in flight and takes in their outcome (for tests and for a clean exit).
    void flush();

signals:
    // A copy could not be written: unsaved changes are not protected until writingResumed.
    void writingFailed(const QString& why);
    void writingResumed();

private:
    void changed();
    void writeNow();
    void removeCopy();
    void written(const QString& failure);

    Document* m_document;
    std::unique_ptr<Clock> m_clock;
    QString m_path;
    QString m_lockPath;
    // When the first change not yet written came, or -1.
    qint64 m_pendingSince = -1;
    QString m_failure;
    // The lock file's descriptor, -1 until the first write takes it. Used on the writer thread
    // only, and after it has finished.
    int m_lock = -1;
    QThreadPool m_writer;
};
