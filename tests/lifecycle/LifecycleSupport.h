#pragma once
// What the lifecycle tests look at: whether a library is mapped into this process.

#include <QFile>
#include <QFileInfo>
#include <QString>

// True when a file of the library at Path is mapped into this process (/proc/self/maps).
inline bool IsMapped(const QString& Path)
{
    const QString Canonical = QFileInfo(Path).canonicalFilePath();
    QFile Maps(QStringLiteral("/proc/self/maps"));
    if (!Maps.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString All = QString::fromLocal8Bit(Maps.readAll());
    return All.contains(Canonical);
}
