#include "views/MainWindow.h"

#include "views/AccessiblePreview.h"
#include "views/ContrastView.h"
#include "views/ControlListModel.h"
#include "views/VisionEffect.h"
#include "core/Document.h"
#include "core/FormEdits.h"
#include "core/FormSelection.h"
#include "core/FormModel.h"
#include "core/FormColors.h"
#include "core/FormProperties.h"
#include "views/PackagesView.h"
#include "views/PlaceReadout.h"
#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"
#include "core/RecoveryStore.h"
#include "views/EditCommands.h"
#include "views/ElidingStatusBar.h"
#include "views/FileChangeBar.h"
#include "views/FileController.h"
#include "views/FormContextMenu.h"
#include "views/WindowAccessibility.h"
#include "views/WindowFit.h"
#include "views/WindowKeyboard.h"

#include "host/vcl/Forms.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QScrollArea>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

MainWindow::MainWindow(const QString& packagePath, QWidget* parent)
    : QMainWindow(parent),
      m_document(new Document(this)),
      m_edits(std::make_unique<FormEdits>(*m_document)),
      m_selection(m_document->selection()),
      m_controls(new QListView(this)),
      m_preview(new PreviewWidget(m_document->form(), this)),
      m_inspector(new PropertyInspector(*m_edits, this)),
      m_packages(new PackagesView(&m_loader, packagePath, this)),
      m_recovery(new RecoveryStore(m_document, this)),
      m_files(new FileController(this, m_document)),
      m_commands(new EditCommands(this, *m_edits, m_preview, m_inspector))
{
    // Before anything asks what the preview holds: its accessible object is made by the factory
    // this installs.
    new PreviewAccessibility(m_preview, m_document->form());
    // Long messages are elided to the bar's width, whole in the tooltip.
    setStatusBar(new ElidingStatusBar(this));
    buildCentral();
    buildDocks();
    buildMenus();
    m_commands->buildLayoutMenus();
    m_commands->buildPalette();
    // After the menus: the context menus hold their actions.
    new FormContextMenu(this, *m_edits, m_preview, m_controls);
    connectSelection();
    connectPreview();
    connectInspector();
    m_selectionHint = new ElidedLabel(this);
    m_selectionHint->setObjectName(QStringLiteral("selectionHint"));
    statusBar()->addWidget(m_selectionHint, 1);
    statusBar()->addPermanentWidget(new PlaceReadout(m_preview, m_document->form(), m_selection, m_inspector->model(), this));
    showSelection();
    const WindowViews views{this, m_controls, m_preview, m_inspector, m_packages};
    new WindowAccessibility(views, findChild<ContrastView*>());
    (new WindowKeyboard(views))->orderTabStops();

    m_packages->loadPackage();
    m_files->updateTitle();
    // The size and the docks of the last run, when there was one.
    resize(1060, 760);
    QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    // Without docks of a last run, they get their first sizes once the window has its own.
    restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    fitToScreen();
}

