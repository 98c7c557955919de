#include "views/MainWindow.h"

#include "views/ContrastView.h"
#include "views/ControlListModel.h"
#include "views/VisionEffect.h"
#include "core/Arrange.h"
#include "core/Document.h"
#include "core/FormModel.h"
#include "views/PackagesView.h"
#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"
#include "core/RecoveryStore.h"
#include "core/FormFile.h"
#include "core/Snippet.h"
#include "views/ElidingStatusBar.h"
#include "views/ProblemsDialog.h"
#include "views/WindowFit.h"

#include "core/ControlClasses.h"
#include "host/vcl/Forms.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMimeData>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int MaxRecentFiles = 8;
const QString FileFilter = QStringLiteral("Forms (*.cvform);;All files (*)");

// The palette's caption of a control class: its name without "TPalmo".
QString paletteCaption(const QString& className)
{
    return className.startsWith(QStringLiteral("TPalmo")) ? className.mid(6) : className;
}

// The captions with an access key each, none used twice: the first letter when it is free, else
// the first free letter that starts a word part ("PageIndicator": I), else any free letter.
QStringList withAccessKeys(const QStringList& captions)
{
    QString used;
    QStringList out;
    for (const QString& caption : captions) {
        qsizetype chosen = -1;
        const auto free = [&](qsizetype i) { return caption[i].isLetter() && !used.contains(caption[i].toLower()); };
        for (int pass = 0; pass < 3 && chosen < 0; ++pass)
            for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i)
                if (free(i) && (pass == 2 || (pass == 0 && i == 0) || (pass == 1 && caption[i].isUpper())))
                    chosen = i;
        QString text = caption;
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (chosen >= 0) {
            used += caption[chosen].toLower();
            text.insert(chosen + caption.left(chosen).count(QLatin1Char('&')), QLatin1Char('&'));
        }
        out << text;
    }
    return out;
}

}  // namespace

