// Choosing swatches in the dialog that Edit opens, and confirming: the property stores exactly the
// chosen colour. Custom colours added with "Add" stay for the next Edit.
#include "editor/CVKZLMOBILEDsnColor.h"
#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoSpinner.h"

#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

void ClickCell(TDrawGrid* Grid, int Index)
{
    const TRect R = Grid->CellRect(Index % Grid->ColCount(), Index / Grid->ColCount());
    QTest::mouseClick(Grid, Qt::LeftButton, {}, QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
}

class EditGridsTest : public ::testing::Test {
protected:
    void SetUp() override { CVKZLMOBILEDsnColorInitialization(); }
    void TearDown() override
    {
        EXPECT_EQ(colorformprobe::LiveColorForms(), 0);
        CVKZLMOBILEDsnColorFinalization();
    }

    TPalmoButtonAppearance Button;
    TCVKZLMOBILEColorEditor Editor{nullptr, {&Button}, PropertyOf(&Button, "TextColor")};
};

TEST_F(EditGridsTest, EveryWebCellStoresItsColour)
{
    for (int Index = 0; Index < WebColorCount; ++Index) {
        SCOPED_TRACE(CVColors[Index].Name.toStdString());
        Editor.SetValue("$00010203");
        DialogDriver Driver([&](TCVKZLMOBILEColorForm& Form) {
            Form.PageControl1->SetActivePageIndex(0);
            ClickCell(Form.WebColorsGrid, Index);
            EXPECT_EQ(Form.SelectedIdentifier(), CVColors[Index].Name);
            EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 0) << "choosing a web colour stays on its page";
            QTest::mouseClick(Form.Button1, Qt::LeftButton);
        });
        Editor.Edit();
        ASSERT_EQ(Driver.Shown, 1);
        EXPECT_EQ(Button.FTextColor.Value, CVColors[Index].Value);
    }
    EXPECT_EQ(CustomColorList->Count(), 28);
    for (int I = 0; I < CustomColorList->Count(); ++I)
        EXPECT_TRUE(CustomColorList->Strings(I).isEmpty()) << "the custom entries do not change";
}

TEST_F(EditGridsTest, EverySystemCellStoresItsColour)
{
    QStringList Names;
    GetColorValues([&](const String& S) { Names << S; });
    for (int Index = 0; Index < Names.size(); ++Index) {
        SCOPED_TRACE(Names[Index].toStdString());
        DialogDriver Driver([&](TCVKZLMOBILEColorForm& Form) {
            Form.PageControl1->SetActivePageIndex(1);
            ClickCell(Form.SysColorsGrid, Index);
            EXPECT_EQ(Form.SelectedIdentifier(), Names[Index]);
            QTest::mouseClick(Form.Button1, Qt::LeftButton);
        });
        Editor.Edit();
        int Expected = 0;
        ASSERT_TRUE(IdentToColor(Names[Index], Expected));
        EXPECT_EQ(Button.FTextColor.Value, Expected);
    }
}

TEST_F(EditGridsTest, AddedCustomColoursStayForTheNextEditOfAnotherClass)
{
    Editor.SetValue("Navy");
    DialogDriver Adding([](TCVKZLMOBILEColorForm& Form) {
        // Grey 191 is the picked colour of a fresh dialog; Add puts it into the focus cell (0).
        QTest::mouseClick(Form.ButtonAdd, Qt::LeftButton);
        EXPECT_EQ(CustomColorList->Strings(0), "$00BFBFBF");
        ClickCell(Form.GridCustomColors, 5);
        EXPECT_EQ(Form.SelectedIdentifier(), "Navy") << "an empty custom cell chooses nothing";
        ClickCell(Form.GridCustomColors, 0);
        EXPECT_EQ(Form.SelectedIdentifier(), "$00BFBFBF");
        EXPECT_EQ(Form.editRed->Text(), "191");
        EXPECT_EQ(Form.EditBright->Text(), "150");
        QTest::mouseClick(Form.Button1, Qt::LeftButton);
    });
    Editor.Edit();
    EXPECT_EQ(Button.FTextColor.Value, 0xBFBFBF);

    TPalmoSpinnerSlot Slot;
    TCVKZLMOBILEColorEditor SlotEditor(nullptr, {&Slot}, PropertyOf(&Slot, "SelectedTextColor"));
    DialogDriver Reusing([](TCVKZLMOBILEColorForm& Form) {
        EXPECT_EQ(CustomColorList->Strings(0), "$00BFBFBF");
        ClickCell(Form.GridCustomColors, 0);
        QTest::mouseClick(Form.Button1, Qt::LeftButton);
    });
    SlotEditor.Edit();
    EXPECT_EQ(Reusing.Shown, 1);
    EXPECT_EQ(Slot.FSelectedTextColor.Value, 0xBFBFBF);
}

}  // namespace
