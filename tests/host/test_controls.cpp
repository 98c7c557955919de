// The standard and common controls, the form and the application's exception report, driven
// with real input events.
#include "host/vcl/ComCtrls.h"
#include "host/vcl/Forms.h"
#include "host/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMetaType>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

// Starts every test with an empty report and no message handler, and restores both afterwards.
class ApplicationReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = Application->OnException;
        Application->OnException = [this](const String& Message) { Shown.push_back(Message); };
        Application->ClearExceptions();
    }
    void TearDown() override
    {
        Application->OnException = FSaved;
        Application->ClearExceptions();
    }
    std::vector<String> Shown;

private:
    std::function<void(const String&)> FSaved;
};

using ApplicationTest = ApplicationReport;
using EditTest = ApplicationReport;
using ButtonTest = ApplicationReport;
using FormTest = ApplicationReport;
using TrackBarTest = ApplicationReport;

} // namespace

TEST_F(ApplicationTest, CallHandlerReportsEveryKindOfExceptionAndReturnsFalse)
{
    EXPECT_TRUE(CallHandler([] {}));
    EXPECT_FALSE(CallHandler([] { throw EConvertError("'x' is not a valid integer value"); }));
    EXPECT_EQ(Application->LastExceptionMessage(), "'x' is not a valid integer value");
    EXPECT_FALSE(CallHandler([] { throw std::runtime_error("plain failure"); }));
    EXPECT_EQ(Application->LastExceptionMessage(), "plain failure");
    EXPECT_FALSE(CallHandler([] { throw 42; }));
    EXPECT_EQ(Application->LastExceptionMessage(), "Unknown exception");
    EXPECT_EQ(Application->ExceptionCount(), 3);
    EXPECT_EQ(Shown, (std::vector<String>{"'x' is not a valid integer value", "plain failure", "Unknown exception"}));
}

TEST_F(ApplicationTest, AMessageHandlerThatRaisesDoesNotPassItOn)
{
    Application->OnException = [](const String&) { throw std::runtime_error("the report failed"); };
    EXPECT_FALSE(CallHandler([] { throw std::runtime_error("first"); }));
    EXPECT_EQ(Application->LastExceptionMessage(), "first");
    EXPECT_EQ(Application->ExceptionCount(), 1);
}

TEST_F(EditTest, ChangeFiresInsideSetTextAndOncePerKeystroke)
{
    TEdit Edit;
    int Changes = 0;
    QObject::connect(&Edit, &TEdit::Change, [&] { ++Changes; });
    Edit.SetText("150");
    EXPECT_EQ(Changes, 1) << "before SetText returns";
    EXPECT_EQ(Edit.Text(), "150");
    Edit.SetText("150");
    EXPECT_EQ(Changes, 1) << "the same text is no change";

    Edit.show();
    Edit.SetText("");
    Changes = 0;
    QTest::keyClicks(&Edit, "199");
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(Edit.Text(), "199");
}

TEST_F(EditTest, WritingTheHeldTextKeepsTheCaretWhereTheUserPutIt)
{
    TEdit Edit;
    Edit.show();
    QTest::keyClicks(&Edit, "12345");
    QTest::keyClick(&Edit, Qt::Key_Home);
    QTest::keyClick(&Edit, Qt::Key_Right);
    QTest::keyClick(&Edit, Qt::Key_Right);
    ASSERT_EQ(Edit.cursorPosition(), 2);
    Edit.SetText("12345");
    EXPECT_EQ(Edit.cursorPosition(), 2);
    EXPECT_EQ(Edit.Text(), "12345");
    QTest::keyClicks(&Edit, "9");
    EXPECT_EQ(Edit.Text(), "129345");
}

TEST_F(EditTest, AChangeHandlerMayWriteTheTextAgain)
{
    TEdit Edit;
    Edit.show();
    std::vector<String> Seen;
    int Depth = 0;
    int DeepestNesting = 0;
    QObject::connect(&Edit, &TEdit::Change, [&] {
        ++Depth;
        DeepestNesting = std::max(DeepestNesting, Depth);
        Seen.push_back(Edit.Text());
        // Reject a third digit by writing the previous number back, as the dialog's entries do.
        if (Edit.Text().size() > 2)
            Edit.SetText(Edit.Text().left(2));
        --Depth;
    });
    QTest::keyClicks(&Edit, "200");
    EXPECT_EQ(Edit.Text(), "20");
    EXPECT_EQ(Seen, (std::vector<String>{"2", "20", "200", "20"}));
    EXPECT_EQ(DeepestNesting, 2) << "the rewrite's Change arrives inside the first handler";
}