MainWindow::MainWindow(const QString& packagePath, QWidget* parent)
    : QMainWindow(parent),
      m_document(new Document(this)),
      m_controls(new QListView(this)),
      m_preview(new PreviewWidget(m_document->form(), this)),
      m_inspector(new PropertyInspector(*m_document, this)),
      m_packages(new PackagesView(&m_loader, packagePath, this)),
      m_recovery(new RecoveryStore(m_document, this))
{
    // Long messages are elided to the bar's width, whole in the tooltip.
    setStatusBar(new ElidingStatusBar(this));
    m_controls->setObjectName(QStringLiteral("controlList"));
    m_controls->setModel(new ControlListModel(m_document->form(), m_controls));
    m_controls->setUniformItemSizes(true);
    m_controls->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_preview->setObjectName(QStringLiteral("preview"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_controls);
    splitter->addWidget(m_preview);
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

    auto* dock = new QDockWidget(tr("Packages"), this);
    dock->setObjectName(QStringLiteral("packagesDock"));
    dock->setWidget(m_packages);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    // The Contrast view beside the packages; a line shows its control and text property.
    auto* contrast = new ContrastView(m_document->form(), m_document, this);
    auto* contrastDock = new QDockWidget(tr("Readability"), this);
    contrastDock->setObjectName(QStringLiteral("contrastDock"));
    contrastDock->setWidget(contrast);
    contrastDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    // Tabbed with the packages: side by side, the two would make the window wider than small
    // screens.
    tabifyDockWidget(dock, contrastDock);
    contrastDock->raise();
    // The docks below take a third of the height at most at first: the form and its properties
    // are what the window is for.
    resizeDocks({contrastDock}, {180}, Qt::Vertical);
    connect(contrast, &ContrastView::pairActivated, this, [this](const QString& control, const QString& textPath) {
        if (selectControl(control))
            m_inspector->view()->setCurrentIndex(m_inspector->valueIndex(m_inspector->rowOf(textPath)));
    });

    buildMenus();
    buildLayoutMenus();
    buildPalette();

    FormModel* form = m_document->form();
    // The list's model follows the form row by row; the hint names what the inspector shows.
    connect(form, &FormModel::controlInserted, this, &MainWindow::showSelectionHint);
    connect(form, &FormModel::controlRenamed, this, &MainWindow::showSelectionHint);
    connect(form, &FormModel::controlRemoved, this, [this](int, TPalmoControl* control) {
        // A message about the inspector's rows goes with the control it was about.
        if (!m_inspectorMessage.isEmpty() && statusBar()->currentMessage() == m_inspectorMessage)
            statusBar()->clearMessage();
        // The control is about to be freed: nothing may keep it.
        std::vector<TPalmoControl*> kept = m_selection;
        kept.erase(std::remove(kept.begin(), kept.end(), control), kept.end());
        setSelection(kept);
    });
    connect(m_document, &Document::modifiedChanged, this, &MainWindow::updateTitle);
    connect(m_document, &Document::fileNameChanged, this, &MainWindow::updateTitle);
    connect(m_controls->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_syncingList)
            return;
        const QItemSelectionModel* chosenRows = m_controls->selectionModel();
        std::vector<TPalmoControl*> chosen;
        for (int row = 0; row < this->form()->count(); ++row)
            if (chosenRows->isRowSelected(row))
                chosen.push_back(this->form()->control(row));
        // The current row leads, as the control clicked last.
        if (const QModelIndex current = chosenRows->currentIndex(); current.isValid() && chosenRows->isSelected(current)) {
            TPalmoControl* lead = this->form()->control(current.row());
            chosen.erase(std::remove(chosen.begin(), chosen.end(), lead), chosen.end());
            chosen.insert(chosen.begin(), lead);
        }
        setSelection(chosen);
    });
    connect(m_preview, &PreviewWidget::selectionRequested, this, [this](TPalmoControl* control, bool toggle) {
        std::vector<TPalmoControl*> chosen = toggle ? m_selection : std::vector<TPalmoControl*>{};
        if (control) {
            const auto found = std::find(chosen.begin(), chosen.end(), control);
            if (toggle && found != chosen.end())
                chosen.erase(found);
            else
                chosen.push_back(control);
        }
        setSelection(chosen);
    });
    connect(m_preview, &PreviewWidget::moveRequested, this, &MainWindow::moveSelection);
    connect(m_preview, &PreviewWidget::resizeRequested, this, &MainWindow::resizeSelection);
    connect(m_preview, &PreviewWidget::edgesMoveRequested, this, &MainWindow::moveSelectionEdges);
    connect(m_preview, &PreviewWidget::bandSelectionRequested, this,
            [this](const std::vector<TPalmoControl*>& controls, bool add) {
                std::vector<TPalmoControl*> chosen = add ? m_selection : std::vector<TPalmoControl*>{};
                for (TPalmoControl* control : controls)
                    if (std::find(chosen.begin(), chosen.end(), control) == chosen.end())
                        chosen.push_back(control);
                setSelection(chosen);
            });
    connect(m_preview, &PreviewWidget::selectAllRequested, this, [this] { setSelection(this->form()->controls()); });
    connect(m_preview, &PreviewWidget::deleteRequested, this, &MainWindow::deleteSelection);

    // Nothing whose code lives in the package may outlive it: the inspector drops its editors,
    // and the package stays while one of its editors is at work.
    m_loader.whyNotUnload = [this] { return m_inspector->busyReason(); };
    m_loader.beforeUnload = [this] { m_inspector->clear(); };
    connect(m_packages, &PackagesView::packageChanged, this, &MainWindow::showSelection);
    connect(m_inspector, &PropertyInspector::errorReported, this, [this](const QString& message) {
        m_inspectorMessage = message;
        statusBar()->showMessage(message, 8000);
    });
    // Values changed from anywhere show in the inspector; an undo or redo may also change which
    // rows there are (a collection's Count).
    // Once for any number of writes: an undo of a change to a thousand controls is one refresh.
    connect(form, &FormModel::changed, m_inspector, &PropertyInspector::refreshSoon);
    connect(m_document, &Document::historyApplied, this, &MainWindow::showSelection);
    // An error a dialog's handler lets escape (or an entry's refusal) is shown where the user
    // looks for messages, not only written to standard error.
    Application->OnException = [this](const String& message) { m_inspector->report(message); };
    m_selectionHint = new ElidedLabel(this);
    m_selectionHint->setObjectName(QStringLiteral("selectionHint"));
    statusBar()->addWidget(m_selectionHint, 1);
    showSelection();

    m_packages->loadPackage();
    updateTitle();
    // The size and the docks of the last run, when there was one.
    resize(1060, 760);
    QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    fitToScreen();
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
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), QKeySequence::New, this, [this] { newForm(); });
    file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Open Form"), QString(), FileFilter);
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
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    // The document's undo and redo, not the stack's own: they wait while a change is recorded.
    QAction* undo = edit->addAction(tr("&Undo"), m_document, &Document::undo);
    undo->setObjectName(QStringLiteral("undoAction"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QAction* redo = edit->addAction(tr("&Redo"), m_document, &Document::redo);
    redo->setObjectName(QStringLiteral("redoAction"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    const auto syncUndo = [this, undo, redo] {
        const QUndoStack* stack = m_document->undoStack();
        undo->setEnabled(m_document->canUndo());
        undo->setText(stack->undoText().isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(stack->undoText()));
        redo->setEnabled(m_document->canRedo());
        redo->setText(stack->redoText().isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(stack->redoText()));
    };
    connect(m_document, &Document::undoStateChanged, this, syncUndo);
    syncUndo();
    // The keys work wherever the focus is in the window, also with no menu bar shown.
    addAction(undo);
    addAction(redo);
    edit->addSeparator();
    buildClipboardActions(edit);
    edit->addAction(tr("De&lete Control"), this, &MainWindow::deleteSelection);
    buildInsertMenu();

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    buildSimulateMenu(view);
}

void MainWindow::buildSimulateMenu(QMenu* view)
{
    // The preview as people with a colour vision deficiency see it; only the picture changes.
    auto* effect = new VisionEffect(m_preview);
    m_preview->setGraphicsEffect(effect);
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

void MainWindow::buildClipboardActions(QMenu* edit)
{
    const auto add = [&](const QString& text, const char* name, const QList<QKeySequence>& keys, auto slot) {
        QAction* action = edit->addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        // The keys work wherever the focus is in the window; an entry that edits text takes its
        // own Ctrl+C, Ctrl+V and Ctrl+X first.
        addAction(action);
        return action;
    };
    const auto keys = [](QKeySequence::StandardKey key) { return QKeySequence::keyBindings(key); };
    QAction* cut = add(tr("Cu&t"), "cutAction", keys(QKeySequence::Cut), &MainWindow::cutSelection);
    QAction* copy = add(tr("&Copy"), "copyAction", keys(QKeySequence::Copy), &MainWindow::copySelection);
    m_pasteAction = add(tr("&Paste"), "pasteAction", keys(QKeySequence::Paste), &MainWindow::paste);
    QAction* duplicate = add(tr("&Duplicate"), "duplicateAction", {QKeySequence(Qt::CTRL | Qt::Key_D)}, &MainWindow::duplicateSelection);
    m_selectionActions = {cut, copy, duplicate};
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &MainWindow::updateClipboardActions);
    updateClipboardActions();
}

void MainWindow::buildInsertMenu()
{
    QMenu* insert = menuBar()->addMenu(tr("&Insert"));
    insert->setObjectName(QStringLiteral("insertMenu"));
    QStringList captions;
    for (const ControlClass* controlClass : controlClasses())
        captions << paletteCaption(controlClass->name());
    const QStringList texts = withAccessKeys(captions);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString className = controlClasses().at(static_cast<std::size_t>(i))->name();
        QAction* action = insert->addAction(texts[i], this, [this, className] { addControl(className); });
        action->setObjectName(QStringLiteral("insert_%1").arg(className));
    }
}

void MainWindow::updateClipboardActions()
{
    for (QAction* action : m_selectionActions)
        action->setEnabled(!m_selection.empty());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    m_pasteAction->setEnabled(data && (data->hasFormat(QLatin1String(Snippet::MimeType)) || data->hasText()));
}

std::vector<TPalmoControl*> MainWindow::selectionInFormOrder() const
{
    std::vector<TPalmoControl*> ordered;
    for (TPalmoControl* control : form()->controls())
        if (std::find(m_selection.begin(), m_selection.end(), control) != m_selection.end())
            ordered.push_back(control);
    return ordered;
}

bool MainWindow::copySelection()
{
    const std::vector<TPalmoControl*> copied = selectionInFormOrder();
    if (copied.empty()) {
        statusBar()->showMessage(tr("Nothing copied: select the controls to copy first"), 8000);
        return false;
    }
    // The same text twice: as the designer's own format, and as text for any text editor.
    const QByteArray text = Snippet::snippetOf(copied);
    auto* data = new QMimeData;
    data->setData(QLatin1String(Snippet::MimeType), text);
    data->setText(QString::fromUtf8(text));
    QGuiApplication::clipboard()->setMimeData(data);
    statusBar()->showMessage(tr("Copied %1").arg(Document::describe(copied)), 5000);
    return true;
}

bool MainWindow::cutSelection()
{
    const std::vector<TPalmoControl*> cut = selectionInFormOrder();
    if (!copySelection())
        return false;
    setSelection({});
    m_document->removeControls(cut, tr("Cut %1").arg(Document::describe(cut)));
    statusBar()->showMessage(tr("Cut %1").arg(Document::describe(cut)), 5000);
    return true;
}

bool MainWindow::paste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !(data->hasFormat(QLatin1String(Snippet::MimeType)) || data->hasText())) {
        statusBar()->showMessage(tr("Nothing pasted: the clipboard holds no controls"), 8000);
        return false;
    }
    // Another designer's controls come in our own format; a text editor's as text.
    const QByteArray text = data->hasFormat(QLatin1String(Snippet::MimeType)) ? data->data(QLatin1String(Snippet::MimeType))
                                                                               : data->text().toUtf8();
    return pasteText(text, QLatin1String(Snippet::ClipboardName));
}

