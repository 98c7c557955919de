// The inspector a user can trust: every edit is one undo step whose undo restores exactly the
// values before (and the window's "*" follows the stack's saved state), several controls are
// edited together through the properties they share, changed values show in bold with a reset,
// and no key, wheel turn or list movement changes a value by accident. Driven by real key and
// mouse events on the real inspector.
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormProperties.h"
#include "views/PreviewWidget.h"
#include "support/DesignerSupport.h"

#include "host/palmo/PalmoBase.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QWheelEvent>

#include <map>
#include <set>

namespace {

// The colours as TColor values ($00BBGGRR): RoyalBlue, a button's default, is RGB 65, 105, 225;
// Tomato 255, 99, 71.
constexpr int RoyalBlue = 0xE16941;
constexpr int Tomato = 0x4763FF;

class TrustedInspector : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        ASSERT_TRUE(Window.loader().isLoaded());
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
        ASSERT_NE(Window.addControl("TPalmoButton"), nullptr);
    }
    PropertyInspector& Inspector() { return *Window.inspector(); }
    QTreeView* View() { return Inspector().view(); }
    QUndoStack* Stack() { return Window.document()->undoStack(); }
    TPalmoButton* Button(const char* Name = "PalmoButton1") { return ControlNamed<TPalmoButton>(Window, Name); }
    int Row(const char* Path) { return Inspector().rowOf(QString::fromLatin1(Path)); }
    // Every value of a control as text, by path.
    static std::map<QString, QString> ValuesOf(QObject* Control)
    {
        std::map<QString, QString> Values;
        for (const FormProperty& P : propertiesOf(Control))
            Values[P.path] = valueText(P.owner, P.property);
        return Values;
    }
    // A click on a row's name cell: the row becomes current, no editor opens.
    void ClickName(int Row)
    {
        const QModelIndex Name = Inspector().valueIndex(Row).siblingAtColumn(0);
        View()->scrollTo(Name);
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, View()->visualRect(Name).topLeft() + QPoint(4, 4));
        QApplication::processEvents();
    }
    void Key(int K, Qt::KeyboardModifiers Mods = {})
    {
        QWidget* Focus = QApplication::focusWidget() ? QApplication::focusWidget() : View();
        QTest::keyClick(Focus, static_cast<Qt::Key>(K), Mods);
        QApplication::processEvents();
    }
    // Types as a keyboard does: each key goes to the widget that has the focus by then.
    void Type(const char* Text)
    {
        for (const char* C = Text; *C; ++C) {
            QWidget* Focus = QApplication::focusWidget() ? QApplication::focusWidget() : View();
            QTest::keyClick(Focus, *C);
        }
        QApplication::processEvents();
    }
    // The pixels of a cell of the inspector, as painted.
    QImage Cell(const QModelIndex& Index)
    {
        View()->viewport()->repaint();
        return View()->viewport()->grab(View()->visualRect(Index).adjusted(1, 1, -1, -1)).toImage();
    }
    static int ColoursIn(const QImage& Image)
    {
        std::set<QRgb> Seen;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                Seen.insert(Image.pixel(X, Y));
        return static_cast<int>(Seen.size());
    }

    QTemporaryDir Dir;
    MainWindow Window{CV_PACKAGE_PATH};
};

// ---- Undo and redo ------------------------------------------------------------------------

TEST_F(TrustedInspector, ATypedValueIsOneStepAndTheStarFollowsTheSavedState)
{
    ASSERT_TRUE(Window.saveAs(Dir.filePath("form.cvform")));
    EXPECT_FALSE(Window.isWindowModified());
    const int Color = Row("Appearance.Color");
    ClickName(Color);
    Type("Tomato");
    Key(Qt::Key_Return);
    EXPECT_EQ(Button()->Appearance()->FColor.Value, Tomato);
    EXPECT_EQ(Stack()->undoText(), "Set Appearance.Color of PalmoButton1");
    EXPECT_TRUE(Window.isWindowModified());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Button()->Appearance()->FColor.Value, RoyalBlue);
    EXPECT_FALSE(Window.isWindowModified()) << "back at the saved state";
    EXPECT_FALSE(Window.document()->isModified());
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Button()->Appearance()->FColor.Value, Tomato);
    EXPECT_TRUE(Window.isWindowModified());
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Button()->Appearance()->FColor.Value, Tomato);
    EXPECT_EQ(RowText(Inspector(), Color), "Tomato");

    // Saved here, the state before is now a change.
    ASSERT_TRUE(Window.save());
    EXPECT_FALSE(Window.isWindowModified());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Window.isWindowModified());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(Window.isWindowModified());
}

