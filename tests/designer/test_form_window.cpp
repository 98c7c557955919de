// The designer as a document editor: the palette adds controls, the title shows the file and
// unsaved changes, New, Open and closing ask before dropping changes (Save, Discard, Cancel
// answered through the real message box), a file that does not open and a save that fails leave
// everything as it was, and a rename through the inspector is checked by the form.
#include "core/Document.h"
#include "core/FormFile.h"
#include "views/PreviewWidget.h"
#include "support/DesignerSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>

namespace {

QByteArray Contents(const QString& Path)
{
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

// Presses the message box's button of that role and records the box's text.
std::function<void(QDialog&)> Answer(QMessageBox::StandardButton Button, QString* Text = nullptr)
{
    return [Button, Text](QDialog& Dialog) {
        auto* Box = qobject_cast<QMessageBox*>(&Dialog);
        ASSERT_NE(Box, nullptr) << "a message box asks";
        if (Text)
            *Text = Box->text() + '\n' + Box->informativeText();
        QTest::mouseClick(Box->button(Button), Qt::LeftButton);
    };
}

class FormWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Window.show();
    }
    QString Hint() const { return Window.findChild<QLabel*>("selectionHint")->text(); }
    QString PathOf(const char* Name) const { return Dir.filePath(QString::fromLatin1(Name)); }
    // A saved form with one button, coloured Tomato.
    QString SavedForm()
    {
        Window.addControl("TPalmoButton");
        PropertyInspector& Inspector = *Window.inspector();
        EXPECT_TRUE(Inspector.commitText(Inspector.rowOf("Appearance.Color"), "Tomato"));
        const QString Path = PathOf("saved.cvform");
        EXPECT_TRUE(Window.saveAs(Path));
        return Path;
    }

    QTemporaryDir Dir;
    MainWindow Window{CV_PACKAGE_PATH};
};

TEST_F(FormWindow, ThePaletteAddsAControlUnderTheNextFreeNameAndSelectsIt)
{
    EXPECT_EQ(Hint(), "Add a control from the palette, or open a form");
    auto* Palette = Window.findChild<QToolBar*>("palette");
    ASSERT_NE(Palette, nullptr);
    QAction* Button = Palette->findChild<QAction*>("palette_TPalmoButton");
    ASSERT_NE(Button, nullptr);
    Button->trigger();
    Button->trigger();
    ASSERT_EQ(Window.form()->count(), 2);
    EXPECT_EQ(Window.form()->control(1)->Name(), "PalmoButton2");
    ASSERT_EQ(Window.selection().size(), 1u);
    EXPECT_EQ(Window.selection().front(), Window.form()->control(1));
    EXPECT_EQ(Window.inspector()->objects().front(), Window.form()->control(1));
    const auto Bounds = [](const TPalmoControl* C) { return QRect(C->FLeft, C->FTop, C->FWidth, C->FHeight); };
    const QRect First = Bounds(Window.form()->control(0));
    const QRect Second = Bounds(Window.form()->control(1));
    EXPECT_FALSE(First.intersects(Second)) << "a new control does not land on another";
    EXPECT_EQ(Hint(), "Editing PalmoButton2");
    Window.setSelection({});
    EXPECT_EQ(Hint(), "Select a control in the list or the preview to see its properties");
}

TEST_F(FormWindow, TheTitleShowsTheFileAndUnsavedChanges)
{
    EXPECT_TRUE(Window.windowTitle().startsWith("Untitled"));
    EXPECT_FALSE(Window.isWindowModified());
    const QString Path = SavedForm();
    EXPECT_TRUE(Window.windowTitle().startsWith("saved.cvform"));
    EXPECT_FALSE(Window.isWindowModified()) << "saving clears the mark";
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Left"), "40"));
    EXPECT_TRUE(Window.isWindowModified());
}

