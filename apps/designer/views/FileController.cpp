#include "views/FileController.h"

#include "views/FileChangeBar.h"
#include "views/ProblemsDialog.h"
#include "core/Document.h"
#include "core/FreeFileName.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/RecoveryStore.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>

namespace {

constexpr int MaxRecentFiles = 8;
const QString FileFilter = QStringLiteral("Forms (*.cvform);;All files (*)");

}  // namespace

FileController::FileController(QMainWindow* window, Document* document)
    : QObject(window), m_window(window), m_document(document), m_changeBar(new FileChangeBar(document, window))
{
    connect(m_changeBar, &FileChangeBar::reloadRequested, this, &FileController::reload);
    connect(m_changeBar, &FileChangeBar::keepMineRequested, this, [this] {
        m_document->keepOwnVersion();
        m_window->statusBar()->showMessage(tr("Kept this form: saving it replaces %1").arg(m_document->displayName()), 8000);
    });
    connect(m_document, &Document::modifiedChanged, this, &FileController::updateTitle);
    connect(m_document, &Document::fileNameChanged, this, &FileController::updateTitle);
}

void FileController::buildFileMenu(QMenu* file)
{
    file->addAction(tr("&New"), QKeySequence::New, this, [this] { newForm(); });
    file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(m_window, tr("Open Form"), QString(), FileFilter);
        if (!path.isEmpty())
            openForm(path);
    });
    m_recentMenu = file->addMenu(tr("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    fillRecentMenu();
    file->addSeparator();
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { save(); });
    file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] { chooseFileAndSave(); });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, m_window, &QWidget::close);
}

void FileController::updateTitle()
{
    m_window->setWindowTitle(tr("%1[*] - Palmo Form Designer").arg(m_document->displayName()));
    m_window->setWindowModified(m_document->isModified());
}

void FileController::showError(const QString& title, const QString& message)
{
    m_window->statusBar()->showMessage(message, 15000);
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, m_window);
    box.setObjectName(QStringLiteral("errorBox"));
    box.button(QMessageBox::Ok)->setText(tr("&OK"));
    box.exec();
}

void FileController::showProblems(const QString& title, const QString& headline, const QString& path,
                              const std::vector<FormProblem>& problems)
{
    if (static_cast<int>(problems.size()) <= ProblemsDialog::FewProblems) {
        QStringList lines;
        for (const FormProblem& problem : problems)
            lines << problem.text();
        showError(title, headline + QLatin1Char('\n') + lines.join(QLatin1Char('\n')));
        return;
    }
    // More lines would make a message box taller than the screen: a list scrolls.
    m_window->statusBar()->showMessage(tr("%1 was not opened: %2").arg(path, ProblemsDialog::countText(static_cast<int>(problems.size()))), 15000);
    ProblemsDialog dialog(title, headline, problems, m_window);
    dialog.exec();
}