bool MainWindow::duplicateSelection()
{
    const std::vector<TPalmoControl*> originals = selectionInFormOrder();
    if (originals.empty()) {
        statusBar()->showMessage(tr("Nothing duplicated: select the controls to duplicate first"), 8000);
        return false;
    }
    return pasteText(Snippet::snippetOf(originals), tr("<selection>"), tr("Duplicate %1").arg(Document::describe(originals)));
}

bool MainWindow::pasteText(const QByteArray& text, const QString& sourceName, const QString& stepText)
{
    const Snippet::PasteResult pasted = Snippet::paste(*m_document, text, sourceName, stepText);
    if (!pasted.error.isEmpty()) {
        statusBar()->showMessage(tr("Nothing pasted: %1").arg(pasted.error), 15000);
        return false;
    }
    setSelection(pasted.controls);
    statusBar()->showMessage(tr("Pasted %1").arg(Document::describe(pasted.controls)), 5000);
    return true;
}

void MainWindow::buildPalette()
{
    auto* palette = addToolBar(tr("Palette"));
    palette->setObjectName(QStringLiteral("palette"));
    palette->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ControlClass* controlClass : controlClasses()) {
        const QString className = controlClass->name();
        QAction* action = palette->addAction(paletteCaption(className), this, [this, className] { addControl(className); });
        action->setObjectName(QStringLiteral("palette_%1").arg(className));
        action->setToolTip(tr("Add a %1 to the form").arg(className));
    }
}