TEST_F(FormWindow, NewOpenAndCloseAskBeforeDroppingChanges)
{
    const QString Path = SavedForm();
    const QByteArray Saved = Contents(Path);
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Appearance.Color"), "Gold"));

    // Cancel keeps everything as it was.
    {
        QString Asked;
        ModalDriver Driver(Answer(QMessageBox::Cancel, &Asked));
        EXPECT_FALSE(Window.newForm());
        EXPECT_EQ(Driver.Shown, 1);
        EXPECT_TRUE(Asked.contains("saved.cvform")) << Asked.toStdString();
    }
    EXPECT_EQ(Window.form()->count(), 1);
    EXPECT_TRUE(Window.document()->isModified());
    {
        ModalDriver Driver(Answer(QMessageBox::Cancel));
        EXPECT_FALSE(Window.openForm(Path));
        EXPECT_EQ(Driver.Shown, 1);
    }
    EXPECT_TRUE(Window.document()->isModified());
    EXPECT_EQ(Window.form()->control(0)->property("Appearance").value<TPalmoButtonAppearance*>()->FColor.Value, 0x0000D7FF)
        << "still Gold (red 255, green 215, blue 0)";
    {
        ModalDriver Driver(Answer(QMessageBox::Cancel));
        QCloseEvent Close;
        QApplication::sendEvent(&Window, &Close);
        EXPECT_FALSE(Close.isAccepted()) << "Cancel keeps the window open";
        EXPECT_EQ(Driver.Shown, 1);
    }
    EXPECT_EQ(Contents(Path), Saved) << "nothing was written";

    // Discard drops the changes and goes on.
    {
        ModalDriver Driver(Answer(QMessageBox::Discard));
        EXPECT_TRUE(Window.newForm());
    }
    EXPECT_EQ(Window.form()->count(), 0);
    EXPECT_FALSE(Window.document()->isModified());
    EXPECT_EQ(Contents(Path), Saved);
    EXPECT_EQ(Hint(), "Add a control from the palette, or open a form");

    // Save writes them first.
    ASSERT_TRUE(Window.openForm(Path));
    EXPECT_EQ(Hint(), "Select a control in the list or the preview to see its properties");
    ASSERT_TRUE(Window.selectControl("PalmoButton1"));
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Appearance.Color"), "Gold"));
    {
        ModalDriver Driver(Answer(QMessageBox::Save));
        QCloseEvent Close;
        QApplication::sendEvent(&Window, &Close);
        EXPECT_TRUE(Close.isAccepted());
    }
    EXPECT_TRUE(Contents(Path).contains("\"Appearance.Color\": \"Gold\"")) << Contents(Path).toStdString();
}

TEST_F(FormWindow, AFileThatDoesNotOpenLeavesTheFormAsItWas)
{
    const QString Path = SavedForm();
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Top"), "99"));
    const QStringList Before = FormFile::dump(*Window.form());
    const QString Bad = PathOf("bad.cvform");
    QFile File(Bad);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": [ { \"class\": \"TNoSuchThing\" } ]\n}\n");
    File.close();
    QString Said;
    {
        ModalDriver Driver([&](QDialog& Dialog) {
            auto* Box = qobject_cast<QMessageBox*>(&Dialog);
            ASSERT_NE(Box, nullptr);
            Said = Box->text();
            Box->accept();
        });
        EXPECT_FALSE(Window.openForm(Bad));
    }
    EXPECT_TRUE(Said.contains(Bad + ":4:")) << "the message says where: " << Said.toStdString();
    EXPECT_EQ(FormFile::dump(*Window.form()), Before);
    EXPECT_EQ(Window.document()->fileName(), QFileInfo(Path).absoluteFilePath());
    EXPECT_TRUE(Window.document()->isModified()) << "the unsaved change is still unsaved";
}

TEST_F(FormWindow, AFailedSaveSaysWhyAndKeepsTheChangesUnsaved)
{
    Window.addControl("TPalmoSpinner");
    // A folder stands where the file would go: it cannot be replaced by a file.
    const QString Blocked = PathOf("blocked.cvform");
    ASSERT_TRUE(QDir().mkpath(Blocked));
    QString Said;
    {
        ModalDriver Driver([&](QDialog& Dialog) {
            Said = qobject_cast<QMessageBox*>(&Dialog)->text();
            Dialog.accept();
        });
        EXPECT_FALSE(Window.saveAs(Blocked));
    }
    EXPECT_TRUE(Said.contains("not saved")) << Said.toStdString();
    EXPECT_TRUE(Window.document()->isModified());
    EXPECT_TRUE(Window.document()->fileName().isEmpty());
    EXPECT_TRUE(QFileInfo(Blocked).isDir()) << "what was there is still there";
}

