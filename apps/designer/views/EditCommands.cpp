#include "views/EditCommands.h"

#include "views/PaletteDrag.h"
#include "views/ElidingStatusBar.h"

#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"
#include "core/Arrange.h"
#include "core/ControlClasses.h"
#include "core/Document.h"
#include "core/FormEdits.h"
#include "core/FormModel.h"
#include "core/FormSelection.h"
#include "core/Snippet.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

namespace {

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

EditCommands::EditCommands(QMainWindow* window, FormEdits& edits, PreviewWidget* preview, PropertyInspector* inspector)
    : QObject(window), m_window(window), m_edits(edits), m_preview(preview), m_inspector(inspector)
{
    connect(&edits.selection(), &FormSelection::changed, this, [this] {
        updateLayoutActions();
        updateClipboardActions();
    });
}

TPalmoControl* EditCommands::addControl(const QString& className)
{
    TPalmoControl* added = m_edits.add(className, m_preview->size());
    // The keyboard goes to the preview, where the new control is selected: the arrows move it.
    if (added)
        m_preview->setFocus(Qt::OtherFocusReason);
    return added;
}

void EditCommands::buildEditMenu(QMenu* edit)
{
    Document* document = &m_edits.document();
    // The document's undo and redo, not the stack's own: they wait while a change is recorded.
    QAction* undo = edit->addAction(tr("&Undo"), document, &Document::undo);
    undo->setObjectName(QStringLiteral("undoAction"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QAction* redo = edit->addAction(tr("&Redo"), document, &Document::redo);
    redo->setObjectName(QStringLiteral("redoAction"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    const auto syncUndo = [document, undo, redo] {
        const QUndoStack* stack = document->undoStack();
        undo->setEnabled(document->canUndo());
        undo->setText(stack->undoText().isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(stack->undoText()));
        redo->setEnabled(document->canRedo());
        redo->setText(stack->redoText().isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(stack->redoText()));
    };
    connect(document, &Document::undoStateChanged, this, syncUndo);
    syncUndo();
    // The keys work wherever the focus is in the window, also with no menu bar shown.
    m_window->addAction(undo);
    m_window->addAction(redo);
    edit->addSeparator();
    buildClipboardActions(edit);
    // Delete's key is given to the preview and the control list (FormContextMenu): elsewhere it
    // edits text.
    m_deleteAction = edit->addAction(tr("De&lete Control"), this, &EditCommands::deleteSelection);
    m_deleteAction->setObjectName(QStringLiteral("deleteAction"));
    m_deleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    edit->addSeparator();
    // From anywhere in the window; an entry that edits text takes its own Ctrl+A first.
    QAction* selectAll = edit->addAction(tr("Select &All"), this, [this] {
        m_edits.selection().setControls(m_edits.form().controls());
    });
    selectAll->setObjectName(QStringLiteral("selectAllAction"));
    selectAll->setShortcuts(QKeySequence::keyBindings(QKeySequence::SelectAll));
    m_window->addAction(selectAll);
    updateClipboardActions();
}

void EditCommands::buildClipboardActions(QMenu* edit)
{
    const auto add = [&](const QString& text, const char* name, const QList<QKeySequence>& keys, auto slot) {
        QAction* action = edit->addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        // The keys work wherever the focus is in the window; an entry that edits text takes its
        // own Ctrl+C, Ctrl+V and Ctrl+X first.
        m_window->addAction(action);
        return action;
    };
    const auto keys = [](QKeySequence::StandardKey key) { return QKeySequence::keyBindings(key); };
    QAction* cut = add(tr("Cu&t"), "cutAction", keys(QKeySequence::Cut), &EditCommands::cutSelection);
    QAction* copy = add(tr("&Copy"), "copyAction", keys(QKeySequence::Copy), &EditCommands::copySelection);
    m_pasteAction = add(tr("&Paste"), "pasteAction", keys(QKeySequence::Paste), &EditCommands::paste);
    QAction* duplicate = add(tr("&Duplicate"), "duplicateAction", {QKeySequence(Qt::CTRL | Qt::Key_D)}, &EditCommands::duplicateSelection);
    m_selectionActions = {cut, copy, duplicate};
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::updateClipboardActions);
    updateClipboardActions();
}

void EditCommands::buildInsertMenu(QMenuBar* bar)
{
    QMenu* insert = bar->addMenu(tr("&Insert"));
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

void EditCommands::updateClipboardActions()
{
    for (QAction* action : m_selectionActions)
        action->setEnabled(!m_edits.selection().isEmpty());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    m_pasteAction->setEnabled(data && (data->hasFormat(QLatin1String(Snippet::MimeType)) || data->hasText()));
    if (m_deleteAction) {
        const std::size_t selected = m_edits.selection().size();
        m_deleteAction->setEnabled(selected > 0);
        m_deleteAction->setText(selected > 1 ? tr("De&lete %1 Controls").arg(selected) : tr("De&lete Control"));
    }
}

bool EditCommands::copySelection()
{
    const std::vector<TPalmoControl*> copied = m_edits.selection().inFormOrder();
    if (copied.empty()) {
        ElidingStatusBar::refuse(m_window->statusBar(), tr("Nothing copied: select the controls to copy first"));
        return false;
    }
    // The same text twice: as the designer's own format, and as text for any text editor.
    const QByteArray text = Snippet::snippetOf(copied);
    auto* data = new QMimeData;
    data->setData(QLatin1String(Snippet::MimeType), text);
    data->setText(QString::fromUtf8(text));
    QGuiApplication::clipboard()->setMimeData(data);
    m_window->statusBar()->showMessage(tr("Copied %1").arg(Document::describe(copied)), 5000);
    return true;
}

bool EditCommands::cutSelection()
{
    const std::vector<TPalmoControl*> cut = m_edits.selection().inFormOrder();
    if (!copySelection())
        return false;
    m_edits.cut(cut);
    m_window->statusBar()->showMessage(tr("Cut %1").arg(Document::describe(cut)), 5000);
    return true;
}

bool EditCommands::paste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !(data->hasFormat(QLatin1String(Snippet::MimeType)) || data->hasText())) {
        ElidingStatusBar::refuse(m_window->statusBar(), tr("Nothing pasted: the clipboard holds no controls"));
        return false;
    }
    // Another designer's controls come in our own format; a text editor's as text.
    const QByteArray text = data->hasFormat(QLatin1String(Snippet::MimeType)) ? data->data(QLatin1String(Snippet::MimeType))
                                                                               : data->text().toUtf8();
    return pasteText(text, QLatin1String(Snippet::ClipboardName));
}

bool EditCommands::duplicateSelection()
{
    if (m_edits.selection().isEmpty()) {
        ElidingStatusBar::refuse(m_window->statusBar(), tr("Nothing duplicated: select the controls to duplicate first"));
        return false;
    }
    const QString error = m_edits.duplicate();
    if (!error.isEmpty()) {
        ElidingStatusBar::refuse(m_window->statusBar(), tr("Nothing pasted: %1").arg(error));
        return false;
    }
    m_window->statusBar()->showMessage(tr("Pasted %1").arg(Document::describe(m_edits.selection().controls())), 5000);
    return true;
}

bool EditCommands::pasteText(const QByteArray& text, const QString& sourceName)
{
    const QString error = m_edits.paste(text, sourceName);
    if (!error.isEmpty()) {
        ElidingStatusBar::refuse(m_window->statusBar(), tr("Nothing pasted: %1").arg(error));
        return false;
    }
    m_window->statusBar()->showMessage(tr("Pasted %1").arg(Document::describe(m_edits.selection().controls())), 5000);
    return true;
}

void EditCommands::buildPalette()
{
    auto* palette = m_window->addToolBar(tr("Palette"));
    palette->setObjectName(QStringLiteral("palette"));
    palette->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // A click adds at the next free place; a drag to the preview adds where it is dropped.
    auto* drags = new PaletteDrag(palette);
    for (const ControlClass* controlClass : controlClasses()) {
        const QString className = controlClass->name();
        QAction* action = palette->addAction(paletteCaption(className), this, [this, className] { addControl(className); });
        action->setObjectName(QStringLiteral("palette_%1").arg(className));
        action->setToolTip(tr("Add a %1 to the form, or drag it to its place").arg(className));
        drags->attach(qobject_cast<QAbstractButton*>(palette->widgetForAction(action)), className);
    }
}

void EditCommands::buildLayoutMenus()
{
    // The grid: shown and snapped to as the user last chose.
    QMenu* view = m_window->menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    if (!view) {
        view = m_window->menuBar()->addMenu(tr("&View"));
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
        const char* objectName;
    };
    static const Command commands[] = {
        {Arrangement::AlignLefts, "alignLeftsAction"},
        {Arrangement::AlignRights, "alignRightsAction"},
        {Arrangement::AlignTops, "alignTopsAction"},
        {Arrangement::AlignBottoms, "alignBottomsAction"},
        {Arrangement::AlignHorizontalCenters, "alignHorizontalCentersAction"},
        {Arrangement::AlignVerticalCenters, "alignVerticalCentersAction"},
        {Arrangement::SameWidth, "sameWidthAction"},
        {Arrangement::SameHeight, "sameHeightAction"},
        {Arrangement::SameSize, "sameSizeAction"},
        {Arrangement::SpaceAcross, "spaceAcrossAction"},
        {Arrangement::SpaceDown, "spaceDownAction"},
    };
    QMenu* format = m_window->menuBar()->addMenu(tr("F&ormat"));
    format->setObjectName(QStringLiteral("formatMenu"));
    for (const Command& command : commands) {
        if (command.arrangement == Arrangement::SameWidth || command.arrangement == Arrangement::SpaceAcross)
            format->addSeparator();
        const Arrangement arrangement = command.arrangement;
        QAction* action = format->addAction(FormEdits::arrangementText(arrangement), this,
                                            [this, arrangement] {
                                                if (m_edits.arrange(arrangement))
                                                    m_inspector->refresh();
                                            });
        action->setObjectName(QLatin1String(command.objectName));
        m_layoutActions.emplace_back(action, leastCountFor(command.arrangement));
    }
    buildStackingActions(format);
    updateLayoutActions();
}

void EditCommands::buildStackingActions(QMenu* format)
{
    // The order of the form is the order of painting, of Tab and of the file: the front is last.
    format->addSeparator();
    const auto add = [this, format](const QString& text, const char* name, Qt::Key key, bool toFront,
                                    const QString& already) {
        QAction* action = format->addAction(text, this, [this, toFront, already] {
            const std::vector<TPalmoControl*> chosen = m_edits.selection().inFormOrder();
            const bool moved = toFront ? m_edits.bringToFront() : m_edits.sendToBack();
            if (!moved && !chosen.empty())
                m_window->statusBar()->showMessage(already.arg(Document::describe(chosen)), 5000);
        });
        action->setObjectName(QLatin1String(name));
        // One sequence only: the bracket with Shift arrives as a brace on most layouts, and Qt
        // matches it to this; a second sequence for the brace would make the key ambiguous.
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | key));
        m_window->addAction(action);
        m_layoutActions.emplace_back(action, 1);
    };
    add(tr("Bring to &Front"), "bringToFrontAction", Qt::Key_BracketRight, true,
        tr("%1: in front already"));
    add(tr("Send to Bac&k"), "sendToBackAction", Qt::Key_BracketLeft, false,
        tr("%1: at the back already"));
}

void EditCommands::updateLayoutActions()
{
    for (const auto& [action, least] : m_layoutActions)
        action->setEnabled(m_edits.selection().size() >= least);
}

void EditCommands::deleteSelection()
{
    m_edits.deleteSelected();
}
