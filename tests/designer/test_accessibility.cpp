// The designer as a screen reader and a keyboard-only user meet it: the accessible tree of the
// demo form, what is raised as the selection and the places change, and the keys that carry the
// keyboard from one view to the next. Expected names, roles and places are read off
// examples/demo.cvform by hand (a button is 96 × 36 unless sized, a popup 240 × 160).
#include "support/DesignerSupport.h"

#include "views/AccessibleEvents.h"
#include "views/ContrastView.h"
#include "views/InspectorAccessibility.h"
#include "views/PackagesView.h"
#include "views/PreviewWidget.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

namespace {

struct Raised {
    QAccessible::Event type;
    QObject* object;
    int child;
    QString message;  // an announcement's
};

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setAccessibleEventTap([this](QAccessibleEvent* event) {
            QString Message;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
            if (event->type() == QAccessible::Announcement)
                Message = static_cast<QAccessibleAnnouncementEvent*>(event)->message();
#else
            // A notification shown: its name is what a screen reader speaks.
            if (QAccessibleInterface* Shown = event->accessibleInterface();
                event->type() == QAccessible::ObjectShow && Shown && Shown->role() == QAccessible::Notification)
                Message = Shown->text(QAccessible::Name);
#endif
            Events.push_back({event->type(), event->object(), event->child(), Message});
        });
        ASSERT_TRUE(Window.loader().isLoaded());
        Window.resize(1000, 720);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        // On a real display the keyboard reaches only the active window.
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    void TearDown() override { setAccessibleEventTap(nullptr); }

    bool raised(QAccessible::Event type, QObject* object, int child = -1) const
    {
        return std::any_of(Events.begin(), Events.end(),
                           [&](const Raised& e) { return e.type == type && e.object == object && e.child == child; });
    }

    // Whether Text was spoken from the widget: an announcement, or before Qt 6.8 a notification of
    // its window shown with Text as its name.
    bool announced(QWidget* Widget, const QString& Text) const
    {
        return std::any_of(Events.begin(), Events.end(), [&](const Raised& e) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
            return e.type == QAccessible::Announcement && e.object == Widget && e.message == Text;
#else
            return e.type == QAccessible::ObjectShow && e.object->parent() == Widget->window() && e.message == Text;
#endif
        });
    }

    MainWindow Window{CV_PACKAGE_PATH};
    std::vector<Raised> Events;
};

