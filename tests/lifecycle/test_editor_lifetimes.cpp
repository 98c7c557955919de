// Orders of events a busy designer meets: a click queued behind OK, a click between "..." and
// its dialog, an unload or a rebuild while an editor's dialog or list is open, the dialog's owner
// window going, an editor freed during its own dialog. Each once crashed or wrote into the wrong
// property; now the edited property gets the value and nothing else changes.
#include "views/MainWindow.h"
#include "packages/PackageLoader.h"
#include "views/PackagesView.h"
#include "views/PropertyInspector.h"
#include "support/DesignerSupport.h"
#include "views/ValueCombo.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"
#include "host/vcl/Forms.h"
#include "host/vcl/Grids.h"
#include "host/vcl/TextLengthGuard.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QDialog>
#include <QInputDialog>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <functional>

namespace {

constexpr TColor Tomato = 0x004763FF;  // red 255, green 99, blue 71

// Chooses Tomato in the picker's web grid with a click, then presses OK.
void ChooseTomatoAndPressOk(QDialog& Dialog)
{
    int Index = -1;
    for (int I = 0; I < CVColorCount; ++I)
        if (CVColors[I].Name == "Tomato")
            Index = I;
    ASSERT_GE(Index, 0);
    Dialog.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
    auto* Grid = Dialog.findChild<TDrawGrid*>("WebColorsGrid");
    ASSERT_NE(Grid, nullptr);
    const TRect Cell = Grid->CellRect(Index % Grid->ColCount(), Index / Grid->ColCount());
    QTest::mouseClick(Grid, Qt::LeftButton, Qt::NoModifier, QPoint(Cell.Left + 3, Cell.Top + 3));
    QTest::mouseClick(Dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
}

class EditorLifetimes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Window.loader().isLoaded()) << Window.loader().path().toStdString();
        Window.show();
        AddOneOfEach(Window);
        ASSERT_TRUE(Window.selectControl("PalmoButton1"));
        Row = Inspector().rowOf("Appearance.Color");
        ASSERT_GE(Row, 0);
        ASSERT_TRUE(Inspector().commitText(Row, "Teal"));
        IndicatorBefore = IndicatorColor();
    }
    PropertyInspector& Inspector() { return *Window.inspector(); }
    TPalmoButton* Button() const { return ControlNamed<TPalmoButton>(Window, "PalmoButton1"); }
    TColor ButtonColor() const { return Button()->Appearance()->FColor.Value; }
    TColor IndicatorColor() const
    {
        return ControlNamed<TPalmoPageIndicator>(Window, "PalmoPageIndicator1")->Appearance()->FActiveColor.Value;
    }

    MainWindow Window{CV_PACKAGE_PATH};
    int Row = -1;
    TColor IndicatorBefore = 0;
};

TEST_F(EditorLifetimes, AClickOnAnotherControlInsideTheDialogLeavesItsEditorAlive)
{
    // The click on the control list is handled while the dialog is still up (queued input), so
    // the inspector rebuilds for another control under the running Edit.
    ModalDriver Driver([&](QDialog& Dialog) {
        ASSERT_TRUE(Window.selectControl("PalmoPageIndicator1"));
        ChooseTomatoAndPressOk(Dialog);
    });
    EXPECT_TRUE(Inspector().edit(Row)) << Inspector().lastError().toStdString();
    ASSERT_EQ(Driver.Shown, 1);
    EXPECT_EQ(ButtonColor(), Tomato) << "the value goes to the property the dialog was opened for";
    EXPECT_EQ(IndicatorColor(), IndicatorBefore);
    EXPECT_EQ(Inspector().objects().front(), Window.form()->find("PalmoPageIndicator1")) << "the new selection stands";
}