TEST_F(TrustedInspector, AddDeleteRenameAndMoveAreStepsThatUndoExactly)
{
    TPalmoButton* First = Button();
    EXPECT_EQ(Stack()->undoText(), "Add PalmoButton1");
    ASSERT_NE(Window.addControl("TPalmoButton"), nullptr);
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "Tomato"));
    ASSERT_TRUE(Window.selectControl("PalmoButton1"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.CornerRadius"), "9"));
    const auto Before = ValuesOf(First);

    // Delete from the preview: the very same control comes back at its place with its values.
    Window.preview()->setFocus();
    QTest::keyClick(Window.preview(), Qt::Key_Delete);
    EXPECT_EQ(Stack()->undoText(), "Delete PalmoButton1");
    ASSERT_EQ(Window.form()->count(), 1);
    EXPECT_TRUE(Window.selection().empty());
    Stack()->undo();
    ASSERT_EQ(Window.form()->count(), 2);
    EXPECT_EQ(Window.form()->control(0), First);
    EXPECT_EQ(ValuesOf(First), Before);
    Stack()->redo();
    EXPECT_EQ(Window.form()->find("PalmoButton1"), nullptr);
    Stack()->undo();

    // Rename through the Name row.
    ASSERT_TRUE(Window.selectControl("PalmoButton1"));
    ASSERT_TRUE(Inspector().commitText(Row("Name"), "OkButton"));
    EXPECT_EQ(Stack()->undoText(), "Rename PalmoButton1 to OkButton");
    EXPECT_EQ(Window.form()->find("OkButton"), First);
    Stack()->undo();
    EXPECT_EQ(First->Name(), "PalmoButton1");
    EXPECT_EQ(Window.form()->find("OkButton"), nullptr);

    // A move by the arrow key in the preview.
    ASSERT_TRUE(Window.selectControl("PalmoButton1"));
    const int Left = First->FLeft;
    Window.preview()->setFocus();
    QTest::keyClick(Window.preview(), Qt::Key_Right);
    EXPECT_EQ(First->FLeft, Left + 1);
    EXPECT_EQ(Stack()->undoText(), "Move PalmoButton1");
    Stack()->undo();
    EXPECT_EQ(First->FLeft, Left);

    // Undoing the add takes the control off; redo brings back the same object.
    while (Stack()->canUndo())
        Stack()->undo();
    EXPECT_EQ(Window.form()->count(), 0);
    EXPECT_FALSE(Window.document()->isModified());
    Stack()->redo();
    EXPECT_EQ(Window.form()->control(0), First);
}

TEST_F(TrustedInspector, CtrlEnterOpensTheDialogAndItsOkIsOneStep)
{
    const int Color = Row("Appearance.Color");
    // A numbered value: the dialog opens on its page of composed colours.
    ASSERT_TRUE(Inspector().commitText(Color, "$00336699"));
    ClickName(Color);
    const int Steps = Stack()->count();
    ModalDriver Driver([](QDialog& Dialog) {
        // The web colours' page, and a click on the grid's cell 30 (cells of 24 pixels and a
        // one-pixel line, 12 to a row): a chosen colour.
        auto* Pages = Dialog.findChild<QTabWidget*>("PageControl1");
        ASSERT_NE(Pages, nullptr);
        QTest::mouseClick(Pages->tabBar(), Qt::LeftButton, {}, Pages->tabBar()->tabRect(0).center());
        QWidget* Web = Dialog.findChild<QWidget*>("WebColorsGrid");
        ASSERT_NE(Web, nullptr);
        QTest::mouseClick(Web, Qt::LeftButton, {}, QPoint(1 + 6 * 25 + 12, 1 + 2 * 25 + 12));
        QTest::mouseClick(Dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    Key(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Driver.Shown == 1 && !QApplication::activeModalWidget(); }, 5000));
    QApplication::processEvents();
    const int Picked = Button()->Appearance()->FColor.Value;
    EXPECT_NE(Picked, 0x336699);
    EXPECT_FALSE(RowText(Inspector(), Color).startsWith('$')) << "a web colour's name";
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    EXPECT_EQ(Stack()->count(), Steps + 1);
    EXPECT_EQ(Stack()->undoText(), "Set Appearance.Color of PalmoButton1");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Button()->Appearance()->FColor.Value, 0x336699);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Button()->Appearance()->FColor.Value, Picked);
}