void MainWindow::buildCentral()
{
    m_controls->setObjectName(QStringLiteral("controlList"));
    m_controls->setModel(new ControlListModel(m_document->form(), m_selection, m_controls));
    m_controls->setUniformItemSizes(true);
    m_controls->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_preview->setObjectName(QStringLiteral("preview"));

    // The preview scrolls when the form is larger than its pane; the keyboard stays on the preview.
    auto* previewArea = new QScrollArea(this);
    previewArea->setObjectName(QStringLiteral("previewArea"));
    previewArea->setFocusPolicy(Qt::NoFocus);
    previewArea->setWidgetResizable(true);
    previewArea->setWidget(m_preview);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_controls);
    splitter->addWidget(previewArea);
    splitter->addWidget(m_inspector);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({170, 420, 340});
    // Above the form, while recovery copies cannot be written: the user's work is not protected.
    m_recoveryWarning = new QLabel(this);
    m_recoveryWarning->setObjectName(QStringLiteral("recoveryWarning"));
    m_recoveryWarning->setWordWrap(true);
    m_recoveryWarning->setStyleSheet(QStringLiteral("QLabel { background: #fff3cd; color: #5c4400; padding: 4px; }"));
    m_recoveryWarning->hide();
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(m_recoveryWarning);
    centralLayout->addWidget(m_files->changeBar());
    centralLayout->addWidget(splitter, 1);
    setCentralWidget(central);
    connect(m_recovery, &RecoveryStore::writingFailed, this, [this](const QString& why) {
        const QString message = tr("Unsaved changes are not protected against a crash: no recovery copy could be "
                                   "written (%1). The designer tries again every %2 seconds; save to keep your work.")
                                    .arg(why).arg(RecoveryStore::RetryMs / 1000);
        m_recoveryWarning->setText(message);
        m_recoveryWarning->show();
        statusBar()->showMessage(tr("No recovery copy could be written: unsaved changes are not protected"), 15000);
    });
    connect(m_recovery, &RecoveryStore::writingResumed, this, [this] {
        m_recoveryWarning->hide();
        statusBar()->showMessage(tr("Recovery copies are written again"), 5000);
    });
}

void MainWindow::buildDocks()
{
    auto* dock = new QDockWidget(tr("Packages"), this);
    dock->setObjectName(QStringLiteral("packagesDock"));
    dock->setWidget(m_packages);
    // Closable: the View menu shows every dock again.
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    // The Contrast view beside the packages; a line shows its control and text property.
    auto* contrast = new ContrastView(m_document->form(), m_edits.get(), this);
    auto* contrastDock = new QDockWidget(tr("Readability"), this);
    contrastDock->setObjectName(QStringLiteral("contrastDock"));
    contrastDock->setWidget(contrast);
    contrastDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetClosable);
    // Tabbed with the packages: side by side, the two would make the window wider than small
    // screens.
    tabifyDockWidget(dock, contrastDock);
    contrastDock->raise();
    connect(contrast, &ContrastView::pairActivated, this, [this](const QString& control, const QString& textPath) {
        // The keyboard goes to the colour's value, so that typing a colour changes it.
        if (selectControl(control))
            focusValueEditor(*m_inspector, m_inspector->rowOf(textPath));
    });
}

void MainWindow::connectSelection()
{
    FormModel* form = m_document->form();
    // The list's model follows the form row by row; the hint names what the inspector shows.
    connect(form, &FormModel::controlInserted, this, &MainWindow::showSelectionHint);
    connect(form, &FormModel::controlRenamed, this, &MainWindow::showSelectionHint);
    connect(form, &FormModel::controlRemoved, this, [this] {
        // A message about the inspector's rows goes with the control it was about.
        if (!m_inspectorMessage.isEmpty() && statusBar()->currentMessage() == m_inspectorMessage)
            statusBar()->clearMessage();
    });
    // The list and the preview are two views of the core's selection: each turns a click into
    // the same operations, so the first selected is the reference whichever view it was made in.
    connect(m_selection, &FormSelection::changed, this, &MainWindow::selectionChanged);
    connect(m_controls->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::followListSelection);
    connect(m_preview, &PreviewWidget::selectionRequested, this, [this](TPalmoControl* control, bool toggle) {
        if (toggle)
            m_selection->toggle(control);
        else
            m_selection->select(control);
    });
    connect(m_preview, &PreviewWidget::bandSelectionRequested, this,
            [this](const std::vector<TPalmoControl*>& controls, bool add) {
                if (add)
                    m_selection->change({}, controls);
                else
                    m_selection->setControls(controls);
            });
    connect(m_preview, &PreviewWidget::selectAllRequested, this, [this] { m_selection->setControls(this->form()->controls()); });
}