TEST_F(EditorLifetimes, DotsThenAClickOnAnotherControlEditsThePropertyTheDotsBelongTo)
{
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row);
    ASSERT_NE(Editor, nullptr);
    ASSERT_NE(Editor->dialogButton(), nullptr);
    ModalDriver Driver([](QDialog& Dialog) { ChooseTomatoAndPressOk(Dialog); });
    QTest::mouseClick(Editor->dialogButton(), Qt::LeftButton);
    // The click on another control arrives before the dialog has opened.
    ASSERT_TRUE(Window.selectControl("PalmoPageIndicator1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Driver.Shown == 1 && !QApplication::activeModalWidget(); }, 5000));
    EXPECT_EQ(ButtonColor(), Tomato);
    EXPECT_EQ(IndicatorColor(), IndicatorBefore) << "no write into the row that now sits at the same place";
}

TEST_F(EditorLifetimes, ARepeatedKeyForTheDialogOpensItOnce)
{
    // Two Ctrl+Enter (a key held down) both handled before the first dialog has opened: the
    // second request runs inside the first dialog's loop and must not stack another picker.
    int Open = 0;
    QTimer SafetyNet;  // closes whatever is left open, should the test fail
    QObject::connect(&SafetyNet, &QTimer::timeout, [] {
        if (auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            Dialog->reject();
    });
    ModalDriver Driver([&](QDialog& Dialog) {
        for (QWidget* Widget : QApplication::topLevelWidgets())
            Open += qobject_cast<QDialog*>(Widget) && Widget->isVisible();
        ChooseTomatoAndPressOk(Dialog);
        SafetyNet.start(20);
    });
    QTreeView* View = Inspector().view();
    View->setCurrentIndex(Inspector().valueIndex(Row));
    QApplication::processEvents();
    QTest::keyClick(View, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(View, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Driver.Shown == 1 && !QApplication::activeModalWidget(); }, 5000));
    QApplication::processEvents();
    EXPECT_EQ(Open, 1) << "one picker at a time";
    EXPECT_EQ(ButtonColor(), Tomato);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(EditorLifetimes, UnloadingWhileTheDialogIsOpenIsRefusedWithAMessage)
{
    bool Refused = false;
    QString Status;
    ModalDriver Driver([&](QDialog& Dialog) {
        Refused = !Window.packagesView()->unloadPackage();
        for (QLabel* Label : Window.packagesView()->findChildren<QLabel*>())
            Status += Label->text();
        ChooseTomatoAndPressOk(Dialog);
    });
    // The "..." path: the refused unload still rebuilds the rows under the running editor.
    EXPECT_TRUE(Inspector().edit(Inspector().targetOf(Row)));
    EXPECT_TRUE(Refused);
    EXPECT_TRUE(Status.contains("close it, then try again")) << Status.toStdString();
    EXPECT_EQ(ButtonColor(), Tomato) << "the dialog went on normally";
    ASSERT_TRUE(Window.loader().isLoaded());
    EXPECT_TRUE(Window.packagesView()->unloadPackage()) << "once the dialog is closed the package goes";
}

TEST_F(EditorLifetimes, UnloadingWhileARowsMenuOrQuestionIsOpenIsRefused)
{
    // The context menu and Replace Colour's question hold the row's editor and its texts across
    // their event loops: an unload queued in there would pull the package from under them.
    const QModelIndex Index = Inspector().valueIndex(Row);
    int Refusals = 0;
    QTimer::singleShot(50, [&] {
        auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(Menu, nullptr);
        Refusals += !Window.packagesView()->unloadPackage();
        Menu->setActiveAction(Menu->findChild<QAction*>("replaceColourAction"));
        QTest::keyClick(Menu, Qt::Key_Return);
    });
    ModalDriver Driver([&](QDialog& Dialog) {
        Refusals += !Window.packagesView()->unloadPackage();
        qobject_cast<QInputDialog*>(&Dialog)->setTextValue("Tomato");
        Dialog.accept();
    });
    emit Inspector().view()->customContextMenuRequested(Inspector().view()->visualRect(Index).center());
    QApplication::processEvents();
    EXPECT_EQ(Driver.Shown, 1);
    EXPECT_EQ(Refusals, 2);
    EXPECT_EQ(ButtonColor(), Tomato) << "the replacement went on normally";
    EXPECT_TRUE(Window.packagesView()->unloadPackage()) << "once both are closed the package goes";
}

TEST_F(EditorLifetimes, TheTypeAheadListClosesBeforeItsEditorGoes)
{
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row);
    ASSERT_NE(Editor, nullptr);
    QLineEdit* Line = Editor->combo()->lineEdit();
    Line->selectAll();
    QTest::keyClicks(Line, "to");
    QAbstractItemView* Popup = Editor->combo()->completer()->popup();
    ASSERT_TRUE(Popup->isVisible()) << "typing opened the narrowed list";
    ASSERT_TRUE(Window.selectControl("PalmoPageIndicator1"));
    EXPECT_FALSE(Popup->isVisible());
    // Whatever still paints the list now paints without the editor that is gone.
    Popup->repaint();
    Editor->combo()->view()->repaint();
    QApplication::processEvents();
    ASSERT_TRUE(Window.packagesView()->unloadPackage());
    QApplication::processEvents();
    EXPECT_EQ(IndicatorColor(), IndicatorBefore);
    EXPECT_EQ(ButtonColor(), 0x00808000) << "Teal stays: the typed text was never committed";
}

TEST_F(EditorLifetimes, TheDialogSurvivesItsOwnerWindowGoing)
{
    auto* Owner = new QWidget;
    Owner->show();
    QApplication::setActiveWindow(Owner);
    ASSERT_EQ(Application->OwnerWindow(), Owner);
    ModalDriver Driver([&](QDialog& Dialog) {
        delete Owner;
        QApplication::processEvents();
        ChooseTomatoAndPressOk(Dialog);
    });
    EXPECT_TRUE(Inspector().edit(Row)) << Inspector().lastError().toStdString();
    ASSERT_EQ(Driver.Shown, 1);
    EXPECT_EQ(ButtonColor(), Tomato);
}

TEST_F(EditorLifetimes, AnEditorFreedDuringItsDialogWritesNothing)
{
    TPalmoButtonAppearance* Appearance = Button()->Appearance();
    const QMetaObject* Meta = Appearance->metaObject();
    std::unique_ptr<TPropertyEditor> Editor =
        CreatePropertyEditor(nullptr, {Appearance}, Meta->property(Meta->indexOfProperty("Color")));
    ModalDriver Driver([&](QDialog& Dialog) {
        Editor.reset();
        ChooseTomatoAndPressOk(Dialog);
    });
    TPropertyEditor* Running = Editor.get();
    Running->Edit();
    ASSERT_EQ(Driver.Shown, 1);
    EXPECT_EQ(ButtonColor(), 0x00808000) << "the freed editor wrote nothing";
}

// Counts what the designer hears from an editor.
class CountingDesigner : public IDesigner {
public:
    void Modified() override { ++Count; }
    int Count = 0;
};

TEST_F(EditorLifetimes, AValueForSeveralObjectsIsWrittenToAllOrToNone)
{
    auto* First = new TPalmoButtonAppearance;
    auto* Second = new TPalmoButtonAppearance;
    const TColor Before = First->FColor.Value;
    CountingDesigner Designer;
    const QMetaObject* Meta = First->metaObject();
    std::unique_ptr<TPropertyEditor> Editor =
        CreatePropertyEditor(&Designer, {First, Second}, Meta->property(Meta->indexOfProperty("Color")));
    delete Second;
    EXPECT_THROW(Editor->SetValue("Tomato"), EPropertyError);
    EXPECT_EQ(First->FColor.Value, Before) << "nothing is written when one object has gone";
    EXPECT_EQ(Designer.Count, 0);
    delete First;
}

TEST_F(EditorLifetimes, APasteTooLongForTheValueCellIsRefusedWhole)
{
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row);
    ASSERT_NE(Editor, nullptr);
    QLineEdit* Line = Editor->combo()->lineEdit();
    // Cut at the entry's length, this would read as 0: black.
    QApplication::clipboard()->setText(QString(40000, QChar('0')) + "1");
    Line->setFocus();
    Line->selectAll();
    QTest::keyClick(Line, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Line->text(), "Teal") << "the old text stays";
    EXPECT_TRUE(Inspector().lastError().contains("40,001 characters")) << Inspector().lastError().toStdString();
    QTest::keyClick(Line, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(ButtonColor(), 0x00808000);
}

TEST_F(EditorLifetimes, APasteTooLongForAnEntryOfTheDialogIsRefusedWhole)
{
    Application->ClearExceptions();
    QString RedAfter;
    QString ShownInDesigner;
    ModalDriver Driver([&](QDialog& Dialog) {
        auto* Red = Dialog.findChild<QLineEdit*>("editRed");
        Red->setFocus();
        Red->setText("12");
        // Cut at the entry's length, "$" and 100,000 zeros and "7F" would read as 0.
        QApplication::clipboard()->setText("$" + QString(100000, QChar('0')) + "7F");
        Red->selectAll();
        QTest::keyClick(Red, Qt::Key_V, Qt::ControlModifier);
        RedAfter = Red->text();
        ShownInDesigner = Inspector().lastError();
        QTest::mouseClick(Dialog.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    EXPECT_TRUE(Inspector().edit(Row));
    EXPECT_EQ(RedAfter, "12");
    EXPECT_EQ(Application->LastExceptionMessage(), TextLengthGuard::RefusalMessage(100003));
    EXPECT_EQ(ShownInDesigner, TextLengthGuard::RefusalMessage(100003)) << "the designer shows it on its error line";
    EXPECT_EQ(ButtonColor(), 0x00808000);
}

}  // namespace
