#include "app/PropertyReport.h"

#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "views/MainWindow.h"
#include "views/PackagesView.h"

#include <QCoreApplication>
#include <QSaveFile>

PropertyReport::PropertyReport(MainWindow& window, QString path) : QObject(&window), m_window(window), m_path(std::move(path))
{
    connect(window.form(), &FormModel::changed, this, &PropertyReport::write);
    connect(window.packagesView(), &PackagesView::packageChanged, this, &PropertyReport::write);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &PropertyReport::write);
    write();
}

bool PropertyReport::write()
{
    const QStringList lines = FormFile::dump(*m_window.form());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray report = lines.isEmpty() ? QByteArray() : (lines.join('\n') + '\n').toUtf8();
    if (file.write(report) != report.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