void MainWindow::connectPreview()
{    // The inspector shows the new places at once, not after the next event.
    connect(m_preview, &PreviewWidget::moveRequested, this, [this](int dx, int dy, bool byKey) {
        if (byKey)
            m_edits->nudge(dx, dy);
        else
            m_edits->move(dx, dy);
        m_inspector->refresh();
    });
    connect(m_preview, &PreviewWidget::resizeRequested, this, [this](int dw, int dh) {
        m_edits->size(dw, dh);
        m_inspector->refresh();
    });
    connect(m_preview, &PreviewWidget::edgesMoveRequested, this, [this](int l, int t, int r, int b) {
        m_edits->moveEdges(l, t, r, b);
        m_inspector->refresh();
    });
    connect(m_preview, &PreviewWidget::gridResizeRequested, this, [this](int dx, int dy) {
        m_edits->sizeByGrid(dx, dy, m_preview->snapToGrid());
        m_inspector->refresh();
    });
    connect(m_preview, &PreviewWidget::addRequested, this,
            [this](const QString& className, const QPoint& at) { m_edits->addAt(className, at); });
    connect(m_preview, &PreviewWidget::deleteRequested, m_commands, &EditCommands::deleteSelection);
}

void MainWindow::connectInspector()
{
    // Nothing whose code lives in the package may outlive it: the inspector drops its editors,
    // and the package stays while one of its editors is at work.
    m_loader.whyNotUnload = [this] { return m_inspector->busyReason(); };
    m_loader.beforeUnload = [this] { m_inspector->clear(); };
    m_packages->whatUnloadTakes = [this] { return colourEditorsInUse(); };
    connect(m_packages, &PackagesView::packageChanged, this, &MainWindow::showSelection);
    connect(m_inspector, &PropertyInspector::errorReported, this, [this](const QString& message) {
        m_inspectorMessage = message;
        ElidingStatusBar::refuse(statusBar(), message);
    });
    // Values changed from anywhere show in the inspector; an undo or redo may also change which
    // rows there are (a collection's Count).
    // Once for any number of writes: an undo of a change to a thousand controls is one refresh.
    connect(m_document->form(), &FormModel::changed, m_inspector,
            [this] { m_inspector->refreshSoon(m_document->form()->changedPaths()); });
    connect(m_document, &Document::historyApplied, this, [this] {
        const std::vector<TPalmoControl*>& chosen = m_selection->controls();
        m_inspector->showObjects(std::vector<QObject*>(chosen.begin(), chosen.end()));
        showSelectionHint();
    });
    // An error a dialog's handler lets escape (or an entry's refusal) is shown where the user
    // looks for messages, not only written to standard error.
    Application->OnException = [this](const String& message) { m_inspector->report(message); };
}

QSize MainWindow::fittingSize(const QSize& wanted, const QRect& available, const QMargins& frame)
{
    return WindowFit::fittingSize(wanted, available, frame);
}

void MainWindow::fitToScreen()
{
    // Never larger than the screen it opens on, in the screen's own (device independent) pixels,
    // whatever the device pixel ratio.
    const QRect available = WindowFit::availableArea(*this);
    if (available.isEmpty())
        return;
    // The frame the window system adds around the window counts too, also before it is known.
    const QMargins frame = WindowFit::frameOf(*this);
    const QSize size = fittingSize(this->size(), available, frame);
    if (size != this->size())
        resize(size);
    const QRect framed(frameGeometry().topLeft(), this->size().grownBy(frame));
    if (!available.contains(framed))
        move(available.topLeft());
}

MainWindow::~MainWindow()
{
    Application->OnException = nullptr;
    // Gone while an editor's modal dialog still runs: the package's code is on the stack, so it
    // stays loaded for that call to return into.
    if (!m_inspector->busyReason().isEmpty())
        m_loader.abandon();
    m_inspector->clear();
    m_loader.whyNotUnload = nullptr;
    m_loader.beforeUnload = nullptr;
}

FormModel* MainWindow::form() const
{
    return m_document->form();
}

