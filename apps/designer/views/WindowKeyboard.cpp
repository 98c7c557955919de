#include "views/WindowKeyboard.h"

#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"
#include "views/ValueCombo.h"

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QComboBox>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QListView>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>

namespace {

// The widgets of a view that the Tab key stops at, in the view's own order.
QList<QWidget*> tabStopsIn(QWidget* view)
{
    QList<QWidget*> stops;
    if (!view)
        return stops;
    for (QWidget* widget : view->findChildren<QWidget*>())
        if (widget->focusPolicy() & Qt::TabFocus && !widget->focusProxy() && widget->window() == view->window())
            stops << widget;
    // As they are laid out: row by row from the top (a widget whose middle lies within the first
    // widget of a row is in that row), each row from the left.
    const auto placeOf = [view](QWidget* widget) { return QRect(widget->mapTo(view, QPoint()), widget->size()); };
    std::stable_sort(stops.begin(), stops.end(),
                     [&](QWidget* a, QWidget* b) { return placeOf(a).center().y() < placeOf(b).center().y(); });
    for (qsizetype first = 0; first < stops.size();) {
        const QRect head = placeOf(stops[first]);
        qsizetype end = first + 1;
        while (end < stops.size() && placeOf(stops[end]).center().y() <= head.bottom())
            ++end;
        std::stable_sort(stops.begin() + first, stops.begin() + end,
                         [&](QWidget* a, QWidget* b) { return placeOf(a).x() < placeOf(b).x(); });
        first = end;
    }
    return stops;
}

}  // namespace

WindowKeyboard::WindowKeyboard(const WindowViews& views) : QObject(views.window), m_views(views)
{
    QMainWindow* window = views.window;
    PropertyInspector* inspector = views.inspector;
    // Ctrl+F from anywhere in the window, not only from the inspector.
    auto* find = new QAction(tr("Find Property"), window);
    find->setObjectName(QStringLiteral("findPropertyAction"));
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, window, [inspector] {
        QLineEdit* filter = inspector->filterBox();
        filter->setFocus(Qt::ShortcutFocusReason);
        filter->selectAll();
    });
    window->addAction(find);
    m_filter = inspector->filterBox();
    m_filter->installEventFilter(this);
    // A dock behind another's tab is not hidden by Qt, only covered: its widgets would still be
    // Tab stops the user cannot see. Its content is hidden while its tab is not the one shown.
    for (QDockWidget* dock : window->findChildren<QDockWidget*>())
        connect(dock, &QDockWidget::visibilityChanged, this, &WindowKeyboard::hideCoveredDocksSoon);
    window->installEventFilter(this);
    hideCoveredDocksSoon();
}

void WindowKeyboard::hideCoveredDocksSoon()
{
    QMetaObject::invokeMethod(this, &WindowKeyboard::hideCoveredDocks, Qt::QueuedConnection);
}

void WindowKeyboard::hideCoveredDocks()
{
    const QList<QDockWidget*> docks = m_views.window->findChildren<QDockWidget*>();
    QHash<QDockWidget*, bool> shown;
    // The window's tab bars of docked tabs name each tab's dock by its address in the tab's data.
    for (QTabBar* tabs : m_views.window->findChildren<QTabBar*>(Qt::FindDirectChildrenOnly)) {
        if (tabs->count() > 0 && !m_tabBars.contains(tabs)) {
            m_tabBars.insert(tabs);
            connect(tabs, &QTabBar::currentChanged, this, &WindowKeyboard::hideCoveredDocksSoon);
        }
        for (int tab = 0; tabs->isVisible() && tab < tabs->count(); ++tab) {
            const quintptr id = tabs->tabData(tab).value<quintptr>();
            for (QDockWidget* dock : docks)
                if (reinterpret_cast<quintptr>(dock) == id)
                    shown[dock] = tab == tabs->currentIndex();
        }
    }
    for (QDockWidget* dock : docks)
        if (QWidget* content = dock->widget(); content && content->isHidden() == shown.value(dock, true))
            content->setVisible(shown.value(dock, true));
}

void WindowKeyboard::orderTabStops()
{
    // The views as they are seen: the palette above, then left to right, then the docks below.
    QList<QWidget*> chain;
    if (auto* palette = m_views.window->findChild<QToolBar*>(QStringLiteral("palette")))
        chain << tabStopsIn(palette);
    chain << m_views.controlList << m_views.preview << m_views.inspector->filterBox() << m_views.inspector->view();
    for (QDockWidget* dock : m_views.window->findChildren<QDockWidget*>())
        chain << tabStopsIn(dock->widget());
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

bool WindowKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_views.window && event->type() == QEvent::Show) {
        hideCoveredDocksSoon();
        // Laid out now: the order follows the places the widgets have.
        QMetaObject::invokeMethod(this, &WindowKeyboard::orderTabStops, Qt::QueuedConnection);
    }
    // Only pointers are compared before the event is known to be a key in the filter: the window
    // sends events on while it is being destroyed, when its views may be gone.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        PropertyInspector* inspector = m_views.inspector;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        const bool goes = key->key() == Qt::Key_Down || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (plain && goes) {
            // The first property the filter keeps becomes the current row, with the keyboard on it.
            for (int row = 0; row < inspector->rowCount(); ++row)
                if (inspector->isRowShown(row)) {
                    inspector->view()->setCurrentIndex(inspector->valueIndex(row).siblingAtColumn(0));
                    inspector->view()->setFocus(Qt::TabFocusReason);
                    return true;
                }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool focusValueEditor(PropertyInspector& inspector, int row)
{
    ValueCombo* editor = row >= 0 ? inspector.openInPlaceEditor(row) : nullptr;
    if (!editor)
        return false;
    QWidget* entry = editor->combo()->lineEdit() ? static_cast<QWidget*>(editor->combo()->lineEdit()) : editor->combo();
    entry->setFocus(Qt::OtherFocusReason);
    if (QLineEdit* line = editor->combo()->lineEdit())
        line->selectAll();
    return true;
}
