// The form's context menu and in-place text as a user works them: a right-click on a control of
// the selection keeps the selection and offers its commands, whose choice is one undo step; a
// right-click on another control selects it first; the empty preview offers the form's commands;
// a double-click edits the caption where it is. Delete names how many controls it deletes, and
// Ctrl+A selects every control except in a text field.
#include "core/Document.h"
#include "views/PreviewWidget.h"
#include "support/DesignerSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

namespace {

QStringList ActionNamesOf(const QMenu& Menu)
{
    QStringList Names;
    for (const QAction* Action : Menu.actions())
        if (!Action->isSeparator())
            Names << Action->objectName();
    return Names;
}

// A right-click as the window system delivers it, at a point of the preview; the menu it opens.
QMenu* RightClick(MainWindow& Window, const QPoint& At)
{
    QTest::mouseClick(Window.windowHandle(), Qt::RightButton, {}, Window.preview()->mapTo(&Window, At));
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QPoint CentreOf(const TPalmoControl* Control)
{
    return {Control->FLeft + Control->FWidth / 2, Control->FTop + Control->FHeight / 2};
}

TEST(ContextMenu, ARightClickOffersTheSelectionsCommandsAsTheMenusHaveThem)
{
    MainWindow Window(CV_PACKAGE_PATH);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    TPalmoControl* First = Window.addControl("TPalmoButton");
    TPalmoControl* Second = Window.addControl("TPalmoButton");
    TPalmoControl* Third = Window.addControl("TPalmoButton");
    Window.setSelection({Second, First});

    QMenu* Menu = RightClick(Window, CentreOf(First));
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(ActionNamesOf(*Menu),
              QStringList({"cutAction", "copyAction", "pasteAction", "duplicateAction", "deleteAction", "selectAllAction",
                           "bringToFrontAction", "sendToBackAction", "editTextAction", "renameAction"}));
    EXPECT_EQ(NamesOf(Window.selection()), QStringList({"PalmoButton2", "PalmoButton1"})) << "the selection stays";
    QAction* Front = nullptr;
    for (QAction* Action : Menu->actions())
        if (Action->objectName() == "bringToFrontAction")
            Front = Action;
    ASSERT_NE(Front, nullptr);
    EXPECT_EQ(Front->shortcut(), QKeySequence("Ctrl+Shift+]"));
    QTest::mouseClick(Menu, Qt::LeftButton, {}, Menu->actionGeometry(Front).center());

    // Both to the front, in the order they had; one step, and undo brings the order back.
    EXPECT_EQ(NamesOf(Window.form()->controls()), QStringList({"PalmoButton3", "PalmoButton1", "PalmoButton2"}));
    EXPECT_EQ(Window.document()->undoStack()->undoText(), "Bring to Front 2 controls");
    EXPECT_EQ(NamesOf(Window.selection()), QStringList({"PalmoButton2", "PalmoButton1"}));
    QStringList ListRows;
    for (const QModelIndex& Row : Window.controlList()->selectionModel()->selectedRows())
        ListRows << Row.data().toString();
    ListRows.sort();
    EXPECT_EQ(ListRows, QStringList({"PalmoButton1", "PalmoButton2"})) << "the list's selection follows its controls";
    Window.document()->undo();
    EXPECT_EQ(NamesOf(Window.form()->controls()), QStringList({"PalmoButton1", "PalmoButton2", "PalmoButton3"}));

    // Another control is selected before its menu opens.
    Menu = RightClick(Window, CentreOf(Third));
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(NamesOf(Window.selection()), QStringList({"PalmoButton3"}));
    Menu->close();

    // The empty preview: the form's commands.
    Menu = RightClick(Window, QPoint(Window.preview()->width() - 4, Window.preview()->height() - 4));
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(ActionNamesOf(*Menu), QStringList({"pasteAction", "selectAllAction", "showGridAction", "snapToGridAction"}));
    Menu->close();

    // A double-click edits the caption over the control: Enter keeps it as one step, Escape not.
    QTest::mouseDClick(Window.preview(), Qt::LeftButton, {}, CentreOf(Second));
    auto* Line = Window.preview()->findChild<QLineEdit*>("inPlaceEditor");
    ASSERT_TRUE(Line && Line->isVisible());
    EXPECT_EQ(Line->text(), "Button");
    QTest::keyClicks(Line, "OK");
    QTest::keyClick(Line, Qt::Key_Return);
    EXPECT_FALSE(Line->isVisible());
    EXPECT_EQ(Second->property("Appearance").value<QObject*>()->property("Caption").toString(), "OK");
    EXPECT_EQ(Window.document()->undoStack()->undoText(), "Set Appearance.Caption of PalmoButton2");
    const int Steps = Window.document()->undoStack()->count();
    QTest::mouseDClick(Window.preview(), Qt::LeftButton, {}, CentreOf(Second));
    QTest::keyClicks(Line, "Cancel");
    QTest::keyClick(Line, Qt::Key_Escape);
    EXPECT_FALSE(Line->isVisible());
    EXPECT_EQ(Second->property("Appearance").value<QObject*>()->property("Caption").toString(), "OK");
    EXPECT_EQ(Window.document()->undoStack()->count(), Steps);
    EXPECT_EQ(NamesOf(Window.selection()), QStringList({"PalmoButton2"})) << "the edited control stays selected";
    EXPECT_TRUE(Window.preview()->hasFocus());
}

TEST(ContextMenu, DeleteNamesHowManyAndSelectAllLeavesTextFieldsTheirKeys)
{
    MainWindow Window(CV_PACKAGE_PATH);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    auto* Delete = Window.findChild<QAction*>("deleteAction");
    ASSERT_NE(Delete, nullptr);
    EXPECT_EQ(Delete->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_FALSE(Delete->isEnabled()) << "nothing selected";
    TPalmoControl* Button = Window.addControl("TPalmoButton");
    EXPECT_EQ(Delete->text(), "De&lete Control");
    EXPECT_TRUE(Delete->isEnabled());
    Window.addControl("TPalmoButton");
    Window.addControl("TPalmoListItem");

    // Ctrl+A in the list selects every control; in a text field, its text.
    Window.controlList()->setFocus();
    QTest::keyClick(Window.controlList(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Window.selection().size(), 3u);
    EXPECT_EQ(Delete->text(), "De&lete 3 Controls");
    Window.setSelection({Button});
    QTest::mouseDClick(Window.preview(), Qt::LeftButton, {}, CentreOf(Button));
    auto* Line = Window.preview()->findChild<QLineEdit*>("inPlaceEditor");
    ASSERT_TRUE(Line && Line->hasFocus());
    Line->deselect();
    QTest::keyClick(Line, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Line->selectedText(), "Button");
    EXPECT_EQ(Window.selection().size(), 1u);
    QTest::keyClick(Line, Qt::Key_Escape);

    // Delete in the preview deletes the three, as one step.
    QTest::keyClick(Window.preview(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Window.preview(), Qt::Key_Delete);
    EXPECT_EQ(Window.form()->count(), 0);
    EXPECT_EQ(Window.document()->undoStack()->undoText(), "Delete 3 controls");
    EXPECT_FALSE(Delete->isEnabled());
    EXPECT_EQ(Delete->text(), "De&lete Control");
}

// F2 in the list renames in place; a refused name is said and the old one stays.
TEST(ContextMenu, F2InTheListRenamesAndARefusedNameKeepsTheOld)
{
    MainWindow Window(CV_PACKAGE_PATH);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    Window.addControl("TPalmoButton");
    TPalmoControl* Slider = Window.addControl("TPalmoTrackbar");
    for (const char* Typed : {"PalmoButton1", "Slider"}) {
        Window.controlList()->setFocus();
        QTest::keyClick(Window.controlList(), Qt::Key_F2);
        auto* Line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(Line, nullptr);
        EXPECT_EQ(Line->text(), Slider->Name());
        Line->setText(Typed);
        QTest::keyClick(Line, Qt::Key_Return);
        QApplication::processEvents();  // the list hands the text over after the key
        if (QLatin1String(Typed) == QLatin1String("PalmoButton1")) {
            EXPECT_EQ(Slider->Name(), "PalmoTrackbar1");
            EXPECT_TRUE(Window.statusBar()->currentMessage().contains("already exists"))
                << Window.statusBar()->currentMessage().toStdString();
        }
    }
    EXPECT_EQ(Slider->Name(), "Slider");
    EXPECT_EQ(Window.document()->undoStack()->undoText(), "Rename PalmoTrackbar1 to Slider");
    Window.document()->undo();
    EXPECT_EQ(Window.document()->undoStack()->undoText(), "Add PalmoTrackbar1") << "the refused name made no step";
}

}  // namespace