TEST_F(EditTest, AnExceptionFromChangeIsReportedAndTheEditGoesOn)
{
    TEdit Edit;
    Edit.show();
    QObject::connect(&Edit, &TEdit::Change, [&] {
        if (Edit.Text() == "x")
            throw EConvertError("'x' is not a valid integer value");
    });
    QTest::keyClicks(&Edit, "xy");
    EXPECT_EQ(Edit.Text(), "xy");
    EXPECT_EQ(Application->ExceptionCount(), 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "'x' is not a valid integer value");
    Edit.SetText("x");
    EXPECT_EQ(Application->ExceptionCount(), 2);
}

TEST(LabelTest, CaptionIsShownAsWritten)
{
    TLabel Plain;
    Plain.SetCaption("Red:");
    TLabel WithAmpersand;
    WithAmpersand.SetCaption("R&ed:");
    EXPECT_EQ(WithAmpersand.Caption(), "R&ed:");
    EXPECT_EQ(WithAmpersand.textFormat(), Qt::PlainText);
    // Shown literally the "&" takes room of its own; as a mnemonic it would only underline.
    EXPECT_GT(WithAmpersand.sizeHint().width(), Plain.sizeHint().width());
    TLabel Markup;
    Markup.SetCaption("<b>x</b>");
    TLabel Text;
    Text.SetCaption("x");
    EXPECT_GT(Markup.sizeHint().width(), Text.sizeHint().width()) << "no rich text";
}

TEST_F(ButtonTest, ClickWithAModalResultClosesTheForm)
{
    TForm Form;
    TButton Ok(&Form);
    Ok.SetCaption("&OK");
    Ok.SetModalResult(mrOk);
    Ok.SetDefault(true);
    int Clicks = 0;
    QObject::connect(&Ok, &TButton::Click, [&] { ++Clicks; });
    QTimer::singleShot(0, &Ok, [&] { QTest::mouseClick(&Ok, Qt::LeftButton); });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Form.ModalResult(), mrOk);
    EXPECT_FALSE(Form.isVisible());
}

TEST_F(ButtonTest, ButtonWithoutModalResultLeavesTheFormOpen)
{
    TForm Form;
    TButton Add(&Form);
    TButton Cancel(&Form);
    Cancel.move(0, 40);
    Cancel.SetModalResult(mrCancel);
    int Adds = 0;
    QObject::connect(&Add, &TButton::Click, [&] { ++Adds; });
    QTimer::singleShot(0, &Add, [&] {
        QTest::mouseClick(&Add, Qt::LeftButton);
        QTest::mouseClick(&Add, Qt::LeftButton);
        EXPECT_TRUE(Form.isVisible());
        QTest::mouseClick(&Cancel, Qt::LeftButton);
    });
    EXPECT_EQ(Form.ShowModal(), mrCancel);
    EXPECT_EQ(Adds, 2);
}

TEST_F(ButtonTest, EnterPressesTheDefaultButtonAndEscapeTheCancelButton)
{
    TForm Form;
    TEdit Edit(&Form);
    TButton Ok(&Form), Cancel(&Form);
    Ok.move(0, 30);
    Cancel.move(0, 60);
    Ok.SetModalResult(mrOk);
    Ok.SetDefault(true);
    Cancel.SetModalResult(mrCancel);
    Cancel.SetCancel(true);
    int CancelClicks = 0;
    QObject::connect(&Cancel, &TButton::Click, [&] { ++CancelClicks; });

    QTimer::singleShot(0, &Edit, [&] { QTest::keyClick(&Edit, Qt::Key_Return); });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(CancelClicks, 0);

    QTimer::singleShot(0, &Edit, [&] { QTest::keyClick(&Edit, Qt::Key_Escape); });
    EXPECT_EQ(Form.ShowModal(), mrCancel);
    EXPECT_EQ(CancelClicks, 1) << "Escape clicks the Cancel button, running its handler";
}

