#include "core/FreeFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString freeFilePath(const QString& folder, const QString& wanted)
{
    const QDir dir(folder);
    const QFileInfo name(wanted);
    // "form.v2.cvform" counts as "form.v2" with the suffix "cvform".
    const QString base = name.completeBaseName();
    const QString suffix = name.suffix().isEmpty() ? QString() : QLatin1Char('.') + name.suffix();
    QString candidate = dir.filePath(wanted);
    // exists() follows links: a dangling link counts as taken too.
    for (int number = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++number)
        candidate = dir.filePath(QStringLiteral("%1 %2%3").arg(base).arg(number).arg(suffix));
    return candidate;
}

QString saveAsStartPath(const QString& failedPath)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString name = QFileInfo(failedPath).fileName();
    return freeFilePath(folder, name.isEmpty() ? QStringLiteral("Untitled.cvform") : name);
}