TEST_F(AccessibilityTest, TheDemoFormIsReadAsItsControlsWithRolesNamesPlacesAndSelection)
{
    ASSERT_TRUE(Window.openForm(QStringLiteral(CV_EXAMPLES_DIR "/demo.cvform")));
    QApplication::processEvents();
    PreviewWidget* Preview = Window.preview();
    QAccessibleInterface* Form = QAccessible::queryAccessibleInterface(Preview);
    ASSERT_NE(Form, nullptr);
    EXPECT_EQ(Form->text(QAccessible::Name), "Form preview");

    const struct {
        const char* Name;
        QAccessible::Role Role;
    } Expected[] = {
        {"OkButton, OK", QAccessible::Button},         {"WifiSwitch, OFF", QAccessible::CheckBox},
        {"VolumeTrackbar", QAccessible::Slider},       {"AccountItem, Account", QAccessible::ListItem},
        {"PageDots", QAccessible::PageTabList},        {"TimeSpinner", QAccessible::SpinBox},
        {"ConfirmPopup, Confirm", QAccessible::Dialog},
    };
    ASSERT_EQ(Form->childCount(), 7);
    for (int I = 0; I < 7; ++I) {
        QAccessibleInterface* Child = Form->child(I);
        ASSERT_NE(Child, nullptr);
        EXPECT_EQ(Child->text(QAccessible::Name), Expected[I].Name);
        EXPECT_EQ(Child->role(), Expected[I].Role) << Expected[I].Name;
        EXPECT_EQ(Form->indexOfChild(Child), I);
        EXPECT_EQ(Child->parent(), Form);
    }
    EXPECT_TRUE(Form->child(1)->state().checkable) << "the switch is a toggle button";
    EXPECT_EQ(Form->child(2)->text(QAccessible::Value), "120");
    EXPECT_EQ(Form->child(6)->text(QAccessible::Description), "Left 240, Top 16, Width 240, Height 160, hidden");
    // OkButton at (16, 252), 96 × 36, on the screen where the preview shows it.
    EXPECT_EQ(Form->child(0)->rect(), QRect(Preview->mapToGlobal(QPoint(16, 252)), QSize(96, 36)));
    EXPECT_EQ(Form->childAt(Preview->mapToGlobal(QPoint(20, 260)).x(), Preview->mapToGlobal(QPoint(20, 260)).y()),
              Form->child(0));

    // Selecting from the list: the child is selected; with the keyboard on the preview, focused.
    ASSERT_TRUE(Window.selectControl(QStringLiteral("WifiSwitch")));
    EXPECT_TRUE(Form->child(1)->state().selected);
    EXPECT_FALSE(Form->child(0)->state().selected);
    EXPECT_TRUE(raised(QAccessible::Selection, Preview, 1));
    Preview->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(Form->child(1)->state().focused);
    EXPECT_EQ(Form->focusChild(), Form->child(1));
    EXPECT_TRUE(raised(QAccessible::Focus, Preview, 1));

    // A nudge by key: the place changes, is raised, and the description says the new one.
    Events.clear();
    QTest::keyClick(Preview, Qt::Key_Right);
    QTest::keyClick(Preview, Qt::Key_Down, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_TRUE(raised(QAccessible::LocationChanged, Preview, 1));
    EXPECT_TRUE(raised(QAccessible::DescriptionChanged, Preview, 1));
    const TPalmoControl* Switch = Window.form()->find(QStringLiteral("WifiSwitch"));
    EXPECT_EQ(Form->child(1)->text(QAccessible::Description),
              QStringLiteral("Left 17, Top 16, Width %1, Height %2").arg(Switch->FWidth).arg(Switch->FHeight));

    // Only part rows are expandable, and a failing colour's row says its warning.
    ASSERT_TRUE(Window.selectControl(QStringLiteral("OkButton")));
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf(QStringLiteral("Appearance.TextColor")), "Crimson"));
    QApplication::processEvents();
    QAccessibleInterface* Rows = QAccessible::queryAccessibleInterface(Inspector.view());
    int Expandable = 0;
    for (int I = 0; I < Rows->childCount(); ++I) {
        const QAccessible::State State = Rows->child(I)->state();
        EXPECT_TRUE(State.expandable || !State.expanded) << Rows->child(I)->text(QAccessible::Name).toStdString();
        Expandable += State.expandable;
    }
    EXPECT_EQ(Expandable, 1) << "Appearance";
    const QModelIndex TextColor = Inspector.valueIndex(Inspector.rowOf(QStringLiteral("Appearance.TextColor")));
    EXPECT_TRUE(TextColor.data(Qt::AccessibleDescriptionRole).toString().startsWith("Warning: ")) << "Crimson on Crimson";
    EXPECT_TRUE(TextColor.data(Qt::AccessibleDescriptionRole).toString().contains("Changed from the default"));

    // The count of findings after the change, "Saved" and a refused value are spoken.
    QApplication::processEvents();
    QApplication::processEvents();
    auto* Readability = Window.findChild<ContrastView*>();
    EXPECT_TRUE(announced(Readability, "2 readability findings")) << "Crimson on Crimson and on DarkRed";
    const QTemporaryDir Folder;
    ASSERT_TRUE(Window.saveAs(Folder.filePath("saved.cvform")));
    QApplication::processEvents();
    EXPECT_TRUE(announced(Window.statusBar(), "Saved " + Folder.filePath("saved.cvform")));
    ValueCombo* Editor = OpenInPlaceEditor(Inspector, Inspector.rowOf(QStringLiteral("Appearance.Color")));
    ASSERT_NE(Editor, nullptr);
    QTest::keyClicks(Editor->combo()->lineEdit(), "Blorp");
    QTest::keyClick(Editor->combo()->lineEdit(), Qt::Key_Return);
    ASSERT_FALSE(Editor->message().isEmpty());
    EXPECT_TRUE(raised(QAccessible::Alert, Editor->messageLabel()));
    QApplication::processEvents();
    EXPECT_TRUE(announced(Editor, Editor->message())) << "a bridge that drops the alert still says it";
    EXPECT_EQ(Editor->combo()->lineEdit()->accessibleDescription(), Editor->message()) << "the refusal is in the tree";

    // Nor the Readability filter's list of kinds.
    QAccessibleInterface* Kinds = QAccessible::queryAccessibleInterface(Readability->filter());
    ASSERT_NE(Kinds, nullptr);
    ASSERT_GT(Kinds->childCount(), 0);
    EXPECT_EQ(Kinds->child(0)->text(QAccessible::Name), Readability->filter()->accessibleName());

    // No object the keyboard can reach goes unnamed.
    for (QWidget* Widget : Window.findChildren<QWidget*>()) {
        if (!Widget->isVisible() || !(Widget->focusPolicy() & Qt::TabFocus) || Widget->focusProxy())
            continue;
        QAccessibleInterface* Object = QAccessible::queryAccessibleInterface(Widget);
        ASSERT_NE(Object, nullptr);
        EXPECT_FALSE(Object->text(QAccessible::Name).isEmpty())
            << Widget->metaObject()->className() << " " << Widget->objectName().toStdString();
    }
}

