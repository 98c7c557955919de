// Edit: the colour picker opened on the property's value, modal, freed on every path, writing the
// selected identifier back only on OK.
#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "editor/CVKZLMOBILEDsnColor.h"
#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"

#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace colorformprobe;

namespace {

class EditTest : public ::testing::Test {
protected:
    void SetUp() override { CVKZLMOBILEDsnColorInitialization(); }
    void TearDown() override
    {
        EXPECT_EQ(LiveColorForms(), 0) << "no dialog outlives Edit";
        CVKZLMOBILEDsnColorFinalization();
    }

    TPalmoPopupAppearance Popup;
    TCVKZLMOBILEColorEditor Editor{nullptr, {&Popup}, PropertyOf(&Popup, "BorderColor")};
};

TEST_F(EditTest, OpensOnTheCustomPageSeededWithAWebName)
{
    Editor.SetValue("Goldenrod");
    int Goldenrod = 0;
    ASSERT_TRUE(IdentToCVColor("Goldenrod", Goldenrod));
    DialogDriver Driver([&](TCVKZLMOBILEColorForm& Form) {
        EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 2);
        EXPECT_EQ(Form.SelectedIdentifier(), "Goldenrod");
        EXPECT_EQ(SelectedColor(Form), Goldenrod);
        EXPECT_EQ(Form.EditHue->Text(), "0");
        EXPECT_EQ(Form.EditBright->Text(), "150");
        EXPECT_EQ(Form.editRed->Text(), "191");
        EXPECT_EQ(CustomColorList->Count(), 28) << "the shared list is lent: the dialog filled it";
        Form.reject();
    });
    Editor.Edit();
    EXPECT_EQ(Driver.Shown, 1);
    EXPECT_EQ(Popup.FBorderColor.Value, Goldenrod);
}

TEST_F(EditTest, OpensSeededWithANumber)
{
    Editor.SetValue("$00336699");
    DialogDriver Driver([&](TCVKZLMOBILEColorForm& Form) {
        EXPECT_EQ(Form.editRed->Text(), "153");
        EXPECT_EQ(Form.editGreen->Text(), "102");
        EXPECT_EQ(Form.editBlue->Text(), "51");
        EXPECT_EQ(PickedColor(Form), 0x336699);
        EXPECT_EQ(Form.EditHue->Text(), "17");
        Form.reject();
    });
    Editor.Edit();
    EXPECT_EQ(Driver.Shown, 1);
}

TEST_F(EditTest, CancelAndClosingWriteNothing)
{
    Editor.SetValue("Teal");
    const TColor Before = Popup.FBorderColor.Value;
    for (const bool ByClose : {false, true}) {
        DialogDriver Driver([&](TCVKZLMOBILEColorForm& Form) {
            Form.SetSelectedIdentifier("Tomato");
            if (ByClose)
                Form.close();
            else
                QTest::mouseClick(Form.Button2, Qt::LeftButton);
        });
        Editor.Edit();
        EXPECT_EQ(Driver.Shown, 1);
        EXPECT_EQ(Popup.FBorderColor.Value, Before);
    }
}

TEST_F(EditTest, OkWritesTheChoiceOrTheInitialTextBack)
{
    Editor.SetValue("$00010203");
    // OK without choosing, and OK after only typing into the entries, write the initial text.
    DialogDriver Typing([&](TCVKZLMOBILEColorForm& Form) {
        Form.EditHue->setFocus();
        Form.EditHue->selectAll();
        QTest::keyClicks(Form.EditHue, "77");
        EXPECT_EQ(Hue(Form), 77);
        QTest::mouseClick(Form.Button1, Qt::LeftButton);
    });
    Editor.Edit();
    EXPECT_EQ(Popup.FBorderColor.Value, 0x010203);

    DialogDriver Choosing([&](TCVKZLMOBILEColorForm& Form) {
        Form.SetSelectedIdentifier("Tomato");
        QTest::mouseClick(Form.Button1, Qt::LeftButton);
    });
    Editor.Edit();
    int Tomato = 0;
    ASSERT_TRUE(IdentToCVColor("Tomato", Tomato));
    EXPECT_EQ(Popup.FBorderColor.Value, Tomato);
}

// An editor whose value text the dialog cannot read, and one whose SetValue fails.
class UnreadableValueEditor : public TCVKZLMOBILEColorEditor {
public:
    using TCVKZLMOBILEColorEditor::TCVKZLMOBILEColorEditor;
    String GetValue() override { return "no such colour"; }
};

class FailingSetValueEditor : public TCVKZLMOBILEColorEditor {
public:
    using TCVKZLMOBILEColorEditor::TCVKZLMOBILEColorEditor;
    void SetValue(const String&) override { throw EPropertyError("the property is read-only"); }
};

TEST_F(EditTest, AnUnreadableValueFreesTheDialogUnshownAndRaises)
{
    UnreadableValueEditor Unreadable(nullptr, {&Popup}, PropertyOf(&Popup, "BorderColor"));
    DialogDriver Driver([](TCVKZLMOBILEColorForm& Form) { Form.reject(); });
    EXPECT_THROW(Unreadable.Edit(), EConvertError);
    QTest::qWait(20);
    EXPECT_EQ(Driver.Shown, 0);
}

TEST_F(EditTest, ASetValueErrorArrivesAfterTheDialogIsFreed)
{
    FailingSetValueEditor Failing(nullptr, {&Popup}, PropertyOf(&Popup, "BorderColor"));
    DialogDriver Driver([](TCVKZLMOBILEColorForm& Form) { QTest::mouseClick(Form.Button1, Qt::LeftButton); });
    try {
        Failing.Edit();
        ADD_FAILURE() << "the error must reach the caller";
    } catch (const EPropertyError& E) {
        EXPECT_EQ(E.Message(), "the property is read-only");
        EXPECT_EQ(LiveColorForms(), 0);
    }
    EXPECT_EQ(Driver.Shown, 1);
}

TEST_F(EditTest, AThousandDialogsComeAndGo)
{
    for (int I = 0; I < 1000; ++I) {
        TCVKZLMOBILEColorForm Form(nullptr, CustomColorList);
        Form.SetSelectedIdentifier(I % 2 ? "Tomato" : "$00BFBFBF");
        ASSERT_EQ(LiveColorForms(), 1);
    }
    EXPECT_EQ(CustomColorList->Count(), 28) << "the shared list is filled once, never replaced";
}

}  // namespace