void MainWindow::buildMenus()
{
    m_files->buildFileMenu(menuBar()->addMenu(tr("&File")));
    m_commands->buildEditMenu(menuBar()->addMenu(tr("&Edit")));
    m_commands->buildInsertMenu(menuBar());

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    // Every dock, to show or hide, with an access key of its own.
    for (QDockWidget* dock : findChildren<QDockWidget*>()) {
        QAction* toggle = dock->toggleViewAction();
        toggle->setText(QLatin1Char('&') + dock->windowTitle());
        view->addAction(toggle);
    }
    view->addSeparator();
    buildSimulateMenu(view);
}

void MainWindow::holdReadabilityLines()
{
    // Eight lines of findings whenever the window is tall enough that the form and its
    // properties keep half of it: the list is held that tall (a dock that only asked for the
    // height would be given its smallest when the window is laid out on the screen), and is let
    // shrink in a window too short for it.
    auto* dock = findChild<QDockWidget*>(QStringLiteral("contrastDock"));
    auto* list = dock ? dock->findChild<QTreeView*>(QStringLiteral("contrastList")) : nullptr;
    if (!list)
        return;
    // A line as the list lays it out, measured once on a list of its own (the findings may not
    // be in): this runs on every resize of the window.
    if (m_findingLine == 0) {
        QTreeWidget probe;
        probe.setFont(list->font());
        new QTreeWidgetItem(&probe, QStringList{QStringLiteral("Xg")});
        m_findingLine = probe.sizeHintForRow(0);
    }
    const int eight = 8 * m_findingLine + list->height() - list->viewport()->height();
    const int around = dock->height() - list->height();
    list->setMinimumHeight(around + eight <= height() / 2 ? eight : 0);
}

QString MainWindow::colourEditorsInUse() const
{
    for (TPalmoControl* control : form()->controls())
        for (const FormProperty& property : propertiesOf(control))
            if (FormColors::isColor(property.property))
                return tr("The form\u2019s colour properties are edited with this package\u2019s editors; "
                          "without it, they show as plain numbers.");
    return {};
}

void MainWindow::buildSimulateMenu(QMenu* view)
{
    // The preview as people with a colour vision deficiency see it; only the picture changes.
    // On the pane that shows the preview, not on the preview: an effect paints its widget whole
    // into one image, and the preview is as large as the form reaches.
    QWidget* pane = m_preview->parentWidget() ? m_preview->parentWidget() : m_preview;
    auto* effect = new VisionEffect(pane);
    pane->setGraphicsEffect(effect);
    QMenu* simulate = view->addMenu(tr("Si&mulate"));
    simulate->setObjectName(QStringLiteral("simulateMenu"));
    auto* group = new QActionGroup(simulate);
    const std::pair<Vision, QString> visions[] = {
        {Vision::Normal, tr("&Normal Vision")},    {Vision::Protanopia, tr("&Protanopia (no red cones)")},
        {Vision::Deuteranopia, tr("&Deuteranopia (no green cones)")}, {Vision::Tritanopia, tr("&Tritanopia (no blue cones)")},
        {Vision::Achromatopsia, tr("&Achromatopsia (no colour)")}};
    for (const auto& entry : visions) {
        const Vision vision = entry.first;
        QAction* action = simulate->addAction(entry.second, this, [this, effect, vision] {
            effect->setVision(vision);
            statusBar()->showMessage(vision == Vision::Normal ? tr("The preview shows normal vision")
                                                              : tr("The preview shows %1; the form is unchanged")
                                                                    .arg(QString::fromLatin1(visionName(vision)).toLower()),
                                     4000);
        });
        action->setObjectName(QStringLiteral("simulate%1").arg(QString::fromLatin1(visionName(vision)).section(u' ', 0, 0)));
        action->setCheckable(true);
        action->setChecked(vision == Vision::Normal);
        group->addAction(action);
    }
}

TPalmoControl* MainWindow::addControl(const QString& className)
{
    return m_commands->addControl(className);
}

bool MainWindow::selectControl(const QString& name)
{
    TPalmoControl* control = form()->find(name);
    if (!control)
        return false;
    setSelection({control});
    return true;
}

const std::vector<TPalmoControl*>& MainWindow::selection() const
{
    return m_selection->controls();
}

