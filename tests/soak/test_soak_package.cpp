// A thousand loads and unloads of the design-time package, through the designer's loader alone
// and through the designer's package view with the inspector showing a colour property, with the
// in-place editor open and now and then its value list dropped.
//
// This program links the package itself (to see the dialog count and the custom colour list), so
// dlopen of the package's path hands back the copy that is mapped already and dlclose never takes
// it out of memory. That is the case the designer must survive anyway (glibc may keep a library
// mapped), and the lifecycle rests on Initialize and Finalize: the tests check that the loader's
// copy is the linked one, so that reading CustomColorList after an unload reads the very variable
// that Finalize must have cleared.
#include "views/MainWindow.h"
#include "packages/PackageLoader.h"
#include "views/PackagesView.h"
#include "views/PropertyInspector.h"
#include "support/DesignerSupport.h"
#include "views/ValueCombo.h"

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "support/ColorFormProbe.h"
#include "editor/CVKZLMOBILEDsnColor.h"
#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"

#include "SoakSupport.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>

namespace {

constexpr int Cycles = 1000;
constexpr int EarlyCycle = 100;
// The package registers its editor for the colour properties of the eight appearance classes.
constexpr int PackageRegistrations = 8;

std::unique_ptr<TPropertyEditor> EditorFor(QObject* Object, const char* Name)
{
    const QMetaObject* Meta = Object->metaObject();
    return CreatePropertyEditor(nullptr, {Object}, Meta->property(Meta->indexOfProperty(Name)));
}

bool IsPackageEditor(TPropertyEditor* Editor)
{
    return dynamic_cast<TCVKZLMOBILEColorEditor*>(Editor) != nullptr;
}

TEST(PackageSoak, AThousandLoadsThroughTheLoaderLeaveNothingBehind)
{
    ASSERT_EQ(CustomColorList, nullptr) << "nothing has initialised the package yet";
    const int Baseline = RegisteredEditorCount();
    TPalmoButtonAppearance Button;
    const TColor Before = Button.FColor.Value;
    PackageLoader Loader;
    soak::Clock Clock;
    soak::Sample Early;
    for (int Cycle = 1; Cycle <= Cycles; ++Cycle) {
        SCOPED_TRACE(Cycle);
        Loader.load(CV_PACKAGE_PATH);
        ASSERT_EQ(Loader.symbol("CustomColorList"), static_cast<void*>(&CustomColorList))
            << "the loader's copy of the package is the one this program links";
        ASSERT_NE(CustomColorList, nullptr);
        ASSERT_EQ(CustomColorList->Count(), 0) << "every load starts with no custom colours";
        for (int I = 0; I < 16; ++I)
            CustomColorList->Add(QStringLiteral("$00%1").arg(Cycle * 16 + I, 6, 16, QLatin1Char('0')));
        ASSERT_EQ(RegisteredEditorCount(), Baseline + PackageRegistrations);
        {
            auto Editor = EditorFor(&Button, "Color");
            ASSERT_TRUE(IsPackageEditor(Editor.get()));
            Editor->SetValue(Cycle % 2 ? QStringLiteral("Tomato") : QStringLiteral("#336699"));
            ASSERT_EQ(Editor->GetValue(), Cycle % 2 ? QStringLiteral("Tomato") : QStringLiteral("$00996633"));
            Editor->SetValue(QStringLiteral("RoyalBlue"));  // its default
        }

        Loader.unload();
        ASSERT_FALSE(Loader.isLoaded());
        ASSERT_EQ(Loader.droppedRegistrations(), PackageRegistrations);
        ASSERT_EQ(RegisteredEditorCount(), Baseline);
        ASSERT_EQ(CustomColorList, nullptr) << "Finalize frees the custom colours";
        ASSERT_FALSE(IsPackageEditor(EditorFor(&Button, "Color").get())) << "no editor of the package after unload";
        ASSERT_EQ(colorformprobe::LiveColorForms(), 0);
        if (Cycle == EarlyCycle)
            Early = soak::Take(Cycle, Clock);
    }
    const soak::Sample Late = soak::Take(Cycles, Clock);
    soak::Report("package loader, load and unload", Early, Late);
    soak::ExpectNoGrowth(Early, Late);
    EXPECT_EQ(Button.FColor.Value, Before);
}


TEST(PackageSoak, AThousandUnloadsAndLoadsInTheDesignerWithAColourRowOpen)
{
    ASSERT_EQ(CustomColorList, nullptr);
    const int Baseline = RegisteredEditorCount();
    MainWindow Window{CV_PACKAGE_PATH};
    ASSERT_TRUE(Window.loader().isLoaded());
    ASSERT_EQ(Window.loader().symbol("CustomColorList"), static_cast<void*>(&CustomColorList));
    Window.show();
    auto* Button = qobject_cast<TPalmoButton*>(Window.addControl(QStringLiteral("TPalmoButton")));
    ASSERT_NE(Button, nullptr);
    PropertyInspector& Inspector = *Window.inspector();
    QStringList ToolkitNames;
    GetColorValues([&](const String& S) { ToolkitNames << S; });
    const int ListLength = static_cast<int>(ToolkitNames.size()) + CVColorCount;

    soak::Clock Clock;
    soak::Sample Early;
    for (int Cycle = 1; Cycle <= Cycles; ++Cycle) {
        SCOPED_TRACE(Cycle);
        ASSERT_EQ(RegisteredEditorCount(), Baseline + PackageRegistrations);
        ASSERT_NE(CustomColorList, nullptr);
        ASSERT_EQ(CustomColorList->Count(), 0);
        CustomColorList->Add(QStringLiteral("$00BFBFBF"));
        int Row = Inspector.rowOf(QStringLiteral("Appearance.Color"));
        ASSERT_GE(Row, 0);
        ASSERT_TRUE(IsPackageEditor(Inspector.editorAt(Row)));
        ASSERT_TRUE(Inspector.commitText(Row, Cycle % 2 ? QStringLiteral("Tomato") : QStringLiteral("$00336699")));
        ASSERT_EQ(Button->Appearance()->FColor.Value, Cycle % 2 ? 0x004763FF : 0x00336699);

        // The package's editor draws the in-place editor's value list; the list is unloaded
        // from under it while it is open, and every tenth time while it is dropped down.
        ValueCombo* Open = OpenInPlaceEditor(Inspector, Row);
        ASSERT_NE(Open, nullptr);
        ASSERT_EQ(Open->combo()->count() - FirstEditorLine(Open->combo()), ListLength);
        if (Cycle % 10 == 0) {
            Open->combo()->showPopup();
            QCoreApplication::processEvents();
        }

        ASSERT_TRUE(Window.packagesView()->unloadPackage());
        ASSERT_EQ(RegisteredEditorCount(), Baseline);
        ASSERT_EQ(CustomColorList, nullptr) << "Finalize frees the custom colours";
        Row = Inspector.rowOf(QStringLiteral("Appearance.Color"));
        ASSERT_GE(Row, 0) << "the row stays, with the designer's own editor";
        ASSERT_FALSE(IsPackageEditor(Inspector.editorAt(Row)));
        soak::Settle();
        ASSERT_EQ(Window.findChildren<ValueCombo*>().size(), 0) << "the in-place editor went with the package";
        Inspector.view()->viewport()->repaint();

        ASSERT_TRUE(Window.packagesView()->loadPackage());
        if (Cycle == EarlyCycle)
            Early = soak::Take(Cycle, Clock);
    }
    soak::Settle();
    const soak::Sample Late = soak::Take(Cycles, Clock);
    soak::Report("designer, unload and load with a colour row open", Early, Late);
    soak::ExpectNoGrowth(Early, Late);
    EXPECT_EQ(colorformprobe::LiveColorForms(), 0);
}

}  // namespace