TEST_F(TrustedInspector, TheKeyboardReachesMenusAndComesBackToTheRowAfterThePicker)
{
    // "..." of the in-place editor, which goes when the dialog opens; Cancel.
    const int Color = Row("Appearance.Color");
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Color);
    ASSERT_NE(Editor, nullptr);
    {
        ModalDriver Driver([](QDialog& Dialog) { Dialog.reject(); });
        QTest::mouseClick(Editor->dialogButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Driver.Shown == 1 && !QApplication::activeModalWidget(); }, 5000));
    }
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    EXPECT_EQ(QApplication::focusWidget(), View()) << "the keyboard is back on the row";
    EXPECT_EQ(View()->currentIndex(), Inspector().valueIndex(Color));
    const int Left = Button()->FLeft;
    Key(Qt::Key_Down);
    EXPECT_EQ(Inspector().rowOfIndex(View()->currentIndex()), Color + 1) << "Down moves to the next row";
    EXPECT_EQ(Button()->FLeft, Left);

    // The context menu from the keyboard.
    for (const auto& [Key, Mods] : {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        QString Shown;
        QTimer Poll;
        Poll.setInterval(5);
        QObject::connect(&Poll, &QTimer::timeout, [&] {
            if (QWidget* Menu = QApplication::activePopupWidget()) {
                Poll.stop();
                Shown = Menu->objectName();
                QTest::keyClick(Menu, Qt::Key_Escape);
            }
        });
        Poll.start();
        this->Key(Key, Mods);
        EXPECT_EQ(Shown, "inspectorMenu");
    }

    // The unsaved changes question's answers have their keys: Alt+S, Alt+D.
    ModalDriver Driver([](QDialog& Dialog) {
        auto* Box = qobject_cast<QMessageBox*>(&Dialog);
        ASSERT_NE(Box, nullptr);
        EXPECT_EQ(Box->button(QMessageBox::Save)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
        EXPECT_EQ(Box->button(QMessageBox::Discard)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_D));
        QTest::mouseClick(Box->button(QMessageBox::Discard), Qt::LeftButton);
    });
    EXPECT_TRUE(Window.maybeSave()) << "Don't Save lets the form go";
}

// ---- Several controls -----------------------------------------------------------------------

TEST_F(TrustedInspector, ControlsOfTwoClassesShowWhatTheyShareAndTakeOneValueInOneStep)
{
    ASSERT_NE(Window.addControl("TPalmoOnOffButton"), nullptr);
    Button()->setProperty("Left", 10);
    ControlNamed<TPalmoOnOffButton>(Window, "PalmoOnOffButton1")->setProperty("Left", 50);
    // Ctrl-click both names in the control list.
    QListView* List = Window.controlList();
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualRect(List->model()->index(0, 0)).center());
    QTest::mouseClick(List->viewport(), Qt::LeftButton, Qt::ControlModifier, List->visualRect(List->model()->index(1, 0)).center());
    ASSERT_EQ(Window.selection().size(), 2u);
    EXPECT_GE(Row("Left"), 0);
    EXPECT_GE(Row("Enabled"), 0);
    EXPECT_LT(Row("ModalResult"), 0) << "a button's own property";
    EXPECT_LT(Row("Appearance.Color"), 0) << "their appearances are of different classes";
    EXPECT_LT(Row("Name"), 0);

    // The differing value is an empty cell; a shared one is drawn.
    const int Left = Row("Left");
    EXPECT_EQ(RowText(Inspector(), Left), "");
    EXPECT_EQ(ColoursIn(Cell(Inspector().valueIndex(Left))), 1) << "nothing drawn in a differing cell";
    EXPECT_GT(ColoursIn(Cell(Inspector().valueIndex(Row("Enabled")))), 1) << "True is drawn";

    ClickName(Left);
    Type("40");
    Key(Qt::Key_Return);
    EXPECT_EQ(Button()->FLeft, 40);
    EXPECT_EQ(ControlNamed<TPalmoOnOffButton>(Window, "PalmoOnOffButton1")->FLeft, 40);
    EXPECT_EQ(Stack()->undoText(), "Set Left of 2 controls");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Button()->FLeft, 10);
    EXPECT_EQ(ControlNamed<TPalmoOnOffButton>(Window, "PalmoOnOffButton1")->FLeft, 50);
}

