#include "core/RecoveryStore.h"

#include "core/Document.h"
#include "core/FileAccess.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/Clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* Format = "cvrecovery";
constexpr const char* Suffix = ".cvrecovery";
constexpr const char* LockSuffix = ".lock";
// A copy is created new, readable by the user only, and never written through a link.
const WriteRules Private{true, std::nullopt};

QString lockPathOf(const QString& copyPath)
{
    return copyPath.chopped(static_cast<int>(std::strlen(Suffix))) + QLatin1String(LockSuffix);
}

// Takes the exclusive lock of a designer that runs: the lock file's descriptor, or -1 and why not.
int takeLock(const QString& path, QString* why)
{
    // The copies hold the user's unsaved work: their folder is the user's alone.
    *why = makePrivateFolder(QFileInfo(path).absolutePath());
    if (!why->isEmpty())
        return -1;
    const QByteArray name = QFile::encodeName(path);
    // Another designer starting may remove a lock file nobody holds between its creation here and
    // the lock: a lock taken on a file that is no longer at path is taken again on a new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            *why = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            if (fd >= 0)
                ::close(fd);
            return -1;
        }
        struct stat held {};
        struct stat atPath {};
        if (::fstat(fd, &held) == 0 && ::lstat(name.constData(), &atPath) == 0 && held.st_dev == atPath.st_dev
            && held.st_ino == atPath.st_ino)
            return fd;
        ::close(fd);
    }
    *why = QStringLiteral("%1: the lock file keeps being removed").arg(path);
    return -1;
}

// Whether a designer holds the lock file: then its copy is its own business. A lock file that
// is missing belongs to nobody.
bool lockIsHeld(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace

RecoveryStore::RecoveryStore(Document* document, QObject* parent, std::unique_ptr<Clock> clock)
    : QObject(parent),
      m_document(document),
      m_clock(clock ? std::move(clock) : makeTimerClock()),
      // Unique even when a process id comes round again: the copy of a designer that died with
      // this id stays its own.
      m_path(QDir(directory()).filePath(QStringLiteral("form-%1-%2%3")
                                            .arg(QCoreApplication::applicationPid())
                                            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                                            .arg(QLatin1String(Suffix)))),
      m_lockPath(lockPathOf(m_path))
{
    // One writer thread: copies are written in the order the changes came.
    m_writer.setMaxThreadCount(1);
    connect(document->form(), &FormModel::changed, this, &RecoveryStore::changed);
    connect(document, &Document::modifiedChanged, this, [this](bool modified) {
        if (modified) {
            changed();
        } else {
            m_clock->cancel();
            m_pendingSince = -1;
            removeCopy();
        }
    });
}

RecoveryStore::~RecoveryStore()
{
    m_clock->cancel();
    removeCopy();
    // The lock goes last, on the writer thread that took it, once the copy is gone.
    m_writer.start([this] {
        if (m_lock < 0)
            return;
        QFile::remove(m_lockPath);
        ::close(m_lock);
    });
    m_writer.waitForDone();
}

QString RecoveryStore::directory()
{
    const QString chosen = qEnvironmentVariable("CV_RECOVERY_DIR");
    if (!chosen.isEmpty())
        return chosen;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).filePath(QStringLiteral("recovery"));
}

void RecoveryStore::flush()
{
    m_writer.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void RecoveryStore::changed()
{
    if (!m_document->isModified())
        return;
    const qint64 now = m_clock->now();
    if (m_pendingSince < 0)
        m_pendingSince = now;
    // Quiet for a moment, or the latest moment, whichever comes first.
    const qint64 due = std::min<qint64>(now + QuietMs, m_pendingSince + LatestMs);
    m_clock->callAfter(std::max<qint64>(0, due - now), [this] { writeNow(); });
}

void RecoveryStore::writeNow()
{
    m_pendingSince = -1;
    if (!m_document->isModified())
        return;
    // The form is taken as it is now, on this thread; only the writing goes to the worker.
    QJsonObject copy;
    copy.insert(QStringLiteral("format"), QLatin1String(Format));
    copy.insert(QStringLiteral("version"), Version);
    copy.insert(QStringLiteral("file"), m_document->fileName());
    copy.insert(QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    copy.insert(QStringLiteral("pid"), QCoreApplication::applicationPid());
    copy.insert(QStringLiteral("form"), QString::fromUtf8(FormFile::serialize(*m_document->form())));
    const QByteArray bytes = QJsonDocument(copy).toJson(QJsonDocument::Compact);
    m_writer.start([this, bytes] {
        QString failure;
        if (m_lock < 0)
            m_lock = takeLock(m_lockPath, &failure);
        if (m_lock >= 0)
            failure = writeFileAtomically(m_path, bytes, Private);
        QMetaObject::invokeMethod(this, [this, failure] { written(failure); }, Qt::QueuedConnection);
    });
}

void RecoveryStore::written(const QString& failure)
{
    const bool wasFailing = isFailing();
    m_failure = failure;
    if (!failure.isEmpty()) {
        if (m_pendingSince < 0)
            m_clock->callAfter(RetryMs, [this] { writeNow(); });
        if (!wasFailing)
            emit writingFailed(failure);
    } else if (wasFailing) {
        emit writingResumed();
    }
}

void RecoveryStore::removeCopy()
{
    const QString path = m_path;
    m_writer.start([path] { QFile::remove(path); });
}

std::vector<RecoveryCopy> RecoveryStore::leftBehind()
{
    std::vector<RecoveryCopy> copies;
    const QDir folder(directory());
    // Every entry of the name, whatever it is: what is not a regular file is refused by the read.
    for (const QFileInfo& entry : folder.entryInfoList({QStringLiteral("*") + QLatin1String(Suffix)}, QDir::AllEntries | QDir::System)) {
        const QString path = entry.absoluteFilePath();
        if (lockIsHeld(lockPathOf(path)))
            continue;
        const FileContents file = readRegularFile(path, FormFile::MaxFileSize * 2, Links::Refuse);
        if (!file.error.isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(file.bytes).object();
        const QJsonValue version = object.value(QStringLiteral("version"));
        if (object.value(QStringLiteral("format")).toString() != QLatin1String(Format) || !version.isDouble()
            || version.toDouble() != Version)
            continue;
        RecoveryCopy copy;
        copy.path = path;
        copy.originalFile = object.value(QStringLiteral("file")).toString();
        copy.written = QDateTime::fromString(object.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
        copy.form = object.value(QStringLiteral("form")).toString().toUtf8();
        copies.push_back(std::move(copy));
    }
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.written > b.written; });
    return copies;
}

bool RecoveryStore::discard(const RecoveryCopy& copy)
{
    const QString lock = lockPathOf(copy.path);
    if (!lockIsHeld(lock))
        QFile::remove(lock);
    return QFile::remove(copy.path);
}

int RecoveryStore::removeDeadLocks()
{
    int removed = 0;
    const QDir folder(directory());
    for (const QFileInfo& entry : folder.entryInfoList({QStringLiteral("*") + QLatin1String(LockSuffix)}, QDir::Files | QDir::Hidden)) {
        const QByteArray name = QFile::encodeName(entry.absoluteFilePath());
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        // Removed while this process holds the lock, so that no designer takes it in between; one
        // that opened the file just before takes its lock again on a new file (see takeLock).
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(name.constData()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}