bool FileController::maybeSave()
{
    if (!m_document->isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Unsaved Changes"),
                    tr("%1 has changes that are not saved.").arg(m_document->displayName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setObjectName(QStringLiteral("saveChangesBox"));
    box.setInformativeText(tr("Save them before going on?"));
    box.setDefaultButton(QMessageBox::Save);
    // Each answer has its key: Alt+S, Alt+D; Escape cancels.
    box.button(QMessageBox::Save)->setText(tr("&Save"));
    box.button(QMessageBox::Discard)->setText(tr("&Don't Save"));
    box.button(QMessageBox::Cancel)->setText(tr("&Cancel"));
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool FileController::offerRecovery()
{
    // The lock files of designers that were killed are no one's any more.
    RecoveryStore::removeDeadLocks();
    bool restored = false;
    for (const RecoveryCopy& copy : RecoveryStore::leftBehind()) {
        const QString name = copy.originalFile.isEmpty() ? tr("an untitled form") : copy.originalFile;
        QMessageBox box(QMessageBox::Question, tr("Recover Unsaved Changes"),
                        tr("A designer did not close properly. It kept the unsaved changes to %1, as they were at %2.")
                            .arg(name, QLocale().toString(copy.written.toLocalTime(), QLocale::LongFormat)),
                        QMessageBox::NoButton, m_window);
        box.setObjectName(QStringLiteral("recoveryBox"));
        box.setInformativeText(tr("Restore them? Discarded changes are gone for good."));
        QPushButton* restore = box.addButton(tr("&Restore"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
        box.addButton(tr("Ask Again &Later"), QMessageBox::RejectRole);
        box.setDefaultButton(restore);
        box.exec();
        if (box.clickedButton() == discard) {
            RecoveryStore::discard(copy);
            continue;
        }
        if (box.clickedButton() != restore)
            continue;
        FormReadResult result = FormFile::parse(copy.form, copy.path);
        if (!result.form) {
            showProblems(tr("Cannot Recover Form"), tr("The recovery copy %1 cannot be read; it was left where it is.").arg(copy.path),
                         copy.path, result.problems);
            continue;
        }
        // A copy restored before this one is the form now, with unsaved changes: asked about
        // like any other.
        if (!maybeSave()) {
            m_window->statusBar()->showMessage(tr("The unsaved changes to %1 are kept for the next start").arg(name), 8000);
            continue;
        }
        m_document->adoptRecovered(*result.form, copy.originalFile);
        RecoveryStore::discard(copy);
        m_window->statusBar()->showMessage(m_document->canUndo() ? tr("Restored the unsaved changes to %1; Undo steps back to the file").arg(name)
                                                                 : tr("Restored the unsaved changes to %1").arg(name), 8000);
        restored = true;
    }
    return restored;
}

bool FileController::newForm()
{
    if (!maybeSave())
        return false;
    m_document->newForm();
    return true;
}

bool FileController::openForm(const QString& path)
{
    // The file is read first: one that does not load is said at once and leaves the open form
    // exactly as it was, without asking about its changes.
    QByteArray contents;
    FormReadResult result = FormFile::readFormFile(path, &contents);
    if (!result.form) {
        showProblems(tr("Cannot Open Form"), tr("%1 was not opened:").arg(path), path, result.problems);
        return false;
    }
    if (!maybeSave())
        return false;
    m_document->adoptFile(*result.form, path, contents);
    m_changeBar->check();  // the same file opened again says neither a file name nor a modified change
    rememberRecent(m_document->fileName());
    m_window->statusBar()->showMessage(tr("Opened %1").arg(m_document->fileName()), 5000);
    return true;
}

bool FileController::save()
{
    // A restored copy's file is only a suggestion, to be confirmed in the file dialog.
    if (m_document->fileName().isEmpty() || !m_document->fileConfirmed())
        return chooseFileAndSave();
    if (m_document->changedOnDisk()) {
        QMessageBox box(QMessageBox::Warning, tr("File Changed on Disk"),
                        tr("%1 was changed by another program since it was opened or saved here.")
                            .arg(m_document->fileName()),
                        QMessageBox::NoButton, m_window);
        box.setObjectName(QStringLiteral("changedOnDiskBox"));
        box.setInformativeText(tr("Overwrite it with this form, save this form under another name, or reload the file?"));
        QPushButton* overwrite = box.addButton(tr("&Overwrite"), QMessageBox::DestructiveRole);
        QPushButton* other = box.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
        QPushButton* reloadButton = box.addButton(tr("&Reload"), QMessageBox::ResetRole);
        reloadButton->setToolTip(tr("Show the file as it is now; Undo brings this form back"));
        box.addButton(QMessageBox::Cancel)->setText(tr("&Cancel"));
        box.setDefaultButton(other);
        box.exec();
        if (box.clickedButton() == other)
            return chooseFileAndSave();
        if (box.clickedButton() == reloadButton) {
            reload();
            return false;  // nothing was saved: the form is the file's now
        }
        if (box.clickedButton() != overwrite)
            return false;
    }
    return saveAs(m_document->fileName());
}

bool FileController::saveAs(const QString& path)
{
    const QString target = path.isEmpty() ? m_document->fileName() : path;
    const QString failure = m_document->save(path);
    if (!failure.isEmpty())
        return saveFailed(target, failure);
    m_changeBar->check();
    rememberRecent(m_document->fileName());
    m_window->statusBar()->showMessage(tr("Saved %1").arg(m_document->fileName()), 5000);
    return true;
}

bool FileController::saveFailed(const QString& path, const QString& failure)
{
    // The failure names the file, why and what is on disk: said once, then what to do.
    m_window->statusBar()->showMessage(failure, 15000);
    // "Cannot save PATH: why; what is on disk" said as one sentence that the form was not saved.
    const QString prefix = QStringLiteral("Cannot save %1: ").arg(path);
    const QString said = failure.startsWith(prefix) ? tr("%1 was not saved: %2.").arg(path, failure.mid(prefix.size()))
                                                    : failure + QLatin1Char('.');
    QMessageBox box(QMessageBox::Warning, tr("Cannot Save Form"), said, QMessageBox::Ok, m_window);
    box.setObjectName(QStringLiteral("saveFailedBox"));
    box.setInformativeText(tr("Save As saves the form somewhere else, starting in your documents folder."));
    QPushButton* other = box.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ok->setText(tr("&OK"));
    box.setEscapeButton(ok);
    box.setDefaultButton(other);
    box.exec();
    // Not where it just failed, nor over a file that is there: accepting the dialog saves.
    return box.clickedButton() == other && chooseFileAndSave(saveAsStartPath(path));
}

bool FileController::chooseFileAndSave(const QString& startPath)
{
    const QString start = startPath.isEmpty() ? m_document->fileName() : startPath;
    QString path = QFileDialog::getSaveFileName(m_window, tr("Save Form As"), start, FileFilter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".cvform");
    return saveAs(path);
}

bool FileController::reload()
{
    const QStringList problems = m_document->reload();
    if (!problems.isEmpty()) {
        showError(tr("Cannot Reload Form"), tr("%1 was not reloaded; this form stays as it is:\n%2")
                                                 .arg(m_document->fileName(), problems.mid(0, 10).join(QLatin1Char('\n'))));
        return false;
    }
    m_window->statusBar()->showMessage(tr("Reloaded %1; Undo brings back the form as it was").arg(m_document->fileName()), 8000);
    return true;
}

void FileController::rememberRecent(const QString& path)
{
    QSettings settings;
    QStringList recent = settings.value(QStringLiteral("recentFiles")).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > MaxRecentFiles)
        recent.removeLast();
    settings.setValue(QStringLiteral("recentFiles"), recent);
    fillRecentMenu();
}

void FileController::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList recent = QSettings().value(QStringLiteral("recentFiles")).toStringList();
    QStringList names;
    for (const QString& path : recent)
        names << QFileInfo(path).fileName();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        // Two files of the same name are told apart by their folders.
        QString text = names[i];
        if (names.count(names[i]) > 1)
            text += QStringLiteral(" \u2014 ") + QDir::toNativeSeparators(QFileInfo(path).absolutePath());
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        m_recentMenu->addAction(text, this, [this, path] { openForm(path); })->setToolTip(path);
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}