TPalmoControl* MainWindow::addControl(const QString& className)
{
    const ControlClass* controlClass = controlClassNamed(className);
    if (!controlClass)
        return nullptr;
    std::unique_ptr<TPalmoControl> created = controlClass->create();
    TPalmoControl* control = created.get();
    control->SetName(form()->nextFreeName(className));
    // A new control goes to the first place, row by row, where it overlaps no other; below
    // the lowest control when there is none.
    const auto overlapsOther = [&](const QRect& place) {
        for (const TPalmoControl* other : form()->controls())
            if (place.intersects(QRect(other->FLeft, other->FTop, other->FWidth, other->FHeight)))
                return true;
        return false;
    };
    QPoint at(16, 16);
    bool found = false;
    for (int top = 16; !found && top + control->FHeight <= std::max(m_preview->height(), 400); top += 8)
        for (int left = 16; !found && left + control->FWidth <= std::max(m_preview->width(), 300); left += 8)
            if (!overlapsOther(QRect(left, top, control->FWidth, control->FHeight))) {
                at = {left, top};
                found = true;
            }
    if (!found)
        for (const TPalmoControl* other : form()->controls())
            at.setY(std::max(at.y(), other->FTop + other->FHeight + 8));
    control->setProperty("Left", at.x());
    control->setProperty("Top", at.y());
    // Adding it is one step: the control arrives already placed.
    if (!m_document->addControl(std::move(created)).isEmpty())
        return nullptr;
    setSelection({control});
    return control;
}

