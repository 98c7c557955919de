#include "views/FileChangeBar.h"

#include "core/Document.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int SettleMs = 150;

}  // namespace

FileChangeBar::FileChangeBar(Document* document, QWidget* parent)
    : QWidget(parent), m_document(document), m_watcher(new QFileSystemWatcher(this)), m_text(new QLabel(this)),
      m_reload(new QPushButton(tr("&Reload"), this)), m_keep(new QPushButton(tr("&Keep Mine"), this))
{
    setObjectName(QStringLiteral("fileChangeBar"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#fileChangeBar { background: #fff3cd; } #fileChangeBar QLabel { color: #5c4400; }"));
    m_text->setObjectName(QStringLiteral("fileChangeText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_reload->setObjectName(QStringLiteral("reloadButton"));
    m_reload->setToolTip(tr("Show the file as it is now; Undo brings this form back"));
    m_keep->setObjectName(QStringLiteral("keepMineButton"));
    m_keep->setToolTip(tr("Keep this form; saving it replaces the file"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_reload);
    layout->addWidget(m_keep);
    hide();

    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FileChangeBar::check);
    const auto soon = [this] { m_settle.start(); };
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, soon);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, soon);
    connect(m_document, &Document::fileNameChanged, this, &FileChangeBar::check);
    // A save, an open or a reload: the document knows the file's bytes afresh, and a shown line
    // may go. A hidden one stays hidden: a change of the form is no change of the file (and an
    // undo back to the saved state of a large form need not read the file again).
    connect(m_document, &Document::modifiedChanged, this, [this] {
        if (isHidden())
            rearm();
        else
            check();
    });
    connect(m_reload, &QPushButton::clicked, this, [this] {
        hide();
        emit reloadRequested();
    });
    connect(m_keep, &QPushButton::clicked, this, [this] {
        hide();
        emit keepMineRequested();
    });
}

void FileChangeBar::rearm()
{
    const QString file = m_document->fileName();
    const QStringList wanted = file.isEmpty() ? QStringList()
                                              : QStringList{file, QFileInfo(file).absolutePath()};
    QStringList watched = m_watcher->files() + m_watcher->directories();
    QStringList gone;
    for (const QString& path : watched)
        if (!wanted.contains(path))
            gone << path;
    if (!gone.isEmpty())
        m_watcher->removePaths(gone);
    for (const QString& path : wanted)
        if (!watched.contains(path) && QFileInfo::exists(path))
            m_watcher->addPath(path);
}

void FileChangeBar::check()
{
    rearm();
    if (!m_document->changedOnDisk()) {
        hide();
        return;
    }
    m_text->setText(tr("%1 was changed on disk by another program.").arg(m_document->displayName()));
    show();
}
