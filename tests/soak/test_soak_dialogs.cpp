// A thousand colour dialogs opened by Edit and left without a choice (Cancel, Escape-style
// reject, closing the window), through the property editor itself and through the designer's
// "..." path: no dialog stays alive, nothing is written, and memory stays flat.
#include "views/MainWindow.h"
#include "views/PropertyInspector.h"
#include "support/DesignerSupport.h"

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "support/ColorFormProbe.h"
#include "editor/CVKZLMOBILEDsnColor.h"
#include "editor/DialogDriver.h"
#include "host/palmo/PalmoBase.h"

#include "SoakSupport.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

constexpr int Dialogs = 1000;
constexpr int EarlyDialog = 100;

// The ways of leaving the dialog without a choice, taken in turn.
void LeaveWithoutChoosing(TCVKZLMOBILEColorForm& Form, int Index)
{
    // A choice made inside the dialog must still not reach the property.
    Form.SetSelectedIdentifier(Index % 2 ? QStringLiteral("Tomato") : QStringLiteral("$00123456"));
    switch (Index % 3) {
    case 0:
        Form.reject();
        break;
    case 1:
        QTest::mouseClick(Form.Button2, Qt::LeftButton);
        break;
    default:
        Form.close();
        break;
    }
}

TEST(DialogSoak, AThousandDialogsCancelledThroughTheEditorsEdit)
{
    CVKZLMOBILEDsnColorInitialization();
    {
        TPalmoPopupAppearance Popup;
        TCVKZLMOBILEColorEditor Editor{nullptr, {&Popup}, PropertyOf(&Popup, "BorderColor")};
        Editor.SetValue(QStringLiteral("Teal"));
        const TColor Before = Popup.FBorderColor.Value;
        soak::Clock Clock;
        soak::Sample Early;
        for (int I = 1; I <= Dialogs; ++I) {
            SCOPED_TRACE(I);
            int LiveWhileShown = -1;
            DialogDriver Driver([&](TCVKZLMOBILEColorForm& Form) {
                LiveWhileShown = colorformprobe::LiveColorForms();
                LeaveWithoutChoosing(Form, I);
            });
            Editor.Edit();
            ASSERT_EQ(Driver.Shown, 1);
            ASSERT_EQ(LiveWhileShown, 1);
            ASSERT_EQ(colorformprobe::LiveColorForms(), 0) << "no dialog outlives Edit";
            ASSERT_EQ(Popup.FBorderColor.Value, Before);
            soak::Settle();
            if (I == EarlyDialog)
                Early = soak::Take(I, Clock);
        }
        const soak::Sample Late = soak::Take(Dialogs, Clock);
        soak::Report("Edit, dialog cancelled", Early, Late);
        soak::ExpectNoGrowth(Early, Late);
        EXPECT_EQ(CustomColorList->Count(), 28) << "the dialogs fill the shared list once and never replace it";
    }
    CVKZLMOBILEDsnColorFinalization();
    EXPECT_EQ(CustomColorList, nullptr);
}

TEST(DialogSoak, AThousandDialogsCancelledFromTheInspector)
{
    MainWindow Window{CV_PACKAGE_PATH};
    ASSERT_TRUE(Window.loader().isLoaded());
    Window.show();
    TPalmoListItem* ListItem = qobject_cast<TPalmoListItem*>(Window.addControl(QStringLiteral("TPalmoListItem")));
    ASSERT_NE(ListItem, nullptr);
    PropertyInspector& Inspector = *Window.inspector();
    const int Row = Inspector.rowOf(QStringLiteral("Appearance.SelectedColor"));
    ASSERT_GE(Row, 0);
    ASSERT_TRUE(Inspector.commitText(Row, QStringLiteral("$00336699")));
    const QString Shown = RowText(Inspector, Row);
    soak::Clock Clock;
    soak::Sample Early;
    for (int I = 1; I <= Dialogs; ++I) {
        SCOPED_TRACE(I);
        DialogDriver Driver([&](TCVKZLMOBILEColorForm& Form) { LeaveWithoutChoosing(Form, I); });
        ASSERT_TRUE(Inspector.edit(Row)) << Inspector.lastError().toStdString();
        ASSERT_EQ(Driver.Shown, 1);
        ASSERT_EQ(colorformprobe::LiveColorForms(), 0);
        ASSERT_EQ(ListItem->Appearance()->FSelectedColor.Value, 0x00336699);
        ASSERT_EQ(RowText(Inspector, Row), Shown);
        soak::Settle();
        if (I == EarlyDialog)
            Early = soak::Take(I, Clock);
    }
    const soak::Sample Late = soak::Take(Dialogs, Clock);
    soak::Report("inspector's dialog, cancelled", Early, Late);
    soak::ExpectNoGrowth(Early, Late);
}

}  // namespace
