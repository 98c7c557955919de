#pragma once
// Keeps a recovery copy of a form with unsaved changes, so that a crash or a kill loses nothing:
// at most two seconds after a change the form is written, atomically and on a worker thread, to
// a file of its own in the recovery folder; a form without unsaved changes (saved, discarded,
// newly opened) has no copy, and a designer that exits cleanly leaves none. The next designer to
// start finds the copies of designers that did not exit and offers them.
//
// The folder is $CV_RECOVERY_DIR when set, otherwise "recovery" in the application's data folder.
// No widget code.

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

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

    explicit RecoveryStore(Document* document, QObject* parent = nullptr);
    // Removes this designer's copy (a clean exit) after the writes in flight have finished.
    ~RecoveryStore() override;

    static QString directory();
    // This designer's copy.
    QString path() const { return m_path; }
    // The copies of designers that are no longer running, newest first. Unreadable copies are
    // left out (and left where they are).
    static std::vector<RecoveryCopy> leftBehind();
    // Removes a copy once it has been restored or declined.
    static bool discard(const RecoveryCopy& copy);

    // Waits for the writes in flight (for tests and for a clean exit).
    void flush();

private:
    void changed();
    void writeNow();
    void removeCopy();

    Document* m_document;
    QString m_path;
    QTimer m_timer;
    QElapsedTimer m_pendingSince;
    QThreadPool m_writer;
};
