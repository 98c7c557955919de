#include "views/WindowAccessibility.h"

#include "views/AccessibleEvents.h"
#include "views/ContrastView.h"
#include "views/InspectorAccessibility.h"
#include "views/PropertyInspector.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QLineEdit>
#include <QListView>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

WindowAccessibility::WindowAccessibility(const WindowViews& views, ContrastView* readability) : QObject(views.window)
{
    QMainWindow* window = views.window;
    PropertyInspector* inspector = views.inspector;
    views.controlList->setAccessibleName(tr("Controls"));
    inspector->setAccessibleName(tr("Property inspector"));
    inspector->view()->setAccessibleName(tr("Properties"));
    keepRowFocusTrue(inspector->view());
    inspector->filterBox()->setAccessibleName(tr("Filter properties"));
    views.packages->setAccessibleName(tr("Packages"));
    if (auto* palette = window->findChild<QToolBar*>(QStringLiteral("palette")))
        palette->setAccessibleName(tr("Palette"));
    if (readability) {
        readability->setAccessibleName(tr("Readability"));
        readability->list()->setAccessibleName(tr("Readability findings"));
        keepRowFocusTrue(readability->list());
        readability->filter()->setAccessibleName(tr("Show findings of"));
        readability->filter()->view()->setAccessibleName(tr("Show findings of"));
        // The count after a change, spoken once the view has caught up with a burst of changes
        // (an undo of many); the summary says it in full.
        auto* settle = new QTimer(this);
        settle->setSingleShot(true);
        settle->setInterval(0);
        connect(readability, &ContrastView::findingCountChanged, settle, qOverload<>(&QTimer::start));
        connect(settle, &QTimer::timeout, this, [this, readability] {
            const int count = readability->findingCount();
            if (count == m_toldCount)
                return;
            m_toldCount = count;
            announce(readability, count == 0   ? tr("No readability findings")
                                  : count == 1 ? tr("1 readability finding")
                                               : tr("%1 readability findings").arg(count));
        });
        m_toldCount = readability->findingCount();
    }

    // The status bar's messages are heard as they are seen.
    QStatusBar* status = window->statusBar();
    status->setAccessibleName(tr("Status"));
    connect(status, &QStatusBar::messageChanged, window, [status](const QString& message) {
        announce(status, message);
    });
    // A refusal on the line below the rows interrupts whatever is being said.
    connect(inspector, &PropertyInspector::errorReported, window, [inspector](const QString& message) {
        if (auto* line = inspector->findChild<QLabel*>(QStringLiteral("inspectorError")); line && !message.isEmpty())
            raiseAlert(line);
    });
}