TEST_F(ButtonTest, EnterPressesTheFocusedButtonWhicheverItIs)
{
    TForm Form;
    TEdit Edit(&Form);
    TButton Ok(&Form), Cancel(&Form), Other(&Form);
    Ok.move(0, 30);
    Cancel.move(0, 60);
    Other.move(0, 90);
    Ok.SetModalResult(mrOk);
    Ok.SetDefault(true);
    Cancel.SetModalResult(mrCancel);
    Cancel.SetCancel(true);
    // Qt's own buttons take Enter only while auto-default: the rule must not rest on that.
    Cancel.setAutoDefault(false);
    Other.setAutoDefault(false);
    int OkClicks = 0, CancelClicks = 0, OtherClicks = 0;
    QObject::connect(&Ok, &TButton::Click, [&] { ++OkClicks; });
    QObject::connect(&Cancel, &TButton::Click, [&] { ++CancelClicks; });
    QObject::connect(&Other, &TButton::Click, [&] { ++OtherClicks; });
    // Focus as the user gives it, then the key to whatever holds the focus.
    const auto PressOn = [&](QWidget* Target, Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        Form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
        Target->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), Target);
        QTest::keyClick(QApplication::focusWidget(), Key, Modifiers);
    };

    QTimer::singleShot(0, &Form, [&] { PressOn(&Cancel, Qt::Key_Return); });
    EXPECT_EQ(Form.ShowModal(), mrCancel) << "Enter on the focused Cancel button cancels";
    EXPECT_EQ(CancelClicks, 1);
    EXPECT_EQ(OkClicks, 0);

    QTimer::singleShot(0, &Form, [&] { PressOn(&Cancel, Qt::Key_Enter, Qt::KeypadModifier); });
    EXPECT_EQ(Form.ShowModal(), mrCancel) << "so does the keypad's Enter";
    EXPECT_EQ(CancelClicks, 2);
    EXPECT_EQ(OkClicks, 0);

    QTimer::singleShot(0, &Form, [&] { PressOn(&Ok, Qt::Key_Return); });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(OkClicks, 1);

    // A button without a modal result runs its handler and the form stays open.
    QTimer::singleShot(0, &Form, [&] {
        PressOn(&Other, Qt::Key_Return);
        EXPECT_TRUE(Form.isVisible());
        EXPECT_EQ(OtherClicks, 1);
        PressOn(&Other, Qt::Key_Escape);
    });
    EXPECT_EQ(Form.ShowModal(), mrCancel) << "Escape on a button is the Cancel button's";
    EXPECT_EQ(OtherClicks, 1);
    EXPECT_EQ(CancelClicks, 3);
    EXPECT_EQ(OkClicks, 1);

    // Back in the entry after a button had the focus, Enter is the Default button's again.
    QTimer::singleShot(0, &Form, [&] {
        PressOn(&Cancel, Qt::Key_Tab);
        PressOn(&Edit, Qt::Key_Return);
    });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(OkClicks, 2);
    EXPECT_EQ(CancelClicks, 3);
    EXPECT_EQ(Shown, std::vector<String>()) << "no handler raised";
}

TEST_F(ButtonTest, AnExceptionFromClickIsReportedAndTheFormStillCloses)
{
    TForm Form;
    TButton Ok(&Form);
    Ok.SetModalResult(mrOk);
    QObject::connect(&Ok, &TButton::Click, [] { throw std::runtime_error("click failed"); });
    QTimer::singleShot(0, &Ok, [&] { QTest::mouseClick(&Ok, Qt::LeftButton); });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(Application->LastExceptionMessage(), "click failed");
}

TEST_F(FormTest, ClosingTheWindowOrEscapeWithoutCancelButtonIsCancel)
{
    TForm Form;
    QTimer::singleShot(0, &Form, [&] { Form.close(); });
    EXPECT_EQ(Form.ShowModal(), mrCancel);
    QTimer::singleShot(0, &Form, [&] { QTest::keyClick(&Form, Qt::Key_Escape); });
    EXPECT_EQ(Form.ShowModal(), mrCancel);
    QTimer::singleShot(0, &Form, [&] { Form.SetModalResult(7); });
    EXPECT_EQ(Form.ShowModal(), 7);
}

TEST_F(FormTest, MouseMoveOverTheFormArrivesWithoutAButtonHeld)
{
    TForm Form;
    Form.SetFixedClientSize(200, 150);
    TButton Child(&Form);
    Child.setGeometry(100, 100, 50, 30);
    Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    std::vector<QPoint> Moves;
    std::vector<TShiftState> Shifts;
    QObject::connect(&Form, &TForm::MouseMove, [&](TShiftState Shift, int X, int Y) {
        Shifts.push_back(Shift);
        Moves.emplace_back(X, Y);
    });
    QTest::mouseMove(&Form, QPoint(10, 20));
    QTest::mouseMove(&Form, QPoint(30, 40));
    ASSERT_EQ(Moves, (std::vector<QPoint>{{10, 20}, {30, 40}}));
    EXPECT_EQ(Shifts[1], 0u);
    EXPECT_EQ(Form.size(), QSize(200, 150));
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize()) << "a dialog border does not resize";
}

TEST_F(FormTest, DesktopCentrePlacesTheFormInTheMiddleOfTheWorkArea)
{
    TForm Form;
    Form.SetFixedClientSize(385, 453);
    Form.SetPosition(poDesktopCenter);
    Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint Offset = Form.frameGeometry().center() - Area.center();
    EXPECT_LE(Offset.manhattanLength(), 1);
}