bool MainWindow::selectControl(const QString& name)
{
    TPalmoControl* control = form()->find(name);
    if (!control)
        return false;
    setSelection({control});
    return true;
}

void MainWindow::setSelection(const std::vector<TPalmoControl*>& controls)
{
    m_selection = controls;
    m_syncingList = true;
    // One selection of row ranges: selecting every one of thousands of controls is one change.
    std::vector<int> rows;
    for (TPalmoControl* control : m_selection)
        if (const int row = form()->indexOf(control); row >= 0)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    QItemSelection chosen;
    const QAbstractItemModel* list = m_controls->model();
    for (std::size_t first = 0; first < rows.size();) {
        std::size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
            ++last;
        chosen.select(list->index(rows[first], 0), list->index(rows[last], 0));
        first = last + 1;
    }
    m_controls->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
    if (!m_selection.empty())
        m_controls->selectionModel()->setCurrentIndex(list->index(form()->indexOf(m_selection.front()), 0),
                                                      QItemSelectionModel::NoUpdate);
    m_syncingList = false;
    m_preview->setSelection(m_selection);
    updateLayoutActions();
    showSelection();
    updateClipboardActions();
}

void MainWindow::showSelection()
{
    // The inspector shows what the selected controls share, whatever their classes.
    m_inspector->setObjects(std::vector<QObject*>(m_selection.begin(), m_selection.end()));
    showSelectionHint();
}

void MainWindow::showSelectionHint()
{
    if (!m_selectionHint)
        return;  // still being built
    if (m_selection.size() == 1)
        m_selectionHint->setText(tr("Editing %1").arg(m_selection.front()->Name()));
    else if (!m_selection.empty())
        m_selectionHint->setText(tr("Editing %1 controls: the properties they share").arg(m_selection.size()));
    else if (form()->count() > 0)
        m_selectionHint->setText(tr("Select a control in the list or the preview to see its properties"));
    else
        m_selectionHint->setText(tr("Add a control from the palette, or open a form"));
}

namespace {

// What makes keystrokes of one kind on the same controls one step to undo.
QString runOf(const char* kind, const std::vector<TPalmoControl*>& controls)
{
    QString key = QLatin1String(kind);
    for (const TPalmoControl* control : controls)
        key += QStringLiteral(" %1").arg(quintptr(control), 0, 16);
    return key;
}

}  // namespace