void MainWindow::setSelection(const std::vector<TPalmoControl*>& controls)
{
    m_selection->setControls(controls);
}

void MainWindow::followListSelection(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (m_syncingList)
        return;
    const auto controlsIn = [this](const QItemSelection& ranges) {
        std::vector<TPalmoControl*> controls;
        for (const QItemSelectionRange& range : ranges)
            for (int row = range.top(); row <= range.bottom(); ++row)
                controls.push_back(form()->control(row));
        return controls;
    };
    // Rows newly selected follow the controls selected before, in the order they were clicked.
    m_selection->change(controlsIn(deselected), controlsIn(selected));
}

void MainWindow::selectionChanged()
{
    const std::vector<TPalmoControl*>& chosen = m_selection->controls();
    m_syncingList = true;
    // One selection of row ranges: selecting every one of thousands of controls is one change.
    std::vector<int> rows;
    for (TPalmoControl* control : chosen)
        if (const int row = form()->indexOf(control); row >= 0)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    QItemSelection ranges;
    const QAbstractItemModel* list = m_controls->model();
    for (std::size_t first = 0; first < rows.size();) {
        std::size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
            ++last;
        ranges.select(list->index(rows[first], 0), list->index(rows[last], 0));
        first = last + 1;
    }
    m_controls->selectionModel()->select(ranges, QItemSelectionModel::ClearAndSelect);
    if (TPalmoControl* current = m_selection->current()) {
        // A list view tells assistive technology of its new current item even without the focus,
        // which takes a screen reader away from the preview: unfocused, the list is not told (its
        // keys start from the current item all the same).
        const QSignalBlocker quiet(m_controls->hasFocus() ? nullptr : m_controls->selectionModel());
        m_controls->selectionModel()->setCurrentIndex(list->index(form()->indexOf(current), 0), QItemSelectionModel::NoUpdate);
    }
    m_syncingList = false;
    m_preview->setSelection(chosen);
    showSelection();
}

void MainWindow::showSelection()
{
    // The inspector shows what the selected controls share, whatever their classes.
    const std::vector<TPalmoControl*>& chosen = m_selection->controls();
    m_inspector->setObjects(std::vector<QObject*>(chosen.begin(), chosen.end()));
    showSelectionHint();
}

void MainWindow::showSelectionHint()
{
    if (!m_selectionHint)
        return;  // still being built
    const std::vector<TPalmoControl*>& chosen = m_selection->controls();
    if (chosen.size() == 1)
        m_selectionHint->setText(tr("Editing %1").arg(chosen.front()->Name()));
    else if (!chosen.empty())
        m_selectionHint->setText(tr("Editing %1 controls: the properties they share").arg(chosen.size()));
    else if (form()->count() > 0)
        m_selectionHint->setText(tr("Select a control in the list or the preview to see its properties"));
    else
        m_selectionHint->setText(tr("Add a control from the palette, or open a form"));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Shown, the window has its frame: it fits with it.
    fitToScreen();
    // Once the shown window's layout has settled, so that what is measured is what is seen.
    QTimer::singleShot(0, this, &MainWindow::holdReadabilityLines);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    holdReadabilityLines();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_files->maybeSave()) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/state"), saveState());
    event->accept();
}

// The File menu's flows and the Edit menu's commands, for the program and its tests.
bool MainWindow::newForm() { return m_files->newForm(); }
bool MainWindow::openForm(const QString& path) { return m_files->openForm(path); }
bool MainWindow::save() { return m_files->save(); }
bool MainWindow::saveAs(const QString& path) { return m_files->saveAs(path); }
bool MainWindow::maybeSave() { return m_files->maybeSave(); }
bool MainWindow::offerRecovery() { return m_files->offerRecovery(); }
bool MainWindow::copySelection() { return m_commands->copySelection(); }
bool MainWindow::cutSelection() { return m_commands->cutSelection(); }
bool MainWindow::paste() { return m_commands->paste(); }
bool MainWindow::duplicateSelection() { return m_commands->duplicateSelection(); }