// Two messages at once are both heard, after what the present key raises: the second does not
// rename what the first showed before a screen reader read it. Neither is drawn or takes the
// keyboard.
TEST_F(AccessibilityTest, MessagesInARowAreEachSpokenWhole)
{
    Events.clear();
    announce(Window.statusBar(), "First");
    announce(Window.statusBar(), "Second", Urgency::Alert);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    EXPECT_TRUE(Events.empty()) << "shown after the events of the present key";
#endif
    QApplication::processEvents();
    EXPECT_TRUE(announced(Window.statusBar(), "First"));
    EXPECT_TRUE(announced(Window.statusBar(), "Second"));
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    ASSERT_EQ(Events.size(), 2u);
    for (const Raised& Shown : Events) {
        auto* Notice = qobject_cast<QWidget*>(Shown.object);
        ASSERT_NE(Notice, nullptr);
        EXPECT_EQ(Notice->accessibleName(), Shown.message);
        EXPECT_FALSE(Notice->isVisible() || Notice->focusPolicy() != Qt::NoFocus);
    }
#endif
}

// The properties tree tells a screen reader of a current row only while it has the keyboard, and
// on taking the keyboard it tells of its current row rather than only of itself, with rows above
// hidden by the filter as well.
TEST_F(AccessibilityTest, ThePropertiesTreeTellsOfItsCurrentRowOnlyWithTheKeyboard)
{
    ASSERT_TRUE(Window.openForm(QStringLiteral(CV_EXAMPLES_DIR "/demo.cvform")));
    ASSERT_TRUE(Window.selectControl(QStringLiteral("OkButton")));
    QApplication::processEvents();
    PropertyInspector& Inspector = *Window.inspector();
    QTreeView* Tree = Inspector.view();
    const auto CellName = [](const QModelIndex& Index) {
        const QString Text = Index.data(Qt::AccessibleTextRole).toString();
        return Text.isEmpty() ? Index.data().toString() : Text;
    };
    for (const QString& Filter : {QString(), QStringLiteral("appearance.color")}) {
        Inspector.filterBox()->setFocus();
        QTest::keyClicks(Inspector.filterBox(), Filter);
        QApplication::processEvents();
        const int Row = Inspector.rowOf(QStringLiteral("Appearance.Color"));
        ASSERT_GE(Row, 0);
        Tree->setCurrentIndex(Inspector.valueIndex(Row));
        QAccessibleEvent RowTaken(Tree, QAccessible::Focus);
        RowTaken.setChild(accessibleChildOf(Tree, Tree->currentIndex()));
        ASSERT_NE(RowTaken.accessibleInterface(), nullptr);
        EXPECT_EQ(RowTaken.accessibleInterface()->text(QAccessible::Name), CellName(Tree->currentIndex()));
        EXPECT_EQ(rowFocusOf(Tree, &RowTaken), RowFocus::Dropped) << "the keyboard is in the filter";

        Tree->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(rowFocusOf(Tree, &RowTaken), RowFocus::Passed);
        QAccessibleEvent TreeTaken(Tree, QAccessible::Focus);
        EXPECT_EQ(rowFocusOf(Tree, &TreeTaken), RowFocus::ToCurrentCell);
    }
}