TEST_F(TrustedInspector, TwoButtonsShareTheirAppearance)
{
    ASSERT_NE(Window.addControl("TPalmoButton"), nullptr);
    Window.setSelection({Button("PalmoButton1"), Button("PalmoButton2")});
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "Tomato"));
    EXPECT_EQ(Button("PalmoButton1")->Appearance()->FColor.Value, Tomato);
    EXPECT_EQ(Button("PalmoButton2")->Appearance()->FColor.Value, Tomato);
    Stack()->undo();
    EXPECT_EQ(Button("PalmoButton1")->Appearance()->FColor.Value, RoyalBlue);
    EXPECT_EQ(Button("PalmoButton2")->Appearance()->FColor.Value, RoyalBlue);
}

// ---- Changed values --------------------------------------------------------------------------

TEST_F(TrustedInspector, AChangedValueIsBoldAndItsButtonResetsItInOneStep)
{
    const int Color = Row("Appearance.Color");
    ClickName(Color);
    const QModelIndex Name = Inspector().valueIndex(Color).siblingAtColumn(0);
    const QImage Plain = Cell(Name);
    EXPECT_FALSE(Name.data(Qt::FontRole).value<QFont>().bold());
    ASSERT_TRUE(Inspector().commitText(Color, "Tomato"));
    EXPECT_TRUE(Inspector().valueIndex(Color).siblingAtColumn(0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_NE(Cell(Name), Plain) << "bold and with its reset button";

    const QRect Button = PropertyInspector::resetButtonRect(View()->visualRect(Name));
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Button.center());
    EXPECT_EQ(this->Button()->Appearance()->FColor.Value, RoyalBlue);
    EXPECT_EQ(Stack()->undoText(), "Reset Appearance.Color of PalmoButton1");
    EXPECT_FALSE(Inspector().isChanged(Color));
    EXPECT_EQ(Cell(Name), Plain);
    Stack()->undo();
    EXPECT_EQ(this->Button()->Appearance()->FColor.Value, Tomato);
    EXPECT_FALSE(Inspector().resetToDefault(Row("Width"))) << "an unchanged value has nothing to reset";
}

TEST_F(TrustedInspector, WithSeveralSelectedBoldAndResetConcernEachOneAndOnlyCommonItemsShow)
{
    auto* Second = qobject_cast<TPalmoButton*>(Window.addControl("TPalmoButton"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "Tomato"));
    // The changed one selected second: the first alone would say "unchanged".
    Window.setSelection({Button(), Second});
    const int Color = Row("Appearance.Color");
    EXPECT_TRUE(Inspector().isChanged(Color));
    ASSERT_TRUE(Inspector().resetToDefault(Color));
    EXPECT_EQ(Second->Appearance()->FColor.Value, RoyalBlue);
    EXPECT_EQ(Stack()->undoText(), "Reset Appearance.Color of 2 controls");

    TPalmoControl* Long = Window.addControl("TPalmoSpinner");
    ASSERT_TRUE(Inspector().commitText(Row("Slots.Count"), "5"));
    TPalmoControl* Short = Window.addControl("TPalmoSpinner");
    ASSERT_TRUE(Inspector().commitText(Row("Slots.Count"), "2"));
    Window.setSelection({Long, Short});
    EXPECT_GE(Row("Slots[1].Color"), 0);
    EXPECT_LT(Row("Slots[2].Color"), 0) << "the shorter collection has no third item";
}

TEST_F(TrustedInspector, AnItemBeyondAFreshControlsCollectionIsBoldWhenTheFileSavesIt)
{
    // A fresh spinner has three slots; the fourth is compared with a fresh slot, as the file does.
    Window.addControl("TPalmoSpinner");
    ASSERT_TRUE(Inspector().commitText(Row("Slots.Count"), "5"));
    const QString Width = Inspector().valueTextAt(Row("Slots[0].Width"));
    ASSERT_TRUE(Inspector().commitText(Row("Slots[3].Width"), "70"));
    EXPECT_TRUE(Inspector().isChanged(Row("Slots[3].Width")));
    EXPECT_FALSE(Inspector().isChanged(Row("Slots[4].Width")));
    EXPECT_TRUE(FormFile::serialize(*Window.form()).contains("\"Slots[3].Width\": 70"));
    ASSERT_TRUE(Inspector().resetToDefault(Row("Slots[3].Width")));
    EXPECT_EQ(Inspector().valueTextAt(Row("Slots[3].Width")), Width);
    EXPECT_FALSE(FormFile::serialize(*Window.form()).contains("Slots[3]"));
}

// ---- No change by accident ---------------------------------------------------------------------

TEST_F(TrustedInspector, TheWheelAndTheArrowsChangeNoValue)
{
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "Tomato"));
    const auto Before = ValuesOf(Button());
    const int Steps = Stack()->count();
    const int Color = Row("Appearance.Color");
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, View()->visualRect(Inspector().valueIndex(Color)).center());
    ValueCombo* Editor = ShownEditor(Inspector());
    ASSERT_NE(Editor, nullptr) << "a click on a value opens its editor";
    for (int Turn = 0; Turn < 6; ++Turn) {
        const QPoint At = Editor->combo()->rect().center();
        QWheelEvent Wheel(At, Editor->combo()->mapToGlobal(At), {}, QPoint(0, Turn < 3 ? -120 : 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Editor->combo(), &Wheel);
    }
    EXPECT_EQ(Editor->text(), "Tomato");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    EXPECT_EQ(ShownEditor(Inspector()), nullptr) << "moving closes the editor, opens none";
    EXPECT_EQ(Inspector().rowOfIndex(View()->currentIndex()), Color + 1);
    QApplication::processEvents();
    EXPECT_EQ(ValuesOf(Button()), Before);
    EXPECT_EQ(Stack()->count(), Steps);
}