void MainWindow::moveSelection(int dx, int dy, bool byKey)
{
    const std::vector<TPalmoControl*> moved = m_selection;
    m_document->recordChange(tr("Move %1").arg(Document::describe(moved)), moved, [&] {
        for (TPalmoControl* control : moved) {
            control->setProperty("Left", control->FLeft + dx);
            control->setProperty("Top", control->FTop + dy);
        }
    }, byKey ? runOf("nudge", moved) : QString());
    m_inspector->refresh();
}

void MainWindow::resizeSelection(int dw, int dh)
{
    const std::vector<TPalmoControl*> sized = m_selection;
    m_document->recordChange(tr("Resize %1").arg(Document::describe(sized)), sized, [&] {
        // Never below a pixel: a control of no size could not be seen or clicked again.
        for (TPalmoControl* control : sized) {
            control->setProperty("Width", std::max(1, control->FWidth + dw));
            control->setProperty("Height", std::max(1, control->FHeight + dh));
        }
    }, runOf("size", sized));
    m_inspector->refresh();
}

namespace {

void place(TPalmoControl* control, const QRect& rect)
{
    control->setProperty("Left", rect.x());
    control->setProperty("Top", rect.y());
    control->setProperty("Width", rect.width());
    control->setProperty("Height", rect.height());
}

}  // namespace

void MainWindow::moveSelectionEdges(int dLeft, int dTop, int dRight, int dBottom)
{
    const std::vector<TPalmoControl*> sized = m_selection;
    m_document->recordChange(tr("Resize %1").arg(Document::describe(sized)), sized, [&] {
        for (TPalmoControl* control : sized)
            place(control, withEdgesMoved(QRect(control->FLeft, control->FTop, control->FWidth, control->FHeight),
                                          dLeft, dTop, dRight, dBottom));
    });
    m_inspector->refresh();
}

void MainWindow::arrangeSelection(Arrangement arrangement, const QString& name)
{
    const std::vector<TPalmoControl*> controls = m_selection;
    if (controls.size() < leastCountFor(arrangement))
        return;
    std::vector<QRect> rects;
    for (const TPalmoControl* control : controls)
        rects.emplace_back(control->FLeft, control->FTop, control->FWidth, control->FHeight);
    const std::vector<QRect> placed = arranged(arrangement, rects);
    m_document->recordChange(tr("%1 (%2)").arg(name, Document::describe(controls)), controls, [&] {
        for (std::size_t i = 0; i < controls.size(); ++i)
            place(controls[i], placed[i]);
    });
    m_inspector->refresh();
}

