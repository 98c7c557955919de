#include "RecoveryStore.h"

#include "Document.h"
#include "FormFile.h"
#include "FormModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace {

constexpr const char* Format = "cvrecovery";
constexpr const char* Suffix = ".cvrecovery";

// Whether the designer of that process id still runs (then its copy is its own business).
bool processRuns(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

RecoveryStore::RecoveryStore(Document* document, QObject* parent)
    : QObject(parent),
      m_document(document),
      m_path(QDir(directory()).filePath(QStringLiteral("form-%1%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(Suffix))))
{
    // One writer thread: copies are written in the order the changes came.
    m_writer.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryStore::writeNow);
    connect(document->form(), &FormModel::changed, this, &RecoveryStore::changed);
    connect(document, &Document::modifiedChanged, this, [this](bool modified) {
        if (modified) {
            changed();
        } else {
            m_timer.stop();
            m_pendingSince.invalidate();
            removeCopy();
        }
    });
}

RecoveryStore::~RecoveryStore()
{
    m_timer.stop();
    removeCopy();
    flush();
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
}

void RecoveryStore::changed()
{
    if (!m_document->isModified())
        return;
    if (!m_pendingSince.isValid())
        m_pendingSince.start();
    // Quiet for a moment, or the latest moment, whichever comes first.
    const qint64 left = LatestMs - m_pendingSince.elapsed();
    m_timer.start(static_cast<int>(std::clamp<qint64>(std::min<qint64>(QuietMs, left), 0, QuietMs)));
}

void RecoveryStore::writeNow()
{
    m_pendingSince.invalidate();
    if (!m_document->isModified())
        return;
    // The form is taken as it is now, on this thread; only the writing goes to the worker.
    QJsonObject copy;
    copy.insert(QStringLiteral("format"), QLatin1String(Format));
    copy.insert(QStringLiteral("version"), 1);
    copy.insert(QStringLiteral("file"), m_document->fileName());
    copy.insert(QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    copy.insert(QStringLiteral("pid"), QCoreApplication::applicationPid());
    copy.insert(QStringLiteral("form"), QString::fromUtf8(FormFile::serialize(*m_document->form())));
    const QByteArray bytes = QJsonDocument(copy).toJson(QJsonDocument::Compact);
    const QString path = m_path;
    m_writer.start([path, bytes] {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return;
        }
        file.commit();
    });
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
    for (const QFileInfo& entry : folder.entryInfoList({QStringLiteral("*") + QLatin1String(Suffix)}, QDir::Files)) {
        QFile file(entry.absoluteFilePath());
        if (entry.size() > FormFile::MaxFileSize * 2 || !file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        if (object.value(QStringLiteral("format")).toString() != QLatin1String(Format))
            continue;
        const qint64 pid = object.value(QStringLiteral("pid")).toInteger();
        if (pid == QCoreApplication::applicationPid() || processRuns(pid))
            continue;
        RecoveryCopy copy;
        copy.path = entry.absoluteFilePath();
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
    return QFile::remove(copy.path);
}