TEST_F(TrustedInspector, EnterWithTheCompletionListOpenCommitsItsLineOnce)
{
    const int Color = Row("Appearance.Color");
    const int Steps = Stack()->count();
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Color);
    ASSERT_NE(Editor, nullptr);
    QLineEdit* Line = Editor->combo()->lineEdit();
    Line->selectAll();
    QTest::keyClicks(Line, "tomat");
    QAbstractItemView* Popup = Editor->combo()->completer()->popup();
    ASSERT_TRUE(Popup->isVisible());
    QTest::keyClick(Popup, Qt::Key_Down);
    QTest::keyClick(Popup, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Button()->Appearance()->FColor.Value, Tomato);
    EXPECT_EQ(Stack()->count(), Steps + 1) << "one commit";
    EXPECT_TRUE(Inspector().lastError().isEmpty()) << Inspector().lastError().toStdString();
    EXPECT_EQ(ShownEditor(Inspector()), nullptr);
}

TEST_F(TrustedInspector, TypingStartsAFreshTextF2EditsItAndEscapeRestores)
{
    const int Radius = Row("Appearance.CornerRadius");
    ASSERT_TRUE(Inspector().commitText(Radius, "12"));
    ClickName(Radius);
    Key(Qt::Key_F2);
    ValueCombo* Editor = ShownEditor(Inspector());
    ASSERT_NE(Editor, nullptr);
    EXPECT_EQ(Editor->combo()->lineEdit()->text(), "12");
    Type("3");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Button()->Appearance()->FCornerRadius, 12) << "Escape drops the text";
    ClickName(Radius);
    Type(" 7 ");
    Key(Qt::Key_Return);
    EXPECT_EQ(Button()->Appearance()->FCornerRadius, 7) << "a fresh text, blanks around it dropped";
}

TEST_F(TrustedInspector, AClickOnAValueSelectsItSoTypingReplacesIt)
{
    const int Left = Row("Left");
    ASSERT_TRUE(Inspector().commitText(Left, "16"));
    const QModelIndex Value = Inspector().valueIndex(Left);
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, View()->visualRect(Value).center());
    QApplication::processEvents();
    Type("40");
    Key(Qt::Key_Return);
    EXPECT_EQ(Button()->FLeft, 40) << "not 1640";
}

TEST_F(TrustedInspector, AltDownOpensTheListOnTheCurrentValue)
{
    const int Color = Row("Appearance.Color");
    ASSERT_TRUE(Inspector().commitText(Color, "Tomato"));
    ClickName(Color);
    Key(Qt::Key_Down, Qt::AltModifier);
    ValueCombo* Editor = ShownEditor(Inspector());
    ASSERT_NE(Editor, nullptr);
    QAbstractItemView* List = Editor->combo()->view();
    ASSERT_TRUE(List->isVisible());
    EXPECT_EQ(List->currentIndex().data().toString(), "Tomato");
    EXPECT_TRUE(List->viewport()->rect().intersects(List->visualRect(List->currentIndex()))) << "scrolled into view";
    Key(Qt::Key_Escape);
    EXPECT_EQ(Button()->Appearance()->FColor.Value, Tomato);
}