void MainWindow::buildLayoutMenus()
{
    // The grid: shown and snapped to as the user last chose.
    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    if (!view) {
        view = menuBar()->addMenu(tr("&View"));
        view->setObjectName(QStringLiteral("viewMenu"));
    }
    const auto addSetting = [this, view](const QString& text, const char* objectName, const QString& key, bool byDefault) {
        QAction* action = view->addAction(text);
        action->setObjectName(QLatin1String(objectName));
        action->setCheckable(true);
        action->setChecked(QSettings().value(key, byDefault).toBool());
        connect(action, &QAction::toggled, this, [key](bool on) { QSettings().setValue(key, on); });
        return action;
    };
    QAction* showGrid = addSetting(tr("Show &Grid"), "showGridAction", QStringLiteral("view/showGrid"), true);
    connect(showGrid, &QAction::toggled, m_preview, &PreviewWidget::setShowGrid);
    m_preview->setShowGrid(showGrid->isChecked());
    QAction* snap = addSetting(tr("&Snap to Grid (%1 px)").arg(GridStep), "snapToGridAction",
                               QStringLiteral("view/snapToGrid"), false);
    connect(snap, &QAction::toggled, m_preview, &PreviewWidget::setSnapToGrid);
    m_preview->setSnapToGrid(snap->isChecked());

    // Align, size and space the selected controls after the first selected.
    struct Command {
        Arrangement arrangement;
        const char* text;
        const char* objectName;
    };
    static const Command commands[] = {
        {Arrangement::AlignLefts, QT_TR_NOOP("Align &Lefts"), "alignLeftsAction"},
        {Arrangement::AlignRights, QT_TR_NOOP("Align &Rights"), "alignRightsAction"},
        {Arrangement::AlignTops, QT_TR_NOOP("Align &Tops"), "alignTopsAction"},
        {Arrangement::AlignBottoms, QT_TR_NOOP("Align &Bottoms"), "alignBottomsAction"},
        {Arrangement::AlignHorizontalCenters, QT_TR_NOOP("Align &Horizontal Centres"), "alignHorizontalCentersAction"},
        {Arrangement::AlignVerticalCenters, QT_TR_NOOP("Align &Vertical Centres"), "alignVerticalCentersAction"},
        {Arrangement::SameWidth, QT_TR_NOOP("Make Same &Width"), "sameWidthAction"},
        {Arrangement::SameHeight, QT_TR_NOOP("Make Same H&eight"), "sameHeightAction"},
        {Arrangement::SameSize, QT_TR_NOOP("Make Same &Size"), "sameSizeAction"},
        {Arrangement::SpaceAcross, QT_TR_NOOP("Space Evenly &Across"), "spaceAcrossAction"},
        {Arrangement::SpaceDown, QT_TR_NOOP("Space Evenly &Down"), "spaceDownAction"},
    };
    QMenu* format = menuBar()->addMenu(tr("F&ormat"));
    format->setObjectName(QStringLiteral("formatMenu"));
    for (const Command& command : commands) {
        if (command.arrangement == Arrangement::SameWidth || command.arrangement == Arrangement::SpaceAcross)
            format->addSeparator();
        const QString text = tr(command.text);
        QAction* action = format->addAction(text, this, [this, command, text] {
            arrangeSelection(command.arrangement, QString(text).remove(QLatin1Char('&')));
        });
        action->setObjectName(QLatin1String(command.objectName));
        m_layoutActions.emplace_back(action, leastCountFor(command.arrangement));
    }
    updateLayoutActions();
}

void MainWindow::updateLayoutActions()
{
    for (const auto& [action, least] : m_layoutActions)
        action->setEnabled(m_selection.size() >= least);
}

void MainWindow::deleteSelection()
{
    const std::vector<TPalmoControl*> doomed = m_selection;
    setSelection({});
    m_document->removeControls(doomed);
}

void MainWindow::updateTitle()
{
    setWindowTitle(tr("%1[*] - Palmo Form Designer").arg(m_document->displayName()));
    setWindowModified(m_document->isModified());
}

void MainWindow::showError(const QString& title, const QString& message)
{
    statusBar()->showMessage(message, 15000);
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("errorBox"));
    box.button(QMessageBox::Ok)->setText(tr("&OK"));
    box.exec();
}

void MainWindow::showProblems(const QString& title, const QString& headline, const QString& path,
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
    statusBar()->showMessage(tr("%1 was not opened: %2 problems").arg(path).arg(problems.size()), 15000);
    ProblemsDialog dialog(title, headline, problems, this);
    dialog.exec();
}

