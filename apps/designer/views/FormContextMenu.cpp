#include "views/FormContextMenu.h"

#include "views/ControlListModel.h"
#include "views/InPlaceEditing.h"
#include "views/PreviewWidget.h"
#include "core/ControlClasses.h"
#include "core/FormEdits.h"
#include "core/FormModel.h"
#include "core/FormSelection.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QListView>
#include <QMainWindow>
#include <QMenu>

#include <algorithm>

FormContextMenu::FormContextMenu(QMainWindow* window, FormEdits& edits, PreviewWidget* preview, QListView* list)
    : QObject(window),
      m_window(window),
      m_edits(edits),
      m_preview(preview),
      m_list(list),
      m_inPlace(new InPlaceEditing(window, edits, preview, list)),
      m_editText(new QAction(tr("Edit &Text"), this)),
      m_rename(new QAction(tr("Re&name"), this))
{
    m_editText->setObjectName(QStringLiteral("editTextAction"));
    m_rename->setObjectName(QStringLiteral("renameAction"));
    m_rename->setShortcut(QKeySequence(Qt::Key_F2));
    connect(m_editText, &QAction::triggered, this, &FormContextMenu::editText);
    connect(m_rename, &QAction::triggered, this, &FormContextMenu::rename);
    // Delete and F2 act where the controls are, the preview and the list: in the inspector the
    // same keys edit a value.
    for (QAction* action : {windowAction("deleteAction"), m_rename}) {
        if (!action)
            continue;
        action->setShortcutContext(Qt::WidgetShortcut);
        preview->addAction(action);
        list->addAction(action);
    }
    connect(preview, &PreviewWidget::captionEditRequested, this, [this](TPalmoControl* control) {
        m_edits.selection().select(control);
        m_inPlace->editCaption(control);
    });
    connect(&edits.selection(), &FormSelection::changed, this, &FormContextMenu::updateActions);
    preview->installEventFilter(this);
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    updateActions();
}

QAction* FormContextMenu::windowAction(const char* objectName) const
{
    return m_window->findChild<QAction*>(QLatin1String(objectName));
}

void FormContextMenu::updateActions()
{
    const TPalmoControl* current = m_edits.selection().current();
    m_rename->setEnabled(current);
    m_editText->setEnabled(current && !captionPathOf(*current).isEmpty());
}

void FormContextMenu::editText()
{
    m_inPlace->editCaption(m_edits.selection().current());
}

void FormContextMenu::rename()
{
    TPalmoControl* current = m_edits.selection().current();
    if (m_list->hasFocus())
        m_inPlace->renameInList(current);
    else
        m_inPlace->renameInPreview(current);
}

QMenu* FormContextMenu::popup(TPalmoControl* control, QWidget* over, const QPoint& globalPos)
{
    FormSelection& selection = m_edits.selection();
    if (control) {
        // A control of a larger selection stays in it and becomes the current one.
        if (selection.contains(control))
            selection.add(control);
        else
            selection.select(control);
    }
    auto* menu = new QMenu(over);
    menu->setObjectName(QStringLiteral("formContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&](std::initializer_list<const char*> names) {
        if (!menu->isEmpty())
            menu->addSeparator();
        for (const char* name : names)
            if (QAction* action = windowAction(name))
                menu->addAction(action);
    };
    if (control) {
        add({"cutAction", "copyAction", "pasteAction", "duplicateAction", "deleteAction"});
        add({"selectAllAction"});
        add({"bringToFrontAction", "sendToBackAction"});
        menu->addSeparator();
        menu->addAction(m_editText);
        menu->addAction(m_rename);
    } else {
        add({"pasteAction", "selectAllAction"});
        add({"showGridAction", "snapToGridAction"});
    }
    menu->popup(globalPos);
    return menu;
}

bool FormContextMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    auto* request = static_cast<QContextMenuEvent*>(event);
    auto* widget = static_cast<QWidget*>(watched);
    const bool byMouse = request->reason() == QContextMenuEvent::Mouse;
    TPalmoControl* control = nullptr;
    if (watched == m_preview)
        control = byMouse ? m_preview->controlAt(request->pos()) : m_edits.selection().current();
    else if (byMouse)
        control = static_cast<const ControlListModel*>(m_list->model())->controlAt(m_list->indexAt(request->pos()));
    else
        control = m_edits.selection().current();
    // From the keyboard (the Menu key, Shift+F10) the menu opens at the control it is about.
    QPoint at = request->globalPos();
    if (!byMouse && control && watched == m_preview)
        at = m_preview->mapToGlobal(QPoint(std::clamp(control->FLeft, 0, std::max(0, m_preview->width() - 8)),
                                           std::clamp(control->FTop, 0, std::max(0, m_preview->height() - 8))));
    popup(control, widget, at);
    return true;
}
