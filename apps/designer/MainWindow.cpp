#include "MainWindow.h"

#include "PackagesView.h"
#include "PreviewWidget.h"
#include "PropertyInspector.h"
#include "SampleForm.h"

#include "host/vcl/Forms.h"

#include <QDockWidget>
#include <QListWidget>
#include <QSplitter>
#include <QStatusBar>

MainWindow::MainWindow(const QString& packagePath, QWidget* parent)
    : QMainWindow(parent),
      m_form(new SampleForm(this)),
      m_controls(new QListWidget(this)),
      m_preview(new PreviewWidget(m_form, this)),
      m_inspector(new PropertyInspector(this)),
      m_packages(new PackagesView(&m_loader, packagePath, this))
{
    setWindowTitle(tr("Palmo Form Designer"));
    m_controls->setObjectName(QStringLiteral("controlList"));
    m_controls->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const SampleForm::Item& item : m_form->items())
        m_controls->addItem(item.caption);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_controls);
    splitter->addWidget(m_preview);
    splitter->addWidget(m_inspector);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 360, 330});
    setCentralWidget(splitter);

    auto* dock = new QDockWidget(tr("Packages"), this);
    dock->setObjectName(QStringLiteral("packagesDock"));
    dock->setWidget(m_packages);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    // Nothing whose code lives in the package may outlive it: the inspector drops its editors.
    m_loader.whyNotUnload = [this] { return m_inspector->busyReason(); };
    m_loader.beforeUnload = [this] { m_inspector->clear(); };
    connect(m_packages, &PackagesView::packageChanged, this, &MainWindow::showSelection);
    connect(m_controls, &QListWidget::itemSelectionChanged, this, &MainWindow::showSelection);
    connect(m_inspector, &PropertyInspector::errorReported, this,
            [this](const QString& message) { statusBar()->showMessage(message, 8000); });
    // An error a dialog's handler lets escape (or an entry's refusal) is shown where the user
    // looks for messages, not only written to standard error.
    Application->OnException = [this](const String& message) { m_inspector->report(message); };
    statusBar()->showMessage(tr("Select a control to edit its properties"));

    m_packages->loadPackage();
    resize(1060, 820);
}

MainWindow::~MainWindow()
{
    // Gone while an editor's modal dialog still runs: the package's code is on the stack, so it
    // stays loaded for that call to return into.
    if (!m_inspector->busyReason().isEmpty())
        m_loader.abandon();
    Application->OnException = nullptr;
    m_inspector->clear();
    m_loader.whyNotUnload = nullptr;
    m_loader.beforeUnload = nullptr;
}

bool MainWindow::selectControl(const QString& caption)
{
    const auto found = m_controls->findItems(caption, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    m_controls->setCurrentItem(found.front(), QItemSelectionModel::ClearAndSelect);
    return true;
}

void MainWindow::showSelection()
{
    std::vector<QObject*> objects;
    for (QListWidgetItem* item : m_controls->selectedItems())
        objects.push_back(m_form->find(item->text()));
    m_inspector->setObjects(objects);
    if (!objects.empty())
        statusBar()->showMessage(tr("Editing %1").arg(objects.front()->objectName()));
}