TEST_F(FormWindow, SaveAsksBeforeOverwritingAFileAnotherProgramChanged)
{
    const QString Path = SavedForm();
    Window.addControl("TPalmoSpinner");
    {
        ModalDriver Driver([](QDialog&) { ADD_FAILURE() << "nothing to ask: the file is as this designer wrote it"; });
        ASSERT_TRUE(Window.save());
    }
    const QByteArray Theirs = "{ \"written\": \"by another program\" }\n";
    {
        QFile Other(Path);
        ASSERT_TRUE(Other.open(QIODevice::WriteOnly));
        Other.write(Theirs);
    }
    Window.addControl("TPalmoPopup");
    {
        ModalDriver Driver(Answer(QMessageBox::Cancel));
        EXPECT_FALSE(Window.save());
        EXPECT_EQ(Driver.Shown, 1);
    }
    EXPECT_EQ(Contents(Path), Theirs) << "Cancel keeps their file";
    EXPECT_TRUE(Window.document()->isModified());
    {
        ModalDriver Driver([](QDialog& Dialog) {
            EXPECT_EQ(Dialog.objectName(), "changedOnDiskBox");
            for (QAbstractButton* Button : qobject_cast<QMessageBox*>(&Dialog)->buttons())
                if (Button->text() == "&Overwrite")
                    QTest::mouseClick(Button, Qt::LeftButton);
        });
        EXPECT_TRUE(Window.save());
    }
    EXPECT_EQ(Contents(Path), FormFile::serialize(*Window.form()));
}

TEST_F(FormWindow, AnUndoOrRedoOfAnySizeRefreshesTheInspectorOnce)
{
    std::vector<TPalmoControl*> Many;
    for (int I = 0; I < 40; ++I)
        Many.push_back(Window.addControl("TPalmoButton"));
    Window.addControl("TPalmoSpinner");  // selected: its many rows are what a refresh measures
    Window.document()->recordChange("Move", Many, [&] {
        for (TPalmoControl* Control : Many)
            Control->setProperty("Left", Control->FLeft + 1);
    });
    QApplication::processEvents();
    int Refreshes = 0;
    QAbstractItemModel* Model = Window.inspector()->model();
    const QObject Counting;  // the connections end with the count
    QObject::connect(Model, &QAbstractItemModel::dataChanged, &Counting,
                     [&](const QModelIndex& First) { Refreshes += !First.parent().isValid(); });
    QObject::connect(Model, &QAbstractItemModel::modelReset, &Counting, [&] { ++Refreshes; });
    for (const auto& Step : {&Document::undo, &Document::redo}) {
        Refreshes = 0;
        (Window.document()->*Step)();
        QApplication::processEvents();
        EXPECT_EQ(Refreshes, 1);
    }
}

TEST_F(FormWindow, ARunOfNudgesIsOneStepUntilSomethingElseComesBetween)
{
    TPalmoControl* Button = Window.addControl("TPalmoButton");
    const int Left = Button->FLeft;
    QUndoStack* Stack = Window.document()->undoStack();
    const int Steps = Stack->count();
    Window.preview()->setFocus();
    const auto Nudge = [&](int Times, Qt::Key Key) {
        for (int I = 0; I < Times; ++I)
            QTest::keyClick(Window.preview(), Key);
    };
    Nudge(10, Qt::Key_Right);
    Nudge(3, Qt::Key_Down);
    EXPECT_EQ(Stack->count(), Steps + 1) << "one step for the run";
    ASSERT_TRUE(Window.saveAs(PathOf("nudged.cvform")));
    Nudge(2, Qt::Key_Left);
    EXPECT_EQ(Stack->count(), Steps + 2) << "the saved state stays a step of its own";
    Nudge(2, Qt::Key_Right);
    EXPECT_EQ(Stack->count(), Steps + 1) << "back where it was saved: the run is no step at all";
    EXPECT_FALSE(Window.document()->isModified());
    Window.document()->undo();
    EXPECT_EQ(Button->FLeft, Left);
}