bool MainWindow::maybeSave()
{
    if (!m_document->isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Unsaved Changes"),
                    tr("%1 has changes that are not saved.").arg(m_document->displayName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
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

bool MainWindow::offerRecovery()
{
    bool restored = false;
    for (const RecoveryCopy& copy : RecoveryStore::leftBehind()) {
        const QString name = copy.originalFile.isEmpty() ? tr("an untitled form") : copy.originalFile;
        QMessageBox box(QMessageBox::Question, tr("Recover Unsaved Changes"),
                        tr("A designer did not close properly. It kept the unsaved changes to %1, as they were at %2.")
                            .arg(name, QLocale().toString(copy.written.toLocalTime(), QLocale::LongFormat)),
                        QMessageBox::NoButton, this);
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
            statusBar()->showMessage(tr("The unsaved changes to %1 are kept for the next start").arg(name), 8000);
            continue;
        }
        m_document->adoptRecovered(*result.form, copy.originalFile);
        RecoveryStore::discard(copy);
        statusBar()->showMessage(tr("Restored the unsaved changes to %1").arg(name), 8000);
        restored = true;
    }
    return restored;
}

bool MainWindow::newForm()
{
    if (!maybeSave())
        return false;
    m_document->newForm();
    return true;
}

bool MainWindow::openForm(const QString& path)
{
    // The file is read first: one that does not load is said at once and leaves the open form
    // exactly as it was, without asking about its changes.
    QByteArray contents;
    FormReadResult result = FormFile::read(path, &contents);
    if (!result.form) {
        showProblems(tr("Cannot Open Form"), tr("%1 was not opened:").arg(path), path, result.problems);
        return false;
    }
    if (!maybeSave())
        return false;
    m_document->adoptFile(*result.form, path, contents);
    rememberRecent(m_document->fileName());
    statusBar()->showMessage(tr("Opened %1").arg(m_document->fileName()), 5000);
    return true;
}

bool MainWindow::save()
{
    // A restored copy's file is only a suggestion, to be confirmed in the file dialog.
    if (m_document->fileName().isEmpty() || !m_document->fileConfirmed())
        return chooseFileAndSave();
    if (m_document->changedOnDisk()) {
        QMessageBox box(QMessageBox::Warning, tr("File Changed on Disk"),
                        tr("%1 was changed by another program since it was opened or saved here.")
                            .arg(m_document->fileName()),
                        QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("changedOnDiskBox"));
        box.setInformativeText(tr("Overwrite it with this form, losing those changes, or save this form under another name?"));
        QPushButton* overwrite = box.addButton(tr("&Overwrite"), QMessageBox::DestructiveRole);
        QPushButton* other = box.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel)->setText(tr("&Cancel"));
        box.setDefaultButton(other);
        box.exec();
        if (box.clickedButton() == other)
            return chooseFileAndSave();
        if (box.clickedButton() != overwrite)
            return false;
    }
    return saveAs(m_document->fileName());
}

bool MainWindow::saveAs(const QString& path)
{
    const QString target = path.isEmpty() ? m_document->fileName() : path;
    const bool existed = QFileInfo::exists(target);
    const QString failure = m_document->save(path);
    if (!failure.isEmpty())
        return saveFailed(target, existed, failure);
    rememberRecent(m_document->fileName());
    statusBar()->showMessage(tr("Saved %1").arg(m_document->fileName()), 5000);
    return true;
}

bool MainWindow::saveFailed(const QString& path, bool existed, const QString& failure)
{
    statusBar()->showMessage(failure, 15000);
    const QString what = existed ? tr("The form was not saved, and %1 on disk is as it was.").arg(path)
                                 : tr("The form was not saved: nothing was written, and no file exists at %1.").arg(path);
    QMessageBox box(QMessageBox::Warning, tr("Cannot Save Form"), what, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("saveFailedBox"));
    box.setInformativeText(tr("%1.\n\nSave As saves the form somewhere else.").arg(failure));
    QPushButton* other = box.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ok->setText(tr("&OK"));
    box.setEscapeButton(ok);
    box.setDefaultButton(other);
    box.exec();
    return box.clickedButton() == other && chooseFileAndSave();
}

bool MainWindow::chooseFileAndSave()
{
    QString path = QFileDialog::getSaveFileName(this, tr("Save Form As"), m_document->fileName(), FileFilter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".cvform");
    return saveAs(path);
}

void MainWindow::rememberRecent(const QString& path)
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

void MainWindow::fillRecentMenu()
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

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Shown, the window has its frame: it fits with it.
    fitToScreen();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/state"), saveState());
    event->accept();
}
