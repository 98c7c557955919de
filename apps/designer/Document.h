#pragma once
// The form being edited as a document: one form for the designer's lifetime, whose controls are
// replaced when another file is opened, the file it was read from or saved to, and whether it
// has changes not yet saved. No widget code: the window, the command line and the recovery copy
// share it.

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class FormModel;

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    FormModel* form() const { return m_form.get(); }
    // The file of the form; empty for a form never saved.
    QString fileName() const { return m_fileName; }
    // The file's name without its folder, or "Untitled".
    QString displayName() const;
    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // An empty form, no file, nothing to save.
    void newForm();
    // Reads path and, when it loads, makes its controls the form's. When it does not, returns
    // every problem ("FILE:LINE:COLUMN: message") and leaves the form and the file name alone.
    QStringList open(const QString& path);
    // Writes the form to path (the document's file when empty). Returns "" and takes path as the
    // document's file, marking it saved; or returns why the save failed, changing nothing.
    QString save(const QString& path = QString());
    // Makes the controls of a form read elsewhere (a recovery copy) the form's, with the file
    // name and modified state given.
    void adopt(FormModel& source, const QString& fileName, bool modified);

signals:
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& fileName);

private:
    void replaceControls(FormModel& source);
    void setFileName(const QString& fileName);

    std::unique_ptr<FormModel> m_form;
    QString m_fileName;
    bool m_modified = false;
    // Set while the controls are being replaced, so that doing it is not taken for an edit.
    bool m_replacing = false;
};