TEST_F(FormWindow, ShiftArrowsSizeByAPixelNeverBelowOneAndCtrlASelectsAll)
{
    Window.addControl("TPalmoPopup");
    TPalmoControl* Button = Window.addControl("TPalmoButton");
    const int Width = Button->FWidth, Height = Button->FHeight;
    QUndoStack* Stack = Window.document()->undoStack();
    const int Steps = Stack->count();
    Window.preview()->setFocus();
    for (int I = 0; I < 3; ++I)
        QTest::keyClick(Window.preview(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(Window.preview(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Button->FWidth, Width + 3);
    EXPECT_EQ(Button->FHeight, Height + 1);
    for (int I = 0; I < Height + 5; ++I)
        QTest::keyClick(Window.preview(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Button->FHeight, 1) << "never below a pixel";
    EXPECT_EQ(Stack->count(), Steps + 1) << "one step for the run";
    EXPECT_EQ(Stack->undoText(), "Resize PalmoButton1");

    QTest::keyClick(Window.preview(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Window.selection().size(), 2u);
}

TEST_F(FormWindow, AMessageAboutADeletedControlGoesWithIt)
{
    Window.addControl("TPalmoButton");
    PropertyInspector& Inspector = *Window.inspector();
    EXPECT_FALSE(Inspector.commitText(Inspector.rowOf("Appearance.Color"), "not a colour"));
    ASSERT_FALSE(Window.statusBar()->currentMessage().isEmpty());
    Window.preview()->setFocus();
    QTest::keyClick(Window.preview(), Qt::Key_Delete);
    EXPECT_EQ(Window.statusBar()->currentMessage(), QString());
}

TEST_F(FormWindow, RenamingThroughTheInspectorIsCheckedByTheForm)
{
    Window.addControl("TPalmoButton");
    Window.addControl("TPalmoButton");
    PropertyInspector& Inspector = *Window.inspector();
    const int Name = Inspector.rowOf("Name");
    ASSERT_GE(Name, 0) << "the selected control's name is a row";
    for (const char* Bad : {"", "PalmoButton1", "palmobutton1", "2Fast", "has space"}) {
        SCOPED_TRACE(Bad);
        EXPECT_FALSE(Inspector.commitText(Name, QString::fromLatin1(Bad)));
        EXPECT_TRUE(Inspector.lastError().startsWith("Name")) << Inspector.lastError().toStdString();
        EXPECT_EQ(Inspector.valueTextAt(Name), "PalmoButton2");
    }
    EXPECT_TRUE(Inspector.commitText(Name, "OkButton"));
    EXPECT_EQ(Window.form()->control(1)->Name(), "OkButton");
    EXPECT_EQ(Window.controlList()->model()->index(1, 0).data().toString(), "OkButton");
    EXPECT_TRUE(Window.document()->isModified());
}

// A name typed in place and committed by a click on another row: the commit rebuilds the rows
// while the view is still inside its change of the current row, and the keys that follow go on
// into the editor the click opened.
TEST_F(FormWindow, ACommitThatRebuildsTheRowsKeepsTheEditorTheClickOpened)
{
    Window.addControl("TPalmoSpinner");
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    PropertyInspector& Inspector = *Window.inspector();
    QTreeView* View = Inspector.view();
    const auto ClickValue = [&](const char* Path) {
        const QModelIndex Target = Inspector.valueIndex(Inspector.rowOf(Path));
        QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, View->visualRect(Target).center());
        QApplication::processEvents();
    };
    ValueCombo* Editor = OpenInPlaceEditor(Inspector, Inspector.rowOf("Name"));
    ASSERT_NE(Editor, nullptr);
    Editor->combo()->lineEdit()->setFocus();
    QTest::keyClick(Editor->combo()->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Editor->combo()->lineEdit(), "TimeSpinner");
    ClickValue("Slots.Count");
    EXPECT_EQ(Window.form()->control(0)->Name(), "TimeSpinner");
    EXPECT_EQ(Inspector.valueTextAt(Inspector.rowOf("Name")), "TimeSpinner");

    QWidget* Typing = QApplication::focusWidget();
    ValueCombo* Opened = ShownEditor(Inspector);
    ASSERT_TRUE(Opened && Opened->isAncestorOf(Typing)) << "the keys go to the editor the click opened";
    EXPECT_EQ(Opened->editor(), Inspector.sharedEditorAt(Inspector.rowOf("Slots.Count")));
    QTest::keyClicks(Typing, "5");  // the click selected the whole value, and that outlived the rebuild
    ClickValue("Top");
    EXPECT_GE(Inspector.rowOf("Slots[4].Color"), 0) << "the new items are rows";
    EXPECT_EQ(Inspector.rowOfIndex(View->currentIndex()), Inspector.rowOf("Top"));
    EXPECT_EQ(Window.selection().size(), 1u);
    EXPECT_EQ(Window.document()->undoStack()->count(), 3) << "add, rename, count";
}

// Rows rebuilt for the same control (after an undo, a rename) keep what is typed in place.
TEST_F(FormWindow, RowsRebuiltForTheSameControlKeepTheTypedText)
{
    Window.addControl("TPalmoButton");
    PropertyInspector& Inspector = *Window.inspector();
    ValueCombo* Editor = OpenInPlaceEditor(Inspector, Inspector.rowOf("Width"));
    ASSERT_NE(Editor, nullptr);
    Editor->combo()->lineEdit()->selectAll();
    QTest::keyClicks(Editor->combo()->lineEdit(), "99");
    Inspector.refresh();  // values read again, as after a change made elsewhere
    EXPECT_EQ(Editor->text(), "99");
    const std::vector<QObject*> Same = Inspector.objects();
    Inspector.setObjects(Same);
    QApplication::processEvents();
    ValueCombo* Reopened = ShownEditor(Inspector);
    ASSERT_NE(Reopened, nullptr);
    EXPECT_EQ(Reopened->text(), "99");
    QTest::keyClick(Reopened->combo()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Window.form()->control(0)->property("Width").toInt(), 99);

    // For another control the text was meant for the old one: nothing is carried over.
    Window.addControl("TPalmoButton");
    Editor = OpenInPlaceEditor(Inspector, Inspector.rowOf("Width"));
    ASSERT_NE(Editor, nullptr);
    QTest::keyClicks(Editor->combo()->lineEdit(), "7");
    Window.setSelection({Window.form()->control(0)});
    QApplication::processEvents();
    EXPECT_EQ(ShownEditor(Inspector), nullptr);
    EXPECT_EQ(Window.form()->control(0)->property("Width").toInt(), 99);
}

// An in-place editor the user has not typed in shows the value as it is after the rebuild: an
// undo of the item count under it, then Enter, does not write the undone count back.
TEST_F(FormWindow, RowsRebuiltByAnUndoShowTheUndoneValueInTheOpenEditor)
{
    Window.addControl("TPalmoSpinner");
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Slots.Count"), "5"));
    QUndoStack* Stack = Window.document()->undoStack();
    const int Steps = Stack->count();
    ASSERT_NE(OpenInPlaceEditor(Inspector, Inspector.rowOf("Slots.Count")), nullptr);
    Stack->undo();
    QApplication::processEvents();
    ValueCombo* Reopened = ShownEditor(Inspector);
    ASSERT_NE(Reopened, nullptr);
    EXPECT_EQ(Reopened->text(), "3");
    QTest::keyClick(Reopened->combo()->lineEdit(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Inspector.valueTextAt(Inspector.rowOf("Slots.Count")), "3");
    EXPECT_EQ(Stack->count(), Steps) << "nothing was written back";
    EXPECT_EQ(Stack->index(), Steps - 1);
}

}  // namespace

namespace {

TEST_F(FormWindow, ThePreviewSelectsMovesAndDeletesThroughTheForm)
{
    TPalmoControl* Button = Window.addControl("TPalmoButton");
    TPalmoControl* Popup = Window.addControl("TPalmoPopup");
    Window.setSelection({});
    PreviewWidget* Preview = Window.preview();
    QApplication::processEvents();
    const QPoint InButton(Button->FLeft + 5, Button->FTop + 5);

    // A click selects, in the list and the inspector too.
    QTest::mouseClick(Preview, Qt::LeftButton, Qt::NoModifier, InButton);
    ASSERT_EQ(Window.selection(), std::vector<TPalmoControl*>{Button});
    EXPECT_TRUE(Window.controlList()->selectionModel()->isRowSelected(0));
    EXPECT_EQ(Window.inspector()->objects().front(), Button);

    // A drag moves it by as much as the pointer went.
    const int Left = Button->FLeft;
    const int Top = Button->FTop;
    QTest::mousePress(Preview, Qt::LeftButton, Qt::NoModifier, InButton);
    for (int Step = 1; Step <= 5; ++Step) {
        QMouseEvent Move(QEvent::MouseMove, InButton + QPoint(6 * Step, 4 * Step), Preview->mapToGlobal(InButton + QPoint(6 * Step, 4 * Step)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Preview, &Move);
    }
    QTest::mouseRelease(Preview, Qt::LeftButton, Qt::NoModifier, InButton + QPoint(30, 20));
    EXPECT_EQ(Button->FLeft, Left + 30);
    EXPECT_EQ(Button->FTop, Top + 20);
    EXPECT_EQ(Window.inspector()->valueTextAt(Window.inspector()->rowOf("Left")), QString::number(Left + 30));
    EXPECT_TRUE(Window.document()->isModified());

    // Arrow keys move it by one pixel.
    Preview->setFocus();
    QTest::keyClick(Preview, Qt::Key_Left);
    QTest::keyClick(Preview, Qt::Key_Down);
    EXPECT_EQ(Button->FLeft, Left + 29);
    EXPECT_EQ(Button->FTop, Top + 21);

    // Delete removes it, and nothing points at it any more.
    QTest::keyClick(Preview, Qt::Key_Delete);
    ASSERT_EQ(Window.form()->count(), 1);
    EXPECT_EQ(Window.form()->control(0), Popup);
    EXPECT_TRUE(Window.selection().empty());
    EXPECT_TRUE(Window.inspector()->objects().empty());
    EXPECT_EQ(Window.controlList()->model()->rowCount(), 1);
}

}  // namespace