TEST_F(TrackBarTest, ChangeFiresInsideSetPositionAndTheRangeClamps)
{
    TTrackBar Track;
    EXPECT_EQ(Track.orientation(), Qt::Vertical);
    Track.SetMin(0);
    Track.SetMax(199);
    Track.SetFrequency(10);
    EXPECT_EQ(Track.Frequency(), 10);
    EXPECT_NE(Track.tickPosition(), QSlider::NoTicks);
    std::vector<int> Positions;
    QObject::connect(&Track, &TTrackBar::Change, [&] { Positions.push_back(Track.Position()); });
    Track.SetPosition(150);
    EXPECT_EQ(Positions, std::vector<int>{150}) << "before SetPosition returns";
    Track.SetPosition(150);
    EXPECT_EQ(Positions.size(), 1u);
    // Beyond Max the bar shows its end; Change fires only when that is a move.
    Track.SetPosition(200);
    EXPECT_EQ(Track.Position(), 199);
    EXPECT_EQ(Positions, (std::vector<int>{150, 199}));
    Track.SetPosition(250);
    EXPECT_EQ(Positions.size(), 2u);
}

TEST_F(TrackBarTest, KeysMoveThePositionAndRaiseChange)
{
    TTrackBar Track;
    Track.SetMax(199);
    Track.SetPosition(100);
    Track.show();
    int Changes = 0;
    QObject::connect(&Track, &TTrackBar::Change, [&] {
        ++Changes;
        throw std::runtime_error("handler failed");
    });
    QTest::keyClick(&Track, Qt::Key_Up);
    EXPECT_EQ(Track.Position(), 101);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "handler failed");
}

TEST(PageControlTest, ActivePageIndexCountsFromZero)
{
    TPageControl Pages;
    Pages.addTab(new QWidget, "Web Colors");
    Pages.addTab(new QWidget, "System Colors");
    Pages.addTab(new QWidget, "Custom Colors");
    EXPECT_EQ(Pages.ActivePageIndex(), 0);
    Pages.SetActivePageIndex(2);
    EXPECT_EQ(Pages.ActivePageIndex(), 2);
    EXPECT_EQ(Pages.currentWidget(), Pages.widget(2));
    Pages.SetActivePageIndex(5);
    EXPECT_EQ(Pages.ActivePageIndex(), 2);
    EXPECT_EQ(Pages.PageCount(), 3);
}

TEST(StatusBarTest, SimpleTextShowsAndTheEmptyTextClears)
{
    TStatusBar Bar;
    Bar.resize(385, 19);
    Bar.show();
    EXPECT_FALSE(Bar.isSizeGripEnabled());
    const QImage Empty = Bar.grab().toImage();
    Bar.SetSimpleText("clAqua");
    EXPECT_EQ(Bar.SimpleText(), "clAqua");
    EXPECT_NE(Bar.grab().toImage(), Empty);
    Bar.SetSimpleText("");
    EXPECT_EQ(Bar.SimpleText(), "");
    EXPECT_EQ(Bar.grab().toImage(), Empty);
}

TEST(ControlTypesTest, ArgumentTypesAreKnownByTheirToolkitNames)
{
    RegisterControlTypes();
    EXPECT_EQ(QMetaType::fromName("TRect"), QMetaType::fromType<TRect>());
    EXPECT_EQ(QMetaType::fromName("TShiftState"), QMetaType::fromType<unsigned>());
    EXPECT_EQ(QMetaType::fromName("TMouseButton"), QMetaType::fromType<TMouseButton>());
    EXPECT_EQ(ShiftStateOf(Qt::LeftButton | Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier),
              ssLeft | ssMiddle | ssCtrl | ssAlt);
    EXPECT_EQ(ShiftStateOf(Qt::RightButton, Qt::ShiftModifier), ssRight | ssShift);
}

TEST(ControlTypesTest, PropertiesAFormSetsByNameReachTheControls)
{
    // A compiled form sets non-standard properties through the meta-object by name.
    TButton Button;
    EXPECT_TRUE(Button.setProperty("ModalResult", mrCancel));
    EXPECT_TRUE(Button.setProperty("Cancel", true));
    EXPECT_TRUE(Button.setProperty("Default", true));
    EXPECT_EQ(Button.ModalResult(), mrCancel);
    EXPECT_TRUE(Button.Cancel());
    EXPECT_TRUE(Button.isDefault());
    TTrackBar Track;
    EXPECT_TRUE(Track.setProperty("Max", 199));
    EXPECT_TRUE(Track.setProperty("Position", 2));
    EXPECT_EQ(Track.Max(), 199);
    EXPECT_EQ(Track.Position(), 2);
    TStatusBar Bar;
    EXPECT_TRUE(Bar.setProperty("SimpleText", QString("ready")));
    EXPECT_EQ(Bar.SimpleText(), "ready");
    TLabel Label;
    EXPECT_TRUE(Label.setProperty("Caption", QString("Identifier:")));
    EXPECT_EQ(Label.Caption(), "Identifier:");
}