// Each case: where the keyboard is, what the user does, and where the keyboard is then.
TEST_F(AccessibilityTest, TheKeyboardGoesWhereTheNextStepIs)
{
    PropertyInspector& Inspector = *Window.inspector();
    QLineEdit* Filter = Inspector.filterBox();
    const auto focused = [] { return QApplication::focusWidget(); };
    const auto currentPath = [&] {
        const int Row = Inspector.rowOfIndex(Inspector.view()->currentIndex());
        return Row < 0 ? QString() : Inspector.model()->leaves()[Row]->path;
    };

    // Tab walks the views as they are seen, and never stops where nothing shows.
    Window.controlList()->setFocus();
    std::vector<QWidget*> Walked;
    for (int I = 0; I < 12; ++I) {
        Walked.push_back(focused());
        EXPECT_TRUE(focused()->isVisible()) << focused()->objectName().toStdString();
        EXPECT_FALSE(Window.packagesView()->isAncestorOf(focused())) << "the Packages tab is behind Readability's";
        QTest::keyClick(focused(), Qt::Key_Tab, focused() == Window.preview() ? Qt::ControlModifier : Qt::NoModifier);
    }
    const std::vector<QWidget*> Seen{Window.controlList(), Window.preview(), Filter, Inspector.view()};
    EXPECT_TRUE(std::equal(Seen.begin(), Seen.end(), Walked.begin()));

    // Insert from the palette by a click: the keyboard is on the preview with the new control
    // selected, and the arrows move it.
    Window.controlList()->setFocus();
    auto* Palette = Window.findChild<QToolBar*>(QStringLiteral("palette"));
    QWidget* ButtonTool = Palette->widgetForAction(Window.findChild<QAction*>(QStringLiteral("palette_TPalmoButton")));
    QTest::mouseClick(ButtonTool, Qt::LeftButton);
    EXPECT_EQ(focused(), Window.preview());
    ASSERT_EQ(Window.selection().size(), 1u);
    TPalmoControl* Button = Window.selection().front();
    const int Left = Button->FLeft;
    QTest::keyClick(focused(), Qt::Key_Right);
    EXPECT_EQ(Button->FLeft, Left + 1);
    // Insert from the menu by its keys (Alt+I, L for ListItem), the same.
    Window.controlList()->setFocus();
    QTest::keyClick(focused(), Qt::Key_I, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the Insert menu";
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_L);
    // The offscreen platform leaves no window active once a menu closes; a display gives the
    // window back its activation, with the keyboard where the window last had it.
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    EXPECT_EQ(focused(), Window.preview());
    EXPECT_EQ(Window.selection().front()->metaObject()->className(), QByteArray("TPalmoListItem"));

    // Ctrl+F from anywhere in the window goes to the filter; Down or Enter there to the first row
    // the filter keeps.
    ASSERT_TRUE(Window.selectControl(Button->Name()));
    struct Case {
        const char* Name;
        QWidget* From;
        const char* Typed;
        Qt::Key Key;
        QString Path;  // the current row after
    } Cases[] = {
        {"Down from the filter", Window.controlList(), "textcol", Qt::Key_Down, "Appearance.TextColor"},
        {"Enter from the filter", Window.preview(), "caption", Qt::Key_Return, "Appearance.Caption"},
        {"Down from the filter, from the rows", Inspector.view(), "height", Qt::Key_Down, "Height"},
    };
    for (const Case& C : Cases) {
        C.From->setFocus();
        QTest::keyClick(focused(), Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(focused(), Filter) << C.Name;
        QTest::keyClicks(Filter, C.Typed);
        QTest::keyClick(Filter, C.Key);
        EXPECT_EQ(focused(), Inspector.view()) << C.Name;
        EXPECT_EQ(currentPath(), C.Path) << C.Name;
        Filter->clear();
    }

    // Enter on a Readability line puts the keyboard in that colour's value: typing changes it.
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf(QStringLiteral("Appearance.TextColor")), "RoyalBlue"));
    auto* Readability = Window.findChild<ContrastView*>();
    Readability->refresh();
    QTreeView* Lines = Readability->list();
    int Line = -1;
    for (int I = 0; I < Readability->lines()->rowCount() && Line < 0; ++I)
        if (Readability->lines()->index(I, ContrastView::ControlColumn).data().toString() == Button->Name())
            Line = I;
    ASSERT_GE(Line, 0);
    const QString LinePath = Readability->lines()->index(Line, ContrastView::TextColumn).data().toString();
    Window.controlList()->setFocus();
    Lines->setFocus();
    Lines->setCurrentIndex(Readability->lines()->index(Line, 0));
    QTest::keyClick(Lines, Qt::Key_Return);
    ASSERT_NE(ShownEditor(Inspector), nullptr);
    // An editable drop-down holds the keyboard for its entry.
    EXPECT_EQ(focused(), ShownEditor(Inspector)->combo());
    QTest::keyClicks(focused(), "White");
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(Inspector.valueTextAt(Inspector.rowOf(LinePath)), "White");
}

}  // namespace
