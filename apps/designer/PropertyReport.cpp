#include "PropertyReport.h"

#include "MainWindow.h"
#include "PackagesView.h"
#include "SampleForm.h"

#include "host/designide/DesignIntf.h"

#include <QCoreApplication>
#include <QMetaProperty>
#include <QSaveFile>

namespace {

// Backslash, newline and other control characters escaped, so that every value is one line.
QString escaped(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString valueText(QObject* object, const QMetaProperty& prop)
{
    try {
        if (const auto editor = CreatePropertyEditor(nullptr, {object}, prop))
            return editor->GetValue();
    } catch (const std::exception&) {
    }
    return prop.read(object).toString();
}

}  // namespace

PropertyReport::PropertyReport(MainWindow& window, QString path) : QObject(&window), m_window(window), m_path(std::move(path))
{
    connect(window.form(), &SampleForm::changed, this, &PropertyReport::write);
    connect(window.packagesView(), &PackagesView::packageChanged, this, &PropertyReport::write);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &PropertyReport::write);
    write();
}

bool PropertyReport::write()
{
    QString report;
    for (const SampleForm::Item& item : m_window.form()->items()) {
        const QMetaObject* meta = item.object->metaObject();
        for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
            const QMetaProperty prop = meta->property(i);
            report += QStringLiteral("%1.%2=%3\n").arg(item.caption, QString::fromLatin1(prop.name()),
                                                       escaped(valueText(item.object, prop)));
        }
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(report.toUtf8());
    return file.commit();
}