// ---- Messages ---------------------------------------------------------------------------------

TEST_F(TrustedInspector, ARefusedTextSaysWhatTheRowAcceptsUntilTheSelectionMoves)
{
    EXPECT_FALSE(Inspector().commitText(Row("Appearance.Color"), "Tomatoes"));
    const QString Colour = Inspector().lastError();
    EXPECT_TRUE(Colour.startsWith("Appearance.Color = 'Tomatoes': ")) << Colour.toStdString();
    for (const char* Part : {"Tomato", "clBtnFace", "$00FF8800", "16746496", "#RRGGBB"})
        EXPECT_TRUE(Colour.contains(Part)) << Part;
    EXPECT_FALSE(Inspector().commitText(Row("Appearance.CornerRadius"), "ten"));
    EXPECT_TRUE(Inspector().lastError().contains("from -2147483648 to 2147483647")) << Inspector().lastError().toStdString();
    EXPECT_FALSE(Inspector().commitText(Row("Enabled"), "yes"));
    EXPECT_TRUE(Inspector().lastError().contains("True or False"));
    ASSERT_NE(Window.addControl("TPalmoButton"), nullptr);
    EXPECT_TRUE(Inspector().lastError().isEmpty()) << "another selection clears the message";
}

// ---- The window --------------------------------------------------------------------------------

TEST_F(TrustedInspector, TheWindowKeepsItsGeometryAndFitsTheScreen)
{
    EXPECT_EQ(MainWindow::fittingSize({1060, 760}, QRect(0, 0, 960, 540)), QSize(960, 540));
    EXPECT_EQ(MainWindow::fittingSize({600, 400}, QRect(0, 0, 960, 540)), QSize(600, 400));
    const QRect Available = Window.screen()->availableGeometry();
    EXPECT_TRUE(Available.contains(Window.frameGeometry()))
        << "the offscreen screen is smaller than the default size: " << Window.frameGeometry().width() << "x"
        << Window.frameGeometry().height() << "+" << Window.frameGeometry().x() << "+" << Window.frameGeometry().y()
        << " on " << Available.width() << "x" << Available.height();
    Window.resize(520, 410);
    Window.document()->setModified(false);
    ASSERT_TRUE(Window.close());
    MainWindow Again(CV_PACKAGE_PATH);
    EXPECT_EQ(Again.size(), QSize(520, 410)) << "restored from the last run";
}

// Run in a fresh process at a device pixel ratio of 2, where the screen has half as many
// device independent pixels.
TEST(TrustedWindow, FitsTheScreenAtPixelRatioTwo)
{
    if (qEnvironmentVariableIsSet("CV_SCREEN_PROBE")) {
        MainWindow Window(CV_PACKAGE_PATH);
        Window.show();
        EXPECT_EQ(Window.devicePixelRatio(), 2.0);
        EXPECT_TRUE(Window.screen()->availableGeometry().contains(Window.frameGeometry()))
            << "frame " << Window.frameGeometry().width() << "x" << Window.frameGeometry().height() << " (at least "
            << Window.minimumSizeHint().width() << "x" << Window.minimumSizeHint().height() << ") on "
            << Window.screen()->availableGeometry().width() << "x" << Window.screen()->availableGeometry().height();
        return;
    }
    QProcess Probe;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert("CV_SCREEN_PROBE", "1");
    Environment.insert("QT_SCALE_FACTOR", "2");
    Probe.setProcessEnvironment(Environment);
    Probe.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=TrustedWindow.FitsTheScreenAtPixelRatioTwo"});
    ASSERT_TRUE(Probe.waitForFinished(60000));
    EXPECT_EQ(Probe.exitCode(), 0) << Probe.readAllStandardOutput().toStdString();
}

TEST(QtWarnings, FailTheTestThatCausesThem)
{
    EXPECT_NONFATAL_FAILURE(qWarning("a warning of the designer's own"), "Qt warned: a warning of the designer's own");
    // The offscreen platform's own notes are not the designer's.
    qWarning("This plugin does not support propagateSizeHints()");
}

}  // namespace
