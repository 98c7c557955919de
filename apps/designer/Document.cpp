#include "Document.h"

#include "FormFile.h"
#include "FormModel.h"

#include <QFileInfo>

Document::Document(QObject* parent) : QObject(parent), m_form(std::make_unique<FormModel>())
{
    connect(m_form.get(), &FormModel::changed, this, [this] {
        if (!m_replacing)
            setModified(true);
    });
}

Document::~Document() = default;

QString Document::displayName() const
{
    return m_fileName.isEmpty() ? tr("Untitled") : QFileInfo(m_fileName).fileName();
}

void Document::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Document::setFileName(const QString& fileName)
{
    if (m_fileName == fileName)
        return;
    m_fileName = fileName;
    emit fileNameChanged(fileName);
}

void Document::newForm()
{
    FormModel empty;
    replaceControls(empty);
    setFileName(QString());
    setModified(false);
}

QStringList Document::open(const QString& path)
{
    FormReadResult result = FormFile::read(path);
    if (!result.form)
        return result.messages();
    replaceControls(*result.form);
    setFileName(QFileInfo(path).absoluteFilePath());
    setModified(false);
    return {};
}

QString Document::save(const QString& path)
{
    const QString target = path.isEmpty() ? m_fileName : path;
    if (target.isEmpty())
        return tr("The form has no file yet: choose one with Save As");
    const QString failure = FormFile::write(*m_form, target);
    if (!failure.isEmpty())
        return failure;
    setFileName(QFileInfo(target).absoluteFilePath());
    setModified(false);
    return QString();
}

void Document::adopt(FormModel& source, const QString& fileName, bool modified)
{
    replaceControls(source);
    setFileName(fileName);
    setModified(modified);
}

void Document::replaceControls(FormModel& source)
{
    m_replacing = true;
    while (m_form->count() > 0)
        m_form->take(m_form->count() - 1);
    while (source.count() > 0) {
        // The names are unique in the source, and the form is empty: insert cannot refuse.
        std::unique_ptr<TPalmoControl> control = source.take(0);
        m_form->insert(m_form->count(), std::move(control));
    }
    m_replacing = false;
}
