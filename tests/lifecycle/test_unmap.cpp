// Unloading the design-time package takes it out of memory: this program does not link the
// package, so what dlclose leaves mapped is what the package itself keeps there.
#include "LifecycleSupport.h"
#include "packages/PackageLoader.h"

#include "host/designide/DesignIntf.h"
#include "host/palmo/PalmoBase.h"
#include "soak/SoakSupport.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

std::unique_ptr<TPropertyEditor> ColourEditorFor(QObject* Object)
{
    const QMetaObject* Meta = Object->metaObject();
    return CreatePropertyEditor(nullptr, {Object}, Meta->property(Meta->indexOfProperty("Color")));
}

bool IsPackageEditor(TPropertyEditor* Editor)
{
    return Editor && std::string(typeid(*Editor).name()).find("TCVKZLMOBILEColorEditor") != std::string::npos;
}

TEST(PackageUnmap, UnloadingTakesThePackageOutOfMemory)
{
    ASSERT_FALSE(IsMapped(CV_PACKAGE_PATH));
    PackageLoader Loader;
    Loader.load(CV_PACKAGE_PATH);
    EXPECT_TRUE(IsMapped(CV_PACKAGE_PATH));
    {
        // Use it the way the designer does, so that whatever that leaves behind is seen.
        TPalmoButtonAppearance Button;
        auto Editor = ColourEditorFor(&Button);
        ASSERT_TRUE(IsPackageEditor(Editor.get()));
        Editor->SetValue("Tomato");
        EXPECT_EQ(Editor->GetValue(), "Tomato");
    }
    Loader.unload();
    EXPECT_FALSE(IsMapped(CV_PACKAGE_PATH)) << "dlclose left the package mapped";
}

TEST(PackageUnmap, AThousandRealLoadsAndUnloadsKeepMemoryFlat)
{
    constexpr int Cycles = 1000;
    constexpr int EarlyCycle = 100;
    TPalmoButtonAppearance Button;
    const TColor Before = Button.FColor.Value;
    PackageLoader Loader;
    soak::Clock Clock;
    soak::Sample Early;
    for (int Cycle = 1; Cycle <= Cycles; ++Cycle) {
        SCOPED_TRACE(Cycle);
        Loader.load(CV_PACKAGE_PATH);
        auto** Custom = static_cast<TStringList**>(Loader.symbol("CustomColorList"));
        ASSERT_NE(Custom, nullptr);
        ASSERT_NE(*Custom, nullptr);
        ASSERT_EQ((*Custom)->Count(), 0) << "every load starts with no custom colours";
        (*Custom)->Add(QStringLiteral("$00BFBFBF"));
        {
            auto Editor = ColourEditorFor(&Button);
            ASSERT_TRUE(IsPackageEditor(Editor.get()));
            Editor->SetValue(Cycle % 2 ? QStringLiteral("Tomato") : QStringLiteral("#336699"));
            ASSERT_EQ(Editor->GetValue(), Cycle % 2 ? QStringLiteral("Tomato") : QStringLiteral("$00996633"));
            Editor->SetValue(QStringLiteral("RoyalBlue"));  // its default
        }
        Loader.unload();
        ASSERT_FALSE(IsMapped(CV_PACKAGE_PATH));
        if (Cycle == EarlyCycle)
            Early = soak::Take(Cycle, Clock);
    }
    const soak::Sample Late = soak::Take(Cycles, Clock);
    soak::Report("package mapped and unmapped for real", Early, Late);
    soak::ExpectNoGrowth(Early, Late);
    EXPECT_EQ(Button.FColor.Value, Before);
}

}  // namespace
