// The Edit menu's clipboard as a user works it: copy puts the selected controls on the clipboard
// as form-file text, paste adds them under free names as one step and selects them, undo takes
// them off, cut is copy and delete as one step, duplicate leaves the clipboard alone, and a text
// that is no snippet is refused in the status bar.
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/Snippet.h"
#include "support/DesignerSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QListView>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

namespace {

TEST(Clipboard, CopyPasteUndoCutAndDuplicateThroughTheEditMenu)
{
    MainWindow Window(CV_PACKAGE_PATH);
    Window.show();
    QApplication::clipboard()->clear();
    Window.addControl("TPalmoButton");
    TPalmoControl* Spinner = Window.addControl("TPalmoSpinner");
    const QPoint SpinnerAt(Spinner->FLeft, Spinner->FTop);
    const auto Action = [&](const char* Name) {
        auto* Found = Window.findChild<QAction*>(QLatin1String(Name));
        EXPECT_NE(Found, nullptr) << Name;
        return Found;
    };
    const auto Select = [&](const QStringList& Names) {
        std::vector<TPalmoControl*> Chosen;
        for (const QString& Name : Names)
            Chosen.push_back(Window.form()->find(Name));
        Window.setSelection(Chosen);
    };
    const auto ClipboardText = [] { return QApplication::clipboard()->mimeData()->data(Snippet::MimeType); };

    Select({});
    for (const char* Name : {"cutAction", "copyAction", "duplicateAction", "pasteAction"})
        EXPECT_FALSE(Action(Name)->isEnabled()) << Name << ": nothing selected, nothing on the clipboard";

    struct Row {
        const char* Action;
        QStringList Selected;
        QStringList Expected;  // the controls on the form afterwards
        QStringList Chosen;    // the selection afterwards
        const char* Step;      // the step Undo names afterwards
    } const Rows[] = {
        {"copyAction", {"PalmoSpinner1", "PalmoButton1"}, {"PalmoButton1", "PalmoSpinner1"}, {"PalmoSpinner1", "PalmoButton1"}, "Add PalmoSpinner1"},
        {"pasteAction", {}, {"PalmoButton1", "PalmoSpinner1", "PalmoButton2", "PalmoSpinner2"}, {"PalmoButton2", "PalmoSpinner2"}, "Paste 2 controls"},
        {"undoAction", {}, {"PalmoButton1", "PalmoSpinner1"}, {}, "Add PalmoSpinner1"},
        {"cutAction", {"PalmoSpinner1"}, {"PalmoButton1"}, {}, "Cut PalmoSpinner1"},
        {"pasteAction", {}, {"PalmoButton1", "PalmoSpinner1"}, {"PalmoSpinner1"}, "Paste PalmoSpinner1"},
        {"duplicateAction", {"PalmoButton1"}, {"PalmoButton1", "PalmoSpinner1", "PalmoButton2"}, {"PalmoButton2"}, "Duplicate PalmoButton1"},
    };
    QUndoStack* Stack = Window.document()->undoStack();
    QByteArray Copied;
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Action);
        Select(R.Selected);
        const int Steps = Stack->index();
        ASSERT_TRUE(Action(R.Action)->isEnabled());
        Action(R.Action)->trigger();
        EXPECT_EQ(NamesOf(Window.form()->controls()), R.Expected);
        EXPECT_EQ(NamesOf(Window.selection()), R.Chosen);
        EXPECT_EQ(Stack->undoText(), R.Step);
        const bool Changes = QLatin1String(R.Action) != QLatin1String("copyAction");
        const int Expected = !Changes ? Steps : QLatin1String(R.Action) == QLatin1String("undoAction") ? Steps - 1 : Steps + 1;
        EXPECT_EQ(Stack->index(), Expected) << "one step each";
        if (QLatin1String(R.Action) == QLatin1String("copyAction") || QLatin1String(R.Action) == QLatin1String("cutAction"))
            Copied = ClipboardText();
        EXPECT_EQ(ClipboardText(), Copied) << "only copy and cut set the clipboard";
    }
    // Cut and pasted back into a form where its place is free: the same place, the same name.
    EXPECT_EQ(QPoint(Window.form()->control(1)->FLeft, Window.form()->control(1)->FTop), SpinnerAt);
    // What was copied is the form file of just those controls, as text for any editor too.
    EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), Copied);
    EXPECT_TRUE(Copied.startsWith("{\n  \"format\": \"cvform\""));

    // The same text from a text editor pastes; a text that is no snippet is refused and says where.
    QApplication::clipboard()->setText("{ \"format\": \"cvform\", \"version\": 1, \"components\": [ 7 ] }");
    const QStringList Before = FormFile::dump(*Window.form());
    const int Steps = Stack->count();
    Action("pasteAction")->trigger();
    EXPECT_EQ(FormFile::dump(*Window.form()), Before);
    EXPECT_EQ(Stack->count(), Steps);
    EXPECT_EQ(Window.statusBar()->currentMessage(), "Nothing pasted: <clipboard>:1:53: a component needs an object, not a number");
    QApplication::clipboard()->setText(QString::fromUtf8(Copied));
    Action("pasteAction")->trigger();
    EXPECT_EQ(NamesOf(Window.selection()), (QStringList{"PalmoSpinner2"}));

    // The keys reach the actions from the control list where the user works.
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    Window.controlList()->setFocus();
    Select({"PalmoButton1"});
    QTest::keyClick(Window.controlList(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(NamesOf(Window.selection()), (QStringList{"PalmoButton3"}));
    QTest::keyClick(Window.controlList(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Window.form()->find("PalmoButton3"), nullptr);
    QTest::keyClick(Window.controlList(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(NamesOf(Window.selection()), (QStringList{"PalmoButton3"}));
}

}  // namespace
